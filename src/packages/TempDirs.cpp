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
    static std::mt19937 generator{std::random_device{}()};
    static std::uniform_int_distribution<uint32_t> range(0, 2147483646);
    return range(generator);
}

// Enough attempts that only a flood of planted names, not bad luck, makes a run give up.
constexpr int MaxAttempts = 100;

} // namespace

TTempDirs::TTempDirs(std::string tempFolder, TRandom random)
    : fTempFolder(ExcludeTrailingPathDelimiter(tempFolder.empty() ? GetTempFolder() : tempFolder)),
      fRandom(random ? std::move(random) : TRandom(DefaultRandom)) {}

TTempDirs::~TTempDirs() {
    DeleteTempDirs();
    // Before the lists go: a clean-up running now still reads them.
    fTerminationCleanup.reset();
}

void TTempDirs::DeleteOnTerminationSignals() {
    if (!fTerminationCleanup)
        fTerminationCleanup = std::make_unique<TTerminationCleanup>([this] { DeleteFoldersOnly(); });
}

void TTempDirs::DeleteFoldersOnly() const {
    const auto lock = LockAgainstTermination();
    for (const TCreated& entry : fCreated)
        if (IsOurs(entry)) {
            std::error_code ignored;
            fs::remove_all(fs::path(entry.Path), ignored);
        }
}

std::string TTempDirs::CreateUnpackFolder(const std::string& prefix, std::string* errorText) {
    const auto lock = LockAgainstTermination();
    int lastErrno = EEXIST;
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        const std::string folder =
            fTempFolder + PathDelimiter + prefix + std::to_string(fRandom() % 2147483647u);
        // mkdir fails on anything already there, a dangling link included: the folder is ours alone.
        if (::mkdir(folder.c_str(), 0700) != 0) {
            lastErrno = errno;
            if (lastErrno == EEXIST) continue;
            break;
        }
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            lastErrno = errno != 0 ? errno : ENOTDIR;
            break;
        }
        ::chmod(folder.c_str(), 0700); // the umask may have taken owner bits away
        fCreated.push_back({folder, info.st_dev, info.st_ino});
        fFolders.push_back(folder);
        return folder;
    }
    if (errorText != nullptr)
        *errorText =
            FormatText(_("Cannot create a folder in %s: %s"), {fTempFolder, std::strerror(lastErrno)});
    return {};
}

bool TTempDirs::IsOurs(const TCreated& entry) const {
    struct stat info {};
    if (::lstat(entry.Path.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_dev != entry.Device || info.st_ino != entry.Inode) return false;
    // Still directly inside the temporary folder it was made in.
    return fs::path(entry.Path).parent_path() == fs::path(fTempFolder);
}

void TTempDirs::DeleteTempDir(const std::string& folder) {
    const auto lock = LockAgainstTermination();
    auto it =
        std::find_if(fCreated.begin(), fCreated.end(), [&](const TCreated& c) { return c.Path == folder; });
    if (it == fCreated.end()) return;
    if (IsOurs(*it)) {
        std::error_code ignored;
        fs::remove_all(fs::path(it->Path), ignored);
    }
    struct stat info {};
    if (::lstat(it->Path.c_str(), &info) == 0 && IsOurs(*it)) return; // left for the next attempt
    fFolders.erase(std::remove(fFolders.begin(), fFolders.end(), it->Path), fFolders.end());
    fCreated.erase(it);
}

void TTempDirs::DeleteTempDirs() {
    const auto lock = LockAgainstTermination();
    const std::vector<std::string> folders = fFolders;
    for (const std::string& folder : folders)
        DeleteTempDir(folder);
}
