// Load time of drawings against the plain cost of reading the file and splitting its lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "DrawingGenerator.h"
#include "document/SymbolFile.h"
#include "model/KeyValues.h"

namespace {

// Components per size step; each component holds 27 objects (nesting 2, eight shapes each).
const std::string& DrawingFile(int components) {
    static std::map<int, std::string> files;
    auto it = files.find(components);
    if (it != files.end()) return it->second;
    TGeneratorOptions o;
    o.Components = components;
    return files[components] =
               WriteBenchFile("load-" + std::to_string(components) + ".kdf", GenerateSchematic(o));
}

// The floor: read the file and split every line into key and value.
void BM_ReadAndSplit(benchmark::State& state) {
    const std::string& path = DrawingFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAndSplitLines(path));
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
}

void BM_LoadDrawing(benchmark::State& state) {
    const std::string& path = DrawingFile(int(state.range(0)));
    TSymbolFile doc;
    for (auto _ : state) {
        bool ok = doc.LoadFromFile(path);
        benchmark::DoNotOptimize(ok);
    }
    TGeneratorOptions o;
    o.Components = int(state.range(0));
    state.counters["objects"] = double(GeneratedObjectCount(o));
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
}

} // namespace

// 12 000 components make a file of about 50 MB; 3 000 and 12 000 show the growth from N to 4N.
BENCHMARK(BM_ReadAndSplit)->Arg(3000)->Arg(12000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDrawing)->Arg(3000)->Arg(12000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
