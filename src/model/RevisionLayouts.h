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
class TRecordWriter;
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

// A column of the revision table; the layouts hold these records themselves.
struct TRevisionColumnData {
    TRevisionColumnType ColumnType = revcolNumber;
    double ColumnWidth = 15;
    std::string ColumnTitle;

    // The title, or the type's name when the column has none.
    std::string DisplayTitle() const;
    // Every field, the width within the writers' tolerance.
    bool Compare(const TRevisionColumnData& other) const;
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

    int Count() const { return int(fColumnList.size()); }
    // Defaults and no columns.
    void Clear();
    TRevisionColumnData& Add();
    // Positions out of range are ignored (nullptr for the look-up).
    void Delete(int index);
    void Exchange(int index1, int index2);
    TRevisionColumnData* GetColumns(int index);
    const TRevisionColumnData* GetColumns(int index) const;
    // The first column of that type; -1 when none.
    int IndexOf(TRevisionColumnType columnType) const;
    // A column shows one of the two free user fields.
    bool HasUserColomn() const;
    // The table the design program starts a drawing with.
    void MakeDefault();
    void Assign(const TRevisionLayout& source) { *this = source; }
    bool Compare(const TRevisionLayout& other) const;
};

class TRevisionLayoutList {
public:
    std::vector<TRevisionLayout> fRevisionLayoutList;

    int Count() const { return int(fRevisionLayoutList.size()); }
    void Clear() { fRevisionLayoutList.clear(); }
    TRevisionLayout& Add();
    void Delete(int index);
    void Exchange(int index1, int index2);
    TRevisionLayout* GetRevisionLayouts(int index);
    const TRevisionLayout* GetRevisionLayouts(int index) const;
    void Assign(const TRevisionLayoutList& source) { fRevisionLayoutList = source.fRevisionLayoutList; }
    bool Compare(const TRevisionLayoutList& other) const;
    // A column of any layout shows a user field.
    bool HasUserColomn() const;

    // Reads one layout up to "ENDREVISIONLAYOUT."; the opener line has been consumed.
    void LoadRevisionLayout(TRecordReader& reader);
    // Each layout as a "RevisionLayout:" block after an empty line.
    void SaveToUniCodeFile(TRecordWriter& writer) const;
    void Dump(TJsonWriter& w) const;
};

// Writes one layout block, its columns after its own keys.
void SaveRevisionLayout(TRecordWriter& writer, const TRevisionLayout& layout);
