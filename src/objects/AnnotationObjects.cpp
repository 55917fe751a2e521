#include "objects/AnnotationObjects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/FontSelection.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "render/PointUtils.h"
#include "render/ShapeGeometry.h"

using namespace std::string_view_literals;

namespace {

void ReadInt(const std::string& value, int32_t& field) {
    if (auto v = ParseRecordInt(value)) field = *v;
}

// An empty text has no line at all, so that the measurement can stand a blank in for it.
std::vector<std::string> SplitNonEmpty(const std::string& text) {
    if (text.empty()) return {};
    return SplitLines(text);
}

TShapePart FilledOutline(std::vector<TXYPoint> pts) {
    TShapePart p;
    p.Kind = TShapePartKind::StyledPolygon;
    p.Filled = true; // a click inside counts as well as one on the outline
    p.Pts = std::move(pts);
    return p;
}

TShapePart BoxPart(TPoint c1, TPoint c2) {
    return FilledOutline(
        {XYPoint(c1.X, c1.Y), XYPoint(c2.X, c1.Y), XYPoint(c2.X, c2.Y), XYPoint(c1.X, c2.Y)});
}

std::string_view LeaderTypeIdent(TItemNumberLayouts t) {
    static constexpr std::string_view idents[] = {"layout_Leader", "layout_Item1", "layout_Item2",
                                                  "layout_Item3"};
    return idents[t <= layout_Item3 ? t : 0];
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectLeader

void TSymbolObjectLeader::SetDefaults() {
    TSymbolObject::SetDefaults();
    fMainNumber.clear();
    fSubNumber.clear();
    fRotation = 0;
    fLeaderType = DefaultLeaderType();
    fLayout = DefaultItemNumberLayouts()[fLeaderType];
    fHasArrow = false;
    fArrowEndPoint = {};
    fArrowStartPointTMP = {};
}

bool TSymbolObjectLeader::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "ROTATION"sv) {
        ReadInt(value, fRotation);
    } else if (key == "MAINNUMBER"sv) {
        fMainNumber = value;
    } else if (key == "SUBNUMBER"sv) {
        fSubNumber = value;
    } else if (key == "LEADERTYPE"sv) {
        // The type indexes the document's four layouts; a number past them would read beyond.
        if (auto v = ParseRecordInt(value)) {
            fLeaderType =
                *v >= layout_Leader && *v <= layout_Item3 ? TItemNumberLayouts(*v) : DefaultLeaderType();
            // Until the document hands out its layouts, the type's default one stands in.
            fLayout = DefaultItemNumberLayouts()[fLeaderType];
        }
    } else if (key == "HASARROW"sv) {
        fHasArrow = YesNoToBool(value);
    } else if (key == "ARROWENDPOINTX"sv) {
        ReadInt(value, fArrowEndPoint.X);
    } else if (key == "ARROWENDPOINTY"sv) {
        ReadInt(value, fArrowEndPoint.Y);
    } else {
        return false;
    }
    return true;
}

void TSymbolObjectLeader::UpdateItemLayout(const TItemNumberLayoutSet& layouts) {
    fLayout = layouts[fLeaderType <= layout_Item3 ? fLeaderType : DefaultLeaderType()];
    // The box depends on the layout: it is measured again.
    fExtents.Defined = false;
    GeometryChanged();
    TSymbolObject::UpdateItemLayout(layouts);
}

std::string TSymbolObjectLeader::GetCaption() const {
    return fSubNumber.empty() ? fMainNumber : fMainNumber + "." + fSubNumber;
}

std::string TSymbolObjectLeader::BOMCaption() const {
    std::string caption = GetCaption();
    caption.erase(std::remove(caption.begin(), caption.end(), '|'), caption.end());
    return caption;
}

std::vector<std::string> TSymbolObjectLeader::CreateCaptionList() const {
    if (fLayout.Orientation != itemorientationVert) return SplitNonEmpty(GetCaption());
    std::vector<std::string> lines = SplitNonEmpty(fMainNumber);
    if (!fSubNumber.empty()) lines.push_back(fSubNumber);
    return lines;
}

void TSymbolObjectLeader::SetArrow(TPoint newEndPoint) {
    fArrowEndPoint = newEndPoint;
    fHasArrow = true;
    GeometryChanged();
}

void TSymbolObjectLeader::RemoveArrow() {
    fArrowEndPoint = {};
    fHasArrow = false;
    GeometryChanged();
}

bool TSymbolObjectLeader::CachedBlock(TLeaderBlock& block) const {
    if (!fExtents.Defined) return false;
    const TPoint c1 = fExtents.C1, c2 = fExtents.C2;
    block.Centre = PointMid(c1, c2);
    block.C1 = c1;
    block.C2 = c2;
    const int64_t across = int64_t(c2.X) - c1.X, along = int64_t(c2.Y) - c1.Y;
    block.Width = ClampToInt32(IsRotated() ? along : across);
    block.Height = ClampToInt32(IsRotated() ? across : along);
    return true;
}

TPoint TSymbolObjectLeader::ArrowStartPoint(const TLeaderBlock& block) const {
    const TPoint end = fArrowEndPoint;
    if (fLayout.Border == itemborderCircle) {
        const double w = block.Width;
        const double dx = double(end.X) - fP1.X, dy = double(end.Y) - fP1.Y;
        const double length = std::hypot(dx, dy);
        // An end inside the circle leaves no way out of it; nor does one on the anchor.
        if (PointDist(end, block.Centre) <= w || length == 0) return fP1;
        return {Round(fP1.X + w * dx / length), Round(fP1.Y + w * dy / length)};
    }
    const TPoint c1 = block.C1, c2 = block.C2;
    const TPoint sides[] = {PointMid(c1, {c1.X, c2.Y}), PointMid(c1, {c2.X, c1.Y}),
                            PointMid({c2.X, c1.Y}, c2), PointMid({c1.X, c2.Y}, c2)};
    const auto sqrDistance = [&](const TPoint& p) {
        const double dx = double(p.X) - end.X, dy = double(p.Y) - end.Y;
        return dx * dx + dy * dy;
    };
    TPoint best = sides[0];
    for (const TPoint& side : sides)
        if (sqrDistance(side) < sqrDistance(best)) best = side;
    return best;
}

