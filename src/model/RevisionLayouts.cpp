#include "model/RevisionLayouts.h"

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

} // namespace

std::string_view RevisionColumnTypeName(TRevisionColumnType type) {
    return type < RevisionColumnTypeCount ? ColumnTypeNames[type] : ColumnTypeNames[0];
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
