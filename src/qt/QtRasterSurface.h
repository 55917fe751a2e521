#pragma once
// The raster surface drawn with QPainter on any QPaintDevice (a QImage for off-screen rendering
// and tests, a widget in the window). Drawing is aliased with 1-pixel cosmetic pens so pixels land
// where the GDI conventions of TRasterSurface put them. Text needs a QGuiApplication.
#include "render/RasterSurface.h"

#include <QFont>
#include <QPainter>

class QPaintDevice;

class TQtRasterSurface : public TRasterSurface {
public:
    // Begins painting on Device (not owned) until the surface is destroyed.
    explicit TQtRasterSurface(QPaintDevice* device);
    ~TQtRasterSurface() override;
    TQtRasterSurface(const TQtRasterSurface&) = delete;
    TQtRasterSurface& operator=(const TQtRasterSurface&) = delete;

    void SetPen(const TPen& pen) override;
    TPen Pen() const override { return fPen; }
    void SetBrush(const TBrush& brush) override;
    TBrush Brush() const override { return fBrush; }
    void SetFont(const TFontSpec& font) override;
    TFontSpec Font() const override { return fFont; }

    void MoveTo(TPoint p) override { fPos = p; }
    void LineTo(TPoint p) override;
    TPoint PenPos() const override { return fPos; }
    void Rectangle(const TRect& box) override;
    void Ellipse(const TRect& box) override;
    void Arc(const TRect& box, TPoint start, TPoint end) override;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void SetPixel(TPoint p, TColor color) override;
    void FillRect(const TRect& box) override;
    void TextOut(TPoint p, const std::string& utf8Text) override;
    TSize TextExtent(const std::string& utf8Text) override;
    void DrawBitmap(const TRect& box, const TRgbaImage& image) override;

    QPainter& Painter() { return fPainter; }

private:
    void ApplyPen(bool outline);
    void ApplyBrush(bool fill);

    QPainter fPainter;
    TPen fPen;
    TBrush fBrush;
    TFontSpec fFont;
    QFont fQFont;
    TPoint fPos;
};
