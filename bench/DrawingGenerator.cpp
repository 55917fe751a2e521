#include "DrawingGenerator.h"

#include <random>

#include "model/KeyValues.h"

namespace {

const char* const ShapeTypes[] = {"Line",  "Circle",     "Rectangle", "Spring",
                                  "Arrow", "CheckValve", "Pump1",     "Motor1"};

void WriteCommon(TRecordWriter& w, const std::string& indent, int32_t handle, int32_t x, int32_t y) {
    w.WriteInt(indent + "Handle", handle);
    w.WriteIntIfChanged(indent + "Point1X", x, 0);
    w.WriteIntIfChanged(indent + "Point1Y", y, 0);
}

struct TWriterState {
    TRecordWriter w;
    std::mt19937 rng;
    int32_t handle = 0;
};

void WriteComponent(TWriterState& s, const TGeneratorOptions& o, int depth, const std::string& indent,
                    int32_t x, int32_t y) {
    TRecordWriter& w = s.w;
    const std::string in = indent + "  ";
    w.WriteRecordLine("");
    w.WriteRecordLine(indent + "Symbol:");
    WriteCommon(w, in, s.handle++, x, y);
    for (int i = 0; i < o.ShapesPerComponent; ++i) {
        int32_t px = x + int32_t(s.rng() % 400), py = y + int32_t(s.rng() % 400);
        switch (i % 4) {
        case 0:
        case 1:
            w.WriteRecordLine(in + "2PointSymbol:");
            w.WriteKey(in + "  SymbolType", ShapeTypes[s.rng() % std::size(ShapeTypes)]);
            WriteCommon(w, in + "  ", s.handle++, px, py);
            w.WriteInt(in + "  Point2X", px + 40);
            w.WriteInt(in + "  Point2Y", py + 60);
            w.WriteBoolIfChanged(in + "  Fill", (s.rng() & 1) != 0, false);
            w.WriteFloatIfChanged(in + "  ObjectRotation", 0, (s.rng() % 4) * 90.0);
            w.WriteRecordLine(in + "End.");
            break;
        case 2:
            w.WriteRecordLine(in + "Text:");
            WriteCommon(w, in + "  ", s.handle++, px, py);
            w.WriteKey(in + "  Caption", "Valve " + std::to_string(s.handle));
            w.WriteKey(in + "  TextStyleName", "TextStyle_Default");
            w.WriteRecordLine(in + "End.");
            break;
        case 3:
            w.WriteRecordLine(in + "Port:");
            WriteCommon(w, in + "  ", s.handle++, px, py);
            w.WriteKey(in + "  PortName", "P" + std::to_string(i));
            w.WriteRecordLine(in + "End.");
            break;
        }
    }
    if (depth < o.NestedDepth) WriteComponent(s, o, depth + 1, in, x + 50, y + 50);
    w.WriteRecordLine(indent + "End.");
}

} // namespace

int64_t GeneratedObjectCount(const TGeneratorOptions& o) {
    return int64_t(o.Components) * (o.NestedDepth + 1) * (1 + o.ShapesPerComponent);
}

std::string GenerateSchematic(const TGeneratorOptions& o) {
    TWriterState s;
    s.rng.seed(o.Seed);
    TRecordWriter& w = s.w;
    w.Text().reserve(size_t(GeneratedObjectCount(o)) * 120);
    w.Text() = "\xEF\xBB\xBF";
    w.WriteRecordLine("* generated.kdf");
    w.WriteRecordLine("* Symbol File");
    w.WriteRecordLine("");
    w.WriteRecordLine("SymbolFile:");
    w.WriteRecordLine("");
    w.WriteRecordLine("Header:");
    w.WriteKey("  FileType", "Schematic");
    w.WriteKey("  FileVersion", "1.0.0-100");
    w.WriteInt("  StartX", 0);
    w.WriteInt("  StartY", 0);
    w.WriteInt("  Zoom", 1000);
    w.WriteRecordLine("End.");
    w.WriteRecordLine("");
    w.WriteRecordLine("SYMBOL:");
    w.WriteInt("  Handle", -1);
    const int columns = 100;
    for (int c = 0; c < o.Components; ++c)
        WriteComponent(s, o, 0, "  ", (c % columns) * 600, (c / columns) * 600);
    w.WriteRecordLine("End.");
    w.WriteRecordLine("");
    w.WriteRecordLine("End.");
    return std::move(w.Text());
}
