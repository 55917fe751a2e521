#pragma once
// Base of the objects that belong to hydraulic line groups (ports, lines, nodes).
#include <memory>

#include "model/Groups.h"
#include "model/SymbolObjects.h"

class TSymbolObjectWithGroups : public TSymbolObject {
public:
    bool fBreakConnection = false;

    // The object's sub-group and main group. Most ports and lines of a large drawing have none,
    // so the defaults are shared and only objects with a group keep a copy of their own.
    const TSymSubGroupData& SubGroupData() const { return fGroupData ? fGroupData->Sub : DefaultSubGroup; }
    const TSymMainGroupData& MainGroupData() const {
        return fGroupData ? fGroupData->Main : DefaultMainGroup;
    }
    TSymSubGroupData& EditSubGroupData() { return EditGroupData().Sub; }
    TSymMainGroupData& EditMainGroupData() { return EditGroupData().Main; }
    void SetSubGroupData(const TSymSubGroupData& data);
    void SetMainGroupData(const TSymMainGroupData& data);

    const char* ClassName() const override { return "TSymbolObjectWithGroups"; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void UpdateGroupColors(const TSymGroups& groups) override;

    bool BreakConnection() const { return fBreakConnection; }
    // Breaking the connection also drops both group records.
    void SetBreakConnection(bool value);
    void SetGroupData(const TSymMainGroupData& mainData, const TSymSubGroupData& subData);
    // The group code that counts in the draw mode: main group, sub-group or none.
    std::string GroupCodeFor(TSymbolGroupDrawMode mode) const;
    bool HasGroupFor(TSymbolGroupDrawMode mode) const { return !GroupCodeFor(mode).empty(); }
    // The group colouring on top of the object pen, for the canvas's group draw mode.
    void ApplyGroupPen(TSymbolCanvas& canvas, TSymbolDrawMode mode) const;

protected:
    explicit TSymbolObjectWithGroups(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
    void DumpFields(TJsonWriter& w) const override;

private:
    struct TGroupData {
        TSymSubGroupData Sub;
        TSymMainGroupData Main;
    };
    static const TSymSubGroupData DefaultSubGroup;
    static const TSymMainGroupData DefaultMainGroup;
    TGroupData& EditGroupData();
    // Gives up the own copy when it holds the defaults again.
    void ShareDefaultGroups();
    std::unique_ptr<TGroupData> fGroupData;
};
