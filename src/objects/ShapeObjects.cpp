#include "objects/ShapeObjects.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/ShapeHelpers.h"
#include "render/PointUtils.h"
#include "render/RevisionCloud.h"
#include "render/ShapeGeometry.h"

#include <algorithm>
#include <array>
#include <span>

using namespace std::string_view_literals;

namespace {

void ReadInt(const std::string& value, int32_t& field) {
    if (auto v = ParseRecordInt(value)) field = *v;
}

// "X,Y" as the writers join a point; nullopt unless both are integers.
std::optional<TPoint> ParsePointValue(const std::string& value) {
    const size_t comma = value.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto x = ParseRecordInt(std::string_view(value).substr(0, comma));
    const auto y = ParseRecordInt(std::string_view(value).substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return TPoint(*x, *y);
}

// Objects that draw nothing still stand at their stored points: they count in the extents and a
// rectangle can take them.
void AddPointExtents(std::span<const TPoint> pts, TExtentsRect& e) {
    for (const TPoint& p : pts)
        ExtentsAddPoint(p, e);
}

bool PointsHitTestRect(std::span<const TPoint> pts, const TRect& rt) {
    if (pts.empty()) return false;
    TExtentsRect e;
    AddPointExtents(pts, e);
    if (rt.P2.X < rt.P1.X) {
        const TRect r = NormalRectFromPoints(rt.P1, rt.P2);
        return e.Left <= r.P2.X && e.Right >= r.P1.X && e.Bottom <= r.P2.Y && e.Top >= r.P1.Y;
    }
    return PointInRect({e.Left, e.Bottom}, rt) && PointInRect({e.Right, e.Top}, rt);
}

bool HitTestOf(const TShapeGeometry& g, TPoint pt, double minPickDistance) {
    return ShapeHitTest(g, PointToXYPoint(pt), minPickDistance);
}

bool HitTestRectOf(const TShapeGeometry& g, std::span<const TPoint> stored, const TRect& rt) {
    return g.Empty() ? PointsHitTestRect(stored, rt) : ShapeHitTestRect(g, rt);
}

void ExtentsOf(const TShapeGeometry& g, std::span<const TPoint> stored, TExtentsRect& e) {
    if (g.Empty())
        AddPointExtents(stored, e);
    else
        ShapeAddExtents(g, e);
}

void DumpXYPoint(TJsonWriter& w, std::string_view key, const TXYPoint& p) {
    w.Key(key);
    w.BeginArray();
    w.Float(p.X);
    w.Float(p.Y);
    w.EndArray();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObject1Point

TShapeGeometry TSymbolObject1Point::Geometry() const {
    TShapeGeometry g;
    if (fSymbolObjectSubType == soDot) {
        TShapePart dot;
        dot.Kind = TShapePartKind::Circle;
        dot.Filled = fFill;
        dot.Centre = PointToXYPoint(fP1);
        dot.Radius = 5 * fScale;
        g.Parts.push_back(dot);
    }
    return g;
}

bool TSymbolObject1Point::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObject1Point::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), std::array{fP1}, rt);
}

TExtentsRect TSymbolObject1Point::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(Geometry(), std::array{fP1}, current);
    return current;
}

// ---------------------------------------------------------------------------------------------
// TSymbolObject2Point

void TSymbolObject2Point::SetDefaults() {
    TSymbolObject::SetDefaults();
    fP2 = {};
}

bool TSymbolObject2Point::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "POINT2X"sv)
        ReadInt(value, fP2.X);
    else if (key == "POINT2Y"sv)
        ReadInt(value, fP2.Y);
    else
        return false;
    return true;
}

TShapeGeometry TSymbolObject2Point::Geometry() const {
    return TwoPointShape(fSymbolObjectSubType, fP1, fP2, fScale, fFill, fFlip, fAlternate);
}

bool TSymbolObject2Point::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObject2Point::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), std::array{fP1, fP2}, rt);
}

TExtentsRect TSymbolObject2Point::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(Geometry(), std::array{fP1, fP2}, current);
    return current;
}

void TSymbolObject2Point::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("P2", fP2);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObject3Point

void TSymbolObject3Point::SetDefaults() {
    TSymbolObject::SetDefaults();
    fP2 = {};
    fP3 = {};
}

