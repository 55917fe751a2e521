#include "render/RevisionCloud.h"

#include "base/Translate.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

// Limits outside the range win over the value: lo at or below lo, hi above hi.
double Clamp(double x, double lo, double hi) {
    return x <= lo ? lo : x > hi ? hi : x;
}

TXYPoint Centre(const TCircle& c) {
    return {c.X, c.Y};
}

TXYPoint UnitVector(const TXYPoint& from, const TXYPoint& to) {
    // Taken through the angle, so that a segment of no length still has a direction.
    const double angle = VectorAngle(to.X - from.X, to.Y - from.Y);
    return {std::cos(angle), std::sin(angle)};
}

// The counter-clockwise angle, in [0, 2 pi), that turns the direction of From onto that of To.
double AngleBetween(const TXYPoint& from, const TXYPoint& to) {
    double a = VectorAngle(to.X, to.Y) - VectorAngle(from.X, from.Y);
    if (a < 0) a += TwoPi;
    // A tiny negative difference plus 2 pi may round to 2 pi itself.
    if (a >= TwoPi) a -= TwoPi;
    return a;
}

// Real roots of ax^2 + bx + c = 0 (a is never 0 here), the one with the minus sign first.
int QuadraticRoots(double a, double b, double c, double& x1, double& x2) {
    const double delta = b * b - 4 * a * c;
    if (!(delta >= 0)) return 0;
    if (delta == 0) {
        x1 = -b / (2 * a);
        return 1;
    }
    const double root = std::sqrt(delta);
    x1 = (-b - root) / (2 * a);
    x2 = (-b + root) / (2 * a);
    return 2;
}

bool Finite(const TXYPoint& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

// Where the two circles cross: 1 or 2 points, or an error when they do not.
int CircleIntersections(const TCircle& c1, const TCircle& c2, TXYPoint& p1, TXYPoint& p2) {
    const double x1 = c1.X, y1 = c1.Y, r1 = c1.Radius, x2 = c2.X, y2 = c2.Y, r2 = c2.Radius;
    double u1 = 0, u2 = 0;
    int count;
    if (Same(y1, y2)) {
        // Checked before anything divides by the distance of the centres.
        if (Same(x1, x2))
            throw ERevisionCloud(_("Circles with same center have no or infinite intersections"));
        const double x = (r1 * r1 - r2 * r2 - x1 * x1 + x2 * x2) / (2 * (x2 - x1));
        count = QuadraticRoots(1, -2 * y1, y1 * y1 - r1 * r1 + (x - x1) * (x - x1), u1, u2);
        p1 = {x, u1};
        p2 = {x, u2};
        if (count == 0 || !Finite(p1) || (count == 2 && !Finite(p2)))
            throw ERevisionCloud(_("Circles not colliding, same height value"));
    } else {
        const double k = (x1 - x2) / (y1 - y2);
        const double h = (x1 * x1 - x2 * x2 + y1 * y1 - y2 * y2 - r1 * r1 + r2 * r2) / (2 * (y1 - y2));
        count = QuadraticRoots(k * k + 1, -2 * x1 - 2 * (h - y1) * k, x1 * x1 + (h - y1) * (h - y1) - r1 * r1,
                               u1, u2);
        p1 = {u1, h - k * u1};
        p2 = {u2, h - k * u2};
        if (count == 0 || !Finite(p1) || (count == 2 && !Finite(p2)))
            throw ERevisionCloud(_("Circles not colliding, different heights"));
    }
    if (count == 2 && SameXYPoint(p1, p2)) count = 1;
    return count;
}

// The end of the arc on Circle that starts at Start: where it meets Next, on the side the path
// turns to.
TXYPoint ArcEnd(const TCircle& circle, const TCircle& next, const TXYPoint& start, bool ccw) {
    TXYPoint p1, p2;
    if (CircleIntersections(circle, next, p1, p2) == 1) return p1;
    const TXYPoint centre = Centre(circle), startDirection = XYSub(start, centre);
    const double a1 = AngleBetween(XYSub(p1, centre), startDirection);
    const double a2 = AngleBetween(XYSub(p2, centre), startDirection);
    if (ccw) return a2 < a1 ? p2 : p1;
    return a2 >= a1 ? p2 : p1;
}

// The middle of the arc from Start to End about Centre, clockwise for counter-clockwise paths
// and counter-clockwise for clockwise ones: the arcs bulge away from the enclosed area.
TXYPoint ThroughPoint(const TXYPoint& centre, const TXYPoint& start, const TXYPoint& end, bool ccw) {
    const double alpha = AngleBetween(XYSub(end, centre), XYSub(start, centre));
    const double turn = ccw ? alpha / 2 : TwoPi - (TwoPi - alpha) / 2;
    return RotateXYPoint(start, centre, -turn);
}

[[noreturn]] void TooManyCircles() {
    throw ERevisionCloud(_("Too many circles to create cloud!"));
}

} // namespace

