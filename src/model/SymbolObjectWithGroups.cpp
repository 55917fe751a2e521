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

const TSymSubGroupData TSymbolObjectWithGroups::DefaultSubGroup{};
const TSymMainGroupData TSymbolObjectWithGroups::DefaultMainGroup{};

TSymbolObjectWithGroups::TGroupData& TSymbolObjectWithGroups::EditGroupData() {
    if (!fGroupData) fGroupData = std::make_unique<TGroupData>();
    return *fGroupData;
}

void TSymbolObjectWithGroups::ShareDefaultGroups() {
    if (fGroupData && fGroupData->Sub == DefaultSubGroup && fGroupData->Main == DefaultMainGroup)
        fGroupData.reset();
}

void TSymbolObjectWithGroups::SetSubGroupData(const TSymSubGroupData& data) {
    if (!fGroupData && data == DefaultSubGroup) return;
    EditGroupData().Sub = data;
    ShareDefaultGroups();
}

void TSymbolObjectWithGroups::SetMainGroupData(const TSymMainGroupData& data) {
    if (!fGroupData && data == DefaultMainGroup) return;
    EditGroupData().Main = data;
    ShareDefaultGroups();
}

void TSymbolObjectWithGroups::SetDefaults() {
    TSymbolObject::SetDefaults();
    fGroupData.reset();
    fBreakConnection = false;
}

bool TSymbolObjectWithGroups::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "SYMGROUPCODE"sv) {
        const std::string code = TrimRight(value);
        if (fGroupData || !code.empty()) EditSubGroupData().Code = code;
    } else if (key == "SYMMAINGROUPCODE"sv) {
        const std::string code = TrimRight(value);
        if (fGroupData || !code.empty()) EditMainGroupData().Code = code;
    } else if (key == "BREAKCONNECTION"sv) {
        fBreakConnection = YesNoToBool(value);
    } else {
        return false;
    }
    return true;
}

void TSymbolObjectWithGroups::SetBreakConnection(bool value) {
    if (value && !fBreakConnection) fGroupData.reset();
    fBreakConnection = value;
}

void TSymbolObjectWithGroups::SetGroupData(const TSymMainGroupData& mainData,
                                           const TSymSubGroupData& subData) {
    SetMainGroupData(mainData);
    SetSubGroupData(subData);
}

void TSymbolObjectWithGroups::UpdateGroupColors(const TSymGroups& groups) {
    TSymbolObject::UpdateGroupColors(groups);
    // Without groups both become the defaults, which need no copy.
    if (!fGroupData) return;
    TGroupData& g = *fGroupData;
    g.Sub = groups.fSubGroupList.NewData(g.Sub);
    if (!g.Sub.MainGroupCode.empty()) g.Main.Code = g.Sub.MainGroupCode;
    g.Main = groups.fMainGroupList.NewData(g.Main);
    ShareDefaultGroups();
}

std::string TSymbolObjectWithGroups::GroupCodeFor(TSymbolGroupDrawMode mode) const {
    switch (mode) {
    case drawMainGroups:
        return MainGroupData().Code;
    case drawSubGroups:
        return SubGroupData().Code;
    default:
        return {};
    }
}

void TSymbolObjectWithGroups::ApplyGroupPen(TSymbolCanvas& canvas, TSymbolDrawMode mode) const {
    const TSymbolGroupDrawMode groupMode = canvas.fSymbolGroupDrawMode;
    TColor color = 0;
    TSymLineStyle style = symlinestyleSolid;
    bool counts = false;
    if (groupMode == drawMainGroups && !MainGroupData().Code.empty()) {
        color = MainGroupData().Color;
        style = MainGroupData().SymLineStyle;
        counts = true;
    } else if (groupMode == drawSubGroups && !SubGroupData().Code.empty()) {
        color = SubGroupData().Color;
        style = SubGroupData().SymLineStyle;
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
    DumpGroupData(w, SubGroupData());
    w.Key("SymMainGroupData");
    DumpGroupData(w, MainGroupData());
    w.Field("BreakConnection", fBreakConnection);
}
