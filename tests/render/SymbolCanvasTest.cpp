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
std::vector<TPiece> Pieces(const TRecordingSurface& S) {
    std::vector<TPiece> Out;
    int X = 0, Y = 0;
    TColor Color = 0;
    for (const std::string& Call : S.Calls()) {
        std::istringstream In(Call);
        std::string Op;
        In >> Op;
        if (Op == "Pen") {
            std::string Hex;
            In >> Hex;
            const unsigned V = std::stoul(Hex.substr(1), nullptr, 16);
            Color = RGBColor(uint8_t(V >> 16), uint8_t(V >> 8), uint8_t(V));
        } else if (Op == "MoveTo") {
            In >> X >> Y;
        } else if (Op == "LineTo") {
            int X2 = 0, Y2 = 0;
            In >> X2 >> Y2;
            Out.push_back({X, Y, X2, Y2, Color});
            X = X2;
            Y = Y2;
        }
    }
    return Out;
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
    const auto& W = SymbolCanvasColorsWhite();
    EXPECT_EQ(W.Description, "Default colors for a white background");
    EXPECT_EQ(W.DrawColors[dcSheet], RGBColor(0xBB, 0xBB, 0xDD));
    EXPECT_EQ(W.DrawColors[dcClicked], RGBColor(0x55, 0xB7, 0xFF));
    EXPECT_EQ(W.LineTypeColors[symlinetypeIBorder], RGBColor(0xFF, 0x66, 0x00));
    const auto& B = SymbolCanvasColorsBlack();
    EXPECT_EQ(B.DrawColors[dcBackground], RGBColor(0, 0, 0));
    EXPECT_EQ(B.LineTypeColors[symlinetypeText], RGBColor(0, 0xFF, 0));
    EXPECT_EQ(SymbolCanvasColorsDarkGray().DrawColors[dcBackground], RGBColor(0x46, 0x46, 0x4F));
    EXPECT_EQ(FindSymbolCanvasColors("white"), &W);
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
    const TPoint P{123, 456};
    EXPECT_EQ(Canvas.FromPt(Canvas.ToPt(P)), P);
    const TRect V = Canvas.VisibleArea();
    EXPECT_EQ(V.P1, TPoint(395, 590)); // top right
    EXPECT_EQ(V.P2, TPoint(-5, 290));  // bottom left
}

TEST_F(CanvasTest, SnapPointHalvesAwayFromZero) {
    const struct {
        int DrawingX, DrawingY, SnappedX, SnappedY;
    } Cases[] = {{29, 29, 20, 20}, {30, 10, 40, 20}, {-30, -10, -40, -20}, {-29, 50, -20, 60}};
    for (const auto& C : Cases)
        EXPECT_EQ(Canvas.SnapPoint({C.DrawingX, 600 - C.DrawingY}), TPoint(C.SnappedX, C.SnappedY))
            << C.DrawingX;
    Canvas.fSnapMode = snapOff;
    EXPECT_EQ(Canvas.SnapPoint({29, 571}), TPoint(29, 29));
}

TEST_F(CanvasTest, SnapAndGridFollowTheZoom) {
    const struct {
        double Zoom;
        int Snap, Grid;
    } Cases[] = {{1.0, 20, 40},    {0.5, 40, 80},   {31, 1, 1},     {0.01, 320, 640},
                 {0.05, 320, 320}, {0.1, 160, 160}, {0.25, 80, 80}, {2.5, 10, 20},
                 {5, 5, 10},       {20, 2, 10},     {30, 1, 2},     {1.5, 20, 40}};
    for (const auto& C : Cases) {
        Canvas.fZoom = 1;
        Canvas.SetZoom(C.Zoom);
        EXPECT_EQ(Canvas.fSnap, C.Snap) << C.Zoom;
        EXPECT_EQ(Canvas.fGrid, C.Grid) << C.Zoom;
    }
    Canvas.SetGridMode(grid80);
    EXPECT_EQ(Canvas.fGrid, 80);
    Canvas.SetGridMode(gridNone);
    Canvas.SetZoom(0.5);
    EXPECT_EQ(Canvas.fGrid, 80);
}

