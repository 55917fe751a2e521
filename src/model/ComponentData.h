#pragma once
// The small lists a component's BOM record and component file carry: free attributes, typed
// user fields, suppliers, port display names and joinable ports.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TRecordReader;
class TRecordWriter;
class TJsonWriter;

// --- component attributes ---------------------------------------------------------------------

struct TComponentAttributeData {
    std::string AttributeTag;
    std::string AttributeValue;
    friend bool operator==(const TComponentAttributeData&, const TComponentAttributeData&) = default;
};

class TComponentAttribute {
public:
    TComponentAttributeData fData;

    const TComponentAttributeData& Data() const { return fData; }
    const std::string& AttributeTag() const { return fData.AttributeTag; }
    const std::string& AttributeValue() const { return fData.AttributeValue; }
    void SetAttributeTag(const std::string& value) { fData.AttributeTag = value; }
    void SetAttributeValue(const std::string& value) { fData.AttributeValue = value; }

    // Reads up to "ENDCOMPONENTATTRIBUTE."; the opener has been consumed.
    void LoadFromReader(TRecordReader& reader);
    // Nothing for an empty tag.
    void SaveToWriter(TRecordWriter& w) const;
    void Dump(TJsonWriter& w) const;
};

class TComponentAttributeList {
public:
    int fItemIndex = -1;

    int Count() const { return int(fList.size()); }
    TComponentAttribute* Items(int i) const { return fList[size_t(i)].get(); }
    TComponentAttribute* First() const { return fList.empty() ? nullptr : fList.front().get(); }
    TComponentAttribute* Last() const { return fList.empty() ? nullptr : fList.back().get(); }
    TComponentAttribute* Selected() const;
    int ItemIndex() const { return fItemIndex; }

    TComponentAttribute* Add();
    TComponentAttribute* AddWithData(const std::string& tag, const std::string& value);
    // The first attribute whose tag equals Tag ignoring case; -1 when none does.
    int IndexOf(std::string_view tag) const;
    std::string ValueOf(std::string_view tag) const;
    // Appends an attribute when the tag is missing.
    void SetValueOf(const std::string& tag, const std::string& value);
    // Drops attributes without a tag.
    void Purge();
    // "TAG=value" per attribute; FromStrings clears first and upper-cases the tags.
    void ToStrings(std::vector<std::string>& strings) const;
    void FromStrings(const std::vector<std::string>& strings);
    void Clear();
    void Delete(int i);
    void Assign(const TComponentAttributeList& source);
    bool Compare(const TComponentAttributeList& second) const;
    void Exchange(int i, int j);
    // By tag ignoring ASCII case; attributes with equal tags keep their order.
    void Sort();

    void SaveToWriter(TRecordWriter& w) const;
    void Dump(TJsonWriter& w) const;

private:
    std::vector<std::unique_ptr<TComponentAttribute>> fList;
};

// --- user fields ------------------------------------------------------------------------------

enum TUserFieldType : uint8_t { ufString, ufList, ufFloat };

// "Text", "List", "Float".
std::string_view UserFieldTypeName(TUserFieldType type);
// "List" and "Float" ignoring case; anything else is text.
TUserFieldType UserFieldTypeFromName(std::string_view name);

struct TUserFieldData {
    TUserFieldType FieldType = ufString;
    std::string FieldTag;
    std::string FieldValue;
    double FieldFloatValue = 0;
    bool FieldIgnoreInBOM = false;
};

class TUserField {
public:
    TUserFieldData fData;

    const TUserFieldData& Data() const { return fData; }
    const std::string& FieldTag() const { return fData.FieldTag; }
    const std::string& FieldValue() const { return fData.FieldValue; }
    TUserFieldType FieldType() const { return fData.FieldType; }
    bool FieldIgnoreInBOM() const { return fData.FieldIgnoreInBOM; }
    bool IsFloat() const { return fData.FieldType == ufFloat; }
    // The title set for the field, or its tag without one.
    const std::string& DisplayTitle() const {
        return fData.FieldValue.empty() ? fData.FieldTag : fData.FieldValue;
    }
    // A float field holds a value other than zero; any other field a non-empty text.
    bool HasContent() const;
    // Type, tag, value, ignore flag, and the float within the record tolerance.
    bool Compare(const TUserField& second) const;

    void SaveToWriter(TRecordWriter& w) const;
    void Dump(TJsonWriter& w) const;
};

class TUserFieldList {
public:
    int Count() const { return int(fList.size()); }
    TUserField* Items(int i) const { return fList[size_t(i)].get(); }
    TUserField* Add();

    int IndexOf(std::string_view tag) const;
    int IndexOfFieldValue(std::string_view value) const;
    bool TagExists(std::string_view tag) const { return IndexOf(tag) >= 0; }
    std::string GetValueOf(std::string_view tag) const;
    // Appends a field only when asked to and the value is not empty.
    void SetValueOf(const std::string& tag, const std::string& value, bool addIfNotExists);
    // Default for a missing tag; otherwise whether the value reads "Yes".
    bool GetBoolValueOf(std::string_view tag, bool defaultValue) const;
    // The tags of the fields left out of the bill of materials.
    std::vector<std::string> CreateListIgnoreInBOM() const;
    void Clear() { fList.clear(); }
    void Delete(int i);
    void Assign(const TUserFieldList& source);
    bool Compare(const TUserFieldList& second) const;

