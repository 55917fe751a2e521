#include "datasheets/DataSheetLookup.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/BusyHook.h"
#include "datasheets/DataSheetNames.h"
#include "platform/DirectoryHandling.h"
#include "platform/QUAVGlobs.h"

namespace fs = std::filesystem;

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

bool IsPlainFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

std::string GetDataSheetIndexFileName() {
    return GetUserDataFolder() + "Cache" + PathDelimiter + "QuavLibrary" + "__PDFs.Lib";
}

std::string GetDataSheetDownloadFolder() {
    return GetLocalMakerFolder() + "Downloads" + PathDelimiter + "Online" + PathDelimiter + "PDF" +
           PathDelimiter;
}

bool IsPdfFile(const std::string& fileName) {
    // Non-blocking, so that a FIFO in the file's place cannot stall the program.
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    char head[5] = {};
    const bool pdf = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::read(fd, head, 5) == 5 &&
                     std::memcmp(head, "%PDF-", 5) == 0;
    ::close(fd);
    return pdf;
}

std::string FindDataSheetInFolder(const std::string& name, const std::string& folder) {
    if (folder.empty() || !IsPlainDataSheetName(name)) return {};
    const std::string n = StripPdfExtension(name);
    const std::string direct = IncludeTrailingPathDelimiter(folder) + n + ".pdf";
    if (IsPlainFile(direct)) return direct;
    // Names are matched ignoring case, as on the systems the drawings come from. The name is
    // compared as text, never used as a mask: "*" or "?" in it stand for themselves.
    const std::string wanted = Upper(n + ".pdf"), suffix = Upper("___" + n + ".pdf");
    std::string prefixed;
    for (const std::string& file : FindFiles(folder, "*.pdf")) {
        const std::string base = Upper(fs::path(file).filename().string());
        if (base == wanted) return file;
        if (prefixed.empty() && base.size() > suffix.size() &&
            base.compare(base.size() - suffix.size(), suffix.size(), suffix) == 0)
            prefixed = file;
    }
    return prefixed;
}

TDataSheetLookup::TDataSheetLookup(IWebLibFiles* online, const std::string& downloadFolder)
    : fOnline(online), fDownloadFolder(std::make_unique<TSimpleCachedFolder>(downloadFolder, 14)) {}

void TDataSheetLookup::SetLocalFolders(const std::string& dataSheetFolders, const std::string& cacheFile) {
    fDataSheetFolder.SetData(dataSheetFolders, cacheFile, {".pdf"}, false);
}

std::string TDataSheetLookup::DownloadDataSheet(const std::string& n) {
    if (!IsPlainDataSheetName(n) || !fOnline) return {};
    std::string earlier = fDownloadFolder->FindFile(n);
    if (!earlier.empty()) return earlier;
    TBusyScope busy;
    busy.Show();
    std::string temp;
    if (!fOnline->GetFile("datasheets/" + EncodeURLPathSegment(n) + "/download", temp)) return {};
    // Only a PDF is kept: whatever else came (an error page, say) is no datasheet.
    if (!IsPdfFile(temp)) return {};
    const std::string target = fDownloadFolder->Path() + n + ".pdf";
    if (!ForceFolder(ExcludeTrailingPathDelimiter(fDownloadFolder->Path()))) return {};
    std::error_code ec;
    fs::remove(target, ec);
    fs::copy_file(temp, target, fs::copy_options::overwrite_existing, ec);
    if (!ec) return target;
    // Half a copy (a full disk) would be found as an earlier download next time.
    fs::remove(target, ec);
    return {};
}

std::string TDataSheetLookup::FindDataSheetCached(const std::string& name, bool onlineAllowed) {
    if (!IsPlainDataSheetName(name)) return {};
    const std::string n = StripPdfExtension(name);
    std::string path;
    if (fDataSheetFolder.FindFile(n + ".pdf", path)) return path;
    if (onlineAllowed) return DownloadDataSheet(n);
    return {};
}

std::string TDataSheetLookup::FindOneDataSheet(const std::string& name, const std::string& drawingFolder,
                                               bool searchOnline) {
    if (!IsPlainDataSheetName(name)) return {};
    std::string found = FindDataSheetInFolder(name, drawingFolder);
    if (found.empty()) found = FindDataSheetCached(name, searchOnline);
    return found;
}

std::vector<std::string> TDataSheetLookup::FindDataSheets(const std::string& value,
                                                          const std::string& drawingFolder, bool metric,
                                                          bool searchOnline) {
    std::vector<std::string> found;
    // Every name may mean a scan of the folder tree and a request to the library: a value from a
    // drawing naming hundreds of them is cut off after the first ones.
    size_t lookedUp = 0;
    for (const std::string& name : DataSheetNamesToShow(value, metric)) {
        if (lookedUp >= MaxDataSheetsOpenedAtOnce) break;
        if (!IsPlainDataSheetName(name)) continue;
        ++lookedUp;
        const std::string file = FindOneDataSheet(name, drawingFolder, searchOnline);
        if (file.empty() || !IsPdfFile(file)) continue;
        if (std::find(found.begin(), found.end(), file) == found.end()) found.push_back(file);
    }
    return found;
}

void TDataSheetLookup::ShowDataSheet(const std::string& value, const std::string& drawingFolder, bool metric,
                                     bool searchOnline, const std::function<bool(const std::string&)>& open) {
    for (const std::string& file : FindDataSheets(value, drawingFolder, metric, searchOnline))
        open(file);
}
