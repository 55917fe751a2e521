#include "support/Records.h"

#include "model/BOM.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/ElementObjects.h"
#include "objects/ShapeHelpers.h"
#include "objects/TextObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include "support/DrawCalls.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The drawing calls with their lines folded; pens and fonts left out.
std::vector<std::string> Shapes(const TRecordingSurface& s, bool keepBrush = false) {
    return FoldedCalls(s, keepBrush, false);
}

std::vector<std::string> Last(const std::vector<std::string>& calls, size_t n) {
    return {calls.end() - long(std::min(n, calls.size())), calls.end()};
}

std::vector<std::string> Without(std::vector<std::string> calls, const std::string& prefix) {
    std::erase_if(calls, [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return calls;
}

template <class T> std::unique_ptr<T> Element(TPoint p1, TPoint p2) {
    auto o = std::make_unique<T>();
    o->fP1 = p1;
    o->fP2 = p2;
    return o;
}

// Drawing (0, 0) lands on device (400, 300); one drawing unit is two pixels, Y up.
class ElementDraw : public ::testing::Test {
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
        obj.Draw(Canvas, mode, false, nullptr);
        return Shapes(Surface, keepBrush);
    }
    std::vector<std::string> Calls(TSymbolObject& obj, const std::string& prefix,
                                   TSymbolDrawMode mode = sdmNormal) {
        Surface.ClearCalls();
        obj.Draw(Canvas, mode, false, nullptr);
        return Surface.CallsStartingWith(prefix);
    }
};

// ---------------------------------------------------------------------------------------------
// Solenoids

TEST(ElementOrientation, FollowsTheStoredCorners) {
    EXPECT_TRUE(ElementIsHorz({0, 0}, {100, 40}));
    EXPECT_FALSE(ElementIsHorz({0, 40}, {100, 0}));
    EXPECT_TRUE(ElementIsHorz({100, 40}, {0, 0}));
    EXPECT_FALSE(ElementIsHorz({100, 0}, {0, 40}));
    // Along an axis the angle is one of the closed ends of the horizontal ranges.
    EXPECT_TRUE(ElementIsHorz({0, 0}, {0, 40}));
    EXPECT_TRUE(ElementIsHorz({0, 0}, {-40, 0}));
    EXPECT_TRUE(ElementIsHorz({0, 0}, {0, 0}));
}

TEST_F(ElementDraw, SolenoidBoxStrokeAndButtons) {
    struct TCase {
        const char* Name;
        TPoint P1, P2;
        bool Flip;
        TSolenoidOptions Options;
        std::vector<std::string> Expected;
    };
    const TSolenoidOptions buttons = SolenoidOptions({solSolenoid, solButtonTop, solButtonSide});
    const std::vector<TCase> cases = {
        {"horizontal",
         {0, 0},
         {100, 40},
         false,
         SolenoidOptions({solSolenoid, solPilot}),
         {"Polygon 400 300 600 300 600 220 400 220", "Lines 520 300 480 220"}},
        {"vertical",
         {0, 40},
         {100, 0},
         false,
         SolenoidOptions({solSolenoid}),
         {"Polygon 400 220 600 220 600 300 400 300", "Lines 600 210 400 310"}},
        {"horizontal, flipped, with buttons",
         {0, 0},
         {40, 20},
         true,
         buttons,
         {"Polygon 400 300 480 300 480 260 400 260", "Lines 430 300 450 260",
          // top button to the right of the middle
          "Lines 440 250 480 250", "Lines 440 230 480 230", "Lines 440 255 440 225", "Lines 480 260 480 220",
          // side button left of the box
          "Lines 400 290 360 290", "Lines 400 270 360 270", "Lines 360 295 360 265"}},
        {"vertical with buttons",
         {0, 40},
         {20, 0},
         false,
         buttons,
         {"Polygon 400 220 440 220 440 300 400 300", "Lines 440 250 400 270", "Lines 450 220 450 260",
          "Lines 470 220 470 260", "Lines 445 260 475 260", "Lines 440 220 480 220", "Lines 410 300 410 340",
          "Lines 430 300 430 340", "Lines 405 340 435 340"}},
    };
    for (const TCase& c : cases) {
        auto s = Element<TSymbolObjectSolenoid>(c.P1, c.P2);
        s->fFlip = c.Flip;
        s->fOptions = c.Options;
        EXPECT_EQ(Draw(*s), c.Expected) << c.Name;
    }
}

TEST_F(ElementDraw, ProportionalSolenoidDrawsTheArrowOfTheSolenoid) {
    struct TCase {
        TPoint P1, P2;
        bool Flip;
        TPoint From, Tip;
    };
    const TCase cases[] = {
        {{0, 0}, {100, 40}, false, {35, -10}, {80, 80}},
        {{0, 0}, {100, 40}, true, {65, -10}, {20, 80}},
        // 57.5 rounds to the even 58
        {{0, 40}, {100, 0}, false, {-25, 58}, {200, -55}},
        {{0, 40}, {100, 0}, true, {-25, -18}, {200, 95}},
    };
    for (const TCase& c : cases) {
        auto s = Element<TSymbolObjectSolenoid>(c.P1, c.P2);
        s->fFlip = c.Flip;
        s->fFill = true;
        s->fScale = 1.5;
        s->fOptions = SolenoidOptions({solSolenoid, solProportional});
        TPoint from, tip;
        s->ProportionalArrow(from, tip);
        EXPECT_EQ(from, c.From);
        EXPECT_EQ(tip, c.Tip);

        TSymbolObject2Point arrow;
        arrow.fSymbolObjectSubType = soArrow;
        arrow.fP1 = c.From;
        arrow.fP2 = c.Tip;
        arrow.fFill = true;
        arrow.fScale = 1.5;
        arrow.fSymLineType = symlinetypeSolenoid;
        const auto expected = Draw(arrow, sdmNormal, true);
        const auto drawn = Draw(*s, sdmNormal, true);
        ASSERT_GT(drawn.size(), expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), drawn.end() - long(expected.size())))
            << c.From.X << "," << c.From.Y;
    }
    // The arrow counts for clicks and extents too.
    auto s = Element<TSymbolObjectSolenoid>({0, 0}, {100, 40});
    s->fOptions.set(solProportional);
    EXPECT_TRUE(s->HitTest({80, 80}, 1));
    EXPECT_EQ(s->Extents(TExtentsRect()).Top, 80);
    EXPECT_EQ(s->Extents(TExtentsRect()).Bottom, -10);
}

