#include "components/SymbolObjectSymbol.h"

#include <algorithm>

#include "components/Ports.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/AnnotationObjects.h"

using namespace std::string_view_literals;

void TSymbolObjectSymbol::SetDefaults() {
    TSymbolObject::SetDefaults();
    fSymGroups.Clear();
    fJumpMode = jmVertRight;
    fRotation = 0;
    fMirrorX = fMirrorY = false;
    fUsePortDisplayNameInBrevind = false;
    fPendingBOM.reset();
}

TBOMData& TSymbolObjectSymbol::PendingBOM() {
    if (!fPendingBOM) fPendingBOM = std::make_unique<TBOMData>();
    return *fPendingBOM;
}

bool TSymbolObjectSymbol::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                     const std::string& value) {
    const bool legacy = reader.IsLegacy();
    auto flt = [&](double& f) { f = ParseRecordFloat(value, 0); };
    if (key == "JUMPMODE"sv) {
        // Values outside the enumeration keep the current mode.
        if (auto v = ParseRecordInt(value); v && *v >= jmNone && *v <= jmHorzDown) fJumpMode = TJumpMode(*v);
    } else if (key == "ROTATION"sv) {
        if (auto v = ParseRecordInt(value)) fRotation = *v;
    } else if (key == "MIRRORX"sv && !legacy) {
        fMirrorX = YesNoToBool(value);
    } else if (key == "MIRRORY"sv && !legacy) {
        fMirrorY = YesNoToBool(value);
    } else if (key == "USEPORTDISPLAYNAMEINBREVIND"sv) {
        fUsePortDisplayNameInBrevind = YesNoToBool(value);
    } else if (key == "SYMGROUP:"sv) {
        LoadGroupRecord(reader, fSymGroups.fSubGroupList.Add());
    } else if (key == "SYMMAINGROUP:"sv && !legacy) {
        LoadGroupRecord(reader, fSymGroups.fMainGroupList.Add());
    } else if (key == "ARTICLECODE"sv) {
        PendingBOM().ArticleCode = value;
    } else if (key == "MANUFACTURER"sv) {
        PendingBOM().Manufacturer = value;
    } else if (key == "TYPE"sv) {
        PendingBOM().ComponentType = value;
    } else if (key == "DESCRIPTION"sv) {
        PendingBOM().Description = value;
    } else if (key == "DATASHEET"sv) {
        PendingBOM().DataSheet = value;
    } else if (key == "BREVINDFILE"sv) {
        PendingBOM().BrevindFile = value;
    } else if (key == "SYMBOLFILE"sv) {
        PendingBOM().SymbolFile = value;
    } else if (key == "COMPONENTFILE"sv) {
        PendingBOM().ComponentFile = value;
    } else if (key == "ASSEMBLYDRAWING"sv) {
        PendingBOM().AssemblyDrawing = value;
    } else if (key == "TITLE"sv) {
        PendingBOM().Title = value;
    } else if (key == "REMARK"sv) {
        PendingBOM().Remark = value;
    } else if (key == "WEIGHT"sv) {
        flt(PendingBOM().Weight);
    } else if (key == "HEIGHT"sv) {
        flt(PendingBOM().Height);
    } else if (key == "BOLTHEIGHT"sv) {
        flt(PendingBOM().BoltHeight);
    } else if (key == "PMAX"sv) {
        flt(PendingBOM().PMax);
    } else if (key == "QMAX"sv) {
        flt(PendingBOM().QMax);
    } else if (key == "HIDEINBOM"sv) {
        PendingBOM().HideInBOM = YesNoToBool(value);
    } else if (key == "SANDWICH"sv) {
        PendingBOM().Sandwich = YesNoToBool(value);
    } else {
        return false;
    }
    return true;
}

void TSymbolObjectSymbol::AfterLoad() {
    // Older files kept the component's BOM fields in the symbol record.
    if (fPendingBOM && fBOMList.Count() == 0 && !BOMDataEqual(*fPendingBOM, TBOMData{})) {
        TBOM* bom = fBOMList.Add();
        bom->fData = *fPendingBOM;
        bom->fData.UseInBrevind = !fPendingBOM->BrevindFile.empty();
    }
    fPendingBOM.reset();

    // Item numbers without a record index are bound to the records in order.
    if (fBOMList.Count() == 0) return;
    int k = 0;
    for (const auto& child : fSymbolObjectList) {
        if (child->fSymbolObjectMainType != somItemNumber) continue;
        auto* item = static_cast<TSymbolObjectItemNumber*>(child.get());
        if (item->fBOMIndex != -1) continue;
        if (k < fBOMList.Count()) {
            item->fBOMIndex = k;
            TBOMData& d = fBOMList.Items(k)->fData;
            d.MainItemNumber[0] = item->fMainNumber;
            d.SubItemNumber[0] = item->fSubNumber;
        }
        ++k;
    }
}

std::string TSymbolObjectSymbol::ItemNumber() const {
    for (const auto& child : fSymbolObjectList)
        if (child->fSymbolObjectMainType == somItemNumber) {
            std::string caption = static_cast<const TSymbolObjectItemNumber&>(*child).Caption();
            if (!caption.empty()) return caption;
        }
    return {};
}

