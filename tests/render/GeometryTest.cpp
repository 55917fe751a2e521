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
    } Cases[] = {{0.5, 0},
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
    for (const auto& C : Cases)
        EXPECT_EQ(Round(C.In), C.Out) << C.In;
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
    TPoint P{17, -4};
    for (int I = 0; I < 4; ++I)
        P = RotatePoint90(P, {3, 5});
    EXPECT_EQ(P, TPoint(17, -4));
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
    const TPoint Lo{INT32_MIN, INT32_MIN}, Hi{INT32_MAX, INT32_MAX};
    EXPECT_DOUBLE_EQ(PointDist(Lo, {INT32_MAX, INT32_MIN}), 4294967295.0);
    EXPECT_EQ(FlipPointX(Lo, Hi).X, INT32_MAX); // saturates instead of wrapping
    EXPECT_EQ(RotatePoint90(Hi, Lo), TPoint(INT32_MIN, INT32_MAX));
    EXPECT_TRUE(PointsCollinear(Lo, {0, 0}, Hi));
    EXPECT_FALSE(PointsCollinear(Lo, {0, 1}, Hi));
    EXPECT_EQ(PointMid(Lo, Hi), TPoint(0, 0)); // -0.5 rounds to even 0
    EXPECT_EQ(TPoint(INT32_MAX, 0) + TPoint(1, 0), TPoint(INT32_MAX, 0));
    EXPECT_TRUE(PointInRect({0, 0}, TRect(Lo, Hi)));
    EXPECT_TRUE(SegmentMeetsRect(TRect({-10, -10}, {10, 10}), {INT32_MIN, -5}, {INT32_MAX, 5}));
}

TEST(Rectangles, PointAndSegmentTests) {
    const TRect R({0, 0}, {10, 10}), Reversed({10, 10}, {0, 0});
    for (const TPoint P : {TPoint(0, 0), TPoint(10, 5), TPoint(5, 10), TPoint(10, 10)}) {
        EXPECT_TRUE(PointInRect(P, R));
        EXPECT_TRUE(PointInRect(P, Reversed));
    }
    EXPECT_FALSE(PointInRect({11, 5}, R));
    // Increasing span inclusive, decreasing span strict.
    EXPECT_TRUE(PointInSpan({0, 0}, {0, 0}, {10, 10}));
    EXPECT_FALSE(PointInSpan({10, 10}, {10, 10}, {0, 0}));
    EXPECT_TRUE(PointInSpan({5, 5}, {10, 10}, {0, 0}));

    const struct {
        TPoint A, B;
        bool Meets;
    } Segments[] = {
        {{-5, 5}, {15, 5}, true},    // horizontal through
        {{5, -5}, {5, 15}, true},    // vertical through
        {{-5, -5}, {15, 15}, true},  // diagonal through both corners
        {{-5, 8}, {8, -5}, true},    // cuts the lower left corner
        {{-5, 20}, {20, 12}, false}, // passes above
        {{20, 20}, {20, 20}, false}, // one point outside
        {{5, 5}, {5, 5}, true},      // one point inside
        {{-5, 5}, {-1, 5}, false},   // stops short of the left edge
    };
    for (const auto& S : Segments)
        EXPECT_EQ(SegmentMeetsRect(R, S.A, S.B), S.Meets) << S.A.X << "," << S.A.Y;
    EXPECT_TRUE(BoxOutlineMeetsRect(R, {-5, -5}, {5, 5}));
    EXPECT_FALSE(BoxOutlineMeetsRect(TRect({4, 4}, {6, 6}), {0, 0}, {10, 10})); // rect inside the box
    EXPECT_EQ(InflateRectBy(R, 2).P1, TPoint(-2, -2));
    EXPECT_EQ(InflateRectBy(Reversed, 2).P1, TPoint(12, 12));
    EXPECT_EQ(NormalRectFromPoints({5, -1}, {2, 3}).P1, TPoint(2, -1));
}

