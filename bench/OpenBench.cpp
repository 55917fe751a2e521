// Opening schematics full of connection lines: the load with its first connectivity pass and the
// full update, against the plain cost of reading the same file and splitting its lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>

#include "DrawingGenerator.h"
#include "components/Connectivity.h"
#include "document/DocumentOpener.h"
#include "document/SymbolFile.h"
#include "model/KeyValues.h"
#include "packages/TempDirs.h"

namespace {

constexpr int LinesPerComponent = 4;

TGeneratorOptions OptionsFor(int lines) {
    TGeneratorOptions o;
    o.Components = lines / LinesPerComponent;
    o.ShapesPerComponent = 4;
    o.NestedDepth = 0;
    o.LinesPerComponent = LinesPerComponent;
    return o;
}

const std::string& DrawingFile(int lines) {
    static std::map<int, std::string> files;
    auto it = files.find(lines);
    if (it != files.end()) return it->second;
    return files[lines] =
               WriteBenchFile("open-" + std::to_string(lines) + ".kdf", GenerateSchematic(OptionsFor(lines)));
}

void Describe(benchmark::State& state, const std::string& path) {
    state.counters["lines"] = double(state.range(0));
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
}

// The floor: read the file and split every line into key and value.
void BM_ReadAndSplit(benchmark::State& state) {
    const std::string& path = DrawingFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAndSplitLines(path));
    Describe(state, path);
}

// What the viewer does on open: the one opener, i.e. the load with the full connectivity update.
void BM_Open(benchmark::State& state) {
    const std::string& path = DrawingFile(int(state.range(0)));
    size_t crossings = 0;
    auto doc = std::make_unique<TSymbolFile>();
    TTempDirs tempDirs;
    for (auto _ : state) {
        bool ok = OpenDocumentFile(*doc, path, tempDirs).Opened();
        benchmark::DoNotOptimize(ok);
        // Counting and freeing the drawing are not part of opening it.
        state.PauseTiming();
        crossings = 0;
        doc->Symbol().ForEachInSubtree([&](TSymbolObject* o) {
            if (auto* line = dynamic_cast<TSymbolObjectConnectionLine*>(o))
                crossings += line->fCrossPoints.Items.size();
        });
        doc = std::make_unique<TSymbolFile>();
        state.ResumeTiming();
    }
    Describe(state, path);
    state.counters["crossings"] = double(crossings);
}

// The full connectivity update alone, on a loaded drawing.
void BM_UpdateConnections(benchmark::State& state) {
    const std::string& path = DrawingFile(int(state.range(0)));
    TSymbolFile doc;
    doc.LoadFromFile(path);
    for (auto _ : state)
        UpdateConnections(doc.Symbol(), true);
    Describe(state, path);
}

// Building the spatial index of the drawing's top level anew, as the first paint or click after
// a change of geometry does: the subtree bounds it is made of are computed again too.
void BM_BuildIndex(benchmark::State& state) {
    const std::string& path = DrawingFile(int(state.range(0)));
    TSymbolFile doc;
    doc.LoadFromFile(path);
    const TSymbolObjectList& top = doc.Symbol().fSymbolObjectList;
    for (auto _ : state) {
        doc.Symbol().GeometryChanged();
        benchmark::DoNotOptimize(top.RefreshIndex());
    }
    Describe(state, path);
    state.counters["objects"] = double(top.CountObjects({}));
}

} // namespace

BENCHMARK(BM_ReadAndSplit)->Arg(10000)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Arg(10000)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndex)->Arg(10000)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateConnections)->Arg(10000)->Arg(40000)->Arg(160000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
