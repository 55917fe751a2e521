#include "render/PointUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double PointDist(const TPoint& p, const TPoint& q) {
    const double dx = double(q.X) - p.X, dy = double(q.Y) - p.Y;
    if (dy == 0) return std::fabs(dx);
    if (dx == 0) return std::fabs(dy);
    return std::sqrt(dx * dx + dy * dy);
}

bool PointIsNear(const TPoint& p, const TPoint& q, double tol) {
    return PointDist(p, q) <= tol;
}

namespace {
// Angle of (Dx, Dy) in radians with the atan2 in single precision.
double SingleAngle(int64_t dx, int64_t dy) {
    if (dx == 0) return Sign(double(dy)) * std::numbers::pi / 2;
    return double(std::atan2(float(dy), float(dx)));
}

bool Between(int64_t v, int64_t a, int64_t b) {
    return std::min(a, b) <= v && v <= std::max(a, b);
}
} // namespace

double PointAngle(const TPoint& p, const TPoint& q) {
    return NormalizeDegrees(SingleAngle(int64_t(p.X) - q.X, int64_t(p.Y) - q.Y) * 180 / std::numbers::pi);
}

TPoint PointMid(const TPoint& p, const TPoint& q) {
    return {Round(p.X + (double(q.X) - p.X) * 0.5), Round(p.Y + (double(q.Y) - p.Y) * 0.5)};
}

bool PointsCollinear(const TPoint& a, const TPoint& b, const TPoint& c) {
    // Each difference needs 33 bits, each product 66: only 128 bits hold the cross product exactly.
    const __int128 bx = int64_t(b.X) - a.X, by = int64_t(b.Y) - a.Y;
    const __int128 cx = int64_t(c.X) - a.X, cy = int64_t(c.Y) - a.Y;
    return bx * cy - by * cx == 0;
}

TPoint RotatePoint90(const TPoint& p, const TPoint& c) {
    return {ClampToInt32(int64_t(c.X) - (int64_t(p.Y) - c.Y)),
            ClampToInt32(int64_t(c.Y) + (int64_t(p.X) - c.X))};
}

TPoint RotatePoint(const TPoint& p, const TPoint& c, double angle) {
    const double r = PointDist(p, c);
    const double t = SingleAngle(int64_t(p.X) - c.X, int64_t(p.Y) - c.Y);
    return {Round(c.X + r * std::cos(t + angle)), Round(c.Y + r * std::sin(t + angle))};
}

TPoint ScalePoint(const TPoint& p, const TPoint& c, double f) {
    return {Round(c.X + (double(p.X) - c.X) * f), Round(c.Y + (double(p.Y) - c.Y) * f)};
}

TPoint FlipPointX(const TPoint& p, const TPoint& c) {
    return {ClampToInt32(2 * int64_t(c.X) - p.X), p.Y};
}

TPoint FlipPointY(const TPoint& p, const TPoint& c) {
    return {p.X, ClampToInt32(2 * int64_t(c.Y) - p.Y)};
}

TRect RectFromPoints(const TPoint& a, const TPoint& b) {
    return TRect(a, b);
}

TRect NormalRectFromPoints(const TPoint& a, const TPoint& b) {
    return TRect({std::min(a.X, b.X), std::min(a.Y, b.Y)}, {std::max(a.X, b.X), std::max(a.Y, b.Y)});
}

TRect InflateRectBy(const TRect& r, int32_t d) {
    // Outward means away from the other corner, whichever order the corners come in.
    const auto out = [d](int32_t v, int32_t other) {
        return v <= other ? ClampToInt32(int64_t(v) - d) : ClampToInt32(int64_t(v) + d);
    };
    return TRect({out(r.P1.X, r.P2.X), out(r.P1.Y, r.P2.Y)}, {out(r.P2.X, r.P1.X), out(r.P2.Y, r.P1.Y)});
}

TRect SquareAroundPoint(const TPoint& p, int32_t d) {
    return TRect({ClampToInt32(int64_t(p.X) - d), ClampToInt32(int64_t(p.Y) - d)},
                 {ClampToInt32(int64_t(p.X) + d), ClampToInt32(int64_t(p.Y) + d)});
}

bool PointInRect(const TPoint& p, const TRect& r) {
    return Between(p.X, r.P1.X, r.P2.X) && Between(p.Y, r.P1.Y, r.P2.Y);
}

bool PointInSpan(const TPoint& p, const TPoint& a, const TPoint& b) {
    const auto axis = [](int32_t v, int32_t from, int32_t to) {
        return from <= to ? (from <= v && v <= to) : (to < v && v < from);
    };
    return axis(p.X, a.X, b.X) && axis(p.Y, a.Y, b.Y);
}

