#include "app/PrintJob.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "app/OpenForJob.h"
#include "base/Translate.h"
#include "document/DocumentOpener.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "shell/PDFPrint.h"

namespace fs = std::filesystem;

namespace {
// Enough for line drawings on paper, and a page raster of A4 stays under 9 million pixels.
constexpr int JobDpi = 300;

void Report(const std::string& text) {
    std::cerr << "korvane-viewer: " << text << "\n";
}

// A fresh file beside outPdf that the job writes and renames at the end, so that a failed job
// leaves neither a half file nor a damaged earlier output. Created exclusively, with the
// permissions a new file gets.
class TPartFile {
public:
    explicit TPartFile(const std::string& outPdf) {
        for (int attempt = 0; attempt < 100 && fPath.empty(); ++attempt) {
            const std::string candidate =
                outPdf + ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                fPath = candidate;
            } else if (errno != EEXIST) {
                fError = std::strerror(errno);
                return;
            }
        }
    }
    ~TPartFile() {
        std::error_code ec;
        if (!fPath.empty()) fs::remove(fPath, ec);
    }
    TPartFile(const TPartFile&) = delete;
    TPartFile& operator=(const TPartFile&) = delete;

    const std::string& Path() const { return fPath; }
    const std::string& Error() const { return fError; }
    bool RenameTo(const std::string& target) {
        std::error_code ec;
        fs::rename(fPath, target, ec);
        if (ec) {
            fError = ec.message();
            return false;
        }
        fPath.clear();
        return true;
    }

private:
    std::string fPath;
    std::string fError;
};

// The page file's name as the user knows it: its place inside the archive.
std::string NameInArchive(const std::string& page, const std::string& unpackFolder) {
    const fs::path relative = fs::path(page).lexically_relative(unpackFolder);
    return relative.empty() || relative.native().starts_with("..") ? page : relative.generic_string();
}
} // namespace

int RunPrintJob(const std::string& outPdf, const std::string& file) {
    const TJobDocument job;
    TSymbolFile& doc = *job;
    TTempDirs tempDirs; // unpack folders live as long as the job
    std::string error;
    TOpenResult opened;
    // The pages are printed even when the archive's drawing itself cannot be read.
    const bool drawingOpened = OpenForJob(doc, file, tempDirs, error, &opened);
    if (opened.PrintPreviewPDFs.empty()) {
        Report(drawingOpened || error.empty() ? FormatText(_("%s has no print pages."), {file}) : error);
        return 1;
    }
    const auto app = EnsureGuiApplication();

    // Damaged page files are named and left out before any page is started for them.
    std::vector<QString> printable;
    for (const std::string& page : opened.PrintPreviewPDFs) {
        const QString name = QString::fromStdString(page);
        try {
            TPDFPrint::PageCount(name);
            printable.push_back(name);
        } catch (const std::exception&) {
            Report(FormatText(_("%s: the print page %s cannot be read and was left out."),
                              {file, NameInArchive(page, opened.UnpackFolder)}));
        }
    }
    if (printable.empty()) {
        Report(FormatText(_("%s: none of its print pages could be printed."), {file}));
        return 1;
    }

    TPartFile part(outPdf);
    if (part.Path().empty()) {
        Report(FormatText(_("The PDF file \"%s\" cannot be written: %s"), {outPdf, part.Error()}));
        return 1;
    }
    // A4 turned as the first page is, without margins, so that pages drawn for A4 keep their
    // actual size and larger ones are shrunk onto it.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(part.Path()));
    printer.setResolution(JobDpi);
    printer.setDocName(QString::fromStdString(fs::path(file).filename().string()));
    {
        QPdfDocument first;
        first.load(printable.front());
        const QSizeF size = first.pagePointSize(0);
        printer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4),
                        size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0)));
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        Report(FormatText(_("The PDF file \"%s\" cannot be written: %s"), {outPdf, part.Path()}));
        return 1;
    }
    int printed = 0;
    for (const QString& page : printable) {
        if (printed > 0) printer.newPage();
        try {
            TPDFPrint::PrintToPrinter(printer, page, smShrinkIfNeeded, &painter);
            ++printed;
        } catch (const std::exception& e) {
            Report(FormatText(_("%s: the print page %s cannot be printed: %s"),
                              {file, NameInArchive(page.toStdString(), opened.UnpackFolder), e.what()}));
        }
    }
    const bool written = painter.end();
    if (printed == 0) {
        Report(FormatText(_("%s: none of its print pages could be printed."), {file}));
        return 1;
    }
    if (!written || !part.RenameTo(outPdf)) {
        Report(FormatText(_("The PDF file \"%s\" cannot be written: %s"), {outPdf, part.Error()}));
        return 1;
    }
    return 0;
}
