#include "model/SymbolObjects.h"

#include <algorithm>
#include <cmath>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

namespace {

bool IsCrossingRect(const TRect& rt) {
    return rt.P2.X < rt.P1.X;
}

// Values far outside any drawing are treated as damage and replaced by the defaults, so
// later arithmetic on them stays finite.
constexpr double MaxSaneScale = 1e6;
constexpr double MaxSaneRotation = 1e6;

} // namespace

void TSymbolObject::TAppendUnique::Add(TSymbolObject* obj) {
    constexpr size_t scanLimit = 16;
    if (Known <= scanLimit) {
        if (std::find(List.begin(), List.begin() + std::ptrdiff_t(Known), obj) !=
            List.begin() + std::ptrdiff_t(Known))
            return;
    } else {
        if (Prior.empty()) Prior.insert(List.begin(), List.begin() + std::ptrdiff_t(Known));
        if (Prior.count(obj)) return;
    }
    List.push_back(obj);
}

bool FilterAccepts(const TSymbolObjectTypeSet& filter, const TSymbolObject* obj) {
    return filter.none() || filter.test(obj->fSymbolObjectSubType);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObject

TSymbolObject::TSymbolObject(TSymbolObjectMainType mainType)
    : fSymbolObjectSubType(MainTypeInfo(mainType).DefaultSubType), fSymbolObjectMainType(mainType),
      fSymLineType(MainTypeInfo(mainType).DefaultLineType), fLayerName(MainTypeInfo(mainType).DefaultLayer) {}

TSymbolObject::~TSymbolObject() = default;

void TSymbolObject::SetDefaults() {
    GeometryChanged();
    const TMainTypeInfo& info = MainTypeInfo(fSymbolObjectMainType);
    fExtents = {};
    fSymbolObjectSubType = info.DefaultSubType;
    fP1 = {};
    fFlip = fHideInOutput = fHide = false;
    fObjectRotation = 0;
    fScale = 1;
    fHandle = fOriginalHandle = -1;
    fSelected = fIsClicked = fFill = fAlternate = false;
    fSymLineType = info.DefaultLineType;
    fSymLineStyle = symlinestyleDefault;
    fSymbolObjectList.Clear();
    fBOMList.Clear();
    fTemporaryHidden = 0;
    fInMainSymbol = 0;
    fLayerName = std::string(info.DefaultLayer);
    fColorIsOverruled = false;
    fOverruledColor = 255;
}

bool TSymbolObject::HitTest(TPoint, double) const {
    return false;
}
bool TSymbolObject::HitTestRect(const TRect&) const {
    return false;
}

int32_t TSymbolObject::HighestHandle(int32_t current) const {
    int32_t h = std::max(current, fHandle);
    for (const auto& child : fSymbolObjectList)
        h = child->HighestHandle(h);
    return h;
}

bool TSymbolObject::LoadCommonKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    const bool legacy = reader.IsLegacy();
    // Common keys, in the order the record format tests them.
    enum KeyId {
        kHandle,
        kOriginalHandle,
        kLineType,
        kLayerName,
        kLineStyle,
        kSymbolType,
        kPoint1X,
        kPoint1Y,
        kAlternate,
        kFill,
        kFlip,
        kObjectRotation,
        kScale,
        kHideInOutput,
        kHide,
        kColorIsOverruled,
        kOverruledColor,
        kCount
    };
    struct KeyDef {
        std::string_view Name;
        bool Legacy;
    };
    static constexpr KeyDef keys[kCount] = {{"HANDLE", true},         {"ORIGINALHANDLE", false},
                                            {"LINETYPE", true},       {"LAYERNAME", false},
                                            {"LINESTYLE", true},      {"SYMBOLTYPE", true},
                                            {"POINT1X", true},        {"POINT1Y", true},
                                            {"ALTERNATE", false},     {"FILL", true},
                                            {"FLIP", true},           {"OBJECTROTATION", true},
                                            {"SCALE", true},          {"HIDEINOUTPUT", true},
                                            {"HIDE", true},           {"COLORISOVERRULED", false},
                                            {"OVERRULEDCOLOR", false}};

    // Most lines of a drawing reach this test, so the candidates are narrowed by the first letter.
    int id = -1;
    if (!key.empty()) {
        auto is = [&](int k) { return keys[k].Name == key ? k : -1; };
        switch (key[0]) {
        case 'H':
            id = std::max({is(kHandle), is(kHideInOutput), is(kHide)});
            break;
        case 'O':
            id = std::max({is(kOriginalHandle), is(kObjectRotation), is(kOverruledColor)});
            break;
        case 'L':
            id = std::max({is(kLineType), is(kLayerName), is(kLineStyle)});
            break;
        case 'S':
            id = std::max(is(kSymbolType), is(kScale));
            break;
        case 'P':
            id = std::max(is(kPoint1X), is(kPoint1Y));
            break;
        case 'A':
            id = is(kAlternate);
            break;
        case 'F':
            id = std::max(is(kFill), is(kFlip));
            break;
        case 'C':
            id = is(kColorIsOverruled);
            break;
        default:
            break;
        }
    }
    if (id >= 0 && (!legacy || keys[id].Legacy)) {
        switch (id) {
        case kHandle:
            if (auto v = ParseRecordInt(value)) fHandle = *v;
            break;
        case kOriginalHandle:
            if (auto v = ParseRecordInt(value)) fOriginalHandle = *v;
            break;
        case kLineType: {
            int t = IndexOfName(value, SymLineTypeNames, SymLineTypeCount);
            fSymLineType = t <= 0 ? symlinetypeSymbol : TSymLineType(t);
            break;
        }
        case kLayerName:
            fLayerName = value;
            break;
        case kLineStyle: {
            int s = IndexOfName(value, SymLineStyleNames, SymLineStyleCount);
            fSymLineStyle = s < 0 ? symlinestyleDefault : TSymLineStyle(s);
            break;
        }
        case kSymbolType: {
            int s = IndexOfName(value, SymbolObjectTypeNames, SymbolObjectTypeCount);
            fSymbolObjectSubType = s < 0 ? soNone : TSymbolObjectType(s);
            break;
        }
        case kPoint1X:
            if (auto v = ParseRecordInt(value)) fP1.X = *v;
            break;
        case kPoint1Y:
            if (auto v = ParseRecordInt(value)) fP1.Y = *v;
            break;
        case kAlternate:
            fAlternate = YesNoToBool(value);
            break;
        case kFill:
            fFill = YesNoToBool(value);
            break;
        case kFlip:
            fFlip = YesNoToBool(value);
            break;
        case kObjectRotation: {
            double r = ParseRecordFloat(value, 0);
            fObjectRotation = std::fabs(r) <= MaxSaneRotation ? r : 0;
            break;
        }
        case kScale: {
            double s = ParseRecordFloat(value, 1);
            fScale = std::fabs(s) <= MaxSaneScale ? s : 1;
            break;
        }
        case kHideInOutput:
            fHideInOutput = YesNoToBool(value);
            break;
        case kHide:
            fHide = YesNoToBool(value);
            break;
        case kColorIsOverruled:
            fColorIsOverruled = YesNoToBool(value);
            break;
        case kOverruledColor:
            fOverruledColor = TColor(ParseRecordInt(value).value_or(255));
            break;
        }
        return true;
    }

    if (key == "BOM:"sv) {
        TBOM* bom = fBOMList.Add();
        TRecordReader::TNest nest(reader);
        bom->LoadFromReader(reader);
        return true;
    }
    TSymbolObjectMainType mainType;
    if (MainTypeOfKeyword(key, mainType) && (!legacy || MainTypeInfo(mainType).Legacy)) {
        if (!reader.CanNest()) {
            // Deeper than any real drawing: the record is consumed unread rather than
            // risking the stack.
            reader.SkipRecord();
            return true;
        }
        TSymbolObject* child = fSymbolObjectList.Add(mainType);
        TRecordReader::TNest nest(reader);
        child->LoadFromReader(reader);
        return true;
    }
    return false;
}

