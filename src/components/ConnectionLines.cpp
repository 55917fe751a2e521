#include "components/ConnectionLines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "model/BOM.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/TextObjects.h"
#include "render/PointUtils.h"

using namespace std::string_view_literals;

namespace {

// Keys "X" and "Y" up to "END."; a missing or bad coordinate is 0.
TPoint ReadPointRecord(TRecordReader& reader) {
    TPoint p;
    std::string key, value;
    while (reader.NextKey(key, value, "END.")) {
        if (key == "X"sv)
            p.X = ParseRecordInt(value).value_or(0);
        else if (key == "Y"sv)
            p.Y = ParseRecordInt(value).value_or(0);
    }
    return p;
}

TSymLineStyle LineStyleOfName(const std::string& value) {
    int s = IndexOfName(value, SymLineStyleNames, SymLineStyleCount);
    return s < 0 ? symlinestyleDefault : TSymLineStyle(s);
}

// The sub-group keys that older files stored with every object that has groups.
bool LoadLegacyGroupKey(TSymbolObjectWithGroups& obj, const std::string& key, const std::string& value) {
    if (key == "SYMGROUPCOLOR"sv) {
        if (auto v = ParseRecordInt(value)) obj.EditSubGroupData().Color = TColor(*v);
        return true;
    }
    if (key == "SYMGROUPLINE"sv) {
        obj.EditSubGroupData().SymLineStyle = LineStyleOfName(value);
        return true;
    }
    return false;
}

void ReplaceFirst(std::string& text, std::string_view what, const std::string& by) {
    size_t p = text.find(what);
    if (p != std::string::npos) text.replace(p, what.size(), by);
}

void ReplaceFirstIgnoringCase(std::string& text, std::string_view what, const std::string& by) {
    const std::string upper = UpperAscii(text);
    size_t p = upper.find(UpperAscii(what));
    if (p != std::string::npos) text.replace(p, what.size(), by);
}

void DumpPointList(TJsonWriter& w, std::string_view key, const TPointList& list) {
    w.Key(key);
    w.BeginArray();
    for (const TPoint& p : list.Items)
        w.Point(p);
    w.EndArray();
}

struct TPointHash {
    size_t operator()(const TPoint& p) const {
        return std::hash<uint64_t>()((uint64_t(uint32_t(p.X)) << 32) | uint32_t(p.Y));
    }
};

bool IsCrossingRect(const TRect& rt) {
    return rt.P2.X < rt.P1.X;
}

} // namespace

std::string_view JumpModeIdent(TJumpMode mode) {
    static constexpr std::string_view names[] = {"jmNone", "jmVertRight", "jmVertLeft", "jmHorzUp",
                                                 "jmHorzDown"};
    return mode <= jmHorzDown ? names[mode] : names[0];
}

namespace {

// Fixed-point text of the value first cut to the significant digits, with exactly the decimals
// asked for; halves round away from zero, as the program's number output does.
std::string FixedText(double value, int significant, int decimals) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    std::string s(buf, r.ptr);
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    const size_t e = s.find('e');
    const int exponent = std::atoi(s.c_str() + e + 1);
    std::string digits;
    for (size_t i = 0; i < e; ++i)
        if (s[i] != '.') digits += s[i];
    // digits holds 0.d1d2... x 10^(exponent + 1); the first `keep` of them are the value times
    // 10^decimals, rounded.
    const int keep = exponent + 1 + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (size_t(keep) < digits.size()) {
        const bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0 && digits[size_t(i)] == '9'; --i)
                digits[size_t(i)] = '0';
            if (i >= 0)
                ++digits[size_t(i)];
            else
                digits.insert(digits.begin(), '1');
        }
    } else {
        digits.append(size_t(keep) - digits.size(), '0');
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    const bool zero = digits.empty();
    if (digits.size() <= size_t(decimals)) digits.insert(0, size_t(decimals) + 1 - digits.size(), '0');
    if (decimals > 0) digits.insert(digits.size() - size_t(decimals), ".");
    return negative && !zero ? "-" + digits : digits;
}

} // namespace

