#include "model/SymbolObjectWithGroups.h"

#include "model/JsonWriter.h"

void TSymbolObjectWithGroups::SetDefaults() {
    TSymbolObject::SetDefaults();
    fBreakConnection = false;
}

void TSymbolObjectWithGroups::SetBreakConnection(bool value) {
    fBreakConnection = value;
}

void TSymbolObjectWithGroups::DumpFields(TJsonWriter& w) const {
    TSymbolObject::DumpFields(w);
    w.Field("BreakConnection", fBreakConnection);
}
