#include "render/SymbolCanvas.h"
#include "render/RecordingSurface.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace {
struct TPiece {
    int X1, Y1, X2, Y2;
    TColor Color;
};

// The MoveTo/LineTo pairs of the log as pieces, with the pen colour each was drawn in.
std::vector<TPiece> Pieces(const TRecordingSurface& s) {
    std::vector<TPiece> out;
    int x = 0, y = 0;
    TColor color = 0;
    for (const std::string& call : s.Calls()) {
        std::istringstream in(call);
        std::string op;
        in >> op;
        if (op == "Pen") {
            std::string hex;
            in >> hex;
            const unsigned v = std::stoul(hex.substr(1), nullptr, 16);
            color = RGBColor(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
        } else if (op == "MoveTo") {
            in >> x >> y;
        } else if (op == "LineTo") {
            int x2 = 0, y2 = 0;
            in >> x2 >> y2;
            out.push_back({x, y, x2, y2, color});
            x = x2;
            y = y2;
        }
    }
    return out;
}

class CanvasTest : public ::testing::Test {
protected:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    void SetUp() override { Canvas.fSize = {800, 600}; }
};

TEST_F(CanvasTest, CreateDefaults) {
    EXPECT_EQ(Canvas.fCanvasColors.Name, "Dark gray");
    EXPECT_EQ(Canvas.fZoom, 1.0);
    EXPECT_EQ(Canvas.fSnap, 20);
    EXPECT_EQ(Canvas.fGrid, 40);
    EXPECT_EQ(Canvas.fDPI, 96);
    EXPECT_EQ(Canvas.fDPIFactor, 1.0);
    EXPECT_EQ(Canvas.fGridMode, gridDynamic);
    EXPECT_TRUE(Canvas.fShowGrid && Canvas.fShowTextBorders && Canvas.fThickConnectionLines);
    EXPECT_FALSE(Canvas.fPan || Canvas.fShowHideInOutput || Canvas.fMoveMode);
    Canvas.SetDPI(0); // a device without a resolution must not divide by zero
    EXPECT_EQ(Canvas.fDPIFactor, 1.0);
}

TEST_F(CanvasTest, ColourSchemes) {
    const auto& w = SymbolCanvasColorsWhite();
    EXPECT_EQ(w.Description, "Default colors for a white background");
    EXPECT_EQ(w.DrawColors[dcSheet], RGBColor(0xBB, 0xBB, 0xDD));
    EXPECT_EQ(w.DrawColors[dcClicked], RGBColor(0x55, 0xB7, 0xFF));
    EXPECT_EQ(w.LineTypeColors[symlinetypeIBorder], RGBColor(0xFF, 0x66, 0x00));
    const auto& b = SymbolCanvasColorsBlack();
    EXPECT_EQ(b.DrawColors[dcBackground], RGBColor(0, 0, 0));
    EXPECT_EQ(b.LineTypeColors[symlinetypeText], RGBColor(0, 0xFF, 0));
    EXPECT_EQ(SymbolCanvasColorsDarkGray().DrawColors[dcBackground], RGBColor(0x46, 0x46, 0x4F));
    EXPECT_EQ(FindSymbolCanvasColors("white"), &w);
    EXPECT_EQ(FindSymbolCanvasColors("Grey"), nullptr);
}

TEST_F(CanvasTest, TransformRoundsHalvesToEven) {
    EXPECT_EQ(Canvas.ToPt(TPoint(0, 0)), TPoint(0, 600));
    EXPECT_EQ(Canvas.ToPt(TPoint(100, 600)), TPoint(100, 0));
    EXPECT_EQ(Canvas.FromPt({100, 0}), TPoint(100, 600));
    EXPECT_EQ(Canvas.ToPt(TXYPoint{10.5, 599.5}), TPoint(10, 0));
    Canvas.fZoom = 0.5;
    EXPECT_EQ(Canvas.ToPtX(3), 2);
    EXPECT_EQ(Canvas.ToPtX(5), 2);
    Canvas.fZoom = 2;
    Canvas.fStart = {10, -20};
    const TPoint p{123, 456};
    EXPECT_EQ(Canvas.FromPt(Canvas.ToPt(p)), p);
    const TRect v = Canvas.VisibleArea();
    EXPECT_EQ(v.P1, TPoint(395, 590)); // top right
    EXPECT_EQ(v.P2, TPoint(-5, 290));  // bottom left
}

TEST_F(CanvasTest, SnapPointHalvesAwayFromZero) {
    const struct {
        int DrawingX, DrawingY, SnappedX, SnappedY;
    } cases[] = {{29, 29, 20, 20}, {30, 10, 40, 20}, {-30, -10, -40, -20}, {-29, 50, -20, 60}};
    for (const auto& c : cases)
        EXPECT_EQ(Canvas.SnapPoint({c.DrawingX, 600 - c.DrawingY}), TPoint(c.SnappedX, c.SnappedY))
            << c.DrawingX;
    Canvas.fSnapMode = snapOff;
    EXPECT_EQ(Canvas.SnapPoint({29, 571}), TPoint(29, 29));
}

TEST_F(CanvasTest, SnapAndGridFollowTheZoom) {
    const struct {
        double Zoom;
        int Snap, Grid;
    } cases[] = {{1.0, 20, 40},    {0.5, 40, 80},   {31, 1, 1},     {0.01, 320, 640},
                 {0.05, 320, 320}, {0.1, 160, 160}, {0.25, 80, 80}, {2.5, 10, 20},
                 {5, 5, 10},       {20, 2, 10},     {30, 1, 2},     {1.5, 20, 40}};
    for (const auto& c : cases) {
        Canvas.fZoom = 1;
        Canvas.SetZoom(c.Zoom);
        EXPECT_EQ(Canvas.fSnap, c.Snap) << c.Zoom;
        EXPECT_EQ(Canvas.fGrid, c.Grid) << c.Zoom;
    }
    Canvas.SetGridMode(grid80);
    EXPECT_EQ(Canvas.fGrid, 80);
    Canvas.SetGridMode(gridNone);
    Canvas.SetZoom(0.5);
    EXPECT_EQ(Canvas.fGrid, 80);
}

TEST_F(CanvasTest, UnusableZoomFactorsAreRefused) {
    Canvas.fZoom = 2;
    for (double f :
         {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Canvas.SetZoom(f);
        EXPECT_EQ(Canvas.fZoom, 2) << f;
    }
    Canvas.SetZoom(1e308); // overflows to infinity: refused
    EXPECT_EQ(Canvas.fZoom, 2);
    TExtentsRect e{true, 0, 100, 100, 0};
    Canvas.ZoomCenterExtents(e, std::numeric_limits<double>::quiet_NaN());
    Canvas.ZoomCenterExtents(e, 0);
    EXPECT_EQ(Canvas.fZoom, 2);

    // A zoom of 0 set directly: no division, no grid, nothing odd reaches the surface.
    Canvas.fZoom = 0;
    EXPECT_EQ(Canvas.FromPt({100, 100}), TPoint(0, 0));
    EXPECT_EQ(Canvas.VisibleArea().P1, TPoint(0, 0));
    EXPECT_EQ(Canvas.VisibleArea().P2, TPoint(0, 0));
    Canvas.ClearCanvas();
    EXPECT_TRUE(Surface.CallsStartingWith("LineTo").empty());
    EXPECT_TRUE(Surface.CallsStartingWith("SetPixel").empty());
}

TEST_F(CanvasTest, ZoomExtentsFitsAndCentres) {
    // A single vertical line: zero width still gets 4 units and fits by height.
    const TExtentsRect line{true, 100, 500, 100, 100};
    Canvas.ZoomExtents(line);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 600.0 / 404);
    EXPECT_EQ(Canvas.ToPtY(500), 0);
    EXPECT_NEAR(Canvas.ToPtX(102), 400, 1);
    EXPECT_EQ(Canvas.fGrid, 40);

    // Width limits: the left edge lands on pixel 0 and the drawing is centred vertically.
    const TExtentsRect wide{true, -1000, 100, 2996, 0};
    Canvas.ZoomExtents(wide);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 0.2);
    EXPECT_EQ(Canvas.ToPtX(-1000), 0);
    EXPECT_EQ(Canvas.ToPtY(50), 300);

    Canvas.ZoomCenterExtents(wide, 1);
    EXPECT_EQ(Canvas.fZoom, 1);
    EXPECT_EQ(Canvas.ToPtX(1000), 400);
    EXPECT_EQ(Canvas.ToPtY(48), 300);

    // An empty device or inverted extents reset the view instead of producing zoom 0 or less.
    Canvas.fSize = {0, 0};
    Canvas.ZoomExtents(wide);
    EXPECT_EQ(Canvas.fZoom, 1);
    EXPECT_EQ(Canvas.fStart, TPoint(0, 0));
    Canvas.fSize = {800, 600};
    Canvas.ZoomExtents(TExtentsRect{true, 10, 0, 0, 10});
    EXPECT_EQ(Canvas.fZoom, 1);
}

