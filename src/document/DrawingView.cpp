#include "document/DrawingView.h"

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "objects/SheetObjects.h"
#include "render/SymbolCanvas.h"
#include "render/XYPoints.h"

#include <algorithm>
#include <cmath>

void SetupViewCanvas(TSymbolCanvas& canvas, int dpi) {
    canvas.SetDPI(dpi);
    canvas.fThickConnectionLines = false;
    canvas.fShowGrid = false;
    canvas.fShowTextBorders = false;
    canvas.SetSnapAndGridValues();
    canvas.fSymbolGroupDrawMode = drawMainGroups;
}

bool ZoomCanvasToDrawing(TSymbolFile& doc, TSymbolCanvas& canvas) {
    TSymbolObjectSymbol& root = doc.Symbol();
    if (root.fSymbolObjectList.Count() == 0) return false;
    // Texts know their boxes only once measured.
    root.PrepareDraw(canvas, sdmNormal, &doc.TextStyleList());
    const TExtentsRect extents = root.Extents(TExtentsRect{});
    canvas.ZoomExtents(extents);
    if (!(canvas.fZoom <= 1)) canvas.ZoomCenterExtents(extents, 1);
    return true;
}

bool IsSheetOf(const TSymbolFile& doc, int32_t sheetIndex) {
    const std::vector<int32_t> numbers = doc.SheetNumbers();
    return std::binary_search(numbers.begin(), numbers.end(), sheetIndex);
}

bool ZoomCanvasToSheet(TSymbolFile& doc, TSymbolCanvas& canvas, int32_t sheetIndex) {
    TSymbolObjectSymbol& root = doc.Symbol();
    root.PrepareDraw(canvas, sdmNormal, &doc.TextStyleList());
    // The paper itself counts: a frame need not have line work out to its corners.
    TExtentsRect extents = root.Extents(TExtentsRect{});
    for (const TSymbolObjectPaperSize* p : doc.CreateSheetList()) {
        if (p->fSheetNumber != sheetIndex) continue;
        const TRect r = p->PaperRect();
        ExtentsAddPoint(r.P1, extents);
        ExtentsAddPoint(r.P2, extents);
        // The caption hangs below the frame's corner, 30 units high whatever the scale.
        ExtentsAddPoint({p->fP1.X, p->fP1.Y > INT32_MIN + 45 ? p->fP1.Y - 45 : INT32_MIN}, extents);
    }
    if (!extents.Defined) return false;
    canvas.ZoomExtents(extents);
    if (!(canvas.fZoom <= 1)) canvas.ZoomCenterExtents(extents, 1);
    return true;
}

bool ZoomCanvasAtPoint(TSymbolCanvas& canvas, TPoint p, double factor) {
    const double newZoom = canvas.fZoom * factor;
    // Written so that a zoom that is not a number fails too.
    if (!(newZoom <= MaxViewZoom && newZoom >= MinViewZoom)) return false;
    const TPoint d = canvas.FromPt(p);
    canvas.fStart.X = Round(double(p.X) - newZoom * d.X);
    // Rounded as one expression: negating a rounded value overflows when it is INT32_MIN.
    canvas.fStart.Y = Round(double(p.Y) - newZoom * (double(canvas.fSize.Y) - d.Y));
    canvas.SetZoom(factor);
    return true;
}

TViewPlace ViewPlaceOf(const TSymbolCanvas& canvas) {
    return {canvas.fZoom, canvas.FromPt({canvas.fSize.X / 2, canvas.fSize.Y / 2})};
}

bool SetViewPlace(TSymbolCanvas& canvas, const TViewPlace& place) {
    if (!(place.Zoom <= MaxViewZoom && place.Zoom >= MinViewZoom)) return false;
    const double x = canvas.fSize.X / 2, y = canvas.fSize.Y / 2;
    canvas.fStart.X = Round(x - place.Zoom * place.Centre.X);
    canvas.fStart.Y = Round(y - place.Zoom * (double(canvas.fSize.Y) - place.Centre.Y));
    canvas.fZoom = place.Zoom;
    canvas.SetZoom(1); // the snap and grid values follow the zoom
    return true;
}

void PaintDrawing(TSymbolFile& doc, TSymbolCanvas& canvas) {
    canvas.ClearCanvas();
    doc.Symbol().Draw(canvas, sdmNormal, true, &doc.TextStyleList());
    PaintSelection(doc, canvas, sdmHighlight);
}

void PaintSelection(TSymbolFile& doc, TSymbolCanvas& canvas, int mode) {
    if (const TObjectRefList* roots = doc.ClickSelection()) {
        // The roots are top-level objects in drawing order, so this is the whole walk's order.
        for (TSymbolObject* root : *roots)
            root->DrawSelection(canvas, TSymbolDrawMode(mode), &doc.TextStyleList());
        return;
    }
    doc.Symbol().DrawSelection(canvas, TSymbolDrawMode(mode), &doc.TextStyleList());
}

