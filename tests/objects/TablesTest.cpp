#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/TableObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Drawing calls, each run of MoveTo/LineTo folded into "Lines x y x y ...", each prefixed with
// the pen colour it is drawn in; fonts and brushes are left out.
std::vector<std::string> ColouredShapes(const TRecordingSurface& s) {
    std::vector<std::string> out;
    std::string pen;
    bool inLines = false;
    for (const std::string& call : s.Calls()) {
        std::istringstream in(call);
        std::string op;
        in >> op;
        if (op == "Pen") {
            in >> pen;
            continue;
        }
        if (op == "Font" || op == "Brush") continue;
        if (op == "LineTo" && inLines) {
            out.back() += call.substr(6);
            continue;
        }
        inLines = op == "MoveTo";
        out.push_back(pen + " " + (inLines ? "Lines" + call.substr(6) : call));
    }
    return out;
}

std::vector<std::string> Without(const std::vector<std::string>& calls, const std::string& prefixToDrop) {
    std::vector<std::string> out;
    for (const std::string& c : calls)
        if (c.find(prefixToDrop) == std::string::npos) out.push_back(c);
    return out;
}

std::string ReadTable(TSymbolObjectTable& t, const std::string& body) {
    TRecordReader reader(body + "End.\r\nafter\r\n", TRecordVariant::UniCode);
    t.LoadFromReader(reader);
    std::string_view next;
    return reader.ReadLine(next) ? std::string(next) : std::string();
}

std::string Cell(const std::string& keys) {
    return "    StringCellStart:\r\n" + keys + "    StringCellEnd.\r\n";
}

// A table of the given column widths and row heights with fP1 at P; every cell is an empty
// text cell unless the file says otherwise.
std::unique_ptr<TSymbolObjectTable> Table(TPoint p, std::vector<int32_t> widths,
                                          std::vector<int32_t> heights) {
    auto t = std::make_unique<TSymbolObjectTable>();
    t->fP1 = p;
    t->fColWidths.fItems = widths;
    t->fRowHeights.fItems = heights;
    t->fColCount = int32_t(widths.size());
    t->fRowCount = int32_t(heights.size());
    for (size_t i = 0; i < widths.size() * heights.size(); ++i)
        t->fCellList.push_back(std::make_unique<TSymbolObjectTableCellString>());
    return t;
}

TSymbolObjectTableCellString& TextCell(TSymbolObjectTable& t, int col, int row) {
    return dynamic_cast<TSymbolObjectTableCellString&>(*t.GetCell(col, row));
}

// Zoom 1 and Y up: drawing (x, y) lands on device (x, 600 - y). Texts 20 high are a font of
// 27 pixels, "Hg" 27 high and every character 16.2 wide.
class TableDraw : public ::testing::Test {
public:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    std::string Symbol, Line;
    void SetUp() override {
        Canvas.fSize = {800, 600};
        Symbol = ColorText(Canvas.fCanvasColors.LineTypeColors[symlinetypeSymbol]);
        Line = ColorText(Canvas.fCanvasColors.LineTypeColors[symlinetypeLine]);
    }
    std::vector<std::string> Draw(TSymbolObject& obj, TSymbolDrawMode mode = sdmNormal) {
        Surface.ClearCalls();
        obj.Draw(Canvas, mode, false, nullptr);
        return ColouredShapes(Surface);
    }
    std::vector<std::string> Texts(TSymbolObject& obj) {
        Surface.ClearCalls();
        obj.Draw(Canvas, sdmNormal, false, nullptr);
        return Surface.CallsStartingWith("TextOut");
    }
};

// ---------------------------------------------------------------------------------------------
// Records

