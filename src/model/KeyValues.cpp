#include "model/KeyValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace

std::string_view TrimRecordText(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlankChar(s[b]))
        ++b;
    while (e > b && IsBlankChar(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string UpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = UpperChar(c);
    return r;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    return true;
}

void SplitKeyValue(std::string_view line, std::string& key, std::string& value) {
    size_t eq = line.find('=');
    std::string_view k = TrimRecordText(eq == std::string_view::npos ? line : line.substr(0, eq));
    key.assign(k);
    for (char& c : key)
        c = UpperChar(c);
    if (eq == std::string_view::npos)
        value.clear();
    else
        value.assign(TrimRecordText(line.substr(eq + 1)));
}

std::string BoolToYesNo(bool b) {
    return b ? "Yes" : "No";
}

bool YesNoToBool(std::string_view text) {
    return SameTextAscii(TrimRecordText(text), "YES");
}

std::optional<int32_t> ParseRecordInt(std::string_view text) {
    text = TrimRecordText(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int32_t v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 10);
    if (ec != std::errc() || p != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<double> TryParseRecordFloat(std::string_view text) {
    text = TrimRecordText(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits, one point and an exponent: no hexadecimal, no "inf" or "nan".
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return std::nullopt;
    double v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

double ParseRecordFloat(std::string_view text, double defaultValue) {
    return TryParseRecordFloat(text).value_or(defaultValue);
}

std::string FormatFixed(double value, int decimals) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

void TrimTrailingZeros(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    // The point stops the search, so something is always left.
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
}

std::string FormatRecordFloat(int digits, double value) {
    if (digits < 0) digits = 0;
    if (digits > 18) digits = 18;
    float single = static_cast<float>(value);
    if (!std::isfinite(single)) return "0";
    // Seven significant digits first, then the fixed-point form with the requested decimals.
    // to_chars is used throughout: it ignores the process locale, which a GUI may have set.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, double(single), std::chars_format::scientific, 6);
    double rounded = 0;
    std::from_chars(buf, r.ptr, rounded);
    int exponent = rounded == 0 ? 0 : int(std::floor(std::log10(std::fabs(rounded))));
    if (exponent >= 7) {
        // More integer digits than significant ones: scientific notation, which readers accept.
        std::string s(buf, r.ptr);
        size_t e = s.find('e');
        std::string mant = s.substr(0, e), exp = s.substr(e + 1);
        TrimTrailingZeros(mant);
        return mant + "E" + exp;
    }
    std::string s = FormatFixed(rounded, digits);
    TrimTrailingZeros(s);
    if (s == "-0") s = "0";
    return s;
}

bool SameFloat(double a, double b) {
    double tol = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
    return std::fabs(a - b) <= tol;
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size(), i = 0;
    while (i < n) {
        // Fast path over ASCII, eight bytes at a time.
        while (i + 8 <= n) {
            uint64_t w;
            std::memcpy(&w, s + i, 8);
            if (w & 0x8080808080808080ull) break;
            i += 8;
        }
        if (i >= n) break;
        unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (int k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += len;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    static const uint16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
            continue;
        }
        uint32_t cp = (c < 0xA0) ? high[c - 0x80] : c;
        if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool HasUtf8ByteOrderMark(const std::string& fileName) {
    std::ifstream f(fileName, std::ios::binary);
    if (!f) return false;
    char b[3];
    f.read(b, 3);
    return f.gcount() == 3 && b[0] == '\xEF' && b[1] == '\xBB' && b[2] == '\xBF';
}

// ---------------------------------------------------------------------------------------------

TRecordReader::TRecordReader(std::string&& text, TRecordVariant variant)
    : fOwned(std::move(text)), fText(fOwned), fVariant(variant) {
    if (fText.starts_with("\xEF\xBB\xBF")) fPos = 3;
}

TRecordReader::TRecordReader(std::string_view text, TRecordVariant variant) : fText(text), fVariant(variant) {
    if (fText.starts_with("\xEF\xBB\xBF")) fPos = 3;
}

bool TRecordReader::ReadLine(std::string_view& line) {
    if (fPos >= fText.size()) return false;
    const char* base = fText.data();
    size_t n = fText.size();
    size_t start = fPos, i = fPos;
    if (fVariant == TRecordVariant::UniCode) {
        // CR LF, lone LF and lone CR all end a line.
        while (i < n && base[i] != '\n' && base[i] != '\r')
            ++i;
        line = std::string_view(base + start, i - start);
        if (i < n && base[i] == '\r') ++i;
        if (i < n && base[i] == '\n') ++i;
    } else {
        // The legacy variant breaks lines at LF only; a CR before it belongs to the break.
        while (i < n && base[i] != '\n')
            ++i;
        size_t end = i;
        if (end > start && base[end - 1] == '\r') --end;
        line = std::string_view(base + start, end - start);
        if (i < n) ++i;
    }
    fPos = i;
    return true;
}

bool TRecordReader::ReadRecordLine(std::string& key, std::string& value) {
    std::string_view line;
    if (!ReadLine(line)) return false;
    if (line.empty() || line.front() == '*') return false;
    SplitKeyValue(line, key, value);
    // A line of spaces only is blank, too.
    return !key.empty() || !value.empty() || line.find('=') != std::string_view::npos;
}

bool TRecordReader::ReadRecordLineUnfiltered(std::string& key, std::string& value) {
    std::string_view line;
    if (!ReadLine(line)) return false;
    if (line.empty()) return false;
    SplitKeyValue(line, key, value);
    return true;
}

bool TRecordReader::NextTopLevelKey(std::string& key, std::string& value, std::string_view terminator) {
    while (!AtEnd())
        if (ReadRecordLine(key, value)) return key != terminator;
    return false;
}

bool TRecordReader::NextKey(std::string& key, std::string& value, std::string_view terminator) {
    while (!AtEnd())
        if (ReadRecordLine(key, value)) return key != terminator;
    ++fDamagedRecords;
    return false;
}

void TRecordReader::SkipRecord() {
    ++fDamagedRecords;
    int depth = 1;
    std::string key, value;
    // Table cells open with "...START:" and close with "...END." rather than "END...", and an
    // I-border's comment line is a key with a colon whose value may be empty: neither may throw
    // the count off, or the skip would run to the end of the file.
    const auto opens = [](const std::string& k) {
        return k.size() > 1 && k.back() == ':' && k != "COMMENTS:";
    };
    const auto closes = [](const std::string& k) {
        const std::string_view v(k);
        return v.size() > 3 && v.back() == '.' && (v.substr(0, 3) == "END" || v.ends_with("END."));
    };
    while (depth > 0 && !AtEnd()) {
        if (!ReadRecordLine(key, value) || !value.empty()) continue;
        if (opens(key))
            ++depth;
        else if (closes(key))
            --depth;
    }
}

// ---------------------------------------------------------------------------------------------

void TRecordWriter::WriteRecordLine(std::string_view text) {
    fText.append(text);
    fText.append("\r\n");
}

void TRecordWriter::WriteKey(std::string_view key, std::string_view value) {
    fText.append(key);
    fText.push_back('=');
    fText.append(value);
    fText.append("\r\n");
}

void TRecordWriter::WriteStringIfChanged(std::string_view key, std::string_view value, std::string_view def) {
    if (value != def) WriteKey(key, value);
}

void TRecordWriter::WriteBoolIfChanged(std::string_view key, bool value, bool def) {
    if (value != def) WriteBool(key, value);
}

void TRecordWriter::WriteIntIfChanged(std::string_view key, int64_t value, int64_t def) {
    if (value != def) WriteInt(key, value);
}

void TRecordWriter::WriteFloatIfChanged(std::string_view key, double def, double value) {
    if (!SameFloat(value, def)) WriteFloat(key, value);
}

void TRecordWriter::WritePointIfChanged(std::string_view key, TPoint value, TPoint def) {
    if (value != def) WriteKey(key, std::to_string(value.X) + "," + std::to_string(value.Y));
}

void TRecordWriter::WriteFloat(std::string_view key, double value) {
    WriteKey(key, FormatRecordFloat(5, value));
}
void TRecordWriter::WriteInt(std::string_view key, int64_t value) {
    WriteKey(key, std::to_string(value));
}
void TRecordWriter::WriteBool(std::string_view key, bool value) {
    WriteKey(key, BoolToYesNo(value));
}

void TRecordWriter::WritePointRecord(std::string_view name, TPoint p) {
    WriteRecordLine(std::string("  ") + std::string(name));
    WriteInt("    X", p.X);
    WriteInt("    Y", p.Y);
    WriteRecordLine("  End.");
}

// ---------------------------------------------------------------------------------------------

void TKeyValue::Clear() {
    fKey.clear();
    fValue.clear();
    fHasKey = fHasKeyAndValue = fIsEnd = false;
}

void TKeyValue::ParseFromString(std::string_view s) {
    Clear();
    s = TrimRecordText(s);
    if (s.empty()) return;
    size_t eq = s.find('=');
    if (eq != std::string_view::npos) {
        fKey.assign(TrimRecordText(s.substr(0, eq)));
        fValue.assign(TrimRecordText(s.substr(eq + 1)));
        fHasKeyAndValue = true;
    } else if (s.back() == ':' || s.back() == '.') {
        fHasKey = true;
        fKey.assign(s);
        fIsEnd = SameTextAscii(s, "End.");
    }
}

bool TKeyValue::IsKey(std::string_view s) const {
    if (!fHasKey && !fHasKeyAndValue) return false;
    return SameTextAscii(fKey, s);
}

void TKeyValue::TrimKey() {
    std::erase(fKey, ' ');
}

int IndexOfName(std::string_view value, const std::string_view* names, int count) {
    for (int i = 0; i < count; ++i)
        if (SameTextAscii(value, names[i])) return i;
    return -1;
}
