#include <gtest/gtest.h>

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "objects/AnnotationObjects.h"
#include "support/TempFiles.h"

namespace {

std::string Schematic(const std::string& header, const std::string& rest = "") {
    return "\xEF\xBB\xBF* test.kdf\r\n* Symbol File\r\nSymbolFile:\r\n\r\nHeader:\r\n  "
           "FileType=Schematic\r\n" +
           header + "End.\r\n" + rest + "SYMBOL:\r\n  Handle=0\r\nEnd.\r\n\r\nEnd.\r\n";
}

class DocumentTest : public ::testing::Test {
protected:
    TTempDir dir;
    TSymbolFile doc;
    bool Load(const std::string& text, const std::string& name = "d.kdf") {
        return doc.LoadFromFile(dir.Write(name, text));
    }
};

TEST_F(DocumentTest, HeaderValues) {
    ASSERT_TRUE(Load(Schematic("  FileVersion=2024.1-1207\r\n  StartX=10\r\n  StartY=x\r\n  Zoom=2500\r\n"
                               "  GroupDrawMode=sub\r\n  ProjectType=External\r\n  IsBorder=Yes\r\n"
                               "  PrintBOMLayoutIndex=bad\r\n  Item2LayoutHeight=25\r\n"
                               "  ItemLayoutBorder=Circle\r\n  LeaderLayoutAlign=Left\r\n"
                               "  PackAndSaveBOMHoseLayoutIndex=4\r\n")));
    const TSymbolFileData& d = doc.Data();
    EXPECT_TRUE(doc.IsSchematic());
    EXPECT_EQ(d.FileVersion, "2024.1-1207");
    EXPECT_EQ(d.Start, TPoint(10, 0));
    EXPECT_DOUBLE_EQ(d.Zoom, 2.5);
    EXPECT_EQ(d.GroupDrawMode, drawSubGroups);
    EXPECT_EQ(d.ProjectType, ptExternal);
    EXPECT_TRUE(d.IsBorder);
    EXPECT_EQ(d.PrintBOMLayoutIndex, 1);
    EXPECT_EQ(d.ItemNumberLayouts[layout_Item2].Height, 25);
    EXPECT_EQ(d.ItemNumberLayouts[layout_Item3].Height, 20);
    EXPECT_EQ(d.ItemNumberLayouts[layout_Item1].Border, itemborderCircle);
    EXPECT_EQ(d.ItemNumberLayouts[layout_Item2].Border, itemborderRectangle);
    EXPECT_EQ(d.ItemNumberLayouts[layout_Leader].TextAlign, taMiddle); // leaders have no Align key
    EXPECT_EQ(d.PackAndSaveBOMHosesLayoutIndex, 4);
    EXPECT_EQ(doc.Symbol().fHandle, -1);
}

TEST_F(DocumentTest, EnumerationFallbacks) {
    ASSERT_TRUE(Load(Schematic("  GroupDrawMode=Sub groups\r\n  ProjectType=Not defined\r\n")));
    EXPECT_EQ(doc.Data().GroupDrawMode, drawMainGroups);
    EXPECT_EQ(doc.Data().ProjectType, ptNotDefined);
}

TEST_F(DocumentTest, TwoHeadersMergeAndSectionsInAnyOrder) {
    std::string text =
        "SYMBOL:\r\n  2PointSymbol:\r\n    Handle=4\r\n  End.\r\nEnd.\r\n"
        "AdditionalFile=a.pdf\r\nHeader:\r\n  FileType=Symbol\r\n  KeyWords=one\r\n  StartX=5\r\nEnd.\r\n"
        "Revision:\r\n  Number=A\r\n  Date=45000.5\r\nEndRevision.\r\n"
        "Header:\r\n  StartX=7\r\nEnd.\r\nAdditionalFile=b.pdf\r\nEnd.\r\n";
    ASSERT_TRUE(Load(text, "s.sym"));
    EXPECT_EQ(doc.FileType(), sftSymbol);
    EXPECT_EQ(doc.Data().KeyWords, "one");
    EXPECT_EQ(doc.Data().Start.X, 7);
    EXPECT_EQ(doc.fAdditionalFiles, (std::vector<std::string>{"a.pdf", "b.pdf"}));
    ASSERT_EQ(doc.fRevisionList.Count(), 1);
    EXPECT_DOUBLE_EQ(doc.fRevisionList.fList[0].Date, 45000.5);
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.Count(), 1);
}

