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
    bool Contains(const TXYPoint& p) const {
        return p.X >= Left && p.X <= Right && p.Y >= Bottom && p.Y <= Top;
    }
    TXYPoint Centre() const { return {(Left + Right) / 2, (Bottom + Top) / 2}; }
};

double SegmentDistance(const TXYPoint& p, const TXYPoint& a, const TXYPoint& b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / l2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

// Liang-Barsky on a closed box: whether some point of A-B lies in it.
bool SegmentMeetsBox(const TXYPoint& a, const TXYPoint& b, const TBox& r) {
    double t0 = 0, t1 = 1;
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    return clip(-dx, a.X - r.Left) && clip(dx, r.Right - a.X) && clip(-dy, a.Y - r.Bottom) &&
           clip(dy, r.Top - a.Y) && t0 <= t1;
}

bool InsidePolygon(const TXYPoint& p, const std::vector<TXYPoint>& pts) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const TXYPoint &a = pts[i], &b = pts[j];
        if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X) in = !in;
    }
    return in;
}

bool IsClosedKind(TShapePartKind k) {
    return k == TShapePartKind::Polygon || k == TShapePartKind::StyledPolygon;
}

// Calls F(A, B) for every edge of a poly-line part (the closing edge too for polygons) until F
// returns true.
template <class F> bool AnyEdge(const TShapePart& part, F&& fn) {
    const auto& pts = part.Pts;
    if (pts.empty()) return false;
    if (pts.size() == 1) return fn(pts[0], pts[0]);
    for (size_t i = 1; i < pts.size(); ++i)
        if (fn(pts[i - 1], pts[i])) return true;
    return IsClosedKind(part.Kind) && fn(pts.back(), pts.front());
}

// The angular span of an arc part: start angle and counter-clockwise sweep in (0, 2 pi].
struct TSpan {
    double Start, Sweep;
    bool Holds(double angle) const {
        double d = std::fmod(angle - Start, TwoPi);
        if (d < 0) d += TwoPi;
        return d <= Sweep;
    }
};
TSpan SpanOf(const TShapePart& a) {
    const double a0 = std::atan2(a.Pts[0].Y - a.Centre.Y, a.Pts[0].X - a.Centre.X);
    const double a1 = std::atan2(a.Pts[1].Y - a.Centre.Y, a.Pts[1].X - a.Centre.X);
    double sweep = std::fmod(a1 - a0, TwoPi);
    if (sweep < 0) sweep += TwoPi;
    // Equal rays give the whole circle, as the surface draws them.
    if (sweep == 0) sweep = TwoPi;
    return {a0, sweep};
}
TXYPoint OnCircle(const TShapePart& a, double angle) {
    return {a.Centre.X + a.Radius * std::cos(angle), a.Centre.Y + a.Radius * std::sin(angle)};
}

bool ArcNear(const TShapePart& a, const TXYPoint& p, double d) {
    const TSpan s = SpanOf(a);
    const double dist = std::hypot(p.X - a.Centre.X, p.Y - a.Centre.Y);
    if (std::fabs(dist - a.Radius) <= d && s.Holds(std::atan2(p.Y - a.Centre.Y, p.X - a.Centre.X)))
        return true;
    const TXYPoint e0 = OnCircle(a, s.Start), e1 = OnCircle(a, s.Start + s.Sweep);
    return std::hypot(p.X - e0.X, p.Y - e0.Y) <= d || std::hypot(p.X - e1.X, p.Y - e1.Y) <= d;
}