TEST_F(CanvasTest, UnusableZoomFactorsAreRefused) {
    Canvas.fZoom = 2;
    for (double F :
         {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Canvas.SetZoom(F);
        EXPECT_EQ(Canvas.fZoom, 2) << F;
    }
    Canvas.SetZoom(1e308); // overflows to infinity: refused
    EXPECT_EQ(Canvas.fZoom, 2);
    TExtentsRect E{true, 0, 100, 100, 0};
    Canvas.ZoomCenterExtents(E, std::numeric_limits<double>::quiet_NaN());
    Canvas.ZoomCenterExtents(E, 0);
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
    const TExtentsRect Line{true, 100, 500, 100, 100};
    Canvas.ZoomExtents(Line);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 600.0 / 404);
    EXPECT_EQ(Canvas.ToPtY(500), 0);
    EXPECT_NEAR(Canvas.ToPtX(102), 400, 1);
    EXPECT_EQ(Canvas.fGrid, 40);

    // Width limits: the left edge lands on pixel 0 and the drawing is centred vertically.
    const TExtentsRect Wide{true, -1000, 100, 2996, 0};
    Canvas.ZoomExtents(Wide);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 0.2);
    EXPECT_EQ(Canvas.ToPtX(-1000), 0);
    EXPECT_EQ(Canvas.ToPtY(50), 300);

    Canvas.ZoomCenterExtents(Wide, 1);
    EXPECT_EQ(Canvas.fZoom, 1);
    EXPECT_EQ(Canvas.ToPtX(1000), 400);
    EXPECT_EQ(Canvas.ToPtY(48), 300);

    // An empty device or inverted extents reset the view instead of producing zoom 0 or less.
    Canvas.fSize = {0, 0};
    Canvas.ZoomExtents(Wide);
    EXPECT_EQ(Canvas.fZoom, 1);
    EXPECT_EQ(Canvas.fStart, TPoint(0, 0));
    Canvas.fSize = {800, 600};
    Canvas.ZoomExtents(TExtentsRect{true, 10, 0, 0, 10});
    EXPECT_EQ(Canvas.fZoom, 1);
}

TEST_F(CanvasTest, ClearCanvasDrawsTheDynamicGrid) {
    Canvas.fSize = {100, 100};
    Canvas.ClearCanvas();
    const auto& Calls = Surface.Calls();
    ASSERT_GE(Calls.size(), 3u);
    EXPECT_EQ(Calls[0], "Pen #46464F solid 1 copy");
    EXPECT_EQ(Calls[1], "Brush #46464F solid");
    EXPECT_EQ(Calls[2], "FillRect 0 0 100 100");
    const TColor Major = RGBColor(0x51, 0x51, 0x51), Minor = RGBColor(0x49, 0x49, 0x49);
    // Vertical lines at -40, 0, 40, 80 and horizontal ones at 120, 80, 40, 0; multiples of 80 are major.
    const std::vector<TPiece> Expected = {{-40, 0, -40, 100, Minor}, {0, 0, 0, 100, Major},
                                          {40, 0, 40, 100, Minor},   {80, 0, 80, 100, Major},
                                          {0, -20, 100, -20, Minor}, {0, 20, 100, 20, Major},
                                          {0, 60, 100, 60, Minor},   {0, 100, 100, 100, Major}};
    const auto Got = Pieces(Surface);
    ASSERT_EQ(Got.size(), Expected.size());
    for (size_t I = 0; I < Got.size(); ++I) {
        EXPECT_EQ(Got[I].X1, Expected[I].X1) << I;
        EXPECT_EQ(Got[I].Y1, Expected[I].Y1) << I;
        EXPECT_EQ(Got[I].X2, Expected[I].X2) << I;
        EXPECT_EQ(Got[I].Y2, Expected[I].Y2) << I;
        EXPECT_EQ(Got[I].Color, Expected[I].Color) << I;
    }
    // Snap dots off the grid lines: x in {-20, 20, 60, 100}, y in {100, 60, 20}.
    const auto Dots = Surface.CallsStartingWith("SetPixel");
    EXPECT_EQ(Dots.size(), 12u);
    EXPECT_NE(std::find(Dots.begin(), Dots.end(), "SetPixel 20 40 #7C7C7C"), Dots.end());
}

