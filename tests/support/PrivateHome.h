#pragma once
// Points every folder a test program may write to (temporary, configuration, cache, data and
// runtime folders) into one private folder, removed when the program ends.
#include <cstdlib>
#include <filesystem>

#include "support/TempFiles.h"

inline void UsePrivateHomeFolders() {
    namespace fs = std::filesystem;
    static TTempDir home;
    for (const char* var :
         {"TMPDIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        const std::string path = home.File(var);
        fs::create_directories(path);
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
        setenv(var, path.c_str(), 1);
    }
}
