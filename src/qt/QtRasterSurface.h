#pragma once
// The raster surface drawn with QPainter on any QPaintDevice (a QImage for off-screen rendering
// and tests, a widget in the window). Drawing is aliased with 1-pixel cosmetic pens so pixels land
// where the GDI conventions of TRasterSurface put them. Text needs a QGuiApplication.
#include "render/RasterSurface.h"

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <vector>

class QImage;
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
    // Whether pixels may be written into fImage as the painter would write them.
    bool WritesPixelsDirectly() const;
    void PutPixel(int x, int y, QRgb rgb);

    // The pixels of the fill and of the outline of an ellipse in a box of W x H pixels, relative
    // to its top left corner.
    struct TEllipseStamp {
        bool Made = false;
        std::vector<QPoint> Fill, Outline;
    };
    static constexpr int MaxStampedEllipse = 12;
    const TEllipseStamp& EllipseStamp(int w, int h);
    std::vector<TEllipseStamp> fEllipseStamps =
        std::vector<TEllipseStamp>(MaxStampedEllipse * MaxStampedEllipse);
    void ApplyBrush(bool fill);

    QPainter fPainter;
    // The picture itself when the device is one whose pixels can be written directly.
    QImage* fImage = nullptr;
    TPen fPen;
    TBrush fBrush;
    TFontSpec fFont;
    // The font of fFont, built when first needed; fBuiltFont is the font description it was built from.
    const QFont& QtFont();
    QFont fQFont;
    TFontSpec fBuiltFont;
    bool fQFontBuilt = false;
    TPoint fPos;
};
