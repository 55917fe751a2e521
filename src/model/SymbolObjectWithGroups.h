#pragma once
// Base of the objects that belong to hydraulic line groups (ports, lines, nodes).
#include "model/SymbolObjects.h"

class TSymbolObjectWithGroups : public TSymbolObject {
public:
    bool fBreakConnection = false;

    const char* ClassName() const override { return "TSymbolObjectWithGroups"; }
    void SetDefaults() override;
    bool BreakConnection() const { return fBreakConnection; }
    void SetBreakConnection(bool value);

protected:
    explicit TSymbolObjectWithGroups(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
    void DumpFields(TJsonWriter& w) const override;
};
