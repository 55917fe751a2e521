// Drawing of the shape objects on the symbol canvas.
#include "objects/ShapeHelpers.h"
#include "objects/ShapeObjects.h"
#include "render/PointUtils.h"
#include "render/ShapeGeometry.h"
#include "render/SymbolCanvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Without a device size nothing bounds the drawing but this.
constexpr int64_t MaxSpringPoints = int64_t(1) << 20;

bool SolidPen(const TSymbolCanvas& canvas) {
    const TPenStyle style = canvas.fCanvas->Pen().Style;
    return style == TPenStyle::Solid || style == TPenStyle::Clear;
}

void DevicePolygon(TSymbolCanvas& canvas, const std::vector<TXYPoint>& pts) {
    std::vector<TPoint> device;
    device.reserve(pts.size());
    for (const TXYPoint& p : pts)
        device.push_back(canvas.ToPt(p));
    canvas.fCanvas->Polygon(device);
}

// Teeth narrower than a pixel cannot be told apart, and only the teeth on screen are visited,
// so a spring of any proportions costs no more than the pixels it covers.
void DrawSpring(const TSpringShape& full, TSymbolCanvas& canvas) {
    const double zoom = canvas.fZoom;
    if (!std::isfinite(zoom) || zoom <= 0) return;
    const double length = std::fabs(full.AlongX ? full.E.X - full.S.X : full.E.Y - full.S.Y) * zoom;
    const TSpringShape sp = full.WithAtMost(int64_t(std::clamp(std::floor(length), 1.0, 1e15)));
    int64_t first = 0, last = sp.PointCount() - 1;
    if (canvas.fSize.X > 0 && canvas.fSize.Y > 0) {
        const TRect v = canvas.VisibleArea();
        const double margin = 2 / zoom + 2;
        if (sp.AlongX)
            sp.IndexRange(std::min(v.P1.X, v.P2.X) - margin, std::max(v.P1.X, v.P2.X) + margin, first, last);
        else
            sp.IndexRange(std::min(v.P1.Y, v.P2.Y) - margin, std::max(v.P1.Y, v.P2.Y) + margin, first, last);
    }
    last = std::min(last, first + MaxSpringPoints);
    canvas.MoveTo(sp.PointAt(first));
    for (int64_t k = first + 1; k <= last; ++k)
        canvas.LineTo(sp.PointAt(k));
}

// The children set pens of their own; the object's geometry is drawn in the object's pen.
void PenAfterChildren(const TSymbolObject& obj, TSymbolCanvas& canvas, TSymbolDrawMode mode) {
    if (obj.fSymbolObjectList.Count() > 0) obj.SetDrawColors(canvas, mode);
}

// An arc from its ends and a point on it: a platform arc about the constructed centre, or the
// poly-line through the three points when they are (nearly) in line.
void DrawArcThrough(TSymbolCanvas& canvas, const TXYPoint& s, const TXYPoint& e, const TXYPoint& t,
                    TSymbolDrawMode mode, bool centreMarker) {
    const TArcThrough arc = ArcThrough(s, e, t);
    const TPoint d1 = canvas.ToPt(s), d2 = canvas.ToPt(e), d3 = canvas.ToPt(t);
    const TPoint c = canvas.ToPt(arc.Centre);
    const double rho = arc.Radius * canvas.fZoom;
    // An arc too large for the surface's coordinates is indistinguishable from its chords there.
    const bool fits = std::isfinite(rho) && std::abs(c.X) + rho <= SafeDeviceCoord &&
                      std::abs(c.Y) + rho <= SafeDeviceCoord;
    if (arc.Kind == TArcThrough::akStraight || PointsCollinear(d1, d2, d3) || !fits) {
        const TPoint line[] = {d1, d3, d2};
        canvas.fCanvas->Polyline(line);
        return;
    }
    const TRect box({Round(c.X - rho), Round(c.Y - rho)}, {Round(c.X + rho) + 1, Round(c.Y + rho) + 1});
    canvas.fCanvas->Arc(box, canvas.ToPt(arc.From), canvas.ToPt(arc.To));
    if (centreMarker && mode == sdmDrag && !canvas.fMoveMode) {
        const int64_t k = Round(4 * canvas.fZoom);
        const auto at = [&](int64_t dx, int64_t dy) {
            return TPoint(ClampToInt32(c.X + dx), ClampToInt32(c.Y + dy));
        };
        canvas.MoveTo(at(-k, -k));
        canvas.LineTo(at(k + 1, k + 1));
        canvas.MoveTo(at(k, -k));
        canvas.LineTo(at(-k - 1, k + 1));
    }
}

} // namespace