TEST_F(ElementDraw, SolenoidBoxIsPatternedWithAPenThatIsNotSolid) {
    auto s = Element<TSymbolObjectSolenoid>({0, 0}, {100, 40});
    s->fSymLineStyle = symlinestyleDashed;
    const auto calls = Draw(*s);
    // Four sides of which the long ones are dashed, then the stroke as one platform line.
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.starts_with("Polygon"); }),
              0);
    ASSERT_GT(calls.size(), 5u);
    EXPECT_EQ(calls[calls.size() - 2], "Lines 400 220 400 300"); // the short left side, solid
    EXPECT_EQ(calls.back(), "Lines 520 300 480 220");
}

// ---------------------------------------------------------------------------------------------
// Orifices

TEST_F(ElementDraw, OrificeCircleByOptionAndMode) {
    const std::string circle = "Ellipse 400 240 521 361";
    auto o = Element<TSymbolObjectOrifice>({0, 0}, {60, 0});
    Canvas.fShowTextBorders = false;
    EXPECT_EQ(Draw(*o), std::vector<std::string>{});
    EXPECT_EQ(Draw(*o, sdmHighlight), std::vector<std::string>{circle});
    EXPECT_EQ(Draw(*o, sdmDrag), std::vector<std::string>{circle});

    // Text borders shown: a construction circle in the helper colour, then the object pen again.
    Canvas.fShowTextBorders = true;
    Surface.ClearCalls();
    o->Draw(Canvas, sdmNormal, false, nullptr);
    const auto calls = Surface.Calls();
    const auto at = std::find(calls.begin(), calls.end(), circle);
    ASSERT_NE(at, calls.end());
    EXPECT_EQ((at - 1)->substr(0, 11), "Pen #808080");
    ASSERT_NE(at + 1, calls.end());
    EXPECT_EQ((at + 1)->substr(0, 11), "Pen #FF6600");

    o->fOptions = OrificeOptions({ooReplaceable});
    Canvas.fShowTextBorders = false;
    EXPECT_EQ(Draw(*o), std::vector<std::string>{circle});
    const std::vector<std::string> filled = {"Brush #FF6600 solid", circle, "Brush #FF6600 clear"};
    o->fOptions = OrificeOptions({ooFilled});
    EXPECT_EQ(Without(Draw(*o, sdmNormal, true), "Brush #FF6600 clear"),
              (std::vector<std::string>{filled[0], circle}));
    EXPECT_EQ(Last(Draw(*o, sdmNormal, true), 3), filled);
    // Dragging never fills.
    EXPECT_EQ(Without(Draw(*o, sdmDrag, true), "Brush #00FFFF clear"), std::vector<std::string>{circle});
    // A filled object fills the construction circle too.
    o->fOptions.reset();
    o->fFill = true;
    Canvas.fShowTextBorders = true;
    EXPECT_EQ(Last(Draw(*o, sdmNormal, true), 3), filled);
    Canvas.fShowTextBorders = false;
    EXPECT_EQ(Without(Draw(*o, sdmNormal, true), "Brush"), std::vector<std::string>{});
}

TEST_F(ElementDraw, OrificeMarks) {
    Canvas.fShowTextBorders = false;
    auto o = Element<TSymbolObjectOrifice>({0, 0}, {60, 0});
    o->fOptions = OrificeOptions({ooLine});
    EXPECT_EQ(Draw(*o), std::vector<std::string>{"Lines 400 300 520 300"});
    // The cross of a closed orifice: the diagonals of the square inscribed in the circle.
    o->fOptions = OrificeOptions({ooClosed});
    EXPECT_EQ(Draw(*o), (std::vector<std::string>{"Lines 502 342 418 258", "Lines 502 258 418 342"}));

    // Restrictor and viscosity-independent marks are those of the catalogue shapes on the chord
    // across the middle: 2L/3 long for the restrictor, L/2 for the other.
    const auto shapeOnChord = [&](TSymbolObjectType subType, TPoint a, TPoint b) {
        TSymbolObject2Point shape;
        shape.fSymbolObjectSubType = subType;
        shape.fP1 = a;
        shape.fP2 = b;
        return Draw(shape);
    };
    o->fOptions = OrificeOptions({ooValue1});
    std::vector<std::string> expected = {"Lines 400 300 520 300"};
    for (const auto& s : shapeOnChord(soOrifice1, {30, 20}, {30, -20}))
        expected.push_back(s);
    EXPECT_EQ(Draw(*o), expected);
    EXPECT_EQ(o->OrificeType(), ooValue1);

    o->fOptions = OrificeOptions({ooValue2, ooReplaceable});
    expected = {"Lines 400 300 520 300", "Ellipse 400 240 521 361"};
    for (const auto& s : shapeOnChord(soOrifice2, {30, 15}, {30, -15}))
        expected.push_back(s);
    EXPECT_EQ(Draw(*o), expected);
    EXPECT_EQ(o->OrificeType(), ooValue2);
    EXPECT_TRUE(o->IsReplaceable());

    o->fOptions = OrificeOptions({ooReplaceable, ooLine, ooClosed});
    EXPECT_EQ(o->OrificeType(), ooClosed);
    o->fOptions.reset();
    EXPECT_EQ(o->OrificeType(), ooNone);
    EXPECT_DOUBLE_EQ(o->Radius(), 30);
    EXPECT_EQ(o->CenterPoint(), XYPoint(30, 0));
}

// ---------------------------------------------------------------------------------------------
// Lightning mark

