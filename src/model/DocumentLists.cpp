#include "model/DocumentLists.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <numeric>

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

namespace {

bool InRange(int index, size_t count) {
    return index >= 0 && size_t(index) < count;
}

template <typename T> void DeleteIn(std::vector<T>& list, int index) {
    if (InRange(index, list.size())) list.erase(list.begin() + index);
}

template <typename T> void ExchangeIn(std::vector<T>& list, int index1, int index2) {
    if (InRange(index1, list.size()) && InRange(index2, list.size()))
        std::swap(list[size_t(index1)], list[size_t(index2)]);
}

template <typename T> T* ItemIn(std::vector<T>& list, int index) {
    return InRange(index, list.size()) ? &list[size_t(index)] : nullptr;
}

template <typename T> const T* ItemIn(const std::vector<T>& list, int index) {
    return InRange(index, list.size()) ? &list[size_t(index)] : nullptr;
}

template <typename T> bool CompareLists(const std::vector<T>& a, const std::vector<T>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const T& x, const T& y) { return x.Compare(y); });
}

} // namespace

bool TRevisionData::Compare(const TRevisionData& other) const {
    return Number == other.Number && Code == other.Code && SameFloat(Date, other.Date) &&
           Description == other.Description && DrawnBy == other.DrawnBy && CheckedBy == other.CheckedBy &&
           User1 == other.User1 && User2 == other.User2;
}

TRevisionData& TRevisionList::Add() {
    TRevisionData& r = fList.emplace_back();
    r.Date = std::floor(NowAsDayCount());
    return r;
}

void TRevisionList::Delete(int index) {
    DeleteIn(fList, index);
}

void TRevisionList::Exchange(int index1, int index2) {
    ExchangeIn(fList, index1, index2);
}

TRevisionData* TRevisionList::GetRevisions(int index) {
    return ItemIn(fList, index);
}

const TRevisionData* TRevisionList::GetRevisions(int index) const {
    return ItemIn(fList, index);
}