TEST(Circles, LineIntersectionAndRectTests) {
    TXYPoint P1, P2;
    ASSERT_EQ(LineCircleIntersection({-10, 0}, {10, 0}, {0, 0}, 5, P1, P2), 2);
    EXPECT_TRUE(SameXYPoint(P1, {5, 0}));
    EXPECT_TRUE(SameXYPoint(P2, {-5, 0}));
    ASSERT_EQ(LineCircleIntersection({10, 0}, {-10, 0}, {0, 0}, 5, P1, P2), 2);
    EXPECT_TRUE(SameXYPoint(P1, {-5, 0}));
    EXPECT_TRUE(SameXYPoint(P2, {5, 0}));
    EXPECT_EQ(LineCircleIntersection({-10, 5}, {10, 5}, {0, 0}, 5, P1, P2), 1);
    EXPECT_EQ(LineCircleIntersection({-10, 6}, {10, 6}, {0, 0}, 5, P1, P2), 0);
    EXPECT_EQ(LineCircleIntersection({3, 3}, {3, 3}, {0, 0}, 5, P1, P2), 0);

    const TRect R({0, 0}, {10, 10});
    EXPECT_TRUE(CircleMeetsRect(R, {5, 5}, 1));
    EXPECT_TRUE(CircleMeetsRect(R, {-3, 5}, 4));
    EXPECT_FALSE(CircleMeetsRect(R, {-3, 5}, 2));
    EXPECT_TRUE(CircleInsideRect(R, {5, 5}, 5));
    EXPECT_FALSE(CircleInsideRect(R, {5, 5}, 5.5));
}

TEST(Distances, LineAndSegment) {
    double T = 0;
    EXPECT_DOUBLE_EQ(PointLineDistance({0, 10}, {-5, 0}, {5, 0}, T), 10);
    EXPECT_DOUBLE_EQ(T, 0.5);
    EXPECT_EQ(PointLineDistance({7, 7}, {1, 1}, {1, 1}, T), 0);
    EXPECT_EQ(T, -1);
    EXPECT_DOUBLE_EQ(PointSegmentDistance({0, 10}, {-5, 0}, {5, 0}), 10);
    EXPECT_DOUBLE_EQ(PointSegmentDistance({20, 0}, {-5, 0}, {5, 0}), 15);
}

TEST(Extents, AddPointsAndSquares) {
    TExtentsRect E;
    ExtentsAddPoint({3, 4}, E);
    EXPECT_TRUE(E.Defined);
    EXPECT_EQ(E.Left, 3);
    EXPECT_EQ(E.Top, 4);
    EXPECT_EQ(E.Bottom, 4);
    ExtentsAddPoint({-5, 8}, E);
    EXPECT_EQ(E.Left, -5);
    EXPECT_EQ(E.Top, 8);
    EXPECT_EQ(E.Right, 3);
    EXPECT_EQ(E.Bottom, 4);
    ExtentsAddXYPoint({10.5, 0.5}, E); // rounds to (10, 0)
    EXPECT_EQ(E.Right, 10);
    EXPECT_EQ(E.Bottom, 0);
    TExtentsRect S;
    ExtentsAddSquare({INT32_MAX - 1, 0}, 5, S);
    EXPECT_EQ(S.Right, INT32_MAX);
    EXPECT_EQ(S.Left, INT32_MAX - 6);
    EXPECT_EQ(S.Top, 5);
}

TEST(FloatPoints, AnglesAndRotation) {
    EXPECT_DOUBLE_EQ(XYAngle({0, -1}, {0, 0}), 270);
    EXPECT_DOUBLE_EQ(XYAngle({-1, 0}, {0, 0}), 180);
    EXPECT_DOUBLE_EQ(XYAngle({0, 0}, {0, 0}), 0);
    EXPECT_TRUE(SameXYPoint(RotateXYPointDeg({10, 0}, {0, 0}, -270), {0, 10}));
    const TXYPoint P{1.25, -3.5};
    EXPECT_EQ(RotateXYPoint(P, {4, 4}, 1e-13), P); // unchanged, not recomputed
    TXYPoint Pts[2] = {{1, 0}, {0, 1}};
    RotateXYPoints(Pts, {0, 0}, 90);
    EXPECT_TRUE(SameXYPoint(Pts[0], {0, 1}));
    EXPECT_TRUE(SameXYPoint(Pts[1], {-1, 0}));
    EXPECT_EQ(XYPointToPoint({2.5, -2.5}), TPoint(2, -2));
    EXPECT_DOUBLE_EQ(XYDistance({0, 0}, {3, 4}), 5);
}

