#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/ShapeHelpers.h"
#include "objects/ShapeObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The drawing calls of a log, each run of MoveTo/LineTo folded into one "Lines x y x y ..."
// entry; pens are left out, brushes kept only when asked for.
std::vector<std::string> Shapes(const TRecordingSurface& S, bool KeepBrush = false) {
    std::vector<std::string> Out;
    bool InLines = false;
    for (const std::string& Call : S.Calls()) {
        std::istringstream In(Call);
        std::string Op;
        In >> Op;
        if (Op == "Pen" || (Op == "Brush" && !KeepBrush)) continue;
        if (Op == "MoveTo") {
            Out.push_back("Lines" + Call.substr(6));
            InLines = true;
        } else if (Op == "LineTo" && InLines) {
            Out.back() += Call.substr(6);
        } else {
            Out.push_back(Call);
            InLines = false;
        }
    }
    return Out;
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
    std::vector<std::string> Draw(TSymbolObject& Obj, TSymbolDrawMode Mode = sdmNormal,
                                  bool KeepBrush = false) {
        Surface.ClearCalls();
        Obj.DrawSymbol(Canvas, Mode, false, nullptr);
        return Shapes(Surface, KeepBrush);
    }
};

struct TTwoPointCase {
    const char* Name;
    TSymbolObjectType SubType;
    TPoint P1, P2;
    bool Fill, Flip, Alternate;
    std::vector<std::string> Expected;
};

std::unique_ptr<TSymbolObject2Point> TwoPoint(TSymbolObjectType SubType, TPoint P1, TPoint P2,
                                              bool Fill = false, bool Flip = false, bool Alternate = false) {
    auto O = std::make_unique<TSymbolObject2Point>();
    O->fSymbolObjectSubType = SubType;
    O->fP1 = P1;
    O->fP2 = P2;
    O->fFill = Fill;
    O->fFlip = Flip;
    O->fAlternate = Alternate;
    return O;
}

void CheckCases(ShapeDraw& T, const std::vector<TTwoPointCase>& Cases, bool KeepBrush = false) {
    for (const TTwoPointCase& C : Cases) {
        auto O = TwoPoint(C.SubType, C.P1, C.P2, C.Fill, C.Flip, C.Alternate);
        EXPECT_EQ(T.Draw(*O, sdmNormal, KeepBrush), C.Expected) << C.Name;
    }
}

