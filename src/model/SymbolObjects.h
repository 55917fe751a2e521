#pragma once
// The base of every drawing object and the list that owns a drawing's objects.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/Points.h"
#include "model/AttributeTags.h"
#include "model/BOM.h"
#include "model/ItemNumberLayouts.h"
#include "model/SpatialIndex.h"
#include "model/SymbolObjectTypes.h"

class TRecordReader;
class TJsonWriter;
class TSymbolObject;
class TSymbolCanvas;
class TTextStyleList;
class TSymGroups;

// Counts the changes that may move geometry in one drawing tree: cached subtree bounds stay valid
// while the count they were made at is current. The document owns the clock of its tree.
struct TGeometryClock {
    uint64_t Generation = 1;
    // Objects added to or removed from lists of the tree; a record of object addresses stays
    // good while this holds.
    uint64_t Structure = 1;
    // Selections made in the tree by its operations (SelectAll, selecting at a point or in a
    // rectangle).
    uint64_t Selections = 1;
};

// Non-owning list of objects, as the selection and collection operations return them.
using TObjectRefList = std::vector<TSymbolObject*>;

class TSymbolObjectList {
public:
    TSymbolObjectList();
    ~TSymbolObjectList();
    TSymbolObjectList(const TSymbolObjectList&) = delete;
    TSymbolObjectList& operator=(const TSymbolObjectList&) = delete;

    int Count() const { return int(fSymbolObjectList.size()); }
    TSymbolObject* SymbolObjects(int index) const { return fSymbolObjectList[size_t(index)].get(); }
    auto begin() const { return fSymbolObjectList.begin(); }
    auto end() const { return fSymbolObjectList.end(); }

    // Creates an object of the class of the main type (with its defaults) and appends it.
    TSymbolObject* Add(TSymbolObjectMainType mainType);
    TSymbolObject* Append(std::unique_ptr<TSymbolObject> obj);
    void Clear();
    void Delete(int index);
    void Delete(const TSymbolObject* obj); // the object with the same handle
    // The clock of the tree the list belongs to, handed on to every object in it.
    void SetGeometryClock(TGeometryClock* clock);

    // Searches by handle.
    int IndexOf(int32_t handle) const;
    TSymbolObject* IndexOfNew(int32_t handle) const;
    TSymbolObject* Find(int32_t handle) const;
    int IndexOfSymbol(int32_t handleOfObjectInSymbol) const;
    TSymbolObject* IndexOfSymbolNew(int32_t handleOfObjectInSymbol) const;
    TSymbolObject* IndexOfSymbolNew2(int32_t handleOfObjectInSymbol) const;
    int32_t GetNextFreeHandle() const;
    int32_t SetNewHandle(int32_t newHandle);

    TExtentsRect Extents(TExtentsRect current) const;
    void ResetExtents();

    // Selection.
    void ClearSelection();
    void SelectAll();
    int SelCount() const;
    bool SomethingSelected() const;
    bool HasSelection() const;
    TSymbolObject* GetFirstSelected() const;
    int VisibleCount() const;

