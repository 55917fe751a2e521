#include "app/OpenForJob.h"

#include <iostream>

#include "base/Translate.h"
#include "document/DocumentOpener.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "qt/LocaleDates.h"

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
