// Writes the open benchmark's largest schematic (160 000 record lines' worth of components and
// connection lines) to a file, for measuring the program itself against other renderers.
#include <cstdio>
#include <fstream>

#include "DrawingGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_write_drawing OUT.kdf\n");
        return 2;
    }
    TGeneratorOptions o;
    constexpr int lines = 160000, linesPerComponent = 4;
    o.Components = lines / linesPerComponent;
    o.ShapesPerComponent = 4;
    o.NestedDepth = 0;
    o.LinesPerComponent = linesPerComponent;
    std::ofstream out(argv[1], std::ios::binary);
    out << GenerateSchematic(o);
    return out.flush() ? 0 : 1;
}
