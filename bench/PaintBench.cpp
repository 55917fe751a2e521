// The drawing view's costs on synthetic schematics of 10 000 and 100 000 objects: a full paint at
// Zoom All, a paint zoomed in so that about 1% of the drawing shows, one pan frame (moving the
// rendered picture), the rendering of that picture once per drag, and a click's hit test.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <map>
#include <memory>

#include "DrawingGenerator.h"
#include "components/SymbolObjectSymbol.h"
#include "document/DrawingView.h"
#include "document/SymbolFile.h"
#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

namespace {

constexpr int ViewWidth = 1600, ViewHeight = 1000;

// The generated drawing with about Objects objects, loaded once per size.
TSymbolFile& Drawing(int objects) {
    static std::map<int, std::unique_ptr<TSymbolFile>> docs;
    auto& doc = docs[objects];
    if (!doc) {
        TGeneratorOptions o;
        o.Components = 1;
        const int64_t perComponent = GeneratedObjectCount(o);
        o.Components = int(std::max<int64_t>(1, objects / perComponent));
        doc = std::make_unique<TSymbolFile>();
        if (!doc->LoadFromString(GenerateSchematic(o), "bench.kdf")) std::abort();
    }
    return *doc;
}

// A canvas over a view-sized picture, set up as the window sets it and zoomed to the drawing.
struct TView {
    QImage Image{ViewWidth, ViewHeight, QImage::Format_RGB32};
    TQtRasterSurface Surface{&Image};
    TSymbolCanvas Canvas{&Surface};
    explicit TView(TSymbolFile& doc) {
        SetupViewCanvas(Canvas, 96);
        Canvas.fCanvasColors = SymbolCanvasColorsBlack();
        Canvas.fSize = {ViewWidth, ViewHeight};
        ZoomCanvasToDrawing(doc, Canvas);
    }
};

void Counters(benchmark::State& state, const TSymbolFile& doc) {
    state.counters["objects"] = double(doc.Symbol().fSymbolObjectList.CountObjects({}));
}

void BM_PaintZoomAll(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    for (auto _ : state)
        PaintDrawing(doc, view.Canvas);
    Counters(state, doc);
}

void BM_PaintZoomedIn(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    // Ten times the zoom in both directions: a hundredth of the drawing's area shows.
    ZoomCanvasAtPoint(view.Canvas, {ViewWidth / 2, ViewHeight / 2}, 10);
    for (auto _ : state)
        PaintDrawing(doc, view.Canvas);
    Counters(state, doc);
}

// A view of the same size in drawing units whatever the drawing's size: zoom 1 at the middle of
// the drawing, where a few dozen components show. Its cost should follow the screen, not the file.
void BM_PaintCloseUp(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    ZoomCanvasAtPoint(view.Canvas, {ViewWidth / 2, ViewHeight / 2}, 1 / view.Canvas.fZoom);
    for (auto _ : state)
        PaintDrawing(doc, view.Canvas);
    Counters(state, doc);
}

// The paint after each wheel step (1.5x at the middle) from Zoom All to zoom 1: the slowest step
// is the pause a user feels when wheel-zooming into the drawing.
void BM_PaintWheelStep(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    for (int64_t k = 0; k < state.range(1); ++k)
        ZoomCanvasAtPoint(view.Canvas, {ViewWidth / 2, ViewHeight / 2}, 1.5);
    for (auto _ : state)
        PaintDrawing(doc, view.Canvas);
    Counters(state, doc);
    state.counters["zoom"] = view.Canvas.fZoom;
}

void BM_PanBitmapRender(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    QImage bitmap(2 * ViewWidth, 2 * ViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        TQtRasterSurface surface(&bitmap);
        TSymbolCanvas pan(&surface);
        SetupPanCanvas(view.Canvas, pan, ViewWidth, ViewHeight, ViewWidth / 2, ViewHeight / 2);
        pan.ClearCanvas();
        doc.Symbol().Draw(pan, sdmNormal, true, nullptr);
    }
    Counters(state, doc);
}

// What one mouse move of a pan costs: the picture drawn at its new place, nothing else.
void BM_PanFrame(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    QImage bitmap(2 * ViewWidth, 2 * ViewHeight, QImage::Format_RGB32);
    bitmap.fill(Qt::black);
    QImage screen(ViewWidth, ViewHeight, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.fillRect(screen.rect(), Qt::black);
        painter.drawImage(QPoint(-ViewWidth + step % 50, -ViewHeight + step % 30), bitmap);
        ++step;
    }
    Counters(state, doc);
}

void BM_ClickHitTest(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(SelectComponentsAtPoint(doc, view.Canvas, {ViewWidth / 2, ViewHeight / 2}));
    Counters(state, doc);
}

// The click at the close-up view: the same part of the screen holds the same objects whatever the
// drawing's size, so the cost should not grow with the file. At Zoom All the pick distance covers
// more of a larger drawing, and more objects lie under the cursor.
void BM_ClickHitTestCloseUp(benchmark::State& state) {
    TSymbolFile& doc = Drawing(int(state.range(0)));
    TView view(doc);
    ZoomCanvasAtPoint(view.Canvas, {ViewWidth / 2, ViewHeight / 2}, 1 / view.Canvas.fZoom);
    // The first point right of the middle, or of a row below it, that hits an object.
    const auto hits = [&doc](const TView& v, TPoint p) {
        SelectComponentsAtPoint(doc, v.Canvas, p);
        const TObjectRefList* roots = doc.ClickSelection();
        return roots ? roots->size() : size_t(0);
    };
    TPoint at(ViewWidth / 2, ViewHeight / 2);
    for (int dy = 0; dy < ViewHeight / 2 && hits(view, at) == 0; dy += 5)
        for (at = {ViewWidth / 2, ViewHeight / 2 + dy}; at.X < ViewWidth && hits(view, at) == 0;)
            ++at.X;
    if (hits(view, at) == 0) state.SkipWithError("nothing near the middle");
    size_t hitRoots = 0;
    for (auto _ : state)
        hitRoots += hits(view, at);
    Counters(state, doc);
    state.counters["hit"] = benchmark::Counter(double(hitRoots), benchmark::Counter::kAvgIterations);
}

} // namespace

