#include <gtest/gtest.h>

#include "components/OrderingCodeFields.h"
#include "components/Ports.h"
#include "components/SymbolObjectSymbol.h"
#include "model/AttributeTags.h"
#include "objects/ElementObjects.h"
#include "objects/TextObjects.h"

namespace {

using TLines = std::vector<std::string>;
namespace Helper = TOrderingCodeGeneratorHelper;

// A BOM record whose generator is read from the lines and checked as the reader does it.
TBOM MakeBOM(const TLines& lines, const std::string& type = "T-[Size]") {
    TBOM bom;
    bom.fData.ComponentType = type;
    Helper::FromStrings(bom.fOrderingCode, lines);
    bom.fOrderingCode.CheckAll();
    return bom;
}

TLines AttributeLines(const TBOM& bom) {
    TLines lines;
    bom.fComponentAttributeList.ToStrings(lines);
    return lines;
}

template <class T> T& AddChild(TSymbolObject& parent) {
    return static_cast<T&>(*parent.fSymbolObjectList.Append(std::make_unique<T>()));
}

TSymbolObjectAttribute& AddAttribute(TSymbolObject& parent, const std::string& tag,
                                     const std::string& value) {
    auto& a = AddChild<TSymbolObjectAttribute>(parent);
    a.fTag = tag;
    a.fValue = value;
    return a;
}

// ---------------------------------------------------------------------------------------------
// The BOM record

TEST(OrderingCodeFields, FieldsToBOMAppliesDefaultsThenTheChosenOption) {
    TBOM bom = MakeBOM({"[/Defaults/]", "=||Weight=1|3DModel=<>|Height=4", "[Size]=M10", "M8=||Weight=3",
                        "M10=||PMax=350|attr_SIZE=10|Weight=2|Clamping Length=12.5|Sandwich=Yes|Price=abc|"
                        "ArticleCode=R9||Unknown=1|SymbolFile=v",
                        "[Seal]", "N", "V"},
                       "A-[Size]-[Seal]-B");
    bom.fData.Manufacturer = "M";
    bom.fData.Price = 5;
    EXPECT_TRUE(Helper::FieldsToBOM(bom.fOrderingCode, bom));
    const TBOMData& d = bom.fData;
    EXPECT_DOUBLE_EQ(d.PMax, 350);
    EXPECT_DOUBLE_EQ(d.Weight, 2); // the option comes after the defaults
    EXPECT_DOUBLE_EQ(d.Height, 4);
    EXPECT_DOUBLE_EQ(d.BoltHeight, 12.5); // spaces in keys do not count
    EXPECT_TRUE(d.Sandwich);
    EXPECT_DOUBLE_EQ(d.Price, 0); // no number
    EXPECT_EQ(d.ArticleCode, "R9");
    EXPECT_EQ(d.SymbolFile, "v");
    EXPECT_EQ(d.AssemblyDrawing, "M_A-M10-_-B"); // the "?" of the open [Seal] cannot name a file
    EXPECT_TRUE(bom.fComponentAttributeList.Count() == 0);
}

TEST(OrderingCodeFields, ModelNameRuleAndNothingToDo) {
    struct Case {
        const char* assemblyDrawing;
        const char* result;
        bool changed;
    };
    const Case cases[] = {
        {"<>", "Acme_T-M8", true},
        {"dir/<>-<>.stp", "dir_T-M8-__.stp", true}, // the code goes into the first "<>" only
        {"model.stp", "model.stp", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.assemblyDrawing);
        TBOM bom = MakeBOM({"[Size]", "M8"});
        bom.fData.Manufacturer = "Acme";
        bom.fData.AssemblyDrawing = c.assemblyDrawing;
        EXPECT_EQ(Helper::FieldsToBOM(bom.fOrderingCode, bom), c.changed);
        EXPECT_EQ(bom.fData.AssemblyDrawing, c.result);
    }
    // Without any section the rule still names the model after the type.
    TBOM plain;
    plain.fData.ComponentType = "T:1";
    plain.fData.AssemblyDrawing = "<>";
    EXPECT_TRUE(Helper::FieldsToBOM(plain.fOrderingCode, plain));
    EXPECT_EQ(plain.fData.AssemblyDrawing, "_T_1");
}

TEST(OrderingCodeFields, AttributesToBOM) {
    TBOM bom =
        MakeBOM({"[Size]", "M8=||attr_SIZE=10|attr_X=6|attr_Flow=a\\\\b|attr_pressure=350|attr_Cavity=C2"});
    bom.fComponentAttributeList.FromStrings({"PRESSURE=350", "CAVITY=c1"});
    EXPECT_TRUE(Helper::AttributesToBOM(bom.fOrderingCode, bom));
    EXPECT_EQ(AttributeLines(bom),
              (std::vector<std::string>{"PRESSURE=350", "CAVITY=C2", "SIZE=10", "Flow=a|b"}));
    EXPECT_FALSE(Helper::AttributesToBOM(bom.fOrderingCode, bom));
    bom.fComponentAttributeList.Items(1)->SetAttributeValue("c2"); // differs in case only
    EXPECT_FALSE(Helper::AttributesToBOM(bom.fOrderingCode, bom));
    EXPECT_EQ(bom.fComponentAttributeList.Items(1)->AttributeValue(), "c2");
}

// ---------------------------------------------------------------------------------------------
// The symbol

// A valve: a size attribute (another one in a nested symbol), two solenoids with a top button,
// ports P1 and P2, an inner port X, an orifice named A showing its value 0.8 and an unnamed one.
struct TValve {
    TSymbolObjectSymbol Symbol;
    TSymbolObjectAttribute* Size;
    TSymbolObjectAttribute* NestedSize;
    std::vector<TSymbolObjectSolenoid*> Solenoids;
    TSymbolObjectPort* P1;
    TSymbolObjectPort* P2;
    TSymbolObjectIPort* Inner;
    TSymbolObjectOrifice* Orifice;
    TSymbolObjectAttribute* OrificeValue;
    TSymbolObjectOrifice* Unnamed;