bool TRevisionList::Compare(const TRevisionList& other) const {
    return CompareLists(fList, other.fList);
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

void SaveRevision(TRecordWriter& writer, const TRevisionData& revision) {
    writer.WriteRecordLine("");
    writer.WriteRecordLine("Revision:");
    writer.WriteStringIfChanged("  Number", revision.Number, "");
    writer.WriteStringIfChanged("  Code", revision.Code, "");
    writer.WriteFloatIfChanged("  Date", 0, revision.Date);
    writer.WriteStringIfChanged("  Description", revision.Description, "");
    writer.WriteStringIfChanged("  DrawnBy", revision.DrawnBy, "");
    writer.WriteStringIfChanged("  CheckedBy", revision.CheckedBy, "");
    writer.WriteStringIfChanged("  User1", revision.User1, "");
    writer.WriteStringIfChanged("  User2", revision.User2, "");
    writer.WriteRecordLine("EndRevision.");
}

void TRevisionList::SaveToUniCodeFile(TRecordWriter& writer) const {
    for (const TRevisionData& r : fList)
        SaveRevision(writer, r);
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

bool TSessionData::Compare(const TSessionData& other) const {
    return SameFloat(Date, other.Date) && Seconds == other.Seconds && Remark == other.Remark;
}

void TSessionList::Delete(int index) {
    DeleteIn(fList, index);
}

void TSessionList::Exchange(int index1, int index2) {
    ExchangeIn(fList, index1, index2);
}

TSessionData* TSessionList::GetSessions(int index) {
    return ItemIn(fList, index);
}

const TSessionData* TSessionList::GetSessions(int index) const {
    return ItemIn(fList, index);
}

bool TSessionList::Compare(const TSessionList& other) const {
    return CompareLists(fList, other.fList);
}

int TSessionList::IndexOf(double sessionDate) const {
    for (int i = 0; i < Count(); ++i)
        if (fList[size_t(i)].Date == sessionDate) return i;
    return -1;
}

namespace {

// Counts per position, with prefix sums and the search for the n-th counted position in
// logarithmic time.
class TPositionCounter {
public:
    // Every position counted once, or none.
    TPositionCounter(size_t count, bool allCounted) : fTree(count + 1, 0) {
        if (allCounted)
            for (size_t i = 1; i < fTree.size(); ++i)
                fTree[i] = LowBit(i);
    }
    void Insert(size_t position) {
        for (size_t i = position + 1; i < fTree.size(); i += LowBit(i))
            ++fTree[i];
    }
    void Remove(size_t position) {
        for (size_t i = position + 1; i < fTree.size(); i += LowBit(i))
            --fTree[i];
    }
    // How many counted positions lie before End.
    size_t CountBefore(size_t end) const {
        size_t sum = 0;
        for (size_t i = end; i > 0; i -= LowBit(i))
            sum += fTree[i];
        return sum;
    }
    // The counted position with N counted ones before it; N is below the number counted.
    size_t FindNth(size_t n) const {
        size_t position = 0;
        for (size_t step = std::bit_floor(fTree.size() - 1); step > 0; step >>= 1)
            if (position + step < fTree.size() && fTree[position + step] <= n) {
                position += step;
                n -= fTree[position];
            }
        return position;
    }

private:
    static size_t LowBit(size_t i) { return i & (~i + 1); }
    std::vector<size_t> fTree;
};

// The design program's own sort, as it stands. Only for dates that are not numbers, which no
// file gives: the ordering below needs dates that compare.
void ExchangeSortNewestFirst(std::vector<TSessionData>& list) {
    for (size_t i = 0; i + 1 < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j)
            if (!(list[i].Date >= list[j].Date)) std::swap(list[i], list[j]);
}

// The order in which the exchange sort leaves the sessions of one date. Seen from one date, a
// pass takes the first session of a newer date out of the part still to be sorted, and when
// sessions of this date come before it, the first of them moves to its place, behind the others.
// So the sessions of this date form a queue that takes in each run of them between two newer
// sessions and turns by one for each newer session after that run; the queue is then read from
// its head. Members are the positions of the date's sessions in the list, ascending; Newer
// counts the positions holding newer dates, NewerCount how many there are.
std::vector<size_t> OrderOfEqualDates(const std::vector<size_t>& members, const TPositionCounter& newer,
                                      size_t newerCount) {
    const size_t count = members.size();
    std::vector<size_t> newerBefore(count);
    for (size_t i = 0; i < count; ++i)
        newerBefore[i] = newer.CountBefore(members[i]);
    // The queue is built as a sequence with a moving head: each run is inserted just before the
    // head. Where every insertion lands is found afterwards, last insertion first.
    std::vector<size_t> insertAt(count);
    size_t head = 0;
    for (size_t first = 0; first < count;) {
        size_t end = first + 1;
        while (end < count && newerBefore[end] == newerBefore[first])
            ++end;
        for (size_t i = first; i < end; ++i)
            insertAt[i] = head + (i - first);
        const size_t turns = (end < count ? newerBefore[end] : newerCount) - newerBefore[first];
        head = (head + (end - first) + turns % end) % end;
        first = end;
    }
    TPositionCounter freeSlots(count, true);
    std::vector<size_t> slots(count);
    for (size_t i = count; i-- > 0;) {
        const size_t slot = freeSlots.FindNth(insertAt[i]);
        freeSlots.Remove(slot);
        slots[slot] = members[i];
    }
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = slots[(head + i) % count];
    return order;
}

} // namespace

void TSessionList::Sort() {
    const size_t count = fList.size();
    if (count < 2) return;
    if (std::any_of(fList.begin(), fList.end(), [](const TSessionData& s) { return std::isnan(s.Date); })) {
        ExchangeSortNewestFirst(fList);
        return;
    }
    // The exchange sort the design program uses is quadratic, and a file may hold any number of
    // sessions: sort by date, then order each run of equal dates as the exchange sort would.
    std::vector<size_t> byDate(count);
    std::iota(byDate.begin(), byDate.end(), size_t(0));
    std::stable_sort(byDate.begin(), byDate.end(),
                     [&](size_t a, size_t b) { return fList[a].Date > fList[b].Date; });
    TPositionCounter newer(count, false);
    std::vector<TSessionData> sorted;
    sorted.reserve(count);
    for (size_t first = 0; first < count;) {
        size_t end = first + 1;
        while (end < count && fList[byDate[end]].Date == fList[byDate[first]].Date)
            ++end;
        const std::vector<size_t> members(byDate.begin() + ptrdiff_t(first), byDate.begin() + ptrdiff_t(end));
        for (size_t position : OrderOfEqualDates(members, newer, first))
            sorted.push_back(std::move(fList[position]));
        for (size_t position : members)
            newer.Insert(position);
        first = end;
    }
    fList = std::move(sorted);
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

void SaveSession(TRecordWriter& writer, const TSessionData& session) {
    writer.WriteRecordLine("");
    writer.WriteRecordLine("Session:");
    writer.WriteFloat("  Date", session.Date);
    writer.WriteFloat("  Seconds", double(session.Seconds));
    writer.WriteKey("  Remark", session.Remark);
    writer.WriteRecordLine("EndSession.");
}

void TSessionList::SaveToUniCodeFile(TRecordWriter& writer) const {
    for (const TSessionData& s : fList)
        SaveSession(writer, s);
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
