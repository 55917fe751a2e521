#include "datasheets/CachedFolder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unordered_map>

#include <sys/stat.h>
#include <unistd.h>

#include "base/BusyHook.h"
#include "model/KeyValues.h"
#include "platform/DirectoryHandling.h"
#include "platform/QUAVGlobs.h"

namespace fs = std::filesystem;

namespace {

// An index file larger than this is not one we wrote.
constexpr std::uintmax_t MaxCacheFileSize = 64u * 1024u * 1024u;
// Folder trees deeper than this are not datasheet collections; the scan stops descending there.
constexpr int MaxScanDepth = 64;

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

std::vector<std::string> SplitFolders(const std::string& path) {
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= path.size()) {
        size_t semi = path.find(';', start);
        if (semi == std::string::npos) semi = path.size();
        std::string f = path.substr(start, semi - start);
        if (!f.empty()) folders.push_back(f);
        start = semi + 1;
    }
    return folders;
}

// The normalised absolute form of Path, without a trailing separator.
std::string Normal(const std::string& path) {
    std::error_code ec;
    std::string s = fs::absolute(fs::path(path), ec).lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

bool ContainsDotDot(const fs::path& p) {
    return std::any_of(p.begin(), p.end(), [](const fs::path& part) { return part == ".."; });
}

bool IsBelow(const std::string& file, const std::string& folder) {
    return file.size() > folder.size() + 1 && file.compare(0, folder.size(), folder) == 0 &&
           (folder == "/" || file[folder.size()] == '/');
}

bool MatchesMask(const std::string& name, const std::vector<std::string>& mask) {
    for (const std::string& m : mask) {
        if (m == ".*") return true;
        const std::string um = Upper(m), un = Upper(name);
        if (un.size() > um.size() && un.compare(un.size() - um.size(), um.size(), um) == 0) return true;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TCachedFolder

void TCachedFolder::SetData(const std::string& path, const std::string& cachedFile,
                            const std::vector<std::string>& mask, bool refreshOnlyOnce) {
    fPath = path;
    fCachedFile = cachedFile;
    fMask = mask;
    fRefreshOnlyOnce = refreshOnlyOnce;
    fIsRefreshed = false;
    LoadCacheFile();
}

void TCachedFolder::LoadCacheFile() {
    fFileList.clear();
    fPathList.clear();
    if (fCachedFile.empty()) return;
    std::string text = ReadSmallFile(fCachedFile, MaxCacheFileSize);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    // A damaged index is rebuilt by the next scan, never trusted.
    if (text.find('\0') != std::string::npos || !IsValidUtf8(text)) return;
    std::vector<std::string> folders;
    for (const std::string& f : SplitFolders(fPath))
        if (std::string n = Normal(f); !n.empty()) folders.push_back(n);
    std::unordered_map<std::string, bool> seen;
    for (const std::string& line : SplitTextLines(text)) {
        if (line.empty()) continue;
        const fs::path p(line);
        // Every indexed file must lie below one of the folders it was made for: an index made for
        // other folders, or one that points elsewhere, is dropped whole.
        const bool inside = p.is_absolute() && !ContainsDotDot(p) &&
                            std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
                                return IsBelow(p.lexically_normal().string(), f);
                            });
        if (!inside) {
            fFileList.clear();
            fPathList.clear();
            return;
        }
        const std::string name = Upper(p.filename().string());
        if (seen.emplace(name, true).second) {
            fFileList.push_back(name);
            fPathList.push_back(line);
        }
    }
}

void TCachedFolder::SaveCacheFile() const {
    if (fCachedFile.empty()) return;
    const std::string folder = ExtractFileDir(fCachedFile);
    if (!folder.empty() && !ForceFolder(folder)) return;
    std::string text = "\xEF\xBB\xBF";
    for (const std::string& p : fPathList)
        text += p + "\r\n";
    // Through a fresh temporary file renamed over the old index, so that a reader never sees half
    // an index. Losing the index costs a scan, so failures are silent.
    std::string temp = fCachedFile + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return;
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), fCachedFile.c_str()) != 0) ::unlink(temp.c_str());
}

