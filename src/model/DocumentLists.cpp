#include "model/DocumentLists.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

void TAttributeList::Clear() {
    fAttributeList.clear();
    fItemIndex = -1;
}

void TAttributeList::Delete(int index) {
    if (index >= 0 && index < Count()) fAttributeList.erase(fAttributeList.begin() + index);
}

void TAttributeList::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "ENDATTRIBUTELIST.")) {
        if (key != "ATTRIBUTE:"sv) continue;
        TAttributeData a;
        while (reader.NextKey(key, value, "ENDATTRIBUTE.")) {
            if (key == "TAG"sv)
                a.Tag = value;
            else if (key == "VALUE"sv)
                a.Value = value;
            else if (key == "FROMPDM"sv && !reader.IsLegacy())
                a.FromPDM = YesNoToBool(value);
        }
        Add(std::move(a));
    }
}

void TAttributeList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& a : fAttributeList) {
        w.BeginObject();
        w.Field("Class", "TAttribute");
        w.Field("Tag", a.Tag);
        w.Field("Value", a.Value);
        w.Field("FromPDM", a.FromPDM);
        w.EndObject();
    }
    w.EndArray();
}

const std::string_view DefaultLayerNames[6] = {"-- None --", "Attribute",         "Item number",
                                               "Port",       "Revision triangle", "Text"};

int TSymbolLayerList::IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fList[size_t(i)].fData.Name, name)) return i;
    return -1;
}

void TSymbolLayerList::AddDefaults() {
    for (std::string_view name : DefaultLayerNames)
        if (IndexOf(name) < 0) fList.push_back(TSymbolLayer{{std::string(name), slsShow}, {}});
    Sort();
}

void TSymbolLayerList::Sort() {
    auto key = [](const TSymbolLayer& l) {
        const std::string& n = l.fData.Name;
        if (SameTextAscii(n, DefaultLayerNames[0])) return "AA__" + UpperAscii(n);
        for (std::string_view d : DefaultLayerNames)
            if (SameTextAscii(n, d)) return "ZZ__" + UpperAscii(n);
        return "BB__" + UpperAscii(n);
    };
    std::stable_sort(fList.begin(), fList.end(),
                     [&](const TSymbolLayer& a, const TSymbolLayer& b) { return key(a) < key(b); });
}

void TSymbolLayerList::LoadFromReader(TRecordReader& reader) {
    static constexpr std::string_view states[] = {"Hide", "Show", "Partial"};
    std::string key, value;
    while (reader.NextKey(key, value, "ENDSYMBOLLAYERLIST.")) {
        if (key != "SYMBOLLAYER:"sv) continue;
        TSymbolLayer layer;
        while (reader.NextKey(key, value, "ENDSYMBOLLAYER.")) {
            if (key == "NAME"sv) {
                layer.fData.Name = value;
            } else if (key == "STATE"sv) {
                int s = IndexOfName(value, states, 3);
                layer.fData.State = s < 0 ? slsShow : TSymbolLayerState(s);
            } else if (key == "HIDESUB"sv) {
                layer.fHideSubList.push_back(value);
            }
        }
        fList.push_back(std::move(layer));
    }
}

void TSymbolLayerList::Dump(TJsonWriter& w) const {
    static constexpr std::string_view states[] = {"slsHide", "slsShow", "slsPartial"};
    w.BeginArray();
    for (const auto& l : fList) {
        w.BeginObject();
        w.Field("Class", "TSymbolLayer");
        w.Field("Name", l.fData.Name);
        w.Field("State", states[l.fData.State]);
        w.Field("HideSubList", l.fHideSubList);
        w.EndObject();
    }
    w.EndArray();
}

double NowAsDayCount() {
    using namespace std::chrono;
    std::time_t t = system_clock::to_time_t(system_clock::now());
    std::tm local{};
    localtime_r(&t, &local);
    // Days since 1899-12-30 of the local calendar date, plus the time of day.
    auto days = sys_days(year(local.tm_year + 1900) / month(unsigned(local.tm_mon + 1)) /
                         day(unsigned(local.tm_mday)))
                    .time_since_epoch()
                    .count();
    constexpr int epochOffset = 25569; // 1970-01-01 as a day count since 1899-12-30
    return double(days + epochOffset) + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

TRevisionData& TRevisionList::Add() {
    fList.emplace_back();
    fList.back().Date = NowAsDayCount();
    return fList.back();
}

void TRevisionList::LoadRevision(TRecordReader& reader) {
    TRevisionData& r = Add();
    std::string key, value;
    while (reader.NextKey(key, value, "ENDREVISION.")) {
        if (key == "NUMBER"sv)
            r.Number = value;
        else if (key == "CODE"sv)
            r.Code = value;
        else if (key == "DESCRIPTION"sv)
            r.Description = value;
        else if (key == "DRAWNBY"sv)
            r.DrawnBy = value;
        else if (key == "CHECKEDBY"sv)
            r.CheckedBy = value;
        else if (key == "USER1"sv)
            r.User1 = value;
        else if (key == "USER2"sv)
            r.User2 = value;
        else if (key == "DATE"sv)
            r.Date = ParseRecordFloat(value, 0);
    }
}

void TRevisionList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& r : fList) {
        w.BeginObject();
        w.Field("Class", "TRevision");
        w.Field("Number", r.Number);
        w.Field("Code", r.Code);
        w.Field("Date", r.Date);
        w.Field("Description", r.Description);
        w.Field("DrawnBy", r.DrawnBy);
        w.Field("CheckedBy", r.CheckedBy);
        w.Field("User1", r.User1);
        w.Field("User2", r.User2);
        w.EndObject();
    }
    w.EndArray();
}

void TSessionList::LoadSession(TRecordReader& reader) {
    TSessionData s;
    std::string key, value;
    while (reader.NextKey(key, value, "ENDSESSION.")) {
        if (key == "DATE"sv)
            s.Date = ParseRecordFloat(value, 0);
        else if (key == "SECONDS"sv)
            s.Seconds = ParseRecordInt(value).value_or(0);
        else if (key == "REMARK"sv)
            s.Remark = value;
    }
    fList.push_back(std::move(s));
}

void TSessionList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& s : fList) {
        w.BeginObject();
        w.Field("Class", "TSession");
        w.Field("Date", s.Date);
        w.Field("Seconds", s.Seconds);
        w.Field("Remark", s.Remark);
        w.EndObject();
    }
    w.EndArray();
}

void SkipBlock(TRecordReader& reader, std::string_view terminator, std::string_view nestedOpener,
               std::string_view nestedTerminator) {
    std::string key, value;
    while (reader.NextKey(key, value, terminator)) {
        if (nestedOpener.empty() || key != nestedOpener) continue;
        // Inside a nested record only its own terminator counts, even one that reads like the block's.
        while (reader.NextKey(key, value, nestedTerminator)) {
        }
    }
}
