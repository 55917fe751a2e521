#include "objects/TextObjects.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"
#include "model/TextStyles.h"
#include "render/PointUtils.h"

using namespace std::string_view_literals;

// ---------------------------------------------------------------------------------------------
// Text boxes

TTextBoxSides TextBoxSides(TTextAlign align, int32_t w, int32_t h, int32_t a, int32_t b) {
    auto sat = [](int64_t v) { return ClampToInt32(v); };
    switch (align) {
    case taRight:
        return {sat(int64_t(w) + a), a, sat(int64_t(h) + b), b};
    case taCenter:
        return {sat(int64_t(a) + w / 2), sat(int64_t(a) + w / 2), sat(int64_t(h) + b), b};
    case taMiddle:
        return {sat(int64_t(a) + w / 2), sat(int64_t(a) + w / 2), sat(int64_t(b) + h / 2),
                sat(int64_t(b) + h / 2)};
    case taLeft:
    default:
        return {a, sat(int64_t(w) + a), sat(int64_t(h) + b), b};
    }
}

void TextBoxCorners(TPoint p, const TTextBoxSides& s, bool rotated90, TPoint& c1, TPoint& c2) {
    if (rotated90) {
        c1 = p + TPoint(-s.Above, -s.Left);
        c2 = p + TPoint(s.Below, s.Right);
    } else {
        c1 = p + TPoint(-s.Left, s.Above);
        c2 = p + TPoint(s.Right, -s.Below);
    }
}

bool TextBoxHitTest(TPoint c1, TPoint c2, TPoint pt, double minPickDistance) {
    return PointInRect(pt, InflateRectBy(TRect(c1, c2), Round(minPickDistance)));
}

bool TextBoxHitTestRect(TPoint c1, TPoint c2, const TRect& rt) {
    const TRect box = NormalRectFromPoints(c1, c2);
    const TRect area = NormalRectFromPoints(rt.P1, rt.P2);
    if (rt.P2.X < rt.P1.X) {
        // Crossing: touching is enough, including a box that covers the whole area.
        return box.P1.X <= area.P2.X && area.P1.X <= box.P2.X && box.P1.Y <= area.P2.Y &&
               area.P1.Y <= box.P2.Y;
    }
    return PointInRect(box.P1, area) && PointInRect(box.P2, area);
}

