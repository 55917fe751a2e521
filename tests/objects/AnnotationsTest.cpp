#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/AnnotationObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include "support/DrawCalls.h"

#include <algorithm>
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
std::string Read(TSymbolObject& obj, const std::string& body) {
    TRecordReader reader(body + "after\r\n", TRecordVariant::UniCode);
    obj.LoadFromReader(reader);
    std::string_view next;
    return reader.ReadLine(next) ? std::string(next) : std::string();
}

std::string DumpOf(const TSymbolObject& obj) {
    TJsonWriter w(false);
    obj.Dump(w);
    return w.Text();
}

// Zoom 1 and Y up: drawing (x, y) lands on device (x, 600 - y). The recording surface measures
// every character 0.6 of the font height wide; a height of 30 units is a font of 40 pixels.
class AnnotationDraw : public ::testing::Test {
public:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    void SetUp() override { Canvas.fSize = {800, 600}; }
    std::vector<std::string> Draw(TSymbolObject& obj, TSymbolDrawMode mode = sdmNormal,
                                  bool keepBrush = false) {
        Surface.ClearCalls();
        obj.Draw(Canvas, mode, false, nullptr);
        return Shapes(Surface, keepBrush);
    }
};

std::unique_ptr<TSymbolObjectItemNumber> ItemAt(TPoint p, std::string main, std::string sub = {}) {
    auto item = std::make_unique<TSymbolObjectItemNumber>();
    item->fP1 = p;
    item->fMainNumber = std::move(main);
    item->fSubNumber = std::move(sub);
    return item;
}

// ---------------------------------------------------------------------------------------------
// Captions and keys

TEST(LeaderCaptions, CaptionBillOfMaterialsAndLines) {
    struct TCase {
        const char* Main;
        const char* Sub;
        TItemNumberOrientationType Orientation;
        const char* Caption;
        const char* BOM;
        std::vector<std::string> Lines;
    };
    const TCase cases[] = {
        {"12", "3", itemorientationHorz, "12.3", "12.3", {"12.3"}},
        {"12", "", itemorientationHorz, "12", "12", {"12"}},
        {"1|2", "3|4", itemorientationHorz, "1|2.3|4", "12.34", {"1", "2.3", "4"}},
        {"1|2", "3", itemorientationVert, "1|2.3", "12.3", {"1", "2", "3"}},
        {"7", "", itemorientationVert, "7", "7", {"7"}},
        {"", "", itemorientationHorz, "", "", {}},
        {"", "", itemorientationVert, "", "", {}},
    };
    for (const TCase& c : cases) {
        TSymbolObjectLeader leader;
        leader.fMainNumber = c.Main;
        leader.fSubNumber = c.Sub;
        leader.fLayout.Orientation = c.Orientation;
        EXPECT_EQ(leader.GetCaption(), c.Caption) << c.Main << " " << c.Sub;
        EXPECT_EQ(leader.BOMCaption(), c.BOM) << c.Main << " " << c.Sub;
        EXPECT_EQ(leader.CreateCaptionList(), c.Lines) << c.Main << " " << c.Sub << " " << int(c.Orientation);
    }
}

TEST(LeaderRecords, KeysAndBadValues) {
    TSymbolObjectLeader leader;
    EXPECT_EQ(Read(leader, "  Rotation=90\r\n  Rotation=turned\r\n  MainNumber=12\r\n  SubNumber=3\r\n"
                           "  HasArrow=Yes\r\n  ArrowEndPointX=-40\r\n  ArrowEndPointY=25\r\n"
                           "  ArrowEndPointY=up\r\n  LeaderType=2\r\nEnd.\r\n"),
              "after");
    EXPECT_EQ(leader.fRotation, 90);
    EXPECT_EQ(leader.GetCaption(), "12.3");
    EXPECT_TRUE(leader.fHasArrow);
    EXPECT_EQ(leader.fArrowEndPoint, TPoint(-40, 25));
    EXPECT_EQ(leader.fLeaderType, layout_Item2);
    // Until the document hands out its layouts, the type's default stands in.
    EXPECT_EQ(leader.fLayout.Height, 20);
    EXPECT_EQ(leader.fLayout.Border, itemborderRectangle);

    TSymbolObjectItemNumber item;
    Read(item, "  MainNumber=5\r\n  BOMIndex=3\r\n  BOMIndex=third\r\nEnd.\r\n");
    EXPECT_EQ(item.fBOMIndex, 3);
    EXPECT_EQ(item.fLeaderType, layout_Item1);
    EXPECT_EQ(item.fSymbolObjectSubType, soItemNumber);
}

