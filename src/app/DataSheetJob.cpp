#include "app/DataSheetJob.h"

#include <iostream>

#include "app/OpenForJob.h"
#include "base/Translate.h"
#include "components/SymbolObjectSymbol.h"
#include "datasheets/DataSheetLookup.h"
#include "document/DocumentOpener.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "platform/DirectoryHandling.h"
#include "platform/QUAVGlobs.h"
#include "shell/ViewerSettings.h"

int RunDataSheetJob(const std::string& file, int handle) {
    const TJobDocument job;
    TSymbolFile& doc = *job;
    TTempDirs tempDirs;
    std::string error;
    TOpenResult opened;
    if (!OpenForJob(doc, file, tempDirs, error, &opened)) {
        std::cerr << "korvane-viewer: " << error << "\n";
        return 1;
    }
    TSymbolObject* object = nullptr;
    doc.Symbol().FindByHandle(handle, object);
    if (!object || !TypeSet({soSymbol, soIBorder}).test(object->fSymbolObjectSubType)) {
        std::cerr << "korvane-viewer: "
                  << FormatText(_("%s has no component with the handle %s."), {file, std::to_string(handle)})
                  << "\n";
        return 1;
    }
    const std::string value = object->fBOMList.DataSheet();
    if (value.empty()) {
        std::cerr << "korvane-viewer: "
                  << FormatText(_("The component with the handle %s names no datasheet."),
                                {std::to_string(handle)})
                  << "\n";
        return 1;
    }
    // The window's options: its units, its datasheet folders and whether it may go online.
    const TViewerSettings settings =
        TViewerSettings::Read(TViewerSettings(), GetDefaultDataSheetFolder(), GetIniFileName());
    TWebLibCommunicator online(LoadProxySettingsFromFile());
    online.InitializeConnections();
    TDataSheetLookup lookup(&online, GetDataSheetDownloadFolder());
    lookup.SetLocalFolders(settings.DataSheetPath, GetDataSheetIndexFileName());
    const std::vector<std::string> found =
        lookup.FindDataSheets(value, ExtractFileDir(GetLongFileName(opened.DrawingFileName)),
                              settings.MetricUnits, settings.SearchDataSheetsOnline);
    if (found.empty()) {
        std::cerr << "korvane-viewer: " << FormatText(_("No datasheet %s was found."), {value}) << "\n";
        return 1;
    }
    for (const std::string& path : found)
        std::cout << path << "\n";
    return std::cout.good() ? 0 : 1;
}