TEST_F(ElementDraw, ElectricMark) {
    TSymbolObjectElectric e;
    const std::string zigzag = "Lines 400 260 380 300 420 300 410 320 415 323 400 340 405 317 410 320";
    EXPECT_EQ(Draw(e), std::vector<std::string>{zigzag});
    e.fFill = true;
    EXPECT_EQ(Last(Draw(e, sdmNormal, true), 4),
              (std::vector<std::string>{zigzag, "Brush #FF6600 solid", "Polygon 415 323 400 340 405 317",
                                        "Brush #FF6600 clear"}));
    // Hidden in output: pen and fill in the helper colour, on the screen only.
    e.fHideInOutput = true;
    EXPECT_EQ(Last(Draw(e, sdmNormal, true), 3)[0], "Brush #808080 solid");
    EXPECT_EQ(Calls(e, "Pen").back().substr(0, 11), "Pen #808080");
    EXPECT_EQ(Calls(e, "Pen", sdmHighlight).back().substr(0, 11), "Pen #0000FF");
    EXPECT_EQ(Last(Draw(e, sdmHighlight, true), 3)[0], "Brush #0000FF solid");

    e.fP1 = {5, 5};
    const TExtentsRect x = e.Extents(TExtentsRect());
    EXPECT_EQ((std::vector<int>{x.Left, x.Bottom, x.Right, x.Top}), (std::vector<int>{-5, -15, 15, 25}));
    EXPECT_TRUE(e.HitTest({5, 25}, 1));
    EXPECT_TRUE(e.HitTest({8, -8}, 1)); // inside the filled head
    e.fFill = false;
    EXPECT_FALSE(e.HitTest({8, -8}, 1));
    EXPECT_TRUE(e.HitTest({5, 5}, 1)); // the bar of the zig-zag runs through the point
    EXPECT_FALSE(e.HitTest({5, 12}, 1));
}

// ---------------------------------------------------------------------------------------------
// Signal converters

TEST(SignalConverter, MarkSizeAndCentres) {
    auto c = Element<TSymbolObjectSignalConverter>({0, 0}, {240, 80});
    EXPECT_DOUBLE_EQ(c->GetM(), 20);
    c->fP2 = {240, 81};
    EXPECT_DOUBLE_EQ(c->GetM(), 27);
    c->fP2 = {-90, 300};
    EXPECT_DOUBLE_EQ(c->GetM(), 30);

    struct TCase {
        TPoint P1, P2;
        bool Flip;
        TXYPoint Output, Input;
    };
    const TCase cases[] = {
        {{0, 0}, {240, 80}, false, {78, 60}, {162, 20}},
        {{0, 0}, {240, 80}, true, {162, 60}, {78, 20}},
        // Square vertical boxes, where either way of reading the offsets agrees.
        {{0, 80}, {80, 0}, false, {60, 54}, {20, 26}},
        {{0, 80}, {80, 0}, true, {60, 26}, {20, 54}},
    };
    for (const TCase& k : cases) {
        c->fP1 = k.P1;
        c->fP2 = k.P2;
        c->fFlip = k.Flip;
        EXPECT_EQ(c->OutputCentre(), k.Output) << k.P1.Y << k.Flip;
        EXPECT_EQ(c->InputCentre(), k.Input) << k.P1.Y << k.Flip;
    }
}

// The marks sit in opposite halves of the box, whatever its proportions and orientation.
TEST(SignalConverter, MarksStayInTheirHalvesOfTheBox) {
    const TPoint corners[][2] = {{{0, 0}, {240, 80}}, {{240, 80}, {0, 0}}, {{0, 240}, {80, 0}},
                                 {{80, 0}, {0, 240}}, {{0, 0}, {80, 240}}, {{0, 80}, {240, 0}},
                                 {{240, 0}, {0, 80}}, {{80, 240}, {0, 0}}};
    for (const auto& pc : corners)
        for (const bool flip : {false, true}) {
            auto c = Element<TSymbolObjectSignalConverter>(pc[0], pc[1]);
            c->fFlip = flip;
            const TXYPoint a = flip ? XYPoint(pc[0].X, pc[1].Y) : PointToXYPoint(pc[0]);
            const TXYPoint b = flip ? XYPoint(pc[1].X, pc[0].Y) : PointToXYPoint(pc[1]);
            const auto side = [&](const TXYPoint& p) {
                return (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
            };
            for (const TXYPoint& p : {c->OutputCentre(), c->InputCentre()}) {
                EXPECT_GT(p.X, std::min(pc[0].X, pc[1].X)) << pc[0].X << " " << pc[0].Y << " " << flip;
                EXPECT_LT(p.X, std::max(pc[0].X, pc[1].X)) << pc[0].X << " " << pc[0].Y << " " << flip;
                EXPECT_GT(p.Y, std::min(pc[0].Y, pc[1].Y)) << pc[0].X << " " << pc[0].Y << " " << flip;
                EXPECT_LT(p.Y, std::max(pc[0].Y, pc[1].Y)) << pc[0].X << " " << pc[0].Y << " " << flip;
            }
            EXPECT_LT(side(c->OutputCentre()) * side(c->InputCentre()), 0)
                << pc[0].X << " " << pc[0].Y << " " << flip;
        }
}

TEST_F(ElementDraw, SignalConverterOutputMarks) {
    // Horizontal 240 x 80: m = 20, output mark about (78, 60), device (556, 180).
    Canvas.fShowTextBorders = false;
    auto c = Element<TSymbolObjectSignalConverter>({0, 0}, {240, 80});
    const std::vector<std::string> frame = {"Polygon 400 300 880 300 880 140 400 140",
                                            "Lines 400 300 880 140"};
    const auto marks = [&](TSignalConverterOutput output) {
        c->fOutputSignal = output;
        auto calls = Without(Draw(*c), "TextOut");
        EXPECT_TRUE(std::equal(frame.begin(), frame.end(), calls.begin()));
        calls.erase(calls.begin(), calls.begin() + 2);
        return calls;
    };
    EXPECT_EQ(marks(svOutputElecDigital),
              (std::vector<std::string>{"Lines 546 200 546 160", "Lines 566 200 566 160",
                                        "Lines 576 170 536 170", "Lines 576 190 536 190"}));
    EXPECT_EQ(marks(svOutputElecAnalogue),
              (std::vector<std::string>{"Lines 536 180 536 200", "Lines 576 200 576 180",
                                        "Arc 536 160 577 201 576 180 536 180"}));
    // u = 12.5, v = 3.5
    EXPECT_EQ(marks(svOutputElecSwitch),
              (std::vector<std::string>{"Lines 531 180 545 180", "Lines 545 180 581 166",
                                        "Lines 588 180 574 180"}));
    EXPECT_EQ(marks(svOutputNone), std::vector<std::string>{});

    c->fFlip = true;
    c->fOutputSignal = svOutputElecDigital;
    EXPECT_EQ(Draw(*c)[1], "Lines 400 140 880 300");

    // Vertical 80 x 80 square: output at (60, 54), device (520, 192).
    c = Element<TSymbolObjectSignalConverter>({0, 80}, {80, 0});
    c->fOutputSignal = svOutputElecAnalogue;
    auto calls = Without(Draw(*c), "TextOut");
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 2, calls.end()),
              (std::vector<std::string>{"Lines 520 212 540 212", "Lines 520 172 540 172",
                                        "Arc 500 172 541 213 520 172 520 212"}));
    c->fOutputSignal = svOutputElecSwitch;
    calls = Without(Draw(*c), "TextOut");
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 2, calls.end()),
              (std::vector<std::string>{"Lines 520 217 520 203", "Lines 520 203 506 167",
                                        "Lines 520 160 520 174"}));
}

