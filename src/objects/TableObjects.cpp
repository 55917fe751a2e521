#include "objects/TableObjects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"
#include "render/ShapeGeometry.h"
#include "render/XYPoints.h"

using namespace std::string_view_literals;

namespace {

constexpr std::string_view CellStyleNames[] = {
    "None",          "Solid",     "Diagonal to TopRight", "Diagonal to BottomRight", "Cross", "Circle",
    "Filled circle", "Rectangle", "Filled rectangle"};
constexpr std::string_view CellStyleIdents[] = {
    "cellstyleClear",          "cellstyleSolid",  "cellstyleDiagonalTopRight", "cellstyleDiagonalBottomRight",
    "cellstyleCross",          "cellstyleCircle", "cellstyleFilledCircle",     "cellstyleRectangle",
    "cellstyleFilledRectangle"};
constexpr std::string_view CellTypeIdents[] = {"celltypeNone", "celltypeString", "celltypeFloat"};
constexpr std::string_view TableTypeNames[] = {"None", "Solenoid", "Hose"};
constexpr std::string_view TableTypeIdents[] = {"tableNormal", "tableSolenoid", "tableHose"};

void ReadInt(const std::string& value, int32_t& field) {
    if (auto v = ParseRecordInt(value)) field = *v;
}

void ReadAlign(const std::string& value, TTextAlign& field) {
    const int a = IndexOfName(value, TextAlignNames, 4);
    if (a >= 0) field = TTextAlign(a);
}

template <class TEnum, size_t N> std::string_view Ident(const std::string_view (&idents)[N], TEnum v) {
    return idents[size_t(v) < N ? size_t(v) : 0];
}

void DumpIntegers(TJsonWriter& w, std::string_view key, const TIntegerList& list) {
    w.Key(key);
    w.BeginArray();
    for (const int32_t v : list.fItems)
        w.Int(v);
    w.EndArray();
}

bool IsWrapBreak(char c) {
    return c == ' ' || c == ',' || c == '-' || c == ':' || c == ';';
}

// The byte after the UTF-8 character that starts at i, so no character is ever split.
size_t NextCharacter(const std::string& s, size_t i) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

std::string TrimmedRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return std::string(s.substr(0, e));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Word wrap

std::vector<std::string> WordWrap(const std::string& text, int64_t maxWidth, const TTextWidthFunction& width,
                                  size_t maxLines) {
    if (text.find('\n') == std::string::npos && width(text) <= maxWidth) return {text};
    std::vector<std::string> lines;
    const size_t n = text.size();
    // Whether the characters from start up to end, and a blank, fit the width.
    const auto fits = [&](size_t start, size_t end) {
        return width(text.substr(start, end - start) + " ") <= maxWidth;
    };
    const auto dropBlank = [&](size_t& start) {
        if (start < n && text[start] == ' ') ++start;
    };
    size_t start = 0;
    std::vector<size_t> ends; // ends[j]: the byte after the first j + 1 characters of the line
    while (start < n && lines.size() + 1 < maxLines) {
        size_t lineEnd = text.find('\n', start);
        if (lineEnd == std::string::npos) lineEnd = n;
        if (start == lineEnd) {
            lines.emplace_back();
            start = lineEnd + 1;
            continue;
        }
        // The first character always goes in, so every line takes at least one; then as many as
        // fit, found by doubling and halving so that a long line costs no more than a few
        // measurements of its length.
        ends.assign(1, NextCharacter(text, start));
        const auto endAt = [&](size_t j) {
            while (ends.size() <= j && ends.back() < lineEnd)
                ends.push_back(NextCharacter(text, ends.back()));
            return ends[std::min(j, ends.size() - 1)];
        };
        size_t good = 0, step = 1;
        size_t bad = SIZE_MAX; // first count of characters known not to fit
        while (endAt(good) < lineEnd) {
            const size_t probe = good + step;
            if (fits(start, endAt(probe))) {
                good = std::min(probe, ends.size() - 1);
                step *= 2;
            } else {
                bad = probe;
                break;
            }
        }
        if (bad != SIZE_MAX) {
            size_t lo = good, hi = std::min(bad, ends.size() - 1);
            while (hi - lo > 1) {
                const size_t mid = lo + (hi - lo) / 2;
                (fits(start, endAt(mid)) ? lo : hi) = mid;
            }
            good = lo;
        }
        const size_t end = endAt(good);
        if (end >= lineEnd) {
            if (lineEnd == n) break; // the rest fits: it is the last line
            lines.push_back(TrimmedRight(std::string_view(text).substr(start, lineEnd - start)));
            start = lineEnd + 1;
            dropBlank(start);
            continue;
        }
        size_t cut = end;
        for (size_t k = end; k > start; --k)
            if (IsWrapBreak(text[k - 1])) {
                cut = k;
                break;
            }
        lines.push_back(TrimmedRight(std::string_view(text).substr(start, cut - start)));
        start = cut;
        dropBlank(start);
    }
    if (start < n || lines.empty()) {
        std::string rest = start < n ? text.substr(start) : std::string();
        std::replace(rest.begin(), rest.end(), '\n', ' ');
        lines.emplace_back(TrimRecordText(rest));
    }
    return lines;
}

std::string FormatCellFloat(double value, int32_t precision, char decimalSeparator) {
    if (!std::isfinite(value)) value = 0;
    // More decimals than a double carries would only print noise.
    precision = std::clamp(precision, 0, 17);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6e", value);
    std::string s = FormatFixed(ParseRecordFloat(buf, value), precision);
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-') s.erase(0, 1);
    if (decimalSeparator != '.') std::replace(s.begin(), s.end(), '.', decimalSeparator);
    return s;
}

// ---------------------------------------------------------------------------------------------
// Cells

std::string TSymbolObjectTableCell::Text(char) const {
    return {};
}

void TSymbolObjectTableCell::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, Terminator()))
        LoadKey(key, value);
}