namespace {

bool ReadInt(const std::string& value, int32_t& field) {
    if (auto v = ParseRecordInt(value)) field = *v;
    return true;
}

// Texts and attributes are siblings in the object tree, not kin: they share their text fields
// by name, so the helpers below take either object.

// The keys both variants of the format write.
template <class TTextObject>
bool LoadPlacementKey(TTextObject& o, const std::string& key, const std::string& value) {
    if (key == "HEIGHT"sv) return ReadInt(value, o.fHeight);
    if (key == "ROTATION"sv) return ReadInt(value, o.fRotation);
    if (key != "ALIGN"sv) return false;
    const int a = IndexOfName(value, TextAlignNames, 4);
    if (a >= 0) o.fAlign = TTextAlign(a);
    return true;
}

// The style keys, which the legacy variant does not know.
template <class TTextObject>
bool LoadStyleKey(TTextObject& o, const std::string& key, const std::string& value) {
    if (key == "TEXTSTYLE"sv)
        o.fTextStyleName = value;
    else if (key == "BORDER"sv)
        o.fBorder = BorderStyleOfName(value);
    else
        return LoadOverrideTextStyleKey(o.fOverrideTextStyleSettings, key, value);
    return true;
}

// Before the first measurement the box is not known and the anchor stands in for it.
bool HitTestTextBox(const TSymbolObject& o, TPoint pt, double minPickDistance) {
    if (!o.fExtents.Defined) return PointDist(pt, o.fP1) <= minPickDistance;
    return TextBoxHitTest(o.fExtents.C1, o.fExtents.C2, pt, minPickDistance);
}

bool HitTestTextBoxRect(const TSymbolObject& o, const TRect& rt) {
    if (!o.fExtents.Defined) return TextBoxHitTestRect(o.fP1, o.fP1, rt);
    return TextBoxHitTestRect(o.fExtents.C1, o.fExtents.C2, rt);
}

// The box added to what the children cover; a hidden object adds neither.
TExtentsRect AddTextBox(const TSymbolObject& o, TExtentsRect withChildren) {
    if (o.fTemporaryHidden & temphiddenAll) return withChildren;
    if (o.fExtents.Defined) {
        ExtentsAddPoint(o.fExtents.C1, withChildren);
        ExtentsAddPoint(o.fExtents.C2, withChildren);
    } else {
        ExtentsAddPoint(o.fP1, withChildren);
    }
    return withChildren;
}

template <class TTextObject> void TakeStyleHeight(TTextObject& o, const TTextStyleList& styles) {
    o.fHeight = styles.GetDefaultHeightOf(o.fTextStyleName);
    o.fExtents.Defined = false;
}

std::string TrimRightBlanks(const std::string& s) {
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(0, e);
}

// Numbers are formatted with "." and shown with the separator of the number format in use.
std::string WithSeparator(std::string text, char decimalSeparator) {
    if (decimalSeparator != '.') std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectText

void TSymbolObjectText::SetDefaults() {
    TSymbolObject::SetDefaults();
    fTextStyleName = "TextStyle_Text";
    fAlign = taLeft;
    fCaptionList.clear();
    fHeight = 20;
    fRotation = 0;
    fDoNotTranslateInOutput = false;
    fOverrideTextStyleSettings = {};
    fBorder = symborderstyleNone;
}

void TSymbolObjectText::CorrectEmpty(bool addChar) {
    for (auto& line : fCaptionList)
        line = TrimRightBlanks(line);
    while (!fCaptionList.empty() && fCaptionList.back().empty())
        fCaptionList.pop_back();
    if (fCaptionList.empty() && addChar) fCaptionList.push_back("?");
    fExtents.Defined = false;
}

bool TSymbolObjectText::LoadCommonKey(TRecordReader& reader, const std::string& key,
                                      const std::string& value) {
    if (!TSymbolObject::LoadCommonKey(reader, key, value)) return false;
    // A text drawn in another line type's colour does not take the style's colour or font.
    if (fSymLineType != symlinetypeText) {
        fOverrideTextStyleSettings.UseStyleDefault = false;
        fOverrideTextStyleSettings.UseStyleColor = false;
    }
    return true;
}

bool TSymbolObjectText::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    if (LoadPlacementKey(*this, key, value)) return true;
    if (key == "CAPTION"sv) {
        fCaptionList.push_back(value);
        return true;
    }
    if (reader.IsLegacy()) return false;
    if (key == "DONOTTRANSLATEINOUTPUT"sv) {
        fDoNotTranslateInOutput = YesNoToBool(value);
        return true;
    }
    return LoadStyleKey(*this, key, value);
}

std::vector<std::string> TSymbolObjectText::DrawnLines() const {
    if (IsMultiLine() || fCaptionList.size() <= 1) return fCaptionList;
    return {fCaptionList.front()};
}

bool TSymbolObjectText::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestTextBox(*this, pt, minPickDistance);
}

bool TSymbolObjectText::HitTestRect(const TRect& rt) const {
    return HitTestTextBoxRect(*this, rt);
}

TExtentsRect TSymbolObjectText::Extents(TExtentsRect current) const {
    return AddTextBox(*this, TSymbolObject::Extents(current));
}

void TSymbolObjectText::ReplaceTextHeights(const TTextStyleList& styles) {
    TSymbolObject::ReplaceTextHeights(styles);
    TakeStyleHeight(*this, styles);
}

void TSymbolObjectText::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("TextStyleName", fTextStyleName);
    w.Field("Align", TextAlignIdent(fAlign));
    w.Field("CaptionList", fCaptionList);
    w.Field("Height", fHeight);
    w.Field("Rotation", fRotation);
    w.Field("DoNotTranslateInOutput", fDoNotTranslateInOutput);
    w.Key("OverrideTextStyleSettings");
    DumpOverrideTextStyleSettings(w, fOverrideTextStyleSettings);
    w.Field("Border", BorderStyleIdent(fBorder));
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectAttribute

