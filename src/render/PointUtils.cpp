#include "render/PointUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double PointDist(const TPoint& P, const TPoint& Q) {
    const double Dx = double(Q.X) - P.X, Dy = double(Q.Y) - P.Y;
    if (Dy == 0) return std::fabs(Dx);
    if (Dx == 0) return std::fabs(Dy);
    return std::sqrt(Dx * Dx + Dy * Dy);
}

bool PointIsNear(const TPoint& P, const TPoint& Q, double Tol) {
    return PointDist(P, Q) <= Tol;
}

namespace {
// Angle of (Dx, Dy) in radians with the atan2 in single precision.
double SingleAngle(int64_t Dx, int64_t Dy) {
    if (Dx == 0) return Sign(double(Dy)) * std::numbers::pi / 2;
    return double(std::atan2(float(Dy), float(Dx)));
}

bool Between(int64_t V, int64_t A, int64_t B) {
    return std::min(A, B) <= V && V <= std::max(A, B);
}
} // namespace

double PointAngle(const TPoint& P, const TPoint& Q) {
    return NormalizeDegrees(SingleAngle(int64_t(P.X) - Q.X, int64_t(P.Y) - Q.Y) * 180 / std::numbers::pi);
}

TPoint PointMid(const TPoint& P, const TPoint& Q) {
    return {Round(P.X + (double(Q.X) - P.X) * 0.5), Round(P.Y + (double(Q.Y) - P.Y) * 0.5)};
}

bool PointsCollinear(const TPoint& A, const TPoint& B, const TPoint& C) {
    // Each difference needs 33 bits, each product 66: only 128 bits hold the cross product exactly.
    const __int128 Bx = int64_t(B.X) - A.X, By = int64_t(B.Y) - A.Y;
    const __int128 Cx = int64_t(C.X) - A.X, Cy = int64_t(C.Y) - A.Y;
    return Bx * Cy - By * Cx == 0;
}

TPoint RotatePoint90(const TPoint& P, const TPoint& C) {
    return {ClampToInt32(int64_t(C.X) - (int64_t(P.Y) - C.Y)),
            ClampToInt32(int64_t(C.Y) + (int64_t(P.X) - C.X))};
}

TPoint RotatePoint(const TPoint& P, const TPoint& C, double Angle) {
    const double R = PointDist(P, C);
    const double T = SingleAngle(int64_t(P.X) - C.X, int64_t(P.Y) - C.Y);
    return {Round(C.X + R * std::cos(T + Angle)), Round(C.Y + R * std::sin(T + Angle))};
}

TPoint ScalePoint(const TPoint& P, const TPoint& C, double F) {
    return {Round(C.X + (double(P.X) - C.X) * F), Round(C.Y + (double(P.Y) - C.Y) * F)};
}

TPoint FlipPointX(const TPoint& P, const TPoint& C) {
    return {ClampToInt32(2 * int64_t(C.X) - P.X), P.Y};
}

TPoint FlipPointY(const TPoint& P, const TPoint& C) {
    return {P.X, ClampToInt32(2 * int64_t(C.Y) - P.Y)};
}

TRect RectFromPoints(const TPoint& A, const TPoint& B) {
    return TRect(A, B);
}

TRect NormalRectFromPoints(const TPoint& A, const TPoint& B) {
    return TRect({std::min(A.X, B.X), std::min(A.Y, B.Y)}, {std::max(A.X, B.X), std::max(A.Y, B.Y)});
}

TRect InflateRectBy(const TRect& R, int32_t D) {
    // Outward means away from the other corner, whichever order the corners come in.
    const auto Out = [D](int32_t V, int32_t Other) {
        return V <= Other ? ClampToInt32(int64_t(V) - D) : ClampToInt32(int64_t(V) + D);
    };
    return TRect({Out(R.P1.X, R.P2.X), Out(R.P1.Y, R.P2.Y)}, {Out(R.P2.X, R.P1.X), Out(R.P2.Y, R.P1.Y)});
}

TRect SquareAroundPoint(const TPoint& P, int32_t D) {
    return TRect({ClampToInt32(int64_t(P.X) - D), ClampToInt32(int64_t(P.Y) - D)},
                 {ClampToInt32(int64_t(P.X) + D), ClampToInt32(int64_t(P.Y) + D)});
}

bool PointInRect(const TPoint& P, const TRect& R) {
    return Between(P.X, R.P1.X, R.P2.X) && Between(P.Y, R.P1.Y, R.P2.Y);
}

bool PointInSpan(const TPoint& P, const TPoint& A, const TPoint& B) {
    const auto Axis = [](int32_t V, int32_t From, int32_t To) {
        return From <= To ? (From <= V && V <= To) : (To < V && V < From);
    };
    return Axis(P.X, A.X, B.X) && Axis(P.Y, A.Y, B.Y);
}

