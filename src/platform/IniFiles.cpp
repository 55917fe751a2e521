#include "platform/IniFiles.h"

#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DirectoryHandling.h"

namespace {

// Settings files are small; anything larger is not one of ours and is read as empty.
constexpr std::uintmax_t MaxIniFileSize = 16 * 1024 * 1024;

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

bool HasLineBreakOrNul(const std::string& s) {
    return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

bool IsWritableKey(const std::string& key) {
    const std::string t = Trim(key);
    return !t.empty() && t == key && t.front() != ';' && t.front() != '[' &&
           key.find('=') == std::string::npos && !HasLineBreakOrNul(key);
}

bool IsWritableSection(const std::string& section) {
    return !section.empty() && section.find(']') == std::string::npos && !HasLineBreakOrNul(section);
}

// The whole file, or nothing: a missing file, anything but a plain file (a FIFO would block the
// read), an absurd size or NUL bytes (not a text file) all read as empty.

bool WriteAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

TIniFile::TIniFile(std::string fileName) : fFileName(std::move(fileName)) {
    std::string text = ReadSmallFile(fFileName, MaxIniFileSize);
    if (text.find('\0') != std::string::npos) text.clear();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
        fByteOrderMark = true;
    }
    const size_t firstBreak = text.find('\n');
    fCrLf = firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r';
    TSection* current = nullptr;
    for (std::string& line : SplitTextLines(text)) {
        const std::string t = Trim(line);
        const size_t close = t.find(']');
        if (!t.empty() && t.front() == '[' && close != std::string::npos) {
            fSections.push_back({Trim(t.substr(1, close - 1)), {}});
            current = &fSections.back();
            continue;
        }
        if (!current) {
            fPreamble.push_back(line);
            continue;
        }
        TLine l;
        l.Text = line;
        const size_t eq = line.find('=');
        if (eq != std::string::npos && t.front() != ';') {
            l.Key = Trim(line.substr(0, eq));
            l.Value = Trim(line.substr(eq + 1));
        }
        current->Lines.push_back(std::move(l));
    }
}

const TIniFile::TSection* TIniFile::Find(const std::string& section) const {
    for (const TSection& s : fSections)
        if (SameText(s.Name, section)) return &s;
    return nullptr;
}

TIniFile::TSection& TIniFile::FindOrAdd(const std::string& section) {
    for (TSection& s : fSections)
        if (SameText(s.Name, section)) return s;
    fSections.push_back({section, {}});
    return fSections.back();
}

bool TIniFile::SectionExists(const std::string& section) const {
    return Find(section) != nullptr;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    if (const TSection* s = Find(section))
        for (const TLine& l : s->Lines)
            if (!l.Key.empty() && SameText(l.Key, key)) return true;
    return false;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    if (const TSection* s = Find(section))
        for (const TLine& l : s->Lines)
            if (!l.Key.empty() && SameText(l.Key, key)) return l.Value;
    return def;
}

long TIniFile::ReadInteger(const std::string& section, const std::string& key, long def) const {
    const std::string v = ReadString(section, key, "");
    size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
    unsigned base = 10;
    if (v.compare(i, 2, "0x") == 0 || v.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    } else if (i < v.size() && v[i] == '$') {
        base = 16;
        ++i;
    }
    const auto digit = [&](char c) -> int {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        return d < int(base) ? d : -1;
    };
    // Accumulated as a negative number, which also holds the most negative long.
    long n = 0;
    size_t digits = 0;
    for (; i < v.size() && digit(v[i]) >= 0; ++i, ++digits) {
        const long d = digit(v[i]);
        if (n < (std::numeric_limits<long>::min() + d) / long(base)) return def; // does not fit
        n = n * long(base) - d;
    }
    if (digits == 0) return def;
    if (negative) return n;
    return n == std::numeric_limits<long>::min() ? def : -n;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    if (const TSection* s = Find(section))
        for (const TLine& l : s->Lines) {
            if (l.Key.empty()) continue;
            bool seen = false;
            for (const std::string& k : keys)
                seen = seen || SameText(k, l.Key);
            if (!seen) keys.push_back(l.Key);
        }
    return keys;
}

std::vector<std::string> TIniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const TSection& s : fSections) {
        bool seen = false;
        for (const std::string& n : names)
            seen = seen || SameText(n, s.Name);
        if (!seen) names.push_back(s.Name);
    }
    return names;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!IsWritableSection(section) || !IsWritableKey(key)) return;
    // A line break would turn the rest of the value into a line of its own on the next read.
    std::string v = value;
    for (char& c : v)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    v = Trim(v);
    TSection& s = FindOrAdd(section);
    for (TLine& l : s.Lines)
        if (!l.Key.empty() && SameText(l.Key, key)) {
            if (l.Value != v) {
                l.Value = v;
                l.Text.clear();
            }
            return;
        }
    // New keys go after the last key, so that comments and blank lines at the end stay there.
    auto at = s.Lines.end();
    while (at != s.Lines.begin() && std::prev(at)->Key.empty())
        --at;
    s.Lines.insert(at, TLine{{}, key, v});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, long value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
    std::erase_if(fSections, [&](const TSection& s) { return SameText(s.Name, section); });
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    for (TSection& s : fSections)
        if (SameText(s.Name, section))
            std::erase_if(s.Lines, [&](const TLine& l) { return !l.Key.empty() && SameText(l.Key, key); });
}

bool TIniFile::UpdateFile(std::string* errorText, unsigned mode) const {
    const auto fail = [&](int error) {
        if (errorText) *errorText = fFileName + ": " + std::strerror(error);
        return false;
    };
    const std::string eol = fCrLf ? "\r\n" : "\n";
    std::string text = fByteOrderMark ? "\xEF\xBB\xBF" : "";
    for (const std::string& l : fPreamble)
        text += l + eol;
    for (const TSection& s : fSections) {
        text += "[" + s.Name + "]" + eol;
        for (const TLine& l : s.Lines)
            text += (l.Key.empty() || !l.Text.empty() ? l.Text : l.Key + "=" + l.Value) + eol;
    }

    const std::string folder = ExtractFileDir(fFileName);
    if (!folder.empty() && !ForceFolder(folder)) return fail(errno ? errno : EACCES);
    struct stat st {};
    if (::stat(fFileName.c_str(), &st) == 0 && S_ISREG(st.st_mode)) mode = st.st_mode & 07777;

    // mkstemp makes the temporary file for this user alone until it has its final permissions.
    std::string temp = fFileName + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(errno);
    int error = 0;
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, text) || ::fsync(fd) != 0) error = errno ? errno : EIO;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), fFileName.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return fail(error);
    }
    // The rename itself lasts only once the folder is on disk.
    const int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
