#include <gtest/gtest.h>

#include <vector>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/RevisionLayouts.h"

namespace {

TRevisionLayout Read(const std::string& body) {
    TRecordReader reader(body + "EndRevisionLayout.\r\nAfter=1\r\n", TRecordVariant::UniCode);
    TRevisionLayoutList list;
    list.LoadRevisionLayout(reader);
    // The block and its columns are consumed to the layout's own terminator, not further.
    std::string key, value;
    EXPECT_TRUE(reader.ReadRecordLine(key, value));
    EXPECT_EQ(key, "AFTER");
    EXPECT_EQ(list.Count(), 1);
    return list.fRevisionLayoutList.at(0);
}

TEST(RevisionLayout, KeysAndTheirFallbacks) {
    const TRevisionLayoutData defaults;
    struct Case {
        std::string Body;
        TRevisionLayoutData Expected;
    };
    auto with = [&](auto change) {
        TRevisionLayoutData d = defaults;
        change(d);
        return d;
    };
    const Case cases[] = {
        {"", defaults},
        {"  RowHeight=7.5\r\n  TextHeight=3\r\n",
         with([](TRevisionLayoutData& d) { d.RowHeight = 7.5, d.TextHeight = 3; })},
        // A bad row or text height gives the default, a bad scale, offset or alignment keeps
        // what was read before.
        {"  RowHeight=9\r\n  RowHeight=x\r\n  TextHeight=x\r\n", defaults},
        {"  Scale=2\r\n  Scale=x\r\n  OffsetX=-4.5\r\n  OffsetY=6\r\n  OffsetY=?\r\n  Align=1\r\n  "
         "Align=1.5\r\n",
         with([](TRevisionLayoutData& d) {
             d.Scale = 2, d.Offset = {-4.5, 6}, d.Align = 1;
         })},
        {"  showheader=No\r\n  REVERSE=Yes\r\n  Unknown=3\r\n",
         with([](TRevisionLayoutData& d) { d.ShowHeader = false, d.Reverse = true; })},
    };
    for (const Case& c : cases) {
        const TRevisionLayoutData d = Read(c.Body).fData;
        EXPECT_EQ(d.RowHeight, c.Expected.RowHeight) << c.Body;
        EXPECT_EQ(d.TextHeight, c.Expected.TextHeight) << c.Body;
        EXPECT_EQ(d.Scale, c.Expected.Scale) << c.Body;
        EXPECT_EQ(d.Offset, c.Expected.Offset) << c.Body;
        EXPECT_EQ(d.Align, c.Expected.Align) << c.Body;
        EXPECT_EQ(d.ShowHeader, c.Expected.ShowHeader) << c.Body;
        EXPECT_EQ(d.Reverse, c.Expected.Reverse) << c.Body;
    }
}

TEST(RevisionLayout, ColumnsInTableOrderWithTheirTypes) {
    const TRevisionLayout layout =
        Read("  RevisionColumn:\r\n    ColumnType=sap code\r\n    ColumnWidth=22.5\r\n    ColumnTitle=SAP\r\n"
             "  EndRevisionColumn.\r\n"
             "  RevisionColumn:\r\n    ColumnType=Nonsense\r\n    ColumnWidth=bad\r\n  EndRevisionColumn.\r\n"
             "  RevisionColumn:\r\n    ColumnType=Drawn\r\n  EndRevisionColumn.\r\n  RowHeight=6\r\n");
    ASSERT_EQ(layout.fColumnList.size(), 3u);
    EXPECT_EQ(layout.fColumnList[0].ColumnType, revcolCode);
    EXPECT_EQ(layout.fColumnList[0].ColumnWidth, 22.5);
    EXPECT_EQ(layout.fColumnList[0].ColumnTitle, "SAP");
    EXPECT_EQ(layout.fColumnList[1].ColumnType, revcolNumber); // an unknown name
    EXPECT_EQ(layout.fColumnList[1].ColumnWidth, 15);          // a bad width keeps the default
    EXPECT_EQ(layout.fColumnList[2].ColumnType, revcolDrawnBy);
    EXPECT_EQ(layout.fData.RowHeight, 6); // keys after the columns still count

    TRevisionLayoutList list;
    list.fRevisionLayoutList.push_back(layout);
    TJsonWriter w;
    list.Dump(w);
    EXPECT_NE(w.Text().find("\"ColumnType\": \"revcolCode\""), std::string::npos) << w.Text();
    EXPECT_NE(w.Text().find("\"Offset\": [0, 0]"), std::string::npos) << w.Text();
}

struct TColumn {
    TRevisionColumnType Type;
    double Width;
    std::string Title;
};

std::vector<TColumn> Columns(const TRevisionLayout& layout) {
    std::vector<TColumn> columns;
    for (const TRevisionColumnData& c : layout.fColumnList)
        columns.push_back({c.ColumnType, c.ColumnWidth, c.ColumnTitle});
    return columns;
}

void ExpectColumns(const TRevisionLayout& layout, const std::vector<TColumn>& expected) {
    const std::vector<TColumn> columns = Columns(layout);
    ASSERT_EQ(columns.size(), expected.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].Type, expected[i].Type) << i;
        EXPECT_EQ(columns[i].Width, expected[i].Width) << i;
        EXPECT_EQ(columns[i].Title, expected[i].Title) << i;
    }
}

