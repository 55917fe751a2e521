#include "app/RenderJob.h"

#include "base/Translate.h"

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
#include "qt/DrawingExport.h"
#include "qt/LocaleDates.h"
#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

namespace {
// Larger pictures would need gigabytes; nobody renders a drawing that big from the command line.
constexpr int MaxSide = 16384;

// Says which sheets there are, so the user can pick one without opening the window.
std::string SheetMissingText(const TSymbolFile& doc, const std::string& file, int sheet) {
    const std::vector<int32_t> numbers = doc.SheetNumbers();
    if (numbers.empty())
        return FormatText(_("\"%s\" has no sheet %s: it is not divided into sheets"),
                          {file, std::to_string(sheet)});
    std::string text = FormatText(_("\"%s\" has no sheet %s; its sheets are"), {file, std::to_string(sheet)});
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
        const std::string size = std::to_string(options.Width) + "x" + std::to_string(options.Height);
        const std::string max = std::to_string(MaxSide) + "x" + std::to_string(MaxSide);
        std::cerr << "korvane-viewer: "
                  << FormatText(_("the image size %s is outside 1x1 to %s"), {size, max}) << "\n";
        return 2;
    }
    const TJobDocument job;
    TSymbolFile& doc = *job;
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

    // A picture is drawn here; a vector file gets its own page, and the view is only measured here.
    const TExportFormat format = ExportFormatOf(options.OutPng).value_or(TExportFormat::Png);
    const bool picture = format == TExportFormat::Png;
    QImage image(picture ? options.Width : 1, picture ? options.Height : 1, QImage::Format_RGB32);
    if (image.isNull()) {
        const std::string size = std::to_string(options.Width) + "x" + std::to_string(options.Height);
        std::cerr << "korvane-viewer: " << FormatText(_("not enough memory for a %s image"), {size}) << "\n";
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
        if (picture) {
            PaintDrawing(doc, canvas);
        } else if (std::string exportError;
                   !ExportDrawing(doc, canvas, options.OutPng, format, exportError)) {
            std::cerr << "korvane-viewer: " << exportError << "\n";
            return 1;
        }
    }
    if (picture && !image.save(QString::fromStdString(options.OutPng), "PNG")) {
        std::cerr << "korvane-viewer: "
                  << FormatText(_("the picture could not be written to \"%s\""), {options.OutPng}) << "\n";
        return 1;
    }
    return 0;
}
