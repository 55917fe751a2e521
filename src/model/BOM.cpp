#include "model/BOM.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

bool BOMDataEqual(const TBOMData& a, const TBOMData& b, int flags) {
    auto same = [](double x, double y) { return SameFloat(x, y); };
    bool eq = a.ArticleCode == b.ArticleCode && a.Manufacturer == b.Manufacturer &&
              a.ComponentType == b.ComponentType && a.Description == b.Description &&
              a.DataSheet == b.DataSheet && same(a.Weight, b.Weight) && same(a.WeightLBS, b.WeightLBS) &&
              same(a.Height, b.Height) && same(a.HeightIN, b.HeightIN) && same(a.BoltHeight, b.BoltHeight) &&
              same(a.BoltHeightIN, b.BoltHeightIN) && same(a.PMax, b.PMax) && same(a.PMaxPSI, b.PMaxPSI) &&
              same(a.QMax, b.QMax) && same(a.QMaxGPM, b.QMaxGPM) && a.BrevindFile == b.BrevindFile &&
              a.SymbolFile == b.SymbolFile && a.AlternativeSymbolFile == b.AlternativeSymbolFile &&
              a.ComponentFile == b.ComponentFile && a.AssemblyDrawing == b.AssemblyDrawing &&
              a.Title == b.Title && a.HideInBOM == b.HideInBOM && a.Sandwich == b.Sandwich &&
              a.Remark == b.Remark && a.UseInBrevind == b.UseInBrevind && same(a.Price, b.Price) &&
              a.FlexibleHousing == b.FlexibleHousing && a.Faces == b.Faces && a.Market == b.Market;
    if (!eq) return false;
    if (!(flags & 8) && a.Suppliers != b.Suppliers) return false;
    if (!(flags & 1) && (a.QuantityManualEntered != b.QuantityManualEntered ||
                         a.QuantityManualValue != b.QuantityManualValue))
        return false;
    if (flags & 2) return true;
    if (a.MainItemNumber != b.MainItemNumber) return false;
    if (flags & 4) return true;
    return a.SubItemNumber == b.SubItemNumber && a.LineNumber == b.LineNumber &&
           a.OverruledQuantity == b.OverruledQuantity && a.HideItemNumber == b.HideItemNumber;
}

void TBOM::Clear() {
    fData = TBOMData{};
    fComponentAttributeList.Clear();
    fUserFields.Clear();
    fOrderingCode.Clear();
}

void TBOM::Assign(const TBOM& source) {
    if (this == &source) return;
    fData = source.fData;
    fComponentAttributeList.Assign(source.fComponentAttributeList);
    fUserFields.Assign(source.fUserFields);
    fOrderingCode.Assign(source.fOrderingCode);
}

bool TBOM::Compare(const TBOM& second) const {
    return BOMDataEqual(fData, second.fData) &&
           fComponentAttributeList.Compare(second.fComponentAttributeList) &&
           fUserFields.Compare(second.fUserFields) && fOrderingCode.Compare(second.fOrderingCode);
}

std::string TBOM::OrderingCode() const {
    return fOrderingCode.IsDefined() ? fOrderingCode.GetOrderingCode(fData.ComponentType)
                                     : fData.ComponentType;
}

std::string WithoutSymExtension(const std::string& v) {
    if (v.size() >= 4 && SameTextAscii(std::string_view(v).substr(v.size() - 4), ".sym"))
        return v.substr(0, v.size() - 4);
    return v;
}

