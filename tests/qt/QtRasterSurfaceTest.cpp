#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {
// Text drawing in a QImage needs an application object. It lives until the process ends:
// destroying it among the static destructors would run after Qt's own globals are gone.
void EnsureApp() {
    if (QGuiApplication::instance()) return;
    static int Argc = 1;
    static char Name[] = "test_platform";
    static char* Argv[] = {Name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(Argc, Argv);
}

constexpr TColor Black = RGBColor(0, 0, 0);
constexpr TColor White = RGBColor(0xFF, 0xFF, 0xFF);

class QtSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        Image = QImage(64, 48, QImage::Format_RGB32);
        Image.fill(Qt::black);
    }
    TColor At(int X, int Y) const {
        const QRgb P = Image.pixel(X, Y);
        return RGBColor(uint8_t(qRed(P)), uint8_t(qGreen(P)), uint8_t(qBlue(P)));
    }
    // The columns of row Y that are not black.
    std::vector<int> LitColumns(int Y) const {
        std::vector<int> Out;
        for (int X = 0; X < Image.width(); ++X)
            if (At(X, Y) != Black) Out.push_back(X);
        return Out;
    }
    QImage Image;
};

TEST_F(QtSurfaceTest, LinesLeaveOutTheirLastPixel) {
    {
        TQtRasterSurface S(&Image);
        S.SetPen({White, TPenStyle::Solid, 1, TPenMode::Copy});
        S.MoveTo({0, 5});
        S.LineTo({10, 5});
        S.MoveTo({20, 2});
        S.LineTo({20, 12}); // vertical: rows 2..11
    }
    std::vector<int> Expected;
    for (int X = 0; X < 10; ++X)
        Expected.push_back(X);
    Expected.push_back(20);
    EXPECT_EQ(LitColumns(5), Expected);
    EXPECT_EQ(At(20, 2), White);
    EXPECT_EQ(At(20, 11), White);
    EXPECT_EQ(At(20, 12), Black);
    EXPECT_EQ(At(20, 1), Black);
    EXPECT_EQ(LitColumns(4), std::vector<int>{20}); // exactly one row thick
}

TEST_F(QtSurfaceTest, GdiBoxesAreExclusiveAtRightAndBottom) {
    {
        TQtRasterSurface S(&Image);
        S.SetPen({White, TPenStyle::Solid, 1, TPenMode::Copy});
        S.SetBrush({White, TBrushStyle::Clear});
        S.Ellipse(TRect({0, 0}, {11, 11}));
        S.Rectangle(TRect({20, 0}, {31, 11}));
        S.SetBrush({RGBColor(0xFF, 0, 0), TBrushStyle::Solid});
        S.FillRect(TRect({40, 0}, {45, 3}));
    }
    // The ellipse touches columns 0 and 10 and rows 0 and 10, never 11.
    EXPECT_EQ(At(5, 0), White);
    EXPECT_EQ(At(0, 5), White);
    EXPECT_EQ(At(10, 5), White);
    EXPECT_EQ(At(5, 10), White);
    for (int I = 0; I < 12; ++I) {
        EXPECT_EQ(At(11, I), Black) << I;
        EXPECT_EQ(At(I, 11), Black) << I;
    }
    EXPECT_EQ(At(5, 5), Black); // clear brush
    // Rectangle outline on 20..30 x 0..10.
    EXPECT_EQ(At(20, 5), White);
    EXPECT_EQ(At(30, 5), White);
    EXPECT_EQ(At(31, 5), Black);
    EXPECT_EQ(At(25, 10), White);
    EXPECT_EQ(At(25, 11), Black);
    EXPECT_EQ(At(44, 2), RGBColor(0xFF, 0, 0));
    EXPECT_EQ(At(45, 2), Black);
    EXPECT_EQ(At(44, 3), Black);
}

TEST_F(QtSurfaceTest, CanvasLineLandsOnTheTransformedRowInSchemeColours) {
    {
        TQtRasterSurface S(&Image);
        TSymbolCanvas Canvas(&S);
        Canvas.fCanvasColors = SymbolCanvasColorsWhite();
        Canvas.fShowGrid = false;
        Canvas.fSize = {64, 48};
        Canvas.fZoom = 0.5;
        Canvas.ClearCanvas();
        Canvas.ApplyObjectPen(sdmNormal, symlinetypePilot, symlinestyleSolid, false, 0);
        // y = 41 maps to row Round((48 - 41) * 0.5) = Round(3.5) = 4.
        Canvas.MoveTo(TXYPoint{0, 41});
        Canvas.LineTo(TXYPoint{100, 41});
    }
    const TColor Red = RGBColor(0xFF, 0, 0);
    EXPECT_EQ(At(0, 4), Red);
    EXPECT_EQ(At(49, 4), Red);
    EXPECT_EQ(At(50, 4), White); // the last pixel is left out
    EXPECT_EQ(At(10, 3), White);
    EXPECT_EQ(At(10, 5), White);
}

