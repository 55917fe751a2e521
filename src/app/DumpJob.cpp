#include "app/DumpJob.h"

#include <iostream>

#include "app/OpenForJob.h"
#include "model/SymbolFile.h"

int RunDumpJob(const std::string& file) {
    TSymbolFile doc;
    std::string error;
    if (!OpenForJob(doc, file, error)) {
        std::cerr << "korvane-viewer: " << error << "\n";
        return 1;
    }
    std::cout << doc.DumpJson();
    return std::cout.good() ? 0 : 1;
}
