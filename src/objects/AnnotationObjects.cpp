#include "objects/AnnotationObjects.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

void TSymbolObjectLeader::SetDefaults() {
    TSymbolObject::SetDefaults();
    fMainNumber.clear();
    fSubNumber.clear();
    fLeaderType = layout_Leader;
    fLayout = DefaultItemNumberLayouts()[fLeaderType];
}

bool TSymbolObjectLeader::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "MAINNUMBER"sv)
        fMainNumber = value;
    else if (key == "SUBNUMBER"sv)
        fSubNumber = value;
    else if (key == "LEADERTYPE"sv) {
        // The type indexes the document's four layouts; any other number would read past them.
        auto v = ParseRecordInt(value);
        if (v && *v >= layout_Leader && *v <= layout_Item3) fLeaderType = TItemNumberLayouts(*v);
    } else
        return false;
    return true;
}

void TSymbolObjectLeader::UpdateItemLayout(const TItemNumberLayoutSet& layouts) {
    fLayout = layouts[fLeaderType];
    TSymbolObject::UpdateItemLayout(layouts);
}

std::string TSymbolObjectLeader::Caption() const {
    return fSubNumber.empty() ? fMainNumber : fMainNumber + "." + fSubNumber;
}

void TSymbolObjectLeader::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("MainNumber", fMainNumber);
    w.Field("SubNumber", fSubNumber);
    static constexpr std::string_view leaderTypeIdents[] = {"layout_Leader", "layout_Item1", "layout_Item2",
                                                            "layout_Item3"};
    w.Field("LeaderType", leaderTypeIdents[fLeaderType]);
    w.Key("Layout");
    DumpItemNumberLayout(w, fLayout);
}

void TSymbolObjectItemNumber::SetDefaults() {
    TSymbolObjectLeader::SetDefaults();
    fBOMIndex = -1;
    fLeaderType = layout_Item1;
    fLayout = DefaultItemNumberLayouts()[fLeaderType];
}

bool TSymbolObjectItemNumber::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                         const std::string& value) {
    if (TSymbolObjectLeader::LoadOwnKey(reader, key, value)) return true;
    if (key != "BOMINDEX"sv) return false;
    if (auto v = ParseRecordInt(value)) fBOMIndex = *v;
    return true;
}

void TSymbolObjectItemNumber::DumpFields(TJsonWriter& w) const {
    TSymbolObjectLeader::DumpFields(w);
    w.Field("BOMIndex", fBOMIndex);
}