TEST(TableRecords, KeysCellsAndBadValues) {
    TSymbolObjectTable t;
    const std::string body =
        "  TableType=hose\r\n  ColCount=2\r\n  RowCount=1\r\n  Height=25\r\n  Height=tall\r\n"
        "  HeaderRows=1\r\n  HeaderCols=first\r\n  ColWidth=100\r\n  ColWidth=wide\r\n  RowHeight=high\r\n"
        "  TextStyle=TextStyle_BOM\r\n  InnerGrid=No\r\n  OuterGrid=no\r\n  IsBold=Yes\r\n" +
        Cell("      Content=Pump\r\n      Style=filled CIRCLE\r\n      Height=18\r\n      Rotation=90\r\n"
             "      MergeHandle=4\r\n      MatchHandle=9\r\n      CellTag=3\r\n      ColSpan=2\r\n"
             "      ColSpan=two\r\n      RowSpan=1\r\n      WordWrap=Yes\r\n      UseTableTextStyle=No\r\n"
             "      TextStyle=TextStyle_Text\r\n      Align=right\r\n      VertAlign=Left\r\n"
             "      Align=sideways\r\n      IsItalic=Yes\r\n      End.\r\n") +
        "    FloatCellStart:\r\n      Content=12.5\r\n      Content=lots\r\n      Precision=1\r\n"
        "      Style=stripes\r\n    FloatCellEnd.\r\n";
    EXPECT_EQ(ReadTable(t, body), "after");
    EXPECT_EQ(t.fTableType, tableHose);
    EXPECT_EQ(t.fColCount, 2);
    EXPECT_EQ(t.fRowCount, 1);
    EXPECT_EQ(t.fHeight, 25);
    EXPECT_EQ(t.fHeaderRows, 1);
    EXPECT_EQ(t.fHeaderCols, 0); // unreadable: no header columns
    EXPECT_EQ(t.fColWidths.fItems, (std::vector<int32_t>{100, 120}));
    EXPECT_EQ(t.fRowHeights.fItems, (std::vector<int32_t>{40}));
    EXPECT_EQ(t.fTextStyleName, "TextStyle_BOM");
    EXPECT_FALSE(t.fInnerGrid);
    EXPECT_FALSE(t.fOuterGrid);
    EXPECT_TRUE(t.fOverrideTextStyleSettings.IsBold);
    ASSERT_EQ(t.fCellList.size(), 2u);

    const auto& s = TextCell(t, 0, 0);
    EXPECT_EQ(s.fCellType, celltypeString);
    EXPECT_EQ(s.fContent, "Pump");
    EXPECT_EQ(s.fCellStyle, cellstyleFilledCircle);
    EXPECT_EQ(s.fHeight, 18);
    EXPECT_EQ(s.fRotation, 90);
    EXPECT_EQ(s.fMergeHandle, 4);
    EXPECT_EQ(s.fMatchedWithHandle, 9);
    EXPECT_EQ(s.fCellTag, 3);
    EXPECT_EQ(s.fColSpan, 2); // an unreadable span keeps the one before
    EXPECT_EQ(s.fRowSpan, 1);
    EXPECT_TRUE(s.fWordWrap);
    EXPECT_FALSE(s.fUseTableTextStyle);
    EXPECT_EQ(s.fAlign, taRight);
    EXPECT_EQ(s.fVertAlign, taLeft);
    EXPECT_TRUE(s.fOverrideTextStyleSettings.IsItalic);

    const auto* f = dynamic_cast<const TSymbolObjectTableCellFloat*>(t.GetCell(1, 0));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->fCellType, celltypeFloat);
    EXPECT_EQ(f->fContent, 12.5);
    EXPECT_EQ(f->fPrecision, 1);
    EXPECT_EQ(f->fCellStyle, cellstyleClear);
    EXPECT_EQ(f->Text('.'), "12.5");

    TSymbolObjectTable other;
    ReadTable(other, "  TableType=spiral\r\n  ColCount=x\r\n  RowCount=3\r\n");
    EXPECT_EQ(other.fTableType, tableNormal);
    EXPECT_EQ(other.fColCount, 0);
}

