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
    explicit TQtRasterSurface(QPaintDevice* Device);
    ~TQtRasterSurface() override;
    TQtRasterSurface(const TQtRasterSurface&) = delete;
    TQtRasterSurface& operator=(const TQtRasterSurface&) = delete;

    void SetPen(const TPen& Pen) override;
    TPen Pen() const override { return fPen; }
    void SetBrush(const TBrush& Brush) override;
    TBrush Brush() const override { return fBrush; }
    void SetFont(const TFontSpec& Font) override;
    TFontSpec Font() const override { return fFont; }

    void MoveTo(TPoint P) override { fPos = P; }
    void LineTo(TPoint P) override;
    TPoint PenPos() const override { return fPos; }
    void Rectangle(const TRect& Box) override;
    void Ellipse(const TRect& Box) override;
    void Arc(const TRect& Box, TPoint Start, TPoint End) override;
    void Polygon(std::span<const TPoint> Points) override;
    void Polyline(std::span<const TPoint> Points) override;
    void SetPixel(TPoint P, TColor Color) override;
    void FillRect(const TRect& Box) override;
    void TextOut(TPoint P, const std::string& Utf8Text) override;
    TSize TextExtent(const std::string& Utf8Text) override;
    void DrawBitmap(const TRect& Box, const TRgbaImage& Image) override;

    QPainter& Painter() { return fPainter; }

private:
    void ApplyPen(bool Outline);
    void ApplyBrush(bool Fill);

    QPainter fPainter;
    TPen fPen;
    TBrush fBrush;
    TFontSpec fFont;
    QFont fQFont;
    TPoint fPos;
};