namespace {
// What a leader covers: its box (or the anchor before it is measured), the circle drawn about a
// circled one, and the arrow.
TShapeGeometry LeaderShape(const TSymbolObjectLeader& o, const TLeaderBlock* block) {
    TShapeGeometry g;
    const TPoint c1 = block ? block->C1 : o.fP1, c2 = block ? block->C2 : o.fP1;
    g.Parts.push_back(BoxPart(c1, c2));
    if (block && o.fLayout.Border == itemborderCircle) {
        TShapePart circle;
        circle.Kind = TShapePartKind::Circle;
        circle.Filled = true;
        circle.Centre = PointToXYPoint(block->Centre);
        circle.Radius = std::fabs(double(block->Width));
        g.Parts.push_back(circle);
    }
    if (o.fHasArrow) {
        TShapePart arrow;
        arrow.Kind = TShapePartKind::Lines;
        arrow.Pts = {PointToXYPoint(block ? o.ArrowStartPoint(*block) : o.fP1),
                     PointToXYPoint(o.fArrowEndPoint)};
        g.Parts.push_back(arrow);
    }
    return g;
}
} // namespace

bool TSymbolObjectLeader::HitTest(TPoint pt, double minPickDistance) const {
    TLeaderBlock block;
    const bool measured = CachedBlock(block);
    return ShapeHitTest(LeaderShape(*this, measured ? &block : nullptr), PointToXYPoint(pt), minPickDistance);
}

bool TSymbolObjectLeader::HitTestRect(const TRect& rt) const {
    TLeaderBlock block;
    const bool measured = CachedBlock(block);
    return ShapeHitTestRect(LeaderShape(*this, measured ? &block : nullptr), rt);
}

TExtentsRect TSymbolObjectLeader::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    TLeaderBlock block;
    const bool measured = CachedBlock(block);
    ShapeAddExtents(LeaderShape(*this, measured ? &block : nullptr), current);
    return current;
}

void TSymbolObjectLeader::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("MainNumber", fMainNumber);
    w.Field("SubNumber", fSubNumber);
    w.Field("Rotation", fRotation);
    w.Key("Layout");
    DumpItemNumberLayout(w, fLayout);
    w.Field("HasArrow", fHasArrow);
    w.Field("ArrowEndPoint", fArrowEndPoint);
    w.Field("ArrowStartPointTMP", fArrowStartPointTMP);
    w.Field("LeaderType", LeaderTypeIdent(fLeaderType));
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectItemNumber

void TSymbolObjectItemNumber::SetDefaults() {
    TSymbolObjectLeader::SetDefaults();
    fBOMIndex = -1;
}

bool TSymbolObjectItemNumber::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                         const std::string& value) {
    if (TSymbolObjectLeader::LoadOwnKey(reader, key, value)) return true;
    if (key != "BOMINDEX"sv) return false;
    ReadInt(value, fBOMIndex);
    return true;
}

void TSymbolObjectItemNumber::DumpFields(TJsonWriter& w) const {
    TSymbolObjectLeader::DumpFields(w);
    w.Field("BOMIndex", fBOMIndex);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectRevTriangle

namespace {
constexpr double RevTriangleSize = 60;
} // namespace

void TSymbolObjectRevTriangle::SetDefaults() {
    TSymbolObject::SetDefaults();
    fNoteList.clear();
}

bool TSymbolObjectRevTriangle::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key != "NOTE"sv) return false;
    fNoteList.push_back(value);
    return true;
}

std::array<TXYPoint, 3> TSymbolObjectRevTriangle::GetTrianglePoints() const {
    const double d = RevTriangleSize;
    const double e = (d / 2) / std::cos(std::numbers::pi / 6);
    const double f = e * std::tan(std::numbers::pi / 6);
    const double x = fP1.X, y = fP1.Y;
    return {XYPoint(x, y + d - f), XYPoint(x - e, y - f), XYPoint(x + e, y - f)};
}

std::array<TPoint, 3> TSymbolObjectRevTriangle::GetRoundedTrianglePoints() const {
    const auto p = GetTrianglePoints();
    return {XYPointToPoint(p[0]), XYPointToPoint(p[1]), XYPointToPoint(p[2])};
}

namespace {
TShapeGeometry TriangleShape(const TSymbolObjectRevTriangle& t) {
    const auto p = t.GetTrianglePoints();
    TShapeGeometry g;
    g.Parts.push_back(FilledOutline({p[0], p[1], p[2]}));
    return g;
}
} // namespace

bool TSymbolObjectRevTriangle::HitTest(TPoint pt, double minPickDistance) const {
    return ShapeHitTest(TriangleShape(*this), PointToXYPoint(pt), minPickDistance);
}

bool TSymbolObjectRevTriangle::HitTestRect(const TRect& rt) const {
    return ShapeHitTestRect(TriangleShape(*this), rt);
}

TExtentsRect TSymbolObjectRevTriangle::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    for (const TPoint& p : GetRoundedTrianglePoints())
        ExtentsAddPoint(p, current);
    return current;
}

void TSymbolObjectRevTriangle::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("NoteList", fNoteList);
}
