#pragma once
// Base of the objects that belong to hydraulic line groups (ports, lines, nodes).
#include "model/Groups.h"
#include "model/SymbolObjects.h"

class TSymbolObjectWithGroups : public TSymbolObject {
public:
    TSymSubGroupData fSymSubGroupData;
    TSymMainGroupData fSymMainGroupData;
    bool fBreakConnection = false;

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
};
