#include "packages/PackageOpener.h"

#include "base/Translate.h"
#include "platform/DirectoryHandling.h"
#include "platform/FileExtensions.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"
#include "platform/TerminationWatch.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

inline constexpr const char PrintPreviewFolder[] = "~PrintPreview";

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(fs::path(path), error));
}

TPackageOpenResult Failed(std::string text) {
    TPackageOpenResult result;
    result.Status = TPackageOpenStatus::posFailed;
    result.ErrorText = std::move(text);
    return result;
}

// Unpacks FileName into a fresh folder. On failure the folder is gone again and the result says why.
TPackageOpenResult Unpack(const std::string& fileName, const std::string& prefix, TTempDirs& tempDirs,
                          const TZipExtractLimits& limits) {
    // A job ended by a signal deletes its unpack folders on another thread; it waits until this
    // one is written in full or gone again.
    const auto writing = LockAgainstTermination();
    std::string createError;
    const std::string folder = tempDirs.CreateUnpackFolder(prefix, &createError);
    if (folder.empty()) return Failed(CannotHandleFileText(fileName) + "\n\n" + createError);

    std::string error;
    try {
        TZipFile zip(fileName, TZipMode::zmRead, limits);
        if (zip.ExtractAll(folder) != -1) error = zip.LastError();
    } catch (const EZipError& e) {
        error = e.what();
    }
    if (!error.empty()) {
        // Half an archive is not a drawing: nothing of it stays to be opened or found later.
        tempDirs.DeleteTempDir(folder);
        return Failed(error);
    }
    TPackageOpenResult result;
    result.UnpackFolder = folder;
    return result;
}

// The sub-folder named Name, matched exactly first and then ignoring case, as archives written
// on case-blind systems may spell it either way.
std::string FindSubFolder(const std::string& folder, const std::string& name) {
    std::error_code error;
    const fs::path exact = fs::path(folder) / name;
    if (fs::is_directory(fs::symlink_status(exact, error))) return exact.string();
    std::string best;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder), error)) {
        std::error_code entryError;
        if (!entry.is_directory(entryError) || entry.is_symlink(entryError)) continue;
        const std::string candidate = entry.path().filename().string();
        if (MatchesFileMask(candidate, name) && (best.empty() || candidate < best)) best = candidate;
    }
    return best.empty() ? std::string() : (fs::path(folder) / best).string();
}

} // namespace

std::vector<std::string> FindDrawingsInZip(const std::string& zipName) {
    TZipFile zip;
    zip.Open(zipName, TZipMode::zmRead);
    std::vector<std::string> drawings;
    for (int i = 0; i < zip.GetFileCount(); ++i) {
        std::string name = zip.GetFileName(i);
        const TFileType type = GetFileType(name);
        if (type == ftDiagram || type == ftSymbol) drawings.push_back(std::move(name));
    }
    return drawings;
}

std::string FindDrawingInZip(const std::string& zipName) {
    TZipFile zip;
    zip.Open(zipName, TZipMode::zmRead);
    for (int i = 0; i < zip.GetFileCount(); ++i) {
        const std::string name = zip.GetFileName(i);
        const TFileType type = GetFileType(name);
        if (type == ftDiagram || type == ftSymbol) return name;
    }
    return {};
}

TPackageOpenResult OpenZipPackage(const std::string& fileName, TTempDirs& tempDirs,
                                  const TZipExtractLimits& limits) {
    if (!IsRegularFile(fileName)) {
        TPackageOpenResult result;
        result.Status = TPackageOpenStatus::posFileMissing;
        return result;
    }
    std::vector<std::string> drawings;
    try {
        drawings = FindDrawingsInZip(fileName);
    } catch (const EZipError& e) {
        return Failed(e.what());
    }
    if (drawings.empty()) return {}; // a package without a drawing opens nothing

    TPackageOpenResult result = Unpack(fileName, "Unpack_", tempDirs, limits);
    if (result.Status == TPackageOpenStatus::posFailed) return result;
    for (const std::string& drawing : drawings) {
        const std::string path = result.UnpackFolder + PathDelimiter + SafeMemberPath(drawing);
        if (IsRegularFile(path)) result.DrawingFileNames.push_back(path);
    }
    // The first drawing member is the one opened; the others are offered beside it.
    const std::string first = result.UnpackFolder + PathDelimiter + SafeMemberPath(drawings.front());
    if (IsRegularFile(first)) {
        result.Status = TPackageOpenStatus::posDrawingFound;
        result.DrawingFileName = first;
    }
    return result;
}

TPackageOpenResult OpenPackedDrawing(const std::string& fileName, TTempDirs& tempDirs,
                                     const TZipExtractLimits& limits) {
    if (!IsRegularFile(fileName)) {
        TPackageOpenResult result;
        result.Status = TPackageOpenStatus::posFileMissing;
        return result;
    }
    TPackageOpenResult result = Unpack(fileName, "~KDX~", tempDirs, limits);
    if (result.Status == TPackageOpenStatus::posFailed) return result;

    // Drawings in sub-folders are not looked for: the archive keeps its drawings at the top.
    result.DrawingFileNames = FindFiles(result.UnpackFolder, FileTypeMask(ftDiagram));
    if (!result.DrawingFileNames.empty()) {
        result.Status = TPackageOpenStatus::posDrawingFound;
        result.DrawingFileName = result.DrawingFileNames.front();
    }
    const std::string pages = FindSubFolder(result.UnpackFolder, PrintPreviewFolder);
    if (!pages.empty()) result.PrintPreviewPDFs = FindFiles(pages, FileTypeMask(ftPDF));
    return result;
}