TEST(IntLine, SlopeFormAndIntersections) {
    const TIntLine V({2, 0}, {2, 10});
    EXPECT_TRUE(V.IsVert());
    EXPECT_TRUE(V.PointIsOn({2, 10}));
    EXPECT_FALSE(V.PointIsOn({3, 5}));
    EXPECT_TRUE(TIntLine({4, 4}, {4, 4}).IsVert());

    TPoint IP{9, 9};
    EXPECT_FALSE(TIntLine({0, 0}, {10, 10}).IntersectionPoint(TIntLine({0, 5}, {10, 15}), IP));
    EXPECT_EQ(IP, TPoint(0, 0));

    const struct {
        TIntLine A, B;
        TPoint Expected;
    } Crossings[] = {
        {TIntLine({2, 0}, {2, 10}), TIntLine({0, 5}, {10, 5}), {2, 5}},   // vertical x horizontal
        {TIntLine({0, 0}, {10, 10}), TIntLine({0, 10}, {10, 0}), {5, 5}}, // two diagonals
        {TIntLine({0, 0}, {10, 20}), TIntLine({3, 0}, {3, 50}), {3, 6}},  // diagonal x vertical
        {TIntLine({0, 7}, {50, 7}),
         TIntLine({0, 0}, {10, 20}),
         {4, 7}}, // horizontal x diagonal (3.5 to even)
        {TIntLine({1, 0}, {1, 10}), TIntLine({0, 0}, {10, 10}), {1, 1}}, // vertical at x = slope 1
    };
    for (const auto& C : Crossings) {
        ASSERT_TRUE(C.A.IntersectionPoint(C.B, IP));
        EXPECT_EQ(IP, C.Expected) << IP.X << "," << IP.Y;
    }
    EXPECT_TRUE(TIntLine({0, 0}, {10, 10}).IntersectionPointOnLines(TIntLine({0, 10}, {10, 0}), IP));
    EXPECT_FALSE(TIntLine({0, 0}, {4, 4}).IntersectionPointOnLines(TIntLine({0, 10}, {10, 0}), IP));
}

TEST(XYLine, CrossPoint) {
    TXYPoint S{7, 7};
    EXPECT_FALSE(TXYLine({0, 0}, {1, 1}).CrossPoint(TXYLine({0, 1}, {1, 2.0000005}), S));
    EXPECT_EQ(S, TXYPoint(0, 0));
    EXPECT_FALSE(TXYLine({1, 0}, {1, 1}).CrossPoint(TXYLine({2, 0}, {2, 1}), S));
    ASSERT_TRUE(TXYLine({1, 0}, {1, 1}).CrossPoint(TXYLine({0, 0}, {2, 4}), S));
    EXPECT_TRUE(SameXYPoint(S, {1, 2}));
    ASSERT_TRUE(TXYLine({0, 3}, {5, 3}).CrossPoint(TXYLine({0, 0}, {1, 1}), S));
    EXPECT_TRUE(SameXYPoint(S, {3, 3}));
    TXYLineList L;
    L.Add({0, 0}, {1, 1});
    EXPECT_EQ(L.GetCount(), 1);
    EXPECT_EQ(L.GetXYLines(0)->fP2, TXYPoint(1, 1));
    EXPECT_THROW(L.GetXYLines(1), std::out_of_range);
}

TEST(Lists, UniqueAddsComparesAndTextRoundTrip) {
    TPointList A;
    EXPECT_TRUE(A.AddUnique({1, 2}));
    EXPECT_FALSE(A.AddUnique({1, 2}));
    EXPECT_EQ(A.Count(), 1);
    TPointList B;
    B.Assign(A);
    EXPECT_TRUE(B.Compare(A));
    B.Items.push_back({0, 0});
    EXPECT_FALSE(B.Compare(A));

    TTaggedPointList T;
    EXPECT_TRUE(T.AddUnique({1, {5, 5}}));
    EXPECT_FALSE(T.AddUnique({2, {5, 5}}));
    EXPECT_EQ(T.IndexOfPoint({5, 5}), 0);
    EXPECT_EQ(T.IndexOfPoint({6, 5}), -1);

    TArcList Arcs1, Arcs2;
    Arcs1.Items.push_back({{0, 0}, {1, 0}, {0.5, 0.5}});
    Arcs2.Assign(Arcs1);
    EXPECT_TRUE(Arcs2.Compare(Arcs1));
    Arcs2.Items[0].ThroughPt.Y = 0.6;
    EXPECT_FALSE(Arcs2.Compare(Arcs1));

    TXYPointList X;
    X.Add({1.5, -2});
    X.Add({0.1, 1e-7});
    EXPECT_EQ(X.GetXYPoints(0), TXYPoint(1.5, -2));
    EXPECT_EQ(X.GetXYPoints(1), TXYPoint(0.1, 1e-7));
    X.FXList[1] = "garbage";
    EXPECT_EQ(X.GetXYPoints(1).X, 0);
    EXPECT_THROW(X.GetXYPoints(2), std::out_of_range);
    X.Clear();
    EXPECT_EQ(X.GetCount(), 0);
}
} // namespace
