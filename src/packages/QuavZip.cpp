#include "packages/QuavZip.h"

#include "base/Translate.h"

#include <zip.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string SystemErrorText(int code) {
    return std::strerror(code);
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

// Creates the folders of RelativeDir below Root one at a time. Anything already there must be a
// real folder: a link is never followed, so a member cannot steer later writes elsewhere.
bool MakeFoldersBelow(const std::string& root, const std::string& relativeDir, std::string& failedPath,
                      int& failedErrno) {
    std::string current = root;
    size_t start = 0;
    while (start < relativeDir.size()) {
        size_t end = relativeDir.find('/', start);
        if (end == std::string::npos) end = relativeDir.size();
        current += '/';
        current.append(relativeDir, start, end - start);
        start = end + 1;
        struct stat info {};
        if (::lstat(current.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) continue;
            failedPath = current;
            failedErrno = ENOTDIR;
            return false;
        }
        if (::mkdir(current.c_str(), 0700) != 0 && errno != EEXIST) {
            failedPath = current;
            failedErrno = errno;
            return false;
        }
        if (::lstat(current.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            failedPath = current;
            failedErrno = ENOTDIR;
            return false;
        }
    }
    return true;
}

} // namespace

std::string SafeMemberPath(const std::string& storedName) {
    std::string name = storedName;
    for (char& c : name)
        if (c == '\\') c = '/';
    if (name.empty() || name[0] == '/') return {};
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.size() >= 2 && isLetter(name[0]) && name[1] == ':') return {};

    std::string result;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return {};
        if (!result.empty()) result += '/';
        result += part;
    }
    return result;
}

std::string FormatByteCount(uint64_t bytes) {
    static constexpr struct {
        uint64_t Size;
        const char* Unit;
    } units[] = {{uint64_t(1) << 30, "GiB"}, {uint64_t(1) << 20, "MiB"}, {uint64_t(1) << 10, "KiB"}};
    for (const auto& u : units) {
        if (bytes < u.Size) continue;
        char text[64];
        if (bytes % u.Size == 0)
            std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(bytes / u.Size),
                          u.Unit);
        else
            std::snprintf(text, sizeof text, "%.1f %s", static_cast<double>(bytes) / u.Size, u.Unit);
        return text;
    }
    return std::to_string(bytes) + " bytes";
}

TZipFile::TZipFile(const std::string& fileName, TZipMode openMode, TZipExtractLimits limits)
    : fLimits(limits) {
    Open(fileName, openMode);
}

TZipFile::~TZipFile() {
    try {
        Close();
    } catch (const EZipError&) {
        // A failed write cannot be reported from a destructor; Close() reports it when called.
    }
}

void TZipFile::Open(const std::string& zipName, TZipMode openMode) {
    // A reader or writer over another archive must not be kept under the new name.
    if (zipName != fZipName) Close();
    fZipName = zipName;
    fMode = openMode;
    switch (openMode) {
    case TZipMode::zmClosed:
        Close();
        break;
    case TZipMode::zmRead:
        CloseWriter();
        if (fZipReader == nullptr) OpenReader();
        break;
    case TZipMode::zmWrite:
    case TZipMode::zmAppend:
        CloseReader();
        if (fZipWriter == nullptr) {
            int code = 0;
            const int flags = openMode == TZipMode::zmWrite ? (ZIP_CREATE | ZIP_TRUNCATE) : ZIP_CREATE;
            fZipWriter = zip_open(fZipName.c_str(), flags, &code);
            if (fZipWriter == nullptr) {
                fMode = TZipMode::zmClosed;
                throw EZipError(
                    FormatText(_("The archive %s cannot be written: %s"), {fZipName, ZipErrorText(code)}));
            }
        }
        break;
    }
}

