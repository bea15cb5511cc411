// Marking a tutor's busy time and removing the marks, checked row by row in the document.

#include "editing/tutorexceptions.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using Answer = Prompts::Answer;

class TutorExceptionsTest : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        History::attach(*session.access());
    }
    // Weekday, lesson, date and kind of each of the tutor's rows.
    QStringList rows(int tutor) const
    {
        return b.raw(QString("SELECT FreeDay, FreeLesson, FreeLocalDate, KeyTypeOut FROM "
                             "tblTutorOut WHERE KeyTutor = %1 ORDER BY FreeLocalDate, FreeDay, "
                             "FreeLesson")
                         .arg(tutor));
    }

    int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    QDate monday = QDate(2026, 9, 14);

    SettingsRecord settings;
    TutorExceptions exceptions{session, settings, prompts};
};

TEST_F(TutorExceptionsTest, AMarkReplacesWhatTheCellHeldKeptTheSameWay)
{
    settings.WorkDays = 5;
    const std::vector<BusyCell> mondayThird = {{3, monday, 1}};
    ASSERT_TRUE(exceptions.mark(ivanov, 2, MarkBy::Weekday, mondayThird));
    ASSERT_TRUE(exceptions.mark(ivanov, 1, MarkBy::Date, mondayThird));
    ASSERT_TRUE(exceptions.mark(ivanov, 4, MarkBy::Weekday, mondayThird));
    // Saturday is past the working days; another tutor's marks are his own.
    EXPECT_TRUE(exceptions.mark(ivanov, 3, MarkBy::Weekday,
                                {{2, QDate(), 6}, {2, QDate(), 2}}));
    EXPECT_FALSE(exceptions.mark(ivanov, 3, MarkBy::Weekday, {{2, QDate(), 6}}));
    EXPECT_TRUE(exceptions.mark(petrov, 1, MarkBy::Weekday, mondayThird));
    EXPECT_EQ(rows(ivanov), QStringList({"1|3||4", "2|2||3", "|3|2026-09-14|1"}));

    settings.WorkDays = 6;
    EXPECT_TRUE(exceptions.mark(ivanov, 3, MarkBy::Weekday, {{2, QDate(), 6}}));
    EXPECT_EQ(rows(ivanov).size(), 4);
}

TEST_F(TutorExceptionsTest, RemovalAsksThenTakesTheDatesAndTheWeekdaysMarks)
{
    ASSERT_TRUE(exceptions.mark(ivanov, 2, MarkBy::Weekday, {{3, monday, 1}, {4, monday, 1}}));
    ASSERT_TRUE(exceptions.mark(ivanov, 1, MarkBy::Date, {{3, monday, 1}}));
    ASSERT_TRUE(exceptions.mark(petrov, 1, MarkBy::Date, {{3, monday, 1}}));

    prompts.answers = {Answer::No, Answer::Yes, Answer::Yes};
    EXPECT_FALSE(exceptions.remove(ivanov, "Иванов", MarkBy::Date, {{3, monday, 1}}));
    EXPECT_EQ(rows(ivanov).size(), 3);
    EXPECT_EQ(prompts.shown.back().text,
              "Удаляется запись о свободном времени\r\nпреподавателя Иванов\r\nна дату "
              "14.09.2026\r\n\r\nПродолжить?");
    EXPECT_TRUE(exceptions.remove(ivanov, "Иванов", MarkBy::Date, {{3, monday, 1}}));
    EXPECT_EQ(rows(ivanov), QStringList({"1|4||2"}));
    EXPECT_EQ(rows(petrov).size(), 1);
    // Nothing marked there: nothing removed.
    EXPECT_FALSE(exceptions.remove(ivanov, "Иванов", MarkBy::Weekday, {{5, monday, 1}}));
    EXPECT_TRUE(prompts.shown.back().text.contains("на урок 5"));
}

TEST_F(TutorExceptionsTest, AMarkOfManyCellsIsOneUndoableStep)
{
    ASSERT_TRUE(exceptions.mark(ivanov, 2, MarkBy::Weekday, {{3, monday, 1}}));
    const QStringList before = rows(ivanov);
    ASSERT_TRUE(exceptions.mark(ivanov, 4, MarkBy::Weekday,
                                {{1, monday, 1}, {2, monday, 1}, {3, monday, 1}}));
    History *history = History::of(*session.access());
    ASSERT_TRUE(history);
    history->undo();
    EXPECT_EQ(rows(ivanov), before);
    history->redo();
    EXPECT_EQ(rows(ivanov), QStringList({"1|1||4", "1|2||4", "1|3||4"}));
}

} // namespace
} // namespace korvesta
