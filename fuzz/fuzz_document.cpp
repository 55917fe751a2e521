// The drawing and symbol file reader, in both text variants, followed by everything the viewer
// does with a loaded document: the paint, a sheet shown alone, clicks and the selection marks,
// and the JSON dump. Drawing code so meets the geometry a hostile file can hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/DrawingView.h"
#include "document/SymbolFile.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

namespace {

constexpr size_t MaxInput = 1 << 20;

void PaintAndClick(TSymbolFile& doc, TSymbolCanvas& canvas, TRecordingSurface& surface) {
    PaintDrawing(doc, canvas);
    surface.ClearCalls();
    for (const TPoint p : {TPoint(200, 150), TPoint(0, 0), TPoint(399, 299), TPoint(123, 77)}) {
        SelectComponentsAtPoint(doc, canvas, p);
        PaintSelection(doc, canvas, sdmHighlight);
        surface.ClearCalls();
    }
    // A close-up: objects that were below a pixel are drawn in full.
    ZoomCanvasAtPoint(canvas, {200, 150}, 64);
    PaintDrawing(doc, canvas);
    surface.ClearCalls();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MaxInput) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TSymbolFile doc;
    // Valid UTF-8 is read as the current variant, anything else as the legacy one.
    doc.LoadFromString(text, "fuzz");

    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    SetupViewCanvas(canvas, 96);
    canvas.fSize = {400, 300};
    ZoomCanvasToDrawing(doc, canvas);
    PaintAndClick(doc, canvas, surface);

    if (doc.GetSheetCount() > 0) {
        const std::vector<int32_t> sheets = doc.SheetNumbers();
        const int32_t sheet = sheets.empty() ? 0 : sheets.back();
        doc.HideObjectsNotInSheet(sheet);
        SetupViewCanvas(canvas, 96);
        canvas.fSize = {400, 300};
        if (ZoomCanvasToSheet(doc, canvas, sheet)) PaintAndClick(doc, canvas, surface);
    }
    (void)doc.DumpJson();
    return 0;
}
