#pragma once
// The options the viewer keeps between runs, in section "Main" of the settings file. The window
// reads them at its first activation and writes them when it closes; command-line jobs read them
// too, so that a job looks things up as the window would.
#include <string>

struct TViewerSettings {
    bool BlackBackground = true;
    bool ReverseMouseWheel = false;
    std::string LastPath;
    bool SearchDataSheetsOnline = true;
    // Empty in the file means the default datasheet folder.
    std::string DataSheetPath;
    bool MetricUnits = true;

    // The settings of FileName over Defaults: a missing or unreadable value keeps the default,
    // except "DataSheetPath" (empty, then DefaultDataSheetPath) and "Units" (from the locale).
    static TViewerSettings Read(const TViewerSettings& defaults, const std::string& defaultDataSheetPath,
                                const std::string& fileName);
    // False, with ErrorText, when the file cannot be written.
    bool Write(const std::string& defaultDataSheetPath, const std::string& fileName,
               std::string* errorText = nullptr) const;
};

// True when the user's locale measures in U.S. units; the units then default to imperial.
bool LocaleUsesUSMeasurement();
