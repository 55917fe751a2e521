#include <gtest/gtest.h>

#include "support/Records.h"

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "objects/ShapeObjects.h"
#include "objects/TextObjects.h"
#include "render/PointUtils.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <memory>

namespace {

std::string Line(int x1, int y1, int x2, int y2) {
    return "2PointSymbol:\r\n  SymbolType=Line\r\n  Point1X=" + std::to_string(x1) +
           "\r\n  Point1Y=" + std::to_string(y1) + "\r\n  Point2X=" + std::to_string(x2) +
           "\r\n  Point2Y=" + std::to_string(y2) + "\r\nEnd.\r\n";
}

int LineCalls(const TRecordingSurface& s) {
    int n = 0;
    for (const auto& c : s.Calls())
        n += c.rfind("LineTo", 0) == 0;
    return n;
}

TEST(Culling, OnlyWhatMeetsTheViewIsDrawn) {
    // Three components: inside the view, crossing its edge, far outside it.
    auto root = ReadSymbol("Symbol:\r\n" + Line(10, 10, 90, 10) + "End.\r\n" + "Symbol:\r\n" +
                           Line(-500, 50, 50, 50) + "End.\r\n" + "Symbol:\r\n" +
                           Line(5000, 5000, 5100, 5000) + "End.\r\n");
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {100, 100};
    root->Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 2);

    // Moving the view onto the far component draws it alone.
    surface.ClearCalls();
    canvas.fStart = {-5000, 4950};
    root->Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 1);
}

TEST(Culling, ResettingExtentsRefreshesTheBounds) {
    auto root = ReadSymbol("Symbol:\r\n" + Line(5000, 5000, 5100, 5000) + "End.\r\n");
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {100, 100};
    root->Draw(canvas, sdmNormal, true, nullptr);
    ASSERT_EQ(LineCalls(surface), 0);
    // The line moves into the view; once its extents are reset the cached bounds follow it.
    auto* line = static_cast<TSymbolObject2Point*>(
        root->fSymbolObjectList.SymbolObjects(0)->fSymbolObjectList.SymbolObjects(0));
    line->fP1 = {10, 10};
    line->fP2 = {90, 10};
    root->ResetExtents();
    surface.ClearCalls();
    root->Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 1);
}

TEST(Culling, EachDocumentsBoundsFollowItsOwnChanges) {
    // Two open drawings: a change in one must renew the cached bounds of that one, whatever
    // happens to the other meanwhile.
    const std::string text = "SYMBOL:\r\nSymbol:\r\n" + Line(5000, 5000, 5100, 5000) + "End.\r\nEnd.\r\n";
    TSymbolFile first, second;
    ASSERT_TRUE(first.LoadFromString(text, "first"));
    ASSERT_TRUE(second.LoadFromString(text, "second"));
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {100, 100};
    for (TSymbolFile* doc : {&first, &second}) {
        doc->Symbol().Draw(canvas, sdmNormal, true, nullptr);
        ASSERT_EQ(LineCalls(surface), 0);
    }
    auto* line = static_cast<TSymbolObject2Point*>(
        first.Symbol().fSymbolObjectList.SymbolObjects(0)->fSymbolObjectList.SymbolObjects(0));
    line->fP1 = {10, 10};
    line->fP2 = {90, 10};
    first.Symbol().ResetExtents();
    second.Symbol().Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 0);
    first.Symbol().Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 1);
}

TEST(Culling, MeasuredTextsJoinTheBounds) {
    // A component whose only content is a text: before measuring it has no bounds, after the
    // first paint it has, and it must be drawn on that very paint.
    auto root = ReadSymbol("Symbol:\r\nText:\r\n  Point1X=50\r\n  Point1Y=50\r\n  Height=20\r\n  "
                           "Caption=Hi\r\nEnd.\r\nEnd.\r\n");
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {100, 100};
    root->Draw(canvas, sdmNormal, true, nullptr);
    int texts = 0;
    for (const auto& c : surface.Calls())
        texts += c.rfind("TextOut", 0) == 0;
    EXPECT_EQ(texts, 1);
}

// Draws and answers clicks at its point but reports no extents, as a class with undefined
// extents does.
class TUnmeasured : public TSymbolObject {
public:
    TUnmeasured() : TSymbolObject(som1Point) {}
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override {
        if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
        canvas.MoveTo(fP1);
        canvas.LineTo(fP1 + TPoint(10, 0));
        return true;
    }
    bool HitTest(TPoint pt, double minPickDistance) const override {
        return PointIsNear(pt, fP1, minPickDistance);
    }
};