TEST(LeaderRecords, LeaderTypesOutsideTheFourLayoutsTakeTheDefault) {
    struct TCase {
        const char* Value;
        TItemNumberLayouts Leader, Item;
    };
    // An unreadable number keeps what an earlier key set; a number past the layouts is damage.
    const TCase cases[] = {{"3", layout_Item3, layout_Item3},   {"4", layout_Leader, layout_Item1},
                           {"-1", layout_Leader, layout_Item1}, {"255", layout_Leader, layout_Item1},
                           {"two", layout_Item2, layout_Item2}, {"99999999999", layout_Item2, layout_Item2}};
    for (const TCase& c : cases) {
        const std::string body = "  LeaderType=2\r\n  LeaderType=" + std::string(c.Value) + "\r\nEnd.\r\n";
        TSymbolObjectLeader leader;
        TSymbolObjectItemNumber item;
        Read(leader, body);
        Read(item, body);
        EXPECT_EQ(leader.fLeaderType, c.Leader) << c.Value;
        EXPECT_EQ(item.fLeaderType, c.Item) << c.Value;
        EXPECT_EQ(leader.fLayout.Height, DefaultItemNumberLayouts()[c.Leader].Height) << c.Value;
    }
}

TEST(LeaderRecords, LayoutsArrowsDefaultsAndDump) {
    auto item = ItemAt({0, 0}, "4");
    item->fLeaderType = layout_Item3;
    TItemNumberLayoutSet layouts = DefaultItemNumberLayouts();
    layouts[layout_Item3].Height = 44;
    item->fExtents = {{-5, -5}, {5, 5}, true};
    item->UpdateItemLayout(layouts);
    EXPECT_EQ(item->fLayout.Height, 44);
    EXPECT_FALSE(item->fExtents.Defined); // measured again in the new layout

    item->SetArrow({70, -20});
    EXPECT_TRUE(item->fHasArrow);
    EXPECT_EQ(item->fArrowEndPoint, TPoint(70, -20));
    const std::string json = DumpOf(*item);
    for (const char* part :
         {"\"Class\":\"TSymbolObjectItemNumber\"", "\"MainNumber\":\"4\"", "\"SubNumber\":\"\"",
          "\"Rotation\":0", "\"Layout\":{\"Height\":44", "\"HasArrow\":true", "\"ArrowEndPoint\":[70, -20]",
          "\"ArrowStartPointTMP\":[0, 0]", "\"LeaderType\":\"layout_Item3\"", "\"BOMIndex\":-1"})
        EXPECT_NE(json.find(part), std::string::npos) << part << " in " << json;
    item->RemoveArrow();
    EXPECT_FALSE(item->fHasArrow);

    item->fBOMIndex = 2;
    item->SetDefaults();
    EXPECT_EQ(item->fBOMIndex, -1);
    EXPECT_EQ(item->fLeaderType, layout_Item1);
    EXPECT_EQ(item->fLayout.Height, 30);
    TSymbolObjectLeader leader;
    leader.fLeaderType = layout_Item2;
    leader.SetDefaults();
    EXPECT_EQ(leader.fLeaderType, layout_Leader);
    EXPECT_EQ(leader.fLayerName, "Item number");
}

// ---------------------------------------------------------------------------------------------
// Balloon geometry

struct TBalloonCase {
    const char* Name;
    TItemNumberBorderType Border;
    TTextAlign Align;
    int32_t Rotation;
    int32_t FixedWidth;
    TItemNumberOrientationType Orientation;
    const char* Main;
    const char* Sub;
    TPoint C1, C2;
    std::vector<std::string> Calls;
};

