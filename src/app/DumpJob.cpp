#include "app/DumpJob.h"

#include <iostream>

#include "app/OpenForJob.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"

int RunDumpJob(const std::string& file) {
    const TJobDocument job;
    TSymbolFile& doc = *job;
    TTempDirs tempDirs; // unpack folders live as long as the job
    std::string error;
    if (!OpenForJob(doc, file, tempDirs, error)) {
        std::cerr << "korvane-viewer: " << error << "\n";
        return 1;
    }
    doc.DumpJson(std::cout);
    std::cout.flush();
    return std::cout.good() ? 0 : 1;
}
