#include "model/TextStyles.h"

#include <algorithm>
#include <numeric>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"

using namespace std::string_view_literals;

namespace {

TTextStyleData MakeBuiltIn(std::string_view name, std::string_view description, std::string_view font,
                           int32_t height, TSymLineType lineType) {
    TTextStyleData d;
    d.StyleName = name;
    d.Description = description;
    d.FontName = font;
    d.DefaultHeight = height;
    d.SymLineType = lineType;
    return d;
}

const TTextStyleData BuiltIns[BuiltInTextStyleCount] = {
    MakeBuiltIn("TextStyle_Text", "Default text style Texts", "Arial", 20, symlinetypeText),
    MakeBuiltIn("TextStyle_Attribute", "Default text style Attributes", "Arial", 20, symlinetypeAttribute),
    MakeBuiltIn("TextStyle_Port", "Default text style Ports", "Arial", 20, symlinetypePort),
    MakeBuiltIn("TextStyle_ItemNumber", "Default text style Item Number", "Arial", 30, symlinetypeItemNumber),
    MakeBuiltIn("TextStyle_BOM", "Default text style Bill of Materials", "Arial Narrow", 20, symlinetypeText),
    MakeBuiltIn("TextStyle_Revisions", "Default text style revision history", "Arial Narrow", 20,
                symlinetypeText),
    MakeBuiltIn("TextStyle_IPort", "Default text style IPorts", "Arial", 30, symlinetypePort),
    MakeBuiltIn("TextStyle_RevTriangle", "Default text style revision triangle", "Arial", 20,
                symlinetypeAttribute),
    MakeBuiltIn("TextStyle_ConnectionLineSize", "Default text style Connection Line Sizes", "Arial", 20,
                symlinetypeAttribute),
    MakeBuiltIn("TextStyle_ConnectionLineFlow", "Default text style Connection Line Flows", "Arial", 20,
                symlinetypeAttribute),
    MakeBuiltIn("TextStyle_ConnectionLineVelocity", "Default text style Connection Line Velocities", "Arial",
                20, symlinetypeAttribute),
    MakeBuiltIn("TextStyle_HoseType", "Default text style Hose Type", "Arial", 20, symlinetypeAttribute),
};

// Ordering of ASCII text ignoring case.
int CompareTextAscii(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto upper = [](char c) { return (unsigned char)(c >= 'a' && c <= 'z' ? c - 32 : c); };
        const unsigned char ca = upper(a[i]), cb = upper(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

const TTextStyleData& BuiltInTextStyle(int index) {
    return BuiltIns[std::clamp(index, 0, BuiltInTextStyleCount - 1)];
}

bool IsBuiltInTextStyleName(std::string_view name) {
    return std::any_of(std::begin(BuiltIns), std::end(BuiltIns),
                       [&](const TTextStyleData& d) { return SameTextAscii(d.StyleName, name); });
}

bool TTextStyle::IsDefault() const {
    return std::any_of(std::begin(BuiltIns), std::end(BuiltIns),
                       [&](const TTextStyleData& d) { return d == fData; });
}

void TTextStyle::LoadFromUniCodeFile(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "ENDTEXTSTYLE.")) {
        if (key == "STYLENAME"sv) {
            fData.StyleName = value;
        } else if (key == "DESCRIPTION"sv) {
            fData.Description = value;
        } else if (key == "FONTNAME"sv) {
            fData.FontName = value;
        } else if (key == "DEFAULTHEIGHT"sv) {
            fData.DefaultHeight = ParseRecordInt(value).value_or(20);
        } else if (key == "BOLD"sv) {
            fData.IsBold = YesNoToBool(value);
        } else if (key == "ITALIC"sv) {
            fData.IsItalic = YesNoToBool(value);
        } else if (key == "UNDERLINE"sv) {
            fData.IsUnderline = YesNoToBool(value);
        } else if (key == "STRIKEOUT"sv) {
            fData.IsStrikeOut = YesNoToBool(value);
        } else if (key == "SYMLINETYPE"sv) {
            int t = IndexOfName(value, SymLineTypeNames, SymLineTypeCount);
            fData.SymLineType = t < 0 ? symlinetypeNone : TSymLineType(t);
        } else if (key == "USEDEFAULTCOLOR"sv) {
            fData.UseDefaultColor = YesNoToBool(value);
        } else if (key == "STYLECOLOR"sv) {
            if (auto v = ParseRecordInt(value)) fData.StyleColor = TColor(*v);
        }
    }
}

bool TTextStyle::SaveToUniCodeFile(TRecordWriter& writer) const {
    if (IsDefault()) return false;
    const TTextStyleData def;
    writer.WriteRecordLine("");
    writer.WriteRecordLine("TextStyle:");
    writer.WriteKey("  StyleName", fData.StyleName);
    writer.WriteStringIfChanged("  Description", fData.Description, def.Description);
    writer.WriteStringIfChanged("  FontName", fData.FontName, def.FontName);
    writer.WriteIntIfChanged("  DefaultHeight", fData.DefaultHeight, def.DefaultHeight);
    writer.WriteBoolIfChanged("  Bold", fData.IsBold, false);
    writer.WriteBoolIfChanged("  Italic", fData.IsItalic, false);
    writer.WriteBoolIfChanged("  Underline", fData.IsUnderline, false);
    writer.WriteBoolIfChanged("  StrikeOut", fData.IsStrikeOut, false);
    if (fData.SymLineType != def.SymLineType)
        writer.WriteKey("  SymLineType", SymLineTypeNames[fData.SymLineType]);
    writer.WriteBoolIfChanged("  UseDefaultColor", fData.UseDefaultColor, true);
    writer.WriteIntIfChanged("  StyleColor", int32_t(fData.StyleColor), int32_t(def.StyleColor));
    writer.WriteRecordLine("EndTextStyle.");
    return true;
}

// ---------------------------------------------------------------------------------------------

TTextStyle* TTextStyleList::Add() {
    fList.push_back(std::make_unique<TTextStyle>());
    return fList.back().get();
}

int TTextStyleList::IndexOf(std::string_view styleName) const {
    for (int i = 0; i < GetCount(); ++i)
        if (SameTextAscii(fList[size_t(i)]->fData.StyleName, styleName)) return i;
    return -1;
}

const TTextStyle* TTextStyleList::Find(std::string_view styleName) const {
    int i = IndexOf(styleName);
    return i < 0 ? nullptr : fList[size_t(i)].get();
}

int32_t TTextStyleList::GetDefaultHeightOf(std::string_view styleName) const {
    const TTextStyle* s = Find(styleName);
    return s ? s->fData.DefaultHeight : 20;
}

void TTextStyleList::AddDefaults() {
    for (const TTextStyleData& builtIn : BuiltIns) {
        int i = IndexOf(builtIn.StyleName);
        if (i >= 0)
            fList[size_t(i)]->fData.SymLineType = builtIn.SymLineType;
        else
            Add()->fData = builtIn;
    }
    Sort();
}

void TTextStyleList::Sort() {
    // Built-in names sort under "A", the drawing's own under "Z". A stable sort by these keys
    // gives the order of the exchange sort for any list without two names equal ignoring case,
    // and stays fast for files with very many styles.
    std::vector<std::string> keys(fList.size());
    for (size_t i = 0; i < fList.size(); ++i) {
        const std::string& name = fList[i]->fData.StyleName;
        keys[i] = (IsBuiltInTextStyleName(name) ? "A" : "Z") + name;
    }
    std::vector<size_t> order(fList.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return CompareTextAscii(keys[a], keys[b]) < 0; });
    std::vector<std::unique_ptr<TTextStyle>> sorted;
    sorted.reserve(fList.size());
    for (size_t i : order)
        sorted.push_back(std::move(fList[i]));
    fList = std::move(sorted);
}