    bool SelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, double minPickDistance);
    // HitChildren, when given, receives the objects of this list that were hit, in list order:
    // their subtrees hold everything the walk selected.
    bool GetAndSelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                                    double minPickDistance, TObjectRefList* hitChildren = nullptr);
    TObjectRefList CreateListAndSelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter,
                                                     double minPickDistance);
    int CountAndSelectObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, double minPickDistance);
    bool GetObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                           double minPickDistance) const;
    TObjectRefList CreateListObjectsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter,
                                            double minPickDistance) const;
    bool SelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter);
    bool GetAndSelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter, TObjectRefList& list);
    TObjectRefList CreateListAndSelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter);
    int CountAndSelectObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter);
    bool GetObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter, TObjectRefList& list) const;
    TObjectRefList CreateListObjectsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter) const;

    // Collecting.
    TObjectRefList CreateListObjectsNew(const TSymbolObjectTypeSet& filter) const;
    TObjectRefList CreateListSelectedObjectsNew(const TSymbolObjectTypeSet& filter) const;
    TObjectRefList CreateListClickedObjectsNew(const TSymbolObjectTypeSet& filter) const;
    TObjectRefList CreateListObjectsNewNoRecursive(const TSymbolObjectTypeSet& filter) const;
    TObjectRefList CreateListObjectsNewNoRecursive(TMainTypeMask mask) const;
    TObjectRefList CreateListSelectedObjectsNewNoRecursive(TMainTypeMask mask) const;
    int CountSelectedObjectsNewNoRecursive(TMainTypeMask mask) const;
    TObjectRefList CreateList(const TSymbolObjectTypeSet& filter) const;
    int ObjectCount(const TSymbolObjectTypeSet& filter) const;
    int CountObjects(const TSymbolObjectTypeSet& filter) const;
    int CountSelectedObjects(const TSymbolObjectTypeSet& filter) const;
    int CountClickedObjects(const TSymbolObjectTypeSet& filter) const;
    std::vector<int> GetObjects(const TSymbolObjectTypeSet& filter) const;
    std::vector<int> GetSelectedObjects(const TSymbolObjectTypeSet& filter) const;
    std::vector<int> GetClickedObjects(const TSymbolObjectTypeSet& filter) const;

    void SetTemporaryHidden(uint8_t value);
    void ClearOriginalHandles();
    void CopyHandleToOriginalHandles();
    void UpdateGroupColors(const TSymGroups& groups);
    void ReplaceTextHeights(const TTextStyleList& styles);
    void UpdateItemLayout(const TItemNumberLayoutSet& layouts);
    // The last attribute object of this list that is the special attribute, or none; and its value
    // (empty without one).
    TSymbolObject* GetAttributeObject(TSpecialAttribute tag) const;
    std::string GetAttributeValue(TSpecialAttribute tag) const;

    // PrepareDraw of every object, then DrawSymbol of every object with clipping on.
    void Draw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles);
    void DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles);

    void Dump(TJsonWriter& w) const;

    // Lists of at least this many objects in a drawing tree keep a spatial index of their
    // children's subtree bounds, so paints and clicks visit what is near, not everything.
    static constexpr int IndexedCount = 64;
    // Appends the positions, in list order, of the children whose cached subtree bounds meet the
    // query (and of those that may draw anywhere); a superset of the children a bounds test would
    // keep. False, with nothing appended, when the list keeps no index: every child is then a
    // candidate.
    bool CandidatesMeeting(const TSpatialIndex::TQuery& q, std::vector<int32_t>& out) const;
    // Builds the index anew when the geometry changed since it was built; whether the list
    // keeps one.
    bool RefreshIndex() const;
    // Whether the children were prepared for drawing with these inputs and nothing that may
    // change their measures happened since; MarkPrepared records a finished preparation.
    bool IsPrepared(const TTextStyleList* styles, char decimalSeparator) const;
    void MarkPrepared(const TTextStyleList* styles, char decimalSeparator) const;
    // Calls F with each child that may meet the query, in list order: those the index finds, or
    // every child of a list without one.
    // Whether Pred holds for some child that may meet the query; stops at the first.
    template <class P> bool AnyCandidate(const TSpatialIndex::TQuery& q, P&& pred) const {
        std::vector<int32_t> candidates;
        if (CandidatesMeeting(q, candidates)) {
            for (int32_t i : candidates)
                if (pred(fSymbolObjectList[size_t(i)].get())) return true;
            return false;
        }
        for (const auto& o : fSymbolObjectList)
            if (pred(o.get())) return true;
        return false;
    }
    template <class F> void ForEachCandidate(const TSpatialIndex::TQuery& q, F&& f) const {
        std::vector<int32_t> candidates;
        if (CandidatesMeeting(q, candidates)) {
            for (int32_t i : candidates)
                f(fSymbolObjectList[size_t(i)].get());
        } else {
            for (const auto& o : fSymbolObjectList)
                f(o.get());
        }
    }

private:
    void GeometryChanged() const;
    void StructureChanged() const;

    std::vector<std::unique_ptr<TSymbolObject>> fSymbolObjectList;
    TGeometryClock* fClock = nullptr;
    // What large lists remember between paints; none for small ones.
    struct TListCache {
        uint64_t IndexGeneration = 0; // 0: no index built
        TSpatialIndex Index;
        uint64_t PreparedGeneration = 0; // 0: not prepared
        const TTextStyleList* PreparedStyles = nullptr;
        char PreparedSeparator = 0;
    };
    mutable std::unique_ptr<TListCache> fCache;
};

class TSymbolObject {
public:
    explicit TSymbolObject(TSymbolObjectMainType mainType);
    virtual ~TSymbolObject();
    TSymbolObject(const TSymbolObject&) = delete;
    TSymbolObject& operator=(const TSymbolObject&) = delete;

    virtual const char* ClassName() const { return "TSymbolObject"; }

