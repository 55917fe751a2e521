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

std::string ZipErrorText(int Code) {
    zip_error_t Error;
    zip_error_init_with_code(&Error, Code);
    std::string Text = zip_error_strerror(&Error);
    zip_error_fini(&Error);
    return Text;
}

std::string SystemErrorText(int Code) {
    return std::strerror(Code);
}

bool WriteAll(int Fd, const char* Data, size_t Size) {
    while (Size > 0) {
        const ssize_t Done = ::write(Fd, Data, Size);
        if (Done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        Data += Done;
        Size -= static_cast<size_t>(Done);
    }
    return true;
}

// Creates the folders of RelativeDir below Root one at a time. Anything already there must be a
// real folder: a link is never followed, so a member cannot steer later writes elsewhere.
bool MakeFoldersBelow(const std::string& Root, const std::string& RelativeDir, std::string& FailedPath,
                      int& FailedErrno) {
    std::string Current = Root;
    size_t Start = 0;
    while (Start < RelativeDir.size()) {
        size_t End = RelativeDir.find('/', Start);
        if (End == std::string::npos) End = RelativeDir.size();
        Current += '/';
        Current.append(RelativeDir, Start, End - Start);
        Start = End + 1;
        struct stat Info {};
        if (::lstat(Current.c_str(), &Info) == 0) {
            if (S_ISDIR(Info.st_mode)) continue;
            FailedPath = Current;
            FailedErrno = ENOTDIR;
            return false;
        }
        if (::mkdir(Current.c_str(), 0700) != 0 && errno != EEXIST) {
            FailedPath = Current;
            FailedErrno = errno;
            return false;
        }
        if (::lstat(Current.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode)) {
            FailedPath = Current;
            FailedErrno = ENOTDIR;
            return false;
        }
    }
    return true;
}

} // namespace

std::string SafeMemberPath(const std::string& StoredName) {
    std::string Name = StoredName;
    for (char& C : Name)
        if (C == '\\') C = '/';
    if (Name.empty() || Name[0] == '/') return {};
    const auto IsLetter = [](char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); };
    if (Name.size() >= 2 && IsLetter(Name[0]) && Name[1] == ':') return {};

    std::string Result;
    size_t Start = 0;
    while (Start <= Name.size()) {
        size_t End = Name.find('/', Start);
        if (End == std::string::npos) End = Name.size();
        const std::string Part = Name.substr(Start, End - Start);
        Start = End + 1;
        if (Part.empty() || Part == ".") continue;
        if (Part == "..") return {};
        if (!Result.empty()) Result += '/';
        Result += Part;
    }
    return Result;
}

std::string FormatByteCount(uint64_t Bytes) {
    static constexpr struct {
        uint64_t Size;
        const char* Unit;
    } Units[] = {{uint64_t(1) << 30, "GiB"}, {uint64_t(1) << 20, "MiB"}, {uint64_t(1) << 10, "KiB"}};
    for (const auto& U : Units) {
        if (Bytes < U.Size) continue;
        char Text[64];
        if (Bytes % U.Size == 0)
            std::snprintf(Text, sizeof Text, "%llu %s", static_cast<unsigned long long>(Bytes / U.Size),
                          U.Unit);
        else
            std::snprintf(Text, sizeof Text, "%.1f %s", static_cast<double>(Bytes) / U.Size, U.Unit);
        return Text;
    }
    return std::to_string(Bytes) + " bytes";
}

TZipFile::TZipFile(const std::string& FileName, TZipMode OpenMode, TZipExtractLimits Limits)
    : fLimits(Limits) {
    Open(FileName, OpenMode);
}

TZipFile::~TZipFile() {
    try {
        Close();
    } catch (const EZipError&) {
        // A failed write cannot be reported from a destructor; Close() reports it when called.
    }
}

