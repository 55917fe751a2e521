#include "model/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

void TJsonWriter::Newline() {
    if (!fPretty) return;
    fOut.push_back('\n');
    fOut.append(fStack.size() * 2, ' ');
}

void TJsonWriter::BeforeValue() {
    if (fAfterKey) {
        fAfterKey = false;
        return;
    }
    if (!fStack.empty()) {
        if (!fStack.back().First) fOut.push_back(',');
        fStack.back().First = false;
        Newline();
    }
}

void TJsonWriter::BeginObject() {
    BeforeValue();
    fOut.push_back('{');
    fStack.push_back({});
}

void TJsonWriter::EndObject() {
    bool empty = fStack.back().First;
    fStack.pop_back();
    if (!empty) Newline();
    fOut.push_back('}');
    FlushWhenLarge();
}

void TJsonWriter::BeginArray() {
    BeforeValue();
    fOut.push_back('[');
    fStack.push_back({});
}

void TJsonWriter::EndArray() {
    bool empty = fStack.back().First;
    fStack.pop_back();
    if (!empty) Newline();
    fOut.push_back(']');
    FlushWhenLarge();
}

void TJsonWriter::Flush() {
    if (!fSink) return;
    fSink->write(fOut.data(), std::streamsize(fOut.size()));
    fOut.clear();
}

void TJsonWriter::FlushWhenLarge() {
    constexpr size_t flushFrom = size_t(1) << 20;
    if (fSink && fOut.size() >= flushFrom) Flush();
}

void TJsonWriter::Key(std::string_view key) {
    BeforeValue();
    RawString(key);
    fOut.append(fPretty ? ": " : ":");
    fAfterKey = true;
}

void TJsonWriter::String(std::string_view s) {
    BeforeValue();
    RawString(s);
}

void TJsonWriter::RawString(std::string_view s) {
    fOut.push_back('"');
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            fOut.append("\\\"");
            break;
        case '\\':
            fOut.append("\\\\");
            break;
        case '\n':
            fOut.append("\\n");
            break;
        case '\r':
            fOut.append("\\r");
            break;
        case '\t':
            fOut.append("\\t");
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                fOut.append(buf);
            } else {
                fOut.push_back(char(c));
            }
        }
    }
    fOut.push_back('"');
}

void TJsonWriter::Int(int64_t v) {
    BeforeValue();
    fOut.append(std::to_string(v));
}

void TJsonWriter::Float(double v) {
    BeforeValue();
    if (!std::isfinite(v)) {
        fOut.append("null");
        return;
    }
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    fOut.append(buf, r.ptr);
}

void TJsonWriter::Bool(bool v) {
    BeforeValue();
    fOut.append(v ? "true" : "false");
}

void TJsonWriter::Null() {
    BeforeValue();
    fOut.append("null");
}

void TJsonWriter::Point(TPoint p) {
    BeforeValue();
    fOut.push_back('[');
    fOut.append(std::to_string(p.X));
    fOut.append(", ");
    fOut.append(std::to_string(p.Y));
    fOut.push_back(']');
}

void TJsonWriter::Point(double x, double y) {
    const auto number = [this](double v) {
        if (!std::isfinite(v)) {
            fOut.append("null");
            return;
        }
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        fOut.append(buf, r.ptr);
    };
    BeforeValue();
    fOut.push_back('[');
    number(x);
    fOut.append(", ");
    number(y);
    fOut.push_back(']');
}

void TJsonWriter::Color(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", ColorRed(c), ColorGreen(c), ColorBlue(c));
    String(buf);
}

void TJsonWriter::Field(std::string_view key, const std::vector<std::string>& list) {
    Key(key);
    BeginArray();
    for (const auto& s : list)
        String(s);
    EndArray();
}