TEST(RevisionColumn, DisplayTitleFallsBackToTheTypeName) {
    const struct {
        TRevisionColumnData Column;
        std::string Expected;
    } cases[] = {
        {{revcolNumber, 15, ""}, "Revision"},
        {{revcolCode, 15, ""}, "SAP Code"},
        {{revcolDrawnBy, 15, ""}, "Drawn"},
        {{revcolCheckedBy, 15, ""}, "Checked"},
        {{revcolUser2, 15, ""}, "User2"},
        {{revcolDate, 15, "When"}, "When"},
        {{TRevisionColumnType(200), 15, ""}, "Revision"}, // not a type: never read past the names
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Column.DisplayTitle(), c.Expected) << int(c.Column.ColumnType);
}

TEST(RevisionLayout, MakeDefaultStartsAfresh) {
    TRevisionLayout layout = Read("  RowHeight=9\r\n  Reverse=Yes\r\n  OffsetX=3\r\n"
                                  "  RevisionColumn:\r\n    ColumnType=User1\r\n  EndRevisionColumn.\r\n");
    layout.MakeDefault();
    const TRevisionLayoutData defaults;
    EXPECT_EQ(layout.fData.RowHeight, defaults.RowHeight);
    EXPECT_EQ(layout.fData.Offset, defaults.Offset);
    EXPECT_FALSE(layout.fData.Reverse);
    ExpectColumns(layout, {{revcolNumber, 10, "Rev"},
                           {revcolDate, 20, ""},
                           {revcolDrawnBy, 20, ""},
                           {revcolCheckedBy, 20, ""},
                           {revcolDescription, 110, ""}});
    EXPECT_EQ(layout.fColumnList[1].DisplayTitle(), "Date");

    layout.Clear();
    EXPECT_EQ(layout.Count(), 0);
}

