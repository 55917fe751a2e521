#pragma once
// Hydraulic line groups: main groups and sub-groups with their colours and line styles.
#include <memory>
#include <string>
#include <vector>

#include "base/DrawTypes.h"

class TRecordReader;
class TJsonWriter;

struct TSymMainGroupData {
    std::string Code; // empty: no group
    TColor Color = 32768;
    TSymLineStyle SymLineStyle = symlinestyleSolid;
    int32_t LineWeight = 0;
    bool TwoColorMode = false;
    TColor SecondColor = 255;
    bool operator==(const TSymMainGroupData&) const = default;
};

struct TSymSubGroupData {
    std::string Code;
    std::string MainGroupCode;
    TColor Color = 32768;
    TSymLineStyle SymLineStyle = symlinestyleSolid;
    int32_t LineWeight = 0;
    bool TwoColorMode = false;
    TColor SecondColor = 255;
    bool operator==(const TSymSubGroupData&) const = default;
};

// Reads one group record up to "END."; the opener has been consumed.
void LoadGroupRecord(TRecordReader& reader, TSymSubGroupData& data);
void LoadGroupRecord(TRecordReader& reader, TSymMainGroupData& data);
void DumpGroupData(TJsonWriter& w, const TSymSubGroupData& d);
void DumpGroupData(TJsonWriter& w, const TSymMainGroupData& d);

// An ordered list of group records; codes compare ignoring case.
template <class TData> class TSymGroupList {
public:
    std::vector<TData> fList;

    int Count() const { return int(fList.size()); }
    void Clear() { fList.clear(); }
    TData& Add() { return fList.emplace_back(); }
    int IndexOf(std::string_view code) const;
    // The record of that group; the default record when the code is empty or not found.
    TData DataOf(std::string_view code) const;
    // The record an object with the current record takes from this table: the default for an
    // empty code, the table's record for a known code, the current one otherwise.
    TData NewData(const TData& current) const;
    // Copies in every group whose code is not yet present.
    void Append(const TSymGroupList& second);
};

class TSymSubGroupList : public TSymGroupList<TSymSubGroupData> {
public:
    std::string MainGroupOf(std::string_view code) const;
    bool MainGroupIsUsed(std::string_view mainGroupCode) const;
    std::vector<TSymSubGroupData> CreateFilteredList(std::string_view mainGroupCode) const;
    // Gives every sub-group without a main group one of the standard main groups.
    bool OrganizeToISO();
};

class TSymMainGroupList : public TSymGroupList<TSymMainGroupData> {
public:
    // Adds or refreshes the standard main groups; true when anything changed.
    bool AddISOGroups();
};

class TSymGroups {
public:
    TSymSubGroupList fSubGroupList;
    TSymMainGroupList fMainGroupList;

    void Clear() {
        fSubGroupList.Clear();
        fMainGroupList.Clear();
    }
    bool operator==(const TSymGroups& o) const {
        return fSubGroupList.fList == o.fSubGroupList.fList && fMainGroupList.fList == o.fMainGroupList.fList;
    }
    void Dump(TJsonWriter& w) const;
};

// Sort key of a sub-group code: its first run of digits and points moved to the front.
std::string SmartSortCode(const std::string& code);