TEST(TableRecords, DumpHoldsEveryFieldAndDefaultsComeBack) {
    auto t = Table({5, 6}, {100}, {40});
    TextCell(*t, 0, 0).fContent = "Pump";
    TextCell(*t, 0, 0).fWrappedText = {"Pump"};
    t->fCellList.push_back(std::make_unique<TSymbolObjectTableCellFloat>());
    TJsonWriter w(false);
    t->Dump(w);
    const std::string& json = w.Text();
    for (const char* part : {"\"Class\":\"TSymbolObjectTable\"",
                             "\"CellList\":[{\"Class\":\"TSymbolObjectTableCellString\"",
                             "\"CellStyle\":\"cellstyleClear\"",
                             "\"CellType\":\"celltypeString\"",
                             "\"Align\":\"taLeft\"",
                             "\"VertAlign\":\"taMiddle\"",
                             "\"UseTableTextStyle\":true",
                             "\"MergeHandle\":-1",
                             "\"ColSpan\":1",
                             "\"RowSpan\":1",
                             "\"WordWrap\":false",
                             "\"WrappedText\":[\"Pump\"]",
                             "\"MatchedWithHandle\":-1",
                             "\"CellTag\":0",
                             "\"Content\":\"Pump\"",
                             "\"Class\":\"TSymbolObjectTableCellFloat\"",
                             "\"CellType\":\"celltypeFloat\"",
                             "\"Precision\":2",
                             "\"RowHeights\":[40]",
                             "\"ColWidths\":[100]",
                             "\"RowCount\":1",
                             "\"ColCount\":1",
                             "\"TextStyleName\":\"TextStyle_Text\"",
                             "\"OverrideTextStyleSettings\":{",
                             "\"Height\":20",
                             "\"HeaderRows\":0",
                             "\"HeaderCols\":0",
                             "\"InnerGrid\":true",
                             "\"OuterGrid\":true",
                             "\"TableType\":\"tableNormal\""})
        EXPECT_NE(json.find(part), std::string::npos) << part << " in " << json;

    t->fHeight = 7;
    t->fInnerGrid = false;
    t->SetDefaults();
    EXPECT_TRUE(t->fCellList.empty());
    EXPECT_EQ(t->fColCount, 0);
    EXPECT_EQ(t->fHeight, 20);
    EXPECT_TRUE(t->fInnerGrid);
    EXPECT_EQ(t->fLayerName, "-- None --");
}

// ---------------------------------------------------------------------------------------------
// Geometry

TEST(TableGeometry, ColumnsRowsCellsAndPositions) {
    TSymbolObjectTable t;
    // Three columns and two rows, but one width, one height and four cells in the file.
    ReadTable(t, "  Point1X=10\r\n  Point1Y=20\r\n  ColCount=3\r\n  RowCount=2\r\n  ColWidth=50\r\n"
                 "  RowHeight=30\r\n" +
                     Cell("      Content=a\r\n") + Cell("      Content=b\r\n") + Cell("      Content=c\r\n") +
                     Cell("      Content=d\r\n"));
    EXPECT_EQ(t.ColWidth(1), TSymbolObjectTable::DefaultColWidth);
    EXPECT_EQ(t.RowHeight(1), TSymbolObjectTable::DefaultRowHeight);
    EXPECT_EQ(t.GetP2(), TPoint(10 + 50 + 120 + 120, 20 + 30 + 40));
    EXPECT_EQ(t.GetColX(0), 10);
    EXPECT_EQ(t.GetColX(2), 180);
    EXPECT_EQ(t.GetColX(3), 300);
    EXPECT_EQ(t.GetColX(99), 300);
    EXPECT_EQ(t.GetRowY(0), 90); // row 0 is the top row
    EXPECT_EQ(t.GetRowY(1), 60);
    EXPECT_EQ(t.GetRowY(2), 20);

    EXPECT_EQ(TextCell(t, 2, 0).fContent, "c");
    EXPECT_EQ(TextCell(t, 0, 1).fContent, "d");
    EXPECT_EQ(t.GetCell(1, 1), nullptr); // the file gave no cell there
    for (const auto& [c, r] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {INT_MAX, INT_MAX}})
        EXPECT_EQ(t.GetCell(c, r), nullptr) << c << "," << r;

    int col = -1, row = -1;
    ASSERT_TRUE(t.PositionToCoord(4, col, row));
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(t.CoordToPosition(2, 1), 5);
    TSymbolObjectTable empty;
    EXPECT_FALSE(empty.PositionToCoord(4, col, row)); // no columns to divide by

    const TExtentsRect e = t.Extents({});
    EXPECT_EQ(e.Left, 10);
    EXPECT_EQ(e.Bottom, 20);
    EXPECT_EQ(e.Right, 300);
    EXPECT_EQ(e.Top, 90);
    EXPECT_TRUE(t.HitTest({200, 50}, 1));
    EXPECT_TRUE(t.HitTest({302, 50}, 3));
    EXPECT_FALSE(t.HitTest({310, 50}, 3));
    EXPECT_TRUE(t.HitTestRect(TRect({0, 0}, {400, 100})));
    EXPECT_FALSE(t.HitTestRect(TRect({0, 0}, {200, 100})));
    EXPECT_TRUE(t.HitTestRect(TRect({200, 0}, {0, 100}))); // crossing
}