std::string FormatMeasure(int32_t precision, double value, char decimalSeparator) {
    if (!std::isfinite(value)) value = 0;
    std::string s;
    if (precision == 0) {
        s = FixedText(value, 15, 5);
        TrimTrailingZeros(s);
    } else {
        // The precision comes from the file: it is held to what a double can show, so that no
        // file can ask for endless digits.
        s = FixedText(value, 7, std::clamp(precision, 0, 18));
    }
    if (decimalSeparator != '.') std::replace(s.begin(), s.end(), '.', decimalSeparator);
    return s;
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectConnectionLine

void TSymbolObjectConnectionLine::SetDefaults() {
    TSymbolObjectWithGroups::SetDefaults();
    fO1 = fO2 = {};
    fPort1Handle = fPort2Handle = -1;
    fDrawPoints.Items.clear();
    fCrossPoints.Items.clear();
    fJumpMode = jmNone;
    fNonOrthoAllowed = false;
    fConnectionLineData = {};
    InvalidateDrawCache();
}

bool TSymbolObjectConnectionLine::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                             const std::string& value) {
    const bool legacy = reader.IsLegacy();
    if (TSymbolObjectWithGroups::LoadOwnKey(reader, key, value)) return true;
    TConnectionLineData& d = fConnectionLineData;
    const TConnectionLineData def;
    auto flt = [&](double& f, double fallback) { f = ParseRecordFloat(value, fallback); };
    auto prec = [&](int32_t& p, int32_t fallback) { p = ParseRecordInt(value).value_or(fallback); };
    if (key == "PORT1HANDLE"sv) {
        if (auto v = ParseRecordInt(value)) fPort1Handle = *v;
    } else if (key == "PORT2HANDLE"sv) {
        if (auto v = ParseRecordInt(value)) fPort2Handle = *v;
    } else if (key == "POINT:"sv) {
        fDrawPoints.Items.push_back(ReadPointRecord(reader));
        InvalidateDrawCache();
    } else if (key == "CROSSPOINT:"sv) {
        fCrossPoints.Items.push_back(ReadPointRecord(reader));
        InvalidateDrawCache();
    } else if (key == "DIAMETER"sv) {
        flt(d.Diameter, def.Diameter);
    } else if (key == "PRECISIONDIAMETER"sv) {
        prec(d.PrecisionDiameter, def.PrecisionDiameter);
    } else if (key == "WALL"sv) {
        flt(d.Wall, def.Wall);
    } else if (key == "PRECISIONWALL"sv) {
        prec(d.PrecisionWall, def.PrecisionWall);
    } else if (legacy) {
        return LoadLegacyGroupKey(*this, key, value);
    } else if (key == "SYMGROUPLINE"sv) {
        fSymLineStyle = LineStyleOfName(value);
    } else if (key == "NONORTHOALLOWED"sv) {
        fNonOrthoAllowed = YesNoToBool(value);
    } else if (key == "FLOW"sv) {
        flt(d.Flow, def.Flow);
    } else if (key == "PRECISIONFLOW"sv) {
        prec(d.PrecisionFlow, def.PrecisionFlow);
    } else if (key == "VELOCITY"sv) {
        flt(d.Velocity, def.Velocity);
    } else if (key == "PRECISIONVELOCITY"sv) {
        prec(d.PrecisionVelocity, def.PrecisionVelocity);
    } else if (key == "FLOW2"sv) {
        flt(d.Flow2, def.Flow2);
    } else if (key == "PRECISIONFLOW2"sv) {
        prec(d.PrecisionFlow2, def.PrecisionFlow2);
    } else if (key == "VELOCITY2"sv) {
        flt(d.Velocity2, def.Velocity2);
    } else if (key == "PRECISIONVELOCITY2"sv) {
        prec(d.PrecisionVelocity2, def.PrecisionVelocity2);
    } else {
        return false;
    }
    return true;
}

bool TSymbolObjectConnectionLine::HitTest(TPoint pt, double minPickDistance) const {
    const auto& p = fDrawPoints.Items;
    for (size_t i = 1; i < p.size(); ++i)
        if (PointSegmentDistance(pt, p[i - 1], p[i]) <= minPickDistance) return true;
    return false;
}

bool TSymbolObjectConnectionLine::HitTestRect(const TRect& rt) const {
    const auto& p = fDrawPoints.Items;
    if (p.size() < 2) return false;
    if (IsCrossingRect(rt)) {
        for (size_t i = 1; i < p.size(); ++i)
            if (SegmentMeetsRect(rt, p[i - 1], p[i])) return true;
        return false;
    }
    return std::all_of(p.begin(), p.end(), [&](const TPoint& q) { return PointInRect(q, rt); });
}

