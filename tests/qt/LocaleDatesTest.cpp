#include "qt/LocaleDates.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

constexpr double March15th2024 = 45366;

double DayCountOf(const QDate& d) {
    return double(QDate(1899, 12, 30).daysTo(d));
}

TEST(LocaleDates, UnitedStatesShortDates) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    ASSERT_EQ(us.dateFormat(QLocale::ShortFormat), "M/d/yy");
    EXPECT_EQ(ParseLocaleShortDate("3/15/24", us), March15th2024);
    EXPECT_EQ(ParseLocaleShortDate(" 03/15/2024 ", us), March15th2024);
    EXPECT_EQ(ParseLocaleShortDate("3-15-2024", us), March15th2024);
    EXPECT_EQ(ParseLocaleShortDate("15/3/24", us), std::nullopt);
    EXPECT_EQ(ParseLocaleShortDate("3/15", us), DayCountOf(QDate(QDate::currentDate().year(), 3, 15)));
}

TEST(LocaleDates, GermanShortDates) {
    const QLocale de(QLocale::German, QLocale::Germany);
    ASSERT_EQ(de.dateFormat(QLocale::ShortFormat), "dd.MM.yy");
    EXPECT_EQ(ParseLocaleShortDate("15.03.24", de), March15th2024);
    EXPECT_EQ(ParseLocaleShortDate("15.3.2024", de), March15th2024);
    EXPECT_EQ(ParseLocaleShortDate("3/15/24", de), std::nullopt);
    EXPECT_EQ(ParseLocaleShortDate("31.02.2024", de), std::nullopt);
    EXPECT_EQ(ParseLocaleShortDate("29.02.2024", de), DayCountOf(QDate(2024, 2, 29)));
}

TEST(LocaleDates, TextsThatAreNoDates) {
    const QLocale de(QLocale::German, QLocale::Germany);
    for (const char* text : {"", "soon", "15.03.2024 12:00", "1.2.3.4", "15.03.123456", "0.0.0"})
        EXPECT_EQ(ParseLocaleShortDate(text, de), std::nullopt) << text;
}

} // namespace
