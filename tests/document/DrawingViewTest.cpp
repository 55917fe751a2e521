#include <gtest/gtest.h>

#include <cstdint>

#include "document/DrawingView.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

namespace {

class DrawingViewTest : public ::testing::Test {
protected:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    void SetUp() override {
        SetupViewCanvas(Canvas, 96);
        Canvas.fSize = {800, 600};
    }
};

TEST_F(DrawingViewTest, ZoomingAtAPointKeepsThatDrawingPointUnderIt) {
    Canvas.fZoom = 2;
    Canvas.fStart = {-30, 40};
    const TPoint p(250, 180);
    const TPoint before = Canvas.FromPt(p);
    ASSERT_TRUE(ZoomCanvasAtPoint(Canvas, p, 1.5));
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 3);
    EXPECT_EQ(Canvas.ToPt(before), p);
    EXPECT_FALSE(ZoomCanvasAtPoint(Canvas, p, 1000)); // past the largest zoom: nothing changes
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 3);
}

TEST_F(DrawingViewTest, OriginsAtTheEdgeOfTheCoordinateRangeSaturate) {
    // A view panned as far as it goes: the new origin lies beyond 32 bits and is clamped, never
    // wrapped to the other end.
    Canvas.fZoom = 100;
    Canvas.fStart = {0, INT32_MAX};
    ASSERT_TRUE(ZoomCanvasAtPoint(Canvas, {0, 0}, 2));
    EXPECT_EQ(Canvas.fStart.Y, INT32_MAX);

    TSymbolCanvas pan(&Surface);
    Canvas.fStart = {INT32_MAX, 0};
    SetupPanCanvas(Canvas, pan, 800, 600, 0, 0);
    EXPECT_EQ(pan.fStart.X, INT32_MAX);
    EXPECT_EQ(pan.fSize, TPoint(1600, 1200));
}

} // namespace
