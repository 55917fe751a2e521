#include "packages/TempDirs.h"

#include "base/Translate.h"
#include "platform/QUAVGlobs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

uint32_t DefaultRandom() {
    static std::mt19937 Generator{std::random_device{}()};
    static std::uniform_int_distribution<uint32_t> Range(0, 2147483646);
    return Range(Generator);
}

// Enough attempts that only a flood of planted names, not bad luck, makes a run give up.
constexpr int MaxAttempts = 100;

} // namespace

TTempDirs::TTempDirs(std::string TempFolder, TRandom Random)
    : fTempFolder(ExcludeTrailingPathDelimiter(TempFolder.empty() ? GetTempFolder() : TempFolder)),
      fRandom(Random ? std::move(Random) : TRandom(DefaultRandom)) {}

TTempDirs::~TTempDirs() {
    DeleteTempDirs();
}

std::string TTempDirs::CreateUnpackFolder(const std::string& Prefix, std::string* ErrorText) {
    int LastErrno = EEXIST;
    for (int Attempt = 0; Attempt < MaxAttempts; ++Attempt) {
        const std::string Folder =
            fTempFolder + PathDelimiter + Prefix + std::to_string(fRandom() % 2147483647u);
        // mkdir fails on anything already there, a dangling link included: the folder is ours alone.
        if (::mkdir(Folder.c_str(), 0700) != 0) {
            LastErrno = errno;
            if (LastErrno == EEXIST) continue;
            break;
        }
        struct stat Info {};
        if (::lstat(Folder.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode)) {
            LastErrno = errno != 0 ? errno : ENOTDIR;
            break;
        }
        ::chmod(Folder.c_str(), 0700); // the umask may have taken owner bits away
        fCreated.push_back({Folder, Info.st_dev, Info.st_ino});
        fFolders.push_back(Folder);
        return Folder;
    }
    if (ErrorText != nullptr)
        *ErrorText =
            FormatText(_("Cannot create a folder in %s: %s"), {fTempFolder, std::strerror(LastErrno)});
    return {};
}

bool TTempDirs::IsOurs(const TCreated& Entry) const {
    struct stat Info {};
    if (::lstat(Entry.Path.c_str(), &Info) != 0) return false;
    if (!S_ISDIR(Info.st_mode) || Info.st_dev != Entry.Device || Info.st_ino != Entry.Inode) return false;
    // Still directly inside the temporary folder it was made in.
    return fs::path(Entry.Path).parent_path() == fs::path(fTempFolder);
}

void TTempDirs::DeleteTempDir(const std::string& Folder) {
    auto It =
        std::find_if(fCreated.begin(), fCreated.end(), [&](const TCreated& C) { return C.Path == Folder; });
    if (It == fCreated.end()) return;
    if (IsOurs(*It)) {
        std::error_code Ignored;
        fs::remove_all(fs::path(It->Path), Ignored);
    }
    struct stat Info {};
    if (::lstat(It->Path.c_str(), &Info) == 0 && IsOurs(*It)) return; // left for the next attempt
    fFolders.erase(std::remove(fFolders.begin(), fFolders.end(), It->Path), fFolders.end());
    fCreated.erase(It);
}

void TTempDirs::DeleteTempDirs() {
    const std::vector<std::string> Folders = fFolders;
    for (const std::string& Folder : Folders)
        DeleteTempDir(Folder);
}
