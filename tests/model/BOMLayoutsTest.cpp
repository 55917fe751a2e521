#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

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

std::vector<TBOMColumnType> Types(const TBOMColumnList& list) {
    std::vector<TBOMColumnType> types;
    for (const TBOMColumnData& c : list.fBOMColumnList)
        types.push_back(c.ColumnType);
    return types;
}

TBOMColumnList WithColumns(std::vector<TBOMColumnType> types) {
    TBOMColumnList list;
    for (TBOMColumnType t : types)
        list.Add().ColumnType = t;
    return list;
}

std::vector<std::string> Descriptions(const TBOMColumnListList& lists) {
    std::vector<std::string> names;
    for (const TBOMColumnList& l : lists.fList)
        names.push_back(l.fData.Description);
    return names;
}

TEST(BOMColumn, DisplayTitleFallsBackToTheTypeName) {
    const struct {
        TBOMColumnData Column;
        std::string Expected;
    } cases[] = {
        {{bomcolNone, 50, ""}, "None"},
        {{bomcolWeightKG, 50, ""}, "Weight kg"},
        {{bomcolUseInBrevind, 50, ""}, "Export to Brevind"},
        {{bomcolClampingLengthIN, 50, ""}, "Clamp Length inch"},
        {{bomcolUserField, 50, "Colour"}, "Colour"},
        {{TBOMColumnType(BOMColumnTypeCount), 50, ""}, "None"}, // not a type: never read past the names
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Column.DisplayTitle(), c.Expected) << int(c.Column.ColumnType);
}

TEST(BOMColumnList, MakeDefaultStartsAfresh) {
    TBOMColumnList list = Read("  FontName=Courier\r\n  ShowBorder=No\r\n  CombineComponents=Yes\r\n"
                               "  BOMColumn:\r\n    ColumnType=Price\r\n  End.\r\n");
    list.MakeDefault("Purchase");
    TBOMColumnList expected;
    expected.fData.Description = "Purchase";
    for (const TBOMColumnData& c : std::vector<TBOMColumnData>{{bomcolItemNumber, 12, "Pos."},
                                                               {bomcolQuantity, 8, "Qty."},
                                                               {bomcolComponentType, 45, "Type"},
                                                               {bomcolManufacturer, 30, ""},
                                                               {bomcolDescription, 60, ""},
                                                               {bomcolRemark, 25, ""}})
        expected.Add() = c;
    EXPECT_TRUE(list.Compare(expected));
    EXPECT_EQ(list.fData.FontName, "Arial");
    EXPECT_TRUE(list.fData.ShowBorder);
    EXPECT_EQ(list.TotalColumnWidth(), 180);
}

TEST(BOMColumnList, LookUps) {
    TBOMColumnList list = WithColumns({bomcolItemNumber, bomcolUserField, bomcolDescription, bomcolUserField,
                                       bomcolRemark, bomcolUserField});
    list.fBOMColumnList[1].ColumnTitle = "Colour";
    list.fBOMColumnList[3].ColumnTitle = "Finish";
    list.fBOMColumnList[4].ColumnTitle = "Material"; // not a user-field column
    list.fBOMColumnList[5].ColumnTitle = "FINISH";
    EXPECT_EQ(list.IndexOf(bomcolUserField), 1);
    EXPECT_EQ(list.IndexOf(bomcolPrice), -1);
    EXPECT_EQ(list.IndexOfUserField("finish"), 3);
    EXPECT_EQ(list.IndexOfUserField("Material"), -1);
    EXPECT_EQ(list.IndexOfUserField(""), -1);
    EXPECT_EQ(list.IndexOfUserField("Colour "), -1);

    const struct {
        std::vector<TBOMColumnType> Types;
        bool Quantity, SubItem, Supplier;
    } cases[] = {
        {{}, false, false, false},
        {{bomcolQuantity}, true, false, false},
        {{bomcolItemNumber, bomcolSubNumber, bomcolSupplier}, false, true, true},
        {{bomcolItemNumber2, bomcolItemNumber3, bomcolFlowGPM}, false, false, false},
    };
    for (const auto& c : cases) {
        const TBOMColumnList l = WithColumns(c.Types);
        EXPECT_EQ(l.HasQuantityColumn(), c.Quantity) << c.Types.size();
        EXPECT_EQ(l.HasSubItemColumn(), c.SubItem) << c.Types.size();
        EXPECT_EQ(l.HasSupplierColumn(), c.Supplier) << c.Types.size();
    }
}

