#include "model/ComponentData.h"

#include <algorithm>
#include <cmath>

#include "base/Translate.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

namespace {

template <class T> void EraseAt(std::vector<std::unique_ptr<T>>& list, int i) {
    if (i >= 0 && i < int(list.size())) list.erase(list.begin() + i);
}

template <class T> void SwapAt(std::vector<std::unique_ptr<T>>& list, int i, int j) {
    if (i >= 0 && j >= 0 && i < int(list.size()) && j < int(list.size()))
        std::swap(list[size_t(i)], list[size_t(j)]);
}

template <class T>
void CopyList(std::vector<std::unique_ptr<T>>& target, const std::vector<std::unique_ptr<T>>& source) {
    if (&target == &source) return;
    target.clear();
    for (const auto& item : source)
        target.push_back(std::make_unique<T>(*item));
}

// Lower-cases the ASCII letters only, as the case-insensitive orders of the record format do.
int CompareTextAscii(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        const auto ca = (unsigned char)lower(a[i]), cb = (unsigned char)lower(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

// --- component attributes ---------------------------------------------------------------------

void TComponentAttribute::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "ENDCOMPONENTATTRIBUTE."sv)) {
        if (key == "ATTRIBUTETAG"sv)
            fData.AttributeTag = value;
        else if (key == "ATTRIBUTEVALUE"sv)
            fData.AttributeValue = value;
    }
}

void TComponentAttribute::SaveToWriter(TRecordWriter& w) const {
    if (fData.AttributeTag.empty()) return;
    w.WriteRecordLine("  ComponentAttribute:");
    w.WriteKey("    AttributeTag", fData.AttributeTag);
    w.WriteKey("    AttributeValue", fData.AttributeValue);
    w.WriteRecordLine("  EndComponentAttribute.");
}

void TComponentAttribute::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TComponentAttribute");
    w.Key("Data");
    w.BeginObject();
    w.Field("AttributeTag", fData.AttributeTag);
    w.Field("AttributeValue", fData.AttributeValue);
    w.EndObject();
    w.EndObject();
}

TComponentAttribute* TComponentAttributeList::Selected() const {
    return fItemIndex >= 0 && fItemIndex < Count() ? Items(fItemIndex) : nullptr;
}

TComponentAttribute* TComponentAttributeList::Add() {
    fList.push_back(std::make_unique<TComponentAttribute>());
    return fList.back().get();
}

TComponentAttribute* TComponentAttributeList::AddWithData(const std::string& tag, const std::string& value) {
    TComponentAttribute* a = Add();
    a->fData = {tag, value};
    return a;
}

int TComponentAttributeList::IndexOf(std::string_view tag) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(Items(i)->AttributeTag(), tag)) return i;
    return -1;
}

std::string TComponentAttributeList::ValueOf(std::string_view tag) const {
    const int i = IndexOf(tag);
    return i < 0 ? std::string() : Items(i)->AttributeValue();
}

void TComponentAttributeList::SetValueOf(const std::string& tag, const std::string& value) {
    const int i = IndexOf(tag);
    if (i < 0)
        AddWithData(tag, value);
    else
        Items(i)->SetAttributeValue(value);
}

void TComponentAttributeList::Purge() {
    std::erase_if(fList, [](const auto& a) { return a->AttributeTag().empty(); });
    if (fItemIndex >= Count()) fItemIndex = -1;
}

void TComponentAttributeList::ToStrings(std::vector<std::string>& strings) const {
    strings.clear();
    for (const auto& a : fList)
        strings.push_back(a->AttributeTag() + "=" + a->AttributeValue());
}

void TComponentAttributeList::FromStrings(const std::vector<std::string>& strings) {
    Clear();
    std::string tag, value;
    for (const std::string& line : strings) {
        SplitKeyValue(line, tag, value);
        AddWithData(tag, value);
    }
}

void TComponentAttributeList::Clear() {
    fList.clear();
    fItemIndex = -1;
}

void TComponentAttributeList::Delete(int i) {
    EraseAt(fList, i);
    if (fItemIndex >= Count()) fItemIndex = -1;
}

