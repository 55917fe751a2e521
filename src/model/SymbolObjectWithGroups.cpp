#include "model/SymbolObjectWithGroups.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "render/SymbolCanvas.h"

using namespace std::string_view_literals;

namespace {
std::string TrimRight(const std::string& s) {
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(0, e);
}
} // namespace

void TSymbolObjectWithGroups::SetDefaults() {
    TSymbolObject::SetDefaults();
    fSymSubGroupData = {};
    fSymMainGroupData = {};
    fBreakConnection = false;
}

bool TSymbolObjectWithGroups::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "SYMGROUPCODE"sv) {
        fSymSubGroupData.Code = TrimRight(value);
    } else if (key == "SYMMAINGROUPCODE"sv) {
        fSymMainGroupData.Code = TrimRight(value);
    } else if (key == "BREAKCONNECTION"sv) {
        fBreakConnection = YesNoToBool(value);
    } else {
        return false;
    }
    return true;
}

void TSymbolObjectWithGroups::SetBreakConnection(bool value) {
    if (value && !fBreakConnection) {
        fSymSubGroupData = {};
        fSymMainGroupData = {};
    }
    fBreakConnection = value;
}

void TSymbolObjectWithGroups::SetGroupData(const TSymMainGroupData& mainData,
                                           const TSymSubGroupData& subData) {
    fSymMainGroupData = mainData;
    fSymSubGroupData = subData;
}

void TSymbolObjectWithGroups::UpdateGroupColors(const TSymGroups& groups) {
    TSymbolObject::UpdateGroupColors(groups);
    fSymSubGroupData = groups.fSubGroupList.NewData(fSymSubGroupData);
    if (!fSymSubGroupData.MainGroupCode.empty()) fSymMainGroupData.Code = fSymSubGroupData.MainGroupCode;
    fSymMainGroupData = groups.fMainGroupList.NewData(fSymMainGroupData);
}

std::string TSymbolObjectWithGroups::GroupCodeFor(TSymbolGroupDrawMode mode) const {
    switch (mode) {
    case drawMainGroups:
        return fSymMainGroupData.Code;
    case drawSubGroups:
        return fSymSubGroupData.Code;
    default:
        return {};
    }
}

void TSymbolObjectWithGroups::ApplyGroupPen(TSymbolCanvas& canvas, TSymbolDrawMode mode) const {
    const TSymbolGroupDrawMode groupMode = canvas.fSymbolGroupDrawMode;
    TColor color = 0;
    TSymLineStyle style = symlinestyleSolid;
    bool counts = false;
    if (groupMode == drawMainGroups && !fSymMainGroupData.Code.empty()) {
        color = fSymMainGroupData.Color;
        style = fSymMainGroupData.SymLineStyle;
        counts = true;
    } else if (groupMode == drawSubGroups && !fSymSubGroupData.Code.empty()) {
        color = fSymSubGroupData.Color;
        style = fSymSubGroupData.SymLineStyle;
        counts = true;
    }
    if (counts) {
        canvas.ApplyGroupPen(mode, color, style);
        return;
    }
    // No counting group: only the panning rule and the font colour apply.
    TPen pen = canvas.fCanvas->Pen();
    if (canvas.fPan) pen.Style = TPenStyle::Solid;
    canvas.fCanvas->SetPen(pen);
    TFontSpec font = canvas.fCanvas->Font();
    font.Color = pen.Color;
    canvas.fCanvas->SetFont(font);
}

void TSymbolObjectWithGroups::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Key("SymSubGroupData");
    DumpGroupData(w, fSymSubGroupData);
    w.Key("SymMainGroupData");
    DumpGroupData(w, fSymMainGroupData);
    w.Field("BreakConnection", fBreakConnection);
}
