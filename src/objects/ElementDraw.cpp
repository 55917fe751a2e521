// Drawing of the hydraulic element objects on the symbol canvas.
#include "objects/ElementObjects.h"
#include "objects/TextObjects.h"
#include "render/PointUtils.h"
#include "render/SymbolCanvas.h"

#include <cmath>
#include <cstdlib>

namespace {

// The marks of converters and contacts are texts of their own, in the element's line type and,
// when it has one, its overruled colour, whatever the text style says.
void DrawTextMark(TSymbolCanvas& canvas, const TSymbolObject& owner, TSymbolDrawMode mode,
                  const TTextStyleList* styles, const TXYPoint& centre, double height, bool vertical,
                  std::string_view text) {
    TSymbolObjectText mark;
    mark.fP1 = XYPointToPoint(centre);
    mark.fCaptionList = {std::string(text)};
    mark.fHeight = Round(height);
    mark.fRotation = vertical ? 90 : 0;
    mark.fAlign = taMiddle;
    mark.fSymLineType = owner.fSymLineType;
    mark.fColorIsOverruled = owner.fColorIsOverruled;
    mark.fOverruledColor = owner.fOverruledColor;
    mark.fOverrideTextStyleSettings.UseStyleDefault = false;
    mark.fOverrideTextStyleSettings.UseStyleColor = false;
    mark.fOverrideTextStyleSettings.UseDefaultColor = !owner.fColorIsOverruled;
    mark.fOverrideTextStyleSettings.TextColor = owner.fOverruledColor;
    mark.Draw(canvas, mode, false, styles);
}

// P1 + (P2 - P1) / 2, as the elements take their middle.
TXYPoint MidPoint(const TPoint& p1, const TPoint& p2) {
    return {p1.X + (double(p2.X) - p1.X) / 2, p1.Y + (double(p2.Y) - p1.Y) / 2};
}

// Objects hidden in output are told apart on the screen by the helper colour.
bool InHelperColor(const TSymbolObject& obj, TSymbolDrawMode mode) {
    return mode == sdmNormal && obj.fHideInOutput;
}

} // namespace

bool TSymbolObjectSolenoid::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                       const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    DrawShapeParts(Geometry(), canvas, *this, mode);
    if (HasOption(solProportional)) {
        TSymbolObject2Point arrow;
        arrow.fSymbolObjectSubType = soArrow;
        ProportionalArrow(arrow.fP1, arrow.fP2);
        arrow.fFill = fFill;
        arrow.fSymLineType = fSymLineType;
        arrow.fSymLineStyle = fSymLineStyle;
        arrow.fScale = fScale;
        arrow.DrawSymbol(canvas, mode, clip, styles);
    }
    return true;
}

bool TSymbolObjectOrifice::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                      const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    if (fP1 == fP2) return true;
    if (fOptions.test(ooValue1) || fOptions.test(ooValue2) || fOptions.test(ooLine)) {
        canvas.MoveTo(PointToXYPoint(fP1));
        canvas.LineTo(PointToXYPoint(fP2));
    }
    const bool filled = (fFill || fOptions.test(ooFilled)) && mode != sdmDrag;
    if (filled) SetBrushStyle(canvas, true, mode);
    if (fOptions.test(ooReplaceable) || fOptions.test(ooFilled) || mode != sdmNormal) {
        canvas.DrawCircle(CenterPoint(), Radius());
    } else if (canvas.fShowTextBorders) {
        // The circle of an orifice that shows no circle of its own is a construction mark.
        const TPen pen = canvas.fCanvas->Pen();
        canvas.SetPenColor(canvas.DrawColor(dcHelper));
        canvas.DrawCircle(CenterPoint(), Radius());
        canvas.fCanvas->SetPen(pen);
    }
    if (filled) SetBrushStyle(canvas, false, mode);
    DrawShapeParts(MarkGeometry(), canvas, *this, mode);
    return true;
}

bool TSymbolObjectElectric::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                       const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    const bool helper = InHelperColor(*this, mode);
    if (helper) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    const auto q = GetDrawPoints();
    canvas.DrawLines(q);
    if (fFill) {
        SetBrushStyle(canvas, true, mode);
        if (helper) canvas.fCanvas->SetBrush({canvas.DrawColor(dcHelper), TBrushStyle::Solid});
        const TPoint head[] = {canvas.ToPt(q[4]), canvas.ToPt(q[5]), canvas.ToPt(q[6])};
        canvas.fCanvas->Polygon(head);
        SetBrushStyle(canvas, false, mode);
    }
    return true;
}

bool TSymbolObjectSignalConverter::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                              const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    DrawShapeParts(Geometry(), canvas, *this, mode);
    const double m = GetM();
    if (m <= 0) return true;
    const bool vertical = !IsHorz();
    if (fOutputSignal == svOutputNone)
        DrawTextMark(canvas, *this, mode, styles, OutputCentre(), m, vertical, "**");
    const double letterHeight = fInputSignal == svInputNone ? m : 0.75 * m;
    DrawTextMark(canvas, *this, mode, styles, InputCentre(), letterHeight, vertical,
                 SignalConverterInputLetter(fInputSignal));
    return true;
}

bool TSymbolObjectElectricalContact::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                                const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    DrawShapeParts(Geometry(), canvas, *this, mode);
    const double m = GetM();
    if (fElectricalContact == ecNone && m > 0)
        DrawTextMark(canvas, *this, mode, styles, MidPoint(fP1, fP2), m, !IsHorz(), "**");
    return true;
}

void TSymbolObjectHose::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                    const TTextStyleList* styles) {
    UpdateHoseTypeAttributes(canvas.fDecimalSeparator);
    TSymbolObject2Point::PrepareDraw(canvas, mode, styles);
}

bool TSymbolObjectHose::UpdateHoseTypeAttributes(char decimalSeparator) {
    bool changed = false;
    std::string caption;
    for (const auto& child : fSymbolObjectList) {
        if (child->AttributeKind() != saHoseType) continue;
        auto* attribute = dynamic_cast<TSymbolObjectAttribute*>(child.get());
        if (!attribute) continue;
        if (caption.empty()) caption = HoseType(decimalSeparator);
        if (attribute->fValue == caption) continue;
        attribute->fValue = caption;
        // Its box was measured for the old text.
        attribute->ResetExtents();
        changed = true;
    }
    return changed;
}

bool TSymbolObjectHose::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                   const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    const TXYPoint p1 = PointToXYPoint(fP1), p2 = PointToXYPoint(fP2);
    if (fFill) SetBrushStyle(canvas, true, mode);
    canvas.DrawCircle(p1, DotRadius());
    canvas.DrawCircle(p2, DotRadius());
    if (fFill) SetBrushStyle(canvas, false, mode);
    if (fP1 == fP2) return true;

    TXYPoint c;
    double r;
    GetCnterAndRadius(c, r);
    const double zoom = canvas.fZoom;
    const double rho = r * zoom;
    const TPoint dc = canvas.ToPt(c);
    // An arc too large for the surface's coordinates is drawn by its chords as a short one is.
    const bool fits = std::isfinite(rho) && std::abs(dc.X) + rho <= SafeDeviceCoord &&
                      std::abs(dc.Y) + rho <= SafeDeviceCoord;
    if (PointDist(fP1, fP2) * zoom >= 40 && fits) {
        canvas.DrawArc(c, p2, p1, r);
        return true;
    }
    canvas.MoveTo(p1);
    for (const TXYPoint& p : IntermediatePoints())
        canvas.LineTo(p);
    canvas.LineTo(p2);
    return true;
}
