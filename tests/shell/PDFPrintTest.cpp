// Printing PDF pages through QPrinter: the printer writes a PDF file here, which is read back to
// see how many pages came out, how large, and where the ink of each page landed.
#include "shell/PDFPrint.h"

#include "support/PrivateHome.h"
#include "support/TempFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <vector>

int main(int argc, char** argv) {
    UsePrivateHomeFolders();
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

namespace {
using ::testing::HasSubstr;

const QSizeF A4(595, 842); // points, as Qt rounds them

// A PDF with one page of each size (points), each filled edge to edge in dark ink, so that the
// ink's box on the printed page is exactly where the page went.
QString MakePdf(const TTempDir& dir, const std::string& name, const std::vector<QSizeF>& pageSizes) {
    const QString path = QString::fromStdString(dir.File(name));
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF());
    writer.setPageSize(QPageSize(pageSizes.front(), QPageSize::Point));
    QPainter painter(&writer);
    for (size_t i = 0; i < pageSizes.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(pageSizes[i], QPageSize::Point));
            writer.newPage();
        }
        painter.fillRect(QRectF(QPointF(0, 0), pageSizes[i]), QColor(20, 20, 80));
    }
    return path;
}

// A printer into a PDF file at 72 dpi, so that device pixels are points.
struct TPdfPrinter {
    explicit TPdfPrinter(const QString& out, QSizeF paper = A4, QMarginsF margins = {}) {
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(out);
        Printer.setResolution(72);
        Printer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Point), QPageLayout::Portrait, margins,
                                          QPageLayout::Point));
    }
    QPrinter Printer{QPrinter::HighResolution};
};

struct TPrinted {
    int Pages = 0;
    std::vector<QSizeF> Sizes; // points
    std::vector<QRectF> Ink;   // points, from the top-left corner of the paper
};

