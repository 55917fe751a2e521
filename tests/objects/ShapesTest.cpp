#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/ShapeHelpers.h"
#include "objects/ShapeObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include "support/DrawCalls.h"

#include <climits>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The drawing calls with their lines folded; pens left out, fonts kept.
std::vector<std::string> Shapes(const TRecordingSurface& s, bool keepBrush = false) {
    return FoldedCalls(s, keepBrush, true);
}

// Drawing (0, 0) lands on device (400, 300); one drawing unit is two pixels, Y up.
class ShapeDraw : public ::testing::Test {
public:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    void SetUp() override {
        Canvas.fSize = {800, 600};
        Canvas.fZoom = 2;
        Canvas.fStart = {400, -900};
    }
    std::vector<std::string> Draw(TSymbolObject& obj, TSymbolDrawMode mode = sdmNormal,
                                  bool keepBrush = false) {
        Surface.ClearCalls();
        obj.DrawSymbol(Canvas, mode, false, nullptr);
        return Shapes(Surface, keepBrush);
    }
};

struct TTwoPointCase {
    const char* Name;
    TSymbolObjectType SubType;
    TPoint P1, P2;
    bool Fill, Flip, Alternate;
    std::vector<std::string> Expected;
};

std::unique_ptr<TSymbolObject2Point> TwoPoint(TSymbolObjectType subType, TPoint p1, TPoint p2,
                                              bool fill = false, bool flip = false, bool alternate = false) {
    auto o = std::make_unique<TSymbolObject2Point>();
    o->fSymbolObjectSubType = subType;
    o->fP1 = p1;
    o->fP2 = p2;
    o->fFill = fill;
    o->fFlip = flip;
    o->fAlternate = alternate;
    return o;
}

void CheckCases(ShapeDraw& t, const std::vector<TTwoPointCase>& cases, bool keepBrush = false) {
    for (const TTwoPointCase& c : cases) {
        auto o = TwoPoint(c.SubType, c.P1, c.P2, c.Fill, c.Flip, c.Alternate);
        EXPECT_EQ(t.Draw(*o, sdmNormal, keepBrush), c.Expected) << c.Name;
    }
}