TEST(BOMColumnList, TotalWidthOfWideColumnsFromAFile) {
    const std::string column = "  BOMColumn:\r\n    ColumnWidth=2147483647\r\n  End.\r\n";
    const TBOMColumnList list =
        Read(column + column + column + "  BOMColumn:\r\n    ColumnWidth=-5\r\n  End.\r\n");
    EXPECT_EQ(list.TotalColumnWidth(), 3 * int64_t(std::numeric_limits<int32_t>::max()) - 5);
    EXPECT_EQ(TBOMColumnList().TotalColumnWidth(), 0);
}

TEST(BOMColumnList, SubItemColumnFollowsTheItemNumber) {
    const TBOMColumnType item = bomcolItemNumber, sub = bomcolSubNumber, desc = bomcolDescription,
                         qty = bomcolQuantity;
    const struct {
        std::vector<TBOMColumnType> Before;
        bool CombineComponents, AlwaysRemove;
        std::vector<TBOMColumnType> After;
    } cases[] = {
        {{item, desc}, false, false, {item, sub, desc}},
        {{item, sub, desc}, false, false, {item, sub, desc}}, // present: left where it is
        {{desc, sub}, false, false, {desc, sub}},
        {{desc, bomcolRemark, item}, false, false, {desc, bomcolRemark, item, sub}},
        {{desc, bomcolRemark}, false, false, {sub, desc, bomcolRemark}}, // no item number: first
        {{}, false, false, {sub}},
        {{desc, item, bomcolRemark, item}, false, false, {desc, item, sub, bomcolRemark, item}},
        {{item, sub, desc}, false, true, {item, desc}},
        {{item, desc}, false, true, {item, desc}},
        {{item, sub, qty}, false, false, {item, qty}}, // quantities make sub-items pointless
        {{item, qty}, false, false, {item, qty}},
        {{item, sub, desc}, true, false, {item, desc}},
        {{item, desc}, true, false, {item, desc}},
        {{sub, item, sub}, false, true, {item, sub}}, // one column at a time
    };
    for (const auto& c : cases) {
        TBOMColumnList list = WithColumns(c.Before);
        list.fData.CombineComponents = c.CombineComponents;
        list.SetOrRemoveSubItemColumn(c.AlwaysRemove);
        EXPECT_EQ(Types(list), c.After) << c.Before.size() << " " << c.CombineComponents << c.AlwaysRemove;
    }

    TBOMColumnList list = WithColumns({item, desc});
    list.SetOrRemoveSubItemColumn(false);
    const TBOMColumnData& added = list.fBOMColumnList[1];
    EXPECT_EQ(added.ColumnWidth, 5);
    EXPECT_EQ(added.ColumnTitle, ".");
    list.SetOrRemoveSubItemColumn(false);
    EXPECT_EQ(list.Count(), 3);
    list.SetOrRemoveSubItemColumn(true);
    EXPECT_EQ(Types(list), (std::vector<TBOMColumnType>{item, desc}));
}

TEST(BOMColumnList, ColumnHousekeeping) {
    TBOMColumnList list = WithColumns({bomcolItemNumber, bomcolPrice, bomcolSize});
    list.Exchange(0, 2);
    list.Delete(1);
    EXPECT_EQ(Types(list), (std::vector<TBOMColumnType>{bomcolSize, bomcolItemNumber}));
    const TBOMColumnList before = list;
    for (int bad : {-1, 2, 99}) {
        list.Delete(bad);
        list.Exchange(bad, 1);
        list.Exchange(1, bad);
        EXPECT_EQ(list.GetBOMColumns(bad), nullptr) << bad;
    }
    EXPECT_TRUE(list.Compare(before));
    ASSERT_NE(list.GetBOMColumns(1), nullptr);
    EXPECT_EQ(list.GetBOMColumns(1)->ColumnType, bomcolItemNumber);

    list.fData.Scale = 1 + 1e-14; // within the tolerance
    EXPECT_TRUE(list.Compare(before));
    for (auto change : {+[](TBOMColumnList& l) { l.fData.IgnoreManualQuantity = true; },
                        +[](TBOMColumnList& l) { l.fData.Offset.Y = 0.5; },
                        +[](TBOMColumnList& l) { l.fData.Language = "de"; },
                        +[](TBOMColumnList& l) { l.fBOMColumnList[0].ColumnWidth = 49; },
                        +[](TBOMColumnList& l) { l.Add(); }}) {
        TBOMColumnList changed = before;
        change(changed);
        EXPECT_FALSE(changed.Compare(before));
    }
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.fData.Scale, 1);
}