    // --- fields (persistent values first, then working state) ---
    TSymbolExtents fExtents;
    TSymbolObjectType fSymbolObjectSubType;
    TSymbolObjectMainType fSymbolObjectMainType;
    TPoint fP1;
    bool fFlip = false;
    bool fHideInOutput = false;
    bool fHide = false;
    double fObjectRotation = 0;
    double fScale = 1;
    int32_t fHandle = -1;
    int32_t fOriginalHandle = -1;
    bool fSelected = false;
    bool fIsClicked = false;
    bool fFill = false;
    bool fAlternate = false;
    TSymLineType fSymLineType;
    TSymLineStyle fSymLineStyle = symlinestyleDefault;
    TSymbolObjectList fSymbolObjectList;
    TBOMList fBOMList;
    uint8_t fTemporaryHidden = 0; // set of TTemporaryHidden
    uint8_t fInMainSymbol = 0;    // set of TUsedIn
    std::string fLayerName;
    bool fColorIsOverruled = false;
    TColor fOverruledColor = 255;

    // --- virtual operations ---
    virtual bool HitTest(TPoint pt, double minPickDistance) const;
    virtual bool HitTestRect(const TRect& rt) const;
    virtual bool GetSelected() const { return fSelected; }
    virtual int32_t HighestHandle(int32_t current) const;
    virtual bool LoadCommonKey(TRecordReader& reader, const std::string& key, const std::string& value);
    virtual void FindByHandle(int32_t handle, TSymbolObject*& found);
    virtual void SetDefaults();
    virtual TExtentsRect Extents(TExtentsRect current) const;
    virtual void SelectAll();
    virtual void ClearSelection();
    // Refreshes the group records of every object with groups from the table.
    virtual void UpdateGroupColors(const TSymGroups& groups);
    // Text-bearing objects take the default height of their text style; passes to the children.
    virtual void ReplaceTextHeights(const TTextStyleList& styles);
    // Item numbers and leaders copy the document's layout of their type; passes to the children.
    virtual void UpdateItemLayout(const TItemNumberLayoutSet& layouts);
    // Which special attribute the object shows: saNone for everything but attribute objects.
    virtual TSpecialAttribute AttributeKind() const { return saNone; }
    // The value an attribute object holds; empty for other objects.
    virtual std::string AttributeValue() const { return {}; }
    // Draws the children and, in classes with geometry, the object itself; false when the
    // object is hidden or lies outside the visible area (with clip set).
    virtual bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                            const TTextStyleList* styles);
    // Work before drawing, such as measuring texts; recurses into the children.
    virtual void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles);
    virtual void DrawSelection(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles);

    // Class-specific keys of the record; false when the key is not the class's.
    virtual bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value);
    // Upper-case terminator of the class's record.
    virtual std::string_view Terminator() const { return "END."; }
    // Runs once the record has been read.
    virtual void AfterLoad() {}
    // Whether FindByHandle and GetOwner look into the children.
    virtual bool SearchesChildren() const { return false; }
    // Whether the object counts in its list's VisibleCount.
    virtual bool CountsAsVisible() const { return !IsHidden(); }

    bool Draw(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip, const TTextStyleList* styles);
    // The object pen rule: pen and clear brush for the object's line type, style and mode.
    void SetDrawColors(TSymbolCanvas& canvas, TSymbolDrawMode mode) const;
    void SetBrushStyle(TSymbolCanvas& canvas, bool solid, TSymbolDrawMode mode) const;
    // Whether some of the object's geometry touches the rectangle: the crossing-rectangle test
    // with an empty filter, answered without building the list of objects. Subtrees whose
    // bounds lie clear of the rectangle are passed over without visiting them.
    bool MeetsCrossingRect(const TRect& rt) const;
    // Declares that geometry may have moved, so cached subtree bounds in the tree are computed
    // anew. Loading, the connectivity update, measuring texts, resetting extents and hiding call it.
    void GeometryChanged() const;
    // Counts a selection made in the tree.
    void SelectionMade() const;
    // Joins the object and its subtree to the clock of a drawing tree. Without one, bounds are
    // computed on every use.
    void SetGeometryClock(TGeometryClock* clock);

    // Reads the object's record (both text variants); the keyword line has been consumed.
    void LoadFromReader(TRecordReader& reader);

    // --- properties and non-virtual operations ---
    bool Selected() const { return GetSelected(); }
    TSymLineStyle ActualLineType() const;
    bool IsHidden() const { return fHide || (fTemporaryHidden & temphiddenAll); }
    bool IsHiddenInOutput() const { return fHideInOutput || IsHidden(); }
    void SetTemporaryHidden(uint8_t value);
    void ResetExtents();
    bool HasSelection() const;
    bool InMainSymbol() const { return fInMainSymbol & usedInMainSymbol; }
    int ItemNumberCount() const;
    TSymbolObject* GetLeader();
    // GetAttributeObject of the child list.
    TSymbolObject* GetAttribute(TSpecialAttribute tag) const {
        return fSymbolObjectList.GetAttributeObject(tag);
    }
    std::string ToString() const;

    TSymbolObject* GetOwner(int32_t handleOfObjectToFind);
    TSymbolObject* GetOwner(const TSymbolObject* objectToFind);
    int32_t SetNewHandle(int32_t newHandle);
    void ClearOriginalHandles();
    void CopyHandleToOriginalHandles();

    bool SelectAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                       double minPickDistance);
    bool IsAtPoint(TPoint pt, const TSymbolObjectTypeSet& filter, TObjectRefList& list,
                   double minPickDistance);
    bool IsInRect(const TRect& rt, const TSymbolObjectTypeSet& filter, TObjectRefList& list);
    bool SelectInRect(const TRect& rt, const TSymbolObjectTypeSet& filter, TObjectRefList& list);

    TObjectRefList CreateListObjectsNew(const TSymbolObjectTypeSet& filter);
    TObjectRefList CreateListSelectedObjectsNew(const TSymbolObjectTypeSet& filter);
    TObjectRefList CreateListClickedObjectsNew(const TSymbolObjectTypeSet& filter);
    TSymbolObject* GetSingleSelectedObject(const TSymbolObjectTypeSet& filter);
    TSymbolObject* GetSingleClickedObject(const TSymbolObjectTypeSet& filter);
    int CountObjects(const TSymbolObjectTypeSet& filter);
    int CountSelectedObjects(const TSymbolObjectTypeSet& filter);
    int CountClickedObjects(const TSymbolObjectTypeSet& filter);

    // The object as a JSON object: "Class", every field, "Objects" and "BOMList".
    void Dump(TJsonWriter& w) const;

    // How the collection walks visit the subtree; the callback decides on inclusion.
    template <class F> void ForEachInSubtree(F&& f) {
        f(this);
        for (const auto& child : fSymbolObjectList)
            child->ForEachInSubtree(f);
    }
    template <class F> void ForEachInSubtree(F&& f) const {
        f(static_cast<const TSymbolObject*>(this));
        for (const auto& child : fSymbolObjectList)
            static_cast<const TSymbolObject&>(*child).ForEachInSubtree(f);
    }

