// Measuring and drawing texts and attributes.
#include <algorithm>
#include <cmath>

#include "objects/ShapeObjects.h"
#include "objects/TextObjects.h"
#include "render/PointUtils.h"
#include "render/SymbolCanvas.h"

namespace {

TPoint DevicePoint(int64_t x, int64_t y) {
    return {ClampToInt32(x), ClampToInt32(y)};
}

// Text output at a device point, horizontal or turned a quarter counter-clockwise.
void OutText(TSymbolCanvas& canvas, bool rotated90, TPoint at, const std::string& text) {
    if (rotated90) canvas.SetTextAngle(90);
    canvas.fCanvas->TextOut(at, text);
    if (rotated90) canvas.SetTextAngle(0);
}

// The pen and font colours shared by texts and attributes: the clicked colour for the font of
// a clicked object in the selection pass, the helper colour for frames shown by the option.
TColor PrepareTextColors(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool isClicked, bool hasBorder) {
    if (mode == sdmHighlight && isClicked) SetFontColor(canvas, canvas.DrawColor(dcClicked));
    if (mode == sdmNormal && !hasBorder) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    return FontColor(canvas);
}

// Margins of a bordered box: half the height beside the text, and above and below what the
// height of one line leaves of twice the text height. Taking the height of the whole block
// instead would make the margins negative for two lines or more and cut the frame through them.
void BorderMargins(bool hasBorder, int32_t height, int32_t lineHeight, int32_t& a, int32_t& b) {
    a = b = 0;
    if (!hasBorder) return;
    a = Round(height / 2.0);
    b = Round((2.0 * height - lineHeight) / 2.0);
}

int32_t Saturated(int64_t v) {
    return ClampToInt32(v);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectText

void TSymbolObjectText::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                    const TTextStyleList* styles) {
    TSymbolObject::PrepareDraw(canvas, mode, styles);
    if (fExtents.Defined) return;
    const std::vector<std::string> lines = DrawnLines();
    if (lines.empty()) {
        fExtents = {fP1, fP1, true};
        return;
    }
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    // At zoom 1 a pixel of the measurement is a drawing unit.
    canvas.SetTextHeight(fHeight);
    int32_t w, h, lineHeight;
    TTextAlign align = fAlign;
    if (IsMultiLine()) {
        w = WidestLine(canvas, lines);
        lineHeight = MeasureText(canvas, "Hg").cy;
        h = Saturated(int64_t(lines.size()) * lineHeight);
        // The block is centred on the anchor whatever the alignment.
        align = taMiddle;
    } else {
        const TSize size = MeasureText(canvas, lines.front());
        w = size.cx;
        h = lineHeight = size.cy;
    }
    int32_t a, b;
    BorderMargins(HasBorder(), fHeight, lineHeight, a, b);
    TextBoxCorners(fP1, TextBoxSides(align, w, h, a, b), fRotation == 90, fExtents.C1, fExtents.C2);
    fExtents.Defined = true;
}

bool TSymbolObjectText::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                   const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    const std::vector<std::string> lines = DrawnLines();
    if (lines.empty()) return true;
    if (!fExtents.Defined) PrepareDraw(canvas, mode, styles);
    if (IsMultiLine()) {
        DrawMultiLine(canvas, lines, styles, mode);
        return true;
    }
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    const TColor color = PrepareTextColors(canvas, mode, fIsClicked, HasBorder());
    canvas.DrawTextBorder(PointToXYPoint(fExtents.C1), PointToXYPoint(fExtents.C2), fBorder, color);
    DrawOneLine(canvas, lines.front());
    return true;
}

void TSymbolObjectText::DrawOneLine(TSymbolCanvas& canvas, const std::string& line) {
    canvas.SetTextHeight(fHeight * canvas.fZoom);
    if (canvas.FontSize() <= 1) return;
    const TSize size = MeasureText(canvas, line);
    int32_t dx = 0;
    if (fAlign == taRight)
        dx = size.cx;
    else if (fAlign == taCenter || fAlign == taMiddle)
        dx = size.cx / 2;
    const int32_t dy = fAlign == taMiddle ? size.cy / 2 : size.cy;
    const TPoint d = canvas.ToPt(fP1);
    const bool rotated = fRotation == 90;
    OutText(canvas, rotated,
            rotated ? DevicePoint(int64_t(d.X) - dy, int64_t(d.Y) + dx)
                    : DevicePoint(int64_t(d.X) - dx, int64_t(d.Y) - dy),
            line);
}

