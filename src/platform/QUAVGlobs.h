#pragma once
// Product constants and the folders where the program keeps its files. Every folder function
// returns an absolute path with a trailing separator unless it names a file.
#include <string>

inline constexpr const char ProgramName[] = "KorvaneViewer";
// Version label: part of folder names and of every version text.
inline constexpr const char ProgramYear[] = "2023";
// Build label. Drawings record the build that wrote them; a drawing with a higher build than this
// one draws the "saved with a newer version" warning.
inline constexpr const char ProgramBuild[] = "112";
inline constexpr const char MakerName[] = "QUAV";
inline constexpr const char ManifoldProgramName[] = "Brevind";
inline constexpr bool IsViewer = true;

// "/" on this platform; kept as one name so that path building reads the same everywhere.
inline constexpr char PathDelimiter = '/';

std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path);

// The shared temporary folder: only ever written below under fresh, unguessable names.
std::string GetTempFolder();
// The program's scratch folder and the online library's download buffer in it, and the default
// datasheet folder: below the user's cache folder, so that nobody else can plant a link where the
// program writes. The Force functions make them for this user alone when they are first used (see
// ForcePrivateFolder) and return "" with ErrorText set when something in the way is refused.
std::string GetProgramTempFolder();
std::string GetWebLibTempFolder();
std::string GetDefaultDataSheetFolder();
std::string ForceProgramTempFolder(std::string* errorText = nullptr);
std::string ForceWebLibTempFolder(std::string* errorText = nullptr);
std::string ForceDefaultDataSheetFolder(std::string* errorText = nullptr);
std::string GetUserDataFolder();
std::string GetCommonDataFolder();
std::string GetLocalMakerFolder();
std::string GetIniFolder();
std::string GetIniFileName();
std::string GetWindowPosIniFileName();
// The message catalogs: "locale" beside the program (the build tree), else the installed
// <prefix>/share/korvane-viewer/locale. "" when neither exists.
std::string GetLocaleFolder();
// ProgramName + " " + ProgramYear + " build " + ProgramBuild.
std::string GetProgramVersionText();
