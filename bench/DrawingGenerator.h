#pragma once
// Writes synthetic drawings of any size with the record writers, for benchmarks.
#include <cstdint>
#include <string>

struct TGeneratorOptions {
    int Components = 1000;      // component symbols on the top level
    int ShapesPerComponent = 8; // shapes, texts and ports inside each component
    int NestedDepth = 2;        // component symbols nested inside each component
    uint32_t Seed = 1;
};

// The text of a schematic in the current record format (UTF-8 with byte-order mark).
std::string GenerateSchematic(const TGeneratorOptions& options);
// Number of drawing objects GenerateSchematic writes for the options.
int64_t GeneratedObjectCount(const TGeneratorOptions& options);
