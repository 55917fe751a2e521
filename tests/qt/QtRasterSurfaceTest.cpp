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
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
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
    TColor At(int x, int y) const {
        const QRgb p = Image.pixel(x, y);
        return RGBColor(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p)));
    }
    // The columns of row Y that are not black.
    std::vector<int> LitColumns(int y) const {
        std::vector<int> out;
        for (int x = 0; x < Image.width(); ++x)
            if (At(x, y) != Black) out.push_back(x);
        return out;
    }
    QImage Image;
};

TEST_F(QtSurfaceTest, LinesLeaveOutTheirLastPixel) {
    {
        TQtRasterSurface s(&Image);
        s.SetPen({White, TPenStyle::Solid, 1, TPenMode::Copy});
        s.MoveTo({0, 5});
        s.LineTo({10, 5});
        s.MoveTo({20, 2});
        s.LineTo({20, 12}); // vertical: rows 2..11
    }
    std::vector<int> expected;
    for (int x = 0; x < 10; ++x)
        expected.push_back(x);
    expected.push_back(20);
    EXPECT_EQ(LitColumns(5), expected);
    EXPECT_EQ(At(20, 2), White);
    EXPECT_EQ(At(20, 11), White);
    EXPECT_EQ(At(20, 12), Black);
    EXPECT_EQ(At(20, 1), Black);
    EXPECT_EQ(LitColumns(4), std::vector<int>{20}); // exactly one row thick
}

TEST_F(QtSurfaceTest, GdiBoxesAreExclusiveAtRightAndBottom) {
    {
        TQtRasterSurface s(&Image);
        s.SetPen({White, TPenStyle::Solid, 1, TPenMode::Copy});
        s.SetBrush({White, TBrushStyle::Clear});
        s.Ellipse(TRect({0, 0}, {11, 11}));
        s.Rectangle(TRect({20, 0}, {31, 11}));
        s.SetBrush({RGBColor(0xFF, 0, 0), TBrushStyle::Solid});
        s.FillRect(TRect({40, 0}, {45, 3}));
    }
    // The ellipse touches columns 0 and 10 and rows 0 and 10, never 11.
    EXPECT_EQ(At(5, 0), White);
    EXPECT_EQ(At(0, 5), White);
    EXPECT_EQ(At(10, 5), White);
    EXPECT_EQ(At(5, 10), White);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(At(11, i), Black) << i;
        EXPECT_EQ(At(i, 11), Black) << i;
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
        TQtRasterSurface s(&Image);
        TSymbolCanvas canvas(&s);
        canvas.fCanvasColors = SymbolCanvasColorsWhite();
        canvas.fShowGrid = false;
        canvas.fSize = {64, 48};
        canvas.fZoom = 0.5;
        canvas.ClearCanvas();
        canvas.ApplyObjectPen(sdmNormal, symlinetypePilot, symlinestyleSolid, false, 0);
        // y = 41 maps to row Round((48 - 41) * 0.5) = Round(3.5) = 4.
        canvas.MoveTo(TXYPoint{0, 41});
        canvas.LineTo(TXYPoint{100, 41});
    }
    const TColor red = RGBColor(0xFF, 0, 0);
    EXPECT_EQ(At(0, 4), red);
    EXPECT_EQ(At(49, 4), red);
    EXPECT_EQ(At(50, 4), White); // the last pixel is left out
    EXPECT_EQ(At(10, 3), White);
    EXPECT_EQ(At(10, 5), White);
}

TEST_F(QtSurfaceTest, DashedCanvasLineHasItsGapsWhereThePatternPutsThem) {
    {
        TQtRasterSurface s(&Image);
        TSymbolCanvas canvas(&s);
        canvas.fCanvasColors = SymbolCanvasColorsBlack();
        canvas.fShowGrid = false;
        canvas.fSize = {64, 48};
        canvas.fZoom = 0.5;
        canvas.ClearCanvas();
        canvas.ApplyObjectPen(sdmNormal, symlinetypePilot, symlinestyleDefault, false, 0);
        // 100 units dashed: pieces 0-2, 10-46, 54-90, 98-100, i.e. pixels 0-1, 5-23, 27-45, 49-50.
        canvas.DrawNonSolidLine({0, 40}, {100, 40});
    }
    std::vector<int> expected;
    for (const auto& [From, To] : {std::pair{0, 1}, {5, 23}, {27, 45}, {49, 50}})
        for (int x = From; x < To; ++x)
            expected.push_back(x);
    EXPECT_EQ(LitColumns(4), expected);
    EXPECT_EQ(At(6, 4), RGBColor(0xFF, 0, 0));
}

