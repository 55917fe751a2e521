// Writes the open benchmark's largest schematic (160 000 record lines' worth of components and
// connection lines) to a file, for measuring the program itself against other renderers; or, given
// a number of objects, the paint benchmark's schematic of that size, to try in the window.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "DrawingGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: bench_write_drawing OUT.kdf [OBJECTS]\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    if (argc == 3) {
        // The paint benchmark's schematic of about that many objects.
        TGeneratorOptions o;
        o.Components = 1;
        o.Components = int(std::max<int64_t>(1, std::atoll(argv[2]) / GeneratedObjectCount(o)));
        out << GenerateSchematic(o);
        return out.flush() ? 0 : 1;
    }
    TGeneratorOptions o;
    constexpr int lines = 160000, linesPerComponent = 4;
    o.Components = lines / linesPerComponent;
    o.ShapesPerComponent = 4;
    o.NestedDepth = 0;
    o.LinesPerComponent = linesPerComponent;
    out << GenerateSchematic(o);
    return out.flush() ? 0 : 1;
}
