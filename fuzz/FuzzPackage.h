#pragma once
// The package harnesses share this: the input becomes an archive file, is opened the way the
// window opens it, into unpack folders of a private temporary folder, which are removed again.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzFiles.h"
#include "packages/PackageOpener.h"

namespace {

constexpr size_t MaxArchiveInput = 1 << 20;

template <class TOpen> void OpenArchiveInput(const uint8_t* data, size_t size, const char* name, TOpen open) {
    if (size > MaxArchiveInput) return;
    const std::filesystem::path unpackRoot = FuzzFolder().Path() / "unpack";
    std::error_code ec;
    std::filesystem::create_directories(unpackRoot, ec);
    const std::string archive = FuzzFolder().Write(name, data, size);
    // A small unpack limit: a bomb is refused early instead of filling the disk.
    TZipExtractLimits limits;
    limits.MaxTotalBytes = uint64_t(16) << 20;
    {
        TTempDirs tempDirs(unpackRoot.string());
        const TPackageOpenResult result = open(archive, tempDirs, limits);
        if (result.Status != TPackageOpenStatus::posDrawingFound && !result.DrawingFileName.empty())
            __builtin_trap(); // a drawing named without being found
        // The folders go with tempDirs.
    }
    // Whatever the opener left beside its folders would stay behind: that is a finding too.
    if (!std::filesystem::is_empty(unpackRoot, ec) && !ec) __builtin_trap();
}

} // namespace
