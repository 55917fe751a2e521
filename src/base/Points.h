#pragma once
// Integer drawing-space value types shared by the whole core.
#include <cstdint>

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
    // Sums and differences saturate at the 32-bit limits instead of wrapping: coordinates come
    // from files and may sit anywhere in the range.
    friend constexpr TPoint operator+(const TPoint& a, const TPoint& b) {
        return {Saturate(int64_t(a.X) + b.X), Saturate(int64_t(a.Y) + b.Y)};
    }
    friend constexpr TPoint operator-(const TPoint& a, const TPoint& b) {
        return {Saturate(int64_t(a.X) - b.X), Saturate(int64_t(a.Y) - b.Y)};
    }
    static constexpr int32_t Saturate(int64_t v) {
        return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : int32_t(v);
    }
};

// Cached bounding box of one drawing object.
struct TSymbolExtents {
    TPoint C1;
    TPoint C2;
    bool Defined = false;
};

// Accumulated bounding box; Y points up, so Top >= Bottom.
struct TExtentsRect {
    bool Defined = false;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

inline void ExtentsAddPoint(const TPoint& p, TExtentsRect& e) {
    if (!e.Defined) {
        e.Left = e.Right = p.X;
        e.Top = e.Bottom = p.Y;
        e.Defined = true;
        return;
    }
    if (p.X < e.Left) e.Left = p.X;
    if (p.X > e.Right) e.Right = p.X;
    if (p.Y > e.Top) e.Top = p.Y;
    if (p.Y < e.Bottom) e.Bottom = p.Y;
}

// Platform rectangle read as two corner points. The corners may come in either order; a
// rectangle whose P2.X < P1.X is a crossing rectangle for the selection tests.
struct TRect {
    TPoint P1;
    TPoint P2;
    constexpr TRect() = default;
    constexpr TRect(TPoint a, TPoint b) : P1(a), P2(b) {}
    constexpr int32_t Left() const { return P1.X; }
    constexpr int32_t Top() const { return P1.Y; }
    constexpr int32_t Right() const { return P2.X; }
    constexpr int32_t Bottom() const { return P2.Y; }
};
