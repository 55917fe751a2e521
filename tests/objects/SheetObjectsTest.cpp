#include "objects/SheetObjects.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/ObjectFactory.h"
#include "objects/AnnotationObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include "support/DrawCalls.h"

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The drawing calls with their lines folded; pens and fonts left out.
std::vector<std::string> Shapes(const TRecordingSurface& s, bool keepBrush = false) {
    return FoldedCalls(s, keepBrush, false);
}

// Reads a record whose keyword line has been consumed; what follows its terminator is returned.
std::string Read(TSymbolObject& obj, const std::string& body,
                 TRecordVariant variant = TRecordVariant::UniCode) {
    TRecordReader reader(body + "after\r\n", variant);
    obj.LoadFromReader(reader);
    std::string_view next;
    return reader.ReadLine(next) ? std::string(next) : std::string();
}

std::string DumpOf(const TSymbolObject& obj) {
    TJsonWriter w(false);
    obj.Dump(w);
    return w.Text();
}

std::unique_ptr<TSymbolObjectIBorder> Border(TPoint p1, TPoint p2) {
    auto b = std::make_unique<TSymbolObjectIBorder>();
    b->fP1 = p1;
    b->fP2 = p2;
    b->fSymLineStyle = symlinestyleSolid;
    return b;
}

std::unique_ptr<TSymbolObjectILine> ILine(TPoint p1, TPoint p2, std::vector<TPoint> drawPoints = {}) {
    auto l = std::make_unique<TSymbolObjectILine>();
    l->fP1 = p1;
    l->fP2 = p2;
    l->fDrawPoints.Items = std::move(drawPoints);
    l->fSymLineStyle = symlinestyleSolid;
    return l;
}

// Zoom 1 and Y up: drawing (x, y) lands on device (x, 600 - y).
class SheetDraw : public ::testing::Test {
public:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    void SetUp() override {
        Canvas.fSize = {800, 600};
        Canvas.fShowTextBorders = false;
    }
    std::vector<std::string> Draw(TSymbolObject& obj, TSymbolDrawMode mode = sdmNormal,
                                  bool keepBrush = false) {
        Surface.ClearCalls();
        obj.DrawSymbol(Canvas, mode, false, nullptr);
        return Shapes(Surface, keepBrush);
    }
    std::string Color(TDrawColorIndex index) const { return ColorText(Canvas.DrawColor(index)); }
};

// ---------------------------------------------------------------------------------------------
// Paper sizes

TEST(PaperSizeRecords, KeysBadValuesAndLegacyVariant) {
    const std::string body =
        "  Handle=7\r\n  Width=297\r\n  Width=wide\r\n  Height=210\r\n  Name=A4\r\n"
        "  ShortName=a4\r\n  Comment=landscape\r\n  Border=Frame\r\n  DrawingHead=Head\r\n"
        "2PointSymbol:\r\n  SymbolType=Line\r\nEnd.\r\n"
        "  X1=1.5\r\n  Y1=2\r\n  X2=10\r\n  X2=x\r\n  Y2=200\r\n"
        "  SheetNumber=2\r\n  BORDERVISIBLE=No\r\nEndPaperSize.\r\n";
    TSymbolObjectPaperSize paper;
    EXPECT_EQ(Read(paper, body), "after");
    const TPaperSizeData& d = paper.fData;
    EXPECT_EQ(paper.fHandle, 7);
    EXPECT_EQ(d.Width, 297); // a bad number keeps the value before it
    EXPECT_EQ(d.Height, 210);
    EXPECT_EQ(d.Name, "A4");
    EXPECT_EQ(d.ShortName, "a4");
    EXPECT_EQ(d.Comments, "landscape");
    EXPECT_EQ(d.Border, "Frame");
    EXPECT_EQ(d.DrawingHead, "Head");
    EXPECT_EQ(d.P1, XYPoint(1.5, 2));
    EXPECT_EQ(d.P2, XYPoint(10, 200));
    EXPECT_EQ(paper.fSheetNumber, 2);
    EXPECT_FALSE(paper.BorderVisible());
    // The child's "End." does not end the paper size.
    EXPECT_EQ(paper.fSymbolObjectList.Count(), 1);
    EXPECT_TRUE(paper.fHideInOutput);

    TSymbolObjectPaperSize legacy;
    EXPECT_EQ(Read(legacy, body, TRecordVariant::Legacy), "after");
    EXPECT_EQ(legacy.fData.Name, "A4");
    EXPECT_EQ(legacy.fData.P2, XYPoint(10, 200));
    EXPECT_EQ(legacy.fSheetNumber, -1);
    EXPECT_TRUE(legacy.BorderVisible());

    TSymbolObjectPaperSize bad;
    Read(bad, "  SheetNumber=3\r\n  SheetNumber=third\r\nEndPaperSize.\r\n");
    EXPECT_EQ(bad.fSheetNumber, -1);

    paper.SetDefaults();
    EXPECT_EQ(paper.fSheetNumber, -1);
    EXPECT_TRUE(paper.fHideInOutput);
    EXPECT_TRUE(paper.BorderVisible());
    EXPECT_EQ(paper.fData.Name, "");
    EXPECT_EQ(paper.fSymbolObjectSubType, soPaperSize);
}