void TComponentAttributeList::Assign(const TComponentAttributeList& source) {
    CopyList(fList, source.fList);
    fItemIndex = source.fItemIndex;
}

bool TComponentAttributeList::Compare(const TComponentAttributeList& second) const {
    if (Count() != second.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (!(Items(i)->Data() == second.Items(i)->Data())) return false;
    return true;
}

void TComponentAttributeList::Exchange(int i, int j) {
    SwapAt(fList, i, j);
}

void TComponentAttributeList::Sort() {
    std::stable_sort(fList.begin(), fList.end(), [](const auto& a, const auto& b) {
        return CompareTextAscii(a->AttributeTag(), b->AttributeTag()) < 0;
    });
}

void TComponentAttributeList::SaveToWriter(TRecordWriter& w) const {
    for (const auto& a : fList)
        a->SaveToWriter(w);
}

void TComponentAttributeList::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TComponentAttributeList");
    w.Field("ItemIndex", fItemIndex);
    w.Key("List");
    w.BeginArray();
    for (const auto& a : fList)
        a->Dump(w);
    w.EndArray();
    w.EndObject();
}

// --- user fields ------------------------------------------------------------------------------

namespace {
constexpr std::string_view UserFieldTypeNames[] = {"Text", "List", "Float"};
constexpr std::string_view UserFieldTypeIdents[] = {"ufString", "ufList", "ufFloat"};
} // namespace

std::string_view UserFieldTypeName(TUserFieldType type) {
    return UserFieldTypeNames[type <= ufFloat ? type : ufString];
}

TUserFieldType UserFieldTypeFromName(std::string_view name) {
    const int t = IndexOfName(TrimRecordText(name), UserFieldTypeNames, 3);
    return t < 0 ? ufString : TUserFieldType(t);
}

bool TUserField::HasContent() const {
    return IsFloat() ? std::fabs(fData.FieldFloatValue) > 1e-12 : !fData.FieldValue.empty();
}

bool TUserField::Compare(const TUserField& second) const {
    const TUserFieldData &a = fData, &b = second.fData;
    return a.FieldType == b.FieldType && a.FieldTag == b.FieldTag && a.FieldValue == b.FieldValue &&
           SameFloat(a.FieldFloatValue, b.FieldFloatValue) && a.FieldIgnoreInBOM == b.FieldIgnoreInBOM;
}

void TUserField::SaveToWriter(TRecordWriter& w) const {
    if (!HasContent()) return;
    w.WriteRecordLine("  UserField:");
    if (fData.FieldType != ufString) w.WriteKey("  FieldType", UserFieldTypeName(fData.FieldType));
    w.WriteKey("    FieldTag", fData.FieldTag);
    w.WriteKey("    FieldValue", fData.FieldValue);
    w.WriteFloatIfChanged("    FieldFloatValue", 0, fData.FieldFloatValue);
    w.WriteBoolIfChanged("    FieldIgnoreInBOM", fData.FieldIgnoreInBOM, false);
    w.WriteRecordLine("  End.");
}

void TUserField::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TUserField");
    w.Key("Data");
    w.BeginObject();
    w.Field("FieldType", UserFieldTypeIdents[fData.FieldType <= ufFloat ? fData.FieldType : ufString]);
    w.Field("FieldTag", fData.FieldTag);
    w.Field("FieldValue", fData.FieldValue);
    w.Field("FieldFloatValue", fData.FieldFloatValue);
    w.Field("FieldIgnoreInBOM", fData.FieldIgnoreInBOM);
    w.EndObject();
    w.EndObject();
}

TUserField* TUserFieldList::Add() {
    fList.push_back(std::make_unique<TUserField>());
    return fList.back().get();
}

int TUserFieldList::IndexOf(std::string_view tag) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(Items(i)->FieldTag(), tag)) return i;
    return -1;
}

int TUserFieldList::IndexOfFieldValue(std::string_view value) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(Items(i)->FieldValue(), value)) return i;
    return -1;
}

std::string TUserFieldList::GetValueOf(std::string_view tag) const {
    const int i = IndexOf(tag);
    return i < 0 ? std::string() : Items(i)->FieldValue();
}

