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

// Texts and attributes are siblings in the object tree, not kin: they share their text fields
// by name, so the helpers below take either object.

template <class TTextObject>
void SelectStyleOf(TSymbolCanvas& canvas, const TTextObject& o, const TTextStyleList* styles,
                   TSymbolDrawMode mode) {
    SelectTextStyle(canvas, styles, o.fTextStyleName, o.fSymLineType, o.fOverrideTextStyleSettings, mode);
}

// The box around the anchor of a block w x h. Margins of a bordered box: half the height beside
// the text, and above and below what the height of one line leaves of twice the text height.
// Taking the height of the whole block instead would make the margins negative for two lines
// or more and cut the frame through them.
template <class TTextObject>
void SetTextBox(TTextObject& o, TTextAlign align, int32_t w, int32_t h, int32_t lineHeight) {
    int32_t a = 0, b = 0;
    if (o.HasBorder()) {
        a = Round(o.fHeight / 2.0);
        b = Round((2.0 * o.fHeight - lineHeight) / 2.0);
    }
    TextBoxCorners(o.fP1, TextBoxSides(align, w, h, a, b), o.fRotation == 90, o.fExtents.C1, o.fExtents.C2);
    o.fExtents.Defined = true;
}

// The frame in the colours texts and attributes share: the clicked colour for the font of a
// clicked object in the selection pass, the helper colour for frames shown by the option.
template <class TTextObject>
void DrawTextFrame(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextObject& o) {
    if (mode == sdmHighlight && o.fIsClicked) SetFontColor(canvas, canvas.DrawColor(dcClicked));
    if (mode == sdmNormal && !o.HasBorder()) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    canvas.DrawTextBorder(PointToXYPoint(o.fExtents.C1), PointToXYPoint(o.fExtents.C2), o.fBorder,
                          FontColor(canvas));
}

// How far left of the anchor a line of that width starts.
int32_t AlignShift(TTextAlign align, int32_t width) {
    if (align == taRight) return width;
    if (align == taCenter || align == taMiddle) return width / 2;
    return 0;
}

// One line x device units left of and y above the anchor; at rotation 90 the line and its
// offset are turned a quarter counter-clockwise.
template <class TTextObject>
void OutLine(TSymbolCanvas& canvas, const TTextObject& o, int64_t x, int64_t y, const std::string& text) {
    const TPoint d = canvas.ToPt(o.fP1);
    const bool rotated90 = o.fRotation == 90;
    if (rotated90) canvas.SetTextAngle(90);
    canvas.fCanvas->TextOut(rotated90 ? DevicePoint(d.X - y, d.Y + x) : DevicePoint(d.X - x, d.Y - y), text);
    if (rotated90) canvas.SetTextAngle(0);
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
    SelectStyleOf(canvas, *this, styles, mode);
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
    SetTextBox(*this, align, w, h, lineHeight);
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
    SelectStyleOf(canvas, *this, styles, mode);
    DrawTextFrame(canvas, mode, *this);
    DrawOneLine(canvas, lines.front());
    return true;
}

void TSymbolObjectText::DrawOneLine(TSymbolCanvas& canvas, const std::string& line) {
    canvas.SetTextHeight(fHeight * canvas.fZoom);
    if (canvas.FontSize() <= 1) return;
    const TSize size = MeasureText(canvas, line);
    OutLine(canvas, *this, AlignShift(fAlign, size.cx), fAlign == taMiddle ? size.cy / 2 : size.cy, line);
}

void TSymbolObjectText::DrawMultiLine(TSymbolCanvas& canvas, const std::vector<std::string>& lines,
                                      const TTextStyleList* styles, TSymbolDrawMode mode) {
    SelectStyleOf(canvas, *this, styles, mode);
    canvas.SetTextHeight(fHeight);
    std::vector<int32_t> widths;
    widths.reserve(lines.size());
    for (const auto& line : lines)
        widths.push_back(MeasureText(canvas, line).cx);
    const double zoom = canvas.fZoom;
    const double w = *std::max_element(widths.begin(), widths.end());
    const double h = MeasureText(canvas, "Hg").cy;
    const double t = double(lines.size()) * h;

    DrawTextFrame(canvas, mode, *this);

    canvas.SetTextHeight(fHeight * zoom);
    const int points = FitFontPoints(canvas, lines, int64_t(std::llround(std::min(w * zoom, 4e18))));
    if (points < 2) {
        // Too small to read: a rectangle stands in for the text.
        const TPoint a = canvas.ToPt(fExtents.C1), b = canvas.ToPt(fExtents.C2);
        const TRect box = NormalRectFromPoints(a, b);
        if (int64_t(box.P2.X) - box.P1.X > 2 && int64_t(box.P2.Y) - box.P1.Y > 2)
            canvas.fCanvas->Rectangle(TRect({box.P1.X + 1, box.P1.Y + 1}, {box.P2.X - 1, box.P2.Y - 1}));
        return;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const double wi = widths[i];
        double xo;
        if (fAlign == taLeft)
            xo = w * zoom / 2;
        else if (fAlign == taRight)
            xo = wi * zoom - w * zoom / 2;
        else
            xo = wi * zoom / 2;
        OutLine(canvas, *this, Round(xo), Round(t * zoom / 2 - double(i) * h * zoom), lines[i]);
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
    SelectStyleOf(canvas, *this, styles, mode);
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
    const std::vector<std::string> lines = CreateCaptionList(canvas.fDecimalSeparator);
    canvas.SetTextHeight(fHeight);
    const int32_t w = WidestLine(canvas, lines);
    const int32_t gH = MeasureText(canvas, "gH").cy;
    const int32_t h = Saturated(int64_t(gH) + int64_t(AttributePitch(fHeight)) * int64_t(lines.size() - 1));
    SetTextBox(*this, fAlign, w, h, gH);
}

bool TSymbolObjectAttribute::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                        const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    if (!fExtents.Defined) PrepareDraw(canvas, mode, styles);
    SelectStyleOf(canvas, *this, styles, mode);
    DrawTextFrame(canvas, mode, *this);
    if (IsGraphic()) {
        DrawArrows(canvas, mode, styles);
        return true;
    }
    const std::vector<std::string> lines = CreateCaptionList(canvas.fDecimalSeparator);
    const double zoom = canvas.fZoom;
    canvas.SetTextHeight(fHeight);
    const int32_t pitch = AttributePitch(fHeight);
    const double block = double(MeasureText(canvas, "gH").cy) + double(pitch) * double(lines.size() - 1);
    const int64_t dy = Round(block * zoom / (fAlign == taMiddle ? 2 : 1));
    canvas.SetTextHeight(fHeight * zoom);
    if (canvas.FontSize() <= 1) return true;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const int64_t down = Round(double(i) * pitch * zoom);
        OutLine(canvas, *this, AlignShift(fAlign, MeasureText(canvas, lines[i]).cx), dy - down, lines[i]);
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
