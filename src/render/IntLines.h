#pragma once
// Integer line with its slope form, used by connection-line crossing and snapping.
#include "render/XYPoints.h"

class TIntLine {
public:
    TIntLine(const TPoint& p1, const TPoint& p2);

    bool IsVert() const { return fP1.X == fP2.X; }
    bool IsHorz() const { return fP1.Y == fP2.Y; }
    bool IsParallel(const TIntLine& second) const;
    // Crossing of the two infinite lines; IP is (0, 0) and the result false for parallel lines.
    bool IntersectionPoint(const TIntLine& second, TPoint& ip) const;
    // Bounding-box test, both ranges inclusive.
    bool PointIsOn(const TPoint& pt) const;
    bool IntersectionPointOnLines(const TIntLine& second, TPoint& ip) const;

    TPoint fP1;
    TPoint fP2;
    // Vertical: fA = X, fB = 0. Horizontal: fA = 0, fB = Y. Otherwise Y = fA * X + fB.
    double fA = 0;
    double fB = 0;
};
