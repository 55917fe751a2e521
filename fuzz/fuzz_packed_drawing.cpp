// Opening a packed drawing archive (.kdx): the drawing and the print-preview pages it holds.
#include "FuzzPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OpenArchiveInput(data, size, "input.kdx",
                     [](const std::string& archive, TTempDirs& dirs, const TZipExtractLimits& limits) {
                         return OpenPackedDrawing(archive, dirs, limits);
                     });
    return 0;
}