TEST(TableGeometry, SpansAreCutAtTheEdgesAndCountOneWhenNotMerged) {
    auto t = Table({0, 0}, {10, 10, 10}, {10, 10, 10});
    const auto set = [&](int c, int r, int32_t merge, int32_t colSpan, int32_t rowSpan) {
        auto& cell = TextCell(*t, c, r);
        cell.fMergeHandle = merge;
        cell.fColSpan = colSpan;
        cell.fRowSpan = rowSpan;
    };
    set(1, 1, 5, 99, 99); // past both edges
    set(0, 0, 1, 0, -7);  // nonsense spans on a first cell
    set(2, 0, -1, 3, 3);  // spans without a merge
    set(1, 0, 1, -1, -1); // covered
    set(0, 2, 2, INT_MAX, INT_MIN);
    struct TCase {
        int Col, Row, ColSpan, RowSpan;
    };
    for (const TCase& c :
         {TCase{1, 1, 2, 2}, {0, 0, 1, 1}, {2, 0, 1, 1}, {1, 0, 1, 1}, {0, 2, 3, 1}, {2, 2, 1, 1}}) {
        EXPECT_EQ(t->ColSpanOf(c.Col, c.Row), c.ColSpan) << c.Col << "," << c.Row;
        EXPECT_EQ(t->RowSpanOf(c.Col, c.Row), c.RowSpan) << c.Col << "," << c.Row;
    }
    EXPECT_TRUE(TextCell(*t, 1, 0).IsCovered());
    EXPECT_TRUE(TextCell(*t, 1, 1).IsFirstOfMerge());
    EXPECT_TRUE(t->HasMergedCells());
}

// ---------------------------------------------------------------------------------------------
// Hostile files

TEST_F(TableDraw, HostileCountsAndSizesAreBoundedAndDrawSafely) {
    // Small enough that even the largest tables stay inside the device range, so every line is
    // one call.
    Canvas.fZoom = 1e-3;
    struct TCase {
        const char* Name;
        std::string Body;
        int Cols, Rows;
        size_t Shapes; // frame and inner lines
    };
    const std::string twoCells = Cell("      Content=a\r\n") + Cell("      Content=b\r\n");
    const std::vector<TCase> cases = {
        {"negative columns", "  ColCount=-3\r\n  RowCount=5\r\n" + twoCells, 0, 5, 0},
        {"negative rows", "  ColCount=3\r\n  RowCount=-5\r\n", 3, 0, 0},
        {"unreadable counts", "  ColCount=many\r\n  RowCount=5\r\n", 0, 5, 0},
        {"largest integers", "  ColCount=2147483647\r\n  RowCount=2147483647\r\n" + twoCells,
         TSymbolObjectTable::MaxCells, 1, size_t(TSymbolObjectTable::MaxCells)},
        {"too many cells", "  ColCount=300\r\n  RowCount=300\r\n", 300, 218, 1 + 299 + 217},
        {"more cells than counted", "  ColCount=1\r\n  RowCount=1\r\n" + twoCells + twoCells, 1, 1, 1},
        {"spans past the edge",
         "  ColCount=2\r\n  RowCount=2\r\n" +
             Cell("      MergeHandle=1\r\n      ColSpan=9\r\n      RowSpan=9\r\n"
                  "      Content=merged\r\n"),
         2, 2, 1},
        {"absurd sizes",
         "  ColCount=2\r\n  RowCount=2\r\n  ColWidth=2000000000\r\n  ColWidth=2000000000\r\n"
         "  RowHeight=-2000000000\r\n  RowHeight=-7\r\n  Height=2000000000\r\n" +
             Cell("      Content=big\r\n      WordWrap=Yes\r\n"),
         2, 2, 3},
    };
    for (const TCase& c : cases) {
        TSymbolObjectTable t;
        EXPECT_EQ(ReadTable(t, c.Body), "after") << c.Name;
        EXPECT_EQ(t.fColCount, c.Cols) << c.Name;
        EXPECT_EQ(t.fRowCount, c.Rows) << c.Name;
        EXPECT_LE(int64_t(t.fColCount) * t.fRowCount, TSymbolObjectTable::MaxCells) << c.Name;
        EXPECT_EQ(t.GetCell(c.Cols, 0), nullptr) << c.Name;
        const std::vector<std::string> drawn = Without(Draw(t), "TextOut");
        EXPECT_EQ(drawn.size(), c.Shapes) << c.Name;
    }
}

