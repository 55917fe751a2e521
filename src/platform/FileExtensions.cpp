#include "platform/FileExtensions.h"

#include <array>
#include <string_view>

namespace {

struct TFileTypeRow {
    const char* Extension;
    const char* Description;
};

// Row 0 is the "Unknown" type: it has no extension and no row matches it.
constexpr std::array<TFileTypeRow, ftLastFileType + 1> FileTypeTable{{
    {"", "Unknown"},
    {"", "No Extension"},
    {".csv", "Character Separated Value File"},
    {".xml", "XML File"},
    {".dxf", "DXF File"},
    {".pdf", "Adobe Acrobat Document"},
    {".kdf", "Korvane Diagram File"},
    {".sym", "Korvane Symbol File"},
    {".kcf", "Korvane Component File"},
    {".mnf", "Brevind Manifold File"},
    {".ptr", "Brevind Pattern File"},
    {".zip", "Compressed File"},
    {".xls", "Excel File"},
    {".txt", "Text Document"},
    {".jpg", "JPG Image File"},
    {".jpeg", "JPEG Image File"},
    {".dbf", "Database File"},
    {".bmp", "Bitmap File"},
    {".rtf", "Rich Text File"},
    {".doc", "Document File"},
    {".def", "Defenition File"},
    {".xlsx", "Excel File"},
    {".SQLite", "SQLite File"},
    {".dwg", "DWG File"},
    {".ini", "INI File"},
    {".lib", "Library File"},
    {".xlt", "Excel Template"},
    {".xltx", "Excel Template"},
    {".ipt", "Part File"},
    {".iam", "Assembly File"},
    {".sldprt", "Part File"},
    {".sldasm", "Assembly File"},
    {".par", "Part File"},
    {".asm", "Assembly File"},
    {".pkg", "Drawing File"},
    {".scr", "Script File"},
    {".stp", "Step File"},
    {".lsp", "Lisp Marco File"},
    {".exe", "Executable File"},
    {".swp", "Solid Works Macro File"},
    {".ivb", "Inventor Macro File"},
    {".prtdot", "Solid Works Part Template File"},
    {".asmdot", "Solid Works Assembly Template File"},
    {".png", "PNG Image File"},
    {".FCStd", "FreeCAD File"},
    {".py", "Python File"},
    {".step", "Step File"},
    {".fs", "Feature script file"},
    {".xlsm", "Excel file macro enabled"},
    {".xlsb", "Excel binary workbook"},
    {".mnfcam", "Manifold CAM file"},
    {".dat", "Data file"},
    {".tab", "Table file"},
    {".kjb", "Header and Junction Block file"},
    {".prt", "PRT file"},
    {".ktf", "Conversion file"},
    {".mvf", "Manifold Viewer File"},
    {".cnc", "CNC file"},
    {".exp", "Export text file"},
    {".neg", "Negative bom file"},
    {".mnf", "Old version manifold file"},
    {".ptr", "Old version pattern file"},
    {".kdx", "Korvane Diagram File"},
    {".xltm", "Excel template with macro"},
    {".svg", "Scalable vector graphics"},
    {".sza", "HiCAD part file"},
    {".*", "All File"},
}};

char FoldAscii(char C) {
    return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C;
}

// The table holds ASCII extensions only, so ASCII folding is all the comparison needs.
bool SameText(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (FoldAscii(A[I]) != FoldAscii(B[I])) return false;
    return true;
}

size_t ExtensionStart(const std::string& FileName) {
    const size_t Dot = FileName.find_last_of('.');
    const size_t Slash = FileName.find_last_of('/');
    if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash)) return std::string::npos;
    return Dot;
}

} // namespace

const char* FileExtension(TFileType Type) {
    if (Type < 1 || Type > ftLastFileType) return "";
    return FileTypeTable[Type].Extension;
}

const char* FileTypeDescription(TFileType Type) {
    if (Type > ftLastFileType) return FileTypeTable[ftUnknown].Description;
    return FileTypeTable[Type].Description;
}

std::string ExtractFileExt(const std::string& FileName) {
    const size_t Start = ExtensionStart(FileName);
    return Start == std::string::npos ? std::string() : FileName.substr(Start);
}

TFileType GetFileType(const std::string& FileName) {
    const std::string Extension = ExtractFileExt(FileName);
    for (TFileType Type = 1; Type <= ftLastFileType; ++Type)
        if (SameText(Extension, FileTypeTable[Type].Extension)) return Type;
    return ftUnknown;
}

std::string SetFileType(const std::string& FileName, TFileType Type) {
    if (Type < 1 || Type > ftLastFileType) return FileName;
    const size_t Start = ExtensionStart(FileName);
    const std::string Stem = Start == std::string::npos ? FileName : FileName.substr(0, Start);
    return Stem + FileTypeTable[Type].Extension;
}

std::string RemoveFileTypeExtension(const std::string& FileName, TFileType Type) {
    if (GetFileType(FileName) != Type) return FileName;
    const size_t Start = ExtensionStart(FileName);
    return Start == std::string::npos ? FileName : FileName.substr(0, Start);
}

std::string FileTypeMask(TFileType Type) {
    return std::string("*") + FileExtension(Type);
}
