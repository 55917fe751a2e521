#include <algorithm>

#include "model/JsonWriter.h"
#include "model/SymbolObjects.h"

TSymbolObjectList::TSymbolObjectList() = default;
TSymbolObjectList::~TSymbolObjectList() = default;

void TSymbolObjectList::GeometryChanged() const {
    if (fClock) ++fClock->Generation;
}

void TSymbolObjectList::StructureChanged() const {
    if (fClock) ++fClock->Structure;
}

void TSymbolObjectList::SetGeometryClock(TGeometryClock* clock) {
    fClock = clock;
    fCache.reset();
    for (const auto& child : fSymbolObjectList)
        child->SetGeometryClock(clock);
}

TSymbolObject* TSymbolObjectList::Add(TSymbolObjectMainType mainType) {
    return Append(CreateSymbolObject(mainType));
}

TSymbolObject* TSymbolObjectList::Append(std::unique_ptr<TSymbolObject> obj) {
    GeometryChanged();
    StructureChanged();
    obj->SetGeometryClock(fClock);
    fSymbolObjectList.push_back(std::move(obj));
    return fSymbolObjectList.back().get();
}

void TSymbolObjectList::Clear() {
    GeometryChanged();
    StructureChanged();
    fSymbolObjectList.clear();
}

void TSymbolObjectList::Delete(int index) {
    GeometryChanged();
    StructureChanged();
    if (index >= 0 && index < Count()) fSymbolObjectList.erase(fSymbolObjectList.begin() + index);
}

void TSymbolObjectList::Delete(const TSymbolObject* obj) {
    if (obj) Delete(IndexOf(obj->fHandle));
}

int TSymbolObjectList::IndexOf(int32_t handle) const {
    for (int i = 0; i < Count(); ++i)
        if (fSymbolObjectList[size_t(i)]->fHandle == handle) return i;
    return -1;
}

TSymbolObject* TSymbolObjectList::IndexOfNew(int32_t handle) const {
    int i = IndexOf(handle);
    return i < 0 ? nullptr : SymbolObjects(i);
}

TSymbolObject* TSymbolObjectList::Find(int32_t handle) const {
    for (const auto& obj : fSymbolObjectList) {
        TSymbolObject* found = nullptr;
        obj->FindByHandle(handle, found);
        if (found) return found;
    }
    return nullptr;
}

int TSymbolObjectList::IndexOfSymbol(int32_t handleOfObjectInSymbol) const {
    for (int i = 0; i < Count(); ++i) {
        const TSymbolObject* o = SymbolObjects(i);
        if (o->fSymbolObjectMainType == somSymbol &&
            o->fSymbolObjectList.IndexOf(handleOfObjectInSymbol) >= 0)
            return i;
    }
    return -1;
}

TSymbolObject* TSymbolObjectList::IndexOfSymbolNew(int32_t handleOfObjectInSymbol) const {
    int i = IndexOfSymbol(handleOfObjectInSymbol);
    return i < 0 ? nullptr : SymbolObjects(i);
}

TSymbolObject* TSymbolObjectList::IndexOfSymbolNew2(int32_t handleOfObjectInSymbol) const {
    for (const auto& o : fSymbolObjectList)
        if (o->fSymbolObjectList.IndexOf(handleOfObjectInSymbol) >= 0) return o.get();
    return nullptr;
}

int32_t TSymbolObjectList::GetNextFreeHandle() const {
    int32_t h = -1;
    for (const auto& o : fSymbolObjectList)
        h = o->HighestHandle(h);
    // A file may hold the largest handle there is; there is then no higher free one to give.
    return h == INT32_MAX ? h : h + 1;
}

int32_t TSymbolObjectList::SetNewHandle(int32_t newHandle) {
    for (const auto& o : fSymbolObjectList)
        newHandle = o->SetNewHandle(newHandle);
    return newHandle;
}

TExtentsRect TSymbolObjectList::Extents(TExtentsRect current) const {
    for (const auto& o : fSymbolObjectList)
        if (!o->AddRememberedExtents(current)) current = o->Extents(current);
    return current;
}

void TSymbolObjectList::ResetExtents() {
    for (const auto& o : fSymbolObjectList)
        o->ResetExtents();
}

void TSymbolObjectList::ClearSelection() {
    for (const auto& o : fSymbolObjectList)
        o->ClearSelection();
}

void TSymbolObjectList::SelectAll() {
    for (const auto& o : fSymbolObjectList)
        o->SelectAll();
}

int TSymbolObjectList::SelCount() const {
    return int(std::count_if(begin(), end(), [](const auto& o) { return o->Selected(); }));
}

bool TSymbolObjectList::SomethingSelected() const {
    return std::any_of(begin(), end(), [](const auto& o) { return o->Selected(); });
}

bool TSymbolObjectList::HasSelection() const {
    return std::any_of(begin(), end(), [](const auto& o) { return o->HasSelection(); });
}

