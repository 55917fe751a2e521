#include "app/BomJob.h"

#include <iostream>

#include "app/OpenForJob.h"
#include "document/BOMRows.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "platform/QUAVGlobs.h"
#include "shell/ViewerSettings.h"

int RunBomJob(const std::string& file, std::optional<bool> metricUnits, bool csv) {
    const bool metric = metricUnits.value_or(
        TViewerSettings::Read(TViewerSettings(), GetDefaultDataSheetFolder(), GetIniFileName()).MetricUnits);
    const TJobDocument job;
    TSymbolFile& doc = *job;
    TTempDirs tempDirs; // unpack folders live as long as the job
    std::string error;
    if (!OpenForJob(doc, file, tempDirs, error)) {
        std::cerr << "korvane-viewer: " << error << "\n";
        return 1;
    }
    const std::vector<TBOMRow> rows = CollectBOMRows(doc);
    std::cout << (csv ? BOMCsv(rows, metric) : BOMText(rows, metric));
    std::cout.flush();
    return std::cout.good() ? 0 : 1;
}
