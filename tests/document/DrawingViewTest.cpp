#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "components/SymbolObjectSymbol.h"
#include "document/DrawingView.h"
#include "document/SymbolFile.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

namespace {

class DrawingViewTest : public ::testing::Test {
protected:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    void SetUp() override {
        SetupViewCanvas(Canvas, 96);
        Canvas.fSize = {800, 600};
    }
};

TEST_F(DrawingViewTest, ZoomingAtAPointKeepsThatDrawingPointUnderIt) {
    Canvas.fZoom = 2;
    Canvas.fStart = {-30, 40};
    const TPoint p(250, 180);
    const TPoint before = Canvas.FromPt(p);
    ASSERT_TRUE(ZoomCanvasAtPoint(Canvas, p, 1.5));
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 3);
    EXPECT_EQ(Canvas.ToPt(before), p);
    EXPECT_FALSE(ZoomCanvasAtPoint(Canvas, p, 1000)); // past the largest zoom: nothing changes
    EXPECT_DOUBLE_EQ(Canvas.fZoom, 3);
}

TEST_F(DrawingViewTest, OriginsAtTheEdgeOfTheCoordinateRangeSaturate) {
    // A view panned as far as it goes: the new origin lies beyond 32 bits and is clamped, never
    // wrapped to the other end.
    Canvas.fZoom = 100;
    Canvas.fStart = {0, INT32_MAX};
    ASSERT_TRUE(ZoomCanvasAtPoint(Canvas, {0, 0}, 2));
    EXPECT_EQ(Canvas.fStart.Y, INT32_MAX);

    TSymbolCanvas pan(&Surface);
    Canvas.fStart = {INT32_MAX, 0};
    SetupPanCanvas(Canvas, pan, 800, 600, 0, 0);
    EXPECT_EQ(pan.fStart.X, INT32_MAX);
    EXPECT_EQ(pan.fSize, TPoint(1600, 1200));
}

// A drawing of random components, loose lines and texts, with a large group among them, so that
// both the top level and the group keep an index; some objects are hidden, some components carry
// a BOM record the BOM shows, some one it hides.
class TRandomDrawing {
public:
    explicit TRandomDrawing(uint32_t seed) : fRng(seed) {}

    std::string Text() {
        std::string body;
        for (int i = 0; i < 150; ++i)
            body += Component(1);
        for (int i = 0; i < 40; ++i)
            body += Line(Pos(), Pos(), Size());
        for (int i = 0; i < 20; ++i)
            body += Text(Pos(), Pos());
        body += "Symbol:\r\n  Handle=" + std::to_string(fHandle++) + "\r\n" + Bom();
        for (int i = 0; i < 100; ++i)
            body += i % 3 == 0 ? Line(Pos(), Pos(), Size()) : Component(1);
        body += "End.\r\n";
        return "SYMBOL:\r\n" + body + "End.\r\n";
    }

private:
    std::mt19937 fRng;
    int fHandle = 1;

    int Pos() { return int(fRng() % 40000) - 20000; }
    int Size() { return fRng() % 10 == 0 ? int(fRng() % 20000) : int(fRng() % 600); }
    std::string Common(int x, int y) {
        std::string r = "  Handle=" + std::to_string(fHandle++) + "\r\n  Point1X=" + std::to_string(x) +
                        "\r\n  Point1Y=" + std::to_string(y) + "\r\n";
        if (fRng() % 25 == 0) r += "  Hide=Yes\r\n";
        return r;
    }
    std::string Line(int x, int y, int size) {
        const char* type = fRng() % 2 ? "Line" : "Rectangle";
        return std::string("2PointSymbol:\r\n  SymbolType=") + type + "\r\n" + Common(x, y) +
               "  Point2X=" + std::to_string(x + size) +
               "\r\n  Point2Y=" + std::to_string(y + int(fRng() % 300)) + "\r\nEnd.\r\n";
    }
    std::string Text(int x, int y) {
        return "Text:\r\n" + Common(x, y) + "  Caption=T" + std::to_string(fHandle) +
               "\r\n  Height=" + std::to_string(10 + fRng() % 200) + "\r\nEnd.\r\n";
    }
    std::string Bom() {
        switch (fRng() % 3) {
        case 0:
            return "BOM:\r\n  ArticleCode=A\r\nEndBOM.\r\n";
        case 1:
            return "BOM:\r\n  ArticleCode=B\r\n  HideInBOM=Yes\r\nEndBOM.\r\n";
        default:
            return "";
        }
    }
    std::string Component(int depth) {
        const int x = Pos(), y = Pos();
        std::string r = "Symbol:\r\n" + Common(x, y) + Bom();
        const int parts = 1 + int(fRng() % 4);
        for (int k = 0; k < parts; ++k) {
            const int px = x + int(fRng() % 400), py = y + int(fRng() % 400);
            if (depth < 3 && fRng() % 4 == 0)
                r += Component(depth + 1);
            else if (fRng() % 5 == 0)
                r += Text(px, py);
            else
                r += Line(px, py, Size() / 4);
        }
        return r + "End.\r\n";
    }
};

