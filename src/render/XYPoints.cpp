#include "render/XYPoints.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>

int32_t Round(double Value) {
    if (std::isnan(Value)) return 0;
    // nearbyint follows the default rounding mode, which is round-half-to-even.
    const double R = std::nearbyint(Value);
    if (R >= 2147483647.0) return INT32_MAX;
    if (R <= -2147483648.0) return INT32_MIN;
    return int32_t(R);
}

int32_t Trunc(double Value) {
    if (std::isnan(Value)) return 0;
    const double R = std::trunc(Value);
    if (R >= 2147483647.0) return INT32_MAX;
    if (R <= -2147483648.0) return INT32_MIN;
    return int32_t(R);
}

bool Same(double A, double B) {
    const double Tol = std::max(std::min(std::fabs(A), std::fabs(B)) * 1e-12, 1e-12);
    return std::fabs(A - B) <= Tol;
}

int Sign(double Value) {
    return Value < 0 ? -1 : Value > 0 ? 1 : 0;
}

double VectorAngle(double Dx, double Dy) {
    if (Dx == 0) return Sign(Dy) * std::numbers::pi / 2;
    return std::atan2(Dy, Dx);
}

double NormalizeDegrees(double Degrees) {
    if (!std::isfinite(Degrees)) return 0;
    // fmod first so an absurd angle cannot spin the loop for long.
    Degrees = std::fmod(Degrees, 360.0);
    while (Degrees < 0)
        Degrees += 360;
    while (Degrees >= 360)
        Degrees -= 360;
    return Degrees;
}

TXYPoint XYPoint(double X, double Y) {
    return {X, Y};
}
TXYPoint PointToXYPoint(const TPoint& P) {
    return {double(P.X), double(P.Y)};
}
TPoint XYPointToPoint(const TXYPoint& P) {
    return {Round(P.X), Round(P.Y)};
}
TXYPoint XYAdd(const TXYPoint& P, const TXYPoint& Q) {
    return {P.X + Q.X, P.Y + Q.Y};
}
TXYPoint XYSub(const TXYPoint& P, const TXYPoint& Q) {
    return {P.X - Q.X, P.Y - Q.Y};
}
TXYPoint XYScale(const TXYPoint& P, double F) {
    return {P.X * F, P.Y * F};
}
TXYPoint XYDiv(const TXYPoint& P, double F) {
    return {P.X / F, P.Y / F};
}
TXYPoint XYMid(const TXYPoint& P, const TXYPoint& Q) {
    return {(P.X + Q.X) / 2, (P.Y + Q.Y) / 2};
}
double XYSqrDistance(const TXYPoint& P, const TXYPoint& Q) {
    const double Dx = P.X - Q.X, Dy = P.Y - Q.Y;
    return Dx * Dx + Dy * Dy;
}
double XYDistance(const TXYPoint& P, const TXYPoint& Q) {
    return std::sqrt(XYSqrDistance(P, Q));
}
bool SameXYPoint(const TXYPoint& P, const TXYPoint& Q) {
    return Same(P.X, Q.X) && Same(P.Y, Q.Y);
}

double XYAngle(const TXYPoint& P, const TXYPoint& Q) {
    return NormalizeDegrees(VectorAngle(P.X - Q.X, P.Y - Q.Y) * 180 / std::numbers::pi);
}

TXYPoint RotateXYPoint(const TXYPoint& P, const TXYPoint& C, double Angle) {
    if (std::fabs(Angle) <= 1e-12) return P;
    const double R = XYDistance(P, C);
    const double T = VectorAngle(P.X - C.X, P.Y - C.Y);
    return {C.X + R * std::cos(T + Angle), C.Y + R * std::sin(T + Angle)};
}

TXYPoint RotateXYPointDeg(const TXYPoint& P, const TXYPoint& C, double Degrees) {
    return RotateXYPoint(P, C, NormalizeDegrees(Degrees) * std::numbers::pi / 180);
}

void RotateXYPoints(std::span<TXYPoint> Points, const TXYPoint& C, double Degrees) {
    for (TXYPoint& P : Points)
        P = RotateXYPointDeg(P, C, Degrees);
}

void ExtentsAddXYPoint(const TXYPoint& P, TExtentsRect& E) {
    ExtentsAddPoint(XYPointToPoint(P), E);
}

namespace {
std::string FloatText(double V) {
    char Buf[64];
    const auto Res = std::to_chars(Buf, Buf + sizeof Buf, V);
    return std::string(Buf, Res.ptr);
}

double ParseFloat(const std::string& S) {
    double V = 0;
    const char* First = S.data();
    const char* Last = S.data() + S.size();
    const auto Res = std::from_chars(First, Last, V);
    if (Res.ec != std::errc() || Res.ptr != Last) return 0;
    return V;
}
} // namespace

void TXYPointList::Add(const TXYPoint& AValue) {
    FXList.push_back(FloatText(AValue.X));
    FYList.push_back(FloatText(AValue.Y));
}

TXYPoint TXYPointList::GetXYPoints(int AIndex) const {
    if (AIndex < 0 || size_t(AIndex) >= FXList.size() || size_t(AIndex) >= FYList.size())
        throw std::out_of_range("TXYPointList index out of range");
    return {ParseFloat(FXList[AIndex]), ParseFloat(FYList[AIndex])};
}

void TXYPointList::Clear() {
    FXList.clear();
    FYList.clear();
}
