#pragma once
// Document-level tables: header attributes, symbol layers, revisions and editing sessions.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TRecordReader;
class TRecordWriter;
class TJsonWriter;

struct TAttributeData {
    std::string Tag;
    std::string Value;
    bool FromPDM = false;
};

class TAttributeList {
public:
    std::vector<TAttributeData> fAttributeList;
    int fItemIndex = -1;

    int Count() const { return int(fAttributeList.size()); }
    void Clear();
    void Add(TAttributeData a) { fAttributeList.push_back(std::move(a)); }
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Assign(const TAttributeList& source);
    // Same length and, position by position, the same tag (ignoring case), value and origin.
    bool Compare(const TAttributeList& other) const;
    // The attribute at fItemIndex; nullptr when nothing valid is selected.
    TAttributeData* GetSelected();
    const TAttributeData* GetSelected() const;

    // Tags are compared ignoring case; the first match counts.
    int IndexOf(std::string_view tag) const;
    // Empty when the tag is absent.
    std::string GetValue(std::string_view tag) const;
    // Does nothing when the tag is absent: header attributes are only made by the lists below.
    void SetValue(std::string_view tag, std::string_view value);

    // Lines of the form tag "=" value; the first "=" splits, tag and value are taken as they
    // stand, and lines without "=" are skipped. Adding updates the value and origin of a tag
    // present, else appends; syncing only updates tags present.
    void AddFromStringList(const std::vector<std::string>& lines, bool addFromPDM);
    void SyncWithStringList(const std::vector<std::string>& lines);
    void SaveToStringList(std::vector<std::string>& lines) const;
    // Adds the lines of a text file (UTF-8, or Windows-1252 when it is not valid UTF-8). False,
    // with the list unchanged, when Path is not an existing regular file, cannot be read or is
    // larger than MaxAttributeFileSize.
    bool AddFromFile(const std::string& path, bool addFromPDM = false);
    static constexpr size_t MaxAttributeFileSize = size_t(4) << 20;

    // Deletes the attributes the program fills in itself when it prints: the current date and
    // time and their parts. A stored value of them would be stale.
    void RemoveAutoFilledInAttributes();
    // The whole list as tag "=" value lines, and back: FromStrings replaces the list, every
    // attribute read back has FromPDM false.
    void ToStrings(std::vector<std::string>& lines) const;
    void FromStrings(const std::vector<std::string>& lines);
    // Takes over every attribute of Source: the value and origin of tags present are updated,
    // the others appended in Source's order.
    void CombineWith(const TAttributeList& source);
    // Completes a layout's attributes from the drawing header: appends the header's attributes
    // whose tags this list lacks and leaves those present alone, so a layout's own values win.
    void CombineWithDrawingHeader(const TAttributeList& header);

    // Reads the block up to "ENDATTRIBUTELIST."; the opener line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

enum TSymbolLayerState : uint8_t { slsHide, slsShow, slsPartial };

struct TSymbolLayerData {
    std::string Name;
    TSymbolLayerState State = slsShow;
    friend bool operator==(const TSymbolLayerData&, const TSymbolLayerData&) = default;
};

// The three states of a layer's check box in the layer dialogs.
enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

struct TSymbolLayer {
    TSymbolLayerData fData;
    std::vector<std::string> fHideSubList; // names compared ignoring case

    // The name is one of DefaultLayerNames, ignoring case.
    bool IsDefaultLayer() const;
    // A default layer shown whole: such a layer is not written.
    bool IsDefault() const;
    bool IsHiddenSubLayer(std::string_view name) const;
    // False when the name is already hidden.
    bool AddHideSubItem(std::string_view name);
    // False when the name was not hidden.
    bool RemoveHideSubItem(std::string_view name);
    // Hidden is unchecked, shown checked, partly shown grayed; the hidden sub-layers are kept
    // whatever the state, so that going back to partial restores them.
    TCheckBoxState CheckBoxState() const;
    void SetCheckBoxState(TCheckBoxState state);