TSymbolObject* TSymbolObjectList::GetFirstSelected() const {
    for (const auto& o : fSymbolObjectList)
        if (o->Selected()) return o.get();
    return nullptr;
}

int TSymbolObjectList::VisibleCount() const {
    return int(std::count_if(begin(), end(), [](const auto& o) { return o->CountsAsVisible(); }));
}

bool TSymbolObjectList::SelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter,
                                             double minPickDistance) {
    TObjectRefList list;
    return GetAndSelectObjectsAtPoint(pt, filter, list, minPickDistance);
}

bool TSymbolObjectList::GetAndSelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter,
                                                   TObjectRefList& list, double minPickDistance,
                                                   TObjectRefList* hitChildren) {
    size_t before = list.size();
    TSymbolObject::TAppendUnique out(list);
    ForEachCandidate(TSymbolObject::NearQuery(pt, minPickDistance), [&](TSymbolObject* o) {
        if (o->PointSelection(pt, filter, out, minPickDistance, true) && hitChildren)
            hitChildren->push_back(o);
    });
    return list.size() > before;
}

TObjectRefList TSymbolObjectList::CreateListAndSelectObjectsAtPoint(TPoint pt,
                                                                    const TSymbolObjectTypeSet& filter,
                                                                    double minPickDistance) {
    TObjectRefList list;
    GetAndSelectObjectsAtPoint(pt, filter, list, minPickDistance);
    return list;
}

int TSymbolObjectList::CountAndSelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter,
                                                    double minPickDistance) {
    return int(CreateListAndSelectObjectsAtPoint(pt, filter, minPickDistance).size());
}

bool TSymbolObjectList::GetObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                                          double minPickDistance) const {
    size_t before = list.size();
    TSymbolObject::TAppendUnique out(list);
    ForEachCandidate(TSymbolObject::NearQuery(pt, minPickDistance),
                     [&](TSymbolObject* o) { o->PointSelection(pt, filter, out, minPickDistance, false); });
    return list.size() > before;
}

TObjectRefList TSymbolObjectList::CreateListObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter,
                                                           double minPickDistance) const {
    TObjectRefList list;
    GetObjectsAtPoint(pt, filter, list, minPickDistance);
    return list;
}

bool TSymbolObjectList::SelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter) {
    TObjectRefList list;
    return GetAndSelectObjectsInRect(rt, filter, list);
}

bool TSymbolObjectList::GetAndSelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter,
                                                  TObjectRefList& list) {
    size_t before = list.size();
    TSymbolObject::TAppendUnique out(list);
    for (const auto& o : fSymbolObjectList)
        o->RectSelection(rt, filter, out, true);
    return list.size() > before;
}

TObjectRefList TSymbolObjectList::CreateListAndSelectObjectsInRect(const TRect& rt,
                                                                   const TSymbolObjectTypeSet& filter) {
    TObjectRefList list;
    GetAndSelectObjectsInRect(rt, filter, list);
    return list;
}

int TSymbolObjectList::CountAndSelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter) {
    return int(CreateListAndSelectObjectsInRect(rt, filter).size());
}

bool TSymbolObjectList::GetObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter,
                                         TObjectRefList& list) const {
    size_t before = list.size();
    TSymbolObject::TAppendUnique out(list);
    for (const auto& o : fSymbolObjectList)
        o->RectSelection(rt, filter, out, false);
    return list.size() > before;
}

TObjectRefList TSymbolObjectList::CreateListObjectsInRect(const TRect& rt,
                                                          const TSymbolObjectTypeSet& filter) const {
    TObjectRefList list;
    GetObjectsInRect(rt, filter, list);
    return list;
}

namespace {
template <class Pred> TObjectRefList CollectSubtrees(const TSymbolObjectList& l, Pred pred) {
    TObjectRefList r;
    for (const auto& o : l)
        o->ForEachInSubtree([&](TSymbolObject* x) {
            if (pred(x)) r.push_back(x);
        });
    return r;
}

template <class Pred> std::vector<int> IndexesOf(const TSymbolObjectList& l, Pred pred) {
    std::vector<int> r;
    for (int i = 0; i < l.Count(); ++i)
        if (pred(l.SymbolObjects(i))) r.push_back(i);
    return r;
}

bool MaskAccepts(TMainTypeMask mask, const TSymbolObject* o) {
    return mask == 0 || (mask & MainTypeBit(o->fSymbolObjectMainType));
}
} // namespace

TObjectRefList TSymbolObjectList::CreateListObjectsNew(const TSymbolObjectTypeSet& filter) const {
    return CollectSubtrees(*this, [&](TSymbolObject* o) { return FilterAccepts(filter, o); });
}

TObjectRefList TSymbolObjectList::CreateListSelectedObjectsNew(const TSymbolObjectTypeSet& filter) const {
    return CollectSubtrees(*this,
                           [&](TSymbolObject* o) { return o->Selected() && FilterAccepts(filter, o); });
}

