#pragma once
// Finding a component's datasheets: the drawing's folder, the indexed local folders, then the
// online library, whose downloads stay in a local cache for two weeks.
#include "datasheets/CachedFolder.h"
#include "datasheets/WebLibCommunicator.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// At most this many datasheets open for one value; a value naming more is cut off there.
inline constexpr size_t MaxDataSheetsOpenedAtOnce = 8;

// The file FindDataSheetInFolder finds for Name in Folder: Folder/N.pdf, else the first plain file
// "*___N.pdf" (N: Name without ".pdf"). "" when Folder is empty or nothing matches.
std::string FindDataSheetInFolder(const std::string& name, const std::string& folder);

// True when the file starts with "%PDF-".
bool IsPdfFile(const std::string& fileName);

class TDataSheetLookup {
public:
    // Online: the library the downloads come from (not owned; may be nullptr: nothing online).
    // Downloads are kept in DownloadFolder for 14 days.
    TDataSheetLookup(IWebLibFiles* online, const std::string& downloadFolder);
    // The local folders (";"-separated) and the file their index is kept in between runs.
    void SetLocalFolders(const std::string& dataSheetFolders, const std::string& cacheFile);

    // Every datasheet of Value, in the order they would be opened. SearchOnline false means no
    // request leaves the machine. Refused names are skipped.
    std::vector<std::string> FindDataSheets(const std::string& value, const std::string& drawingFolder,
                                            bool metric, bool searchOnline);
    // FindDataSheets, then hands each file that is a PDF to Open (OpenDocument in the program).
    void ShowDataSheet(const std::string& value, const std::string& drawingFolder, bool metric,
                       bool searchOnline, const std::function<bool(const std::string&)>& open);

    std::string FindOneDataSheet(const std::string& name, const std::string& drawingFolder,
                                 bool searchOnline);
    std::string FindDataSheetCached(const std::string& name, bool onlineAllowed);
    std::string DownloadDataSheet(const std::string& n);

    TCachedFolder& DataSheetFolder() { return fDataSheetFolder; }
    TSimpleCachedFolder& DownloadFolder() { return *fDownloadFolder; }

private:
    IWebLibFiles* fOnline;
    TCachedFolder fDataSheetFolder;
    std::unique_ptr<TSimpleCachedFolder> fDownloadFolder;
};

// "QuavLibrary__PDFs.Lib" below the user's data folder's "Cache" folder.
std::string GetDataSheetIndexFileName();
// GetLocalMakerFolder() + "Downloads/Online/PDF/".
std::string GetDataSheetDownloadFolder();