TEST_F(ShapeDraw, SimpleTwoPointShapes) {
    const std::vector<TTwoPointCase> cases = {
        {"line", soLine, {0, 0}, {50, 20}, false, false, false, {"Lines 400 300 500 260"}},
        {"arrow",
         soArrow,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Lines 400 300 560 300", "Polygon 560 289 560 311 600 300"}},
        {"diagonal arrow",
         soArrow,
         {0, 0},
         {30, 40},
         false,
         false,
         false,
         {"Lines 400 300 436 252", "Polygon 427 246 445 258 460 220"}},
        {"blocked",
         soBlocked,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Lines 400 300 600 300", "Lines 600 200 600 400"}},
        {"blocked cross",
         soBlockedCross,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Lines 400 300 600 300", "Lines 529 229 671 371", "Lines 671 229 529 371"}},
        {"shut-off, wide box",
         soShutOff,
         {0, 0},
         {100, 40},
         false,
         false,
         false,
         {"Polygon 400 300 400 220 500 260", "Polygon 600 220 600 300 500 260"}},
        {"shut-off, tall box",
         soShutOff,
         {0, 0},
         {40, 100},
         false,
         false,
         false,
         {"Polygon 400 300 480 300 440 200", "Polygon 480 100 400 100 440 200"}},
        {"rectangle",
         soRectangle,
         {0, 0},
         {60, -30},
         false,
         false,
         false,
         {"Polygon 400 300 520 300 520 360 400 360"}},
        {"circle", soCircle, {0, 0}, {30, 40}, false, false, false, {"Ellipse 300 200 501 401"}},
        {"not a shape of this class", soSolenoid, {0, 0}, {30, 40}, false, false, false, {}},
    };
    CheckCases(*this, cases);
}

TEST_F(ShapeDraw, FilledShapesSetTheSolidBrushAndClearItAgain) {
    const TColor pen = Canvas.ObjectColor(sdmNormal, symlinetypeSymbol, false, 0);
    const std::string solid = "Brush " + ColorText(pen) + " solid",
                      clear = "Brush " + ColorText(pen) + " clear";
    const std::vector<TTwoPointCase> cases = {
        {"arrow",
         soArrow,
         {0, 0},
         {100, 0},
         true,
         false,
         false,
         {clear, "Lines 400 300 560 300", solid, "Polygon 560 289 560 311 600 300", clear}},
        {"circle",
         soCircle,
         {0, 0},
         {30, 40},
         true,
         false,
         false,
         {clear, solid, "Ellipse 300 200 501 401", clear}},
        {"rectangle",
         soRectangle,
         {0, 0},
         {60, -30},
         true,
         false,
         false,
         {clear, solid, "Polygon 400 300 520 300 520 360 400 360", clear}},
    };
    CheckCases(*this, cases, true);

    TSymbolObject1Point dot;
    dot.fSymbolObjectSubType = soDot;
    dot.fP1 = {10, 10};
    dot.fScale = 2;
    dot.fFill = true;
    EXPECT_EQ(Draw(dot, sdmNormal, true),
              (std::vector<std::string>{clear, solid, "Ellipse 400 260 441 301", clear}));
    dot.fSymbolObjectSubType = soNone;
    EXPECT_EQ(Draw(dot), std::vector<std::string>{});
}

TEST_F(ShapeDraw, StyledEdgesArePatternedOneByOne) {
    // A dashed square of side 60: each side is one dash (12..48) between two end pieces of 4.
    auto square = TwoPoint(soRectangle, {0, 0}, {60, 60});
    square->fSymLineStyle = symlinestyleDashed;
    const auto calls = Draw(*square);
    ASSERT_EQ(calls.size(), 12u);
    EXPECT_EQ(calls[0], "Lines 400 300 408 300");
    EXPECT_EQ(calls[1], "Lines 424 300 496 300");
    EXPECT_EQ(calls[2], "Lines 512 300 520 300");
    EXPECT_EQ(calls[11], "Lines 400 292 400 300");
    // Filled, the same square is one polygon whatever the pen.
    square->fFill = true;
    EXPECT_EQ(Draw(*square), std::vector<std::string>{"Polygon 400 300 520 300 520 180 400 180"});

    TSymbolObject3Point triangle;
    triangle.fSymbolObjectSubType = soTriangle;
    triangle.fP2 = {100, 0};
    triangle.fP3 = {0, 100};
    EXPECT_EQ(Draw(triangle), std::vector<std::string>{"Polygon 400 300 600 300 400 100"});
    triangle.fSymLineStyle = symlinestyleDashed;
    // 100, 141 and 100 units long: 2 + 3 + 2 dashes, each between its two end pieces.
    EXPECT_EQ(Draw(triangle).size(), 4u + 5u + 4u);
}

TEST_F(ShapeDraw, Springs) {
    const std::vector<TTwoPointCase> cases = {
        {"teeth along X, count made even",
         soSpring,
         {0, 0},
         {40, 20},
         false,
         false,
         false,
         {"Lines 400 280 405 260 415 300 425 260 435 300 445 260 455 300 465 260 475 300 480 280"}},
        {"alternate keeps the odd count",
         soSpring,
         {0, 0},
         {40, 20},
         false,
         false,
         true,
         {"Lines 400 300 411 260 423 300 434 260 446 300 457 260 469 300 480 260"}},
        {"flip exchanges the edges",
         soSpring,
         {0, 0},
         {40, 20},
         false,
         true,
         false,
         {"Lines 400 280 405 300 415 260 425 300 435 260 445 300 455 260 465 300 475 260 480 280"}},
        {"teeth along Y",
         soSpring,
         {0, 40},
         {20, 0},
         false,
         false,
         false,
         {"Lines 420 220 440 225 400 235 440 245 400 255 440 265 400 275 440 285 400 295 420 300"}},
        {"no height", soSpring, {0, 0}, {40, 0}, false, false, false, {}},
        {"no width", soSpring, {0, 0}, {0, 40}, false, false, false, {}},
        // The angle of this one misses 180 degrees by a single-precision hair.
        {"no height, leftwards", soSpring, {10, 0}, {-30, 0}, false, false, false, {}},
    };
    CheckCases(*this, cases);
}

TEST_F(ShapeDraw, CheckValvesAndOrifices) {
    const std::vector<TTwoPointCase> cases = {
        {"check valve",
         soCheckValve,
         {0, 0},
         {90, 0},
         false,
         false,
         false,
         {"Lines 580 300 545 300", "Lines 400 300 520 180", "Lines 400 300 520 420",
          "Ellipse 425 240 546 361"}},
        {"short check valve",
         soCheckValve,
         {0, 0},
         {20, 0},
         false,
         false,
         false,
         {"Lines 440 300 436 300", "Lines 400 300 430 270", "Lines 400 300 430 330",
          "Ellipse 406 285 437 316"}},
        {"check valve with cone",
         soCheckValve2,
         {0, 0},
         {90, 0},
         false,
         false,
         false,
         {"Lines 580 300 545 300 425 180", "Lines 545 300 425 420", "Ellipse 400 240 521 361"}},
        {"two arcs, length 30",
         soOrifice1,
         {0, 0},
         {30, 0},
         false,
         false,
         false,
         {"Arc 385 200 476 291 400 279 460 279", "Arc 385 310 476 401 460 321 400 321"}},
        {"two arcs, length 29",
         soOrifice1,
         {0, 0},
         {29, 0},
         false,
         false,
         false,
         {"Arc 385 189 474 278 400 266 458 266", "Arc 385 323 474 412 458 334 400 334"}},
        {"chevrons",
         soOrifice2,
         {0, 0},
         {40, 0},
         false,
         false,
         false,
         {"Lines 400 240 440 280 480 240", "Lines 400 360 440 320 480 360"}},
    };
    CheckCases(*this, cases);

    TOrificeDrawData d;
    for (const auto& [Length, Gap] : {std::pair{30, 5.0}, std::pair{29, 11.6}}) {
        TSymbolObjectsDrawHelper::CreateOrificeLines(XYPoint(0, 0), XYPoint(Length, 0), d);
        EXPECT_NEAR(d.P[0].Y - d.R, Gap, 1e-9) << Length; // the arc's nearest point to the chord
        EXPECT_NEAR(XYDistance(d.P[0], d.P[1]), d.R, 1e-9) << Length;
    }
    // The restrictor's chord: 2 * L/3 across the middle of the diameter, perpendicular to it.
    TXYPoint a, b;
    TSymbolObjectsDrawHelper::PerpendicularChord({0, 0}, {90, 0}, 0, a, b);
    EXPECT_NEAR(a.X, 45, 1e-9);
    EXPECT_NEAR(a.Y, 30, 1e-9);
    EXPECT_NEAR(b.Y, -30, 1e-9);
}

TEST_F(ShapeDraw, RotatingMachines) {
    const std::vector<TTwoPointCase> cases = {
        {"pump",
         soPump1,
         {0, 0},
         {0, -100},
         false,
         false,
         false,
         {"Ellipse 200 100 601 501", "Polygon 450 400 350 400 400 500"}},
        {"pump, first stub to +X",
         soPump1a,
         {0, 0},
         {0, -100},
         false,
         false,
         false,
         {"Ellipse 200 100 601 501", "Polygon 450 400 350 400 400 500", "Lines 700 250 594 250",
          "Lines 700 350 594 350"}},
        {"pump, flipped stub to -X",
         soPump1a,
         {0, 0},
         {0, -100},
         false,
         true,
         false,
         {"Ellipse 200 100 601 501", "Polygon 450 400 350 400 400 500", "Lines 100 350 206 350",
          "Lines 100 250 206 250"}},
        {"two pumps",
         soPump2,
         {0, 0},
         {60, 80},
         false,
         false,
         false,
         {"Ellipse 200 100 601 501", "Polygon 420 190 500 250 520 140", "Polygon 280 460 380 410 300 350"}},
        {"motor",
         soMotor1,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Ellipse 200 100 601 501", "Lines 594 348 500 300 594 252"}},
        {"filled motor",
         soMotor1,
         {0, 0},
         {100, 0},
         true,
         false,
         false,
         {"Ellipse 200 100 601 501", "Polygon 500 300 594 348 599 324 600 300 599 276 594 252 500 300"}},
        {"two motors",
         soMotor2,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Ellipse 200 100 601 501", "Lines 594 348 500 300 594 252", "Lines 206 252 300 300 206 348"}},
        {"motor, both stubs flipped",
         soMotor1c,
         {10, 20},
         {40, -20},
         false,
         true,
         false,
         {"Ellipse 320 160 521 361", "Lines 459 352 450 300 498 323", "Lines 314 370 357 337",
          "Lines 286 330 328 299", "Lines 526 150 483 183", "Lines 554 190 512 221"}},
        {"electric motor",
         soEMotor2,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Ellipse 200 100 601 501", "Lines 350 0 350 106", "Lines 450 0 450 106", "Lines 450 600 450 494",
          "Lines 350 600 350 494"}},
        {"control: one stub at 45 degrees, no circle",
         soMotorPumpControl,
         {0, 0},
         {100, 0},
         false,
         false,
         false,
         {"Lines 152 124 228 198", "Lines 224 52 298 128"}},
    };
    CheckCases(*this, cases);
}

TEST_F(ShapeDraw, DragModeAddsConstructionLines) {
    auto motor = TwoPoint(soMotor1, {0, 0}, {100, 0});
    EXPECT_EQ(Draw(*motor, sdmDrag),
              (std::vector<std::string>{"Lines 400 300 600 300", "Ellipse 200 100 601 501",
                                        "Lines 594 348 500 300 594 252"}));
    auto circle = TwoPoint(soCircle, {0, 0}, {30, 40});
    EXPECT_EQ(Draw(*circle, sdmDrag),
              (std::vector<std::string>{"Ellipse 300 200 501 401", "Lines 400 300 460 220"}));

    TSymbolObject3Point arc;
    arc.fSymbolObjectSubType = soArc;
    arc.fP2 = {100, 0};
    arc.fP3 = {50, 50};
    EXPECT_EQ(Draw(arc, sdmDrag),
              (std::vector<std::string>{"Arc 400 200 601 401 600 300 400 300", "Lines 492 292 509 309",
                                        "Lines 508 292 491 309"}));
    Canvas.fMoveMode = true;
    EXPECT_EQ(Draw(arc, sdmDrag).size(), 1u);
}

TEST_F(ShapeDraw, ThreePointArcs) {
    struct TCase {
        TPoint P1, P2, P3;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {{0, 0}, {100, 0}, {50, 50}, {"Arc 400 200 601 401 600 300 400 300"}},
        {{100, 0}, {0, 0}, {50, 50}, {"Arc 400 200 601 401 600 300 400 300"}},
        {{0, 0}, {100, 0}, {50, -50}, {"Arc 400 200 601 401 400 300 600 300"}},
        {{0, 0}, {100, 0}, {50, 5}, {"Arc -5 290 1006 1301 600 300 400 300"}},
        // Within 5 degrees of a straight line, whichever side of 0 degrees the directions lie.
        {{0, 0}, {100, 0}, {50, 1}, {"Polyline 400 300 500 298 600 300"}},
        {{100, 0}, {0, 0}, {50, 1}, {"Polyline 600 300 500 298 400 300"}},
        {{0, 0}, {100, 0}, {50, 0}, {"Polyline 400 300 500 300 600 300"}},
        // Coincident points are in line: the poly-line through them stands for the arc.
        {{0, 0}, {100, 0}, {0, 0}, {"Polyline 400 300 400 300 600 300"}},
        {{0, 0}, {0, 0}, {50, 50}, {"Polyline 400 300 500 200 400 300"}},
        {{20, 10}, {20, 10}, {20, 10}, {"Polyline 440 280 440 280 440 280"}},
    };
    for (const TCase& c : cases) {
        TSymbolObject3Point arc;
        arc.fSymbolObjectSubType = soArc;
        arc.fP1 = c.P1;
        arc.fP2 = c.P2;
        arc.fP3 = c.P3;
        EXPECT_EQ(Draw(arc), c.Expected) << c.P1.X << "," << c.P2.X << "," << c.P3.Y;
    }
}

TEST_F(ShapeDraw, PolyLinesAndClouds) {
    TSymbolObjectPolyLine line;
    line.fPoints.Items = {{0, 0}, {50, 0}, {50, 50}};
    EXPECT_EQ(Draw(line), std::vector<std::string>{"Lines 400 300 500 300 500 200"});
    EXPECT_FALSE(line.Closed());
    line.ClosePoints();
    EXPECT_TRUE(line.Closed());
    EXPECT_EQ(line.fPoints.Items.back(), TPoint(0, 0));
    line.ClosePoints();
    EXPECT_EQ(line.fPoints.Count(), 4);
    line.fPoints.Items = {{0, 0}, {0, 0}, {5, 5}, {5, 5}, {0, 0}};
    line.Purge();
    EXPECT_EQ(line.fPoints.Items, (std::vector<TPoint>{{0, 0}, {5, 5}, {0, 0}}));

    TSymbolObjectPolyLine cloud;
    cloud.fSymbolObjectSubType = soRevisionCloud;
    cloud.fPoints.Items = {{0, 0}};
    cloud.UpdateRevisionCloud();
    EXPECT_TRUE(cloud.fArcs.Items.empty());
    EXPECT_EQ(Draw(cloud), std::vector<std::string>{});
    // Stored arcs replace the straight outline.
    cloud.fPoints.Items = {{0, 0}, {100, 0}};
    EXPECT_EQ(Draw(cloud), std::vector<std::string>{"Lines 400 300 600 300"});
    cloud.fArcs.Items = {{XYPoint(0, 0), XYPoint(100, 0), XYPoint(50, 50)}};
    EXPECT_EQ(Draw(cloud), std::vector<std::string>{"Arc 400 200 601 401 600 300 400 300"});
    // Stored arcs nearly in line, or through coincident points, are drawn as their poly-lines.
    cloud.fArcs.Items = {{XYPoint(0, 0), XYPoint(100, 0), XYPoint(50, 1)},
                         {XYPoint(0, 0), XYPoint(100, 0), XYPoint(0, 0)}};
    EXPECT_EQ(Draw(cloud), (std::vector<std::string>{"Polyline 400 300 500 298 600 300",
                                                     "Polyline 400 300 400 300 600 300"}));

    // Reading a cloud builds its arcs (the outline of the worked example in RevisionCloudTest).
    TSymbolObjectPolyLine read;
    TRecordReader reader("  SymbolType=Revision cloud\n  Point=0,0\n  Point=300,0\nEnd.\n",
                         TRecordVariant::UniCode);
    read.LoadFromReader(reader);
    ASSERT_EQ(read.fSymbolObjectSubType, soRevisionCloud);
    EXPECT_EQ(read.fArcs.Count(), 5);
    const std::vector<std::string> arcs = Draw(read);
    EXPECT_EQ(arcs.size(), 5u);
    for (const std::string& call : arcs)
        EXPECT_EQ(call.rfind("Arc ", 0), 0u) << call;
    // The first arc runs over the top of its circle of radius 76 about (0, 20).
    EXPECT_EQ(read.Extents(TExtentsRect()).Top, 96);
    // A cloud that cannot be built, here for a zero-length edge, keeps its straight outline.
    read.fPoints.Items = {{0, 0}, {300, 0}, {300, 0}, {300, 300}};
    read.UpdateRevisionCloud();
    EXPECT_EQ(read.fArcs.Count(), 0);
    EXPECT_EQ(Draw(read), std::vector<std::string>{"Lines 400 300 1000 300 1000 300 1000 -300"});
    // Only clouds get arcs.
    line.fSymbolObjectSubType = soPolyLine;
    line.fPoints.Items = {{0, 0}, {300, 0}};
    line.UpdateRevisionCloud();
    EXPECT_EQ(line.fArcs.Count(), 0);
}

TEST_F(ShapeDraw, ObjectPenIsRestoredAfterChildren) {
    auto line = TwoPoint(soLine, {0, 0}, {50, 0});
    line->fColorIsOverruled = true;
    line->fOverruledColor = RGBColor(1, 2, 3);
    TSymbolObject* child = line->fSymbolObjectList.Add(som2Point);
    child->fSymbolObjectSubType = soLine;
    child->fColorIsOverruled = true;
    child->fOverruledColor = RGBColor(9, 9, 9);
    Surface.ClearCalls();
    line->DrawSymbol(Canvas, sdmNormal, false, nullptr);
    EXPECT_EQ(Surface.Pen().Color, RGBColor(1, 2, 3));
}

// ---------------------------------------------------------------------------------------------

// Pick distance of 4 pixels at zoom 1.
constexpr double Pick = 4;

std::shared_ptr<TSymbolObject> Scaled(std::unique_ptr<TSymbolObject2Point> o, double scale) {
    o->fScale = scale;
    return o;
}

TEST(ShapeHitTest, OnAndJustOutsideEachKindOfGeometry) {
    struct TCase {
        const char* Name;
        std::shared_ptr<TSymbolObject> Obj;
        TPoint On, Off;
    };
    auto arc = std::make_shared<TSymbolObject3Point>();
    arc->fSymbolObjectSubType = soArc;
    arc->fP2 = {100, 0};
    arc->fP3 = {50, 50};
    auto poly = std::make_shared<TSymbolObjectPolyLine>();
    poly->fPoints.Items = {{0, 0}, {100, 0}, {100, 100}};
    auto dot = std::make_shared<TSymbolObject1Point>();
    dot->fSymbolObjectSubType = soDot;
    const std::vector<TCase> cases = {
        {"segment", TwoPoint(soLine, {0, 0}, {100, 0}), {50, 4}, {50, 5}},
        {"segment end", TwoPoint(soLine, {0, 0}, {100, 0}), {103, 0}, {105, 0}},
        {"circle outline", TwoPoint(soCircle, {0, 0}, {100, 0}), {0, 104}, {0, 105}},
        {"inside an open circle", TwoPoint(soCircle, {0, 0}, {100, 0}), {0, 96}, {0, 95}},
        {"inside a filled circle", TwoPoint(soCircle, {0, 0}, {100, 0}, true), {0, 0}, {0, 105}},
        {"arc", arc, {50, 54}, {50, 55}},
        {"other half of the arc's circle", arc, {0, 3}, {50, -50}},
        {"orifice arc", TwoPoint(soOrifice1, {0, 0}, {60, 0}), {30, 14}, {30, 5}},
        {"arrow head", TwoPoint(soArrow, {0, 0}, {100, 0}), {90, 0}, {90, 8}},
        {"inside an open arrow head", Scaled(TwoPoint(soArrow, {0, 0}, {100, 0}), 3), {60, 10}, {60, 0}},
        {"inside a filled arrow head",
         Scaled(TwoPoint(soArrow, {0, 0}, {100, 0}, true), 3),
         {60, 0},
         {60, 15}},
        {"spring tooth", TwoPoint(soSpring, {0, 0}, {100, 200}), {52, 100}, {25, 100}},
        {"machine stub", TwoPoint(soEMotor1, {0, 0}, {100, 0}), {-25, 140}, {0, 140}},
        {"machine circle", TwoPoint(soPump1, {0, 0}, {0, -100}), {70, 70}, {0, 0}},
        {"dot", dot, {9, 0}, {10, 0}},
        {"poly-line", poly, {104, 50}, {105, 50}},
    };
    for (const TCase& c : cases) {
        EXPECT_TRUE(c.Obj->HitTest(c.On, Pick)) << c.Name;
        EXPECT_FALSE(c.Obj->HitTest(c.Off, Pick)) << c.Name;
    }
    // A shape that draws nothing cannot be clicked.
    EXPECT_FALSE(TwoPoint(soSpring, {0, 0}, {40, 0})->HitTest({20, 0}, Pick));
}

TEST(ShapeHitTest, WindowAndCrossingRectangles) {
    const auto window = [](int l, int b, int r, int t) { return TRect({l, b}, {r, t}); };
    const auto crossing = [](int l, int b, int r, int t) { return TRect({r, b}, {l, t}); };
    auto circle = TwoPoint(soCircle, {0, 0}, {50, 0});
    EXPECT_TRUE(circle->HitTestRect(window(-50, -50, 50, 50)));
    EXPECT_FALSE(circle->HitTestRect(window(-49, -50, 50, 50)));
    EXPECT_TRUE(circle->HitTestRect(crossing(45, -5, 60, 5)));
    EXPECT_FALSE(circle->HitTestRect(crossing(-10, -10, 10, 10))); // inside the outline
    EXPECT_FALSE(circle->HitTestRect(crossing(40, 40, 60, 60)));   // in the corner outside it
    circle->fFill = true;
    EXPECT_TRUE(circle->HitTestRect(crossing(-10, -10, 10, 10)));

    TSymbolObject3Point arc;
    arc.fSymbolObjectSubType = soArc;
    arc.fP2 = {100, 0};
    arc.fP3 = {50, 50};
    EXPECT_TRUE(arc.HitTestRect(crossing(40, 45, 60, 60)));
    EXPECT_FALSE(arc.HitTestRect(crossing(40, -60, 60, -45)));
    EXPECT_TRUE(arc.HitTestRect(window(0, 0, 100, 50)));
    EXPECT_FALSE(arc.HitTestRect(window(0, 0, 100, 49)));

    auto shut = TwoPoint(soShutOff, {0, 0}, {100, 40});
    EXPECT_FALSE(shut->HitTestRect(crossing(10, 18, 12, 22))); // in an open triangle
    shut->fFill = true;
    EXPECT_TRUE(shut->HitTestRect(crossing(10, 18, 12, 22)));
}

TEST(ShapeExtents, CoverWhatIsDrawn) {
    const auto of = [](const TSymbolObject& o) {
        const TExtentsRect e = o.Extents(TExtentsRect());
        return std::vector<int>{e.Left, e.Bottom, e.Right, e.Top};
    };
    EXPECT_EQ(of(*TwoPoint(soCircle, {10, 10}, {40, 50})), (std::vector<int>{-40, -40, 60, 60}));
    EXPECT_EQ(of(*TwoPoint(soSpring, {0, 0}, {40, 20})), (std::vector<int>{0, 0, 40, 20}));
    EXPECT_EQ(of(*TwoPoint(soArrow, {0, 0}, {100, 0})), (std::vector<int>{0, -5, 100, 5}));
    // The stub reaches 1.5 radii from the centre, e = 25 to either side of its axis.
    EXPECT_EQ(of(*TwoPoint(soEMotor1, {0, 0}, {100, 0})), (std::vector<int>{-100, -100, 100, 150}));
    EXPECT_EQ(of(*TwoPoint(soOrifice2, {0, 0}, {40, 0})), (std::vector<int>{0, -30, 40, 30}));
    // Without a shape of its own an object stands at its points.
    EXPECT_EQ(of(*TwoPoint(soSolenoid, {5, 6}, {-7, 8})), (std::vector<int>{-7, 6, 5, 8}));
    EXPECT_EQ(of(*TwoPoint(soMotor1, {5, 6}, {5, 6})), (std::vector<int>{5, 6, 5, 6}));

    TSymbolObject3Point arc;
    arc.fSymbolObjectSubType = soArc;
    arc.fP2 = {100, 0};
    arc.fP3 = {50, 50};
    EXPECT_EQ(of(arc), (std::vector<int>{0, 0, 100, 50}));
    arc.fTemporaryHidden = temphiddenAll;
    EXPECT_FALSE(arc.Extents(TExtentsRect()).Defined);
}

// ---------------------------------------------------------------------------------------------

TEST(ShapeRecords, KeysDefaultsAndDump) {
    for (const TRecordVariant variant : {TRecordVariant::UniCode, TRecordVariant::Legacy}) {
        TSymbolObject3Point tri;
        TRecordReader reader("  SymbolType=Triangle\r\n  Point2X=30\r\n  Point2Y=x\r\n  Point3X=-5\r\n"
                             "  Point3Y=7\r\n  Point2Y=12\r\n  Point3X=oops\r\nEnd.\r\nrest",
                             variant);
        tri.LoadFromReader(reader);
        EXPECT_EQ(tri.fP2, TPoint(30, 12));
        EXPECT_EQ(tri.fP3, TPoint(-5, 7)); // an unreadable number keeps the value before it
        EXPECT_EQ(tri.fSymbolObjectSubType, soTriangle);
        tri.SetDefaults();
        EXPECT_EQ(tri.fP2, TPoint());
        EXPECT_EQ(tri.fP3, TPoint());
    }

    TSymbolObjectPolyLine poly;
    TRecordReader reader("  Point=1,2\n  Point=bad\n  Point=3, 4\n  Point=5\n  Point=-6,-7\nEnd.\n",
                         TRecordVariant::UniCode);
    poly.LoadFromReader(reader);
    EXPECT_EQ(poly.fPoints.Items, (std::vector<TPoint>{{1, 2}, {3, 4}, {-6, -7}}));
    poly.fArcs.Items = {{XYPoint(0, 0), XYPoint(1, 0), XYPoint(0.5, 0.25)}};
    TJsonWriter w(false);
    poly.Dump(w);
    EXPECT_NE(w.Text().find("\"Points\":[[1, 2],[3, 4],[-6, -7]]"), std::string::npos) << w.Text();
    EXPECT_NE(w.Text().find("\"Arcs\":[{\"StartPt\":[0,0],\"EndPt\":[1,0],\"ThroughPt\":[0.5,0.25]}]"),
              std::string::npos)
        << w.Text();

    auto two = TwoPoint(soLine, {0, 0}, {-3, 4});
    TJsonWriter w2(false);
    two->Dump(w2);
    EXPECT_NE(w2.Text().find("\"P2\":[-3, 4]"), std::string::npos) << w2.Text();
}

// ---------------------------------------------------------------------------------------------
// Shapes driven by hostile values, loaded from a drawing as the viewer would.

class ShapeBadInput : public ::testing::Test {
protected:
    TSymbolFile Doc;
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};

    void SetUp() override {
        ASSERT_TRUE(Doc.LoadFromFile(KORVANE_FIXTURES "/bad-shapes.sym"));
        Canvas.fSize = {800, 600};
    }
    TSymbolObject& Object(int handle) {
        TSymbolObject* o = Doc.Symbol().fSymbolObjectList.Find(handle);
        EXPECT_NE(o, nullptr) << handle;
        return *o;
    }
    std::vector<std::string> Draw(TSymbolObject& o) {
        Surface.ClearCalls();
        o.DrawSymbol(Canvas, sdmNormal, true, nullptr);
        return Shapes(Surface);
    }
};

TEST_F(ShapeBadInput, AlmostFlatSpringVisitsOnlyWhatCanBeSeen) {
    TSymbolObject& spring = Object(1); // 2e9 units long, 1 unit tall: billions of teeth
    for (const double zoom : {1.0, 1e-6, 50.0}) {
        Canvas.fZoom = zoom;
        Canvas.fStart = {800, -Round(600 * zoom) + 300};
        const auto calls = Draw(spring);
        ASSERT_EQ(calls.size(), 1u) << zoom;
        // One zig-zag across the screen: no more points than pixels, plus the two beyond its edges.
        const auto points = std::count(calls[0].begin(), calls[0].end(), ' ') / 2;
        EXPECT_GT(points, 1) << zoom;
        EXPECT_LE(points, 800 + 20) << zoom;
    }
    EXPECT_TRUE(spring.HitTest({-1000000, 0}, 4));
    EXPECT_FALSE(spring.HitTest({-1000000, 6}, 4));
    EXPECT_TRUE(spring.HitTestRect(TRect({0, -10}, {-1000, 10})));
    const TExtentsRect e = spring.Extents(TExtentsRect());
    EXPECT_EQ(e.Left, -2000000000);
    EXPECT_EQ(e.Bottom, -1);
}

TEST_F(ShapeBadInput, ZeroLengthShapesAreSkipped) {
    Canvas.fStart = {400, -300};
    for (const int handle : {2, 3}) { // motor with stubs, blocked end
        EXPECT_EQ(Draw(Object(handle)), std::vector<std::string>{}) << handle;
        EXPECT_FALSE(Object(handle).HitTest({0, 0}, 4)) << handle;
    }
    // An arc through coincident points is the line through them, drawn and hit as such.
    EXPECT_EQ(Draw(Object(4)), std::vector<std::string>{"Polyline 400 300 400 300 500 300"});
    EXPECT_TRUE(Object(4).HitTest({0, 0}, 4));
    EXPECT_TRUE(Object(4).HitTest({100, 0}, 4));
}

TEST_F(ShapeBadInput, ExtremeCoordinatesStayFiniteAndOnTheSurface) {
    TSymbolObject& pump = Object(5); // centre at the 32-bit limit, radius over 4e9
    Canvas.ZoomExtents(Doc.Symbol().Extents(TExtentsRect()));
    Surface.ClearCalls();
    Doc.Symbol().DrawSymbol(Canvas, sdmNormal, true, nullptr);
    for (const std::string& call : Surface.Calls()) {
        std::istringstream in(call);
        std::string op, word;
        in >> op;
        if (op == "Pen" || op == "Brush") continue;
        // A dot is its place and its colour; only the place is a coordinate.
        for (int n = 0; in >> word && (op != "SetPixel" || n < 2); ++n) {
            const long long v = std::stoll(word);
            EXPECT_LE(std::llabs(v), SafeDeviceCoord) << call;
        }
    }
    const TExtentsRect e = pump.Extents(TExtentsRect());
    EXPECT_EQ(e.Right, INT32_MAX);
    EXPECT_EQ(e.Left, INT32_MIN);
    EXPECT_TRUE(pump.HitTest({INT32_MIN, 0}, 4));
}

} // namespace