TEST(PaperSizeRecords, DumpHoldsEveryField) {
    TSymbolObjectPaperSize paper;
    paper.fData.Name = "A3";
    paper.fData.LineWeight = "0.35";
    paper.fData.P1 = XYPoint(1.5, 2);
    paper.fSheetNumber = 4;
    const std::string json = DumpOf(paper);
    for (const char* part : {"\"Class\":\"TSymbolObjectPaperSize\"", "\"Name\":\"A3\"",
                             "\"LineWeight\":\"0.35\"", "\"P1\":[1.5, 2]", "\"BorderVisible\":true",
                             "\"FromOnline\":false", "\"SheetNumber\":4", "\"HideInOutput\":true"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
}

TEST(PaperSizeCaption, SizesScaleSheetAndSeparator) {
    struct TCase {
        const char* Name;
        std::string PaperName, Comment;
        double Width, Height, Scale;
        int32_t Sheet;
        char Separator;
        std::string Expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<TCase> cases = {
        {"no sheet", "A4", "", 297, 210, 1, -1, '.', "A4 (297 x 210)"},
        {"half scale", "A4", "", 297, 210, 0.5, -1, '.', "A4 (297 x 210) Scale 0.5"},
        {"first sheet", "A4", "", 297, 210, 1, 0, '.', "Sheet 1 - A4 (297 x 210)"},
        {"decimals and comment", "A3", "landscape", 841.456, 594.1, 1.5, 2, '.',
         "Sheet 3 - A3 (841.46 x 594.1) landscape Scale 1.5"},
        {"user's separator", "A3", "", 841.456, 594.1, 1.5, -1, ',', "A3 (841,46 x 594,1) Scale 1,5"},
        {"zero and negative sizes", "X", "", -5, 0, 1, -1, '.', "X (-5 x 0)"},
        {"hair below zero", "X", "", -0.001, 0, 1, -1, '.', "X (0 x 0)"},
        {"scale no number", "X", "", 1, 1, nan, -1, '.', "X (1 x 1) Scale 0"},
        {"largest sheet number", "X", "", 1, 1, 1, INT32_MAX, '.', "Sheet 2147483648 - X (1 x 1)"},
    };
    for (const TCase& c : cases) {
        TSymbolObjectPaperSize paper;
        paper.fData.Name = c.PaperName;
        paper.fData.Comments = c.Comment;
        paper.fData.Width = c.Width;
        paper.fData.Height = c.Height;
        paper.fScale = c.Scale;
        paper.fSheetNumber = c.Sheet;
        EXPECT_EQ(paper.Caption(c.Separator), c.Expected) << c.Name;
    }
}

TEST(PaperSizeGeometry, PaperRectangleAndConnectionLineReferences) {
    TSymbolObjectPaperSize paper;
    paper.fP1 = {1000, 2000};
    paper.fScale = 2;
    paper.fData.P1 = XYPoint(10, 20);
    paper.fData.P2 = XYPoint(420.04, 297);
    const TRect r = paper.PaperRect();
    EXPECT_EQ(r.P1, TPoint(1200, 2400));
    EXPECT_EQ(r.P2, TPoint(9401, 7940)); // 8400.8 rounds up

    const auto reference = [](TPoint p1, TPoint p2, TSymbolObjectMainType type = somConnectionLineRef) {
        std::unique_ptr<TSymbolObject> o = CreateSymbolObject(type);
        auto* two = dynamic_cast<TSymbolObject2Point*>(o.get());
        if (two) {
            two->fP1 = p1;
            two->fP2 = p2;
        }
        return o;
    };
    EXPECT_TRUE(paper.FitsIn(*reference({1300, 2500}, {9000, 7000})));
    EXPECT_TRUE(paper.FitsIn(*reference({1200, 2400}, {9401, 7940}))); // on the edge
    EXPECT_FALSE(paper.FitsIn(*reference({1300, 2500}, {9402, 7000})));
    EXPECT_FALSE(paper.FitsIn(*reference({1300, 2500}, {9000, 7000}, som2Point)));

    // Millimetres and scales far beyond any paper saturate instead of overflowing.
    paper.fP1 = {1000, -2000};
    paper.fScale = 1e300;
    paper.fData.P2 = XYPoint(1e300, -1e300);
    EXPECT_EQ(paper.PaperRect().P2, TPoint(INT32_MAX, INT32_MIN));
    paper.fScale = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(paper.PaperRect().P2, paper.fP1);
}

class PaperSizeDraw : public SheetDraw {
public:
    TSymbolObjectPaperSize Paper;
    void SetUp() override {
        SheetDraw::SetUp();
        Paper.fP1 = {10, 20};
        Paper.fData.Name = "A4";
        Paper.fData.Width = 297;
        Paper.fData.Height = 210;
        TSymbolObject* line = Paper.fSymbolObjectList.Add(som2Point);
        line->fSymbolObjectSubType = soLine;
        static_cast<TSymbolObject2Point*>(line)->fP2 = {100, 0};
    }
    std::vector<std::string> PenColors() const {
        std::vector<std::string> out;
        for (const std::string& call : Surface.CallsStartingWith("Pen "))
            out.push_back(call.substr(4, 7));
        return out;
    }
};

TEST_F(PaperSizeDraw, ChildrenTakeTheSheetColourAndTheSchemeComesBack) {
    const auto schemeBefore = Canvas.fCanvasColors.LineTypeColors;
    const std::string sheet = Color(dcSheet);
    ASSERT_NE(ColorText(schemeBefore[symlinetypeSymbol]), sheet);

    const auto calls = Draw(Paper, sdmNormal, true);
    EXPECT_EQ(PenColors(), std::vector<std::string>(PenColors().size(), sheet));
    const std::vector<std::string> caption = {"Brush " + sheet + " solid", "FillRect 10 580 370 620",
                                              "TextOut 10 580  A4 (297 x 210)", "Brush " + sheet + " clear"};
    ASSERT_GE(calls.size(), caption.size());
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()), caption);
    EXPECT_EQ(Surface.Font().Color, Canvas.DrawColor(dcBackground));
    EXPECT_EQ(Canvas.fCanvasColors.LineTypeColors, schemeBefore);

    // Highlighting keeps its own colour; the drag image has no caption.
    Draw(Paper, sdmHighlight);
    EXPECT_EQ(PenColors(), std::vector<std::string>(PenColors().size(), Color(dcHighlight)));
    EXPECT_EQ(Surface.CallsStartingWith("TextOut").size(), 1u);
    Draw(Paper, sdmDrag);
    EXPECT_TRUE(Surface.CallsStartingWith("TextOut").empty());
    EXPECT_EQ(Canvas.fCanvasColors.LineTypeColors, schemeBefore);
}

TEST_F(PaperSizeDraw, TheCaptionIsUprightAndPlainWhateverTextDrewBefore) {
    TFontSpec turned = Surface.Font();
    turned.Escapement = 900;
    turned.Bold = turned.Italic = turned.Underline = turned.StrikeOut = true;
    Surface.SetFont(turned);
    Draw(Paper, sdmNormal, true);
    ASSERT_EQ(Surface.CallsStartingWith("TextOut").size(), 1u);
    const TFontSpec caption = Surface.Font();
    EXPECT_EQ(caption.Escapement, 0);
    EXPECT_FALSE(caption.Bold || caption.Italic || caption.Underline || caption.StrikeOut);
}

TEST_F(PaperSizeDraw, SelectedChildrenToo) {
    Paper.fSymbolObjectList.SymbolObjects(0)->fSelected = true;
    Surface.ClearCalls();
    Paper.DrawSelection(Canvas, sdmNormal, nullptr);
    ASSERT_FALSE(PenColors().empty());
    EXPECT_EQ(PenColors(), std::vector<std::string>(PenColors().size(), Color(dcSheet)));
    EXPECT_EQ(Canvas.fCanvasColors.LineTypeColors, SymbolCanvasColorsDarkGray().LineTypeColors);
}

TEST_F(PaperSizeDraw, CaptionsTooSmallToReadOrOfAbsurdFramesStaySafe) {
    Canvas.fZoom = 0.02; // a 30-unit text is set at 1 point
    Draw(Paper);
    EXPECT_TRUE(Surface.CallsStartingWith("TextOut").empty());

    Canvas.fZoom = 1;
    Paper.fP1 = {INT32_MAX, INT32_MIN};
    Paper.fScale = 1e300;
    Paper.fData.Width = -1e300;
    Paper.fSheetNumber = INT32_MAX;
    Draw(Paper);
    const auto texts = Surface.CallsStartingWith("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    // The corner far off the surface is held at its edge.
    const std::string edge = std::to_string(SafeDeviceCoord);
    EXPECT_EQ(texts[0].rfind("TextOut " + edge + " " + edge + "  Sheet 2147483648 - A4 (-1", 0), 0u)
        << texts[0];
}

// ---------------------------------------------------------------------------------------------
// I-borders

TEST(IBorderRecords, KeysBadValuesAndLegacyVariant) {
    const std::string body =
        "  Point1X=0\r\n  Point1Y=0\r\n  Point2X=1000\r\n  Point2Y=800\r\n  Point2Y=high\r\n"
        "  ProjectBrevindFile=|std.brv\r\n  ProjectName=Press\r\n  ProjectNumber=P-1\r\n"
        "  ProjectDrawing=D7\r\n  ProjectClient=Client\r\n  ProjectMaterial=Steel\r\n"
        "  MountingText=Mount\r\n  MountingFaces=ABC\r\n  ShowLeftLine=No\r\n"
        "  ShowBottomLine=no\r\nHideTop=No\r\nHideRight\r\n"
        "  IPortPoint:\r\n    X=2\r\n    Y=500\r\n  End.\r\n"
        "  IPortPoint:\r\n    X=bad\r\n    Y=7\r\n  End.\r\n"
        "  Comments:=first\r\n  Comments:=second = line\r\nEndIBorder.\r\n";
    TSymbolObjectIBorder border;
    EXPECT_EQ(Read(border, body), "after");
    const TIBorderData& d = border.fData;
    EXPECT_EQ(border.fP2, TPoint(1000, 800));
    EXPECT_EQ(d.ProjectBrevindFile, "|std.brv");
    EXPECT_EQ(d.ProjectName, "Press");
    EXPECT_EQ(d.ProjectNumber, "P-1");
    EXPECT_EQ(d.ProjectDrawing, "D7");
    EXPECT_EQ(d.ProjectClient, "Client");
    EXPECT_EQ(d.ProjectMaterial, "Steel");
    EXPECT_EQ(d.MountingText, "Mount");
    EXPECT_EQ(border.Faces(), "ABC");
    EXPECT_FALSE(d.ShowLeftLine);
    EXPECT_TRUE(d.ShowTopLine);
    EXPECT_FALSE(d.ShowBottomLine);
    // "HideTop=No" hides the top edge all the same: the key counts, not its value.
    EXPECT_EQ(border.fHideEdges, TIBorderEdgeSet().set(ibEdgeTop).set(ibEdgeRight));
    EXPECT_EQ(border.fDrawPoints.Items, (std::vector<TPoint>{{2, 500}, {0, 7}}));
    EXPECT_EQ(border.fComments, (std::vector<std::string>{"first", "second = line"}));
    EXPECT_EQ(border.fSymLineType, symlinetypeIBorder);
    EXPECT_EQ(border.fSymbolObjectSubType, soIBorder);

    TSymbolObjectIBorder legacy;
    EXPECT_EQ(Read(legacy, body, TRecordVariant::Legacy), "after");
    EXPECT_EQ(legacy.fP2, TPoint(1000, 800));
    EXPECT_EQ(legacy.fData.ProjectMaterial, "Steel");
    EXPECT_EQ(legacy.fData.MountingText, "");
    EXPECT_TRUE(legacy.fData.ShowLeftLine);
    EXPECT_TRUE(legacy.fHideEdges.none());
    EXPECT_TRUE(legacy.fComments.empty());

    const std::string json = DumpOf(border);
    for (const char* part :
         {"\"P2\":[1000, 800]", "\"ProjectBrevindFile\":\"|std.brv\"", "\"Faces\":\"ABC\"",
          "\"ShowLeftLine\":false", "\"DrawPoints\":[[2, 500],[0, 7]]",
          "\"Comments\":[\"first\",\"second = line\"]", "\"HideEdges\":[\"ibEdgeTop\",\"ibEdgeRight\"]"})
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;

    border.SetDefaults();
    EXPECT_TRUE(border.AreAllLinesVisible());
    EXPECT_TRUE(border.fHideEdges.none());
    EXPECT_TRUE(border.fDrawPoints.Items.empty());
    EXPECT_TRUE(border.fComments.empty());
    EXPECT_EQ(border.fP2, TPoint());
}

TEST(IBorderRecords, ItemNumbersAreLinkedToTheBorderRecordsInOrder) {
    const auto item = [](const std::string& main, const std::string& sub, const std::string& index = "") {
        return "ItemNumber:\r\n  MainNumber=" + main + "\r\n  SubNumber=" + sub + "\r\n" +
               (index.empty() ? "" : "  BOMIndex=" + index + "\r\n") + "End.\r\n";
    };
    const std::string bom = "BOM:\r\n  ArticleCode=A\r\n  MainItemNumber=old\r\nEndBom.\r\n";
    TSymbolObjectIBorder border;
    Read(border, bom + bom + item("5", "") + item("9", "9", "0") + item("6", "1") + item("7", "") +
                     "EndIBorder.\r\n");
    const auto index = [&](int i) {
        return static_cast<TSymbolObjectItemNumber*>(border.fSymbolObjectList.SymbolObjects(i))->fBOMIndex;
    };
    EXPECT_EQ(index(0), 0);
    EXPECT_EQ(index(1), 0); // linked already: skipped and not counted
    EXPECT_EQ(index(2), 1);
    EXPECT_EQ(index(3), -1); // no third record
    EXPECT_EQ(border.fBOMList.Items(0)->fData.MainItemNumber[0], "5");
    EXPECT_EQ(border.fBOMList.Items(1)->fData.MainItemNumber[0], "6");
    EXPECT_EQ(border.fBOMList.Items(1)->fData.SubItemNumber[0], "1");
    EXPECT_EQ(border.fBOMList.Items(1)->fData.ArticleCode, "A");

    TSymbolObjectIBorder withoutRecords;
    Read(withoutRecords, item("5", "") + "EndIBorder.\r\n");
    EXPECT_EQ(
        static_cast<TSymbolObjectItemNumber*>(withoutRecords.fSymbolObjectList.SymbolObjects(0))->fBOMIndex,
        -1);
}

TEST(IBorderGeometry, CloseSideTiesGoLeftThenTopThenRight) {
    const auto border = Border({0, 0}, {100, 100});
    const std::vector<std::pair<TPoint, int>> cases = {
        {{50, 2}, 4},  {{98, 50}, 3}, {{50, 97}, 2},
        {{2, 50}, 1},  {{10, 10}, 1}, // as near the left as the bottom
        {{95, 95}, 2},                // as near the top as the right
        {{95, 5}, 3},                 // as near the right as the bottom
        {{5, 95}, 1},                 // as near the left as the top
    };
    for (const auto& [pt, side] : cases)
        EXPECT_EQ(border->GetCloseSide(pt), side) << pt.X << "," << pt.Y;
}

TEST(IBorderGeometry, AttachedEdgesNormaliseBothBorders) {
    struct TCase {
        TPoint OtherP1, OtherP2;
        int Expected;
    };
    const std::vector<TCase> cases = {
        {{0, 0}, {100, 100}, 1},    {{100, 100}, {200, 200}, 2}, {{200, 50}, {300, 60}, 3},
        {{150, -50}, {250, 0}, 4},  {{0, 100}, {100, 200}, 1}, // touching at a corner counts
        {{0, 101}, {100, 200}, -1}, {{50, 50}, {150, 150}, -1},  {{100, 100}, {0, 0}, 1},
        {{300, 90}, {200, 10}, 3},
    };
    for (const TCase& c : cases) {
        auto self = Border({200, 100}, {100, 0});
        auto other = Border(c.OtherP1, c.OtherP2);
        EXPECT_EQ(self->IsAttachedToEdge(*other), c.Expected) << c.OtherP1.X << "," << c.OtherP1.Y;
        EXPECT_EQ(self->fP1, TPoint(100, 0));
        EXPECT_LE(other->fP1.X, other->fP2.X);
        EXPECT_LE(other->fP1.Y, other->fP2.Y);
    }
}

TEST(IBorderGeometry, ManifoldAndLineFlags) {
    TSymbolObjectIBorder border;
    for (const auto& [file, manifold] : std::vector<std::pair<std::string, bool>>{
             {"|std", true}, {"", false}, {"std|", false}, {"|", true}}) {
        border.fData.ProjectBrevindFile = file;
        EXPECT_EQ(border.IsStandardManifold(), manifold) << file;
        EXPECT_EQ(border.BrevindFile(), file);
    }
    EXPECT_TRUE(border.AreAllLinesVisible());
    border.fHideEdges.set(ibEdgeLeft);
    EXPECT_TRUE(border.AreAllLinesVisible()); // the flags alone
    EXPECT_FALSE(border.IsSideShown(1));
    border.fData.ShowBottomLine = false;
    EXPECT_FALSE(border.AreAllLinesVisible());
    EXPECT_FALSE(border.IsSideShown(4));
    EXPECT_TRUE(border.IsSideShown(2));
    EXPECT_FALSE(border.IsSideShown(0));
}

TEST(IBorderGeometry, DrawPointListAndGapWidth) {
    auto border = Border({0, 0}, {100, 80});
    border->AddToDrawPoints(1, {7, 40});
    border->AddToDrawPoints(2, {7, 40});
    border->AddToDrawPoints(1, {99, 40}); // the same place on the same side
    border->AddToDrawPoints(5, {1, 1});   // no such side
    EXPECT_EQ(border->fDrawPoints.Items, (std::vector<TPoint>{{1, 40}, {2, 7}}));
    border->fDrawPoints.Items = {{3, 5}, {1, 9}, {3, 1}, {1, 2}};
    border->SortDrawPoints();
    EXPECT_EQ(border->fDrawPoints.Items, (std::vector<TPoint>{{1, 2}, {1, 9}, {3, 1}, {3, 5}}));
    border->ClearDrawPoints();
    EXPECT_TRUE(border->fDrawPoints.Items.empty());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [scale, gap] : std::vector<std::pair<double, int32_t>>{
             {1, 10}, {0.25, 2}, {2.56, 26}, {0, 0}, {-3, 0}, {nan, 0}, {1e300, INT32_MAX}}) {
        border->fScale = scale;
        EXPECT_EQ(border->GapHalfWidth(), gap) << scale;
    }

    // Corners in either order and positions in any order: the gaps stay gaps.
    border->fScale = 1;
    border->fDrawPoints.Items = {{4, 60}, {4, 20}};
    border->fHideEdges.set(ibEdgeLeft).set(ibEdgeTop).set(ibEdgeRight);
    EXPECT_EQ(border->CreateListDrawPoints(),
              (std::vector<TPoint>{{0, 0}, {10, 0}, {30, 0}, {50, 0}, {70, 0}, {100, 0}}));
    std::swap(border->fP1, border->fP2); // side 4 now runs from (100, 80) to (0, 80)
    EXPECT_EQ(border->CreateListDrawPoints(),
              (std::vector<TPoint>{{100, 80}, {70, 80}, {50, 80}, {30, 80}, {10, 80}, {0, 80}}));
    // A gap wider than the range saturates.
    border->fScale = 1e300;
    EXPECT_EQ(border->CreateListDrawPoints()[1], TPoint(INT32_MAX, 80));
}

TEST(IBorderHitTest, PointsAndRectangles) {
    const auto window = [](int l, int b, int r, int t) { return TRect({l, b}, {r, t}); };
    const auto crossing = [](int l, int b, int r, int t) { return TRect({r, b}, {l, t}); };
    auto border = Border({0, 0}, {100, 80});
    EXPECT_TRUE(border->HitTest({50, 4}, 4));
    EXPECT_FALSE(border->HitTest({50, 5}, 4));
    EXPECT_FALSE(border->HitTest({50, 40}, 4));
    EXPECT_TRUE(border->HitTestRect(window(0, 0, 100, 80)));
    EXPECT_FALSE(border->HitTestRect(window(1, 0, 100, 80)));
    EXPECT_TRUE(border->HitTestRect(crossing(40, 30, 60, 50))); // inside a closed border
    EXPECT_TRUE(border->HitTestRect(crossing(-10, 30, 10, 50)));
    EXPECT_FALSE(border->HitTestRect(crossing(110, 30, 120, 50)));

    border->fHideEdges.set(ibEdgeBottom);
    border->fData.ShowLeftLine = false;
    EXPECT_FALSE(border->HitTest({50, 4}, 4));
    EXPECT_FALSE(border->HitTest({3, 40}, 4));
    EXPECT_TRUE(border->HitTest({97, 40}, 4));
    EXPECT_FALSE(border->HitTestRect(crossing(40, 30, 60, 50)));
    EXPECT_FALSE(border->HitTestRect(crossing(-10, 30, 10, 50)));
    EXPECT_TRUE(border->HitTestRect(crossing(40, 70, 60, 90)));

    border->fFill = true;
    EXPECT_TRUE(border->HitTest({50, 40}, 4));
    EXPECT_FALSE(border->HitTest({50, 82}, 4));

    const TExtentsRect e = Border({10, 20}, {-30, 40})->Extents(TExtentsRect());
    EXPECT_EQ((std::vector<int>{e.Left, e.Bottom, e.Right, e.Top}), (std::vector<int>{-30, 20, 10, 40}));
    border->fTemporaryHidden = temphiddenAll;
    EXPECT_FALSE(border->Extents(TExtentsRect()).Defined);
}

TEST_F(SheetDraw, IBorderOutlines) {
    struct TCase {
        const char* Name;
        TPoint P1, P2;
        std::vector<TPoint> DrawPoints;
        TIBorderEdgeSet Hidden;
        bool ShowLeft;
        TSymbolDrawMode Mode;
        std::vector<std::string> Expected;
    };
    const TIBorderEdgeSet none, top = TIBorderEdgeSet().set(ibEdgeTop);
    const std::string polygon = "Polygon 100 500 700 500 700 100 100 100";
    const std::vector<TCase> cases = {
        {"all sides, solid", {100, 100}, {700, 500}, {}, none, true, sdmNormal, {polygon}},
        {"draw point on the top",
         {100, 100},
         {700, 500},
         {{2, 500}},
         none,
         true,
         sdmNormal,
         {"Lines 100 500 100 100", "Lines 100 100 490 100", "Lines 510 100 700 100", "Lines 700 500 700 100",
          "Lines 100 500 700 500"}},
        {"corners the other way round",
         {700, 500},
         {100, 100},
         {{2, 500}},
         none,
         true,
         sdmNormal,
         {"Lines 700 100 700 500", "Lines 700 500 510 500", "Lines 490 500 100 500", "Lines 100 100 100 500",
          "Lines 700 100 100 100"}},
        {"hidden top",
         {100, 100},
         {700, 500},
         {},
         top,
         true,
         sdmNormal,
         {"Lines 100 500 100 100", "Lines 700 500 700 100", "Lines 100 500 700 500"}},
        {"hidden top while dragging", {100, 100}, {700, 500}, {}, top, true, sdmDrag, {polygon}},
        {"left side not shown",
         {100, 100},
         {700, 500},
         {},
         none,
         false,
         sdmNormal,
         {"Lines 100 100 700 100", "Lines 700 500 700 100", "Lines 100 500 700 500"}},
    };
    for (const TCase& c : cases) {
        auto border = Border(c.P1, c.P2);
        border->fDrawPoints.Items = c.DrawPoints;
        border->fHideEdges = c.Hidden;
        border->fData.ShowLeftLine = c.ShowLeft;
        EXPECT_EQ(Draw(*border, c.Mode), c.Expected) << c.Name;
    }
}

TEST_F(SheetDraw, IBorderPatternedPenKeepsTheGaps) {
    auto border = Border({100, 100}, {700, 500});
    border->fSymLineStyle = symlinestyleDefault; // the line type's dash-dot
    border->fDrawPoints.Items = {{2, 500}};
    const auto calls = Draw(*border);
    int onTop = 0;
    for (const std::string& call : calls) {
        std::istringstream in(call.substr(6));
        int x1, y1, x2, y2;
        ASSERT_TRUE(in >> x1 >> y1 >> x2 >> y2) << call;
        if (y1 != 100 || y2 != 100) continue;
        ++onTop;
        EXPECT_TRUE(std::max(x1, x2) <= 490 || std::min(x1, x2) >= 510) << call;
    }
    EXPECT_GT(onTop, 2);
}

TEST_F(SheetDraw, IBorderFillHelperColourAndCorners) {
    auto border = Border({100, 100}, {700, 500});
    border->fSymLineStyle = symlinestyleDefault;
    border->fFill = true;
    const std::string color = ColorText(Canvas.ObjectColor(sdmNormal, symlinetypeIBorder, false, 0));
    // Filled, even a patterned border is one polygon; the brush is left clear.
    EXPECT_EQ(Draw(*border, sdmNormal, true),
              (std::vector<std::string>{
                  "Brush " + color + " clear", "Brush " + color + " clear", "Brush " + color + " solid",
                  "Polygon 100 500 700 500 700 100 100 100", "Brush " + color + " clear"}));

    border->fHideInOutput = true;
    const auto calls = Draw(*border, sdmNormal, true);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Brush " + Color(dcHelper) + " solid"), calls.end());
    EXPECT_EQ(Surface.Pen().Color, Canvas.DrawColor(dcHelper));
    Draw(*border, sdmHighlight);
    EXPECT_EQ(Surface.Pen().Color, Canvas.DrawColor(dcHighlight));

    Canvas.fShowTextBorders = true;
    border->fFill = false;
    border->fSymLineStyle = symlinestyleSolid;
    border->fHideEdges.set(ibEdgeTop);
    EXPECT_EQ(Draw(*border), (std::vector<std::string>{
                                 "Lines 100 500 100 100", "Lines 700 500 700 100", "Lines 100 500 700 500",
                                 "Polygon 100 500 100 508 92 500", "Polygon 700 500 700 508 708 500"}));
    border->fHideEdges.reset();
    const auto all = Draw(*border);
    EXPECT_EQ(
        std::vector<std::string>(all.begin() + 1, all.end()),
        (std::vector<std::string>{"Polygon 100 500 100 508 92 500", "Polygon 100 100 100 92 92 100",
                                  "Polygon 700 100 700 92 708 100", "Polygon 700 500 700 508 708 500"}));
}

// ---------------------------------------------------------------------------------------------
// I-lines

TEST(ILineRecords, KeysAndDump) {
    TSymbolObjectILine line;
    EXPECT_EQ(Read(line, "  Point2X=0\r\n  Point2Y=300\r\n  IPortPoint:\r\n    X=0\r\n    Y=120\r\n  End.\r\n"
                         "  IPortPoint:\r\n    Y=x\r\n  End.\r\nEndILine.\r\n"),
              "after");
    EXPECT_EQ(line.fP2, TPoint(0, 300));
    EXPECT_EQ(line.fDrawPoints.Items, (std::vector<TPoint>{{0, 120}, {0, 0}}));
    EXPECT_EQ(line.fSymLineType, symlinetypeIBorder);
    EXPECT_EQ(line.fSymbolObjectSubType, soILine);
    EXPECT_NE(DumpOf(line).find("\"DrawPoints\":[[0, 120],[0, 0]]"), std::string::npos) << DumpOf(line);
    line.SetDefaults();
    EXPECT_TRUE(line.fDrawPoints.Items.empty());
}

TEST(ILineGeometry, ClosestPointsAndDirection) {
    struct TCase {
        const char* Name;
        TPoint P1, P2, P, Expected;
    };
    const std::vector<TCase> cases = {
        {"no length", {5, 5}, {5, 5}, {1, 2}, {1, 2}},
        {"vertical", {10, 0}, {10, 100}, {3, 40}, {10, 40}},
        {"horizontal", {0, 10}, {100, 10}, {40, 3}, {40, 10}},
        {"flat: vertical move shorter", {0, 0}, {100, 50}, {10, 40}, {10, 5}},
        {"steep: horizontal move shorter", {0, 0}, {50, 100}, {10, 40}, {20, 40}},
        {"tie moves vertically", {0, 0}, {100, 100}, {0, 10}, {0, 0}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ILine(c.P1, c.P2)->GetClosestPoint(c.P), c.Expected) << c.Name;
    EXPECT_TRUE(ILine({5, 0}, {5, 9})->IsVert());
    EXPECT_FALSE(ILine({5, 0}, {5, 9})->IsHorz());
    EXPECT_TRUE(ILine({0, 5}, {9, 5})->IsHorz());
}

TEST(ILineGeometry, DrawPointListRunsAlongTheLine) {
    struct TCase {
        const char* Name;
        TPoint P1, P2;
        std::vector<TPoint> DrawPoints;
        std::vector<TPoint> Expected;
    };
    const std::vector<TCase> cases = {
        {"vertical, upwards, unsorted",
         {0, 0},
         {0, 200},
         {{0, 100}, {0, 50}},
         {{0, 0}, {0, 40}, {0, 60}, {0, 90}, {0, 110}, {0, 200}}},
        {"vertical, downwards, point beside it",
         {0, 1000},
         {0, 0},
         {{3, 500}},
         {{0, 1000}, {0, 510}, {0, 490}, {0, 0}}},
        {"horizontal, leftwards", {100, 7}, {0, 7}, {{50, 9}}, {{100, 7}, {60, 7}, {40, 7}, {0, 7}}},
        {"oblique", {0, 0}, {300, 400}, {{150, 200}}, {{0, 0}, {144, 192}, {156, 208}, {300, 400}}},
        {"no length", {5, 5}, {5, 5}, {{5, 5}, {9, 9}}, {{5, 5}, {5, 5}}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ILine(c.P1, c.P2, c.DrawPoints)->CreateListDrawPoints(), c.Expected) << c.Name;

    auto line = ILine({0, 0}, {100, 0});
    line->AddToDrawPoints({50, 0});
    line->AddToDrawPoints({10, 0});
    line->AddToDrawPoints({50, 0});
    line->AddToDrawPoints({-30, 0});
    line->SortDrawPoints();
    EXPECT_EQ(line->fDrawPoints.Items, (std::vector<TPoint>{{10, 0}, {-30, 0}, {50, 0}}));
    line->fScale = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(line->CreateListDrawPoints()[1], TPoint(10, 0)); // no gap rather than a wild one
}

TEST(ILineHitTest, PointsAndRectangles) {
    auto line = ILine({0, 0}, {100, 0});
    EXPECT_TRUE(line->HitTest({50, 4}, 4));
    EXPECT_FALSE(line->HitTest({50, 5}, 4));
    EXPECT_TRUE(line->HitTest({103, 0}, 4));
    EXPECT_TRUE(line->HitTestRect(TRect({60, -5}, {40, 5})));   // crossing
    EXPECT_FALSE(line->HitTestRect(TRect({40, -5}, {60, 5})));  // window without the ends
    EXPECT_TRUE(line->HitTestRect(TRect({-1, -5}, {100, 5})));  // window with both
    EXPECT_FALSE(line->HitTestRect(TRect({60, 10}, {40, 20}))); // crossing beside it
    const TExtentsRect e = ILine({10, 20}, {-30, 40})->Extents(TExtentsRect());
    EXPECT_EQ((std::vector<int>{e.Left, e.Bottom, e.Right, e.Top}), (std::vector<int>{-30, 20, 10, 40}));
}

TEST_F(SheetDraw, ILineGapsDragAndHelperColour) {
    auto line = ILine({300, 500}, {300, 100}, {{300, 300}});
    EXPECT_EQ(Draw(*line), (std::vector<std::string>{"Lines 300 100 300 290", "Lines 300 310 300 500"}));
    EXPECT_EQ(Draw(*line, sdmDrag), std::vector<std::string>{"Lines 300 100 300 500"});
    line->fHideInOutput = true;
    Draw(*line);
    EXPECT_EQ(Surface.Pen().Color, Canvas.DrawColor(dcHelper));
    line->fDrawPoints.Items.clear();
    EXPECT_EQ(Draw(*line), std::vector<std::string>{"Lines 300 100 300 500"});
}

} // namespace