// The anchor is (100, 100), device (100, 500). Text 30 high: a 40-pixel font, "gH" 40 high,
// "H" and each digit 24 wide, lines 38 apart.
TEST_F(AnnotationDraw, BalloonBoxTextAndBorderByLayout) {
    const std::vector<TBalloonCase> cases = {
        {"circled rectangle, centred",
         itemborderCircledRectangle,
         taMiddle,
         0,
         0,
         itemorientationHorz,
         "12",
         "",
         {52, 80},
         {148, 120},
         {"TextOut 76 480 12", "Lines 72 480 128 480", "Lines 128 519 72 519",
          "Arc 52 480 92 520 72 480 52 500", "Arc 108 480 148 520 148 500 128 480",
          "Arc 52 480 92 520 52 500 72 520", "Arc 108 480 148 520 128 520 148 500"}},
        {"rectangle, left: the text starts at the anchor",
         itemborderRectangle,
         taLeft,
         0,
         0,
         itemorientationHorz,
         "12",
         "",
         {88, 80},
         {160, 120},
         {"TextOut 100 480 12", "Rectangle 88 480 160 520"}},
        {"rounded rectangle, right: the text ends at the anchor",
         itemborderRoundedRectangle,
         taRight,
         0,
         0,
         itemorientationHorz,
         "12",
         "",
         {40, 80},
         {112, 120},
         {"TextOut 52 480 12", "Lines 50 480 102 480", "Lines 111 490 111 510", "Lines 102 519 50 519",
          "Lines 40 510 40 490", "Arc 40 480 60 500 50 480 40 490", "Arc 92 480 112 500 112 490 102 480",
          "Arc 40 500 60 520 40 510 50 520", "Arc 92 500 112 520 102 520 112 510"}},
        {"circle: twice the height wide, drawn with the width as radius",
         itemborderCircle,
         taMiddle,
         0,
         0,
         itemorientationHorz,
         "12",
         "",
         {70, 80},
         {130, 120},
         {"TextOut 76 480 12", "Ellipse 40 440 161 561"}},
        {"no border",
         itemborderNone,
         taMiddle,
         0,
         0,
         itemorientationHorz,
         "12",
         "",
         {76, 80},
         {124, 120},
         {"TextOut 76 480 12"}},
        {"fixed width",
         itemborderRectangle,
         taMiddle,
         0,
         200,
         itemorientationHorz,
         "12",
         "",
         {0, 80},
         {200, 120},
         {"TextOut 76 480 12", "Rectangle 0 480 200 520"}},
        {"turned a quarter: the box stands upright",
         itemborderRectangle,
         taMiddle,
         90,
         0,
         itemorientationHorz,
         "12",
         "",
         {80, 64},
         {120, 136},
         {"TextOut 80 524 12", "Rectangle 80 464 120 536"}},
        {"turned and left: the box lies above the anchor",
         itemborderRectangle,
         taLeft,
         90,
         0,
         itemorientationHorz,
         "12",
         "",
         {80, 88},
         {120, 160},
         {"TextOut 80 500 12", "Rectangle 80 440 120 512"}},
        {"stacked: main number over sub number",
         itemborderRectangle,
         taMiddle,
         0,
         0,
         itemorientationVert,
         "12",
         "3",
         {64, 61},
         {136, 139},
         {"TextOut 76 461 12", "TextOut 88 499 3", "Rectangle 64 461 136 539"}},
        {"no numbers: one blank line still has a height",
         itemborderRectangle,
         taMiddle,
         0,
         0,
         itemorientationHorz,
         "",
         "",
         {76, 80},
         {124, 120},
         {"TextOut 88 480  ", "Rectangle 76 480 124 520"}},
    };
    for (const TBalloonCase& c : cases) {
        auto item = ItemAt({100, 100}, c.Main, c.Sub);
        item->fLayout.Border = c.Border;
        item->fLayout.TextAlign = c.Align;
        item->fLayout.FixedWidth = c.FixedWidth;
        item->fLayout.Orientation = c.Orientation;
        item->fRotation = c.Rotation;
        EXPECT_EQ(Draw(*item), c.Calls) << c.Name;
        ASSERT_TRUE(item->fExtents.Defined) << c.Name;
        EXPECT_EQ(item->fExtents.C1, c.C1) << c.Name;
        EXPECT_EQ(item->fExtents.C2, c.C2) << c.Name;
    }
}

