// Measuring and drawing leaders, item numbers and revision triangles.
#include <algorithm>
#include <cmath>

#include "model/FontSelection.h"
#include "objects/AnnotationObjects.h"
#include "objects/ShapeObjects.h"
#include "objects/TableObjects.h"
#include "render/PointUtils.h"
#include "render/ShapeGeometry.h"
#include "render/SymbolCanvas.h"

namespace {

// Corner size of a rounded-rectangle balloon, in drawing units.
constexpr double RoundedCornerSize = 4 * 5;
// Height of the small number that tells the second and third item layouts apart.
constexpr double LayoutNumberHeight = 8;

TPoint DevicePoint(int64_t x, int64_t y) {
    return {ClampToInt32(x), ClampToInt32(y)};
}

// The surface has no rounded rectangle: four sides joined by quarter arcs whose ellipses are
// Corner pixels across, as a platform rounded rectangle draws it. Right and bottom are exclusive.
void RoundedRectangle(TRasterSurface& s, const TRect& box, int64_t corner) {
    const int64_t l = box.P1.X, t = box.P1.Y, r = box.P2.X, b = box.P2.Y;
    const int64_t e = std::min({corner, r - l, b - t});
    if (e < 2) {
        s.Rectangle(box);
        return;
    }
    const int64_t h = e / 2;
    // Where the corners take up a whole side, that side has nothing left to draw.
    const auto line = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        if (x1 == x2 && y1 == y2) return;
        s.MoveTo(DevicePoint(x1, y1));
        s.LineTo(DevicePoint(x2, y2));
    };
    const auto arc = [&](int64_t x, int64_t y, TPoint from, TPoint to) {
        s.Arc(TRect(DevicePoint(x, y), DevicePoint(x + e, y + e)), from, to);
    };
    line(l + h, t, r - h, t);
    line(r - 1, t + h, r - 1, b - h);
    line(r - h, b - 1, l + h, b - 1);
    line(l, b - h, l, t + h);
    arc(l, t, DevicePoint(l + h, t), DevicePoint(l, t + h));
    arc(r - e, t, DevicePoint(r, t + h), DevicePoint(r - h, t));
    arc(l, b - e, DevicePoint(l, b - h), DevicePoint(l + h, b));
    arc(r - e, b - e, DevicePoint(r - h, b), DevicePoint(r, b - h));
}

void PenAfterChildren(const TSymbolObject& obj, TSymbolCanvas& canvas, TSymbolDrawMode mode) {
    if (obj.fSymbolObjectList.Count() > 0) obj.SetDrawColors(canvas, mode);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectLeader

TLeaderBlock TSymbolObjectLeader::MeasureBlock(TSymbolCanvas& canvas, const TTextStyleList* styles,
                                               TSymbolDrawMode mode) const {
    TLeaderBlock b;
    b.Lines = CreateCaptionList();
    // Without any text the balloon still has the size of one blank line.
    if (b.Lines.empty()) b.Lines.push_back(" ");
    SelectTextStyle(canvas, styles, fLayout.TextStyleName, fSymLineType, TOverrideTextStyleSettingsData{},
                    mode);
    // At zoom 1 a pixel of the measurement is a drawing unit.
    canvas.SetTextHeight(fLayout.Height);
    const int64_t height = fLayout.Height;
    b.Pitch = ClampToInt32(std::llround(double(height) * 5 / 4));
    b.TextHeight = MeasureText(canvas, "gH").cy;
    b.Height = ClampToInt32(int64_t(b.Pitch) * int64_t(b.Lines.size() - 1) + b.TextHeight);

    const TItemNumberBorderType border = fLayout.Border;
    int64_t w;
    if (fLayout.FixedWidth > 0)
        w = fLayout.FixedWidth;
    else if (border == itemborderCircle)
        w = 2 * height;
    else if (border == itemborderCircledRectangle)
        w = int64_t(WidestLine(canvas, b.Lines)) + MeasureText(canvas, "HH").cx;
    else if (border == itemborderRectangle || border == itemborderRoundedRectangle)
        w = int64_t(WidestLine(canvas, b.Lines)) + MeasureText(canvas, "H").cx;
    else
        w = WidestLine(canvas, b.Lines);
    b.Width = ClampToInt32(w);

    // A left-aligned text starts at the anchor, so the box lies after it, less half the margin.
    const int64_t c = border != itemborderNone ? MeasureText(canvas, "H").cx : 0;
    const int64_t shift = Round((double(b.Width) - double(c)) / 2);
    const int64_t along = fLayout.TextAlign == taLeft ? shift : fLayout.TextAlign == taRight ? -shift : 0;
    b.Centre = IsRotated() ? DevicePoint(fP1.X, fP1.Y + along) : DevicePoint(fP1.X + along, fP1.Y);
    const int64_t halfAcross = (IsRotated() ? b.Height : b.Width) / 2;
    const int64_t halfAlong = (IsRotated() ? b.Width : b.Height) / 2;
    b.C1 = DevicePoint(b.Centre.X - halfAcross, b.Centre.Y - halfAlong);
    b.C2 = DevicePoint(b.Centre.X + halfAcross, b.Centre.Y + halfAlong);
    return b;
}

void TSymbolObjectLeader::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                      const TTextStyleList* styles) {
    TSymbolObject::PrepareDraw(canvas, mode, styles);
    if (fExtents.Defined) return;
    const TLeaderBlock b = MeasureBlock(canvas, styles, mode);
    fExtents = {b.C1, b.C2, true};
}

