#include "qt/QtRasterSurface.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
QColor ToQColor(TColor C) {
    return QColor(ColorRed(C), ColorGreen(C), ColorBlue(C));
}

// Normalised GDI box: left/top inclusive, right/bottom exclusive.
struct TBox {
    int L, T, R, B;
    int W() const { return R - L; }
    int H() const { return B - T; }
};

TBox Normal(const TRect& Box) {
    return {std::min(Box.P1.X, Box.P2.X), std::min(Box.P1.Y, Box.P2.Y), std::max(Box.P1.X, Box.P2.X),
            std::max(Box.P1.Y, Box.P2.Y)};
}

// The GDI cosmetic pen patterns in pixels.
QList<qreal> DashPattern(TPenStyle S) {
    switch (S) {
    case TPenStyle::Dot:
        return {3, 3};
    case TPenStyle::Dash:
        return {18, 6};
    case TPenStyle::DashDot:
        return {9, 6, 3, 6};
    default:
        return {};
    }
}

// Outlines sit on pixel centres: a box of W pixels has its outline from L + 0.5 to R - 0.5.
QRectF OutlineRect(const TBox& B) {
    return QRectF(B.L + 0.5, B.T + 0.5, B.W() - 1.0, B.H() - 1.0);
}
} // namespace

TQtRasterSurface::TQtRasterSurface(QPaintDevice* Device) : fPainter(Device) {
    fPainter.setRenderHint(QPainter::Antialiasing, false);
    fPainter.setRenderHint(QPainter::TextAntialiasing, true);
    fPainter.setBackgroundMode(Qt::TransparentMode);
    SetPen(fPen);
    SetBrush(fBrush);
    SetFont(fFont);
}

TQtRasterSurface::~TQtRasterSurface() {
    if (fPainter.isActive()) fPainter.end();
}

void TQtRasterSurface::SetPen(const TPen& Pen) {
    fPen = Pen;
    fPainter.setCompositionMode(Pen.Mode == TPenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                          : QPainter::CompositionMode_SourceOver);
}

void TQtRasterSurface::SetBrush(const TBrush& Brush) {
    fBrush = Brush;
}

void TQtRasterSurface::SetFont(const TFontSpec& Font) {
    fFont = Font;
    fQFont = QFont(QString::fromStdString(Font.Name));
    fQFont.setPixelSize(std::max(1, Font.Height));
    fQFont.setBold(Font.Bold);
    fQFont.setItalic(Font.Italic);
    fQFont.setUnderline(Font.Underline);
    fQFont.setStyleStrategy(QFont::PreferOutline);
}

void TQtRasterSurface::ApplyPen(bool Outline) {
    if (!Outline || fPen.Style == TPenStyle::Clear) {
        fPainter.setPen(Qt::NoPen);
        return;
    }
    QPen P(ToQColor(fPen.Color));
    P.setCosmetic(true);
    P.setWidth(std::max(1, fPen.Width));
    P.setCapStyle(Qt::FlatCap);
    P.setJoinStyle(Qt::MiterJoin);
    if (fPen.Style != TPenStyle::Solid && fPen.Width <= 1) P.setDashPattern(DashPattern(fPen.Style));
    fPainter.setPen(P);
}

void TQtRasterSurface::ApplyBrush(bool Fill) {
    if (Fill && fBrush.Style == TBrushStyle::Solid)
        fPainter.setBrush(ToQColor(fBrush.Color));
    else
        fPainter.setBrush(Qt::NoBrush);
}

void TQtRasterSurface::LineTo(TPoint P) {
    const TPoint From = fPos;
    fPos = P;
    if (fPen.Style == TPenStyle::Clear || From == P) return;
    ApplyPen(true);
    fPainter.setBrush(Qt::NoBrush);
    // From pixel centre to pixel centre; the flat cap of a cosmetic pen leaves out the last pixel
    // as GDI does.
    fPainter.drawLine(QPoint(From.X, From.Y), QPoint(P.X, P.Y));
}

