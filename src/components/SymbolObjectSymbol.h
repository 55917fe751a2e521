#pragma once
// The component symbol: a nested component and the root of every drawing.
#include "model/SymbolObjects.h"

class TSymbolObjectSymbol : public TSymbolObject {
public:
    TSymbolObjectSymbol() : TSymbolObject(somSymbol) {}
    const char* ClassName() const override { return "TSymbolObjectSymbol"; }
    bool SearchesChildren() const override { return true; }
};
