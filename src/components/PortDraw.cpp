// Measuring and drawing ports and inner ports.
#include <cmath>
#include <numbers>

#include "components/Ports.h"
#include "objects/TextObjects.h"
#include "render/PointUtils.h"
#include "render/SymbolCanvas.h"

namespace {

TColor LineTypeColor(const TSymbolCanvas& canvas, TSymLineType t) {
    return canvas.fCanvasColors.LineTypeColors[t];
}

void SetPenWidth(TSymbolCanvas& canvas, int width) {
    TPen pen = canvas.fCanvas->Pen();
    pen.Width = width;
    canvas.fCanvas->SetPen(pen);
}

void Line(TSymbolCanvas& canvas, TPoint a, TPoint b) {
    canvas.MoveTo(PointToXYPoint(a));
    canvas.LineTo(PointToXYPoint(b));
}

// An X of the given half size about the point, in drawing units.
void Cross(TSymbolCanvas& canvas, TPoint c, int32_t half) {
    Line(canvas, c + TPoint(-half, -half), c + TPoint(half, half));
    Line(canvas, c + TPoint(half, -half), c + TPoint(-half, half));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Shared caption work

void TSymbolObjectBasicPort::ComputeCaptionBox(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                               const TTextStyleList* styles, TPoint centre) {
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    // At zoom 1 a pixel of the measurement is a drawing unit.
    canvas.SetTextHeight(fHeight);
    const std::vector<std::string> lines = CreateCaptionList();
    const int64_t gH = MeasureText(canvas, "gH").cy;
    const int64_t w = WidestLine(canvas, lines);
    const int64_t h = gH + int64_t(MulDiv(fHeight, 5, 4)) * int64_t(lines.size() - 1);
    int64_t hw = w / 2, hh = h / 2;
    if (HasBorder()) {
        hw += Round(fHeight * 0.5);
        hh += Round((2.0 * fHeight - double(gH)) * 0.5);
    }
    const TPoint half(ClampToInt32(hw), ClampToInt32(hh));
    if (fRotation == 90) {
        fExtents.C1 = centre - TPoint(half.Y, half.X);
        fExtents.C2 = centre + TPoint(half.Y, half.X);
    } else {
        fExtents.C1 = centre + TPoint(-half.X, half.Y);
        fExtents.C2 = centre + TPoint(half.X, -half.Y);
    }
    fExtents.Defined = true;
}

void TSymbolObjectBasicPort::CaptionMetrics(TSymbolCanvas& canvas, size_t lineCount, int32_t& pitchPx,
                                            int32_t& halfBlockPx) {
    const double zoom = canvas.fZoom;
    const int32_t pitch = MulDiv(fHeight, 5, 4);
    canvas.SetTextHeight(fHeight);
    const double block = double(MeasureText(canvas, "gH").cy) + double(pitch) * double(lineCount - 1);
    pitchPx = Round(pitch * zoom);
    halfBlockPx = Round(block / 2 * zoom);
    canvas.SetTextHeight(fHeight * zoom);
}

bool TSymbolObjectBasicPort::DrawCaptionLines(TSymbolCanvas& canvas, TPoint centre,
                                              const std::vector<std::string>& lines) {
    int32_t pitch, half;
    CaptionMetrics(canvas, lines.size(), pitch, half);
    if (canvas.FontSize() <= 1) return false;
    const int64_t w = WidestLine(canvas, lines);
    const TPoint c = canvas.ToPt(centre);
    const bool rotated = fRotation == 90;
    if (rotated) canvas.SetTextAngle(90);
    for (size_t m = 0; m < lines.size(); ++m) {
        const int64_t along = int64_t(pitch) * int64_t(m) - half;
        const TPoint at = rotated ? TPoint(ClampToInt32(c.X + along), ClampToInt32(c.Y + w / 2))
                                  : TPoint(ClampToInt32(c.X - w / 2), ClampToInt32(c.Y + along));
        canvas.fCanvas->TextOut(at, lines[m]);
    }
    if (rotated) canvas.SetTextAngle(0);
    return true;
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectPort

void TSymbolObjectPort::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                    const TTextStyleList* styles) {
    TSymbolObjectBasicPort::PrepareDraw(canvas, mode, styles);
    if (!fExtents.Defined) ComputeCaptionBox(canvas, mode, styles, fP3);
}

bool TSymbolObjectPort::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                   const TTextStyleList* styles) {
    if (!TSymbolObjectBasicPort::DrawSymbol(canvas, mode, clip, styles)) return false;
    if (fUsedAsHelpPort && !HasLine()) return true;
    if (!fExtents.Defined) ComputeCaptionBox(canvas, mode, styles, fP3);

    if (mode == sdmNormal) canvas.SetPenColor(LineTypeColor(canvas, symlinetypeConnectionLine));
    ApplyGroupPen(canvas, mode);
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    const TPenStyle savedStyle = canvas.fCanvas->Pen().Style;
    canvas.SetPenStyle(TPenStyle::Solid);
    if (HasGroupFor(canvas.fSymbolGroupDrawMode)) {
        SetFontColor(canvas, canvas.fCanvas->Pen().Color);
        if (canvas.fThickConnectionLines) SetPenWidth(canvas, 2);
    }
    if (!fVirtualPort && HasLine()) Line(canvas, fP1, fP2);
    if (fClosedPort) {
        if (mode == sdmNormal) canvas.SetPenColor(LineTypeColor(canvas, symlinetypeSymbol));
        DrawClosedMark(canvas);
    }
    SetPenWidth(canvas, 1);
    if (!fHideInOutput || canvas.fShowHideInOutput || HasJoinableFiles()) DrawCaption(canvas, mode);
    canvas.SetPenStyle(savedStyle);
    return true;
}

void TSymbolObjectPort::DrawClosedMark(TSymbolCanvas& canvas) {
    if (IsLooped() || !HasLine()) {
        Cross(canvas, fP2, 10);
        return;
    }
    // A bar across the end of the stub.
    const int32_t half = Round(fScale * 0.5 * 20);
    const double angle = (PointAngle(fP1, fP2) + 90) * std::numbers::pi / 180;
    const TPoint a = RotatePoint(fP2 + TPoint(half, 0), fP2, angle);
    const TPoint b = RotatePoint(fP2 - TPoint(half, 0), fP2, angle);
    Line(canvas, a, b);
}

void TSymbolObjectPort::DrawCaption(TSymbolCanvas& canvas, TSymbolDrawMode mode) {
    const TColor solenoid = LineTypeColor(canvas, symlinetypeSolenoid);
    if (mode == sdmNormal) {
        if (!HasBorder()) canvas.SetPenColor(canvas.DrawColor(dcHelper));
        if (HasJoinableFiles()) SetFontColor(canvas, solenoid);
    }
    const TPoint corner = LeaderCorner(fP1, fP3);
    const bool textShown = !fVirtualPort && !fUsedAsHelpPort && !(fTemporaryHidden & temphiddenText);
    if (!textShown && !IsLoopedAndJoinable()) return;
    const bool captionType = fPortType == soptNormal || (IsLoopThrough() && !IsLoopedFrom());

    if ((canvas.fShowTextBorders && captionType) || IsLoopedAndJoinable()) {
        const TXYPoint c1 = PointToXYPoint(fExtents.C1), c2 = PointToXYPoint(fExtents.C2);
        if (mode == sdmNormal && HasJoinableFiles())
            canvas.DrawTextBorder(c1, c2, symborderstyleSolid, solenoid);
        else
            canvas.DrawTextBorder(c1, c2, fBorder, FontColor(canvas));
        if (mode == sdmNormal) canvas.SetPenColor(canvas.DrawColor(dcHelper));
        canvas.SetPenStyle(TPenStyle::Solid);
        Line(canvas, corner, fP1);
    }

    if (InMainSymbol() && HasMate()) {
        const TColor captionColor = FontColor(canvas);
        canvas.SetTextHeight(8 * canvas.fZoom);
        if (canvas.FontSize() > 1) {
            SetFontColor(canvas, canvas.DrawColor(dcHelper));
            const TPoint d = canvas.ToPt(fP1);
            const int32_t h = MeasureText(canvas, "H").cy;
            canvas.fCanvas->TextOut({d.X, ClampToInt32(int64_t(d.Y) - h)}, MateText());
        }
        SetFontColor(canvas, captionColor);
    }

    if (!captionType && !HasJoinableFiles()) return;
    if (IsLoopThrough()) SetFontStyle(canvas, true, true);
    if (mode == sdmNormal) {
        if (fHideInOutput) SetFontColor(canvas, canvas.DrawColor(dcHelper));
        if (HasJoinableFiles()) SetFontColor(canvas, solenoid);
    } else if (mode == sdmHighlight && fIsClicked) {
        SetFontColor(canvas, canvas.DrawColor(dcClicked));
    }
    DrawCaptionLines(canvas, fP3, CreateCaptionList());
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectIPort

void TSymbolObjectIPort::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                     const TTextStyleList* styles) {
    TSymbolObjectBasicPort::PrepareDraw(canvas, mode, styles);
    if (!fExtents.Defined && !fHideText) ComputeCaptionBox(canvas, mode, styles, fP2);
}

bool TSymbolObjectIPort::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                    const TTextStyleList* styles) {
    if (!TSymbolObjectBasicPort::DrawSymbol(canvas, mode, clip, styles)) return false;
    const TPenStyle savedStyle = canvas.fCanvas->Pen().Style;
    canvas.SetPenStyle(TPenStyle::Solid);
    if (mode == sdmNormal) canvas.SetPenColor(LineTypeColor(canvas, symlinetypeSymbol));
    if (fFill && mode != sdmDrag) canvas.fCanvas->SetBrush({canvas.fCanvas->Pen().Color, TBrushStyle::Solid});
    canvas.DrawCircle(PointToXYPoint(fP1), Radius());
    canvas.SetBrushStyle(TBrushStyle::Clear);
    if (fClosedPort) {
        if (mode == sdmNormal) canvas.SetPenColor(LineTypeColor(canvas, symlinetypeLine));
        Cross(canvas, fP1, Round(Radius() * 1.5));
    }
    ApplyGroupPen(canvas, mode);
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    canvas.SetPenStyle(TPenStyle::Solid);
    if (!fHideText) {
        if (!fExtents.Defined) ComputeCaptionBox(canvas, mode, styles, fP2);
        if (HasGroupFor(canvas.fSymbolGroupDrawMode)) SetFontColor(canvas, canvas.fCanvas->Pen().Color);
        if (!fHideInOutput || canvas.fShowHideInOutput) {
            if (mode == sdmNormal && !HasBorder()) canvas.SetPenColor(canvas.DrawColor(dcHelper));
            const TPoint corner = LeaderCorner(fP1, fP2);
            if (!(fTemporaryHidden & temphiddenText)) {
                if (canvas.fShowTextBorders) {
                    canvas.DrawTextBorder(PointToXYPoint(fExtents.C1), PointToXYPoint(fExtents.C2), fBorder,
                                          FontColor(canvas));
                    canvas.SetPenStyle(TPenStyle::Solid);
                    // The leader ends on the circle, on the side facing the caption.
                    const double a = PointAngle(corner, fP1) * std::numbers::pi / 180;
                    const TXYPoint onCircle{fP1.X + Radius() * std::cos(a), fP1.Y + Radius() * std::sin(a)};
                    canvas.MoveTo(PointToXYPoint(corner));
                    canvas.LineTo(onCircle);
                }
                if (IsLoopThrough()) SetFontStyle(canvas, true, true);
                if (mode == sdmNormal && fHideInOutput) SetFontColor(canvas, canvas.DrawColor(dcHelper));
                if (mode == sdmHighlight && fIsClicked && fTextIsClicked)
                    SetFontColor(canvas, canvas.DrawColor(dcClicked));
                DrawCaptionLines(canvas, fP2, CreateCaptionList());
            }
        }
    }
    canvas.SetPenStyle(savedStyle);
    return true;
}
