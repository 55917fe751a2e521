#include "render/RecordingSurface.h"

#include <cmath>
#include <cstdio>

std::string ColorText(TColor Color) {
    char Buf[8];
    std::snprintf(Buf, sizeof Buf, "#%02X%02X%02X", ColorRed(Color), ColorGreen(Color), ColorBlue(Color));
    return Buf;
}

namespace {
const char* PenStyleText(TPenStyle S) {
    switch (S) {
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

std::string PointText(TPoint P) {
    return std::to_string(P.X) + " " + std::to_string(P.Y);
}
std::string BoxText(const TRect& R) {
    return PointText(R.P1) + " " + PointText(R.P2);
}
std::string PointsText(std::span<const TPoint> Points) {
    std::string S;
    for (const TPoint& P : Points)
        S += " " + PointText(P);
    return S;
}
} // namespace

void TRecordingSurface::SetPen(const TPen& Pen) {
    fPen = Pen;
    Log("Pen " + ColorText(Pen.Color) + " " + PenStyleText(Pen.Style) + " " + std::to_string(Pen.Width) +
        (Pen.Mode == TPenMode::Copy ? " copy" : " xor"));
}

void TRecordingSurface::SetBrush(const TBrush& Brush) {
    fBrush = Brush;
    Log("Brush " + ColorText(Brush.Color) + (Brush.Style == TBrushStyle::Solid ? " solid" : " clear"));
}

void TRecordingSurface::SetFont(const TFontSpec& Font) {
    fFont = Font;
    std::string Flags;
    if (Font.Bold) Flags += 'B';
    if (Font.Italic) Flags += 'I';
    if (Font.Underline) Flags += 'U';
    if (Flags.empty()) Flags = "-";
    Log("Font " + Font.Name + " " + std::to_string(Font.Height) + " " + std::to_string(Font.Escapement) +
        " " + Flags + " " + ColorText(Font.Color));
}

void TRecordingSurface::MoveTo(TPoint P) {
    fPos = P;
    Log("MoveTo " + PointText(P));
}

void TRecordingSurface::LineTo(TPoint P) {
    fPos = P;
    Log("LineTo " + PointText(P));
}

void TRecordingSurface::Rectangle(const TRect& Box) {
    Log("Rectangle " + BoxText(Box));
}
void TRecordingSurface::Ellipse(const TRect& Box) {
    Log("Ellipse " + BoxText(Box));
}
void TRecordingSurface::Arc(const TRect& Box, TPoint Start, TPoint End) {
    Log("Arc " + BoxText(Box) + " " + PointText(Start) + " " + PointText(End));
}
void TRecordingSurface::Polygon(std::span<const TPoint> Points) {
    Log("Polygon" + PointsText(Points));
}
void TRecordingSurface::Polyline(std::span<const TPoint> Points) {
    Log("Polyline" + PointsText(Points));
}
void TRecordingSurface::SetPixel(TPoint P, TColor Color) {
    Log("SetPixel " + PointText(P) + " " + ColorText(Color));
}
void TRecordingSurface::FillRect(const TRect& Box) {
    Log("FillRect " + BoxText(Box));
}
void TRecordingSurface::TextOut(TPoint P, const std::string& Utf8Text) {
    Log("TextOut " + PointText(P) + " " + Utf8Text);
}

TSize TRecordingSurface::TextExtent(const std::string& Utf8Text) {
    int CodePoints = 0;
    for (unsigned char C : Utf8Text)
        if ((C & 0xC0) != 0x80) ++CodePoints;
    return {int32_t(std::lround(CodePoints * fFont.Height * 0.6)), fFont.Height};
}

void TRecordingSurface::DrawBitmap(const TRect& Box, const TRgbaImage& Image) {
    Log("DrawBitmap " + BoxText(Box) + " " + std::to_string(Image.Width) + "x" +
        std::to_string(Image.Height));
}

std::vector<std::string> TRecordingSurface::CallsStartingWith(const std::string& Prefix) const {
    std::vector<std::string> Out;
    for (const std::string& C : fCalls)
        if (C.compare(0, Prefix.size(), Prefix) == 0) Out.push_back(C);
    return Out;
}