bool TSymbolObject::LoadOwnKey(TRecordReader&, const std::string&, const std::string&) {
    return false;
}

void TSymbolObject::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    const std::string_view terminator = Terminator();
    while (reader.NextKey(key, value, terminator)) {
        if (!LoadCommonKey(reader, key, value)) LoadOwnKey(reader, key, value);
    }
    AfterLoad();
}

void TSymbolObject::FindByHandle(int32_t handle, TSymbolObject*& found) {
    if (handle == fHandle) {
        found = this;
        return;
    }
    if (!SearchesChildren()) return;
    for (const auto& child : fSymbolObjectList) {
        child->FindByHandle(handle, found);
        if (found) return;
    }
}

TExtentsRect TSymbolObject::Extents(TExtentsRect current) const {
    if (fTemporaryHidden & temphiddenAll) return current;
    // Zoom All, culling and clicks all ask for the same subtrees' extents; each is measured once
    // per change of the geometry.
    for (const auto& child : fSymbolObjectList)
        if (!child->AddRememberedExtents(current)) current = child->Extents(current);
    return current;
}

void TSymbolObject::SelectAll() {
    SelectionMade();
    fSelected = true;
    fSymbolObjectList.SelectAll();
}

void TSymbolObject::ClearSelection() {
    fSelected = false;
    fIsClicked = false;
    fSymbolObjectList.ClearSelection();
}

