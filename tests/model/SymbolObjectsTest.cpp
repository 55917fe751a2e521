#include <gtest/gtest.h>

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "model/KeyValues.h"
#include "model/SymbolObjects.h"

namespace {

// Reads the body of a record into a new object of the given kind.
std::unique_ptr<TSymbolObject> ReadObject(TSymbolObjectMainType type, const std::string& body) {
    auto obj = CreateSymbolObject(type);
    TRecordReader r(body + "End.\r\n", TRecordVariant::UniCode);
    obj->LoadFromReader(r);
    return obj;
}

TEST(SymbolObject, KindsCarryTheirDefaults) {
    struct Case {
        TSymbolObjectMainType type;
        const char* cls;
        TSymbolObjectType sub;
        TSymLineType line;
        const char* layer;
    };
    const Case cases[] = {
        {somText, "TSymbolObjectText", soText, symlinetypeText, "Text"},
        {somOrifice, "TSymbolObjectOrifice", soOrifice, symlinetypeOrifice, "-- None --"},
        {somConnectionNode, "TSymbolObjectConnectionNode", soConnectionNode, symlinetypeConnectionLine,
         "-- None --"},
        {somLeader, "TSymbolObjectLeader", soleader, symlinetypeLeader, "Item number"},
        {somRevisionTriangle, "TSymbolObjectRevTriangle", soRevisionTriangle, symlinetypeLine,
         "Revision triangle"},
        {somIPort, "TSymbolObjectIPort", soIPort, symlinetypePort, "Port"},
        {somSignalConverter, "TSymbolObjectSignalConverter", soSignalConverter, symlinetypeSolenoid,
         "-- None --"},
        {somPolyLine, "TSymbolObjectPolyLine", soPolyLine, symlinetypeSymbol, "-- None --"},
    };
    for (const auto& c : cases) {
        auto o = CreateSymbolObject(c.type);
        EXPECT_STREQ(o->ClassName(), c.cls);
        EXPECT_EQ(o->fSymbolObjectSubType, c.sub) << c.cls;
        EXPECT_EQ(o->fSymLineType, c.line) << c.cls;
        EXPECT_EQ(o->fLayerName, c.layer) << c.cls;
        EXPECT_EQ(o->fHandle, -1);
        EXPECT_DOUBLE_EQ(o->fScale, 1);
        EXPECT_EQ(o->fOverruledColor, 255u);
    }
    // Every keyword of the table opens its own kind.
    for (int i = 1; i < SymbolObjectMainTypeCount; ++i) {
        auto mt = TSymbolObjectMainType(i);
        TSymbolObjectMainType found;
        ASSERT_TRUE(MainTypeOfKeyword(UpperAscii(MainTypeInfo(mt).Keyword) + ":", found));
        EXPECT_EQ(found, mt);
        EXPECT_EQ(CreateSymbolObject(mt)->fSymbolObjectMainType, mt);
    }
}

TEST(SymbolObject, CommonKeys) {
    auto o = ReadObject(som2Point,
                        "  Handle=12\r\n  OriginalHandle=3\r\n  LineType=Pilot\r\n  SymbolType=Spring\r\n"
                        "  Point1X=-5\r\n  Point1Y=bad\r\n  Fill=Yes\r\n  Flip=yes\r\n  ObjectRotation=90\r\n"
                        "  Scale=abc\r\n  Hide=No\r\n  LayerName=Mine\r\n  ColorIsOverruled=Yes\r\n"
                        "  OverruledColor=red\r\n  Unknown=1\r\n");
    EXPECT_EQ(o->fHandle, 12);
    EXPECT_EQ(o->fOriginalHandle, 3);
    EXPECT_EQ(o->fSymLineType, symlinetypePilot);
    EXPECT_EQ(o->ActualLineType(), symlinestyleDashed);
    EXPECT_EQ(o->fSymbolObjectSubType, soSpring);
    EXPECT_EQ(o->fP1, TPoint(-5, 0));
    EXPECT_TRUE(o->fFill);
    EXPECT_TRUE(o->fFlip);
    EXPECT_DOUBLE_EQ(o->fObjectRotation, 90);
    EXPECT_DOUBLE_EQ(o->fScale, 1);
    EXPECT_EQ(o->fLayerName, "Mine");
    EXPECT_TRUE(o->fColorIsOverruled);
    EXPECT_EQ(o->fOverruledColor, 255u);
}

TEST(SymbolObject, NameFallbacks) {
    EXPECT_EQ(ReadObject(som2Point, "  LineType=None\r\n")->fSymLineType, symlinetypeSymbol);
    EXPECT_EQ(ReadObject(som2Point, "  LineType=Nonsense\r\n")->fSymLineType, symlinetypeSymbol);
    EXPECT_EQ(ReadObject(som2Point, "  LineStyle=Wavy\r\n")->fSymLineStyle, symlinestyleDefault);
    EXPECT_EQ(ReadObject(som2Point, "  SymbolType=Wobble\r\n")->fSymbolObjectSubType, soNone);
    EXPECT_EQ(ReadObject(som2Point, "  SymbolType=symbol objects\r\n")->fSymbolObjectSubType, soSchematic);
    EXPECT_EQ(ReadObject(somBOMOnly, "  SymbolType=Circle\r\n")->fSymbolObjectSubType, soBOMOnly);
    auto drain = ReadObject(som2Point, "  LineType=Drain\r\n  LineStyle=Solid\r\n");
    EXPECT_EQ(drain->ActualLineType(), symlinestyleSolid);
    EXPECT_EQ(ReadObject(som2Point, "  LineType=Drain\r\n")->ActualLineType(), symlinestyleHidden);
}

TEST(SymbolObject, AbsurdScaleAndRotationTakeDefaults) {
    EXPECT_DOUBLE_EQ(ReadObject(som2Point, "  Scale=1e300\r\n")->fScale, 1);
    EXPECT_DOUBLE_EQ(ReadObject(som2Point, "  Scale=nan\r\n")->fScale, 1);
    EXPECT_DOUBLE_EQ(ReadObject(som2Point, "  ObjectRotation=1e200\r\n")->fObjectRotation, 0);
    EXPECT_DOUBLE_EQ(ReadObject(som2Point, "  Scale=2.5\r\n")->fScale, 2.5);
}

TEST(SymbolObject, UnknownNestedRecordIsReadIntoItsParent) {
    // The lines of an unknown record belong to the enclosing one, and its "End." closes it.
    auto o = ReadObject(somSymbol, "  Handle=1\r\n  Mystery:\r\n    Handle=7\r\n  End.\r\n  Handle=9\r\n");
    EXPECT_EQ(o->fHandle, 7);
}

class HandleTest : public ::testing::Test {
protected:
    std::unique_ptr<TSymbolObject> root = ReadObject(
        somSymbol,
        "  Handle=-1\r\n"
        "  Symbol:\r\n    Handle=1\r\n    2PointSymbol:\r\n      Handle=2\r\n    End.\r\n"
        "    Symbol:\r\n      Handle=3\r\n      Text:\r\n        Handle=41\r\n      End.\r\n    End.\r\n  "
        "End.\r\n"
        "  BOMOnlySymbol:\r\n    Handle=5\r\n    Bom:\r\n      ArticleCode=x\r\n      End.\r\n    EndBom.\r\n"
        "    1PointSymbol:\r\n      Handle=6\r\n    End.\r\n  End.\r\n");
    TSymbolObjectList& list = root->fSymbolObjectList;
};

TEST_F(HandleTest, SearchesByHandle) {
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.IndexOf(5), 1);
    EXPECT_EQ(list.IndexOf(41), -1);
    EXPECT_EQ(list.Find(41)->fHandle, 41);
    EXPECT_EQ(list.Find(6), nullptr); // a BOM-only object does not search its children
    EXPECT_EQ(list.Find(99), nullptr);
    EXPECT_EQ(root->GetOwner(41)->fHandle, 3);
    EXPECT_EQ(root->GetOwner(2)->fHandle, 1);
    EXPECT_EQ(root->GetOwner(1), root.get());
    EXPECT_EQ(list.IndexOfSymbol(2), 0);
    EXPECT_EQ(list.IndexOfSymbolNew(6), nullptr);
    EXPECT_EQ(list.IndexOfSymbolNew2(6)->fHandle, 5);
    EXPECT_EQ(list.GetNextFreeHandle(), 42);
    EXPECT_EQ(TSymbolObjectList().GetNextFreeHandle(), 0);
    EXPECT_EQ(list.SymbolObjects(1)->fBOMList.Count(), 1);
}