bool TSymbolObjectLeader::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                     const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    if (fSymbolObjectSubType != soItemNumber && fSymbolObjectSubType != soleader) return true;
    if (!fExtents.Defined) PrepareDraw(canvas, mode, styles);
    PenAfterChildren(*this, canvas, mode);
    const TLeaderBlock block = MeasureBlock(canvas, styles, mode);
    const bool helper = mode == sdmNormal && fHideInOutput;
    if (mode == sdmHighlight && fIsClicked) SetFontColor(canvas, canvas.DrawColor(dcClicked));
    if (helper) {
        SetFontColor(canvas, canvas.DrawColor(dcHelper));
        canvas.SetPenColor(canvas.DrawColor(dcHelper));
    }
    if (mode != sdmDrag && (fLeaderType == layout_Item2 || fLeaderType == layout_Item3))
        DrawLayoutNumber(canvas, block);
    DrawLines(canvas, block);
    if (fHasArrow) {
        DrawArrow(canvas, mode, clip, block, styles);
        SetDrawColors(canvas, mode);
        if (helper) canvas.SetPenColor(canvas.DrawColor(dcHelper));
    }
    DrawBorder(canvas, mode, block);
    return true;
}

void TSymbolObjectLeader::DrawLayoutNumber(TSymbolCanvas& canvas, const TLeaderBlock& block) {
    const TColor textColor = FontColor(canvas);
    SetFontColor(canvas, canvas.DrawColor(dcHelper));
    canvas.SetTextHeight(LayoutNumberHeight * canvas.fZoom);
    if (canvas.FontSize() > 1) {
        const std::string number = fLeaderType == layout_Item2 ? "2" : "3";
        const TPoint corner = canvas.ToPt(block.C2);
        // Above the corner; a turned box has its top-right corner on its side, so the number
        // stands beside it there.
        const int64_t up = IsRotated() ? 0 : MeasureText(canvas, number).cy;
        canvas.fCanvas->TextOut(DevicePoint(corner.X, int64_t(corner.Y) - up), number);
    }
    SetFontColor(canvas, textColor);
}