bool TSymbolObjectTableCell::LoadKey(const std::string& key, const std::string& value) {
    if (key == "STYLE"sv) {
        const int s = IndexOfName(value, CellStyleNames, std::size(CellStyleNames));
        fCellStyle = s < 0 ? cellstyleClear : TCellStyle(s);
    } else if (key == "HEIGHT"sv) {
        ReadInt(value, fHeight);
    } else if (key == "ROTATION"sv) {
        ReadInt(value, fRotation);
    } else if (key == "MERGEHANDLE"sv) {
        ReadInt(value, fMergeHandle);
    } else if (key == "MATCHHANDLE"sv) {
        ReadInt(value, fMatchedWithHandle);
    } else if (key == "CELLTAG"sv) {
        ReadInt(value, fCellTag);
    } else if (key == "COLSPAN"sv) {
        ReadInt(value, fColSpan);
    } else if (key == "ROWSPAN"sv) {
        ReadInt(value, fRowSpan);
    } else if (key == "WORDWRAP"sv) {
        fWordWrap = YesNoToBool(value);
    } else if (key == "USETABLETEXTSTYLE"sv) {
        fUseTableTextStyle = YesNoToBool(value);
    } else if (key == "TEXTSTYLE"sv) {
        fTextStyleName = value;
    } else if (key == "ALIGN"sv) {
        ReadAlign(value, fAlign);
    } else if (key == "VERTALIGN"sv) {
        ReadAlign(value, fVertAlign);
    } else {
        return LoadOverrideTextStyleKey(fOverrideTextStyleSettings, key, value);
    }
    return true;
}

void TSymbolObjectTableCell::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", ClassName());
    DumpFields(w);
    w.EndObject();
}

void TSymbolObjectTableCell::DumpFields(TJsonWriter& w) const {
    w.Field("CellStyle", Ident(CellStyleIdents, fCellStyle));
    w.Field("CellType", Ident(CellTypeIdents, fCellType));
    w.Field("Align", TextAlignIdent(fAlign));
    w.Field("VertAlign", TextAlignIdent(fVertAlign));
    w.Field("Height", fHeight);
    w.Field("Rotation", fRotation);
    w.Field("TextStyleName", fTextStyleName);
    w.Key("OverrideTextStyleSettings");
    DumpOverrideTextStyleSettings(w, fOverrideTextStyleSettings);
    w.Field("UseTableTextStyle", fUseTableTextStyle);
    w.Field("MergeHandle", fMergeHandle);
    w.Field("ColSpan", fColSpan);
    w.Field("RowSpan", fRowSpan);
    w.Field("WordWrap", fWordWrap);
    w.Field("WrappedText", fWrappedText);
    w.Field("MatchedWithHandle", fMatchedWithHandle);
    w.Field("CellTag", fCellTag);
}

std::string TSymbolObjectTableCellString::Text(char) const {
    return fContent;
}

bool TSymbolObjectTableCellString::LoadKey(const std::string& key, const std::string& value) {
    if (key != "CONTENT"sv) return TSymbolObjectTableCell::LoadKey(key, value);
    fContent = value;
    return true;
}

