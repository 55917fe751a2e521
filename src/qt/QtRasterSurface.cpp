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
QColor ToQColor(TColor c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

// Normalised GDI box: left/top inclusive, right/bottom exclusive.
struct TBox {
    int L, T, R, B;
    int W() const { return R - L; }
    int H() const { return B - T; }
};

TBox Normal(const TRect& box) {
    return {std::min(box.P1.X, box.P2.X), std::min(box.P1.Y, box.P2.Y), std::max(box.P1.X, box.P2.X),
            std::max(box.P1.Y, box.P2.Y)};
}

// The GDI cosmetic pen patterns in pixels.
QList<qreal> DashPattern(TPenStyle s) {
    switch (s) {
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
QRectF OutlineRect(const TBox& b) {
    return QRectF(b.L + 0.5, b.T + 0.5, b.W() - 1.0, b.H() - 1.0);
}
} // namespace

TQtRasterSurface::TQtRasterSurface(QPaintDevice* device) : fPainter(device) {
    if (device && device->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(device);
        const QImage::Format f = image->format();
        if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
            f == QImage::Format_ARGB32_Premultiplied)
            fImage = image;
    }
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

void TQtRasterSurface::SetPen(const TPen& pen) {
    fPen = pen;
    fPainter.setCompositionMode(pen.Mode == TPenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                          : QPainter::CompositionMode_SourceOver);
}

void TQtRasterSurface::SetBrush(const TBrush& brush) {
    fBrush = brush;
}

void TQtRasterSurface::SetFont(const TFontSpec& font) {
    // Every text of a paint selects its style and then its zoomed height, and most are too small
    // to draw: building a QFont costs more than drawing a small text, so it is built when a text
    // is drawn or measured, and only when its face differs from the last one built.
    fFont = font;
}

const QFont& TQtRasterSurface::QtFont() {
    const TFontSpec& f = fFont;
    const TFontSpec& b = fBuiltFont;
    const bool sameFace = fQFontBuilt && f.Name == b.Name && f.Height == b.Height && f.Bold == b.Bold &&
                          f.Italic == b.Italic && f.Underline == b.Underline && f.StrikeOut == b.StrikeOut;
    if (sameFace) return fQFont;
    fQFontBuilt = true;
    fBuiltFont = f;
    fQFont = QFont(QString::fromStdString(f.Name));
    fQFont.setPixelSize(std::max(1, f.Height));
    fQFont.setBold(f.Bold);
    fQFont.setItalic(f.Italic);
    fQFont.setUnderline(f.Underline);
    fQFont.setStrikeOut(f.StrikeOut);
    fQFont.setStyleStrategy(QFont::PreferOutline);
    return fQFont;
}

void TQtRasterSurface::ApplyPen(bool outline) {
    if (!outline || fPen.Style == TPenStyle::Clear) {
        fPainter.setPen(Qt::NoPen);
        return;
    }
    QPen p(ToQColor(fPen.Color));
    p.setCosmetic(true);
    p.setWidth(std::max(1, fPen.Width));
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    if (fPen.Style != TPenStyle::Solid && fPen.Width <= 1) p.setDashPattern(DashPattern(fPen.Style));
    fPainter.setPen(p);
}

void TQtRasterSurface::ApplyBrush(bool fill) {
    if (fill && fBrush.Style == TBrushStyle::Solid)
        fPainter.setBrush(ToQColor(fBrush.Color));
    else
        fPainter.setBrush(Qt::NoBrush);
}

void TQtRasterSurface::LineTo(TPoint p) {
    const TPoint from = fPos;
    fPos = p;
    if (fPen.Style == TPenStyle::Clear || from == p) return;
    ApplyPen(true);
    fPainter.setBrush(Qt::NoBrush);
    // From pixel centre to pixel centre; the flat cap of a cosmetic pen leaves out the last pixel
    // as GDI does.
    fPainter.drawLine(QPoint(from.X, from.Y), QPoint(p.X, p.Y));
}

void TQtRasterSurface::Rectangle(const TRect& box) {
    const TBox b = Normal(box);
    if (b.W() <= 0 || b.H() <= 0) return;
    const bool outline = fPen.Style != TPenStyle::Clear;
    if (fBrush.Style == TBrushStyle::Solid) {
        // Without an outline GDI fills one pixel less at right and bottom.
        const int shrink = outline ? 0 : 1;
        fPainter.fillRect(QRect(b.L, b.T, b.W() - shrink, b.H() - shrink), ToQColor(fBrush.Color));
    }
    if (!outline) return;
    ApplyPen(true);
    fPainter.setBrush(Qt::NoBrush);
    fPainter.drawRect(OutlineRect(b));
}

void TQtRasterSurface::Ellipse(const TRect& box) {
    const TBox b = Normal(box);
    if (b.W() <= 0 || b.H() <= 0) return;
    // Ports and pins are circles of a few pixels when much of a large drawing shows, and the paint
    // engine's curve flattening costs far more than their pixels. Such circles are stamped from
    // the pixels the engine itself drew for one of the same size.
    const bool plainPen =
        fPen.Style == TPenStyle::Clear || (fPen.Style == TPenStyle::Solid && fPen.Width <= 1);
    if (b.W() <= MaxStampedEllipse && b.H() <= MaxStampedEllipse && plainPen && fPen.Mode == TPenMode::Copy &&
        WritesPixelsDirectly()) {
        const TEllipseStamp& stamp = EllipseStamp(b.W(), b.H());
        if (fBrush.Style == TBrushStyle::Solid) {
            const QRgb fill = qRgb(ColorRed(fBrush.Color), ColorGreen(fBrush.Color), ColorBlue(fBrush.Color));
            for (const QPoint& d : stamp.Fill)
                PutPixel(b.L + d.x(), b.T + d.y(), fill);
        }
        if (fPen.Style != TPenStyle::Clear) {
            const QRgb pen = qRgb(ColorRed(fPen.Color), ColorGreen(fPen.Color), ColorBlue(fPen.Color));
            for (const QPoint& d : stamp.Outline)
                PutPixel(b.L + d.x(), b.T + d.y(), pen);
        }
        return;
    }
    ApplyPen(true);
    ApplyBrush(true);
    fPainter.drawEllipse(OutlineRect(b));
}

const TQtRasterSurface::TEllipseStamp& TQtRasterSurface::EllipseStamp(int w, int h) {
    TEllipseStamp& stamp = fEllipseStamps[size_t((w - 1) * MaxStampedEllipse + (h - 1))];
    if (stamp.Made) return stamp;
    // Drawn as Ellipse draws, away from the picture's edges; aliased rasterising of whole-pixel
    // boxes does not depend on where the box lies.
    constexpr int margin = 4;
    const auto draw = [&](bool outline) {
        QImage img(w + 2 * margin, h + 2 * margin, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(Qt::black);
        pen.setCosmetic(true);
        pen.setWidth(1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(outline ? pen : QPen(Qt::NoPen));
        p.setBrush(outline ? QBrush(Qt::NoBrush) : QBrush(Qt::black));
        p.drawEllipse(OutlineRect({margin, margin, margin + w, margin + h}));
        p.end();
        std::vector<QPoint> pixels;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)) != 0) pixels.emplace_back(x - margin, y - margin);
        return pixels;
    };
    stamp.Fill = draw(false);
    stamp.Outline = draw(true);
    stamp.Made = true;
    return stamp;
}

void TQtRasterSurface::Arc(const TRect& box, TPoint start, TPoint end) {
    const TBox b = Normal(box);
    if (b.W() <= 0 || b.H() <= 0 || fPen.Style == TPenStyle::Clear) return;
    const QRectF r = OutlineRect(b);
    const QPointF c = r.center();
    // Screen angles, counter-clockwise, Y down.
    const auto angle = [&](TPoint p) {
        return std::atan2(-(p.Y + 0.5 - c.y()), p.X + 0.5 - c.x()) * 180 / std::numbers::pi;
    };
    const double a0 = angle(start);
    double span = angle(end) - a0;
    while (span <= 0)
        span += 360;
    ApplyPen(true);
    fPainter.setBrush(Qt::NoBrush);
    fPainter.drawArc(r, int(std::lround(a0 * 16)), int(std::lround(span * 16)));
}

void TQtRasterSurface::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const TPoint& p : points)
        poly << QPointF(p.X + 0.5, p.Y + 0.5);
    ApplyPen(true);
    ApplyBrush(true);
    fPainter.drawPolygon(poly, Qt::OddEvenFill);
}

