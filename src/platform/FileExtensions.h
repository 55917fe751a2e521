#pragma once
// File types told by extension. A type is the row number of the extension table; several rows
// share an extension, and the first row wins.
#include <cstdint>
#include <string>

using TFileType = uint8_t;

inline constexpr TFileType ftUnknown = 0;
inline constexpr TFileType ftNoExtension = 1;
inline constexpr TFileType ftPDF = 5;
inline constexpr TFileType ftDiagram = 6;
inline constexpr TFileType ftSymbol = 7;
inline constexpr TFileType ftZip = 11;
inline constexpr TFileType ftPackedDiagram = 62;
inline constexpr TFileType ftAllFiles = 66;
inline constexpr TFileType ftLastFileType = 66;

// Extension of a type with its leading point ("" for type 1); "" for 0 and unknown numbers.
const char* FileExtension(TFileType type);
// Description of a type as a message id (pass it through _() to show it); "Unknown" outside the table.
const char* FileTypeDescription(TFileType type);

// The extension of a file name: from the last point of its last path component, point included;
// empty when that component has no point.
std::string ExtractFileExt(const std::string& fileName);

// Type of FileName by its extension, ignoring case; 0 when no row matches.
TFileType GetFileType(const std::string& fileName);
// FileName with its extension replaced by that of Type. Numbers outside 1..66 leave it unchanged.
std::string SetFileType(const std::string& fileName, TFileType type);
// FileName without its extension when it is of type Type, else FileName unchanged.
std::string RemoveFileTypeExtension(const std::string& fileName, TFileType type);
// "*" + the extension of Type, the form file dialogs and FindFiles take.
std::string FileTypeMask(TFileType type);