bool SegmentMeetsRect(const TRect& R, const TPoint& A, const TPoint& B) {
    if (PointInRect(A, R) || PointInRect(B, R)) return true;
    const double Dx = double(B.X) - A.X, Dy = double(B.Y) - A.Y;
    const auto Hit = [&](double X, double Y) {
        const TPoint Cut{Round(X), Round(Y)};
        return PointInSpan(Cut, A, B) && PointInRect(Cut, R);
    };
    const double Left = R.P1.X, Right = R.P2.X, Top = R.P1.Y, Bottom = R.P2.Y;
    if (Dy == 0) return Hit(Left, A.Y) || Hit(Right, A.Y);
    if (Dx == 0) return Hit(A.X, Top) || Hit(A.X, Bottom);
    const auto CutY = [&](double Y) { return Hit(A.X + (Y - A.Y) * Dx / Dy, Y); };
    const auto CutX = [&](double X) { return Hit(X, A.Y + (X - A.X) * Dy / Dx); };
    // A segment that crosses the box with both ends outside crosses two edges, so three suffice.
    return CutY(Top) || CutY(Bottom) || CutX(Left);
}

bool BoxOutlineMeetsRect(const TRect& R, const TPoint& A, const TPoint& B) {
    const TPoint C1{B.X, A.Y}, C2{A.X, B.Y};
    return SegmentMeetsRect(R, A, C1) || SegmentMeetsRect(R, C1, B) || SegmentMeetsRect(R, B, C2) ||
           SegmentMeetsRect(R, C2, A);
}

int LineCircleIntersection(const TXYPoint& A, const TXYPoint& B, const TXYPoint& C, double Radius,
                           TXYPoint& P1, TXYPoint& P2) {
    const TXYPoint a = XYSub(A, C), b = XYSub(B, C), d = XYSub(b, a);
    const double L2 = d.X * d.X + d.Y * d.Y;
    const double D = a.X * b.Y - b.X * a.Y;
    const double Delta = Radius * Radius * L2 - D * D;
    if (Delta < 0 || L2 == 0) return 0;
    const double Root = std::sqrt(Delta);
    const double S = d.Y >= 0 ? 1 : -1;
    P1 = {C.X + (D * d.Y + S * d.X * Root) / L2, C.Y + (-D * d.X + std::fabs(d.Y) * Root) / L2};
    P2 = {C.X + (D * d.Y - S * d.X * Root) / L2, C.Y + (-D * d.X - std::fabs(d.Y) * Root) / L2};
    return Delta == 0 ? 1 : 2;
}

bool PointOnAxisSegment(const TPoint& A, const TPoint& B, double X, double Y) {
    if (A.Y == B.Y) return std::fabs(Y - A.Y) <= 0.001 && std::min(A.X, B.X) <= X && X <= std::max(A.X, B.X);
    if (A.X == B.X) return std::fabs(X - A.X) <= 0.001 && std::min(A.Y, B.Y) <= Y && Y <= std::max(A.Y, B.Y);
    return false;
}

bool CircleMeetsRect(const TRect& R, const TPoint& C, double Radius) {
    if (PointInRect(C, R)) return true;
    const TPoint Corners[4] = {R.P1, {R.P2.X, R.P1.Y}, R.P2, {R.P1.X, R.P2.Y}};
    for (int I = 0; I < 4; ++I) {
        const TPoint& E1 = Corners[I];
        const TPoint& E2 = Corners[(I + 1) % 4];
        TXYPoint Q1, Q2;
        const int N =
            LineCircleIntersection(PointToXYPoint(E1), PointToXYPoint(E2), PointToXYPoint(C), Radius, Q1, Q2);
        if (N >= 1 && PointOnAxisSegment(E1, E2, Q1.X, Q1.Y)) return true;
        if (N == 2 && PointOnAxisSegment(E1, E2, Q2.X, Q2.Y)) return true;
    }
    return false;
}

bool CircleInsideRect(const TRect& R, const TPoint& C, double Radius) {
    return PointInRect(C, R) && std::fabs(double(C.X) - R.P1.X) >= Radius &&
           std::fabs(double(C.X) - R.P2.X) >= Radius && std::fabs(double(C.Y) - R.P1.Y) >= Radius &&
           std::fabs(double(C.Y) - R.P2.Y) >= Radius;
}

double PointLineDistance(const TPoint& P, const TPoint& A, const TPoint& B, double& T) {
    const double Dx = double(B.X) - A.X, Dy = double(B.Y) - A.Y;
    const double L2 = Dx * Dx + Dy * Dy;
    if (L2 == 0) {
        T = -1;
        return 0;
    }
    const double Px = double(P.X) - A.X, Py = double(P.Y) - A.Y;
    T = (Px * Dx + Py * Dy) / L2;
    return std::fabs(Px * Dy - Py * Dx) / std::sqrt(L2);
}

double PointSegmentDistance(const TPoint& P, const TPoint& A, const TPoint& B) {
    double T = 0;
    const double D = PointLineDistance(P, A, B, T);
    if (T > 0 && T < 1) return D;
    return std::min(PointDist(P, A), PointDist(P, B));
}

void ExtentsAddSquare(const TPoint& P, int32_t D, TExtentsRect& E) {
    const int32_t X1 = ClampToInt32(int64_t(P.X) - D), X2 = ClampToInt32(int64_t(P.X) + D);
    const int32_t Y1 = ClampToInt32(int64_t(P.Y) - D), Y2 = ClampToInt32(int64_t(P.Y) + D);
    ExtentsAddPoint({X1, Y1}, E);
    ExtentsAddPoint({X1, Y2}, E);
    ExtentsAddPoint({X2, Y1}, E);
    ExtentsAddPoint({X2, Y2}, E);
}