void TUserFieldList::SetValueOf(const std::string& tag, const std::string& value, bool addIfNotExists) {
    const int i = IndexOf(tag);
    if (i >= 0) {
        Items(i)->fData.FieldValue = value;
    } else if (addIfNotExists && !value.empty()) {
        TUserField* f = Add();
        f->fData.FieldTag = tag;
        f->fData.FieldValue = value;
    }
}

bool TUserFieldList::GetBoolValueOf(std::string_view tag, bool defaultValue) const {
    const int i = IndexOf(tag);
    return i < 0 ? defaultValue : SameTextAscii(Items(i)->FieldValue(), BoolToYesNo(true));
}

std::vector<std::string> TUserFieldList::CreateListIgnoreInBOM() const {
    std::vector<std::string> tags;
    for (const auto& f : fList)
        if (f->FieldIgnoreInBOM()) tags.push_back(f->FieldTag());
    return tags;
}

void TUserFieldList::Delete(int i) {
    EraseAt(fList, i);
}

void TUserFieldList::Assign(const TUserFieldList& source) {
    CopyList(fList, source.fList);
}

bool TUserFieldList::Compare(const TUserFieldList& second) const {
    if (Count() != second.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (!Items(i)->Compare(*second.Items(i))) return false;
    return true;
}

void TUserFieldList::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "END."sv)) {
        if (key != "USERFIELD:"sv) continue;
        TUserFieldData& f = Add()->fData;
        while (reader.NextKey(key, value, "END."sv)) {
            if (key == "FIELDTAG"sv)
                f.FieldTag = value;
            else if (key == "FIELDVALUE"sv)
                f.FieldValue = value;
            else if (key == "FIELDTYPE"sv)
                f.FieldType = UserFieldTypeFromName(value);
            else if (key == "FIELDFLOATVALUE"sv)
                f.FieldFloatValue = ParseRecordFloat(value, 0);
            else if (key == "FIELDIGNOREINBOM"sv)
                f.FieldIgnoreInBOM = YesNoToBool(value);
        }
    }
}

void TUserFieldList::SaveToWriter(TRecordWriter& w) const {
    if (fList.empty()) return;
    w.WriteRecordLine("UserFieldList:");
    for (const auto& f : fList)
        f->SaveToWriter(w);
    w.WriteRecordLine("End.");
}

void TUserFieldList::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TUserFieldList");
    w.Key("List");
    w.BeginArray();
    for (const auto& f : fList)
        f->Dump(w);
    w.EndArray();
    w.EndObject();
}

// --- suppliers --------------------------------------------------------------------------------

std::string TSupplier::Selected() const {
    return fItemIndex >= 0 && fItemIndex < int(fNames.size()) ? fNames[size_t(fItemIndex)] : std::string();
}

std::string TSupplier::DataString() const {
    const std::string selected = Selected();
    std::string data = selected;
    for (int i = 0; i < int(fNames.size()); ++i) {
        if (i == fItemIndex) continue;
        // Without a selection the list starts with the separator, so that reading it back
        // selects nothing again.
        if (!data.empty() || fItemIndex < 0) data += ';';
        data += fNames[size_t(i)];
    }
    return data;
}

void TSupplier::SortNames() {
    std::stable_sort(fNames.begin(), fNames.end(),
                     [](const std::string& a, const std::string& b) { return CompareTextAscii(a, b) < 0; });
}

void TSupplier::SetDataString(std::string_view data) {
    fNames.clear();
    fItemIndex = -1;
    std::string first;
    bool isFirst = true;
    size_t start = 0;
    while (start <= data.size()) {
        size_t end = data.find(';', start);
        if (end == std::string_view::npos) end = data.size();
        const std::string name(TrimRecordText(data.substr(start, end - start)));
        if (isFirst) first = name;
        isFirst = false;
        // Empty names would become selectable blanks, and a repeated name would be written twice.
        if (!name.empty() && std::find(fNames.begin(), fNames.end(), name) == fNames.end())
            fNames.push_back(name);
        start = end + 1;
    }
    SortNames();
    if (!first.empty()) fItemIndex = int(std::find(fNames.begin(), fNames.end(), first) - fNames.begin());
}

