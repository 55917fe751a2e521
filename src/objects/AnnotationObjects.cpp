#include "objects/AnnotationObjects.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

void TSymbolObjectLeader::SetDefaults() {
    TSymbolObject::SetDefaults();
    fMainNumber.clear();
    fSubNumber.clear();
}

bool TSymbolObjectLeader::LoadOwnKey(TRecordReader&, const std::string& key, const std::string& value) {
    if (key == "MAINNUMBER"sv)
        fMainNumber = value;
    else if (key == "SUBNUMBER"sv)
        fSubNumber = value;
    else
        return false;
    return true;
}

std::string TSymbolObjectLeader::Caption() const {
    return fSubNumber.empty() ? fMainNumber : fMainNumber + "." + fSubNumber;
}

void TSymbolObjectLeader::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("MainNumber", fMainNumber);
    w.Field("SubNumber", fSubNumber);
}

void TSymbolObjectItemNumber::SetDefaults() {
    TSymbolObjectLeader::SetDefaults();
    fBOMIndex = -1;
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
