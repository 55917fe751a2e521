#include <gtest/gtest.h>

#include <random>

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "support/TempFiles.h"

namespace {

class BadInput : public ::testing::Test {
protected:
    TTempDir dir;
    TSymbolFile doc;
};

TEST_F(BadInput, RandomBytesLoadWithoutHarm) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(size_t(rng() % 20000), '\0');
        for (char& c : bytes)
            c = char(rng());
        // Bytes that happen to hold no record of a drawing are refused with a reason.
        if (!doc.LoadFromFile(dir.Write("r.kdf", bytes))) {
            EXPECT_NE(doc.LastError().find("is not a drawing file"), std::string::npos);
        }
    }
    // Record keywords mixed at random exercise every reader path.
    const char* pieces[] = {"SYMBOL:\n",       "End.\n",
                            "Header:\n",       "Text:\n",
                            "Bom:\n",          "EndBom.\n",
                            "Handle=3\n",      "PaperSize:\n",
                            "EndPaperSize.\n", "AttributeList:\n",
                            "Attribute:\n",    "Tag=REV1DATE\n",
                            "Value=x\n",       "FileType=Schematic\n",
                            "Revision:\n",     "Symbol:\n",
                            "\xFF\n"};
    for (int round = 0; round < 50; ++round) {
        std::string text;
        for (int i = 0; i < 400; ++i)
            text += pieces[rng() % std::size(pieces)];
        EXPECT_TRUE(doc.LoadFromFile(dir.Write("k.kdf", text)));
    }
}

TEST_F(BadInput, EmptyFileIsRefusedAndNulInALineKept) {
    EXPECT_FALSE(doc.LoadFromFile(dir.Write("e.kdf", "")));
    std::string text = "Header:\nKeyWords=a";
    text.push_back('\0');
    text += "b\nEnd.\n";
    ASSERT_TRUE(doc.LoadFromFile(dir.Write("n.kdf", text)));
    EXPECT_EQ(doc.Data().KeyWords, std::string("a\0b", 3));
}

TEST_F(BadInput, InvalidUtf8DeepInALargeFileFallsBackWhole) {
    std::string text = "Header:\r\n  FileType=Symbol\r\n  KeyWords=early\r\nEnd.\r\nSYMBOL:\r\n";
    for (int i = 0; i < 20000; ++i)
        text += "  2PointSymbol:\r\n    Handle=" + std::to_string(i) + "\r\n  End.\r\n";
    text += "  Text:\r\n    LayerName=caf\xE9\r\n  End.\r\nEnd.\r\n";
    ASSERT_TRUE(doc.LoadFromFile(dir.Write("big.sym", text)));
    // The legacy reader knows no "KeyWords" header key: the whole file was read again.
    EXPECT_EQ(doc.Data().KeyWords, "");
    EXPECT_EQ(doc.Symbol().fSymbolObjectList.Count(), 20001);
}

TEST_F(BadInput, TenMegabyteLine) {
    std::string text = "Header:\nKeyWords=" + std::string(10 * 1024 * 1024, 'k') + "\nEnd.\n";
    ASSERT_TRUE(doc.LoadFromFile(dir.Write("long.kdf", text)));
    EXPECT_EQ(doc.Data().KeyWords.size(), 10u * 1024 * 1024);
}

TEST_F(BadInput, DeepNestingIsBounded) {
    std::string text = "SYMBOL:\n";
    const int depth = 100000;
    text.reserve(size_t(depth) * 20);
    for (int i = 0; i < depth; ++i)
        text += "Symbol:\nHandle=" + std::to_string(i) + "\n";
    for (int i = 0; i < depth; ++i)
        text += "End.\n";
    text += "End.\nHeader:\nKeyWords=after\nEnd.\n";
    ASSERT_TRUE(doc.LoadFromFile(dir.Write("deep.kdf", text)));
    // The records below the depth limit are skipped whole; what follows them is still read.
    EXPECT_EQ(doc.Data().KeyWords, "after");
    int levels = 0;
    for (TSymbolObject* o = &doc.Symbol(); o->fSymbolObjectList.Count() > 0;
         o = o->fSymbolObjectList.SymbolObjects(0))
        ++levels;
    EXPECT_EQ(levels, TRecordReader::MaxNestingDepth);
    EXPECT_FALSE(doc.DumpJson().empty());
}

TEST_F(BadInput, AnOverDeepRecordIsSkippedToItsOwnEndPastItsPointRecords) {
    // The deepest readable symbol holds records too deep to read, with point sub-records closed
    // by "End." lines of their own. The skip must go past them to the record's end, so that the
    // text after the deepest symbol still lands beside it.
    const char* const deepRecords[] = {
        "ConnectionLine:\nPoint:\nX=1\nY=2\nEnd.\nCrossPoint:\nX=3\nY=4\nEnd.\nEnd.\n",
        "ILine:\nIPortPoint:\nX=1\nY=2\nEnd.\nIPortPoint:\nX=5\nY=6\nEnd.\nEndILine.\n",
        "Symbol:\nBOM:\nUserFields:\nUserField:\nEnd.\nEnd.\nEndBOM.\nConnectionLine:\nPoint:\nEnd.\n"
        "End.\nEnd.\n",
    };
    const int levels = TRecordReader::MaxNestingDepth;
    for (const char* deep : deepRecords) {
        std::string text = "SYMBOL:\n";
        for (int i = 0; i < levels; ++i)
            text += "Symbol:\nHandle=" + std::to_string(i + 1) + "\n";
        text += deep;
        text += "End.\nText:\nHandle=9999\nEnd.\n";
        for (int i = 1; i < levels; ++i)
            text += "End.\n";
        text += "End.\nHeader:\nKeyWords=after\nEnd.\n";
        ASSERT_TRUE(doc.LoadFromFile(dir.Write("deep.kdf", text)));
        TSymbolObject* parent = &doc.Symbol();
        for (int level = 1; level < levels; ++level) {
            ASSERT_GE(parent->fSymbolObjectList.Count(), 1) << deep << level;
            parent = parent->fSymbolObjectList.SymbolObjects(0);
        }
        EXPECT_EQ(parent->fHandle, levels - 1) << deep;
        ASSERT_EQ(parent->fSymbolObjectList.Count(), 2) << deep;
        EXPECT_EQ(parent->fSymbolObjectList.SymbolObjects(0)->fSymbolObjectList.Count(), 0) << deep;
        EXPECT_EQ(parent->fSymbolObjectList.SymbolObjects(1)->fHandle, 9999) << deep;
        EXPECT_EQ(doc.Data().KeyWords, "after") << deep;
    }
}

TEST_F(BadInput, ExtremeCoordinatesAndHandles) {
    ASSERT_TRUE(
        doc.LoadFromFile(dir.Write("x.kdf", "SYMBOL:\n2PointSymbol:\nHandle=2147483647\nPoint1X=-2147483648\n"
                                            "Point1Y=2147483647\nEnd.\nEnd.\n")));
    auto& list = doc.Symbol().fSymbolObjectList;
    EXPECT_EQ(list.SymbolObjects(0)->fP1, TPoint(INT32_MIN, INT32_MAX));
    EXPECT_EQ(list.GetNextFreeHandle(), INT32_MAX);
}

} // namespace