TEST_F(AnnotationDraw, TurnedTextUsesAQuarterTurnedFontAndGoesBackUpright) {
    auto item = ItemAt({100, 100}, "12");
    item->fRotation = 90;
    Draw(*item);
    const auto fonts = Surface.CallsStartingWith("Font");
    ASSERT_GE(fonts.size(), 2u);
    const auto text = std::find(Surface.Calls().begin(), Surface.Calls().end(), "TextOut 80 524 12");
    ASSERT_NE(text, Surface.Calls().end());
    EXPECT_NE((text - 1)->find(" 900 "), std::string::npos) << *(text - 1);
    EXPECT_NE(fonts.back().find(" 40 0 "), std::string::npos) << fonts.back();
}

TEST_F(AnnotationDraw, BorderlessBalloonsShowAFrameWhileDragged) {
    auto item = ItemAt({100, 100}, "12");
    item->fLayout.Border = itemborderNone;
    EXPECT_EQ(Draw(*item, sdmDrag),
              (std::vector<std::string>{"TextOut 76 480 12", "Rectangle 76 480 124 520"}));
}

TEST_F(AnnotationDraw, SecondAndThirdLayoutsCarryTheirNumberInTheHelperColour) {
    const std::string helper = ColorText(Canvas.DrawColor(dcHelper));
    for (const TItemNumberLayouts type : {layout_Item2, layout_Item3}) {
        auto item = ItemAt({100, 100}, "7");
        item->fLeaderType = type;
        item->fLayout = DefaultItemNumberLayouts()[type];
        // 20 high: a 27-pixel font, the box 32 x 27 about the anchor, the text 13.5 above it
        // (rounded to even); the number 8 high is 11 pixels.
        const std::string number = type == layout_Item2 ? "2" : "3";
        EXPECT_EQ(Draw(*item), (std::vector<std::string>{"TextOut 116 476 " + number, "TextOut 92 486 7",
                                                         "Rectangle 84 487 116 513"}));
        const auto& calls = Surface.Calls();
        const auto at = std::find(calls.begin(), calls.end(), "TextOut 116 476 " + number);
        EXPECT_NE((at - 1)->find("Font Arial 11 0 - " + helper), std::string::npos) << *(at - 1);
        EXPECT_EQ(Shapes(Surface).size(), 3u);
        // While dragging there is no number.
        EXPECT_EQ(Draw(*item, sdmDrag).front(), "TextOut 92 486 7");
    }
}

TEST_F(AnnotationDraw, OnlyItemNumberAndLeaderSubTypesDraw) {
    TSymbolObjectLeader leader;
    leader.fP1 = {100, 100};
    leader.fMainNumber = "1";
    EXPECT_FALSE(Draw(leader).empty());
    leader.fSymbolObjectSubType = soText;
    EXPECT_TRUE(Draw(leader).empty());
}

TEST_F(AnnotationDraw, HiddenInOutputDrawsInTheHelperColour) {
    auto item = ItemAt({100, 100}, "12");
    item->fHideInOutput = true;
    Draw(*item);
    const std::string helper = ColorText(Canvas.DrawColor(dcHelper));
    const auto& calls = Surface.Calls();
    const auto text = std::find(calls.begin(), calls.end(), "TextOut 76 480 12");
    ASSERT_NE(text, calls.end());
    EXPECT_NE((text - 1)->find(helper), std::string::npos) << *(text - 1);
    EXPECT_EQ(ColorText(Surface.Pen().Color), helper);
}

TEST_F(AnnotationDraw, TinyZoomDrawsTheBorderButNoText) {
    auto item = ItemAt({100, 100}, "12");
    item->fLayout.Border = itemborderRectangle;
    Canvas.fZoom = 0.04; // 30 units at 1.2 points; the box (64, 80)-(136, 120)
    EXPECT_EQ(Draw(*item), (std::vector<std::string>{"Rectangle 3 19 5 21"}));
}

