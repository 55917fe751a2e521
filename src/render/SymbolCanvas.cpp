#include "render/SymbolCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <strings.h>

namespace {
constexpr TColor Hex(uint32_t rgb) {
    return RGBColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

TSymbolCanvasColorData MakeScheme(const char* name, const char* description,
                                  std::array<uint32_t, DrawColorCount> draw,
                                  std::array<uint32_t, SymLineTypeCount> lineTypes) {
    TSymbolCanvasColorData d;
    d.Name = name;
    d.Description = description;
    d.UseGroupColorsForConnectionLines = true;
    for (int i = 0; i < DrawColorCount; ++i)
        d.DrawColors[i] = Hex(draw[i]);
    for (int i = 0; i < SymLineTypeCount; ++i)
        d.LineTypeColors[i] = Hex(lineTypes[i]);
    d.UseFor = useforScreen;
    d.FromOnline = true;
    return d;
}

double Clamp(double v, double limit) {
    if (std::isnan(v)) return 0;
    return std::clamp(v, -limit, limit);
}

int32_t ToDevice(double v) {
    return int32_t(Clamp(v, SafeDeviceCoord));
}

// Liang-Barsky: the part of the segment inside [-Limit, Limit]^2 as parameters [T0, T1] of 0..1.
bool ClipParams(double x1, double y1, double x2, double y2, double limit, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + limit, limit - x1, y1 + limit, limit - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    return true;
}

// The parameter range along P1 + s * U (s in 0..L) that lies within the rectangle.
bool ClipToBox(const TXYPoint& p1, const TXYPoint& u, double l, double left, double bottom, double right,
               double top, double& s0, double& s1) {
    s0 = 0;
    s1 = l;
    const double p[4] = {-u.X, u.X, -u.Y, u.Y};
    const double q[4] = {p1.X - left, right - p1.X, p1.Y - bottom, top - p1.Y};
    for (int i = 0; i < 4; ++i) {
        if (std::fabs(p[i]) < 1e-300) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            s0 = std::max(s0, r);
        else
            s1 = std::min(s1, r);
        if (s0 > s1) return false;
    }
    return true;
}
} // namespace

const TSymbolCanvasColorData& SymbolCanvasColorsBlack() {
    static const TSymbolCanvasColorData d =
        MakeScheme("Black", "Default colors for a black background",
                   {0x000000, 0xFFFFFF, 0x202020, 0x151515, 0x404040, 0x0000FF, 0x8888FF, 0x00FFFF, 0xAAAAAA,
                    0x800000, 0x808080, 0x606060},
                   {0x808080, 0xFFFFFF, 0xFF6600, 0xFF6600, 0xC0C0C0, 0xFF0000, 0xFF00FF, 0x00FFFF, 0x00FFFF,
                    0x00FF00, 0xFFFF00, 0xFFFF00, 0xC0C0C0, 0xFF0000, 0xFFFF00, 0xFF6600, 0xFF6600});
    return d;
}

const TSymbolCanvasColorData& SymbolCanvasColorsDarkGray() {
    static const TSymbolCanvasColorData d =
        MakeScheme("Dark gray", "Default colors for a dark gray background",
                   {0x46464F, 0xFFFFFF, 0x515151, 0x494949, 0x7C7C7C, 0x0000FF, 0x8888FF, 0x00FFFF, 0xAAAAAA,
                    0x800000, 0x808080, 0x606060},
                   {0x808080, 0xFFFFFF, 0xFF6600, 0xFF6600, 0xC0C0C0, 0xFF0000, 0xFF00FF, 0x00FFFF, 0x00FFFF,
                    0x00FF00, 0xFFFF00, 0xFFFF00, 0xC0C0C0, 0xFF0000, 0xFFFF00, 0xFF6600, 0xFF6600});
    return d;
}

const TSymbolCanvasColorData& SymbolCanvasColorsWhite() {
    static const TSymbolCanvasColorData d =
        MakeScheme("White", "Default colors for a white background",
                   {0xFFFFFF, 0x000000, 0xEEEEEE, 0xDDDDDD, 0x999999, 0x0000BB, 0x55B7FF, 0x00FFFF, 0xAAAAAA,
                    0x800000, 0x808080, 0xBBBBDD},
                   {0x808080, 0x000000, 0xFF6600, 0xFF6600, 0x808080, 0xFF0000, 0xFF00FF, 0x808080, 0xFF6600,
                    0x008000, 0xFF8000, 0xFF8000, 0x808080, 0xFF0000, 0xFF8000, 0xFF6600, 0xFF6600});
    return d;
}

const TSymbolCanvasColorData* FindSymbolCanvasColors(std::string_view name) {
    for (const TSymbolCanvasColorData* d :
         {&SymbolCanvasColorsBlack(), &SymbolCanvasColorsDarkGray(), &SymbolCanvasColorsWhite()})
        if (d->Name.size() == name.size() && strncasecmp(d->Name.data(), name.data(), name.size()) == 0)
            return d;
    return nullptr;
}

TPenStyle PenStyleOfLineStyle(TSymLineStyle style) {
    switch (style) {
    case symlinestyleHidden:
        return TPenStyle::Dot;
    case symlinestyleDashed:
        return TPenStyle::Dash;
    case symlinestyleBorder:
        return TPenStyle::DashDot;
    default:
        return TPenStyle::Solid;
    }
}

TPenStyle PenStyleOfBorderStyle(TSymBorderStyle style) {
    switch (style) {
    case symborderstyleHidden:
        return TPenStyle::Dot;
    case symborderstyleDashed:
        return TPenStyle::Dash;
    case symborderstyleBorder:
        return TPenStyle::DashDot;
    default:
        return TPenStyle::Solid;
    }
}

TSymbolCanvas::TSymbolCanvas(TRasterSurface* aCanvas) : fCanvas(aCanvas) {
    SetDPI(96);
    fPan = false;
    fThickConnectionLines = true;
    fCanvasColors = SymbolCanvasColorsDarkGray();
    fHideImageRectangles = false;
    fOrthoMode = false;
    fSymbolGroupDrawMode = drawMainGroups;
    Reset();
}

void TSymbolCanvas::Reset() {
    fStart = fSize = TPoint(0, 0);
    fSnap = 20;
    fGrid = 40;
    fZoom = 1.0;
    fGridMode = gridDynamic;
    fSnapMode = snapOn;
    fOSnapMode = osnapOn;
    fShowGrid = true;
    fShowTextBorders = true;
    fDrawMode = sdmNormal;
    fCanvasColors = SymbolCanvasColorsDarkGray();
    fShowHideInOutput = false;
    SetSnapAndGridValues();
    fMoveMode = false;
}

void TSymbolCanvas::SetDPI(int value) {
    // A device reporting no resolution keeps the standard 96 rather than dividing by zero.
    fDPI = value > 0 ? value : 96;
    fDPIFactor = 96.0 / fDPI;
}

void TSymbolCanvas::SetZoom(double factor) {
    const double z = fZoom * factor;
    if (std::isfinite(z) && z > 0) fZoom = z;
    SetSnapAndGridValues();
}

void TSymbolCanvas::SetGridMode(TGridMode value) {
    if (value == fGridMode) return;
    fGridMode = value;
    SetSnapAndGridValues();
}

void TSymbolCanvas::SetSnapAndGridValues() {
    const auto set = [this](int32_t snap, int32_t grid) {
        fSnap = snap;
        fGrid = grid;
    };
    switch (fGridMode) {
    case gridNone:
        break;
    case grid10:
        set(10, 10);
        break;
    case grid20:
        set(20, 20);
        break;
    case grid40:
        set(40, 40);
        break;
    case grid80:
        set(80, 80);
        break;
    case gridDynamic: {
        const double z = fZoom;
        if (z <= 0.01)
            set(320, 640);
        else if (z <= 0.05)
            set(320, 320);
        else if (z <= 0.1)
            set(160, 160);
        else if (z <= 0.25)
            set(80, 80);
        else if (z <= 0.5)
            set(40, 80);
        else if (z <= 1.5)
            set(20, 40);
        else if (z <= 2.5)
            set(10, 20);
        else if (z <= 5)
            set(5, 10);
        else if (z <= 20)
            set(2, 10);
        else if (z <= 30)
            set(1, 2);
        else
            set(1, 1);
        break;
    }
    }
}

double TSymbolCanvas::UsableZoom() const {
    return std::isfinite(fZoom) && fZoom > 0 ? fZoom : 0.0;
}

double TSymbolCanvas::DevX(double x) const {
    return std::nearbyint(x * UsableZoom()) + fStart.X;
}

double TSymbolCanvas::DevY(double y) const {
    return std::nearbyint((double(fSize.Y) - y) * UsableZoom()) + fStart.Y;
}

int32_t TSymbolCanvas::ToPtX(double x) const {
    return ToDevice(DevX(x));
}
int32_t TSymbolCanvas::ToPtY(double y) const {
    return ToDevice(DevY(y));
}
TPoint TSymbolCanvas::ToPt(const TPoint& p) const {
    return {ToPtX(p.X), ToPtY(p.Y)};
}
TPoint TSymbolCanvas::ToPt(const TXYPoint& p) const {
    return {ToPtX(p.X), ToPtY(p.Y)};
}

TPoint TSymbolCanvas::FromPt(const TPoint& p) const {
    const double z = UsableZoom();
    if (z == 0) return {0, 0};
    const int32_t x = Round((double(p.X) - fStart.X) / z);
    const int32_t y = ClampToInt32(int64_t(fSize.Y) - Round((double(p.Y) - fStart.Y) / z));
    return {x, y};
}

TRect TSymbolCanvas::VisibleArea() const {
    TAreaMemo& m = fAreaMemo;
    // Compared bit for bit, so that a zoom that is no number never matches.
    if (m.Valid && std::memcmp(&m.Zoom, &fZoom, sizeof fZoom) == 0 && m.Start == fStart && m.Size == fSize)
        return m.Area;
    m = {true, fZoom, fStart, fSize,
         UsableZoom() == 0 ? TRect() : TRect(FromPt({fSize.X, 0}), FromPt({0, fSize.Y}))};
    return m.Area;
}

TPoint TSymbolCanvas::SnapPoint(const TPoint& pt) const {
    TPoint p = FromPt(pt);
    if (fSnapMode == snapOn && fSnap > 0) {
        const auto snap = [this](int32_t v) {
            return ClampToInt32(int64_t(std::round(double(v) / fSnap)) * fSnap);
        };
        p = {snap(p.X), snap(p.Y)};
    }
    return p;
}

void TSymbolCanvas::ZoomExtents(const TExtentsRect& extents) {
    const double w = double(extents.Right) - extents.Left + 4;
    const double h = double(extents.Top) - extents.Bottom + 4;
    bool fitted = false;
    if (w > 0 && h > 0) {
        const double zx = fSize.X / w, zy = fSize.Y / h;
        const double z = zy > zx ? zx : zy;
        // An empty device would give zoom 0: keep the view usable instead.
        if (std::isfinite(z) && z > 0) {
            fZoom = z;
            if (zy > zx) {
                fStart.X = Round(-zx * extents.Left);
                fStart.Y = Round((fSize.Y - h * zx) * 0.5 + (double(extents.Top) - fSize.Y) * zx);
            } else {
                fStart.X = Round((fSize.X - w * zy) * 0.5 - extents.Left * zy);
                fStart.Y = Round((double(extents.Top) - fSize.Y) * zy);
            }
            fitted = true;
        }
    }
    if (!fitted) {
        fStart = TPoint(0, 0);
        fZoom = 1;
    }
    SetZoom(1);
}

void TSymbolCanvas::ZoomCenterExtents(const TExtentsRect& extents, double newZoom) {
    if (!std::isfinite(newZoom) || newZoom <= 0) return;
    const double w = double(extents.Right) - extents.Left + 4;
    const double h = double(extents.Top) - extents.Bottom + 4;
    if (w <= 0 || h <= 0) {
        fStart = TPoint(0, 0);
        fZoom = 1;
    } else {
        const double z = newZoom;
        fStart.X = Round((fSize.X - w * z) * 0.5 - z * extents.Left);
        fStart.Y = Round((fSize.Y - z * h) * 0.5 + z * (double(extents.Top) - fSize.Y));
        fZoom = z;
    }
    SetZoom(1);
}

void TSymbolCanvas::ClearCanvas() {
    const TColor bg = DrawColor(dcBackground);
    fCanvas->SetPen({bg, TPenStyle::Solid, 1, TPenMode::Copy});
    fCanvas->SetBrush({bg, TBrushStyle::Solid});
    fCanvas->FillRect(TRect({0, 0}, fSize));
    if (fShowGrid) DrawGrid();
}

void TSymbolCanvas::DrawGrid() {
    const double z = UsableZoom();
    if (z == 0 || z < 0.01 || fGrid <= 0) return;
    fCanvas->SetPen({DrawColor(dcGridMajor), TPenStyle::Solid, 1, TPenMode::Copy});
    fCanvas->SetBrush({fCanvas->Brush().Color, TBrushStyle::Clear});
    const TPoint tl = FromPt({0, 0});
    const TPoint br = FromPt(fSize);
    const int64_t g = fGrid;
    const bool dynamic = fGridMode == gridDynamic && g != 1;
    const int64_t k = (g == 40 ? 2 : 4) * g;
    TColor current = DrawColor(dcGridMajor);
    const auto penFor = [&](int64_t v) {
        if (!dynamic) return;
        const TColor c = v % k == 0 ? DrawColor(dcGridMajor) : DrawColor(dcGridMinor);
        if (c != current) {
            SetPenColor(c);
            current = c;
        }
    };
    for (int64_t x = tl.X - tl.X % g - g; x <= br.X; x += g) {
        penFor(x);
        MoveTo(TXYPoint{double(x), double(tl.Y)});
        LineTo(TXYPoint{double(x), double(br.Y)});
    }
    for (int64_t y = tl.Y - tl.Y % g + g; y >= br.Y; y -= g) {
        penFor(y);
        MoveTo(TXYPoint{double(tl.X), double(y)});
        LineTo(TXYPoint{double(br.X), double(y)});
    }
    const int64_t s = fSnap;
    if (!dynamic || s <= 0 || s >= g) return;
    const TColor dot = DrawColor(dcSnapPoint);
    for (int64_t x = tl.X - tl.X % s - s; x <= br.X; x += s) {
        if (x % g == 0) continue;
        for (int64_t y = tl.Y + s - tl.Y % s; y >= br.Y; y -= s) {
            if (y % g == 0) continue;
            fCanvas->SetPixel(ToPt(TXYPoint{double(x), double(y)}), dot);
        }
    }
}

void TSymbolCanvas::SurfaceSegment(double x1, double y1, double x2, double y2) {
    const double limit = SafeDeviceCoord;
    const bool inside =
        std::fabs(x1) <= limit && std::fabs(y1) <= limit && std::fabs(x2) <= limit && std::fabs(y2) <= limit;
    if (inside) {
        fCanvas->LineTo({int32_t(x2), int32_t(y2)});
        return;
    }
    // Clipping keeps the direction of the visible part; clamping the ends would bend it.
    double t0 = 0, t1 = 1;
    if (ClipParams(x1, y1, x2, y2, limit, t0, t1)) {
        const double dx = x2 - x1, dy = y2 - y1;
        fCanvas->MoveTo({ToDevice(std::nearbyint(x1 + t0 * dx)), ToDevice(std::nearbyint(y1 + t0 * dy))});
        fCanvas->LineTo({ToDevice(std::nearbyint(x1 + t1 * dx)), ToDevice(std::nearbyint(y1 + t1 * dy))});
    }
    fCanvas->MoveTo({ToDevice(x2), ToDevice(y2)});
}

void TSymbolCanvas::MoveTo(const TXYPoint& p) {
    fPenX = DevX(p.X);
    fPenY = DevY(p.Y);
    fCanvas->MoveTo({ToDevice(fPenX), ToDevice(fPenY)});
}

void TSymbolCanvas::LineTo(const TXYPoint& p) {
    const double x = DevX(p.X), y = DevY(p.Y);
    double fromX = fPenX, fromY = fPenY;
    // Someone moved the surface's pen directly: start from where it really is.
    const TPoint pos = fCanvas->PenPos();
    if (pos != TPoint(ToDevice(fromX), ToDevice(fromY))) {
        fromX = pos.X;
        fromY = pos.Y;
    }
    SurfaceSegment(fromX, fromY, x, y);
    fPenX = x;
    fPenY = y;
}

void TSymbolCanvas::MoveTo(const TPoint& devicePt) {
    fPenX = devicePt.X;
    fPenY = devicePt.Y;
    fCanvas->MoveTo(devicePt);
}

void TSymbolCanvas::LineTo(const TPoint& devicePt) {
    fPenX = devicePt.X;
    fPenY = devicePt.Y;
    fCanvas->LineTo(devicePt);
}

void TSymbolCanvas::DrawLines(std::span<const TXYPoint> pts) {
    if (pts.empty()) return;
    const TPenStyle style = fCanvas->Pen().Style;
    if (style == TPenStyle::Solid || style == TPenStyle::Clear) {
        MoveTo(pts[0]);
        for (size_t i = 1; i < pts.size(); ++i)
            LineTo(pts[i]);
        return;
    }
    for (size_t i = 1; i < pts.size(); ++i)
        DrawNonSolidLine(pts[i - 1], pts[i]);
}

namespace {
struct TPattern {
    double Period;
    // Dashes within one period as (offset from the period start, length); the period starts with
    // a gap of 8.
    std::array<std::pair<double, double>, 2> Dashes;
    int DashCount;
    double Margin; // what the two end pieces leave for the middle when computing the end length
};

// The symmetric layout of a pattern on a segment of length L: an end piece, N periods, the
// period's first dash once more (dash-dot only), and the other end piece of the same length.
struct TLayout {
    const TPattern* Pattern = nullptr;
    int64_t N = 0;
    double End = 0; // length of each end piece
};

const TPattern DashedPattern{44, {{{8, 36}, {0, 0}}}, 1, 8};
const TPattern DottedPattern{32, {{{8, 24}, {0, 0}}}, 1, 8};
const TPattern DashDotPattern{96, {{{8, 16}, {32, 64}}}, 2, 32};

bool LayoutFor(TPenStyle style, double l, TLayout& out) {
    const TPattern* p = nullptr;
    if (style == TPenStyle::Dash && l >= 52.8)
        p = &DashedPattern;
    else if (style == TPenStyle::Dot && l > 38.4)
        p = &DottedPattern;
    else if (style == TPenStyle::DashDot && l > 144)
        p = &DashDotPattern;
    if (!p) return false;
    out.Pattern = p;
    out.N = int64_t(std::trunc(l / p->Period));
    out.End = (l - (p->Period * double(out.N) + p->Margin)) / 2;
    if (out.End <= 0) {
        --out.N;
        out.End = (l - (p->Period * double(out.N) + p->Margin)) / 2;
    }
    return true;
}
} // namespace

void TSymbolCanvas::DrawNonSolidLine(const TXYPoint& p1, const TXYPoint& p2, TColor secondColor) {
    const TPen saved = fCanvas->Pen();
    const double l = XYDistance(p1, p2);
    const double dx = p2.X - p1.X, dy = p2.Y - p1.Y;
    // A vertical segment takes its direction from a single-precision quarter turn.
    const double t = dx == 0 ? double(float(Sign(dy) * std::numbers::pi / 2)) : std::atan2(dy, dx);
    const TXYPoint u{std::cos(t), std::sin(t)};
    const auto at = [&](double s) { return TXYPoint{p1.X + s * u.X, p1.Y + s * u.Y}; };

    TLayout layout;
    const double z = UsableZoom();
    const bool patterned = saved.Style != TPenStyle::Clear && LayoutFor(saved.Style, l, layout);
    TPen solid = saved;
    if (saved.Style != TPenStyle::Clear) solid.Style = TPenStyle::Solid;
    if (!patterned || z == 0) {
        if (solid != saved) fCanvas->SetPen(solid);
        MoveTo(p1);
        LineTo(p2);
        if (solid != saved) fCanvas->SetPen(saved);
        return;
    }

    // Only pieces meeting the visible area (plus a couple of pixels) are drawn; every piece keeps
    // its place in the pattern, so what shows is what the whole segment would show.
    // A canvas without a size has no visible area to clip to; the range the transform can reach
    // bounds the pieces instead, as nothing beyond it can be drawn apart from its edge.
    double s0 = 0, s1 = l;
    const double m = 2 / z + 2;
    double left, right, bottom, top;
    if (fSize.X > 0 && fSize.Y > 0) {
        const TRect v = VisibleArea();
        left = std::min(v.P1.X, v.P2.X) - m, right = std::max(v.P1.X, v.P2.X) + m;
        bottom = std::min(v.P1.Y, v.P2.Y) - m, top = std::max(v.P1.Y, v.P2.Y) + m;
    } else {
        const double reach = double(SafeDeviceCoord) / z + m;
        left = -reach - double(fStart.X) / z, right = reach - double(fStart.X) / z;
        bottom = double(fSize.Y) - reach + double(fStart.Y) / z,
        top = double(fSize.Y) + reach + double(fStart.Y) / z;
    }
    if (!ClipToBox(p1, u, l, left, bottom, right, top, s0, s1)) return;
    const TPattern& pat = *layout.Pattern;
    // Pieces far below a pixel cannot show a pattern; the visible stretch is drawn solid.
    if (pat.Period * z < 0.25) {
        fCanvas->SetPen(solid);
        MoveTo(at(s0));
        LineTo(s1 >= l ? p2 : at(s1));
        fCanvas->SetPen(saved);
        return;
    }

    fCanvas->SetPen(solid);
    TColor current = saved.Color;
    const auto piece = [&](int64_t index, double from, double to, bool toEnd) {
        if (to < s0 || from > s1) return;
        if (secondColor != 0) {
            const TColor c = index % 2 == 0 ? saved.Color : secondColor;
            if (c != current) {
                SetPenColor(c);
                current = c;
            }
        }
        MoveTo(at(from));
        LineTo(toEnd ? p2 : at(to));
    };
    const int64_t per = pat.DashCount;
    piece(0, 0, layout.End, false);
    const double a = layout.End;
    if (layout.N > 0) {
        const int64_t first = std::max<int64_t>(0, int64_t(std::floor((s0 - a) / pat.Period)) - 1);
        const int64_t last = std::min<int64_t>(layout.N - 1, int64_t(std::ceil((s1 - a) / pat.Period)) + 1);
        for (int64_t i = first; i <= last; ++i) {
            const double base = a + pat.Period * double(i);
            for (int64_t d = 0; d < per; ++d)
                piece(1 + i * per + d, base + pat.Dashes[d].first,
                      base + pat.Dashes[d].first + pat.Dashes[d].second, false);
        }
    }
    const double tail = a + pat.Period * double(layout.N);
    int64_t index = 1 + layout.N * per;
    if (per == 2) {
        piece(index, tail + 8, tail + 24, false);
        ++index;
        piece(index, tail + 32, l, true);
    } else {
        piece(index, tail + 8, l, true);
    }
    fCanvas->SetPen(saved);
}

void TSymbolCanvas::DrawCircle(const TXYPoint& pm, double r) {
    const double cx = DevX(pm.X), cy = DevY(pm.Y);
    const double rr = std::nearbyint(r * UsableZoom());
    fCanvas->Ellipse(
        TRect({ToDevice(cx - rr), ToDevice(cy - rr)}, {ToDevice(cx + rr + 1), ToDevice(cy + rr + 1)}));
}

void TSymbolCanvas::DrawCircle(const TPoint& pm, double r) {
    DrawCircle(PointToXYPoint(pm), r);
}

void TSymbolCanvas::DrawArc(const TXYPoint& pm, const TXYPoint& p1, const TXYPoint& p2, double r) {
    const double cx = DevX(pm.X), cy = DevY(pm.Y);
    const double rr = std::nearbyint(r * UsableZoom());
    // A ray point beyond the safe range is pulled in along its ray so the direction survives.
    const auto rayPoint = [&](const TXYPoint& p) {
        double x = DevX(p.X), y = DevY(p.Y);
        const double far = std::max(std::fabs(x), std::fabs(y));
        if (far > SafeDeviceCoord / 2.0) {
            const double dx = x - cx, dy = y - cy;
            const double len = std::hypot(dx, dy);
            if (len > 0) {
                x = cx + dx / len * 1024;
                y = cy + dy / len * 1024;
            }
        }
        return TPoint{ToDevice(std::nearbyint(x)), ToDevice(std::nearbyint(y))};
    };
    fCanvas->Arc(
        TRect({ToDevice(cx - rr), ToDevice(cy - rr)}, {ToDevice(cx + rr + 1), ToDevice(cy + rr + 1)}),
        rayPoint(p1), rayPoint(p2));
}

void TSymbolCanvas::DrawTextBorder(const TXYPoint& p1, const TXYPoint& p2, TSymBorderStyle border,
                                   TColor color) {
    if (!fShowTextBorders && border == symborderstyleNone) return;
    TPen pen = fCanvas->Pen();
    pen.Color = border == symborderstyleNone ? DrawColor(dcHelper) : color;
    pen.Style = fPan ? TPenStyle::Solid : PenStyleOfBorderStyle(border);
    fCanvas->SetPen(pen);
    if (pen.Style == TPenStyle::Solid) {
        const TPoint a = ToPt(p1), b = ToPt(p2);
        fCanvas->Rectangle(
            TRect({std::min(a.X, b.X), std::min(a.Y, b.Y)}, {std::max(a.X, b.X), std::max(a.Y, b.Y)}));
        return;
    }
    const TXYPoint c1{p2.X, p1.Y}, c2{p1.X, p2.Y};
    DrawNonSolidLine(p1, c1);
    DrawNonSolidLine(c1, p2);
    DrawNonSolidLine(p2, c2);
    DrawNonSolidLine(c2, p1);
}

void TSymbolCanvas::SetTextHeight(double newHeight) {
    fFontSize = Round(fDPIFactor * newHeight);
    // Points to a character height in pixels, rounded half away from zero.
    const double pixels = std::round(double(fFontSize) * fDPI / 72.0);
    TFontSpec font = fCanvas->Font();
    font.Height = int(std::clamp(pixels, 0.0, double(SafeDeviceCoord)));
    fCanvas->SetFont(font);
}

void TSymbolCanvas::SetTextAngle(double newAngle) {
    TFontSpec font = fCanvas->Font();
    font.Escapement = newAngle == 90 ? 900 : 0;
    fCanvas->SetFont(font);
}

TColor TSymbolCanvas::ObjectColor(TSymbolDrawMode mode, TSymLineType lineType, bool colorIsOverruled,
                                  TColor overruledColor) const {
    if (mode == sdmDrag) return DrawColor(dcDrag);
    if (mode == sdmHighlight) return DrawColor(dcHighlight);
    if (colorIsOverruled) return overruledColor;
    if (lineType != symlinetypeNone && lineType < SymLineTypeCount)
        return fCanvasColors.LineTypeColors[lineType];
    return DrawColor(dcForeground);
}

void TSymbolCanvas::ApplyObjectPen(TSymbolDrawMode mode, TSymLineType lineType, TSymLineStyle lineStyle,
                                   bool colorIsOverruled, TColor overruledColor) {
    const TColor c = ObjectColor(mode, lineType, colorIsOverruled, overruledColor);
    fCanvas->SetBrush({c, TBrushStyle::Clear});
    const TSymLineStyle style = lineStyle == symlinestyleDefault ? DefaultLineStyleOf(lineType) : lineStyle;
    fCanvas->SetPen({c, fPan ? TPenStyle::Solid : PenStyleOfLineStyle(style), 1, TPenMode::Copy});
}

void TSymbolCanvas::ApplyObjectBrush(bool solid, TSymbolDrawMode mode, TSymLineType lineType,
                                     bool colorIsOverruled, TColor overruledColor) {
    fCanvas->SetBrush({ObjectColor(mode, lineType, colorIsOverruled, overruledColor),
                       solid ? TBrushStyle::Solid : TBrushStyle::Clear});
}

void TSymbolCanvas::ApplyGroupPen(TSymbolDrawMode mode, TColor groupColor, TSymLineStyle groupLineStyle) {
    TPen pen = fCanvas->Pen();
    if (mode == sdmNormal)
        pen.Color = groupColor;
    else if (mode == sdmHighlight && groupColor == DrawColor(dcHighlight))
        pen.Color = RGBColor(0x77, 0x77, 0xFF);
    pen.Style = fPan ? TPenStyle::Solid : PenStyleOfLineStyle(groupLineStyle);
    fCanvas->SetPen(pen);
    TFontSpec font = fCanvas->Font();
    font.Color = pen.Color;
    fCanvas->SetFont(font);
}

void TSymbolCanvas::SetPenColor(TColor color) {
    TPen pen = fCanvas->Pen();
    pen.Color = color;
    fCanvas->SetPen(pen);
}

void TSymbolCanvas::SetPenStyle(TPenStyle style) {
    TPen pen = fCanvas->Pen();
    pen.Style = style;
    fCanvas->SetPen(pen);
}

void TSymbolCanvas::SetBrushStyle(TBrushStyle style) {
    TBrush brush = fCanvas->Brush();
    brush.Style = style;
    fCanvas->SetBrush(brush);
}