void TZipFile::OpenReader() {
    int code = 0;
    // The stricter checks compare the local headers with the central directory, which catches
    // archives cut short or patched.
    fZipReader = zip_open(fZipName.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (fZipReader == nullptr) {
        fMode = TZipMode::zmClosed;
        throw EZipError(FormatText(_("The archive %s cannot be read: %s"), {fZipName, ZipErrorText(code)}));
    }
    const zip_int64_t count = zip_get_num_entries(fZipReader, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(fZipReader, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_STRICT);
        std::string name = raw != nullptr ? raw : "";
        for (char& c : name)
            if (c == '\\') c = '/';
        if (!name.empty() && name.back() == '/') continue; // folder entry
        fMembers.push_back({static_cast<uint64_t>(i), name, SafeMemberPath(name)});
    }
}

void TZipFile::CloseReader() {
    if (fZipReader != nullptr) zip_discard(fZipReader);
    fZipReader = nullptr;
    fMembers.clear();
}

void TZipFile::CloseWriter() {
    if (fZipWriter == nullptr) return;
    zip* writer = fZipWriter;
    fZipWriter = nullptr;
    if (zip_close(writer) != 0) {
        const std::string reason = zip_error_strerror(zip_get_error(writer));
        zip_discard(writer);
        throw EZipError(FormatText(_("The archive %s cannot be written: %s"), {fZipName, reason}));
    }
}

void TZipFile::Close() {
    CloseReader();
    CloseWriter();
}

void TZipFile::RequireReading() const {
    if (fMode != TZipMode::zmRead || fZipReader == nullptr)
        throw EZipError(_("File must be open for reading"));
}

void TZipFile::Add(const std::string& fileName) {
    Add(fileName, fs::path(fileName).filename().string());
}

void TZipFile::Add(const std::string& fileName, const std::string& zipName) {
    if ((fMode != TZipMode::zmWrite && fMode != TZipMode::zmAppend) || fZipWriter == nullptr)
        throw EZipError(_("File must be open for writing"));
    std::string name = zipName;
    for (char& c : name)
        if (c == '\\') c = '/';
    zip_source_t* source = zip_source_file(fZipWriter, fileName.c_str(), 0, -1);
    if (source == nullptr)
        throw EZipError(FormatText(_("Cannot add %s to the archive %s: %s"),
                                   {fileName, fZipName, zip_strerror(fZipWriter)}));
    const zip_int64_t index =
        zip_file_add(fZipWriter, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        throw EZipError(FormatText(_("Cannot add %s to the archive %s: %s"),
                                   {fileName, fZipName, zip_strerror(fZipWriter)}));
    }
    zip_set_file_compression(fZipWriter, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 6);
}

int TZipFile::GetFileCount() const {
    return fZipReader != nullptr ? static_cast<int>(fMembers.size()) : 0;
}

std::string TZipFile::GetFileName(int index) const {
    if (index < 0 || index >= GetFileCount())
        throw EZipError(
            FormatText(_("There is no member %s in the archive %s"), {std::to_string(index), fZipName}));
    return fMembers[static_cast<size_t>(index)].Name;
}

bool TZipFile::Fail(const std::string& text) {
    fLastError = text;
    return false;
}

bool TZipFile::CheckMember(const TMember& member, uint64_t& declaredSize) {
    declaredSize = 0;
    if (member.SafePath.empty())
        return Fail(FormatText(_("The archive %s holds a member with an unsafe name (%s) that points outside "
                                 "its folder; it is not unpacked."),
                               {fZipName, member.Name}));

    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(fZipReader, member.Index, 0, &system, &attributes) == 0 &&
        system == ZIP_OPSYS_UNIX && S_ISLNK(attributes >> 16))
        return Fail(FormatText(_("The archive %s holds a symbolic link (%s); it is not unpacked."),
                               {fZipName, member.Name}));

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(fZipReader, member.Index, 0, &stat) != 0)
        return Fail(FormatText(_("The archive %s is damaged: %s"), {fZipName, zip_strerror(fZipReader)}));
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        return Fail(
            FormatText(_("The archive %s holds an encrypted member (%s), which the viewer cannot unpack."),
                       {fZipName, member.Name}));
    if ((stat.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(stat.comp_method, 0))
        return Fail(
            FormatText(_("The archive %s holds a member (%s) packed with a method the viewer cannot unpack."),
                       {fZipName, member.Name}));
    if (stat.valid & ZIP_STAT_SIZE) declaredSize = stat.size;
    return true;
}

