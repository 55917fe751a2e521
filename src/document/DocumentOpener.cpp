#include "document/DocumentOpener.h"

#include <filesystem>

#include "base/Translate.h"
#include "document/SymbolFile.h"
#include "packages/PackageOpener.h"
#include "platform/FileExtensions.h"

namespace {

TOpenResult Failed(TOpenStatus status, std::string error) {
    TOpenResult result;
    result.Status = status;
    result.Error = std::move(error);
    return result;
}

} // namespace

bool IsOpenableFile(const std::string& fileName) {
    const TFileType type = GetFileType(fileName);
    return type == ftDiagram || type == ftSymbol || type == ftZip || type == ftPackedDiagram;
}

std::string RefusalBeforeOpening(const std::string& fileName) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(fileName, ec))
        return FormatText(_("\"%s\" is a folder, not a drawing file."), {fileName});
    if (!fs::exists(fileName, ec)) return FormatText(_("The file \"%s\" does not exist."), {fileName});
    if (!IsOpenableFile(fileName))
        return FormatText(_("\"%s\" is not a file type the viewer opens (.kdf, .sym, .zip, .kdx)."),
                          {fileName});
    return {};
}

TOpenResult OpenDocumentFile(TSymbolFile& doc, const std::string& fileName, TTempDirs& tempDirs) {
    if (std::string refusal = RefusalBeforeOpening(fileName); !refusal.empty())
        return Failed(IsOpenableFile(fileName) ? TOpenStatus::osFailed : TOpenStatus::osNotOpened,
                      std::move(refusal));

    TOpenResult result;
    result.DrawingFileName = fileName;
    const TFileType type = GetFileType(fileName);
    if (type == ftZip || type == ftPackedDiagram) {
        TPackageOpenResult package =
            type == ftZip ? OpenZipPackage(fileName, tempDirs) : OpenPackedDrawing(fileName, tempDirs);
        if (package.Status == TPackageOpenStatus::posFailed)
            return Failed(TOpenStatus::osFailed, package.ErrorText);
        result.UnpackFolder = package.UnpackFolder;
        if (type == ftPackedDiagram) result.PrintPreviewPDFs = package.PrintPreviewPDFs;
        if (package.Status != TPackageOpenStatus::posDrawingFound) {
            result.Status = TOpenStatus::osNoDrawing;
            result.Error = FormatText(_("\"%s\" holds no drawing."), {fileName});
            return result;
        }
        result.DrawingFileName = package.DrawingFileName;
        result.PackageDrawings = package.DrawingFileNames;
    }
    if (!doc.LoadFromFile(result.DrawingFileName, TConnectivityPass::cpFull)) {
        result.Status = TOpenStatus::osFailed;
        result.Error = doc.LastError();
        return result;
    }
    result.Status = TOpenStatus::osOpened;
    return result;
}