TEST_F(ElementDraw, SignalConverterTextMarks) {
    auto c = Element<TSymbolObjectSignalConverter>({0, 0}, {240, 80});
    c->fOutputSignal = svOutputNone;
    c->fInputSignal = svInputPressure;
    Canvas.fShowTextBorders = false;
    auto texts = Calls(*c, "TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].substr(texts[0].rfind(' ')), " **");
    EXPECT_EQ(texts[1].substr(texts[1].rfind(' ')), " P");
    // Heights Round(m) = 20 and Round(0.75 m) = 15 units, at zoom 2 in points, horizontal; the
    // text is in the line type's colour.
    auto fonts = Calls(*c, "Font");
    EXPECT_NE(std::find(fonts.begin(), fonts.end(), "Font Arial 53 0 - #FF6600"), fonts.end());
    EXPECT_NE(std::find(fonts.begin(), fonts.end(), "Font Arial 40 0 - #FF6600"), fonts.end());
    // Centred on the mark centres: "**" is 2 x 0.6 x 53 px wide.
    EXPECT_EQ(texts[0], "TextOut 524 154 **");

    c->fColorIsOverruled = true;
    c->fOverruledColor = RGBColor(1, 2, 3);
    c->fInputSignal = svInputNone;
    fonts = Calls(*c, "Font");
    EXPECT_NE(std::find(fonts.begin(), fonts.end(), "Font Arial 53 0 - #010203"), fonts.end());
    EXPECT_EQ(Calls(*c, "TextOut")[1].substr(Calls(*c, "TextOut")[1].rfind(' ')), " *");

    // Vertical converters write upwards.
    c = Element<TSymbolObjectSignalConverter>({0, 80}, {80, 0});
    fonts = Calls(*c, "Font");
    EXPECT_NE(std::find_if(fonts.begin(), fonts.end(),
                           [](const std::string& f) { return f.find(" 900 ") != std::string::npos; }),
              fonts.end());
}

// ---------------------------------------------------------------------------------------------
// Electrical contacts

TEST_F(ElementDraw, ElectricalContactBlades) {
    struct TCase {
        const char* Name;
        TPoint P1, P2;
        TElectricalContactType Type;
        std::vector<std::string> Blades;
    };
    // 120 x 60: m = 20, a = 5, b = 7.5, c = 10, d = 17.5, e = 18.5 about the middle (60, 30).
    const std::vector<std::string> horzBase = {"Lines 483 250 503 250", "Lines 503 250 555 230",
                                               "Lines 557 250 537 250"};
    const std::vector<std::string> vertBase = {"Lines 530 277 530 257", "Lines 530 257 510 205",
                                               "Lines 530 203 530 223"};
    const auto plus = [](std::vector<std::string> v, std::initializer_list<std::string> more) {
        v.insert(v.end(), more);
        return v;
    };
    const std::vector<TCase> cases = {
        {"make", {0, 0}, {120, 60}, ecMakeContact, horzBase},
        {"break", {0, 0}, {120, 60}, ecBreakContact, plus(horzBase, {"Lines 537 250 537 225"})},
        {"switch",
         {0, 0},
         {120, 60},
         ecSwitchContact,
         plus(horzBase, {"Lines 537 250 537 225", "Lines 557 220 537 220"})},
        {"vertical make", {0, 60}, {120, 0}, ecMakeContact, vertBase},
        {"vertical break", {0, 60}, {120, 0}, ecBreakContact, plus(vertBase, {"Lines 530 223 505 223"})},
        {"vertical switch",
         {0, 60},
         {120, 0},
         ecSwitchContact,
         plus(vertBase, {"Lines 530 223 505 223", "Lines 500 203 500 223"})},
    };
    for (const TCase& c : cases) {
        auto e = Element<TSymbolObjectElectricalContact>(c.P1, c.P2);
        e->fElectricalContact = c.Type;
        auto calls = Draw(*e);
        ASSERT_FALSE(calls.empty()) << c.Name;
        EXPECT_EQ(calls.front().substr(0, 7), "Polygon") << c.Name;
        EXPECT_EQ(std::vector<std::string>(calls.begin() + 1, calls.end()), c.Blades) << c.Name;
    }
    auto none = Element<TSymbolObjectElectricalContact>({0, 0}, {120, 60});
    Canvas.fShowTextBorders = false;
    const auto calls = Draw(*none);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].substr(calls[1].rfind(' ')), " **");
    TXYLineList lines;
    none->CreateLines(lines);
    EXPECT_EQ(lines.GetCount(), 0);
    EXPECT_TRUE(none->HitTest({60, 30}, 1)); // on the mark
}

// ---------------------------------------------------------------------------------------------
// Hoses

