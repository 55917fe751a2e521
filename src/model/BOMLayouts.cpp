#include "model/BOMLayouts.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

namespace {

constexpr std::string_view ColumnTypeNames[BOMColumnTypeCount] = {"None",
                                                                  "ItemNumber",
                                                                  "SubNumber",
                                                                  "Quantity",
                                                                  "ArticleCode",
                                                                  "Manufacturer",
                                                                  "ComponentType",
                                                                  "Description",
                                                                  "DataSheet",
                                                                  "Weight",
                                                                  "Height",
                                                                  "BrevindFile",
                                                                  "SymbolFile",
                                                                  "ComponentFile",
                                                                  "AssemblyDrawing",
                                                                  "Title",
                                                                  "Remark",
                                                                  "Size",
                                                                  "Pressure",
                                                                  "Flow",
                                                                  "Price",
                                                                  "ItemNumber2",
                                                                  "ItemNumber3",
                                                                  "Weight kg",
                                                                  "Weight lbs",
                                                                  "Height mm",
                                                                  "Height inch",
                                                                  "Pressure bar",
                                                                  "Pressure psi",
                                                                  "Flow lpm",
                                                                  "Flow gpm",
                                                                  "Sandwich",
                                                                  "Supplier",
                                                                  "UserField",
                                                                  "Skip",
                                                                  "Symbol image",
                                                                  "Flexible housing",
                                                                  "Show in BOM",
                                                                  "Export to Brevind",
                                                                  "Alt symbolfile",
                                                                  "Clamp Length mm",
                                                                  "Clamp Length inch"};

constexpr std::string_view ColumnTypeIdents[BOMColumnTypeCount] = {"bomcolNone",
                                                                   "bomcolItemNumber",
                                                                   "bomcolSubNumber",
                                                                   "bomcolQuantity",
                                                                   "bomcolArticleCode",
                                                                   "bomcolManufacturer",
                                                                   "bomcolComponentType",
                                                                   "bomcolDescription",
                                                                   "bomcolDataSheet",
                                                                   "bomcolWeight",
                                                                   "bomcolHeight",
                                                                   "bomcolBrevindFile",
                                                                   "bomcolSymbolFile",
                                                                   "bomcolComponentFile",
                                                                   "bomcolAssemblyDrawing",
                                                                   "bomcolTitle",
                                                                   "bomcolRemark",
                                                                   "bomcolSize",
                                                                   "bomcolPressure",
                                                                   "bomcolFlow",
                                                                   "bomcolPrice",
                                                                   "bomcolItemNumber2",
                                                                   "bomcolItemNumber3",
                                                                   "bomcolWeightKG",
                                                                   "bomcolWeightLBS",
                                                                   "bomcolHeightMM",
                                                                   "bomcolHeightIN",
                                                                   "bomcolPressureBAR",
                                                                   "bomcolPressurePSI",
                                                                   "bomcolFlowLPM",
                                                                   "bomcolFlowGPM",
                                                                   "bomcolSandwich",
                                                                   "bomcolSupplier",
                                                                   "bomcolUserField",
                                                                   "bomcolSkip",
                                                                   "bomcolSymbolImage",
                                                                   "bomcolFlexibleHousing",
                                                                   "bomcolShowInBOM",
                                                                   "bomcolUseInBrevind",
                                                                   "bomcolAlternativeSymbol",
                                                                   "bomcolClampingLengthMM",
                                                                   "bomcolClampingLengthIN"};

TBOMColumnType ColumnTypeOfName(const std::string& value) {
    const int type = IndexOfName(value, ColumnTypeNames, BOMColumnTypeCount);
    return type < 0 ? bomcolNone : TBOMColumnType(type);
}

std::string_view Ident(TBOMColumnType type) {
    return ColumnTypeIdents[type < BOMColumnTypeCount ? type : 0];
}

TBOMColumnData ReadColumn(TRecordReader& reader) {
    TBOMColumnData c;
    std::string key, value;
    while (reader.NextKey(key, value, "END.")) {
        if (key == "COLUMNTYPE"sv) {
            c.ColumnType = ColumnTypeOfName(value);
        } else if (key == "COLUMNWIDTH"sv) {
            if (const auto v = ParseRecordInt(value)) c.ColumnWidth = *v;
        } else if (key == "COLUMNTITLE"sv) {
            c.ColumnTitle = value;
        }
    }
    return c;
}

// The keys both text variants know; false for the others.
bool ReadCommonLayoutKey(TBOMLayoutData& d, const std::string& key, const std::string& value) {
    struct TText {
        std::string_view Key;
        std::string TBOMLayoutData::*Field;
    };
    static constexpr TText texts[] = {{"FONTNAME", &TBOMLayoutData::FontName},
                                      {"LOGONAME", &TBOMLayoutData::LogoName},
                                      {"LANGUAGE", &TBOMLayoutData::Language},
                                      {"DESCRIPTION", &TBOMLayoutData::Description},
                                      {"LAYOUTFILE", &TBOMLayoutData::LayoutFile}};
    struct TNumber {
        std::string_view Key;
        double TBOMLayoutData::*Field;
    };
    static constexpr TNumber numbers[] = {{"TEXTHEIGHT", &TBOMLayoutData::TextHeight},
                                          {"ROWHEIGHT", &TBOMLayoutData::RowHeight},
                                          {"MARGINTOP", &TBOMLayoutData::MarginTop},
                                          {"MARGINLEFT", &TBOMLayoutData::MarginLeft},
                                          {"SCALE", &TBOMLayoutData::Scale}};
    struct TFlag {
        std::string_view Key;
        bool TBOMLayoutData::*Field;
    };
    static constexpr TFlag flags[] = {{"PORTRAITORIENTATION", &TBOMLayoutData::PortraitOrientation},
                                      {"COLOREDHEADER", &TBOMLayoutData::ColoredHeader},
                                      {"COLOREDLINES", &TBOMLayoutData::ColoredLines},
                                      {"SHOWBORDER", &TBOMLayoutData::ShowBorder},
                                      {"COMBINECOMPONENTS", &TBOMLayoutData::CombineComponents},
                                      {"KEEPACCESSORIESWITHMAIN", &TBOMLayoutData::KeepAccessoriesWithMain},
                                      {"SHOWHEADER", &TBOMLayoutData::ShowHeader},
                                      {"SHOWFOOTER", &TBOMLayoutData::ShowFooter}};
    for (const TText& t : texts)
        if (key == t.Key) return d.*t.Field = value, true;
    for (const TNumber& n : numbers)
        if (key == n.Key) return ReadFloatKeeping(d.*n.Field, value), true;
    for (const TFlag& f : flags)
        if (key == f.Key) return d.*f.Field = YesNoToBool(value), true;
    if (key == "OFFSETX"sv) return ReadFloatKeeping(d.Offset.X, value), true;
    if (key == "OFFSETY"sv) return ReadFloatKeeping(d.Offset.Y, value), true;
    if (key == "SORTCOLUMN"sv) return d.SortColumn = ColumnTypeOfName(value), true;
    return false;
}

// The keys only the current variant writes.
void ReadLaterLayoutKey(TBOMLayoutData& d, const std::string& key, const std::string& value) {
    struct TFlag {
        std::string_view Key;
        bool TBOMLayoutData::*Field;
    };
    static constexpr TFlag flags[] = {
        {"SORTDESCENDING", &TBOMLayoutData::SortDescending},
        {"AUTOTRANSLATELAYOUT", &TBOMLayoutData::AutoTranslateLayout},
        {"ALLCAPITALS", &TBOMLayoutData::AllCapitals},
        {"TITLEATBOTTOM", &TBOMLayoutData::TitleAtBottom},
        {"IGNORETRANSLATIONLIST", &TBOMLayoutData::IgnoreTranslationList},
        {"SKIPWITHHIDDENITEM", &TBOMLayoutData::SkipComponentsWithHiddenItemNumbers},
        {"ADDTOTALROW", &TBOMLayoutData::AddTotalRow},
        {"IGNOREMANUALQUANTITY", &TBOMLayoutData::IgnoreManualQuantity}};
    for (const TFlag& f : flags)
        if (key == f.Key) {
            d.*f.Field = YesNoToBool(value);
            return;
        }
    if (key == "ALIGN"sv)
        d.Align = ParseRecordInt(value).value_or(3);
    else if (key == "MAXLINES"sv)
        d.MaxLines = ParseRecordInt(value).value_or(0);
}

} // namespace