std::string TSupplier::SetSupplier(const std::string& newName, std::string_view data) {
    SetDataString(data);
    const std::string name(TrimRecordText(newName));
    if (name.empty()) return DataString();
    if (std::find(fNames.begin(), fNames.end(), name) == fNames.end()) {
        fNames.push_back(name);
        SortNames();
    }
    fItemIndex = int(std::find(fNames.begin(), fNames.end(), name) - fNames.begin());
    return DataString();
}

std::string TSupplier::SelectedSupplier(std::string_view data) {
    SetDataString(data);
    return Selected();
}

std::vector<std::string> TSupplier::DialogList() const {
    std::vector<std::string> items = fNames;
    items.push_back("-- " + _("Edit list") + " --");
    return items;
}

void TSupplier::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TSupplier");
    w.Field("Names", fNames);
    w.Field("ItemIndex", fItemIndex);
    w.EndObject();
}

// --- port display names -----------------------------------------------------------------------

TPortDisplayName* TPortDisplayNameList::Selected() const {
    return fItemIndex >= 0 && fItemIndex < Count() ? Items(fItemIndex) : nullptr;
}

TPortDisplayName* TPortDisplayNameList::Add(const std::string& originalName, const std::string& displayName) {
    fList.push_back(std::make_unique<TPortDisplayName>());
    fList.back()->fData = {originalName, displayName};
    return fList.back().get();
}

int TPortDisplayNameList::IndexOf(std::string_view originalName) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (SameTextAscii(Items(i)->OriginalName(), originalName)) return i;
    return -1;
}

void TPortDisplayNameList::Sort() {
    std::stable_sort(fList.begin(), fList.end(),
                     [](const auto& a, const auto& b) { return a->OriginalName() < b->OriginalName(); });
}

void TPortDisplayNameList::Purge() {
    std::erase_if(fList, [](const auto& p) { return !p->Renames(); });
    if (fItemIndex >= Count()) fItemIndex = -1;
}

void TPortDisplayNameList::Delete(int i) {
    EraseAt(fList, i);
    if (fItemIndex >= Count()) fItemIndex = -1;
}

void TPortDisplayNameList::Clear() {
    fList.clear();
    fItemIndex = -1;
}

void TPortDisplayNameList::Exchange(int i, int j) {
    SwapAt(fList, i, j);
}

void TPortDisplayNameList::Assign(const TPortDisplayNameList& source) {
    CopyList(fList, source.fList);
    fItemIndex = source.fItemIndex;
}

