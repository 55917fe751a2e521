// The one table from record keyword to object class.
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "components/ConnectionLines.h"
#include "components/Ports.h"
#include "components/SymbolObjectSymbol.h"
#include "model/KeyValues.h"
#include "model/SheetObjects.h"
#include "render/AnnotationObjects.h"
#include "render/ElementObjects.h"
#include "render/ShapeObjects.h"
#include "render/TextObjects.h"

namespace {

using TFactory = std::unique_ptr<TSymbolObject> (*)();
template <class T> std::unique_ptr<TSymbolObject> Make() {
    return std::make_unique<T>();
}

// Indexed by main type; somNone has no class of its own and gets a plain base object.
constexpr std::array<TFactory, SymbolObjectMainTypeCount> Factories = {
    nullptr,                               // somNone
    &Make<TSymbolObjectBOMOnly>,           // somBOMOnly
    &Make<TSymbolObject1Point>,            // som1Point
    &Make<TSymbolObject2Point>,            // som2Point
    &Make<TSymbolObject3Point>,            // som3Point
    &Make<TSymbolObjectText>,              // somText
    &Make<TSymbolObjectAttribute>,         // somAttribute
    &Make<TSymbolObjectItemNumber>,        // somItemNumber
    &Make<TSymbolObjectPort>,              // somPort
    &Make<TSymbolObjectSymbol>,            // somSymbol
    &Make<TSymbolObjectConnectionLine>,    // somConnectionLine
    &Make<TSymbolObjectConnectionNode>,    // somConnectionNode
    &Make<TSymbolObjectIBorder>,           // somIBorder
    &Make<TSymbolObjectSolenoid>,          // somSolenoid
    &Make<TSymbolObjectOrifice>,           // somOrifice
    &Make<TSymbolObjectPaperSize>,         // somPaperSize
    &Make<TSymbolObjectConnectionLineRef>, // somConnectionLineRef
    &Make<TSymbolObjectImage>,             // somImage
    &Make<TSymbolObjectLeader>,            // somLeader
    &Make<TSymbolObjectTable>,             // somTable
    &Make<TSymbolObjectIPort>,             // somIPort
    &Make<TSymbolObjectILine>,             // somILine
    &Make<TSymbolObjectRevTriangle>,       // somRevisionTriangle
    &Make<TSymbolObjectHose>,              // somHose
    &Make<TSymbolObjectElectric>,          // somElectric
    &Make<TSymbolObjectSignalConverter>,   // somSignalConverter
    &Make<TSymbolObjectElectricalContact>, // somElectricalContact
    &Make<TSymbolObjectPolyLine>,          // somPolyLine
};

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

std::unique_ptr<TSymbolObject> CreateSymbolObject(TSymbolObjectMainType mainType) {
    if (mainType < SymbolObjectMainTypeCount && Factories[mainType]) return Factories[mainType]();
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
