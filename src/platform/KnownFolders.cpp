#include "platform/KnownFolders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Normal(const fs::path& P) {
    std::string S = P.lexically_normal().string();
    while (S.size() > 1 && S.back() == '/')
        S.pop_back();
    return S;
}

// A variable counts only when it holds an absolute path; relative values are ignored as the XDG
// rules require, so a stray setting cannot scatter files below the current folder.
std::string AbsoluteEnv(const char* Name) {
    const char* Value = std::getenv(Name);
    if (Value == nullptr || Value[0] != '/') return {};
    return Normal(Value);
}

std::string BelowHome(const char* Relative) {
    return Normal(fs::path(KnownHomeFolder()) / Relative);
}

} // namespace

std::string KnownHomeFolder() {
    std::string Home = AbsoluteEnv("HOME");
    if (!Home.empty()) return Home;
    if (const passwd* Entry = getpwuid(getuid()); Entry != nullptr && Entry->pw_dir != nullptr)
        if (Entry->pw_dir[0] == '/') return Normal(Entry->pw_dir);
    return "/";
}

std::string KnownTempFolder() {
    std::string Temp = AbsoluteEnv("TMPDIR");
    return Temp.empty() ? std::string("/tmp") : Temp;
}

std::string KnownRoamingDataFolder() {
    std::string Folder = AbsoluteEnv("XDG_CONFIG_HOME");
    return Folder.empty() ? BelowHome(".config") : Folder;
}

std::string KnownLocalDataFolder() {
    std::string Folder = AbsoluteEnv("XDG_CACHE_HOME");
    return Folder.empty() ? BelowHome(".cache") : Folder;
}

std::string KnownCommonDataFolder() {
    std::string Folder = AbsoluteEnv("XDG_DATA_HOME");
    return Folder.empty() ? BelowHome(".local/share") : Folder;
}

std::string KnownProgramFileBaseName() {
    std::error_code Error;
    fs::path Exe = fs::read_symlink("/proc/self/exe", Error);
    if (Error || Exe.empty()) return "korvane-viewer";
    return Exe.stem().string();
}