TExtentsRect TSymbolObjectConnectionLine::Extents(TExtentsRect current) const {
    if (fTemporaryHidden & temphiddenAll) return current;
    current = TSymbolObjectWithGroups::Extents(current);
    for (const TPoint& p : fDrawPoints.Items)
        ExtentsAddPoint(p, current);
    return current;
}

std::string TSymbolObjectConnectionLine::GetSizeText(const std::string& defaultSizeText,
                                                     char decimalSeparator) const {
    const TConnectionLineData& d = fConnectionLineData;
    std::string text = defaultSizeText;
    ReplaceFirst(
        text, "<>",
        FormatMeasure(d.PrecisionDiameter, DisplayValue(TUnitKind::Size, d.Diameter), decimalSeparator));
    std::string wall =
        FormatMeasure(d.PrecisionWall, DisplayValue(TUnitKind::Size, d.Wall), decimalSeparator);
    // Imperial wall thicknesses are written the way catalogues print them: ".125".
    if (!IsMetric(TUnitKind::Size) && wall.size() > 2 && wall[0] == '0') wall.erase(0, 1);
    ReplaceFirst(text, "<>", wall);
    return text;
}

namespace {
std::string ValueText(const std::string& defaultText, TUnitKind kind, double value, int32_t precision,
                      char decimalSeparator) {
    std::string text = defaultText;
    ReplaceFirst(text, "<>", FormatMeasure(precision, DisplayValue(kind, value), decimalSeparator));
    ReplaceFirstIgnoringCase(text, "%u", UnitText(kind));
    return text;
}
} // namespace

std::string TSymbolObjectConnectionLine::GetFlowText(const std::string& defaultFlowText,
                                                     char decimalSeparator) const {
    return ValueText(defaultFlowText, TUnitKind::Flow, fConnectionLineData.Flow,
                     fConnectionLineData.PrecisionFlow, decimalSeparator);
}

std::string TSymbolObjectConnectionLine::GetFlow2Text(const std::string& defaultFlowText,
                                                      char decimalSeparator) const {
    return ValueText(defaultFlowText, TUnitKind::Flow, fConnectionLineData.Flow2,
                     fConnectionLineData.PrecisionFlow2, decimalSeparator);
}

std::string TSymbolObjectConnectionLine::GetVelocityText(const std::string& defaultVelocityText,
                                                         char decimalSeparator) const {
    return ValueText(defaultVelocityText, TUnitKind::Velocity, fConnectionLineData.Velocity,
                     fConnectionLineData.PrecisionVelocity, decimalSeparator);
}

std::string TSymbolObjectConnectionLine::GetVelocity2Text(const std::string& defaultVelocityText,
                                                          char decimalSeparator) const {
    return ValueText(defaultVelocityText, TUnitKind::Velocity, fConnectionLineData.Velocity2,
                     fConnectionLineData.PrecisionVelocity2, decimalSeparator);
}

TSymbolObjectAttribute* TSymbolObjectConnectionLine::AttributeChild(const TSymbolObject& owner,
                                                                    TSpecialAttribute attribute) {
    for (const auto& o : owner.fSymbolObjectList)
        if (auto* a = dynamic_cast<TSymbolObjectAttribute*>(o.get());
            a && a->IsSpecialAttribute() == attribute)
            return a;
    return nullptr;
}

namespace {
TSymbolObjectAttribute* LastArrow(const TSymbolObject& owner,
                                  std::initializer_list<TSpecialAttribute> kinds) {
    TSymbolObjectAttribute* last = nullptr;
    for (const auto& o : owner.fSymbolObjectList)
        if (auto* a = dynamic_cast<TSymbolObjectAttribute*>(o.get()))
            if (std::find(kinds.begin(), kinds.end(), a->IsSpecialAttribute()) != kinds.end()) last = a;
    return last;
}
} // namespace

TSymbolObjectAttribute* TSymbolObjectConnectionLine::AttributeArrow() const {
    return LastArrow(*this, {saConnectionLineSingleArrow, saConnectionLineSingleRightArrow,
                             saConnectionLineDoubleArrow, saConnectionLineBothArrows});
}

