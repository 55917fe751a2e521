#include "app/OpenForJob.h"

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "base/Translate.h"
#include "document/DocumentOpener.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "qt/LocaleDates.h"

namespace {
bool LeaveDocuments = false;
} // namespace

void LeaveJobDocumentsToProcessEnd() {
    LeaveDocuments = true;
}

TJobDocument::TJobDocument() : fDoc(std::make_unique<TSymbolFile>()) {}

TJobDocument::~TJobDocument() {
    if (LeaveDocuments) (void)fDoc.release();
}

bool OpenForJob(TSymbolFile& doc, const std::string& file, TTempDirs& tempDirs, std::string& error,
                TOpenResult* openResult) {
    doc.Messages().ParseLocaleDate = ParseUserLocaleDate;
    doc.Messages().InvalidRevisionDate = [](const std::string& value) {
        std::cerr << "korvane-viewer: " << FormatText(_("%s is not a valid date."), {value}) << "\n";
    };
    // Ctrl+C or kill must not leave the job's unpack folders behind either.
    tempDirs.DeleteOnTerminationSignals();
    const TOpenResult result = OpenDocumentFile(doc, file, tempDirs);
    if (openResult) *openResult = result;
    if (!result.Opened()) {
        error = result.Error;
        return false;
    }
    // The job goes on with what could be read, but not as if nothing was missing.
    if (doc.DamagedRecords() > 0)
        std::cerr << "korvane-viewer: "
                  << FormatText(_("%s: damaged records of this file were left out."), {file}) << "\n";
    return true;
}

namespace {
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
}
} // namespace

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance()) return nullptr;
    qInstallMessageHandler(QuietQtMessages);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "korvane-viewer";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}
