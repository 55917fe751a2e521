// Drawing of the sheet frames on the symbol canvas.
#include "objects/SheetObjects.h"
#include "render/SymbolCanvas.h"

#include <array>

namespace {

// While it lives, every line type draws in the sheet colour, so that a frame's children, which
// set their own pens, all come out in it. The scheme is restored however the drawing ends.
class TSheetColors {
public:
    TSheetColors(TSymbolCanvas& canvas, bool active) : fCanvas(canvas), fActive(active) {
        if (!fActive) return;
        fSaved = canvas.fCanvasColors.LineTypeColors;
        canvas.fCanvasColors.LineTypeColors.fill(canvas.DrawColor(dcSheet));
    }
    ~TSheetColors() {
        if (fActive) fCanvas.fCanvasColors.LineTypeColors = fSaved;
    }
    TSheetColors(const TSheetColors&) = delete;
    TSheetColors& operator=(const TSheetColors&) = delete;

private:
    TSymbolCanvas& fCanvas;
    bool fActive;
    std::array<TColor, SymLineTypeCount> fSaved{};
};

bool SolidPen(const TSymbolCanvas& canvas) {
    const TPenStyle style = canvas.fCanvas->Pen().Style;
    return style == TPenStyle::Solid || style == TPenStyle::Clear;
}

// Each pair of points is one line; the pen's pattern is drawn in drawing units when it has one.
void DrawPairs(TSymbolCanvas& canvas, const std::vector<TPoint>& pts) {
    const bool solid = SolidPen(canvas);
    for (size_t i = 0; i + 1 < pts.size(); i += 2) {
        const TXYPoint a = PointToXYPoint(pts[i]), b = PointToXYPoint(pts[i + 1]);
        if (solid) {
            canvas.MoveTo(a);
            canvas.LineTo(b);
        } else {
            canvas.DrawNonSolidLine(a, b);
        }
    }
}

// Objects hidden in output are told apart on the screen by the helper colour.
bool InHelperColor(const TSymbolObject& obj, TSymbolDrawMode mode) {
    return mode == sdmNormal && obj.fHideInOutput;
}

// The way from a side's end at V away from its other end at Other; outward when the side has no
// length.
int Outward(int32_t v, int32_t other, int whenEqual) {
    return v == other ? whenEqual : v < other ? -1 : 1;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectPaperSize

bool TSymbolObjectPaperSize::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                        const TTextStyleList* styles) {
    bool drawn;
    {
        TSheetColors sheet(canvas, mode == sdmNormal);
        drawn = TSymbolObject::DrawSymbol(canvas, mode, clip, styles);
        // The caption takes the frame's own colour, not that of whichever child drew last.
        if (drawn) SetDrawColors(canvas, mode);
    }
    if (!drawn || mode == sdmDrag) return drawn;

    canvas.SetTextHeight(30 * canvas.fZoom);
    if (canvas.FontSize() <= 1) return true;
    const TPoint at = canvas.ToPt(fP1);
    const std::string text = " " + Caption(canvas.fDecimalSeparator);
    TRasterSurface& surface = *canvas.fCanvas;
    const TColor pen = surface.Pen().Color;
    // Light text on a block of the frame colour, as a solid text background shows it. The face
    // and height are the canvas's; the style and turn of whatever text drew last are not.
    TFontSpec font = surface.Font();
    font.Color = canvas.DrawColor(dcBackground);
    font.Escapement = 0;
    font.Bold = font.Italic = font.Underline = font.StrikeOut = false;
    surface.SetFont(font);
    surface.SetBrush({pen, TBrushStyle::Solid});
    const TSize size = surface.TextExtent(text);
    surface.FillRect(
        TRect(at, {ClampToInt32(int64_t(at.X) + size.cx), ClampToInt32(int64_t(at.Y) + size.cy)}));
    surface.TextOut(at, text);
    surface.SetBrush({pen, TBrushStyle::Clear});
    return true;
}

void TSymbolObjectPaperSize::DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                           const TTextStyleList* styles) {
    TSheetColors sheet(canvas, mode == sdmNormal);
    TSymbolObject::DrawSelection(canvas, mode, styles);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectIBorder

bool TSymbolObjectIBorder::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                      const TTextStyleList* styles) {
    if (!TSymbolObject2Point::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    const bool helper = InHelperColor(*this, mode);
    if (helper) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    if (fFill) {
        SetBrushStyle(canvas, true, mode);
        if (helper) canvas.fCanvas->SetBrush({canvas.DrawColor(dcHelper), TBrushStyle::Solid});
    }

    const TXYPoint p1 = PointToXYPoint(fP1), p2 = PointToXYPoint(fP2);
    if (!fDrawPoints.Items.empty() || (fHideEdges.any() && mode != sdmDrag)) {
        DrawPairs(canvas, CreateListDrawPoints());
    } else if (AreAllLinesVisible() && (SolidPen(canvas) || fFill)) {
        const TPoint outline[] = {canvas.ToPt(p1), canvas.ToPt(TXYPoint{p2.X, p1.Y}), canvas.ToPt(p2),
                                  canvas.ToPt(TXYPoint{p1.X, p2.Y})};
        canvas.fCanvas->Polygon(outline);
    } else {
        // While dragging, hidden edges are drawn with the rest so the whole border can be seen.
        const bool shown[] = {fData.ShowLeftLine, fData.ShowTopLine, fData.ShowRightLine,
                              fData.ShowBottomLine};
        for (int side = 1; side <= 4; ++side) {
            TPoint a, b;
            if (shown[side - 1] && SideLinePoints(side, a, b))
                canvas.DrawNonSolidLine(PointToXYPoint(a), PointToXYPoint(b));
        }
    }

    if (canvas.fShowTextBorders) {
        // Corners by the sides that meet there: (fP1.X or fP2.X, fP1.Y or fP2.Y).
        struct TCorner {
            bool AtP2X, AtP2Y;
            int VerticalSide, HorizontalSide;
        };
        static constexpr TCorner corners[] = {
            {false, false, 1, 4}, {false, true, 1, 2}, {true, true, 3, 2}, {true, false, 3, 4}};
        canvas.fCanvas->SetBrush({canvas.fCanvas->Pen().Color, TBrushStyle::Solid});
        for (const TCorner& c : corners) {
            if (!IsSideShown(c.VerticalSide) || !IsSideShown(c.HorizontalSide)) continue;
            const double x = c.AtP2X ? p2.X : p1.X, y = c.AtP2Y ? p2.Y : p1.Y;
            const int sx = c.AtP2X ? Outward(fP2.X, fP1.X, 1) : Outward(fP1.X, fP2.X, -1);
            const int sy = c.AtP2Y ? Outward(fP2.Y, fP1.Y, 1) : Outward(fP1.Y, fP2.Y, -1);
            const TPoint triangle[] = {canvas.ToPt(TXYPoint{x, y}), canvas.ToPt(TXYPoint{x, y + 8.0 * sy}),
                                       canvas.ToPt(TXYPoint{x + 8.0 * sx, y})};
            canvas.fCanvas->Polygon(triangle);
        }
    }
    canvas.SetBrushStyle(TBrushStyle::Clear);
    return true;
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectILine

bool TSymbolObjectILine::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                    const TTextStyleList* styles) {
    if (!TSymbolObject2Point::DrawSymbol(canvas, mode, clip, styles)) return false;
    SetDrawColors(canvas, mode);
    if (InHelperColor(*this, mode)) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    if (fDrawPoints.Items.empty() || mode == sdmDrag)
        DrawPairs(canvas, {fP1, fP2});
    else
        DrawPairs(canvas, CreateListDrawPoints());
    return true;
}
