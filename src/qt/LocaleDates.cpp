#include "qt/LocaleDates.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <chrono>
#include <vector>

namespace {

constexpr int CenturyWindow = 50;
constexpr int DaysFrom1899To1970 = 25569;

std::optional<double> DayCount(int y, int m, int d) {
    using namespace std::chrono;
    const year_month_day ymd{year(y), month(unsigned(m)), day(unsigned(d))};
    if (y < 1 || y > 9999 || !ymd.ok()) return std::nullopt;
    return double(sys_days(ymd).time_since_epoch().count() + DaysFrom1899To1970);
}

// Positions of day, month and year in the format, skipping quoted literal text; -1 for a field
// the format lacks.
std::array<int, 3> FieldOrder(const QString& format) {
    std::array<qsizetype, 3> first{-1, -1, -1};
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') quoted = !quoted;
        if (quoted) continue;
        const int field = c == u'd' ? 0 : c == u'M' ? 1 : c == u'y' ? 2 : -1;
        if (field >= 0 && first[size_t(field)] < 0) first[size_t(field)] = i;
    }
    std::array<int, 3> rank{-1, -1, -1};
    for (int f = 0; f < 3; ++f) {
        if (first[size_t(f)] < 0) continue;
        rank[size_t(f)] = 0;
        for (int g = 0; g < 3; ++g)
            if (first[size_t(g)] >= 0 && first[size_t(g)] < first[size_t(f)]) ++rank[size_t(f)];
    }
    return rank;
}

} // namespace

std::optional<double> ParseLocaleShortDate(const std::string& text, const QLocale& locale) {
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size())).trimmed();
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const std::array<int, 3> rank = FieldOrder(format);

    // The numbers of the text with their digit counts; letters make it no numeric date.
    std::vector<std::pair<int, int>> numbers;
    bool letters = false;
    for (qsizetype i = 0; i < s.size();) {
        if (s[i].isDigit()) {
            int value = 0, digits = 0;
            for (; i < s.size() && s[i].isDigit(); ++i, ++digits)
                if (digits < 5) value = value * 10 + s[i].digitValue();
            if (digits > 4) return std::nullopt;
            numbers.emplace_back(value, digits);
        } else {
            letters |= s[i].isLetter();
            ++i;
        }
    }
    if (letters || rank[0] < 0 || rank[1] < 0 || rank[2] < 0) {
        // Month names or an unusual format: the locale's own reading, as far as it goes.
        const QDate date = locale.toDate(s, QLocale::ShortFormat);
        if (!date.isValid()) return std::nullopt;
        return DayCount(date.year(), date.month(), date.day());
    }
    const int currentYear = QDate::currentDate().year();
    int day, month, year;
    if (numbers.size() == 3) {
        day = numbers[size_t(rank[0])].first;
        month = numbers[size_t(rank[1])].first;
        const auto [y, digits] = numbers[size_t(rank[2])];
        year = y;
        if (digits <= 2) {
            const int threshold = currentYear - CenturyWindow;
            year = threshold / 100 * 100 + y;
            if (year < threshold) year += 100;
        }
    } else if (numbers.size() == 2) {
        // Day and month in the format's order, the year left out.
        const bool dayFirst = rank[0] < rank[1];
        day = numbers[dayFirst ? 0 : 1].first;
        month = numbers[dayFirst ? 1 : 0].first;
        year = currentYear;
    } else {
        return std::nullopt;
    }
    return DayCount(year, month, day);
}

std::optional<double> ParseUserLocaleDate(const std::string& text) {
    return ParseLocaleShortDate(text, QLocale::system());
}

char UserDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? char(point[0].unicode()) : '.';
}
