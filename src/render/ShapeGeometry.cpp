#include "render/ShapeGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
// Beyond this many teeth inside the range of interest the zig-zag is denser than the question
// asked of it, and it is answered for the band the teeth fill.
constexpr int64_t DenseTeeth = 256;

struct TBox {
    double Left, Bottom, Right, Top;
    bool Contains(const TXYPoint& P) const {
        return P.X >= Left && P.X <= Right && P.Y >= Bottom && P.Y <= Top;
    }
    TXYPoint Centre() const { return {(Left + Right) / 2, (Bottom + Top) / 2}; }
};

double SegmentDistance(const TXYPoint& P, const TXYPoint& A, const TXYPoint& B) {
    const double Dx = B.X - A.X, Dy = B.Y - A.Y;
    const double L2 = Dx * Dx + Dy * Dy;
    double T = L2 > 0 ? ((P.X - A.X) * Dx + (P.Y - A.Y) * Dy) / L2 : 0;
    T = std::clamp(T, 0.0, 1.0);
    return std::hypot(P.X - (A.X + T * Dx), P.Y - (A.Y + T * Dy));
}

// Liang-Barsky on a closed box: whether some point of A-B lies in it.
bool SegmentMeetsBox(const TXYPoint& A, const TXYPoint& B, const TBox& R) {
    double T0 = 0, T1 = 1;
    const double Dx = B.X - A.X, Dy = B.Y - A.Y;
    const auto Clip = [&](double P, double Q) {
        if (P == 0) return Q >= 0;
        const double T = Q / P;
        if (P < 0) {
            if (T > T1) return false;
            T0 = std::max(T0, T);
        } else {
            if (T < T0) return false;
            T1 = std::min(T1, T);
        }
        return true;
    };
    return Clip(-Dx, A.X - R.Left) && Clip(Dx, R.Right - A.X) && Clip(-Dy, A.Y - R.Bottom) &&
           Clip(Dy, R.Top - A.Y) && T0 <= T1;
}

bool InsidePolygon(const TXYPoint& P, const std::vector<TXYPoint>& Pts) {
    bool In = false;
    for (size_t I = 0, J = Pts.size() - 1; I < Pts.size(); J = I++) {
        const TXYPoint &A = Pts[I], &B = Pts[J];
        if ((A.Y > P.Y) != (B.Y > P.Y) && P.X < (B.X - A.X) * (P.Y - A.Y) / (B.Y - A.Y) + A.X) In = !In;
    }
    return In;
}

bool IsClosedKind(TShapePartKind K) {
    return K == TShapePartKind::Polygon || K == TShapePartKind::StyledPolygon;
}

// Calls F(A, B) for every edge of a poly-line part (the closing edge too for polygons) until F
// returns true.
template <class F> bool AnyEdge(const TShapePart& Part, F&& Fn) {
    const auto& Pts = Part.Pts;
    if (Pts.empty()) return false;
    if (Pts.size() == 1) return Fn(Pts[0], Pts[0]);
    for (size_t I = 1; I < Pts.size(); ++I)
        if (Fn(Pts[I - 1], Pts[I])) return true;
    return IsClosedKind(Part.Kind) && Fn(Pts.back(), Pts.front());
}

// The angular span of an arc part: start angle and counter-clockwise sweep in (0, 2 pi].
struct TSpan {
    double Start, Sweep;
    bool Holds(double Angle) const {
        double D = std::fmod(Angle - Start, TwoPi);
        if (D < 0) D += TwoPi;
        return D <= Sweep;
    }
};
TSpan SpanOf(const TShapePart& A) {
    const double A0 = std::atan2(A.Pts[0].Y - A.Centre.Y, A.Pts[0].X - A.Centre.X);
    const double A1 = std::atan2(A.Pts[1].Y - A.Centre.Y, A.Pts[1].X - A.Centre.X);
    double Sweep = std::fmod(A1 - A0, TwoPi);
    if (Sweep < 0) Sweep += TwoPi;
    // Equal rays give the whole circle, as the surface draws them.
    if (Sweep == 0) Sweep = TwoPi;
    return {A0, Sweep};
}
TXYPoint OnCircle(const TShapePart& A, double Angle) {
    return {A.Centre.X + A.Radius * std::cos(Angle), A.Centre.Y + A.Radius * std::sin(Angle)};
}