TEST_F(CanvasTest, ClearCanvasDrawsTheDynamicGrid) {
    Canvas.fSize = {100, 100};
    Canvas.ClearCanvas();
    const auto& calls = Surface.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "Pen #46464F solid 1 copy");
    EXPECT_EQ(calls[1], "Brush #46464F solid");
    EXPECT_EQ(calls[2], "FillRect 0 0 100 100");
    const TColor major = RGBColor(0x51, 0x51, 0x51), minor = RGBColor(0x49, 0x49, 0x49);
    // Vertical lines at -40, 0, 40, 80 and horizontal ones at 120, 80, 40, 0; multiples of 80 are major.
    const std::vector<TPiece> expected = {{-40, 0, -40, 100, minor}, {0, 0, 0, 100, major},
                                          {40, 0, 40, 100, minor},   {80, 0, 80, 100, major},
                                          {0, -20, 100, -20, minor}, {0, 20, 100, 20, major},
                                          {0, 60, 100, 60, minor},   {0, 100, 100, 100, major}};
    const auto got = Pieces(Surface);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].X1, expected[i].X1) << i;
        EXPECT_EQ(got[i].Y1, expected[i].Y1) << i;
        EXPECT_EQ(got[i].X2, expected[i].X2) << i;
        EXPECT_EQ(got[i].Y2, expected[i].Y2) << i;
        EXPECT_EQ(got[i].Color, expected[i].Color) << i;
    }
    // Snap dots off the grid lines: x in {-20, 20, 60, 100}, y in {100, 60, 20}.
    const auto dots = Surface.CallsStartingWith("SetPixel");
    EXPECT_EQ(dots.size(), 12u);
    EXPECT_NE(std::find(dots.begin(), dots.end(), "SetPixel 20 40 #7C7C7C"), dots.end());
}