TSymbolObjectAttribute* CreateAttribute(TSymbolObject& owner, TSpecialAttribute tag, int32_t newHandle) {
    if (auto* existing = dynamic_cast<TSymbolObjectAttribute*>(owner.GetAttribute(tag))) return existing;
    if (tag == saNone) return nullptr;
    auto* a = dynamic_cast<TSymbolObjectAttribute*>(owner.fSymbolObjectList.Add(somAttribute));
    if (!a) return nullptr;
    a->fTag = std::string(SpecialAttributeTag(tag));
    a->fP1 = owner.fP1;
    a->fHandle = newHandle;
    return a;
}

void TSymbolObjectAttribute::SetDefaults() {
    TSymbolObject::SetDefaults();
    fAlign = taLeft;
    fTag.clear();
    fValue.clear();
    fDefaultValue.clear();
    fFloatValue = 0;
    fHeight = 20;
    fRotation = 0;
    fDecimals = 0;
    fFloatingPoint = false;
    fTextStyleName = "TextStyle_Attribute";
    fBorder = symborderstyleNone;
    fOverrideTextStyleSettings = {};
}

bool TSymbolObjectAttribute::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                        const std::string& value) {
    if (LoadPlacementKey(*this, key, value)) return true;
    if (key == "DECIMALS"sv) return ReadInt(value, fDecimals);
    if (key == "VALUE"sv) {
        fValue = value;
    } else if (key == "DEFAULTVALUE"sv) {
        fDefaultValue = value;
    } else if (key == "FLOATVALUE"sv) {
        fFloatValue = ParseRecordFloat(value, fFloatValue);
    } else if (key == "TAG"sv) {
        fTag = value;
    } else if (key == "FLOATINGPOINT"sv) {
        fFloatingPoint = YesNoToBool(value);
    } else if (reader.IsLegacy()) {
        return false;
    } else {
        return LoadStyleKey(*this, key, value);
    }
    return true;
}

std::string FormatAttributeValue(double value, int32_t decimals, char decimalSeparator) {
    if (!std::isfinite(value)) value = 0;
    // More decimals than a double carries digits would only print noise.
    decimals = std::clamp(decimals, 0, std::numeric_limits<double>::max_digits10);
    if (decimals > 0) {
        // Single precision first (when the value fits one), then 7 significant digits.
        double v = std::fabs(value) <= double(FLT_MAX) ? double(float(value)) : value;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.6e", v);
        v = ParseRecordFloat(buf, v);
        return WithSeparator(FormatFixed(v, decimals), decimalSeparator);
    }
    std::string s = FormatFixed(value, 5);
    TrimTrailingZeros(s);
    if (s == "-0") s = "0";
    return WithSeparator(std::move(s), decimalSeparator);
}

std::string TSymbolObjectAttribute::GetCaption(char decimalSeparator) const {
    if (fFloatingPoint) {
        const std::string formatted = FormatAttributeValue(fFloatValue, fDecimals, decimalSeparator);
        if (fDefaultValue.empty()) return formatted;
        const std::string& replacement = fFloatValue == 0 ? std::string("**") : formatted;
        std::string out;
        size_t start = 0;
        for (size_t p; (p = fDefaultValue.find("<>", start)) != std::string::npos; start = p + 2)
            out.append(fDefaultValue, start, p - start).append(replacement);
        out.append(fDefaultValue, start);
        return out;
    }
    if (!fValue.empty()) return fValue;
    if (!fDefaultValue.empty()) return fDefaultValue;
    return fTag;
}

void TSymbolObjectAttribute::Rotate90Degrees() {
    if (IsGraphic())
        fRotation = ((fRotation % 360) + 360 + 90) % 360;
    else
        fRotation = fRotation == 0 ? 90 : 0;
    fExtents.Defined = false;
}

