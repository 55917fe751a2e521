#include <gtest/gtest.h>

#include "model/BOMLayouts.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"

namespace {

// Reads one column list of the variant and checks that nothing after its "End." was taken.
TBOMColumnList Read(const std::string& body, TRecordVariant variant = TRecordVariant::UniCode) {
    TRecordReader reader(body + "End.\r\nAfter=1\r\n", variant);
    TBOMColumnListList lists;
    lists.LoadColumnList(reader);
    std::string key, value;
    EXPECT_TRUE(reader.ReadRecordLine(key, value));
    EXPECT_EQ(key, "AFTER");
    EXPECT_EQ(lists.Count(), 1);
    return lists.fList.at(0);
}

TEST(BOMColumnList, AColumnOfDefaultsAndLayoutDefaults) {
    const TBOMColumnList list = Read("  BOMColumn:\r\n    ColumnType=Quantity\r\n  End.\r\n");
    ASSERT_EQ(list.fBOMColumnList.size(), 1u);
    EXPECT_EQ(list.fBOMColumnList[0].ColumnType, bomcolQuantity);
    EXPECT_EQ(list.fBOMColumnList[0].ColumnWidth, 50);
    EXPECT_EQ(list.fBOMColumnList[0].ColumnTitle, "");
    const TBOMLayoutData& d = list.fData;
    EXPECT_EQ(d.FontName, "Arial");
    EXPECT_EQ(d.SortColumn, bomcolItemNumber);
    EXPECT_TRUE(d.ShowBorder && d.KeepAccessoriesWithMain && d.AutoTranslateLayout && d.ColoredHeader);
    EXPECT_EQ(d.Align, 3);
}

TEST(BOMColumnList, LayoutKeysAndTheirFallbacks) {
    const TBOMColumnList list =
        Read("  FontName=Liberation Sans\r\n  TextHeight=3\r\n  TextHeight=bad\r\n  SortColumn=weight KG\r\n"
             "  OffsetX=1.5\r\n  Scale=x\r\n  Align=x\r\n  MaxLines=x\r\n  Description=Purchase\r\n"
             "  SkipWithHiddenItem=Yes\r\n  SortDescending=Yes\r\n  BOMColumn:\r\n    ColumnType=no such\r\n"
             "    ColumnWidth=7\r\n    ColumnWidth=7.5\r\n    ColumnTitle=Pos.\r\n  End.\r\n"
             "  BOMColumn:\r\n    ColumnType=Clamp Length inch\r\n  End.\r\n  ShowFooter=No\r\n");
    const TBOMLayoutData& d = list.fData;
    EXPECT_EQ(d.FontName, "Liberation Sans");
    EXPECT_EQ(d.TextHeight, 3); // a bad number keeps what was read
    EXPECT_EQ(d.SortColumn, bomcolWeightKG);
    EXPECT_EQ(d.Offset, (TXYPoint{1.5, 0}));
    EXPECT_EQ(d.Scale, 1);
    EXPECT_EQ(d.Align, 3); // a bad alignment or line count gives the default
    EXPECT_EQ(d.MaxLines, 0);
    EXPECT_EQ(d.Description, "Purchase");
    EXPECT_TRUE(d.SkipComponentsWithHiddenItemNumbers);
    EXPECT_TRUE(d.SortDescending);
    EXPECT_FALSE(d.ShowFooter); // keys after the columns still count
    ASSERT_EQ(list.fBOMColumnList.size(), 2u);
    EXPECT_EQ(list.fBOMColumnList[0].ColumnType, bomcolNone);
    EXPECT_EQ(list.fBOMColumnList[0].ColumnWidth, 7);
    EXPECT_EQ(list.fBOMColumnList[0].ColumnTitle, "Pos.");
    EXPECT_EQ(list.fBOMColumnList[1].ColumnType, bomcolClampingLengthIN);

    TBOMColumnListList lists;
    lists.fList.push_back(list);
    TJsonWriter w;
    lists.Dump(w);
    EXPECT_NE(w.Text().find("\"SortColumn\": \"bomcolWeightKG\""), std::string::npos);
    EXPECT_NE(w.Text().find("\"Offset\": [1.5, 0]"), std::string::npos);
}

TEST(BOMColumnList, TheLegacyVariantKnowsOnlyTheOlderKeys) {
    const TBOMColumnList list =
        Read("  SortDescending=Yes\r\n  MaxLines=9\r\n  Description=Old\r\n  ShowHeader=No\r\n",
             TRecordVariant::Legacy);
    EXPECT_FALSE(list.fData.SortDescending);
    EXPECT_EQ(list.fData.MaxLines, 0);
    EXPECT_EQ(list.fData.Description, "Old");
    EXPECT_FALSE(list.fData.ShowHeader);
}

TEST(BOMColumnList, ACutOffListKeepsWhatWasRead) {
    TRecordReader reader("  Description=Cut\r\n  BOMColumn:\r\n    ColumnType=Price\r\n",
                         TRecordVariant::UniCode);
    TBOMColumnListList lists;
    lists.LoadColumnList(reader);
    ASSERT_EQ(lists.Count(), 1);
    EXPECT_EQ(lists.fList[0].fData.Description, "Cut");
    ASSERT_EQ(lists.fList[0].fBOMColumnList.size(), 1u);
    EXPECT_EQ(lists.fList[0].fBOMColumnList[0].ColumnType, bomcolPrice);
    EXPECT_EQ(reader.DamagedRecords(), 2);
}

} // namespace
