#pragma once
// Named text styles: the font, default height, font styles and colour rule that texts,
// attributes, ports, item numbers and tables refer to by name.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/DrawTypes.h"

class TRecordReader;
class TRecordWriter;
class TJsonWriter;

struct TTextStyleData {
    std::string StyleName;
    std::string Description;
    std::string FontName = "Arial";
    int32_t DefaultHeight = 20;
    bool IsBold = false;
    bool IsItalic = false;
    bool IsUnderline = false;
    bool IsStrikeOut = false;
    TSymLineType SymLineType = symlinetypeText;
    bool UseDefaultColor = true;
    TColor StyleColor = 32768;
    bool operator==(const TTextStyleData&) const = default;
};

// The twelve styles every loaded document has, in their defining order.
constexpr int BuiltInTextStyleCount = 12;
const TTextStyleData& BuiltInTextStyle(int index);
// Whether the name is one of the built-in names, ignoring case.
bool IsBuiltInTextStyleName(std::string_view name);

class TTextStyle {
public:
    TTextStyleData fData;

    void Clear() { fData = {}; }
    // Equal in every field to one of the built-in styles (strings compared exactly).
    bool IsDefault() const;
    bool Compare(const TTextStyle& second) const { return fData == second.fData; }
    void Assign(const TTextStyle& source) { fData = source.fData; }
    // Reads the record up to "ENDTEXTSTYLE."; the opener line has been consumed.
    void LoadFromUniCodeFile(TRecordReader& reader);
    // Writes nothing and returns false for a default style.
    bool SaveToUniCodeFile(TRecordWriter& writer) const;
};

class TTextStyleList {
public:
    std::vector<std::unique_ptr<TTextStyle>> fList;

    TTextStyle* Add();
    int GetCount() const { return int(fList.size()); }
    TTextStyle* GetTextStyles(int index) const { return fList[size_t(index)].get(); }
    // Index of the first style whose name equals styleName ignoring case, or -1.
    int IndexOf(std::string_view styleName) const;
    // The style of that name, or nullptr.
    const TTextStyle* Find(std::string_view styleName) const;
    // DefaultHeight of the style, 20 when there is none.
    int32_t GetDefaultHeightOf(std::string_view styleName) const;
    // Makes sure every built-in style exists (an existing one only takes the built-in line
    // type), then sorts.
    void AddDefaults();
    // Built-in styles first, then the drawing's own, each group by name ignoring case.
    void Sort();
    // Copies in the styles of source whose names are not in the list yet, then sorts.
    void Append(const TTextStyleList& source);
    void Clear() { fList.clear(); }
    void Delete(int index);
    void Exchange(int a, int b);
    void Assign(const TTextStyleList& source);
    bool Compare(const TTextStyleList& second) const;
    // Style names in list order; the entry named defaultStyle (ignoring case) is followed by
    // a space and the translated word for "Default" in parentheses.
    std::vector<std::string> ToStrings(std::string_view defaultStyle, std::string_view defaultWord) const;
    void SaveToUniCodeFile(TRecordWriter& writer) const;
    void Dump(TJsonWriter& w) const;
};
