#include "objects/SheetObjects.h"

#include <algorithm>
#include <cmath>

#include "base/Translate.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/AnnotationObjects.h"
#include "render/PointUtils.h"

using namespace std::string_view_literals;

namespace {

// Keys "X" and "Y" up to "END."; a missing or bad number is 0.
TPoint ReadIPortPoint(TRecordReader& reader) {
    TPoint p;
    std::string key, value;
    while (reader.NextKey(key, value, "END."sv)) {
        if (key == "X"sv)
            p.X = ParseRecordInt(value).value_or(0);
        else if (key == "Y"sv)
            p.Y = ParseRecordInt(value).value_or(0);
    }
    return p;
}

// At most two decimals without trailing zeros, as the caption shows sizes and scales.
std::string CaptionNumber(double value, char decimalSeparator) {
    if (!std::isfinite(value)) value = 0;
    std::string s = FormatFixed(value, 2);
    TrimTrailingZeros(s);
    if (s == "-0") s = "0";
    if (decimalSeparator != '.') std::replace(s.begin(), s.end(), '.', decimalSeparator);
    return s;
}

// A scale that is no positive number (damage, or set so by hand) leaves no gap rather than one
// of nonsensical width.
int32_t GapHalfWidthOf(double scale) {
    return std::isfinite(scale) && scale > 0 ? Round(10 * scale) : 0;
}

int32_t Offset(int32_t v, int64_t d) {
    return ClampToInt32(int64_t(v) + d);
}

bool IsCrossing(const TRect& rt) {
    return rt.P2.X < rt.P1.X;
}

bool RectsMeet(const TRect& a, const TRect& b) {
    const TRect r = NormalRectFromPoints(a.P1, a.P2), s = NormalRectFromPoints(b.P1, b.P2);
    return r.P1.X <= s.P2.X && s.P1.X <= r.P2.X && r.P1.Y <= s.P2.Y && s.P1.Y <= r.P2.Y;
}

// Closed ranges in either order; touching counts.
bool RangesOverlap(int32_t a1, int32_t a2, int32_t b1, int32_t b2) {
    return std::min(a1, a2) <= std::max(b1, b2) && std::min(b1, b2) <= std::max(a1, a2);
}

double SqrDistance(const TPoint& a, const TPoint& b) {
    const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
    return dx * dx + dy * dy;
}

void DumpXYPoint(TJsonWriter& w, std::string_view key, const TXYPoint& p) {
    w.Key(key);
    w.Point(p.X, p.Y);
}

void DumpPoints(TJsonWriter& w, std::string_view key, const TPointList& list) {
    w.Key(key);
    w.BeginArray();
    for (const TPoint& p : list.Items)
        w.Point(p);
    w.EndArray();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectPaperSize

TSymbolObjectPaperSize::TSymbolObjectPaperSize() : TSymbolObject(somPaperSize) {
    // Sheet frames are not output unless the user asks for them.
    fHideInOutput = true;
}

void TSymbolObjectPaperSize::SetDefaults() {
    TSymbolObject::SetDefaults();
    fSymLineStyle = symlinestyleDefault;
    fHideInOutput = true;
    fData = {};
    fSheetNumber = -1;
}

bool TSymbolObjectPaperSize::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                        const std::string& value) {
    TPaperSizeData& d = fData;
    if (key == "WIDTH"sv) {
        ReadFloatKeeping(d.Width, value);
    } else if (key == "HEIGHT"sv) {
        ReadFloatKeeping(d.Height, value);
    } else if (key == "NAME"sv) {
        d.Name = value;
    } else if (key == "SHORTNAME"sv) {
        d.ShortName = value;
    } else if (key == "BORDER"sv) {
        d.Border = value;
    } else if (key == "DRAWINGHEAD"sv) {
        d.DrawingHead = value;
    } else if (key == "COMMENT"sv) {
        d.Comments = value;
    } else if (key == "X1"sv) {
        ReadFloatKeeping(d.P1.X, value);
    } else if (key == "Y1"sv) {
        ReadFloatKeeping(d.P1.Y, value);
    } else if (key == "X2"sv) {
        ReadFloatKeeping(d.P2.X, value);
    } else if (key == "Y2"sv) {
        ReadFloatKeeping(d.P2.Y, value);
    } else if (reader.IsLegacy()) {
        // The legacy variant numbers no sheets and always shows the border.
        return false;
    } else if (key == "SHEETNUMBER"sv) {
        fSheetNumber = ParseRecordInt(value).value_or(-1);
    } else if (key == "BORDERVISIBLE"sv) {
        d.BorderVisible = YesNoToBool(value);
    } else {
        return false;
    }
    return true;
}

TPoint TSymbolObjectPaperSize::PaperToDrawing(const TXYPoint& paperPt) const {
    // Round saturates, so millimetres far beyond any paper still give a point of the range.
    return {Offset(fP1.X, Round(10 * fScale * paperPt.X)), Offset(fP1.Y, Round(10 * fScale * paperPt.Y))};
}

TRect TSymbolObjectPaperSize::PaperRect() const {
    return TRect(PaperToDrawing(fData.P1), PaperToDrawing(fData.P2));
}

bool TSymbolObjectPaperSize::FitsIn(const TSymbolObject& obj) const {
    if (obj.fSymbolObjectMainType != somConnectionLineRef) return false;
    // The reference is a two-point object; its ends are its two points.
    const auto* ref = dynamic_cast<const TSymbolObject2Point*>(&obj);
    if (!ref) return false;
    const TRect paper = PaperRect();
    return PointInRect(ref->fP1, paper) && PointInRect(ref->fP2, paper);
}

std::string TSymbolObjectPaperSize::Caption(char decimalSeparator) const {
    std::string text = fData.Name + " (" + CaptionNumber(fData.Width, decimalSeparator) + " x " +
                       CaptionNumber(fData.Height, decimalSeparator) + ")";
    if (!fData.Comments.empty()) text += " " + fData.Comments;
    if (fScale != 1) text += _(" Scale ") + CaptionNumber(fScale, decimalSeparator);
    // 64 bits: the number shown is one more than the stored one, which may be the largest.
    if (fSheetNumber != -1) text = _("Sheet ") + std::to_string(int64_t(fSheetNumber) + 1) + " - " + text;
    return text;
}

void TSymbolObjectPaperSize::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    const TPaperSizeData& d = fData;
    w.Key("Data");
    w.BeginObject();
    w.Field("Name", d.Name);
    w.Field("ShortName", d.ShortName);
    w.Field("Comments", d.Comments);
    w.Field("Height", d.Height);
    w.Field("Width", d.Width);
    w.Field("Border", d.Border);
    w.Field("DrawingHead", d.DrawingHead);
    w.Field("LineWeight", d.LineWeight);
    DumpXYPoint(w, "P1", d.P1);
    DumpXYPoint(w, "P2", d.P2);
    w.Field("BorderVisible", d.BorderVisible);
    w.Field("FromOnline", d.FromOnline);
    w.EndObject();
    w.Field("SheetNumber", fSheetNumber);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectIBorder

void TSymbolObjectIBorder::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fSymLineStyle = symlinestyleDefault;
    fHideEdges.reset();
    fData = {};
    fDrawPoints.Items.clear();
    fComments.clear();
}

