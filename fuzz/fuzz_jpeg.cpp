// JPEG pictures placed on drawings, decoded from memory as from a picture file.
#include "FuzzPicture.h"

static constexpr uint8_t Signature[] = {0xFF, 0xD8, 0xFF};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodePictureInput(data, size, Signature);
    return 0;
}
