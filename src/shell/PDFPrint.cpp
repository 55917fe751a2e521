#include "shell/PDFPrint.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <memory>

#include "base/Translate.h"

namespace {
// Finer rasters add nothing a printed drawing shows, only time and spool size.
constexpr double MaxRenderDpi = 600;
// One page raster at most (4 bytes a pixel, 192 MiB): a page size from a hostile or broken
// file must not allocate gigabytes. Beyond it the page is rendered coarser and scaled up.
constexpr double MaxRenderPixels = 48.0 * 1024 * 1024;

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// The largest page side taken, in points: 100 m, beyond any plotter roll. Larger sizes come from
// broken or hostile files.
constexpr double MaxPageSide = 100000 / 25.4 * 72;

bool SensiblePageSize(const QSizeF& points) {
    return points.width() > 0 && points.height() > 0 && points.width() <= MaxPageSide &&
           points.height() <= MaxPageSide;
}

void LoadDocument(QPdfDocument& doc, const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        throw EFileNotFound(_("File not found: ") + Utf8(fileName));
    bool loaded = doc.load(fileName) == QPdfDocument::Error::None && doc.pageCount() > 0;
    for (int page = 0; loaded && page < doc.pageCount(); ++page)
        loaded = SensiblePageSize(doc.pagePointSize(page));
    if (!loaded) throw EPDFPrintError(_("Error Loading file: ") + Utf8(fileName));
}

// Where the page goes in the painter's coordinates, and what of it may show.
struct TPlacement {
    QRectF Target;
    QRectF Clip;
};

// page: the page's size in device pixels; area and full: the printable area and the whole paper,
// both in the painter's coordinates.
TPlacement PlacePage(const QSizeF& page, const QRectF& area, const QRectF& full, TScaleMode mode) {
    const bool againstFull = mode == smShrinkToPage || mode == smScaleToPageArea;
    const QRectF frame = againstFull ? full : area;
    if (mode == smOff) return {QRectF(area.topLeft(), page), area};
    const double fit = std::min(frame.width() / page.width(), frame.height() / page.height());
    const bool mayEnlarge = mode == smScaleToPrintArea || mode == smScaleToPageArea;
    const double scale = mayEnlarge ? fit : std::min(1.0, fit);
    const QSizeF size = page * scale;
    const QPointF topLeft(frame.left() + (frame.width() - size.width()) / 2,
                          frame.top() + (frame.height() - size.height()) / 2);
    return {QRectF(topLeft, size), frame};
}

// The raster size for a target of targetPixels device pixels at the printer's resolution.
QSize RenderSize(const QSizeF& targetPixels, double printerDpi) {
    double factor = printerDpi > MaxRenderDpi ? MaxRenderDpi / printerDpi : 1.0;
    double w = targetPixels.width() * factor, h = targetPixels.height() * factor;
    const bool capped = w * h > MaxRenderPixels;
    if (capped) {
        const double shrink = std::sqrt(MaxRenderPixels / (w * h));
        w *= shrink;
        h *= shrink;
    }
    // QImage and the PDF engine take sides up to 32767; a sliver page keeps at least a pixel.
    // Rounding up a capped size would go past the cap.
    const auto side = [capped](double v) {
        return int(std::clamp(capped ? std::floor(v) : std::ceil(v), 1.0, 32767.0));
    };
    return {side(w), side(h)};
}

// Qt PDF renders onto a transparent raster; paper is white. The raster is premultiplied, so over
// white each channel gains what the alpha leaves out, in place, without a second raster.
void FlattenOntoWhite(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int add = 255 - qAlpha(p);
            line[x] = qRgb(qRed(p) + add, qGreen(p) + add, qBlue(p) + add);
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

void DrawPage(QPainter& painter, QPrinter& printer, QPdfDocument& doc, int page, TScaleMode mode,
              const QString& fileName) {
    const QSizeF points = doc.pagePointSize(page);
    const double dpi = printer.resolution();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    // The painter's origin is the top-left of the printable area unless the printer prints on
    // the full page.
    const QPointF origin = printer.fullPage() ? paper.topLeft() : printable.topLeft();
    const TPlacement place =
        PlacePage(points * (dpi / 72.0), printable.translated(-origin), paper.translated(-origin), mode);
    if (place.Target.isEmpty()) return;

    QImage image = doc.render(page, RenderSize(place.Target.size(), dpi));
    if (image.isNull())
        throw EPDFPrintError(FormatText(_("Page %s of %s cannot be printed: not enough memory."),
                                        {std::to_string(page + 1), Utf8(fileName)}));
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    FlattenOntoWhite(image);

    painter.save();
    painter.setClipRect(place.Clip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(place.Target, image);
    painter.restore();
}

// The printer of that name; an empty name means the default printer. With a dialog the user
// sees and may change the choice, so an unknown name falls back to the default; without one,
// pages must not silently come out of another printer.
std::unique_ptr<QPrinter> MakePrinter(const QString& name, bool fallBack) {
    if (!name.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(name);
        if (!info.isNull()) return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        if (!fallBack) throw EPDFPrintError(_("Printer not found: ") + Utf8(name));
    } else if (!fallBack && QPrinterInfo::defaultPrinter().isNull()) {
        throw EPDFPrintError(_("No printer is installed."));
    }
    return std::make_unique<QPrinter>(QPrinter::HighResolution);
}
} // namespace

int TPDFPrint::PageCount(const QString& fileName) {
    QPdfDocument doc;
    LoadDocument(doc, fileName);
    return doc.pageCount();
}

void TPDFPrint::PrintToPrinter(QPrinter& printer, const QString& fileName, TScaleMode mode,
                               QPainter* painter) {
    QPdfDocument doc;
    LoadDocument(doc, fileName);
    int first = 0, last = doc.pageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        if (printer.toPage() > 0) last = std::min(last, printer.toPage() - 1);
    }
    if (first > last) return; // the range names no page of this file

    QPainter own;
    if (!painter) {
        if (!own.begin(&printer)) {
            if (printer.outputFormat() == QPrinter::PdfFormat)
                throw EPDFPrintError(FormatText(_("The PDF file \"%s\" cannot be written."),
                                                {Utf8(printer.outputFileName())}));
            throw EPDFPrintError(
                FormatText(_("The printer \"%s\" cannot be started."), {Utf8(printer.printerName())}));
        }
        painter = &own;
    }
    const bool reverse = printer.pageOrder() == QPrinter::LastPageFirst;
    for (int i = 0; i <= last - first; ++i) {
        if (i > 0) printer.newPage();
        DrawPage(*painter, printer, doc, reverse ? last - i : first + i, mode, fileName);
    }
    if (own.isActive()) own.end();
}

bool TPDFPrint::PrintWithDialog(const QString& fileName, const QString& printerName, QWidget* parent,
                                TScaleMode mode) {
    // A file that cannot be printed is reported before the user picks a printer for it.
    const int pages = PageCount(fileName);
    const std::unique_ptr<QPrinter> printer = MakePrinter(printerName, true);
    printer->setDocName(QFileInfo(fileName).fileName());
    QPrintDialog dialog(printer.get(), parent);
    dialog.setMinMax(1, pages);
    if (dialog.exec() != QDialog::Accepted) return false;
    PrintToPrinter(*printer, fileName, mode);
    return true;
}

bool TPDFPrint::PrintWithDialog(const QString& fileName, const QString& printer, TScaleMode mode) {
    return PrintWithDialog(fileName, printer, nullptr, mode);
}

bool TPDFPrint::PrintWithDialog(const QString& fileName) {
    return PrintWithDialog(fileName, QString(), nullptr, smShrinkToPage);
}

void TPDFPrint::PrintNoDialog(const QString& fileName, const QString& printerName, TScaleMode mode) {
    PageCount(fileName); // the file's fault is named before the printer's
    const std::unique_ptr<QPrinter> printer = MakePrinter(printerName, false);
    printer->setDocName(QFileInfo(fileName).fileName());
    PrintToPrinter(*printer, fileName, mode);
}