bool TRevisionCloudGenerator::GenerateCloudArcs(const TPointList& ptList, TArcList& arcs) {
    arcs.Items.clear();
    const std::vector<TPoint>& items = ptList.Items;
    // Every corner but a closing one gets a circle of its own, so such an outline is refused
    // before any work.
    if (items.size() > MaxCircles + 1) return false;
    // Summed as 32-bit integers wrap.
    uint32_t seed = 0;
    if (!items.empty()) {
        const TPoint first = items.front();
        for (const TPoint& p : items)
            seed += uint32_t(int64_t(p.X) + p.Y - first.X - first.Y);
    }
    std::vector<TXYPoint> points;
    points.reserve(items.size());
    for (const TPoint& p : items)
        points.push_back(PointToXYPoint(p));
    try {
        TRevisionCloudGenerator generator;
        generator.Generate(points, arcs, int32_t(seed));
    } catch (const std::exception&) {
        arcs.Items.clear();
        return false;
    }
    return !arcs.Items.empty();
}

void TRevisionCloudGenerator::Generate(const std::vector<TXYPoint>& points, TArcList& arcs,
                                       int32_t randSeed) {
    fRandSeed = randSeed;
    fRandSeedSet = true;
    Build(points, arcs);
}

void TRevisionCloudGenerator::Generate(const std::vector<TXYPoint>& points, TArcList& arcs) {
    std::random_device device;
    fRandSeed = int32_t(device() % 4095);
    fRandSeedSet = false;
    Build(points, arcs);
}

void TRevisionCloudGenerator::Build(const std::vector<TXYPoint>& points, TArcList& arcs) {
    arcs.Items.clear();
    if (points.empty()) throw ERevisionCloud(_("Not enough points to create cloud!"));
    if (points.size() > MaxCircles + 1) TooManyCircles();
    const std::vector<TXYPoint> inset = InsetPoints(points);
    const std::vector<TCircle> circles = PathCircles(inset);
    Arcs(inset, circles, arcs);
}

int32_t TRevisionCloudGenerator::Rand(int32_t a, int32_t b) {
    fRandSeed %= 2147483647;
    if (a == b) return a;
    const int64_t span = int64_t(b) - a;
    // The word is not negative, so the remainder lies in [0, |span|).
    return ClampToInt32(a + int64_t(SeedWord()) % span);
}

uint32_t TRevisionCloudGenerator::SeedWord() {
    if (fHasher.Valid && fHasher.Seed == fRandSeed) return fHasher.Word;
    const std::string text = std::to_string(fRandSeed);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &size, EVP_sha1(), nullptr) != 1 || size < 4)
        throw ERevisionCloud(_("Cannot compute the SHA-1 digest"));
    fHasher.Valid = true;
    fHasher.Seed = fRandSeed;
    fHasher.Word = uint32_t(digest[0]) | uint32_t(digest[1]) << 8 | uint32_t(digest[2]) << 16 |
                   uint32_t(digest[3]) << 24;
    return fHasher.Word;
}

std::vector<TXYPoint> TRevisionCloudGenerator::InsetPoints(std::vector<TXYPoint> points) const {
    TXYPoint c;
    for (const TXYPoint& p : points)
        c = XYAdd(c, p);
    c = XYDiv(c, double(points.size()));
    const auto allSame = [&points](double TXYPoint::*coordinate) {
        for (size_t i = 1; i < points.size(); ++i)
            if (!Same(points[i].*coordinate, points[i - 1].*coordinate)) return false;
        return true;
    };
    if (allSame(&TXYPoint::Y)) {
        // A straight path has no inside: the cloud runs beside it, above when it runs left to right.
        c.Y += points.back().X >= points.front().X ? StraightPathOffset : -StraightPathOffset;
        for (TXYPoint& p : points)
            p.Y = c.Y;
    } else if (allSame(&TXYPoint::X)) {
        c.X += points.back().Y >= points.front().Y ? StraightPathOffset : -StraightPathOffset;
        for (TXYPoint& p : points)
            p.X = c.X;
    } else {
        for (TXYPoint& p : points) {
            const double d = XYDistance(p, c);
            // A corner on the centroid has no direction to move in.
            const double f = d > 0 ? 1 - Inset / d : 1;
            p = {double(Round(c.X + (p.X - c.X) * f)), double(Round(c.Y + (p.Y - c.Y) * f))};
        }
    }
    return points;
}

