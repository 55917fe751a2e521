#include "objects/ShapeHelpers.h"

#include "render/PointUtils.h"
#include "render/XYLines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegToRad = Pi / 180;

TXYPoint XY(const TPoint& P) {
    return PointToXYPoint(P);
}

// A local point (X along the axis, Y to its left) turned by Theta and moved to Origin.
TXYPoint FromLocal(const TXYPoint& Origin, double Theta, double X, double Y) {
    const double C = std::cos(Theta), S = std::sin(Theta);
    return {Origin.X + X * C - Y * S, Origin.Y + X * S + Y * C};
}

TXYPoint Polar(const TXYPoint& Origin, double Length, double Angle) {
    return {Origin.X + Length * std::cos(Angle), Origin.Y + Length * std::sin(Angle)};
}

TShapePart Lines(std::initializer_list<TXYPoint> Pts) {
    TShapePart P;
    P.Kind = TShapePartKind::Lines;
    P.Pts = Pts;
    return P;
}

TShapePart Part(TShapePartKind Kind, bool Filled, std::initializer_list<TXYPoint> Pts) {
    TShapePart P;
    P.Kind = Kind;
    P.Filled = Filled;
    P.Pts = Pts;
    return P;
}

TShapePart Circle(const TXYPoint& Centre, double Radius, bool Filled) {
    TShapePart P;
    P.Kind = TShapePartKind::Circle;
    P.Filled = Filled;
    P.Centre = Centre;
    P.Radius = Radius;
    return P;
}

TShapePart Arc(const TXYPoint& Centre, double Radius, const TXYPoint& From, const TXYPoint& To) {
    TShapePart P;
    P.Kind = TShapePartKind::Arc;
    P.Centre = Centre;
    P.Radius = Radius;
    P.Pts = {From, To};
    return P;
}

// Degrees of the vector in [0, 360), single-precision atan2 as the integer point angles use.
double SingleDegrees(double Dx, double Dy) {
    return NormalizeDegrees(SingleVectorAngle(Dx, Dy) * 180 / Pi);
}

// ---------------------------------------------------------------------------------------------
// Rotating machines

bool IsMotor(TSymbolObjectType T) {
    return T >= soMotor1 && T <= soMotor2b;
}
bool IsSecondMotor(TSymbolObjectType T) {
    return T >= soMotor2 && T <= soMotor2b;
}
bool IsPump(TSymbolObjectType T) {
    return T >= soPump1 && T <= soPump2b;
}
bool IsSecondPump(TSymbolObjectType T) {
    return T >= soPump2 && T <= soPump2b;
}
bool HasFirstStub(TSymbolObjectType T) {
    switch (T) {
    case soMotor1a:
    case soMotor1c:
    case soMotor2a:
    case soMotor2b:
    case soPump1a:
    case soPump1c:
    case soPump2a:
    case soPump2b:
    case soEMotor1:
    case soEMotor2:
    case soMotorPumpControl:
        return true;
    default:
        return false;
    }
}
bool HasSecondStub(TSymbolObjectType T) {
    switch (T) {
    case soMotor1b:
    case soMotor1c:
    case soMotor2b:
    case soPump1b:
    case soPump1c:
    case soPump2b:
    case soEMotor2:
        return true;
    default:
        return false;
    }
}

// A pair of parallel lines from 1.5 L out to the circle of radius L about C, in direction Phi.
void AddStub(const TXYPoint& C, double L, double Phi, TShapeGeometry& G) {
    const double E = Round(L / 4);
    const double F = std::asin(E / L);
    const TXYPoint P = Polar(C, L, Phi + F), Q = Polar(C, L, Phi - F);
    const double Cs = std::cos(Phi), Sn = std::sin(Phi);
    const TXYPoint R = XY({Round(C.X + 1.5 * L * Cs - E * Sn), Round(C.Y + 1.5 * L * Sn + E * Cs)});
    const TXYPoint S = XY({Round(C.X + 1.5 * L * Cs + E * Sn), Round(C.Y + 1.5 * L * Sn - E * Cs)});
    G.Parts.push_back(Lines({R, P}));
    G.Parts.push_back(Lines({S, Q}));
}