TEST_F(DocumentTest, SectionsWithNestedRecordsAreConsumedWhole) {
    // Blocks whose nested records close with "End." must not end the top level early.
    std::string rest =
        "BOMColumnList:\r\n  BOMColumn:\r\n    ColumnType=x\r\n  End.\r\n  FontName=Arial\r\nEnd.\r\n"
        "LayoutList:\r\n  Layout:\r\n    AttributeList:\r\n      Attribute:\r\n      EndAttribute.\r\n"
        "    EndAttributeList.\r\n  EndLayout.\r\nEndLayoutList.\r\n"
        "TextStyle:\r\n  StyleName=X\r\nEndTextStyle.\r\n";
    ASSERT_TRUE(Load(Schematic("", rest)));
    EXPECT_EQ(doc.Symbol().fHandle, -1);
    // The layout's attribute list is the layout's, not the drawing header's.
    ASSERT_EQ(doc.fLayoutList.fLayoutList.size(), 1u);
    EXPECT_EQ(doc.fLayoutList.fLayoutList[0].fAttributeList.Count(), 1);
    EXPECT_EQ(doc.fAttributeList.Count(), 0);
    ASSERT_TRUE(Load(Schematic("", rest + "SYMBOL:\r\n  Symbol:\r\n    Handle=3\r\n  End.\r\nEnd.\r\n")));
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.Count(), 1);
}

TEST_F(DocumentTest, ItemNumbersAndLeadersTakeTheHeaderLayoutOfTheirType) {
    const std::string objects = "SYMBOL:\r\n  Handle=0\r\n"
                                "  Symbol:\r\n    ItemNumber:\r\n      LeaderType=2\r\n    End.\r\n  End.\r\n"
                                "  ItemNumber:\r\n  End.\r\n"
                                "  Leader:\r\n    LeaderType=9\r\n  End.\r\n"
                                "End.\r\n";
    ASSERT_TRUE(Load("SymbolFile:\r\nHeader:\r\n  FileType=Schematic\r\n  Item2LayoutHeight=44\r\n"
                     "  ItemLayoutBorder=Circle\r\n  LeaderLayoutHeight=12\r\nEnd.\r\n" +
                     objects + "End.\r\n"));
    const TSymbolObjectList& l = doc.Symbol().fSymbolObjectList;
    const auto* nested =
        dynamic_cast<const TSymbolObjectLeader*>(l.SymbolObjects(0)->fSymbolObjectList.SymbolObjects(0));
    const auto* item = dynamic_cast<const TSymbolObjectLeader*>(l.SymbolObjects(1));
    const auto* leader = dynamic_cast<const TSymbolObjectLeader*>(l.SymbolObjects(2));
    ASSERT_TRUE(nested && item && leader);
    EXPECT_EQ(nested->fLeaderType, layout_Item2);
    EXPECT_EQ(nested->fLayout.Height, 44);
    EXPECT_EQ(item->fLeaderType, layout_Item1);
    EXPECT_EQ(item->fLayout.Border, itemborderCircle);
    // A type past the four layouts keeps the leader's own.
    EXPECT_EQ(leader->fLeaderType, layout_Leader);
    EXPECT_EQ(leader->fLayout.Height, 12);
}

