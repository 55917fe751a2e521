#include "model/DocumentLists.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "base/Translate.h"
#include "model/AttributeTags.h"
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

void TAttributeList::Exchange(int index1, int index2) {
    if (index1 >= 0 && index1 < Count() && index2 >= 0 && index2 < Count())
        std::swap(fAttributeList[size_t(index1)], fAttributeList[size_t(index2)]);
}

void TAttributeList::Assign(const TAttributeList& source) {
    fAttributeList = source.fAttributeList;
    fItemIndex = source.fItemIndex;
}

bool TAttributeList::Compare(const TAttributeList& other) const {
    return std::equal(fAttributeList.begin(), fAttributeList.end(), other.fAttributeList.begin(),
                      other.fAttributeList.end(), [](const TAttributeData& a, const TAttributeData& b) {
                          return SameTextAscii(a.Tag, b.Tag) && a.Value == b.Value && a.FromPDM == b.FromPDM;
                      });
}

TAttributeData* TAttributeList::GetSelected() {
    return fItemIndex >= 0 && fItemIndex < Count() ? &fAttributeList[size_t(fItemIndex)] : nullptr;
}

const TAttributeData* TAttributeList::GetSelected() const {
    return fItemIndex >= 0 && fItemIndex < Count() ? &fAttributeList[size_t(fItemIndex)] : nullptr;
}

int TAttributeList::IndexOf(std::string_view tag) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fAttributeList[size_t(i)].Tag, tag)) return i;
    return -1;
}

std::string TAttributeList::GetValue(std::string_view tag) const {
    const int i = IndexOf(tag);
    return i < 0 ? std::string() : fAttributeList[size_t(i)].Value;
}

void TAttributeList::SetValue(std::string_view tag, std::string_view value) {
    if (const int i = IndexOf(tag); i >= 0) fAttributeList[size_t(i)].Value = value;
}

namespace {

// Splits at the first "="; false for a line without one.
bool SplitAttributeLine(std::string_view line, std::string_view& tag, std::string_view& value) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    tag = line.substr(0, eq);
    value = line.substr(eq + 1);
    return true;
}

std::string AttributeLine(const TAttributeData& a) {
    return a.Tag + "=" + a.Value;
}

// Any of CR LF, LF and a lone CR ends a line; a last line without a break still counts.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

} // namespace

void TAttributeList::AddFromStringList(const std::vector<std::string>& lines, bool addFromPDM) {
    std::string_view tag, value;
    for (const std::string& line : lines) {
        if (!SplitAttributeLine(line, tag, value)) continue;
        if (const int i = IndexOf(tag); i >= 0) {
            fAttributeList[size_t(i)].Value = value;
            fAttributeList[size_t(i)].FromPDM = addFromPDM;
        } else {
            Add({std::string(tag), std::string(value), addFromPDM});
        }
    }
}

void TAttributeList::SyncWithStringList(const std::vector<std::string>& lines) {
    std::string_view tag, value;
    for (const std::string& line : lines)
        if (SplitAttributeLine(line, tag, value)) SetValue(tag, value);
}

void TAttributeList::SaveToStringList(std::vector<std::string>& lines) const {
    ToStrings(lines);
}

bool TAttributeList::AddFromFile(const std::string& path, bool addFromPDM) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    // The size on disk is not trusted (special file systems report none): read until the end or
    // until the limit is passed.
    std::string text;
    char chunk[16384];
    while (in && text.size() <= MaxAttributeFileSize) {
        in.read(chunk, sizeof chunk);
        text.append(chunk, size_t(in.gcount()));
    }
    if (in.bad() || text.size() > MaxAttributeFileSize) return false;
    std::string_view body = text;
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    AddFromStringList(SplitLines(IsValidUtf8(body) ? std::string(body) : Windows1252ToUtf8(body)),
                      addFromPDM);
    return true;
}

void TAttributeList::RemoveAutoFilledInAttributes() {
    std::erase_if(fAttributeList, [](const TAttributeData& a) {
        const TSpecialAttribute special = SpecialAttributeOfTag(a.Tag);
        return special >= saCurrentDate && special <= saCDay;
    });
}

void TAttributeList::ToStrings(std::vector<std::string>& lines) const {
    lines.clear();
    for (const TAttributeData& a : fAttributeList)
        lines.push_back(AttributeLine(a));
}

void TAttributeList::FromStrings(const std::vector<std::string>& lines) {
    Clear();
    std::string_view tag, value;
    for (const std::string& line : lines)
        if (SplitAttributeLine(line, tag, value)) Add({std::string(tag), std::string(value), false});
}

