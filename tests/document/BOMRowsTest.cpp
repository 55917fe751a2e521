// The bill of materials as the window's list and --bom give it, and finding components by text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/BOMRows.h"
#include "document/SymbolFile.h"
#include "model/SymbolObjects.h"
#include "support/TempFiles.h"

using ::testing::ElementsAre;

namespace {

std::vector<std::string> Column(const std::vector<TBOMRow>& rows, size_t column, bool metric = true) {
    std::vector<std::string> texts;
    for (const TBOMRow& r : rows)
        texts.push_back(BOMRowTexts(r, metric).at(column));
    return texts;
}

std::string Component(int handle, const std::string& records) {
    return "  Symbol:\n    Handle=" + std::to_string(handle) +
           "\n    Point1X=" + std::to_string(handle * 100) + "\n    Point1Y=0\n" + records + "  End.\n";
}

TSymbolFile& Load(TSymbolFile& doc, const TTempDir& dir, const std::string& body) {
    const std::string file =
        dir.Write("plan.kdf", "SymbolFile:\n\nHeader:\n  FileType=Schematic\n  FileVersion=1.0.0-100\n"
                              "End.\n\nSYMBOL:\n  Handle=-1\n" +
                                  body + "End.\n\nEnd.\n");
    EXPECT_TRUE(doc.LoadFromFile(file, TConnectivityPass::cpFull)) << doc.LastError();
    return doc;
}

} // namespace

TEST(BOMRows, EveryShownRecordInDrawingOrderWithValuesInBothUnits) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromFile(KORVANE_SAMPLES "/annotated-circuit.kdf", TConnectivityPass::cpFull));
    const std::vector<TBOMRow> rows = CollectBOMRows(doc);
    EXPECT_THAT(Column(rows, 1),
                ElementsAre("DV06-43C-24DC", "COIL-24DC", "PLUG-DIN", "PRV10-210", "OR06-12", "PS-250"));
    // The accessories follow their component, with its handle and their own quantities.
    EXPECT_EQ(rows[1].Handle, rows[0].Handle);
    EXPECT_EQ(rows[1].Record, 1);
    EXPECT_EQ(Column(rows, 4)[1], "2");
    // Values as the record gives them in each system; converted where it gives one only.
    const std::vector<std::string> metric = BOMRowTexts(rows[0], true),
                                   imperial = BOMRowTexts(rows[0], false);
    EXPECT_EQ(metric[6], "1.45");
    EXPECT_EQ(imperial[6], "3.2"); // as the record gives it
    EXPECT_EQ(metric[8], "315");
    EXPECT_EQ(imperial[8], "4568");
    EXPECT_EQ(metric[9], "60");
    EXPECT_EQ(imperial[9], "15.85"); // no gpm in the record: 60 l/min converted
    EXPECT_EQ(BOMHeader(false)[8], "PMax [psi]");
}

TEST(BOMRows, HiddenComponentsAndRecordsAreLeftOut) {
    TTempDir dir;
    TSymbolFile doc;
    Load(doc, dir,
         Component(1,
                   "    Bom:\n      ArticleCode=SHOWN\n    EndBom.\n    Bom:\n      ArticleCode=HIDDEN-ACC\n"
                   "      HideInBOM=Yes\n    EndBom.\n") +
             Component(2, "    Bom:\n      ArticleCode=HIDDEN\n      HideInBOM=Yes\n    EndBom.\n") +
             Component(3, ""));
    EXPECT_THAT(Column(CollectBOMRows(doc), 1), ElementsAre("SHOWN"));
}

TEST(BOMRows, CsvIsWhatASpreadsheetReadsAsItStands) {
    TTempDir dir;
    TSymbolFile doc;
    Load(doc, dir,
         Component(
             1, "    Bom:\n      ArticleCode=A-1\n      Description=Valve \"NG6\", 24 V\n      Weight=2.5\n"
                "    EndBom.\n"));
    const std::string csv = BOMCsv(CollectBOMRows(doc), true);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_THAT(csv, ::testing::HasSubstr("\"Item Number\",\"Article code\","));
    EXPECT_THAT(
        csv, ::testing::HasSubstr("\r\n\"\",\"A-1\",\"\",\"Valve \"\"NG6\"\", 24 V\",\"1\",\"\",\"2.5\","));
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
}

TEST(FindComponents, MatchesAnyTextOfARecordOrAnAttributeIgnoringCase) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromFile(KORVANE_SAMPLES "/annotated-circuit.kdf", TConnectivityPass::cpFull));
    const auto articles = [&](const std::string& text) {
        std::vector<std::string> found;
        for (TSymbolObject* o : FindComponents(doc, text))
            found.push_back(o->fBOMList.First()->fData.ArticleCode);
        return found;
    };
    EXPECT_THAT(articles("relief"), ElementsAre("PRV10-210"));
    EXPECT_THAT(articles("dv06"), ElementsAre("DV06-43C-24DC"));
    // An accessory's text finds its component, once.
    EXPECT_THAT(articles("coil 24"), ElementsAre("DV06-43C-24DC"));
    EXPECT_EQ(articles("Korvane").size(), 4u);
    EXPECT_THAT(articles("no such text"), ElementsAre());
    EXPECT_THAT(articles(""), ElementsAre());
}
