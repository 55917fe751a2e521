// The drawing pass every object takes part in.
#include <algorithm>
#include <cmath>

#include "model/SymbolObjects.h"
#include "render/SymbolCanvas.h"

namespace {
// Slack around cached bounds, in drawing units, so that rounding between an object's extents and
// its drawn geometry can never cull something that touches the view.
constexpr int64_t CullMargin = 16;

// Bounds of a subtree that holds geometry not reported in any extents: it may lie anywhere.
constexpr TExtentsRect Everywhere{true, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN};

bool IsEverywhere(const TExtentsRect& b) {
    return b.Left == Everywhere.Left && b.Top == Everywhere.Top && b.Right == Everywhere.Right &&
           b.Bottom == Everywhere.Bottom;
}

// Whether the bounds lie wholly inside the rectangle, where nothing of the subtree can miss it.
bool BoundsInside(const TExtentsRect& b, const TRect& rt) {
    if (!b.Defined) return false;
    return std::min(b.Left, b.Right) >= std::min(rt.P1.X, rt.P2.X) &&
           std::max(b.Left, b.Right) <= std::max(rt.P1.X, rt.P2.X) &&
           std::min(b.Bottom, b.Top) >= std::min(rt.P1.Y, rt.P2.Y) &&
           std::max(b.Bottom, b.Top) <= std::max(rt.P1.Y, rt.P2.Y);
}

bool BoundsMeet(const TExtentsRect& b, const TRect& rt) {
    if (!b.Defined) return true;
    int64_t left = std::min(rt.P1.X, rt.P2.X), right = std::max(rt.P1.X, rt.P2.X);
    int64_t bottom = std::min(rt.P1.Y, rt.P2.Y), top = std::max(rt.P1.Y, rt.P2.Y);
    return int64_t(b.Left) - CullMargin <= right && int64_t(b.Right) + CullMargin >= left &&
           int64_t(b.Bottom) - CullMargin <= top && int64_t(b.Top) + CullMargin >= bottom;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// The index of a large list

bool TSymbolObjectList::RefreshIndex() const {
    // Without a clock nothing tells when bounds move, so an index could not be trusted.
    if (!fClock || Count() < IndexedCount) {
        if (fCache) fCache->Index.Clear(), fCache->IndexGeneration = 0;
        return false;
    }
    if (!fCache) fCache = std::make_unique<TListCache>();
    if (fCache->IndexGeneration == fClock->Generation) return true;
    std::vector<TSpatialIndex::TBox> boxes;
    boxes.reserve(fSymbolObjectList.size());
    for (const auto& child : fSymbolObjectList) {
        const TExtentsRect& b = child->CullBounds();
        // Ordered corners: a superset of what the bounds tests on unordered ones let through.
        boxes.push_back({std::min(b.Left, b.Right), std::min(b.Bottom, b.Top), std::max(b.Left, b.Right),
                         std::max(b.Bottom, b.Top)});
    }
    // Reading the bounds may measure nothing, but a clock that moved meanwhile would leave the
    // index stale at once; take the generation the bounds were read at.
    fCache->Index.Build(boxes);
    fCache->IndexGeneration = fClock->Generation;
    return true;
}

bool TSymbolObjectList::CandidatesMeeting(const TSpatialIndex::TQuery& q, std::vector<int32_t>& out) const {
    if (!RefreshIndex()) return false;
    fCache->Index.Query(q, out);
    return true;
}

bool TSymbolObjectList::IsPrepared(const TTextStyleList* styles, char decimalSeparator) const {
    return fCache && fClock && fCache->PreparedGeneration == fClock->Generation &&
           fCache->PreparedStyles == styles && fCache->PreparedSeparator == decimalSeparator;
}

void TSymbolObjectList::MarkPrepared(const TTextStyleList* styles, char decimalSeparator) const {
    if (!fClock || Count() < IndexedCount) return;
    if (!fCache) fCache = std::make_unique<TListCache>();
    fCache->PreparedGeneration = fClock->Generation;
    fCache->PreparedStyles = styles;
    fCache->PreparedSeparator = decimalSeparator;
}

TSpatialIndex::TQuery TSymbolObject::AreaQuery(const TRect& rt) {
    return {
        std::min<int64_t>(rt.P1.X, rt.P2.X) - CullMargin, std::min<int64_t>(rt.P1.Y, rt.P2.Y) - CullMargin,
        std::max<int64_t>(rt.P1.X, rt.P2.X) + CullMargin, std::max<int64_t>(rt.P1.Y, rt.P2.Y) + CullMargin};
}

TSpatialIndex::TQuery TSymbolObject::NearQuery(TPoint pt, double distance) {
    const double d = distance + double(CullMargin);
    // A distance that is no number or beyond any drawing asks for everything.
    if (!(std::fabs(d) < 1e12)) return {INT64_MIN / 2, INT64_MIN / 2, INT64_MAX / 2, INT64_MAX / 2};
    return {int64_t(std::floor(pt.X - d)), int64_t(std::floor(pt.Y - d)), int64_t(std::ceil(pt.X + d)),
            int64_t(std::ceil(pt.Y + d))};
}

// ---------------------------------------------------------------------------------------------
// TSymbolObject

void TSymbolObject::GeometryChanged() const {
    if (fClock) ++fClock->Generation;
}

void TSymbolObject::SelectionMade() const {
    if (fClock) ++fClock->Selections;
}

void TSymbolObject::SetGeometryClock(TGeometryClock* clock) {
    fClock = clock;
    fCullGeneration = 0;
    fSymbolObjectList.SetGeometryClock(clock);
}

const TExtentsRect& TSymbolObject::CullBounds() const {
    if (!fClock || fCullGeneration != fClock->Generation) {
        fCullBounds = Extents(TExtentsRect{});
        // An object whose extents are undefined still draws and may be hit, wherever that is; so
        // may a child of the subtree that leaves no trace in the bounds. Neither may be culled.
        const bool unbounded =
            !fCullBounds.Defined ||
            std::any_of(fSymbolObjectList.begin(), fSymbolObjectList.end(), [](const auto& child) {
                return !child->IsHidden() && IsEverywhere(child->CullBounds());
            });
        if (unbounded) fCullBounds = Everywhere;
        if (fClock) fCullGeneration = fClock->Generation;
    }
    return fCullBounds;
}

bool TSymbolObject::Draw(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                         const TTextStyleList* styles) {
    PrepareDraw(canvas, mode, styles);
    return DrawSymbol(canvas, mode, clip, styles);
}

void TSymbolObject::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) {
    // Preparing measures what is not measured yet; once done, a second pass changes nothing
    // until the geometry does, and skipping it keeps a paint from visiting every object.
    if (fSymbolObjectList.IsPrepared(styles, canvas.fDecimalSeparator)) return;
    for (const auto& child : fSymbolObjectList) {
        // Measuring a text or caption defines its extents, which cached bounds must follow.
        const bool measured = child->fExtents.Defined;
        child->PrepareDraw(canvas, mode, styles);
        if (child->fExtents.Defined != measured) GeometryChanged();
    }
    fSymbolObjectList.MarkPrepared(styles, canvas.fDecimalSeparator);
}

bool TSymbolObject::AddRememberedExtents(TExtentsRect& current) const {
    // Without a clock nothing says the remembered bounds are current.
    if (!fClock) return false;
    const TExtentsRect& b = CullBounds();
    if (!b.Defined || IsEverywhere(b)) return false;
    // Extents only ever grow by points, so a subtree's extents join as their two corners.
    ExtentsAddPoint({b.Left, b.Bottom}, current);
    ExtentsAddPoint({b.Right, b.Top}, current);
    return true;
}

bool TSymbolObject::BoundsNear(TPoint pt, double distance) const {
    const TExtentsRect& b = CullBounds();
    if (!b.Defined || IsEverywhere(b)) return true;
    const double d = distance + double(CullMargin);
    return pt.X >= b.Left - d && pt.X <= b.Right + d && pt.Y >= b.Bottom - d && pt.Y <= b.Top + d;
}

bool TSymbolObject::MeetsCrossingRect(const TRect& rt) const {
    if (IsHidden()) return false;
    const TExtentsRect& bounds = CullBounds();
    if (!BoundsMeet(bounds, rt)) return false;
    // Nothing tells where an unbounded subtree draws; its children cull themselves. A subtree
    // wholly in view needs no exact test: all of a zoom-all paint is.
    if (IsEverywhere(bounds) || BoundsInside(bounds, rt)) return true;
    if (HitTestRect(rt)) return true;
    return fSymbolObjectList.AnyCandidate(
        AreaQuery(rt), [&](const TSymbolObject* child) { return child->MeetsCrossingRect(rt); });
}

bool TSymbolObject::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                               const TTextStyleList* styles) {
    if (IsHidden()) return false;
    const bool culled = clip && mode != sdmDrag;
    if (culled) {
        // The visible area's corners come top right first, so it is a crossing rectangle.
        const TRect area = canvas.VisibleArea();
        if (!MeetsCrossingRect(area)) return false;
        if (DrawnAsDot(canvas, mode)) return false;
        SetDrawColors(canvas, mode);
        fSymbolObjectList.ForEachCandidate(
            AreaQuery(area), [&](TSymbolObject* child) { child->DrawSymbol(canvas, mode, clip, styles); });
        return true;
    }
    SetDrawColors(canvas, mode);
    for (const auto& child : fSymbolObjectList)
        child->DrawSymbol(canvas, mode, clip, styles);
    return true;
}

