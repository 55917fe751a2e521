#pragma once
// Hydraulic element objects: solenoids, orifices, hoses and electrical marks.
#include "objects/ShapeObjects.h"

class TSymbolObjectSolenoid : public TSymbolObject2Point {
public:
    TSymbolObjectSolenoid() : TSymbolObject2Point(somSolenoid) {}
    const char* ClassName() const override { return "TSymbolObjectSolenoid"; }
};

class TSymbolObjectOrifice : public TSymbolObject2Point {
public:
    TSymbolObjectOrifice() : TSymbolObject2Point(somOrifice) {}
    const char* ClassName() const override { return "TSymbolObjectOrifice"; }
};

class TSymbolObjectHose : public TSymbolObject2Point {
public:
    TSymbolObjectHose() : TSymbolObject2Point(somHose) {}
    const char* ClassName() const override { return "TSymbolObjectHose"; }
};

class TSymbolObjectSignalConverter : public TSymbolObject2Point {
public:
    TSymbolObjectSignalConverter() : TSymbolObject2Point(somSignalConverter) {}
    const char* ClassName() const override { return "TSymbolObjectSignalConverter"; }
};

class TSymbolObjectElectricalContact : public TSymbolObject2Point {
public:
    TSymbolObjectElectricalContact() : TSymbolObject2Point(somElectricalContact) {}
    const char* ClassName() const override { return "TSymbolObjectElectricalContact"; }
};

class TSymbolObjectElectric : public TSymbolObject {
public:
    TSymbolObjectElectric() : TSymbolObject(somElectric) {}
    const char* ClassName() const override { return "TSymbolObjectElectric"; }
};