class DashTest : public CanvasTest {
protected:
    void SetUp() override {
        // Zoom 10 so fractions of a unit show in whole pixels; y = 0 on row 500.
        Canvas.fSize = {4000, 1000};
        Canvas.fZoom = 10;
        Canvas.fStart = {0, -9500};
    }
    std::vector<std::pair<int, int>> Draw(TPenStyle style, double length, TColor second = 0) {
        Surface.SetPen({RGBColor(1, 2, 3), style, 1, TPenMode::Copy});
        Surface.ClearCalls();
        Canvas.DrawNonSolidLine({0, 0}, {length, 0}, second);
        std::vector<std::pair<int, int>> out;
        for (const TPiece& p : Pieces(Surface)) {
            EXPECT_EQ(p.Y1, 500);
            EXPECT_EQ(p.Y2, 500);
            out.push_back({p.X1, p.X2});
        }
        EXPECT_EQ(Surface.Pen().Style, style); // restored
        return out;
    }
};

TEST_F(DashTest, PiecesAreSymmetricInDrawingUnits) {
    using V = std::vector<std::pair<int, int>>;
    const struct {
        TPenStyle Style;
        double Length;
        V Expected;
    } cases[] = {
        {TPenStyle::Dash, 52, {{0, 520}}},
        {TPenStyle::Dash, 52.8, {{0, 4}, {84, 444}, {524, 528}}},
        {TPenStyle::Dash, 100, {{0, 20}, {100, 460}, {540, 900}, {980, 1000}}},
        {TPenStyle::Dot, 38.4, {{0, 384}}},
        {TPenStyle::Dot, 40, {{0, 160}, {240, 400}}},
        {TPenStyle::DashDot, 144, {{0, 1440}}},
        {TPenStyle::DashDot, 200, {{0, 360}, {440, 600}, {680, 1320}, {1400, 1560}, {1640, 2000}}},
        {TPenStyle::Solid, 200, {{0, 2000}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Draw(c.Style, c.Length), c.Expected) << c.Length;
    // The pieces are drawn with a solid pen, then the styled pen comes back.
    Draw(TPenStyle::Dash, 100);
    EXPECT_EQ(Surface.CallsStartingWith("Pen"),
              (std::vector<std::string>{"Pen #010203 solid 1 copy", "Pen #010203 dash 1 copy"}));
}

TEST_F(DashTest, SecondColourAlternatesFromTheFirstPiece) {
    const TColor second = RGBColor(9, 9, 9);
    Draw(TPenStyle::Dash, 100, second);
    std::vector<TColor> colors;
    for (const TPiece& p : Pieces(Surface))
        colors.push_back(p.Color);
    EXPECT_EQ(colors, (std::vector<TColor>{RGBColor(1, 2, 3), second, RGBColor(1, 2, 3), second}));
    EXPECT_EQ(Surface.Pen().Color, RGBColor(1, 2, 3));
}

TEST_F(DashTest, HugeSegmentDrawsOnlyVisiblePiecesInPlace) {
    Canvas.fZoom = 1;
    Canvas.fStart = {0, 0};
    Canvas.fSize = {800, 600};
    const double x0 = -2e9, l = 4e9;
    Surface.SetPen({0, TPenStyle::Dash, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawNonSolidLine({x0, 300}, {x0 + l, 300});
    const auto got = Pieces(Surface);
    ASSERT_GE(got.size(), 15u);
    ASSERT_LE(got.size(), 25u); // 800 pixels hold about 18 periods of 44
    // Every piece starts where the pattern of the whole segment puts a dash.
    const double n = std::trunc(l / 44), a = (l - (44 * n + 8)) / 2;
    for (const TPiece& p : got) {
        const double phase = std::fmod(p.X1 - (x0 + a + 8), 44.0);
        EXPECT_TRUE(std::fabs(phase) <= 1 || std::fabs(phase - 44) <= 1 || std::fabs(phase + 44) <= 1)
            << p.X1;
        EXPECT_EQ(std::abs(p.X2 - p.X1), 36);
        EXPECT_GT(p.X2, -50);
        EXPECT_LT(p.X1, 850);
    }
    // A segment entirely off screen draws nothing.
    Surface.ClearCalls();
    Canvas.DrawNonSolidLine({0, 5000}, {1e6, 5000});
    EXPECT_TRUE(Pieces(Surface).empty());
}

TEST_F(DashTest, ACanvasWithoutASizeDrawsOnlyThePiecesItsTransformCanReach) {
    // Nothing clips to a view here; without a bound this segment is some 10^8 pieces.
    Canvas.fSize = {0, 0};
    Canvas.fZoom = 1;
    Canvas.fStart = {0, 0};
    const double x0 = -2e9, l = 4e9;
    Surface.SetPen({0, TPenStyle::Dash, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawNonSolidLine({x0, 0}, {x0 + l, 0});
    const auto got = Pieces(Surface);
    // 2 * 2^22 pixels hold about 190 000 periods of 44.
    ASSERT_GE(got.size(), 150000u);
    ASSERT_LE(got.size(), 250000u);
    for (const TPiece& p : got) {
        ASSERT_GE(std::min(p.X1, p.X2), -SafeDeviceCoord);
        ASSERT_LE(std::max(p.X1, p.X2), SafeDeviceCoord);
    }
}

TEST_F(CanvasTest, ExtremeCoordinatesAtHighZoomStayInRangeAndOnTheLine) {
    Canvas.fZoom = 200;
    const TPoint far = Canvas.ToPt(TPoint(INT32_MAX, INT32_MIN));
    EXPECT_EQ(far, TPoint(SafeDeviceCoord, SafeDeviceCoord));
    EXPECT_EQ(Canvas.ToPt(TPoint(INT32_MIN, INT32_MAX)), TPoint(-SafeDeviceCoord, -SafeDeviceCoord));
    const TPoint back = Canvas.FromPt({INT32_MAX, INT32_MIN});
    EXPECT_GT(back.X, 0);
    EXPECT_GT(back.Y, 0);

    // A slanted line between extreme points: what reaches the surface is clipped, not clamped, so
    // it keeps its direction through the visible area. Drawing y = x + 3 maps to row = 600*200 - 200*(x + 3).
    Canvas.MoveTo(TXYPoint{double(INT32_MIN), double(INT32_MIN) + 3});
    Canvas.LineTo(TXYPoint{double(INT32_MAX) - 3, double(INT32_MAX)});
    for (const TPiece& p : Pieces(Surface)) {
        for (const auto& [X, Y] : {std::pair{p.X1, p.Y1}, std::pair{p.X2, p.Y2}}) {
            EXPECT_LE(std::abs(X), SafeDeviceCoord);
            EXPECT_LE(std::abs(Y), SafeDeviceCoord);
            EXPECT_NEAR(double(Y), 600.0 * 200 - double(X) - 600, 2) << X;
        }
    }
    EXPECT_FALSE(Pieces(Surface).empty());
    Canvas.DrawCircle(TPoint(INT32_MAX, 0), 1e9);
    EXPECT_EQ(Surface.Calls().back(), "Ellipse 4194304 -4194304 4194304 4194304");
}

TEST_F(CanvasTest, DrawLinesRoutesStyledPensThroughThePattern) {
    const TXYPoint pts[] = {{0, 0}, {100, 0}, {100, 100}};
    Surface.SetPen({0, TPenStyle::Solid, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawLines(pts);
    EXPECT_EQ(Surface.Calls(),
              (std::vector<std::string>{"MoveTo 0 600", "LineTo 100 600", "LineTo 100 500"}));
    Surface.SetPen({0, TPenStyle::Dash, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawLines(pts);
    EXPECT_EQ(Pieces(Surface).size(), 8u); // two segments of 100: four pieces each
}

TEST_F(CanvasTest, CirclesAndArcsUseGdiBoxes) {
    Canvas.DrawCircle(TPoint(100, 100), 10);
    EXPECT_EQ(Surface.Calls().back(), "Ellipse 90 490 111 511");
    Canvas.fZoom = 0.5;
    Canvas.DrawArc({100, 100}, {120, 100}, {100, 120}, 10);
    EXPECT_EQ(Surface.Calls().back(), "Arc 45 245 56 256 60 250 50 240");
}

TEST_F(CanvasTest, TextBorders) {
    const TColor red = RGBColor(0xFF, 0, 0);
    Canvas.fShowTextBorders = false;
    Canvas.DrawTextBorder({0, 0}, {100, 20}, symborderstyleNone, red);
    EXPECT_TRUE(Surface.Calls().empty());
    Canvas.DrawTextBorder({0, 0}, {100, 60}, symborderstyleDashed, red);
    const auto sides = Pieces(Surface);
    EXPECT_EQ(sides.size(), 14u); // 100 long: 4 pieces each; 60 long: 3 pieces each
    for (const TPiece& p : sides)
        EXPECT_EQ(p.Color, red);
    EXPECT_EQ(Surface.Pen().Style, TPenStyle::Dash);

    Canvas.fShowTextBorders = true;
    Surface.ClearCalls();
    Canvas.DrawTextBorder({0, 20}, {100, 0}, symborderstyleNone, red);
    EXPECT_EQ(Surface.Calls(),
              (std::vector<std::string>{"Pen #808080 solid 1 copy", "Rectangle 0 580 100 600"}));
}

TEST_F(CanvasTest, TextHeightAndAngle) {
    Canvas.SetTextHeight(20);
    EXPECT_EQ(Canvas.FontSize(), 20);
    EXPECT_EQ(Surface.Font().Height, 27); // 20 points at 96 DPI
    Canvas.SetTextAngle(90);
    EXPECT_EQ(Surface.Font().Escapement, 900);
    Canvas.SetTextAngle(45);
    EXPECT_EQ(Surface.Font().Escapement, 0);
    Canvas.SetTextHeight(1e30); // absurd sizes never reach the surface
    EXPECT_LE(Surface.Font().Height, SafeDeviceCoord);
}

TEST_F(CanvasTest, ObjectPenRule) {
    Canvas.fCanvasColors = SymbolCanvasColorsBlack();
    const TColor over = RGBColor(1, 2, 3);
    const struct {
        TSymbolDrawMode Mode;
        TSymLineType Type;
        TSymLineStyle Style;
        bool Overruled;
        bool Pan;
        TColor Color;
        TPenStyle PenStyle;
    } cases[] = {
        {sdmNormal, symlinetypePilot, symlinestyleDefault, false, false, RGBColor(0xFF, 0, 0),
         TPenStyle::Dash},
        {sdmNormal, symlinetypeDrain, symlinestyleDefault, false, false, RGBColor(0xFF, 0, 0xFF),
         TPenStyle::Dot},
        {sdmNormal, symlinetypeBorder, symlinestyleDefault, false, false, RGBColor(0, 0xFF, 0xFF),
         TPenStyle::DashDot},
        {sdmNormal, symlinetypeNone, symlinestyleDefault, false, false, RGBColor(0xFF, 0xFF, 0xFF),
         TPenStyle::Solid},
        {sdmNormal, symlinetypeSymbol, symlinestyleHidden, true, false, over, TPenStyle::Dot},
        {sdmNormal, symlinetypePilot, symlinestyleDefault, false, true, RGBColor(0xFF, 0, 0),
         TPenStyle::Solid},
        {sdmDrag, symlinetypeSymbol, symlinestyleDashed, true, false, RGBColor(0, 0xFF, 0xFF),
         TPenStyle::Dash},
        {sdmHighlight, symlinetypeText, symlinestyleSolid, true, false, RGBColor(0, 0, 0xFF),
         TPenStyle::Solid},
    };
    for (const auto& c : cases) {
        Canvas.fPan = c.Pan;
        Canvas.ApplyObjectPen(c.Mode, c.Type, c.Style, c.Overruled, over);
        EXPECT_EQ(Surface.Pen(), (TPen{c.Color, c.PenStyle, 1, TPenMode::Copy})) << int(c.Type);
        EXPECT_EQ(Surface.Brush(), (TBrush{c.Color, TBrushStyle::Clear}));
    }
    Canvas.fPan = false;
    Canvas.ApplyObjectBrush(true, sdmNormal, symlinetypeText, false, 0);
    EXPECT_EQ(Surface.Brush(), (TBrush{RGBColor(0, 0xFF, 0), TBrushStyle::Solid}));
}

TEST_F(CanvasTest, GroupPenRule) {
    Canvas.fCanvasColors = SymbolCanvasColorsBlack();
    const TColor group = RGBColor(0x12, 0x34, 0x56), highlight = RGBColor(0, 0, 0xFF);
    const struct {
        TSymbolDrawMode Mode;
        TColor GroupColor;
        TColor Expected;
    } cases[] = {
        {sdmNormal, group, group},
        {sdmHighlight, group, highlight},
        {sdmHighlight, highlight, RGBColor(0x77, 0x77, 0xFF)},
        {sdmDrag, group, RGBColor(0, 0xFF, 0xFF)},
    };
    for (const auto& c : cases) {
        Canvas.ApplyObjectPen(c.Mode, symlinetypeLine, symlinestyleDefault, false, 0);
        Canvas.ApplyGroupPen(c.Mode, c.GroupColor, symlinestyleDashed);
        EXPECT_EQ(Surface.Pen().Color, c.Expected) << int(c.Mode);
        EXPECT_EQ(Surface.Pen().Style, TPenStyle::Dash);
        EXPECT_EQ(Surface.Font().Color, c.Expected);
    }
    Canvas.fPan = true;
    Canvas.ApplyGroupPen(sdmNormal, group, symlinestyleBorder);
    EXPECT_EQ(Surface.Pen().Style, TPenStyle::Solid);
}
} // namespace