TEST(BOMColumnListList, PrepareForUse) {
    TBOMColumnListList lists;
    lists.PrepareForUse();
    EXPECT_EQ(Descriptions(lists), (std::vector<std::string>{"Internal", "Layout 1"}));
    TBOMColumnList internal;
    internal.MakeDefault("Internal");
    EXPECT_TRUE(lists.fList[0].Compare(internal));
    internal.fData.Description = "Layout 1";
    EXPECT_TRUE(lists.fList[1].Compare(internal));

    // A single list is copied without its name and with a border; unnamed lists are named by
    // their position.
    TBOMColumnListList one;
    TBOMColumnList& own = one.Add();
    own.fData.Description = "Editor";
    own.fData.ShowBorder = false;
    own.Add().ColumnType = bomcolPrice;
    one.PrepareForUse();
    EXPECT_EQ(Descriptions(one), (std::vector<std::string>{"Editor", "Layout 1"}));
    EXPECT_FALSE(one.fList[0].fData.ShowBorder);
    EXPECT_TRUE(one.fList[1].fData.ShowBorder);
    EXPECT_EQ(Types(one.fList[1]), (std::vector<TBOMColumnType>{bomcolPrice}));

    TBOMColumnListList three;
    three.Add();
    three.Add().fData.Description = "Hoses";
    three.Add();
    three.PrepareForUse();
    EXPECT_EQ(Descriptions(three), (std::vector<std::string>{"Internal", "Hoses", "Layout 2"}));
    EXPECT_EQ(three.fList[0].Count(), 0); // present lists are only named
}

