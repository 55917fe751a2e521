#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "objects/SheetObjects.h"
#include "support/TempFiles.h"

namespace {

// A paper size of 100 x 50 mm at scale 1 whose lower left corner is at (X, 0), holding one
// line of its frame, with the sheet number given (none when empty).
std::string Paper(int handle, int x, const std::string& sheetNumber) {
    std::string r = "  PaperSize:\r\n    Handle=" + std::to_string(handle) +
                    "\r\n    Point1X=" + std::to_string(x) +
                    "\r\n    Point1Y=0\r\n    Width=100\r\n    Height=50\r\n    X2=100\r\n    Y2=50\r\n";
    if (!sheetNumber.empty()) r += "    SheetNumber=" + sheetNumber + "\r\n";
    r += "    2PointSymbol:\r\n      SymbolType=Line\r\n      Handle=" + std::to_string(handle + 1) +
         "\r\n      Point1X=" + std::to_string(x + 10) +
         "\r\n      Point1Y=10\r\n      Point2X=" + std::to_string(x + 900) +
         "\r\n      Point2Y=10\r\n    End.\r\n  EndPaperSize.\r\n";
    return r;
}

// A short line from (X, 100) to (X + 50, 100): inside a paper that starts left of X.
std::string Line(int handle, int x) {
    return "  2PointSymbol:\r\n    SymbolType=Line\r\n    Handle=" + std::to_string(handle) +
           "\r\n    Point1X=" + std::to_string(x) +
           "\r\n    Point1Y=100\r\n    Point2X=" + std::to_string(x + 50) +
           "\r\n    Point2Y=100\r\n  End.\r\n";
}

std::string Drawing(const std::string& objects, bool multiSheet = true) {
    return "SymbolFile:\r\nHeader:\r\n  FileType=Schematic\r\n" +
           std::string(multiSheet ? "  IsMultiSheetFile=Yes\r\n" : "") +
           "End.\r\nSYMBOL:\r\n  Handle=-1\r\n" + objects + "End.\r\nEnd.\r\n";
}

class SheetsTest : public ::testing::Test {
protected:
    TTempDir dir;
    TSymbolFile doc;
    void Load(const std::string& objects, bool multiSheet = true) {
        ASSERT_TRUE(doc.LoadFromFile(dir.Write("s.kdf", Drawing(objects, multiSheet))));
    }
    std::vector<int32_t> Numbers() {
        std::vector<int32_t> r;
        for (const TSymbolObjectPaperSize* p : doc.CreateSheetList())
            r.push_back(p->fSheetNumber);
        return r;
    }
    // Handles of the top-level objects that are shown.
    std::vector<int32_t> Shown() {
        std::vector<int32_t> r;
        for (const auto& o : doc.Symbol().fSymbolObjectList)
            if (!o->IsHidden()) r.push_back(o->fHandle);
        return r;
    }
};

TEST_F(SheetsTest, SheetsAreListedByNumberAndNamedFromOne) {
    Load(Paper(10, 0, "2") + Paper(20, 2000, "0") + Paper(30, 4000, "1"));
    EXPECT_EQ(Numbers(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(doc.GetSheetCount(), 3);
    std::vector<std::string> names{"stale"};
    doc.GetSheetList(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Sheet 1", "Sheet 2", "Sheet 3", "All"}));
    EXPECT_EQ(doc.SheetNumbers(), (std::vector<int32_t>{0, 1, 2}));
}

TEST_F(SheetsTest, AnUndividedDrawingHasNoSheets) {
    Load(Paper(10, 0, "0") + Paper(20, 2000, "1"), false);
    EXPECT_EQ(doc.CreateSheetList().size(), 2u);
    EXPECT_EQ(doc.GetSheetCount(), 0);
    std::vector<std::string> names{"stale"};
    doc.GetSheetList(names);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(doc.SheetNumbers().empty());
}

TEST_F(SheetsTest, ShowingOneSheetHidesTheTopLevelObjectsOutsideItsPaper) {
    Load(Paper(10, 0, "0") + Line(100, 100) + Paper(20, 2000, "1") + Line(200, 2100) + Line(300, 9000));
    EXPECT_TRUE(doc.HideObjectsNotInSheet(1));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{20, 200}));
    // The frame inside the paper stays visible with it.
    EXPECT_FALSE(
        doc.Symbol().fSymbolObjectList.SymbolObjects(2)->fSymbolObjectList.SymbolObjects(0)->IsHidden());
    EXPECT_TRUE(doc.HideObjectsNotInSheet(0));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{10, 100}));
}