TEST_F(HandleTest, RenumberingIsDepthFirst) {
    EXPECT_EQ(list.SetNewHandle(100), 106);
    EXPECT_EQ(list.SymbolObjects(0)->fHandle, 100);
    EXPECT_EQ(list.Find(103)->fSymbolObjectMainType, somText);
    EXPECT_EQ(list.SymbolObjects(1)->fHandle, 104);
}

TEST_F(HandleTest, CollectingWithFilters) {
    EXPECT_EQ(list.CreateListObjectsNew({}).size(), 6u);
    EXPECT_TRUE(list.CreateList({}).empty());
    EXPECT_EQ(list.CreateList(TypeSet({soSymbol})).size(), 1u);
    EXPECT_EQ(list.CountObjects(TypeSet({soSymbol})), 2);
    EXPECT_EQ(list.CreateListObjectsNewNoRecursive(MainTypeBit(somBOMOnly)).size(), 1u);
    EXPECT_EQ(list.CreateListObjectsNewNoRecursive(TMainTypeMask(0)).size(), 2u);
}

TEST_F(HandleTest, BomOnlyObjectsAreNeverSelected) {
    list.SelectAll();
    EXPECT_TRUE(list.SymbolObjects(0)->Selected());
    EXPECT_TRUE(list.Find(41)->Selected());
    EXPECT_FALSE(list.SymbolObjects(1)->Selected());
    EXPECT_EQ(list.CountSelectedObjects({}), 4);
    list.ClearSelection();
    EXPECT_FALSE(list.HasSelection());
}