void TBOM::LoadFromReader(TRecordReader& reader) {
    Clear();
    const bool legacy = reader.IsLegacy();
    bool useInBrevind = false;
    std::string key, value;
    TBOMData& d = fData;
    auto flt = [&](double& f) { f = ParseRecordFloat(value, 0); };
    while (reader.NextKey(key, value, "ENDBOM."sv)) {
        // Keys the legacy reader knows.
        if (key == "MAINITEMNUMBER"sv)
            d.MainItemNumber[0] = value;
        else if (key == "SUBITEMNUMBER"sv)
            d.SubItemNumber[0] = value;
        else if (key == "QUANTITYMANUALENTERED"sv)
            d.QuantityManualEntered = YesNoToBool(value);
        else if (key == "QUANTITYMANUALVALUE"sv)
            d.QuantityManualValue = ParseRecordInt(value).value_or(1);
        else if (key == "ARTICLECODE"sv)
            d.ArticleCode = value;
        else if (key == "MANUFACTURER"sv)
            d.Manufacturer = value;
        else if (key == "TYPE"sv)
            d.ComponentType = value;
        else if (key == "DESCRIPTION"sv)
            d.Description = value;
        else if (key == "DATASHEET"sv)
            d.DataSheet = value;
        else if (key == "WEIGHT"sv)
            flt(d.Weight);
        else if (key == "HEIGHT"sv)
            flt(d.Height);
        else if (key == "BOLTHEIGHT"sv)
            flt(d.BoltHeight);
        else if (key == "PMAX"sv)
            flt(d.PMax);
        else if (key == "QMAX"sv)
            flt(d.QMax);
        else if (key == "SIZE"sv || key == "PRESSURE"sv || key == "CAVITY"sv)
            fComponentAttributeList.AddWithData(key, value);
        else if (key == "BREVINDFILE"sv)
            d.BrevindFile = value;
        else if (key == "SYMBOLFILE"sv)
            d.SymbolFile = WithoutSymExtension(value);
        else if (key == "ALTERNATIVESYMBOLFILE"sv)
            d.AlternativeSymbolFile = WithoutSymExtension(value);
        else if (key == "COMPONENTFILE"sv)
            d.ComponentFile = value;
        else if (key == "ASSEMBLYDRAWING"sv)
            d.AssemblyDrawing = value;
        else if (key == "TITLE"sv)
            d.Title = value;
        else if (key == "HIDEINBOM"sv)
            d.HideInBOM = YesNoToBool(value);
        else if (key == "SANDWICH"sv)
            d.Sandwich = YesNoToBool(value);
        else if (key == "REMARK"sv)
            d.Remark = value;
        else if (key == "USEINBREVIND"sv)
            useInBrevind = YesNoToBool(value);
        else if (key == "LINENUMBER"sv)
            d.LineNumber = ParseRecordInt(value).value_or(-1);
        else if (key == "PRICE"sv)
            flt(d.Price);
        else if (key == "OVERRULEDQUANTITY"sv)
            d.OverruledQuantity = ParseRecordInt(value).value_or(-666);
        else if (key == "FLEXIBLEHOUSING"sv)
            d.FlexibleHousing = YesNoToBool(value);
        else if (key == "HIDEITEMNUMBER"sv)
            d.HideItemNumber = YesNoToBool(value);
        else if (key == "COMPONENTATTRIBUTE:"sv) {
            fComponentAttributeList.Add()->LoadFromReader(reader);
        } else if (legacy)
            continue;
        // Keys of the current variant only.
        else if (key == "MAINITEMNUMBER2"sv)
            d.MainItemNumber[1] = value;
        else if (key == "MAINITEMNUMBER3"sv)
            d.MainItemNumber[2] = value;
        else if (key == "SUBITEMNUMBER2"sv)
            d.SubItemNumber[1] = value;
        else if (key == "SUBITEMNUMBER3"sv)
            d.SubItemNumber[2] = value;
        else if (key == "WEIGHTLBS"sv)
            flt(d.WeightLBS);
        else if (key == "HEIGHTIN"sv)
            flt(d.HeightIN);
        else if (key == "BOLTHEIGHTIN"sv)
            flt(d.BoltHeightIN);
        else if (key == "PMAXPSI"sv)
            flt(d.PMaxPSI);
        else if (key == "QMAXGPM"sv)
            flt(d.QMaxGPM);
        else if (key == "FACES"sv)
            d.Faces = value;
        else if (key == "EUROPE"sv)
            d.Market |= mkEuropean;
        else if (key == "US"sv)
            d.Market |= mkUS;
        else if (key == "SUPPLIERS"sv)
            d.Suppliers = value;
        else if (key == "USERFIELDLIST:"sv)
            fUserFields.LoadFromReader(reader);
        else if (key == "FLEXIBLECODE:"sv) {
            // A block that ran into the record's end has consumed it.
            if (TOrderingCodeGeneratorReader::Load(reader, fOrderingCode) == TOrderingCodeBlockEnd::RecordEnd)
                break;
        }
    }
    if (d.Height > 0) d.Sandwich = true;
    d.UseInBrevind = !d.BrevindFile.empty() || useInBrevind;
}

std::string TBOM::ComponentAttributeValue(std::string_view tag) const {
    return fComponentAttributeList.ValueOf(tag);
}

