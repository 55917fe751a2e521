#pragma once
// Reads test drawings written inline: the body of a symbol record, closed here.
#include <memory>
#include <string>

#include "components/SymbolObjectSymbol.h"
#include "model/KeyValues.h"

inline std::unique_ptr<TSymbolObjectSymbol> ReadSymbol(const std::string& body,
                                                       TRecordVariant variant = TRecordVariant::UniCode) {
    auto s = std::make_unique<TSymbolObjectSymbol>();
    TRecordReader r(body + "End.\r\n", variant);
    s->LoadFromReader(r);
    return s;
}