protected:
    // Fields of the class after those of its bases, in declaration order.
    virtual void DumpFields(TJsonWriter& w) const;

private:
    friend class TSymbolObjectList;
    // Bounds of the object's subtree for culling, valid while fCullGeneration is current.
    mutable TExtentsRect fCullBounds;
    mutable uint64_t fCullGeneration = 0;
    TGeometryClock* fClock = nullptr;
    const TExtentsRect& CullBounds() const;
    // Adds the subtree's remembered bounds to Current when they are the same as its extents;
    // false, with nothing added, when they are not known that way.
    bool AddRememberedExtents(TExtentsRect& current) const;
    // What an index query must return to keep every child a bounds test on the rectangle, or on
    // the point with the distance, would keep.
    static TSpatialIndex::TQuery AreaQuery(const TRect& rt);
    static TSpatialIndex::TQuery NearQuery(TPoint pt, double distance);
    // Draws the object as one pixel when all of it lies within a device pixel; false, with
    // nothing drawn, when it is larger.
    bool DrawnAsDot(TSymbolCanvas& canvas, TSymbolDrawMode mode);
    // Whether the point lies within the distance of the subtree's cached bounds.
    bool BoundsNear(TPoint pt, double distance) const;

    // Appends to a list that may already hold objects. A walk visits each object once, so only
    // the entries from before the walk can repeat one; on long lists they are looked up in a set.
    struct TAppendUnique {
        explicit TAppendUnique(TObjectRefList& list) : List(list), Known(list.size()) {}
        void Add(TSymbolObject* obj);
        TObjectRefList& List;
        const size_t Known;
        std::unordered_set<const TSymbolObject*> Prior;
    };
    bool PointSelection(TPoint pt, const TSymbolObjectTypeSet& filter, TAppendUnique& out,
                        double minPickDistance, bool select);
    bool RectSelection(const TRect& rt, const TSymbolObjectTypeSet& filter, TAppendUnique& out, bool select);
};

// An object that carries bill-of-materials records and children but no geometry; it can
// never be selected.
class TSymbolObjectBOMOnly : public TSymbolObject {
public:
    TSymbolObjectBOMOnly() : TSymbolObject(somBOMOnly) {}
    const char* ClassName() const override { return "TSymbolObjectBOMOnly"; }
    bool LoadCommonKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void SelectAll() override;
};

// Creates an object of the class that belongs to the main type; the one keyword table.
std::unique_ptr<TSymbolObject> CreateSymbolObject(TSymbolObjectMainType mainType);
// Main type of a nested-record keyword (upper case with its colon); false when unknown.
bool MainTypeOfKeyword(std::string_view upperKeyword, TSymbolObjectMainType& mainType);

bool FilterAccepts(const TSymbolObjectTypeSet& filter, const TSymbolObject* obj);