void AddMachine(TSymbolObjectType T, const TPoint& IP1, const TPoint& IP2, bool Fill, bool Flip,
                TShapeGeometry& G) {
    const double L = PointDist(IP1, IP2);
    // Without a radius there is no circle to sit on, and the stub angle would divide by zero.
    if (L == 0) return;
    const TXYPoint P1 = XY(IP1), P2 = XY(IP2);
    const double H = L / 2;
    const double Tt = SingleVectorAngle(P1.X - P2.X, P1.Y - P2.Y);
    const TXYPoint U{std::cos(Tt), std::sin(Tt)};
    if (T != soMotorPumpControl) G.Parts.push_back(Circle(P1, L, false));

    if (IsMotor(T)) {
        constexpr double B = 13.935207710132993 * DegToRad;
        const auto A = [&](double Phi) { return Polar(P1, -L, Tt + Phi); };
        const TXYPoint M{P2.X + H * U.X, P2.Y + H * U.Y};
        if (Fill)
            G.Parts.push_back(
                Part(TShapePartKind::Polygon, true, {M, A(-B), A(-B / 2), P2, A(B / 2), A(B), M}));
        else
            G.Parts.push_back(Lines({A(-B), M, A(B)}));
        if (IsSecondMotor(T)) {
            const TXYPoint P2b{2 * P1.X - P2.X, 2 * P1.Y - P2.Y};
            const TXYPoint Mb{P1.X + H * U.X, P1.Y + H * U.Y};
            const auto Bp = [&](double Phi) { return Polar(P1, L, Tt + Phi); };
            if (Fill)
                G.Parts.push_back(
                    Part(TShapePartKind::Polygon, true, {Mb, Bp(-B), Bp(-B / 2), P2b, Bp(B / 2), Bp(B), Mb}));
            else
                G.Parts.push_back(Lines({Bp(-B), Mb, Bp(B)}));
        }
    }
    if (IsPump(T)) {
        constexpr double C = 0.46364671579229366;
        const double R = H / std::cos(C);
        G.Parts.push_back(
            Part(TShapePartKind::Polygon, Fill, {Polar(P2, R, Tt - C), Polar(P2, R, Tt + C), P2}));
        if (IsSecondPump(T)) {
            const TXYPoint P2b{2 * P1.X - P2.X, 2 * P1.Y - P2.Y};
            G.Parts.push_back(
                Part(TShapePartKind::Polygon, Fill, {P2b, Polar(P2b, -R, Tt - C), Polar(P2b, -R, Tt + C)}));
        }
    }
    const double Gdeg = (T == soMotorPumpControl ? 45 : 90) + (Flip ? 180 : 0);
    const double Gap = double(float(Gdeg * DegToRad));
    if (HasFirstStub(T)) AddStub(P1, L, Tt - Gap, G);
    if (HasSecondStub(T)) AddStub(P1, L, Tt + Gap, G);
}

// ---------------------------------------------------------------------------------------------

void AddArrow(const TXYPoint& P1, const TXYPoint& P2, double Scale, bool Fill, TShapeGeometry& G) {
    const double A = 20 * Scale;
    const double T = VectorAngle(P1.X - P2.X, P1.Y - P2.Y);
    const double Half = 15 * DegToRad;
    const double S = A / std::cos(Half);
    G.Parts.push_back(Lines({P1, Polar(P2, A, T)}));
    G.Parts.push_back(
        Part(TShapePartKind::Polygon, Fill, {Polar(P2, S, T - Half), Polar(P2, S, T + Half), P2}));
}

