#pragma once
// Opening any file the viewer takes, the one way the window and the command-line jobs both use:
// the type is told by the extension, ZIP packages and packed drawing archives are unpacked into
// folders of the caller's TTempDirs, the drawing is loaded and brought up to date (the full
// connectivity update). The caller shows the hourglass and reports the result.
#include <string>
#include <vector>

class TSymbolFile;
class TTempDirs;

enum class TOpenStatus {
    osOpened,    // the drawing is loaded into the document
    osNoDrawing, // a readable package with no drawing in it; the document is unchanged
    osFailed,    // Error says why in the user's terms; the document is unchanged
    osNotOpened, // not a type the viewer opens; nothing was touched
};

struct TOpenResult {
    TOpenStatus Status = TOpenStatus::osNotOpened;
    std::string Error;                         // translated, for osFailed and osNotOpened
    std::string DrawingFileName;               // the file loaded (inside the unpack folder for packages)
    std::string UnpackFolder;                  // a package's unpack folder, else ""
    std::vector<std::string> PrintPreviewPDFs; // a packed archive's print-preview pages
    std::vector<std::string> PackageDrawings;  // every drawing of a package, the one opened first
    bool Opened() const { return Status == TOpenStatus::osOpened; }
};

// True for the types OpenDocumentFile opens (".kdf", ".sym", ".zip", ".kdx", in any case).
bool IsOpenableFile(const std::string& fileName);

// Why fileName cannot be opened at all, without reading it: a missing file, a folder or a type
// the viewer does not open; "" when it may be tried.
std::string RefusalBeforeOpening(const std::string& fileName);

// Opens fileName into doc. The document's load messages (date parsing, invalid dates) are those
// the caller installed in doc.Messages().
TOpenResult OpenDocumentFile(TSymbolFile& doc, const std::string& fileName, TTempDirs& tempDirs);