TEST(RevisionLayout, ColumnHousekeepingAndLookUps) {
    TRevisionLayout layout;
    layout.MakeDefault();
    EXPECT_EQ(layout.IndexOf(revcolDrawnBy), 2);
    EXPECT_EQ(layout.IndexOf(revcolCode), -1);
    EXPECT_FALSE(layout.HasUserColomn());

    TRevisionColumnData& added = layout.Add();
    EXPECT_EQ(added.ColumnType, revcolNumber); // a new column has the defaults
    EXPECT_EQ(added.ColumnWidth, 15);
    added.ColumnType = revcolUser2;
    EXPECT_TRUE(layout.HasUserColomn());
    EXPECT_EQ(layout.IndexOf(revcolNumber), 0); // the first of a type counts

    layout.Exchange(0, 5);
    EXPECT_EQ(layout.IndexOf(revcolUser2), 0);
    EXPECT_EQ(layout.IndexOf(revcolNumber), 5);
    layout.Delete(0);
    EXPECT_FALSE(layout.HasUserColomn());

    // Positions out of range change nothing and find nothing.
    const TRevisionLayout before = layout;
    for (int bad : {-1, 5, 1000}) {
        layout.Delete(bad);
        layout.Exchange(bad, 0);
        layout.Exchange(0, bad);
        EXPECT_EQ(layout.GetColumns(bad), nullptr) << bad;
    }
    EXPECT_TRUE(layout.Compare(before));
    ASSERT_NE(layout.GetColumns(4), nullptr);
    EXPECT_EQ(layout.GetColumns(4)->ColumnType, revcolNumber);
}

TEST(RevisionLayoutList, HousekeepingCompareAndUserColumns) {
    TRevisionLayoutList list;
    EXPECT_FALSE(list.HasUserColomn());
    list.Add().MakeDefault();
    list.Add().Add().ColumnType = revcolUser1;
    EXPECT_TRUE(list.HasUserColomn());
    EXPECT_EQ(list.GetRevisionLayouts(2), nullptr);
    EXPECT_EQ(list.GetRevisionLayouts(-1), nullptr);

    TRevisionLayoutList copy;
    copy.Assign(list);
    EXPECT_TRUE(copy.Compare(list));
    copy.Exchange(0, 1);
    EXPECT_FALSE(copy.Compare(list));
    copy.Exchange(0, 1);
    copy.GetRevisionLayouts(0)->fColumnList[4].ColumnWidth = 110 * (1 + 1e-14); // within tolerance
    EXPECT_TRUE(copy.Compare(list));
    copy.GetRevisionLayouts(0)->fData.Align = 1;
    EXPECT_FALSE(copy.Compare(list));
    copy.Assign(list);
    copy.GetRevisionLayouts(1)->fColumnList[0].ColumnTitle = "x";
    EXPECT_FALSE(copy.Compare(list));

    copy.Delete(1);
    copy.Delete(1);
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_FALSE(copy.HasUserColomn());
    EXPECT_FALSE(copy.Compare(list));
}

TEST(RevisionLayout, WrittenAsReadBack) {
    TRevisionLayoutList list;
    TRevisionLayout& plain = list.Add();
    plain.fData.RowHeight = 6;
    plain.fData.Reverse = true;
    plain.Add().ColumnType = revcolDate;
    TRecordWriter writer;
    list.SaveToUniCodeFile(writer);
    // Only what differs from the defaults, the column type always.
    EXPECT_EQ(writer.Text(), "\r\nRevisionLayout:\r\n  RowHeight=6\r\n  Reverse=Yes\r\n"
                             "  RevisionColumn:\r\n    ColumnType=Date\r\n  EndRevisionColumn.\r\n"
                             "EndRevisionLayout.\r\n");

    TRevisionLayout& full = list.Add();
    full.MakeDefault();
    full.fData = {7.5, 3, 0.5, {-2, 4.25}, 1, false, true};
    full.fColumnList[2].ColumnTitle = "Drawn by";
    full.fColumnList[3].ColumnType = revcolUser1;
    writer.Text().clear();
    list.SaveToUniCodeFile(writer);

    TRecordReader reader(writer.Text(), TRecordVariant::UniCode);
    TRevisionLayoutList back;
    std::string key, value;
    while (reader.NextTopLevelKey(key, value, "END."))
        if (key == "REVISIONLAYOUT:") back.LoadRevisionLayout(reader);
    EXPECT_EQ(reader.DamagedRecords(), 0);
    EXPECT_TRUE(back.Compare(list)) << writer.Text();
}

} // namespace