    TValve() {
        Size = &AddAttribute(Symbol, "SIZE", "6");
        auto& nested = AddChild<TSymbolObjectSymbol>(Symbol);
        NestedSize = &AddAttribute(nested, "size", "6");
        for (int i = 0; i < 2; ++i) {
            auto& s = AddChild<TSymbolObjectSolenoid>(i == 0 ? static_cast<TSymbolObject&>(Symbol) : nested);
            s.fOptions = SolenoidOptions({solSolenoid, solButtonTop});
            Solenoids.push_back(&s);
        }
        P1 = &AddChild<TSymbolObjectPort>(Symbol);
        P1->fPortName = "P1";
        P1->fPortText = "P1";
        P2 = &AddChild<TSymbolObjectPort>(Symbol);
        P2->fPortName = "P2";
        P2->fPortText = "P2";
        Inner = &AddChild<TSymbolObjectIPort>(Symbol);
        Inner->fPortText = "X";
        Orifice = &AddChild<TSymbolObjectOrifice>(Symbol);
        Orifice->fOptions = OrificeOptions({ooValue1, ooReplaceable});
        AddAttribute(*Orifice, "ORIFICE NAME", "A");
        OrificeValue = &AddAttribute(*Orifice, "ORIFICE VALUE", "");
        OrificeValue->fFloatingPoint = true;
        OrificeValue->fFloatValue = 0.8;
        Unnamed = &AddChild<TSymbolObjectOrifice>(Symbol);
        Unnamed->fOptions = OrificeOptions({ooValue1});
    }
};

TEST(OrderingCodeFields, AttributesToSymbolAndTheBOMForMissingTags) {
    TValve v;
    TBOM bom = MakeBOM({"[Size]", "M8=||attr_SIZE=10|attr_COLOR=red|attr_LOGO=x\\\\y|attr_X=1"});
    bom.fComponentAttributeList.AddWithData("LOGO", "old");
    EXPECT_TRUE(Helper::AttributesToSymbol(bom.fOrderingCode, v.Symbol, bom));
    EXPECT_EQ(v.Size->fValue, "10");
    EXPECT_EQ(v.NestedSize->fValue, "10");
    // Tags the symbol lacks go to the BOM record, which keeps values it has.
    EXPECT_EQ(AttributeLines(bom), (std::vector<std::string>{"LOGO=old", "COLOR=red"}));

    // A symbol without attribute objects takes none of them, nor does the BOM record.
    TSymbolObjectSymbol bare;
    TBOM other = MakeBOM({"[Size]", "M8=||attr_COLOR=red"});
    EXPECT_FALSE(Helper::AttributesToSymbol(other.fOrderingCode, bare, other));
    EXPECT_TRUE(other.fComponentAttributeList.Count() == 0);
}

TEST(OrderingCodeFields, OrificeValues) {
    struct Case {
        const char* value;
        double startValue;
        TOrificeOption type;
        double shown;
        bool hidden;
    };
    const Case cases[] =
        {
            {"0", 0.8, ooClosed, 0, true},       {"99", 0.8, ooLine, 0, true},
            {"-1.5", 0.8, ooValue2, 1.5, false}, {"0.8", 0.8, ooValue1, 0.8, false},
            {"2", 0, ooValue1, 2, false}, // a value again shows the hidden attribute
            {"x", 0.8, ooClosed, 0, true},
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        TValve v;
        v.OrificeValue->fFloatValue = c.startValue;
        v.OrificeValue->fHide = c.startValue == 0;
        TBOM bom = MakeBOM({"[Size]", std::string("M8=||orifice_a=") + c.value});
        EXPECT_EQ(Helper::FieldsToSymbolLayout(bom.fOrderingCode, v.Symbol, bom),
                  c.type != ooValue1 || c.shown != c.startValue);
        EXPECT_EQ(v.Orifice->OrificeType(), c.type);
        EXPECT_TRUE(v.Orifice->IsReplaceable());
        EXPECT_DOUBLE_EQ(v.OrificeValue->fFloatValue, c.shown);
        EXPECT_EQ(v.OrificeValue->fHide, c.hidden);
        EXPECT_EQ(v.Unnamed->OrificeType(), ooValue1); // its field is "Orifice"
    }
    TValve v;
    TBOM bom = MakeBOM({"[Size]", "M8=||Orifice=0"});
    Helper::FieldsToSymbolLayout(bom.fOrderingCode, v.Symbol, bom);
    EXPECT_EQ(v.Unnamed->OrificeType(), ooClosed);
    EXPECT_EQ(v.Orifice->OrificeType(), ooValue1);
}

TEST(OrderingCodeFields, ButtonsPortsAndInnerPorts) {
    TValve v;
    TBOM bom = MakeBOM({"[Size]=M8", "M8=||EmergencyButton=Yes|Port_p1=Closed",
                        "M10=||EmergencyButton=No|Port_P1=Open", "[/IPorts/]", "X=Y", "y=Z", "Q=R"});
    EXPECT_TRUE(Helper::FieldsToSymbolLayout(bom.fOrderingCode, v.Symbol, bom));
    for (auto* s : v.Solenoids)
        EXPECT_EQ(s->fOptions, SolenoidOptions({solSolenoid, solButtonSide}));
    EXPECT_TRUE(v.P1->fClosedPort);
    EXPECT_FALSE(v.P2->fClosedPort);
    EXPECT_EQ(v.Inner->fPortText, "Z"); // each key sees the text the one before left

    bom.fOrderingCode.Sections(0).SetItemIndex(1);
    EXPECT_TRUE(Helper::FieldsToSymbolLayout(bom.fOrderingCode, v.Symbol, bom));
    for (auto* s : v.Solenoids)
        EXPECT_EQ(s->fOptions, SolenoidOptions({solSolenoid}));
    EXPECT_FALSE(v.P1->fClosedPort);
    EXPECT_FALSE(Helper::FieldsToSymbolLayout(bom.fOrderingCode, v.Symbol, bom));
}

TEST(OrderingCodeFields, FieldsToSymbolDoesBoth) {
    TValve v;
    TBOM bom = MakeBOM({"[Size]", "M8=||PMax=210|attr_SIZE=8|Port_P2=closed"});
    EXPECT_TRUE(Helper::FieldsToSymbol(bom.fOrderingCode, v.Symbol, bom));
    EXPECT_DOUBLE_EQ(bom.fData.PMax, 210);
    EXPECT_EQ(v.Size->fValue, "8");
    EXPECT_TRUE(v.P2->fClosedPort);
    EXPECT_FALSE(Helper::FieldsToSymbol(bom.fOrderingCode, v.Symbol, bom));
}

// ---------------------------------------------------------------------------------------------
// Preparing a generator

TEST(OrderingCodeFields, DefaultsAndSymbolFileNames) {
    TBOM bom = MakeBOM({"[Size]", "M8"}, "X-[Size]");
    bom.fData.Manufacturer = "M";
    EXPECT_TRUE(Helper::AddDefaults(bom.fOrderingCode));
    EXPECT_FALSE(Helper::AddDefaults(bom.fOrderingCode));
    ASSERT_NE(bom.fOrderingCode.DefaultsList(), nullptr);
    EXPECT_EQ(bom.fOrderingCode.DefaultsList()->Mode(), sectionSpecial);
    Helper::FieldsToBOM(bom.fOrderingCode, bom);
    EXPECT_EQ(bom.fData.AssemblyDrawing, "M_X-M8");

    TOrderingCodeGenerator g;
    Helper::FromStrings(g, {"[A]", "a1=||SymbolFile=valve_b", "a2=||symbolfile=Valve_A|SymbolFile=", "[B]",
                            "b1", "[[A]+[B]]", "a1+b1=||SymbolFile=VALVE_B", "[/CodeList/]",
                            "X=||SymbolFile=c", "[A]+[B]", "a1=b1||SymbolFile=rule", "[/IPorts/]",
                            "=||SymbolFile=port", "[/Defaults/]", "=||Weight=1|SymbolFile = d"});
    EXPECT_EQ(Helper::CreateListSymbolFileNames(g), (TLines{"c", "d", "Valve_A", "valve_b"}));
}

TEST(OrderingCodeFields, CopyAttributesAndPorts) {
    TValve v;
    TValve copy;
    copy.P1->fPortText = "Pressure";
    copy.P2->fPortText = "Help";
    copy.P2->fUsedAsHelpPort = true;
    copy.Size->fValue = "10";
    auto& copyValue = AddAttribute(copy.Symbol, "ORIFICE VALUE", "");
    copyValue.fFloatingPoint = true;
    copyValue.fFloatValue = 1.25; // its text stays empty
    copy.Symbol.fUsePortDisplayNameInBrevind = true;

    EXPECT_TRUE(Helper::CopyAttributesAndPorts(v.Symbol, copy.Symbol));
    EXPECT_EQ(v.P1->fPortText, "Pressure");
    EXPECT_EQ(v.P2->fPortText, "P2"); // help ports keep their names
    EXPECT_EQ(v.Size->fValue, "10");
    EXPECT_EQ(v.NestedSize->fValue, "10");
    EXPECT_DOUBLE_EQ(v.OrificeValue->fFloatValue, 1.25);
    EXPECT_TRUE(v.Symbol.fUsePortDisplayNameInBrevind);

    EXPECT_EQ(ReplaceAttribute(v.Symbol, "orifice value", "2,5", ','), 1);
    EXPECT_DOUBLE_EQ(v.OrificeValue->fFloatValue, 2.5);
    EXPECT_EQ(ReplaceAttribute(v.Symbol, "ORIFICE VALUE", "wide"), 0);
    EXPECT_DOUBLE_EQ(v.OrificeValue->fFloatValue, 2.5);
    EXPECT_EQ(ReplaceAttribute(v.Symbol, "Size", "12"), 2);
}

} // namespace
