#include "data/sqltext.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(SqlText, QuotesAndDoublesApostrophes)
{
    const struct
    {
        const char *value;
        const char *expected;
    } cases[] = {
        {"Иванов", "'Иванов'"},
        {"Д'Артаньян", "'Д''Артаньян'"},
        {"O''Neil", "'O''''Neil'"},
        {"'", "''''"},
        {"", "''"},
        {"две\r\nстроки", "'две\r\nстроки'"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sqlText(QString::fromUtf8(c.value)), QString::fromUtf8(c.expected))
            << c.value;
    }
}

TEST(SqlText, DatesAreMonthDayYearWithoutLeadingZeros)
{
    const struct
    {
        QDate date;
        const char *text;
    } cases[] = {
        {QDate(2008, 1, 5), "1/5/2008"},
        {QDate(2023, 12, 31), "12/31/2023"},
        {QDate(2024, 2, 29), "2/29/2024"},
        {QDate(2009, 10, 1), "10/1/2009"},
        {QDate(25, 3, 7), "3/7/0025"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sqlDateText(c.date), QLatin1String(c.text));
        EXPECT_EQ(sqlDateLiteral(c.date), QLatin1Char('#') + QLatin1String(c.text) + '#');
    }
    EXPECT_EQ(sqlDateText(QDate()), QString());
    EXPECT_EQ(sqlDateLiteral(QDate()), QStringLiteral("Null"));
}

} // namespace
} // namespace korvesta
