#include "render/Arcs.h"
#include "render/IntLines.h"
#include "render/PointLists.h"
#include "render/PointUtils.h"
#include "render/XYLines.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;

TEST(Numeric, RoundHalvesToEvenAndSaturates) {
    const struct {
        double In;
        int32_t Out;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {-0.5, 0},
                 {-1.5, -2},
                 {2.4999, 2},
                 {2.5001, 3},
                 {1e300, INT32_MAX},
                 {-1e300, INT32_MIN},
                 {std::numeric_limits<double>::infinity(), INT32_MAX},
                 {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Round(c.In), c.Out) << c.In;
    EXPECT_EQ(Trunc(-2.7), -2);
}

TEST(Numeric, SameUsesRelativeTolerance) {
    EXPECT_TRUE(Same(1e9, 1e9 + 0.0005)); // within 1e9 * 1e-12
    EXPECT_FALSE(Same(1e9, 1e9 + 0.002));
    EXPECT_TRUE(Same(0, 1e-12));
    EXPECT_FALSE(Same(0, 2e-12));
    EXPECT_FALSE(Same(1, 1.000001));
}

TEST(IntegerPoints, Transformations) {
    EXPECT_EQ(PointDist({0, 0}, {3, 0}), 3.0);
    EXPECT_EQ(PointDist({0, 0}, {3, 4}), 5.0);
    EXPECT_EQ(RotatePoint90({10, 0}, {0, 0}), TPoint(0, 10));
    TPoint p{17, -4};
    for (int i = 0; i < 4; ++i)
        p = RotatePoint90(p, {3, 5});
    EXPECT_EQ(p, TPoint(17, -4));
    EXPECT_EQ(RotatePoint({10, 0}, {0, 0}, Pi), TPoint(-10, 0));
    EXPECT_EQ(RotatePoint({0, 10}, {0, 0}, Pi / 2), TPoint(-10, 0));
    EXPECT_EQ(FlipPointX({7, 3}, {5, 0}), TPoint(3, 3));
    EXPECT_EQ(FlipPointY({7, 3}, {0, 5}), TPoint(7, 7));
    EXPECT_EQ(ScalePoint({3, 3}, {0, 0}, 0.5), TPoint(2, 2));
    EXPECT_EQ(PointMid({0, 0}, {5, -5}), TPoint(2, -2));
    EXPECT_DOUBLE_EQ(PointAngle({0, 0}, {0, 10}), 270);
    EXPECT_DOUBLE_EQ(PointAngle({5, 5}, {5, 5}), 0);
    EXPECT_NEAR(PointAngle({-1, 1}, {0, 0}), 135, 1e-5);
}

TEST(IntegerPoints, ExtremeCoordinatesDoNotOverflow) {
    const TPoint lo{INT32_MIN, INT32_MIN}, hi{INT32_MAX, INT32_MAX};
    EXPECT_DOUBLE_EQ(PointDist(lo, {INT32_MAX, INT32_MIN}), 4294967295.0);
    EXPECT_EQ(FlipPointX(lo, hi).X, INT32_MAX); // saturates instead of wrapping
    EXPECT_EQ(RotatePoint90(hi, lo), TPoint(INT32_MIN, INT32_MAX));
    EXPECT_TRUE(PointsCollinear(lo, {0, 0}, hi));
    EXPECT_FALSE(PointsCollinear(lo, {0, 1}, hi));
    EXPECT_EQ(PointMid(lo, hi), TPoint(0, 0)); // -0.5 rounds to even 0
    EXPECT_EQ(TPoint(INT32_MAX, 0) + TPoint(1, 0), TPoint(INT32_MAX, 0));
    EXPECT_TRUE(PointInRect({0, 0}, TRect(lo, hi)));
    EXPECT_TRUE(SegmentMeetsRect(TRect({-10, -10}, {10, 10}), {INT32_MIN, -5}, {INT32_MAX, 5}));
}

TEST(Rectangles, PointAndSegmentTests) {
    const TRect r({0, 0}, {10, 10}), reversed({10, 10}, {0, 0});
    for (const TPoint p : {TPoint(0, 0), TPoint(10, 5), TPoint(5, 10), TPoint(10, 10)}) {
        EXPECT_TRUE(PointInRect(p, r));
        EXPECT_TRUE(PointInRect(p, reversed));
    }
    EXPECT_FALSE(PointInRect({11, 5}, r));
    // Increasing span inclusive, decreasing span strict.
    EXPECT_TRUE(PointInSpan({0, 0}, {0, 0}, {10, 10}));
    EXPECT_FALSE(PointInSpan({10, 10}, {10, 10}, {0, 0}));
    EXPECT_TRUE(PointInSpan({5, 5}, {10, 10}, {0, 0}));

    const struct {
        TPoint A, B;
        bool Meets;
    } segments[] = {
        {{-5, 5}, {15, 5}, true},    // horizontal through
        {{5, -5}, {5, 15}, true},    // vertical through
        {{-5, -5}, {15, 15}, true},  // diagonal through both corners
        {{-5, 8}, {8, -5}, true},    // cuts the lower left corner
        {{-5, 20}, {20, 12}, false}, // passes above
        {{20, 20}, {20, 20}, false}, // one point outside
        {{5, 5}, {5, 5}, true},      // one point inside
        {{-5, 5}, {-1, 5}, false},   // stops short of the left edge
    };
    for (const auto& s : segments)
        EXPECT_EQ(SegmentMeetsRect(r, s.A, s.B), s.Meets) << s.A.X << "," << s.A.Y;
    EXPECT_TRUE(BoxOutlineMeetsRect(r, {-5, -5}, {5, 5}));
    EXPECT_FALSE(BoxOutlineMeetsRect(TRect({4, 4}, {6, 6}), {0, 0}, {10, 10})); // rect inside the box
    EXPECT_EQ(InflateRectBy(r, 2).P1, TPoint(-2, -2));
    EXPECT_EQ(InflateRectBy(reversed, 2).P1, TPoint(12, 12));
    EXPECT_EQ(NormalRectFromPoints({5, -1}, {2, 3}).P1, TPoint(2, -1));
}

TEST(Circles, LineIntersectionAndRectTests) {
    TXYPoint p1, p2;
    ASSERT_EQ(LineCircleIntersection({-10, 0}, {10, 0}, {0, 0}, 5, p1, p2), 2);
    EXPECT_TRUE(SameXYPoint(p1, {5, 0}));
    EXPECT_TRUE(SameXYPoint(p2, {-5, 0}));
    ASSERT_EQ(LineCircleIntersection({10, 0}, {-10, 0}, {0, 0}, 5, p1, p2), 2);
    EXPECT_TRUE(SameXYPoint(p1, {-5, 0}));
    EXPECT_TRUE(SameXYPoint(p2, {5, 0}));
    EXPECT_EQ(LineCircleIntersection({-10, 5}, {10, 5}, {0, 0}, 5, p1, p2), 1);
    EXPECT_EQ(LineCircleIntersection({-10, 6}, {10, 6}, {0, 0}, 5, p1, p2), 0);
    EXPECT_EQ(LineCircleIntersection({3, 3}, {3, 3}, {0, 0}, 5, p1, p2), 0);

    const TRect r({0, 0}, {10, 10});
    EXPECT_TRUE(CircleMeetsRect(r, {5, 5}, 1));
    EXPECT_TRUE(CircleMeetsRect(r, {-3, 5}, 4));
    EXPECT_FALSE(CircleMeetsRect(r, {-3, 5}, 2));
    EXPECT_TRUE(CircleInsideRect(r, {5, 5}, 5));
    EXPECT_FALSE(CircleInsideRect(r, {5, 5}, 5.5));
}

TEST(Distances, LineAndSegment) {
    double t = 0;
    EXPECT_DOUBLE_EQ(PointLineDistance({0, 10}, {-5, 0}, {5, 0}, t), 10);
    EXPECT_DOUBLE_EQ(t, 0.5);
    EXPECT_EQ(PointLineDistance({7, 7}, {1, 1}, {1, 1}, t), 0);
    EXPECT_EQ(t, -1);
    EXPECT_DOUBLE_EQ(PointSegmentDistance({0, 10}, {-5, 0}, {5, 0}), 10);
    EXPECT_DOUBLE_EQ(PointSegmentDistance({20, 0}, {-5, 0}, {5, 0}), 15);
}

TEST(Extents, AddPointsAndSquares) {
    TExtentsRect e;
    ExtentsAddPoint({3, 4}, e);
    EXPECT_TRUE(e.Defined);
    EXPECT_EQ(e.Left, 3);
    EXPECT_EQ(e.Top, 4);
    EXPECT_EQ(e.Bottom, 4);
    ExtentsAddPoint({-5, 8}, e);
    EXPECT_EQ(e.Left, -5);
    EXPECT_EQ(e.Top, 8);
    EXPECT_EQ(e.Right, 3);
    EXPECT_EQ(e.Bottom, 4);
    ExtentsAddXYPoint({10.5, 0.5}, e); // rounds to (10, 0)
    EXPECT_EQ(e.Right, 10);
    EXPECT_EQ(e.Bottom, 0);
    TExtentsRect s;
    ExtentsAddSquare({INT32_MAX - 1, 0}, 5, s);
    EXPECT_EQ(s.Right, INT32_MAX);
    EXPECT_EQ(s.Left, INT32_MAX - 6);
    EXPECT_EQ(s.Top, 5);
}

TEST(FloatPoints, AnglesAndRotation) {
    EXPECT_DOUBLE_EQ(XYAngle({0, -1}, {0, 0}), 270);
    EXPECT_DOUBLE_EQ(XYAngle({-1, 0}, {0, 0}), 180);
    EXPECT_DOUBLE_EQ(XYAngle({0, 0}, {0, 0}), 0);
    EXPECT_TRUE(SameXYPoint(RotateXYPointDeg({10, 0}, {0, 0}, -270), {0, 10}));
    const TXYPoint p{1.25, -3.5};
    EXPECT_EQ(RotateXYPoint(p, {4, 4}, 1e-13), p); // unchanged, not recomputed
    TXYPoint pts[2] = {{1, 0}, {0, 1}};
    RotateXYPoints(pts, {0, 0}, 90);
    EXPECT_TRUE(SameXYPoint(pts[0], {0, 1}));
    EXPECT_TRUE(SameXYPoint(pts[1], {-1, 0}));
    EXPECT_EQ(XYPointToPoint({2.5, -2.5}), TPoint(2, -2));
    EXPECT_DOUBLE_EQ(XYDistance({0, 0}, {3, 4}), 5);
}

TEST(IntLine, SlopeFormAndIntersections) {
    const TIntLine v({2, 0}, {2, 10});
    EXPECT_TRUE(v.IsVert());
    EXPECT_TRUE(v.PointIsOn({2, 10}));
    EXPECT_FALSE(v.PointIsOn({3, 5}));
    EXPECT_TRUE(TIntLine({4, 4}, {4, 4}).IsVert());

    TPoint ip{9, 9};
    EXPECT_FALSE(TIntLine({0, 0}, {10, 10}).IntersectionPoint(TIntLine({0, 5}, {10, 15}), ip));
    EXPECT_EQ(ip, TPoint(0, 0));

    const struct {
        TIntLine A, B;
        TPoint Expected;
    } crossings[] = {
        {TIntLine({2, 0}, {2, 10}), TIntLine({0, 5}, {10, 5}), {2, 5}},   // vertical x horizontal
        {TIntLine({0, 0}, {10, 10}), TIntLine({0, 10}, {10, 0}), {5, 5}}, // two diagonals
        {TIntLine({0, 0}, {10, 20}), TIntLine({3, 0}, {3, 50}), {3, 6}},  // diagonal x vertical
        {TIntLine({0, 7}, {50, 7}),
         TIntLine({0, 0}, {10, 20}),
         {4, 7}}, // horizontal x diagonal (3.5 to even)
        {TIntLine({1, 0}, {1, 10}), TIntLine({0, 0}, {10, 10}), {1, 1}}, // vertical at x = slope 1
    };
    for (const auto& c : crossings) {
        ASSERT_TRUE(c.A.IntersectionPoint(c.B, ip));
        EXPECT_EQ(ip, c.Expected) << ip.X << "," << ip.Y;
    }
    EXPECT_TRUE(TIntLine({0, 0}, {10, 10}).IntersectionPointOnLines(TIntLine({0, 10}, {10, 0}), ip));
    EXPECT_FALSE(TIntLine({0, 0}, {4, 4}).IntersectionPointOnLines(TIntLine({0, 10}, {10, 0}), ip));
}

TEST(XYLine, CrossPoint) {
    TXYPoint s{7, 7};
    EXPECT_FALSE(TXYLine({0, 0}, {1, 1}).CrossPoint(TXYLine({0, 1}, {1, 2.0000005}), s));
    EXPECT_EQ(s, TXYPoint(0, 0));
    EXPECT_FALSE(TXYLine({1, 0}, {1, 1}).CrossPoint(TXYLine({2, 0}, {2, 1}), s));
    ASSERT_TRUE(TXYLine({1, 0}, {1, 1}).CrossPoint(TXYLine({0, 0}, {2, 4}), s));
    EXPECT_TRUE(SameXYPoint(s, {1, 2}));
    ASSERT_TRUE(TXYLine({0, 3}, {5, 3}).CrossPoint(TXYLine({0, 0}, {1, 1}), s));
    EXPECT_TRUE(SameXYPoint(s, {3, 3}));
    TXYLineList l;
    l.Add({0, 0}, {1, 1});
    EXPECT_EQ(l.GetCount(), 1);
    EXPECT_EQ(l.GetXYLines(0)->fP2, TXYPoint(1, 1));
    EXPECT_THROW(l.GetXYLines(1), std::out_of_range);
}

TEST(Lists, UniqueAddsComparesAndTextRoundTrip) {
    TPointList a;
    EXPECT_TRUE(a.AddUnique({1, 2}));
    EXPECT_FALSE(a.AddUnique({1, 2}));
    EXPECT_EQ(a.Count(), 1);
    TPointList b;
    b.Assign(a);
    EXPECT_TRUE(b.Compare(a));
    b.Items.push_back({0, 0});
    EXPECT_FALSE(b.Compare(a));

    TTaggedPointList t;
    EXPECT_TRUE(t.AddUnique({1, {5, 5}}));
    EXPECT_FALSE(t.AddUnique({2, {5, 5}}));
    EXPECT_EQ(t.IndexOfPoint({5, 5}), 0);
    EXPECT_EQ(t.IndexOfPoint({6, 5}), -1);

    TArcList arcs1, arcs2;
    arcs1.Items.push_back({{0, 0}, {1, 0}, {0.5, 0.5}});
    arcs2.Assign(arcs1);
    EXPECT_TRUE(arcs2.Compare(arcs1));
    arcs2.Items[0].ThroughPt.Y = 0.6;
    EXPECT_FALSE(arcs2.Compare(arcs1));

    TXYPointList x;
    x.Add({1.5, -2});
    x.Add({0.1, 1e-7});
    EXPECT_EQ(x.GetXYPoints(0), TXYPoint(1.5, -2));
    EXPECT_EQ(x.GetXYPoints(1), TXYPoint(0.1, 1e-7));
    x.FXList[1] = "garbage";
    EXPECT_EQ(x.GetXYPoints(1).X, 0);
    EXPECT_THROW(x.GetXYPoints(2), std::out_of_range);
    x.Clear();
    EXPECT_EQ(x.GetCount(), 0);
}
} // namespace
