#pragma once
// Streaming JSON writer for the document dump.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "base/DrawTypes.h"
#include "base/Points.h"

class TJsonWriter {
public:
    explicit TJsonWriter(bool pretty = true) : fPretty(pretty) {}
    // Written text goes on to sink in pieces as it grows, so a large dump never sits in memory
    // whole; Text() then holds only what has not been passed on yet, and Flush() passes that on.
    explicit TJsonWriter(std::ostream& sink, bool pretty = true) : fPretty(pretty), fSink(&sink) {}
    void Flush();

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);

    void String(std::string_view s);
    void Int(int64_t v);
    void Float(double v);
    void Bool(bool v);
    void Null();
    void Point(TPoint p);
    // A point of floating-point coordinates, "[x, y]" as integer points are.
    void Point(double x, double y);
    void Color(TColor c); // "#RRGGBB"

    // Key followed by a value.
    void Field(std::string_view key, std::string_view s) { Key(key), String(s); }
    void Field(std::string_view key, const char* s) { Key(key), String(s); }
    void Field(std::string_view key, const std::string& s) { Key(key), String(s); }
    void Field(std::string_view key, int32_t v) { Key(key), Int(v); }
    void Field(std::string_view key, int64_t v) { Key(key), Int(v); }
    void Field(std::string_view key, double v) { Key(key), Float(v); }
    void Field(std::string_view key, bool v) { Key(key), Bool(v); }
    void Field(std::string_view key, TPoint p) { Key(key), Point(p); }
    void Field(std::string_view key, const std::vector<std::string>& list);
    void ColorField(std::string_view key, TColor c) { Key(key), Color(c); }

    const std::string& Text() const { return fOut; }

private:
    void BeforeValue();
    void RawString(std::string_view s);
    void Newline();
    void FlushWhenLarge();

    std::string fOut;
    bool fPretty;
    std::ostream* fSink = nullptr;
    struct Level {
        bool First = true;
    };
    std::vector<Level> fStack;
    bool fAfterKey = false;
};
