#include "platform/DirectoryHandling.h"

#include "base/Translate.h"
#include "platform/MessageBox.h"
#include "platform/OpenWith.h"
#include "platform/QUAVGlobs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Length of the UTF-8 sequence starting at Text[At], so that "?" takes a whole character.
size_t CharLength(const std::string& text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 1;
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    return std::min(length, text.size() - at);
}

// Iterative wildcard match with one back-tracking point: linear in practice and never recursive,
// whatever a mask looks like.
bool WildcardMatch(const std::string& name, const std::string& mask) {
    size_t n = 0, m = 0;
    size_t starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n += CharLength(name, n);
            ++m;
        } else if (m < mask.size() && FoldAscii(mask[m]) == FoldAscii(name[n])) {
            ++n;
            ++m;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            starName += CharLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(FoldAscii(a[i]));
        const auto cb = static_cast<unsigned char>(FoldAscii(b[i]));
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b; // names that differ only in case still get one fixed order
}

} // namespace

bool ForceFolder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    fs::create_directories(fs::path(path), error);
    return fs::is_directory(fs::path(path), error);
}

namespace {

// Closes a descriptor when the walk below moves on or gives up.
class TFolderFd {
public:
    explicit TFolderFd(int fd = -1) : fFd(fd) {}
    ~TFolderFd() { Reset(-1); }
    TFolderFd(const TFolderFd&) = delete;
    TFolderFd& operator=(const TFolderFd&) = delete;
    void Reset(int fd) {
        if (fFd >= 0) ::close(fFd);
        fFd = fd;
    }
    int Get() const { return fFd; }

private:
    int fFd;
};

std::string Refused(std::string* errorText, const std::string& path, const std::string& reason) {
    if (errorText != nullptr) *errorText = FormatText(_("Cannot use the folder %s: %s"), {path, reason});
    return {};
}

} // namespace

std::string ForcePrivateFolder(const std::string& base, const std::string& relative, std::string* errorText) {
    std::vector<std::string> names;
    for (const auto& part : fs::path(relative)) {
        const std::string name = part.string();
        if (name.empty() || name == "." || name == "/") continue;
        if (name == "..") return Refused(errorText, relative, _("it climbs out of its base folder"));
        names.push_back(name);
    }
    std::string path = ExcludeTrailingPathDelimiter(base);
    if (names.empty() || path.empty())
        return Refused(errorText, path + PathDelimiter + relative, _("no name"));
    if (!ForceFolder(path)) return Refused(errorText, path, _("it cannot be made"));

    // Each step opens the next folder relative to the one before, never by its full name again,
    // so nothing can be swapped in between the look and the use.
    TFolderFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) return Refused(errorText, path, std::strerror(errno));
    const uid_t user = ::geteuid();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        path += PathDelimiter + name;
        if (::mkdirat(folder.Get(), name.c_str(), 0700) != 0 && errno != EEXIST)
            return Refused(errorText, path, std::strerror(errno));
        const int next =
            ::openat(folder.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            const int error = errno;
            return Refused(errorText, path,
                           error == ELOOP || error == ENOTDIR ? _("it is a link or not a folder")
                                                              : std::string(std::strerror(error)));
        }
        folder.Reset(next);
        struct stat info {};
        if (::fstat(folder.Get(), &info) != 0) return Refused(errorText, path, std::strerror(errno));
        if (info.st_uid != user) return Refused(errorText, path, _("it belongs to another user"));
        const bool last = i + 1 == names.size();
        if (last) {
            if ((info.st_mode & 07777) != 0700 && ::fchmod(folder.Get(), 0700) != 0)
                return Refused(errorText, path, std::strerror(errno));
        } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
            // Others could rename the folders below and put their own in place.
            return Refused(errorText, path, _("others may write to it"));
        }
    }
    return path + PathDelimiter;
}

bool DeleteFolder(const std::string& path) {
    const std::string folder = ExcludeTrailingPathDelimiter(path);
    if (folder.empty()) return false;
    std::error_code error;
    // remove_all looks at the path itself with symlink_status: a link is unlinked, not entered.
    fs::remove_all(fs::path(folder), error);
    return !fs::exists(fs::symlink_status(fs::path(folder), error));
}

bool MatchesFileMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask == "*") return true;
    return WildcardMatch(name, mask);
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    if (error) return {};
    for (const fs::directory_entry& entry : it) {
        std::error_code entryError;
        if (!entry.is_regular_file(entryError)) continue;
        const std::string name = entry.path().filename().string();
        if (MatchesFileMask(name, mask)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    const std::string prefix = IncludeTrailingPathDelimiter(folder);
    for (std::string& name : names)
        name = prefix + name;
    return names;
}

std::string GetLongFileName(const std::string& path) {
    if (path.empty()) return {};
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    if (error || !fs::exists(fs::symlink_status(absolute, error))) return {};
    return ExcludeTrailingPathDelimiter(absolute.lexically_normal().string());
}

bool OpenDocument(const std::string& fileName) {
    std::error_code error;
    if (!fileName.empty() && fs::exists(fs::path(fileName), error) && OpenWithAssociatedApplication(fileName))
        return true;
    ShowErrorMessage(FormatText(_("Cannot open %s !"), {fileName}));
    return false;
}

std::string ExtractFileDir(const std::string& fileName) {
    const size_t slash = fileName.find_last_of(PathDelimiter);
    if (slash == std::string::npos) return {};
    if (slash == 0) return std::string(1, PathDelimiter);
    return fileName.substr(0, slash);
}

std::string ReadSmallFile(const std::string& fileName, std::uintmax_t maxBytes) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    std::string text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) <= maxBytes) {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            text.append(buffer, size_t(n));
            // The file may grow while it is read.
            if (text.size() > maxBytes) {
                text.clear();
                break;
            }
        }
    }
    ::close(fd);
    return text;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}
