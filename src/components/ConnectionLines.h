#pragma once
// Connection lines, junction nodes and sheet references.
#include <string>

#include "components/SymbolObjectSymbol.h"
#include "model/AttributeTags.h"
#include "model/SymbolObjectWithGroups.h"
#include "objects/ShapeObjects.h"
#include "render/PointLists.h"

class TConnectivityIndex;
class TSymbolObjectAttribute;

// Pipe data of a connection line.
struct TConnectionLineData {
    double Diameter = 0; // mm
    int32_t PrecisionDiameter = 0;
    double Wall = 0; // mm
    int32_t PrecisionWall = 1;
    double Flow = 0; // l/min
    int32_t PrecisionFlow = 0;
    double Velocity = 0; // m/s
    int32_t PrecisionVelocity = 1;
    double Flow2 = 0;
    int32_t PrecisionFlow2 = 0;
    double Velocity2 = 0;
    int32_t PrecisionVelocity2 = 1;
    bool operator==(const TConnectionLineData&) const = default;
};

std::string_view JumpModeIdent(TJumpMode mode);

// Number text of the pipe-data texts: precision 0 gives at most five decimals with trailing
// zeros removed, any other precision exactly that many decimals.
std::string FormatMeasure(int32_t precision, double value, char decimalSeparator = '.');

// Tag of corner entries in the tagged draw points; crossings carry a tag >= 0.
constexpr int32_t TagCorner = -1;
constexpr int32_t TagCrossing = 0;

class TSymbolObjectConnectionLine : public TSymbolObjectWithGroups {
public:
    TSymbolObjectConnectionLine() : TSymbolObjectWithGroups(somConnectionLine) {}
    const char* ClassName() const override { return "TSymbolObjectConnectionLine"; }

    TPoint fO1; // current position of the start end, set by the update
    TPoint fO2;
    int32_t fPort1Handle = -1;
    int32_t fPort2Handle = -1;
    TPointList fDrawPoints;
    TPointList fCrossPoints;
    TJumpMode fJumpMode = jmNone;
    bool fNonOrthoAllowed = false;
    TConnectionLineData fConnectionLineData;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool SearchesChildren() const override { return true; }
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    bool Port1Exists() const { return fPort1Handle != -1; }
    bool Port2Exists() const { return fPort2Handle != -1; }
    bool IsConnectedWith(int32_t handle) const {
        return handle != -1 && (handle == fPort1Handle || handle == fPort2Handle);
    }

    // The attribute children that show the pipe data and the flow arrows; nullptr when absent.
    TSymbolObjectAttribute* AttributeSize() const { return AttributeChild(*this, saConnectionLineSize); }
    TSymbolObjectAttribute* AttributeFlow() const { return AttributeChild(*this, saConnectionLineFlow); }
    TSymbolObjectAttribute* AttributeVelocity() const {
        return AttributeChild(*this, saConnectionLineVelocity);
    }
    TSymbolObjectAttribute* AttributeFlow2() const { return AttributeChild(*this, saConnectionLineFlow2); }
    TSymbolObjectAttribute* AttributeVelocity2() const {
        return AttributeChild(*this, saConnectionLineVelocity2);
    }
    // The last arrow attribute of the first (resp. second) flow.
    TSymbolObjectAttribute* AttributeArrow() const;
    TSymbolObjectAttribute* AttributeArrow2() const;
    // The first attribute child carrying the special attribute.
    static TSymbolObjectAttribute* AttributeChild(const TSymbolObject& owner, TSpecialAttribute attribute);

    // Pipe-data texts: the first "<>" of the default text takes the value in display units.
    std::string GetSizeText(const std::string& defaultSizeText, char decimalSeparator = '.') const;
    std::string GetFlowText(const std::string& defaultFlowText, char decimalSeparator = '.') const;
    std::string GetFlow2Text(const std::string& defaultFlowText, char decimalSeparator = '.') const;
    std::string GetVelocityText(const std::string& defaultVelocityText, char decimalSeparator = '.') const;
    std::string GetVelocity2Text(const std::string& defaultVelocityText, char decimalSeparator = '.') const;

    // --- connectivity (Connectivity.cpp) ---
    // Re-attaches the ends to the objects their handles name and fits the corner points.
    void Update(TSymbolObjectSymbol& symbol, bool isNew);
    void Update(const TConnectivityIndex& index, bool isNew);
    void UpdatePoints(bool isNew);
    // Records where the two lines cross, on the line whose segment the jump mode bridges.
    void CheckCrosses(TSymbolObjectConnectionLine& second, TJumpMode jumpMode);
    bool IsCrossing(const TSymbolObjectConnectionLine& second) const;
    // Drops consecutive duplicates and the inner points that continue a straight run.
    void CleanPoints();

    // --- tagged draw points ---
    // The draw points with the cross points inserted in drawing order, tagged corner or crossing.
    TTaggedPointList MakeTmpDrawPoints() const;
    // Highest segment whose bounding box holds the point, -1 if none.
    int FindSegment(const TPoint& pt) const;
    // Keeps MakeTmpDrawPoints for the paints that follow; the first paint after a change calls
    // it. The connectivity update and the reader drop it when they change the draw or cross
    // points; whoever else changes them must call InvalidateDrawCache.
    void CacheDrawPoints();
    void InvalidateDrawCache() { fTmpDrawPointsValid = false; }
    bool HasDrawCache() const { return fTmpDrawPointsValid; }

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    void DrawPiece(TSymbolCanvas& canvas, const TTaggedPoint& a, const TTaggedPoint& b, bool solid,
                   TColor secondColor) const;
    void DrawJumpArc(TSymbolCanvas& canvas, const TPoint& c) const;
    TColor SecondColorFor(const TSymbolCanvas& canvas, TSymbolDrawMode mode) const;

    TTaggedPointList fTmpDrawPoints;
    bool fTmpDrawPointsValid = false;
};

class TSymbolObjectConnectionNode : public TSymbolObjectWithGroups {
public:
    TSymbolObjectConnectionNode() : TSymbolObjectWithGroups(somConnectionNode) {}
    const char* ClassName() const override { return "TSymbolObjectConnectionNode"; }

    bool fManuallyInserted = false;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // Larger on a schematic's top level than inside a symbol.
    double Radius() const { return (fInMainSymbol & usedInSchematicMainSymbol) ? 8 : 5; }
    // Some direct-child line of the list ends on the node.
    bool IsConnected(const TSymbolObjectList& mainObjectList) const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

struct TConnectionLineRefData {
    int32_t MateWith = -1;
    int32_t SheetHandle = -1;
    int32_t SheetNameMate = -1;
    bool operator==(const TConnectionLineRefData&) const = default;
};

class TSymbolObjectConnectionLineRef : public TSymbolObject2Point {
public:
    TSymbolObjectConnectionLineRef() : TSymbolObject2Point(somConnectionLineRef) {
        fSymLineStyle = symlinestyleBorder;
    }
    const char* ClassName() const override { return "TSymbolObjectConnectionLineRef"; }

    TConnectionLineRefData fData;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool SearchesChildren() const override { return true; }
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    bool IsVert() const { return fP1.X == fP2.X; }
    TSymbolObjectAttribute* AttributeText() const {
        return TSymbolObjectConnectionLine::AttributeChild(*this, saConnectionLineBreakText);
    }
    // The first "<>" takes the number of the partner's sheet, counted from 1.
    std::string GetSizeText(const std::string& defaultSizeText) const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};