bool TSymbolObject3Point::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "POINT2X"sv)
        ReadInt(value, fP2.X);
    else if (key == "POINT2Y"sv)
        ReadInt(value, fP2.Y);
    else if (key == "POINT3X"sv)
        ReadInt(value, fP3.X);
    else if (key == "POINT3Y"sv)
        ReadInt(value, fP3.Y);
    else
        return false;
    return true;
}

TShapeGeometry TSymbolObject3Point::Geometry() const {
    TShapeGeometry g;
    const TXYPoint p1 = PointToXYPoint(fP1), p2 = PointToXYPoint(fP2), p3 = PointToXYPoint(fP3);
    if (fSymbolObjectSubType == soTriangle) {
        TShapePart t;
        t.Kind = TShapePartKind::StyledPolygon;
        t.Filled = fFill;
        t.Pts = {p1, p2, p3};
        g.Parts.push_back(t);
    } else if (fSymbolObjectSubType == soArc) {
        AddArcThroughPart(ArcThrough(p1, p2, p3), p1, p2, p3, g);
    }
    return g;
}

bool TSymbolObject3Point::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObject3Point::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), std::array{fP1, fP2, fP3}, rt);
}

TExtentsRect TSymbolObject3Point::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(Geometry(), std::array{fP1, fP2, fP3}, current);
    return current;
}

void TSymbolObject3Point::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("P2", fP2);
    w.Field("P3", fP3);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectPolyLine

void TSymbolObjectPolyLine::SetDefaults() {
    TSymbolObject::SetDefaults();
    fPoints.Items.clear();
    fArcs.Items.clear();
}

bool TSymbolObjectPolyLine::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key != "POINT"sv) return false;
    // A vertex that cannot be read is left out rather than put at the origin.
    if (auto p = ParsePointValue(value)) fPoints.Items.push_back(*p);
    return true;
}

void TSymbolObjectPolyLine::AfterLoad() {
    UpdateRevisionCloud();
}

bool TSymbolObjectPolyLine::Closed() const {
    const auto& pts = fPoints.Items;
    return pts.size() >= 3 && pts.front() == pts.back();
}

void TSymbolObjectPolyLine::ClosePoints() {
    auto& pts = fPoints.Items;
    if (pts.size() > 2 && pts.front() != pts.back()) pts.push_back(pts.front());
}

void TSymbolObjectPolyLine::Purge() {
    auto& pts = fPoints.Items;
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
}

void TSymbolObjectPolyLine::UpdateRevisionCloud() {
    fArcs.Items.clear();
    if (fSymbolObjectSubType != soRevisionCloud || fPoints.Count() <= 1) return;
    // A cloud that cannot be built keeps its straight outline.
    if (!TRevisionCloudGenerator::GenerateCloudArcs(fPoints, fArcs)) fArcs.Items.clear();
}

TShapeGeometry TSymbolObjectPolyLine::Geometry() const {
    TShapeGeometry g;
    if (fSymbolObjectSubType != soPolyLine && fSymbolObjectSubType != soRevisionCloud) return g;
    if (fSymbolObjectSubType == soRevisionCloud && !fArcs.Items.empty()) {
        for (const TArc& a : fArcs.Items)
            AddArcThroughPart(ArcThrough(a.StartPt, a.EndPt, a.ThroughPt), a.StartPt, a.EndPt, a.ThroughPt,
                              g);
        return g;
    }
    if (fPoints.Items.size() < 2) return g;
    TShapePart line;
    line.Kind = TShapePartKind::StyledLines;
    for (const TPoint& p : fPoints.Items)
        line.Pts.push_back(PointToXYPoint(p));
    g.Parts.push_back(std::move(line));
    return g;
}

bool TSymbolObjectPolyLine::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObjectPolyLine::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), fPoints.Items, rt);
}

TExtentsRect TSymbolObjectPolyLine::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(Geometry(), fPoints.Items, current);
    return current;
}

void TSymbolObjectPolyLine::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Key("Points");
    w.BeginArray();
    for (const TPoint& p : fPoints.Items)
        w.Point(p);
    w.EndArray();
    w.Key("Arcs");
    w.BeginArray();
    for (const TArc& a : fArcs.Items) {
        w.BeginObject();
        DumpXYPoint(w, "StartPt", a.StartPt);
        DumpXYPoint(w, "EndPt", a.EndPt);
        DumpXYPoint(w, "ThroughPt", a.ThroughPt);
        w.EndObject();
    }
    w.EndArray();
}
