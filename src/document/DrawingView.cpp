#include "document/DrawingView.h"

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "render/SymbolCanvas.h"
#include "render/XYPoints.h"

#include <cmath>

void SetupViewCanvas(TSymbolCanvas& Canvas, int DPI) {
    Canvas.SetDPI(DPI);
    Canvas.fThickConnectionLines = false;
    Canvas.fShowGrid = false;
    Canvas.fShowTextBorders = false;
    Canvas.SetSnapAndGridValues();
    Canvas.fSymbolGroupDrawMode = drawMainGroups;
}

bool ZoomCanvasToDrawing(TSymbolFile& Doc, TSymbolCanvas& Canvas) {
    TSymbolObjectSymbol& Root = Doc.Symbol();
    if (Root.fSymbolObjectList.Count() == 0) return false;
    // Texts know their boxes only once measured.
    Root.PrepareDraw(Canvas, sdmNormal, &Doc.TextStyleList());
    const TExtentsRect Extents = Root.Extents(TExtentsRect{});
    Canvas.ZoomExtents(Extents);
    if (!(Canvas.fZoom <= 1)) Canvas.ZoomCenterExtents(Extents, 1);
    return true;
}

bool ZoomCanvasAtPoint(TSymbolCanvas& Canvas, TPoint P, double Factor) {
    const double NewZoom = Canvas.fZoom * Factor;
    // Written so that a zoom that is not a number fails too.
    if (!(NewZoom <= MaxViewZoom && NewZoom >= MinViewZoom)) return false;
    const TPoint D = Canvas.FromPt(P);
    Canvas.fStart.X = Round(double(P.X) - NewZoom * D.X);
    // Rounded as one expression: negating a rounded value overflows when it is INT32_MIN.
    Canvas.fStart.Y = Round(double(P.Y) - NewZoom * (double(Canvas.fSize.Y) - D.Y));
    Canvas.SetZoom(Factor);
    return true;
}

void PaintDrawing(TSymbolFile& Doc, TSymbolCanvas& Canvas) {
    Canvas.ClearCanvas();
    Doc.Symbol().Draw(Canvas, sdmNormal, true, &Doc.TextStyleList());
    PaintSelection(Doc, Canvas, sdmHighlight);
}

void PaintSelection(TSymbolFile& Doc, TSymbolCanvas& Canvas, int Mode) {
    Doc.Symbol().DrawSelection(Canvas, TSymbolDrawMode(Mode), &Doc.TextStyleList());
}

void SetupPanCanvas(const TSymbolCanvas& Main, TSymbolCanvas& Pan, int W, int H, int X0, int Y0) {
    Pan.fZoom = Main.fZoom;
    Pan.fCanvasColors = Main.fCanvasColors;
    Pan.fGridMode = Main.fGridMode;
    Pan.fSnap = Main.fSnap;
    Pan.fGrid = Main.fGrid;
    Pan.fShowGrid = Main.fShowGrid;
    Pan.fShowTextBorders = Main.fShowTextBorders;
    Pan.SetDPI(Main.fDPI);
    Pan.fSymbolGroupDrawMode = Main.fSymbolGroupDrawMode;
    Pan.fThickConnectionLines = Main.fThickConnectionLines;
    Pan.fStart = {ClampToInt32(int64_t(W) - X0 + Main.fStart.X),
                  Round(Main.fStart.Y - double(H) * Main.fZoom + H - Y0)};
    Pan.fSize = {2 * W, 2 * H};
}

bool SelectComponentsAtPoint(TSymbolFile& Doc, const TSymbolCanvas& Canvas, TPoint P, double PickPixels) {
    TSymbolObjectSymbol& Root = Doc.Symbol();
    Root.ClearSelection();
    if (!(Canvas.fZoom > 0)) return false;
    const TPoint D = Canvas.FromPt(P);
    const TSymbolObjectTypeSet AnyType;
    if (!Root.fSymbolObjectList.SelectObjectsAtPoint(D, AnyType, PickPixels / Canvas.fZoom)) return false;
    // The hit takes whole subtrees; of those only the components the BOM shows stay selected.
    const TObjectRefList Hit = Root.fSymbolObjectList.CreateListSelectedObjectsNew(AnyType);
    Root.ClearSelection();
    bool Selected = false;
    for (TSymbolObject* Object : Hit) {
        const TBOM* First = Object->fBOMList.First();
        if (First && !First->HideInBOM()) {
            Object->SelectAll();
            Selected = true;
        }
    }
    return Selected;
}
