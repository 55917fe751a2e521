#pragma once
// The raster surface the core draws on: a small GDI-like canvas with integer device coordinates
// (pixels, Y down). Conventions every implementation keeps:
// - LineTo draws from the current position and leaves out the last pixel;
// - Rectangle, Ellipse, Arc and FillRect take a box whose right and bottom edges are exclusive;
//   Rectangle, Ellipse and Polygon outline with the pen and fill with the brush;
// - Arc runs counter-clockwise (as seen on the screen) from the ray towards Start to the ray
//   towards End, on the ellipse of the box; equal rays give the whole ellipse;
// - text is drawn with a transparent background, its reference point being the top left of the
//   text cell, rotated about that point by the font's escapement (tenths of a degree,
//   counter-clockwise);
// - font heights are character heights in pixels (the em size, not the cell height).
#include "base/DrawTypes.h"
#include "base/Points.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class TPenStyle : uint8_t { Solid, Dot, Dash, DashDot, Clear };
enum class TPenMode : uint8_t { Copy, Xor };
enum class TBrushStyle : uint8_t { Solid, Clear };

struct TPen {
    TColor Color = 0;
    TPenStyle Style = TPenStyle::Solid;
    int Width = 1;
    TPenMode Mode = TPenMode::Copy;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    TColor Color = 0xFFFFFF;
    TBrushStyle Style = TBrushStyle::Solid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

struct TFontSpec {
    std::string Name = "Arial";
    int Height = 16;    // pixels
    int Escapement = 0; // tenths of a degree, counter-clockwise
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TColor Color = 0;
    friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Straight RGBA pixels, 4 bytes a pixel, rows top to bottom without padding.
struct TRgbaImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;
    bool Valid() const {
        return Width > 0 && Height > 0 && Pixels.size() == size_t(Width) * size_t(Height) * 4;
    }
};

class TRasterSurface {
public:
    virtual ~TRasterSurface() = default;

    virtual void SetPen(const TPen& pen) = 0;
    virtual TPen Pen() const = 0;
    virtual void SetBrush(const TBrush& brush) = 0;
    virtual TBrush Brush() const = 0;
    virtual void SetFont(const TFontSpec& font) = 0;
    virtual TFontSpec Font() const = 0;

    virtual void MoveTo(TPoint p) = 0;
    virtual void LineTo(TPoint p) = 0;
    virtual TPoint PenPos() const = 0;
    virtual void Rectangle(const TRect& box) = 0;
    virtual void Ellipse(const TRect& box) = 0;
    virtual void Arc(const TRect& box, TPoint start, TPoint end) = 0;
    virtual void Polygon(std::span<const TPoint> points) = 0;
    virtual void Polyline(std::span<const TPoint> points) = 0;
    virtual void SetPixel(TPoint p, TColor color) = 0;
    // Fills the box with the brush colour (whatever the brush style), no outline.
    virtual void FillRect(const TRect& box) = 0;
    virtual void TextOut(TPoint p, const std::string& utf8Text) = 0;
    // Width and height in pixels of the text in the current font.
    virtual TSize TextExtent(const std::string& utf8Text) = 0;
    // Stretches the image into the box.
    virtual void DrawBitmap(const TRect& box, const TRgbaImage& image) = 0;
};