TEST_F(DocumentTest, RevisionAttributesMoveIntoRevisions) {
    std::string attrs = "AttributeList:\r\n"
                        "  Attribute:\r\n    Tag=REV2DATE\r\n    Value=2024-03-15\r\n  EndAttribute.\r\n"
                        "  Attribute:\r\n    Tag=rev1no\r\n  EndAttribute.\r\n"
                        "  Attribute:\r\n    Tag=REV NR. 3\r\n    Value=C\r\n  EndAttribute.\r\n"
                        "  Attribute:\r\n    Tag=REV6NO\r\n    Value=F\r\n  EndAttribute.\r\n"
                        "  Attribute:\r\n    Tag=ProjectName\r\n    Value=Press\r\n  EndAttribute.\r\n"
                        "EndAttributeList.\r\n";
    ASSERT_TRUE(Load(Schematic("", attrs)));
    ASSERT_EQ(doc.fRevisionList.Count(), 3);
    EXPECT_DOUBLE_EQ(doc.fRevisionList.fList[1].Date, 45366); // 2024-03-15
    EXPECT_EQ(doc.fRevisionList.fList[2].Number, "C");
    ASSERT_EQ(doc.fAttributeList.Count(), 2);
    EXPECT_EQ(doc.fAttributeList.fAttributeList[0].Tag, "REV6NO");
    EXPECT_EQ(doc.fAttributeList.fAttributeList[1].Tag, "ProjectName");
}

TEST_F(DocumentTest, InvalidRevisionDateIsReportedAndLoadGoesOn) {
    std::vector<std::string> reported;
    doc.Messages().InvalidRevisionDate = [&](const std::string& v) { reported.push_back(v); };
    std::string attrs =
        "AttributeList:\r\n  Attribute:\r\n    Tag=REV1DATE\r\n    Value=soon\r\n  EndAttribute.\r\n"
        "EndAttributeList.\r\n";
    ASSERT_TRUE(Load(Schematic("", attrs)));
    EXPECT_EQ(reported, (std::vector<std::string>{"soon"}));
    EXPECT_EQ(doc.fRevisionList.Count(), 1);
    EXPECT_EQ(doc.fAttributeList.Count(), 0);
}

TEST_F(DocumentTest, RevisionAttributesStayInFilesThatAreNoSchematic) {
    std::string text =
        "Header:\r\nEnd.\r\nAttributeList:\r\n  Attribute:\r\n    Tag=REV1NO\r\n    Value=A\r\n"
        "  EndAttribute.\r\nEndAttributeList.\r\n";
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(doc.FileType(), sftNone);
    EXPECT_FALSE(doc.IsSchematic());
    EXPECT_EQ(doc.fAttributeList.Count(), 1);
    EXPECT_EQ(doc.fRevisionList.Count(), 0);
}

TEST_F(DocumentTest, LegacyVariantFallback) {
    // A single 0xF8 byte is not UTF-8: the file is read again as Windows-1252, where only the
    // legacy keys count.
    std::string text = "Header:\r\nFileType=Symbol\r\nKeyWords=ignored\r\nEnd.\r\n"
                       "AttributeList:\r\nAttribute:\r\nTag=Name\r\nValue=\xF8ystein\r\nEndAttribute."
                       "\r\nEndAttributeList.\r\n"
                       "SYMBOL:\r\n  Text:\r\n    LayerName=x\r\n    Handle=2\r\n  End.\r\n"
                       "  Port:\r\n    Handle=3\r\n  End.\r\nEnd.\r\n";
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(doc.FileType(), sftSymbol);
    EXPECT_EQ(doc.Data().KeyWords, "");
    ASSERT_EQ(doc.fAttributeList.Count(), 1);
    EXPECT_EQ(doc.fAttributeList.fAttributeList[0].Value, "\xC3\xB8ystein");
    ASSERT_EQ(doc.Symbol().fSymbolObjectList.Count(), 2);
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.SymbolObjects(0)->fLayerName, "Text");
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.SymbolObjects(1)->fHandle, 3);
}

TEST_F(DocumentTest, AsciiOnlyFileReadsAsCurrentVariant) {
    ASSERT_TRUE(Load("Header:\nKeyWords=k\nEnd.\n"));
    EXPECT_EQ(doc.Data().KeyWords, "k");
    ASSERT_TRUE(Load("\xEF\xBB\xBFHeader:\nKeyWords=k\nEnd.\n"));
    EXPECT_EQ(doc.Data().KeyWords, "k");
}

