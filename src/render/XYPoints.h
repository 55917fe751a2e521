#pragma once
// Floating drawing-space points, the numeric conventions every geometry function shares, and the
// text-backed point list used for hose routing points.
#include "base/Points.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Float to 32-bit integer, halves to the even neighbour. Values beyond the 32-bit range saturate
// and NaN gives 0, so garbage from a file can never become undefined behaviour.
int32_t Round(double Value);
// Drops the fraction toward zero, with the same saturation as Round.
int32_t Trunc(double Value);
// Narrows a 64-bit intermediate to 32 bits, saturating.
constexpr int32_t ClampToInt32(int64_t V) {
    return TPoint::Saturate(V);
}
// Relative comparison: |a - b| <= max(min(|a|, |b|) * 1e-12, 1e-12).
bool Same(double A, double B);
// -1, 0 or +1.
int Sign(double Value);
// Angle of the vector (Dx, Dy) in radians; exactly +-90 degrees (0 for the zero vector) when Dx is 0.
double VectorAngle(double Dx, double Dy);
// Degrees normalised into [0, 360).
double NormalizeDegrees(double Degrees);

struct TXYPoint {
    double X = 0;
    double Y = 0;
    friend constexpr bool operator==(const TXYPoint&, const TXYPoint&) = default;
};

struct TXYRect {
    TXYPoint TopLeft;
    TXYPoint BottomRight;
};

struct TTaggedPoint {
    int32_t Tag = 0;
    TPoint Pt;
};

TXYPoint XYPoint(double X, double Y);
TXYPoint PointToXYPoint(const TPoint& P);
TPoint XYPointToPoint(const TXYPoint& P);
TXYPoint XYAdd(const TXYPoint& P, const TXYPoint& Q);
TXYPoint XYSub(const TXYPoint& P, const TXYPoint& Q);
TXYPoint XYScale(const TXYPoint& P, double F);
TXYPoint XYDiv(const TXYPoint& P, double F);
TXYPoint XYMid(const TXYPoint& P, const TXYPoint& Q);
double XYDistance(const TXYPoint& P, const TXYPoint& Q);
double XYSqrDistance(const TXYPoint& P, const TXYPoint& Q);
bool SameXYPoint(const TXYPoint& P, const TXYPoint& Q);
// Angle of P - Q in degrees, [0, 360).
double XYAngle(const TXYPoint& P, const TXYPoint& Q);
// Counter-clockwise rotation about C by Angle radians.
TXYPoint RotateXYPoint(const TXYPoint& P, const TXYPoint& C, double Angle);
TXYPoint RotateXYPointDeg(const TXYPoint& P, const TXYPoint& C, double Degrees);
void RotateXYPoints(std::span<TXYPoint> Points, const TXYPoint& C, double Degrees);

void ExtentsAddXYPoint(const TXYPoint& P, TExtentsRect& E);

// Each coordinate is kept as its decimal text so values round-trip exactly as written.
class TXYPointList {
public:
    void Add(const TXYPoint& AValue);
    // Reads item AIndex back; an unparsable text reads as 0. Throws std::out_of_range.
    TXYPoint GetXYPoints(int AIndex) const;
    int GetCount() const { return int(FXList.size()); }
    void Clear();

    std::vector<std::string> FXList;
    std::vector<std::string> FYList;
};
