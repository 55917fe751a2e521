#include "DrawingGenerator.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <unistd.h>
#include <vector>

#include "model/KeyValues.h"
#include "platform/TerminationWatch.h"

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
    std::vector<int32_t> portHandles; // LinesPerComponent per top-level component
};

const int Columns = 100;
const int32_t Spacing = 600;

// Attachment point of connection port k of the component at (x, y).
TPoint LinePort(int32_t x, int32_t y, int k) {
    return {x + 100 + 40 * k, y + 300};
}

void WriteLinePorts(TWriterState& s, int lines, const std::string& indent, int32_t x, int32_t y) {
    for (int k = 0; k < lines; ++k) {
        const TPoint p = LinePort(x, y, k);
        s.portHandles.push_back(s.handle);
        s.w.WriteRecordLine(indent + "Port:");
        WriteCommon(s.w, indent + "  ", s.handle++, p.X, p.Y - 20);
        s.w.WriteInt(indent + "  Point2X", p.X);
        s.w.WriteInt(indent + "  Point2Y", p.Y);
        s.w.WriteInt(indent + "  Point3X", p.X + 10);
        s.w.WriteInt(indent + "  Point3Y", p.Y - 10);
        s.w.WriteKey(indent + "  PortName", "L" + std::to_string(k));
        s.w.WriteRecordLine(indent + "End.");
    }
}

void WriteLines(TWriterState& s, const TGeneratorOptions& o) {
    TRecordWriter& w = s.w;
    const int n = o.LinesPerComponent;
    auto origin = [](int c) { return TPoint((c % Columns) * Spacing, (c / Columns) * Spacing); };
    for (int c = 0; c < o.Components; ++c) {
        int mate = c + Columns + 1;
        if (mate >= o.Components || c % Columns == Columns - 1) mate = c >= Columns + 1 ? c - Columns - 1 : c;
        const TPoint a = origin(c), b = origin(mate);
        for (int k = 0; k < n; ++k) {
            const TPoint from = LinePort(a.X, a.Y, k), to = LinePort(b.X, b.Y, n - 1 - k);
            const TPoint start(from.X, from.Y + 10);
            std::vector<TPoint> points{start};
            if (std::abs(int64_t(to.X) - start.X) > std::abs(int64_t(to.Y) - start.Y)) {
                const int32_t m = (start.X + to.X) / 2;
                points.insert(points.end(), {{m, start.Y}, {m, to.Y}});
            } else {
                const int32_t m = (start.Y + to.Y) / 2;
                points.insert(points.end(), {{start.X, m}, {to.X, m}});
            }
            points.push_back(to);
            w.WriteRecordLine("");
            w.WriteRecordLine("  ConnectionLine:");
            w.WriteInt("    Handle", s.handle++);
            w.WriteInt("    Port1Handle", s.portHandles[size_t(c) * size_t(n) + size_t(k)]);
            w.WriteInt("    Port2Handle", s.portHandles[size_t(mate) * size_t(n) + size_t(n - 1 - k)]);
            for (const TPoint& p : points)
                w.WritePointRecord("  Point:", p);
            w.WriteRecordLine("  End.");
        }
    }
}

void WriteComponent(TWriterState& s, const TGeneratorOptions& o, int depth, const std::string& indent,
                    int32_t x, int32_t y) {
    TRecordWriter& w = s.w;
    const std::string in = indent + "  ";
    w.WriteRecordLine("");
    w.WriteRecordLine(indent + "Symbol:");
    WriteCommon(w, in, s.handle++, x, y);
    for (int i = 0; i < o.ShapesPerComponent; ++i) {
        int32_t px = x + int32_t(s.rng() % 400), py = y + int32_t(s.rng() % 400);
        const int kind = i % 4;
        if (o.Annotations && kind == 1 && !o.PictureFile.empty()) {
            w.WriteRecordLine(in + "Image:");
            WriteCommon(w, in + "  ", s.handle++, px, py);
            w.WriteInt(in + "  Point2X", px + 80);
            w.WriteInt(in + "  Point2Y", py + 60);
            w.WriteKey(in + "  ImageFileName", o.PictureFile);
            w.WriteRecordLine(in + "End.");
            continue;
        }
        if (o.Annotations && kind <= 1) {
            w.WriteRecordLine(in + "Table:");
            WriteCommon(w, in + "  ", s.handle++, px, py);
            w.WriteInt(in + "  ColCount", 2);
            w.WriteInt(in + "  RowCount", 2);
            w.WriteInt(in + "  HeaderRows", 1);
            for (const char* size : {"  ColWidth=60", "  ColWidth=90", "  RowHeight=25", "  RowHeight=40"})
                w.WriteRecordLine(in + size);
            for (const char* content : {"Pos", "Part", "1", "Valve body with a long name"}) {
                w.WriteRecordLine(in + "  StringCellStart:");
                w.WriteKey(in + "    Content", content);
                w.WriteBoolIfChanged(in + "    WordWrap", true, false);
                w.WriteRecordLine(in + "  StringCellEnd.");
            }
            w.WriteRecordLine(in + "End.");
            continue;
        }
        switch (kind) {
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
            if (o.Annotations) w.WriteKey(in + "  Caption", "second line");
            w.WriteKey(in + "  TextStyleName", "TextStyle_Default");
            w.WriteRecordLine(in + "End.");
            break;
        case 3:
            w.WriteRecordLine(in + "Port:");
            WriteCommon(w, in + "  ", s.handle++, px, py);
            // A short stub with its caption beside it, as placed ports have.
            w.WriteInt(in + "  Point2X", px + 20);
            w.WriteInt(in + "  Point2Y", py);
            w.WriteInt(in + "  Point3X", px + 10);
            w.WriteInt(in + "  Point3Y", py + 15);
            w.WriteKey(in + "  PortName", "P" + std::to_string(i));
            w.WriteRecordLine(in + "End.");
            break;
        }
    }
    if (depth == 0) WriteLinePorts(s, o.LinesPerComponent, in, x, y);
    if (depth < o.NestedDepth) WriteComponent(s, o, depth + 1, in, x + 50, y + 50);
    w.WriteRecordLine(indent + "End.");
}

