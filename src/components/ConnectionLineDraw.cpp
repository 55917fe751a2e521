// Drawing of connection lines with their jump arcs, junction nodes and sheet references.
#include <algorithm>
#include <cmath>

#include "components/ConnectionLines.h"
#include "render/PointUtils.h"
#include "render/SymbolCanvas.h"

namespace {

int32_t ClampDevice(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, -SafeDeviceCoord, SafeDeviceCoord));
}

// Device box of a circle of radius r pixels about c, right and bottom exclusive.
TRect CircleBox(const TPoint& c, int64_t r) {
    return TRect({ClampDevice(int64_t(c.X) - r), ClampDevice(int64_t(c.Y) - r)},
                 {ClampDevice(int64_t(c.X) + r + 1), ClampDevice(int64_t(c.Y) + r + 1)});
}

// Radius in pixels, held within the device range so that scale and zoom from a file cannot
// overflow the box arithmetic.
int64_t PixelRadius(double r) {
    if (!std::isfinite(r)) return 0;
    return std::min<int64_t>(std::abs(int64_t(Round(r))), SafeDeviceCoord);
}

TXYPoint Toward(const TPoint& from, double angle, double length) {
    return {from.X + length * std::cos(angle), from.Y + length * std::sin(angle)};
}

} // namespace

TColor TSymbolObjectConnectionLine::SecondColorFor(const TSymbolCanvas& canvas, TSymbolDrawMode mode) const {
    if (mode != sdmNormal) return 0;
    if (canvas.fSymbolGroupDrawMode == drawMainGroups && !MainGroupData().Code.empty() &&
        MainGroupData().TwoColorMode)
        return MainGroupData().SecondColor;
    if (canvas.fSymbolGroupDrawMode == drawSubGroups && !SubGroupData().Code.empty() &&
        SubGroupData().TwoColorMode)
        return SubGroupData().SecondColor;
    return 0;
}

bool TSymbolObjectConnectionLine::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                             const TTextStyleList* styles) {
    if (!TSymbolObjectWithGroups::DrawSymbol(canvas, mode, clip, styles)) return false;
    // The attribute children have drawn with pens of their own.
    SetDrawColors(canvas, mode);
    if (mode == sdmHighlight && fIsClicked) canvas.SetPenColor(canvas.DrawColor(dcClicked));
    ApplyGroupPen(canvas, mode);
    if (fSymLineStyle != symlinestyleDefault)
        canvas.SetPenStyle(canvas.fPan ? TPenStyle::Solid : PenStyleOfLineStyle(fSymLineStyle));
    TPen pen = canvas.fCanvas->Pen();
    if (HasGroupFor(canvas.fSymbolGroupDrawMode) && canvas.fThickConnectionLines && mode != sdmDrag) {
        pen.Width = 2;
        canvas.fCanvas->SetPen(pen);
    }
    const TColor second = SecondColorFor(canvas, mode);
    const bool solid = pen.Style == TPenStyle::Solid;
    const auto& p = fDrawPoints.Items;
    if (p.size() >= 2) {
        if (fJumpMode == jmNone) {
            if (!solid && mode != sdmDrag) {
                for (size_t i = 1; i < p.size(); ++i)
                    canvas.DrawNonSolidLine(PointToXYPoint(p[i - 1]), PointToXYPoint(p[i]), second);
            } else {
                canvas.MoveTo(PointToXYPoint(p[0]));
                for (size_t i = 1; i < p.size(); ++i)
                    canvas.LineTo(PointToXYPoint(p[i]));
            }
        } else {
            // The pieces depend on the model only: worked out at the first paint after the
            // update changed the points, then kept.
            if (!fTmpDrawPointsValid) CacheDrawPoints();
            const auto& tagged = fTmpDrawPoints.Items;
            for (size_t i = 1; i < tagged.size(); ++i)
                DrawPiece(canvas, tagged[i - 1], tagged[i], solid, second);
        }
    }
    pen = canvas.fCanvas->Pen();
    pen.Width = 1;
    canvas.fCanvas->SetPen(pen);
    return true;
}