bool TSymbolObjectIBorder::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                      const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    TIBorderData& d = fData;
    if (key == "PROJECTBREVINDFILE"sv) {
        d.ProjectBrevindFile = value;
    } else if (key == "PROJECTNAME"sv) {
        d.ProjectName = value;
    } else if (key == "PROJECTNUMBER"sv) {
        d.ProjectNumber = value;
    } else if (key == "PROJECTDRAWING"sv) {
        d.ProjectDrawing = value;
    } else if (key == "PROJECTCLIENT"sv) {
        d.ProjectClient = value;
    } else if (key == "PROJECTMATERIAL"sv) {
        d.ProjectMaterial = value;
    } else if (reader.IsLegacy()) {
        return false;
    } else if (key == "MOUNTINGTEXT"sv) {
        d.MountingText = value;
    } else if (key == "MOUNTINGFACES"sv) {
        d.Faces = value;
    } else if (key == "SHOWLEFTLINE"sv) {
        d.ShowLeftLine = YesNoToBool(value);
    } else if (key == "SHOWTOPLINE"sv) {
        d.ShowTopLine = YesNoToBool(value);
    } else if (key == "SHOWRIGHTLINE"sv) {
        d.ShowRightLine = YesNoToBool(value);
    } else if (key == "SHOWBOTTOMLINE"sv) {
        d.ShowBottomLine = YesNoToBool(value);
    } else if (key == "HIDELEFT"sv) {
        // Writers only ever write "Yes": the key's presence is what hides the edge.
        fHideEdges.set(ibEdgeLeft);
    } else if (key == "HIDETOP"sv) {
        fHideEdges.set(ibEdgeTop);
    } else if (key == "HIDERIGHT"sv) {
        fHideEdges.set(ibEdgeRight);
    } else if (key == "HIDEBOTTOM"sv) {
        fHideEdges.set(ibEdgeBottom);
    } else if (key == "IPORTPOINT:"sv) {
        fDrawPoints.Items.push_back(ReadIPortPoint(reader));
    } else if (key == "COMMENTS:"sv) {
        fComments.push_back(value);
    } else {
        return false;
    }
    return true;
}