TEST_F(SheetsTest, AnUnknownSheetShowsEverythingAndClearsTheSelection) {
    Load(Paper(10, 0, "0") + Line(100, 100) + Line(300, 9000));
    ASSERT_TRUE(doc.HideObjectsNotInSheet(0));
    doc.Symbol().fSymbolObjectList.SymbolObjects(1)->fSelected = true;
    EXPECT_FALSE(doc.HideObjectsNotInSheet(5));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{10, 100, 300}));
    EXPECT_FALSE(doc.Symbol().HasSelection());
}

TEST_F(SheetsTest, SheetsSharingANumberAreShownTogether) {
    // One after the other, the second paper would hide the first with everything on it.
    Load(Paper(10, 0, "0") + Line(100, 100) + Paper(20, 2000, "0") + Line(200, 2100) + Line(300, 9000));
    EXPECT_TRUE(doc.HideObjectsNotInSheet(0));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{10, 100, 20, 200}));
    EXPECT_EQ(doc.SheetNumbers(), (std::vector<int32_t>{0}));
}

TEST_F(SheetsTest, BadSheetNumbers) {
    // Not a number reads as no sheet; the largest number is still named without overflowing.
    Load(Paper(10, 0, "x") + Paper(20, 2000, "2147483647") + Paper(30, 4000, "-7"));
    EXPECT_EQ(Numbers(), (std::vector<int32_t>{-7, -1, 2147483647}));
    std::vector<std::string> names;
    doc.GetSheetList(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Sheet -6", "Sheet 0", "Sheet 2147483648", "All"}));
    // Paper sizes that are no sheet are not offered.
    EXPECT_EQ(doc.SheetNumbers(), (std::vector<int32_t>{2147483647}));
}

TEST_F(SheetsTest, PapersWithoutAreaStillShowTheirSheet) {
    // A paper of no width keeps nothing beside itself; one of negative width is taken as a
    // crossing rectangle, which keeps what it touches. Neither divides by its size.
    for (const std::string x2 : {"0", "-100"}) {
        std::string paper = Paper(10, 0, "0");
        paper.replace(paper.find("X2=100"), 6, "X2=" + x2);
        Load(paper + Line(100, 100));
        EXPECT_TRUE(doc.HideObjectsNotInSheet(0)) << x2;
        EXPECT_EQ(Shown().front(), 10) << x2;
    }
}

TEST_F(SheetsTest, RenumberingFollowsTheHandles) {
    Load(Paper(30, 0, "5") + Paper(10, 2000, "5") + Paper(20, 4000, "-1"), false);
    doc.RenumberSheets();
    EXPECT_TRUE(doc.Data().IsMultiSheetFile);
    std::vector<int32_t> byHandle;
    for (const TSymbolObjectPaperSize* p : doc.CreateSheetList())
        byHandle.push_back(p->fHandle);
    EXPECT_EQ(byHandle, (std::vector<int32_t>{10, 20, 30}));
    EXPECT_EQ(Numbers(), (std::vector<int32_t>{0, 1, 2}));

    Load(Paper(10, 0, "3"));
    doc.RenumberSheets();
    EXPECT_FALSE(doc.Data().IsMultiSheetFile);
    EXPECT_EQ(Numbers(), (std::vector<int32_t>{-1}));
}

TEST_F(SheetsTest, ThousandsOfSheets) {
    // Numbered backwards, so that the list has to be sorted in full.
    constexpr int count = 3000;
    std::string objects;
    for (int i = 0; i < count; ++i)
        objects += Paper(10 + 2 * i, i * 1200, std::to_string(count - 1 - i));
    Load(objects);
    const std::vector<int32_t> numbers = doc.SheetNumbers();
    ASSERT_EQ(numbers.size(), size_t(count));
    EXPECT_EQ(numbers.front(), 0);
    EXPECT_EQ(numbers.back(), count - 1);
    EXPECT_TRUE(doc.HideObjectsNotInSheet(count - 1));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{10}));
}

} // namespace
