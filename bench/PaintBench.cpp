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
TSymbolFile& Drawing(int Objects) {
    static std::map<int, std::unique_ptr<TSymbolFile>> Docs;
    auto& Doc = Docs[Objects];
    if (!Doc) {
        TGeneratorOptions O;
        O.Components = 1;
        const int64_t PerComponent = GeneratedObjectCount(O);
        O.Components = int(std::max<int64_t>(1, Objects / PerComponent));
        Doc = std::make_unique<TSymbolFile>();
        if (!Doc->LoadFromString(GenerateSchematic(O), "bench.kdf")) std::abort();
    }
    return *Doc;
}

// A canvas over a view-sized picture, set up as the window sets it and zoomed to the drawing.
struct TView {
    QImage Image{ViewWidth, ViewHeight, QImage::Format_RGB32};
    TQtRasterSurface Surface{&Image};
    TSymbolCanvas Canvas{&Surface};
    explicit TView(TSymbolFile& Doc) {
        SetupViewCanvas(Canvas, 96);
        Canvas.fCanvasColors = SymbolCanvasColorsBlack();
        Canvas.fSize = {ViewWidth, ViewHeight};
        ZoomCanvasToDrawing(Doc, Canvas);
    }
};

void Counters(benchmark::State& State, const TSymbolFile& Doc) {
    State.counters["objects"] = double(Doc.Symbol().fSymbolObjectList.CountObjects({}));
}

void BM_PaintZoomAll(benchmark::State& State) {
    TSymbolFile& Doc = Drawing(int(State.range(0)));
    TView View(Doc);
    for (auto _ : State)
        PaintDrawing(Doc, View.Canvas);
    Counters(State, Doc);
}

void BM_PaintZoomedIn(benchmark::State& State) {
    TSymbolFile& Doc = Drawing(int(State.range(0)));
    TView View(Doc);
    // Ten times the zoom in both directions: a hundredth of the drawing's area shows.
    ZoomCanvasAtPoint(View.Canvas, {ViewWidth / 2, ViewHeight / 2}, 10);
    for (auto _ : State)
        PaintDrawing(Doc, View.Canvas);
    Counters(State, Doc);
}

void BM_PanBitmapRender(benchmark::State& State) {
    TSymbolFile& Doc = Drawing(int(State.range(0)));
    TView View(Doc);
    QImage Bitmap(2 * ViewWidth, 2 * ViewHeight, QImage::Format_RGB32);
    for (auto _ : State) {
        TQtRasterSurface Surface(&Bitmap);
        TSymbolCanvas Pan(&Surface);
        SetupPanCanvas(View.Canvas, Pan, ViewWidth, ViewHeight, ViewWidth / 2, ViewHeight / 2);
        Pan.ClearCanvas();
        Doc.Symbol().Draw(Pan, sdmNormal, true, nullptr);
    }
    Counters(State, Doc);
}

// What one mouse move of a pan costs: the picture drawn at its new place, nothing else.
void BM_PanFrame(benchmark::State& State) {
    TSymbolFile& Doc = Drawing(int(State.range(0)));
    QImage Bitmap(2 * ViewWidth, 2 * ViewHeight, QImage::Format_RGB32);
    Bitmap.fill(Qt::black);
    QImage Screen(ViewWidth, ViewHeight, QImage::Format_RGB32);
    int Step = 0;
    for (auto _ : State) {
        QPainter Painter(&Screen);
        Painter.fillRect(Screen.rect(), Qt::black);
        Painter.drawImage(QPoint(-ViewWidth + Step % 50, -ViewHeight + Step % 30), Bitmap);
        ++Step;
    }
    Counters(State, Doc);
}

void BM_ClickHitTest(benchmark::State& State) {
    TSymbolFile& Doc = Drawing(int(State.range(0)));
    TView View(Doc);
    for (auto _ : State)
        benchmark::DoNotOptimize(SelectComponentsAtPoint(Doc, View.Canvas, {ViewWidth / 2, ViewHeight / 2}));
    Counters(State, Doc);
}

} // namespace

BENCHMARK(BM_PaintZoomAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintZoomedIn)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanBitmapRender)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanFrame)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickHitTest)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int Argc, char** Argv) {
    // Text output needs a GUI application; no display is needed for pictures.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication App(Argc, Argv);
    benchmark::Initialize(&Argc, Argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