std::string_view BOMColumnTypeName(TBOMColumnType type) {
    return ColumnTypeNames[type < BOMColumnTypeCount ? type : 0];
}

void TBOMColumnListList::Clear() {
    fList.clear();
    fItemIndex = -1;
}

void TBOMColumnListList::LoadColumnList(TRecordReader& reader) {
    TBOMColumnList list;
    std::string key, value;
    while (reader.NextKey(key, value, "END.")) {
        if (key == "BOMCOLUMN:"sv)
            list.fBOMColumnList.push_back(ReadColumn(reader));
        else if (!ReadCommonLayoutKey(list.fData, key, value) && !reader.IsLegacy())
            ReadLaterLayoutKey(list.fData, key, value);
    }
    // What was read is kept, also when the end of the file came first.
    fList.push_back(std::move(list));
}

void TBOMColumnListList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const TBOMColumnList& list : fList) {
        const TBOMLayoutData& d = list.fData;
        w.BeginObject();
        w.Field("Class", "TBOMColumnList");
        w.Key("Data");
        w.BeginObject();
        w.Field("FontName", d.FontName);
        w.Field("TextHeight", d.TextHeight);
        w.Field("RowHeight", d.RowHeight);
        w.Field("MarginTop", d.MarginTop);
        w.Field("MarginLeft", d.MarginLeft);
        w.Field("PortraitOrientation", d.PortraitOrientation);
        w.Field("ColoredHeader", d.ColoredHeader);
        w.Field("ColoredLines", d.ColoredLines);
        w.Field("SortColumn", Ident(d.SortColumn));
        w.Field("ShowBorder", d.ShowBorder);
        w.Field("CombineComponents", d.CombineComponents);
        w.Field("KeepAccessoriesWithMain", d.KeepAccessoriesWithMain);
        w.Key("Offset");
        w.Point(d.Offset.X, d.Offset.Y);
        w.Field("Scale", d.Scale);
        w.Field("LogoName", d.LogoName);
        w.Field("ShowHeader", d.ShowHeader);
        w.Field("ShowFooter", d.ShowFooter);
        w.Field("Language", d.Language);
        w.Field("Description", d.Description);
        w.Field("LayoutFile", d.LayoutFile);
        w.Field("SortDescending", d.SortDescending);
        w.Field("AutoTranslateLayout", d.AutoTranslateLayout);
        w.Field("Align", d.Align);
        w.Field("MaxLines", d.MaxLines);
        w.Field("AllCapitals", d.AllCapitals);
        w.Field("TitleAtBottom", d.TitleAtBottom);
        w.Field("IgnoreTranslationList", d.IgnoreTranslationList);
        w.Field("SkipComponentsWithHiddenItemNumbers", d.SkipComponentsWithHiddenItemNumbers);
        w.Field("AddTotalRow", d.AddTotalRow);
        w.Field("IgnoreManualQuantity", d.IgnoreManualQuantity);
        w.EndObject();
        w.Key("BOMColumnList");
        w.BeginArray();
        for (const TBOMColumnData& c : list.fBOMColumnList) {
            w.BeginObject();
            w.Field("Class", "TBOMColumn");
            w.Field("ColumnType", Ident(c.ColumnType));
            w.Field("ColumnWidth", c.ColumnWidth);
            w.Field("ColumnTitle", c.ColumnTitle);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
}