bool TSymbolObject::DrawnAsDot(TSymbolCanvas& canvas, TSymbolDrawMode mode) {
    const TExtentsRect& b = CullBounds();
    if (!b.Defined || IsEverywhere(b)) return false;
    // The margin keeps anything whose drawn geometry could outgrow its extents by rounding out
    // of this shortcut; an object below a device pixel shows as its pen's colour at its centre.
    const double w = (std::fabs(double(b.Right) - double(b.Left)) + 2.0 * CullMargin) * canvas.fZoom;
    const double h = (std::fabs(double(b.Top) - double(b.Bottom)) + 2.0 * CullMargin) * canvas.fZoom;
    if (!(w < 1 && h < 1)) return false;
    SetDrawColors(canvas, mode);
    const TPen pen = canvas.fCanvas->Pen();
    if (pen.Style != TPenStyle::Clear) {
        const TPoint centre(int32_t((int64_t(b.Left) + b.Right) / 2),
                            int32_t((int64_t(b.Top) + b.Bottom) / 2));
        canvas.fCanvas->SetPixel(canvas.ToPt(centre), pen.Color);
    }
    return true;
}

void TSymbolObject::DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) {
    if (Selected()) {
        PrepareDraw(canvas, mode, styles);
        Draw(canvas, mode, true, styles);
    }
    for (const auto& child : fSymbolObjectList)
        child->DrawSelection(canvas, mode, styles);
}

void TSymbolObject::SetDrawColors(TSymbolCanvas& canvas, TSymbolDrawMode mode) const {
    canvas.ApplyObjectPen(mode, fSymLineType, fSymLineStyle, fColorIsOverruled, fOverruledColor);
}

void TSymbolObject::SetBrushStyle(TSymbolCanvas& canvas, bool solid, TSymbolDrawMode mode) const {
    canvas.ApplyObjectBrush(solid, mode, fSymLineType, fColorIsOverruled, fOverruledColor);
}

void TSymbolObjectList::Draw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) {
    for (const auto& o : fSymbolObjectList) {
        const bool measured = o->fExtents.Defined;
        o->PrepareDraw(canvas, mode, styles);
        if (o->fExtents.Defined != measured) GeometryChanged();
    }
    for (const auto& o : fSymbolObjectList)
        o->DrawSymbol(canvas, mode, true, styles);
}

void TSymbolObjectList::DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                      const TTextStyleList* styles) {
    for (const auto& o : fSymbolObjectList)
        o->DrawSelection(canvas, mode, styles);
}