TEST_F(DocumentTest, SecondLoadKeepsNothingOfTheFirst) {
    ASSERT_TRUE(Load(
        Schematic("  KeyWords=first\r\n", "AdditionalFile=x\r\nSession:\r\n  Remark=r\r\nEndSession.\r\n")));
    ASSERT_EQ(doc.fSessionList.Count(), 1);
    ASSERT_TRUE(Load("Header:\r\n  FileType=Symbol\r\nEnd.\r\n", "two.sym"));
    EXPECT_EQ(doc.Data().KeyWords, "");
    EXPECT_TRUE(doc.fAdditionalFiles.empty());
    EXPECT_EQ(doc.fSessionList.Count(), 0);
    EXPECT_EQ(doc.FileType(), sftSymbol);
    EXPECT_EQ(doc.FileName(), dir.File("two.sym"));
}

TEST_F(DocumentTest, MissingFileLeavesDocumentUnchanged) {
    ASSERT_TRUE(Load(Schematic("  KeyWords=kept\r\n")));
    EXPECT_FALSE(doc.LoadFromFile(dir.File("nope.kdf")));
    EXPECT_NE(doc.LastError().find("does not exist"), std::string::npos);
    EXPECT_EQ(doc.Data().KeyWords, "kept");
    EXPECT_FALSE(doc.LoadFromFile(dir.Path().string()));
    EXPECT_NE(doc.LastError().find("folder"), std::string::npos);
}

TEST_F(DocumentTest, AFileWithoutARecordOfADrawingIsRefusedAndTheDrawingStays) {
    ASSERT_TRUE(Load("Header:\r\n  FileType=Schematic\r\nEnd.\r\nSYMBOL:\r\n  Symbol:\r\n  End.\r\nEnd.\r\n",
                     "shown.kdf"));
    std::string random(4096, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    const struct {
        const char* Name;
        std::string Text;
    } cases[] = {
        {"empty.kdf", ""},
        {"letter.kdf", "Dear reader,\nthis is not a drawing.\nEnd.\n"},
        {"random.kdf", random},
        {"blank.sym", "\xEF\xBB\xBF\r\n   \r\n* a comment\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Load(c.Text, c.Name)) << c.Name;
        EXPECT_EQ(doc.LastError(), "\"" + dir.File(c.Name) + "\" is not a drawing file.");
        EXPECT_EQ(doc.FileName(), dir.File("shown.kdf")) << c.Name;
        EXPECT_EQ(doc.FileType(), sftSchematic) << c.Name;
        EXPECT_EQ(doc.Symbol().fSymbolObjectList.Count(), 1) << c.Name;
    }
    // A header alone is a drawing with nothing in it yet.
    EXPECT_TRUE(Load("Header:\r\n  FileType=Symbol\r\nEnd.\r\n", "empty.sym"));
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.Count(), 0);
    EXPECT_EQ(doc.DamagedRecords(), 0);
}

TEST_F(DocumentTest, RecordsCutOffOrTooDeepAreCountedAsDamaged) {
    const std::string whole = "Header:\r\n  FileType=Schematic\r\nEnd.\r\nSYMBOL:\r\n  Symbol:\r\n    "
                              "2PointSymbol:\r\n      Point2X=5\r\n    End.\r\n  End.\r\nEnd.\r\n";
    ASSERT_TRUE(Load(whole));
    EXPECT_EQ(doc.DamagedRecords(), 0);
    // Cut inside the shape: the shape, its component and the root record are all left open.
    ASSERT_TRUE(Load(whole.substr(0, whole.find("Point2X"))));
    EXPECT_EQ(doc.DamagedRecords(), 3);
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.Count(), 1);
    std::string deep = "SYMBOL:\r\n";
    for (int i = 0; i <= TRecordReader::MaxNestingDepth; ++i)
        deep += "Symbol:\r\n";
    for (int i = 0; i <= TRecordReader::MaxNestingDepth; ++i)
        deep += "End.\r\n";
    ASSERT_TRUE(Load(deep + "End.\r\n"));
    EXPECT_EQ(doc.DamagedRecords(), 1);
}

