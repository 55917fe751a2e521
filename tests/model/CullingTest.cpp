#include <gtest/gtest.h>

#include "support/Records.h"

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "objects/ShapeObjects.h"
#include "objects/TextObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

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

} // namespace
