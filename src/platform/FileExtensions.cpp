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

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The table holds ASCII extensions only, so ASCII folding is all the comparison needs.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

size_t ExtensionStart(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
    return dot;
}

} // namespace

const char* FileExtension(TFileType type) {
    if (type < 1 || type > ftLastFileType) return "";
    return FileTypeTable[type].Extension;
}

const char* FileTypeDescription(TFileType type) {
    if (type > ftLastFileType) return FileTypeTable[ftUnknown].Description;
    return FileTypeTable[type].Description;
}

std::string ExtractFileExt(const std::string& fileName) {
    const size_t start = ExtensionStart(fileName);
    return start == std::string::npos ? std::string() : fileName.substr(start);
}

TFileType GetFileType(const std::string& fileName) {
    const std::string extension = ExtractFileExt(fileName);
    for (TFileType type = 1; type <= ftLastFileType; ++type)
        if (SameText(extension, FileTypeTable[type].Extension)) return type;
    return ftUnknown;
}

std::string SetFileType(const std::string& fileName, TFileType type) {
    if (type < 1 || type > ftLastFileType) return fileName;
    const size_t start = ExtensionStart(fileName);
    const std::string stem = start == std::string::npos ? fileName : fileName.substr(0, start);
    return stem + FileTypeTable[type].Extension;
}

std::string RemoveFileTypeExtension(const std::string& fileName, TFileType type) {
    if (GetFileType(fileName) != type) return fileName;
    const size_t start = ExtensionStart(fileName);
    return start == std::string::npos ? fileName : fileName.substr(0, start);
}

std::string FileTypeMask(TFileType type) {
    return std::string("*") + FileExtension(type);
}
