#include "render/RecordingSurface.h"

#include <cmath>
#include <cstdio>

std::string ColorText(TColor color) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", ColorRed(color), ColorGreen(color), ColorBlue(color));
    return buf;
}

namespace {
const char* PenStyleText(TPenStyle s) {
    switch (s) {
    case TPenStyle::Solid:
        return "solid";
    case TPenStyle::Dot:
        return "dot";
    case TPenStyle::Dash:
        return "dash";
    case TPenStyle::DashDot:
        return "dashdot";
    case TPenStyle::Clear:
        return "clear";
    }
    return "?";
}

std::string PointText(TPoint p) {
    return std::to_string(p.X) + " " + std::to_string(p.Y);
}
std::string BoxText(const TRect& r) {
    return PointText(r.P1) + " " + PointText(r.P2);
}
std::string PointsText(std::span<const TPoint> points) {
    std::string s;
    for (const TPoint& p : points)
        s += " " + PointText(p);
    return s;
}
} // namespace

void TRecordingSurface::SetPen(const TPen& pen) {
    fPen = pen;
    Log("Pen " + ColorText(pen.Color) + " " + PenStyleText(pen.Style) + " " + std::to_string(pen.Width) +
        (pen.Mode == TPenMode::Copy ? " copy" : " xor"));
}

void TRecordingSurface::SetBrush(const TBrush& brush) {
    fBrush = brush;
    Log("Brush " + ColorText(brush.Color) + (brush.Style == TBrushStyle::Solid ? " solid" : " clear"));
}

void TRecordingSurface::SetFont(const TFontSpec& font) {
    fFont = font;
    std::string flags;
    if (font.Bold) flags += 'B';
    if (font.Italic) flags += 'I';
    if (font.Underline) flags += 'U';
    if (font.StrikeOut) flags += 'S';
    if (flags.empty()) flags = "-";
    Log("Font " + font.Name + " " + std::to_string(font.Height) + " " + std::to_string(font.Escapement) +
        " " + flags + " " + ColorText(font.Color));
}

void TRecordingSurface::MoveTo(TPoint p) {
    fPos = p;
    Log("MoveTo " + PointText(p));
}

void TRecordingSurface::LineTo(TPoint p) {
    fPos = p;
    Log("LineTo " + PointText(p));
}

void TRecordingSurface::Rectangle(const TRect& box) {
    Log("Rectangle " + BoxText(box));
}
void TRecordingSurface::Ellipse(const TRect& box) {
    Log("Ellipse " + BoxText(box));
}
void TRecordingSurface::Arc(const TRect& box, TPoint start, TPoint end) {
    Log("Arc " + BoxText(box) + " " + PointText(start) + " " + PointText(end));
}
void TRecordingSurface::Polygon(std::span<const TPoint> points) {
    Log("Polygon" + PointsText(points));
}
void TRecordingSurface::Polyline(std::span<const TPoint> points) {
    Log("Polyline" + PointsText(points));
}
void TRecordingSurface::SetPixel(TPoint p, TColor color) {
    Log("SetPixel " + PointText(p) + " " + ColorText(color));
}
void TRecordingSurface::FillRect(const TRect& box) {
    Log("FillRect " + BoxText(box));
}
void TRecordingSurface::TextOut(TPoint p, const std::string& utf8Text) {
    Log("TextOut " + PointText(p) + " " + utf8Text);
}

TSize TRecordingSurface::TextExtent(const std::string& utf8Text) {
    int codePoints = 0;
    for (unsigned char c : utf8Text)
        if ((c & 0xC0) != 0x80) ++codePoints;
    return {int32_t(std::lround(codePoints * fFont.Height * 0.6)), fFont.Height};
}

void TRecordingSurface::DrawBitmap(const TRect& box, const TRgbaImage& image) {
    Log("DrawBitmap " + BoxText(box) + " " + std::to_string(image.Width) + "x" +
        std::to_string(image.Height));
}

std::vector<std::string> TRecordingSurface::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : fCalls)
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}