TEST_F(QtSurfaceTest, ArcRunsCounterClockwiseFromStartToEndRay) {
    {
        TQtRasterSurface s(&Image);
        s.SetPen({White, TPenStyle::Solid, 1, TPenMode::Copy});
        // Circle of radius 10 about (20, 20); from the ray to the right to the ray upward: the
        // upper right quarter only.
        s.Arc(TRect({10, 10}, {31, 31}), {40, 20}, {20, 0});
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
    TSize small, large;
    {
        TQtRasterSurface s(&Image);
        TFontSpec f;
        f.Name = "Arial";
        f.Height = 20;
        f.Color = White;
        s.SetFont(f);
        small = s.TextExtent("Hi");
        s.TextOut({2, 2}, "H");
        f.Height = 40;
        s.SetFont(f);
        large = s.TextExtent("Hi");
    }
    EXPECT_GT(small.cx, 10);
    EXPECT_GE(small.cy, 20);
    EXPECT_NEAR(large.cx, 2 * small.cx, 2);
    // The H's stem starts just right of the reference point and its top is below it.
    bool lit = false;
    for (int y = 2; y < 24; ++y)
        for (int x = 2; x < 16; ++x)
            lit = lit || At(x, y) == White;
    EXPECT_TRUE(lit);
    EXPECT_TRUE(LitColumns(0).empty());
    EXPECT_TRUE(LitColumns(1).empty());
}

TEST_F(QtSurfaceTest, RotatedTextRunsUpward) {
    {
        TQtRasterSurface s(&Image);
        TFontSpec f;
        f.Height = 12;
        f.Color = White;
        f.Escapement = 900;
        s.SetFont(f);
        s.TextOut({10, 44}, "HHHHHH");
    }
    // Rotated a quarter turn counter-clockwise about (10, 44): the text climbs the image to the right of x
    // = 10.
    int top = 48, maxX = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            if (At(x, y) == White) {
                top = std::min(top, y);
                maxX = std::max(maxX, x);
            }
    EXPECT_LT(top, 20);
    EXPECT_LE(maxX, 24);
}
// Small ellipses and single pixels are written straight into the picture; they must give the
// pixels the paint engine gives, which it does here because a clip turns the shortcut off.
TEST(QtSurfaceDirectPixels, SmallEllipsesAndPixelsMatchThePaintEngine) {
    EnsureApp();
    struct TLook {
        TPenStyle Pen;
        TBrushStyle Brush;
    };
    const TLook looks[] = {{TPenStyle::Solid, TBrushStyle::Clear},
                           {TPenStyle::Solid, TBrushStyle::Solid},
                           {TPenStyle::Clear, TBrushStyle::Solid},
                           {TPenStyle::Dot, TBrushStyle::Solid}};
    int compared = 0;
    for (const TLook& look : looks) {
        QImage direct(250, 250, QImage::Format_RGB32), engine(250, 250, QImage::Format_RGB32);
        direct.fill(Qt::darkGray);
        engine.fill(Qt::darkGray);
        {
            TQtRasterSurface a(&direct), b(&engine);
            b.Painter().setClipRect(engine.rect());
            for (TQtRasterSurface* s : {&a, &b}) {
                s->SetPen({RGBColor(0xFF, 0x20, 0x10), look.Pen, 1, TPenMode::Copy});
                s->SetBrush({RGBColor(0x10, 0xC0, 0x30), look.Brush});
                // Every size up to beyond the stamped ones, each apart from the others.
                for (int w = 1; w <= 14; ++w)
                    for (int h = 1; h <= 14; ++h) {
                        const TPoint c(2 + (w - 1) * 16, 2 + (h - 1) * 16);
                        s->Ellipse(TRect(c, {c.X + w, c.Y + h}));
                    }
                // Across the picture's edges.
                for (const TPoint c : {TPoint(-3, 230), TPoint(244, 232), TPoint(232, -4), TPoint(238, 245)})
                    s->Ellipse(TRect(c, {c.X + 9, c.Y + 7}));
                for (int x = -1; x <= 250; x += 7)
                    s->SetPixel({x, 247 - x % 3}, RGBColor(0x40, 0x50, 0xF0));
            }
        }
        for (int y = 0; y < direct.height(); ++y)
            for (int x = 0; x < direct.width(); ++x) {
                ASSERT_EQ(direct.pixel(x, y), engine.pixel(x, y))
                    << "pen " << int(look.Pen) << " brush " << int(look.Brush) << " at " << x << "," << y;
                compared += direct.pixel(x, y) != QColor(Qt::darkGray).rgb();
            }
    }
    EXPECT_GT(compared, 1000);
}
} // namespace