void TSymbolObject::UpdateGroupColors(const TSymGroups& groups) {
    fSymbolObjectList.UpdateGroupColors(groups);
}

void TSymbolObject::ReplaceTextHeights(const TTextStyleList& styles) {
    fSymbolObjectList.ReplaceTextHeights(styles);
}

void TSymbolObject::UpdateItemLayout(const TItemNumberLayoutSet& layouts) {
    fSymbolObjectList.UpdateItemLayout(layouts);
}

TSymLineStyle TSymbolObject::ActualLineType() const {
    if (fSymLineStyle >= symlinestyleSolid) return fSymLineStyle;
    return DefaultLineStyleOf(fSymLineType);
}

void TSymbolObject::SetTemporaryHidden(uint8_t value) {
    GeometryChanged();
    fTemporaryHidden = value;
    fSymbolObjectList.SetTemporaryHidden(value);
}

void TSymbolObject::ResetExtents() {
    GeometryChanged();
    fExtents.Defined = false;
    fSymbolObjectList.ResetExtents();
}

bool TSymbolObject::HasSelection() const {
    return Selected() || fSymbolObjectList.HasSelection();
}

int TSymbolObject::ItemNumberCount() const {
    int n = 0;
    ForEachInSubtree([&](const TSymbolObject* o) { n += o->fSymbolObjectMainType == somItemNumber; });
    return n;
}

TSymbolObject* TSymbolObject::GetLeader() {
    if (fSymbolObjectMainType == somLeader || fSymbolObjectMainType == somItemNumber) return this;
    for (const auto& child : fSymbolObjectList)
        if (TSymbolObject* l = child->GetLeader()) return l;
    return nullptr;
}

std::string TSymbolObject::ToString() const {
    return "Object Handle= " + std::to_string(fHandle) + "; [" +
           std::string(MainTypeInfo(fSymbolObjectMainType).Keyword) + "]; [" +
           std::string(SymbolObjectTypeNames[fSymbolObjectSubType]) +
           "]; Sub Objects Count=" + std::to_string(fSymbolObjectList.Count());
}

namespace {
template <class Match> TSymbolObject* FindOwnerInChildren(TSymbolObject* parent, const Match& match) {
    for (const auto& child : parent->fSymbolObjectList)
        if (match(child.get())) return parent;
    for (const auto& child : parent->fSymbolObjectList)
        if (TSymbolObject* owner = FindOwnerInChildren(child.get(), match)) return owner;
    return nullptr;
}
} // namespace

TSymbolObject* TSymbolObject::GetOwner(int32_t handleOfObjectToFind) {
    if (fHandle == handleOfObjectToFind) return this;
    return FindOwnerInChildren(this,
                               [&](const TSymbolObject* o) { return o->fHandle == handleOfObjectToFind; });
}

TSymbolObject* TSymbolObject::GetOwner(const TSymbolObject* objectToFind) {
    if (objectToFind == this) return this;
    return FindOwnerInChildren(this, [&](const TSymbolObject* o) { return o == objectToFind; });
}

