#include "platform/QUAVGlobs.h"

#include "platform/KnownFolders.h"

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
    return GetTempFolder() + ProgramName + ProgramYear + "_temp" + PathDelimiter;
}

std::string GetWebLibTempFolder() {
    return GetProgramTempFolder() + "WebLib" + PathDelimiter;
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
