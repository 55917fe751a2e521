#pragma once
// Writes synthetic drawings of any size with the record writers, for benchmarks.
#include <cstdint>
#include <string>

struct TGeneratorOptions {
    int Components = 1000;      // component symbols on the top level
    int ShapesPerComponent = 8; // shapes, texts and ports inside each component
    int NestedDepth = 2;        // component symbols nested inside each component
    uint32_t Seed = 1;
    // Connection lines that start at each component: every component gets as many ports, and
    // line k runs from its port k to port (n - 1 - k) of the component one column right and one
    // row down, so the lines of neighbours cross. The stored corner points are those of a
    // slightly different start, so that opening re-attaches every line.
    int LinesPerComponent = 0;
    // Sheets: about this many paper sizes tiling the components, numbered from the first row;
    // 0 writes a drawing without sheets.
    int Sheets = 0;
    // Annotations in place of the shapes: every first shape a table of 2 x 2 cells, every second a
    // picture of PictureFile (a table without one), and texts of two lines; same object count.
    bool Annotations = false;
    std::string PictureFile;
};

// The text of a schematic in the current record format (UTF-8 with byte-order mark).
std::string GenerateSchematic(const TGeneratorOptions& options);
// Number of drawing objects GenerateSchematic writes for the options (without the sheets).
int64_t GeneratedObjectCount(const TGeneratorOptions& options);
// Number of connection lines among them.
int64_t GeneratedLineCount(const TGeneratorOptions& options);

// Writes Text into a file named Name in a private folder of this run and returns its path. The
// folder and its files go when the program ends, by Ctrl+C or kill too: generated drawings run to
// hundreds of megabytes. Call it before the benchmark starts threads of its own.
std::string WriteBenchFile(const std::string& name, const std::string& text);

// The floor every load is measured against: read the file whole and split each of its lines into
// key and value. Returns the number of record lines.
size_t ReadAndSplitLines(const std::string& path);