// Each object's handle with its selection flags, in drawing order.
std::vector<std::string> SelectionState(TSymbolFile& doc) {
    std::vector<std::string> r;
    doc.Symbol().ForEachInSubtree([&](TSymbolObject* o) {
        if (o->fSelected || o->fIsClicked)
            r.push_back(std::to_string(o->fHandle) + (o->fSelected ? "s" : "") + (o->fIsClicked ? "c" : ""));
    });
    return r;
}

// The click as one walk of the whole drawing after another: clear, hit, collect, clear, select.
bool SelectComponentsByFullWalks(TSymbolFile& doc, const TSymbolCanvas& canvas, TPoint p) {
    TSymbolObjectSymbol& root = doc.Symbol();
    root.ClearSelection();
    const TSymbolObjectTypeSet anyType;
    if (!root.fSymbolObjectList.SelectObjectsAtPoint(canvas.FromPt(p), anyType,
                                                     PickDistancePixels / canvas.fZoom))
        return false;
    const TObjectRefList hit = root.fSymbolObjectList.CreateListSelectedObjectsNew(anyType);
    root.ClearSelection();
    bool selected = false;
    for (TSymbolObject* object : hit) {
        const TBOM* first = object->fBOMList.First();
        if (first && !first->HideInBOM()) {
            object->SelectAll();
            selected = true;
        }
    }
    return selected;
}

// The same drawing twice: one as the viewer keeps it, with indexes and remembered preparation;
// the other cut off from its clock, which leaves it neither, so every paint and click walks it
// whole. Views from zoom-all to close-up, and clicks in between, must give the same calls.
TEST(DrawingIndex, PaintsAndClicksMatchTheFullWalk) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const std::string text = TRandomDrawing(seed).Text();
        TSymbolFile indexed, walked;
        ASSERT_TRUE(indexed.LoadFromString(text, "indexed.sym"));
        ASSERT_TRUE(walked.LoadFromString(text, "walked.sym"));
        walked.Symbol().SetGeometryClock(nullptr);
        walked.ForgetClickSelection();

        TRecordingSurface indexedSurface, walkedSurface;
        TSymbolCanvas indexedCanvas(&indexedSurface), walkedCanvas(&walkedSurface);
        std::mt19937 rng(seed);
        int clicksThatSelected = 0;
        size_t drawnCalls = 0;
        for (int step = 0; step < 40; ++step) {
            for (TSymbolCanvas* c : {&indexedCanvas, &walkedCanvas}) {
                SetupViewCanvas(*c, 96);
                c->fSize = {400, 300};
            }
            ASSERT_TRUE(ZoomCanvasToDrawing(indexed, indexedCanvas));
            ASSERT_TRUE(ZoomCanvasToDrawing(walked, walkedCanvas));
            // Zoom in about a random point: from the whole drawing (where most objects are
            // below a pixel) to a few objects.
            const TPoint at(int(rng() % 400), int(rng() % 300));
            const double factor = std::pow(2.0, double(rng() % 12));
            ZoomCanvasAtPoint(indexedCanvas, at, factor);
            ZoomCanvasAtPoint(walkedCanvas, at, factor);

            indexedSurface.ClearCalls();
            walkedSurface.ClearCalls();
            PaintDrawing(indexed, indexedCanvas);
            PaintDrawing(walked, walkedCanvas);
            ASSERT_EQ(indexedSurface.Calls(), walkedSurface.Calls()) << "paint at step " << step;
            drawnCalls += indexedSurface.Calls().size();

            for (int click = 0; click < 3; ++click) {
                const TPoint p(int(rng() % 400), int(rng() % 300));
                const bool got = SelectComponentsAtPoint(indexed, indexedCanvas, p);
                const bool want = SelectComponentsByFullWalks(walked, walkedCanvas, p);
                ASSERT_EQ(got, want) << "click at step " << step;
                ASSERT_EQ(SelectionState(indexed), SelectionState(walked)) << "click at step " << step;
                ASSERT_EQ(DrawingHasSelection(indexed), walked.Symbol().fSymbolObjectList.HasSelection())
                    << "click at step " << step;
                clicksThatSelected += got;
            }
            indexedSurface.ClearCalls();
            walkedSurface.ClearCalls();
            PaintSelection(indexed, indexedCanvas, sdmHighlight);
            PaintSelection(walked, walkedCanvas, sdmHighlight);
            ASSERT_EQ(indexedSurface.Calls(), walkedSurface.Calls()) << "selection marks at step " << step;
        }
        // The comparison had something to compare.
        EXPECT_GT(clicksThatSelected, 3);
        EXPECT_GT(drawnCalls, 1000u);
    }
}

} // namespace