bool ArcNear(const TShapePart& A, const TXYPoint& P, double D) {
    const TSpan S = SpanOf(A);
    const double Dist = std::hypot(P.X - A.Centre.X, P.Y - A.Centre.Y);
    if (std::fabs(Dist - A.Radius) <= D && S.Holds(std::atan2(P.Y - A.Centre.Y, P.X - A.Centre.X)))
        return true;
    const TXYPoint E0 = OnCircle(A, S.Start), E1 = OnCircle(A, S.Start + S.Sweep);
    return std::hypot(P.X - E0.X, P.Y - E0.Y) <= D || std::hypot(P.X - E1.X, P.Y - E1.Y) <= D;
}

bool ArcMeetsBox(const TShapePart& A, const TBox& R) {
    const TSpan S = SpanOf(A);
    if (R.Contains(OnCircle(A, S.Start)) || R.Contains(OnCircle(A, S.Start + S.Sweep))) return true;
    // Otherwise the arc can only meet the box by crossing one of its edges.
    const auto CrossesAt = [&](bool Vertical, double Fixed, double Lo, double Hi) {
        const double Off = Fixed - (Vertical ? A.Centre.X : A.Centre.Y);
        const double H2 = A.Radius * A.Radius - Off * Off;
        if (H2 < 0) return false;
        const double H = std::sqrt(H2);
        for (const double Sgn : {-1.0, 1.0}) {
            const double Along = (Vertical ? A.Centre.Y : A.Centre.X) + Sgn * H;
            if (Along < Lo || Along > Hi) continue;
            const double Angle =
                Vertical ? std::atan2(Along - A.Centre.Y, Off) : std::atan2(Off, Along - A.Centre.X);
            if (S.Holds(Angle)) return true;
        }
        return false;
    };
    return CrossesAt(true, R.Left, R.Bottom, R.Top) || CrossesAt(true, R.Right, R.Bottom, R.Top) ||
           CrossesAt(false, R.Bottom, R.Left, R.Right) || CrossesAt(false, R.Top, R.Left, R.Right);
}

void Grow(TBox& B, bool& Any, const TXYPoint& P) {
    if (!Any) {
        B = {P.X, P.Y, P.X, P.Y};
        Any = true;
        return;
    }
    B.Left = std::min(B.Left, P.X);
    B.Right = std::max(B.Right, P.X);
    B.Bottom = std::min(B.Bottom, P.Y);
    B.Top = std::max(B.Top, P.Y);
}

TBox SpringBox(const TSpringShape& Sp) {
    return {std::min(Sp.S.X, Sp.E.X), std::min(Sp.S.Y, Sp.E.Y), std::max(Sp.S.X, Sp.E.X),
            std::max(Sp.S.Y, Sp.E.Y)};
}

double BoxDistance(const TBox& B, const TXYPoint& P) {
    const double Dx = std::max({B.Left - P.X, 0.0, P.X - B.Right});
    const double Dy = std::max({B.Bottom - P.Y, 0.0, P.Y - B.Top});
    return std::hypot(Dx, Dy);
}

bool SpringNear(const TSpringShape& Sp, const TXYPoint& P, double D) {
    const TBox Box = SpringBox(Sp);
    if (BoxDistance(Box, P) > D) return false;
    const double A = Sp.AlongX ? P.X : P.Y;
    int64_t First = 0, Last = 0;
    Sp.IndexRange(A - D, A + D, First, Last);
    // Teeth far narrower than the pick distance: every point of the band is within reach.
    if (Last - First > DenseTeeth) return true;
    TXYPoint Prev = Sp.PointAt(First);
    for (int64_t K = First + 1; K <= Last; ++K) {
        const TXYPoint Next = Sp.PointAt(K);
        if (SegmentDistance(P, Prev, Next) <= D) return true;
        Prev = Next;
    }
    return false;
}

bool SpringMeetsBox(const TSpringShape& Sp, const TBox& R) {
    const TBox Box = SpringBox(Sp);
    if (R.Right < Box.Left || R.Left > Box.Right || R.Top < Box.Bottom || R.Bottom > Box.Top) return false;
    int64_t First = 0, Last = 0;
    if (Sp.AlongX)
        Sp.IndexRange(R.Left, R.Right, First, Last);
    else
        Sp.IndexRange(R.Bottom, R.Top, First, Last);
    // Across many whole teeth some stroke crosses every height of the band the box overlaps.
    if (Last - First > DenseTeeth) return true;
    TXYPoint Prev = Sp.PointAt(First);
    for (int64_t K = First + 1; K <= Last; ++K) {
        const TXYPoint Next = Sp.PointAt(K);
        if (SegmentMeetsBox(Prev, Next, R)) return true;
        Prev = Next;
    }
    return false;
}

} // namespace