std::vector<TCircle> TRevisionCloudGenerator::PathCircles(const std::vector<TXYPoint>& points) {
    const size_t n = points.size();
    fClosed = SameXYPoint(points.front(), points.back());
    if (fClosed && points.front() != points.back()) throw ERevisionCloud(_("Shape is not actually closed!"));
    std::vector<TCircle> circles;
    if (n < 2) return circles;

    std::vector<double> lengths(n - 1);
    for (size_t i = 0; i + 1 < n; ++i)
        lengths[i] = XYDistance(points[i], points[i + 1]);
    std::vector<double> radii(n);
    const double firstLength = fClosed ? std::min(lengths.front(), lengths.back()) : lengths.front();
    radii[0] = Rand(50, Round(Clamp(firstLength, 50, 100)));
    for (size_t i = 1; i < n; ++i) {
        const double shorter = i + 1 == n ? lengths[i - 1] : std::min(lengths[i - 1], lengths[i]);
        radii[i] = Rand(50, Round(Clamp(shorter - 20, 50, 100)));
    }
    // A closed path ends on the circle it began with.
    if (fClosed) radii[n - 1] = radii[0];

    const auto circleAt = [&](size_t i) { return TCircle{points[i].X, points[i].Y, radii[i]}; };
    for (size_t j = 0; j + 1 < n; ++j)
        AddSegmentCircles({points[j], circleAt(j), points[j + 1], circleAt(j + 1)}, circles);
    if (!fClosed) {
        if (circles.size() >= MaxCircles) TooManyCircles();
        circles.push_back(circleAt(n - 1));
    }
    return circles;
}

void TRevisionCloudGenerator::AddSegmentCircles(const TCircleLine& line, std::vector<TCircle>& circles) {
    const TXYPoint s = line.StartPt;
    const double d = XYDistance(s, line.EndPt);
    const double r0 = line.StartCircle.Radius, r1 = line.EndCircle.Radius;
    const TXYPoint u = UnitVector(s, line.EndPt);
    // Circles are laid out along the X axis from the start and then turned onto the segment.
    const auto add = [&](double x, double radius) {
        if (circles.size() >= MaxCircles) TooManyCircles();
        circles.push_back({s.X + x * u.X, s.Y + x * u.Y, radius});
    };
    add(0, r0);
    double remaining = d - r0 - r1;
    if (remaining <= 0) return;
    double x = 0, previousRadius = r0;
    for (int added = 0;;) {
        int32_t radius;
        if (remaining < 180) {
            const int32_t t = Rand(50, Round(Clamp(remaining / 2 + r1, 50, 100)));
            radius = Rand(50, t);
        } else if (added > 0) {
            radius = Rand(50, 100);
        } else {
            radius = Rand(50, Round(Clamp(2 * r0, 50, 100)));
        }
        const int32_t overlap = Rand(20, 50);
        x += previousRadius + radius - overlap;
        add(x, radius);
        ++added;
        previousRadius = radius;
        remaining = (d - r0 - r1) + r0 - x - radius + 20;
        if (remaining < 0 || added > MaxCirclesPerSegment) break;
    }
}

void TRevisionCloudGenerator::Arcs(const std::vector<TXYPoint>& points, const std::vector<TCircle>& circles,
                                   TArcList& arcs) {
    if (circles.empty()) return;
    const size_t n = points.size();
    double s = 0;
    for (size_t i = 0; i + 1 < n; ++i)
        s += (points[i].X - points[i + 1].X) * (points[i].Y + points[i + 1].Y);
    s += (points[n - 1].X - points[0].X) * (points[n - 1].Y + points[0].Y);
    fDirectionCCW = !(s > 0);
    const bool ccw = fDirectionCCW;

    const TCircle& first = circles.front();
    TXYPoint start = XYSub(Centre(first), XYScale(UnitVector(points[0], points[1]), first.Radius));
    std::vector<TArc> out;
    out.reserve(circles.size());
    const auto addArc = [&](const TCircle& circle, const TXYPoint& end) {
        out.push_back({start, end, ThroughPoint(Centre(circle), start, end, ccw)});
        start = end;
    };
    for (size_t i = 0; i + 1 < circles.size(); ++i)
        addArc(circles[i], ArcEnd(circles[i], circles[i + 1], start, ccw));
    if (fClosed) {
        addArc(circles.back(), ArcEnd(circles.back(), first, start, ccw));
        // The cloud closes where it began: the first arc starts at the last crossing.
        TArc& firstArc = out.front();
        firstArc.StartPt = start;
        firstArc.ThroughPt = ThroughPoint(Centre(first), start, firstArc.EndPt, ccw);
    } else {
        const TCircle& last = circles.back();
        addArc(last, XYAdd(Centre(last), XYScale(UnitVector(points[n - 2], points[n - 1]), last.Radius)));
    }
    arcs.Items = std::move(out);
}