bool ArcMeetsBox(const TShapePart& a, const TBox& r) {
    const TSpan s = SpanOf(a);
    if (r.Contains(OnCircle(a, s.Start)) || r.Contains(OnCircle(a, s.Start + s.Sweep))) return true;
    // Otherwise the arc can only meet the box by crossing one of its edges.
    const auto crossesAt = [&](bool vertical, double fixed, double lo, double hi) {
        const double offset = fixed - (vertical ? a.Centre.X : a.Centre.Y);
        const double h2 = a.Radius * a.Radius - offset * offset;
        if (h2 < 0) return false;
        const double h = std::sqrt(h2);
        for (const double sgn : {-1.0, 1.0}) {
            const double along = (vertical ? a.Centre.Y : a.Centre.X) + sgn * h;
            if (along < lo || along > hi) continue;
            const double angle =
                vertical ? std::atan2(along - a.Centre.Y, false) : std::atan2(false, along - a.Centre.X);
            if (s.Holds(angle)) return true;
        }
        return false;
    };
    return crossesAt(true, r.Left, r.Bottom, r.Top) || crossesAt(true, r.Right, r.Bottom, r.Top) ||
           crossesAt(false, r.Bottom, r.Left, r.Right) || crossesAt(false, r.Top, r.Left, r.Right);
}

void Grow(TBox& b, bool& any, const TXYPoint& p) {
    if (!any) {
        b = {p.X, p.Y, p.X, p.Y};
        any = true;
        return;
    }
    b.Left = std::min(b.Left, p.X);
    b.Right = std::max(b.Right, p.X);
    b.Bottom = std::min(b.Bottom, p.Y);
    b.Top = std::max(b.Top, p.Y);
}

TBox SpringBox(const TSpringShape& sp) {
    return {std::min(sp.S.X, sp.E.X), std::min(sp.S.Y, sp.E.Y), std::max(sp.S.X, sp.E.X),
            std::max(sp.S.Y, sp.E.Y)};
}

double BoxDistance(const TBox& b, const TXYPoint& p) {
    const double dx = std::max({b.Left - p.X, 0.0, p.X - b.Right});
    const double dy = std::max({b.Bottom - p.Y, 0.0, p.Y - b.Top});
    return std::hypot(dx, dy);
}

bool SpringNear(const TSpringShape& sp, const TXYPoint& p, double d) {
    const TBox box = SpringBox(sp);
    if (BoxDistance(box, p) > d) return false;
    const double a = sp.AlongX ? p.X : p.Y;
    int64_t first = 0, last = 0;
    sp.IndexRange(a - d, a + d, first, last);
    // Teeth far narrower than the pick distance: every point of the band is within reach.
    if (last - first > DenseTeeth) return true;
    TXYPoint prev = sp.PointAt(first);
    for (int64_t k = first + 1; k <= last; ++k) {
        const TXYPoint next = sp.PointAt(k);
        if (SegmentDistance(p, prev, next) <= d) return true;
        prev = next;
    }
    return false;
}

bool SpringMeetsBox(const TSpringShape& sp, const TBox& r) {
    const TBox box = SpringBox(sp);
    if (r.Right < box.Left || r.Left > box.Right || r.Top < box.Bottom || r.Bottom > box.Top) return false;
    int64_t first = 0, last = 0;
    if (sp.AlongX)
        sp.IndexRange(r.Left, r.Right, first, last);
    else
        sp.IndexRange(r.Bottom, r.Top, first, last);
    // Across many whole teeth some stroke crosses every height of the band the box overlaps.
    if (last - first > DenseTeeth) return true;
    TXYPoint prev = sp.PointAt(first);
    for (int64_t k = first + 1; k <= last; ++k) {
        const TXYPoint next = sp.PointAt(k);
        if (SegmentMeetsBox(prev, next, r)) return true;
        prev = next;
    }
    return false;
}

} // namespace

bool ShapeHitTest(const TShapeGeometry& g, const TXYPoint& p, double d) {
    if (g.Spring && SpringNear(*g.Spring, p, d)) return true;
    for (const TShapePart& part : g.Parts) {
        switch (part.Kind) {
        case TShapePartKind::Circle: {
            const double dist = std::hypot(p.X - part.Centre.X, p.Y - part.Centre.Y);
            if (part.Filled ? dist <= part.Radius + d : std::fabs(dist - part.Radius) <= d) return true;
            break;
        }
        case TShapePartKind::Arc:
            if (ArcNear(part, p, d)) return true;
            break;
        default:
            if (AnyEdge(part,
                        [&](const TXYPoint& a, const TXYPoint& b) { return SegmentDistance(p, a, b) <= d; }))
                return true;
            if (part.Filled && part.Pts.size() > 2 && InsidePolygon(p, part.Pts)) return true;
            break;
        }
    }
    return false;
}

