#include "data/calendar.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(Calendar, AcademicYearAndWeekdayNames)
{
    EXPECT_EQ(academicYearStart(QDate(2007, 8, 31)), QDate(2006, 9, 1));
    EXPECT_EQ(academicYearStart(QDate(2007, 9, 1)), QDate(2007, 9, 1));
    EXPECT_EQ(academicYearStart(QDate(2008, 1, 1)), QDate(2007, 9, 1));
    const std::pair<const char *, int> names[] = {
        {"Пн", 1},  {"ПОНЕДЕЛЬНИК", 1}, {"втр", 2},   {"Среда", 3}, {"чет", 4},
        {"птн", 5}, {"сбт", 6},         {"ВОСКР", 7}, {"вс", 7},    {" пн", 0},
        {"пн ", 0}, {"понед", 0},       {"", 0},
    };
    for (const auto &[text, day] : names)
        EXPECT_EQ(weekdayNumber(QString::fromUtf8(text)), day) << text;
}

class CalendarDocument : public DocumentTest
{
protected:
};

TEST_F(CalendarDocument, WorkingWeeksLeaveOutTheRestPeriodsBegun)
{
    // The academic year of 1.10.2007 begins on Saturday 1.09: its week begins on Monday 27.08.
    const QDate today(2007, 10, 1);
    const QDate week10 = QDate(2007, 8, 27).addDays(63);
    const struct
    {
        const char *name;
        QDate restFrom, restTo, date;
        int week;
    } cases[] = {
        {"first Monday", {}, {}, QDate(2007, 8, 27), 1},
        {"its Sunday", {}, {}, QDate(2007, 9, 2), 1},
        {"two weeks Monday to Sunday", {2007, 10, 1}, {2007, 10, 14}, week10, 8},
        {"Wednesday to the Tuesday two weeks on", {2007, 10, 3}, {2007, 10, 16}, week10, 9},
        {"counted in full once begun", {2007, 10, 1}, {2007, 10, 14}, {2007, 10, 2}, 4},
        {"yet to come", {2007, 10, 15}, {2007, 10, 28}, {2007, 10, 2}, 6},
        {"shorter than a week", {2007, 10, 1}, {2007, 10, 6}, week10, 10},
        {"no end", {2007, 10, 1}, {}, week10, 10},
        {"a date of the next year", {}, {}, {2008, 9, 1}, 54},
    };
    for (const auto &c : cases) {
        b.db().execute("DELETE * FROM tblAutoTable;");
        if (c.restFrom.isValid())
            b.period("Rest", c.restFrom, c.restTo);
        EXPECT_EQ(workingWeekNumber(session, c.date, today), c.week) << c.name;
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(CalendarDocument, OnlyTheRestPeriodsOfTheCurrentStudyPeriodCount)
{
    // A document kept since 2005: the vacations of past years are still in it.
    const QDate today(2007, 10, 1);
    const QDate week10 = QDate(2007, 8, 27).addDays(63);
    b.period("Rest", {2005, 12, 26}, {2006, 1, 8});
    b.period("Rest", {2006, 12, 25}, {2007, 1, 7});
    b.period("Rest", {2007, 6, 25}, {2007, 8, 26});
    b.period("Rest", {2007, 10, 1}, {2007, 10, 14});
    const struct
    {
        const char *name;
        QDate sessionFrom, sessionTo;
        int week;
    } cases[] = {
        {"no study period: the academic year", {}, {}, 8},
        {"this year's study period", {2007, 9, 1}, {2008, 6, 30}, 8},
        {"a study period that began in the summer", {2007, 6, 1}, {2008, 6, 30}, -1},
    };
    for (const auto &c : cases) {
        b.db().execute("DELETE * FROM tblAutoTable WHERE DateType = 'Session';");
        if (c.sessionFrom.isValid())
            b.period("Session", c.sessionFrom, c.sessionTo);
        EXPECT_EQ(workingWeekNumber(session, week10, today), c.week) << c.name;
    }
}

TEST_F(CalendarDocument, TimetableDayKeyAddsOneRowPerDateProtectedAsTheSettingSays)
{
    const QDate date(2007, 9, 3);
    store.writeBool("Settings", "SaveCurrTable", true);
    const int key = timetableDayKey(session, store, date);
    store.writeBool("Settings", "SaveCurrTable", false);
    EXPECT_EQ(timetableDayKey(session, store, date), key);
    const int next = timetableDayKey(session, store, date.addDays(1));
    EXPECT_EQ(
        b.raw("SELECT Key, Date, ReadOnly FROM tblTimeTableList ORDER BY Key"),
        QStringList({QString("%1|2007-09-03|1").arg(key), QString("%1|2007-09-04|0").arg(next)}));
    // The document itself refuses a second row for a date.
    EXPECT_ANY_THROW(b.db().execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/3/2007#)"));

    // Nothing to read: 0; no document: the user is asked for one first.
    b.raw("DROP TABLE tblTimeTableList");
    Database::forgetAll();
    EXPECT_EQ(timetableDayKey(session, store, date), 0);
    DocumentSession none{prompts, store, {folder.path(), folder.path()}};
    prompts.fileAnswers.push_back(std::nullopt);
    EXPECT_EQ(workingWeekNumber(none, date), 0);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::OpenFile).size(), 1);
}

} // namespace
} // namespace korvesta
