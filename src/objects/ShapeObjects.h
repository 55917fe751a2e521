#pragma once
// Primitive shape objects: one-, two- and three-point shapes and poly-lines.
#include "model/SymbolObjects.h"
#include "render/Arcs.h"
#include "render/PointLists.h"

struct TShapeGeometry;

class TSymbolObject1Point : public TSymbolObject {
public:
    TSymbolObject1Point() : TSymbolObject(som1Point) {}
    const char* ClassName() const override { return "TSymbolObject1Point"; }

    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // What the object draws, in drawing units.
    TShapeGeometry Geometry() const;
};

class TSymbolObject2Point : public TSymbolObject {
public:
    TSymbolObject2Point() : TSymbolObject(som2Point) {}
    const char* ClassName() const override { return "TSymbolObject2Point"; }

    TPoint fP2;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // The catalogue shape of the sub-type, in drawing units; empty for sub-types drawn by
    // derived classes and for shapes that degenerate to nothing.
    TShapeGeometry Geometry() const;

protected:
    explicit TSymbolObject2Point(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
    void DumpFields(TJsonWriter& w) const override;
};

class TSymbolObject3Point : public TSymbolObject {
public:
    TSymbolObject3Point() : TSymbolObject(som3Point) {}
    const char* ClassName() const override { return "TSymbolObject3Point"; }

    TPoint fP2;
    TPoint fP3;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    TShapeGeometry Geometry() const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

class TSymbolObjectPolyLine : public TSymbolObject {
public:
    TSymbolObjectPolyLine() : TSymbolObject(somPolyLine) {}
    const char* ClassName() const override { return "TSymbolObjectPolyLine"; }

    TPointList fPoints;
    TArcList fArcs; // the cloud outline, derived from fPoints

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void AfterLoad() override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // At least three points and the first equals the last.
    bool Closed() const;
    // Appends a copy of the first point when there are more than two and the line is open.
    void ClosePoints();
    // Drops points equal to their predecessor.
    void Purge();
    // Rebuilds fArcs from the points; empty arcs mean the straight outline is drawn.
    void UpdateRevisionCloud();

    TShapeGeometry Geometry() const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};
