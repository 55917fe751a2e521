#include "shell/ViewerSettings.h"

#include <QLocale>
#include <QString>

#include "platform/IniFiles.h"

namespace {
const char Section[] = "Main";
}

bool LocaleUsesUSMeasurement() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
}

TViewerSettings TViewerSettings::Read(const TViewerSettings& defaults,
                                      const std::string& defaultDataSheetPath, const std::string& fileName) {
    const TIniFile ini(fileName);
    TViewerSettings s = defaults;
    s.BlackBackground = ini.ReadBool(Section, "BlackBackground", defaults.BlackBackground);
    s.ReverseMouseWheel = ini.ReadBool(Section, "ReverseMouseWheel", defaults.ReverseMouseWheel);
    s.LastPath = ini.ReadString(Section, "LastPath", defaults.LastPath);
    s.SearchDataSheetsOnline =
        ini.ReadBool(Section, "SearchDataSheetsOnline", defaults.SearchDataSheetsOnline);
    s.DataSheetPath = ini.ReadString(Section, "DataSheetPath", "");
    s.MetricUnits = ini.ReadBool(Section, "Units", !LocaleUsesUSMeasurement());
    if (s.DataSheetPath.empty()) s.DataSheetPath = defaultDataSheetPath;
    return s;
}

bool TViewerSettings::Write(const std::string& defaultDataSheetPath, const std::string& fileName,
                            std::string* errorText) const {
    TIniFile ini(fileName);
    ini.WriteBool(Section, "BlackBackground", BlackBackground);
    ini.WriteBool(Section, "ReverseMouseWheel", ReverseMouseWheel);
    ini.WriteString(Section, "LastPath", LastPath);
    ini.WriteBool(Section, "SearchDataSheetsOnline", SearchDataSheetsOnline);
    ini.WriteBool(Section, "Units", MetricUnits);
    // The default folder is stored as empty, so that it follows whoever runs the program.
    const bool isDefault =
        QString::fromStdString(DataSheetPath)
            .compare(QString::fromStdString(defaultDataSheetPath), Qt::CaseInsensitive) == 0;
    ini.WriteString(Section, "DataSheetPath", isDefault ? std::string() : DataSheetPath);
    return ini.UpdateFile(errorText);
}