bool TZipFile::WriteMember(const TMember& member, const std::string& destDir, uint64_t& written) {
    const std::string root =
        destDir.size() > 1 && destDir.back() == '/' ? destDir.substr(0, destDir.size() - 1) : destDir;
    const size_t slash = member.SafePath.find_last_of('/');
    if (slash != std::string::npos) {
        std::string failedPath;
        int failedErrno = 0;
        if (!MakeFoldersBelow(root, member.SafePath.substr(0, slash), failedPath, failedErrno))
            return Fail(
                FormatText(_("Cannot create the folder %s: %s"), {failedPath, SystemErrorText(failedErrno)}));
    }

    const std::string target = root + '/' + member.SafePath;
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return Fail(FormatText(_("Cannot write %s: %s"), {target, SystemErrorText(errno)}));

    zip_stat_t stat;
    zip_stat_init(&stat);
    zip_stat_index(fZipReader, member.Index, 0, &stat);
    const bool sizeKnown = (stat.valid & ZIP_STAT_SIZE) != 0;

    std::string error;
    uint64_t memberBytes = 0;
    zip_file_t* file = zip_fopen_index(fZipReader, member.Index, 0);
    if (file == nullptr) {
        error = FormatText(_("The member %s of the archive %s cannot be unpacked: %s"),
                           {member.Name, fZipName, zip_strerror(fZipReader)});
    } else {
        std::vector<char> buffer(64 * 1024);
        for (;;) {
            const zip_int64_t read = zip_fread(file, buffer.data(), buffer.size());
            if (read < 0) {
                error = FormatText(_("The member %s of the archive %s is damaged: %s"),
                                   {member.Name, fZipName, zip_file_strerror(file)});
                break;
            }
            if (read == 0) break;
            // The checks before unpacking trusted the declared size; a member that inflates past
            // it is damaged or built to fill the disk.
            memberBytes += static_cast<uint64_t>(read);
            if (sizeKnown && memberBytes > stat.size) {
                error =
                    FormatText(_("The member %s of the archive %s holds more data than its header declares; "
                                 "it is damaged and was not unpacked."),
                               {member.Name, fZipName});
                break;
            }
            if (written + static_cast<uint64_t>(read) > fLimits.MaxTotalBytes) {
                error = FormatText(_("The archive %s unpacks to more than %s; unpacking was stopped."),
                                   {fZipName, FormatByteCount(fLimits.MaxTotalBytes)});
                break;
            }
            if (!WriteAll(fd, buffer.data(), static_cast<size_t>(read))) {
                error = FormatText(_("Cannot write %s: %s"), {target, SystemErrorText(errno)});
                break;
            }
            written += static_cast<uint64_t>(read);
        }
        const int closeResult = zip_fclose(file);
        if (error.empty() && closeResult != 0)
            error = FormatText(_("The member %s of the archive %s is damaged: %s"),
                               {member.Name, fZipName, ZipErrorText(closeResult)});
    }

    if (error.empty() && sizeKnown && memberBytes != stat.size)
        error = FormatText(
            _("The member %s of the archive %s is shorter than its header declares; it is damaged."),
            {member.Name, fZipName});
    if (error.empty()) {
        if (stat.valid & ZIP_STAT_MTIME) {
            const timespec times[2] = {{0, UTIME_OMIT}, {stat.mtime, 0}};
            ::futimens(fd, times); // a file with the unpack time instead is no reason to fail
        }
    }
    if (::close(fd) != 0 && error.empty())
        error = FormatText(_("Cannot write %s: %s"), {target, SystemErrorText(errno)});
    if (!error.empty()) {
        ::unlink(target.c_str()); // no half-written file is left to be mistaken for the member
        return Fail(error);
    }
    return true;
}

bool TZipFile::Extract(int index, const std::string& destPath) {
    RequireReading();
    fLastError.clear();
    if (index < 0 || index >= GetFileCount())
        return Fail(
            FormatText(_("There is no member %s in the archive %s"), {std::to_string(index), fZipName}));
    const TMember& member = fMembers[static_cast<size_t>(index)];
    uint64_t declared = 0;
    if (!CheckMember(member, declared)) return false;
    if (declared > fLimits.MaxTotalBytes)
        return Fail(FormatText(_("The archive %s would unpack to more than %s; it is not unpacked."),
                               {fZipName, FormatByteCount(fLimits.MaxTotalBytes)}));
    std::error_code ignored;
    fs::create_directories(fs::path(destPath), ignored);
    uint64_t written = 0;
    return WriteMember(member, destPath, written);
}

bool TZipFile::Extract(const std::string& fileName, const std::string& destPath) {
    RequireReading();
    std::string wanted = fileName;
    for (char& c : wanted)
        if (c == '\\') c = '/';
    for (size_t i = 0; i < fMembers.size(); ++i)
        if (fMembers[i].Name == wanted) return Extract(static_cast<int>(i), destPath);
    fLastError.clear();
    return Fail(FormatText(_("There is no member %s in the archive %s"), {fileName, fZipName}));
}

int TZipFile::ExtractAll(const std::string& destDir) {
    RequireReading();
    fLastError.clear();

    // Refuse before the first byte is written, so that a hostile archive leaves nothing behind.
    uint64_t declaredTotal = 0;
    for (size_t i = 0; i < fMembers.size(); ++i) {
        uint64_t declared = 0;
        if (!CheckMember(fMembers[i], declared)) return static_cast<int>(i);
        declaredTotal += declared;
        if (declaredTotal > fLimits.MaxTotalBytes) {
            Fail(FormatText(_("The archive %s would unpack to more than %s; it is not unpacked."),
                            {fZipName, FormatByteCount(fLimits.MaxTotalBytes)}));
            return static_cast<int>(i);
        }
    }

    std::error_code error;
    fs::create_directories(fs::path(destDir), error);
    const fs::space_info space = fs::space(fs::path(destDir), error);
    if (!error && declaredTotal > space.available) {
        Fail(FormatText(_("There is not enough free space in %s to unpack the archive %s (%s needed)."),
                        {destDir, fZipName, FormatByteCount(declaredTotal)}));
        return 0;
    }

    uint64_t written = 0;
    for (size_t i = 0; i < fMembers.size(); ++i)
        if (!WriteMember(fMembers[i], destDir, written)) return static_cast<int>(i);
    return -1;
}

std::shared_ptr<IZipFile> CreateZipFile(const std::string& fileName, TZipMode openMode,
                                        TZipExtractLimits limits) {
    return std::make_shared<TZipFile>(fileName, openMode, limits);
}