int32_t TSymbolObject::SetNewHandle(int32_t newHandle) {
    fHandle = newHandle++;
    return fSymbolObjectList.SetNewHandle(newHandle);
}

void TSymbolObject::ClearOriginalHandles() {
    fOriginalHandle = -1;
    fSymbolObjectList.ClearOriginalHandles();
}

void TSymbolObject::CopyHandleToOriginalHandles() {
    if (fSymbolObjectMainType == somSymbol) fOriginalHandle = fHandle;
    fSymbolObjectList.CopyHandleToOriginalHandles();
}

bool TSymbolObject::PointSelection(TPoint pt, const TSymbolObjectTypeSet& filter, TAppendUnique& out,
                                   double minPickDistance, bool select) {
    if (IsHidden()) return false;
    // Nothing of a subtree whose bounds lie beyond the pick distance can be hit.
    if (!BoundsNear(pt, minPickDistance)) return false;
    bool hit = false;
    fSymbolObjectList.ForEachCandidate(NearQuery(pt, minPickDistance), [&](TSymbolObject* child) {
        hit |= child->PointSelection(pt, filter, out, minPickDistance, select);
    });
    if (!hit && FilterAccepts(filter, this)) hit = HitTest(pt, minPickDistance);
    if (!hit) return false;
    out.Add(this);
    if (select) {
        if (filter.none()) {
            SelectAll();
            fIsClicked = true;
        } else if (FilterAccepts(filter, this)) {
            SelectionMade();
            fSelected = true;
            fIsClicked = true;
        }
    }
    return true;
}

bool TSymbolObject::SelectAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                                  double minPickDistance) {
    TAppendUnique out(list);
    return PointSelection(pt, filter, out, minPickDistance, true);
}

bool TSymbolObject::IsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                              double minPickDistance) {
    TAppendUnique out(list);
    return PointSelection(pt, filter, out, minPickDistance, false);
}

bool TSymbolObject::RectSelection(const TRect& rt, const TSymbolObjectTypeSet& filter, TAppendUnique& out,
                                  bool select) {
    if (IsHidden()) return false;
    const bool crossing = IsCrossingRect(rt);
    bool result;
    if (fSymbolObjectList.VisibleCount() == 0) {
        if (!FilterAccepts(filter, this)) return false;
        result = HitTestRect(rt);
    } else {
        result = crossing && HitTestRect(rt);
        if (!result) {
            TObjectRefList inside = fSymbolObjectList.CreateListObjectsInRect(rt, filter);
            if (!inside.empty()) {
                if (crossing) {
                    result = true;
                } else if (!FilterAccepts(filter, this)) {
                    result = false;
                } else {
                    // A window takes the object only when every visible child lies in it.
                    int visibleInside = 0;
                    for (TSymbolObject* o : inside)
                        if (o->CountsAsVisible()) ++visibleInside;
                    if (visibleInside >= fSymbolObjectList.VisibleCount())
                        result = (fSymbolObjectMainType == somSymbol || fSymbolObjectMainType == somPaperSize)
                                     ? true
                                     : HitTestRect(rt);
                }
            }
        }
    }
    if (!result) return false;
    out.Add(this);
    if (select) {
        if (filter.none())
            SelectAll();
        else if (FilterAccepts(filter, this)) {
            SelectionMade();
            fSelected = true;
        }
    }
    return true;
}

bool TSymbolObject::IsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter, TObjectRefList& list) {
    TAppendUnique out(list);
    return RectSelection(rt, filter, out, false);
}

bool TSymbolObject::SelectInRect(const TRect& rt, const TSymbolObjectTypeSet& filter, TObjectRefList& list) {
    TAppendUnique out(list);
    return RectSelection(rt, filter, out, true);
}

TObjectRefList TSymbolObject::CreateListObjectsNew(const TSymbolObjectTypeSet& filter) {
    TObjectRefList r;
    ForEachInSubtree([&](TSymbolObject* o) {
        if (FilterAccepts(filter, o)) r.push_back(o);
    });
    return r;
}

