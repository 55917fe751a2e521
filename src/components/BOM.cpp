#include "components/BOM.h"

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

void TBOM::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (!reader.AtEnd()) {
        if (!reader.ReadRecordLine(key, value)) continue;
        if (key == "ENDBOM.") break;
    }
}

void TBOM::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TBOM");
    w.EndObject();
}

TBOM* TBOMList::Add() {
    fList.push_back(std::make_unique<TBOM>());
    return fList.back().get();
}

void TBOMList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& b : fList)
        b->Dump(w);
    w.EndArray();
}
