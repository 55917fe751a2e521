#include "platform/QUAVGlobs.h"

#include "platform/KnownFolders.h"

std::string IncludeTrailingPathDelimiter(const std::string& Path) {
    if (!Path.empty() && Path.back() == PathDelimiter) return Path;
    return Path + PathDelimiter;
}

std::string ExcludeTrailingPathDelimiter(const std::string& Path) {
    std::string Result = Path;
    // The root folder keeps its one separator: "" would mean the current folder.
    while (Result.size() > 1 && Result.back() == PathDelimiter)
        Result.pop_back();
    return Result;
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