TEST_F(ShapeDraw, SimpleTwoPointShapes) {
    const std::vector<TTwoPointCase> Cases = {
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
    CheckCases(*this, Cases);
}

TEST_F(ShapeDraw, FilledShapesSetTheSolidBrushAndClearItAgain) {
    const TColor Pen = Canvas.ObjectColor(sdmNormal, symlinetypeSymbol, false, 0);
    const std::string Solid = "Brush " + ColorText(Pen) + " solid",
                      Clear = "Brush " + ColorText(Pen) + " clear";
    const std::vector<TTwoPointCase> Cases = {
        {"arrow",
         soArrow,
         {0, 0},
         {100, 0},
         true,
         false,
         false,
         {Clear, "Lines 400 300 560 300", Solid, "Polygon 560 289 560 311 600 300", Clear}},
        {"circle",
         soCircle,
         {0, 0},
         {30, 40},
         true,
         false,
         false,
         {Clear, Solid, "Ellipse 300 200 501 401", Clear}},
        {"rectangle",
         soRectangle,
         {0, 0},
         {60, -30},
         true,
         false,
         false,
         {Clear, Solid, "Polygon 400 300 520 300 520 360 400 360", Clear}},
    };
    CheckCases(*this, Cases, true);

    TSymbolObject1Point Dot;
    Dot.fSymbolObjectSubType = soDot;
    Dot.fP1 = {10, 10};
    Dot.fScale = 2;
    Dot.fFill = true;
    EXPECT_EQ(Draw(Dot, sdmNormal, true),
              (std::vector<std::string>{Clear, Solid, "Ellipse 400 260 441 301", Clear}));
    Dot.fSymbolObjectSubType = soNone;
    EXPECT_EQ(Draw(Dot), std::vector<std::string>{});
}

TEST_F(ShapeDraw, StyledEdgesArePatternedOneByOne) {
    // A dashed square of side 60: each side is one dash (12..48) between two end pieces of 4.
    auto Square = TwoPoint(soRectangle, {0, 0}, {60, 60});
    Square->fSymLineStyle = symlinestyleDashed;
    const auto Calls = Draw(*Square);
    ASSERT_EQ(Calls.size(), 12u);
    EXPECT_EQ(Calls[0], "Lines 400 300 408 300");
    EXPECT_EQ(Calls[1], "Lines 424 300 496 300");
    EXPECT_EQ(Calls[2], "Lines 512 300 520 300");
    EXPECT_EQ(Calls[11], "Lines 400 292 400 300");
    // Filled, the same square is one polygon whatever the pen.
    Square->fFill = true;
    EXPECT_EQ(Draw(*Square), std::vector<std::string>{"Polygon 400 300 520 300 520 180 400 180"});

    TSymbolObject3Point Triangle;
    Triangle.fSymbolObjectSubType = soTriangle;
    Triangle.fP2 = {100, 0};
    Triangle.fP3 = {0, 100};
    EXPECT_EQ(Draw(Triangle), std::vector<std::string>{"Polygon 400 300 600 300 400 100"});
    Triangle.fSymLineStyle = symlinestyleDashed;
    // 100, 141 and 100 units long: 2 + 3 + 2 dashes, each between its two end pieces.
    EXPECT_EQ(Draw(Triangle).size(), 4u + 5u + 4u);
}

TEST_F(ShapeDraw, Springs) {
    const std::vector<TTwoPointCase> Cases = {
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
    CheckCases(*this, Cases);
}

TEST_F(ShapeDraw, CheckValvesAndOrifices) {
    const std::vector<TTwoPointCase> Cases = {
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
    CheckCases(*this, Cases);

    TOrificeDrawData D;
    for (const auto& [Length, Gap] : {std::pair{30, 5.0}, std::pair{29, 11.6}}) {
        TSymbolObjectsDrawHelper::CreateOrificeLines(XYPoint(0, 0), XYPoint(Length, 0), D);
        EXPECT_NEAR(D.P[0].Y - D.R, Gap, 1e-9) << Length; // the arc's nearest point to the chord
        EXPECT_NEAR(XYDistance(D.P[0], D.P[1]), D.R, 1e-9) << Length;
    }
    // The restrictor's chord: 2 * L/3 across the middle of the diameter, perpendicular to it.
    TXYPoint A, B;
    TSymbolObjectsDrawHelper::PerpendicularChord({0, 0}, {90, 0}, 0, A, B);
    EXPECT_NEAR(A.X, 45, 1e-9);
    EXPECT_NEAR(A.Y, 30, 1e-9);
    EXPECT_NEAR(B.Y, -30, 1e-9);
}

TEST_F(ShapeDraw, RotatingMachines) {
    const std::vector<TTwoPointCase> Cases = {
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
    CheckCases(*this, Cases);
}

TEST_F(ShapeDraw, DragModeAddsConstructionLines) {
    auto Motor = TwoPoint(soMotor1, {0, 0}, {100, 0});
    EXPECT_EQ(Draw(*Motor, sdmDrag),
              (std::vector<std::string>{"Lines 400 300 600 300", "Ellipse 200 100 601 501",
                                        "Lines 594 348 500 300 594 252"}));
    auto Circle = TwoPoint(soCircle, {0, 0}, {30, 40});
    EXPECT_EQ(Draw(*Circle, sdmDrag),
              (std::vector<std::string>{"Ellipse 300 200 501 401", "Lines 400 300 460 220"}));

    TSymbolObject3Point Arc;
    Arc.fSymbolObjectSubType = soArc;
    Arc.fP2 = {100, 0};
    Arc.fP3 = {50, 50};
    EXPECT_EQ(Draw(Arc, sdmDrag),
              (std::vector<std::string>{"Arc 400 200 601 401 600 300 400 300", "Lines 492 292 509 309",
                                        "Lines 508 292 491 309"}));
    Canvas.fMoveMode = true;
    EXPECT_EQ(Draw(Arc, sdmDrag).size(), 1u);
}

TEST_F(ShapeDraw, ThreePointArcs) {
    struct TCase {
        TPoint P1, P2, P3;
        std::vector<std::string> Expected;
    };
    const TCase Cases[] = {
        {{0, 0}, {100, 0}, {50, 50}, {"Arc 400 200 601 401 600 300 400 300"}},
        {{100, 0}, {0, 0}, {50, 50}, {"Arc 400 200 601 401 600 300 400 300"}},
        {{0, 0}, {100, 0}, {50, -50}, {"Arc 400 200 601 401 400 300 600 300"}},
        {{0, 0}, {100, 0}, {50, 5}, {"Arc -5 290 1006 1301 600 300 400 300"}},
        // Within 5 degrees of a straight line, whichever side of 0 degrees the directions lie.
        {{0, 0}, {100, 0}, {50, 1}, {"Polyline 400 300 500 298 600 300"}},
        {{100, 0}, {0, 0}, {50, 1}, {"Polyline 600 300 500 298 400 300"}},
        {{0, 0}, {100, 0}, {50, 0}, {"Polyline 400 300 500 300 600 300"}},
        // Coincident points describe no arc.
        {{0, 0}, {100, 0}, {0, 0}, {}},
        {{0, 0}, {0, 0}, {50, 50}, {}},
    };
    for (const TCase& C : Cases) {
        TSymbolObject3Point Arc;
        Arc.fSymbolObjectSubType = soArc;
        Arc.fP1 = C.P1;
        Arc.fP2 = C.P2;
        Arc.fP3 = C.P3;
        EXPECT_EQ(Draw(Arc), C.Expected) << C.P1.X << "," << C.P2.X << "," << C.P3.Y;
    }
}

TEST_F(ShapeDraw, PolyLinesAndClouds) {
    TSymbolObjectPolyLine Line;
    Line.fPoints.Items = {{0, 0}, {50, 0}, {50, 50}};
    EXPECT_EQ(Draw(Line), std::vector<std::string>{"Lines 400 300 500 300 500 200"});
    EXPECT_FALSE(Line.Closed());
    Line.ClosePoints();
    EXPECT_TRUE(Line.Closed());
    EXPECT_EQ(Line.fPoints.Items.back(), TPoint(0, 0));
    Line.ClosePoints();
    EXPECT_EQ(Line.fPoints.Count(), 4);
    Line.fPoints.Items = {{0, 0}, {0, 0}, {5, 5}, {5, 5}, {0, 0}};
    Line.Purge();
    EXPECT_EQ(Line.fPoints.Items, (std::vector<TPoint>{{0, 0}, {5, 5}, {0, 0}}));

    TSymbolObjectPolyLine Cloud;
    Cloud.fSymbolObjectSubType = soRevisionCloud;
    Cloud.fPoints.Items = {{0, 0}};
    Cloud.UpdateRevisionCloud();
    EXPECT_TRUE(Cloud.fArcs.Items.empty());
    EXPECT_EQ(Draw(Cloud), std::vector<std::string>{});
    // Stored arcs replace the straight outline.
    Cloud.fPoints.Items = {{0, 0}, {100, 0}};
    EXPECT_EQ(Draw(Cloud), std::vector<std::string>{"Lines 400 300 600 300"});
    Cloud.fArcs.Items = {{XYPoint(0, 0), XYPoint(100, 0), XYPoint(50, 50)}};
    EXPECT_EQ(Draw(Cloud), std::vector<std::string>{"Arc 400 200 601 401 600 300 400 300"});
}

TEST_F(ShapeDraw, ObjectPenIsRestoredAfterChildren) {
    auto Line = TwoPoint(soLine, {0, 0}, {50, 0});
    Line->fColorIsOverruled = true;
    Line->fOverruledColor = RGBColor(1, 2, 3);
    TSymbolObject* Child = Line->fSymbolObjectList.Add(som2Point);
    Child->fSymbolObjectSubType = soLine;
    Child->fColorIsOverruled = true;
    Child->fOverruledColor = RGBColor(9, 9, 9);
    Surface.ClearCalls();
    Line->DrawSymbol(Canvas, sdmNormal, false, nullptr);
    EXPECT_EQ(Surface.Pen().Color, RGBColor(1, 2, 3));
}

// ---------------------------------------------------------------------------------------------

// Pick distance of 4 pixels at zoom 1.
constexpr double Pick = 4;

std::shared_ptr<TSymbolObject> Scaled(std::unique_ptr<TSymbolObject2Point> O, double Scale) {
    O->fScale = Scale;
    return O;
}

TEST(ShapeHitTest, OnAndJustOutsideEachKindOfGeometry) {
    struct TCase {
        const char* Name;
        std::shared_ptr<TSymbolObject> Obj;
        TPoint On, Off;
    };
    auto Arc = std::make_shared<TSymbolObject3Point>();
    Arc->fSymbolObjectSubType = soArc;
    Arc->fP2 = {100, 0};
    Arc->fP3 = {50, 50};
    auto Poly = std::make_shared<TSymbolObjectPolyLine>();
    Poly->fPoints.Items = {{0, 0}, {100, 0}, {100, 100}};
    auto Dot = std::make_shared<TSymbolObject1Point>();
    Dot->fSymbolObjectSubType = soDot;
    const std::vector<TCase> Cases = {
        {"segment", TwoPoint(soLine, {0, 0}, {100, 0}), {50, 4}, {50, 5}},
        {"segment end", TwoPoint(soLine, {0, 0}, {100, 0}), {103, 0}, {105, 0}},
        {"circle outline", TwoPoint(soCircle, {0, 0}, {100, 0}), {0, 104}, {0, 105}},
        {"inside an open circle", TwoPoint(soCircle, {0, 0}, {100, 0}), {0, 96}, {0, 95}},
        {"inside a filled circle", TwoPoint(soCircle, {0, 0}, {100, 0}, true), {0, 0}, {0, 105}},
        {"arc", Arc, {50, 54}, {50, 55}},
        {"other half of the arc's circle", Arc, {0, 3}, {50, -50}},
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
        {"dot", Dot, {9, 0}, {10, 0}},
        {"poly-line", Poly, {104, 50}, {105, 50}},
    };
    for (const TCase& C : Cases) {
        EXPECT_TRUE(C.Obj->HitTest(C.On, Pick)) << C.Name;
        EXPECT_FALSE(C.Obj->HitTest(C.Off, Pick)) << C.Name;
    }
    // A shape that draws nothing cannot be clicked.
    EXPECT_FALSE(TwoPoint(soSpring, {0, 0}, {40, 0})->HitTest({20, 0}, Pick));
}

TEST(ShapeHitTest, WindowAndCrossingRectangles) {
    const auto Window = [](int L, int B, int R, int T) { return TRect({L, B}, {R, T}); };
    const auto Crossing = [](int L, int B, int R, int T) { return TRect({R, B}, {L, T}); };
    auto Circle = TwoPoint(soCircle, {0, 0}, {50, 0});
    EXPECT_TRUE(Circle->HitTestRect(Window(-50, -50, 50, 50)));
    EXPECT_FALSE(Circle->HitTestRect(Window(-49, -50, 50, 50)));
    EXPECT_TRUE(Circle->HitTestRect(Crossing(45, -5, 60, 5)));
    EXPECT_FALSE(Circle->HitTestRect(Crossing(-10, -10, 10, 10))); // inside the outline
    EXPECT_FALSE(Circle->HitTestRect(Crossing(40, 40, 60, 60)));   // in the corner outside it
    Circle->fFill = true;
    EXPECT_TRUE(Circle->HitTestRect(Crossing(-10, -10, 10, 10)));

    TSymbolObject3Point Arc;
    Arc.fSymbolObjectSubType = soArc;
    Arc.fP2 = {100, 0};
    Arc.fP3 = {50, 50};
    EXPECT_TRUE(Arc.HitTestRect(Crossing(40, 45, 60, 60)));
    EXPECT_FALSE(Arc.HitTestRect(Crossing(40, -60, 60, -45)));
    EXPECT_TRUE(Arc.HitTestRect(Window(0, 0, 100, 50)));
    EXPECT_FALSE(Arc.HitTestRect(Window(0, 0, 100, 49)));

    auto Shut = TwoPoint(soShutOff, {0, 0}, {100, 40});
    EXPECT_FALSE(Shut->HitTestRect(Crossing(10, 18, 12, 22))); // in an open triangle
    Shut->fFill = true;
    EXPECT_TRUE(Shut->HitTestRect(Crossing(10, 18, 12, 22)));
}

TEST(ShapeExtents, CoverWhatIsDrawn) {
    const auto Of = [](const TSymbolObject& O) {
        const TExtentsRect E = O.Extents(TExtentsRect());
        return std::vector<int>{E.Left, E.Bottom, E.Right, E.Top};
    };
    EXPECT_EQ(Of(*TwoPoint(soCircle, {10, 10}, {40, 50})), (std::vector<int>{-40, -40, 60, 60}));
    EXPECT_EQ(Of(*TwoPoint(soSpring, {0, 0}, {40, 20})), (std::vector<int>{0, 0, 40, 20}));
    EXPECT_EQ(Of(*TwoPoint(soArrow, {0, 0}, {100, 0})), (std::vector<int>{0, -5, 100, 5}));
    // The stub reaches 1.5 radii from the centre, e = 25 to either side of its axis.
    EXPECT_EQ(Of(*TwoPoint(soEMotor1, {0, 0}, {100, 0})), (std::vector<int>{-100, -100, 100, 150}));
    EXPECT_EQ(Of(*TwoPoint(soOrifice2, {0, 0}, {40, 0})), (std::vector<int>{0, -30, 40, 30}));
    // Without a shape of its own an object stands at its points.
    EXPECT_EQ(Of(*TwoPoint(soSolenoid, {5, 6}, {-7, 8})), (std::vector<int>{-7, 6, 5, 8}));
    EXPECT_EQ(Of(*TwoPoint(soMotor1, {5, 6}, {5, 6})), (std::vector<int>{5, 6, 5, 6}));

    TSymbolObject3Point Arc;
    Arc.fSymbolObjectSubType = soArc;
    Arc.fP2 = {100, 0};
    Arc.fP3 = {50, 50};
    EXPECT_EQ(Of(Arc), (std::vector<int>{0, 0, 100, 50}));
    Arc.fTemporaryHidden = temphiddenAll;
    EXPECT_FALSE(Arc.Extents(TExtentsRect()).Defined);
}

// ---------------------------------------------------------------------------------------------

TEST(ShapeRecords, KeysDefaultsAndDump) {
    for (const TRecordVariant Variant : {TRecordVariant::UniCode, TRecordVariant::Legacy}) {
        TSymbolObject3Point Tri;
        TRecordReader Reader("  SymbolType=Triangle\r\n  Point2X=30\r\n  Point2Y=x\r\n  Point3X=-5\r\n"
                             "  Point3Y=7\r\n  Point2Y=12\r\n  Point3X=oops\r\nEnd.\r\nrest",
                             Variant);
        Tri.LoadFromReader(Reader);
        EXPECT_EQ(Tri.fP2, TPoint(30, 12));
        EXPECT_EQ(Tri.fP3, TPoint(-5, 7)); // an unreadable number keeps the value before it
        EXPECT_EQ(Tri.fSymbolObjectSubType, soTriangle);
        Tri.SetDefaults();
        EXPECT_EQ(Tri.fP2, TPoint());
        EXPECT_EQ(Tri.fP3, TPoint());
    }

    TSymbolObjectPolyLine Poly;
    TRecordReader Reader("  Point=1,2\n  Point=bad\n  Point=3, 4\n  Point=5\n  Point=-6,-7\nEnd.\n",
                         TRecordVariant::UniCode);
    Poly.LoadFromReader(Reader);
    EXPECT_EQ(Poly.fPoints.Items, (std::vector<TPoint>{{1, 2}, {3, 4}, {-6, -7}}));
    Poly.fArcs.Items = {{XYPoint(0, 0), XYPoint(1, 0), XYPoint(0.5, 0.25)}};
    TJsonWriter W(false);
    Poly.Dump(W);
    EXPECT_NE(W.Text().find("\"Points\":[[1, 2],[3, 4],[-6, -7]]"), std::string::npos) << W.Text();
    EXPECT_NE(W.Text().find("\"Arcs\":[{\"StartPt\":[0,0],\"EndPt\":[1,0],\"ThroughPt\":[0.5,0.25]}]"),
              std::string::npos)
        << W.Text();

    auto Two = TwoPoint(soLine, {0, 0}, {-3, 4});
    TJsonWriter W2(false);
    Two->Dump(W2);
    EXPECT_NE(W2.Text().find("\"P2\":[-3, 4]"), std::string::npos) << W2.Text();
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
    TSymbolObject& Object(int Handle) {
        TSymbolObject* O = Doc.Symbol().fSymbolObjectList.Find(Handle);
        EXPECT_NE(O, nullptr) << Handle;
        return *O;
    }
    std::vector<std::string> Draw(TSymbolObject& O) {
        Surface.ClearCalls();
        O.DrawSymbol(Canvas, sdmNormal, true, nullptr);
        return Shapes(Surface);
    }
};

TEST_F(ShapeBadInput, AlmostFlatSpringVisitsOnlyWhatCanBeSeen) {
    TSymbolObject& Spring = Object(1); // 2e9 units long, 1 unit tall: billions of teeth
    for (const double Zoom : {1.0, 1e-6, 50.0}) {
        Canvas.fZoom = Zoom;
        Canvas.fStart = {800, -Round(600 * Zoom) + 300};
        const auto Calls = Draw(Spring);
        ASSERT_EQ(Calls.size(), 1u) << Zoom;
        // One zig-zag across the screen: no more points than pixels, plus the two beyond its edges.
        const auto Points = std::count(Calls[0].begin(), Calls[0].end(), ' ') / 2;
        EXPECT_GT(Points, 1) << Zoom;
        EXPECT_LE(Points, 800 + 20) << Zoom;
    }
    EXPECT_TRUE(Spring.HitTest({-1000000, 0}, 4));
    EXPECT_FALSE(Spring.HitTest({-1000000, 6}, 4));
    EXPECT_TRUE(Spring.HitTestRect(TRect({0, -10}, {-1000, 10})));
    const TExtentsRect E = Spring.Extents(TExtentsRect());
    EXPECT_EQ(E.Left, -2000000000);
    EXPECT_EQ(E.Bottom, -1);
}

TEST_F(ShapeBadInput, ZeroLengthShapesAreSkipped) {
    Canvas.fStart = {400, -300};
    for (const int Handle : {2, 3, 4}) { // motor with stubs, blocked end, arc through coincident points
        EXPECT_EQ(Draw(Object(Handle)), std::vector<std::string>{}) << Handle;
        EXPECT_FALSE(Object(Handle).HitTest({0, 0}, 4)) << Handle;
    }
}

TEST_F(ShapeBadInput, ExtremeCoordinatesStayFiniteAndOnTheSurface) {
    TSymbolObject& Pump = Object(5); // centre at the 32-bit limit, radius over 4e9
    Canvas.ZoomExtents(Doc.Symbol().Extents(TExtentsRect()));
    Surface.ClearCalls();
    Doc.Symbol().DrawSymbol(Canvas, sdmNormal, true, nullptr);
    for (const std::string& Call : Surface.Calls()) {
        std::istringstream In(Call);
        std::string Op, Word;
        In >> Op;
        if (Op == "Pen" || Op == "Brush") continue;
        while (In >> Word) {
            const long long V = std::stoll(Word);
            EXPECT_LE(std::llabs(V), SafeDeviceCoord) << Call;
        }
    }
    const TExtentsRect E = Pump.Extents(TExtentsRect());
    EXPECT_EQ(E.Right, INT32_MAX);
    EXPECT_EQ(E.Left, INT32_MIN);
    EXPECT_TRUE(Pump.HitTest({INT32_MIN, 0}, 4));
}

} // namespace
