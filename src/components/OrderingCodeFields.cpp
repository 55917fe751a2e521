#include "components/OrderingCodeFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "components/Ports.h"
#include "components/SymbolObjectSymbol.h"
#include "model/AttributeTags.h"
#include "model/KeyValues.h"
#include "objects/ElementObjects.h"
#include "objects/TextObjects.h"

using namespace std::string_view_literals;

namespace {

// The assignments of one fields text. An empty item matches nothing; a trailing one is dropped.
std::vector<TKeyValue> Assignments(std::string_view fields) {
    std::vector<TKeyValue> list;
    size_t pos = 0;
    for (;;) {
        size_t bar = fields.find('|', pos);
        std::string_view item = fields.substr(pos, bar == std::string_view::npos ? bar : bar - pos);
        if (bar == std::string_view::npos && item.empty()) break;
        list.emplace_back().ParseFromString(item);
        if (bar == std::string_view::npos) break;
        pos = bar + 1;
    }
    return list;
}

// "|" separates the assignments, so attribute values write it as two backslashes.
std::string AttributeValue(std::string_view value) {
    std::string r;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') {
            r.push_back('|');
            ++i;
        } else {
            r.push_back(value[i]);
        }
    }
    return r;
}

bool IsAttributeKey(std::string_view key) {
    return key.size() >= 7 && SameTextAscii(key.substr(0, 5), "attr_");
}

template <class T> std::vector<T*> Descendants(TSymbolObject& root) {
    std::vector<T*> list;
    for (const auto& child : root.fSymbolObjectList)
        child->ForEachInSubtree([&](TSymbolObject* o) {
            if (auto* t = dynamic_cast<T*>(o)) list.push_back(t);
        });
    return list;
}

template <class T> std::vector<const T*> Children(const TSymbolObject& parent) {
    std::vector<const T*> list;
    for (const auto& child : parent.fSymbolObjectList)
        if (const auto* t = dynamic_cast<const T*>(child.get())) list.push_back(t);
    return list;
}

TComponentAttribute* FindComponentAttribute(TBOM& bom, std::string_view tag) {
    const int i = bom.fComponentAttributeList.IndexOf(tag);
    return i < 0 ? nullptr : bom.fComponentAttributeList.Items(i);
}

struct TTextField {
    std::string_view Key;
    std::string TBOMData::*Field;
};
struct TNumberField {
    std::string_view Key;
    double TBOMData::*Field;
};

constexpr TTextField TextFields[] = {
    {"BrevindFile", &TBOMData::BrevindFile}, {"3DModel", &TBOMData::AssemblyDrawing},
    {"ArticleCode", &TBOMData::ArticleCode}, {"SymbolFile", &TBOMData::SymbolFile},
    {"Description", &TBOMData::Description},
};
constexpr TNumberField NumberFields[] = {
    {"PMax", &TBOMData::PMax},
    {"PMaxPSI", &TBOMData::PMaxPSI},
    {"ClampingLength", &TBOMData::BoltHeight},
    {"ClampingLengthIN", &TBOMData::BoltHeightIN},
    {"Price", &TBOMData::Price},
    {"Height", &TBOMData::Height},
    {"HeightIN", &TBOMData::HeightIN},
    {"Weight", &TBOMData::Weight},
    {"WeightLBS", &TBOMData::WeightLBS},
    {"QMax", &TBOMData::QMax},
    {"QMaxGPM", &TBOMData::QMaxGPM},
};

// One assignment to the data record; true when a field changed.
bool ApplyToData(TBOMData& d, const TKeyValue& kv) {
    for (const auto& f : TextFields)
        if (SameTextAscii(kv.Key(), f.Key)) {
            if (d.*f.Field == kv.Value()) return false;
            d.*f.Field = kv.Value();
            return true;
        }
    for (const auto& f : NumberFields)
        if (SameTextAscii(kv.Key(), f.Key)) {
            const double v = kv.FloatValue();
            if (SameFloat(d.*f.Field, v)) return false;
            d.*f.Field = v;
            return true;
        }
    if (SameTextAscii(kv.Key(), "Sandwich")) {
        if (d.Sandwich == kv.BoolValue()) return false;
        d.Sandwich = kv.BoolValue();
        return true;
    }
    return false;
}

