#pragma once
// Creating drawing objects by main type. Most classes live in layers above the model: the document
// registers a factory for each main type (RegisterObjectKinds) before anything is read, so the
// object list can create them without knowing them.
#include <memory>

#include "model/SymbolObjects.h"

using TSymbolObjectFactory = std::unique_ptr<TSymbolObject> (*)();

void RegisterSymbolObjectFactory(TSymbolObjectMainType mainType, TSymbolObjectFactory factory);
