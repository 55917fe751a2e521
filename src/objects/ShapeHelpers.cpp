#include "objects/ShapeHelpers.h"

#include "render/PointUtils.h"
#include "render/XYLines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegToRad = Pi / 180;

TXYPoint XY(const TPoint& p) {
    return PointToXYPoint(p);
}

// A local point (X along the axis, Y to its left) turned by Theta and moved to Origin.
TXYPoint FromLocal(const TXYPoint& origin, double theta, double x, double y) {
    const double c = std::cos(theta), s = std::sin(theta);
    return {origin.X + x * c - y * s, origin.Y + x * s + y * c};
}

TXYPoint Polar(const TXYPoint& origin, double length, double angle) {
    return {origin.X + length * std::cos(angle), origin.Y + length * std::sin(angle)};
}

TShapePart Lines(std::initializer_list<TXYPoint> pts) {
    TShapePart p;
    p.Kind = TShapePartKind::Lines;
    p.Pts = pts;
    return p;
}

TShapePart Part(TShapePartKind kind, bool filled, std::initializer_list<TXYPoint> pts) {
    TShapePart p;
    p.Kind = kind;
    p.Filled = filled;
    p.Pts = pts;
    return p;
}

TShapePart Circle(const TXYPoint& centre, double radius, bool filled) {
    TShapePart p;
    p.Kind = TShapePartKind::Circle;
    p.Filled = filled;
    p.Centre = centre;
    p.Radius = radius;
    return p;
}

TShapePart Arc(const TXYPoint& centre, double radius, const TXYPoint& from, const TXYPoint& to) {
    TShapePart p;
    p.Kind = TShapePartKind::Arc;
    p.Centre = centre;
    p.Radius = radius;
    p.Pts = {from, to};
    return p;
}

// Degrees of the vector in [0, 360), single-precision atan2 as the integer point angles use.
double SingleDegrees(double dx, double dy) {
    return NormalizeDegrees(SingleVectorAngle(dx, dy) * 180 / Pi);
}

// ---------------------------------------------------------------------------------------------
// Rotating machines

