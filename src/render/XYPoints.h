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
int32_t Round(double value);
// Drops the fraction toward zero, with the same saturation as Round.
int32_t Trunc(double value);
// Narrows a 64-bit intermediate to 32 bits, saturating.
constexpr int32_t ClampToInt32(int64_t v) {
    return TPoint::Saturate(v);
}
// Relative comparison: |a - b| <= max(min(|a|, |b|) * 1e-12, 1e-12).
bool Same(double a, double b);
// -1, 0 or +1.
int Sign(double value);
// Angle of the vector (Dx, Dy) in radians; exactly +-90 degrees (0 for the zero vector) when Dx is 0.
double VectorAngle(double dx, double dy);
// Degrees normalised into [0, 360).
double NormalizeDegrees(double degrees);

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

TXYPoint XYPoint(double x, double y);
TXYPoint PointToXYPoint(const TPoint& p);
TPoint XYPointToPoint(const TXYPoint& p);
TXYPoint XYAdd(const TXYPoint& p, const TXYPoint& q);
TXYPoint XYSub(const TXYPoint& p, const TXYPoint& q);
TXYPoint XYScale(const TXYPoint& p, double f);
TXYPoint XYDiv(const TXYPoint& p, double f);
TXYPoint XYMid(const TXYPoint& p, const TXYPoint& q);
double XYDistance(const TXYPoint& p, const TXYPoint& q);
double XYSqrDistance(const TXYPoint& p, const TXYPoint& q);
bool SameXYPoint(const TXYPoint& p, const TXYPoint& q);
// Angle of P - Q in degrees, [0, 360).
double XYAngle(const TXYPoint& p, const TXYPoint& q);
// Counter-clockwise rotation about C by Angle radians.
TXYPoint RotateXYPoint(const TXYPoint& p, const TXYPoint& c, double angle);
TXYPoint RotateXYPointDeg(const TXYPoint& p, const TXYPoint& c, double degrees);
void RotateXYPoints(std::span<TXYPoint> points, const TXYPoint& c, double degrees);

void ExtentsAddXYPoint(const TXYPoint& p, TExtentsRect& e);

// Each coordinate is kept as its decimal text so values round-trip exactly as written.
class TXYPointList {
public:
    void Add(const TXYPoint& aValue);
    // Reads item AIndex back; an unparsable text reads as 0. Throws std::out_of_range.
    TXYPoint GetXYPoints(int aIndex) const;
    int GetCount() const { return int(FXList.size()); }
    void Clear();

    std::vector<std::string> FXList;
    std::vector<std::string> FYList;
};
