#include "render/RevisionCloud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

std::vector<TXYPoint> XY(const std::vector<TPoint>& points) {
    std::vector<TXYPoint> out;
    for (const TPoint& p : points)
        out.push_back(PointToXYPoint(p));
    return out;
}

TPointList Outline(const std::vector<TPoint>& points) {
    TPointList list;
    list.Items = points;
    return list;
}

void ExpectNear(const TXYPoint& actual, const TXYPoint& expected, const std::string& what) {
    EXPECT_NEAR(actual.X, expected.X, 1e-9) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-9) << what;
}

// The first four bytes of SHA-1 of the seed's decimal text, little-endian, as sha1sum gives them:
//   "0"    b6589fc6... -> v = 3332331702
//   "-100" 809f5a9e... -> v = 2656739200
//   "300"  e26973e6... -> v = 3866323426
// and Rand(a, b) = a + v mod (b - a).
TEST(RevisionCloudRand, DrawsFromTheDigestOfTheSeedText) {
    struct TCase {
        int32_t Seed;
        int32_t A, B, Expected;
    };
    const TCase cases[] = {
        {0, 50, 100, 52},         // 3332331702 mod 50 = 2
        {0, 20, 50, 32},          // mod 30 = 12
        {-100, 50, 100, 50},      // the minus sign is hashed: 2656739200 mod 50 = 0
        {-100, 20, 50, 30},       // mod 30 = 10
        {300, 50, 76, 54},        // 3866323426 mod 26 = 4
        {2147483647, 20, 50, 32}, // the seed is reduced modulo 2147483647 to 0
        {12345, 50, 50, 50},      // an empty range gives its bound
        {12345, -7, -7, -7},
    };
    for (const TCase& c : cases) {
        TRevisionCloudGenerator g;
        g.fRandSeed = c.Seed;
        EXPECT_EQ(g.Rand(c.A, c.B), c.Expected) << c.Seed << " " << c.A << " " << c.B;
        // Nothing advances: asking again gives the same.
        EXPECT_EQ(g.Rand(c.A, c.B), c.Expected) << c.Seed;
    }
    TRevisionCloudGenerator g;
    for (int32_t seed = -50; seed < 50; ++seed) {
        g.fRandSeed = seed;
        const int32_t r = g.Rand(20, 50);
        EXPECT_GE(r, 20) << seed;
        EXPECT_LE(r, 49) << seed;
    }
}

