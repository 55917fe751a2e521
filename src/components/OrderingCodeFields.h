#pragma once
// The fields texts of ordering-code options: "|"-separated assignments such as PMax=350,
// attr_SIZE=10, Orifice_A=0.8 or Port_T=Closed that complete the BOM record and adapt the
// component symbol to the options chosen. Each operation applies, in order, the texts the
// generator's current choices select (CreateListFieldsToUse), so later assignments win; each
// answers whether it changed anything.
#include <string>
#include <string_view>
#include <vector>

#include "model/BOM.h"
#include "model/OrderingCodes.h"

class TSymbolObjectSymbol;

namespace TOrderingCodeGeneratorHelper {
// BOM data fields, then the 3D-model name: a "<>" in AssemblyDrawing becomes the ordering code.
bool FieldsToBOM(const TOrderingCodeGenerator& generator, TBOM& bom);
// "attr_TAG" assignments into the BOM's component attributes.
bool AttributesToBOM(const TOrderingCodeGenerator& generator, TBOM& bom);
// "attr_TAG" assignments into the symbol's attribute objects (into the BOM for tags the symbol
// lacks), then FieldsToSymbolLayout.
bool AttributesToSymbol(const TOrderingCodeGenerator& generator, TSymbolObjectSymbol& symbol, TBOM& bom);
// IPortsToSymbol, then the emergency buttons of solenoids, the orifices and the closed ports.
bool FieldsToSymbolLayout(const TOrderingCodeGenerator& generator, TSymbolObjectSymbol& symbol,
                          const TBOM& bom);
// Renames inner ports as the "[/IPorts/]" section says.
bool IPortsToSymbol(const TOrderingCodeGenerator& generator, TSymbolObjectSymbol& symbol);
// AttributesToSymbol, then FieldsToBOM; both run.
bool FieldsToSymbol(const TOrderingCodeGenerator& generator, TSymbolObjectSymbol& symbol, TBOM& bom);
// Adds a "[/Defaults/]" section naming the 3D model after the code, unless there is one.
bool AddDefaults(TOrderingCodeGenerator& generator);
// The symbol files the options name, sorted and unique ignoring case.
std::vector<std::string> CreateListSymbolFileNames(const TOrderingCodeGenerator& generator);
// Port display names and attribute values of the copy into the symbol; always true.
bool CopyAttributesAndPorts(TSymbolObjectSymbol& symbol, const TSymbolObjectSymbol& copyOfSymbol,
                            char decimalSeparator = '.');
} // namespace TOrderingCodeGeneratorHelper

// Sets every attribute object of the symbol's subtree with that tag (ignoring case): the number
// of an "ORIFICE VALUE" attribute (read with "." or else the decimal separator; a text that is
// no number changes nothing), the text of any other. Answers how many it set.
int ReplaceAttribute(TSymbolObjectSymbol& symbol, std::string_view attributeTag, const std::string& newValue,
                     char decimalSeparator = '.');