// The 3D model named after the code: "<>" alone stands for manufacturer and code, otherwise the
// code replaces the first "<>"; characters a file name cannot hold become "_".
std::string ModelFileName(const TBOMData& d, const std::string& code) {
    std::string name = d.AssemblyDrawing;
    if (name == "<>")
        name = d.Manufacturer + "_" + code;
    else
        name.replace(name.find("<>"), 2, code);
    for (char& c : name)
        if (std::string_view(":/*\\?><|&\"").find(c) != std::string_view::npos) c = '_';
    return name;
}

bool SetOrificeType(TSymbolObjectOrifice& orifice, TOrificeOption type) {
    if (orifice.OrificeType() == type) return false;
    TOrificeOptions options;
    options.set(ooReplaceable, orifice.IsReplaceable());
    options.set(type);
    orifice.fOptions = options;
    return true;
}

// Orifice_NAME=v: 0 closes it, above 98 it is a plain line, a negative value makes it
// viscosity independent; the value attribute shows |v| and hides when it becomes 0.
bool ApplyToOrifice(TSymbolObjectOrifice& orifice, const TKeyValue& kv) {
    double v = kv.FloatValue();
    TOrificeOption type;
    if (v == 0) {
        type = ooClosed;
    } else if (v > 98) {
        type = ooLine;
        v = 0;
    } else {
        type = v < 0 ? ooValue2 : ooValue1;
    }
    bool changed = SetOrificeType(orifice, type);
    auto* value = dynamic_cast<TSymbolObjectAttribute*>(orifice.GetAttribute(saOrificeValue));
    if (!value) return changed;
    const double a = std::fabs(v);
    bool hide = value->fHide;
    if (value->fFloatValue != 0 && a == 0)
        hide = true;
    else if (value->fFloatValue == 0 && a != 0)
        hide = false;
    if (hide != value->fHide) {
        value->fHide = hide;
        changed = true;
    }
    if (!SameFloat(value->fFloatValue, a)) {
        value->fFloatValue = a;
        changed = true;
    }
    return changed;
}

// The shortest text that reads back as the same number, with ".".
std::string NumberText(double value) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string OrificeFieldName(const TSymbolObjectOrifice& orifice) {
    const TSymbolObject* name = orifice.GetAttribute(saOrificeName);
    return name ? "Orifice_" + name->AttributeValue() : std::string("Orifice");
}

} // namespace

bool TOrderingCodeGeneratorHelper::FieldsToBOM(const TOrderingCodeGenerator& generator, TBOM& bom) {
    bool changed = false;
    for (const std::string& fields : generator.CreateListFieldsToUse(bom.OrderingCode())) {
        TBOMData data = bom.fData;
        bool any = false;
        for (TKeyValue& kv : Assignments(fields)) {
            kv.TrimKey();
            any |= ApplyToData(data, kv);
        }
        if (any) {
            bom.fData = data;
            changed = true;
        }
    }
    if (bom.fData.AssemblyDrawing.find("<>") != std::string::npos) {
        bom.fData.AssemblyDrawing =
            ModelFileName(bom.fData, generator.GetOrderingCode(bom.fData.ComponentType));
        changed = true;
    }
    return changed;
}

bool TOrderingCodeGeneratorHelper::AttributesToBOM(const TOrderingCodeGenerator& generator, TBOM& bom) {
    bool changed = false;
    for (const std::string& fields : generator.CreateListFieldsToUse(bom.OrderingCode()))
        for (const TKeyValue& kv : Assignments(fields)) {
            if (!IsAttributeKey(kv.Key())) continue;
            const std::string tag = kv.Key().substr(5);
            const std::string value = AttributeValue(kv.Value());
            if (TComponentAttribute* a = FindComponentAttribute(bom, tag)) {
                if (SameTextAscii(a->AttributeValue(), value)) continue;
                a->SetAttributeValue(value);
            } else {
                bom.fComponentAttributeList.AddWithData(tag, value);
            }
            changed = true;
        }
    return changed;
}