void TCachedFolder::Refresh() {
    if (fIsRefreshed && fRefreshOnlyOnce) return;
    TBusyScope busy;
    busy.Show();
    fFileList.clear();
    fPathList.clear();
    std::unordered_map<std::string, bool> seen;
    // Files of a folder first, then its sub-folders, both in a fixed order; links to folders are
    // not followed, so a link loop cannot make the scan endless.
    auto scan = [&](auto&& self, const fs::path& folder, int depth) -> void {
        std::vector<fs::path> files, folders;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code e2;
            const fs::file_status st = it->symlink_status(e2);
            if (e2) continue;
            if (fs::is_directory(st))
                folders.push_back(it->path());
            else if (fs::is_regular_file(it->status(e2)) && !e2)
                files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        std::sort(folders.begin(), folders.end());
        for (const fs::path& f : files) {
            const std::string name = f.filename().string();
            if (!MatchesMask(name, fMask)) continue;
            if (seen.emplace(Upper(name), true).second) {
                fFileList.push_back(Upper(name));
                fPathList.push_back(f.string());
            }
        }
        if (depth < MaxScanDepth)
            for (const fs::path& sub : folders)
                self(self, sub, depth + 1);
    };
    for (const std::string& f : SplitFolders(fPath))
        scan(scan, fs::path(Normal(f)), 0);
    SaveCacheFile();
    fIsRefreshed = true;
}

void TCachedFolder::ForceRefresh() {
    fIsRefreshed = false;
    Refresh();
}

bool TCachedFolder::FindFile(const std::string& fileName, std::string& path, bool doNotRefresh) {
    const std::string name = Upper(fileName);
    auto lookup = [&]() -> int {
        for (size_t i = 0; i < fFileList.size(); ++i)
            if (fFileList[i] == name) return int(i);
        return -1;
    };
    int i = lookup();
    if (!doNotRefresh) {
        std::error_code ec;
        if (i < 0 || !fs::exists(fPathList[size_t(i)], ec)) {
            Refresh();
            i = lookup();
        }
    }
    if (i < 0) return false;
    path = fPathList[size_t(i)];
    return true;
}

bool TCachedFolder::FindFileEx(const std::string& fileName, std::string& path) {
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& ext : fMask)
            if (FindFile(fileName + (ext == ".*" ? "" : ext), path, true)) return true;
        if (pass == 0) Refresh();
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TSimpleCachedFolder

TSimpleCachedFolder::TSimpleCachedFolder(const std::string& path, int removeOlderThan)
    : fPath(IncludeTrailingPathDelimiter(path)), fRemoveOlderThan(removeOlderThan) {
    ListFolder();
}

TSimpleCachedFolder::~TSimpleCachedFolder() {
    if (fRemoveOlderThan < 0) return;
    const auto now = fs::file_time_type::clock::now();
    // "More than N whole days": a file goes once N + 1 full days have passed since it was written.
    // Beyond a century the limit would not fit the clock's range; nothing is that old anyway.
    const auto limit = std::chrono::hours(24) * (std::min(fRemoveOlderThan, 36500) + 1);
    std::error_code ec;
    std::vector<fs::path> old;
    for (fs::directory_iterator it(fPath, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e2;
        // Plain files only; a link is never followed to whatever it points at.
        if (!fs::is_regular_file(it->symlink_status(e2)) || e2) continue;
        const auto written = fs::last_write_time(it->path(), e2);
        if (e2) continue;
        if (fRemoveOlderThan == 0 || now - written >= limit) old.push_back(it->path());
    }
    for (const fs::path& p : old)
        fs::remove(p, ec);
}

void TSimpleCachedFolder::ListFolder() {
    fFileList.clear();
    std::error_code ec;
    for (fs::directory_iterator it(fPath, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e2;
        if (fs::is_regular_file(it->symlink_status(e2)) && !e2)
            fFileList.push_back(it->path().filename().string());
    }
    std::sort(fFileList.begin(), fFileList.end());
}

std::string TSimpleCachedFolder::FindFile(const std::string& name) {
    const std::string wanted = Upper(name);
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& f : fFileList) {
            if (Upper(fs::path(f).stem().string()) != wanted) continue;
            std::error_code ec;
            if (fs::is_regular_file(fs::symlink_status(fPath + f, ec)) && !ec) return fPath + f;
        }
        if (pass == 0) ListFolder();
    }
    return {};
}
