#pragma once
// Annotation objects: leaders, item numbers, revision triangles, pictures and tables.
#include "render/ShapeObjects.h"

class TSymbolObjectLeader : public TSymbolObject {
public:
    TSymbolObjectLeader() : TSymbolObject(somLeader) {}
    const char* ClassName() const override { return "TSymbolObjectLeader"; }

protected:
    explicit TSymbolObjectLeader(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
};

class TSymbolObjectItemNumber : public TSymbolObjectLeader {
public:
    TSymbolObjectItemNumber() : TSymbolObjectLeader(somItemNumber) {}
    const char* ClassName() const override { return "TSymbolObjectItemNumber"; }
};

class TSymbolObjectRevTriangle : public TSymbolObject {
public:
    TSymbolObjectRevTriangle() : TSymbolObject(somRevisionTriangle) {}
    const char* ClassName() const override { return "TSymbolObjectRevTriangle"; }
};

class TSymbolObjectImage : public TSymbolObject2Point {
public:
    TSymbolObjectImage() : TSymbolObject2Point(somImage) {}
    const char* ClassName() const override { return "TSymbolObjectImage"; }
};

class TSymbolObjectTable : public TSymbolObject {
public:
    TSymbolObjectTable() : TSymbolObject(somTable) {}
    const char* ClassName() const override { return "TSymbolObjectTable"; }
};