// A shape that is hit within a square around its point.
class TProbe : public TSymbolObject {
public:
    explicit TProbe(TPoint p) : TSymbolObject(som1Point) { fP1 = p; }
    bool HitTest(TPoint pt, double d) const override {
        return std::abs(double(pt.X) - fP1.X) <= d && std::abs(double(pt.Y) - fP1.Y) <= d;
    }
    TExtentsRect Extents(TExtentsRect current) const override {
        ExtentsAddPoint(fP1, current);
        return TSymbolObject::Extents(current);
    }
    bool HitTestRect(const TRect& rt) const override {
        auto lo = [](int a, int b) { return std::min(a, b); };
        auto hi = [](int a, int b) { return std::max(a, b); };
        return fP1.X >= lo(rt.P1.X, rt.P2.X) && fP1.X <= hi(rt.P1.X, rt.P2.X) &&
               fP1.Y >= lo(rt.P1.Y, rt.P2.Y) && fP1.Y <= hi(rt.P1.Y, rt.P2.Y);
    }
};

TSymbolObject* AddComponent(TSymbolObjectList& list, std::initializer_list<TPoint> points) {
    TSymbolObject* c = list.Add(somSymbol);
    for (TPoint p : points)
        c->fSymbolObjectList.Append(std::make_unique<TProbe>(p));
    return c;
}

TEST(Selection, ClickSelectsTheWholeComponent) {
    TSymbolObjectList list;
    TSymbolObject* a = AddComponent(list, {{0, 0}, {100, 0}});
    TSymbolObject* b = AddComponent(list, {{100, 2}});
    TSymbolObject* hidden = AddComponent(list, {{100, 0}});
    hidden->fHide = true;

    TObjectRefList hits = list.CreateListAndSelectObjectsAtPoint({101, 1}, {}, 4);
    // Both overlapping components are hit, each with the shape that was hit.
    EXPECT_EQ(hits.size(), 4u);
    EXPECT_TRUE(a->Selected());
    EXPECT_TRUE(a->fSymbolObjectList.SymbolObjects(0)->Selected()); // not hit, selected with its component
    EXPECT_TRUE(a->fIsClicked);
    EXPECT_TRUE(b->Selected());
    EXPECT_FALSE(hidden->Selected());
    EXPECT_EQ(list.CountClickedObjects({}), 4);

    list.ClearSelection();
    EXPECT_FALSE(list.SelectObjectsAtPoint({50, 50}, {}, 4));
    EXPECT_FALSE(list.HasSelection());
}