int TSymbolObjectSymbol::SolenoidCount() const {
    int n = 0;
    for (const auto& child : fSymbolObjectList)
        n += child->fSymbolObjectMainType == somSolenoid;
    return n;
}

TSolenoidOptions TSymbolObjectSymbol::GetSolenoids() const {
    TSolenoidOptions options;
    for (const auto& child : fSymbolObjectList)
        if (const auto* solenoid = dynamic_cast<const TSymbolObjectSolenoid*>(child.get()))
            options = solenoid->fOptions;
    return options;
}

void TSymbolObjectSymbol::SetSolenoids(const TSolenoidOptions& include, const TSolenoidOptions& exclude) {
    const TSolenoidOptions changeable =
        SolenoidOptions({solButtonSide, solButtonTop, solProportional, solPilot});
    for (const auto& child : fSymbolObjectList)
        if (auto* solenoid = dynamic_cast<TSymbolObjectSolenoid*>(child.get())) {
            solenoid->fOptions |= include & changeable;
            solenoid->fOptions &= ~(exclude & changeable);
        }
}

bool TSymbolObjectSymbol::IsHose() {
    int hoses = 0, ports = 0;
    ForEachInSubtree([&](const TSymbolObject* o) {
        hoses += o->fSymbolObjectSubType == soHose;
        ports += o->fSymbolObjectSubType == soPort;
    });
    return hoses == 1 && ports == 2;
}

void TSymbolObjectSymbol::DumpFields(TJsonWriter& w) const {
    static constexpr std::string_view jumpIdents[] = {"jmNone", "jmVertRight", "jmVertLeft", "jmHorzUp",
                                                      "jmHorzDown"};
    TSymbolObject::DumpFields(w);
    w.Key("SymGroups");
    fSymGroups.Dump(w);
    w.Field("JumpMode", jumpIdents[fJumpMode]);
    w.Field("Rotation", fRotation);
    w.Field("MirrorX", fMirrorX);
    w.Field("MirrorY", fMirrorY);
    w.Field("UsePortDisplayNameInBrevind", fUsePortDisplayNameInBrevind);
}

namespace {

// Keeps the entries whose original name was collected, then sorts. Names match ignoring case
// as the look-up does, so that an entry found for a port is not dropped for its spelling.
void KeepCollected(TPortDisplayNameList& list, const std::vector<std::string>& collected) {
    for (int i = list.Count() - 1; i >= 0; --i) {
        const std::string& name = list.Items(i)->OriginalName();
        if (std::none_of(collected.begin(), collected.end(),
                         [&](const std::string& c) { return SameTextAscii(c, name); }))
            list.Delete(i);
    }
    list.Sort();
}

// The caption's box is cached; a new text must measure again.
void SetPortText(TSymbolObjectBasicPort& port, const std::string& text) {
    if (port.fPortText == text) return;
    port.fPortText = text;
    port.GeometryChanged();
}

} // namespace

void TSymbolObjectSymbol::GetPorts(TPortDisplayNameList& portList) const {
    if (fSymbolObjectList.Count() == 0) return;
    std::vector<std::string> collected;
    for (const auto& child : fSymbolObjectList) {
        const auto* port = dynamic_cast<const TSymbolObjectPort*>(child.get());
        if (!port || port->fUsedAsHelpPort) continue;
        collected.push_back(port->PortName());
        if (portList.IndexOf(port->PortName()) < 0) portList.Add(port->PortName(), port->fPortText);
    }
    KeepCollected(portList, collected);
}

void TSymbolObjectSymbol::GetIPorts(TIPortDisplayNameList& iPortList) const {
    if (fSymbolObjectList.Count() == 0) return;
    std::vector<std::string> collected;
    for (const auto& child : fSymbolObjectList) {
        const auto* port = dynamic_cast<const TSymbolObjectIPort*>(child.get());
        if (!port) continue;
        collected.push_back(port->fPortText);
        if (iPortList.IndexOf(port->fPortText) < 0) iPortList.Add(port->fPortText);
    }
    KeepCollected(iPortList, collected);
}

void TSymbolObjectSymbol::SetPorts(const TPortDisplayNameList* portList) {
    if (!portList) return;
    for (const auto& child : fSymbolObjectList)
        if (auto* port = dynamic_cast<TSymbolObjectPort*>(child.get())) {
            const int i = portList->IndexOf(port->PortName());
            if (i >= 0) SetPortText(*port, portList->Items(i)->DisplayName());
        }
}

void TSymbolObjectSymbol::SetIPorts(const TIPortDisplayNameList* iPortList) {
    if (!iPortList) return;
    for (const auto& child : fSymbolObjectList)
        if (auto* port = dynamic_cast<TSymbolObjectIPort*>(child.get())) {
            const int i = iPortList->IndexOf(port->fPortText);
            if (i >= 0 && !iPortList->Items(i)->DisplayName().empty())
                SetPortText(*port, iPortList->Items(i)->DisplayName());
        }
}