void TAttributeList::CombineWith(const TAttributeList& source) {
    if (&source == this) return;
    for (const TAttributeData& a : source.fAttributeList) {
        if (const int i = IndexOf(a.Tag); i >= 0) {
            fAttributeList[size_t(i)].Value = a.Value;
            fAttributeList[size_t(i)].FromPDM = a.FromPDM;
        } else {
            Add(a);
        }
    }
}

void TAttributeList::CombineWithDrawingHeader(const TAttributeList& header) {
    if (&header == this) return;
    for (const TAttributeData& a : header.fAttributeList)
        if (IndexOf(a.Tag) < 0) Add(a);
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

bool TSymbolLayer::IsDefaultLayer() const {
    return std::any_of(std::begin(DefaultLayerNames), std::end(DefaultLayerNames),
                       [&](std::string_view d) { return SameTextAscii(fData.Name, d); });
}

bool TSymbolLayer::IsDefault() const {
    return IsDefaultLayer() && fData.State == slsShow && fHideSubList.empty();
}

bool TSymbolLayer::IsHiddenSubLayer(std::string_view name) const {
    return std::any_of(fHideSubList.begin(), fHideSubList.end(),
                       [&](const std::string& s) { return SameTextAscii(s, name); });
}

bool TSymbolLayer::AddHideSubItem(std::string_view name) {
    if (IsHiddenSubLayer(name)) return false;
    fHideSubList.emplace_back(name);
    return true;
}

bool TSymbolLayer::RemoveHideSubItem(std::string_view name) {
    const auto it = std::find_if(fHideSubList.begin(), fHideSubList.end(),
                                 [&](const std::string& s) { return SameTextAscii(s, name); });
    if (it == fHideSubList.end()) return false;
    fHideSubList.erase(it);
    return true;
}

TCheckBoxState TSymbolLayer::CheckBoxState() const {
    switch (fData.State) {
    case slsHide:
        return cbUnchecked;
    case slsPartial:
        return cbGrayed;
    default:
        return cbChecked;
    }
}

void TSymbolLayer::SetCheckBoxState(TCheckBoxState state) {
    fData.State = state == cbUnchecked ? slsHide : state == cbGrayed ? slsPartial : slsShow;
}

TSymbolLayer& TSymbolLayerList::Add(TSymbolLayer layer) {
    return fList.emplace_back(std::move(layer));
}

void TSymbolLayerList::Delete(int index) {
    if (index >= 0 && index < Count()) fList.erase(fList.begin() + index);
}

void TSymbolLayerList::Exchange(int index1, int index2) {
    if (index1 >= 0 && index1 < Count() && index2 >= 0 && index2 < Count())
        std::swap(fList[size_t(index1)], fList[size_t(index2)]);
}

int TSymbolLayerList::IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fList[size_t(i)].fData.Name, name)) return i;
    return -1;
}

int TSymbolLayerList::IndexOf(const TSymbolLayer& layer) const {
    for (int i = 0; i < Count(); ++i)
        if (&fList[size_t(i)] == &layer) return i;
    return -1;
}

bool TSymbolLayerList::Append(const TSymbolLayer& layer) {
    if (IndexOf(layer.fData.Name) >= 0) return false;
    // A copy first: Layer may live in this list, and growing it would move Layer away.
    TSymbolLayer copy = layer;
    fList.push_back(std::move(copy));
    return true;
}

void TSymbolLayerList::Append(const TSymbolLayerList& source) {
    if (&source != this)
        for (const TSymbolLayer& layer : source.fList)
            Append(layer);
    Sort();
}

void TSymbolLayerList::Purge() {
    std::erase_if(fList, [](const TSymbolLayer& l) { return l.IsDefault(); });
}

void TSymbolLayerList::SynchronizeWith(const TSymbolLayerList& master) {
    if (&master != this) {
        std::erase_if(fList, [&](const TSymbolLayer& l) { return master.IndexOf(l.fData.Name) < 0; });
        for (const TSymbolLayer& m : master.fList)
            if (IndexOf(m.fData.Name) < 0) fList.push_back(TSymbolLayer{{m.fData.Name, slsShow}, {}});
    }
    Sort();
}

void TSymbolLayerList::ToStrings(std::vector<std::string>& strings) {
    Sort();
    strings.clear();
    for (const TSymbolLayer& l : fList)
        strings.push_back(_(l.fData.Name));
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
        w.Field("State", states[l.fData.State <= slsPartial ? l.fData.State : slsShow]);
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