void TZipFile::Open(const std::string& ZipName, TZipMode OpenMode) {
    // A reader or writer over another archive must not be kept under the new name.
    if (ZipName != fZipName) Close();
    fZipName = ZipName;
    fMode = OpenMode;
    switch (OpenMode) {
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
            int Code = 0;
            const int Flags = OpenMode == TZipMode::zmWrite ? (ZIP_CREATE | ZIP_TRUNCATE) : ZIP_CREATE;
            fZipWriter = zip_open(fZipName.c_str(), Flags, &Code);
            if (fZipWriter == nullptr) {
                fMode = TZipMode::zmClosed;
                throw EZipError(
                    FormatText(_("The archive %s cannot be written: %s"), {fZipName, ZipErrorText(Code)}));
            }
        }
        break;
    }
}

void TZipFile::OpenReader() {
    int Code = 0;
    // The stricter checks compare the local headers with the central directory, which catches
    // archives cut short or patched.
    fZipReader = zip_open(fZipName.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &Code);
    if (fZipReader == nullptr) {
        fMode = TZipMode::zmClosed;
        throw EZipError(FormatText(_("The archive %s cannot be read: %s"), {fZipName, ZipErrorText(Code)}));
    }
    const zip_int64_t Count = zip_get_num_entries(fZipReader, 0);
    for (zip_int64_t I = 0; I < Count; ++I) {
        const char* Raw = zip_get_name(fZipReader, static_cast<zip_uint64_t>(I), ZIP_FL_ENC_STRICT);
        std::string Name = Raw != nullptr ? Raw : "";
        for (char& C : Name)
            if (C == '\\') C = '/';
        if (!Name.empty() && Name.back() == '/') continue; // folder entry
        fMembers.push_back({static_cast<uint64_t>(I), Name, SafeMemberPath(Name)});
    }
}

void TZipFile::CloseReader() {
    if (fZipReader != nullptr) zip_discard(fZipReader);
    fZipReader = nullptr;
    fMembers.clear();
}

