#pragma once
// The picture harnesses share this: decode from memory and check what the decoder promises.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "render/PictureFiles.h"

namespace {

// Inputs without the harness's signature would only meet the other decoder or none.
void DecodePictureInput(const uint8_t* data, size_t size, std::span<const uint8_t> signature) {
    if (size < signature.size() || !std::equal(signature.begin(), signature.end(), data)) return;
    // Smaller than the viewer's limits, so that the fuzzer spends its time in the decoders
    // rather than in filling large pictures.
    TPictureLimits limits;
    limits.MaxFileBytes = 1 << 20;
    limits.MaxSide = 8192;
    limits.MaxPixels = int64_t(1) << 22;
    TRgbaImage image;
    std::string reason;
    const TPictureStatus status = DecodePicture(std::span<const uint8_t>(data, size), image, reason, limits);
    if (status == TPictureStatus::psOk) {
        if (!image.Valid() || image.Width > limits.MaxSide || image.Height > limits.MaxSide ||
            int64_t(image.Width) * image.Height > limits.MaxPixels)
            __builtin_trap();
    } else if (reason.empty() || image.Width != 0 || !image.Pixels.empty()) {
        // A refusal gives a reason and leaves the image alone.
        __builtin_trap();
    }
}

} // namespace
