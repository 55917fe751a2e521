#include <gtest/gtest.h>

#include "components/ConnectionLines.h"
#include "model/BOM.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/TextObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

namespace {

using Points = std::vector<TPoint>;

// The first child of a symbol record with the given body.
template <class T>
std::unique_ptr<TSymbolObjectSymbol> ReadChild(const std::string& body, T*& child,
                                               TRecordVariant variant = TRecordVariant::UniCode) {
    auto s = std::make_unique<TSymbolObjectSymbol>();
    TRecordReader r(body + "End.\r\n", variant);
    s->LoadFromReader(r);
    child = s->fSymbolObjectList.Count() ? dynamic_cast<T*>(s->fSymbolObjectList.SymbolObjects(0)) : nullptr;
    return s;
}

std::unique_ptr<TSymbolObjectConnectionLine> MakeLine(const Points& points, const Points& crosses = {},
                                                      TJumpMode mode = jmVertRight) {
    auto line = std::make_unique<TSymbolObjectConnectionLine>();
    line->fDrawPoints.Items = points;
    line->fCrossPoints.Items = crosses;
    line->fJumpMode = mode;
    return line;
}

// --- records -----------------------------------------------------------------------------------

TEST(ConnectionLineRecord, KeysAndFallbacks) {
    TSymbolObjectConnectionLine* line;
    auto owner = ReadChild("ConnectionLine:\r\n  Handle=7\r\n  Port1Handle=3\r\n  Port2Handle=x\r\n"
                           "  NonOrthoAllowed=Yes\r\n  SymGroupLine=Dashed\r\n  Diameter=12.5\r\n"
                           "  PrecisionDiameter=2\r\n  Wall=abc\r\n  Flow=40\r\n  PrecisionFlow=bad\r\n"
                           "  Velocity2=3.5\r\n  PrecisionVelocity2=3\r\n"
                           "  Point:\r\n    X=10\r\n    Y=20\r\n  End.\r\n"
                           "  Point:\r\n    Y=q\r\n  End.\r\n"
                           "  CrossPoint:\r\n    X=5\r\n    Y=6\r\n  End.\r\n"
                           "End.\r\n",
                           line);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->fHandle, 7);
    EXPECT_EQ(line->fPort1Handle, 3);
    EXPECT_EQ(line->fPort2Handle, -1);
    EXPECT_TRUE(line->fNonOrthoAllowed);
    EXPECT_EQ(line->fSymLineStyle, symlinestyleDashed);
    EXPECT_EQ(line->fSymbolObjectSubType, soConnectionLine);
    EXPECT_EQ(line->fSymLineType, symlinetypeConnectionLine);
    EXPECT_EQ(line->fDrawPoints.Items, (Points{{10, 20}, {0, 0}}));
    EXPECT_EQ(line->fCrossPoints.Items, (Points{{5, 6}}));
    const TConnectionLineData& d = line->fConnectionLineData;
    EXPECT_DOUBLE_EQ(d.Diameter, 12.5);
    EXPECT_EQ(d.PrecisionDiameter, 2);
    EXPECT_DOUBLE_EQ(d.Wall, 0);
    EXPECT_DOUBLE_EQ(d.Flow, 40);
    EXPECT_EQ(d.PrecisionFlow, 0);
    EXPECT_DOUBLE_EQ(d.Velocity2, 3.5);
    EXPECT_EQ(d.PrecisionVelocity2, 3);
    // Precision keys absent: the defaults.
    EXPECT_EQ(d.PrecisionWall, 1);
    EXPECT_EQ(d.PrecisionVelocity, 1);
    EXPECT_EQ(d.PrecisionFlow2, 0);
}