void AddBlocked(const TXYPoint& P1, const TXYPoint& P2, bool Cross, TShapeGeometry& G) {
    const double L = XYDistance(P1, P2);
    // The bar is measured across the line; a line without length has no across.
    if (L == 0) return;
    const TXYPoint U{(P2.X - P1.X) / L, (P2.Y - P1.Y) / L};
    const TXYPoint N{-U.Y, U.X};
    G.Parts.push_back(Lines({P1, P2}));
    const auto At = [&](double Along, double Across) {
        return TXYPoint{P2.X + Along * U.X + Across * N.X, P2.Y + Along * U.Y + Across * N.Y};
    };
    if (!Cross) {
        G.Parts.push_back(Lines({At(0, L / 2), At(0, -L / 2)}));
        return;
    }
    const double B = std::sin(Pi / 4) * L / 2;
    G.Parts.push_back(Lines({At(-B, B), At(B, -B)}));
    G.Parts.push_back(Lines({At(B, B), At(-B, -B)}));
}

void AddShutOff(const TPoint& P1, const TPoint& P2, bool Fill, TShapeGeometry& G) {
    const TXYPoint M = XYMid(XY(P1), XY(P2));
    const bool Taller = std::fabs(double(P2.X) - P1.X) < std::fabs(double(P2.Y) - P1.Y);
    const TXYPoint C1 = Taller ? XYPoint(P2.X, P1.Y) : XYPoint(P1.X, P2.Y);
    const TXYPoint C2 = Taller ? XYPoint(P1.X, P2.Y) : XYPoint(P2.X, P1.Y);
    G.Parts.push_back(Part(TShapePartKind::Polygon, Fill, {XY(P1), C1, M}));
    G.Parts.push_back(Part(TShapePartKind::Polygon, Fill, {XY(P2), C2, M}));
}

} // namespace