// Reads the printed file back: each page rendered at scale pixels a point over white, and the
// box of the dark pixels.
TPrinted ReadPrinted(const QString& path, int scale = 4) {
    TPrinted result;
    QPdfDocument doc;
    if (doc.load(path) != QPdfDocument::Error::None) return result;
    result.Pages = doc.pageCount();
    for (int page = 0; page < doc.pageCount(); ++page) {
        const QSizeF size = doc.pagePointSize(page);
        result.Sizes.push_back(size);
        const QImage rendered = doc.render(page, (size * scale).toSize());
        QImage img(rendered.size(), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter(&img).drawImage(0, 0, rendered);
        QRect ink;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
        result.Ink.push_back(QRectF(ink.x() / double(scale), ink.y() / double(scale),
                                    ink.width() / double(scale), ink.height() / double(scale)));
    }
    return result;
}

MATCHER_P(NearRect, expected, "") {
    const auto close = [](double a, double b) { return std::abs(a - b) <= 1.0; };
    return close(arg.x(), expected.x()) && close(arg.y(), expected.y()) &&
           close(arg.width(), expected.width()) && close(arg.height(), expected.height());
}

std::string Text(const QRectF& r) {
    return QString("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class PDFPrintTest : public ::testing::Test {
protected:
    QString Out(const std::string& name) const { return QString::fromStdString(Dir.File(name)); }
    TTempDir Dir;
};

TEST_F(PDFPrintTest, EveryPageOfEachFileBecomesOnePaperPage) {
    const std::vector<std::vector<QSizeF>> files = {
        {QSizeF(842, 595)},
        {QSizeF(300, 200), QSizeF(1191, 842)},
        {QSizeF(100, 100), QSizeF(595, 842), QSizeF(2000, 400)},
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const QString in = MakePdf(Dir, "in" + std::to_string(i) + ".pdf", files[i]);
        const QString out = Out("out" + std::to_string(i) + ".pdf");
        EXPECT_EQ(TPDFPrint::PageCount(in), int(files[i].size()));
        {
            TPdfPrinter p(out);
            TPDFPrint::PrintToPrinter(p.Printer, in, smShrinkIfNeeded);
        }
        const TPrinted printed = ReadPrinted(out);
        ASSERT_EQ(printed.Pages, int(files[i].size())) << i;
        for (int page = 0; page < printed.Pages; ++page) {
            EXPECT_EQ(printed.Sizes[page].toSize(), A4.toSize()) << i << "/" << page;
            // Nothing of a page is lost: it lies wholly on the paper and touches two of its sides.
            const QRectF ink = printed.Ink[page];
            EXPECT_TRUE(QRectF(QPointF(0, 0), A4).adjusted(-1, -1, 1, 1).contains(ink)) << Text(ink);
            const QSizeF source = files[i][page];
            EXPECT_NEAR(ink.width() / ink.height(), source.width() / source.height(), 0.03) << Text(ink);
        }
    }
}

// The job's way: several files onto one painter, with the caller starting a page between files.
TEST_F(PDFPrintTest, FilesSharingOnePainterMakeOneDocument) {
    const QString one = MakePdf(Dir, "one.pdf", {QSizeF(100, 50)});
    const QString two = MakePdf(Dir, "two.pdf", {QSizeF(50, 100), QSizeF(200, 100)});
    const QString out = Out("both.pdf");
    {
        TPdfPrinter p(out);
        QPainter painter(&p.Printer);
        TPDFPrint::PrintToPrinter(p.Printer, one, smOff, &painter);
        p.Printer.newPage();
        TPDFPrint::PrintToPrinter(p.Printer, two, smOff, &painter);
    }
    const TPrinted printed = ReadPrinted(out);
    ASSERT_EQ(printed.Pages, 3);
    EXPECT_THAT(printed.Ink[0], NearRect(QRectF(0, 0, 100, 50))) << Text(printed.Ink[0]);
    EXPECT_THAT(printed.Ink[1], NearRect(QRectF(0, 0, 50, 100))) << Text(printed.Ink[1]);
    EXPECT_THAT(printed.Ink[2], NearRect(QRectF(0, 0, 200, 100))) << Text(printed.Ink[2]);
}

// Paper 200 x 300 pt with a printable area from (20, 30) to the far corner: a large page and a
// small one in each mode.
TEST_F(PDFPrintTest, ScaleModesFitThePageToPaperOrPrintableArea) {
    const struct {
        QSizeF Page;
        TScaleMode Mode;
        QRectF Ink;
    } cases[] = {
        {{400, 300}, smOff, {20, 30, 180, 270}}, // actual size, cut at the paper's edge
        {{400, 300}, smShrinkIfNeeded, {20, 97.5, 180, 135}},
        {{400, 300}, smShrinkToPage, {0, 75, 200, 150}},
        {{400, 300}, smScaleToPrintArea, {20, 97.5, 180, 135}},
        {{400, 300}, smScaleToPageArea, {0, 75, 200, 150}},
        {{50, 100}, smOff, {20, 30, 50, 100}},
        {{50, 100}, smShrinkIfNeeded, {85, 115, 50, 100}}, // kept, centred in the printable area
        {{50, 100}, smShrinkToPage, {75, 100, 50, 100}},   // kept, centred on the paper
        {{50, 100}, smScaleToPrintArea, {42.5, 30, 135, 270}},
        {{50, 100}, smScaleToPageArea, {25, 0, 150, 300}},
    };
    const QString large = MakePdf(Dir, "large.pdf", {QSizeF(400, 300)});
    const QString small = MakePdf(Dir, "small.pdf", {QSizeF(50, 100)});
    int n = 0;
    for (const auto& c : cases) {
        const QString out = Out("mode" + std::to_string(n++) + ".pdf");
        {
            TPdfPrinter p(out, QSizeF(200, 300), QMarginsF(20, 30, 0, 0));
            TPDFPrint::PrintToPrinter(p.Printer, c.Page.width() > 100 ? large : small, c.Mode);
        }
        const TPrinted printed = ReadPrinted(out);
        ASSERT_EQ(printed.Pages, 1);
        EXPECT_THAT(printed.Ink[0], NearRect(c.Ink))
            << "mode " << int(c.Mode) << " page " << c.Page.width() << ": " << Text(printed.Ink[0]);
    }
}

TEST_F(PDFPrintTest, PrinterPageRangeAndOrderAreHonoured) {
    const QString in = MakePdf(Dir, "three.pdf", {QSizeF(100, 100), QSizeF(200, 100), QSizeF(100, 200)});
    const QString out = Out("range.pdf");
    {
        TPdfPrinter p(out);
        p.Printer.setPrintRange(QPrinter::PageRange);
        p.Printer.setFromTo(2, 3);
        p.Printer.setPageOrder(QPrinter::LastPageFirst);
        TPDFPrint::PrintToPrinter(p.Printer, in, smOff);
    }
    const TPrinted printed = ReadPrinted(out);
    ASSERT_EQ(printed.Pages, 2);
    EXPECT_THAT(printed.Ink[0], NearRect(QRectF(0, 0, 100, 200))) << Text(printed.Ink[0]);
    EXPECT_THAT(printed.Ink[1], NearRect(QRectF(0, 0, 200, 100))) << Text(printed.Ink[1]);
}

// An A2 page at 1200 dpi would need a raster of 557 million pixels (over 2 GB): it is rendered
// coarser, within the cap, and still fills its paper.
TEST_F(PDFPrintTest, LargePagesOnFinePrintersStayWithinTheRasterCap) {
    const QSizeF a2(1191, 1684);
    const QString in = MakePdf(Dir, "a2.pdf", {a2});
    const QString out = Out("fine.pdf");
    {
        TPdfPrinter p(out, a2);
        p.Printer.setResolution(1200);
        TPDFPrint::PrintToPrinter(p.Printer, in, smShrinkIfNeeded);
    }
    const TPrinted printed = ReadPrinted(out, 1);
    ASSERT_EQ(printed.Pages, 1);
    EXPECT_THAT(printed.Ink[0], NearRect(QRectF(QPointF(0, 0), a2))) << Text(printed.Ink[0]);
    // The one image of the page, as the PDF file declares it.
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString bytes = QString::fromLatin1(file.readAll());
    const QRegularExpressionMatch w = QRegularExpression("/Width (\\d+)").match(bytes);
    const QRegularExpressionMatch h = QRegularExpression("/Height (\\d+)").match(bytes);
    ASSERT_TRUE(w.hasMatch() && h.hasMatch());
    const double pixels = w.captured(1).toDouble() * h.captured(1).toDouble();
    EXPECT_LE(pixels, 48.0 * 1024 * 1024);
    EXPECT_GE(pixels, 30e6); // coarser, but still finer than 300 dpi
}

TEST_F(PDFPrintTest, FilesThatCannotBePrintedFailBeforeAnythingIsPrinted) {
    const std::string missing = Dir.File("missing.pdf");
    const std::string garbage = Dir.Write("garbage.pdf", "%PDF-1.4\nthis is no PDF at all\n");
    const std::string empty = Dir.Write("empty.pdf", "");
    // A well-formed page 10^9 points wide: nobody's paper, and a raster of it would not fit memory.
    const std::string body =
        "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
        "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
        "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 1000000000 500] >> endobj\n";
    const std::string huge = Dir.Write("huge.pdf", body + "trailer << /Root 1 0 R >>\n%%EOF\n");

    const QString out = Out("never.pdf");
    const auto print = [&](const std::string& file) {
        TPdfPrinter p(out);
        TPDFPrint::PrintToPrinter(p.Printer, QString::fromStdString(file), smShrinkIfNeeded);
    };
    try {
        print(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EFileNotFound& e) {
        EXPECT_EQ(std::string(e.what()), "File not found: " + missing);
    }
    for (const std::string& file : {garbage, empty, huge, Dir.Path().string()}) {
        try {
            print(file);
            ADD_FAILURE() << file << ": no exception";
        } catch (const EPDFPrintError& e) {
            EXPECT_EQ(std::string(e.what()), "Error Loading file: " + file);
        }
        EXPECT_THROW(TPDFPrint::PageCount(QString::fromStdString(file)), EPDFPrintError);
    }
    EXPECT_FALSE(QFileInfo::exists(out));
    // The dialog is not shown for a file that cannot be printed.
    EXPECT_THROW(TPDFPrint::PrintWithDialog(QString::fromStdString(missing)), EFileNotFound);
    EXPECT_THROW(TPDFPrint::PrintNoDialog(QString::fromStdString(garbage), QString(), smOff), EPDFPrintError);
}

TEST_F(PDFPrintTest, AnOutputThatCannotBeWrittenIsAnError) {
    const QString in = MakePdf(Dir, "one.pdf", {QSizeF(100, 100)});
    TPdfPrinter p(Out("no-such-folder/out.pdf"));
    try {
        TPDFPrint::PrintToPrinter(p.Printer, in, smOff);
        ADD_FAILURE() << "no exception";
    } catch (const EPDFPrintError& e) {
        EXPECT_THAT(e.what(), HasSubstr("no-such-folder/out.pdf"));
    }
}

TEST_F(PDFPrintTest, PrintingWithoutDialogNeverFallsBackToAnotherPrinter) {
    const QString in = MakePdf(Dir, "one.pdf", {QSizeF(100, 100)});
    try {
        TPDFPrint::PrintNoDialog(in, "no printer of this name", smShrinkIfNeeded);
        ADD_FAILURE() << "no exception";
    } catch (const EPDFPrintError& e) {
        EXPECT_EQ(std::string(e.what()), "Printer not found: no printer of this name");
    }
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has printers";
    EXPECT_THROW(TPDFPrint::PrintNoDialog(in, QString(), smShrinkIfNeeded), EPDFPrintError);
}

// The dialog's choice is what gets printed: cancelled prints nothing; accepted with "print to
// file" writes the chosen pages there.
TEST_F(PDFPrintTest, TheDialogPrintsOnlyWhenAccepted) {
    const QString in = MakePdf(Dir, "three.pdf", {QSizeF(100, 100), QSizeF(200, 100), QSizeF(100, 200)});
    const QString out = Out("dialog.pdf");
    const auto whenDialogShows = [](std::function<void(QPrintDialog*)> act) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                act(dialog);
            }
        });
        timer->start(10);
    };
    whenDialogShows([](QPrintDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(TPDFPrint::PrintWithDialog(in, QString(), smOff));
    EXPECT_FALSE(QFileInfo::exists(out));

    whenDialogShows([out](QPrintDialog* dialog) {
        dialog->printer()->setPrintRange(QPrinter::PageRange);
        dialog->printer()->setFromTo(3, 3);
        dialog->printer()->setOutputFileName(out);
        dialog->done(QDialog::Accepted);
    });
    EXPECT_TRUE(TPDFPrint::PrintWithDialog(in, QString(), smOff));
    const TPrinted printed = ReadPrinted(out);
    ASSERT_EQ(printed.Pages, 1);
    EXPECT_NEAR(printed.Ink[0].width(), 100, 1);
    EXPECT_NEAR(printed.Ink[0].height(), 200, 1);
}
} // namespace