TObjectRefList TSymbolObjectList::CreateListClickedObjectsNew(const TSymbolObjectTypeSet& filter) const {
    return CollectSubtrees(*this,
                           [&](TSymbolObject* o) { return o->fIsClicked && FilterAccepts(filter, o); });
}

TObjectRefList TSymbolObjectList::CreateListObjectsNewNoRecursive(const TSymbolObjectTypeSet& filter) const {
    TObjectRefList r;
    for (const auto& o : fSymbolObjectList)
        if (FilterAccepts(filter, o.get())) r.push_back(o.get());
    return r;
}

TObjectRefList TSymbolObjectList::CreateListObjectsNewNoRecursive(TMainTypeMask mask) const {
    TObjectRefList r;
    for (const auto& o : fSymbolObjectList)
        if (MaskAccepts(mask, o.get())) r.push_back(o.get());
    return r;
}

TObjectRefList TSymbolObjectList::CreateListSelectedObjectsNewNoRecursive(TMainTypeMask mask) const {
    TObjectRefList r;
    for (const auto& o : fSymbolObjectList)
        if (o->Selected() && MaskAccepts(mask, o.get())) r.push_back(o.get());
    return r;
}

int TSymbolObjectList::CountSelectedObjectsNewNoRecursive(TMainTypeMask mask) const {
    return int(CreateListSelectedObjectsNewNoRecursive(mask).size());
}

TObjectRefList TSymbolObjectList::CreateList(const TSymbolObjectTypeSet& filter) const {
    TObjectRefList r;
    if (filter.none()) return r;
    for (const auto& o : fSymbolObjectList)
        if (filter.test(o->fSymbolObjectSubType)) r.push_back(o.get());
    return r;
}

int TSymbolObjectList::ObjectCount(const TSymbolObjectTypeSet& filter) const {
    return int(CreateList(filter).size());
}

int TSymbolObjectList::CountObjects(const TSymbolObjectTypeSet& filter) const {
    return int(CreateListObjectsNew(filter).size());
}

int TSymbolObjectList::CountSelectedObjects(const TSymbolObjectTypeSet& filter) const {
    return int(CreateListSelectedObjectsNew(filter).size());
}

int TSymbolObjectList::CountClickedObjects(const TSymbolObjectTypeSet& filter) const {
    return int(CreateListClickedObjectsNew(filter).size());
}

std::vector<int> TSymbolObjectList::GetObjects(const TSymbolObjectTypeSet& filter) const {
    return IndexesOf(*this, [&](const TSymbolObject* o) {
        return !filter.none() && filter.test(o->fSymbolObjectSubType);
    });
}

std::vector<int> TSymbolObjectList::GetSelectedObjects(const TSymbolObjectTypeSet& filter) const {
    return IndexesOf(*this,
                     [&](const TSymbolObject* o) { return o->Selected() && FilterAccepts(filter, o); });
}

std::vector<int> TSymbolObjectList::GetClickedObjects(const TSymbolObjectTypeSet& filter) const {
    return IndexesOf(*this,
                     [&](const TSymbolObject* o) { return o->fIsClicked && FilterAccepts(filter, o); });
}

void TSymbolObjectList::SetTemporaryHidden(uint8_t value) {
    for (const auto& o : fSymbolObjectList)
        o->SetTemporaryHidden(value);
}

void TSymbolObjectList::UpdateGroupColors(const TSymGroups& groups) {
    for (const auto& o : fSymbolObjectList)
        o->UpdateGroupColors(groups);
}

void TSymbolObjectList::ReplaceTextHeights(const TTextStyleList& styles) {
    for (const auto& o : fSymbolObjectList)
        o->ReplaceTextHeights(styles);
}

void TSymbolObjectList::UpdateItemLayout(const TItemNumberLayoutSet& layouts) {
    for (const auto& o : fSymbolObjectList)
        o->UpdateItemLayout(layouts);
}

TSymbolObject* TSymbolObjectList::GetAttributeObject(TSpecialAttribute tag) const {
    // Every object that is no special attribute answers saNone, so that is no look-up.
    if (tag == saNone) return nullptr;
    for (auto it = fSymbolObjectList.rbegin(); it != fSymbolObjectList.rend(); ++it)
        if ((*it)->AttributeKind() == tag) return it->get();
    return nullptr;
}

std::string TSymbolObjectList::GetAttributeValue(TSpecialAttribute tag) const {
    const TSymbolObject* a = GetAttributeObject(tag);
    return a ? a->AttributeValue() : std::string();
}

void TSymbolObjectList::ClearOriginalHandles() {
    for (const auto& o : fSymbolObjectList)
        o->ClearOriginalHandles();
}

void TSymbolObjectList::CopyHandleToOriginalHandles() {
    for (const auto& o : fSymbolObjectList)
        o->CopyHandleToOriginalHandles();
}

void TSymbolObjectList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const auto& o : fSymbolObjectList)
        o->Dump(w);
    w.EndArray();
}
