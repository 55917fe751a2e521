#include "render/XYPoints.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>

int32_t Round(double value) {
    if (std::isnan(value)) return 0;
    // nearbyint follows the default rounding mode, which is round-half-to-even.
    const double r = std::nearbyint(value);
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return int32_t(r);
}

int32_t Trunc(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::trunc(value);
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return int32_t(r);
}

bool Same(double a, double b) {
    const double tol = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
    return std::fabs(a - b) <= tol;
}

int Sign(double value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

double VectorAngle(double dx, double dy) {
    if (dx == 0) return Sign(dy) * std::numbers::pi / 2;
    return std::atan2(dy, dx);
}

double NormalizeDegrees(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    // fmod first so an absurd angle cannot spin the loop for long.
    degrees = std::fmod(degrees, 360.0);
    while (degrees < 0)
        degrees += 360;
    while (degrees >= 360)
        degrees -= 360;
    return degrees;
}

TXYPoint XYPoint(double x, double y) {
    return {x, y};
}
TXYPoint PointToXYPoint(const TPoint& p) {
    return {double(p.X), double(p.Y)};
}
TPoint XYPointToPoint(const TXYPoint& p) {
    return {Round(p.X), Round(p.Y)};
}
TXYPoint XYAdd(const TXYPoint& p, const TXYPoint& q) {
    return {p.X + q.X, p.Y + q.Y};
}
TXYPoint XYSub(const TXYPoint& p, const TXYPoint& q) {
    return {p.X - q.X, p.Y - q.Y};
}
TXYPoint XYScale(const TXYPoint& p, double f) {
    return {p.X * f, p.Y * f};
}
TXYPoint XYDiv(const TXYPoint& p, double f) {
    return {p.X / f, p.Y / f};
}
TXYPoint XYMid(const TXYPoint& p, const TXYPoint& q) {
    return {(p.X + q.X) / 2, (p.Y + q.Y) / 2};
}
double XYSqrDistance(const TXYPoint& p, const TXYPoint& q) {
    const double dx = p.X - q.X, dy = p.Y - q.Y;
    return dx * dx + dy * dy;
}
double XYDistance(const TXYPoint& p, const TXYPoint& q) {
    return std::sqrt(XYSqrDistance(p, q));
}
bool SameXYPoint(const TXYPoint& p, const TXYPoint& q) {
    return Same(p.X, q.X) && Same(p.Y, q.Y);
}

double XYAngle(const TXYPoint& p, const TXYPoint& q) {
    return NormalizeDegrees(VectorAngle(p.X - q.X, p.Y - q.Y) * 180 / std::numbers::pi);
}

TXYPoint RotateXYPoint(const TXYPoint& p, const TXYPoint& c, double angle) {
    if (std::fabs(angle) <= 1e-12) return p;
    const double r = XYDistance(p, c);
    const double t = VectorAngle(p.X - c.X, p.Y - c.Y);
    return {c.X + r * std::cos(t + angle), c.Y + r * std::sin(t + angle)};
}

TXYPoint RotateXYPointDeg(const TXYPoint& p, const TXYPoint& c, double degrees) {
    return RotateXYPoint(p, c, NormalizeDegrees(degrees) * std::numbers::pi / 180);
}

void RotateXYPoints(std::span<TXYPoint> points, const TXYPoint& c, double degrees) {
    for (TXYPoint& p : points)
        p = RotateXYPointDeg(p, c, degrees);
}

void ExtentsAddXYPoint(const TXYPoint& p, TExtentsRect& e) {
    ExtentsAddPoint(XYPointToPoint(p), e);
}

namespace {
std::string FloatText(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

double ParseFloat(const std::string& s) {
    double v = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    const auto res = std::from_chars(first, last, v);
    if (res.ec != std::errc() || res.ptr != last) return 0;
    return v;
}
} // namespace

void TXYPointList::Add(const TXYPoint& aValue) {
    FXList.push_back(FloatText(aValue.X));
    FYList.push_back(FloatText(aValue.Y));
}

TXYPoint TXYPointList::GetXYPoints(int aIndex) const {
    if (aIndex < 0 || size_t(aIndex) >= FXList.size() || size_t(aIndex) >= FYList.size())
        throw std::out_of_range("TXYPointList index out of range");
    return {ParseFloat(FXList[aIndex]), ParseFloat(FYList[aIndex])};
}

void TXYPointList::Clear() {
    FXList.clear();
    FYList.clear();
}
