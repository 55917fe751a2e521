#include "platform/KnownFolders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Normal(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

// A variable counts only when it holds an absolute path; relative values are ignored as the XDG
// rules require, so a stray setting cannot scatter files below the current folder.
std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return {};
    return Normal(value);
}

std::string BelowHome(const char* relative) {
    return Normal(fs::path(KnownHomeFolder()) / relative);
}

} // namespace

std::string KnownHomeFolder() {
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        if (entry->pw_dir[0] == '/') return Normal(entry->pw_dir);
    return "/";
}

std::string KnownTempFolder() {
    std::string temp = AbsoluteEnv("TMPDIR");
    return temp.empty() ? std::string("/tmp") : temp;
}

std::string KnownRoamingDataFolder() {
    std::string folder = AbsoluteEnv("XDG_CONFIG_HOME");
    return folder.empty() ? BelowHome(".config") : folder;
}

std::string KnownLocalDataFolder() {
    std::string folder = AbsoluteEnv("XDG_CACHE_HOME");
    return folder.empty() ? BelowHome(".cache") : folder;
}

std::string KnownCommonDataFolder() {
    std::string folder = AbsoluteEnv("XDG_DATA_HOME");
    return folder.empty() ? BelowHome(".local/share") : folder;
}

std::string KnownProgramFileBaseName() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) return "korvane-viewer";
    return exe.stem().string();
}

std::string KnownProgramFolder() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error || exe.empty() || !exe.has_parent_path()) return {};
    return exe.parent_path().string();
}
