#pragma once
// Sheet frames: paper sizes, inner borders and inner lines.
#include <bitset>
#include <string>
#include <vector>

#include "objects/ShapeObjects.h"
#include "render/PointLists.h"
#include "render/XYPoints.h"

struct TPaperSizeData {
    std::string Name;
    std::string ShortName;
    std::string Comments;
    double Height = 0; // mm
    double Width = 0;  // mm
    std::string Border;
    std::string DrawingHead;
    std::string LineWeight; // carried with the record, not stored in the file
    TXYPoint P1;            // mm, relative to the object's fP1
    TXYPoint P2;
    bool BorderVisible = true;
    bool FromOnline = false; // carried with the record, not stored in the file
};

// A sheet: a frame of one paper format and scale whose children are its line work and title
// block. Sheets are numbered from 0; -1 is a paper size that is no sheet of its own.
class TSymbolObjectPaperSize : public TSymbolObject {
public:
    TSymbolObjectPaperSize();
    const char* ClassName() const override { return "TSymbolObjectPaperSize"; }
    std::string_view Terminator() const override { return "ENDPAPERSIZE."; }

    TPaperSizeData fData;
    int32_t fSheetNumber = -1;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;
    void DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;

    bool BorderVisible() const { return fData.BorderVisible; }
    // A paper point in millimetres as a drawing point.
    TPoint PaperToDrawing(const TXYPoint& paperPt) const;
    // The corners of the paper rectangle in drawing units, P1 from fData.P1 and P2 from fData.P2:
    // a window rectangle when P1 lies left of P2.
    TRect PaperRect() const;
    // Whether the object is a connection-line reference with both ends on the paper.
    bool FitsIn(const TSymbolObject& obj) const;
    // The caption drawn at the frame's corner, without the leading space.
    std::string Caption(char decimalSeparator = '.') const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

struct TIBorderData {
    std::string ProjectBrevindFile;
    std::string ProjectName;
    std::string ProjectNumber;
    std::string ProjectDrawing;
    std::string ProjectClient;
    std::string ProjectMaterial;
    std::string MountingText;
    std::string Faces;
    bool ShowLeftLine = true;
    bool ShowTopLine = true;
    bool ShowRightLine = true;
    bool ShowBottomLine = true;
};

enum TIBorderEdge : uint8_t { ibEdgeLeft, ibEdgeTop, ibEdgeRight, ibEdgeBottom };
using TIBorderEdgeSet = std::bitset<4>; // indexed by TIBorderEdge

// A rectangular inner border of a manifold. Sides are numbered 1 left, 2 top, 3 right, 4 bottom
// (as seen when fP1 is the lower-left corner); each is interrupted where an inner port sits on
// it. A draw point holds the side in X and the position along the side in Y.
class TSymbolObjectIBorder : public TSymbolObject2Point {
public:
    TSymbolObjectIBorder() : TSymbolObject2Point(somIBorder) {}
    const char* ClassName() const override { return "TSymbolObjectIBorder"; }
    std::string_view Terminator() const override { return "ENDIBORDER."; }

    TIBorderData fData;
    TPointList fDrawPoints;
    std::vector<std::string> fComments;
    TIBorderEdgeSet fHideEdges;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void AfterLoad() override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    const std::string& Faces() const { return fData.Faces; }
    const std::string& BrevindFile() const { return fData.ProjectBrevindFile; }
    bool IsStandardManifold() const;
    bool AreAllLinesVisible() const;
    // The side's flag is set and its edge is not hidden.
    bool IsSideShown(int side) const;

    void Normalize();
    TRect GetRect() const { return TRect(fP1, fP2); }
    void LeftLinePoints(TPoint& p1, TPoint& p2) const;
    void TopLinePoints(TPoint& p1, TPoint& p2) const;
    void RightLinePoints(TPoint& p1, TPoint& p2) const;
    void BottomLinePoints(TPoint& p1, TPoint& p2) const;
    // The two end points of side 1 to 4; false for any other number.
    bool SideLinePoints(int side, TPoint& p1, TPoint& p2) const;
    // The side nearest to the point; ties go to left, then top, then right.
    int GetCloseSide(TPoint pt) const;
    // 1 to 4 when that side of this border lies on the opposite side of the other border, else -1.
    // Both borders are normalised first.
    int IsAttachedToEdge(TSymbolObjectIBorder& ibToTest);

    void AddToDrawPoints(int side, TPoint pt);
    void ClearDrawPoints() { fDrawPoints.Items.clear(); }
    void SortDrawPoints();
    // The outline as consecutive pairs of points, each pair one line.
    std::vector<TPoint> CreateListDrawPoints() const;
    // Half the width of the gap left around each draw point.
    int32_t GapHalfWidth() const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

// A straight inner line, interrupted where inner ports sit on it. Draw points are points of the
// line.
class TSymbolObjectILine : public TSymbolObject2Point {
public:
    TSymbolObjectILine() : TSymbolObject2Point(somILine) {}
    const char* ClassName() const override { return "TSymbolObjectILine"; }
    std::string_view Terminator() const override { return "ENDILINE."; }

    TPointList fDrawPoints;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    bool IsVert() const { return fP1.X == fP2.X; }
    bool IsHorz() const { return fP1.Y == fP2.Y; }
    void AddToDrawPoints(TPoint pt) { fDrawPoints.AddUnique(pt); }
    void ClearDrawPoints() { fDrawPoints.Items.clear(); }
    // Nearest to fP1 first.
    void SortDrawPoints();
    TPoint GetClosestPoint(TPoint p) const;
    std::vector<TPoint> CreateListDrawPoints() const;
    int32_t GapHalfWidth() const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};
