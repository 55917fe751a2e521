#pragma once
// Dates typed in the user's short date format, as revision dates in the header attributes of
// older drawings hold them, converted into day counts (days since 30 December 1899).
#include <optional>
#include <string>

class QLocale;

// Reads the text in the order of day, month and year of the locale's short date format. The
// numbers may have one or two digits (four for the year) and any separators; a year of one or
// two digits falls in the hundred years around the current year (no more than 50 years back);
// a missing year is the current one. Nullopt when the text is no date of that format.
std::optional<double> ParseLocaleShortDate(const std::string& text, const QLocale& locale);
// The same in the user's locale; the hook the document uses while it loads.
std::optional<double> ParseUserLocaleDate(const std::string& text);
// The decimal separator of the user's number format; "." where the locale's is no single byte.
char UserDecimalSeparator();