TSymbolObjectAttribute* TSymbolObjectConnectionLine::AttributeArrow2() const {
    return LastArrow(*this, {saConnectionLineSingleArrow2, saConnectionLineSingleRightArrow2,
                             saConnectionLineDoubleArrow2, saConnectionLineBothArrows2});
}

int TSymbolObjectConnectionLine::FindSegment(const TPoint& pt) const {
    const auto& p = fDrawPoints.Items;
    for (int s = int(p.size()) - 2; s >= 0; --s)
        if (PointInRect(pt, TRect(p[size_t(s)], p[size_t(s) + 1]))) return s;
    return -1;
}

namespace {

// Looks points up in a list that grows: by scanning while it is short, by hashing once long.
class TPointSet {
public:
    // Index of the point, or -1.
    int64_t IndexOf(const std::vector<TTaggedPoint>& items, const TPoint& p) {
        if (items.size() < HashFrom) {
            for (size_t k = 0; k < items.size(); ++k)
                if (items[k].Pt == p) return int64_t(k);
            return -1;
        }
        if (fIndexed < items.size()) {
            for (; fIndexed < items.size(); ++fIndexed)
                fIndex.emplace(items[fIndexed].Pt, fIndexed);
        }
        auto it = fIndex.find(p);
        return it == fIndex.end() ? -1 : int64_t(it->second);
    }

private:
    static constexpr size_t HashFrom = 32;
    std::unordered_map<TPoint, size_t, TPointHash> fIndex;
    size_t fIndexed = 0;
};

} // namespace

TTaggedPointList TSymbolObjectConnectionLine::MakeTmpDrawPoints() const {
    TTaggedPointList result;
    const auto& draw = fDrawPoints.Items;
    auto& items = result.Items;
    items.reserve(draw.size() + fCrossPoints.Items.size());
    if (fCrossPoints.Items.empty()) {
        for (const TPoint& p : draw)
            items.push_back({TagCorner, p});
        return result;
    }
    // The cross points by segment, nearest to the segment's start first, equal distances in the
    // order of fCrossPoints; a repeated cross point counts once.
    struct TCrossing {
        int Segment;
        double Distance;
        TPoint Pt;
    };
    std::vector<TCrossing> crossings;
    {
        std::vector<TTaggedPoint> seen;
        TPointSet seenSet;
        for (const TPoint& c : fCrossPoints.Items) {
            if (seenSet.IndexOf(seen, c) >= 0) continue;
            seen.push_back({0, c});
            const int s = FindSegment(c);
            if (s >= 0) crossings.push_back({s, PointDist(draw[size_t(s)], c), c});
        }
    }
    std::stable_sort(crossings.begin(), crossings.end(), [](const TCrossing& a, const TCrossing& b) {
        return a.Segment != b.Segment ? a.Segment < b.Segment : a.Distance < b.Distance;
    });
    TPointSet present;
    size_t next = 0;
    for (size_t i = 0; i < draw.size(); ++i) {
        const TPoint& p = draw[i];
        const int64_t at = present.IndexOf(items, p);
        if (at >= 0)
            items[size_t(at)] = {TagCorner, p};
        else
            items.push_back({TagCorner, p});
        for (; next < crossings.size() && crossings[next].Segment == int(i); ++next)
            if (present.IndexOf(items, crossings[next].Pt) < 0)
                items.push_back({int32_t(i), crossings[next].Pt});
    }
    return result;
}

void TSymbolObjectConnectionLine::CacheDrawPoints() {
    fTmpDrawPoints = MakeTmpDrawPoints();
    fTmpDrawPointsValid = true;
}