bool TPortDisplayNameList::Compare(const TPortDisplayNameList& second) const {
    if (Count() != second.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (!(Items(i)->Data() == second.Items(i)->Data())) return false;
    return true;
}

void TPortDisplayNameList::LoadFromReader(TRecordReader& reader) {
    auto isListEnd = [](const std::string& key) {
        return key == "ENDPORTDISPLAYNAMELIST."sv || key == "ENDIPORTDISPLAYNAMELIST."sv;
    };
    std::string key, value;
    while (true) {
        if (reader.AtEnd()) {
            reader.CountDamagedRecord();
            return;
        }
        if (!reader.ReadRecordLine(key, value)) continue;
        if (isListEnd(key)) return;
        if (key != "PORTDISPLAYNAME:"sv) continue;
        TPortDisplayNameData& d = Add()->fData;
        while (true) {
            if (reader.AtEnd()) {
                reader.CountDamagedRecord();
                return;
            }
            if (!reader.ReadRecordLine(key, value)) continue;
            if (key == "ENDPORTDISPLAYNAME."sv) break;
            // An entry left open must not swallow the rest of the file.
            if (isListEnd(key)) {
                reader.CountDamagedRecord();
                return;
            }
            if (key == "ORIGINALNAME"sv)
                d.OriginalName = value;
            else if (key == "DISPLAYNAME"sv)
                d.DisplayName = value;
        }
    }
}

void TPortDisplayNameList::SaveToWriter(TRecordWriter& w) const {
    if (fList.empty()) return;
    w.WriteRecordLine("");
    w.WriteRecordLine(ListKeyword());
    for (const auto& p : fList) {
        if (!p->Renames()) continue;
        w.WriteRecordLine("  PortDisplayName:");
        w.WriteKey("    OriginalName", p->OriginalName());
        w.WriteKey("    DisplayName", p->DisplayName());
        w.WriteRecordLine("  EndPortDisplayName.");
    }
    w.WriteRecordLine(EndKeyword());
    w.WriteRecordLine("");
}

void TPortDisplayNameList::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", ClassName());
    w.Field("ItemIndex", fItemIndex);
    w.Key("List");
    w.BeginArray();
    for (const auto& p : fList) {
        w.BeginObject();
        w.Field("Class", "TPortDisplayName");
        w.Key("Data");
        w.BeginObject();
        w.Field("OriginalName", p->OriginalName());
        w.Field("DisplayName", p->DisplayName());
        w.EndObject();
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

// --- joinable ports ---------------------------------------------------------------------------

TJoinablePort* TJoinablePortList::Add(const std::string& portName, const std::string& files) {
    fList.push_back(std::make_unique<TJoinablePort>());
    fList.back()->fData = {portName, files};
    return fList.back().get();
}

void TJoinablePortList::Delete(int i) {
    EraseAt(fList, i);
}

void TJoinablePortList::Assign(const TJoinablePortList& source) {
    CopyList(fList, source.fList);
}

bool TJoinablePortList::Compare(const TJoinablePortList& second) const {
    if (Count() != second.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (!(Items(i)->Data() == second.Items(i)->Data())) return false;
    return true;
}

int TJoinablePortList::IndexOfPort(std::string_view portName) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(Items(i)->fData.JoinPortName, portName)) return i;
    return -1;
}

std::string TJoinablePortList::FileNamesOfPort(std::string_view portName) const {
    const int i = IndexOfPort(portName);
    return i < 0 ? std::string() : Items(i)->fData.JoinableFiles;
}

void TJoinablePortList::LoadFromReader(TRecordReader& reader) {
    TKeyValue kv;
    std::string_view line;
    auto isListEnd = [&] { return kv.IsEnd() || kv.IsKey("EndJoinablePortList."); };
    while (reader.ReadLine(line)) {
        kv.ParseFromString(line);
        if (isListEnd()) return;
        if (!kv.IsKey("JoinablePort:")) continue;
        TJoinablePortData d;
        bool listEnded = false;
        while (reader.ReadLine(line)) {
            kv.ParseFromString(line);
            if (kv.IsKey("EndJoinablePort.")) break;
            if (isListEnd()) {
                listEnded = true;
                break;
            }
            if (kv.IsKey("JoinPortName"))
                d.JoinPortName = kv.Value();
            else if (kv.IsKey("JoinableFiles"))
                d.JoinableFiles = kv.Value();
        }
        if (!d.JoinPortName.empty()) Add(d.JoinPortName, d.JoinableFiles);
        if (listEnded) return;
    }
}

void TJoinablePortList::SaveToWriter(TRecordWriter& w) const {
    if (fList.empty()) return;
    w.WriteRecordLine("JoinablePortList:");
    for (const auto& p : fList) {
        w.WriteRecordLine("  JoinablePort:");
        w.WriteKey("    JoinPortName", p->fData.JoinPortName);
        w.WriteKey("    JoinableFiles", p->fData.JoinableFiles);
        w.WriteRecordLine("  EndJoinablePort.");
    }
    w.WriteRecordLine("EndJoinablePortList.");
}

void TJoinablePortList::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TJoinablePortList");
    w.Key("List");
    w.BeginArray();
    for (const auto& p : fList) {
        w.BeginObject();
        w.Field("Class", "TJoinablePort");
        w.Key("Data");
        w.BeginObject();
        w.Field("JoinPortName", p->fData.JoinPortName);
        w.Field("JoinableFiles", p->fData.JoinableFiles);
        w.EndObject();
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}
