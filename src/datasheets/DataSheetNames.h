#pragma once
// The names a component's datasheet value holds, and which of them to open.
#include <optional>
#include <string>
#include <vector>

// Longest datasheet name taken from a drawing; longer ones are refused as damaged.
inline constexpr size_t MaxDataSheetNameLength = 200;

// True when Name may be used as a file name and as one URL path segment: not empty, not "." or
// "..", no "/" or "\", no control characters, valid UTF-8, at most MaxDataSheetNameLength bytes.
// Names from a drawing are outside data; a refused name is not looked up anywhere.
bool IsPlainDataSheetName(const std::string& name);

// Name without a trailing ".pdf" (case ignored); any other extension stays.
std::string StripPdfExtension(const std::string& name);

// The parts of a value split at every ";": empty parts between two separators remain, a trailing
// empty part is dropped, nothing is trimmed.
std::vector<std::string> SplitDataSheetValue(const std::string& value);

// For a value of exactly two names where one is the other with "_US" inserted: the metric one
// when Metric, else the "_US" one. Nothing for every other value.
std::optional<std::string> PickDataSheetByUnits(const std::string& value, bool metric);

// The names of Value to look up, in order: one name, the pick by units, or every part.
std::vector<std::string> DataSheetNamesToShow(const std::string& value, bool metric);

// S as one URL path segment: RFC 3986's unreserved characters stay, every other byte is %XX.
std::string EncodeURLPathSegment(const std::string& s);