TEST(BOMColumnListList, NamesForTheChoosers) {
    TBOMColumnListList lists;
    lists.Add().fData.Description = "Internal";
    lists.Add();
    lists.Add().fData.Description = "Purchase";
    TBOMColumnListList unnamedEditor, none;
    unnamedEditor.Add();
    const struct {
        const TBOMColumnListList& Lists;
        bool IncludeInternal;
        std::vector<std::string> Expected;
    } cases[] = {
        {lists, true, {"Internal (Editor)", "Layout 1", "Purchase"}},
        {lists, false, {"Layout 1", "Purchase"}},
        {unnamedEditor, true, {"Layout 0 (Editor)"}},
        {unnamedEditor, false, {}},
        {none, true, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> strings{"stale"};
        c.Lists.AddToStrings(strings, c.IncludeInternal);
        EXPECT_EQ(strings, c.Expected);
    }
}

TEST(BOMColumnListList, NamesLanguagesAndSelection) {
    TBOMColumnListList lists;
    for (const char* name : {"Internal", "Purchase", "purchase", ""})
        lists.Add().fData.Description = name;
    EXPECT_EQ(lists.IndexOf("PURCHASE"), 1);
    EXPECT_EQ(lists.IndexOf("Purchas"), -1);
    EXPECT_EQ(lists.IndexOf(""), 3);
    EXPECT_EQ(TBOMColumnListList().IndexOf(""), -1);

    lists.fList[1].fData.Language = "DE";
    lists.fList[2].fData.Language = "fr";
    lists.SetDefaultLanguage("");
    EXPECT_EQ(lists.fList[0].fData.Language, "");
    lists.SetDefaultLanguage("de");
    EXPECT_EQ(lists.fList[0].fData.Language, "de");
    EXPECT_EQ(lists.fList[1].fData.Language, "DE");
    EXPECT_EQ(lists.fList[2].fData.Language, "fr");
    lists.RemoveDefaultLanguage("De");
    for (int i : {0, 1, 3})
        EXPECT_EQ(lists.fList[size_t(i)].fData.Language, "") << i;
    EXPECT_EQ(lists.fList[2].fData.Language, "fr");

    EXPECT_EQ(lists.GetSelected(), nullptr);
    EXPECT_EQ(lists.SelectedHoses(), nullptr);
    lists.fItemIndex = 2;
    lists.fItemIndexHoses = 1;
    ASSERT_NE(lists.GetSelected(), nullptr);
    EXPECT_EQ(lists.GetSelected()->fData.Description, "purchase");
    EXPECT_EQ(lists.SelectedHoses(), &lists.fList[1]);
    lists.fItemIndex = 4;
    lists.fItemIndexHoses = -7;
    EXPECT_EQ(lists.GetSelected(), nullptr);
    EXPECT_EQ(lists.SelectedHoses(), nullptr);

    TBOMColumnListList copy;
    copy.Assign(lists);
    EXPECT_TRUE(copy.Compare(lists));
    copy.Exchange(1, 2);
    EXPECT_FALSE(copy.Compare(lists));
    copy.Exchange(1, 4);
    copy.Delete(4);
    copy.Delete(-1);
    EXPECT_EQ(copy.Count(), 4);
    EXPECT_EQ(copy.GetBOMColumnLists(4), nullptr);
    EXPECT_EQ(copy.GetBOMColumnLists(1)->fData.Description, "purchase");

    copy.fItemIndexHoses = 0;
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(copy.fItemIndex, -1);
    EXPECT_EQ(copy.fItemIndexHoses, -1);
}

// Reads every column list of the text as a drawing load does.
TBOMColumnListList ReadAll(const std::string& text, TRecordVariant variant = TRecordVariant::UniCode) {
    TRecordReader reader(text, variant);
    TBOMColumnListList lists;
    std::string key, value;
    while (reader.NextTopLevelKey(key, value, "END."))
        if (key == "BOMCOLUMNLIST:") lists.LoadColumnList(reader);
    EXPECT_EQ(reader.DamagedRecords(), 0);
    return lists;
}

TEST(BOMColumnListList, WrittenAsReadBack) {
    TBOMColumnListList lists;
    lists.Add().Add() = {bomcolQuantity, 8, ""};
    lists.Add().fData.Description = "Without columns";
    TRecordWriter writer;
    lists.SaveToUniCodeFile(writer);
    // Lists without columns are not written, layout defaults neither; widths always are.
    EXPECT_EQ(writer.Text(), "\r\nBOMColumnList:\r\n  BOMColumn:\r\n    ColumnType=Quantity\r\n"
                             "    ColumnWidth=8\r\n  End.\r\nEnd.\r\n");

    lists.Delete(1);
    TBOMColumnList& full = lists.Add();
    full.MakeDefault("Every key");
    TBOMLayoutData& d = full.fData;
    d.FontName = "Courier";
    d.TextHeight = 3.5, d.RowHeight = 7, d.MarginTop = 10, d.MarginLeft = 12.5, d.Scale = 2;
    d.Offset = {-1.5, 3};
    d.PortraitOrientation = true, d.ColoredHeader = false, d.ColoredLines = false;
    d.SortColumn = bomcolWeightKG;
    d.ShowBorder = false, d.CombineComponents = true, d.KeepAccessoriesWithMain = false;
    d.LogoName = "logo.png", d.Language = "de", d.LayoutFile = "bom.lay";
    d.ShowHeader = false, d.ShowFooter = false, d.SortDescending = true, d.AutoTranslateLayout = false;
    d.Align = 7, d.MaxLines = 40;
    d.AllCapitals = d.TitleAtBottom = d.IgnoreTranslationList = d.SkipComponentsWithHiddenItemNumbers =
        d.AddTotalRow = d.IgnoreManualQuantity = true;
    full.Add() = {bomcolUserField, 20, "Colour"};
    writer.Text().clear();
    lists.SaveToUniCodeFile(writer);
    const TBOMColumnListList back = ReadAll(writer.Text());
    EXPECT_TRUE(back.Compare(lists)) << writer.Text();

    // The legacy reader takes the older keys and leaves the later ones at their defaults.
    const TBOMColumnListList legacy = ReadAll(writer.Text(), TRecordVariant::Legacy);
    ASSERT_EQ(legacy.Count(), 2);
    TBOMColumnList expected = full;
    const TBOMLayoutData defaults;
    expected.fData.SortDescending = defaults.SortDescending;
    expected.fData.AutoTranslateLayout = defaults.AutoTranslateLayout;
    expected.fData.Align = defaults.Align;
    expected.fData.MaxLines = defaults.MaxLines;
    expected.fData.AllCapitals = expected.fData.TitleAtBottom = expected.fData.IgnoreTranslationList =
        expected.fData.SkipComponentsWithHiddenItemNumbers = expected.fData.AddTotalRow =
            expected.fData.IgnoreManualQuantity = false;
    EXPECT_TRUE(legacy.fList[1].Compare(expected));
}

} // namespace