TEST(Selection, AskingWhatIsAtAPointSelectsNothing) {
    TSymbolObjectList list;
    AddComponent(list, {{0, 0}, {100, 0}});
    AddComponent(list, {{100, 2}});
    const TSymbolObjectList& view = list;
    // The same objects as the selecting click finds, and not one flag changed.
    EXPECT_EQ(view.CreateListObjectsAtPoint({101, 1}, {}, 4).size(), 4u);
    EXPECT_FALSE(list.HasSelection());
    EXPECT_EQ(list.CountClickedObjects({}), 0);
    EXPECT_EQ(list.CreateListAndSelectObjectsAtPoint({101, 1}, {}, 4),
              view.CreateListObjectsAtPoint({101, 1}, {}, 4));
}

TEST(Selection, FilterSelectsOnlyAcceptedObjects) {
    TSymbolObjectList list;
    TSymbolObject* a = AddComponent(list, {{0, 0}});
    // The component is reported as hit through its shape, but only the shape is of an accepted
    // kind, so only the shape is selected.
    TObjectRefList hits = list.CreateListAndSelectObjectsAtPoint({0, 0}, TypeSet({soNone}), 4);
    EXPECT_EQ(hits.size(), 2u);
    EXPECT_FALSE(a->Selected());
    EXPECT_TRUE(a->fSymbolObjectList.SymbolObjects(0)->Selected());
    // A filter that accepts only the component finds nothing: it has no geometry of its own.
    list.ClearSelection();
    EXPECT_FALSE(list.SelectObjectsAtPoint({0, 0}, TypeSet({soSymbol}), 4));
}

TEST(Selection, ObjectsAlreadyListedAreNotListedTwice) {
    // Short lists are searched, long ones looked up; either way a hit object the caller's list
    // already holds stays once, in its place, and the new hits follow in walk order.
    for (size_t before : {0u, 3u, 40u}) {
        SCOPED_TRACE(before);
        TSymbolObjectList list;
        TSymbolObject* hit = AddComponent(list, {{0, 0}});
        TSymbolObject* shape = hit->fSymbolObjectList.SymbolObjects(0);
        TSymbolObjectList others;
        TObjectRefList result;
        for (size_t i = 0; i < before; ++i)
            result.push_back(AddComponent(others, {{1000, 1000}}));
        if (before > 0) result.insert(result.begin() + std::ptrdiff_t(before / 2), hit);
        TObjectRefList expected = result;
        if (before == 0) expected.push_back(hit);
        expected.insert(expected.end() - (before == 0 ? 1 : 0), shape);
        ASSERT_TRUE(list.GetObjectsAtPoint({0, 0}, {}, result, 2));
        EXPECT_EQ(result, expected);
    }
}

TEST(Selection, WindowAndCrossingRectangles) {
    TSymbolObjectList list;
    TSymbolObject* a = AddComponent(list, {{0, 0}, {10, 10}});
    TRect window({-1, -1}, {5, 5}), bigWindow({-1, -1}, {20, 20}), crossing({5, -1}, {-1, 5});
    EXPECT_TRUE(list.CreateListObjectsInRect(window, {}).empty());
    EXPECT_EQ(list.CreateListObjectsInRect(bigWindow, {}).front(), a);
    EXPECT_EQ(list.CreateListObjectsInRect(crossing, {}).front(), a);
    EXPECT_EQ(list.CountAndSelectObjectsInRect(bigWindow, {}), 1);
    EXPECT_TRUE(a->fSymbolObjectList.SymbolObjects(1)->Selected());
}

} // namespace