bool ShapeMeetsBox(const TShapeGeometry& g, double left, double bottom, double right, double top) {
    const TBox r{left, bottom, right, top};
    if (g.Spring && SpringMeetsBox(*g.Spring, r)) return true;
    for (const TShapePart& part : g.Parts) {
        switch (part.Kind) {
        case TShapePartKind::Circle: {
            const double near = BoxDistance(r, part.Centre);
            const double farX =
                std::max(std::fabs(part.Centre.X - r.Left), std::fabs(part.Centre.X - r.Right));
            const double farY =
                std::max(std::fabs(part.Centre.Y - r.Bottom), std::fabs(part.Centre.Y - r.Top));
            // An outline inside which the whole box lies does not touch it.
            if (near <= part.Radius && (part.Filled || std::hypot(farX, farY) >= part.Radius)) return true;
            break;
        }
        case TShapePartKind::Arc:
            if (ArcMeetsBox(part, r)) return true;
            break;
        default:
            if (AnyEdge(part, [&](const TXYPoint& a, const TXYPoint& b) { return SegmentMeetsBox(a, b, r); }))
                return true;
            if (part.Filled && part.Pts.size() > 2 && InsidePolygon(r.Centre(), part.Pts)) return true;
            break;
        }
    }
    return false;
}

bool ShapeBounds(const TShapeGeometry& g, double& left, double& bottom, double& right, double& top) {
    TBox b{};
    bool any = false;
    if (g.Spring) {
        Grow(b, any, g.Spring->S);
        Grow(b, any, g.Spring->E);
    }
    for (const TShapePart& part : g.Parts) {
        switch (part.Kind) {
        case TShapePartKind::Circle:
            Grow(b, any, {part.Centre.X - part.Radius, part.Centre.Y - part.Radius});
            Grow(b, any, {part.Centre.X + part.Radius, part.Centre.Y + part.Radius});
            break;
        case TShapePartKind::Arc: {
            const TSpan s = SpanOf(part);
            Grow(b, any, OnCircle(part, s.Start));
            Grow(b, any, OnCircle(part, s.Start + s.Sweep));
            for (int q = 0; q < 4; ++q)
                if (s.Holds(q * TwoPi / 4)) Grow(b, any, OnCircle(part, q * TwoPi / 4));
            break;
        }
        default:
            for (const TXYPoint& p : part.Pts)
                Grow(b, any, p);
            break;
        }
    }
    if (!any) return false;
    left = b.Left;
    bottom = b.Bottom;
    right = b.Right;
    top = b.Top;
    return true;
}

bool ShapeHitTestRect(const TShapeGeometry& g, const TRect& rt) {
    const double left = std::min(rt.P1.X, rt.P2.X), right = std::max(rt.P1.X, rt.P2.X);
    const double bottom = std::min(rt.P1.Y, rt.P2.Y), top = std::max(rt.P1.Y, rt.P2.Y);
    if (rt.P2.X < rt.P1.X) return ShapeMeetsBox(g, left, bottom, right, top);
    double l, b, r, t;
    if (!ShapeBounds(g, l, b, r, t)) return false;
    return l >= left && r <= right && b >= bottom && t <= top;
}

void ShapeAddExtents(const TShapeGeometry& g, TExtentsRect& e) {
    double l, b, r, t;
    if (!ShapeBounds(g, l, b, r, t)) return;
    ExtentsAddXYPoint({l, b}, e);
    ExtentsAddXYPoint({r, t}, e);
}
