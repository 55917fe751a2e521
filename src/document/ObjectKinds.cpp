// Every object class, registered with the model by its main type.
#include "document/ObjectKinds.h"

#include <array>
#include <mutex>

#include "components/ConnectionLines.h"
#include "components/Ports.h"
#include "components/SymbolObjectSymbol.h"
#include "model/ObjectFactory.h"
#include "objects/AnnotationObjects.h"
#include "objects/ElementObjects.h"
#include "objects/ImageObject.h"
#include "objects/ShapeObjects.h"
#include "objects/SheetObjects.h"
#include "objects/TableObjects.h"
#include "objects/TextObjects.h"

namespace {

template <class T> std::unique_ptr<TSymbolObject> Make() {
    return std::make_unique<T>();
}

// Indexed by main type; somNone has no class of its own and gets a plain base object.
constexpr std::array<TSymbolObjectFactory, SymbolObjectMainTypeCount> Factories = {
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

} // namespace

void RegisterObjectKinds() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 1; i < SymbolObjectMainTypeCount; ++i)
            RegisterSymbolObjectFactory(TSymbolObjectMainType(i), Factories[size_t(i)]);
    });
}