bool TOrderingCodeGeneratorHelper::AttributesToSymbol(const TOrderingCodeGenerator& generator,
                                                      TSymbolObjectSymbol& symbol, TBOM& bom) {
    bool changed = false;
    const auto attributes = Descendants<TSymbolObjectAttribute>(symbol);
    if (!attributes.empty()) {
        for (const std::string& fields : generator.CreateListFieldsToUse(bom.OrderingCode()))
            for (const TKeyValue& kv : Assignments(fields)) {
                const std::string value = AttributeValue(kv.Value());
                bool matched = false;
                for (TSymbolObjectAttribute* a : attributes) {
                    if (!SameTextAscii("attr_" + a->fTag, kv.Key())) continue;
                    matched = true;
                    if (a->fValue == value) continue;
                    a->fValue = value;
                    a->GeometryChanged();
                    changed = true;
                }
                if (!matched && IsAttributeKey(kv.Key())) {
                    const std::string tag = kv.Key().substr(5);
                    if (!FindComponentAttribute(bom, tag)) {
                        bom.fComponentAttributeList.AddWithData(tag, value);
                        changed = true;
                    }
                }
            }
    }
    // Not short-circuited: the layout applies whatever the attributes did.
    return FieldsToSymbolLayout(generator, symbol, bom) || changed;
}

bool TOrderingCodeGeneratorHelper::IPortsToSymbol(const TOrderingCodeGenerator& generator,
                                                  TSymbolObjectSymbol& symbol) {
    const TOrderingCodeSection* section = generator.IPortList();
    if (!section) return false;
    bool changed = false;
    for (TSymbolObjectIPort* port : Descendants<TSymbolObjectIPort>(symbol))
        for (const auto& key : section->fKeys)
            if (SameTextAscii(key.Name, port->fPortText) && key.Description != port->fPortText) {
                port->fPortText = key.Description;
                port->GeometryChanged();
                changed = true;
            }
    return changed;
}

bool TOrderingCodeGeneratorHelper::FieldsToSymbolLayout(const TOrderingCodeGenerator& generator,
                                                        TSymbolObjectSymbol& symbol, const TBOM& bom) {
    bool changed = IPortsToSymbol(generator, symbol);
    const auto solenoids = Descendants<TSymbolObjectSolenoid>(symbol);
    const auto orifices = Descendants<TSymbolObjectOrifice>(symbol);
    const auto ports = Descendants<TSymbolObjectPort>(symbol);
    std::vector<std::string> orificeNames;
    for (const TSymbolObjectOrifice* o : orifices)
        orificeNames.push_back(OrificeFieldName(*o));
    for (const std::string& fields : generator.CreateListFieldsToUse(bom.OrderingCode())) {
        const std::vector<TKeyValue> assignments = Assignments(fields);
        for (const TKeyValue& kv : assignments) {
            if (!SameTextAscii(kv.Key(), "EmergencyButton")) continue;
            for (TSymbolObjectSolenoid* s : solenoids) {
                TSolenoidOptions options = s->fOptions;
                options.reset(solButtonSide).reset(solButtonTop);
                if (kv.BoolValue()) options.set(solButtonSide);
                if (options == s->fOptions) continue;
                s->fOptions = options;
                changed = true;
            }
        }
        for (size_t i = 0; i < orifices.size(); ++i)
            for (const TKeyValue& kv : assignments)
                if (SameTextAscii(kv.Key(), orificeNames[i])) changed |= ApplyToOrifice(*orifices[i], kv);
        for (TSymbolObjectPort* port : ports)
            for (const TKeyValue& kv : assignments) {
                if (!SameTextAscii(kv.Key(), "Port_" + port->PortName())) continue;
                const bool closed = SameTextAscii(kv.Value(), "Closed");
                if (closed == port->fClosedPort) continue;
                port->fClosedPort = closed;
                changed = true;
            }
    }
    if (changed) symbol.GeometryChanged();
    return changed;
}

bool TOrderingCodeGeneratorHelper::FieldsToSymbol(const TOrderingCodeGenerator& generator,
                                                  TSymbolObjectSymbol& symbol, TBOM& bom) {
    const bool attributes = AttributesToSymbol(generator, symbol, bom);
    const bool fields = FieldsToBOM(generator, bom);
    return attributes || fields;
}

