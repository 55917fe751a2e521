#pragma once
// Choosing the canvas font for a text-bearing object from its text style, and measuring text
// through the surface with a cache, so that boxes and pixels come from the same face and a
// paint measures each string once.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/DrawTypes.h"
#include "render/RasterSurface.h"

class TSymbolCanvas;
class TTextStyleList;
class TJsonWriter;

// Per-object changes to the font of its text style.
struct TOverrideTextStyleSettingsData {
    bool UseStyleDefault = true;
    bool IsBold = false;
    bool IsItalic = false;
    bool IsUnderline = false;
    bool IsStrikeOut = false;
    bool UseStyleColor = true;
    bool UseDefaultColor = true;
    TColor TextColor = 0;
    bool operator==(const TOverrideTextStyleSettingsData&) const = default;
};

// Applies one of the override keys ("USESTYLEDEFAULT" ... "TEXTCOLOR"); false for other keys.
bool LoadOverrideTextStyleKey(TOverrideTextStyleSettingsData& data, const std::string& key,
                              const std::string& value);
void DumpOverrideTextStyleSettings(TJsonWriter& w, const TOverrideTextStyleSettingsData& data);

// What the selection decided, for callers that go on drawing in the text's colour.
struct TSelectedFont {
    TColor Color = 0;
};

// Sets the canvas font (face, styles, colour; horizontal) for an object of the line type that
// names the style; the height is left to the caller.
TSelectedFont SelectTextStyle(TSymbolCanvas& canvas, const TTextStyleList* styles, std::string_view styleName,
                              TSymLineType lineType, const TOverrideTextStyleSettingsData& override_,
                              TSymbolDrawMode mode);

void SetFontColor(TSymbolCanvas& canvas, TColor color);
TColor FontColor(const TSymbolCanvas& canvas);
void SetFontStyle(TSymbolCanvas& canvas, bool italic, bool underline);

// Width and height of the text in the canvas's current font, in pixels. Results are cached by
// surface class and font, so repeated strings are measured once.
TSize MeasureText(TSymbolCanvas& canvas, const std::string& text);
// Widest of the lines in the current font.
int32_t WidestLine(TSymbolCanvas& canvas, const std::vector<std::string>& lines);
// Sets the font size to the given number of points.
void SetFontPoints(TSymbolCanvas& canvas, int points);
// The largest font size, from the current one down to 1 point, at which the widest line is no
// wider than maxWidth; 0 when even 1 point is too wide. The canvas is left at that size. The
// same size stepping down one point at a time would reach, found by bisection.
int FitFontPoints(TSymbolCanvas& canvas, const std::vector<std::string>& lines, int64_t maxWidth);

// The text split at every separator; one empty line for an empty text.
std::vector<std::string> SplitLines(std::string_view text, char separator = '|');
std::string JoinLines(const std::vector<std::string>& lines, char separator = '|');

// Rounds halves away from zero, as MulDiv does.
int32_t MulDiv(int64_t a, int64_t b, int64_t c);

std::string_view BorderStyleIdent(TSymBorderStyle style);
// The border style of a name ignoring case; None for an unknown name.
TSymBorderStyle BorderStyleOfName(std::string_view name);