TEST_F(QtSurfaceTest, DashedCanvasLineHasItsGapsWhereThePatternPutsThem) {
    {
        TQtRasterSurface S(&Image);
        TSymbolCanvas Canvas(&S);
        Canvas.fCanvasColors = SymbolCanvasColorsBlack();
        Canvas.fShowGrid = false;
        Canvas.fSize = {64, 48};
        Canvas.fZoom = 0.5;
        Canvas.ClearCanvas();
        Canvas.ApplyObjectPen(sdmNormal, symlinetypePilot, symlinestyleDefault, false, 0);
        // 100 units dashed: pieces 0-2, 10-46, 54-90, 98-100, i.e. pixels 0-1, 5-23, 27-45, 49-50.
        Canvas.DrawNonSolidLine({0, 40}, {100, 40});
    }
    std::vector<int> Expected;
    for (const auto& [From, To] : {std::pair{0, 1}, {5, 23}, {27, 45}, {49, 50}})
        for (int X = From; X < To; ++X)
            Expected.push_back(X);
    EXPECT_EQ(LitColumns(4), Expected);
    EXPECT_EQ(At(6, 4), RGBColor(0xFF, 0, 0));
}

TEST_F(QtSurfaceTest, ArcRunsCounterClockwiseFromStartToEndRay) {
    {
        TQtRasterSurface S(&Image);
        S.SetPen({White, TPenStyle::Solid, 1, TPenMode::Copy});
        // Circle of radius 10 about (20, 20); from the ray to the right to the ray upward: the
        // upper right quarter only.
        S.Arc(TRect({10, 10}, {31, 31}), {40, 20}, {20, 0});
    }
    EXPECT_EQ(At(30, 20), White);
    EXPECT_EQ(At(22, 10), White);
    EXPECT_EQ(At(30, 21), Black);
    EXPECT_EQ(At(27, 13), White);
    EXPECT_EQ(At(10, 20), Black);
    EXPECT_EQ(At(20, 30), Black);
    EXPECT_EQ(At(13, 27), Black);
}

TEST_F(QtSurfaceTest, TextIsMeasuredAndDrawnInPixels) {
    TSize Small, Large;
    {
        TQtRasterSurface S(&Image);
        TFontSpec F;
        F.Name = "Arial";
        F.Height = 20;
        F.Color = White;
        S.SetFont(F);
        Small = S.TextExtent("Hi");
        S.TextOut({2, 2}, "H");
        F.Height = 40;
        S.SetFont(F);
        Large = S.TextExtent("Hi");
    }
    EXPECT_GT(Small.cx, 10);
    EXPECT_GE(Small.cy, 20);
    EXPECT_NEAR(Large.cx, 2 * Small.cx, 2);
    // The H's stem starts just right of the reference point and its top is below it.
    bool Lit = false;
    for (int Y = 2; Y < 24; ++Y)
        for (int X = 2; X < 16; ++X)
            Lit = Lit || At(X, Y) == White;
    EXPECT_TRUE(Lit);
    EXPECT_TRUE(LitColumns(0).empty());
    EXPECT_TRUE(LitColumns(1).empty());
}

TEST_F(QtSurfaceTest, RotatedTextRunsUpward) {
    {
        TQtRasterSurface S(&Image);
        TFontSpec F;
        F.Height = 12;
        F.Color = White;
        F.Escapement = 900;
        S.SetFont(F);
        S.TextOut({10, 44}, "HHHHHH");
    }
    // Rotated a quarter turn counter-clockwise about (10, 44): the text climbs the image to the right of x
    // = 10.
    int Top = 48, MaxX = 0;
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 64; ++X)
            if (At(X, Y) == White) {
                Top = std::min(Top, Y);
                MaxX = std::max(MaxX, X);
            }
    EXPECT_LT(Top, 20);
    EXPECT_LE(MaxX, 24);
}
} // namespace