// ---------------------------------------------------------------------------------------------
// Arrows

TEST_F(AnnotationDraw, ArrowLeavesTheSideNearestItsEnd) {
    // The circled box of "12" is (52, 80)-(148, 120): side middles left (52, 100), bottom
    // (100, 80), right (148, 100), top (100, 120).
    struct TCase {
        TPoint End, Start;
    };
    const TCase cases[] = {{{0, 100}, {52, 100}},    {{100, 0}, {100, 80}},   {{300, 100}, {148, 100}},
                           {{100, 300}, {100, 120}}, {{-50, 180}, {52, 100}}, {{76, 90}, {52, 100}}};
    for (const TCase& c : cases) {
        auto item = ItemAt({100, 100}, "12");
        item->SetArrow(c.End);
        Draw(*item);
        EXPECT_EQ(item->fArrowStartPointTMP, c.Start) << c.End.X << "," << c.End.Y;
    }
}

TEST_F(AnnotationDraw, ArrowIsAFilledArrowInTheLineColour) {
    auto item = ItemAt({100, 100}, "12");
    item->SetArrow({0, 100});
    const std::vector<std::string> shapes = Draw(*item, sdmNormal, true);
    const std::vector<std::string> arrow = {
        "Lines 52 500 20 500",
        "Brush " + ColorText(Canvas.fCanvasColors.LineTypeColors[symlinetypeLine]) + " solid",
        "Polygon 20 505 20 495 0 500"};
    const auto at = std::search(shapes.begin(), shapes.end(), arrow.begin(), arrow.end());
    EXPECT_NE(at, shapes.end());
    // The border after it is drawn in the object's own colour again.
    EXPECT_EQ(ColorText(Surface.Pen().Color),
              ColorText(Canvas.fCanvasColors.LineTypeColors[symlinetypeItemNumber]));

    item->fLayout.FilledArrow = false;
    const std::vector<std::string> open = Draw(*item, sdmNormal, true);
    EXPECT_EQ(std::count_if(open.begin(), open.end(),
                            [](const std::string& s) { return s.find(" solid") != std::string::npos; }),
              0);
}

TEST_F(AnnotationDraw, CircledBalloonArrowStartsOnTheCircle) {
    auto item = ItemAt({100, 100}, "12");
    item->fLayout.Border = itemborderCircle; // 60 wide: the circle has radius 60
    item->SetArrow({300, 100});
    Draw(*item);
    EXPECT_EQ(item->fArrowStartPointTMP, TPoint(160, 100));
    item->SetArrow({130, 100}); // inside the circle
    Draw(*item);
    EXPECT_EQ(item->fArrowStartPointTMP, TPoint(100, 100));
    item->SetArrow({100, 100}); // on the anchor: no direction to go
    Draw(*item);
    EXPECT_EQ(item->fArrowStartPointTMP, TPoint(100, 100));
}

TEST_F(AnnotationDraw, HitsExtentsAndRectanglesCoverBoxCircleAndArrow) {
    auto item = ItemAt({100, 100}, "12");
    // Before measuring, the anchor stands in for the box.
    EXPECT_TRUE(item->HitTest({102, 100}, 3));
    EXPECT_FALSE(item->HitTest({140, 100}, 3));
    item->SetArrow({-200, 100});
    Draw(*item);
    EXPECT_TRUE(item->HitTest({140, 100}, 3));   // inside the box
    EXPECT_TRUE(item->HitTest({-100, 102}, 3));  // on the arrow
    EXPECT_FALSE(item->HitTest({-100, 110}, 3)); // beside it
    EXPECT_FALSE(item->HitTest({100, 130}, 3));  // above the box
    const TExtentsRect e = item->Extents({});
    EXPECT_EQ(e.Left, -200);
    EXPECT_EQ(e.Right, 148);
    EXPECT_EQ(e.Bottom, 80);
    EXPECT_EQ(e.Top, 120);
    // A window must hold the arrow too; a crossing rectangle need only touch it.
    EXPECT_FALSE(item->HitTestRect(TRect({40, 70}, {160, 130})));
    EXPECT_TRUE(item->HitTestRect(TRect({-210, 70}, {160, 130})));
    EXPECT_TRUE(item->HitTestRect(TRect({-90, 90}, {-110, 110})));

    auto circled = ItemAt({100, 100}, "12");
    circled->fLayout.Border = itemborderCircle;
    Draw(*circled);
    EXPECT_TRUE(circled->HitTest({100, 150}, 1)); // within the circle, outside the box
    const TExtentsRect c = circled->Extents({});
    EXPECT_EQ(c.Left, 40);
    EXPECT_EQ(c.Top, 160);
}

