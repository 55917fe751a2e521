#pragma once
// Bill-of-materials records carried by drawing objects, and the display units of their values.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/ComponentData.h"
#include "model/OrderingCodes.h"

class TRecordReader;
class TJsonWriter;

enum TMarket : uint8_t { mkEuropean = 1, mkUS = 2 };
using TMarkets = uint8_t; // set of TMarket

struct TBOMData {
    std::array<std::string, 3> MainItemNumber;
    std::array<std::string, 3> SubItemNumber;
    std::string ArticleCode;
    std::string Manufacturer;
    std::string ComponentType;
    std::string Description;
    std::string DataSheet;
    double Weight = 0;
    double WeightLBS = 0;
    double Height = 0;
    double HeightIN = 0;
    double BoltHeight = 0;
    double BoltHeightIN = 0;
    double PMax = 0;
    double PMaxPSI = 0;
    double QMax = 0;
    double QMaxGPM = 0;
    std::string BrevindFile;
    std::string SymbolFile;
    std::string AlternativeSymbolFile;
    std::string ComponentFile;
    std::string AssemblyDrawing;
    std::string Title;
    bool HideInBOM = false;
    bool Sandwich = false;
    std::string Remark;
    bool UseInBrevind = false;
    int32_t LineNumber = -1;
    double Price = 0;
    int32_t OverruledQuantity = -666;
    bool FlexibleHousing = false;
    bool QuantityManualEntered = false;
    int32_t QuantityManualValue = 1;
    bool HideItemNumber = false;
    std::string Faces;
    TMarkets Market = 0;
    std::string Suppliers;
};

// Flags of BOMDataEqual: 1 ignores the manual quantity, 2 stops before the item numbers, 4
// before the sub item numbers, 8 ignores the suppliers.
bool BOMDataEqual(const TBOMData& a, const TBOMData& b, int flags = 0);

// A symbol name as the records keep it: without a ".sym" extension.
std::string WithoutSymExtension(const std::string& v);

class TBOM {
public:
    TBOMData fData;
    TComponentAttributeList fComponentAttributeList;
    TUserFieldList fUserFields;
    TOrderingCodeGenerator fOrderingCode;

    void Clear();
    void Assign(const TBOM& source);
    // The data without flags, the attribute and user-field lists and the ordering-code generators.
    bool Compare(const TBOM& second) const;
    // Reads the record up to "ENDBOM."; the "BOM:" line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;

    TOrderingCodeGenerator& OrderingCodeGenerator() { return fOrderingCode; }
    const TOrderingCodeGenerator& OrderingCodeGenerator() const { return fOrderingCode; }
    // The code the generator builds from the type; the type itself without a generator.
    std::string OrderingCode() const;

    bool HideInBOM() const { return fData.HideInBOM; }
    std::string ComponentAttributeValue(std::string_view tag) const;

    // Values that may hold "<>", resolved against the component file they came from.
    std::string GetTitle(const std::string& fileName) const;
    std::string GetSymbolFile(const std::string& fileName) const;
    std::string GetAssemblyDrawing(const std::string& fileName) const;
    std::string GetManufacturer(const std::string& fileName) const;
    std::string GetBrevindFile(const std::string& fileName) const;
    std::string BrevindFile_NonUS() const;
    std::string BrevindFile_US() const;
    void SetBrevindFile_NonUS(const std::string& value);
    void SetBrevindFile_US(const std::string& value);
};

class TBOMList {
public:
    int fItemIndex = -1;

    TBOM* Add(bool isAccessory = false);
    void Clear();
    void Delete(int i);
    int Count() const { return int(fBOMList.size()); }
    TBOM* Items(int i) const { return fBOMList[size_t(i)].get(); }
    TBOM* First() const { return fBOMList.empty() ? nullptr : fBOMList.front().get(); }
    TBOM* Last() const { return fBOMList.empty() ? nullptr : fBOMList.back().get(); }
    TBOM* Selected() const;
    // Index of that very record; -1 when the list does not hold it.
    int IndexOf(const TBOM* bom) const;
    // Copies every record and the item index.
    void Assign(const TBOMList& source);
    bool Compare(const TBOMList& second) const;
    std::string DataSheet() const { return First() ? First()->fData.DataSheet : std::string(); }
    std::string Title() const { return First() ? First()->fData.Title : std::string(); }
    void Dump(TJsonWriter& w) const;

private:
    std::vector<std::unique_ptr<TBOM>> fBOMList;
};

// --- display units (process-wide) ---
enum class TUnitKind : uint8_t { Size, Pressure, Flow, Weight, Velocity };

void SetDisplayUnits(bool size, bool pressure, bool flow, bool weight, bool velocity);
bool IsMetric(TUnitKind kind);
// "mm"/"inch", "bar"/"psi", "l/min"/"gpm", "kg"/"lbs", "m/s"/"fps" as the flag says.
std::string UnitText(TUnitKind kind);
std::string UnitText(TUnitKind kind, bool metric);
double MetricToImperial(TUnitKind kind, double value);
double ImperialToMetric(TUnitKind kind, double value);
// The stored metric value as the user sees it: unchanged when metric, converted otherwise.
double DisplayValue(TUnitKind kind, double metricValue);
// A measured value with at most the given decimals, trailing zeros removed; empty when its
// magnitude is at most 1e-12 (as the properties dialog shows it).
std::string FormatMeasuredValue(double value, int decimals);