void TSymbolObjectConnectionLine::DrawPiece(TSymbolCanvas& canvas, const TTaggedPoint& a,
                                            const TTaggedPoint& b, bool solid, TColor secondColor) const {
    const double h = Round(10 * fScale);
    const double length = PointDist(a.Pt, b.Pt) - h;
    TXYPoint s = PointToXYPoint(a.Pt);
    TXYPoint e = PointToXYPoint(b.Pt);
    if (a.Tag != TagCorner) {
        s = Toward(b.Pt, VectorAngle(double(a.Pt.X) - b.Pt.X, double(a.Pt.Y) - b.Pt.Y), length);
        DrawJumpArc(canvas, a.Pt);
    }
    if (b.Tag != TagCorner) {
        e = Toward(a.Pt, VectorAngle(double(b.Pt.X) - a.Pt.X, double(b.Pt.Y) - a.Pt.Y), length);
        DrawJumpArc(canvas, b.Pt);
    }
    if (!solid) {
        canvas.DrawNonSolidLine(s, e, secondColor);
    } else {
        canvas.MoveTo(s);
        canvas.LineTo(e);
    }
}

void TSymbolObjectConnectionLine::DrawJumpArc(TSymbolCanvas& canvas, const TPoint& c) const {
    const int64_t r = PixelRadius(10 * fScale * canvas.fZoom);
    const TPoint sc = canvas.ToPt(c);
    const TPen saved = canvas.fCanvas->Pen();
    TPen pen = saved;
    pen.Style = TPenStyle::Solid;
    canvas.fCanvas->SetPen(pen);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    const int32_t xl = ClampDevice(int64_t(sc.X) - r), xr = ClampDevice(int64_t(sc.X) + r);
    const int32_t yt = ClampDevice(int64_t(sc.Y) - r), yb = ClampDevice(int64_t(sc.Y) + r);
    TPoint start, end;
    switch (fJumpMode) {
    case jmVertRight:
        start = {sc.X, yb}, end = {sc.X, yt};
        break;
    case jmVertLeft:
        start = {sc.X, yt}, end = {sc.X, yb};
        break;
    case jmHorzUp:
        start = {xr, sc.Y}, end = {xl, sc.Y};
        break;
    case jmHorzDown:
    default:
        start = {xl, sc.Y}, end = {xr, sc.Y};
        break;
    }
    canvas.fCanvas->Arc(CircleBox(sc, r), start, end);
    canvas.fCanvas->SetPen(saved);
}

bool TSymbolObjectConnectionNode::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                             const TTextStyleList* styles) {
    if (!TSymbolObjectWithGroups::DrawSymbol(canvas, mode, clip, styles)) return false;
    if (fSymbolObjectSubType != soConnectionNode) return true;
    SetDrawColors(canvas, mode);
    ApplyGroupPen(canvas, mode);
    if (mode == sdmHighlight && fIsClicked) canvas.SetPenColor(canvas.DrawColor(dcClicked));
    const int64_t r = PixelRadius(Radius() * fScale * canvas.fZoom);
    const bool filled = fFill && mode != sdmDrag;
    if (mode == sdmNormal && fHideInOutput) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    TBrush brush = canvas.fCanvas->Brush();
    brush.Color = canvas.fCanvas->Pen().Color;
    brush.Style = filled ? TBrushStyle::Solid : TBrushStyle::Clear;
    canvas.fCanvas->SetBrush(brush);
    canvas.fCanvas->Ellipse(CircleBox(canvas.ToPt(fP1), r));
    return true;
}

bool TSymbolObjectConnectionLineRef::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                                const TTextStyleList* styles) {
    if (!TSymbolObject2Point::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    if (canvas.fCanvas->Pen().Style != TPenStyle::Solid) {
        canvas.DrawNonSolidLine(PointToXYPoint(fP1), PointToXYPoint(fP2));
    } else {
        canvas.MoveTo(PointToXYPoint(fP1));
        canvas.LineTo(PointToXYPoint(fP2));
    }
    return true;
}