bool ShapeHitTest(const TShapeGeometry& G, const TXYPoint& P, double D) {
    if (G.Spring && SpringNear(*G.Spring, P, D)) return true;
    for (const TShapePart& Part : G.Parts) {
        switch (Part.Kind) {
        case TShapePartKind::Circle: {
            const double Dist = std::hypot(P.X - Part.Centre.X, P.Y - Part.Centre.Y);
            if (Part.Filled ? Dist <= Part.Radius + D : std::fabs(Dist - Part.Radius) <= D) return true;
            break;
        }
        case TShapePartKind::Arc:
            if (ArcNear(Part, P, D)) return true;
            break;
        default:
            if (AnyEdge(Part,
                        [&](const TXYPoint& A, const TXYPoint& B) { return SegmentDistance(P, A, B) <= D; }))
                return true;
            if (Part.Filled && Part.Pts.size() > 2 && InsidePolygon(P, Part.Pts)) return true;
            break;
        }
    }
    return false;
}

bool ShapeMeetsBox(const TShapeGeometry& G, double Left, double Bottom, double Right, double Top) {
    const TBox R{Left, Bottom, Right, Top};
    if (G.Spring && SpringMeetsBox(*G.Spring, R)) return true;
    for (const TShapePart& Part : G.Parts) {
        switch (Part.Kind) {
        case TShapePartKind::Circle: {
            const double Near = BoxDistance(R, Part.Centre);
            const double FarX =
                std::max(std::fabs(Part.Centre.X - R.Left), std::fabs(Part.Centre.X - R.Right));
            const double FarY =
                std::max(std::fabs(Part.Centre.Y - R.Bottom), std::fabs(Part.Centre.Y - R.Top));
            // An outline inside which the whole box lies does not touch it.
            if (Near <= Part.Radius && (Part.Filled || std::hypot(FarX, FarY) >= Part.Radius)) return true;
            break;
        }
        case TShapePartKind::Arc:
            if (ArcMeetsBox(Part, R)) return true;
            break;
        default:
            if (AnyEdge(Part, [&](const TXYPoint& A, const TXYPoint& B) { return SegmentMeetsBox(A, B, R); }))
                return true;
            if (Part.Filled && Part.Pts.size() > 2 && InsidePolygon(R.Centre(), Part.Pts)) return true;
            break;
        }
    }
    return false;
}

bool ShapeBounds(const TShapeGeometry& G, double& Left, double& Bottom, double& Right, double& Top) {
    TBox B{};
    bool Any = false;
    if (G.Spring) {
        Grow(B, Any, G.Spring->S);
        Grow(B, Any, G.Spring->E);
    }
    for (const TShapePart& Part : G.Parts) {
        switch (Part.Kind) {
        case TShapePartKind::Circle:
            Grow(B, Any, {Part.Centre.X - Part.Radius, Part.Centre.Y - Part.Radius});
            Grow(B, Any, {Part.Centre.X + Part.Radius, Part.Centre.Y + Part.Radius});
            break;
        case TShapePartKind::Arc: {
            const TSpan S = SpanOf(Part);
            Grow(B, Any, OnCircle(Part, S.Start));
            Grow(B, Any, OnCircle(Part, S.Start + S.Sweep));
            for (int Q = 0; Q < 4; ++Q)
                if (S.Holds(Q * TwoPi / 4)) Grow(B, Any, OnCircle(Part, Q * TwoPi / 4));
            break;
        }
        default:
            for (const TXYPoint& P : Part.Pts)
                Grow(B, Any, P);
            break;
        }
    }
    if (!Any) return false;
    Left = B.Left;
    Bottom = B.Bottom;
    Right = B.Right;
    Top = B.Top;
    return true;
}

bool ShapeHitTestRect(const TShapeGeometry& G, const TRect& Rt) {
    const double Left = std::min(Rt.P1.X, Rt.P2.X), Right = std::max(Rt.P1.X, Rt.P2.X);
    const double Bottom = std::min(Rt.P1.Y, Rt.P2.Y), Top = std::max(Rt.P1.Y, Rt.P2.Y);
    if (Rt.P2.X < Rt.P1.X) return ShapeMeetsBox(G, Left, Bottom, Right, Top);
    double L, B, R, T;
    if (!ShapeBounds(G, L, B, R, T)) return false;
    return L >= Left && R <= Right && B >= Bottom && T <= Top;
}

void ShapeAddExtents(const TShapeGeometry& G, TExtentsRect& E) {
    double L, B, R, T;
    if (!ShapeBounds(G, L, B, R, T)) return;
    ExtentsAddXYPoint({L, B}, E);
    ExtentsAddXYPoint({R, T}, E);
}