void TSymbolObjectIBorder::AfterLoad() {
    // Item numbers without a record link are bound to the border's records in order, as a
    // component binds its own.
    if (fBOMList.Count() == 0) return;
    int k = 0;
    for (const auto& child : fSymbolObjectList) {
        if (child->fSymbolObjectMainType != somItemNumber) continue;
        auto* item = dynamic_cast<TSymbolObjectItemNumber*>(child.get());
        if (!item || item->fBOMIndex != -1) continue;
        if (k < fBOMList.Count()) {
            item->fBOMIndex = k;
            TBOMData& d = fBOMList.Items(k)->fData;
            d.MainItemNumber[0] = item->fMainNumber;
            d.SubItemNumber[0] = item->fSubNumber;
        }
        ++k;
    }
}

bool TSymbolObjectIBorder::IsStandardManifold() const {
    return !fData.ProjectBrevindFile.empty() && fData.ProjectBrevindFile.front() == '|';
}

bool TSymbolObjectIBorder::AreAllLinesVisible() const {
    return fData.ShowLeftLine && fData.ShowTopLine && fData.ShowRightLine && fData.ShowBottomLine;
}

bool TSymbolObjectIBorder::IsSideShown(int side) const {
    switch (side) {
    case 1:
        return fData.ShowLeftLine && !fHideEdges.test(ibEdgeLeft);
    case 2:
        return fData.ShowTopLine && !fHideEdges.test(ibEdgeTop);
    case 3:
        return fData.ShowRightLine && !fHideEdges.test(ibEdgeRight);
    case 4:
        return fData.ShowBottomLine && !fHideEdges.test(ibEdgeBottom);
    default:
        return false;
    }
}

void TSymbolObjectIBorder::Normalize() {
    const TRect r = NormalRectFromPoints(fP1, fP2);
    if (fP1 == r.P1 && fP2 == r.P2) return;
    GeometryChanged();
    fP1 = r.P1;
    fP2 = r.P2;
}

void TSymbolObjectIBorder::LeftLinePoints(TPoint& p1, TPoint& p2) const {
    p1 = fP1;
    p2 = {fP1.X, fP2.Y};
}

void TSymbolObjectIBorder::TopLinePoints(TPoint& p1, TPoint& p2) const {
    p1 = {fP1.X, fP2.Y};
    p2 = fP2;
}

void TSymbolObjectIBorder::RightLinePoints(TPoint& p1, TPoint& p2) const {
    p1 = {fP2.X, fP1.Y};
    p2 = fP2;
}

void TSymbolObjectIBorder::BottomLinePoints(TPoint& p1, TPoint& p2) const {
    p1 = fP1;
    p2 = {fP2.X, fP1.Y};
}

bool TSymbolObjectIBorder::SideLinePoints(int side, TPoint& p1, TPoint& p2) const {
    switch (side) {
    case 1:
        LeftLinePoints(p1, p2);
        return true;
    case 2:
        TopLinePoints(p1, p2);
        return true;
    case 3:
        RightLinePoints(p1, p2);
        return true;
    case 4:
        BottomLinePoints(p1, p2);
        return true;
    default:
        return false;
    }
}

int TSymbolObjectIBorder::GetCloseSide(TPoint pt) const {
    const double bottom = std::fabs(double(pt.Y) - fP1.Y), right = std::fabs(double(pt.X) - fP2.X);
    const double top = std::fabs(double(pt.Y) - fP2.Y), left = std::fabs(double(pt.X) - fP1.X);
    if (bottom < right && bottom < top && bottom < left) return 4;
    if (right < top && right < left) return 3;
    if (top < left) return 2;
    return 1;
}

