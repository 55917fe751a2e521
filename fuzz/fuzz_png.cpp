// PNG pictures placed on drawings, decoded from memory as from a picture file.
#include "FuzzPicture.h"

static constexpr uint8_t Signature[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodePictureInput(data, size, Signature);
    return 0;
}