void TQtRasterSurface::Polyline(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    // Segment by segment, so every vertex but the last is drawn exactly once as with LineTo.
    MoveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i)
        LineTo(points[i]);
}

bool TQtRasterSurface::WritesPixelsDirectly() const {
    return fImage && !fPainter.hasClipping() &&
           fPainter.compositionMode() == QPainter::CompositionMode_SourceOver && fPainter.opacity() == 1.0 &&
           fPainter.deviceTransform().isIdentity();
}

void TQtRasterSurface::PutPixel(int x, int y, QRgb rgb) {
    if (x < 0 || y < 0 || x >= fImage->width() || y >= fImage->height()) return;
    // constScanLine keeps the picture from detaching: the painter draws into the same pixels.
    reinterpret_cast<QRgb*>(const_cast<uchar*>(fImage->constScanLine(y)))[x] = rgb;
}

void TQtRasterSurface::SetPixel(TPoint p, TColor color) {
    // A zoom-all paint of a large drawing sets a pixel for every object below a pixel; through the
    // paint engine each costs as much as a filled rectangle. An opaque pixel on an untransformed,
    // unclipped picture is the same written directly.
    if (WritesPixelsDirectly()) {
        PutPixel(p.X, p.Y, qRgb(ColorRed(color), ColorGreen(color), ColorBlue(color)));
        return;
    }
    fPainter.fillRect(QRect(p.X, p.Y, 1, 1), ToQColor(color));
}

