#pragma once
// The line-oriented record text format shared by every persistent class: line reading in the
// two text variants, the key/value split, value conversions and the write-if-changed writers.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/Points.h"

// Raised when the current-variant reader meets bytes that are not valid UTF-8; the document
// loader answers it by reading the file again in the legacy single-byte variant.
class EUtf8DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Trims characters of code 32 or less at both ends.
std::string_view TrimRecordText(std::string_view s);
// Upper-cases the ASCII letters only.
std::string UpperAscii(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);

void SplitKeyValue(std::string_view line, std::string& key, std::string& value);

std::string BoolToYesNo(bool b);
bool YesNoToBool(std::string_view text);

// Decimal 32-bit integer; nullopt when the text is not one (the caller keeps its default).
std::optional<int32_t> ParseRecordInt(std::string_view text);
// "." is the decimal separator whatever the locale; sign and exponent accepted. Non-finite
// values are not numbers here.
double ParseRecordFloat(std::string_view text, double defaultValue);
std::optional<double> TryParseRecordFloat(std::string_view text);
// Stores the float of text in field; text that is no number leaves the field as it was.
inline void ReadFloatKeeping(double& field, std::string_view text) {
    if (const auto v = TryParseRecordFloat(text)) field = *v;
}
std::string FormatRecordFloat(int digits, double value);
// Drops the zeros after the decimal point, and the point itself when nothing follows it; a
// text without "." is left alone, so that "100" keeps its zeros.
void TrimTrailingZeros(std::string& text);
// Fixed-point text with "." whatever the process locale.
std::string FormatFixed(double value, int decimals);
// Relative tolerance used by the writers and by Compare.
bool SameFloat(double a, double b);

bool IsValidUtf8(std::string_view bytes);
// Decodes Windows-1252 bytes into UTF-8 (the legacy variant's code page).
std::string Windows1252ToUtf8(std::string_view bytes);
bool HasUtf8ByteOrderMark(const std::string& fileName);

enum class TRecordVariant : uint8_t { UniCode, Legacy };

// Reads record lines from text held in memory. The text is UTF-8 in both variants: the legacy
// variant has been decoded from its code page before it reaches the reader.
class TRecordReader {
public:
    // Reads text it owns.
    TRecordReader(std::string&& text, TRecordVariant variant);
    // Reads text owned by the caller, which must outlive the reader.
    TRecordReader(std::string_view text, TRecordVariant variant);
    TRecordReader(const char* text, TRecordVariant variant)
        : TRecordReader(std::string_view(text), variant) {}

    TRecordVariant Variant() const { return fVariant; }
    bool IsLegacy() const { return fVariant == TRecordVariant::Legacy; }
    bool AtEnd() const { return fPos >= fText.size(); }

    // Next raw line, without its line break; false at the end of the text.
    bool ReadLine(std::string_view& line);
    // ReadRecordLine / ReadLegacyRecordLine: false for blank and comment lines.
    bool ReadRecordLine(std::string& key, std::string& value);
    // As ReadRecordLine but "*" lines are split like any other.
    bool ReadRecordLineUnfiltered(std::string& key, std::string& value);
    // The next key of the record being read, passing over blank and comment lines; false at the
    // record's terminator, which is consumed, and at the end of the text, where the record counts
    // as damaged: the text was cut off inside it.
    bool NextKey(std::string& key, std::string& value, std::string_view terminator);
    // The same for the top level of a file, which may end with the text.
    bool NextTopLevelKey(std::string& key, std::string& value, std::string_view terminator);
    // Records cut off by the end of the text or skipped unread for their depth.
    int DamagedRecords() const { return fDamagedRecords; }
    // For blocks whose readers find the end of a record themselves.
    void CountDamagedRecord() { ++fDamagedRecords; }

    // Nesting depth of records being read; readers refuse to open records deeper than
    // MaxNestingDepth so that hostile files cannot exhaust the stack.
    int Depth() const { return fDepth; }
    static constexpr int MaxNestingDepth = 200;
    bool CanNest() const { return fDepth < MaxNestingDepth; }
    // Consumes a record that is too deep to read, up to and including its terminator, counting
    // the records nested in it without recursion.
    void SkipRecord();

    class TNest {
    public:
        explicit TNest(TRecordReader& r) : fReader(r) { ++fReader.fDepth; }
        ~TNest() { --fReader.fDepth; }
        TNest(const TNest&) = delete;
        TNest& operator=(const TNest&) = delete;

    private:
        TRecordReader& fReader;
    };

private:
    std::string fOwned;
    std::string_view fText;
    size_t fPos = 0;
    TRecordVariant fVariant;
    int fDepth = 0;
    int fDamagedRecords = 0;
};

// UTF-8 writer with CR LF line breaks.
class TRecordWriter {
public:
    void WriteRecordLine(std::string_view text);
    void WriteKey(std::string_view key, std::string_view value);
    void WriteStringIfChanged(std::string_view key, std::string_view value, std::string_view def);
    void WriteBoolIfChanged(std::string_view key, bool value, bool def);
    void WriteIntIfChanged(std::string_view key, int64_t value, int64_t def);
    void WriteFloatIfChanged(std::string_view key, double def, double value);
    void WritePointIfChanged(std::string_view key, TPoint value, TPoint def);
    void WriteFloat(std::string_view key, double value);
    void WriteInt(std::string_view key, int64_t value);
    void WriteBool(std::string_view key, bool value);
    void WritePointRecord(std::string_view name, TPoint p);

    const std::string& Text() const { return fText; }
    std::string& Text() { return fText; }

private:
    std::string fText;
};

// Key/value parser used by the ordering-code and joinable-port readers.
class TKeyValue {
public:
    void Clear();
    void ParseFromString(std::string_view s);
    bool IsKey(std::string_view s) const;
    void TrimKey();

    const std::string& Key() const { return fKey; }
    const std::string& Value() const { return fValue; }
    bool HasKey() const { return fHasKey; }
    bool HasKeyAndValue() const { return fHasKeyAndValue; }
    bool IsEnd() const { return fIsEnd; }
    bool BoolValue() const { return YesNoToBool(fValue); }
    int32_t IntValue() const { return ParseRecordInt(fValue).value_or(-1); }
    double FloatValue() const { return ParseRecordFloat(fValue, 0.0); }

private:
    std::string fKey;
    std::string fValue;
    bool fHasKey = false;
    bool fHasKeyAndValue = false;
    bool fIsEnd = false;
};

// Reads an enumeration name ignoring ASCII case; -1 when no name matches.
int IndexOfName(std::string_view value, const std::string_view* names, int count);
