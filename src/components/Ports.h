#pragma once
// Ports and inner ports of component symbols.
#include "model/SymbolObjectWithGroups.h"

class TSymbolObjectBasicPort : public TSymbolObjectWithGroups {
public:
    const char* ClassName() const override { return "TSymbolObjectBasicPort"; }

protected:
    explicit TSymbolObjectBasicPort(TSymbolObjectMainType mainType) : TSymbolObjectWithGroups(mainType) {}
};

class TSymbolObjectPort : public TSymbolObjectBasicPort {
public:
    TSymbolObjectPort() : TSymbolObjectBasicPort(somPort) {}
    const char* ClassName() const override { return "TSymbolObjectPort"; }
};

class TSymbolObjectIPort : public TSymbolObjectBasicPort {
public:
    TSymbolObjectIPort() : TSymbolObjectBasicPort(somIPort) {}
    const char* ClassName() const override { return "TSymbolObjectIPort"; }
};
