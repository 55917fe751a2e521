#include <gtest/gtest.h>

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

} // namespace