TEST(TableRecords, CellsPastTheLargestTableAreReadAndDropped) {
    std::string body = "  ColCount=1\r\n  RowCount=1\r\n";
    for (int i = 0; i <= TSymbolObjectTable::MaxCells; ++i)
        body += "StringCellStart:\r\nStringCellEnd.\r\n";
    TSymbolObjectTable t;
    EXPECT_EQ(ReadTable(t, body + "  Height=33\r\n"), "after");
    EXPECT_EQ(t.fCellList.size(), size_t(TSymbolObjectTable::MaxCells));
    EXPECT_EQ(t.fHeight, 33);
}

TEST(TableRecords, ACellCutOffByTheEndOfTheFileIsDamage) {
    TRecordReader reader("  ColCount=1\r\n  RowCount=1\r\n  StringCellStart:\r\n  Content=a\r\n",
                         TRecordVariant::UniCode);
    TSymbolObjectTable t;
    t.LoadFromReader(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_GE(reader.DamagedRecords(), 1);
    ASSERT_EQ(t.fCellList.size(), 1u);
    EXPECT_EQ(TextCell(t, 0, 0).fContent, "a");
}

// ---------------------------------------------------------------------------------------------
// Drawing

TEST_F(TableDraw, GridLinesInHeaderAndLineColours) {
    auto t = Table({0, 0}, {100, 100, 100}, {40, 40, 40});
    t->fHeaderCols = 1;
    t->fHeaderRows = 1;
    EXPECT_EQ(Draw(*t),
              (std::vector<std::string>{Symbol + " Rectangle 0 480 300 600",
                                        Symbol + " Lines 100 480 100 600", Line + " Lines 200 480 200 600",
                                        Symbol + " Lines 0 520 300 520", Line + " Lines 0 560 300 560"}));
    const std::string highlight = ColorText(Canvas.DrawColor(dcHighlight));
    for (const std::string& s : Draw(*t, sdmHighlight))
        EXPECT_EQ(s.substr(0, 7), highlight) << s;
    t->fInnerGrid = false;
    EXPECT_EQ(Draw(*t), (std::vector<std::string>{Symbol + " Rectangle 0 480 300 600"}));
    t->fOuterGrid = false;
    EXPECT_TRUE(Draw(*t).empty());
}

TEST_F(TableDraw, MergedCellsKeepLinesOutAndWrapTheirText) {
    auto t = Table({0, 0}, {100, 100, 100}, {60, 60});
    auto& merged = TextCell(*t, 0, 0);
    merged.fContent = "alpha beta gamma";
    merged.fWordWrap = true;
    merged.fMergeHandle = 1;
    merged.fColSpan = 2;
    auto& covered = TextCell(*t, 1, 0);
    covered.fContent = "never shown";
    covered.fMergeHandle = 1;
    covered.fColSpan = covered.fRowSpan = -1;
    // The merged box is 200 wide: wrapped to 192, "alpha beta" and a blank are 194.
    EXPECT_EQ(Draw(*t),
              (std::vector<std::string>{Symbol + " Rectangle 0 480 300 600", Line + " Lines 200 480 200 540",
                                        Line + " Lines 0 540 200 540", Line + " Lines 200 540 300 540",
                                        Line + " Lines 100 540 100 600", Line + " Lines 200 540 200 600",
                                        Line + " TextOut 8 483 alpha", Line + " TextOut 8 510 beta gamma"}));
    EXPECT_EQ(merged.fWrappedText, (std::vector<std::string>{"alpha", "beta gamma"}));
    // The wrap is kept until it is cleared.
    merged.fContent = "changed";
    EXPECT_EQ(Texts(*t), (std::vector<std::string>{"TextOut 8 483 alpha", "TextOut 8 510 beta gamma"}));
    t->ClearWrappedTexts();
    EXPECT_TRUE(merged.fWrappedText.empty());
    EXPECT_EQ(Texts(*t), (std::vector<std::string>{"TextOut 8 496 changed"}));
}

TEST_F(TableDraw, LinesThatDoNotFitArePressedTogether) {
    auto t = Table({0, 0}, {120}, {40});
    auto& cell = TextCell(*t, 0, 0);
    cell.fContent = "alpha beta";
    cell.fWordWrap = true;
    // Two lines of 27 in 40: the second starts 13 below the first.
    EXPECT_EQ(Texts(*t), (std::vector<std::string>{"TextOut 8 560 alpha", "TextOut 8 573 beta"}));
}

TEST_F(TableDraw, CellTextByAlignmentAndRotation) {
    // Cell (0, 0) is 200 x 67 with its top-left corner at (100, 200); "Hi" is 32 wide, 27 high.
    struct TCase {
        TTextAlign Align, VertAlign;
        int32_t Rotation;
        const char* Expected;
    };
    const TCase cases[] = {
        {taLeft, taMiddle, 0, "TextOut 108 420 Hi"},    {taRight, taMiddle, 0, "TextOut 260 420 Hi"},
        {taMiddle, taMiddle, 0, "TextOut 184 420 Hi"},  {taCenter, taMiddle, 0, "TextOut 184 420 Hi"},
        {taLeft, taLeft, 0, "TextOut 108 440 Hi"},      {taLeft, taRight, 0, "TextOut 108 400 Hi"},
        {taLeft, taLeft, 90, "TextOut 100 459 Hi"},     {taRight, taRight, 90, "TextOut 273 440 Hi"},
        {taMiddle, taMiddle, 90, "TextOut 186 450 Hi"},
    };
    for (const TCase& c : cases) {
        auto t = Table({100, 93}, {200, 100}, {67, 40});
        auto& cell = TextCell(*t, 0, 0);
        cell.fContent = "Hi";
        cell.fAlign = c.Align;
        cell.fVertAlign = c.VertAlign;
        cell.fRotation = c.Rotation;
        EXPECT_EQ(Texts(*t), (std::vector<std::string>{c.Expected}))
            << int(c.Align) << " " << int(c.VertAlign) << " " << c.Rotation;
        const auto& calls = Surface.Calls();
        const auto at = std::find(calls.begin(), calls.end(), c.Expected);
        ASSERT_NE(at, calls.end());
        EXPECT_NE((at - 1)->find(c.Rotation == 90 ? " 900 " : " 0 "), std::string::npos) << *(at - 1);
        EXPECT_EQ(Surface.Font().Escapement, 0);
    }
}

TEST_F(TableDraw, CellHeightStyleAndTinyZoom) {
    auto t = Table({0, 0}, {200}, {60});
    auto& cell = TextCell(*t, 0, 0);
    cell.fContent = "Hi";
    cell.fHeight = 30;
    t->fHeight = 20;
    Texts(*t);
    EXPECT_EQ(Surface.Font().Height, 27); // the table's height
    cell.fUseTableTextStyle = false;
    Texts(*t);
    EXPECT_EQ(Surface.Font().Height, 40); // the cell's own
    Canvas.fZoom = 0.04;                  // 30 units at 1.2 points
    EXPECT_TRUE(Texts(*t).empty());
}

TEST_F(TableDraw, NumbersUseTheUsersDecimalSeparator) {
    auto t = Table({0, 0}, {200}, {60});
    auto number = std::make_unique<TSymbolObjectTableCellFloat>();
    number->fContent = 12.5;
    t->fCellList[0] = std::move(number);
    Canvas.fDecimalSeparator = ',';
    const auto texts = Texts(*t);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(" 12,50"), std::string::npos) << texts[0];
}

