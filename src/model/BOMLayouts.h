#pragma once
// The layouts of the bill-of-materials table the design program prints: table settings and the
// columns in table order. The viewer reads them so that a file is consumed whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/XYPoints.h"

class TRecordReader;
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

struct TBOMColumnData {
    TBOMColumnType ColumnType = bomcolNone;
    int32_t ColumnWidth = 50;
    std::string ColumnTitle;
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
};

class TBOMColumnListList {
public:
    std::vector<TBOMColumnList> fList;
    int32_t fItemIndex = -1;
    int32_t fItemIndexHoses = -1;

    int Count() const { return int(fList.size()); }
    void Clear();
    // Reads one column list up to its "END."; the opener line has been consumed. The legacy
    // variant knows only the older layout keys.
    void LoadColumnList(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};
