#include "render/SymbolCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <strings.h>

namespace {
constexpr TColor Hex(uint32_t Rgb) {
    return RGBColor(uint8_t(Rgb >> 16), uint8_t(Rgb >> 8), uint8_t(Rgb));
}

TSymbolCanvasColorData MakeScheme(const char* Name, const char* Description,
                                  std::array<uint32_t, DrawColorCount> Draw,
                                  std::array<uint32_t, SymLineTypeCount> LineTypes) {
    TSymbolCanvasColorData D;
    D.Name = Name;
    D.Description = Description;
    D.UseGroupColorsForConnectionLines = true;
    for (int I = 0; I < DrawColorCount; ++I)
        D.DrawColors[I] = Hex(Draw[I]);
    for (int I = 0; I < SymLineTypeCount; ++I)
        D.LineTypeColors[I] = Hex(LineTypes[I]);
    D.UseFor = useforScreen;
    D.FromOnline = true;
    return D;
}

double Clamp(double V, double Limit) {
    if (std::isnan(V)) return 0;
    return std::clamp(V, -Limit, Limit);
}

int32_t ToDevice(double V) {
    return int32_t(Clamp(V, SafeDeviceCoord));
}

// Liang-Barsky: the part of the segment inside [-Limit, Limit]^2 as parameters [T0, T1] of 0..1.
bool ClipParams(double X1, double Y1, double X2, double Y2, double Limit, double& T0, double& T1) {
    T0 = 0;
    T1 = 1;
    const double Dx = X2 - X1, Dy = Y2 - Y1;
    const double P[4] = {-Dx, Dx, -Dy, Dy};
    const double Q[4] = {X1 + Limit, Limit - X1, Y1 + Limit, Limit - Y1};
    for (int I = 0; I < 4; ++I) {
        if (P[I] == 0) {
            if (Q[I] < 0) return false;
            continue;
        }
        const double R = Q[I] / P[I];
        if (P[I] < 0)
            T0 = std::max(T0, R);
        else
            T1 = std::min(T1, R);
        if (T0 > T1) return false;
    }
    return true;
}

// The parameter range along P1 + s * U (s in 0..L) that lies within the rectangle.
bool ClipToBox(const TXYPoint& P1, const TXYPoint& U, double L, double Left, double Bottom, double Right,
               double Top, double& S0, double& S1) {
    S0 = 0;
    S1 = L;
    const double P[4] = {-U.X, U.X, -U.Y, U.Y};
    const double Q[4] = {P1.X - Left, Right - P1.X, P1.Y - Bottom, Top - P1.Y};
    for (int I = 0; I < 4; ++I) {
        if (std::fabs(P[I]) < 1e-300) {
            if (Q[I] < 0) return false;
            continue;
        }
        const double R = Q[I] / P[I];
        if (P[I] < 0)
            S0 = std::max(S0, R);
        else
            S1 = std::min(S1, R);
        if (S0 > S1) return false;
    }
    return true;
}
} // namespace

const TSymbolCanvasColorData& SymbolCanvasColorsBlack() {
    static const TSymbolCanvasColorData D =
        MakeScheme("Black", "Default colors for a black background",
                   {0x000000, 0xFFFFFF, 0x202020, 0x151515, 0x404040, 0x0000FF, 0x8888FF, 0x00FFFF, 0xAAAAAA,
                    0x800000, 0x808080, 0x606060},
                   {0x808080, 0xFFFFFF, 0xFF6600, 0xFF6600, 0xC0C0C0, 0xFF0000, 0xFF00FF, 0x00FFFF, 0x00FFFF,
                    0x00FF00, 0xFFFF00, 0xFFFF00, 0xC0C0C0, 0xFF0000, 0xFFFF00, 0xFF6600, 0xFF6600});
    return D;
}

const TSymbolCanvasColorData& SymbolCanvasColorsDarkGray() {
    static const TSymbolCanvasColorData D =
        MakeScheme("Dark gray", "Default colors for a dark gray background",
                   {0x46464F, 0xFFFFFF, 0x515151, 0x494949, 0x7C7C7C, 0x0000FF, 0x8888FF, 0x00FFFF, 0xAAAAAA,
                    0x800000, 0x808080, 0x606060},
                   {0x808080, 0xFFFFFF, 0xFF6600, 0xFF6600, 0xC0C0C0, 0xFF0000, 0xFF00FF, 0x00FFFF, 0x00FFFF,
                    0x00FF00, 0xFFFF00, 0xFFFF00, 0xC0C0C0, 0xFF0000, 0xFFFF00, 0xFF6600, 0xFF6600});
    return D;
}