TEST(ConnectionLineRecord, LegacyVariant) {
    TSymbolObjectConnectionLine* line;
    auto owner =
        ReadChild("CONNECTIONLINE:\r\nPORT1HANDLE=4\r\nDIAMETER=8\r\nFLOW=30\r\nNONORTHOALLOWED=Yes\r\n"
                  "SYMGROUPCODE=P1  \r\nSYMGROUPCOLOR=255\r\nSYMGROUPLINE=Hidden\r\n"
                  "POINT:\r\nX=1\r\nY=2\r\nEND.\r\nEND.\r\n",
                  line, TRecordVariant::Legacy);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->fPort1Handle, 4);
    EXPECT_DOUBLE_EQ(line->fConnectionLineData.Diameter, 8);
    EXPECT_DOUBLE_EQ(line->fConnectionLineData.Flow, 0);
    EXPECT_FALSE(line->fNonOrthoAllowed);
    EXPECT_EQ(line->SubGroupData().Code, "P1");
    EXPECT_EQ(line->SubGroupData().Color, 255u);
    // The older files kept the group's line style here, not the line's own.
    EXPECT_EQ(line->SubGroupData().SymLineStyle, symlinestyleHidden);
    EXPECT_EQ(line->fSymLineStyle, symlinestyleDefault);
    EXPECT_EQ(line->fDrawPoints.Items, (Points{{1, 2}}));
}

TEST(ConnectionLineRecord, NodeAndSheetReference) {
    TSymbolObjectConnectionNode* node;
    auto o1 = ReadChild("ConnectionNode:\r\n  Point1X=5\r\n  ManuallyInserted=Yes\r\nEnd.\r\n", node);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->fManuallyInserted);
    EXPECT_EQ(node->fP1, TPoint(5, 0));

    TSymbolObjectConnectionLineRef* ref;
    auto o2 = ReadChild("ConnectionLineRef:\r\n  Point2X=40\r\n  Point2Y=x\r\n  MateWith=9\r\n"
                        "  SheetHandle=bad\r\n  SheetNameMate=2\r\nEnd.\r\n",
                        ref);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->fP2, TPoint(40, 0));
    EXPECT_EQ(ref->fData.MateWith, 9);
    EXPECT_EQ(ref->fData.SheetHandle, -1);
    EXPECT_EQ(ref->fData.SheetNameMate, 2);
    EXPECT_EQ(ref->fSymLineStyle, symlinestyleBorder);
    EXPECT_EQ(ref->fSymbolObjectSubType, soConnectionLineRef);
    EXPECT_FALSE(ref->IsVert());
}

TEST(ConnectionLineRecord, AttributeChildren) {
    TSymbolObjectConnectionLine* line;
    auto owner =
        ReadChild("ConnectionLine:\r\n"
                  "  Attribute:\r\n    Tag=Connection Line Size\r\n    Value=DN10\r\n  End.\r\n"
                  "  Attribute:\r\n    Tag=Connection Line Single Arrow\r\n  End.\r\n"
                  "  Attribute:\r\n    Tag=Connection Line Both Arrows\r\n    Value=last\r\n  End.\r\n"
                  "End.\r\n",
                  line);
    ASSERT_NE(line, nullptr);
    ASSERT_NE(line->AttributeSize(), nullptr);
    EXPECT_EQ(line->AttributeSize()->fValue, "DN10");
    ASSERT_NE(line->AttributeArrow(), nullptr);
    EXPECT_EQ(line->AttributeArrow()->fValue, "last");
    EXPECT_EQ(line->AttributeArrow2(), nullptr);
    EXPECT_EQ(line->AttributeFlow(), nullptr);
    // Composite: a handle search finds the line's attribute children.
    line->fSymbolObjectList.SymbolObjects(0)->fHandle = 55;
    EXPECT_EQ(owner->fSymbolObjectList.Find(55), line->AttributeSize());
}

TEST(ConnectionLineRecord, DumpNamesEveryField) {
    auto line = MakeLine({{1, 2}, {3, 4}}, {{2, 2}});
    line->fConnectionLineData.PrecisionFlow2 = 4;
    TJsonWriter w(false);
    line->Dump(w);
    const std::string& json = w.Text();
    for (const char* key : {"\"O1\"", "\"O2\"", "\"Port1Handle\"", "\"Port2Handle\"", "\"NonOrthoAllowed\"",
                            "\"SymSubGroupData\"", "\"BreakConnection\"", "\"PrecisionVelocity2\""})
        EXPECT_NE(json.find(key), std::string::npos) << key;
    EXPECT_NE(json.find("\"DrawPoints\":[[1, 2]"), std::string::npos) << json;
    EXPECT_NE(json.find("[3, 4]],\"CrossPoints\":[[2, 2]]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"JumpMode\":\"jmVertRight\""), std::string::npos);
    EXPECT_NE(json.find("\"PrecisionFlow2\":4"), std::string::npos);
}

// --- pipe-data texts ---------------------------------------------------------------------------

