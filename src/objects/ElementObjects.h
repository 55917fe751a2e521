#pragma once
// Hydraulic element objects: solenoids, orifices, hoses and electrical marks. Each is drawn from
// its one or two stored points by fixed proportions, so it looks the same at any size.
#include "objects/ShapeObjects.h"
#include "render/ShapeGeometry.h"
#include "render/XYLines.h"

#include <array>
#include <bitset>
#include <initializer_list>
#include <string>
#include <string_view>

enum TSolenoidOption : uint8_t {
    solNone,
    solSolenoid,
    solButtonSide,
    solButtonTop,
    solProportional,
    solPilot
};
constexpr int SolenoidOptionCount = 6;
using TSolenoidOptions = std::bitset<SolenoidOptionCount>; // indexed by TSolenoidOption

enum TOrificeOption : uint8_t { ooNone, ooValue1, ooValue2, ooClosed, ooFilled, ooLine, ooReplaceable };
constexpr int OrificeOptionCount = 7;
using TOrificeOptions = std::bitset<OrificeOptionCount>; // indexed by TOrificeOption

enum TSignalConverterInput : uint8_t {
    svInputNone,
    svInputFlow,
    svInputGauging,
    svInputLevel,
    svInputPressure,
    svInputSpeed,
    svInputTemperature,
    svInputWeight,
};
constexpr int SignalConverterInputCount = 8;

enum TSignalConverterOutput : uint8_t {
    svOutputNone,
    svOutputElecSwitch,
    svOutputElecAnalogue,
    svOutputElecDigital,
};
constexpr int SignalConverterOutputCount = 4;

enum TElectricalContactType : uint8_t { ecNone, ecBreakContact, ecMakeContact, ecSwitchContact };
constexpr int ElectricalContactTypeCount = 4;

// File names of the values, in enumeration order.
extern const std::string_view SolenoidOptionNames[SolenoidOptionCount];
extern const std::string_view OrificeOptionNames[OrificeOptionCount];
extern const std::string_view SignalConverterInputNames[SignalConverterInputCount];
extern const std::string_view SignalConverterOutputNames[SignalConverterOutputCount];
extern const std::string_view ElectricalContactTypeNames[ElectricalContactTypeCount];
// The letter a converter shows for its input: "*" for none.
std::string_view SignalConverterInputLetter(TSignalConverterInput input);

// Identifiers as the dump writes them.
std::string_view SolenoidOptionIdent(TSolenoidOption o);
std::string_view OrificeOptionIdent(TOrificeOption o);
std::string_view SignalConverterInputIdent(TSignalConverterInput v);
std::string_view SignalConverterOutputIdent(TSignalConverterOutput v);
std::string_view ElectricalContactTypeIdent(TElectricalContactType v);

TSolenoidOptions SolenoidOptions(std::initializer_list<TSolenoidOption> options);
TOrificeOptions OrificeOptions(std::initializer_list<TOrificeOption> options);

// With a = PointAngle(P1, P2): horizontal for a in [0, 90] or [180, 270]. The orientation thus
// follows which pair of opposite corners is stored, not the proportions of the box.
bool ElementIsHorz(const TPoint& p1, const TPoint& p2);

// Box with a slanted stroke, optional push buttons and a proportional arrow.
class TSymbolObjectSolenoid : public TSymbolObject2Point {
public:
    TSymbolObjectSolenoid() : TSymbolObject2Point(somSolenoid) {}
    const char* ClassName() const override { return "TSymbolObjectSolenoid"; }

    TSolenoidOptions fOptions = SolenoidOptions({solSolenoid});

    bool IsHorz() const { return ElementIsHorz(fP1, fP2); }
    bool HasOption(TSolenoidOption o) const { return fOptions.test(o); }

    bool SearchesChildren() const override { return true; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // Box, stroke and buttons, in drawing units.
    TShapeGeometry Geometry() const;
    // Start and tip of the proportional arrow, in whole units.
    void ProportionalArrow(TPoint& from, TPoint& tip) const;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    // What is drawn, the proportional arrow included.
    TShapeGeometry FullGeometry() const;
};

// Circle on the diameter P1-P2 with restrictor arcs, chevrons, a cross or a centre line.
class TSymbolObjectOrifice : public TSymbolObject2Point {
public:
    TSymbolObjectOrifice() : TSymbolObject2Point(somOrifice) {}
    const char* ClassName() const override { return "TSymbolObjectOrifice"; }

    TOrificeOptions fOptions;

    // The lowest of ooNone ... ooLine that is set; ooNone when none is.
    TOrificeOption OrificeType() const;
    bool IsReplaceable() const { return fOptions.test(ooReplaceable); }
    double Radius() const;
    TXYPoint CenterPoint() const;