// ---------------------------------------------------------------------------------------------
// Revision triangles

TEST(RevisionTriangles, CornersExtentsAndHits) {
    TSymbolObjectRevTriangle t;
    const auto p = t.GetTrianglePoints();
    EXPECT_NEAR(p[0].X, 0, 1e-9);
    EXPECT_NEAR(p[0].Y, 40, 1e-9);
    EXPECT_NEAR(p[1].X, -34.641, 1e-3);
    EXPECT_NEAR(p[1].Y, -20, 1e-9);
    EXPECT_NEAR(p[2].X, 34.641, 1e-3);
    EXPECT_NEAR(p[2].Y, -20, 1e-9);

    t.fP1 = {100, 200};
    EXPECT_EQ(t.GetRoundedTrianglePoints(),
              (std::array<TPoint, 3>{TPoint(100, 240), TPoint(65, 180), TPoint(135, 180)}));
    const TExtentsRect e = t.Extents({});
    EXPECT_EQ(e.Left, 65);
    EXPECT_EQ(e.Right, 135);
    EXPECT_EQ(e.Bottom, 180);
    EXPECT_EQ(e.Top, 240);
    EXPECT_TRUE(t.HitTest({100, 200}, 1));  // inside
    EXPECT_TRUE(t.HitTest({100, 177}, 3));  // near the base
    EXPECT_FALSE(t.HitTest({100, 250}, 3)); // above the apex
    EXPECT_FALSE(t.HitTest({70, 230}, 3));  // beside the slope
    EXPECT_TRUE(t.HitTestRect(TRect({60, 250}, {140, 170})));
    EXPECT_FALSE(t.HitTestRect(TRect({60, 250}, {140, 190})));
    EXPECT_TRUE(t.HitTestRect(TRect({140, 190}, {60, 250}))); // crossing
}

TEST(RevisionTriangles, NotesNumberAndDump) {
    TSymbolObjectRevTriangle t;
    EXPECT_EQ(Read(t, "  Point1X=5\r\n  Note=first line\r\n  Note=second line\r\n"
                      "Attribute:\r\n  Tag=REVTRIANGLE NUMBER\r\n  Value=B\r\nEnd.\r\nEnd.\r\n"),
              "after");
    EXPECT_EQ(t.fNoteList, (std::vector<std::string>{"first line", "second line"}));
    EXPECT_EQ(t.Number(), "B");
    EXPECT_EQ(t.fLayerName, "Revision triangle");
    EXPECT_NE(DumpOf(t).find("\"NoteList\":[\"first line\",\"second line\"]"), std::string::npos)
        << DumpOf(t);
    t.SetDefaults();
    EXPECT_TRUE(t.fNoteList.empty());
}

TEST_F(AnnotationDraw, RevisionTriangleIsOnePolygonOrThreePatternedSides) {
    TSymbolObjectRevTriangle t;
    t.fP1 = {100, 200};
    EXPECT_EQ(Draw(t), (std::vector<std::string>{"Polygon 100 360 65 420 135 420"}));
    t.fSymLineStyle = symlinestyleDashed;
    const std::vector<std::string> dashed = Draw(t);
    EXPECT_TRUE(Surface.CallsStartingWith("Polygon").empty());
    EXPECT_GT(dashed.size(), 3u);
}

} // namespace
