// The table from record keyword to object class. The classes live in layers above this one; the
// document registers their factories before anything is read.
#include "model/ObjectFactory.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/KeyValues.h"

namespace {

std::array<TSymbolObjectFactory, SymbolObjectMainTypeCount>& Factories() {
    static std::array<TSymbolObjectFactory, SymbolObjectMainTypeCount> factories{};
    return factories;
}

// Keyed by views into strings the table itself keeps, so a look-up allocates nothing.
const std::unordered_map<std::string_view, TSymbolObjectMainType>& KeywordTable() {
    static const std::vector<std::string> keywords = [] {
        std::vector<std::string> k;
        for (int i = 1; i < SymbolObjectMainTypeCount; ++i)
            k.push_back(UpperAscii(MainTypeInfo(TSymbolObjectMainType(i)).Keyword) + ":");
        return k;
    }();
    static const auto table = [] {
        std::unordered_map<std::string_view, TSymbolObjectMainType> t;
        for (int i = 1; i < SymbolObjectMainTypeCount; ++i)
            t.emplace(keywords[size_t(i - 1)], TSymbolObjectMainType(i));
        return t;
    }();
    return table;
}

} // namespace

void RegisterSymbolObjectFactory(TSymbolObjectMainType mainType, TSymbolObjectFactory factory) {
    if (mainType > somNone && mainType < SymbolObjectMainTypeCount) Factories()[mainType] = factory;
}

std::unique_ptr<TSymbolObject> CreateSymbolObject(TSymbolObjectMainType mainType) {
    if (mainType < SymbolObjectMainTypeCount && Factories()[mainType]) return Factories()[mainType]();
    return std::make_unique<TSymbolObject>(somNone);
}

bool MainTypeOfKeyword(std::string_view upperKeyword, TSymbolObjectMainType& mainType) {
    // Keywords end with a colon; anything else is a key and cannot open a record.
    if (upperKeyword.empty() || upperKeyword.back() != ':') return false;
    const auto& table = KeywordTable();
    auto it = table.find(upperKeyword);
    if (it == table.end()) return false;
    mainType = it->second;
    return true;
}
