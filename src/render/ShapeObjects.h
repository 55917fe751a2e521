#pragma once
// Primitive shape objects: one-, two- and three-point shapes and poly-lines.
#include "model/SymbolObjects.h"

class TSymbolObject1Point : public TSymbolObject {
public:
    TSymbolObject1Point() : TSymbolObject(som1Point) {}
    const char* ClassName() const override { return "TSymbolObject1Point"; }
};

class TSymbolObject2Point : public TSymbolObject {
public:
    TSymbolObject2Point() : TSymbolObject(som2Point) {}
    const char* ClassName() const override { return "TSymbolObject2Point"; }

protected:
    explicit TSymbolObject2Point(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
};

class TSymbolObject3Point : public TSymbolObject {
public:
    TSymbolObject3Point() : TSymbolObject(som3Point) {}
    const char* ClassName() const override { return "TSymbolObject3Point"; }
};

class TSymbolObjectPolyLine : public TSymbolObject {
public:
    TSymbolObjectPolyLine() : TSymbolObject(somPolyLine) {}
    const char* ClassName() const override { return "TSymbolObjectPolyLine"; }
};