void TSymbolObjectText::DrawMultiLine(TSymbolCanvas& canvas, const std::vector<std::string>& lines,
                                      const TTextStyleList* styles, TSymbolDrawMode mode) {
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    canvas.SetTextHeight(fHeight);
    std::vector<int32_t> widths;
    widths.reserve(lines.size());
    for (const auto& line : lines)
        widths.push_back(MeasureText(canvas, line).cx);
    const double zoom = canvas.fZoom;
    const double W = *std::max_element(widths.begin(), widths.end());
    const double H = MeasureText(canvas, "Hg").cy;
    const double T = double(lines.size()) * H;

    const TColor color = PrepareTextColors(canvas, mode, fIsClicked, HasBorder());
    canvas.DrawTextBorder(PointToXYPoint(fExtents.C1), PointToXYPoint(fExtents.C2), fBorder, color);

    canvas.SetTextHeight(fHeight * zoom);
    const int points = FitFontPoints(canvas, lines, int64_t(std::llround(std::min(W * zoom, 4e18))));
    if (points < 2) {
        // Too small to read: a rectangle stands in for the text.
        const TPoint a = canvas.ToPt(fExtents.C1), b = canvas.ToPt(fExtents.C2);
        const TRect box = NormalRectFromPoints(a, b);
        if (int64_t(box.P2.X) - box.P1.X > 2 && int64_t(box.P2.Y) - box.P1.Y > 2)
            canvas.fCanvas->Rectangle(TRect({box.P1.X + 1, box.P1.Y + 1}, {box.P2.X - 1, box.P2.Y - 1}));
        return;
    }
    const TPoint d = canvas.ToPt(fP1);
    const bool rotated = fRotation == 90;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const double wi = widths[i];
        double xo;
        if (fAlign == taLeft)
            xo = W * zoom / 2;
        else if (fAlign == taRight)
            xo = wi * zoom - W * zoom / 2;
        else
            xo = wi * zoom / 2;
        const int64_t x = Round(xo), y = Round(T * zoom / 2 - double(i) * H * zoom);
        OutText(canvas, rotated, rotated ? DevicePoint(d.X - y, d.Y + x) : DevicePoint(d.X - x, d.Y - y),
                lines[i]);
    }
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectAttribute

namespace {
// Pitch of attribute lines: five quarters of the height, halves away from zero.
int32_t AttributePitch(int32_t height) {
    return ClampToInt32(std::llround(height * 5.0 / 4.0));
}
} // namespace

void TSymbolObjectAttribute::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                         const TTextStyleList* styles) {
    TSymbolObject::PrepareDraw(canvas, mode, styles);
    if (fExtents.Defined) return;
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    if (IsGraphic()) {
        canvas.SetTextHeight(20);
        const int32_t a = fHeight / 2, b = MeasureText(canvas, "gH").cy / 2;
        // Upright at 90 and 270 alike, so the arrows keep their length at every quarter turn.
        const bool vertical = fRotation == 90 || fRotation == 270;
        fExtents.C1 = fP1 + (vertical ? TPoint(-b, -a) : TPoint(-a, b));
        fExtents.C2 = fP1 + (vertical ? TPoint(b, a) : TPoint(a, -b));
        fExtents.Defined = true;
        return;
    }
    const std::vector<std::string> lines = CreateCaptionList();
    canvas.SetTextHeight(fHeight);
    const int32_t w = WidestLine(canvas, lines);
    const int32_t gH = MeasureText(canvas, "gH").cy;
    const int32_t h = Saturated(int64_t(gH) + int64_t(AttributePitch(fHeight)) * int64_t(lines.size() - 1));
    int32_t a, b;
    BorderMargins(HasBorder(), fHeight, gH, a, b);
    TextBoxCorners(fP1, TextBoxSides(fAlign, w, h, a, b), fRotation == 90, fExtents.C1, fExtents.C2);
    fExtents.Defined = true;
}

bool TSymbolObjectAttribute::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                        const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    if (!fExtents.Defined) PrepareDraw(canvas, mode, styles);
    SelectTextStyle(canvas, styles, fTextStyleName, fSymLineType, fOverrideTextStyleSettings, mode);
    const TColor color = PrepareTextColors(canvas, mode, fIsClicked, HasBorder());
    canvas.DrawTextBorder(PointToXYPoint(fExtents.C1), PointToXYPoint(fExtents.C2), fBorder, color);
    if (IsGraphic()) {
        DrawArrows(canvas, mode, styles);
        return true;
    }
    const std::vector<std::string> lines = CreateCaptionList();
    const double zoom = canvas.fZoom;
    canvas.SetTextHeight(fHeight);
    const int32_t pitch = AttributePitch(fHeight);
    const double block = double(MeasureText(canvas, "gH").cy) + double(pitch) * double(lines.size() - 1);
    const int64_t dy = Round(block * zoom / (fAlign == taMiddle ? 2 : 1));
    canvas.SetTextHeight(fHeight * zoom);
    if (canvas.FontSize() <= 1) return true;
    const TPoint d = canvas.ToPt(fP1);
    const bool rotated = fRotation == 90;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const int32_t w = MeasureText(canvas, lines[i]).cx;
        int64_t dx = 0;
        if (fAlign == taRight)
            dx = w;
        else if (fAlign == taCenter || fAlign == taMiddle)
            dx = w / 2;
        const int64_t down = Round(double(i) * pitch * zoom);
        OutText(canvas, rotated,
                rotated ? DevicePoint(d.X - dy + down, d.Y + dx) : DevicePoint(d.X - dx, d.Y - dy + down),
                lines[i]);
    }
    return true;
}

void TSymbolObjectAttribute::DrawArrows(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                        const TTextStyleList* styles) {
    for (const TAttributeArrow& a :
         GraphicAttributeArrows(IsSpecialAttribute(), fRotation, fExtents.C1, fExtents.C2)) {
        // A filled arrow shape with a head of 30 units, drawn like any shape of the symbol.
        TSymbolObject2Point arrow;
        arrow.fSymbolObjectSubType = soArrow;
        arrow.fSymLineType = symlinetypeSymbol;
        arrow.fScale = 1.5;
        arrow.fFill = true;
        arrow.fP1 = a.From;
        arrow.fP2 = a.To;
        arrow.DrawSymbol(canvas, mode, true, styles);
    }
}
