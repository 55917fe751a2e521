#pragma once
// Pictures placed on a drawing: a PNG or JPEG file stretched into a rectangle, keeping its
// proportions.
#include "objects/ShapeObjects.h"
#include "render/RasterSurface.h"

#include <string>

struct TImageData {
    std::string ImageFileName;
};

class TSymbolObjectImage : public TSymbolObject2Point {
public:
    TSymbolObjectImage() : TSymbolObject2Point(somImage) {}
    const char* ClassName() const override { return "TSymbolObjectImage"; }

    TImageData fData;
    // Set once the file has been read, or has failed to read: either way it is not read again
    // until the name changes.
    bool fIsLoaded = false;
    TRgbaImage fBitmap; // the decoded picture; empty when there is none
    // The folder of the drawing (no trailing separator), where pictures named without a folder
    // are looked for; empty looks in the current folder.
    std::string fImageFolder;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    // Reads the picture when it has not been read yet.
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // The stored name, with the image folder put in front when the name has no folder part.
    std::string ImageFileName() const;
    // Stores Value without its folder when that is the image folder (compared ignoring case),
    // and lets the next draw read the picture again.
    void SetImageFileName(const std::string& value);
    // Reads the file unless already done. A file that does not exist is looked for again next
    // time; one that cannot be shown is reported once (error box), keeps no picture, and its
    // stored name gets a leading "?".
    void LoadPicture();
    // The corners of the picture within the rectangle P1-P2: the top left of the rectangle and,
    // with a picture, the bottom right of the largest box of the picture's proportions that fits;
    // without one the rectangle's bottom right.
    TPoint UpperLeft() const;
    TPoint LowerRight() const;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    void DrawPlaceholderName(TSymbolCanvas& canvas) const;
};

// Gives every picture in the tree the folder of the drawing that holds it.
void SetImageFolder(TSymbolObject& root, const std::string& folder);