class PipeTexts : public ::testing::Test {
protected:
    void TearDown() override { SetDisplayUnits(true, true, true, true, true); }
};

TEST_F(PipeTexts, SizeFlowAndVelocity) {
    TSymbolObjectConnectionLine line;
    auto& d = line.fConnectionLineData;
    d.Diameter = 12.5;
    d.Wall = 3.175;
    d.PrecisionWall = 3;
    d.Flow = 40;
    d.Velocity = 2.25;
    d.Flow2 = 12.123456;
    d.Velocity2 = 4;
    d.PrecisionVelocity2 = 2;
    EXPECT_EQ(line.GetSizeText("DN <> x <> <>"), "DN 12.5 x 3.175 <>");
    EXPECT_EQ(line.GetSizeText("<>/<>", ','), "12,5/3,175");
    EXPECT_EQ(line.GetFlowText("Q=<> %U, %u"), "Q=40 l/min, %u");
    EXPECT_EQ(line.GetFlow2Text("<>"), "12.12346");
    EXPECT_EQ(line.GetVelocityText("v=<> %u"), "v=2.3 m/s"); // one decimal by default
    EXPECT_EQ(line.GetVelocity2Text("<>"), "4.00");
    EXPECT_EQ(line.GetSizeText("no field"), "no field");

    SetDisplayUnits(false, true, false, true, true);
    d.Diameter = 25.4;
    EXPECT_EQ(line.GetSizeText("<> in, wall <>"), "1 in, wall .125"); // 3.175 mm = 0.125 in
    EXPECT_EQ(line.GetFlowText("<> %u"), "10.56688 gpm");
}

TEST_F(PipeTexts, Precisions) {
    struct TCase {
        int32_t Precision;
        double Value;
        const char* Text;
    } cases[] = {{0, 10, "10"},
                 {0, 1.234567, "1.23457"},
                 {0, -0.000001, "0"},
                 {1, 2.25, "2.3"},
                 {2, 1, "1.00"},
                 {-3, 7.6, "8"},
                 {3, 1234567.891, "1234568.000"},
                 {5000, 0.5, "0.500000000000000000"}};
    for (const TCase& c : cases)
        EXPECT_EQ(FormatMeasure(c.Precision, c.Value), c.Text) << c.Precision << " " << c.Value;
}

TEST_F(PipeTexts, SheetReferenceText) {
    TSymbolObjectConnectionLineRef ref;
    EXPECT_EQ(ref.GetSizeText("See Sheet <>"), "See Sheet <>");
    ref.fData.SheetNameMate = 2;
    EXPECT_EQ(ref.GetSizeText("See Sheet <>"), "See Sheet 3");
    ref.fData.SheetNameMate = INT32_MAX;
    EXPECT_EQ(ref.GetSizeText("<>"), "2147483648");
}

// --- tagged draw points ------------------------------------------------------------------------

TEST(TaggedDrawPoints, CrossingsInDistanceOrderAndCornersWin) {
    // Crossings stored out of order; one coincides with a corner, one is stored twice.
    auto line = MakeLine({{0, 0}, {0, 100}, {100, 100}}, {{0, 70}, {0, 20}, {0, 100}, {50, 100}, {0, 20}});
    const auto items = line->MakeTmpDrawPoints().Items;
    std::vector<std::pair<TPoint, bool>> got;
    for (const TTaggedPoint& t : items)
        got.push_back({t.Pt, t.Tag != TagCorner});
    EXPECT_EQ(got, (std::vector<std::pair<TPoint, bool>>{{{0, 0}, false},
                                                         {{0, 20}, true},
                                                         {{0, 70}, true},
                                                         {{0, 100}, false},
                                                         {{50, 100}, true},
                                                         {{100, 100}, false}}));
    EXPECT_EQ(line->FindSegment({0, 100}), 1); // the highest segment whose box holds it
    EXPECT_EQ(line->FindSegment({7, 7}), -1);
}

// --- drawing -----------------------------------------------------------------------------------