    bool SearchesChildren() const override { return true; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // Everything the options add, the circle included (which some modes leave out), in drawing
    // units; empty when the two points coincide.
    TShapeGeometry Geometry() const;
    // The marks inside the circle: the cross, the chevrons and the restrictor arcs.
    TShapeGeometry MarkGeometry() const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

// The lightning mark at fP1.
class TSymbolObjectElectric : public TSymbolObject {
public:
    TSymbolObjectElectric() : TSymbolObject(somElectric) {}
    const char* ClassName() const override { return "TSymbolObjectElectric"; }

    static constexpr int32_t Size = 10;

    // Q0 ... Q7: the zig-zag ending in an arrowhead at Q5 (Q4, Q5, Q6), Q7 back at Q3.
    std::array<TXYPoint, 8> GetDrawPoints() const;

    bool SearchesChildren() const override { return true; }
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    TShapeGeometry Geometry() const;
};

// A box split by a diagonal: the measured quantity's letter in one half, the output's mark in
// the other.
class TSymbolObjectSignalConverter : public TSymbolObject2Point {
public:
    TSymbolObjectSignalConverter() : TSymbolObject2Point(somSignalConverter) {}
    const char* ClassName() const override { return "TSymbolObjectSignalConverter"; }

    TSignalConverterInput fInputSignal = svInputFlow;
    TSignalConverterOutput fOutputSignal = svOutputElecSwitch;

    bool IsHorz() const { return ElementIsHorz(fP1, fP2); }
    // Size of the marks: a third of the box's smaller side, 20 for a side of exactly 80.
    double GetM() const;
    TXYPoint OutputCentre() const;
    TXYPoint InputCentre() const;

    bool SearchesChildren() const override { return true; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // Box, diagonal and the output's line mark, in drawing units; the text marks are not part
    // of it.
    TShapeGeometry Geometry() const;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    TShapeGeometry HitGeometry() const;
};

// A box with contact blades.
class TSymbolObjectElectricalContact : public TSymbolObject2Point {
public:
    TSymbolObjectElectricalContact() : TSymbolObject2Point(somElectricalContact) {}
    const char* ClassName() const override { return "TSymbolObjectElectricalContact"; }

    TElectricalContactType fElectricalContact = ecNone;

    bool IsHorz() const { return ElementIsHorz(fP1, fP2); }
    // A third of the box's smaller side.
    double GetM() const;
    // The blades of the contact type; none for ecNone.
    void CreateLines(TXYLineList& lines) const;

    bool SearchesChildren() const override { return true; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // Box and blades, in drawing units; the text mark of ecNone is not part of it.
    TShapeGeometry Geometry() const;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    TShapeGeometry HitGeometry() const;
};

struct TSymbolObjectHoseData {
    std::string Connection1;
    std::string Connection2;
    double HoseLength = 0;   // mm
    double HoseLengthIN = 0; // inch
    std::string HoseNumber;
    double PMax = 0;    // bar
    double PMaxPSI = 0; // psi
    std::string Remark;
    std::string Remark2;
    std::string Description;
    std::string HoseType = "<conn1> + <conn2> L=<length> %u"; // caption template
    std::string HoseRotation;
};

// An arc between two end dots, with the hose's own data from which it builds its caption.
class TSymbolObjectHose : public TSymbolObject2Point {
public:
    TSymbolObjectHose() : TSymbolObject2Point(somHose) {}
    const char* ClassName() const override { return "TSymbolObjectHose"; }

    TSymbolObjectHoseData fData;

    // The caption: the template with its placeholders filled in, numbers in the display units
    // with the given decimal separator.
    std::string HoseType(char decimalSeparator = '.') const;
    // Length and maximum pressure in the display units: the stored value of that unit system,
    // or the other one converted when it is 0.
    double HoseLength() const;
    double HosePMax() const;
    static constexpr int32_t DotRadius() { return 5; }
    // Centre and radius of the arc through P1 and P2.
    void GetCnterAndRadius(TXYPoint& centre, double& radius) const;
    // The five points between P1 and P2 that stand for the arc when it is short on the screen.
    std::array<TXYPoint, 5> IntermediatePoints() const;

    bool SearchesChildren() const override { return true; }
    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    // Fills the hose-type attributes among the children with the caption, in the units and
    // decimal separator of the moment, before they are measured.
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // End dots (radius DotRadius) and the arc, in drawing units.
    TShapeGeometry Geometry() const;
    // Sets the value of every hose-type attribute child to the caption; true when one changed.
    bool UpdateHoseTypeAttributes(char decimalSeparator);

protected:
    void DumpFields(TJsonWriter& w) const override;
};