void TSymbolObjectTableCellString::DumpFields(TJsonWriter& w) const {
    TSymbolObjectTableCell::DumpFields(w);
    w.Field("Content", fContent);
}

std::string TSymbolObjectTableCellFloat::Text(char decimalSeparator) const {
    return FormatCellFloat(fContent, fPrecision, decimalSeparator);
}

bool TSymbolObjectTableCellFloat::LoadKey(const std::string& key, const std::string& value) {
    if (key == "CONTENT"sv)
        ReadFloatKeeping(fContent, value);
    else if (key == "PRECISION"sv)
        ReadInt(value, fPrecision);
    else
        return TSymbolObjectTableCell::LoadKey(key, value);
    return true;
}

void TSymbolObjectTableCellFloat::DumpFields(TJsonWriter& w) const {
    TSymbolObjectTableCell::DumpFields(w);
    w.Field("Content", fContent);
    w.Field("Precision", fPrecision);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectTable

void TSymbolObjectTable::SetDefaults() {
    TSymbolObject::SetDefaults();
    fCellList.clear();
    fRowHeights.Clear();
    fColWidths.Clear();
    fRowCount = fColCount = 0;
    fTextStyleName = "TextStyle_Text";
    fOverrideTextStyleSettings = {};
    fHeight = 20;
    fHeaderRows = fHeaderCols = 0;
    fInnerGrid = fOuterGrid = true;
    fTableType = tableNormal;
}

bool TSymbolObjectTable::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    if (key == "STRINGCELLSTART:"sv || key == "FLOATCELLSTART:"sv) {
        std::unique_ptr<TSymbolObjectTableCell> cell;
        if (key == "STRINGCELLSTART:"sv)
            cell = std::make_unique<TSymbolObjectTableCellString>();
        else
            cell = std::make_unique<TSymbolObjectTableCellFloat>();
        cell->LoadFromReader(reader);
        // Cells past the largest table are read to keep the reader in step, and dropped.
        if (fCellList.size() < size_t(MaxCells)) fCellList.push_back(std::move(cell));
    } else if (key == "TABLETYPE"sv) {
        const int t = IndexOfName(value, TableTypeNames, std::size(TableTypeNames));
        fTableType = t < 0 ? tableNormal : TTableType(t);
    } else if (key == "COLCOUNT"sv) {
        fColCount = ParseRecordInt(value).value_or(0);
    } else if (key == "ROWCOUNT"sv) {
        fRowCount = ParseRecordInt(value).value_or(0);
    } else if (key == "HEIGHT"sv) {
        ReadInt(value, fHeight);
    } else if (key == "HEADERROWS"sv) {
        fHeaderRows = ParseRecordInt(value).value_or(0);
    } else if (key == "HEADERCOLS"sv) {
        fHeaderCols = ParseRecordInt(value).value_or(0);
    } else if (key == "ROWHEIGHT"sv) {
        if (fRowHeights.Count() < MaxCells) fRowHeights.Add(ParseRecordInt(value).value_or(DefaultRowHeight));
    } else if (key == "COLWIDTH"sv) {
        if (fColWidths.Count() < MaxCells) fColWidths.Add(ParseRecordInt(value).value_or(DefaultColWidth));
    } else if (key == "TEXTSTYLE"sv) {
        fTextStyleName = value;
    } else if (key == "INNERGRID"sv) {
        fInnerGrid = YesNoToBool(value);
    } else if (key == "OUTERGRID"sv) {
        fOuterGrid = YesNoToBool(value);
    } else {
        return LoadOverrideTextStyleKey(fOverrideTextStyleSettings, key, value);
    }
    return true;
}

int TSymbolObjectTable::Cols() const {
    return std::clamp(fColCount, 0, MaxCells);
}

int TSymbolObjectTable::Rows() const {
    // Negative counts are no table; more cells than the largest table keep all its columns and
    // as many rows as fit.
    const int cols = Cols();
    const int rows = std::clamp(fRowCount, 0, MaxCells);
    return cols > 0 && int64_t(rows) * cols > MaxCells ? MaxCells / cols : rows;
}

void TSymbolObjectTable::AfterLoad() {
    const int rows = Rows();
    fColCount = Cols();
    fRowCount = rows;
}

TSymbolObjectTableCell* TSymbolObjectTable::GetCell(int aCol, int aRow) const {
    const int cols = Cols();
    if (aCol < 0 || aRow < 0 || aCol >= cols || aRow >= Rows()) return nullptr;
    const int64_t position = int64_t(aCol) + int64_t(aRow) * cols;
    return position < int64_t(fCellList.size()) ? fCellList[size_t(position)].get() : nullptr;
}

