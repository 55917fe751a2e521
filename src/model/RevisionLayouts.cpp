#include "model/RevisionLayouts.h"

#include <algorithm>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

namespace {

constexpr std::string_view ColumnTypeNames[RevisionColumnTypeCount] = {
    "Revision", "Date", "Description", "Drawn", "Checked", "SAP Code", "User1", "User2"};

TRevisionColumnData ReadColumn(TRecordReader& reader) {
    TRevisionColumnData c;
    std::string key, value;
    while (reader.NextKey(key, value, "ENDREVISIONCOLUMN.")) {
        if (key == "COLUMNTYPE"sv) {
            const int type = IndexOfName(value, ColumnTypeNames, RevisionColumnTypeCount);
            c.ColumnType = type < 0 ? revcolNumber : TRevisionColumnType(type);
        } else if (key == "COLUMNWIDTH"sv) {
            ReadFloatKeeping(c.ColumnWidth, value);
        } else if (key == "COLUMNTITLE"sv) {
            c.ColumnTitle = value;
        }
    }
    return c;
}

constexpr std::string_view ColumnTypeIdents[RevisionColumnTypeCount] = {
    "revcolNumber",    "revcolDate", "revcolDescription", "revcolDrawnBy",
    "revcolCheckedBy", "revcolCode", "revcolUser1",       "revcolUser2"};

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

bool SameLayoutData(const TRevisionLayoutData& a, const TRevisionLayoutData& b) {
    return SameFloat(a.RowHeight, b.RowHeight) && SameFloat(a.TextHeight, b.TextHeight) &&
           SameFloat(a.Scale, b.Scale) && SameFloat(a.Offset.X, b.Offset.X) &&
           SameFloat(a.Offset.Y, b.Offset.Y) && a.Align == b.Align && a.ShowHeader == b.ShowHeader &&
           a.Reverse == b.Reverse;
}

bool IsUserColumn(const TRevisionColumnData& c) {
    return c.ColumnType == revcolUser1 || c.ColumnType == revcolUser2;
}

void SaveColumn(TRecordWriter& writer, const TRevisionColumnData& c) {
    const TRevisionColumnData def;
    writer.WriteRecordLine("  RevisionColumn:");
    writer.WriteKey("    ColumnType", RevisionColumnTypeName(c.ColumnType));
    writer.WriteFloatIfChanged("    ColumnWidth", def.ColumnWidth, c.ColumnWidth);
    writer.WriteStringIfChanged("    ColumnTitle", c.ColumnTitle, def.ColumnTitle);
    writer.WriteRecordLine("  EndRevisionColumn.");
}

} // namespace

std::string_view RevisionColumnTypeName(TRevisionColumnType type) {
    return type < RevisionColumnTypeCount ? ColumnTypeNames[type] : ColumnTypeNames[0];
}

std::string TRevisionColumnData::DisplayTitle() const {
    return ColumnTitle.empty() ? std::string(RevisionColumnTypeName(ColumnType)) : ColumnTitle;
}

bool TRevisionColumnData::Compare(const TRevisionColumnData& other) const {
    return ColumnType == other.ColumnType && SameFloat(ColumnWidth, other.ColumnWidth) &&
           ColumnTitle == other.ColumnTitle;
}

void TRevisionLayout::Clear() {
    fColumnList.clear();
    fData = {};
}

TRevisionColumnData& TRevisionLayout::Add() {
    return fColumnList.emplace_back();
}

void TRevisionLayout::Delete(int index) {
    DeleteIn(fColumnList, index);
}

void TRevisionLayout::Exchange(int index1, int index2) {
    ExchangeIn(fColumnList, index1, index2);
}

TRevisionColumnData* TRevisionLayout::GetColumns(int index) {
    return ItemIn(fColumnList, index);
}

const TRevisionColumnData* TRevisionLayout::GetColumns(int index) const {
    return ItemIn(fColumnList, index);
}

int TRevisionLayout::IndexOf(TRevisionColumnType columnType) const {
    for (int i = 0; i < Count(); ++i)
        if (fColumnList[size_t(i)].ColumnType == columnType) return i;
    return -1;
}

bool TRevisionLayout::HasUserColomn() const {
    return std::any_of(fColumnList.begin(), fColumnList.end(), IsUserColumn);
}

void TRevisionLayout::MakeDefault() {
    Clear();
    fColumnList = {{revcolNumber, 10, "Rev"},
                   {revcolDate, 20, ""},
                   {revcolDrawnBy, 20, ""},
                   {revcolCheckedBy, 20, ""},
                   {revcolDescription, 110, ""}};
}

bool TRevisionLayout::Compare(const TRevisionLayout& other) const {
    return SameLayoutData(fData, other.fData) &&
           std::equal(
               fColumnList.begin(), fColumnList.end(), other.fColumnList.begin(), other.fColumnList.end(),
               [](const TRevisionColumnData& a, const TRevisionColumnData& b) { return a.Compare(b); });
}

TRevisionLayout& TRevisionLayoutList::Add() {
    return fRevisionLayoutList.emplace_back();
}