namespace {
// The component file's name without folder and without its ".kcf" extension.
std::string ComponentName(const std::string& fileName) {
    std::string name = std::filesystem::path(fileName).filename().string();
    if (name.size() >= 4 && SameTextAscii(std::string_view(name).substr(name.size() - 4), ".kcf"))
        name.resize(name.size() - 4);
    return name;
}
} // namespace

std::string TBOM::GetTitle(const std::string& fileName) const {
    if (fData.Title != "<>") return fData.Title;
    std::string name = ComponentName(fileName);
    size_t u = name.find('_');
    return u == std::string::npos ? fData.Title : name.substr(u + 1);
}

std::string TBOM::GetSymbolFile(const std::string& fileName) const {
    return fData.SymbolFile == "<>" ? ComponentName(fileName) : fData.SymbolFile;
}

std::string TBOM::GetAssemblyDrawing(const std::string& fileName) const {
    return fData.AssemblyDrawing == "<>" ? ComponentName(fileName) : fData.AssemblyDrawing;
}

std::string TBOM::GetManufacturer(const std::string& fileName) const {
    if (fData.Manufacturer != "<>") return fData.Manufacturer;
    std::string name = ComponentName(fileName);
    size_t u = name.find('_');
    return u == std::string::npos ? "??" : name.substr(0, u);
}

std::string TBOM::GetBrevindFile(const std::string& fileName) const {
    std::string name = ComponentName(fileName), r;
    const std::string& s = fData.BrevindFile;
    for (size_t i = 0; i < s.size();) {
        if (i + 1 < s.size() && s[i] == '<' && s[i + 1] == '>') {
            r += name;
            i += 2;
        } else {
            r.push_back(s[i++]);
        }
    }
    return r;
}

std::string TBOM::BrevindFile_NonUS() const {
    return fData.BrevindFile.substr(0, fData.BrevindFile.find(';'));
}

std::string TBOM::BrevindFile_US() const {
    size_t p = fData.BrevindFile.find(';');
    if (p == std::string::npos) return {};
    std::string rest = fData.BrevindFile.substr(p + 1);
    return rest.substr(0, rest.find(';'));
}

void TBOM::SetBrevindFile_NonUS(const std::string& value) {
    std::string us = BrevindFile_US();
    fData.BrevindFile = us.empty() ? value : value + ";" + us;
}

void TBOM::SetBrevindFile_US(const std::string& value) {
    fData.BrevindFile = BrevindFile_NonUS() + ";" + value;
}

void TBOM::Dump(TJsonWriter& w) const {
    const TBOMData& d = fData;
    w.BeginObject();
    w.Field("Class", "TBOM");
    w.Key("Data");
    w.BeginObject();
    w.Field("MainItemNumber", std::vector<std::string>(d.MainItemNumber.begin(), d.MainItemNumber.end()));
    w.Field("SubItemNumber", std::vector<std::string>(d.SubItemNumber.begin(), d.SubItemNumber.end()));
    w.Field("ArticleCode", d.ArticleCode);
    w.Field("Manufacturer", d.Manufacturer);
    w.Field("ComponentType", d.ComponentType);
    w.Field("Description", d.Description);
    w.Field("DataSheet", d.DataSheet);
    w.Field("Weight", d.Weight);
    w.Field("WeightLBS", d.WeightLBS);
    w.Field("Height", d.Height);
    w.Field("HeightIN", d.HeightIN);
    w.Field("BoltHeight", d.BoltHeight);
    w.Field("BoltHeightIN", d.BoltHeightIN);
    w.Field("PMax", d.PMax);
    w.Field("PMaxPSI", d.PMaxPSI);
    w.Field("QMax", d.QMax);
    w.Field("QMaxGPM", d.QMaxGPM);
    w.Field("BrevindFile", d.BrevindFile);
    w.Field("SymbolFile", d.SymbolFile);
    w.Field("AlternativeSymbolFile", d.AlternativeSymbolFile);
    w.Field("ComponentFile", d.ComponentFile);
    w.Field("AssemblyDrawing", d.AssemblyDrawing);
    w.Field("Title", d.Title);
    w.Field("HideInBOM", d.HideInBOM);
    w.Field("Sandwich", d.Sandwich);
    w.Field("Remark", d.Remark);
    w.Field("UseInBrevind", d.UseInBrevind);
    w.Field("LineNumber", d.LineNumber);
    w.Field("Price", d.Price);
    w.Field("OverruledQuantity", d.OverruledQuantity);
    w.Field("FlexibleHousing", d.FlexibleHousing);
    w.Field("QuantityManualEntered", d.QuantityManualEntered);
    w.Field("QuantityManualValue", d.QuantityManualValue);
    w.Field("HideItemNumber", d.HideItemNumber);
    w.Field("Faces", d.Faces);
    w.Key("Market");
    w.BeginArray();
    if (d.Market & mkEuropean) w.String("mkEuropean");
    if (d.Market & mkUS) w.String("mkUS");
    w.EndArray();
    w.Field("Suppliers", d.Suppliers);
    w.EndObject();
    w.Key("ComponentAttributeList");
    fComponentAttributeList.Dump(w);
    w.Key("UserFields");
    fUserFields.Dump(w);
    w.Key("OrderingCodeGenerator");
    fOrderingCode.Dump(w);
    w.Field("OrderingCode", OrderingCode());
    w.EndObject();
}

