#include "document/BOMRows.h"

#include <algorithm>
#include <cstdio>

#include "base/Translate.h"
#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "model/BOM.h"
#include "model/SymbolObjects.h"

namespace {

// The BOM shows a component when its first record is not hidden from it.
bool ShownInBOM(const TSymbolObject& o) {
    const TBOM* first = o.fBOMList.First();
    return first != nullptr && !first->HideInBOM();
}

void BothUnits(TUnitKind kind, double metric, double imperial, double (&out)[2]) {
    out[0] = metric != 0 ? metric : imperial != 0 ? ImperialToMetric(kind, imperial) : 0;
    out[1] = imperial != 0 ? imperial : metric != 0 ? MetricToImperial(kind, metric) : 0;
}

std::string Number(double v, int decimals) {
    if (v == 0) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string s = text;
    // Trailing zeros say nothing: "1.500" is "1.5", "2.00" is "2".
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return c < 0x80 ? char(std::tolower(c)) : char(c); });
    return s;
}

std::string Quoted(const std::string& field) {
    std::string out = "\"";
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace

std::vector<TBOMRow> CollectBOMRows(TSymbolFile& doc) {
    std::vector<TBOMRow> rows;
    TSymbolObject& root = doc.Symbol();
    root.ForEachInSubtree([&](TSymbolObject* o) {
        if (o == &root || !ShownInBOM(*o)) return;
        for (int i = 0; i < o->fBOMList.Count(); ++i) {
            const TBOM& bom = *o->fBOMList.Items(i);
            const TBOMData& d = bom.fData;
            if (i > 0 && d.HideInBOM) continue;
            TBOMRow r;
            r.Object = o;
            r.Handle = o->fHandle;
            r.Record = i;
            r.ItemNumber = d.MainItemNumber[0];
            if (!d.SubItemNumber[0].empty()) r.ItemNumber += "." + d.SubItemNumber[0];
            r.ArticleCode = d.ArticleCode;
            r.Manufacturer = d.Manufacturer == "<>" && !d.ComponentFile.empty()
                                 ? bom.GetManufacturer(d.ComponentFile)
                             : d.Manufacturer == "<>" ? std::string()
                                                      : d.Manufacturer;
            r.Description = d.Description;
            r.Quantity = d.QuantityManualEntered ? d.QuantityManualValue : 1;
            r.OrderingCode = bom.OrderingCode();
            BothUnits(TUnitKind::Weight, d.Weight, d.WeightLBS, r.Weight);
            BothUnits(TUnitKind::Size, d.Height, d.HeightIN, r.Height);
            BothUnits(TUnitKind::Pressure, d.PMax, d.PMaxPSI, r.PMax);
            BothUnits(TUnitKind::Flow, d.QMax, d.QMaxGPM, r.QMax);
            rows.push_back(std::move(r));
        }
    });
    return rows;
}

std::vector<std::string> BOMHeader(bool metric) {
    const auto withUnit = [&](const char* caption, TUnitKind kind) {
        return _(caption) + " [" + UnitText(kind, metric) + "]";
    };
    return {_("Item Number"),
            _("Article code"),
            _("Manufacturer"),
            _("Description"),
            _("Quantity"),
            _("Ordering code"),
            withUnit(N_("Weight"), TUnitKind::Weight),
            withUnit(N_("Height"), TUnitKind::Size),
            withUnit(N_("PMax"), TUnitKind::Pressure),
            withUnit(N_("QMax"), TUnitKind::Flow)};
}

std::vector<std::string> BOMRowTexts(const TBOMRow& row, bool metric) {
    const int u = metric ? 0 : 1;
    return {row.ItemNumber,
            row.ArticleCode,
            row.Manufacturer,
            row.Description,
            std::to_string(row.Quantity),
            row.OrderingCode,
            Number(row.Weight[u], 3),
            Number(row.Height[u], 3),
            Number(row.PMax[u], 0),
            Number(row.QMax[u], 2)};
}

std::string BOMCsv(const std::vector<TBOMRow>& rows, bool metric) {
    std::string out = "\xEF\xBB\xBF";
    const auto line = [&](const std::vector<std::string>& fields) {
        for (size_t i = 0; i < fields.size(); ++i)
            out += (i ? "," : "") + Quoted(fields[i]);
        out += "\r\n";
    };
    line(BOMHeader(metric));
    for (const TBOMRow& r : rows)
        line(BOMRowTexts(r, metric));
    return out;
}

std::string BOMText(const std::vector<TBOMRow>& rows, bool metric) {
    std::string out;
    const auto line = [&](std::vector<std::string> fields) {
        for (size_t i = 0; i < fields.size(); ++i) {
            // A tab or line break inside a value would split the row.
            std::replace_if(
                fields[i].begin(), fields[i].end(),
                [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
            out += (i ? "\t" : "") + fields[i];
        }
        out += "\n";
    };
    line(BOMHeader(metric));
    for (const TBOMRow& r : rows)
        line(BOMRowTexts(r, metric));
    return out;
}

std::vector<TSymbolObject*> FindComponents(TSymbolFile& doc, const std::string& text) {
    std::vector<TSymbolObject*> found;
    const std::string wanted = Lower(text);
    if (wanted.empty()) return found;
    TSymbolObject& root = doc.Symbol();
    root.ForEachInSubtree([&](TSymbolObject* o) {
        if (o == &root || !ShownInBOM(*o)) return;
        const auto holds = [&](const std::string& s) { return Lower(s).find(wanted) != std::string::npos; };
        bool hit = false;
        for (int i = 0; i < o->fBOMList.Count() && !hit; ++i) {
            const TBOM& bom = *o->fBOMList.Items(i);
            const TBOMData& d = bom.fData;
            for (const std::string* s : {&d.MainItemNumber[0], &d.ArticleCode, &d.Manufacturer,
                                         &d.ComponentType, &d.Description, &d.Title, &d.Remark})
                hit = hit || holds(*s);
            hit = hit || holds(d.MainItemNumber[0] + "." + d.SubItemNumber[0]) || holds(bom.OrderingCode());
        }
        for (const auto& child : o->fSymbolObjectList)
            hit = hit || holds(child->AttributeValue());
        if (hit) found.push_back(o);
    });
    return found;
}