// The open path (0, 0) -> (300, 0), worked by hand.
// Seed: (0 + 0) + (300 + 0) = 300, v = 3866323426: v mod 50 = 26, mod 30 = 16, mod 26 = 4,
// mod 38 = 12, mod 12 = 10.
// 1. Inset: all points share Y = 0, so the path is straight; the centroid (150, 0) moves 20 up
//    (the path runs left to right) and the corners become (0, 20) and (300, 20).
// 2. Corner radii: first Rand(50, clamp(300)) = Rand(50, 100) = 76; last Rand(50, clamp(280)) = 76.
// 3. Along the segment (D = 300, remaining R = 300 - 76 - 76 = 148), overlap Rand(20, 50) = 36:
//    R 148: t = Rand(50, clamp(74 + 76)) = 76, radius Rand(50, 76) = 54, x = 76 + 54 - 36 = 94,
//           R = 148 + 76 - 94 - 54 + 20 = 96
//    R 96:  t = Rand(50, clamp(48 + 76)) = 76, radius 54, x = 94 + 54 + 54 - 36 = 166, R = 24
//    R 24:  t = Rand(50, clamp(12 + 76) = 88) = 62, radius Rand(50, 62) = 60,
//           x = 166 + 54 + 60 - 36 = 244, R = 244 - 244 - 60 = -60: done.
//    Circles (x, r) at Y = 20: (0, 76), (94, 54), (166, 54), (244, 60), and the end (300, 76).
// 4. Orientation: (0 - 300)(20 + 20) + (300 - 0)(20 + 20) = 0, not > 0: counter-clockwise.
// 5. Arcs start at (0 - 76, 20). Circles at one height cross at
//    x = (r1^2 - r2^2 - x1^2 + x2^2) / (2 (x2 - x1)), y = 20 +- sqrt(r1^2 - (x - x1)^2); turning
//    clockwise from the start (on the left) reaches the upper crossing first, which makes the
//    smaller angle to the start: 11696/188, 18720/144 = 130, 31296/156 and 28288/112. The last
//    arc ends at (300 + 76, 20). The through point halves the clockwise turn from the start to
//    the end, so it lies at the mean of their angles about the circle's centre.
TEST(RevisionCloud, OpenStraightPathFollowsTheWorkedExample) {
    struct TCircleX {
        double X, R;
    };
    const TCircleX circles[] = {{0, 76}, {94, 54}, {166, 54}, {244, 60}, {300, 76}};
    const double crossings[] = {11696.0 / 188, 130, 31296.0 / 156, 28288.0 / 112};
    const auto upper = [](const TCircleX& c, double x) {
        return XYPoint(x, 20 + std::sqrt(c.R * c.R - (x - c.X) * (x - c.X)));
    };
    const auto through = [](const TCircleX& c, const TXYPoint& s, const TXYPoint& e) {
        const double mean = (std::atan2(s.Y - 20, s.X - c.X) + std::atan2(e.Y - 20, e.X - c.X)) / 2;
        return XYPoint(c.X + c.R * std::cos(mean), 20 + c.R * std::sin(mean));
    };
    std::vector<TArc> expected;
    TXYPoint start = XYPoint(-76, 20);
    for (int i = 0; i < 5; ++i) {
        const TXYPoint end = i < 4 ? upper(circles[i], crossings[i]) : XYPoint(376, 20);
        expected.push_back({start, end, through(circles[i], start, end)});
        start = end;
    }

    TArcList arcs;
    ASSERT_TRUE(TRevisionCloudGenerator::GenerateCloudArcs(Outline({{0, 0}, {300, 0}}), arcs));
    ASSERT_EQ(arcs.Count(), 5);
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string arc = "arc " + std::to_string(i);
        ExpectNear(arcs.Items[i].StartPt, expected[i].StartPt, arc + " start");
        ExpectNear(arcs.Items[i].EndPt, expected[i].EndPt, arc + " end");
        ExpectNear(arcs.Items[i].ThroughPt, expected[i].ThroughPt, arc + " through");
    }

    TRevisionCloudGenerator g;
    g.Generate(XY({{0, 0}, {300, 0}}), arcs, 300);
    EXPECT_TRUE(g.fRandSeedSet);
    EXPECT_FALSE(g.fClosed);
    EXPECT_TRUE(g.fDirectionCCW);
}

TEST(RevisionCloud, ClosedOutlinesCloseAndBulgeOutwardEitherWayRound) {
    const std::vector<TPoint> ccw = {{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}};
    const std::vector<TPoint> cw = {{0, 0}, {0, 400}, {400, 400}, {400, 0}, {0, 0}};
    for (const auto& outline : {ccw, cw}) {
        const bool clockwise = outline[1].X == 0;
        TRevisionCloudGenerator g;
        TArcList arcs;
        g.Generate(XY(outline), arcs, 1234);
        EXPECT_TRUE(g.fClosed);
        // The orientation names the screen's view, whose Y runs down.
        EXPECT_EQ(g.fDirectionCCW, clockwise);
        ASSERT_GE(arcs.Count(), 8) << clockwise;
        const auto& a = arcs.Items;
        for (size_t i = 0; i < a.size(); ++i) {
            const TArc& next = a[(i + 1) % a.size()];
            EXPECT_TRUE(SameXYPoint(a[i].EndPt, next.StartPt)) << clockwise << " " << i;
            // The corners were moved 30 inwards and the circles sit on that square: every arc
            // ends where two circles cross outside it, and bulges outside it.
            for (const TXYPoint& p : {a[i].EndPt, a[i].ThroughPt})
                EXPECT_TRUE(p.X < 30 || p.X > 370 || p.Y < 30 || p.Y > 370)
                    << clockwise << " " << i << ": " << p.X << ", " << p.Y;
        }
    }
}

