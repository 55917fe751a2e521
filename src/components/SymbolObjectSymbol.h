#pragma once
// The component symbol: a nested component and the root of every drawing.
#include <memory>

#include "model/BOM.h"
#include "model/Groups.h"
#include "model/SymbolObjects.h"
#include "objects/ElementObjects.h"

enum TJumpMode : uint8_t { jmNone, jmVertRight, jmVertLeft, jmHorzUp, jmHorzDown };

class TSymbolObjectSymbol : public TSymbolObject {
public:
    TSymbolObjectSymbol() : TSymbolObject(somSymbol) {}
    const char* ClassName() const override { return "TSymbolObjectSymbol"; }

    TSymGroups fSymGroups;
    TJumpMode fJumpMode = jmVertRight;
    int32_t fRotation = 0;
    bool fMirrorX = false;
    bool fMirrorY = false;
    bool fUsePortDisplayNameInBrevind = false;

    bool SearchesChildren() const override { return true; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void AfterLoad() override;

    TPoint InsertionPoint() const { return fP1; }
    // Caption of the first item-number child that has one.
    std::string ItemNumber() const;
    int SolenoidCount() const;
    // The options of the last solenoid among the direct children; none without one.
    TSolenoidOptions GetSolenoids() const;
    // On every direct solenoid child: the buttons, proportional and pilot options of Include are
    // switched on, then those of Exclude off; the other options stay as they are.
    void SetSolenoids(const TSolenoidOptions& include, const TSolenoidOptions& exclude);
    bool IsFlexibleHousing() const { return fBOMList.First() && fBOMList.First()->fData.FlexibleHousing; }
    bool IsSandwich() const { return fBOMList.First() && fBOMList.First()->fData.Sandwich; }
    // Exactly one hose and exactly two ports in the subtree.
    bool IsHose();

    // The display names of the direct port children: entries of ports that are gone are
    // dropped, new ports are added with their current text; the list ends up sorted.
    void GetPorts(TPortDisplayNameList& portList) const;
    void GetIPorts(TIPortDisplayNameList& iPortList) const;
    // Hand the names of a list to the direct port children; no list changes nothing.
    void SetPorts(const TPortDisplayNameList* portList);
    void SetIPorts(const TIPortDisplayNameList* iPortList);

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    // BOM fields that older files kept in the symbol record itself, while the record is read.
    // Made on the first such field: most components have none, and a drawing holds thousands.
    std::unique_ptr<TBOMData> fPendingBOM;
    TBOMData& PendingBOM();
};
