#include <gtest/gtest.h>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/Layouts.h"

namespace {

// Reads a layout list block and checks that nothing after its terminator was taken.
TLayoutList Read(const std::string& body, TRecordVariant variant = TRecordVariant::UniCode) {
    TRecordReader reader(body + "EndLayoutList.\r\nAfter=1\r\n", variant);
    TLayoutList list;
    list.LoadFromReader(reader);
    std::string key, value;
    EXPECT_TRUE(reader.ReadRecordLine(key, value));
    EXPECT_EQ(key, "AFTER");
    EXPECT_EQ(reader.DamagedRecords(), 0);
    return list;
}

TLayout ReadOne(const std::string& layoutBody, TRecordVariant variant = TRecordVariant::UniCode) {
    TLayoutList list = Read("  Layout:\r\n" + layoutBody + "  EndLayout.\r\n", variant);
    EXPECT_EQ(list.Count(), 1);
    return list.fLayoutList.at(0);
}

TInsertBlockData ReadInsertBlock(const std::string& keys) {
    const TLayout layout =
        ReadOne("InsertBlockList:\r\nInsertBlock:\r\n" + keys + "EndInsertBlock.\r\nEndInsertBlockList.\r\n");
    EXPECT_EQ(layout.fInsertBlockList.Count(), 1);
    return layout.fInsertBlockList.fInsertBlockList.at(0).fData;
}

const std::string FullLayout =
    "  Layout:\r\n"
    "    DrawingHeadName=A3 head\r\n    PaperSizeName=A3\r\n    LineWeightsName=Thin\r\n"
    "    ColorsName=Print\r\n    BorderName=Frame\r\n    BackgroundWhite=No\r\n    ShowColors=No\r\n"
    "    ShowLineWeights=Yes\r\n    OverruledNumber=2\r\n    OverruledTotal=5\r\n    IsOverruled=Yes\r\n"
    "    TextBlockList:\r\n"
    "      TextBlock:\r\n        Name=Notes\r\n        TextHeight=5\r\n        FontName=Liberation Sans\r\n"
    "        Text=first = line\r\n        Text=second\r\n      EndTextBlock.\r\n"
    "      TextBlock:\r\n      EndTextBlock.\r\n"
    "    EndTextBlockList.\r\n"
    "    BOMLayoutName=Purchase\r\n    BOMHosesLayoutName=Hoses\r\n    SheetIndex=3\r\n    Language=de\r\n"
    "    InsertBlockList:\r\n"
    "      InsertBlock:\r\n        BlockType=TextBlock\r\n        FileName=Notes\r\n"
    "        Align=Top Right\r\n        OffsetX=-5\r\n        OffsetY=7.5\r\n        Visible=No\r\n"
    "      EndInsertBlock.\r\n"
    "    EndInsertBlockList.\r\n"
    "    AttributeList:\r\n      Attribute:\r\n        Tag=Customer\r\n        Value=ACME\r\n"
    "        FromPDM=Yes\r\n      EndAttribute.\r\n    EndAttributeList.\r\n"
    "    SymbolLayerList:\r\n      SymbolLayer:\r\n        Name=Port\r\n        State=Hide\r\n"
    "      EndSymbolLayer.\r\n    EndSymbolLayerList.\r\n"
    "    ConnectionLineColors=sub\r\n    HideConnectionNodes=Yes\r\n    ShowConnectionLineBreaks=2\r\n"
    "  EndLayout.\r\n"
    "  Layout:\r\n    DrawingHeadName=Second\r\n  EndLayout.\r\n";

TEST(Layout, FullRecordWithItsNestedLists) {
    const TLayoutList list = Read(FullLayout);
    ASSERT_EQ(list.Count(), 2);
    const TLayout& layout = list.fLayoutList[0];
    const TLayoutData& d = layout.fData;
    EXPECT_EQ(d.DrawingHeadName, "A3 head");
    EXPECT_EQ(d.PaperSizeName, "A3");
    EXPECT_EQ(d.LineWeightsName, "Thin");
    EXPECT_EQ(d.ColorsName, "Print");
    EXPECT_EQ(d.BorderName, "Frame");
    EXPECT_TRUE(layout.HasBorder());
    EXPECT_FALSE(d.BackgroundWhite);
    EXPECT_FALSE(d.ShowColors);
    EXPECT_TRUE(d.ShowLineWeights);
    EXPECT_EQ(d.OverruledNumber, 2);
    EXPECT_EQ(d.OverruledTotal, 5);
    EXPECT_TRUE(d.IsOverruled);
    EXPECT_EQ(d.BOMLayoutName, "Purchase");
    EXPECT_EQ(d.BOMHosesLayoutName, "Hoses");
    EXPECT_EQ(d.SheetIndex, 3);
    EXPECT_EQ(d.Language, "de");
    EXPECT_EQ(d.ConnectionLineColors, drawSubGroups);
    EXPECT_TRUE(d.HideConnectionNodes);
    EXPECT_EQ(d.ShowConnectionLineBreaks, breakHideLine);

    ASSERT_EQ(layout.fTextBlockList.Count(), 2);
    const TTextBlock& notes = layout.fTextBlockList.fTextBlockList[0];
    EXPECT_EQ(notes.fData, (TTextBlockData{"Notes", 5, "Liberation Sans"}));
    EXPECT_EQ(notes.fTextList, (std::vector<std::string>{"first = line", "second"}));
    EXPECT_EQ(layout.fTextBlockList.fTextBlockList[1].fData, TTextBlockData{});

    ASSERT_EQ(layout.fInsertBlockList.Count(), 1);
    const TInsertBlockData& ib = layout.fInsertBlockList.fInsertBlockList[0].fData;
    EXPECT_EQ(ib.BlockType, ibTextBlock);
    EXPECT_EQ(ib.FileName, "Notes");
    EXPECT_EQ(ib.Align, alTopRight);
    EXPECT_EQ(ib.Offset, (TXYPoint{-5, 7.5}));
    EXPECT_FALSE(ib.Visible);

    // The attributes and layers of a layout are its own.
    ASSERT_EQ(layout.fAttributeList.Count(), 1);
    EXPECT_EQ(layout.fAttributeList.GetValue("CUSTOMER"), "ACME");
    EXPECT_TRUE(layout.fAttributeList.fAttributeList[0].FromPDM);
    ASSERT_EQ(layout.fSymbolLayers.Count(), 1);
    EXPECT_EQ(layout.fSymbolLayers.fList[0].fData.State, slsHide);

    // A layout that names little keeps the defaults, the sheet index -1 among them.
    const TLayout& second = list.fLayoutList[1];
    TLayoutData expected;
    expected.DrawingHeadName = "Second";
    EXPECT_EQ(second.fData, expected);
    EXPECT_EQ(second.fData.SheetIndex, -1);
    EXPECT_FALSE(second.HasBorder());
    EXPECT_EQ(second.fTextBlockList.Count() + second.fInsertBlockList.Count() +
                  second.fAttributeList.Count() + second.fSymbolLayers.Count(),
              0);

    TJsonWriter w;
    list.Dump(w);
    for (const char* expectedText :
         {"\"Class\": \"TLayout\"", "\"ConnectionLineColors\": \"drawSubGroups\"",
          "\"ShowConnectionLineBreaks\": \"breakHideLine\"", "\"BlockType\": \"ibTextBlock\"",
          "\"Align\": \"alTopRight\"", "\"Offset\": [-5, 7.5]", "\"Entity\": null",
          "\"AdditionalPictures\": []", "\"TextList\": [", "\"Tag\": \"Customer\"", "\"State\": \"slsHide\"",
          "\"SymbolLayers\": ["})
        EXPECT_NE(w.Text().find(expectedText), std::string::npos) << expectedText << "\n" << w.Text();
}

TEST(Layout, BadNumbersAndUnknownNames) {
    struct Case {
        std::string Body;
        int32_t OverruledNumber, SheetIndex;
        TSymbolGroupDrawMode Colors;
        TShowConnectionLineBreak Breaks;
    };
    const Case cases[] = {
        {"", -1, -1, drawMainGroups, breakShowAsDefault},
        // A bad integer gives -1, not the value read before.
        {"OverruledNumber=4\r\nOverruledNumber=4.5\r\nSheetIndex=2\r\nSheetIndex=x\r\n", -1, -1,
         drawMainGroups, breakShowAsDefault},
        {"ConnectionLineColors=NONE2\r\nShowConnectionLineBreaks=4\r\n", -1, -1, drawNoGroups2, breakHideAll},
        {"ConnectionLineColors=Sub\r\nConnectionLineColors=Blue\r\nShowConnectionLineBreaks=3\r\n"
         "ShowConnectionLineBreaks=many\r\n",
         -1, -1, drawMainGroups, breakShowAsDefault},
        // Ordinals outside the enumeration are bad values, too.
        {"ShowConnectionLineBreaks=5\r\n", -1, -1, drawMainGroups, breakShowAsDefault},
        {"ShowConnectionLineBreaks=-1\r\n", -1, -1, drawMainGroups, breakShowAsDefault},
    };
    for (const Case& c : cases) {
        const TLayoutData d = ReadOne(c.Body).fData;
        EXPECT_EQ(d.OverruledNumber, c.OverruledNumber) << c.Body;
        EXPECT_EQ(d.SheetIndex, c.SheetIndex) << c.Body;
        EXPECT_EQ(d.ConnectionLineColors, c.Colors) << c.Body;
        EXPECT_EQ(d.ShowConnectionLineBreaks, c.Breaks) << c.Body;
    }
}

TEST(Layout, LegacyVariantKnowsTheOlderKeysOnly) {
    const TLayout layout = ReadOne(
        "DRAWINGHEADNAME=Old\r\nOVERRULEDTOTAL=3\r\nSHEETINDEX=4\r\nLANGUAGE=fr\r\n"
        "TEXTBLOCKLIST:\r\nTEXTBLOCK:\r\nNAME=T\r\nTEXT=x\r\nENDTEXTBLOCK.\r\nENDTEXTBLOCKLIST.\r\n"
        "ATTRIBUTELIST:\r\nATTRIBUTE:\r\nTAG=A\r\nFROMPDM=YES\r\nENDATTRIBUTE.\r\nENDATTRIBUTELIST.\r\n"
        "SYMBOLLAYERLIST:\r\nSYMBOLLAYER:\r\nNAME=L\r\nENDSYMBOLLAYER.\r\nENDSYMBOLLAYERLIST.\r\n",
        TRecordVariant::Legacy);
    EXPECT_EQ(layout.fData.DrawingHeadName, "Old");
    EXPECT_EQ(layout.fData.OverruledTotal, 3);
    EXPECT_EQ(layout.fData.SheetIndex, -1);
    EXPECT_EQ(layout.fData.Language, "");
    ASSERT_EQ(layout.fTextBlockList.Count(), 1);
    EXPECT_EQ(layout.fTextBlockList.fTextBlockList[0].fTextList, std::vector<std::string>{"x"});
    ASSERT_EQ(layout.fAttributeList.Count(), 1);
    EXPECT_FALSE(layout.fAttributeList.fAttributeList[0].FromPDM);
    EXPECT_EQ(layout.fSymbolLayers.Count(), 0);
}

TEST(InsertBlock, KeysAndTheirFallbacks) {
    const TInsertBlockData defaults;
    struct Case {
        std::string Keys;
        TInsertBlockData Expected;
    };
    auto with = [&](auto change) {
        TInsertBlockData d = defaults;
        change(d);
        return d;
    };
    const Case cases[] = {
        {"", defaults},
        {"BlockType=billofmaterialsHOSES\r\nAlign=top LEFT\r\n",
         with([](TInsertBlockData& d) { d.BlockType = ibBOMHoses, d.Align = alTopLeft; })},
        {"BlockType=RevisionHistory\r\nAlign=Fixed\r\n",
         with([](TInsertBlockData& d) { d.BlockType = ibRevisionHistory, d.Align = alFixed; })},
        // Names a type or an alignment does not have give the defaults.
        {"BlockType=Logo\r\nBlockType=Picture\r\nAlign=Middle\r\nAlign=Centre\r\n", defaults},
        {"InsertionPointX=10.5\r\nInsertionPointY=-2\r\nInsertionPointX=x\r\nRotation=90\r\nRotation=\r\n"
         "Scale=0.5\r\nScale=1,5\r\nOffsetY=3\r\nOffsetY=nan\r\n",
         with([](TInsertBlockData& d) {
             d.InsertionPoint = {10.5, -2}, d.Rotation = 90, d.Scale = 0.5, d.Offset = {0, 3};
         })},
        {"Tag=7\r\nTag=7.5\r\nAttachedToFace=4\r\nAttachedToFace=x\r\n",
         with([](TInsertBlockData& d) { d.Tag = 7, d.AttachedToFace = 4; })},
        // The design program writes a comma after the key; both spellings are read.
        {"  AttachedToFace,=9\r\n", with([](TInsertBlockData& d) { d.AttachedToFace = 9; })},
        {"Visible=no\r\nOverruledPosition=YES\r\nFileName=C:\\pics\\logo.bmp\r\n",
         with([](TInsertBlockData& d) {
             d.Visible = false, d.OverruledPosition = true, d.FileName = "C:\\pics\\logo.bmp";
         })},
    };
    for (const Case& c : cases) {
        const TInsertBlockData d = ReadInsertBlock(c.Keys);
        EXPECT_EQ(d.BlockType, c.Expected.BlockType) << c.Keys;
        EXPECT_EQ(d.FileName, c.Expected.FileName) << c.Keys;
        EXPECT_EQ(d.Align, c.Expected.Align) << c.Keys;
        EXPECT_EQ(d.InsertionPoint, c.Expected.InsertionPoint) << c.Keys;
        EXPECT_EQ(d.Offset, c.Expected.Offset) << c.Keys;
        EXPECT_EQ(d.Rotation, c.Expected.Rotation) << c.Keys;
        EXPECT_EQ(d.Visible, c.Expected.Visible) << c.Keys;
        EXPECT_EQ(d.Scale, c.Expected.Scale) << c.Keys;
        EXPECT_EQ(d.AttachedToFace, c.Expected.AttachedToFace) << c.Keys;
        EXPECT_EQ(d.Tag, c.Expected.Tag) << c.Keys;
        EXPECT_EQ(d.OverruledPosition, c.Expected.OverruledPosition) << c.Keys;
    }
}

TEST(TextBlock, ABadTextHeightKeepsTheOneRead) {
    const TLayout layout = ReadOne("TextBlockList:\r\nTextBlock:\r\nTextHeight=2.5\r\nTextHeight=big\r\n"
                                   "EndTextBlock.\r\nTextBlock:\r\nTextHeight=big\r\nEndTextBlock.\r\n"
                                   "EndTextBlockList.\r\n");
    ASSERT_EQ(layout.fTextBlockList.Count(), 2);
    EXPECT_EQ(layout.fTextBlockList.fTextBlockList[0].fData.TextHeight, 2.5);
    EXPECT_EQ(layout.fTextBlockList.fTextBlockList[1].fData.TextHeight, 3.5);
}

TEST(LayoutList, TextCutOffInsideAnyRecordEndsItCleanly) {
    struct Case {
        std::string Text;
        int Layouts, InsertBlocks, Damaged; // Damaged: the records left open
    };
    const Case cases[] = {
        {"", 0, 0, 1},
        {"  Layout:\r\n    SheetIndex=1\r\n", 1, 0, 2},
        {"  Layout:\r\n    InsertBlockList:\r\n", 1, 0, 3},
        {"  Layout:\r\n    InsertBlockList:\r\n      InsertBlock:\r\n        BlockType=Logo", 1, 1, 4},
        {"  Layout:\r\n    TextBlockList:\r\n      TextBlock:\r\n        Text=a\r\n", 1, 0, 4},
        {"  Layout:\r\n    SymbolLayerList:\r\n      SymbolLayer:\r\n", 1, 0, 4},
        {"  Layout:\r\n    AttributeList:\r\n      Attribute:\r\n        Tag=A\r\n", 1, 0, 4},
        {"  Layout:\r\n  EndLayout.\r\n  Layout:\r\n", 2, 0, 2},
    };
    for (const Case& c : cases) {
        TRecordReader reader(c.Text, TRecordVariant::UniCode);
        TLayoutList list;
        list.LoadFromReader(reader);
        EXPECT_TRUE(reader.AtEnd()) << c.Text;
        EXPECT_EQ(reader.DamagedRecords(), c.Damaged) << c.Text;
        ASSERT_EQ(list.Count(), c.Layouts) << c.Text;
        if (c.Layouts > 0) {
            EXPECT_EQ(list.fLayoutList[0].fInsertBlockList.Count(), c.InsertBlocks) << c.Text;
            if (c.InsertBlocks > 0) {
                EXPECT_EQ(list.fLayoutList[0].fInsertBlockList.fInsertBlockList[0].fData.BlockType, ibLogo);
            }
        }
    }
}

TEST(InsertBlock, NameAndFileType) {
    struct Case {
        std::string FileName, BlockName;
        bool Picture, Excel;
    };
    const Case cases[] = {
        {"C:\\Blocks\\Title block.v2.dwg", "Title_block_v2", false, false},
        {"/home/u/logo.BMP", "logo", true, false},
        {"photo.jpeg", "photo", true, false},
        {"shot.JPG", "shot", true, false},
        {"drawing.png", "drawing", false, false},
        {"parts.xlsx", "parts", false, true},
        {"old parts.XLS", "old_parts", false, true},
        {"macro.xlsm", "macro", false, false},
        {"folder.d/plain", "plain", false, false},
        {"", "", false, false},
    };
    for (const Case& c : cases) {
        TInsertBlock block;
        block.fData.FileName = c.FileName;
        EXPECT_EQ(block.BlockName(), c.BlockName) << c.FileName;
        EXPECT_EQ(block.IsPicture(), c.Picture) << c.FileName;
        EXPECT_EQ(block.IsExcel(), c.Excel) << c.FileName;
    }
}

TInsertBlock Block(TInsertBlockType type, const std::string& fileName) {
    TInsertBlock b;
    b.fData.BlockType = type;
    b.fData.FileName = fileName;
    return b;
}

TEST(InsertBlockList, LookUps) {
    TInsertBlockList list;
    const int someEntity = 0;
    list.Add(Block(ibLogo, "c:\\x\\Company Logo.bmp"));
    list.Add(Block(ibTextBlock, "Notes"));
    list.Add().fData.Entity = &someEntity;
    EXPECT_EQ(list.IndexOf("company_LOGO"), 0);
    EXPECT_EQ(list.IndexOf(std::string("notes")), 1);
    EXPECT_EQ(list.IndexOf("Company Logo"), -1); // the block name has "_" for spaces
    EXPECT_EQ(list.IndexOf(ibTextBlock), 1);
    EXPECT_EQ(list.IndexOf(ibBorder), -1);
    EXPECT_EQ(list.IndexOf(static_cast<const void*>(&someEntity)), 2);
    EXPECT_EQ(list.IndexOf(static_cast<const void*>(nullptr)), -1);
}

std::vector<std::string> TextBlockNames(const TTextBlockList& list) {
    std::vector<std::string> names;
    for (const TTextBlock& b : list.fTextBlockList)
        names.push_back(b.fData.Name);
    return names;
}

TEST(TextBlockList, RenameDuplicatesKeepsNamesUnique) {
    TTextBlockList forward;
    for (const char* name : {"A", "a", "A (2)", "B", "A"})
        forward.Add().fData.Name = name;
    TTextBlockList reverse;
    reverse.Assign(forward);

    forward.RenameDuplicates();
    EXPECT_EQ(TextBlockNames(forward), (std::vector<std::string>{"A", "a (3)", "A (2)", "B", "A (4)"}));
    reverse.RenameDuplicatesReverse();
    EXPECT_EQ(TextBlockNames(reverse), (std::vector<std::string>{"A (4)", "a (3)", "A (2)", "B", "A"}));
    EXPECT_EQ(reverse.IndexOf("a (3)"), 1);
    EXPECT_EQ(reverse.IndexOf("C"), -1);
}

TEST(Layout, RemoveNotUsedTextBlocks) {
    TLayout layout;
    for (const char* name : {"Title block", "Notes", "Unused", "title BLOCK"})
        layout.fTextBlockList.Add().fData.Name = name;
    layout.fInsertBlockList.Add(Block(ibTextBlock, "C:\\blocks\\TITLE block.txb"));
    layout.fInsertBlockList.Add(Block(ibLogo, "Notes")); // not a text-block insert
    layout.RemoveNotUsedTextBlocks();
    EXPECT_EQ(TextBlockNames(layout.fTextBlockList),
              (std::vector<std::string>{"Title block", "title BLOCK"}));
}

TEST(LayoutList, DefaultLanguage) {
    TLayoutList list;
    for (const char* language : {"", "DE", "en"})
        list.Add().fData.Language = language;
    list.SetDefaultLanguage("de");
    list.RemoveDefaultLanguage("De");
    EXPECT_EQ(list.fLayoutList[0].fData.Language, "");
    EXPECT_EQ(list.fLayoutList[1].fData.Language, "");
    EXPECT_EQ(list.fLayoutList[2].fData.Language, "en");
    list.SetDefaultLanguage("fr");
    EXPECT_EQ(list.fLayoutList[0].fData.Language, "fr");
    EXPECT_EQ(list.fLayoutList[2].fData.Language, "en");
}

TEST(LayoutList, CompareAssignExchangeAndSelection) {
    const TLayoutList read = Read(FullLayout);
    TLayoutList copy;
    copy.Assign(read);
    EXPECT_TRUE(copy.Compare(read));

    // The working values of an insert block are no part of it.
    copy.fLayoutList[0].fInsertBlockList.fInsertBlockList[0].fData.UseBox = true;
    EXPECT_TRUE(copy.Compare(read));
    // Every nested list counts.
    copy.fLayoutList[0].fSymbolLayers.fList[0].fData.State = slsPartial;
    EXPECT_FALSE(copy.Compare(read));
    copy.Assign(read);
    copy.fLayoutList[0].fTextBlockList.fTextBlockList[0].fTextList.push_back("more");
    EXPECT_FALSE(copy.Compare(read));
    copy.Assign(read);
    copy.fLayoutList[0].fInsertBlockList.fInsertBlockList[0].fAdditionalPictures.Add();
    EXPECT_FALSE(copy.Compare(read));

    copy.Assign(read);
    copy.Exchange(0, 1);
    EXPECT_FALSE(copy.Compare(read));
    EXPECT_EQ(copy.fLayoutList[0].fData.DrawingHeadName, "Second");
    copy.Exchange(0, 2); // out of range: nothing happens
    copy.Delete(-1);
    EXPECT_EQ(copy.fLayoutList[0].fData.DrawingHeadName, "Second");
    EXPECT_EQ(copy.Count(), 2);

    EXPECT_EQ(copy.GetSelected(), nullptr);
    copy.fItemIndex = 1;
    EXPECT_EQ(copy.GetSelected(), &copy.fLayoutList[1]);
    copy.fItemIndex = 2;
    EXPECT_EQ(copy.GetSelected(), nullptr);
    copy.Clear();
    EXPECT_EQ(copy.fItemIndex, -1);
}

} // namespace
