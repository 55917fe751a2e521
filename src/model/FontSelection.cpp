#include "model/FontSelection.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <unordered_map>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"
#include "model/TextStyles.h"
#include "render/SymbolCanvas.h"

using namespace std::string_view_literals;

bool LoadOverrideTextStyleKey(TOverrideTextStyleSettingsData& data, const std::string& key,
                              const std::string& value) {
    if (key == "USESTYLEDEFAULT"sv)
        data.UseStyleDefault = YesNoToBool(value);
    else if (key == "ISBOLD"sv)
        data.IsBold = YesNoToBool(value);
    else if (key == "ISITALIC"sv)
        data.IsItalic = YesNoToBool(value);
    else if (key == "ISUNDERLINE"sv)
        data.IsUnderline = YesNoToBool(value);
    else if (key == "ISSTRIKEOUT"sv)
        data.IsStrikeOut = YesNoToBool(value);
    else if (key == "USESTYLECOLOR"sv)
        data.UseStyleColor = YesNoToBool(value);
    else if (key == "USEDEFAULTCOLOR"sv)
        data.UseDefaultColor = YesNoToBool(value);
    else if (key == "TEXTCOLOR"sv) {
        if (auto v = ParseRecordInt(value)) data.TextColor = TColor(*v);
    } else
        return false;
    return true;
}

void DumpOverrideTextStyleSettings(TJsonWriter& w, const TOverrideTextStyleSettingsData& d) {
    w.BeginObject();
    w.Field("UseStyleDefault", d.UseStyleDefault);
    w.Field("IsBold", d.IsBold);
    w.Field("IsItalic", d.IsItalic);
    w.Field("IsUnderline", d.IsUnderline);
    w.Field("IsStrikeOut", d.IsStrikeOut);
    w.Field("UseStyleColor", d.UseStyleColor);
    w.Field("UseDefaultColor", d.UseDefaultColor);
    w.ColorField("TextColor", d.TextColor);
    w.EndObject();
}

namespace {
TColor LineTypeColor(const TSymbolCanvas& canvas, TSymLineType t) {
    return canvas.fCanvasColors.LineTypeColors[t < SymLineTypeCount ? t : symlinetypeNone];
}
} // namespace

TSelectedFont SelectTextStyle(TSymbolCanvas& canvas, const TTextStyleList* styles, std::string_view styleName,
                              TSymLineType lineType, const TOverrideTextStyleSettingsData& override_,
                              TSymbolDrawMode mode) {
    TFontSpec font = canvas.fCanvas->Font();
    font.Name = "Arial";
    font.Escapement = 0;
    font.Color = canvas.fCanvas->Pen().Color;
    TSelectedFont result;
    const TTextStyle* style = styles ? styles->Find(styleName) : nullptr;
    if (style) {
        font.Name = style->fData.FontName;
        font.Bold = font.Italic = font.Underline = font.StrikeOut = false;
        if (mode == sdmNormal)
            font.Color = style->fData.UseDefaultColor ? LineTypeColor(canvas, style->fData.SymLineType)
                                                      : style->fData.StyleColor;
    }
    if (override_.UseStyleDefault) {
        if (style) {
            font.Bold = style->fData.IsBold;
            font.Italic = style->fData.IsItalic;
            font.Underline = style->fData.IsUnderline;
            font.StrikeOut = style->fData.IsStrikeOut;
        }
    } else {
        font.Bold = override_.IsBold;
        font.Italic = override_.IsItalic;
        font.Underline = override_.IsUnderline;
        font.StrikeOut = override_.IsStrikeOut;
        if (mode == sdmNormal && !override_.UseStyleColor)
            font.Color = override_.UseDefaultColor ? LineTypeColor(canvas, lineType) : override_.TextColor;
    }
    // Text in the background colour would vanish.
    if (font.Color == canvas.DrawColor(dcBackground)) font.Color = canvas.DrawColor(dcForeground);
    canvas.fCanvas->SetFont(font);
    result.Color = font.Color;
    return result;
}

