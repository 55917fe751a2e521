#pragma once
// The layouts of the bill-of-materials table the design program prints: table settings and the
// columns in table order. The viewer reads them so that a file is consumed whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/XYPoints.h"

class TRecordReader;
class TRecordWriter;
class TJsonWriter;

enum TBOMColumnType : uint8_t {
    bomcolNone,
    bomcolItemNumber,
    bomcolSubNumber,
    bomcolQuantity,
    bomcolArticleCode,
    bomcolManufacturer,
    bomcolComponentType,
    bomcolDescription,
    bomcolDataSheet,
    bomcolWeight,
    bomcolHeight,
    bomcolBrevindFile,
    bomcolSymbolFile,
    bomcolComponentFile,
    bomcolAssemblyDrawing,
    bomcolTitle,
    bomcolRemark,
    bomcolSize,
    bomcolPressure,
    bomcolFlow,
    bomcolPrice,
    bomcolItemNumber2,
    bomcolItemNumber3,
    bomcolWeightKG,
    bomcolWeightLBS,
    bomcolHeightMM,
    bomcolHeightIN,
    bomcolPressureBAR,
    bomcolPressurePSI,
    bomcolFlowLPM,
    bomcolFlowGPM,
    bomcolSandwich,
    bomcolSupplier,
    bomcolUserField,
    bomcolSkip,
    bomcolSymbolImage,
    bomcolFlexibleHousing,
    bomcolShowInBOM,
    bomcolUseInBrevind,
    bomcolAlternativeSymbol,
    bomcolClampingLengthMM,
    bomcolClampingLengthIN
};
inline constexpr int BOMColumnTypeCount = 42;

// The name of a column type: its value in files and its default title.
std::string_view BOMColumnTypeName(TBOMColumnType type);

// A column of the bill-of-materials table; the column lists hold these records themselves.
struct TBOMColumnData {
    TBOMColumnType ColumnType = bomcolNone;
    int32_t ColumnWidth = 50;
    std::string ColumnTitle; // for a user-field column, the field's name

    // The title, or the type's name when the column has none.
    std::string DisplayTitle() const;
    bool Compare(const TBOMColumnData& other) const;
};

struct TBOMLayoutData {
    std::string FontName = "Arial";
    double TextHeight = 2.5;
    double RowHeight = 5;
    double MarginTop = 15;
    double MarginLeft = 15;
    bool PortraitOrientation = false;
    bool ColoredHeader = true;
    bool ColoredLines = true;
    TBOMColumnType SortColumn = bomcolItemNumber;
    bool ShowBorder = true;
    bool CombineComponents = false;
    bool KeepAccessoriesWithMain = true;
    TXYPoint Offset;
    double Scale = 1;
    std::string LogoName;
    bool ShowHeader = true;
    bool ShowFooter = true;
    std::string Language;
    std::string Description; // the layout's name
    std::string LayoutFile;
    bool SortDescending = false;
    bool AutoTranslateLayout = true;
    int32_t Align = 3;
    int32_t MaxLines = 0;
    bool AllCapitals = false;
    bool TitleAtBottom = false;
    bool IgnoreTranslationList = false;
    bool SkipComponentsWithHiddenItemNumbers = false;
    bool AddTotalRow = false;
    bool IgnoreManualQuantity = false;
};

struct TBOMColumnList {
    TBOMLayoutData fData;
    std::vector<TBOMColumnData> fBOMColumnList;

    int Count() const { return int(fBOMColumnList.size()); }
    // Layout defaults and no columns.
    void Clear();
    TBOMColumnData& Add();
    // Positions out of range are ignored (nullptr for the look-up).
    void Delete(int index);
    void Exchange(int index1, int index2);
    TBOMColumnData* GetBOMColumns(int index);
    const TBOMColumnData* GetBOMColumns(int index) const;
    void Assign(const TBOMColumnList& source) { *this = source; }
    // Every layout setting and column; floats within the writers' tolerance.
    bool Compare(const TBOMColumnList& other) const;

    // The first column of that type; -1 when none.
    int IndexOf(TBOMColumnType columnType) const;
    // The first user-field column naming that field, ignoring case; -1 when none.
    int IndexOfUserField(std::string_view userFieldName) const;
    bool HasQuantityColumn() const { return IndexOf(bomcolQuantity) >= 0; }
    bool HasSubItemColumn() const { return IndexOf(bomcolSubNumber) >= 0; }
    bool HasSupplierColumn() const { return IndexOf(bomcolSupplier) >= 0; }
    // 64-bit: the widths come from files, and many wide columns would overflow 32 bits.
    int64_t TotalColumnWidth() const;
    // The table the design program starts with, named Description.
    void MakeDefault(std::string_view description);
    // Sub-item numbers only make sense when every component has a row of its own: the column
    // goes when the table counts quantities or combines components, or when asked to; otherwise
    // it is put right after the item number.
    void SetOrRemoveSubItemColumn(bool alwaysRemove);

    // Writes the list when it has columns: its changed layout keys, then its columns.
    void SaveToUniCodeFile(TRecordWriter& writer) const;
};

class TBOMColumnListList {
public:
    std::vector<TBOMColumnList> fList; // the first is the design program's editor layout
    // The lists chosen for the bill of materials and for the hose list; -1 for none.
    int32_t fItemIndex = -1;
    int32_t fItemIndexHoses = -1;

    int Count() const { return int(fList.size()); }
    void Clear();
    TBOMColumnList& Add();
    // Positions out of range are ignored (nullptr for the look-ups).
    void Delete(int index);
    void Exchange(int index1, int index2);
    TBOMColumnList* GetBOMColumnLists(int index);
    const TBOMColumnList* GetBOMColumnLists(int index) const;
    TBOMColumnList* GetSelected();
    TBOMColumnList* SelectedHoses();
    void Assign(const TBOMColumnListList& source) { *this = source; }
    bool Compare(const TBOMColumnListList& other) const;

    // The first list of that name (its Description), ignoring case; -1 when none.
    int IndexOf(std::string_view bomColumnListName) const;
    // One line per list for the design program's choosers, from the editor's list or the one
    // after it.
    void AddToStrings(std::vector<std::string>& strings, bool includeInternal) const;
    // Makes sure there is the editor's list and at least one more, and that every list has a name.
    void PrepareForUse();
    // Lists without a language get that one; lists in that language (ignoring case) lose it.
    void SetDefaultLanguage(std::string_view defaultLanguage);
    void RemoveDefaultLanguage(std::string_view defaultLanguage);

    // Reads one column list up to its "END."; the opener line has been consumed. The legacy
    // variant knows only the older layout keys.
    void LoadColumnList(TRecordReader& reader);
    void SaveToUniCodeFile(TRecordWriter& writer) const;
    void Dump(TJsonWriter& w) const;
};
