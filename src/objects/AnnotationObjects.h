#pragma once
// Annotation objects: leaders and item numbers (numbered balloons, optionally with an arrow to what
// they label) and revision triangles.
#include <array>
#include <string>
#include <vector>

#include "model/SymbolObjects.h"
#include "render/XYPoints.h"

// What a leader's text block measures, in drawing units, with its box about the centre.
struct TLeaderBlock {
    std::vector<std::string> Lines;
    int32_t Pitch = 0;      // from one line to the next
    int32_t Height = 0;     // of the whole block
    int32_t Width = 0;      // of the box
    int32_t TextHeight = 0; // of "gH", which rounds the ends of a circled rectangle
    TPoint Centre;
    TPoint C1; // lower left of the box
    TPoint C2; // upper right
};

class TSymbolObjectLeader : public TSymbolObject {
public:
    TSymbolObjectLeader() : TSymbolObject(somLeader) {}
    const char* ClassName() const override { return "TSymbolObjectLeader"; }

    std::string fMainNumber;
    std::string fSubNumber;
    int32_t fRotation = 0;     // 0 or 90
    TItemNumberLayout fLayout; // a copy of the document's layout of fLeaderType
    bool fHasArrow = false;
    TPoint fArrowEndPoint;
    TPoint fArrowStartPointTMP; // where the arrow started when it was last drawn
    TItemNumberLayouts fLeaderType = layout_Leader;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void UpdateItemLayout(const TItemNumberLayoutSet& layouts) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // The main number, then "." and the sub number when there is one.
    std::string GetCaption() const;
    // The components' name for it.
    std::string Caption() const { return GetCaption(); }
    // The caption without its line separators, as the bill of materials lists it.
    std::string BOMCaption() const;
    // The lines shown: stacked vertically, the main number's parts and then the sub number on a
    // line of its own; otherwise the caption's parts. No line for an empty text.
    std::vector<std::string> CreateCaptionList() const;
    void SetArrow(TPoint newEndPoint);
    void RemoveArrow();
    bool IsRotated() const { return fRotation == 90; }
    // The block measured in the canvas's font for the layout.
    TLeaderBlock MeasureBlock(TSymbolCanvas& canvas, const TTextStyleList* styles,
                              TSymbolDrawMode mode) const;
    // Where the arrow leaves the box of the block towards fArrowEndPoint.
    TPoint ArrowStartPoint(const TLeaderBlock& block) const;

protected:
    explicit TSymbolObjectLeader(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
    // The type of a new object, and of one whose stored type is none of the four.
    virtual TItemNumberLayouts DefaultLeaderType() const { return layout_Leader; }
    void DumpFields(TJsonWriter& w) const override;

private:
    // The block as the cached extents hold it; false before the first measurement.
    bool CachedBlock(TLeaderBlock& block) const;
    void DrawLayoutNumber(TSymbolCanvas& canvas, const TLeaderBlock& block);
    void DrawLines(TSymbolCanvas& canvas, const TLeaderBlock& block);
    void DrawArrow(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip, const TLeaderBlock& block,
                   const TTextStyleList* styles);
    void DrawBorder(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TLeaderBlock& block);
};

class TSymbolObjectItemNumber : public TSymbolObjectLeader {
public:
    TSymbolObjectItemNumber() : TSymbolObjectLeader(somItemNumber) {
        fLeaderType = layout_Item1;
        fLayout = DefaultItemNumberLayouts()[fLeaderType];
    }
    const char* ClassName() const override { return "TSymbolObjectItemNumber"; }

    int32_t fBOMIndex = -1; // the BOM record of the owning component it numbers

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;

protected:
    TItemNumberLayouts DefaultLeaderType() const override { return layout_Item1; }
    void DumpFields(TJsonWriter& w) const override;
};

class TSymbolObjectRevTriangle : public TSymbolObject {
public:
    TSymbolObjectRevTriangle() : TSymbolObject(somRevisionTriangle) {}
    const char* ClassName() const override { return "TSymbolObjectRevTriangle"; }

    std::vector<std::string> fNoteList;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // An equilateral triangle 60 units high, pointing up, whose centroid is fP1: apex first, then
    // lower left and lower right.
    std::array<TXYPoint, 3> GetTrianglePoints() const;
    std::array<TPoint, 3> GetRoundedTrianglePoints() const;
    // The revision it marks: the value of its number attribute.
    std::string Number() const { return fSymbolObjectList.GetAttributeValue(saRevTriangleNumber); }

protected:
    void DumpFields(TJsonWriter& w) const override;
};