int TSymbolObjectIBorder::IsAttachedToEdge(TSymbolObjectIBorder& ibToTest) {
    Normalize();
    ibToTest.Normalize();
    const TPoint &lo = fP1, &hi = fP2, &otherLo = ibToTest.fP1, &otherHi = ibToTest.fP2;
    const bool overlapY = RangesOverlap(lo.Y, hi.Y, otherLo.Y, otherHi.Y);
    const bool overlapX = RangesOverlap(lo.X, hi.X, otherLo.X, otherHi.X);
    if (lo.X == otherHi.X && overlapY) return 1;
    if (hi.Y == otherLo.Y && overlapX) return 2;
    if (hi.X == otherLo.X && overlapY) return 3;
    if (lo.Y == otherHi.Y && overlapX) return 4;
    return -1;
}

void TSymbolObjectIBorder::AddToDrawPoints(int side, TPoint pt) {
    if (side < 1 || side > 4) return;
    const int32_t position = side == 1 || side == 3 ? pt.Y : pt.X;
    fDrawPoints.AddUnique({side, position});
}

void TSymbolObjectIBorder::SortDrawPoints() {
    std::stable_sort(fDrawPoints.Items.begin(), fDrawPoints.Items.end(),
                     [](const TPoint& a, const TPoint& b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
}

int32_t TSymbolObjectIBorder::GapHalfWidth() const {
    return GapHalfWidthOf(fScale);
}

std::vector<TPoint> TSymbolObjectIBorder::CreateListDrawPoints() const {
    std::vector<TPoint> out;
    const int64_t g = GapHalfWidth();
    std::vector<int32_t> positions;
    for (int side = 1; side <= 4; ++side) {
        if (!IsSideShown(side)) continue;
        TPoint a, b;
        SideLinePoints(side, a, b);
        const bool alongY = side == 1 || side == 3;
        positions.clear();
        for (const TPoint& p : fDrawPoints.Items)
            if (p.X == side) positions.push_back(p.Y);
        // The pairs only leave gaps when the positions run from the side's first end to its
        // second; files may list them in any order and corners in either order.
        const int dir = (alongY ? b.Y < a.Y : b.X < a.X) ? -1 : 1;
        if (dir > 0)
            std::sort(positions.begin(), positions.end());
        else
            std::sort(positions.begin(), positions.end(), std::greater<>());
        out.push_back(a);
        for (const int32_t pos : positions) {
            const int32_t before = Offset(pos, -dir * g), after = Offset(pos, dir * g);
            out.push_back(alongY ? TPoint(a.X, before) : TPoint(before, a.Y));
            out.push_back(alongY ? TPoint(a.X, after) : TPoint(after, a.Y));
        }
        out.push_back(b);
    }
    return out;
}

bool TSymbolObjectIBorder::HitTest(TPoint pt, double minPickDistance) const {
    if (fFill) return PointInRect(pt, GetRect());
    for (int side = 1; side <= 4; ++side) {
        TPoint a, b;
        if (IsSideShown(side) && SideLinePoints(side, a, b) &&
            PointSegmentDistance(pt, a, b) <= minPickDistance)
            return true;
    }
    return false;
}

bool TSymbolObjectIBorder::HitTestRect(const TRect& rt) const {
    if (!IsCrossing(rt)) return PointInRect(fP1, rt) && PointInRect(fP2, rt);
    bool allShown = true;
    for (int side = 1; side <= 4; ++side)
        allShown = allShown && IsSideShown(side);
    if (allShown) return RectsMeet(rt, GetRect());
    const TRect area = NormalRectFromPoints(rt.P1, rt.P2);
    for (int side = 1; side <= 4; ++side) {
        TPoint a, b;
        if (IsSideShown(side) && SideLinePoints(side, a, b) && SegmentMeetsRect(area, a, b)) return true;
    }
    return false;
}

TExtentsRect TSymbolObjectIBorder::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsAddPoint(fP1, current);
    ExtentsAddPoint(fP2, current);
    return current;
}

void TSymbolObjectIBorder::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    const TIBorderData& d = fData;
    w.Key("Data");
    w.BeginObject();
    w.Field("ProjectBrevindFile", d.ProjectBrevindFile);
    w.Field("ProjectName", d.ProjectName);
    w.Field("ProjectNumber", d.ProjectNumber);
    w.Field("ProjectDrawing", d.ProjectDrawing);
    w.Field("ProjectClient", d.ProjectClient);
    w.Field("ProjectMaterial", d.ProjectMaterial);
    w.Field("MountingText", d.MountingText);
    w.Field("Faces", d.Faces);
    w.Field("ShowLeftLine", d.ShowLeftLine);
    w.Field("ShowTopLine", d.ShowTopLine);
    w.Field("ShowRightLine", d.ShowRightLine);
    w.Field("ShowBottomLine", d.ShowBottomLine);
    w.EndObject();
    DumpPoints(w, "DrawPoints", fDrawPoints);
    w.Field("Comments", fComments);
    static constexpr const char* edgeNames[] = {"ibEdgeLeft", "ibEdgeTop", "ibEdgeRight", "ibEdgeBottom"};
    w.Key("HideEdges");
    w.BeginArray();
    for (size_t e = 0; e < fHideEdges.size(); ++e)
        if (fHideEdges.test(e)) w.String(edgeNames[e]);
    w.EndArray();
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectILine

void TSymbolObjectILine::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fSymLineStyle = symlinestyleDefault;
    fDrawPoints.Items.clear();
}

