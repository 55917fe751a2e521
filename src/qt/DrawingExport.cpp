#include "qt/DrawingExport.h"

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "base/Translate.h"
#include "components/SymbolObjectSymbol.h"
#include "document/DrawingView.h"
#include "document/SymbolFile.h"
#include "model/SymbolObjects.h"
#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

namespace fs = std::filesystem;

namespace {

// Vector files are drawn on a grid this many times finer than the view's pixels, so that their
// coordinates (whole device units) do not show the screen's steps when zoomed in.
constexpr int VectorScale = 4;

void DrawOn(TSymbolFile& doc, const TSymbolCanvas& view, QPaintDevice* device, int scale) {
    TQtRasterSurface surface(device);
    TSymbolCanvas canvas(&surface);
    ScaleViewCanvas(view, canvas, scale);
    canvas.ClearCanvas();
    doc.Symbol().Draw(canvas, sdmNormal, true, &doc.TextStyleList());
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

} // namespace

std::optional<TExportFormat> ExportFormatOf(const std::string& fileName) {
    const std::string ext = Lower(fs::path(fileName).extension().string());
    if (ext == ".png") return TExportFormat::Png;
    if (ext == ".pdf") return TExportFormat::Pdf;
    if (ext == ".svg") return TExportFormat::Svg;
    return std::nullopt;
}

bool ExportDrawing(TSymbolFile& doc, const TSymbolCanvas& view, const std::string& fileName,
                   TExportFormat format, std::string& errorText) {
    const int w = view.fSize.X, h = view.fSize.Y;
    if (w <= 0 || h <= 0) {
        errorText = FormatText(_("The file \"%s\" cannot be written."), {fileName});
        return false;
    }
    // Beside the target, so that the rename stays on one file system.
    const std::string part = fileName + ".part" + std::to_string(::getpid());
    const QString partName = QString::fromStdString(part);
    const QString title = QString::fromStdString(fs::path(doc.fFileName).filename().string());
    bool written = false;
    switch (format) {
    case TExportFormat::Png: {
        QImage image(w, h, QImage::Format_RGB32);
        if (image.isNull()) {
            errorText = FormatText(_("not enough memory for a %s image"),
                                   {std::to_string(w) + "x" + std::to_string(h)});
            return false;
        }
        DrawOn(doc, view, &image, 1);
        written = image.save(partName, "PNG");
        break;
    }
    case TExportFormat::Pdf: {
        QPdfWriter pdf(partName);
        pdf.setCreator(QStringLiteral("KorvaneViewer"));
        pdf.setTitle(title);
        pdf.setResolution(96 * VectorScale);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(w * 72.0 / 96, h * 72.0 / 96), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        DrawOn(doc, view, &pdf, VectorScale);
        written = QFile::exists(partName);
        break;
    }
    case TExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setFileName(partName);
        svg.setTitle(title);
        svg.setSize(QSize(w * VectorScale, h * VectorScale));
        svg.setViewBox(QRect(0, 0, w * VectorScale, h * VectorScale));
        svg.setResolution(96 * VectorScale);
        DrawOn(doc, view, &svg, VectorScale);
        written = QFile::exists(partName);
        break;
    }
    }
    std::error_code error;
    if (written) fs::rename(part, fileName, error);
    if (!written || error) {
        fs::remove(part, error);
        errorText = FormatText(_("The file \"%s\" cannot be written."), {fileName});
        return false;
    }
    return true;
}