class DashTest : public CanvasTest {
protected:
    void SetUp() override {
        // Zoom 10 so fractions of a unit show in whole pixels; y = 0 on row 500.
        Canvas.fSize = {4000, 1000};
        Canvas.fZoom = 10;
        Canvas.fStart = {0, -9500};
    }
    std::vector<std::pair<int, int>> Draw(TPenStyle Style, double Length, TColor Second = 0) {
        Surface.SetPen({RGBColor(1, 2, 3), Style, 1, TPenMode::Copy});
        Surface.ClearCalls();
        Canvas.DrawNonSolidLine({0, 0}, {Length, 0}, Second);
        std::vector<std::pair<int, int>> Out;
        for (const TPiece& P : Pieces(Surface)) {
            EXPECT_EQ(P.Y1, 500);
            EXPECT_EQ(P.Y2, 500);
            Out.push_back({P.X1, P.X2});
        }
        EXPECT_EQ(Surface.Pen().Style, Style); // restored
        return Out;
    }
};

TEST_F(DashTest, PiecesAreSymmetricInDrawingUnits) {
    using V = std::vector<std::pair<int, int>>;
    const struct {
        TPenStyle Style;
        double Length;
        V Expected;
    } Cases[] = {
        {TPenStyle::Dash, 52, {{0, 520}}},
        {TPenStyle::Dash, 52.8, {{0, 4}, {84, 444}, {524, 528}}},
        {TPenStyle::Dash, 100, {{0, 20}, {100, 460}, {540, 900}, {980, 1000}}},
        {TPenStyle::Dot, 38.4, {{0, 384}}},
        {TPenStyle::Dot, 40, {{0, 160}, {240, 400}}},
        {TPenStyle::DashDot, 144, {{0, 1440}}},
        {TPenStyle::DashDot, 200, {{0, 360}, {440, 600}, {680, 1320}, {1400, 1560}, {1640, 2000}}},
        {TPenStyle::Solid, 200, {{0, 2000}}},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Draw(C.Style, C.Length), C.Expected) << C.Length;
    // The pieces are drawn with a solid pen, then the styled pen comes back.
    Draw(TPenStyle::Dash, 100);
    EXPECT_EQ(Surface.CallsStartingWith("Pen"),
              (std::vector<std::string>{"Pen #010203 solid 1 copy", "Pen #010203 dash 1 copy"}));
}

TEST_F(DashTest, SecondColourAlternatesFromTheFirstPiece) {
    const TColor Second = RGBColor(9, 9, 9);
    Draw(TPenStyle::Dash, 100, Second);
    std::vector<TColor> Colors;
    for (const TPiece& P : Pieces(Surface))
        Colors.push_back(P.Color);
    EXPECT_EQ(Colors, (std::vector<TColor>{RGBColor(1, 2, 3), Second, RGBColor(1, 2, 3), Second}));
    EXPECT_EQ(Surface.Pen().Color, RGBColor(1, 2, 3));
}