bool TSymbolObjectILine::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    if (key != "IPORTPOINT:"sv) return false;
    fDrawPoints.Items.push_back(ReadIPortPoint(reader));
    return true;
}

void TSymbolObjectILine::SortDrawPoints() {
    std::stable_sort(
        fDrawPoints.Items.begin(), fDrawPoints.Items.end(),
        [this](const TPoint& a, const TPoint& b) { return SqrDistance(fP1, a) < SqrDistance(fP1, b); });
}

TPoint TSymbolObjectILine::GetClosestPoint(TPoint p) const {
    if (fP1 == fP2) return p;
    if (IsVert()) return {fP1.X, p.Y};
    if (IsHorz()) return {p.X, fP1.Y};
    const double dx = double(fP2.X) - fP1.X, dy = double(fP2.Y) - fP1.Y;
    // Neither difference is 0 here, so both moves exist.
    const double xOnLine = fP1.X + (double(p.Y) - fP1.Y) * dx / dy;
    const double yOnLine = fP1.Y + (double(p.X) - fP1.X) * dy / dx;
    if (std::fabs(xOnLine - p.X) < std::fabs(yOnLine - p.Y)) return {Round(xOnLine), p.Y};
    return {p.X, Round(yOnLine)};
}

int32_t TSymbolObjectILine::GapHalfWidth() const {
    return GapHalfWidthOf(fScale);
}

std::vector<TPoint> TSymbolObjectILine::CreateListDrawPoints() const {
    std::vector<TPoint> out;
    out.push_back(fP1);
    // A line of no length has no direction to leave a gap along.
    if (fP1 != fP2) {
        std::vector<TPoint> points = fDrawPoints.Items;
        std::stable_sort(points.begin(), points.end(), [this](const TPoint& a, const TPoint& b) {
            return SqrDistance(fP1, a) < SqrDistance(fP1, b);
        });
        const double g = GapHalfWidth();
        const double dx = double(fP2.X) - fP1.X, dy = double(fP2.Y) - fP1.Y, len = std::hypot(dx, dy);
        // The gap runs along the line from fP1 towards fP2, so that each pair keeps its direction.
        const int64_t offX = IsVert() ? 0 : IsHorz() ? Sign(dx) * int64_t(g) : Round(g * dx / len);
        const int64_t offY = IsHorz() ? 0 : IsVert() ? Sign(dy) * int64_t(g) : Round(g * dy / len);
        for (const TPoint& p : points) {
            const TPoint on = IsVert() ? TPoint(fP1.X, p.Y) : IsHorz() ? TPoint(p.X, fP1.Y) : p;
            out.emplace_back(Offset(on.X, -offX), Offset(on.Y, -offY));
            out.emplace_back(Offset(on.X, offX), Offset(on.Y, offY));
        }
    }
    out.push_back(fP2);
    return out;
}

bool TSymbolObjectILine::HitTest(TPoint pt, double minPickDistance) const {
    return PointSegmentDistance(pt, fP1, fP2) <= minPickDistance;
}

bool TSymbolObjectILine::HitTestRect(const TRect& rt) const {
    if (IsCrossing(rt)) return SegmentMeetsRect(NormalRectFromPoints(rt.P1, rt.P2), fP1, fP2);
    return PointInRect(fP1, rt) && PointInRect(fP2, rt);
}

TExtentsRect TSymbolObjectILine::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsAddPoint(fP1, current);
    ExtentsAddPoint(fP2, current);
    return current;
}

void TSymbolObjectILine::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    DumpPoints(w, "DrawPoints", fDrawPoints);
}
