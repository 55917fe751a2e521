#include "app/RenderJob.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/OpenForJob.h"
#include "document/DrawingView.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "qt/LocaleDates.h"
#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

namespace {
// Larger pictures would need gigabytes; nobody renders a drawing that big from the command line.
constexpr int MaxSide = 16384;

// Says which sheets there are, so the user can pick one without opening the window.
std::string SheetMissingText(const TSymbolFile& doc, const std::string& file, int sheet) {
    const std::vector<int32_t> numbers = doc.SheetNumbers();
    std::string text = "\"" + file + "\" has no sheet " + std::to_string(sheet);
    if (numbers.empty()) return text + ": it is not divided into sheets";
    text += "; its sheets are";
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i == 8 && numbers.size() > 10) {
            text += " ... " + std::to_string(int64_t(numbers.back()) + 1);
            break;
        }
        text += (i ? ", " : " ") + std::to_string(int64_t(numbers[i]) + 1);
    }
    return text;
}
} // namespace

int RunRenderJob(const RenderOptions& options) {
    if (options.Width <= 0 || options.Height <= 0 || options.Width > MaxSide || options.Height > MaxSide) {
        std::cerr << "korvane-viewer: the image size " << options.Width << "x" << options.Height
                  << " is outside 1x1 to " << MaxSide << "x" << MaxSide << "\n";
        return 2;
    }
    TSymbolFile doc;
    TTempDirs tempDirs; // unpack folders live as long as the job
    std::string error;
    if (!OpenForJob(doc, options.File, tempDirs, error)) {
        std::cerr << "korvane-viewer: " << error << "\n";
        return 1;
    }
    // The sheets the window's navigator lists, no others.
    if (options.Sheet && !IsSheetOf(doc, *options.Sheet - 1)) {
        std::cerr << "korvane-viewer: " << SheetMissingText(doc, options.File, *options.Sheet) << "\n";
        return 1;
    }
    if (options.Sheet) doc.HideObjectsNotInSheet(*options.Sheet - 1);
    const auto app = EnsureGuiApplication();

    QImage image(options.Width, options.Height, QImage::Format_RGB32);
    if (image.isNull()) {
        std::cerr << "korvane-viewer: not enough memory for a " << options.Width << "x" << options.Height
                  << " image\n";
        return 1;
    }
    {
        TQtRasterSurface surface(&image);
        TSymbolCanvas canvas(&surface);
        SetupViewCanvas(canvas, 96);
        canvas.fDecimalSeparator = UserDecimalSeparator();
        canvas.fCanvasColors =
            options.WhiteBackground ? SymbolCanvasColorsWhite() : SymbolCanvasColorsBlack();
        canvas.fSymbolGroupDrawMode = options.GroupMode.value_or(doc.Data().GroupDrawMode);
        canvas.fSize = {options.Width, options.Height};
        if (options.Sheet)
            ZoomCanvasToSheet(doc, canvas, *options.Sheet - 1);
        else
            ZoomCanvasToDrawing(doc, canvas);
        PaintDrawing(doc, canvas);
    }
    if (!image.save(QString::fromStdString(options.OutPng), "PNG")) {
        std::cerr << "korvane-viewer: the picture could not be written to \"" << options.OutPng << "\"\n";
        return 1;
    }
    return 0;
}
