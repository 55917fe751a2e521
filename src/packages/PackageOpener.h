#pragma once
// Opening ZIP packages and packed drawing archives: unpack into a fresh folder and say what the
// window should open. Nothing here shows a message; the window shows ErrorText in an error box.
#include "packages/QuavZip.h"
#include "packages/TempDirs.h"

#include <string>
#include <vector>

enum class TPackageOpenStatus {
    posDrawingFound, // DrawingFileName is the unpacked drawing to load
    posNoDrawing,    // a readable archive with no drawing to open (a packed archive may still have pages)
    posFileMissing,  // the archive does not exist: nothing done
    posFailed,       // refused or failed; ErrorText says why, and nothing was left unpacked
};

struct TPackageOpenResult {
    TPackageOpenStatus Status = TPackageOpenStatus::posNoDrawing;
    std::string DrawingFileName;               // full path of the drawing to load
    std::vector<std::string> DrawingFileNames; // every drawing of the package, DrawingFileName first
    std::vector<std::string> PrintPreviewPDFs; // full paths of a packed archive's print-preview pages
    std::string UnpackFolder;                  // the folder unpacked into, without trailing separator
    std::string ErrorText;                     // translated, for an error box
};

// Stored name (folders joined by "/") of the first member, in stored order, that is a drawing
// (".kdf") or a symbol (".sym"); "" when there is none. Throws EZipError when the archive cannot
// be read.
std::string FindDrawingInZip(const std::string& zipName);
// Stored names of every drawing and symbol member, in stored order.
std::vector<std::string> FindDrawingsInZip(const std::string& zipName);

// A ZIP package: unpacked into "Unpack_<n>" in the temporary folder when it holds a drawing; the
// drawing is the first drawing member at its stored path below that folder.
TPackageOpenResult OpenZipPackage(const std::string& fileName, TTempDirs& tempDirs,
                                  const TZipExtractLimits& limits = {});

// A packed drawing archive: unpacked into "~KDX~<n>"; the drawing is the first ".kdf" at the top
// of the folder, and the pages are the ".pdf" files of its "~PrintPreview" folder, both in the
// order of FindFiles.
TPackageOpenResult OpenPackedDrawing(const std::string& fileName, TTempDirs& tempDirs,
                                     const TZipExtractLimits& limits = {});