class LineDrawing : public ::testing::Test {
protected:
    TRecordingSurface surface;
    TSymbolCanvas canvas{&surface};
    void SetUp() override {
        canvas.fSize = {400, 400};
        canvas.fSymbolGroupDrawMode = drawNoGroups1;
    }
    std::vector<std::string> Draw(TSymbolObject& o, TSymbolDrawMode mode = sdmNormal) {
        surface.ClearCalls();
        o.DrawSymbol(canvas, mode, false, nullptr);
        std::vector<std::string> shapes;
        for (const std::string& c : surface.Calls())
            if (c.rfind("MoveTo", 0) == 0 || c.rfind("LineTo", 0) == 0 || c.rfind("Arc", 0) == 0 ||
                c.rfind("Ellipse", 0) == 0)
                shapes.push_back(c);
        return shapes;
    }
};

TEST_F(LineDrawing, JumpArcBridgesTheGapOnTheVerticalLine) {
    // Vertical from (100, 0) to (100, 200), crossed at (100, 100); the screen is 400 high.
    auto vertical = MakeLine({{100, 0}, {100, 200}}, {{100, 100}}, jmVertRight);
    const std::string arc = "Arc 90 290 111 311 100 310 100 290"; // from below to above: bulges right
    EXPECT_EQ(Draw(*vertical), (std::vector<std::string>{arc, "MoveTo 100 400", "LineTo 100 310", arc,
                                                         "MoveTo 100 290", "LineTo 100 200"}));
    auto horizontal = MakeLine({{0, 100}, {200, 100}}, {}, jmVertRight);
    EXPECT_EQ(Draw(*horizontal), (std::vector<std::string>{"MoveTo 0 300", "LineTo 200 300"}));
}

TEST_F(LineDrawing, ArcDirectionOfEachMode) {
    struct TCase {
        TJumpMode Mode;
        Points Line;
        const char* Arc;
    } cases[] = {
        {jmVertLeft, {{100, 0}, {100, 200}}, "Arc 90 290 111 311 100 290 100 310"},
        {jmHorzUp, {{0, 100}, {200, 100}}, "Arc 90 290 111 311 110 300 90 300"},
        {jmHorzDown, {{0, 100}, {200, 100}}, "Arc 90 290 111 311 90 300 110 300"},
    };
    for (const TCase& c : cases) {
        auto line = MakeLine(c.Line, {{100, 100}}, c.Mode);
        auto calls = Draw(*line);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), c.Arc) << int(c.Mode);
    }
}

TEST_F(LineDrawing, ScaleAndZoomSizeTheJump) {
    auto line = MakeLine({{100, 0}, {100, 200}}, {{100, 100}}, jmVertRight);
    line->fScale = 2;
    canvas.fZoom = 0.5;
    // Gap of 20 units each side, arc of radius Round(10 x 2 x 0.5) = 10 pixels.
    const std::string arc = "Arc 40 140 61 161 50 160 50 140";
    EXPECT_EQ(Draw(*line), (std::vector<std::string>{arc, "MoveTo 50 200", "LineTo 50 160", arc,
                                                     "MoveTo 50 140", "LineTo 50 100"}));
}

TEST_F(LineDrawing, CachedPiecesFollowTheModelNotThePaint) {
    auto line = MakeLine({{100, 0}, {100, 200}}, {{100, 100}}, jmVertRight);
    line->CacheDrawPoints();
    EXPECT_TRUE(line->HasDrawCache());
    const auto cached = Draw(*line);
    line->fCrossPoints.Items.clear();
    line->InvalidateDrawCache();
    EXPECT_NE(Draw(*line), cached);
    EXPECT_EQ(Draw(*line), (std::vector<std::string>{"MoveTo 100 400", "LineTo 100 200"}));
}

TEST_F(LineDrawing, NoJumpsWithoutJumpModeOrWithFewPoints) {
    auto line = MakeLine({{0, 0}, {0, 100}, {100, 100}}, {{0, 50}}, jmNone);
    EXPECT_EQ(Draw(*line), (std::vector<std::string>{"MoveTo 0 400", "LineTo 0 300", "LineTo 100 300"}));
    auto single = MakeLine({{5, 5}}, {}, jmVertRight);
    EXPECT_TRUE(Draw(*single).empty());
}