    friend bool operator==(const TSymbolLayer&, const TSymbolLayer&) = default;
};

// The layers every drawing has, in their order.
extern const std::string_view DefaultLayerNames[6];

class TSymbolLayerList {
public:
    std::vector<TSymbolLayer> fList;

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    TSymbolLayer& Add(TSymbolLayer layer);
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Assign(const TSymbolLayerList& source) { fList = source.fList; }
    // Same length and equal layers at equal positions.
    bool Compare(const TSymbolLayerList& other) const { return fList == other.fList; }

    int IndexOf(std::string_view name) const;
    // The position of that very layer object in the list, -1 when it is not one of ours.
    int IndexOf(const TSymbolLayer& layer) const;
    // Copies in a layer whose name is not present; false when it is.
    bool Append(const TSymbolLayer& layer);
    // Copies in every layer of Source whose name is not present, then sorts.
    void Append(const TSymbolLayerList& source);
    // Deletes every layer in default state.
    void Purge();
    // Keeps the layers Master has, adds Master's others shown whole, then sorts.
    void SynchronizeWith(const TSymbolLayerList& master);
    // Sorts, then fills Strings with the translated layer names.
    void ToStrings(std::vector<std::string>& strings);
    // Adds the default layers the list lacks, then sorts.
    void AddDefaults();
    // "-- None --" first, then the drawing's own layers, then the other default layers, each
    // group by name.
    void Sort();
    // Reads the block up to "ENDSYMBOLLAYERLIST."; the opener line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

struct TRevisionData {
    std::string Number;
    std::string Code;
    double Date = 0; // day count since 30 December 1899
    std::string Description;
    std::string DrawnBy;
    std::string CheckedBy;
    std::string User1;
    std::string User2;

    // Every field; the date within the writers' tolerance.
    bool Compare(const TRevisionData& other) const;
};

class TRevisionList {
public:
    std::vector<TRevisionData> fList; // position 0 is revision 1

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    // A new revision is dated today, at midnight.
    TRevisionData& Add();
    // Positions out of range are ignored (nullptr for the look-ups).
    void Delete(int index);
    void Exchange(int index1, int index2);
    TRevisionData* GetRevisions(int index);
    const TRevisionData* GetRevisions(int index) const;
    TRevisionData* GetFirst() { return GetRevisions(0); }
    TRevisionData* GetLast() { return GetRevisions(Count() - 1); }
    void Assign(const TRevisionList& source) { fList = source.fList; }
    bool Compare(const TRevisionList& other) const;

    // Reads one revision up to "ENDREVISION."; the opener line has been consumed.
    void LoadRevision(TRecordReader& reader);
    // Each revision as a "Revision:" block after an empty line.
    void SaveToUniCodeFile(TRecordWriter& writer) const;
    void Dump(TJsonWriter& w) const;
};

void SaveRevision(TRecordWriter& writer, const TRevisionData& revision);

struct TSessionData {
    double Date = 0;     // the calendar day of the session
    int64_t Seconds = 0; // editing time in seconds on that day
    std::string Remark;

    bool Compare(const TSessionData& other) const;
};

class TSessionList {
public:
    std::vector<TSessionData> fList;

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    TSessionData& Add() { return fList.emplace_back(); }
    // Positions out of range are ignored (nullptr for the look-ups).
    void Delete(int index);
    void Exchange(int index1, int index2);
    TSessionData* GetSessions(int index);
    const TSessionData* GetSessions(int index) const;
    TSessionData* GetFirst() { return GetSessions(0); }
    TSessionData* GetLast() { return GetSessions(Count() - 1); }
    void Assign(const TSessionList& source) { fList = source.fList; }
    bool Compare(const TSessionList& other) const;

    // The first session on exactly that date; -1 when none.
    int IndexOf(double sessionDate) const;
    // Newest first. Sessions of equal dates end up in the order the design program's exchange
    // sort leaves them in, which is not their original order.
    void Sort();

    void LoadSession(TRecordReader& reader);
    // Each session as a "Session:" block after an empty line.
    void SaveToUniCodeFile(TRecordWriter& writer) const;
    void Dump(TJsonWriter& w) const;
};

void SaveSession(TRecordWriter& writer, const TSessionData& session);

// The current moment as a day count since 30 December 1899, local time.
double NowAsDayCount();
