#include "render/IntLines.h"

#include <algorithm>

TIntLine::TIntLine(const TPoint& p1, const TPoint& p2) : fP1(p1), fP2(p2) {
    if (IsVert()) {
        fA = p1.X;
    } else if (IsHorz()) {
        fB = p1.Y;
    } else {
        fA = (double(p1.Y) - p2.Y) / (double(p1.X) - p2.X);
        fB = p1.Y - p1.X * fA;
    }
}

bool TIntLine::IsParallel(const TIntLine& second) const {
    const bool axisA = IsVert() || IsHorz(), axisB = second.IsVert() || second.IsHorz();
    if (IsVert() && second.IsVert()) return true;
    if (IsHorz() && second.IsHorz()) return true;
    // An axis-parallel line keeps a coordinate, not a slope, in fA: comparing it with a slanted
    // line's slope would call lines parallel that cross.
    if (axisA || axisB) return false;
    return Same(fA, second.fA);
}

bool TIntLine::IntersectionPoint(const TIntLine& second, TPoint& ip) const {
    ip = TPoint(0, 0);
    if (IsParallel(second)) return false;
    if (IsVert() && second.IsHorz()) {
        ip = TPoint(fP1.X, second.fP1.Y);
    } else if (IsHorz() && second.IsVert()) {
        ip = TPoint(second.fP1.X, fP1.Y);
    } else if (IsVert()) {
        ip = TPoint(fP1.X, Round(fP1.X * second.fA + second.fB));
    } else if (second.IsVert()) {
        ip = TPoint(second.fP1.X, Round(second.fP1.X * fA + fB));
    } else if (IsHorz()) {
        ip = TPoint(Round((fP1.Y - second.fB) / second.fA), fP1.Y);
    } else if (second.IsHorz()) {
        ip = TPoint(Round((second.fP1.Y - fB) / fA), second.fP1.Y);
    } else {
        const double x = (second.fB - fB) / (fA - second.fA);
        ip = TPoint(Round(x), Round(x * fA + fB));
    }
    return true;
}

bool TIntLine::PointIsOn(const TPoint& pt) const {
    return std::min(fP1.X, fP2.X) <= pt.X && pt.X <= std::max(fP1.X, fP2.X) &&
           std::min(fP1.Y, fP2.Y) <= pt.Y && pt.Y <= std::max(fP1.Y, fP2.Y);
}

bool TIntLine::IntersectionPointOnLines(const TIntLine& second, TPoint& ip) const {
    return IntersectionPoint(second, ip) && PointIsOn(ip) && second.PointIsOn(ip);
}