TEST_F(LineDrawing, GroupPenThickAndTwoColours) {
    auto line = MakeLine({{0, 0}, {200, 0}}, {}, jmNone);
    line->EditMainGroupData().Code = "Control";
    line->EditMainGroupData().Color = RGBColor(0, 0, 200);
    line->EditMainGroupData().SymLineStyle = symlinestyleDashed;
    line->EditMainGroupData().TwoColorMode = true;
    line->EditMainGroupData().SecondColor = RGBColor(200, 0, 0);
    canvas.fSymbolGroupDrawMode = drawMainGroups;
    Draw(*line);
    auto pens = surface.CallsStartingWith("Pen ");
    bool thickFirst = false, thickSecond = false;
    for (const std::string& p : pens) {
        thickFirst |= p == "Pen #0000C8 solid 2 copy";
        thickSecond |= p == "Pen #C80000 solid 2 copy";
    }
    EXPECT_TRUE(thickFirst);
    EXPECT_TRUE(thickSecond); // dashes alternate with the second colour
    EXPECT_EQ(surface.Pen().Width, 1);
    // Pieces of the dash pattern, not one line.
    EXPECT_GT(surface.CallsStartingWith("LineTo").size(), 2u);

    canvas.fThickConnectionLines = false;
    Draw(*line, sdmHighlight);
    for (const std::string& p : surface.CallsStartingWith("Pen "))
        EXPECT_EQ(p.find(" 2 copy"), std::string::npos) << p;
}

TEST_F(LineDrawing, NodeSizeAndFill) {
    TSymbolObjectConnectionNode node;
    node.fP1 = {100, 100};
    EXPECT_EQ(Draw(node), (std::vector<std::string>{"Ellipse 95 295 106 306"}));
    EXPECT_EQ(surface.Brush().Style, TBrushStyle::Clear);
    node.fInMainSymbol = usedInMainSymbol | usedInSchematicMainSymbol;
    node.fFill = true;
    EXPECT_EQ(Draw(node), (std::vector<std::string>{"Ellipse 92 292 109 309"}));
    EXPECT_EQ(surface.Brush().Style, TBrushStyle::Solid);
    EXPECT_EQ(surface.Brush().Color, surface.Pen().Color);
    node.fSymbolObjectSubType = soDot;
    EXPECT_TRUE(Draw(node).empty());
}

TEST_F(LineDrawing, SheetReferenceSegment) {
    TSymbolObjectConnectionLineRef ref;
    ref.fP1 = {0, 0};
    ref.fP2 = {0, 200};
    Draw(ref);
    // The border pattern: dash-dot pieces, not one line.
    EXPECT_GT(surface.CallsStartingWith("LineTo").size(), 2u);
    ref.fSymLineStyle = symlinestyleSolid;
    EXPECT_EQ(Draw(ref), (std::vector<std::string>{"MoveTo 0 400", "LineTo 0 200"}));
}

// --- hits and extents --------------------------------------------------------------------------

TEST(ConnectionLineGeometry, HitTestsAndExtents) {
    auto line = MakeLine({{0, 0}, {0, 100}, {100, 100}});
    EXPECT_TRUE(line->HitTest({4, 50}, 4));
    EXPECT_FALSE(line->HitTest({5, 50}, 4));
    EXPECT_TRUE(line->HitTest({50, 97}, 4));
    EXPECT_TRUE(line->HitTestRect(TRect({60, 120}, {40, 80}))); // crossing rectangle over a segment
    EXPECT_FALSE(line->HitTestRect(TRect({60, 90}, {40, 80})));
    EXPECT_TRUE(line->HitTestRect(TRect({-1, -1}, {101, 101})));
    EXPECT_FALSE(MakeLine({{0, 0}})->HitTest({0, 0}, 10));

    TExtentsRect e = line->Extents({});
    EXPECT_TRUE(e.Defined);
    EXPECT_EQ(e.Left, 0);
    EXPECT_EQ(e.Right, 100);
    EXPECT_EQ(e.Top, 100);
    line->fTemporaryHidden = temphiddenAll;
    EXPECT_FALSE(line->Extents({}).Defined);

    TSymbolObjectConnectionNode node;
    node.fP1 = {10, 10};
    EXPECT_TRUE(node.HitTest({18, 10}, 3));
    EXPECT_FALSE(node.HitTest({19, 10}, 3));
    EXPECT_EQ(node.Extents({}).Right, 10);

    TSymbolObjectConnectionLineRef ref;
    ref.fP2 = {0, 100};
    EXPECT_TRUE(ref.HitTest({3, 50}, 3));
    EXPECT_FALSE(ref.HitTest({4, 50}, 3));
}

} // namespace
