// The document's sheets: the paper sizes of a multi-sheet schematic, and showing one of them alone.
#include <algorithm>
#include <unordered_set>

#include "base/Translate.h"
#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "objects/SheetObjects.h"

std::vector<TSymbolObjectPaperSize*> TSymbolFile::CreateSheetList() const {
    std::vector<TSymbolObjectPaperSize*> sheets;
    fSymbol->ForEachInSubtree([&](TSymbolObject* o) {
        if (o->fSymbolObjectMainType == somPaperSize)
            if (auto* p = dynamic_cast<TSymbolObjectPaperSize*>(o)) sheets.push_back(p);
    });
    // Sorted by number, drawings in file order among equal numbers. A stable sort keeps that
    // order where an exchange sort would not, and stays fast with thousands of sheets.
    std::stable_sort(sheets.begin(), sheets.end(),
                     [](const auto* a, const auto* b) { return a->fSheetNumber < b->fSheetNumber; });
    return sheets;
}

int TSymbolFile::GetSheetCount() const {
    return fData.IsMultiSheetFile ? int(CreateSheetList().size()) : 0;
}

void TSymbolFile::GetSheetList(std::vector<std::string>& strings) const {
    strings.clear();
    if (!fData.IsMultiSheetFile) return;
    for (const TSymbolObjectPaperSize* p : CreateSheetList())
        strings.push_back(_("Sheet ") + std::to_string(int64_t(p->fSheetNumber) + 1));
    strings.push_back(_("All"));
}

std::vector<int32_t> TSymbolFile::SheetNumbers() const {
    std::vector<int32_t> numbers;
    if (!fData.IsMultiSheetFile) return numbers;
    for (const TSymbolObjectPaperSize* p : CreateSheetList())
        if (p->fSheetNumber >= 0 && (numbers.empty() || numbers.back() != p->fSheetNumber))
            numbers.push_back(p->fSheetNumber);
    return numbers;
}

void TSymbolFile::RenumberSheets() {
    std::vector<TSymbolObjectPaperSize*> sheets = CreateSheetList();
    if (sheets.size() <= 1) {
        fData.IsMultiSheetFile = false;
        for (TSymbolObjectPaperSize* p : sheets)
            p->fSheetNumber = -1;
        return;
    }
    std::stable_sort(sheets.begin(), sheets.end(),
                     [](const auto* a, const auto* b) { return a->fHandle < b->fHandle; });
    for (size_t i = 0; i < sheets.size(); ++i)
        sheets[i]->fSheetNumber = int32_t(std::min<size_t>(i, INT32_MAX));
    fData.IsMultiSheetFile = true;
}

bool TSymbolFile::HideObjectsNotInSheet(int32_t sheetIndex) {
    fSymbol->SetTemporaryHidden(0);
    std::vector<TSymbolObjectPaperSize*> papers;
    for (TSymbolObjectPaperSize* p : CreateSheetList())
        if (p->fSheetNumber == sheetIndex) papers.push_back(p);
    if (!papers.empty()) {
        // Sheets that share a number are shown together: hiding what lies outside each paper
        // in turn would leave only the last one, with the others' frames hidden.
        std::unordered_set<const TSymbolObject*> kept;
        for (const TSymbolObjectPaperSize* p : papers) {
            const TRect rect = p->PaperRect();
            // One child at a time: each answers for itself, so the walk stays linear.
            for (const auto& child : fSymbol->fSymbolObjectList) {
                TObjectRefList hit;
                if (child->IsInRect(rect, {}, hit)) kept.insert(child.get());
            }
        }
        for (const auto& child : fSymbol->fSymbolObjectList)
            if (!kept.count(child.get())) child->SetTemporaryHidden(temphiddenAll);
        for (TSymbolObjectPaperSize* p : papers)
            p->SetTemporaryHidden(0);
    }
    fSymbol->ClearSelection();
    return !papers.empty();
}
