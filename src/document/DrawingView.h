#pragma once
// The drawing view's work that needs no window: canvas set-up, Zoom All, zoom at a point, the
// paint, the pan picture's canvas and the click selection. The main window and the --render job
// share it, so the window and a rendered PNG show a drawing the same way.
#include <cstdint>

#include "base/Points.h"

class TSymbolObject;

class TSymbolCanvas;
class TSymbolFile;

// The wheel and drag zoom stop here; a step that would pass a limit is ignored, not clamped.
inline constexpr double MaxViewZoom = 200;
inline constexpr double MinViewZoom = 0.001;
// A click takes the objects this many screen pixels around it.
inline constexpr double PickDistancePixels = 4;

// The viewer's canvas settings: resolution, no grid, no text borders, thin connection lines,
// snap and grid values set up, main groups drawn.
void SetupViewCanvas(TSymbolCanvas& canvas, int dpi);

// Drawing measures texts and caches extents in the objects, so the document is not const here.

// Fits the drawing into the canvas size, but never magnifies beyond zoom 1 (a small drawing is
// centred at zoom 1). False, with nothing changed, when the drawing has no objects.
bool ZoomCanvasToDrawing(TSymbolFile& doc, TSymbolCanvas& canvas);

// Whether the drawing is divided into sheets and one of them has the number (from 0).
bool IsSheetOf(const TSymbolFile& doc, int32_t sheetIndex);
// The same for a sheet shown alone: fits what is visible and the sheet's paper.
bool ZoomCanvasToSheet(TSymbolFile& doc, TSymbolCanvas& canvas, int32_t sheetIndex);

// Multiplies the zoom by Factor keeping the drawing point under the device pixel P where it is.
// False, with nothing changed, when the new zoom would leave MinViewZoom .. MaxViewZoom.
bool ZoomCanvasAtPoint(TSymbolCanvas& canvas, TPoint p, double factor);

// Where the view looks: its zoom and the drawing point at its centre. Kept apart from the window's
// size, so a view comes back in a window of another size looking at the same place.
struct TViewPlace {
    double Zoom = 0;
    TPoint Centre;
};
TViewPlace ViewPlaceOf(const TSymbolCanvas& canvas);
// Points Canvas (of its current size) at Place. False, with nothing changed, when Place's zoom lies
// outside MinViewZoom .. MaxViewZoom.
bool SetViewPlace(TSymbolCanvas& canvas, const TViewPlace& place);

// Clears the canvas in the scheme's background, draws the drawing, then its selection highlighted.
void PaintDrawing(TSymbolFile& doc, TSymbolCanvas& canvas);
// Draws only the selected objects, in Mode (sdmHighlight marks them, sdmNormal unmarks them).
void PaintSelection(TSymbolFile& doc, TSymbolCanvas& canvas, int mode);

// Sets To up to draw what From shows, Scale times as many device pixels each way (for pictures and
// vector files finer than the screen): the same settings, zoom, place and resolution, scaled.
void ScaleViewCanvas(const TSymbolCanvas& from, TSymbolCanvas& to, int scale);

// Sets Pan up to draw the drawing into a picture of twice the view's size (2W x 2H) that, drawn
// at (X0 - W, Y0 - H), shows exactly the view Main shows now.
void SetupPanCanvas(const TSymbolCanvas& main, TSymbolCanvas& pan, int w, int h, int x0, int y0);

// Clears every selection flag of the drawing, visiting only what the last click selected when
// nothing else has selected since.
void ClearDrawingSelection(TSymbolFile& doc);
// Whether anything in the drawing is selected; asked after every click, so it looks only where the
// last click selected when nothing else has selected since.
bool DrawingHasSelection(const TSymbolFile& doc);

// Selects Object alone, with its subtree as a click selects it, and zooms so that it fills about
// half the view (no closer than MaxViewZoom). The object must be visible: show its sheet first.
void SelectAndZoomTo(TSymbolFile& doc, TSymbolCanvas& canvas, TSymbolObject& object);

// A click at the device pixel P: clears the selection, then selects the components under P
// (within PickPixels) whose first BOM record is shown in the BOM, and nothing else. True when
// something is selected afterwards. The document records where the selection lies, so the next
// click and PaintSelection visit that and not the whole drawing.
bool SelectComponentsAtPoint(TSymbolFile& doc, const TSymbolCanvas& canvas, TPoint p,
                             double pickPixels = PickDistancePixels);