TEST_F(DashTest, HugeSegmentDrawsOnlyVisiblePiecesInPlace) {
    Canvas.fZoom = 1;
    Canvas.fStart = {0, 0};
    Canvas.fSize = {800, 600};
    const double X0 = -2e9, L = 4e9;
    Surface.SetPen({0, TPenStyle::Dash, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawNonSolidLine({X0, 300}, {X0 + L, 300});
    const auto Got = Pieces(Surface);
    ASSERT_GE(Got.size(), 15u);
    ASSERT_LE(Got.size(), 25u); // 800 pixels hold about 18 periods of 44
    // Every piece starts where the pattern of the whole segment puts a dash.
    const double N = std::trunc(L / 44), A = (L - (44 * N + 8)) / 2;
    for (const TPiece& P : Got) {
        const double Phase = std::fmod(P.X1 - (X0 + A + 8), 44.0);
        EXPECT_TRUE(std::fabs(Phase) <= 1 || std::fabs(Phase - 44) <= 1 || std::fabs(Phase + 44) <= 1)
            << P.X1;
        EXPECT_EQ(std::abs(P.X2 - P.X1), 36);
        EXPECT_GT(P.X2, -50);
        EXPECT_LT(P.X1, 850);
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
    const double X0 = -2e9, L = 4e9;
    Surface.SetPen({0, TPenStyle::Dash, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawNonSolidLine({X0, 0}, {X0 + L, 0});
    const auto Got = Pieces(Surface);
    // 2 * 2^22 pixels hold about 190 000 periods of 44.
    ASSERT_GE(Got.size(), 150000u);
    ASSERT_LE(Got.size(), 250000u);
    for (const TPiece& P : Got) {
        ASSERT_GE(std::min(P.X1, P.X2), -SafeDeviceCoord);
        ASSERT_LE(std::max(P.X1, P.X2), SafeDeviceCoord);
    }
}

TEST_F(CanvasTest, ExtremeCoordinatesAtHighZoomStayInRangeAndOnTheLine) {
    Canvas.fZoom = 200;
    const TPoint Far = Canvas.ToPt(TPoint(INT32_MAX, INT32_MIN));
    EXPECT_EQ(Far, TPoint(SafeDeviceCoord, SafeDeviceCoord));
    EXPECT_EQ(Canvas.ToPt(TPoint(INT32_MIN, INT32_MAX)), TPoint(-SafeDeviceCoord, -SafeDeviceCoord));
    const TPoint Back = Canvas.FromPt({INT32_MAX, INT32_MIN});
    EXPECT_GT(Back.X, 0);
    EXPECT_GT(Back.Y, 0);

    // A slanted line between extreme points: what reaches the surface is clipped, not clamped, so
    // it keeps its direction through the visible area. Drawing y = x + 3 maps to row = 600*200 - 200*(x + 3).
    Canvas.MoveTo(TXYPoint{double(INT32_MIN), double(INT32_MIN) + 3});
    Canvas.LineTo(TXYPoint{double(INT32_MAX) - 3, double(INT32_MAX)});
    for (const TPiece& P : Pieces(Surface)) {
        for (const auto& [X, Y] : {std::pair{P.X1, P.Y1}, std::pair{P.X2, P.Y2}}) {
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
    const TXYPoint Pts[] = {{0, 0}, {100, 0}, {100, 100}};
    Surface.SetPen({0, TPenStyle::Solid, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawLines(Pts);
    EXPECT_EQ(Surface.Calls(),
              (std::vector<std::string>{"MoveTo 0 600", "LineTo 100 600", "LineTo 100 500"}));
    Surface.SetPen({0, TPenStyle::Dash, 1, TPenMode::Copy});
    Surface.ClearCalls();
    Canvas.DrawLines(Pts);
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
    const TColor Red = RGBColor(0xFF, 0, 0);
    Canvas.fShowTextBorders = false;
    Canvas.DrawTextBorder({0, 0}, {100, 20}, symborderstyleNone, Red);
    EXPECT_TRUE(Surface.Calls().empty());
    Canvas.DrawTextBorder({0, 0}, {100, 60}, symborderstyleDashed, Red);
    const auto Sides = Pieces(Surface);
    EXPECT_EQ(Sides.size(), 14u); // 100 long: 4 pieces each; 60 long: 3 pieces each
    for (const TPiece& P : Sides)
        EXPECT_EQ(P.Color, Red);
    EXPECT_EQ(Surface.Pen().Style, TPenStyle::Dash);

    Canvas.fShowTextBorders = true;
    Surface.ClearCalls();
    Canvas.DrawTextBorder({0, 20}, {100, 0}, symborderstyleNone, Red);
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
    const TColor Over = RGBColor(1, 2, 3);
    const struct {
        TSymbolDrawMode Mode;
        TSymLineType Type;
        TSymLineStyle Style;
        bool Overruled;
        bool Pan;
        TColor Color;
        TPenStyle PenStyle;
    } Cases[] = {
        {sdmNormal, symlinetypePilot, symlinestyleDefault, false, false, RGBColor(0xFF, 0, 0),
         TPenStyle::Dash},
        {sdmNormal, symlinetypeDrain, symlinestyleDefault, false, false, RGBColor(0xFF, 0, 0xFF),
         TPenStyle::Dot},
        {sdmNormal, symlinetypeBorder, symlinestyleDefault, false, false, RGBColor(0, 0xFF, 0xFF),
         TPenStyle::DashDot},
        {sdmNormal, symlinetypeNone, symlinestyleDefault, false, false, RGBColor(0xFF, 0xFF, 0xFF),
         TPenStyle::Solid},
        {sdmNormal, symlinetypeSymbol, symlinestyleHidden, true, false, Over, TPenStyle::Dot},
        {sdmNormal, symlinetypePilot, symlinestyleDefault, false, true, RGBColor(0xFF, 0, 0),
         TPenStyle::Solid},
        {sdmDrag, symlinetypeSymbol, symlinestyleDashed, true, false, RGBColor(0, 0xFF, 0xFF),
         TPenStyle::Dash},
        {sdmHighlight, symlinetypeText, symlinestyleSolid, true, false, RGBColor(0, 0, 0xFF),
         TPenStyle::Solid},
    };
    for (const auto& C : Cases) {
        Canvas.fPan = C.Pan;
        Canvas.ApplyObjectPen(C.Mode, C.Type, C.Style, C.Overruled, Over);
        EXPECT_EQ(Surface.Pen(), (TPen{C.Color, C.PenStyle, 1, TPenMode::Copy})) << int(C.Type);
        EXPECT_EQ(Surface.Brush(), (TBrush{C.Color, TBrushStyle::Clear}));
    }
    Canvas.fPan = false;
    Canvas.ApplyObjectBrush(true, sdmNormal, symlinetypeText, false, 0);
    EXPECT_EQ(Surface.Brush(), (TBrush{RGBColor(0, 0xFF, 0), TBrushStyle::Solid}));
}

TEST_F(CanvasTest, GroupPenRule) {
    Canvas.fCanvasColors = SymbolCanvasColorsBlack();
    const TColor Group = RGBColor(0x12, 0x34, 0x56), Highlight = RGBColor(0, 0, 0xFF);
    const struct {
        TSymbolDrawMode Mode;
        TColor GroupColor;
        TColor Expected;
    } Cases[] = {
        {sdmNormal, Group, Group},
        {sdmHighlight, Group, Highlight},
        {sdmHighlight, Highlight, RGBColor(0x77, 0x77, 0xFF)},
        {sdmDrag, Group, RGBColor(0, 0xFF, 0xFF)},
    };
    for (const auto& C : Cases) {
        Canvas.ApplyObjectPen(C.Mode, symlinetypeLine, symlinestyleDefault, false, 0);
        Canvas.ApplyGroupPen(C.Mode, C.GroupColor, symlinestyleDashed);
        EXPECT_EQ(Surface.Pen().Color, C.Expected) << int(C.Mode);
        EXPECT_EQ(Surface.Pen().Style, TPenStyle::Dash);
        EXPECT_EQ(Surface.Font().Color, C.Expected);
    }
    Canvas.fPan = true;
    Canvas.ApplyGroupPen(sdmNormal, Group, symlinestyleBorder);
    EXPECT_EQ(Surface.Pen().Style, TPenStyle::Solid);
}
} // namespace