TEST_F(ElementDraw, HoseDotsAndArc) {
    auto h = Element<TSymbolObjectHose>({0, 0}, {100, 0});
    // Centre (50, -37.5), radius 62.5: device (500, 375), 125 pixels; from P2 round to P1.
    EXPECT_EQ(Draw(*h), (std::vector<std::string>{"Ellipse 390 290 411 311", "Ellipse 590 290 611 311",
                                                  "Arc 375 250 626 501 600 300 400 300"}));
    h->fFill = true;
    EXPECT_EQ(
        Last(Draw(*h, sdmNormal, true), 5),
        (std::vector<std::string>{"Brush #FF6600 solid", "Ellipse 390 290 411 311", "Ellipse 590 290 611 311",
                                  "Brush #FF6600 clear", "Arc 375 250 626 501 600 300 400 300"}));

    // Shorter than 40 pixels on the screen: six chords through five points of the arc.
    Canvas.fZoom = 1;
    Canvas.fStart = {400, -300};
    h = Element<TSymbolObjectHose>({0, 0}, {30, 0});
    auto calls = Draw(*h);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "Ellipse 395 295 406 306");
    std::istringstream in(calls[2]);
    std::string word;
    std::vector<int> xy;
    in >> word;
    while (in >> word)
        xy.push_back(std::stoi(word));
    ASSERT_EQ(xy.size(), 14u);
    EXPECT_EQ(std::vector<int>(xy.begin(), xy.begin() + 2), (std::vector<int>{400, 300}));
    EXPECT_EQ(std::vector<int>(xy.begin() + 6, xy.begin() + 8), (std::vector<int>{415, 292})); // the top
    EXPECT_EQ(std::vector<int>(xy.end() - 2, xy.end()), (std::vector<int>{430, 300}));
    // Centre (15, -11.25), radius 18.75.
    Canvas.fZoom = 2;
    Canvas.fStart = {400, -900};
    EXPECT_EQ(Draw(*h)[2], "Arc 392 284 469 361 460 300 400 300");

    // No length: the dots only.
    h->fP2 = h->fP1;
    EXPECT_EQ(Draw(*h).size(), 2u);
}

TEST(Hose, GeometryExtentsAndHits) {
    auto h = Element<TSymbolObjectHose>({0, 0}, {0, 100}); // upwards: the arc bulges to the left
    TXYPoint c;
    double r;
    h->GetCnterAndRadius(c, r);
    EXPECT_NEAR(c.X, 37.5, 1e-9);
    EXPECT_NEAR(c.Y, 50, 1e-9);
    EXPECT_DOUBLE_EQ(r, 62.5);
    const TExtentsRect e = h->Extents(TExtentsRect());
    EXPECT_EQ((std::vector<int>{e.Left, e.Bottom, e.Right, e.Top}), (std::vector<int>{-25, -5, 5, 105}));
    EXPECT_TRUE(h->HitTest({-25, 50}, 1));
    EXPECT_FALSE(h->HitTest({25, 50}, 1));
    EXPECT_TRUE(h->HitTest({5, 100}, 0)); // on the dot
    EXPECT_FALSE(h->HitTest({2, 2}, 0));  // inside an open dot
    h->fFill = true;
    EXPECT_TRUE(h->HitTest({2, 2}, 0));
    EXPECT_TRUE(h->HitTestRect(TRect({-25, -5}, {5, 105})));
    EXPECT_FALSE(h->HitTestRect(TRect({-24, -5}, {5, 105})));
    EXPECT_TRUE(h->HitTestRect(TRect({-20, 40}, {-30, 60}))); // crossing the arc
}

class HoseCaption : public ::testing::Test {
protected:
    void TearDown() override { SetDisplayUnits(true, true, true, true, true); }
    TSymbolObjectHose Hose;
    void SetUp() override {
        Hose.fData.Connection1 = "DKOL 12";
        Hose.fData.Connection2 = "<conn1>";
        Hose.fData.Description = "2SN";
        Hose.fData.HoseRotation = "90";
        Hose.fData.HoseLength = 1250;
        Hose.fData.PMax = 210.26;
        Hose.fData.PMaxPSI = 3000;
    }
};

TEST_F(HoseCaption, PlaceholdersAnyCaseUnitsAndSeparator) {
    EXPECT_EQ(Hose.HoseType(), "DKOL 12 + <conn1> L=1250 mm");
    Hose.fData.HoseType = "<CONN1>/<Conn2> <descr> <ROTATION>: L=<length> %U p=<pressure>";
    EXPECT_EQ(Hose.HoseType(','), "DKOL 12/<conn1> 2SN 90: L=1250 mm p=210,3");
    // Imperial: the inch length is not stored and is converted; the psi value is.
    SetDisplayUnits(false, false, false, false, false);
    EXPECT_EQ(Hose.HoseType(), "DKOL 12/<conn1> 2SN 90: L=49.2 inch p=3000");
    EXPECT_NEAR(Hose.HoseLength(), 1250 / 25.4, 1e-9);
    EXPECT_DOUBLE_EQ(Hose.HosePMax(), 3000);
    Hose.fData.PMaxPSI = 0;
    EXPECT_NEAR(Hose.HosePMax(), 210.26 * 14.5037738, 1e-9);
    Hose.fData.HoseLength = -0.01;
    Hose.fData.HoseType = "<length>";
    EXPECT_EQ(Hose.HoseType(), "0");
}

TEST_F(HoseCaption, FillsTheHoseTypeAttributeBeforeItIsMeasured) {
    auto* attribute = CreateAttribute(Hose, saHoseType, 7);
    ASSERT_NE(attribute, nullptr);
    attribute->fValue = "stored";
    auto* other = static_cast<TSymbolObjectAttribute*>(Hose.fSymbolObjectList.Add(somAttribute));
    other->fTag = "Remark";
    other->fValue = "kept";
    Hose.fData.HoseLength = 12.5;
    Hose.fData.HoseType = "L=<length>";
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fDecimalSeparator = ',';
    Hose.Draw(canvas, sdmNormal, false, nullptr);
    EXPECT_EQ(attribute->fValue, "L=12,5");
    EXPECT_EQ(other->fValue, "kept");
    const auto texts = surface.CallsStartingWith("TextOut");
    EXPECT_NE(
        std::find_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with(" L=12,5"); }),
        texts.end());
    // A measured box is measured again for the new text.
    const TSymbolExtents before = attribute->fExtents;
    Hose.fData.HoseLength = 1234567;
    EXPECT_TRUE(Hose.UpdateHoseTypeAttributes('.'));
    EXPECT_FALSE(attribute->fExtents.Defined);
    Hose.PrepareDraw(canvas, sdmNormal, nullptr);
    EXPECT_GT(attribute->fExtents.C2.X - attribute->fExtents.C1.X, before.C2.X - before.C1.X);
    EXPECT_FALSE(Hose.UpdateHoseTypeAttributes('.'));
}

