#include "model/Groups.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"

using namespace std::string_view_literals;

namespace {

template <class TData> void LoadGroup(TRecordReader& reader, TData& d, bool isSub) {
    const bool legacy = reader.IsLegacy();
    std::string key, value;
    while (reader.NextKey(key, value, "END.")) {
        if (key == "CODE"sv) {
            d.Code = value;
        } else if (key == "COLOR"sv) {
            if (auto v = ParseRecordInt(value)) d.Color = TColor(*v);
        } else if (key == "LINESTYLE"sv) {
            int s = IndexOfName(value, SymLineStyleNames, SymLineStyleCount);
            d.SymLineStyle = s < 0 ? symlinestyleDefault : TSymLineStyle(s);
        } else if (key == "LINEWEIGHT"sv) {
            if (auto v = ParseRecordInt(value)) d.LineWeight = *v;
        } else if (legacy) {
            continue;
        } else if (key == "TWOCOLORMODE"sv) {
            d.TwoColorMode = YesNoToBool(value);
        } else if (key == "SECONDCOLOR"sv) {
            if (auto v = ParseRecordInt(value)) d.SecondColor = TColor(*v);
        } else if (isSub && key == "MAINGROUPCODE"sv) {
            if constexpr (requires { d.MainGroupCode; }) d.MainGroupCode = value;
        }
    }
}

template <class TData> void DumpCommon(TJsonWriter& w, const TData& d) {
    w.ColorField("Color", d.Color);
    w.Field("SymLineStyle", LineStyleIdent(d.SymLineStyle));
    w.Field("LineWeight", d.LineWeight);
    w.Field("TwoColorMode", d.TwoColorMode);
    w.ColorField("SecondColor", d.SecondColor);
}

} // namespace

void LoadGroupRecord(TRecordReader& reader, TSymSubGroupData& data) {
    LoadGroup(reader, data, true);
}
void LoadGroupRecord(TRecordReader& reader, TSymMainGroupData& data) {
    LoadGroup(reader, data, false);
}

void DumpGroupData(TJsonWriter& w, const TSymSubGroupData& d) {
    w.BeginObject();
    w.Field("Code", d.Code);
    w.Field("MainGroupCode", d.MainGroupCode);
    DumpCommon(w, d);
    w.EndObject();
}

void DumpGroupData(TJsonWriter& w, const TSymMainGroupData& d) {
    w.BeginObject();
    w.Field("Code", d.Code);
    DumpCommon(w, d);
    w.EndObject();
}

template <class TData> int TSymGroupList<TData>::IndexOf(std::string_view code) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fList[size_t(i)].Code, code)) return i;
    return -1;
}

template <class TData> TData TSymGroupList<TData>::DataOf(std::string_view code) const {
    if (code.empty()) return TData{};
    int i = IndexOf(code);
    return i < 0 ? TData{} : fList[size_t(i)];
}

template <class TData> TData TSymGroupList<TData>::NewData(const TData& current) const {
    if (current.Code.empty()) return TData{};
    int i = IndexOf(current.Code);
    return i < 0 ? current : fList[size_t(i)];
}

template <class TData> void TSymGroupList<TData>::Append(const TSymGroupList& second) {
    for (const TData& d : second.fList)
        if (IndexOf(d.Code) < 0) fList.push_back(d);
}

template class TSymGroupList<TSymSubGroupData>;
template class TSymGroupList<TSymMainGroupData>;

std::string TSymSubGroupList::MainGroupOf(std::string_view code) const {
    int i = IndexOf(code);
    return i < 0 ? std::string() : fList[size_t(i)].MainGroupCode;
}

bool TSymSubGroupList::MainGroupIsUsed(std::string_view mainGroupCode) const {
    for (const auto& g : fList)
        if (SameTextAscii(g.MainGroupCode, mainGroupCode)) return true;
    return false;
}

std::vector<TSymSubGroupData> TSymSubGroupList::CreateFilteredList(std::string_view mainGroupCode) const {
    std::vector<TSymSubGroupData> r;
    for (const auto& g : fList)
        if (SameTextAscii(g.MainGroupCode, mainGroupCode)) r.push_back(g);
    return r;
}

bool TSymSubGroupList::OrganizeToISO() {
    bool changed = false;
    for (auto& g : fList) {
        if (!g.MainGroupCode.empty()) continue;
        std::string code = UpperAscii(g.Code);
        auto has = [&](const char* s) { return code.find(s) != std::string::npos; };
        if (has("P"))
            g.MainGroupCode = "Pressure";
        else if (has("T"))
            g.MainGroupCode = "Reservoir";
        else if (has("X") || has("PILOT"))
            g.MainGroupCode = "Control";
        else if (has("Y") || has("DRAIN"))
            g.MainGroupCode = "Drain";
        else
            g.MainGroupCode = "Working";
        changed = true;
    }
    return changed;
}

bool TSymMainGroupList::AddISOGroups() {
    struct Iso {
        const char* Code;
        TColor Color;
        TSymLineStyle Style;
    };
    static const Iso iso[] = {{"Pressure", 32767, symlinestyleSolid},
                              {"Reservoir", 16760576, symlinestyleSolid},
                              {"Control", 32767, symlinestyleDashed},
                              {"Drain", 16760576, symlinestyleHidden},
                              {"Working", 65407, symlinestyleSolid}};
    bool changed = false;
    for (const Iso& g : iso) {
        TSymMainGroupData d;
        d.Code = g.Code;
        d.Color = g.Color;
        d.SymLineStyle = g.Style;
        d.LineWeight = 20;
        int i = IndexOf(g.Code);
        if (i < 0) {
            fList.push_back(d);
            changed = true;
        } else if (!(fList[size_t(i)] == d)) {
            fList[size_t(i)] = d;
            changed = true;
        }
    }
    return changed;
}

void TSymGroups::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Key("SubGroupList");
    w.BeginArray();
    for (const auto& g : fSubGroupList.fList)
        DumpGroupData(w, g);
    w.EndArray();
    w.Key("MainGroupList");
    w.BeginArray();
    for (const auto& g : fMainGroupList.fList)
        DumpGroupData(w, g);
    w.EndArray();
    w.EndObject();
}

std::string SmartSortCode(const std::string& code) {
    if (code.empty()) return {};
    auto isRunChar = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
    size_t b = 0;
    while (b < code.size() && !isRunChar(code[b]))
        ++b;
    if (b == code.size()) return "0" + code;
    size_t e = b;
    while (e < code.size() && isRunChar(code[e]))
        ++e;
    std::string run = code.substr(b, e - b);
    return run + code.substr(0, b) + code.substr(e);
}