TObjectRefList TSymbolObject::CreateListSelectedObjectsNew(const TSymbolObjectTypeSet& filter) {
    TObjectRefList r;
    ForEachInSubtree([&](TSymbolObject* o) {
        if (o->Selected() && FilterAccepts(filter, o)) r.push_back(o);
    });
    return r;
}

TObjectRefList TSymbolObject::CreateListClickedObjectsNew(const TSymbolObjectTypeSet& filter) {
    TObjectRefList r;
    ForEachInSubtree([&](TSymbolObject* o) {
        if (o->fIsClicked && FilterAccepts(filter, o)) r.push_back(o);
    });
    return r;
}

TSymbolObject* TSymbolObject::GetSingleSelectedObject(const TSymbolObjectTypeSet& filter) {
    TObjectRefList r = CreateListSelectedObjectsNew(filter);
    return r.size() == 1 ? r.front() : nullptr;
}

TSymbolObject* TSymbolObject::GetSingleClickedObject(const TSymbolObjectTypeSet& filter) {
    TObjectRefList r = CreateListClickedObjectsNew(filter);
    return r.size() == 1 ? r.front() : nullptr;
}

int TSymbolObject::CountObjects(const TSymbolObjectTypeSet& filter) {
    return int(CreateListObjectsNew(filter).size());
}
int TSymbolObject::CountSelectedObjects(const TSymbolObjectTypeSet& filter) {
    return int(CreateListSelectedObjectsNew(filter).size());
}
int TSymbolObject::CountClickedObjects(const TSymbolObjectTypeSet& filter) {
    return int(CreateListClickedObjectsNew(filter).size());
}

void TSymbolObject::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", ClassName());
    DumpFields(w);
    w.Key("Objects");
    fSymbolObjectList.Dump(w);
    w.Key("BOMList");
    fBOMList.Dump(w);
    w.EndObject();
}

void TSymbolObject::DumpFields(TJsonWriter& w) const {
    w.Key("Extents");
    w.BeginObject();
    w.Field("C1", fExtents.C1);
    w.Field("C2", fExtents.C2);
    w.Field("Defined", fExtents.Defined);
    w.EndObject();
    w.Field("SymbolObjectSubType", SubTypeIdent(fSymbolObjectSubType));
    w.Field("SymbolObjectMainType", MainTypeIdent(fSymbolObjectMainType));
    w.Field("P1", fP1);
    w.Field("Flip", fFlip);
    w.Field("HideInOutput", fHideInOutput);
    w.Field("Hide", fHide);
    w.Field("ObjectRotation", fObjectRotation);
    w.Field("Scale", fScale);
    w.Field("Handle", fHandle);
    w.Field("OriginalHandle", fOriginalHandle);
    w.Field("Selected", fSelected);
    w.Field("IsClicked", fIsClicked);
    w.Field("Fill", fFill);
    w.Field("Alternate", fAlternate);
    w.Field("SymLineType", LineTypeIdent(fSymLineType));
    w.Field("SymLineStyle", LineStyleIdent(fSymLineStyle));
    w.Key("TemporaryHidden");
    w.BeginArray();
    if (fTemporaryHidden & temphiddenAll) w.String("temphiddenAll");
    if (fTemporaryHidden & temphiddenText) w.String("temphiddenText");
    w.EndArray();
    w.Key("InMainSymbol");
    w.BeginArray();
    if (fInMainSymbol & usedInMainSymbol) w.String("usedInMainSymbol");
    if (fInMainSymbol & usedInSchematicMainSymbol) w.String("usedInSchematicMainSymbol");
    w.EndArray();
    w.Field("LayerName", fLayerName);
    w.Field("ColorIsOverruled", fColorIsOverruled);
    w.ColorField("OverruledColor", fOverruledColor);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectBOMOnly

bool TSymbolObjectBOMOnly::LoadCommonKey(TRecordReader& reader, const std::string& key,
                                         const std::string& value) {
    bool r = TSymbolObject::LoadCommonKey(reader, key, value);
    fSymbolObjectSubType = soBOMOnly;
    return r;
}

void TSymbolObjectBOMOnly::SelectAll() {
    ClearSelection();
}