// The zoom-all paint of a drawing where tables, pictures and two-line texts take the place of
// the shapes, with the same number of objects: compare with BM_PaintZoomAll of that size.
void BM_PaintZoomAllAnnotated(benchmark::State& state) {
    static std::unique_ptr<TSymbolFile> doc;
    if (!doc) {
        // A small picture, decoded once per drawing and then only scaled.
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(qRgb(40, 80, 160));
        const std::string png = WriteBenchFile("picture.png", "");
        picture.save(QString::fromStdString(png), "PNG");
        TGeneratorOptions o;
        o.Components = 1;
        o.Components = int(std::max<int64_t>(1, state.range(0) / GeneratedObjectCount(o)));
        o.Annotations = true;
        o.PictureFile = png;
        doc = std::make_unique<TSymbolFile>();
        if (!doc->LoadFromString(GenerateSchematic(o), "annotated.kdf")) std::abort();
    }
    TView view(*doc);
    for (auto _ : state)
        PaintDrawing(*doc, view.Canvas);
    Counters(state, *doc);
}

// Showing one sheet alone (the sheet list, Page Down, --render --sheet) in a drawing of 100 000
// objects divided into 10 or 1000 sheets: the cost follows the objects, not the sheets.
void BM_ShowSheet(benchmark::State& state) {
    static std::map<int, std::unique_ptr<TSymbolFile>> docs;
    auto& doc = docs[int(state.range(0))];
    if (!doc) {
        TGeneratorOptions o;
        o.Components = 1;
        o.Components = int(100000 / GeneratedObjectCount(o));
        o.Sheets = int(state.range(0));
        doc = std::make_unique<TSymbolFile>();
        if (!doc->LoadFromString(GenerateSchematic(o), "sheets.kdf")) std::abort();
    }
    const int32_t middle = doc->SheetNumbers().at(doc->SheetNumbers().size() / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc->HideObjectsNotInSheet(middle));
    Counters(state, *doc);
    state.counters["sheets"] = double(doc->SheetNumbers().size());
}

BENCHMARK(BM_PaintZoomAll)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomAllAnnotated)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomedIn)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintCloseUp)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintWheelStep)
    ->ArgsProduct({{1000000}, benchmark::CreateDenseRange(0, 13, 1)})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanBitmapRender)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanFrame)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickHitTest)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickHitTestCloseUp)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowSheet)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int Argc, char** Argv) {
    // Text output needs a GUI application; no display is needed for pictures.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(Argc, Argv);
    benchmark::Initialize(&Argc, Argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