TBOM* TBOMList::Add(bool isAccessory) {
    fBOMList.push_back(std::make_unique<TBOM>());
    if (isAccessory) fBOMList.back()->fData.HideItemNumber = true;
    return fBOMList.back().get();
}

void TBOMList::Clear() {
    fBOMList.clear();
    fItemIndex = -1;
}

void TBOMList::Delete(int i) {
    if (i >= 0 && i < Count()) fBOMList.erase(fBOMList.begin() + i);
}

TBOM* TBOMList::Selected() const {
    return fItemIndex >= 0 && fItemIndex < Count() ? Items(fItemIndex) : nullptr;
}

int TBOMList::IndexOf(const TBOM* bom) const {
    for (int i = 0; i < Count(); ++i)
        if (fBOMList[size_t(i)].get() == bom) return i;
    return -1;
}

void TBOMList::Assign(const TBOMList& source) {
    if (this == &source) return;
    fBOMList.clear();
    for (const auto& b : source.fBOMList) {
        fBOMList.push_back(std::make_unique<TBOM>());
        fBOMList.back()->Assign(*b);
    }
    fItemIndex = source.fItemIndex;
}

bool TBOMList::Compare(const TBOMList& second) const {
    if (Count() != second.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (!Items(i)->Compare(*second.Items(i))) return false;
    return true;
}

void TBOMList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& b : fBOMList)
        b->Dump(w);
    w.EndArray();
}

// ---------------------------------------------------------------------------------------------

namespace {

struct TUnitInfo {
    const char* Metric;
    const char* Imperial;
    double Factor; // imperial = metric * Factor
};

const TUnitInfo Units[] = {
    {"mm", "inch", 1 / 25.4},     {"bar", "psi", 14.5037738}, {"l/min", "gpm", 1 / 3.78541178},
    {"kg", "lbs", 2.20462262185}, {"m/s", "fps", 3.2808399},
};

bool gMetric[5] = {true, true, true, true, true};

} // namespace

void SetDisplayUnits(bool size, bool pressure, bool flow, bool weight, bool velocity) {
    gMetric[0] = size;
    gMetric[1] = pressure;
    gMetric[2] = flow;
    gMetric[3] = weight;
    gMetric[4] = velocity;
}

bool IsMetric(TUnitKind kind) {
    return gMetric[int(kind)];
}

std::string UnitText(TUnitKind kind, bool metric) {
    return metric ? Units[int(kind)].Metric : Units[int(kind)].Imperial;
}

std::string UnitText(TUnitKind kind) {
    return UnitText(kind, IsMetric(kind));
}

double MetricToImperial(TUnitKind kind, double value) {
    // Divide where the factor is given as a divisor, so that round values come out exact.
    switch (kind) {
    case TUnitKind::Size:
        return value / 25.4;
    case TUnitKind::Flow:
        return value / 3.78541178;
    default:
        return value * Units[int(kind)].Factor;
    }
}

double ImperialToMetric(TUnitKind kind, double value) {
    switch (kind) {
    case TUnitKind::Size:
        return value * 25.4;
    case TUnitKind::Flow:
        return value * 3.78541178;
    default:
        return value / Units[int(kind)].Factor;
    }
}

double DisplayValue(TUnitKind kind, double metricValue) {
    return IsMetric(kind) ? metricValue : MetricToImperial(kind, metricValue);
}

std::string FormatMeasuredValue(double value, int decimals) {
    if (std::fabs(value) <= 1e-12 || !std::isfinite(value)) return {};
    std::string s = FormatFixed(value, decimals);
    TrimTrailingZeros(s);
    // A tiny negative value rounds to "-0", which is no measure to show.
    if (s == "-0") return "0";
    return s;
}
