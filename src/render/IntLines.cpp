#include "render/IntLines.h"

#include <algorithm>

TIntLine::TIntLine(const TPoint& P1, const TPoint& P2) : fP1(P1), fP2(P2) {
    if (IsVert()) {
        fA = P1.X;
    } else if (IsHorz()) {
        fB = P1.Y;
    } else {
        fA = (double(P1.Y) - P2.Y) / (double(P1.X) - P2.X);
        fB = P1.Y - P1.X * fA;
    }
}

bool TIntLine::IsParallel(const TIntLine& Second) const {
    const bool AxisA = IsVert() || IsHorz(), AxisB = Second.IsVert() || Second.IsHorz();
    if (IsVert() && Second.IsVert()) return true;
    if (IsHorz() && Second.IsHorz()) return true;
    // An axis-parallel line keeps a coordinate, not a slope, in fA: comparing it with a slanted
    // line's slope would call lines parallel that cross.
    if (AxisA || AxisB) return false;
    return Same(fA, Second.fA);
}

bool TIntLine::IntersectionPoint(const TIntLine& Second, TPoint& IP) const {
    IP = TPoint(0, 0);
    if (IsParallel(Second)) return false;
    if (IsVert() && Second.IsHorz()) {
        IP = TPoint(fP1.X, Second.fP1.Y);
    } else if (IsHorz() && Second.IsVert()) {
        IP = TPoint(Second.fP1.X, fP1.Y);
    } else if (IsVert()) {
        IP = TPoint(fP1.X, Round(fP1.X * Second.fA + Second.fB));
    } else if (Second.IsVert()) {
        IP = TPoint(Second.fP1.X, Round(Second.fP1.X * fA + fB));
    } else if (IsHorz()) {
        IP = TPoint(Round((fP1.Y - Second.fB) / Second.fA), fP1.Y);
    } else if (Second.IsHorz()) {
        IP = TPoint(Round((Second.fP1.Y - fB) / fA), Second.fP1.Y);
    } else {
        const double X = (Second.fB - fB) / (fA - Second.fA);
        IP = TPoint(Round(X), Round(X * fA + fB));
    }
    return true;
}

bool TIntLine::PointIsOn(const TPoint& Pt) const {
    return std::min(fP1.X, fP2.X) <= Pt.X && Pt.X <= std::max(fP1.X, fP2.X) &&
           std::min(fP1.Y, fP2.Y) <= Pt.Y && Pt.Y <= std::max(fP1.Y, fP2.Y);
}

bool TIntLine::IntersectionPointOnLines(const TIntLine& Second, TPoint& IP) const {
    return IntersectionPoint(Second, IP) && PointIsOn(IP) && Second.PointIsOn(IP);
}