double SingleVectorAngle(double Dx, double Dy) {
    if (Dx == 0) return Sign(Dy) * Pi / 2;
    return double(std::atan2(float(Dy), float(Dx)));
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectsDrawHelper

namespace {
struct TCheckValveSizes {
    double Q, R, C, Theta;
};
TCheckValveSizes CheckValveSizes(const TPoint& P1, const TPoint& P2) {
    const double L = PointDist(P1, P2);
    const double Q = L < 30 ? 0.75 * L : 2 * L / 3;
    const double R = Q / 2;
    return {Q, R, 2 * R * std::sin(Pi / 4), SingleVectorAngle(double(P2.X) - P1.X, double(P2.Y) - P1.Y)};
}
} // namespace

void TSymbolObjectsDrawHelper::GetCheckValve1LinesEtc(const TPoint& P1, const TPoint& P2,
                                                      TCheckValveLinesEtc& Data) {
    const auto [Q, R, C, Th] = CheckValveSizes(P1, P2);
    const TXYPoint O = XY(P1);
    Data.P = {FromLocal(O, Th, C, 0), FromLocal(O, Th, Q, Q), FromLocal(O, Th, Q, -Q),
              FromLocal(O, Th, C + R, 0)};
    Data.R = R;
}

void TSymbolObjectsDrawHelper::GetCheckValve2LinesEtc(const TPoint& P1, const TPoint& P2,
                                                      TCheckValveLinesEtc& Data) {
    const auto [Q, R, C, Th] = CheckValveSizes(P1, P2);
    const TXYPoint O = XY(P1);
    Data.P = {FromLocal(O, Th, R, 0), FromLocal(O, Th, R + C - Q, Q), FromLocal(O, Th, R + C - Q, -Q),
              FromLocal(O, Th, R + C, 0)};
    Data.R = R;
}

void TSymbolObjectsDrawHelper::CreateOrificeLines(const TXYPoint& A, const TXYPoint& B,
                                                  TOrificeDrawData& Data) {
    const double L = XYDistance(A, B);
    const TXYPoint O = XYMid(A, B);
    const double Th = VectorAngle(B.X - A.X, B.Y - A.Y);
    const double R = 0.75 * L;
    const double Q = L < 30 ? 0.4 * L : L / 6;
    const double Rc = L / 2;
    const double S = std::sqrt(R * R - Rc * Rc);
    Data.P = {FromLocal(O, Th, 0, Q + R),        FromLocal(O, Th, Rc, Q + R - S),
              FromLocal(O, Th, -Rc, Q + R - S),  FromLocal(O, Th, 0, -Q - R),
              FromLocal(O, Th, -Rc, -Q - R + S), FromLocal(O, Th, Rc, -Q - R + S)};
    Data.R = R;
}

void TSymbolObjectsDrawHelper::CreateOrifice2Lines(const TXYPoint& A, const TXYPoint& B,
                                                   TOrificeDrawData& Data) {
    const double L = XYDistance(A, B);
    const TXYPoint O = XYMid(A, B);
    const double Th = VectorAngle(B.X - A.X, B.Y - A.Y);
    const double H = L / 2;
    const double Q = L < 30 ? 0.6 * H : 0.5 * H;
    Data.P = {FromLocal(O, Th, 0, Q),  FromLocal(O, Th, -H, Q + H),  FromLocal(O, Th, H, Q + H),
              FromLocal(O, Th, 0, -Q), FromLocal(O, Th, -H, -Q - H), FromLocal(O, Th, H, -Q - H)};
    Data.R = 0;
}

void TSymbolObjectsDrawHelper::PerpendicularChord(const TPoint& P1, const TPoint& P2, double Ratio,
                                                  TXYPoint& A, TXYPoint& B) {
    const double L = PointDist(P1, P2);
    const double Q = Ratio != 0 ? Ratio * L / 2 : (L > 40 ? L / 3 : L / 4);
    const TXYPoint M = XYMid(XY(P1), XY(P2));
    const double Th = SingleVectorAngle(double(P2.X) - P1.X, double(P2.Y) - P1.Y);
    A = FromLocal(M, Th, 0, Q);
    B = FromLocal(M, Th, 0, -Q);
}

void TSymbolObjectsDrawHelper::CreateOrificeLines(const TPoint& P1, const TPoint& P2, TOrificeDrawData& Data,
                                                  double Ratio) {
    TXYPoint A, B;
    PerpendicularChord(P1, P2, Ratio, A, B);
    CreateOrificeLines(A, B, Data);
}

void TSymbolObjectsDrawHelper::CreateOrifice2Lines(const TPoint& P1, const TPoint& P2, TOrificeDrawData& Data,
                                                   double Ratio) {
    TXYPoint A, B;
    PerpendicularChord(P1, P2, Ratio, A, B);
    CreateOrifice2Lines(A, B, Data);
}

// ---------------------------------------------------------------------------------------------
// Springs

std::optional<TSpringShape> SpringShape(const TPoint& P1, const TPoint& P2, bool Flip, bool Alternate) {
    // A box without width or height has no edges to run between (and its angle may miss the
    // exact axis values by a single-precision hair, which would divide by zero below).
    if (P1.X == P2.X || P1.Y == P2.Y) return std::nullopt;
    const double Angle = PointAngle(P1, P2);
    if (Angle == 0 || Angle == 90 || Angle == 180 || Angle == 270) return std::nullopt;
    TSpringShape Sp;
    Sp.Alternate = Alternate;
    Sp.AlongX = (Angle >= 0 && Angle < 90) || (Angle >= 180 && Angle < 270);
    Sp.S = XY(P1);
    Sp.E = XY(P2);
    if (Flip) {
        if (Sp.AlongX)
            std::swap(Sp.S.Y, Sp.E.Y);
        else
            std::swap(Sp.S.X, Sp.E.X);
    }
    const double Da = Sp.AlongX ? Sp.E.X - Sp.S.X : Sp.E.Y - Sp.S.Y;
    const double Db = Sp.AlongX ? Sp.E.Y - Sp.S.Y : Sp.E.X - Sp.S.X;
    // Round saturates, so a box of any proportions gives a finite count; the drawing and the hit
    // tests only ever visit the teeth that can be seen.
    int64_t N = std::abs(int64_t(Round(Da / (std::tan(15 * DegToRad) * Db))));
    if (!Alternate && N % 2 != 0) ++N;
    if (N == 0) N = 1;
    Sp.Count = N;
    return Sp;
}

TXYPoint TSpringShape::PointAt(int64_t K) const {
    const double Sa = AlongX ? S.X : S.Y, Sb = AlongX ? S.Y : S.X;
    const double Ea = AlongX ? E.X : E.Y, Eb = AlongX ? E.Y : E.X;
    const double W = (Ea - Sa) / double(Count);
    double A, B;
    if (Alternate) {
        A = K == 0 ? Sa : K >= Count ? Ea : Sa + double(K) * W;
        B = K == 0 ? Sb : (K % 2 != 0 ? Eb : Sb);
    } else if (K == 0 || K > Count) {
        A = K == 0 ? Sa : Ea;
        B = Sb + (Eb - Sb) / 2;
    } else {
        const int64_t J = K - 1;
        A = Sa + (double(J) + 0.5) * W;
        B = J % 2 == 0 ? Eb : Sb;
    }
    return AlongX ? TXYPoint{A, B} : TXYPoint{B, A};
}

double TSpringShape::IndexAt(double A) const {
    const double Sa = AlongX ? S.X : S.Y, Ea = AlongX ? E.X : E.Y;
    const double W = (Ea - Sa) / double(Count);
    return (A - Sa) / W + (Alternate ? 0 : 0.5);
}

void TSpringShape::IndexRange(double A0, double A1, int64_t& First, int64_t& Last) const {
    const double K0 = IndexAt(A0), K1 = IndexAt(A1);
    const double Last0 = double(PointCount() - 1);
    First = int64_t(std::clamp(std::floor(std::min(K0, K1)) - 1, 0.0, Last0));
    Last = int64_t(std::clamp(std::ceil(std::max(K0, K1)) + 1, 0.0, Last0));
}

TSpringShape TSpringShape::WithAtMost(int64_t MaxCount) const {
    TSpringShape R = *this;
    if (Count <= MaxCount) return R;
    R.Count = std::max<int64_t>(1, MaxCount);
    if (!Alternate && R.Count % 2 != 0) ++R.Count;
    return R;
}

// ---------------------------------------------------------------------------------------------

TShapeGeometry TwoPointShape(TSymbolObjectType SubType, const TPoint& IP1, const TPoint& IP2, double Scale,
                             bool Fill, bool Flip, bool Alternate) {
    TShapeGeometry G;
    const TXYPoint P1 = XY(IP1), P2 = XY(IP2);
    switch (SubType) {
    case soLine:
        G.Parts.push_back(Part(TShapePartKind::StyledLines, false, {P1, P2}));
        break;
    case soSpring:
        G.Spring = SpringShape(IP1, IP2, Flip, Alternate);
        break;
    case soArrow:
        AddArrow(P1, P2, Scale, Fill, G);
        break;
    case soCircle:
        G.Parts.push_back(Circle(P1, PointDist(IP1, IP2), Fill));
        break;
    case soCheckValve:
    case soCheckValve2: {
        TCheckValveLinesEtc D;
        if (SubType == soCheckValve) {
            TSymbolObjectsDrawHelper::GetCheckValve1LinesEtc(IP1, IP2, D);
            G.Parts.push_back(Lines({P2, D.P[3]}));
            G.Parts.push_back(Lines({P1, D.P[1]}));
            G.Parts.push_back(Lines({P1, D.P[2]}));
        } else {
            TSymbolObjectsDrawHelper::GetCheckValve2LinesEtc(IP1, IP2, D);
            G.Parts.push_back(Lines({P2, D.P[3], D.P[1]}));
            G.Parts.push_back(Lines({D.P[3], D.P[2]}));
        }
        G.Parts.push_back(Circle(D.P[0], D.R, Fill));
        break;
    }
    case soOrifice1: {
        TOrificeDrawData D;
        TSymbolObjectsDrawHelper::CreateOrificeLines(P1, P2, D);
        G.Parts.push_back(Arc(D.P[0], D.R, D.P[2], D.P[1]));
        G.Parts.push_back(Arc(D.P[3], D.R, D.P[5], D.P[4]));
        break;
    }
    case soOrifice2: {
        TOrificeDrawData D;
        TSymbolObjectsDrawHelper::CreateOrifice2Lines(P1, P2, D);
        G.Parts.push_back(Part(TShapePartKind::StyledLines, false, {D.P[1], D.P[0], D.P[2]}));
        G.Parts.push_back(Part(TShapePartKind::StyledLines, false, {D.P[4], D.P[3], D.P[5]}));
        break;
    }
    case soRectangle:
        G.Parts.push_back(
            Part(TShapePartKind::StyledPolygon, Fill, {P1, XYPoint(P2.X, P1.Y), P2, XYPoint(P1.X, P2.Y)}));
        break;
    case soBlocked:
    case soBlockedCross:
        AddBlocked(P1, P2, SubType == soBlockedCross, G);
        break;
    case soShutOff:
        AddShutOff(IP1, IP2, Fill, G);
        break;
    default:
        if (SubType >= soMotor1 && SubType <= soMotorPumpControl)
            AddMachine(SubType, IP1, IP2, Fill, Flip, G);
        break;
    }
    return G;
}

// ---------------------------------------------------------------------------------------------
// Arcs through three points

TArcThrough ArcThrough(const TXYPoint& S, const TXYPoint& E, const TXYPoint& T) {
    TArcThrough A;
    if (S == T || T == E || S == E) return A;
    A.Kind = TArcThrough::akStraight;
    const double A1 = SingleDegrees(S.X - T.X, S.Y - T.Y);
    const double A2 = SingleDegrees(T.X - E.X, T.Y - E.Y);
    // Directions just either side of 0 degrees are close, not 360 degrees apart.
    const double Diff = std::fabs(A1 - A2);
    if (std::min(Diff, 360 - Diff) < 5) return A;

    const auto Turned = [](const TXYPoint& P, const TXYPoint& C) {
        return TXYPoint{C.X - (P.Y - C.Y), C.Y + (P.X - C.X)};
    };
    const TXYPoint M1 = XYMid(S, T), M2 = XYMid(E, T);
    const TXYLine B1(M1, Turned(S, M1)), B2(M2, Turned(E, M2));
    TXYPoint C;
    if (!B1.CrossPoint(B2, C)) return A;
    const double R = XYDistance(C, T);
    if (!std::isfinite(R) || !std::isfinite(C.X) || !std::isfinite(C.Y)) return A;
    A.Kind = TArcThrough::akArc;
    A.Centre = C;
    A.Radius = R;
    const double Delta = NormalizeDegrees(A1 - SingleDegrees(S.X - E.X, S.Y - E.Y));
    if (Delta > 0 && Delta < 180) {
        A.From = E;
        A.To = S;
    } else {
        A.From = S;
        A.To = E;
    }
    return A;
}

void AddArcThroughPart(const TArcThrough& A, const TXYPoint& S, const TXYPoint& E, const TXYPoint& T,
                       TShapeGeometry& G) {
    if (A.Kind == TArcThrough::akArc)
        G.Parts.push_back(Arc(A.Centre, A.Radius, A.From, A.To));
    else if (A.Kind == TArcThrough::akStraight)
        G.Parts.push_back(Lines({S, T, E}));
}
