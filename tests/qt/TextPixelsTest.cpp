// Texts drawn with real fonts: the box measured for a text holds its pixels, in both
// orientations and for characters outside Latin-1.
#include "objects/TextObjects.h"
#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

void EnsureApp() {
    if (QGuiApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
}

struct TInk {
    int Left = INT32_MAX, Top = INT32_MAX, Right = -1, Bottom = -1;
    bool Any() const { return Right >= 0; }
};

TInk InkOf(const QImage& image) {
    TInk ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
                ink.Top = std::min(ink.Top, y);
                ink.Bottom = std::max(ink.Bottom, y);
            }
    return ink;
}

class TextPixelsTest : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(TextPixelsTest, BoxHoldsTheInk) {
    EnsureApp();
    const auto [caption, rotation] = GetParam();
    QImage image(600, 600, QImage::Format_RGB32);
    image.fill(Qt::black);
    TSymbolObjectText text;
    text.fP1 = {300, 300};
    text.fHeight = 30;
    text.fRotation = rotation;
    text.fAlign = taMiddle;
    text.fCaptionList = {caption};
    TPoint c1, c2;
    {
        TQtRasterSurface surface(&image);
        TSymbolCanvas canvas(&surface);
        canvas.fSize = {600, 600};
        canvas.fCanvasColors = SymbolCanvasColorsBlack();
        canvas.fShowTextBorders = false;
        text.Draw(canvas, sdmNormal, false, nullptr);
        c1 = canvas.ToPt(text.fExtents.C1);
        c2 = canvas.ToPt(text.fExtents.C2);
    }
    const TInk ink = InkOf(image);
    ASSERT_TRUE(ink.Any());
    const int left = std::min(c1.X, c2.X), right = std::max(c1.X, c2.X);
    const int top = std::min(c1.Y, c2.Y), bottom = std::max(c1.Y, c2.Y);
    // Within the box (a pixel of anti-aliasing aside), and filling most of its length.
    constexpr int slack = 2;
    EXPECT_GE(ink.Left, left - slack);
    EXPECT_LE(ink.Right, right + slack);
    EXPECT_GE(ink.Top, top - slack);
    EXPECT_LE(ink.Bottom, bottom + slack);
    const int along = rotation == 90 ? ink.Bottom - ink.Top : ink.Right - ink.Left;
    const int length = rotation == 90 ? bottom - top : right - left;
    EXPECT_GT(along, length * 8 / 10);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextPixelsTest,
                         ::testing::Combine(::testing::Values("Valve Hg 42",
                                                              "\xC3\x98 10 \xC2\xB5m 250 \xC2\xB0"
                                                              "C",
                                                              "\xE6\xB6\xB2\xE5\x8E\x8B\xE9\x98\x80"),
                                            ::testing::Values(0, 90)));

TEST(TextPixels, CharactersWithoutGlyphsDoNotStopTheDrawing) {
    EnsureApp();
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    TQtRasterSurface surface(&image);
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {200, 100};
    TSymbolObjectText text;
    text.fP1 = {10, 50};
    // An unassigned code point, a private-use one and a lone continuation byte.
    text.fCaptionList = {"A\xCD\xB8\xF3\xB0\x80\x80\x80Z"};
    text.Draw(canvas, sdmNormal, false, nullptr);
    EXPECT_TRUE(text.fExtents.Defined);
    EXPECT_TRUE(InkOf(image).Any());
}

} // namespace
