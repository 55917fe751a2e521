#pragma once
// PNG and JPEG pictures read into straight RGBA pixels. Picture files come with drawings from
// anywhere, so nothing in them is trusted: only regular files are opened, their size and the
// picture's dimensions are checked before any pixel is allocated, and a decoder that gives up
// leaves a reason for the user instead of ending the program.
#include "render/RasterSurface.h"

#include <cstdint>
#include <span>
#include <string>

enum class TPictureStatus : uint8_t {
    psOk,
    psMissing,       // no file of that name
    psNotAFile,      // a folder, FIFO, device or socket
    psUnreadable,    // it exists but cannot be opened or read
    psTooLarge,      // the file or the picture is beyond the limits
    psUnknownFormat, // neither a PNG nor a JPEG picture
    psDamaged,       // the decoder refused the data
};

struct TPictureLimits {
    uint64_t MaxFileBytes = uint64_t(64) << 20;
    int32_t MaxSide = 65535;
    // Four bytes a pixel: the default keeps one picture within 256 MiB.
    int64_t MaxPixels = int64_t(1) << 26;
};

// Reads the file into Image. Anything but psOk leaves Image as it was and puts a translated
// sentence saying why into Reason (the caller names the file).
TPictureStatus ReadPictureFile(const std::string& fileName, TRgbaImage& image, std::string& reason,
                               const TPictureLimits& limits = {});
// The same for a picture held in memory, told apart by its signature.
TPictureStatus DecodePicture(std::span<const uint8_t> bytes, TRgbaImage& image, std::string& reason,
                             const TPictureLimits& limits = {});