TEST_F(TableDraw, CellMarks) {
    // One cell 100 x 60: device box (0, 540)-(100, 600), a quarter of the smaller side is 15.
    struct TCase {
        TCellStyle Style;
        std::vector<std::string> Calls;
    };
    const TCase cases[] = {
        {cellstyleSolid, {"Brush #FFFFFF solid", "FillRect 0 540 100 600", "Brush #FFFFFF clear"}},
        {cellstyleDiagonalTopRight, {"Lines 0 600 100 540"}},
        {cellstyleDiagonalBottomRight, {"Lines 100 600 0 540"}},
        {cellstyleCross, {"Lines 0 600 100 540", "Lines 100 600 0 540"}},
        {cellstyleCircle, {"Ellipse 35 555 66 586"}},
        {cellstyleFilledCircle, {"Brush #FFFFFF solid", "Ellipse 35 555 66 586", "Brush #FFFFFF clear"}},
        {cellstyleRectangle, {"Rectangle 15 555 85 585"}},
        {cellstyleFilledRectangle, {"Brush #FFFFFF solid", "Rectangle 15 555 85 585", "Brush #FFFFFF clear"}},
        {cellstyleClear, {}},
    };
    ASSERT_EQ(Symbol, "#FFFFFF");
    for (const TCase& c : cases) {
        auto t = Table({0, 0}, {100}, {60});
        t->fOuterGrid = false;
        TextCell(*t, 0, 0).fCellStyle = c.Style;
        Surface.ClearCalls();
        t->Draw(Canvas, sdmNormal, false, nullptr);
        std::vector<std::string> calls;
        for (const std::string& s : Surface.Calls()) {
            if (s.rfind("Pen", 0) == 0 || s.rfind("Font", 0) == 0) continue;
            if (s.rfind("LineTo", 0) == 0)
                calls.back() += s.substr(6);
            else
                calls.push_back(s.rfind("MoveTo", 0) == 0 ? "Lines" + s.substr(6) : s);
        }
        calls.erase(calls.begin()); // the object pen's clear brush
        EXPECT_EQ(calls, c.Calls) << int(c.Style);
        EXPECT_EQ(ColorText(Surface.Pen().Color), Symbol);
    }
}