void SetFontColor(TSymbolCanvas& canvas, TColor color) {
    TFontSpec font = canvas.fCanvas->Font();
    font.Color = color;
    canvas.fCanvas->SetFont(font);
}

TColor FontColor(const TSymbolCanvas& canvas) {
    return canvas.fCanvas->Font().Color;
}

void SetFontStyle(TSymbolCanvas& canvas, bool italic, bool underline) {
    TFontSpec font = canvas.fCanvas->Font();
    font.Italic = italic;
    font.Underline = underline;
    canvas.fCanvas->SetFont(font);
}

TSize MeasureText(TSymbolCanvas& canvas, const std::string& text) {
    // The measurement depends on the surface's kind and the font only (heights are pixel
    // sizes), not on the colour, the escapement or a strike-out line.
    static thread_local std::unordered_map<std::string, TSize> cache;
    constexpr size_t maxEntries = 1 << 16;
    TRasterSurface& surface = *canvas.fCanvas;
    const TFontSpec font = surface.Font();
    std::string key;
    key.reserve(text.size() + font.Name.size() + 40);
    key.append(typeid(surface).name());
    key.push_back('\0');
    key.append(font.Name);
    key.push_back('\0');
    key.append(std::to_string(font.Height));
    key.push_back(font.Bold ? 'B' : '-');
    key.push_back(font.Italic ? 'I' : '-');
    key.push_back(font.Underline ? 'U' : '-');
    key.push_back('\0');
    key.append(text);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    const TSize size = surface.TextExtent(text);
    if (cache.size() >= maxEntries) cache.clear();
    cache.emplace(std::move(key), size);
    return size;
}

int32_t WidestLine(TSymbolCanvas& canvas, const std::vector<std::string>& lines) {
    int32_t w = 0;
    for (const auto& line : lines)
        w = std::max(w, MeasureText(canvas, line).cx);
    return w;
}

void SetFontPoints(TSymbolCanvas& canvas, int points) {
    const double factor = canvas.fDPIFactor;
    canvas.SetTextHeight(factor > 0 && std::isfinite(factor) ? points / factor : double(points));
}

int FitFontPoints(TSymbolCanvas& canvas, const std::vector<std::string>& lines, int64_t maxWidth) {
    const int start = canvas.FontSize();
    if (start < 1 || WidestLine(canvas, lines) <= maxWidth) return start;
    // Invariant: sizes above hi are too wide; lo fits (0 stands for "nothing fits").
    int lo = 0, hi = start - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        SetFontPoints(canvas, mid);
        if (WidestLine(canvas, lines) <= maxWidth)
            lo = mid;
        else
            hi = mid - 1;
    }
    SetFontPoints(canvas, lo);
    return lo;
}

std::vector<std::string> SplitLines(std::string_view text, char separator) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        const size_t p = text.find(separator, start);
        if (p == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            return lines;
        }
        lines.emplace_back(text.substr(start, p - start));
        start = p + 1;
    }
}

std::string JoinLines(const std::vector<std::string>& lines, char separator) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out.push_back(separator);
        out += lines[i];
    }
    return out;
}

int32_t MulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return -1;
    const double q = double(a) * double(b) / double(c);
    return int32_t(std::clamp(std::round(q), double(INT32_MIN), double(INT32_MAX)));
}

std::string_view BorderStyleIdent(TSymBorderStyle style) {
    static constexpr std::string_view idents[] = {"symborderstyleNone", "symborderstyleSolid",
                                                  "symborderstyleHidden", "symborderstyleDashed",
                                                  "symborderstyleBorder"};
    return idents[style <= symborderstyleBorder ? style : 0];
}

TSymBorderStyle BorderStyleOfName(std::string_view name) {
    const int i = IndexOfName(name, SymBorderStyleNames, 5);
    return i < 0 ? symborderstyleNone : TSymBorderStyle(i);
}
