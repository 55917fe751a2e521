#include "platform/QUAVGlobs.h"

#include "platform/DirectoryHandling.h"
#include "platform/KnownFolders.h"

#include <filesystem>

namespace {

// The program's folders below the user's cache folder, relative to it.
std::string ProgramTempRelative() {
    return std::string(MakerName) + PathDelimiter + ProgramName + ProgramYear + "_temp";
}

std::string WebLibTempRelative() {
    return ProgramTempRelative() + PathDelimiter + "WebLib";
}

std::string DataSheetRelative() {
    return std::string(MakerName) + PathDelimiter + ProgramName + PathDelimiter + "Data Sheets";
}

std::string InCache(const std::string& relative) {
    return IncludeTrailingPathDelimiter(KnownLocalDataFolder()) + relative + PathDelimiter;
}

} // namespace

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == PathDelimiter) return path;
    return path + PathDelimiter;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path) {
    std::string result = path;
    // The root folder keeps its one separator: "" would mean the current folder.
    while (result.size() > 1 && result.back() == PathDelimiter)
        result.pop_back();
    return result;
}

std::string GetTempFolder() {
    return IncludeTrailingPathDelimiter(KnownTempFolder());
}

std::string GetProgramTempFolder() {
    return InCache(ProgramTempRelative());
}

std::string GetWebLibTempFolder() {
    return InCache(WebLibTempRelative());
}

std::string GetDefaultDataSheetFolder() {
    return InCache(DataSheetRelative());
}

std::string ForceProgramTempFolder(std::string* errorText) {
    return ForcePrivateFolder(KnownLocalDataFolder(), ProgramTempRelative(), errorText);
}

std::string ForceWebLibTempFolder(std::string* errorText) {
    return ForcePrivateFolder(KnownLocalDataFolder(), WebLibTempRelative(), errorText);
}

std::string ForceDefaultDataSheetFolder(std::string* errorText) {
    return ForcePrivateFolder(KnownLocalDataFolder(), DataSheetRelative(), errorText);
}

std::string GetUserDataFolder() {
    return IncludeTrailingPathDelimiter(KnownRoamingDataFolder()) + MakerName + PathDelimiter + ProgramName +
           PathDelimiter;
}

std::string GetCommonDataFolder() {
    return IncludeTrailingPathDelimiter(KnownCommonDataFolder()) + MakerName + PathDelimiter + ProgramName +
           PathDelimiter;
}

std::string GetLocalMakerFolder() {
    return IncludeTrailingPathDelimiter(KnownLocalDataFolder()) + MakerName + PathDelimiter;
}

std::string GetIniFolder() {
    return GetUserDataFolder() + "Ini" + PathDelimiter;
}

std::string GetIniFileName() {
    return GetIniFolder() + KnownProgramFileBaseName() + ".ini";
}

std::string GetWindowPosIniFileName() {
    return GetIniFolder() + KnownProgramFileBaseName() + "_WindowPos.ini";
}

std::string GetProgramVersionText() {
    return std::string(ProgramName) + " " + ProgramYear + " build " + ProgramBuild;
}

std::string GetLocaleFolder() {
    const std::string program = KnownProgramFolder();
    if (program.empty()) return {};
    for (const std::string& candidate : {program + "/locale", program + "/../share/korvane-viewer/locale"}) {
        std::error_code error;
        if (std::filesystem::is_directory(candidate, error))
            return IncludeTrailingPathDelimiter(std::filesystem::path(candidate).lexically_normal().string());
    }
    return {};
}
