// The drawing pass every object takes part in.
#include "model/SymbolObjects.h"
#include "render/SymbolCanvas.h"

bool TSymbolObject::Draw(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                         const TTextStyleList* styles) {
    PrepareDraw(canvas, mode, styles);
    return DrawSymbol(canvas, mode, clip, styles);
}

void TSymbolObject::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) {
    for (const auto& child : fSymbolObjectList)
        child->PrepareDraw(canvas, mode, styles);
}

bool TSymbolObject::MeetsCrossingRect(const TRect& rt) const {
    if (IsHidden()) return false;
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
    for (const auto& o : fSymbolObjectList)
        o->PrepareDraw(canvas, mode, styles);
    for (const auto& o : fSymbolObjectList)
        o->DrawSymbol(canvas, mode, true, styles);
}

void TSymbolObjectList::DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                      const TTextStyleList* styles) {
    for (const auto& o : fSymbolObjectList)
        o->DrawSelection(canvas, mode, styles);
}