void TQtRasterSurface::FillRect(const TRect& box) {
    const TBox b = Normal(box);
    if (b.W() <= 0 || b.H() <= 0) return;
    fPainter.fillRect(QRect(b.L, b.T, b.W(), b.H()), ToQColor(fBrush.Color));
}

void TQtRasterSurface::TextOut(TPoint p, const std::string& utf8Text) {
    if (utf8Text.empty()) return;
    fPainter.save();
    fPainter.setFont(QtFont());
    fPainter.setPen(ToQColor(fFont.Color));
    fPainter.translate(p.X, p.Y);
    if (fFont.Escapement != 0) fPainter.rotate(-fFont.Escapement / 10.0);
    const QFontMetrics m(fPainter.font(), fPainter.device());
    fPainter.drawText(QPointF(0, m.ascent()), QString::fromUtf8(utf8Text.data(), qsizetype(utf8Text.size())));
    fPainter.restore();
}

TSize TQtRasterSurface::TextExtent(const std::string& utf8Text) {
    const QFontMetrics m(QtFont(), fPainter.device());
    const QString s = QString::fromUtf8(utf8Text.data(), qsizetype(utf8Text.size()));
    return {int32_t(m.horizontalAdvance(s)), int32_t(m.height())};
}

void TQtRasterSurface::DrawBitmap(const TRect& box, const TRgbaImage& image) {
    const TBox b = Normal(box);
    if (!image.Valid() || b.W() <= 0 || b.H() <= 0) return;
    const QImage img(image.Pixels.data(), image.Width, image.Height, image.Width * 4,
                     QImage::Format_RGBA8888);
    fPainter.save();
    fPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    fPainter.drawImage(QRect(b.L, b.T, b.W(), b.H()), img);
    fPainter.restore();
}
