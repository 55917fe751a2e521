#pragma once
// The drawing's bill of materials as a list: one row per record of every component the BOM shows,
// in drawing order, for the window's list and for --bom. And finding components by their texts.
#include <cstdint>
#include <string>
#include <vector>

class TSymbolFile;
class TSymbolObject;

struct TBOMRow {
    TSymbolObject* Object = nullptr;
    int32_t Handle = -1;
    int Record = 0; // 0 for the main record, 1.. for the accessories
    std::string ItemNumber;
    std::string ArticleCode;
    std::string Manufacturer;
    std::string Description;
    int32_t Quantity = 1;
    std::string OrderingCode;
    // In both unit systems; a value given in one only is converted for the other. 0: not given.
    double Weight[2] = {0, 0}; // metric, imperial
    double Height[2] = {0, 0};
    double PMax[2] = {0, 0};
    double QMax[2] = {0, 0};
};

std::vector<TBOMRow> CollectBOMRows(TSymbolFile& doc);

// The list's columns: translated captions, the unit-dependent ones with their unit.
std::vector<std::string> BOMHeader(bool metric);
// A row's texts in the columns' order; numbers with a point, so that files agree across locales.
std::vector<std::string> BOMRowTexts(const TBOMRow& row, bool metric);
// The rows as CSV a spreadsheet opens as it stands: UTF-8 with a byte-order mark, every field
// quoted, lines ended by CR LF.
std::string BOMCsv(const std::vector<TBOMRow>& rows, bool metric);
// The same as plain text: one row per line, the fields separated by tabs.
std::string BOMText(const std::vector<TBOMRow>& rows, bool metric);

// The components (those the BOM shows) whose item number, article code, maker, type, description,
// ordering code, title, remark or any attribute value holds Text, ignoring case; in drawing order,
// each once.
std::vector<TSymbolObject*> FindComponents(TSymbolFile& doc, const std::string& text);