TEST_F(TableDraw, DraggingShowsOnlyTheGrid) {
    auto t = Table({0, 0}, {100, 100}, {60});
    TextCell(*t, 0, 0).fContent = "text";
    TextCell(*t, 1, 0).fCellStyle = cellstyleCross;
    const std::string drag = ColorText(Canvas.DrawColor(dcDrag));
    EXPECT_EQ(Draw(*t, sdmDrag),
              (std::vector<std::string>{drag + " Rectangle 0 540 200 600", drag + " Lines 100 540 100 600"}));
}

// ---------------------------------------------------------------------------------------------
// Word wrap and numbers

int64_t TenPerCharacter(const std::string& s) {
    int64_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return 10 * n;
}

TEST(TableWordWrap, Lines) {
    struct TCase {
        const char* Text;
        int64_t MaxWidth;
        size_t MaxLines;
        std::vector<std::string> Lines;
    };
    const TCase cases[] = {
        {"alpha beta gamma", 100, 256, {"alpha", "beta", "gamma"}},
        {"short", 100, 256, {"short"}},
        {"", 100, 256, {""}},
        {"one,two-three:four;five", 100, 256, {"one,two-", "three:", "four;five"}},
        {"abcdefghijkl", 50, 256, {"abcd", "efgh", "ijkl"}},
        {"abc", 5, 256, {"a", "b", "c"}},
        {"ab", -10, 256, {"a", "b"}},
        {"ab\ncd", 1000, 256, {"ab", "cd"}},
        {"ab\n\ncd\n", 1000, 256, {"ab", "", "cd"}},
        {"abcd efgh", 50, 256, {"abcd", "efgh"}},
        {"ab   cd", 40, 256, {"ab", "cd"}},
        {"\xC3\xA4\xC3\xA4\xC3\xA4", 20, 256, {"\xC3\xA4", "\xC3\xA4", "\xC3\xA4"}},
        {"abcdefghij", 20, 3, {"a", "b", "cdefghij"}},
        {"ab\ncd\nef", 20, 2, {"a", "b cd ef"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(WordWrap(c.Text, c.MaxWidth, TenPerCharacter, c.MaxLines), c.Lines)
            << c.Text << " " << c.MaxWidth;
}

TEST(TableWordWrap, ALongLineIsMeasuredAFewTimesNotOncePerCharacter) {
    const std::string text = std::string(100000, 'x') + "\ny";
    int calls = 0;
    const auto counted = [&](const std::string& s) {
        ++calls;
        return TenPerCharacter(s);
    };
    const auto lines = WordWrap(text, int64_t(1) << 40, counted, 256);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 100000u);
    EXPECT_EQ(lines[1], "y");
    EXPECT_LE(calls, 64);
}

TEST(TableNumbers, FixedPointWithSevenSignificantDigits) {
    struct TCase {
        double Value;
        int32_t Precision;
        char Separator;
        const char* Text;
    };
    const TCase cases[] = {
        {12.5, 2, '.', "12.50"},
        {12.5, 2, ',', "12,50"},
        {1234567.891, 2, '.', "1234568.00"},
        {-0.0001, 2, '.', "0.00"},
        {-1.26, 1, '.', "-1.3"},
        {std::numeric_limits<double>::quiet_NaN(), 1, '.', "0.0"},
        {3.7, -3, '.', "4"},
        {0.5, 1000000, '.', "0.50000000000000000"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FormatCellFloat(c.Value, c.Precision, c.Separator), c.Text)
            << c.Value << " " << c.Precision;
}

} // namespace