bool IsMotor(TSymbolObjectType t) {
    return t >= soMotor1 && t <= soMotor2b;
}
bool IsSecondMotor(TSymbolObjectType t) {
    return t >= soMotor2 && t <= soMotor2b;
}
bool IsPump(TSymbolObjectType t) {
    return t >= soPump1 && t <= soPump2b;
}
bool IsSecondPump(TSymbolObjectType t) {
    return t >= soPump2 && t <= soPump2b;
}
bool HasFirstStub(TSymbolObjectType t) {
    switch (t) {
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
bool HasSecondStub(TSymbolObjectType t) {
    switch (t) {
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
void AddStub(const TXYPoint& c, double l, double phi, TShapeGeometry& g) {
    const double e = Round(l / 4);
    const double f = std::asin(e / l);
    const TXYPoint p = Polar(c, l, phi + f), q = Polar(c, l, phi - f);
    const double cs = std::cos(phi), sn = std::sin(phi);
    const TXYPoint r = XY({Round(c.X + 1.5 * l * cs - e * sn), Round(c.Y + 1.5 * l * sn + e * cs)});
    const TXYPoint s = XY({Round(c.X + 1.5 * l * cs + e * sn), Round(c.Y + 1.5 * l * sn - e * cs)});
    g.Parts.push_back(Lines({r, p}));
    g.Parts.push_back(Lines({s, q}));
}

void AddMachine(TSymbolObjectType t, const TPoint& iP1, const TPoint& iP2, bool fill, bool flip,
                TShapeGeometry& g) {
    const double l = PointDist(iP1, iP2);
    // Without a radius there is no circle to sit on, and the stub angle would divide by zero.
    if (l == 0) return;
    const TXYPoint p1 = XY(iP1), p2 = XY(iP2);
    const double h = l / 2;
    const double tt = SingleVectorAngle(p1.X - p2.X, p1.Y - p2.Y);
    const TXYPoint u{std::cos(tt), std::sin(tt)};
    if (t != soMotorPumpControl) g.Parts.push_back(Circle(p1, l, false));

    if (IsMotor(t)) {
        constexpr double b = 13.935207710132993 * DegToRad;
        const auto a = [&](double phi) { return Polar(p1, -l, tt + phi); };
        const TXYPoint m{p2.X + h * u.X, p2.Y + h * u.Y};
        if (fill)
            g.Parts.push_back(
                Part(TShapePartKind::Polygon, true, {m, a(-b), a(-b / 2), p2, a(b / 2), a(b), m}));
        else
            g.Parts.push_back(Lines({a(-b), m, a(b)}));
        if (IsSecondMotor(t)) {
            const TXYPoint p2b{2 * p1.X - p2.X, 2 * p1.Y - p2.Y};
            const TXYPoint mb{p1.X + h * u.X, p1.Y + h * u.Y};
            const auto bp = [&](double phi) { return Polar(p1, l, tt + phi); };
            if (fill)
                g.Parts.push_back(
                    Part(TShapePartKind::Polygon, true, {mb, bp(-b), bp(-b / 2), p2b, bp(b / 2), bp(b), mb}));
            else
                g.Parts.push_back(Lines({bp(-b), mb, bp(b)}));
        }
    }
    if (IsPump(t)) {
        constexpr double c = 0.46364671579229366;
        const double r = h / std::cos(c);
        g.Parts.push_back(
            Part(TShapePartKind::Polygon, fill, {Polar(p2, r, tt - c), Polar(p2, r, tt + c), p2}));
        if (IsSecondPump(t)) {
            const TXYPoint p2b{2 * p1.X - p2.X, 2 * p1.Y - p2.Y};
            g.Parts.push_back(
                Part(TShapePartKind::Polygon, fill, {p2b, Polar(p2b, -r, tt - c), Polar(p2b, -r, tt + c)}));
        }
    }
    const double gdeg = (t == soMotorPumpControl ? 45 : 90) + (flip ? 180 : 0);
    const double gap = double(float(gdeg * DegToRad));
    if (HasFirstStub(t)) AddStub(p1, l, tt - gap, g);
    if (HasSecondStub(t)) AddStub(p1, l, tt + gap, g);
}

// ---------------------------------------------------------------------------------------------

void AddArrow(const TXYPoint& p1, const TXYPoint& p2, double scale, bool fill, TShapeGeometry& g) {
    const double a = 20 * scale;
    const double t = VectorAngle(p1.X - p2.X, p1.Y - p2.Y);
    const double half = 15 * DegToRad;
    const double s = a / std::cos(half);
    g.Parts.push_back(Lines({p1, Polar(p2, a, t)}));
    g.Parts.push_back(
        Part(TShapePartKind::Polygon, fill, {Polar(p2, s, t - half), Polar(p2, s, t + half), p2}));
}

void AddBlocked(const TXYPoint& p1, const TXYPoint& p2, bool cross, TShapeGeometry& g) {
    const double l = XYDistance(p1, p2);
    // The bar is measured across the line; a line without length has no across.
    if (l == 0) return;
    const TXYPoint u{(p2.X - p1.X) / l, (p2.Y - p1.Y) / l};
    const TXYPoint n{-u.Y, u.X};
    g.Parts.push_back(Lines({p1, p2}));
    const auto at = [&](double along, double across) {
        return TXYPoint{p2.X + along * u.X + across * n.X, p2.Y + along * u.Y + across * n.Y};
    };
    if (!cross) {
        g.Parts.push_back(Lines({at(0, l / 2), at(0, -l / 2)}));
        return;
    }
    const double b = std::sin(Pi / 4) * l / 2;
    g.Parts.push_back(Lines({at(-b, b), at(b, -b)}));
    g.Parts.push_back(Lines({at(b, b), at(-b, -b)}));
}

void AddShutOff(const TPoint& p1, const TPoint& p2, bool fill, TShapeGeometry& g) {
    const TXYPoint m = XYMid(XY(p1), XY(p2));
    const bool taller = std::fabs(double(p2.X) - p1.X) < std::fabs(double(p2.Y) - p1.Y);
    const TXYPoint c1 = taller ? XYPoint(p2.X, p1.Y) : XYPoint(p1.X, p2.Y);
    const TXYPoint c2 = taller ? XYPoint(p1.X, p2.Y) : XYPoint(p2.X, p1.Y);
    g.Parts.push_back(Part(TShapePartKind::Polygon, fill, {XY(p1), c1, m}));
    g.Parts.push_back(Part(TShapePartKind::Polygon, fill, {XY(p2), c2, m}));
}

} // namespace

double SingleVectorAngle(double dx, double dy) {
    if (dx == 0) return Sign(dy) * Pi / 2;
    return double(std::atan2(float(dy), float(dx)));
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectsDrawHelper

namespace {
struct TCheckValveSizes {
    double Q, R, C, Theta;
};
TCheckValveSizes CheckValveSizes(const TPoint& p1, const TPoint& p2) {
    const double l = PointDist(p1, p2);
    const double q = l < 30 ? 0.75 * l : 2 * l / 3;
    const double r = q / 2;
    return {q, r, 2 * r * std::sin(Pi / 4), SingleVectorAngle(double(p2.X) - p1.X, double(p2.Y) - p1.Y)};
}
} // namespace

void TSymbolObjectsDrawHelper::GetCheckValve1LinesEtc(const TPoint& p1, const TPoint& p2,
                                                      TCheckValveLinesEtc& data) {
    const auto [Q, R, C, Th] = CheckValveSizes(p1, p2);
    const TXYPoint o = XY(p1);
    data.P = {FromLocal(o, Th, C, 0), FromLocal(o, Th, Q, Q), FromLocal(o, Th, Q, -Q),
              FromLocal(o, Th, C + R, 0)};
    data.R = R;
}

void TSymbolObjectsDrawHelper::GetCheckValve2LinesEtc(const TPoint& p1, const TPoint& p2,
                                                      TCheckValveLinesEtc& data) {
    const auto [Q, R, C, Th] = CheckValveSizes(p1, p2);
    const TXYPoint o = XY(p1);
    data.P = {FromLocal(o, Th, R, 0), FromLocal(o, Th, R + C - Q, Q), FromLocal(o, Th, R + C - Q, -Q),
              FromLocal(o, Th, R + C, 0)};
    data.R = R;
}

void TSymbolObjectsDrawHelper::CreateOrificeLines(const TXYPoint& a, const TXYPoint& b,
                                                  TOrificeDrawData& data) {
    const double l = XYDistance(a, b);
    const TXYPoint o = XYMid(a, b);
    const double th = VectorAngle(b.X - a.X, b.Y - a.Y);
    const double r = 0.75 * l;
    const double q = l < 30 ? 0.4 * l : l / 6;
    const double rc = l / 2;
    const double s = std::sqrt(r * r - rc * rc);
    data.P = {FromLocal(o, th, 0, q + r),        FromLocal(o, th, rc, q + r - s),
              FromLocal(o, th, -rc, q + r - s),  FromLocal(o, th, 0, -q - r),
              FromLocal(o, th, -rc, -q - r + s), FromLocal(o, th, rc, -q - r + s)};
    data.R = r;
}

void TSymbolObjectsDrawHelper::CreateOrifice2Lines(const TXYPoint& a, const TXYPoint& b,
                                                   TOrificeDrawData& data) {
    const double l = XYDistance(a, b);
    const TXYPoint o = XYMid(a, b);
    const double th = VectorAngle(b.X - a.X, b.Y - a.Y);
    const double h = l / 2;
    const double q = l < 30 ? 0.6 * h : 0.5 * h;
    data.P = {FromLocal(o, th, 0, q),  FromLocal(o, th, -h, q + h),  FromLocal(o, th, h, q + h),
              FromLocal(o, th, 0, -q), FromLocal(o, th, -h, -q - h), FromLocal(o, th, h, -q - h)};
    data.R = 0;
}

void TSymbolObjectsDrawHelper::PerpendicularChord(const TPoint& p1, const TPoint& p2, double ratio,
                                                  TXYPoint& a, TXYPoint& b) {
    const double l = PointDist(p1, p2);
    const double q = ratio != 0 ? ratio * l / 2 : (l > 40 ? l / 3 : l / 4);
    const TXYPoint m = XYMid(XY(p1), XY(p2));
    const double th = SingleVectorAngle(double(p2.X) - p1.X, double(p2.Y) - p1.Y);
    a = FromLocal(m, th, 0, q);
    b = FromLocal(m, th, 0, -q);
}

void TSymbolObjectsDrawHelper::CreateOrificeLines(const TPoint& p1, const TPoint& p2, TOrificeDrawData& data,
                                                  double ratio) {
    TXYPoint a, b;
    PerpendicularChord(p1, p2, ratio, a, b);
    CreateOrificeLines(a, b, data);
}

void TSymbolObjectsDrawHelper::CreateOrifice2Lines(const TPoint& p1, const TPoint& p2, TOrificeDrawData& data,
                                                   double ratio) {
    TXYPoint a, b;
    PerpendicularChord(p1, p2, ratio, a, b);
    CreateOrifice2Lines(a, b, data);
}

// ---------------------------------------------------------------------------------------------
// Springs

std::optional<TSpringShape> SpringShape(const TPoint& p1, const TPoint& p2, bool flip, bool alternate) {
    // A box without width or height has no edges to run between (and its angle may miss the
    // exact axis values by a single-precision hair, which would divide by zero below).
    if (p1.X == p2.X || p1.Y == p2.Y) return std::nullopt;
    const double angle = PointAngle(p1, p2);
    if (angle == 0 || angle == 90 || angle == 180 || angle == 270) return std::nullopt;
    TSpringShape sp;
    sp.Alternate = alternate;
    sp.AlongX = (angle >= 0 && angle < 90) || (angle >= 180 && angle < 270);
    sp.S = XY(p1);
    sp.E = XY(p2);
    if (flip) {
        if (sp.AlongX)
            std::swap(sp.S.Y, sp.E.Y);
        else
            std::swap(sp.S.X, sp.E.X);
    }
    const double da = sp.AlongX ? sp.E.X - sp.S.X : sp.E.Y - sp.S.Y;
    const double db = sp.AlongX ? sp.E.Y - sp.S.Y : sp.E.X - sp.S.X;
    // Round saturates, so a box of any proportions gives a finite count; the drawing and the hit
    // tests only ever visit the teeth that can be seen.
    int64_t n = std::abs(int64_t(Round(da / (std::tan(15 * DegToRad) * db))));
    if (!alternate && n % 2 != 0) ++n;
    if (n == 0) n = 1;
    sp.Count = n;
    return sp;
}

TXYPoint TSpringShape::PointAt(int64_t k) const {
    const double sa = AlongX ? S.X : S.Y, sb = AlongX ? S.Y : S.X;
    const double ea = AlongX ? E.X : E.Y, eb = AlongX ? E.Y : E.X;
    const double w = (ea - sa) / double(Count);
    double a, b;
    if (Alternate) {
        a = k == 0 ? sa : k >= Count ? ea : sa + double(k) * w;
        b = k == 0 ? sb : (k % 2 != 0 ? eb : sb);
    } else if (k == 0 || k > Count) {
        a = k == 0 ? sa : ea;
        b = sb + (eb - sb) / 2;
    } else {
        const int64_t j = k - 1;
        a = sa + (double(j) + 0.5) * w;
        b = j % 2 == 0 ? eb : sb;
    }
    return AlongX ? TXYPoint{a, b} : TXYPoint{b, a};
}

double TSpringShape::IndexAt(double a) const {
    const double sa = AlongX ? S.X : S.Y, ea = AlongX ? E.X : E.Y;
    const double w = (ea - sa) / double(Count);
    return (a - sa) / w + (Alternate ? 0 : 0.5);
}

void TSpringShape::IndexRange(double a0, double a1, int64_t& first, int64_t& last) const {
    const double k0 = IndexAt(a0), k1 = IndexAt(a1);
    const double last0 = double(PointCount() - 1);
    first = int64_t(std::clamp(std::floor(std::min(k0, k1)) - 1, 0.0, last0));
    last = int64_t(std::clamp(std::ceil(std::max(k0, k1)) + 1, 0.0, last0));
}

TSpringShape TSpringShape::WithAtMost(int64_t maxCount) const {
    TSpringShape r = *this;
    if (Count <= maxCount) return r;
    r.Count = std::max<int64_t>(1, maxCount);
    if (!Alternate && r.Count % 2 != 0) ++r.Count;
    return r;
}

// ---------------------------------------------------------------------------------------------

TShapeGeometry TwoPointShape(TSymbolObjectType subType, const TPoint& iP1, const TPoint& iP2, double scale,
                             bool fill, bool flip, bool alternate) {
    TShapeGeometry g;
    const TXYPoint p1 = XY(iP1), p2 = XY(iP2);
    switch (subType) {
    case soLine:
        g.Parts.push_back(Part(TShapePartKind::StyledLines, false, {p1, p2}));
        break;
    case soSpring:
        g.Spring = SpringShape(iP1, iP2, flip, alternate);
        break;
    case soArrow:
        AddArrow(p1, p2, scale, fill, g);
        break;
    case soCircle:
        g.Parts.push_back(Circle(p1, PointDist(iP1, iP2), fill));
        break;
    case soCheckValve:
    case soCheckValve2: {
        TCheckValveLinesEtc d;
        if (subType == soCheckValve) {
            TSymbolObjectsDrawHelper::GetCheckValve1LinesEtc(iP1, iP2, d);
            g.Parts.push_back(Lines({p2, d.P[3]}));
            g.Parts.push_back(Lines({p1, d.P[1]}));
            g.Parts.push_back(Lines({p1, d.P[2]}));
        } else {
            TSymbolObjectsDrawHelper::GetCheckValve2LinesEtc(iP1, iP2, d);
            g.Parts.push_back(Lines({p2, d.P[3], d.P[1]}));
            g.Parts.push_back(Lines({d.P[3], d.P[2]}));
        }
        g.Parts.push_back(Circle(d.P[0], d.R, fill));
        break;
    }
    case soOrifice1: {
        TOrificeDrawData d;
        TSymbolObjectsDrawHelper::CreateOrificeLines(p1, p2, d);
        g.Parts.push_back(Arc(d.P[0], d.R, d.P[2], d.P[1]));
        g.Parts.push_back(Arc(d.P[3], d.R, d.P[5], d.P[4]));
        break;
    }
    case soOrifice2: {
        TOrificeDrawData d;
        TSymbolObjectsDrawHelper::CreateOrifice2Lines(p1, p2, d);
        g.Parts.push_back(Part(TShapePartKind::StyledLines, false, {d.P[1], d.P[0], d.P[2]}));
        g.Parts.push_back(Part(TShapePartKind::StyledLines, false, {d.P[4], d.P[3], d.P[5]}));
        break;
    }
    case soRectangle:
        g.Parts.push_back(
            Part(TShapePartKind::StyledPolygon, fill, {p1, XYPoint(p2.X, p1.Y), p2, XYPoint(p1.X, p2.Y)}));
        break;
    case soBlocked:
    case soBlockedCross:
        AddBlocked(p1, p2, subType == soBlockedCross, g);
        break;
    case soShutOff:
        AddShutOff(iP1, iP2, fill, g);
        break;
    default:
        if (subType >= soMotor1 && subType <= soMotorPumpControl)
            AddMachine(subType, iP1, iP2, fill, flip, g);
        break;
    }
    return g;
}

// ---------------------------------------------------------------------------------------------
// Arcs through three points

TArcThrough ArcThrough(const TXYPoint& s, const TXYPoint& e, const TXYPoint& t) {
    TArcThrough a;
    a.Kind = TArcThrough::akStraight;
    // Coincident points have device points in line as well: the poly-line through them stands
    // for the arc, down to a single dot when all three coincide.
    if (s == t || t == e || s == e) return a;
    const double a1 = SingleDegrees(s.X - t.X, s.Y - t.Y);
    const double a2 = SingleDegrees(t.X - e.X, t.Y - e.Y);
    // Directions just either side of 0 degrees are close, not 360 degrees apart.
    const double diff = std::fabs(a1 - a2);
    if (std::min(diff, 360 - diff) < 5) return a;

    const auto turned = [](const TXYPoint& p, const TXYPoint& c) {
        return TXYPoint{c.X - (p.Y - c.Y), c.Y + (p.X - c.X)};
    };
    const TXYPoint m1 = XYMid(s, t), m2 = XYMid(e, t);
    const TXYLine b1(m1, turned(s, m1)), b2(m2, turned(e, m2));
    TXYPoint c;
    if (!b1.CrossPoint(b2, c)) return a;
    const double r = XYDistance(c, t);
    if (!std::isfinite(r) || !std::isfinite(c.X) || !std::isfinite(c.Y)) return a;
    a.Kind = TArcThrough::akArc;
    a.Centre = c;
    a.Radius = r;
    const double delta = NormalizeDegrees(a1 - SingleDegrees(s.X - e.X, s.Y - e.Y));
    if (delta > 0 && delta < 180) {
        a.From = e;
        a.To = s;
    } else {
        a.From = s;
        a.To = e;
    }
    return a;
}

void AddArcThroughPart(const TArcThrough& a, const TXYPoint& s, const TXYPoint& e, const TXYPoint& t,
                       TShapeGeometry& g) {
    if (a.Kind == TArcThrough::akArc)
        g.Parts.push_back(Arc(a.Centre, a.Radius, a.From, a.To));
    else
        g.Parts.push_back(Lines({s, t, e}));
}
