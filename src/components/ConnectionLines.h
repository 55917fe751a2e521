#pragma once
// Connection lines, junction nodes and sheet references.
#include "model/SymbolObjectWithGroups.h"
#include "render/ShapeObjects.h"

class TSymbolObjectConnectionLine : public TSymbolObjectWithGroups {
public:
    TSymbolObjectConnectionLine() : TSymbolObjectWithGroups(somConnectionLine) {}
    const char* ClassName() const override { return "TSymbolObjectConnectionLine"; }
};

class TSymbolObjectConnectionNode : public TSymbolObjectWithGroups {
public:
    TSymbolObjectConnectionNode() : TSymbolObjectWithGroups(somConnectionNode) {}
    const char* ClassName() const override { return "TSymbolObjectConnectionNode"; }
};

class TSymbolObjectConnectionLineRef : public TSymbolObject2Point {
public:
    TSymbolObjectConnectionLineRef() : TSymbolObject2Point(somConnectionLineRef) {}
    const char* ClassName() const override { return "TSymbolObjectConnectionLineRef"; }
};