void TSymbolObjectLeader::DrawLines(TSymbolCanvas& canvas, const TLeaderBlock& block) {
    const double zoom = canvas.fZoom;
    canvas.SetTextHeight(fLayout.Height * zoom);
    if (canvas.FontSize() <= 1) return;
    const TPoint d = canvas.ToPt(fP1);
    const TTextAlign align = fLayout.TextAlign;
    for (size_t i = 0; i < block.Lines.size(); ++i) {
        const std::string& line = block.Lines[i];
        if (line.empty()) continue;
        const int64_t width = MeasureText(canvas, line).cx;
        const int64_t shift = align == taLeft ? 0 : align == taRight ? width : width / 2;
        const int64_t across = Round((double(i) * block.Pitch - block.Height / 2.0) * zoom);
        if (IsRotated()) {
            canvas.SetTextAngle(90);
            canvas.fCanvas->TextOut(DevicePoint(d.X + across, d.Y + shift), line);
            canvas.SetTextAngle(0);
        } else {
            canvas.fCanvas->TextOut(DevicePoint(d.X - shift, d.Y + across), line);
        }
    }
}

void TSymbolObjectLeader::DrawArrow(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                    const TLeaderBlock& block, const TTextStyleList* styles) {
    fArrowStartPointTMP = ArrowStartPoint(block);
    TSymbolObject2Point arrow;
    arrow.fSymbolObjectSubType = soArrow;
    arrow.fSymLineType = symlinetypeLine;
    arrow.fFill = fLayout.FilledArrow;
    arrow.fP1 = fArrowStartPointTMP;
    arrow.fP2 = fArrowEndPoint;
    arrow.DrawSymbol(canvas, mode, clip, styles);
}