namespace {
// What a second canvas takes over to draw as the view does, apart from place and resolution.
void CopyViewLook(const TSymbolCanvas& from, TSymbolCanvas& to) {
    to.fCanvasColors = from.fCanvasColors;
    to.fGridMode = from.fGridMode;
    to.fSnap = from.fSnap;
    to.fGrid = from.fGrid;
    to.fShowGrid = from.fShowGrid;
    to.fShowTextBorders = from.fShowTextBorders;
    to.fSymbolGroupDrawMode = from.fSymbolGroupDrawMode;
    to.fThickConnectionLines = from.fThickConnectionLines;
}
} // namespace

void SetupPanCanvas(const TSymbolCanvas& main, TSymbolCanvas& pan, int w, int h, int x0, int y0) {
    pan.fZoom = main.fZoom;
    CopyViewLook(main, pan);
    pan.SetDPI(main.fDPI);
    pan.fStart = {ClampToInt32(int64_t(w) - x0 + main.fStart.X),
                  Round(main.fStart.Y - double(h) * main.fZoom + h - y0)};
    pan.fSize = {2 * w, 2 * h};
}

void ScaleViewCanvas(const TSymbolCanvas& from, TSymbolCanvas& to, int scale) {
    const double s = std::max(scale, 1);
    to.fZoom = from.fZoom * s;
    CopyViewLook(from, to);
    to.SetDPI(int(std::lround(from.fDPI * s)));
    to.fDecimalSeparator = from.fDecimalSeparator;
    to.fSize = {ClampToInt32(int64_t(std::llround(from.fSize.X * s))),
                ClampToInt32(int64_t(std::llround(from.fSize.Y * s)))};
    // A device point is (x * zoom + start.X, (size.Y - y) * zoom + start.Y): scaling the point by S
    // with the zoom and the size scaled by S leaves this start.
    to.fStart = {Round(from.fStart.X * s),
                 Round(from.fStart.Y * s + s * from.fZoom * from.fSize.Y * (1 - s))};
}

void ClearDrawingSelection(TSymbolFile& doc) {
    // The last click's selection lies in the subtrees it recorded; anything else clears all.
    if (const TObjectRefList* previous = doc.ClickSelection()) {
        for (TSymbolObject* object : *previous)
            object->ClearSelection();
    } else {
        doc.Symbol().ClearSelection();
    }
    doc.SetClickSelection({});
}

bool DrawingHasSelection(const TSymbolFile& doc) {
    if (const TObjectRefList* roots = doc.ClickSelection())
        return std::any_of(roots->begin(), roots->end(),
                           [](const TSymbolObject* o) { return o->HasSelection(); });
    return doc.Symbol().fSymbolObjectList.HasSelection();
}

void SelectAndZoomTo(TSymbolFile& doc, TSymbolCanvas& canvas, TSymbolObject& object) {
    ClearDrawingSelection(doc);
    object.SelectAll();
    doc.Symbol().PrepareDraw(canvas, sdmNormal, &doc.TextStyleList());
    const TExtentsRect e = object.Extents(TExtentsRect{});
    if (!e.Defined) return;
    // Half the view: a margin of half the object's larger side all round, and some room for a dot.
    const int64_t side = std::max<int64_t>({int64_t(e.Right) - e.Left, int64_t(e.Bottom) - e.Top, 200});
    const auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    TExtentsRect around;
    ExtentsAddPoint({clamp(int64_t(e.Left) - side / 2), clamp(int64_t(e.Top) - side / 2)}, around);
    ExtentsAddPoint({clamp(int64_t(e.Right) + side / 2), clamp(int64_t(e.Bottom) + side / 2)}, around);
    canvas.ZoomExtents(around);
    if (!(canvas.fZoom <= MaxViewZoom)) canvas.ZoomCenterExtents(around, MaxViewZoom);
}

bool SelectComponentsAtPoint(TSymbolFile& doc, const TSymbolCanvas& canvas, TPoint p, double pickPixels) {
    TSymbolObjectSymbol& root = doc.Symbol();
    ClearDrawingSelection(doc);
    if (!(canvas.fZoom > 0)) return false;
    const TPoint d = canvas.FromPt(p);
    const TSymbolObjectTypeSet anyType;
    // The hit takes whole subtrees, all below the top-level objects hit; of those only the
    // components the BOM shows stay selected.
    TObjectRefList hitList, hitRoots;
    if (!root.fSymbolObjectList.GetAndSelectObjectsAtPoint(d, anyType, hitList, pickPixels / canvas.fZoom,
                                                           &hitRoots))
        return false;
    TObjectRefList hit;
    for (TSymbolObject* top : hitRoots)
        top->ForEachInSubtree([&](TSymbolObject* o) {
            if (o->Selected()) hit.push_back(o);
        });
    for (TSymbolObject* top : hitRoots)
        top->ClearSelection();
    bool selected = false;
    for (TSymbolObject* object : hit) {
        const TBOM* first = object->fBOMList.First();
        if (first && !first->HideInBOM()) {
            object->SelectAll();
            selected = true;
        }
    }
    doc.SetClickSelection(std::move(hitRoots));
    return selected;
}
