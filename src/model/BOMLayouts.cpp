#include "model/BOMLayouts.h"

#include <algorithm>

#include "base/Translate.h"
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

bool InRange(int index, size_t count) {
    return index >= 0 && size_t(index) < count;
}

template <typename T> void DeleteIn(std::vector<T>& list, int index) {
    if (InRange(index, list.size())) list.erase(list.begin() + index);
}

template <typename T> void ExchangeIn(std::vector<T>& list, int index1, int index2) {
    if (InRange(index1, list.size()) && InRange(index2, list.size()))
        std::swap(list[size_t(index1)], list[size_t(index2)]);
}

template <typename T> T* ItemIn(std::vector<T>& list, int index) {
    return InRange(index, list.size()) ? &list[size_t(index)] : nullptr;
}

template <typename T> const T* ItemIn(const std::vector<T>& list, int index) {
    return InRange(index, list.size()) ? &list[size_t(index)] : nullptr;
}

bool SameLayoutData(const TBOMLayoutData& a, const TBOMLayoutData& b) {
    return a.FontName == b.FontName && SameFloat(a.TextHeight, b.TextHeight) &&
           SameFloat(a.RowHeight, b.RowHeight) && SameFloat(a.MarginTop, b.MarginTop) &&
           SameFloat(a.MarginLeft, b.MarginLeft) && a.PortraitOrientation == b.PortraitOrientation &&
           a.ColoredHeader == b.ColoredHeader && a.ColoredLines == b.ColoredLines &&
           a.SortColumn == b.SortColumn && a.ShowBorder == b.ShowBorder &&
           a.CombineComponents == b.CombineComponents &&
           a.KeepAccessoriesWithMain == b.KeepAccessoriesWithMain && SameFloat(a.Offset.X, b.Offset.X) &&
           SameFloat(a.Offset.Y, b.Offset.Y) && SameFloat(a.Scale, b.Scale) && a.LogoName == b.LogoName &&
           a.ShowHeader == b.ShowHeader && a.ShowFooter == b.ShowFooter && a.Language == b.Language &&
           a.Description == b.Description && a.LayoutFile == b.LayoutFile &&
           a.SortDescending == b.SortDescending && a.AutoTranslateLayout == b.AutoTranslateLayout &&
           a.Align == b.Align && a.MaxLines == b.MaxLines && a.AllCapitals == b.AllCapitals &&
           a.TitleAtBottom == b.TitleAtBottom && a.IgnoreTranslationList == b.IgnoreTranslationList &&
           a.SkipComponentsWithHiddenItemNumbers == b.SkipComponentsWithHiddenItemNumbers &&
           a.AddTotalRow == b.AddTotalRow && a.IgnoreManualQuantity == b.IgnoreManualQuantity;
}

void SaveColumn(TRecordWriter& writer, const TBOMColumnData& c) {
    writer.WriteRecordLine("  BOMColumn:");
    writer.WriteKey("    ColumnType", BOMColumnTypeName(c.ColumnType));
    writer.WriteInt("    ColumnWidth", c.ColumnWidth);
    writer.WriteStringIfChanged("    ColumnTitle", c.ColumnTitle, "");
    writer.WriteRecordLine("  End.");
}

} // namespace

std::string_view BOMColumnTypeName(TBOMColumnType type) {
    return ColumnTypeNames[type < BOMColumnTypeCount ? type : 0];
}

std::string TBOMColumnData::DisplayTitle() const {
    return ColumnTitle.empty() ? std::string(BOMColumnTypeName(ColumnType)) : ColumnTitle;
}

bool TBOMColumnData::Compare(const TBOMColumnData& other) const {
    return ColumnType == other.ColumnType && ColumnWidth == other.ColumnWidth &&
           ColumnTitle == other.ColumnTitle;
}

// ---------------------------------------------------------------------------------------------

void TBOMColumnList::Clear() {
    fBOMColumnList.clear();
    fData = {};
}

TBOMColumnData& TBOMColumnList::Add() {
    return fBOMColumnList.emplace_back();
}

void TBOMColumnList::Delete(int index) {
    DeleteIn(fBOMColumnList, index);
}

void TBOMColumnList::Exchange(int index1, int index2) {
    ExchangeIn(fBOMColumnList, index1, index2);
}

TBOMColumnData* TBOMColumnList::GetBOMColumns(int index) {
    return ItemIn(fBOMColumnList, index);
}

const TBOMColumnData* TBOMColumnList::GetBOMColumns(int index) const {
    return ItemIn(fBOMColumnList, index);
}