bool SegmentMeetsRect(const TRect& r, const TPoint& a, const TPoint& b) {
    if (PointInRect(a, r) || PointInRect(b, r)) return true;
    const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
    const auto hit = [&](double x, double y) {
        const TPoint cut{Round(x), Round(y)};
        return PointInSpan(cut, a, b) && PointInRect(cut, r);
    };
    const double left = r.P1.X, right = r.P2.X, top = r.P1.Y, bottom = r.P2.Y;
    if (dy == 0) return hit(left, a.Y) || hit(right, a.Y);
    if (dx == 0) return hit(a.X, top) || hit(a.X, bottom);
    const auto cutY = [&](double y) { return hit(a.X + (y - a.Y) * dx / dy, y); };
    const auto cutX = [&](double x) { return hit(x, a.Y + (x - a.X) * dy / dx); };
    // A segment that crosses the box with both ends outside crosses two edges, so three suffice.
    return cutY(top) || cutY(bottom) || cutX(left);
}

bool BoxOutlineMeetsRect(const TRect& r, const TPoint& a, const TPoint& b) {
    const TPoint c1{b.X, a.Y}, c2{a.X, b.Y};
    return SegmentMeetsRect(r, a, c1) || SegmentMeetsRect(r, c1, b) || SegmentMeetsRect(r, b, c2) ||
           SegmentMeetsRect(r, c2, a);
}

int LineCircleIntersection(const TXYPoint& a, const TXYPoint& b, const TXYPoint& c, double radius,
                           TXYPoint& p1, TXYPoint& p2) {
    const TXYPoint ra = XYSub(a, c), rb = XYSub(b, c), dir = XYSub(rb, ra);
    const double l2 = dir.X * dir.X + dir.Y * dir.Y;
    const double cross = ra.X * rb.Y - rb.X * ra.Y;
    const double delta = radius * radius * l2 - cross * cross;
    if (delta < 0 || l2 == 0) return 0;
    const double root = std::sqrt(delta);
    const double s = dir.Y >= 0 ? 1 : -1;
    p1 = {c.X + (cross * dir.Y + s * dir.X * root) / l2,
          c.Y + (-cross * dir.X + std::fabs(dir.Y) * root) / l2};
    p2 = {c.X + (cross * dir.Y - s * dir.X * root) / l2,
          c.Y + (-cross * dir.X - std::fabs(dir.Y) * root) / l2};
    return delta == 0 ? 1 : 2;
}

bool PointOnAxisSegment(const TPoint& a, const TPoint& b, double x, double y) {
    if (a.Y == b.Y) return std::fabs(y - a.Y) <= 0.001 && std::min(a.X, b.X) <= x && x <= std::max(a.X, b.X);
    if (a.X == b.X) return std::fabs(x - a.X) <= 0.001 && std::min(a.Y, b.Y) <= y && y <= std::max(a.Y, b.Y);
    return false;
}

bool CircleMeetsRect(const TRect& r, const TPoint& c, double radius) {
    if (PointInRect(c, r)) return true;
    const TPoint corners[4] = {r.P1, {r.P2.X, r.P1.Y}, r.P2, {r.P1.X, r.P2.Y}};
    for (int i = 0; i < 4; ++i) {
        const TPoint& e1 = corners[i];
        const TPoint& e2 = corners[(i + 1) % 4];
        TXYPoint q1, q2;
        const int n =
            LineCircleIntersection(PointToXYPoint(e1), PointToXYPoint(e2), PointToXYPoint(c), radius, q1, q2);
        if (n >= 1 && PointOnAxisSegment(e1, e2, q1.X, q1.Y)) return true;
        if (n == 2 && PointOnAxisSegment(e1, e2, q2.X, q2.Y)) return true;
    }
    return false;
}

bool CircleInsideRect(const TRect& r, const TPoint& c, double radius) {
    return PointInRect(c, r) && std::fabs(double(c.X) - r.P1.X) >= radius &&
           std::fabs(double(c.X) - r.P2.X) >= radius && std::fabs(double(c.Y) - r.P1.Y) >= radius &&
           std::fabs(double(c.Y) - r.P2.Y) >= radius;
}

double PointLineDistance(const TPoint& p, const TPoint& a, const TPoint& b, double& t) {
    const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
    const double l2 = dx * dx + dy * dy;
    if (l2 == 0) {
        t = -1;
        return 0;
    }
    const double px = double(p.X) - a.X, py = double(p.Y) - a.Y;
    t = (px * dx + py * dy) / l2;
    return std::fabs(px * dy - py * dx) / std::sqrt(l2);
}

double PointSegmentDistance(const TPoint& p, const TPoint& a, const TPoint& b) {
    double t = 0;
    const double d = PointLineDistance(p, a, b, t);
    if (t > 0 && t < 1) return d;
    return std::min(PointDist(p, a), PointDist(p, b));
}

void ExtentsAddSquare(const TPoint& p, int32_t d, TExtentsRect& e) {
    const int32_t x1 = ClampToInt32(int64_t(p.X) - d), x2 = ClampToInt32(int64_t(p.X) + d);
    const int32_t y1 = ClampToInt32(int64_t(p.Y) - d), y2 = ClampToInt32(int64_t(p.Y) + d);
    ExtentsAddPoint({x1, y1}, e);
    ExtentsAddPoint({x1, y2}, e);
    ExtentsAddPoint({x2, y1}, e);
    ExtentsAddPoint({x2, y2}, e);
}
