#include "packages/PackageOpener.h"

#include "base/Translate.h"
#include "platform/DirectoryHandling.h"
#include "platform/FileExtensions.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

inline constexpr const char PrintPreviewFolder[] = "~PrintPreview";

bool IsRegularFile(const std::string& Path) {
    std::error_code Error;
    return fs::is_regular_file(fs::symlink_status(fs::path(Path), Error));
}

TPackageOpenResult Failed(std::string Text) {
    TPackageOpenResult Result;
    Result.Status = TPackageOpenStatus::posFailed;
    Result.ErrorText = std::move(Text);
    return Result;
}

// Unpacks FileName into a fresh folder. On failure the folder is gone again and the result says why.
TPackageOpenResult Unpack(const std::string& FileName, const std::string& Prefix, TTempDirs& TempDirs,
                          const TZipExtractLimits& Limits) {
    std::string CreateError;
    const std::string Folder = TempDirs.CreateUnpackFolder(Prefix, &CreateError);
    if (Folder.empty()) return Failed(CannotHandleFileText(FileName) + "\n\n" + CreateError);

    std::string Error;
    try {
        TZipFile Zip(FileName, TZipMode::zmRead, Limits);
        if (Zip.ExtractAll(Folder) != -1) Error = Zip.LastError();
    } catch (const EZipError& E) {
        Error = E.what();
    }
    if (!Error.empty()) {
        // Half an archive is not a drawing: nothing of it stays to be opened or found later.
        TempDirs.DeleteTempDir(Folder);
        return Failed(Error);
    }
    TPackageOpenResult Result;
    Result.UnpackFolder = Folder;
    return Result;
}

// The sub-folder named Name, matched exactly first and then ignoring case, as archives written
// on case-blind systems may spell it either way.
std::string FindSubFolder(const std::string& Folder, const std::string& Name) {
    std::error_code Error;
    const fs::path Exact = fs::path(Folder) / Name;
    if (fs::is_directory(fs::symlink_status(Exact, Error))) return Exact.string();
    std::string Best;
    for (const fs::directory_entry& Entry : fs::directory_iterator(fs::path(Folder), Error)) {
        std::error_code EntryError;
        if (!Entry.is_directory(EntryError) || Entry.is_symlink(EntryError)) continue;
        const std::string Candidate = Entry.path().filename().string();
        if (MatchesFileMask(Candidate, Name) && (Best.empty() || Candidate < Best)) Best = Candidate;
    }
    return Best.empty() ? std::string() : (fs::path(Folder) / Best).string();
}

} // namespace

std::string FindDrawingInZip(const std::string& ZipName) {
    TZipFile Zip;
    Zip.Open(ZipName, TZipMode::zmRead);
    for (int I = 0; I < Zip.GetFileCount(); ++I) {
        const std::string Name = Zip.GetFileName(I);
        const TFileType Type = GetFileType(Name);
        if (Type == ftDiagram || Type == ftSymbol) return Name;
    }
    return {};
}

TPackageOpenResult OpenZipPackage(const std::string& FileName, TTempDirs& TempDirs,
                                  const TZipExtractLimits& Limits) {
    if (!IsRegularFile(FileName)) {
        TPackageOpenResult Result;
        Result.Status = TPackageOpenStatus::posFileMissing;
        return Result;
    }
    std::string Drawing;
    try {
        Drawing = FindDrawingInZip(FileName);
    } catch (const EZipError& E) {
        return Failed(E.what());
    }
    if (Drawing.empty()) return {}; // a package without a drawing opens nothing

    TPackageOpenResult Result = Unpack(FileName, "Unpack_", TempDirs, Limits);
    if (Result.Status == TPackageOpenStatus::posFailed) return Result;
    const std::string Path = Result.UnpackFolder + PathDelimiter + SafeMemberPath(Drawing);
    if (IsRegularFile(Path)) {
        Result.Status = TPackageOpenStatus::posDrawingFound;
        Result.DrawingFileName = Path;
    }
    return Result;
}

TPackageOpenResult OpenPackedDrawing(const std::string& FileName, TTempDirs& TempDirs,
                                     const TZipExtractLimits& Limits) {
    if (!IsRegularFile(FileName)) {
        TPackageOpenResult Result;
        Result.Status = TPackageOpenStatus::posFileMissing;
        return Result;
    }
    TPackageOpenResult Result = Unpack(FileName, "~KDX~", TempDirs, Limits);
    if (Result.Status == TPackageOpenStatus::posFailed) return Result;

    // Drawings in sub-folders are not looked for: the archive keeps its drawings at the top.
    const std::vector<std::string> Drawings = FindFiles(Result.UnpackFolder, FileTypeMask(ftDiagram));
    if (!Drawings.empty()) {
        Result.Status = TPackageOpenStatus::posDrawingFound;
        Result.DrawingFileName = Drawings.front();
    }
    const std::string Pages = FindSubFolder(Result.UnpackFolder, PrintPreviewFolder);
    if (!Pages.empty()) Result.PrintPreviewPDFs = FindFiles(Pages, FileTypeMask(ftPDF));
    return Result;
}
