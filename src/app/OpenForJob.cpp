#include "app/OpenForJob.h"

#include <filesystem>
#include <iostream>

#include "components/Connectivity.h"
#include "components/SymbolObjectSymbol.h"
#include "model/SymbolFile.h"
#include "packages/PackageOpener.h"
#include "platform/LocaleDates.h"
#include "shell/FileExtensions.h"

bool OpenForJob(TSymbolFile& doc, const std::string& file, TTempDirs& tempDirs, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        error = "\"" + file + "\" is a folder, not a drawing file.";
        return false;
    }
    if (!fs::exists(file, ec)) {
        error = "The file \"" + file + "\" does not exist.";
        return false;
    }
    std::string drawing = file;
    switch (GetFileType(file)) {
    case ftDiagram:
    case ftSymbol:
        break;
    case ftZip:
    case ftPackedDiagram: {
        TPackageOpenResult r =
            GetFileType(file) == ftZip ? OpenZipPackage(file, tempDirs) : OpenPackedDrawing(file, tempDirs);
        if (r.Status == TPackageOpenStatus::posFailed) {
            error = r.ErrorText;
            return false;
        }
        if (r.Status != TPackageOpenStatus::posDrawingFound) {
            error = "\"" + file + "\" holds no drawing.";
            return false;
        }
        drawing = r.DrawingFileName;
        break;
    }
    default:
        error = "\"" + file + "\" is not a file type the viewer opens (.kdf, .sym, .zip, .kdx).";
        return false;
    }
    // Revision dates are read in the user's date format, as the window reads them; a job has no
    // message box, so a date that is none is reported on stderr and the load goes on.
    doc.Messages().ParseLocaleDate = ParseUserLocaleDate;
    doc.Messages().InvalidRevisionDate = [](const std::string& value) {
        std::cerr << "korvane-viewer: " << value << " is not a valid date.\n";
    };
    if (!doc.LoadFromFile(drawing)) {
        error = doc.LastError();
        return false;
    }
    UpdateConnections(doc.Symbol(), true);
    return true;
}