void TSymbolObjectConnectionLine::DumpFields(TJsonWriter& w) const {
    TSymbolObjectWithGroups::DumpFields(w);
    w.Field("O1", fO1);
    w.Field("O2", fO2);
    w.Field("Port1Handle", fPort1Handle);
    w.Field("Port2Handle", fPort2Handle);
    DumpPointList(w, "DrawPoints", fDrawPoints);
    DumpPointList(w, "CrossPoints", fCrossPoints);
    w.Field("JumpMode", JumpModeIdent(fJumpMode));
    w.Field("NonOrthoAllowed", fNonOrthoAllowed);
    const TConnectionLineData& d = fConnectionLineData;
    w.Key("ConnectionLineData");
    w.BeginObject();
    w.Field("Diameter", d.Diameter);
    w.Field("PrecisionDiameter", d.PrecisionDiameter);
    w.Field("Wall", d.Wall);
    w.Field("PrecisionWall", d.PrecisionWall);
    w.Field("Flow", d.Flow);
    w.Field("PrecisionFlow", d.PrecisionFlow);
    w.Field("Velocity", d.Velocity);
    w.Field("PrecisionVelocity", d.PrecisionVelocity);
    w.Field("Flow2", d.Flow2);
    w.Field("PrecisionFlow2", d.PrecisionFlow2);
    w.Field("Velocity2", d.Velocity2);
    w.Field("PrecisionVelocity2", d.PrecisionVelocity2);
    w.EndObject();
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectConnectionNode

void TSymbolObjectConnectionNode::SetDefaults() {
    TSymbolObjectWithGroups::SetDefaults();
    fManuallyInserted = false;
}

bool TSymbolObjectConnectionNode::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                             const std::string& value) {
    if (TSymbolObjectWithGroups::LoadOwnKey(reader, key, value)) return true;
    if (reader.IsLegacy()) return LoadLegacyGroupKey(*this, key, value);
    if (key == "MANUALLYINSERTED"sv) {
        fManuallyInserted = YesNoToBool(value);
        return true;
    }
    return false;
}

bool TSymbolObjectConnectionNode::HitTest(TPoint pt, double minPickDistance) const {
    return PointIsNear(pt, fP1, Radius() + minPickDistance);
}

bool TSymbolObjectConnectionNode::HitTestRect(const TRect& rt) const {
    return IsCrossingRect(rt) ? CircleMeetsRect(rt, fP1, Radius()) : CircleInsideRect(rt, fP1, Radius());
}

TExtentsRect TSymbolObjectConnectionNode::Extents(TExtentsRect current) const {
    if (fTemporaryHidden & temphiddenAll) return current;
    current = TSymbolObjectWithGroups::Extents(current);
    ExtentsAddPoint(fP1, current);
    return current;
}

bool TSymbolObjectConnectionNode::IsConnected(const TSymbolObjectList& mainObjectList) const {
    for (const auto& o : mainObjectList)
        if (auto* line = dynamic_cast<const TSymbolObjectConnectionLine*>(o.get());
            line && line->IsConnectedWith(fHandle))
            return true;
    return false;
}

void TSymbolObjectConnectionNode::DumpFields(TJsonWriter& w) const {
    TSymbolObjectWithGroups::DumpFields(w);
    w.Field("ManuallyInserted", fManuallyInserted);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectConnectionLineRef

void TSymbolObjectConnectionLineRef::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fSymLineStyle = symlinestyleBorder;
    fData = {};
}

bool TSymbolObjectConnectionLineRef::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                                const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    if (key == "MATEWITH"sv)
        fData.MateWith = ParseRecordInt(value).value_or(-1);
    else if (key == "SHEETHANDLE"sv)
        fData.SheetHandle = ParseRecordInt(value).value_or(-1);
    else if (key == "SHEETNAMEMATE"sv)
        fData.SheetNameMate = ParseRecordInt(value).value_or(-1);
    else
        return false;
    return true;
}

bool TSymbolObjectConnectionLineRef::HitTest(TPoint pt, double minPickDistance) const {
    return PointSegmentDistance(pt, fP1, fP2) <= minPickDistance;
}

bool TSymbolObjectConnectionLineRef::HitTestRect(const TRect& rt) const {
    if (IsCrossingRect(rt)) return SegmentMeetsRect(rt, fP1, fP2);
    return PointInRect(fP1, rt) && PointInRect(fP2, rt);
}

std::string TSymbolObjectConnectionLineRef::GetSizeText(const std::string& defaultSizeText) const {
    if (fData.SheetNameMate == -1) return defaultSizeText;
    std::string text = defaultSizeText;
    // In 64 bits: the largest sheet number a file can hold still gets its successor.
    ReplaceFirst(text, "<>", std::to_string(int64_t(fData.SheetNameMate) + 1));
    return text;
}

void TSymbolObjectConnectionLineRef::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    w.Key("Data");
    w.BeginObject();
    w.Field("MateWith", fData.MateWith);
    w.Field("SheetHandle", fData.SheetHandle);
    w.Field("SheetNameMate", fData.SheetNameMate);
    w.EndObject();
}
