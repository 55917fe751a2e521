// Opening a ZIP package: listing, checking and unpacking every member of a hostile archive.
#include "FuzzPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OpenArchiveInput(data, size, "input.zip",
                     [](const std::string& archive, TTempDirs& dirs, const TZipExtractLimits& limits) {
                         TPackageOpenResult result = OpenZipPackage(archive, dirs, limits);
                         // The listing the window shows for a package of several drawings.
                         if (result.Status == TPackageOpenStatus::posDrawingFound)
                             (void)FindDrawingsInZip(archive);
                         return result;
                     });
    return 0;
}
