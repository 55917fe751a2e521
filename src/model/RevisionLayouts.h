#pragma once
// The layouts of the revision table the design program prints: row and text sizes, placement and
// the columns in table order. The viewer reads them so that a file is consumed whole; it draws
// none of them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/XYPoints.h"

class TRecordReader;
class TJsonWriter;

enum TRevisionColumnType : uint8_t {
    revcolNumber,
    revcolDate,
    revcolDescription,
    revcolDrawnBy,
    revcolCheckedBy,
    revcolCode,
    revcolUser1,
    revcolUser2
};
inline constexpr int RevisionColumnTypeCount = 8;

// The name of a column type: its value in files and its default title.
std::string_view RevisionColumnTypeName(TRevisionColumnType type);

struct TRevisionColumnData {
    TRevisionColumnType ColumnType = revcolNumber;
    double ColumnWidth = 15;
    std::string ColumnTitle;
};

struct TRevisionLayoutData {
    double RowHeight = 5;
    double TextHeight = 2.5;
    double Scale = 1;
    TXYPoint Offset;
    int32_t Align = 3;
    bool ShowHeader = true;
    bool Reverse = false;
};

struct TRevisionLayout {
    std::vector<TRevisionColumnData> fColumnList;
    TRevisionLayoutData fData;
};

class TRevisionLayoutList {
public:
    std::vector<TRevisionLayout> fRevisionLayoutList;

    int Count() const { return int(fRevisionLayoutList.size()); }
    void Clear() { fRevisionLayoutList.clear(); }
    // Reads one layout up to "ENDREVISIONLAYOUT."; the opener line has been consumed.
    void LoadRevisionLayout(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};
