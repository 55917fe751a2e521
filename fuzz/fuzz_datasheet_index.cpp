// The index file of the local datasheet folders, kept between runs in the user's cache folder:
// a damaged or planted index must be dropped or read, never trusted beyond its folders.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "datasheets/CachedFolder.h"

namespace {

constexpr size_t MaxInput = 1 << 20;
// Absolute folders that exist nowhere: the index is only read, never refreshed from a scan.
constexpr const char* Folders = "/kvfuzz/sheets;/kvfuzz/more/pdf/;relative";

const std::string& RelativeFolder() {
    static const std::string folder =
        (std::filesystem::absolute("relative") / "").lexically_normal().string();
    return folder;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MaxInput) return 0;
    const std::string cacheFile = FuzzFolder().Write("QuavLibrary__PDFs.Lib", data, size);
    TCachedFolder folder;
    folder.SetData(Folders, cacheFile, {".pdf", ".*"}, true);
    const std::vector<std::string>& names = folder.FileList();
    const std::vector<std::string>& paths = folder.PathList();
    if (names.size() != paths.size()) __builtin_trap();
    for (size_t i = 0; i < names.size(); ++i) {
        // Only files below the folders the index was made for are taken from it.
        const std::string normal = std::filesystem::path(paths[i]).lexically_normal().string();
        if (!StartsWith(normal, "/kvfuzz/sheets/") && !StartsWith(normal, "/kvfuzz/more/pdf/") &&
            !StartsWith(normal, RelativeFolder()))
            __builtin_trap();
        std::string found;
        if (!folder.FindFile(names[i], found, true)) __builtin_trap();
    }
    std::string found;
    (void)folder.FindFile("dv06.pdf", found, true);
    return 0;
}