bool TBOMColumnList::Compare(const TBOMColumnList& other) const {
    return SameLayoutData(fData, other.fData) &&
           std::equal(fBOMColumnList.begin(), fBOMColumnList.end(), other.fBOMColumnList.begin(),
                      other.fBOMColumnList.end(),
                      [](const TBOMColumnData& a, const TBOMColumnData& b) { return a.Compare(b); });
}

int TBOMColumnList::IndexOf(TBOMColumnType columnType) const {
    for (int i = 0; i < Count(); ++i)
        if (fBOMColumnList[size_t(i)].ColumnType == columnType) return i;
    return -1;
}

int TBOMColumnList::IndexOfUserField(std::string_view userFieldName) const {
    for (int i = 0; i < Count(); ++i) {
        const TBOMColumnData& c = fBOMColumnList[size_t(i)];
        if (c.ColumnType == bomcolUserField && SameTextAscii(c.ColumnTitle, userFieldName)) return i;
    }
    return -1;
}

int64_t TBOMColumnList::TotalColumnWidth() const {
    int64_t total = 0;
    for (const TBOMColumnData& c : fBOMColumnList)
        total += c.ColumnWidth;
    return total;
}

void TBOMColumnList::MakeDefault(std::string_view description) {
    Clear();
    fData.Description = description;
    fBOMColumnList = {{bomcolItemNumber, 12, "Pos."},    {bomcolQuantity, 8, "Qty."},
                      {bomcolComponentType, 45, "Type"}, {bomcolManufacturer, 30, ""},
                      {bomcolDescription, 60, ""},       {bomcolRemark, 25, ""}};
}

void TBOMColumnList::SetOrRemoveSubItemColumn(bool alwaysRemove) {
    if (alwaysRemove || HasQuantityColumn() || fData.CombineComponents) {
        Delete(IndexOf(bomcolSubNumber));
        return;
    }
    if (HasSubItemColumn()) return;
    fBOMColumnList.push_back({bomcolSubNumber, 5, "."});
    const int target = IndexOf(bomcolItemNumber) + 1;
    for (int i = Count() - 1; i > target; --i)
        Exchange(i, i - 1);
}

void TBOMColumnList::SaveToUniCodeFile(TRecordWriter& writer) const {
    if (fBOMColumnList.empty()) return;
    const TBOMLayoutData def;
    const TBOMLayoutData& d = fData;
    writer.WriteRecordLine("");
    writer.WriteRecordLine("BOMColumnList:");
    writer.WriteStringIfChanged("  FontName", d.FontName, def.FontName);
    writer.WriteFloatIfChanged("  TextHeight", def.TextHeight, d.TextHeight);
    writer.WriteFloatIfChanged("  RowHeight", def.RowHeight, d.RowHeight);
    writer.WriteFloatIfChanged("  MarginTop", def.MarginTop, d.MarginTop);
    writer.WriteFloatIfChanged("  MarginLeft", def.MarginLeft, d.MarginLeft);
    writer.WriteBoolIfChanged("  PortraitOrientation", d.PortraitOrientation, def.PortraitOrientation);
    writer.WriteBoolIfChanged("  ColoredHeader", d.ColoredHeader, def.ColoredHeader);
    writer.WriteBoolIfChanged("  ColoredLines", d.ColoredLines, def.ColoredLines);
    if (d.SortColumn != def.SortColumn) writer.WriteKey("  SortColumn", BOMColumnTypeName(d.SortColumn));
    writer.WriteFloatIfChanged("  Scale", def.Scale, d.Scale);
    writer.WriteFloatIfChanged("  OffsetX", def.Offset.X, d.Offset.X);
    writer.WriteFloatIfChanged("  OffsetY", def.Offset.Y, d.Offset.Y);
    writer.WriteBoolIfChanged("  ShowBorder", d.ShowBorder, def.ShowBorder);
    writer.WriteBoolIfChanged("  CombineComponents", d.CombineComponents, def.CombineComponents);
    writer.WriteBoolIfChanged("  KeepAccessoriesWithMain", d.KeepAccessoriesWithMain,
                              def.KeepAccessoriesWithMain);
    writer.WriteBoolIfChanged("  ShowHeader", d.ShowHeader, def.ShowHeader);
    writer.WriteBoolIfChanged("  ShowFooter", d.ShowFooter, def.ShowFooter);
    writer.WriteStringIfChanged("  LogoName", d.LogoName, def.LogoName);
    writer.WriteStringIfChanged("  Language", d.Language, def.Language);
    writer.WriteStringIfChanged("  Description", d.Description, def.Description);
    writer.WriteStringIfChanged("  LayoutFile", d.LayoutFile, def.LayoutFile);
    writer.WriteBoolIfChanged("  SortDescending", d.SortDescending, def.SortDescending);
    writer.WriteBoolIfChanged("  AutoTranslateLayout", d.AutoTranslateLayout, def.AutoTranslateLayout);
    writer.WriteIntIfChanged("  Align", d.Align, def.Align);
    writer.WriteIntIfChanged("  MaxLines", d.MaxLines, def.MaxLines);
    writer.WriteBoolIfChanged("  AllCapitals", d.AllCapitals, def.AllCapitals);
    writer.WriteBoolIfChanged("  TitleAtBottom", d.TitleAtBottom, def.TitleAtBottom);
    writer.WriteBoolIfChanged("  IgnoreTranslationList", d.IgnoreTranslationList, def.IgnoreTranslationList);
    writer.WriteBoolIfChanged("  SkipWithHiddenItem", d.SkipComponentsWithHiddenItemNumbers,
                              def.SkipComponentsWithHiddenItemNumbers);
    writer.WriteBoolIfChanged("  AddTotalRow", d.AddTotalRow, def.AddTotalRow);
    writer.WriteBoolIfChanged("  IgnoreManualQuantity", d.IgnoreManualQuantity, def.IgnoreManualQuantity);
    for (const TBOMColumnData& c : fBOMColumnList)
        SaveColumn(writer, c);
    writer.WriteRecordLine("End.");
}

