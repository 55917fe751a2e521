#pragma once
// Harness helpers: a private temporary folder per fuzzing process, removed when it ends, and
// writing one input into it for the readers that take file names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

class TFuzzFolder {
public:
    TFuzzFolder() {
        // In memory where the system offers it: the readers under test sync what they write,
        // which on a disk would cost more than the reading.
        std::error_code ec;
        const std::filesystem::path base = ::access("/dev/shm", W_OK) == 0
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path(ec);
        std::string tmpl = (base / "korvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        fPath = tmpl;
    }
    ~TFuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(fPath, ec);
    }
    TFuzzFolder(const TFuzzFolder&) = delete;
    TFuzzFolder& operator=(const TFuzzFolder&) = delete;

    const std::filesystem::path& Path() const { return fPath; }
    std::string File(const std::string& name) const { return (fPath / name).string(); }
    // Replaces the file Name with the bytes; returns its path.
    std::string Write(const std::string& name, const uint8_t* data, size_t size) const {
        const std::string p = File(name);
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        return p;
    }

private:
    std::filesystem::path fPath;
};

// One folder for the whole run; a static object, so it goes when the fuzzer exits normally.
inline TFuzzFolder& FuzzFolder() {
    static TFuzzFolder folder;
    return folder;
}