TEST_F(DocumentTest, RevisionLayoutsAreReadAndDumped) {
    ASSERT_TRUE(
        Load("Header:\r\n  FileType=Schematic\r\nEnd.\r\n\r\nRevisionLayout:\r\n  RowHeight=6\r\n"
             "  RevisionColumn:\r\n    ColumnType=Date\r\n  EndRevisionColumn.\r\nEndRevisionLayout.\r\n"
             "\r\nRevision:\r\n  Number=B\r\nEndRevision.\r\n\r\nRevisionLayout:\r\nEndRevisionLayout.\r\n"));
    ASSERT_EQ(doc.fRevisionLayoutList.Count(), 2);
    EXPECT_EQ(doc.fRevisionLayoutList.fRevisionLayoutList[0].fData.RowHeight, 6);
    ASSERT_EQ(doc.fRevisionLayoutList.fRevisionLayoutList[0].fColumnList.size(), 1u);
    EXPECT_EQ(doc.fRevisionLayoutList.fRevisionLayoutList[0].fColumnList[0].ColumnType, revcolDate);
    ASSERT_EQ(doc.fRevisionList.Count(), 1);
    EXPECT_EQ(doc.fRevisionList.fList[0].Number, "B");
    EXPECT_NE(doc.DumpJson().find("\"RevisionLayoutList\": ["), std::string::npos);
    // A new file starts without the last one's layouts.
    ASSERT_TRUE(Load("Header:\r\n  FileType=Schematic\r\nEnd.\r\n"));
    EXPECT_EQ(doc.fRevisionLayoutList.Count(), 0);
}

TEST_F(DocumentTest, LoadFromStringNamesTheDocument) {
    ASSERT_TRUE(doc.LoadFromString("Header:\r\n  FileType=Symbol\r\nEnd.\r\n", "valve"));
    EXPECT_EQ(doc.FileType(), sftSymbol);
    EXPECT_EQ(doc.FileName(), "valve.sym");
}

TEST(CheckFileVersion, ComparesBuildNumbers) {
    TSymbolFile doc;
    struct Case {
        std::string version, build;
        int sign;
    };
    const Case cases[] = {
        {"5.2-1207", "1300", -1}, {"5.2-1300", "1207", 1}, {"5.2-1300", "b1300", 0}, {"5.2", "1300", -1},
        {"5.2-x", "1300", -1},    {"1-10000", "9999", 1},  {"1-0099", "100", -1},
    };
    for (const auto& c : cases) {
        doc.fData.FileVersion = c.version;
        int r = doc.CheckFileVersion(c.build);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.version << " vs " << c.build;
    }
}

} // namespace

namespace {

std::vector<std::string> LayerNames(const TSymbolFile& doc) {
    std::vector<std::string> r;
    for (const auto& l : doc.fSymbolLayerList.fList)
        r.push_back(l.fData.Name);
    return r;
}

TEST_F(DocumentTest, DefaultSymbolLayers) {
    ASSERT_TRUE(Load(Schematic("")));
    EXPECT_EQ(LayerNames(doc), (std::vector<std::string>{"-- None --", "Attribute", "Item number", "Port",
                                                         "Revision triangle", "Text"}));
    std::string layers = "SymbolLayerList:\r\n"
                         "  SymbolLayer:\r\n    Name=Hydraulics\r\n    State=Partial\r\n    HideSub=a\r\n"
                         "    HideSub=b\r\n  EndSymbolLayer.\r\n"
                         "  SymbolLayer:\r\n    Name=port\r\n    State=Sleepy\r\n  EndSymbolLayer.\r\n"
                         "EndSymbolLayerList.\r\n";
    ASSERT_TRUE(Load(Schematic("", layers)));
    EXPECT_EQ(LayerNames(doc),
              (std::vector<std::string>{"-- None --", "Hydraulics", "Attribute", "Item number", "port",
                                        "Revision triangle", "Text"}));
    EXPECT_EQ(doc.fSymbolLayerList.fList[1].fHideSubList, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(doc.fSymbolLayerList.fList[1].fData.State, slsPartial);
    EXPECT_EQ(doc.fSymbolLayerList.fList[4].fData.State, slsShow);
}

} // namespace