TEST(Culling, ObjectsWithoutExtentsAreDrawnAndHit) {
    // In a component of its own, and beside a line far outside the view that gives the
    // component bounds of its own.
    for (const bool farLine : {false, true}) {
        auto root =
            ReadSymbol("Symbol:\r\n" + (farLine ? Line(5000, 5000, 5100, 5000) : std::string()) + "End.\r\n");
        auto mark = std::make_unique<TUnmeasured>();
        mark->fP1 = {50, 50};
        root->fSymbolObjectList.SymbolObjects(0)->fSymbolObjectList.Append(std::move(mark));
        TRecordingSurface surface;
        TSymbolCanvas canvas(&surface);
        canvas.fSize = {100, 100};
        root->Draw(canvas, sdmNormal, true, nullptr);
        EXPECT_EQ(LineCalls(surface), 1) << farLine;
        TObjectRefList hits;
        EXPECT_TRUE(root->IsAtPoint({52, 50}, {}, hits, 3)) << farLine;
        EXPECT_EQ(hits.size(), 3u) << farLine; // the mark, its component and the root
        hits.clear();
        EXPECT_FALSE(root->IsAtPoint({60, 80}, {}, hits, 3)) << farLine;
    }
}

TEST(Culling, LargeListsFollowMovesAndHidingOfTheirObjects) {
    // A drawing with enough top-level objects to be indexed, all far outside the view.
    std::string body;
    for (int i = 0; i < 2 * TSymbolObjectList::IndexedCount; ++i)
        body += "Symbol:\r\n" + Line(5000 + i, 5000, 5100, 5000) + "End.\r\n";
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString("SYMBOL:\r\n" + body + "End.\r\n", "many"));
    TSymbolObjectSymbol& root = doc.Symbol();
    ASSERT_TRUE(root.fSymbolObjectList.RefreshIndex());
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {100, 100};
    root.Draw(canvas, sdmNormal, true, nullptr);
    ASSERT_EQ(LineCalls(surface), 0);

    // One line moves into the view: the index built before must not keep it out of paints or
    // clicks.
    TSymbolObject* moved = root.fSymbolObjectList.SymbolObjects(70);
    auto* line = static_cast<TSymbolObject2Point*>(moved->fSymbolObjectList.SymbolObjects(0));
    line->fP1 = {10, 10};
    line->fP2 = {90, 10};
    root.ResetExtents();
    root.Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 1);
    EXPECT_EQ(root.fSymbolObjectList.CreateListObjectsAtPoint({50, 10}, {}, 2),
              (TObjectRefList{line, moved}));

    // Hidden for the moment it is neither drawn nor hit; shown again it is both.
    moved->SetTemporaryHidden(temphiddenAll);
    surface.ClearCalls();
    root.Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 0);
    EXPECT_TRUE(root.fSymbolObjectList.CreateListObjectsAtPoint({50, 10}, {}, 2).empty());
    moved->SetTemporaryHidden(0);
    root.Draw(canvas, sdmNormal, true, nullptr);
    EXPECT_EQ(LineCalls(surface), 1);
}

TEST(Culling, ObjectsWithinADevicePixelDrawAsOneDot) {
    // A component 20 units wide: at zoom 0.01 the whole of it lies within a pixel, at zoom 1
    // it is drawn in full.
    auto root = ReadSymbol("Symbol:\r\n" + Line(1000, 1000, 1020, 1000) + "End.\r\n");
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {100, 100};
    struct TCase {
        double Zoom;
        TPoint Start;
        int Lines, Dots;
    };
    for (const TCase& c : {TCase{0.01, {0, 50}, 0, 1}, TCase{1, {-990, 950}, 1, 0}}) {
        SCOPED_TRACE(c.Zoom);
        canvas.fZoom = c.Zoom;
        canvas.fStart = c.Start;
        surface.ClearCalls();
        root->Draw(canvas, sdmNormal, true, nullptr);
        int dots = 0;
        for (const auto& call : surface.Calls())
            if (call.rfind("SetPixel", 0) == 0) {
                ++dots;
                // At the component's middle, in its pen's colour.
                const TPoint middle = canvas.ToPt(TPoint(1010, 1000));
                EXPECT_EQ(
                    call.rfind("SetPixel " + std::to_string(middle.X) + " " + std::to_string(middle.Y) + " ",
                               0),
                    0u)
                    << call;
            }
        EXPECT_EQ(LineCalls(surface), c.Lines);
        EXPECT_EQ(dots, c.Dots);
    }
}

} // namespace