void TSymbolObjectLeader::DrawBorder(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TLeaderBlock& block) {
    TItemNumberBorderType border = fLayout.Border;
    // While dragging, a balloon without a border still shows where it is.
    if (border == itemborderNone && mode == sdmDrag) border = itemborderRectangle;
    const TPoint a = canvas.ToPt(block.C1), b = canvas.ToPt(block.C2);
    const TRect box({std::min(a.X, b.X), std::min(a.Y, b.Y)}, {std::max(a.X, b.X), std::max(a.Y, b.Y)});
    const double zoom = canvas.fZoom;
    switch (border) {
    case itemborderNone:
        break;
    case itemborderRectangle:
        canvas.fCanvas->Rectangle(box);
        break;
    case itemborderRoundedRectangle:
        RoundedRectangle(*canvas.fCanvas, box, Round(RoundedCornerSize * zoom));
        break;
    case itemborderCircle:
        canvas.DrawCircle(block.Centre, block.Width);
        break;
    case itemborderCircledRectangle:
        RoundedRectangle(*canvas.fCanvas, box, Round(zoom * block.TextHeight));
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectRevTriangle

bool TSymbolObjectRevTriangle::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                          const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    PenAfterChildren(*this, canvas, mode);
    const auto p = GetTrianglePoints();
    TShapeGeometry g;
    TShapePart outline;
    outline.Kind = TShapePartKind::StyledPolygon;
    outline.Pts = {p[0], p[1], p[2]};
    g.Parts.push_back(std::move(outline));
    DrawShapeParts(g, canvas, *this, mode);
    return true;
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectTable

namespace {

// Space between a cell's text and its left or right edge, in drawing units.
constexpr double CellMargin = 8;

// Running sums from the table's top-left corner: X[c] is the left edge of column c and Y[r] the
// top edge of row r; the last entries are the right and bottom edges.
struct TTableGrid {
    std::vector<double> X;
    std::vector<double> Y;
};

TTableGrid GridOf(const TSymbolObjectTable& t) {
    TTableGrid g;
    const int cols = t.Cols(), rows = t.Rows();
    g.X.resize(size_t(cols) + 1);
    g.Y.resize(size_t(rows) + 1);
    g.X[0] = t.fP1.X;
    for (int c = 0; c < cols; ++c)
        g.X[size_t(c) + 1] = g.X[size_t(c)] + t.ColWidth(c);
    g.Y[0] = t.GetP2().Y;
    for (int r = 0; r < rows; ++r)
        g.Y[size_t(r) + 1] = g.Y[size_t(r)] - t.RowHeight(r);
    return g;
}

bool SolidPen(const TSymbolCanvas& canvas) {
    const TPenStyle style = canvas.fCanvas->Pen().Style;
    return style == TPenStyle::Solid || style == TPenStyle::Clear;
}

void Segment(TSymbolCanvas& canvas, double x1, double y1, double x2, double y2) {
    const TXYPoint pts[] = {{x1, y1}, {x2, y2}};
    canvas.DrawLines(pts);
}

// In the normal mode the frame and the header lines take the symbol colour and the other lines
// the line colour; in the other modes every line keeps the object pen.
class TGridPens {
public:
    TGridPens(TSymbolCanvas& canvas, TSymbolDrawMode mode)
        : fCanvas(canvas), fNormal(mode == sdmNormal), fCurrent(canvas.fCanvas->Pen().Color) {}
    void Use(bool header) {
        if (!fNormal) return;
        const TColor c = fCanvas.fCanvasColors.LineTypeColors[header ? symlinetypeSymbol : symlinetypeLine];
        if (c == fCurrent) return;
        fCanvas.SetPenColor(c);
        fCurrent = c;
    }

private:
    TSymbolCanvas& fCanvas;
    bool fNormal;
    TColor fCurrent;
};

void DrawTableFrame(TSymbolCanvas& canvas, const TTableGrid& g) {
    const double left = g.X.front(), right = g.X.back(), top = g.Y.front(), bottom = g.Y.back();
    if (SolidPen(canvas)) {
        const TPoint a = canvas.ToPt(TXYPoint{left, top}), b = canvas.ToPt(TXYPoint{right, bottom});
        canvas.fCanvas->Rectangle(
            TRect({std::min(a.X, b.X), std::min(a.Y, b.Y)}, {std::max(a.X, b.X), std::max(a.Y, b.Y)}));
        return;
    }
    canvas.DrawNonSolidLine({left, bottom}, {right, bottom});
    canvas.DrawNonSolidLine({right, bottom}, {right, top});
    canvas.DrawNonSolidLine({right, top}, {left, top});
    canvas.DrawNonSolidLine({left, top}, {left, bottom});
}

// Which places a merge covers: those its cells say are covered, and any that lie inside the span
// of a merge's first cell, so that a file whose flags disagree still draws no line or text
// across a merged cell. The first merge in reading order keeps its place.
std::vector<uint8_t> CoveredCells(const TSymbolObjectTable& t) {
    const int cols = t.Cols(), rows = t.Rows();
    std::vector<uint8_t> covered(size_t(cols) * size_t(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const size_t at = size_t(c) + size_t(r) * size_t(cols);
            const TSymbolObjectTableCell* cell = t.GetCell(c, r);
            if (covered[at] || !cell) continue;
            if (cell->IsCovered()) {
                covered[at] = 1;
                continue;
            }
            if (!cell->IsFirstOfMerge()) continue;
            const int right = c + t.ColSpanOf(c, r), bottom = r + t.RowSpanOf(c, r);
            for (int j = r; j < bottom; ++j)
                for (int i = c; i < right; ++i)
                    covered[size_t(i) + size_t(j) * size_t(cols)] = i != c || j != r;
        }
    return covered;
}

void DrawInnerLines(const TSymbolObjectTable& t, TSymbolCanvas& canvas, TGridPens& pens, const TTableGrid& g,
                    const std::vector<uint8_t>& covered) {
    const int cols = t.Cols(), rows = t.Rows();
    if (!t.HasMergedCells()) {
        for (int i = 1; i < cols; ++i) {
            pens.Use(i <= t.fHeaderCols);
            Segment(canvas, g.X[size_t(i)], g.Y.front(), g.X[size_t(i)], g.Y.back());
        }
        for (int j = 1; j < rows; ++j) {
            pens.Use(j <= t.fHeaderRows);
            Segment(canvas, g.X.front(), g.Y[size_t(j)], g.X.back(), g.Y[size_t(j)]);
        }
        return;
    }
    // Each cell that shows draws its right and bottom edges, so no line crosses a merged cell.
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (covered[size_t(c) + size_t(r) * size_t(cols)]) continue;
            const size_t right = size_t(c + t.ColSpanOf(c, r)), bottom = size_t(r + t.RowSpanOf(c, r));
            if (right < size_t(cols)) {
                pens.Use(right <= size_t(std::max(t.fHeaderCols, 0)));
                Segment(canvas, g.X[right], g.Y[size_t(r)], g.X[right], g.Y[bottom]);
            }
            if (bottom < size_t(rows)) {
                pens.Use(bottom <= size_t(std::max(t.fHeaderRows, 0)));
                Segment(canvas, g.X[size_t(c)], g.Y[bottom], g.X[right], g.Y[bottom]);
            }
        }
}

// The box a visible cell covers with its merge, in drawing units.
struct TCellBox {
    double X0, Y0, W, H;
};

TCellBox CellBox(const TSymbolObjectTable& t, const TTableGrid& g, int c, int r) {
    const size_t right = size_t(c + t.ColSpanOf(c, r)), bottom = size_t(r + t.RowSpanOf(c, r));
    return {g.X[size_t(c)], g.Y[size_t(r)], g.X[right] - g.X[size_t(c)], g.Y[size_t(r)] - g.Y[bottom]};
}

void DrawCellText(TSymbolObjectTable& t, TSymbolObjectTableCell& cell, const TCellBox& box,
                  TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) {
    const std::string text = cell.Text(canvas.fDecimalSeparator);
    if (text.empty()) return;
    const bool tableStyle = cell.fUseTableTextStyle;
    SelectTextStyle(canvas, styles, tableStyle ? t.fTextStyleName : cell.fTextStyleName, t.fSymLineType,
                    tableStyle ? t.fOverrideTextStyleSettings : cell.fOverrideTextStyleSettings, mode);
    const int32_t height = tableStyle ? t.fHeight : cell.fHeight;
    canvas.SetTextHeight(height);
    const double lineHeight = MeasureText(canvas, "Hg").cy;
    const bool rotated = cell.fRotation == 90;
    std::vector<std::string> lines{text};
    if (cell.fCellType == celltypeString && cell.fWordWrap) {
        if (cell.fWrappedText.empty()) {
            // Measured without the cache: only the lines are kept, not every piece tried.
            const auto width = [&](const std::string& s) {
                return int64_t(canvas.fCanvas->TextExtent(s).cx);
            };
            const double room = (rotated ? box.H : box.W) - CellMargin;
            cell.fWrappedText = WordWrap(text, int64_t(std::clamp(room, -1e15, 1e15)), width,
                                         TSymbolObjectTable::MaxWrappedLines);
        }
        lines = cell.fWrappedText;
    }
    std::vector<double> widths;
    widths.reserve(lines.size());
    for (const std::string& line : lines)
        widths.push_back(MeasureText(canvas, line).cx);

    canvas.SetTextHeight(height * canvas.fZoom);
    if (canvas.FontSize() <= 1) return;
    const double n = double(lines.size());
    // Lines that do not fit are pressed together so the first and the last stay in the cell.
    const double across = rotated ? box.W : box.H;
    double u = (across - n * lineHeight) / 2, step = lineHeight;
    const TTextAlign stacking = rotated ? cell.fAlign : cell.fVertAlign;
    if (u < 0 && lines.size() > 1) {
        u = 0;
        step = (across - lineHeight) / (n - 1);
    } else if (stacking == taLeft) {
        u = rotated ? 0 : across - n * lineHeight;
    } else if (stacking == taRight) {
        u = rotated ? across - n * lineHeight : 0;
    }
    if (rotated) canvas.SetTextAngle(90);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const double wi = widths[i], offset = u + double(i) * step;
        TXYPoint at;
        if (rotated) {
            const TTextAlign a = cell.fVertAlign;
            at = {box.X0 + offset, a == taLeft    ? box.Y0 - box.H + CellMargin
                                   : a == taRight ? box.Y0 - wi - CellMargin
                                                  : box.Y0 - (box.H + wi) / 2};
        } else {
            const TTextAlign a = cell.fAlign;
            at = {a == taLeft    ? box.X0 + CellMargin
                  : a == taRight ? box.X0 + box.W - CellMargin - wi
                                 : box.X0 + (box.W - wi) / 2,
                  box.Y0 - offset};
        }
        canvas.fCanvas->TextOut(canvas.ToPt(at), lines[i]);
    }
    if (rotated) canvas.SetTextAngle(0);
}

void DrawCellMark(TCellStyle style, const TCellBox& box, TSymbolCanvas& canvas) {
    const TPoint a = canvas.ToPt(TXYPoint{box.X0, box.Y0}),
                 b = canvas.ToPt(TXYPoint{box.X0 + box.W, box.Y0 - box.H});
    const int64_t l = std::min(a.X, b.X), t = std::min(a.Y, b.Y), r = std::max(a.X, b.X),
                  bt = std::max(a.Y, b.Y);
    const int64_t m = std::min(r - l, bt - t) / 4;
    TRasterSurface& s = *canvas.fCanvas;
    const TColor pen = s.Pen().Color;
    const auto line = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        canvas.MoveTo(DevicePoint(x1, y1));
        canvas.LineTo(DevicePoint(x2, y2));
    };
    const auto filled = [&](bool solid) {
        s.SetBrush({pen, solid ? TBrushStyle::Solid : TBrushStyle::Clear});
    };
    const int64_t cx = (l + r) / 2, cy = (t + bt) / 2;
    const TRect circle(DevicePoint(cx - m, cy - m), DevicePoint(cx + m + 1, cy + m + 1));
    const TRect inset(DevicePoint(l + m, t + m), DevicePoint(r - m, bt - m));
    switch (style) {
    case cellstyleClear:
        break;
    case cellstyleSolid:
        filled(true);
        s.FillRect(TRect(DevicePoint(l, t), DevicePoint(r, bt)));
        filled(false);
        break;
    case cellstyleDiagonalTopRight:
        line(l, bt, r, t);
        break;
    case cellstyleDiagonalBottomRight:
        line(r, bt, l, t);
        break;
    case cellstyleCross:
        line(l, bt, r, t);
        line(r, bt, l, t);
        break;
    case cellstyleCircle:
        s.Ellipse(circle);
        break;
    case cellstyleFilledCircle:
        filled(true);
        s.Ellipse(circle);
        filled(false);
        break;
    case cellstyleRectangle:
        s.Rectangle(inset);
        break;
    case cellstyleFilledRectangle:
        filled(true);
        s.Rectangle(inset);
        filled(false);
        break;
    }
}

} // namespace

bool TSymbolObjectTable::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                    const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    const int cols = Cols(), rows = Rows();
    if (cols == 0 || rows == 0) return true;
    PenAfterChildren(*this, canvas, mode);
    const TTableGrid grid = GridOf(*this);
    TGridPens pens(canvas, mode);
    if (fOuterGrid) {
        pens.Use(true);
        DrawTableFrame(canvas, grid);
    }
    const std::vector<uint8_t> covered = CoveredCells(*this);
    if (fInnerGrid) DrawInnerLines(*this, canvas, pens, grid, covered);
    if (mode == sdmDrag) return true;

    const auto visible = [&](int c, int r) {
        return covered[size_t(c) + size_t(r) * size_t(cols)] ? nullptr : GetCell(c, r);
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (TSymbolObjectTableCell* cell = visible(c, r))
                DrawCellText(*this, *cell, CellBox(*this, grid, c, r), canvas, mode, styles);
    pens.Use(true);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (TSymbolObjectTableCell* cell = visible(c, r); cell && cell->fCellStyle != cellstyleClear)
                DrawCellMark(cell->fCellStyle, CellBox(*this, grid, c, r), canvas);
    return true;
}