// ---------------------------------------------------------------------------------------------
// Records

TEST(ElementRecords, SolenoidAndOrificeOptionKeysInBothVariants) {
    for (const TRecordVariant variant : {TRecordVariant::UniCode, TRecordVariant::Legacy}) {
        auto s = ReadSymbol("Solenoid:\r\n  Point1X=5\r\n  Point2X=100\r\n  Point2Y=x\r\n  Button Side=No\r\n"
                            "  proportional=True\r\nEnd.\r\n"
                            "Solenoid:\r\n  Pilot=True\r\n  Button Top=True\r\nEnd.\r\n"
                            "Orifice:\r\n  Viscosity Independent=True\r\n  None with Line=True\r\n"
                            "  Filled=False\r\n  Replaceable\r\nEnd.\r\n"
                            "Orifice:\r\n  Restrictor=True\r\n  Closed=True\r\n  None=True\r\nEnd.\r\n",
                            variant);
        ASSERT_EQ(s->fSymbolObjectList.Count(), 4);
        auto* s1 = dynamic_cast<TSymbolObjectSolenoid*>(s->fSymbolObjectList.SymbolObjects(0));
        auto* s2 = dynamic_cast<TSymbolObjectSolenoid*>(s->fSymbolObjectList.SymbolObjects(1));
        auto* o1 = dynamic_cast<TSymbolObjectOrifice*>(s->fSymbolObjectList.SymbolObjects(2));
        auto* o2 = dynamic_cast<TSymbolObjectOrifice*>(s->fSymbolObjectList.SymbolObjects(3));
        ASSERT_TRUE(s1 && s2 && o1 && o2);
        EXPECT_EQ(s1->fP1, TPoint(5, 0));
        EXPECT_EQ(s1->fP2, TPoint(100, 0));
        EXPECT_EQ(s1->fOptions, SolenoidOptions({solSolenoid, solButtonSide, solProportional}));
        EXPECT_EQ(s2->fOptions, SolenoidOptions({solSolenoid, solPilot, solButtonTop}));
        EXPECT_EQ(o1->fOptions, OrificeOptions({ooValue2, ooLine, ooFilled, ooReplaceable}));
        EXPECT_EQ(o2->fOptions, OrificeOptions({ooValue1, ooClosed}));
        EXPECT_EQ(s1->fSymLineType, symlinetypeSolenoid);
        EXPECT_EQ(o1->fSymbolObjectSubType, soOrifice);
        EXPECT_EQ(o1->fSymLineType, symlinetypeOrifice);
    }
    TSymbolObjectSolenoid s;
    s.fOptions.set(solButtonTop);
    s.fP2 = {1, 1};
    s.SetDefaults();
    EXPECT_EQ(s.fOptions, SolenoidOptions({solSolenoid}));
    EXPECT_EQ(s.fP2, TPoint());
    TSymbolObjectOrifice o;
    o.fOptions.set(ooClosed);
    o.SetDefaults();
    EXPECT_TRUE(o.fOptions.none());
}

TEST(ElementRecords, NamedValuesWithTheirFallbacks) {
    struct TCase {
        const char* Input;
        const char* Output;
        const char* Contact;
        TSignalConverterInput In;
        TSignalConverterOutput Out;
        TElectricalContactType Type;
    };
    const TCase cases[] = {
        {"Pressure", "ElecDigital", "MakeContact", svInputPressure, svOutputElecDigital, ecMakeContact},
        {"tEmPeRaTuRe", "elecanalogue", "switchcontact", svInputTemperature, svOutputElecAnalogue,
         ecSwitchContact},
        {"None", "None", "BreakContact", svInputNone, svOutputNone, ecBreakContact},
        {"Unknown", "3", "1", svInputFlow, svOutputElecSwitch, ecNone},
        {"", "", "", svInputFlow, svOutputElecSwitch, ecNone},
    };
    for (const TCase& c : cases) {
        const std::string body = std::string("SignalConverter:\r\n  Point2X=80\r\n  Input=") + c.Input +
                                 "\r\n  Output=" + c.Output +
                                 "\r\nEnd.\r\nElectricalContact:\r\n  Point2Y=-3\r\n"
                                 "  ContactType=" +
                                 c.Contact + "\r\nEnd.\r\n";
        auto s = ReadSymbol(body);
        ASSERT_EQ(s->fSymbolObjectList.Count(), 2);
        auto* sc = dynamic_cast<TSymbolObjectSignalConverter*>(s->fSymbolObjectList.SymbolObjects(0));
        auto* ec = dynamic_cast<TSymbolObjectElectricalContact*>(s->fSymbolObjectList.SymbolObjects(1));
        ASSERT_TRUE(sc && ec);
        EXPECT_EQ(sc->fInputSignal, c.In) << c.Input;
        EXPECT_EQ(sc->fOutputSignal, c.Out) << c.Output;
        EXPECT_EQ(ec->fElectricalContact, c.Type) << c.Contact;
        EXPECT_EQ(sc->fP2, TPoint(80, 0));
        EXPECT_EQ(ec->fP2, TPoint(0, -3));
        EXPECT_EQ(sc->fSymLineType, symlinetypeSolenoid);
        EXPECT_EQ(ec->fSymbolObjectSubType, soElectricalContact);
    }
    // The letter shown for an input that was not understood.
    auto s = ReadSymbol("SignalConverter:\r\n  Input=Unknown\r\nEnd.\r\n");
    EXPECT_EQ(
        SignalConverterInputLetter(
            static_cast<TSymbolObjectSignalConverter*>(s->fSymbolObjectList.SymbolObjects(0))->fInputSignal),
        "F");
}

