// The drawing pass every object takes part in.
#include <algorithm>

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

bool BoundsMeet(const TExtentsRect& b, const TRect& rt) {
    if (!b.Defined) return true;
    int64_t left = std::min(rt.P1.X, rt.P2.X), right = std::max(rt.P1.X, rt.P2.X);
    int64_t bottom = std::min(rt.P1.Y, rt.P2.Y), top = std::max(rt.P1.Y, rt.P2.Y);
    return int64_t(b.Left) - CullMargin <= right && int64_t(b.Right) + CullMargin >= left &&
           int64_t(b.Bottom) - CullMargin <= top && int64_t(b.Top) + CullMargin >= bottom;
}
} // namespace

void TSymbolObject::GeometryChanged() const {
    if (fClock) ++fClock->Generation;
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
    for (const auto& child : fSymbolObjectList) {
        // Measuring a text or caption defines its extents, which cached bounds must follow.
        const bool measured = child->fExtents.Defined;
        child->PrepareDraw(canvas, mode, styles);
        if (child->fExtents.Defined != measured) GeometryChanged();
    }
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
    // Nothing tells where an unbounded subtree draws; its children cull themselves.
    if (IsEverywhere(bounds)) return true;
    if (HitTestRect(rt)) return true;
    for (const auto& child : fSymbolObjectList)
        if (child->MeetsCrossingRect(rt)) return true;
    return false;
}

bool TSymbolObject::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                               const TTextStyleList* styles) {
    if (IsHidden()) return false;
    if (clip && mode != sdmDrag) {
        // The visible area's corners come top right first, so it is a crossing rectangle.
        if (!MeetsCrossingRect(canvas.VisibleArea())) return false;
    }
    SetDrawColors(canvas, mode);
    for (const auto& child : fSymbolObjectList)
        child->DrawSymbol(canvas, mode, clip, styles);
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