void DrawShapeParts(const TShapeGeometry& g, TSymbolCanvas& canvas, const TSymbolObject& owner,
                    TSymbolDrawMode mode) {
    if (g.Spring) DrawSpring(*g.Spring, canvas);
    for (const TShapePart& part : g.Parts) {
        switch (part.Kind) {
        case TShapePartKind::Lines:
            if (part.Pts.empty()) break;
            canvas.MoveTo(part.Pts.front());
            for (size_t i = 1; i < part.Pts.size(); ++i)
                canvas.LineTo(part.Pts[i]);
            break;
        case TShapePartKind::StyledLines:
            canvas.DrawLines(part.Pts);
            break;
        case TShapePartKind::StyledPolygon:
            if (!part.Filled && !SolidPen(canvas)) {
                for (size_t i = 0; i < part.Pts.size(); ++i)
                    canvas.DrawNonSolidLine(part.Pts[i], part.Pts[(i + 1) % part.Pts.size()]);
                break;
            }
            [[fallthrough]];
        case TShapePartKind::Polygon:
            if (part.Filled) owner.SetBrushStyle(canvas, true, mode);
            DevicePolygon(canvas, part.Pts);
            if (part.Filled) owner.SetBrushStyle(canvas, false, mode);
            break;
        case TShapePartKind::Circle:
            if (part.Filled) owner.SetBrushStyle(canvas, true, mode);
            canvas.DrawCircle(part.Centre, part.Radius);
            if (part.Filled) owner.SetBrushStyle(canvas, false, mode);
            break;
        case TShapePartKind::Arc:
            canvas.DrawArc(part.Centre, part.Pts[0], part.Pts[1], part.Radius);
            break;
        }
    }
}

bool TSymbolObject1Point::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                     const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    PenAfterChildren(*this, canvas, mode);
    DrawShapeParts(Geometry(), canvas, *this, mode);
    return true;
}

bool TSymbolObject2Point::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                     const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    PenAfterChildren(*this, canvas, mode);
    const TXYPoint p1 = PointToXYPoint(fP1), p2 = PointToXYPoint(fP2);
    const bool machine = fSymbolObjectSubType >= soMotor1 && fSymbolObjectSubType <= soMotorPumpControl;
    if (mode == sdmDrag && machine) {
        const TXYPoint line[] = {p1, p2};
        canvas.DrawLines(line);
    }
    DrawShapeParts(Geometry(), canvas, *this, mode);
    if (mode == sdmDrag && fSymbolObjectSubType == soCircle) {
        canvas.MoveTo(p1);
        canvas.LineTo(p2);
    }
    return true;
}

bool TSymbolObject3Point::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                     const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    PenAfterChildren(*this, canvas, mode);
    if (fSymbolObjectSubType == soArc)
        DrawArcThrough(canvas, PointToXYPoint(fP1), PointToXYPoint(fP2), PointToXYPoint(fP3), mode, true);
    else
        DrawShapeParts(Geometry(), canvas, *this, mode);
    return true;
}

bool TSymbolObjectPolyLine::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                       const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    PenAfterChildren(*this, canvas, mode);
    if (fSymbolObjectSubType == soRevisionCloud && !fArcs.Items.empty()) {
        for (const TArc& a : fArcs.Items)
            DrawArcThrough(canvas, a.StartPt, a.EndPt, a.ThroughPt, mode, false);
        return true;
    }
    DrawShapeParts(Geometry(), canvas, *this, mode);
    return true;
}
