#pragma once
// A surface that draws nothing and logs every call with its arguments, one text line per call,
// for exact tests of what the drawing code asks for. Formats:
//   Pen #RRGGBB <solid|dot|dash|dashdot|clear> <width> <copy|xor>
//   Brush #RRGGBB <solid|clear>
//   Font <name> <height> <escapement> <flags B/I/U/S or ->  #RRGGBB
//   MoveTo x y | LineTo x y | Rectangle l t r b | Ellipse l t r b | FillRect l t r b
//   Arc l t r b xs ys xe ye | Polygon x y x y ... | Polyline x y ... | SetPixel x y #RRGGBB
//   TextOut x y <text> | DrawBitmap l t r b <w>x<h>
// Setting a pen, brush or font equal to the current one is logged too: the log shows requests.
// TextExtent is measured deterministically: every UTF-8 code point is 6/10 of the font height
// wide (rounded), the height is the font height. It is not logged.
#include "render/RasterSurface.h"

#include <string>
#include <vector>

std::string ColorText(TColor color); // "#RRGGBB"

class TRecordingSurface : public TRasterSurface {
public:
    void SetPen(const TPen& pen) override;
    TPen Pen() const override { return fPen; }
    void SetBrush(const TBrush& brush) override;
    TBrush Brush() const override { return fBrush; }
    void SetFont(const TFontSpec& font) override;
    TFontSpec Font() const override { return fFont; }

    void MoveTo(TPoint p) override;
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

    // Calls logged so far, and the subset starting with Prefix.
    const std::vector<std::string>& Calls() const { return fCalls; }
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    void ClearCalls() { fCalls.clear(); }

private:
    void Log(std::string line) { fCalls.push_back(std::move(line)); }

    TPen fPen;
    TBrush fBrush;
    TFontSpec fFont;
    TPoint fPos;
    std::vector<std::string> fCalls;
};
