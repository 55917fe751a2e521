#include "app/OpenForJob.h"

#include <filesystem>

#include "components/Connectivity.h"
#include "components/SymbolObjectSymbol.h"
#include "model/SymbolFile.h"
#include "packages/PackageOpener.h"
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
    if (!doc.LoadFromFile(drawing)) {
        error = doc.LastError();
        return false;
    }
    UpdateConnections(doc.Symbol(), true);
    return true;
}
