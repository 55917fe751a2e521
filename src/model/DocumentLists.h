#pragma once
// Document-level tables: header attributes, symbol layers, revisions and editing sessions.
#include <memory>
#include <string>
#include <vector>

class TRecordReader;
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
    // Reads the block up to "ENDATTRIBUTELIST."; the opener line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

enum TSymbolLayerState : uint8_t { slsHide, slsShow, slsPartial };

struct TSymbolLayerData {
    std::string Name;
    TSymbolLayerState State = slsShow;
};

struct TSymbolLayer {
    TSymbolLayerData fData;
    std::vector<std::string> fHideSubList;
};

// The layers every drawing has, in their order.
extern const std::string_view DefaultLayerNames[6];

class TSymbolLayerList {
public:
    std::vector<TSymbolLayer> fList;

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    int IndexOf(std::string_view name) const;
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
};

class TRevisionList {
public:
    std::vector<TRevisionData> fList;

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    // A new revision is dated today.
    TRevisionData& Add();
    // Reads one revision up to "ENDREVISION."; the opener line has been consumed.
    void LoadRevision(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

struct TSessionData {
    double Date = 0;
    int64_t Seconds = 0; // editing time in seconds on that day
    std::string Remark;
};

class TSessionList {
public:
    std::vector<TSessionData> fList;

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    void LoadSession(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

// The current moment as a day count since 30 December 1899, local time.
double NowAsDayCount();

// Consumes a block whose reader does not exist yet, up to and including its terminator.
// Records nested in it that close with nestedTerminator are consumed whole, so their
// terminators cannot end the block early.
void SkipBlock(TRecordReader& reader, std::string_view terminator, std::string_view nestedOpener = {},
               std::string_view nestedTerminator = {});
