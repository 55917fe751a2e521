#pragma once
// Text and attribute objects.
#include "model/SymbolObjects.h"

class TSymbolObjectText : public TSymbolObject {
public:
    TSymbolObjectText() : TSymbolObject(somText) {}
    const char* ClassName() const override { return "TSymbolObjectText"; }
};

class TSymbolObjectAttribute : public TSymbolObject {
public:
    TSymbolObjectAttribute() : TSymbolObject(somAttribute) {}
    const char* ClassName() const override { return "TSymbolObjectAttribute"; }
};
