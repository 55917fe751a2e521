#pragma once
// Text and attribute objects: lines of text, and values of the component or the document,
// drawn in the font of a named text style.
#include <string>
#include <vector>

#include "model/AttributeTags.h"
#include "model/FontSelection.h"
#include "model/SymbolObjects.h"

// The box of a text around its anchor, in drawing units (Y up), before rotation.
struct TTextBoxSides {
    int32_t Left = 0, Right = 0, Above = 0, Below = 0;
};
// Extensions of the box of a text of size w x h around its anchor: alignment, and with a
// border the margins a (horizontal) and b (vertical).
TTextBoxSides TextBoxSides(TTextAlign align, int32_t w, int32_t h, int32_t a, int32_t b);
// The two corners of the box; at rotation 90 the box is turned a quarter counter-clockwise.
void TextBoxCorners(TPoint p, const TTextBoxSides& s, bool rotated90, TPoint& c1, TPoint& c2);

// Hit tests of a box given by two corners in either order, as texts and captions use them.
bool TextBoxHitTest(TPoint c1, TPoint c2, TPoint pt, double minPickDistance);
bool TextBoxHitTestRect(TPoint c1, TPoint c2, const TRect& rt);

class TSymbolObjectText : public TSymbolObject {
public:
    TSymbolObjectText() : TSymbolObject(somText) {}
    const char* ClassName() const override { return "TSymbolObjectText"; }

    std::string fTextStyleName = "TextStyle_Text";
    TTextAlign fAlign = taLeft;
    std::vector<std::string> fCaptionList;
    int32_t fHeight = 20;
    int32_t fRotation = 0;
    bool fDoNotTranslateInOutput = false;
    TOverrideTextStyleSettingsData fOverrideTextStyleSettings;
    TSymBorderStyle fBorder = symborderstyleNone;

    bool IsMultiLine() const { return fSymbolObjectSubType == soMultiText; }
    bool HasBorder() const { return fBorder != symborderstyleNone; }
    // Trailing blanks off every line, empty lines off the end; with addChar, "?" for no line.
    void CorrectEmpty(bool addChar);

    void SetDefaults() override;
    bool LoadCommonKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    void ReplaceTextHeights(const TTextStyleList& styles) override;
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    // The lines that are drawn: all of a multi-line text, the first of a one-line text.
    std::vector<std::string> DrawnLines() const;
    void DrawOneLine(TSymbolCanvas& canvas, const std::string& line);
    void DrawMultiLine(TSymbolCanvas& canvas, const std::vector<std::string>& lines,
                       const TTextStyleList* styles, TSymbolDrawMode mode);
};

class TSymbolObjectAttribute : public TSymbolObject {
public:
    TSymbolObjectAttribute() : TSymbolObject(somAttribute) {}
    const char* ClassName() const override { return "TSymbolObjectAttribute"; }

    TTextAlign fAlign = taLeft;
    std::string fTag;
    std::string fValue;
    std::string fDefaultValue;
    double fFloatValue = 0;
    int32_t fHeight = 20;
    int32_t fRotation = 0;
    int32_t fDecimals = 0;
    bool fFloatingPoint = false;
    std::string fTextStyleName = "TextStyle_Attribute";
    TSymBorderStyle fBorder = symborderstyleNone;
    TOverrideTextStyleSettingsData fOverrideTextStyleSettings;

    // The text shown; a number with the given decimal separator.
    std::string GetCaption(char decimalSeparator = '.') const;
    bool IsMultiLine() const { return !fFloatingPoint && fValue.find('|') != std::string::npos; }
    bool HasBorder() const { return fBorder != symborderstyleNone; }
    TSpecialAttribute IsSpecialAttribute() const { return SpecialAttributeOfTag(fTag); }
    bool IsGraphic() const { return IsGraphicSpecialAttribute(IsSpecialAttribute()); }
    std::vector<std::string> CreateCaptionList(char decimalSeparator = '.') const {
        return SplitLines(GetCaption(decimalSeparator));
    }
    void GetCaptionList(std::vector<std::string>& list) const { list = CreateCaptionList(); }
    void AssignCaptionList(const std::vector<std::string>& list) { fValue = JoinLines(list); }
    // A quarter turn: graphic attributes step through 0, 90, 180 and 270, others toggle 0 and 90.
    void Rotate90Degrees();

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    void ReplaceTextHeights(const TTextStyleList& styles) override;
    TSpecialAttribute AttributeKind() const override { return IsSpecialAttribute(); }
    std::string AttributeValue() const override { return fValue; }
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    void DrawArrows(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles);
};

// Adds to the owner's children an attribute object that shows the special attribute, at the
// owner's first point, unless the owner has one; returns the new or existing object.
TSymbolObjectAttribute* CreateAttribute(TSymbolObject& owner, TSpecialAttribute tag, int32_t newHandle);

// The formatted numeric value of an attribute: decimals > 0 gives exactly that many decimals
// of the value rounded to single precision and 7 significant digits; 0 gives up to 5 decimals
// without trailing zeros. Drawing passes the separator of the user's number format.
std::string FormatAttributeValue(double value, int32_t decimals, char decimalSeparator = '.');

// One arrow of a graphic special attribute: from From to the tip To.
struct TAttributeArrow {
    TPoint To;
    TPoint From;
    friend bool operator==(const TAttributeArrow&, const TAttributeArrow&) = default;
};
// The arrows of a graphic attribute whose box has the corners a and b.
std::vector<TAttributeArrow> GraphicAttributeArrows(TSpecialAttribute attribute, int32_t rotation, TPoint a,
                                                    TPoint b);