bool TOrderingCodeGeneratorHelper::AddDefaults(TOrderingCodeGenerator& generator) {
    if (generator.DefaultsList()) return false;
    auto section = std::make_unique<TOrderingCodeSection>();
    section->fSectionData.Name = "[/Defaults/]";
    section->fSectionData.Mode = sectionSpecial;
    section->Add(TOrderingCodeKey::Make("", "", "3DModel=<>"));
    generator.Add(std::move(section));
    return true;
}

std::vector<std::string>
TOrderingCodeGeneratorHelper::CreateListSymbolFileNames(const TOrderingCodeGenerator& generator) {
    std::vector<std::string> names;
    auto collect = [&](const TOrderingCodeSection& section) {
        for (const auto& key : section.fKeys)
            for (const TKeyValue& kv : Assignments(key.Fields))
                if (SameTextAscii(kv.Key(), "SymbolFile") && !kv.Value().empty()) names.push_back(kv.Value());
    };
    for (int i = 0; i < generator.Count(); ++i) {
        const TOrderingCodeSection& s = generator.Sections(i);
        if (s.Mode() == sectionNormal || s.Mode() == sectionVariables) collect(s);
    }
    if (const TOrderingCodeSection* defaults = generator.DefaultsList()) collect(*defaults);
    if (const TOrderingCodeSection* codes = generator.CodeList()) collect(*codes);
    auto less = [](const std::string& a, const std::string& b) { return UpperAscii(a) < UpperAscii(b); };
    std::stable_sort(names.begin(), names.end(), less);
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return SameTextAscii(a, b); }),
                names.end());
    return names;
}

int ReplaceAttribute(TSymbolObjectSymbol& symbol, std::string_view attributeTag, const std::string& newValue,
                     char decimalSeparator) {
    int count = 0;
    const bool isOrificeValue = SameTextAscii(attributeTag, SpecialAttributeTag(saOrificeValue));
    std::optional<double> number;
    if (isOrificeValue) {
        number = TryParseRecordFloat(newValue);
        if (!number && decimalSeparator != '.') {
            std::string dotted = newValue;
            std::replace(dotted.begin(), dotted.end(), decimalSeparator, '.');
            number = TryParseRecordFloat(dotted);
        }
        if (!number) return 0;
    }
    for (TSymbolObjectAttribute* a : Descendants<TSymbolObjectAttribute>(symbol)) {
        if (!SameTextAscii(a->fTag, attributeTag)) continue;
        if (isOrificeValue)
            a->fFloatValue = *number;
        else
            a->fValue = newValue;
        a->GeometryChanged();
        ++count;
    }
    return count;
}

bool TOrderingCodeGeneratorHelper::CopyAttributesAndPorts(TSymbolObjectSymbol& symbol,
                                                          const TSymbolObjectSymbol& copyOfSymbol,
                                                          char decimalSeparator) {
    // The display names of the copy's ports, one per port name.
    std::vector<std::pair<std::string, std::string>> names;
    for (const TSymbolObjectPort* port : Children<TSymbolObjectPort>(copyOfSymbol)) {
        if (port->fUsedAsHelpPort) continue;
        const std::string name = port->PortName();
        if (std::none_of(names.begin(), names.end(),
                         [&](const auto& n) { return SameTextAscii(n.first, name); }))
            names.emplace_back(name, port->fPortText);
    }
    for (const auto& child : symbol.fSymbolObjectList) {
        auto* port = dynamic_cast<TSymbolObjectPort*>(child.get());
        if (!port) continue;
        for (const auto& [original, display] : names)
            if (SameTextAscii(original, port->PortName())) port->fPortText = display;
    }
    for (const TSymbolObjectAttribute* a : Children<TSymbolObjectAttribute>(copyOfSymbol)) {
        // A numeric attribute holds its value as a number; its text may well be empty.
        const std::string value = a->fFloatingPoint ? NumberText(a->fFloatValue) : a->fValue;
        ReplaceAttribute(symbol, a->fTag, value, decimalSeparator);
    }
    symbol.fUsePortDisplayNameInBrevind = copyOfSymbol.fUsePortDisplayNameInBrevind;
    symbol.GeometryChanged();
    return true;
}