TEST(RevisionCloud, SameOutlineSameCloudAndAMovedOutlineMovesItsCloud) {
    const std::vector<TPoint> outline = {{0, 0}, {500, 40}, {620, 380}, {90, 300}, {0, 0}};
    TArcList first, again, moved;
    ASSERT_TRUE(TRevisionCloudGenerator::GenerateCloudArcs(Outline(outline), first));
    ASSERT_TRUE(TRevisionCloudGenerator::GenerateCloudArcs(Outline(outline), again));
    EXPECT_TRUE(first.Compare(again));

    std::vector<TPoint> shifted;
    for (const TPoint& p : outline)
        shifted.push_back(p + TPoint(1000, -700));
    ASSERT_TRUE(TRevisionCloudGenerator::GenerateCloudArcs(Outline(shifted), moved));
    ASSERT_EQ(moved.Count(), first.Count());
    const TXYPoint offset = XYPoint(1000, -700);
    for (size_t i = 0; i < first.Items.size(); ++i) {
        const TArc& a = first.Items[i];
        const TArc& b = moved.Items[i];
        for (const auto& [p, q] :
             {std::pair{a.StartPt, b.StartPt}, {a.EndPt, b.EndPt}, {a.ThroughPt, b.ThroughPt}}) {
            EXPECT_NEAR(q.X, p.X + offset.X, 1e-6) << i;
            EXPECT_NEAR(q.Y, p.Y + offset.Y, 1e-6) << i;
        }
    }
}

TEST(RevisionCloud, FailuresSayWhyAndLeaveNoArcs) {
    struct TCase {
        std::vector<TXYPoint> Points;
        const char* Message;
    };
    const TCase cases[] = {
        {{}, "Not enough points to create cloud!"},
        // Within the tolerance of each other, yet not equal.
        {{XYPoint(0, 0), XYPoint(100, 0), XYPoint(1e-13, 0)}, "Shape is not actually closed!"},
        {XY({{5, 5}, {5, 5}}), "Circles with same center have no or infinite intersections"},
        // A zero-length edge puts two corner circles on one centre.
        {XY({{0, 0}, {300, 0}, {300, 0}, {300, 300}}),
         "Circles with same center have no or infinite intersections"},
        // Too long for 401 circles: the last of them never reaches the end circle.
        {XY({{0, 0}, {1000000, 0}}), "Circles not colliding, same height value"},
        {XY({{0, 0}, {1000000, 1000000}}), "Circles not colliding, different heights"},
    };
    for (const TCase& c : cases) {
        TRevisionCloudGenerator g;
        TArcList arcs;
        arcs.Items = {{XYPoint(1, 2), XYPoint(3, 4), XYPoint(5, 6)}};
        try {
            g.Generate(c.Points, arcs, 77);
            ADD_FAILURE() << "no error: " << c.Message;
        } catch (const ERevisionCloud& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
        EXPECT_EQ(arcs.Count(), 0) << c.Message;
    }

    for (const auto& outline :
         std::vector<std::vector<TPoint>>{{}, {{7, 7}}, {{5, 5}, {5, 5}}, {{0, 0}, {1000000, 0}}}) {
        TArcList arcs;
        arcs.Items = {{XYPoint(1, 2), XYPoint(3, 4), XYPoint(5, 6)}};
        EXPECT_FALSE(TRevisionCloudGenerator::GenerateCloudArcs(Outline(outline), arcs)) << outline.size();
        EXPECT_EQ(arcs.Count(), 0);
    }
}

TEST(RevisionCloud, WorkIsCappedForHugeOutlines) {
    TArcList arcs;
    // A million corners are refused before anything is built.
    std::vector<TPoint> many;
    for (int i = 0; i < 1000000; ++i)
        many.push_back({i % 1000 * 50, i / 1000 * 50});
    EXPECT_FALSE(TRevisionCloudGenerator::GenerateCloudArcs(Outline(many), arcs));
    EXPECT_EQ(arcs.Count(), 0);

    // Long edges need at least (20000 - 200) / 178 circles each: 999 of them need more circles
    // than a cloud may have, while 60 make an ordinary, if large, cloud.
    const auto line = [](int corners) {
        std::vector<TPoint> points;
        for (int i = 0; i < corners; ++i)
            points.push_back({i * 20000, 0});
        return Outline(points);
    };
    EXPECT_FALSE(TRevisionCloudGenerator::GenerateCloudArcs(line(1000), arcs));
    EXPECT_EQ(arcs.Count(), 0);
    ASSERT_TRUE(TRevisionCloudGenerator::GenerateCloudArcs(line(60), arcs));
    EXPECT_GT(arcs.Count(), 59 * 110);
    EXPECT_LE(size_t(arcs.Count()), TRevisionCloudGenerator::MaxCircles);
}

} // namespace