TEST(ElementRecords, HoseDataAndDump) {
    auto s =
        ReadSymbol("Hose:\r\n  Point2X=30\r\n  Connection1=A|B\r\n  Connection2=C\r\n  HoseLength=1250.5\r\n"
                   "  HoseLengthIN=x\r\n  HoseNumber=H7\r\n  PMax=1e2\r\n  PMaxPSI=-3\r\n  Remark=r1\r\n"
                   "  Remark2=r2\r\n  Description=d\r\n  HoseType=<conn1>\r\n  HoseRotation=45\r\n"
                   "  Attribute:\r\n    Tag=HOSE TYPE\r\n  End.\r\nEnd.\r\n"
                   "Electric:\r\n  Point1X=3\r\nEnd.\r\n");
    ASSERT_EQ(s->fSymbolObjectList.Count(), 2);
    auto* h = dynamic_cast<TSymbolObjectHose*>(s->fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(h, nullptr);
    const TSymbolObjectHoseData& d = h->fData;
    EXPECT_EQ(d.Connection1, "A|B");
    EXPECT_EQ(d.Connection2, "C");
    EXPECT_DOUBLE_EQ(d.HoseLength, 1250.5);
    EXPECT_DOUBLE_EQ(d.HoseLengthIN, 0);
    EXPECT_EQ(d.HoseNumber, "H7");
    EXPECT_DOUBLE_EQ(d.PMax, 100);
    EXPECT_DOUBLE_EQ(d.PMaxPSI, -3);
    EXPECT_EQ(d.Remark, "r1");
    EXPECT_EQ(d.Remark2, "r2");
    EXPECT_EQ(d.Description, "d");
    EXPECT_EQ(d.HoseType, "<conn1>");
    EXPECT_EQ(d.HoseRotation, "45");
    EXPECT_EQ(h->fSymLineType, symlinetypeHose);
    // The attributes of elements are found by their handles through the element.
    ASSERT_EQ(h->fSymbolObjectList.Count(), 1);
    h->fSymbolObjectList.SymbolObjects(0)->fHandle = 99;
    EXPECT_EQ(s->fSymbolObjectList.Find(99), h->fSymbolObjectList.SymbolObjects(0));

    auto* e = dynamic_cast<TSymbolObjectElectric*>(s->fSymbolObjectList.SymbolObjects(1));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->fP1, TPoint(3, 0));

    TSymbolObjectHose fresh;
    EXPECT_EQ(fresh.fData.HoseType, "<conn1> + <conn2> L=<length> %u");
    h->SetDefaults();
    EXPECT_EQ(h->fData.HoseType, "<conn1> + <conn2> L=<length> %u");
    EXPECT_EQ(h->fData.Connection1, "");
}