void TRevisionLayoutList::Delete(int index) {
    DeleteIn(fRevisionLayoutList, index);
}

void TRevisionLayoutList::Exchange(int index1, int index2) {
    ExchangeIn(fRevisionLayoutList, index1, index2);
}

TRevisionLayout* TRevisionLayoutList::GetRevisionLayouts(int index) {
    return ItemIn(fRevisionLayoutList, index);
}

const TRevisionLayout* TRevisionLayoutList::GetRevisionLayouts(int index) const {
    return ItemIn(fRevisionLayoutList, index);
}

bool TRevisionLayoutList::Compare(const TRevisionLayoutList& other) const {
    return std::equal(fRevisionLayoutList.begin(), fRevisionLayoutList.end(),
                      other.fRevisionLayoutList.begin(), other.fRevisionLayoutList.end(),
                      [](const TRevisionLayout& a, const TRevisionLayout& b) { return a.Compare(b); });
}

bool TRevisionLayoutList::HasUserColomn() const {
    return std::any_of(fRevisionLayoutList.begin(), fRevisionLayoutList.end(),
                       [](const TRevisionLayout& l) { return l.HasUserColomn(); });
}

void TRevisionLayoutList::LoadRevisionLayout(TRecordReader& reader) {
    TRevisionLayout layout;
    TRevisionLayoutData& d = layout.fData;
    std::string key, value;
    while (reader.NextKey(key, value, "ENDREVISIONLAYOUT.")) {
        if (key == "ROWHEIGHT"sv) {
            d.RowHeight = ParseRecordFloat(value, 5);
        } else if (key == "TEXTHEIGHT"sv) {
            d.TextHeight = ParseRecordFloat(value, 2.5);
        } else if (key == "SCALE"sv) {
            ReadFloatKeeping(d.Scale, value);
        } else if (key == "OFFSETX"sv) {
            ReadFloatKeeping(d.Offset.X, value);
        } else if (key == "OFFSETY"sv) {
            ReadFloatKeeping(d.Offset.Y, value);
        } else if (key == "ALIGN"sv) {
            if (const auto v = ParseRecordInt(value)) d.Align = *v;
        } else if (key == "SHOWHEADER"sv) {
            d.ShowHeader = YesNoToBool(value);
        } else if (key == "REVERSE"sv) {
            d.Reverse = YesNoToBool(value);
        } else if (key == "REVISIONCOLUMN:"sv) {
            layout.fColumnList.push_back(ReadColumn(reader));
        }
    }
    fRevisionLayoutList.push_back(std::move(layout));
}

void SaveRevisionLayout(TRecordWriter& writer, const TRevisionLayout& layout) {
    const TRevisionLayoutData def;
    const TRevisionLayoutData& d = layout.fData;
    writer.WriteRecordLine("");
    writer.WriteRecordLine("RevisionLayout:");
    writer.WriteFloatIfChanged("  RowHeight", def.RowHeight, d.RowHeight);
    writer.WriteFloatIfChanged("  TextHeight", def.TextHeight, d.TextHeight);
    writer.WriteFloatIfChanged("  Scale", def.Scale, d.Scale);
    writer.WriteFloatIfChanged("  OffsetX", def.Offset.X, d.Offset.X);
    writer.WriteFloatIfChanged("  OffsetY", def.Offset.Y, d.Offset.Y);
    writer.WriteIntIfChanged("  Align", d.Align, def.Align);
    writer.WriteBoolIfChanged("  ShowHeader", d.ShowHeader, def.ShowHeader);
    writer.WriteBoolIfChanged("  Reverse", d.Reverse, def.Reverse);
    for (const TRevisionColumnData& c : layout.fColumnList)
        SaveColumn(writer, c);
    writer.WriteRecordLine("EndRevisionLayout.");
}

void TRevisionLayoutList::SaveToUniCodeFile(TRecordWriter& writer) const {
    for (const TRevisionLayout& layout : fRevisionLayoutList)
        SaveRevisionLayout(writer, layout);
}

void TRevisionLayoutList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const TRevisionLayout& layout : fRevisionLayoutList) {
        const TRevisionLayoutData& d = layout.fData;
        w.BeginObject();
        w.Field("Class", "TRevisionLayout");
        w.Key("Data");
        w.BeginObject();
        w.Field("RowHeight", d.RowHeight);
        w.Field("TextHeight", d.TextHeight);
        w.Field("Scale", d.Scale);
        w.Key("Offset");
        w.Point(d.Offset.X, d.Offset.Y);
        w.Field("Align", d.Align);
        w.Field("ShowHeader", d.ShowHeader);
        w.Field("Reverse", d.Reverse);
        w.EndObject();
        w.Key("ColumnList");
        w.BeginArray();
        for (const TRevisionColumnData& c : layout.fColumnList) {
            w.BeginObject();
            w.Field("Class", "TRevisionColumn");
            w.Field("ColumnType",
                    ColumnTypeIdents[c.ColumnType < RevisionColumnTypeCount ? c.ColumnType : 0]);
            w.Field("ColumnWidth", c.ColumnWidth);
            w.Field("ColumnTitle", c.ColumnTitle);
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
}