bool TSymbolObjectAttribute::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestTextBox(*this, pt, minPickDistance);
}

bool TSymbolObjectAttribute::HitTestRect(const TRect& rt) const {
    return HitTestTextBoxRect(*this, rt);
}

TExtentsRect TSymbolObjectAttribute::Extents(TExtentsRect current) const {
    return AddTextBox(*this, TSymbolObject::Extents(current));
}

void TSymbolObjectAttribute::ReplaceTextHeights(const TTextStyleList& styles) {
    TSymbolObject::ReplaceTextHeights(styles);
    TakeStyleHeight(*this, styles);
}

void TSymbolObjectAttribute::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("Align", TextAlignIdent(fAlign));
    w.Field("Tag", fTag);
    w.Field("Value", fValue);
    w.Field("DefaultValue", fDefaultValue);
    w.Field("FloatValue", fFloatValue);
    w.Field("Height", fHeight);
    w.Field("Rotation", fRotation);
    w.Field("Decimals", fDecimals);
    w.Field("FloatingPoint", fFloatingPoint);
    w.Field("TextStyleName", fTextStyleName);
    w.Field("Border", BorderStyleIdent(fBorder));
    w.Key("OverrideTextStyleSettings");
    DumpOverrideTextStyleSettings(w, fOverrideTextStyleSettings);
}

// ---------------------------------------------------------------------------------------------
// Arrows of graphic attributes

std::vector<TAttributeArrow> GraphicAttributeArrows(TSpecialAttribute attribute, int32_t rotation, TPoint a,
                                                    TPoint b) {
    auto mid = [](int32_t p, int32_t q) { return int32_t((int64_t(p) + q) / 2); };
    auto third = [](int32_t p, int32_t q) { return int32_t((int64_t(p) - q) / 3); };
    auto arrow = [](TPoint to, TPoint from) { return TAttributeArrow{to, from}; };
    enum { Single, Right, Double, Both } kind;
    switch (attribute) {
    case saConnectionLineSingleArrow:
    case saConnectionLineSingleArrow2:
        kind = Single;
        break;
    case saConnectionLineSingleRightArrow:
    case saConnectionLineSingleRightArrow2:
        kind = Right;
        break;
    case saConnectionLineDoubleArrow:
    case saConnectionLineDoubleArrow2:
        kind = Double;
        break;
    case saConnectionLineBothArrows:
    case saConnectionLineBothArrows2:
        kind = Both;
        break;
    default:
        return {};
    }
    if (rotation == 0 || rotation == 180) {
        const int32_t y = mid(a.Y, b.Y);
        const TPoint a1(a.X, y), b1(b.X, y);
        switch (kind) {
        case Single:
            return {rotation == 0 ? arrow(a1, b1) : arrow(b1, a1)};
        case Right:
            return {rotation == 0 ? arrow(b1, a1) : arrow(a1, b1)};
        case Double: {
            const int32_t c = third(a.Y, b.Y);
            return {arrow({a.X, y - c}, {b.X, y - c}), arrow({b.X, y + c}, {a.X, y + c})};
        }
        case Both:
            return {arrow(a1, {mid(a.X, b.X), y}), arrow(b1, {mid(a.X, b.X), y})};
        }
    }
    const int32_t x = mid(a.X, b.X);
    const TPoint a1(x, a.Y), b1(x, b.Y);
    switch (kind) {
    case Single:
        return {rotation == 90 ? arrow(a1, b1) : arrow(b1, a1)};
    case Right:
        return {rotation == 90 ? arrow(b1, a1) : arrow(a1, b1)};
    case Double: {
        const int32_t c = third(a.X, b.X);
        return {arrow({x - c, a.Y}, {x - c, b.Y}), arrow({x + c, b.Y}, {x + c, a.Y})};
    }
    case Both:
        return {arrow(a1, {x, mid(a.Y, b.Y)}), arrow(b1, {x, mid(a.Y, b.Y)})};
    }
    return {};
}