// ---------------------------------------------------------------------------------------------

void TBOMColumnListList::Clear() {
    fList.clear();
    // The hose list's choice goes too: left behind it would pick a list of the next drawing.
    fItemIndex = -1;
    fItemIndexHoses = -1;
}

TBOMColumnList& TBOMColumnListList::Add() {
    return fList.emplace_back();
}

void TBOMColumnListList::Delete(int index) {
    DeleteIn(fList, index);
}

void TBOMColumnListList::Exchange(int index1, int index2) {
    ExchangeIn(fList, index1, index2);
}

TBOMColumnList* TBOMColumnListList::GetBOMColumnLists(int index) {
    return ItemIn(fList, index);
}

const TBOMColumnList* TBOMColumnListList::GetBOMColumnLists(int index) const {
    return ItemIn(fList, index);
}

TBOMColumnList* TBOMColumnListList::GetSelected() {
    return ItemIn(fList, fItemIndex);
}

TBOMColumnList* TBOMColumnListList::SelectedHoses() {
    return ItemIn(fList, fItemIndexHoses);
}

bool TBOMColumnListList::Compare(const TBOMColumnListList& other) const {
    return std::equal(fList.begin(), fList.end(), other.fList.begin(), other.fList.end(),
                      [](const TBOMColumnList& a, const TBOMColumnList& b) { return a.Compare(b); });
}

int TBOMColumnListList::IndexOf(std::string_view bomColumnListName) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fList[size_t(i)].fData.Description, bomColumnListName)) return i;
    return -1;
}

void TBOMColumnListList::AddToStrings(std::vector<std::string>& strings, bool includeInternal) const {
    strings.clear();
    for (int i = includeInternal ? 0 : 1; i < Count(); ++i) {
        const std::string& description = fList[size_t(i)].fData.Description;
        std::string line = description.empty() ? _("Layout ") + std::to_string(i) : description;
        if (i == 0) line += _(" (Editor)");
        strings.push_back(std::move(line));
    }
}

void TBOMColumnListList::PrepareForUse() {
    if (fList.empty()) Add().MakeDefault("Internal");
    if (Count() < 2) {
        TBOMColumnList copy = fList.front();
        copy.fData.Description.clear();
        copy.fData.ShowBorder = true;
        fList.push_back(std::move(copy));
    }
    for (size_t i = 0; i < fList.size(); ++i) {
        std::string& description = fList[i].fData.Description;
        if (description.empty())
            description = i == 0 ? std::string("Internal") : "Layout " + std::to_string(i);
    }
}

void TBOMColumnListList::SetDefaultLanguage(std::string_view defaultLanguage) {
    if (defaultLanguage.empty()) return;
    for (TBOMColumnList& l : fList)
        if (l.fData.Language.empty()) l.fData.Language = defaultLanguage;
}

void TBOMColumnListList::RemoveDefaultLanguage(std::string_view defaultLanguage) {
    if (defaultLanguage.empty()) return;
    for (TBOMColumnList& l : fList)
        if (SameTextAscii(l.fData.Language, defaultLanguage)) l.fData.Language.clear();
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

void TBOMColumnListList::SaveToUniCodeFile(TRecordWriter& writer) const {
    for (const TBOMColumnList& list : fList)
        list.SaveToUniCodeFile(writer);
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