    // Reads the "USERFIELD:" records up to the list's "END."; the opener has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void SaveToWriter(TRecordWriter& w) const;
    void Dump(TJsonWriter& w) const;

private:
    std::vector<std::unique_ptr<TUserField>> fList;
};

// --- suppliers --------------------------------------------------------------------------------

// The suppliers of a BOM record, kept as "selected;other;other" in its Suppliers field.
class TSupplier {
public:
    const std::vector<std::string>& Names() const { return fNames; }
    int ItemIndex() const { return fItemIndex; }
    // The selected name; empty without a selection.
    std::string Selected() const;
    std::string DataString() const;
    void SetDataString(std::string_view data);
    // Adds NewName to the names of Data when missing, selects it; the new data string.
    std::string SetSupplier(const std::string& newName, std::string_view data);
    std::string SelectedSupplier(std::string_view data);
    // The combo box entries of the properties dialog: the sorted names, then the edit entry.
    std::vector<std::string> DialogList() const;

    void Dump(TJsonWriter& w) const;

private:
    void SortNames();

    std::vector<std::string> fNames;
    int fItemIndex = -1;
};

// --- port display names -----------------------------------------------------------------------

struct TPortDisplayNameData {
    std::string OriginalName;
    std::string DisplayName;
    friend bool operator==(const TPortDisplayNameData&, const TPortDisplayNameData&) = default;
};

class TPortDisplayName {
public:
    TPortDisplayNameData fData;

    const TPortDisplayNameData& Data() const { return fData; }
    const std::string& OriginalName() const { return fData.OriginalName; }
    const std::string& DisplayName() const { return fData.DisplayName; }
    // Only a display name that renames the port is worth keeping.
    bool Renames() const { return !fData.DisplayName.empty() && fData.DisplayName != fData.OriginalName; }
};

class TPortDisplayNameList {
public:
    TPortDisplayNameList() = default;
    virtual ~TPortDisplayNameList() = default;
    TPortDisplayNameList(const TPortDisplayNameList&) = delete;
    TPortDisplayNameList& operator=(const TPortDisplayNameList&) = delete;

    int fItemIndex = -1;

    virtual const char* ClassName() const { return "TPortDisplayNameList"; }
    // The record's opener and closer as written.
    virtual std::string_view ListKeyword() const { return "PortDisplayNameList:"; }
    virtual std::string_view EndKeyword() const { return "EndPortDisplayNameList."; }

    int Count() const { return int(fList.size()); }
    TPortDisplayName* Items(int i) const { return fList[size_t(i)].get(); }
    TPortDisplayName* First() const { return fList.empty() ? nullptr : fList.front().get(); }
    TPortDisplayName* Last() const { return fList.empty() ? nullptr : fList.back().get(); }
    TPortDisplayName* Selected() const;
    int ItemIndex() const { return fItemIndex; }

    TPortDisplayName* Add(const std::string& originalName = {}, const std::string& displayName = {});
    // Compared ignoring ASCII case; of several matches the last one.
    int IndexOf(std::string_view originalName) const;
    // Ascending by original name, ordinal and case-sensitive; equal names keep their order.
    void Sort();
    // Drops entries that rename nothing.
    void Purge();
    void Delete(int i);
    void Clear();
    void Exchange(int i, int j);
    void Assign(const TPortDisplayNameList& source);
    bool Compare(const TPortDisplayNameList& second) const;

    // Reads the entries up to either list's closer; the opener has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void SaveToWriter(TRecordWriter& w) const;
    void Dump(TJsonWriter& w) const;

private:
    std::vector<std::unique_ptr<TPortDisplayName>> fList;
};

// The display names of a component's inner ports.
class TIPortDisplayNameList : public TPortDisplayNameList {
public:
    const char* ClassName() const override { return "TIPortDisplayNameList"; }
    std::string_view ListKeyword() const override { return "IPortDisplayNameList:"; }
    std::string_view EndKeyword() const override { return "EndIPortDisplayNameList."; }
};

// --- joinable ports ---------------------------------------------------------------------------

struct TJoinablePortData {
    std::string JoinPortName;
    // "|"-separated component files that can be joined at the port.
    std::string JoinableFiles;
    friend bool operator==(const TJoinablePortData&, const TJoinablePortData&) = default;
};

class TJoinablePort {
public:
    TJoinablePortData fData;

    const TJoinablePortData& Data() const { return fData; }
    bool IsDefined() const { return !fData.JoinPortName.empty(); }
};

class TJoinablePortList {
public:
    int Count() const { return int(fList.size()); }
    TJoinablePort* Items(int i) const { return fList[size_t(i)].get(); }
    TJoinablePort* Add(const std::string& portName = {}, const std::string& files = {});
    void Clear() { fList.clear(); }
    void Delete(int i);
    void Assign(const TJoinablePortList& source);
    bool Compare(const TJoinablePortList& second) const;

    // The first entry of that port, ignoring case; -1 when none.
    int IndexOfPort(std::string_view portName) const;
    std::string FileNamesOfPort(std::string_view portName) const;

    // Reads the entries up to the list's closer, any "End." line or the end of the text; the
    // opener has been consumed. Entries without a port name are dropped.
    void LoadFromReader(TRecordReader& reader);
    void SaveToWriter(TRecordWriter& w) const;
    void Dump(TJsonWriter& w) const;

private:
    std::vector<std::unique_ptr<TJoinablePort>> fList;
};