TEST(ElementRecords, DumpShowsEveryField) {
    const auto dump = [](const TSymbolObject& o) {
        TJsonWriter w(false);
        o.Dump(w);
        return w.Text();
    };
    TSymbolObjectSolenoid s;
    s.fOptions = SolenoidOptions({solSolenoid, solButtonTop, solPilot});
    EXPECT_NE(dump(s).find(R"("Class":"TSymbolObjectSolenoid")"), std::string::npos);
    EXPECT_NE(dump(s).find(R"("Options":["solSolenoid","solButtonTop","solPilot"])"), std::string::npos)
        << dump(s);
    EXPECT_NE(dump(s).find(R"("P2":)"), std::string::npos);
    TSymbolObjectOrifice o;
    o.fOptions = OrificeOptions({ooValue1, ooReplaceable});
    EXPECT_NE(dump(o).find(R"("Options":["ooValue1","ooReplaceable"])"), std::string::npos) << dump(o);
    TSymbolObjectSignalConverter c;
    EXPECT_NE(dump(c).find(R"("InputSignal":"svInputFlow","OutputSignal":"svOutputElecSwitch")"),
              std::string::npos)
        << dump(c);
    TSymbolObjectElectricalContact e;
    e.fElectricalContact = ecSwitchContact;
    EXPECT_NE(dump(e).find(R"("ElectricalContact":"ecSwitchContact")"), std::string::npos) << dump(e);
    TSymbolObjectHose h;
    h.fData.PMaxPSI = 2.5;
    EXPECT_NE(
        dump(h).find(R"("Data":{"Connection1":"","Connection2":"","HoseLength":0,"HoseLengthIN":0,)"
                     R"("HoseNumber":"","PMax":0,"PMaxPSI":2.5,"Remark":"","Remark2":"","Description":"",)"
                     R"("HoseType":"<conn1> + <conn2> L=<length> %u","HoseRotation":""})"),
        std::string::npos)
        << dump(h);
    TSymbolObjectElectric el;
    EXPECT_NE(dump(el).find(R"("Class":"TSymbolObjectElectric")"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Hits and extents

TEST(ElementHitTest, OnAndJustOff) {
    struct TCase {
        const char* Name;
        std::shared_ptr<TSymbolObject> Obj;
        TPoint On, Off;
    };
    auto sol = std::shared_ptr<TSymbolObjectSolenoid>(Element<TSymbolObjectSolenoid>({0, 0}, {40, 20}));
    auto buttons = std::shared_ptr<TSymbolObjectSolenoid>(Element<TSymbolObjectSolenoid>({0, 0}, {40, 20}));
    buttons->fOptions.set(solButtonTop);
    auto orifice = std::shared_ptr<TSymbolObjectOrifice>(Element<TSymbolObjectOrifice>({0, 0}, {60, 0}));
    auto sc = std::shared_ptr<TSymbolObjectSignalConverter>(
        Element<TSymbolObjectSignalConverter>({0, 0}, {240, 80}));
    auto ec = std::shared_ptr<TSymbolObjectElectricalContact>(
        Element<TSymbolObjectElectricalContact>({0, 0}, {120, 60}));
    ec->fElectricalContact = ecMakeContact;
    const std::vector<TCase> cases = {
        {"solenoid box", sol, {40, 14}, {46, 14}},      {"solenoid stroke", sol, {22, 10}, {28, 10}},
        {"solenoid button", buttons, {0, 38}, {0, 45}}, {"orifice circle", orifice, {30, 33}, {30, 20}},
        {"converter letter", sc, {162, 20}, {200, 20}}, {"converter diagonal", sc, {120, 40}, {120, 55}},
        {"contact blade", ec, {60, 30}, {60, 40}},
    };
    for (const TCase& c : cases) {
        EXPECT_TRUE(c.Obj->HitTest(c.On, 4)) << c.Name;
        EXPECT_FALSE(c.Obj->HitTest(c.Off, 4)) << c.Name;
    }
}

TEST(ElementExtents, CoverWhatIsDrawn) {
    const auto of = [](const TSymbolObject& o) {
        const TExtentsRect e = o.Extents(TExtentsRect());
        return std::vector<int>{e.Left, e.Bottom, e.Right, e.Top};
    };
    auto sol = Element<TSymbolObjectSolenoid>({0, 0}, {40, 20});
    EXPECT_EQ(of(*sol), (std::vector<int>{0, 0, 40, 20}));
    sol->fOptions = SolenoidOptions({solButtonTop, solButtonSide});
    EXPECT_EQ(of(*sol), (std::vector<int>{0, 0, 60, 40}));
    EXPECT_EQ(of(*Element<TSymbolObjectOrifice>({0, 0}, {60, 0})), (std::vector<int>{0, -30, 60, 30}));
    // Nothing to measure: the orifice stands at its point.
    EXPECT_EQ(of(*Element<TSymbolObjectOrifice>({7, 8}, {7, 8})), (std::vector<int>{7, 8, 7, 8}));
    EXPECT_EQ(of(*Element<TSymbolObjectHose>({0, 0}, {100, 0})), (std::vector<int>{-5, -5, 105, 25}));
    TSymbolObjectElectric e;
    e.fTemporaryHidden = temphiddenAll;
    EXPECT_FALSE(e.Extents(TExtentsRect()).Defined);
}

// ---------------------------------------------------------------------------------------------
// Hostile values

// Every element with every option, at the corners of the coordinate range or without size.
std::vector<std::unique_ptr<TSymbolObject>> AllElements(TPoint p1, TPoint p2) {
    std::vector<std::unique_ptr<TSymbolObject>> all;
    for (const bool flip : {false, true}) {
        auto s = Element<TSymbolObjectSolenoid>(p1, p2);
        s->fOptions.set();
        s->fFlip = flip;
        all.push_back(std::move(s));
        auto o = Element<TSymbolObjectOrifice>(p1, p2);
        o->fOptions.set();
        o->fFlip = flip;
        all.push_back(std::move(o));
        for (int out = 0; out < SignalConverterOutputCount; ++out) {
            auto c = Element<TSymbolObjectSignalConverter>(p1, p2);
            c->fOutputSignal = TSignalConverterOutput(out);
            c->fFlip = flip;
            all.push_back(std::move(c));
        }
        for (int type = 0; type < ElectricalContactTypeCount; ++type) {
            auto c = Element<TSymbolObjectElectricalContact>(p1, p2);
            c->fElectricalContact = TElectricalContactType(type);
            all.push_back(std::move(c));
        }
        auto h = Element<TSymbolObjectHose>(p1, p2);
        h->fFill = flip;
        all.push_back(std::move(h));
        auto e = std::make_unique<TSymbolObjectElectric>();
        e->fP1 = p2;
        e->fFill = flip;
        all.push_back(std::move(e));
    }
    return all;
}

TEST(ElementBadInput, ExtremeCoordinatesStayOnTheSurface) {
    for (const auto& [p1, p2] : {std::pair{TPoint(INT32_MIN, INT32_MIN), TPoint(INT32_MAX, INT32_MAX)},
                                 std::pair{TPoint(INT32_MAX, INT32_MIN), TPoint(INT32_MIN, INT32_MAX)},
                                 std::pair{TPoint(INT32_MAX - 3, 0), TPoint(INT32_MAX, 2)}}) {
        for (const auto& o : AllElements(p1, p2)) {
            TRecordingSurface surface;
            TSymbolCanvas canvas(&surface);
            canvas.fSize = {800, 600};
            for (const double zoom : {1e-9, 1.0, 1e3}) {
                canvas.fZoom = zoom;
                canvas.fStart = {0, 0};
                o->Draw(canvas, sdmNormal, true, nullptr);
                o->Draw(canvas, sdmHighlight, false, nullptr);
            }
            for (const std::string& call : surface.Calls()) {
                std::istringstream in(call);
                std::string op, word;
                in >> op;
                if (op == "Pen" || op == "Brush" || op == "Font" || op == "TextOut") continue;
                // A dot is its place and its colour; only the place is a coordinate.
                for (int n = 0; in >> word && (op != "SetPixel" || n < 2); ++n) {
                    const long long v = std::stoll(word);
                    EXPECT_LE(std::llabs(v), SafeDeviceCoord) << o->ClassName() << ": " << call;
                }
            }
            const TExtentsRect e = o->Extents(TExtentsRect());
            EXPECT_TRUE(e.Defined) << o->ClassName();
            o->HitTest({0, 0}, 4);
            o->HitTestRect(TRect({INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}));
        }
    }
}

TEST(ElementBadInput, WithoutSizeNothingDividesByZero) {
    for (const auto& o : AllElements({5, 5}, {5, 5})) {
        TRecordingSurface surface;
        TSymbolCanvas canvas(&surface);
        canvas.fSize = {800, 600};
        o->Draw(canvas, sdmNormal, false, nullptr);
        o->Draw(canvas, sdmDrag, false, nullptr);
        const TExtentsRect e = o->Extents(TExtentsRect());
        EXPECT_TRUE(e.Defined) << o->ClassName();
        EXPECT_LE(e.Left, 5) << o->ClassName();
        EXPECT_GE(e.Right, 5) << o->ClassName();
    }
    // A hose without length is its dots; an orifice without a diameter is nothing to click.
    EXPECT_TRUE(Element<TSymbolObjectHose>({5, 5}, {5, 5})->HitTest({10, 5}, 0));
    EXPECT_FALSE(Element<TSymbolObjectOrifice>({5, 5}, {5, 5})->HitTest({5, 5}, 4));
}

} // namespace