void TZipFile::CloseWriter() {
    if (fZipWriter == nullptr) return;
    zip* Writer = fZipWriter;
    fZipWriter = nullptr;
    if (zip_close(Writer) != 0) {
        const std::string Reason = zip_error_strerror(zip_get_error(Writer));
        zip_discard(Writer);
        throw EZipError(FormatText(_("The archive %s cannot be written: %s"), {fZipName, Reason}));
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

void TZipFile::Add(const std::string& FileName) {
    Add(FileName, fs::path(FileName).filename().string());
}

void TZipFile::Add(const std::string& FileName, const std::string& ZipName) {
    if ((fMode != TZipMode::zmWrite && fMode != TZipMode::zmAppend) || fZipWriter == nullptr)
        throw EZipError(_("File must be open for writing"));
    std::string Name = ZipName;
    for (char& C : Name)
        if (C == '\\') C = '/';
    zip_source_t* Source = zip_source_file(fZipWriter, FileName.c_str(), 0, -1);
    if (Source == nullptr)
        throw EZipError(FormatText(_("Cannot add %s to the archive %s: %s"),
                                   {FileName, fZipName, zip_strerror(fZipWriter)}));
    const zip_int64_t Index =
        zip_file_add(fZipWriter, Name.c_str(), Source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (Index < 0) {
        zip_source_free(Source);
        throw EZipError(FormatText(_("Cannot add %s to the archive %s: %s"),
                                   {FileName, fZipName, zip_strerror(fZipWriter)}));
    }
    zip_set_file_compression(fZipWriter, static_cast<zip_uint64_t>(Index), ZIP_CM_DEFLATE, 6);
}

int TZipFile::GetFileCount() const {
    return fZipReader != nullptr ? static_cast<int>(fMembers.size()) : 0;
}

std::string TZipFile::GetFileName(int Index) const {
    if (Index < 0 || Index >= GetFileCount())
        throw EZipError(
            FormatText(_("There is no member %s in the archive %s"), {std::to_string(Index), fZipName}));
    return fMembers[static_cast<size_t>(Index)].Name;
}

bool TZipFile::Fail(const std::string& Text) {
    fLastError = Text;
    return false;
}

bool TZipFile::CheckMember(const TMember& Member, uint64_t& DeclaredSize) {
    DeclaredSize = 0;
    if (Member.SafePath.empty())
        return Fail(FormatText(_("The archive %s holds a member with an unsafe name (%s) that points outside "
                                 "its folder; it is not unpacked."),
                               {fZipName, Member.Name}));

    zip_uint8_t System = 0;
    zip_uint32_t Attributes = 0;
    if (zip_file_get_external_attributes(fZipReader, Member.Index, 0, &System, &Attributes) == 0 &&
        System == ZIP_OPSYS_UNIX && S_ISLNK(Attributes >> 16))
        return Fail(FormatText(_("The archive %s holds a symbolic link (%s); it is not unpacked."),
                               {fZipName, Member.Name}));

    zip_stat_t Stat;
    zip_stat_init(&Stat);
    if (zip_stat_index(fZipReader, Member.Index, 0, &Stat) != 0)
        return Fail(FormatText(_("The archive %s is damaged: %s"), {fZipName, zip_strerror(fZipReader)}));
    if ((Stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && Stat.encryption_method != ZIP_EM_NONE)
        return Fail(
            FormatText(_("The archive %s holds an encrypted member (%s), which the viewer cannot unpack."),
                       {fZipName, Member.Name}));
    if ((Stat.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(Stat.comp_method, 0))
        return Fail(
            FormatText(_("The archive %s holds a member (%s) packed with a method the viewer cannot unpack."),
                       {fZipName, Member.Name}));
    if (Stat.valid & ZIP_STAT_SIZE) DeclaredSize = Stat.size;
    return true;
}

bool TZipFile::WriteMember(const TMember& Member, const std::string& DestDir, uint64_t& Written) {
    const std::string Root =
        DestDir.size() > 1 && DestDir.back() == '/' ? DestDir.substr(0, DestDir.size() - 1) : DestDir;
    const size_t Slash = Member.SafePath.find_last_of('/');
    if (Slash != std::string::npos) {
        std::string FailedPath;
        int FailedErrno = 0;
        if (!MakeFoldersBelow(Root, Member.SafePath.substr(0, Slash), FailedPath, FailedErrno))
            return Fail(
                FormatText(_("Cannot create the folder %s: %s"), {FailedPath, SystemErrorText(FailedErrno)}));
    }

    const std::string Target = Root + '/' + Member.SafePath;
    const int Fd = ::open(Target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (Fd < 0) return Fail(FormatText(_("Cannot write %s: %s"), {Target, SystemErrorText(errno)}));

    zip_stat_t Stat;
    zip_stat_init(&Stat);
    zip_stat_index(fZipReader, Member.Index, 0, &Stat);
    const bool SizeKnown = (Stat.valid & ZIP_STAT_SIZE) != 0;

    std::string Error;
    uint64_t MemberBytes = 0;
    zip_file_t* Member_ = zip_fopen_index(fZipReader, Member.Index, 0);
    if (Member_ == nullptr) {
        Error = FormatText(_("The member %s of the archive %s cannot be unpacked: %s"),
                           {Member.Name, fZipName, zip_strerror(fZipReader)});
    } else {
        std::vector<char> Buffer(64 * 1024);
        for (;;) {
            const zip_int64_t Read = zip_fread(Member_, Buffer.data(), Buffer.size());
            if (Read < 0) {
                Error = FormatText(_("The member %s of the archive %s is damaged: %s"),
                                   {Member.Name, fZipName, zip_file_strerror(Member_)});
                break;
            }
            if (Read == 0) break;
            // The checks before unpacking trusted the declared size; a member that inflates past
            // it is damaged or built to fill the disk.
            MemberBytes += static_cast<uint64_t>(Read);
            if (SizeKnown && MemberBytes > Stat.size) {
                Error =
                    FormatText(_("The member %s of the archive %s holds more data than its header declares; "
                                 "it is damaged and was not unpacked."),
                               {Member.Name, fZipName});
                break;
            }
            if (Written + static_cast<uint64_t>(Read) > fLimits.MaxTotalBytes) {
                Error = FormatText(_("The archive %s unpacks to more than %s; unpacking was stopped."),
                                   {fZipName, FormatByteCount(fLimits.MaxTotalBytes)});
                break;
            }
            if (!WriteAll(Fd, Buffer.data(), static_cast<size_t>(Read))) {
                Error = FormatText(_("Cannot write %s: %s"), {Target, SystemErrorText(errno)});
                break;
            }
            Written += static_cast<uint64_t>(Read);
        }
        const int CloseResult = zip_fclose(Member_);
        if (Error.empty() && CloseResult != 0)
            Error = FormatText(_("The member %s of the archive %s is damaged: %s"),
                               {Member.Name, fZipName, ZipErrorText(CloseResult)});
    }

    if (Error.empty() && SizeKnown && MemberBytes != Stat.size)
        Error = FormatText(
            _("The member %s of the archive %s is shorter than its header declares; it is damaged."),
            {Member.Name, fZipName});
    if (Error.empty()) {
        if (Stat.valid & ZIP_STAT_MTIME) {
            const timespec Times[2] = {{0, UTIME_OMIT}, {Stat.mtime, 0}};
            ::futimens(Fd, Times); // a file with the unpack time instead is no reason to fail
        }
    }
    if (::close(Fd) != 0 && Error.empty())
        Error = FormatText(_("Cannot write %s: %s"), {Target, SystemErrorText(errno)});
    if (!Error.empty()) {
        ::unlink(Target.c_str()); // no half-written file is left to be mistaken for the member
        return Fail(Error);
    }
    return true;
}

bool TZipFile::Extract(int Index, const std::string& DestPath) {
    RequireReading();
    fLastError.clear();
    if (Index < 0 || Index >= GetFileCount())
        return Fail(
            FormatText(_("There is no member %s in the archive %s"), {std::to_string(Index), fZipName}));
    const TMember& Member = fMembers[static_cast<size_t>(Index)];
    uint64_t Declared = 0;
    if (!CheckMember(Member, Declared)) return false;
    if (Declared > fLimits.MaxTotalBytes)
        return Fail(FormatText(_("The archive %s would unpack to more than %s; it is not unpacked."),
                               {fZipName, FormatByteCount(fLimits.MaxTotalBytes)}));
    std::error_code Ignored;
    fs::create_directories(fs::path(DestPath), Ignored);
    uint64_t Written = 0;
    return WriteMember(Member, DestPath, Written);
}

bool TZipFile::Extract(const std::string& FileName, const std::string& DestPath) {
    RequireReading();
    std::string Wanted = FileName;
    for (char& C : Wanted)
        if (C == '\\') C = '/';
    for (size_t I = 0; I < fMembers.size(); ++I)
        if (fMembers[I].Name == Wanted) return Extract(static_cast<int>(I), DestPath);
    fLastError.clear();
    return Fail(FormatText(_("There is no member %s in the archive %s"), {FileName, fZipName}));
}

int TZipFile::ExtractAll(const std::string& DestDir) {
    RequireReading();
    fLastError.clear();

    // Refuse before the first byte is written, so that a hostile archive leaves nothing behind.
    uint64_t DeclaredTotal = 0;
    for (size_t I = 0; I < fMembers.size(); ++I) {
        uint64_t Declared = 0;
        if (!CheckMember(fMembers[I], Declared)) return static_cast<int>(I);
        DeclaredTotal += Declared;
        if (DeclaredTotal > fLimits.MaxTotalBytes) {
            Fail(FormatText(_("The archive %s would unpack to more than %s; it is not unpacked."),
                            {fZipName, FormatByteCount(fLimits.MaxTotalBytes)}));
            return static_cast<int>(I);
        }
    }

    std::error_code Error;
    fs::create_directories(fs::path(DestDir), Error);
    const fs::space_info Space = fs::space(fs::path(DestDir), Error);
    if (!Error && DeclaredTotal > Space.available) {
        Fail(FormatText(_("There is not enough free space in %s to unpack the archive %s (%s needed)."),
                        {DestDir, fZipName, FormatByteCount(DeclaredTotal)}));
        return 0;
    }

    uint64_t Written = 0;
    for (size_t I = 0; I < fMembers.size(); ++I)
        if (!WriteMember(fMembers[I], DestDir, Written)) return static_cast<int>(I);
    return -1;
}

std::shared_ptr<IZipFile> CreateZipFile(const std::string& FileName, TZipMode OpenMode,
                                        TZipExtractLimits Limits) {
    return std::make_shared<TZipFile>(FileName, OpenMode, Limits);
}
