#pragma once
// A surface that draws nothing and logs every call with its arguments, one text line per call,
// for exact tests of what the drawing code asks for. Formats:
//   Pen #RRGGBB <solid|dot|dash|dashdot|clear> <width> <copy|xor>
//   Brush #RRGGBB <solid|clear>
//   Font <name> <height> <escapement> <flags B/I/U or ->  #RRGGBB
//   MoveTo x y | LineTo x y | Rectangle l t r b | Ellipse l t r b | FillRect l t r b
//   Arc l t r b xs ys xe ye | Polygon x y x y ... | Polyline x y ... | SetPixel x y #RRGGBB
//   TextOut x y <text> | DrawBitmap l t r b <w>x<h>
// Setting a pen, brush or font equal to the current one is logged too: the log shows requests.
// TextExtent is measured deterministically: every UTF-8 code point is 6/10 of the font height
// wide (rounded), the height is the font height. It is not logged.
#include "render/RasterSurface.h"

#include <string>
#include <vector>

std::string ColorText(TColor Color); // "#RRGGBB"

class TRecordingSurface : public TRasterSurface {
public:
    void SetPen(const TPen& Pen) override;
    TPen Pen() const override { return fPen; }
    void SetBrush(const TBrush& Brush) override;
    TBrush Brush() const override { return fBrush; }
    void SetFont(const TFontSpec& Font) override;
    TFontSpec Font() const override { return fFont; }

    void MoveTo(TPoint P) override;
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

    // Calls logged so far, and the subset starting with Prefix.
    const std::vector<std::string>& Calls() const { return fCalls; }
    std::vector<std::string> CallsStartingWith(const std::string& Prefix) const;
    void ClearCalls() { fCalls.clear(); }

private:
    void Log(std::string Line) { fCalls.push_back(std::move(Line)); }

    TPen fPen;
    TBrush fBrush;
    TFontSpec fFont;
    TPoint fPos;
    std::vector<std::string> fCalls;
};