bool TSymbolObjectTable::PositionToCoord(int position, int& col, int& row) const {
    const int cols = Cols();
    if (cols <= 0) return false;
    col = position % cols;
    row = position / cols;
    return true;
}

int TSymbolObjectTable::CoordToPosition(int aCol, int aRow) const {
    return ClampToInt32(int64_t(aCol) + int64_t(aRow) * Cols());
}

int32_t TSymbolObjectTable::RowHeight(int aRow) const {
    return aRow >= 0 && aRow < fRowHeights.Count() ? fRowHeights.fItems[size_t(aRow)] : DefaultRowHeight;
}

int32_t TSymbolObjectTable::ColWidth(int aCol) const {
    return aCol >= 0 && aCol < fColWidths.Count() ? fColWidths.fItems[size_t(aCol)] : DefaultColWidth;
}

int32_t TSymbolObjectTable::GetColX(int aCol) const {
    int64_t x = fP1.X;
    for (int i = 0; i < std::min(aCol, Cols()); ++i)
        x += ColWidth(i);
    return ClampToInt32(x);
}

int32_t TSymbolObjectTable::GetRowY(int aRow) const {
    int64_t y = GetP2().Y;
    for (int j = 0; j < std::min(aRow, Rows()); ++j)
        y -= RowHeight(j);
    return ClampToInt32(y);
}

TPoint TSymbolObjectTable::GetP2() const {
    int64_t y = fP1.Y;
    for (int j = 0, rows = Rows(); j < rows; ++j)
        y += RowHeight(j);
    return {GetColX(Cols()), ClampToInt32(y)};
}

void TSymbolObjectTable::ClearWrappedTexts() {
    for (auto& cell : fCellList)
        cell->fWrappedText.clear();
}

bool TSymbolObjectTable::HasMergedCells() const {
    return std::any_of(fCellList.begin(), fCellList.end(), [](const auto& c) { return c->IsMerged(); });
}

int TSymbolObjectTable::ColSpanOf(int aCol, int aRow) const {
    const TSymbolObjectTableCell* cell = GetCell(aCol, aRow);
    if (!cell || !cell->IsFirstOfMerge()) return 1;
    return std::clamp(cell->fColSpan, 1, Cols() - aCol);
}

int TSymbolObjectTable::RowSpanOf(int aCol, int aRow) const {
    const TSymbolObjectTableCell* cell = GetCell(aCol, aRow);
    if (!cell || !cell->IsFirstOfMerge()) return 1;
    return std::clamp(cell->fRowSpan, 1, Rows() - aRow);
}

namespace {
TShapeGeometry TableShape(const TSymbolObjectTable& t) {
    const TPoint a = t.fP1, b = t.GetP2();
    TShapePart box;
    box.Kind = TShapePartKind::StyledPolygon;
    box.Filled = true; // a click anywhere on the table takes it
    box.Pts = {XYPoint(a.X, a.Y), XYPoint(b.X, a.Y), XYPoint(b.X, b.Y), XYPoint(a.X, b.Y)};
    TShapeGeometry g;
    g.Parts.push_back(std::move(box));
    return g;
}
} // namespace

bool TSymbolObjectTable::HitTest(TPoint pt, double minPickDistance) const {
    return ShapeHitTest(TableShape(*this), PointToXYPoint(pt), minPickDistance);
}

bool TSymbolObjectTable::HitTestRect(const TRect& rt) const {
    return ShapeHitTestRect(TableShape(*this), rt);
}

TExtentsRect TSymbolObjectTable::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsAddPoint(fP1, current);
    ExtentsAddPoint(GetP2(), current);
    return current;
}

void TSymbolObjectTable::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Key("CellList");
    w.BeginArray();
    for (const auto& cell : fCellList)
        cell->Dump(w);
    w.EndArray();
    DumpIntegers(w, "RowHeights", fRowHeights);
    DumpIntegers(w, "ColWidths", fColWidths);
    w.Field("RowCount", fRowCount);
    w.Field("ColCount", fColCount);
    w.Field("TextStyleName", fTextStyleName);
    w.Key("OverrideTextStyleSettings");
    DumpOverrideTextStyleSettings(w, fOverrideTextStyleSettings);
    w.Field("Height", fHeight);
    w.Field("HeaderRows", fHeaderRows);
    w.Field("HeaderCols", fHeaderCols);
    w.Field("InnerGrid", fInnerGrid);
    w.Field("OuterGrid", fOuterGrid);
    w.Field("TableType", Ident(TableTypeIdents, fTableType));
}