void TTextStyleList::Append(const TTextStyleList& source) {
    for (const auto& s : source.fList)
        if (IndexOf(s->fData.StyleName) < 0) Add()->Assign(*s);
    Sort();
}

void TTextStyleList::Delete(int index) {
    if (index >= 0 && index < GetCount()) fList.erase(fList.begin() + index);
}

void TTextStyleList::Exchange(int a, int b) {
    if (a >= 0 && b >= 0 && a < GetCount() && b < GetCount()) std::swap(fList[size_t(a)], fList[size_t(b)]);
}

void TTextStyleList::Assign(const TTextStyleList& source) {
    if (&source == this) return;
    Clear();
    for (const auto& s : source.fList)
        Add()->Assign(*s);
}

bool TTextStyleList::Compare(const TTextStyleList& second) const {
    if (GetCount() != second.GetCount()) return false;
    for (size_t i = 0; i < fList.size(); ++i)
        if (!fList[i]->Compare(*second.fList[i])) return false;
    return true;
}

std::vector<std::string> TTextStyleList::ToStrings(std::string_view defaultStyle,
                                                   std::string_view defaultWord) const {
    std::vector<std::string> out;
    out.reserve(fList.size());
    for (const auto& s : fList) {
        std::string entry = s->fData.StyleName;
        if (SameTextAscii(entry, defaultStyle)) entry += " (" + std::string(defaultWord) + ")";
        out.push_back(std::move(entry));
    }
    return out;
}

void TTextStyleList::SaveToUniCodeFile(TRecordWriter& writer) const {
    for (const auto& s : fList)
        s->SaveToUniCodeFile(writer);
}

void TTextStyleList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& s : fList) {
        const TTextStyleData& d = s->fData;
        w.BeginObject();
        w.Field("Class", "TTextStyle");
        w.Key("Data");
        w.BeginObject();
        w.Field("StyleName", d.StyleName);
        w.Field("Description", d.Description);
        w.Field("FontName", d.FontName);
        w.Field("DefaultHeight", d.DefaultHeight);
        w.Field("IsBold", d.IsBold);
        w.Field("IsItalic", d.IsItalic);
        w.Field("IsUnderline", d.IsUnderline);
        w.Field("IsStrikeOut", d.IsStrikeOut);
        w.Field("SymLineType", LineTypeIdent(d.SymLineType));
        w.Field("UseDefaultColor", d.UseDefaultColor);
        w.ColorField("StyleColor", d.StyleColor);
        w.EndObject();
        w.EndObject();
    }
    w.EndArray();
}