const TSymbolCanvasColorData& SymbolCanvasColorsWhite() {
    static const TSymbolCanvasColorData D =
        MakeScheme("White", "Default colors for a white background",
                   {0xFFFFFF, 0x000000, 0xEEEEEE, 0xDDDDDD, 0x999999, 0x0000BB, 0x55B7FF, 0x00FFFF, 0xAAAAAA,
                    0x800000, 0x808080, 0xBBBBDD},
                   {0x808080, 0x000000, 0xFF6600, 0xFF6600, 0x808080, 0xFF0000, 0xFF00FF, 0x808080, 0xFF6600,
                    0x008000, 0xFF8000, 0xFF8000, 0x808080, 0xFF0000, 0xFF8000, 0xFF6600, 0xFF6600});
    return D;
}

const TSymbolCanvasColorData* FindSymbolCanvasColors(std::string_view Name) {
    for (const TSymbolCanvasColorData* D :
         {&SymbolCanvasColorsBlack(), &SymbolCanvasColorsDarkGray(), &SymbolCanvasColorsWhite()})
        if (D->Name.size() == Name.size() && strncasecmp(D->Name.data(), Name.data(), Name.size()) == 0)
            return D;
    return nullptr;
}

TPenStyle PenStyleOfLineStyle(TSymLineStyle Style) {
    switch (Style) {
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

TPenStyle PenStyleOfBorderStyle(TSymBorderStyle Style) {
    switch (Style) {
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

TSymbolCanvas::TSymbolCanvas(TRasterSurface* ACanvas) : fCanvas(ACanvas) {
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

void TSymbolCanvas::SetDPI(int Value) {
    // A device reporting no resolution keeps the standard 96 rather than dividing by zero.
    fDPI = Value > 0 ? Value : 96;
    fDPIFactor = 96.0 / fDPI;
}

void TSymbolCanvas::SetZoom(double Factor) {
    const double Z = fZoom * Factor;
    if (std::isfinite(Z) && Z > 0) fZoom = Z;
    SetSnapAndGridValues();
}

void TSymbolCanvas::SetGridMode(TGridMode Value) {
    if (Value == fGridMode) return;
    fGridMode = Value;
    SetSnapAndGridValues();
}

void TSymbolCanvas::SetSnapAndGridValues() {
    const auto Set = [this](int32_t Snap, int32_t Grid) {
        fSnap = Snap;
        fGrid = Grid;
    };
    switch (fGridMode) {
    case gridNone:
        break;
    case grid10:
        Set(10, 10);
        break;
    case grid20:
        Set(20, 20);
        break;
    case grid40:
        Set(40, 40);
        break;
    case grid80:
        Set(80, 80);
        break;
    case gridDynamic: {
        const double Z = fZoom;
        if (Z <= 0.01)
            Set(320, 640);
        else if (Z <= 0.05)
            Set(320, 320);
        else if (Z <= 0.1)
            Set(160, 160);
        else if (Z <= 0.25)
            Set(80, 80);
        else if (Z <= 0.5)
            Set(40, 80);
        else if (Z <= 1.5)
            Set(20, 40);
        else if (Z <= 2.5)
            Set(10, 20);
        else if (Z <= 5)
            Set(5, 10);
        else if (Z <= 20)
            Set(2, 10);
        else if (Z <= 30)
            Set(1, 2);
        else
            Set(1, 1);
        break;
    }
    }
}

double TSymbolCanvas::UsableZoom() const {
    return std::isfinite(fZoom) && fZoom > 0 ? fZoom : 0.0;
}

double TSymbolCanvas::DevX(double X) const {
    return std::nearbyint(X * UsableZoom()) + fStart.X;
}

double TSymbolCanvas::DevY(double Y) const {
    return std::nearbyint((double(fSize.Y) - Y) * UsableZoom()) + fStart.Y;
}

int32_t TSymbolCanvas::ToPtX(double X) const {
    return ToDevice(DevX(X));
}
int32_t TSymbolCanvas::ToPtY(double Y) const {
    return ToDevice(DevY(Y));
}
TPoint TSymbolCanvas::ToPt(const TPoint& P) const {
    return {ToPtX(P.X), ToPtY(P.Y)};
}
TPoint TSymbolCanvas::ToPt(const TXYPoint& P) const {
    return {ToPtX(P.X), ToPtY(P.Y)};
}

TPoint TSymbolCanvas::FromPt(const TPoint& P) const {
    const double Z = UsableZoom();
    if (Z == 0) return {0, 0};
    const int32_t X = Round((double(P.X) - fStart.X) / Z);
    const int32_t Y = ClampToInt32(int64_t(fSize.Y) - Round((double(P.Y) - fStart.Y) / Z));
    return {X, Y};
}

TRect TSymbolCanvas::VisibleArea() const {
    if (UsableZoom() == 0) return TRect();
    return TRect(FromPt({fSize.X, 0}), FromPt({0, fSize.Y}));
}

TPoint TSymbolCanvas::SnapPoint(const TPoint& Pt) const {
    TPoint P = FromPt(Pt);
    if (fSnapMode == snapOn && fSnap > 0) {
        const auto Snap = [this](int32_t V) {
            return ClampToInt32(int64_t(std::round(double(V) / fSnap)) * fSnap);
        };
        P = {Snap(P.X), Snap(P.Y)};
    }
    return P;
}

void TSymbolCanvas::ZoomExtents(const TExtentsRect& Extents) {
    const double W = double(Extents.Right) - Extents.Left + 4;
    const double H = double(Extents.Top) - Extents.Bottom + 4;
    bool Fitted = false;
    if (W > 0 && H > 0) {
        const double Zx = fSize.X / W, Zy = fSize.Y / H;
        const double Z = Zy > Zx ? Zx : Zy;
        // An empty device would give zoom 0: keep the view usable instead.
        if (std::isfinite(Z) && Z > 0) {
            fZoom = Z;
            if (Zy > Zx) {
                fStart.X = Round(-Zx * Extents.Left);
                fStart.Y = Round((fSize.Y - H * Zx) * 0.5 + (double(Extents.Top) - fSize.Y) * Zx);
            } else {
                fStart.X = Round((fSize.X - W * Zy) * 0.5 - Extents.Left * Zy);
                fStart.Y = Round((double(Extents.Top) - fSize.Y) * Zy);
            }
            Fitted = true;
        }
    }
    if (!Fitted) {
        fStart = TPoint(0, 0);
        fZoom = 1;
    }
    SetZoom(1);
}

void TSymbolCanvas::ZoomCenterExtents(const TExtentsRect& Extents, double NewZoom) {
    if (!std::isfinite(NewZoom) || NewZoom <= 0) return;
    const double W = double(Extents.Right) - Extents.Left + 4;
    const double H = double(Extents.Top) - Extents.Bottom + 4;
    if (W <= 0 || H <= 0) {
        fStart = TPoint(0, 0);
        fZoom = 1;
    } else {
        const double Z = NewZoom;
        fStart.X = Round((fSize.X - W * Z) * 0.5 - Z * Extents.Left);
        fStart.Y = Round((fSize.Y - Z * H) * 0.5 + Z * (double(Extents.Top) - fSize.Y));
        fZoom = Z;
    }
    SetZoom(1);
}

void TSymbolCanvas::ClearCanvas() {
    const TColor Bg = DrawColor(dcBackground);
    fCanvas->SetPen({Bg, TPenStyle::Solid, 1, TPenMode::Copy});
    fCanvas->SetBrush({Bg, TBrushStyle::Solid});
    fCanvas->FillRect(TRect({0, 0}, fSize));
    if (fShowGrid) DrawGrid();
}

void TSymbolCanvas::DrawGrid() {
    const double Z = UsableZoom();
    if (Z == 0 || Z < 0.01 || fGrid <= 0) return;
    fCanvas->SetPen({DrawColor(dcGridMajor), TPenStyle::Solid, 1, TPenMode::Copy});
    fCanvas->SetBrush({fCanvas->Brush().Color, TBrushStyle::Clear});
    const TPoint TL = FromPt({0, 0});
    const TPoint BR = FromPt(fSize);
    const int64_t G = fGrid;
    const bool Dynamic = fGridMode == gridDynamic && G != 1;
    const int64_t K = (G == 40 ? 2 : 4) * G;
    TColor Current = DrawColor(dcGridMajor);
    const auto PenFor = [&](int64_t V) {
        if (!Dynamic) return;
        const TColor C = V % K == 0 ? DrawColor(dcGridMajor) : DrawColor(dcGridMinor);
        if (C != Current) {
            SetPenColor(C);
            Current = C;
        }
    };
    for (int64_t X = TL.X - TL.X % G - G; X <= BR.X; X += G) {
        PenFor(X);
        MoveTo(TXYPoint{double(X), double(TL.Y)});
        LineTo(TXYPoint{double(X), double(BR.Y)});
    }
    for (int64_t Y = TL.Y - TL.Y % G + G; Y >= BR.Y; Y -= G) {
        PenFor(Y);
        MoveTo(TXYPoint{double(TL.X), double(Y)});
        LineTo(TXYPoint{double(BR.X), double(Y)});
    }
    const int64_t S = fSnap;
    if (!Dynamic || S <= 0 || S >= G) return;
    const TColor Dot = DrawColor(dcSnapPoint);
    for (int64_t X = TL.X - TL.X % S - S; X <= BR.X; X += S) {
        if (X % G == 0) continue;
        for (int64_t Y = TL.Y + S - TL.Y % S; Y >= BR.Y; Y -= S) {
            if (Y % G == 0) continue;
            fCanvas->SetPixel(ToPt(TXYPoint{double(X), double(Y)}), Dot);
        }
    }
}

void TSymbolCanvas::SurfaceSegment(double X1, double Y1, double X2, double Y2) {
    const double Limit = SafeDeviceCoord;
    const bool Inside =
        std::fabs(X1) <= Limit && std::fabs(Y1) <= Limit && std::fabs(X2) <= Limit && std::fabs(Y2) <= Limit;
    if (Inside) {
        fCanvas->LineTo({int32_t(X2), int32_t(Y2)});
        return;
    }
    // Clipping keeps the direction of the visible part; clamping the ends would bend it.
    double T0 = 0, T1 = 1;
    if (ClipParams(X1, Y1, X2, Y2, Limit, T0, T1)) {
        const double Dx = X2 - X1, Dy = Y2 - Y1;
        fCanvas->MoveTo({ToDevice(std::nearbyint(X1 + T0 * Dx)), ToDevice(std::nearbyint(Y1 + T0 * Dy))});
        fCanvas->LineTo({ToDevice(std::nearbyint(X1 + T1 * Dx)), ToDevice(std::nearbyint(Y1 + T1 * Dy))});
    }
    fCanvas->MoveTo({ToDevice(X2), ToDevice(Y2)});
}

void TSymbolCanvas::MoveTo(const TXYPoint& P) {
    fPenX = DevX(P.X);
    fPenY = DevY(P.Y);
    fCanvas->MoveTo({ToDevice(fPenX), ToDevice(fPenY)});
}

void TSymbolCanvas::LineTo(const TXYPoint& P) {
    const double X = DevX(P.X), Y = DevY(P.Y);
    double FromX = fPenX, FromY = fPenY;
    // Someone moved the surface's pen directly: start from where it really is.
    const TPoint Pos = fCanvas->PenPos();
    if (Pos != TPoint(ToDevice(FromX), ToDevice(FromY))) {
        FromX = Pos.X;
        FromY = Pos.Y;
    }
    SurfaceSegment(FromX, FromY, X, Y);
    fPenX = X;
    fPenY = Y;
}

void TSymbolCanvas::MoveTo(const TPoint& DevicePt) {
    fPenX = DevicePt.X;
    fPenY = DevicePt.Y;
    fCanvas->MoveTo(DevicePt);
}

void TSymbolCanvas::LineTo(const TPoint& DevicePt) {
    fPenX = DevicePt.X;
    fPenY = DevicePt.Y;
    fCanvas->LineTo(DevicePt);
}

void TSymbolCanvas::DrawLines(std::span<const TXYPoint> Pts) {
    if (Pts.empty()) return;
    const TPenStyle Style = fCanvas->Pen().Style;
    if (Style == TPenStyle::Solid || Style == TPenStyle::Clear) {
        MoveTo(Pts[0]);
        for (size_t I = 1; I < Pts.size(); ++I)
            LineTo(Pts[I]);
        return;
    }
    for (size_t I = 1; I < Pts.size(); ++I)
        DrawNonSolidLine(Pts[I - 1], Pts[I]);
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

bool LayoutFor(TPenStyle Style, double L, TLayout& Out) {
    const TPattern* P = nullptr;
    if (Style == TPenStyle::Dash && L >= 52.8)
        P = &DashedPattern;
    else if (Style == TPenStyle::Dot && L > 38.4)
        P = &DottedPattern;
    else if (Style == TPenStyle::DashDot && L > 144)
        P = &DashDotPattern;
    if (!P) return false;
    Out.Pattern = P;
    Out.N = int64_t(std::trunc(L / P->Period));
    Out.End = (L - (P->Period * double(Out.N) + P->Margin)) / 2;
    if (Out.End <= 0) {
        --Out.N;
        Out.End = (L - (P->Period * double(Out.N) + P->Margin)) / 2;
    }
    return true;
}
} // namespace

void TSymbolCanvas::DrawNonSolidLine(const TXYPoint& P1, const TXYPoint& P2, TColor SecondColor) {
    const TPen Saved = fCanvas->Pen();
    const double L = XYDistance(P1, P2);
    const double Dx = P2.X - P1.X, Dy = P2.Y - P1.Y;
    // A vertical segment takes its direction from a single-precision quarter turn.
    const double T = Dx == 0 ? double(float(Sign(Dy) * std::numbers::pi / 2)) : std::atan2(Dy, Dx);
    const TXYPoint U{std::cos(T), std::sin(T)};
    const auto At = [&](double S) { return TXYPoint{P1.X + S * U.X, P1.Y + S * U.Y}; };

    TLayout Layout;
    const double Z = UsableZoom();
    const bool Patterned = Saved.Style != TPenStyle::Clear && LayoutFor(Saved.Style, L, Layout);
    TPen Solid = Saved;
    if (Saved.Style != TPenStyle::Clear) Solid.Style = TPenStyle::Solid;
    if (!Patterned || Z == 0) {
        if (Solid != Saved) fCanvas->SetPen(Solid);
        MoveTo(P1);
        LineTo(P2);
        if (Solid != Saved) fCanvas->SetPen(Saved);
        return;
    }

    // Only pieces meeting the visible area (plus a couple of pixels) are drawn; every piece keeps
    // its place in the pattern, so what shows is what the whole segment would show.
    // A canvas without a size has no visible area to clip to; the range the transform can reach
    // bounds the pieces instead, as nothing beyond it can be drawn apart from its edge.
    double S0 = 0, S1 = L;
    const double M = 2 / Z + 2;
    double Left, Right, Bottom, Top;
    if (fSize.X > 0 && fSize.Y > 0) {
        const TRect V = VisibleArea();
        Left = std::min(V.P1.X, V.P2.X) - M, Right = std::max(V.P1.X, V.P2.X) + M;
        Bottom = std::min(V.P1.Y, V.P2.Y) - M, Top = std::max(V.P1.Y, V.P2.Y) + M;
    } else {
        const double Reach = double(SafeDeviceCoord) / Z + M;
        Left = -Reach - double(fStart.X) / Z, Right = Reach - double(fStart.X) / Z;
        Bottom = double(fSize.Y) - Reach + double(fStart.Y) / Z,
        Top = double(fSize.Y) + Reach + double(fStart.Y) / Z;
    }
    if (!ClipToBox(P1, U, L, Left, Bottom, Right, Top, S0, S1)) return;
    const TPattern& Pat = *Layout.Pattern;
    // Pieces far below a pixel cannot show a pattern; the visible stretch is drawn solid.
    if (Pat.Period * Z < 0.25) {
        fCanvas->SetPen(Solid);
        MoveTo(At(S0));
        LineTo(S1 >= L ? P2 : At(S1));
        fCanvas->SetPen(Saved);
        return;
    }

    fCanvas->SetPen(Solid);
    TColor Current = Saved.Color;
    const auto Piece = [&](int64_t Index, double From, double To, bool ToEnd) {
        if (To < S0 || From > S1) return;
        if (SecondColor != 0) {
            const TColor C = Index % 2 == 0 ? Saved.Color : SecondColor;
            if (C != Current) {
                SetPenColor(C);
                Current = C;
            }
        }
        MoveTo(At(From));
        LineTo(ToEnd ? P2 : At(To));
    };
    const int64_t Per = Pat.DashCount;
    Piece(0, 0, Layout.End, false);
    const double A = Layout.End;
    if (Layout.N > 0) {
        const int64_t First = std::max<int64_t>(0, int64_t(std::floor((S0 - A) / Pat.Period)) - 1);
        const int64_t Last = std::min<int64_t>(Layout.N - 1, int64_t(std::ceil((S1 - A) / Pat.Period)) + 1);
        for (int64_t I = First; I <= Last; ++I) {
            const double Base = A + Pat.Period * double(I);
            for (int64_t D = 0; D < Per; ++D)
                Piece(1 + I * Per + D, Base + Pat.Dashes[D].first,
                      Base + Pat.Dashes[D].first + Pat.Dashes[D].second, false);
        }
    }
    const double Tail = A + Pat.Period * double(Layout.N);
    int64_t Index = 1 + Layout.N * Per;
    if (Per == 2) {
        Piece(Index, Tail + 8, Tail + 24, false);
        ++Index;
        Piece(Index, Tail + 32, L, true);
    } else {
        Piece(Index, Tail + 8, L, true);
    }
    fCanvas->SetPen(Saved);
}

void TSymbolCanvas::DrawCircle(const TXYPoint& PM, double R) {
    const double Cx = DevX(PM.X), Cy = DevY(PM.Y);
    const double Rr = std::nearbyint(R * UsableZoom());
    fCanvas->Ellipse(
        TRect({ToDevice(Cx - Rr), ToDevice(Cy - Rr)}, {ToDevice(Cx + Rr + 1), ToDevice(Cy + Rr + 1)}));
}

void TSymbolCanvas::DrawCircle(const TPoint& PM, double R) {
    DrawCircle(PointToXYPoint(PM), R);
}

void TSymbolCanvas::DrawArc(const TXYPoint& PM, const TXYPoint& P1, const TXYPoint& P2, double R) {
    const double Cx = DevX(PM.X), Cy = DevY(PM.Y);
    const double Rr = std::nearbyint(R * UsableZoom());
    // A ray point beyond the safe range is pulled in along its ray so the direction survives.
    const auto RayPoint = [&](const TXYPoint& P) {
        double X = DevX(P.X), Y = DevY(P.Y);
        const double Far = std::max(std::fabs(X), std::fabs(Y));
        if (Far > SafeDeviceCoord / 2.0) {
            const double Dx = X - Cx, Dy = Y - Cy;
            const double Len = std::hypot(Dx, Dy);
            if (Len > 0) {
                X = Cx + Dx / Len * 1024;
                Y = Cy + Dy / Len * 1024;
            }
        }
        return TPoint{ToDevice(std::nearbyint(X)), ToDevice(std::nearbyint(Y))};
    };
    fCanvas->Arc(
        TRect({ToDevice(Cx - Rr), ToDevice(Cy - Rr)}, {ToDevice(Cx + Rr + 1), ToDevice(Cy + Rr + 1)}),
        RayPoint(P1), RayPoint(P2));
}

void TSymbolCanvas::DrawTextBorder(const TXYPoint& P1, const TXYPoint& P2, TSymBorderStyle Border,
                                   TColor Color) {
    if (!fShowTextBorders && Border == symborderstyleNone) return;
    TPen Pen = fCanvas->Pen();
    Pen.Color = Border == symborderstyleNone ? DrawColor(dcHelper) : Color;
    Pen.Style = fPan ? TPenStyle::Solid : PenStyleOfBorderStyle(Border);
    fCanvas->SetPen(Pen);
    if (Pen.Style == TPenStyle::Solid) {
        const TPoint A = ToPt(P1), B = ToPt(P2);
        fCanvas->Rectangle(
            TRect({std::min(A.X, B.X), std::min(A.Y, B.Y)}, {std::max(A.X, B.X), std::max(A.Y, B.Y)}));
        return;
    }
    const TXYPoint C1{P2.X, P1.Y}, C2{P1.X, P2.Y};
    DrawNonSolidLine(P1, C1);
    DrawNonSolidLine(C1, P2);
    DrawNonSolidLine(P2, C2);
    DrawNonSolidLine(C2, P1);
}

void TSymbolCanvas::SetTextHeight(double NewHeight) {
    fFontSize = Round(fDPIFactor * NewHeight);
    // Points to a character height in pixels, rounded half away from zero.
    const double Pixels = std::round(double(fFontSize) * fDPI / 72.0);
    TFontSpec Font = fCanvas->Font();
    Font.Height = int(std::clamp(Pixels, 0.0, double(SafeDeviceCoord)));
    fCanvas->SetFont(Font);
}

void TSymbolCanvas::SetTextAngle(double NewAngle) {
    TFontSpec Font = fCanvas->Font();
    Font.Escapement = NewAngle == 90 ? 900 : 0;
    fCanvas->SetFont(Font);
}

TColor TSymbolCanvas::ObjectColor(TSymbolDrawMode Mode, TSymLineType LineType, bool ColorIsOverruled,
                                  TColor OverruledColor) const {
    if (Mode == sdmDrag) return DrawColor(dcDrag);
    if (Mode == sdmHighlight) return DrawColor(dcHighlight);
    if (ColorIsOverruled) return OverruledColor;
    if (LineType != symlinetypeNone && LineType < SymLineTypeCount)
        return fCanvasColors.LineTypeColors[LineType];
    return DrawColor(dcForeground);
}

void TSymbolCanvas::ApplyObjectPen(TSymbolDrawMode Mode, TSymLineType LineType, TSymLineStyle LineStyle,
                                   bool ColorIsOverruled, TColor OverruledColor) {
    const TColor C = ObjectColor(Mode, LineType, ColorIsOverruled, OverruledColor);
    fCanvas->SetBrush({C, TBrushStyle::Clear});
    const TSymLineStyle Style = LineStyle == symlinestyleDefault ? DefaultLineStyleOf(LineType) : LineStyle;
    fCanvas->SetPen({C, fPan ? TPenStyle::Solid : PenStyleOfLineStyle(Style), 1, TPenMode::Copy});
}

void TSymbolCanvas::ApplyObjectBrush(bool Solid, TSymbolDrawMode Mode, TSymLineType LineType,
                                     bool ColorIsOverruled, TColor OverruledColor) {
    fCanvas->SetBrush({ObjectColor(Mode, LineType, ColorIsOverruled, OverruledColor),
                       Solid ? TBrushStyle::Solid : TBrushStyle::Clear});
}

void TSymbolCanvas::ApplyGroupPen(TSymbolDrawMode Mode, TColor GroupColor, TSymLineStyle GroupLineStyle) {
    TPen Pen = fCanvas->Pen();
    if (Mode == sdmNormal)
        Pen.Color = GroupColor;
    else if (Mode == sdmHighlight && GroupColor == DrawColor(dcHighlight))
        Pen.Color = RGBColor(0x77, 0x77, 0xFF);
    Pen.Style = fPan ? TPenStyle::Solid : PenStyleOfLineStyle(GroupLineStyle);
    fCanvas->SetPen(Pen);
    TFontSpec Font = fCanvas->Font();
    Font.Color = Pen.Color;
    fCanvas->SetFont(Font);
}

void TSymbolCanvas::SetPenColor(TColor Color) {
    TPen Pen = fCanvas->Pen();
    Pen.Color = Color;
    fCanvas->SetPen(Pen);
}

void TSymbolCanvas::SetPenStyle(TPenStyle Style) {
    TPen Pen = fCanvas->Pen();
    Pen.Style = Style;
    fCanvas->SetPen(Pen);
}

void TSymbolCanvas::SetBrushStyle(TBrushStyle Style) {
    TBrush Brush = fCanvas->Brush();
    Brush.Style = Style;
    fCanvas->SetBrush(Brush);
}