void TQtRasterSurface::Rectangle(const TRect& Box) {
    const TBox B = Normal(Box);
    if (B.W() <= 0 || B.H() <= 0) return;
    const bool Outline = fPen.Style != TPenStyle::Clear;
    if (fBrush.Style == TBrushStyle::Solid) {
        // Without an outline GDI fills one pixel less at right and bottom.
        const int Shrink = Outline ? 0 : 1;
        fPainter.fillRect(QRect(B.L, B.T, B.W() - Shrink, B.H() - Shrink), ToQColor(fBrush.Color));
    }
    if (!Outline) return;
    ApplyPen(true);
    fPainter.setBrush(Qt::NoBrush);
    fPainter.drawRect(OutlineRect(B));
}

void TQtRasterSurface::Ellipse(const TRect& Box) {
    const TBox B = Normal(Box);
    if (B.W() <= 0 || B.H() <= 0) return;
    ApplyPen(true);
    ApplyBrush(true);
    fPainter.drawEllipse(OutlineRect(B));
}

void TQtRasterSurface::Arc(const TRect& Box, TPoint Start, TPoint End) {
    const TBox B = Normal(Box);
    if (B.W() <= 0 || B.H() <= 0 || fPen.Style == TPenStyle::Clear) return;
    const QRectF R = OutlineRect(B);
    const QPointF C = R.center();
    // Screen angles, counter-clockwise, Y down.
    const auto Angle = [&](TPoint P) {
        return std::atan2(-(P.Y + 0.5 - C.y()), P.X + 0.5 - C.x()) * 180 / std::numbers::pi;
    };
    const double A0 = Angle(Start);
    double Span = Angle(End) - A0;
    while (Span <= 0)
        Span += 360;
    ApplyPen(true);
    fPainter.setBrush(Qt::NoBrush);
    fPainter.drawArc(R, int(std::lround(A0 * 16)), int(std::lround(Span * 16)));
}

void TQtRasterSurface::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    QPolygonF Poly;
    Poly.reserve(qsizetype(Points.size()));
    for (const TPoint& P : Points)
        Poly << QPointF(P.X + 0.5, P.Y + 0.5);
    ApplyPen(true);
    ApplyBrush(true);
    fPainter.drawPolygon(Poly, Qt::OddEvenFill);
}

void TQtRasterSurface::Polyline(std::span<const TPoint> Points) {
    if (Points.size() < 2) return;
    // Segment by segment, so every vertex but the last is drawn exactly once as with LineTo.
    MoveTo(Points[0]);
    for (size_t I = 1; I < Points.size(); ++I)
        LineTo(Points[I]);
}

void TQtRasterSurface::SetPixel(TPoint P, TColor Color) {
    fPainter.fillRect(QRect(P.X, P.Y, 1, 1), ToQColor(Color));
}

void TQtRasterSurface::FillRect(const TRect& Box) {
    const TBox B = Normal(Box);
    if (B.W() <= 0 || B.H() <= 0) return;
    fPainter.fillRect(QRect(B.L, B.T, B.W(), B.H()), ToQColor(fBrush.Color));
}

void TQtRasterSurface::TextOut(TPoint P, const std::string& Utf8Text) {
    if (Utf8Text.empty()) return;
    fPainter.save();
    fPainter.setFont(fQFont);
    fPainter.setPen(ToQColor(fFont.Color));
    fPainter.translate(P.X, P.Y);
    if (fFont.Escapement != 0) fPainter.rotate(-fFont.Escapement / 10.0);
    const QFontMetrics M(fQFont, fPainter.device());
    fPainter.drawText(QPointF(0, M.ascent()), QString::fromUtf8(Utf8Text.data(), qsizetype(Utf8Text.size())));
    fPainter.restore();
}

TSize TQtRasterSurface::TextExtent(const std::string& Utf8Text) {
    const QFontMetrics M(fQFont, fPainter.device());
    const QString S = QString::fromUtf8(Utf8Text.data(), qsizetype(Utf8Text.size()));
    return {int32_t(M.horizontalAdvance(S)), int32_t(M.height())};
}

void TQtRasterSurface::DrawBitmap(const TRect& Box, const TRgbaImage& Image) {
    const TBox B = Normal(Box);
    if (!Image.Valid() || B.W() <= 0 || B.H() <= 0) return;
    const QImage Img(Image.Pixels.data(), Image.Width, Image.Height, Image.Width * 4,
                     QImage::Format_RGBA8888);
    fPainter.save();
    fPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    fPainter.drawImage(QRect(B.L, B.T, B.W(), B.H()), Img);
    fPainter.restore();
}