// The sheets tile the grid of components: bands of rows, each cut into blocks of columns when
// there are more sheets than rows. Each paper holds its components whole and a frame line.
void WriteSheets(TWriterState& s, const TGeneratorOptions& o) {
    TRecordWriter& w = s.w;
    const int rows = (o.Components + Columns - 1) / Columns;
    const int bands = std::max(1, std::min(o.Sheets, rows));
    const int blocks = std::max(1, std::min(o.Sheets / bands, Columns));
    const int rowsPerSheet = (rows + bands - 1) / bands, columnsPerSheet = (Columns + blocks - 1) / blocks;
    const int32_t width = columnsPerSheet * Spacing, height = rowsPerSheet * Spacing;
    int number = 0;
    for (int band = 0; band * rowsPerSheet < rows; ++band)
        for (int block = 0; block * columnsPerSheet < Columns; ++block) {
            const int32_t x = block * width - 30, y = band * height - 30;
            w.WriteRecordLine("  PaperSize:");
            WriteCommon(w, "    ", s.handle++, x, y);
            w.WriteFloat("    Width", width / 10.0);
            w.WriteFloat("    Height", height / 10.0);
            w.WriteKey("    Name", "Block");
            w.WriteInt("    SheetNumber", number++);
            w.WriteFloat("    X2", width / 10.0);
            w.WriteFloat("    Y2", height / 10.0);
            w.WriteRecordLine("    2PointSymbol:");
            w.WriteKey("      SymbolType", "Rectangle");
            WriteCommon(w, "      ", s.handle++, x + 10, y + 10);
            w.WriteInt("      Point2X", x + width - 10);
            w.WriteInt("      Point2Y", y + height - 10);
            w.WriteRecordLine("    End.");
            w.WriteRecordLine("  EndPaperSize.");
        }
}

} // namespace

int64_t GeneratedObjectCount(const TGeneratorOptions& o) {
    return int64_t(o.Components) * (o.NestedDepth + 1) * (1 + o.ShapesPerComponent) +
           2 * GeneratedLineCount(o);
}

int64_t GeneratedLineCount(const TGeneratorOptions& o) {
    return int64_t(o.Components) * o.LinesPerComponent;
}

std::string GenerateSchematic(const TGeneratorOptions& o) {
    TWriterState s;
    s.rng.seed(o.Seed);
    TRecordWriter& w = s.w;
    w.Text().reserve(size_t(GeneratedObjectCount(o)) * 120 + size_t(GeneratedLineCount(o)) * 300);
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
    if (o.Sheets > 0) w.WriteBool("  IsMultiSheetFile", true);
    w.WriteRecordLine("End.");
    w.WriteRecordLine("");
    w.WriteRecordLine("SYMBOL:");
    w.WriteInt("  Handle", -1);
    for (int c = 0; c < o.Components; ++c)
        WriteComponent(s, o, 0, "  ", (c % Columns) * Spacing, (c / Columns) * Spacing);
    WriteLines(s, o);
    if (o.Sheets > 0) WriteSheets(s, o);
    w.WriteRecordLine("End.");
    w.WriteRecordLine("");
    w.WriteRecordLine("End.");
    return std::move(w.Text());
}

namespace {

class TBenchFolder {
public:
    TBenchFolder() : fCleanup([this] { Remove(); }) {
        const auto lock = LockAgainstTermination();
        std::string pattern = (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
        fPath = pattern;
    }
    ~TBenchFolder() { Remove(); }
    const std::filesystem::path& Path() const { return fPath; }

private:
    void Remove() const {
        const auto lock = LockAgainstTermination();
        std::error_code ignored;
        if (!fPath.empty()) std::filesystem::remove_all(fPath, ignored);
    }

    // The path outlives the clean-up that reads it.
    std::filesystem::path fPath;
    TTerminationCleanup fCleanup;
};

} // namespace

std::string WriteBenchFile(const std::string& name, const std::string& text) {
    static TBenchFolder folder;
    // A signal's clean-up waits for the file to be complete, so it never finds a folder that is
    // still being filled.
    const auto lock = LockAgainstTermination();
    const std::string path = (folder.Path() / name).string();
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

size_t ReadAndSplitLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(std::filesystem::file_size(path), '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    TRecordReader reader(std::move(bytes), TRecordVariant::UniCode);
    std::string key, value;
    size_t lines = 0;
    while (!reader.AtEnd())
        if (reader.ReadRecordLine(key, value)) ++lines;
    return lines;
}
