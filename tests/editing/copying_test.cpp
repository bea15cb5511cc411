// Copying the timetable of a day or a week and replicating a day: the refusals, what each
// destination date holds afterwards (read row by row past the program's dialect), the load
// limit, protected and holiday dates, Cancel, and the whole command undone as one step.

#include "editing/progress.h"
#include "editing/timetablecopying.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;
using Answer = Prompts::Answer;

// Records every status text; stops when asked to after a number of dates.
class RecordingProgress : public Progress
{
public:
    void status(const QString &text) override { texts << text; }
    void advance(int done, int total) override
    {
        EXPECT_LE(done, total);
        EXPECT_GE(done, last);
        last = done;
        lastTotal = total;
    }
    bool cancelled() override { return ++asked > stopAfter; }

    QStringList texts;
    int last = 0, lastTotal = 0;
    int asked = 0;
    int stopAfter = 1000;
};

// One lesson as the tests write and expect it.
struct Lesson
{
    int lesson, subGroup, group, job, aud, type;
};

// Two groups; Иванов teaches mathematics to both, Петров physics to П-1, Сидоров chemistry to
// П-1. Monday 14.09.2026 holds four lessons, Tuesday three of its own.
class Copying : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        for (const Lesson &l : mondayLessons)
            put(monday, l);
        for (const Lesson &l : tuesdayLessons)
            put(monday.addDays(1), l);
    }

    void put(const QDate &date, const Lesson &l)
    {
        b.lesson(date, l.lesson, l.job, l.group, l.aud, l.subGroup, l.type);
    }
    static QString text(const Lesson &l)
    {
        return QString::asprintf("%d|%d|%d|%d|%d|%d", l.lesson, l.subGroup, l.group, l.job, l.aud,
                                 l.type);
    }
    static QStringList texts(const std::vector<Lesson> &lessons)
    {
        QStringList result;
        for (const Lesson &l : lessons)
            result << text(l);
        std::sort(result.begin(), result.end());
        return result;
    }
    // The lessons of a date, sorted.
    QStringList on(const QDate &date) const
    {
        QStringList rows =
            b.raw(QString("SELECT c.Lesson, c.SubGroup, c.Key_Group, c.Key_Job, c.Key_Aud, "
                          "c.Key_TypeLesson FROM tblTimeTableContent c JOIN tblTimeTableList d ON "
                          "d.Key = c.Key_TTList WHERE d.Date = '%1'")
                      .arg(date.toString(Qt::ISODate)));
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // The dates that hold lessons, with their count, in date order.
    QStringList datesWithLessons() const
    {
        return b.raw("SELECT d.Date, count(*) FROM tblTimeTableContent c JOIN tblTimeTableList d "
                     "ON d.Key = c.Key_TTList GROUP BY d.Date ORDER BY d.Date");
    }
    qint64 readOnlyOf(const QDate &date) const
    {
        return b.rawNumber("SELECT ReadOnly FROM tblTimeTableList WHERE Date = '"
                           + date.toString(Qt::ISODate) + "'");
    }
    QStringList table(const char *name) const
    {
        return b.raw(QString("SELECT * FROM %1 ORDER BY Key").arg(name));
    }
    CopyReport run(CopyPeriod period, const QDate &source, const QDate &destination,
                   CopyOverwrite overwrite = CopyOverwrite::ClearFirst, bool replicate = false)
    {
        progress.last = 0;
        TimetableCopying copying(session, settings, store, prompts, progress);
        return copying.run({period, source, destination, overwrite, replicate});
    }
    CopyReport day(const QDate &s, const QDate &d,
                   CopyOverwrite overwrite = CopyOverwrite::ClearFirst)
    {
        return run(CopyPeriod::Day, s, d, overwrite);
    }
    QStringList messages() const { return prompts.texts(Kind::Message); }
    int line(int job, int group, int hours)
    {
        return b.add("tblJobList", {"Key_Job", job, "Key_Group", group, "Hours", hours});
    }

    QDate monday = QDate(2026, 9, 14);
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    int math = b.add("tblDisciplines", {"Discipline", "Матем"});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ"});
    int chem = b.add("tblDisciplines", {"Discipline", "Хим"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Главный"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    int sidorov = b.add("tblTutors", {"Tutor", "Сидоров"});
    int jm = b.job(ivanov, math), jp = b.job(petrov, phys), jc = b.job(sidorov, chem);
    int l1 = line(jm, g1, 100), l2 = line(jm, g2, 100), l3 = line(jp, g1, 100);
    int l4 = line(jc, g1, 100);

    std::vector<Lesson> mondayLessons = {
        {1, 0, g1, jm, a101, 1},
        {2, 1, g1, jm, a101, 2},
        {2, 2, g1, jp, a202, 2},
        {3, 0, g2, jm, a202, 1},
    };
    std::vector<Lesson> tuesdayLessons = {
        {2, 1, g1, jc, a202, 1}, // the same group, subgroup and lesson as a Monday lesson
        {3, 0, g1, jc, a101, 3}, // П-1 at lesson 3: Monday has П-2 there
        {5, 0, g2, jm, a101, 1},
    };

    SettingsRecord settings;
    RecordingProgress progress;
};

TEST_F(Copying, TheTwoWaysOfCopyingOntoADayWithLessons)
{
    // Clearing first leaves exactly Monday's lessons; copying over replaces only the lesson
    // of the same group and subgroup at the same lesson number and keeps the rest.
    const QDate tuesday = monday.addDays(1);
    const struct
    {
        CopyOverwrite overwrite;
        std::vector<Lesson> expected;
    } cases[] = {
        {CopyOverwrite::ClearFirst, mondayLessons},
        {CopyOverwrite::Over,
         {mondayLessons[0], mondayLessons[1], mondayLessons[2], mondayLessons[3], tuesdayLessons[1],
          tuesdayLessons[2]}},
    };
    for (const auto &c : cases) {
        b.raw(QString("DELETE FROM tblTimeTableContent WHERE Key_TTList = %1").arg(b.day(tuesday)));
        for (const Lesson &l : tuesdayLessons)
            put(tuesday, l);
        prompts.shown.clear();
        prompts.answers = {Answer::Yes};
        const CopyReport report = day(monday, tuesday, c.overwrite);
        EXPECT_EQ(report.outcome, CopyOutcome::Done);
        EXPECT_EQ(on(tuesday), texts(c.expected)) << int(c.overwrite);
        EXPECT_EQ(on(monday), texts(mondayLessons));
        EXPECT_EQ(report.rowsWritten, 4);
        EXPECT_EQ(report.rowsReplaced, c.overwrite == CopyOverwrite::ClearFirst ? 3 : 1);
        EXPECT_EQ(prompts.texts(Kind::YesNo),
                  QStringList{"На датах назначения уже есть занятия: 3.\r\n"
                              + QString(c.overwrite == CopyOverwrite::ClearFirst
                                            ? "Перед копированием они будут удалены."
                                            : "Занятия тех же групп на тех же уроках будут "
                                              "заменены копией.")
                              + "\r\n\r\nПродолжить?"});
        EXPECT_TRUE(report.skipped.empty());
    }
    EXPECT_TRUE(messages().isEmpty());
    // The date's row is the one it had; a note on it stays attached.
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableList"), 2);
    EXPECT_EQ(progress.texts.mid(0, 4),
              QStringList({"Копирование расписания\r\nпроверяется дата назначения",
                           "Копирование расписания\r\nкопируются данные из исхоного расписания",
                           "Копирование расписания\r\nпроводится запись данных",
                           "Скопировано дат: 1, занятий: 4; заменено занятий: 3"}));
    EXPECT_EQ(progress.texts.back(), "Скопировано дат: 1, занятий: 4; заменено занятий: 1")
        << "the summary comes once the copy is written";
    EXPECT_EQ(progress.last, progress.lastTotal);
}

TEST_F(Copying, CopyingOverKeepsEveryCopiedSubgroupOfOneLoadLine)
{
    // Two subgroups of one load line at one lesson: the second copy must not replace the
    // first, though the line is the same.
    const QDate wednesday = monday.addDays(2);
    b.raw("DELETE FROM tblTimeTableContent");
    const std::vector<Lesson> split = {{4, 1, g1, jm, a101, 3}, {4, 2, g1, jm, a101, 3}};
    for (const Lesson &l : split)
        put(monday, l);
    put(wednesday, {4, 1, g1, jp, a101, 1});
    prompts.answers = {Answer::Yes};
    day(monday, wednesday, CopyOverwrite::Over);
    EXPECT_EQ(on(wednesday), texts(split));
}

TEST_F(Copying, RefusalsWriteNothing)
{
    b.day(monday.addDays(3), true); // Thursday is protected
    b.period("Selebrate", monday.addDays(9), {});
    store.write("Settings", "WorkDays", "5");
    const QString before = table("tblTimeTableContent").join('\n');
    const struct
    {
        const char *name;
        CopyPeriod period;
        QDate source, destination;
        bool replicate;
        QString message;
    } cases[] = {
        {"onto itself", CopyPeriod::Day, monday, monday, false,
         "Дата нового расписания совпадает с датой исходного.\r\nВыберите другую дату "
         "назначения."},
        {"onto its own week", CopyPeriod::Week, monday, monday.addDays(4), false,
         "Неделя нового расписания совпадает с неделей исходного.\r\nВыберите другую неделю "
         "назначения."},
        {"replicated onto itself", CopyPeriod::Day, monday, monday, true,
         "Дата нового расписания совпадает с датой исходного.\r\nВыберите другую дату "
         "назначения."},
        {"protected", CopyPeriod::Day, monday, monday.addDays(3), false,
         "Расписание на 17.09.2026 года\r\nзаблокировано для редактирования\r\nОперация "
         "остановлена."},
        {"replicated up to a protected date", CopyPeriod::Day, monday, monday.addDays(3), true,
         "Расписание на 17.09.2026 года\r\nзаблокировано для редактирования\r\nОперация "
         "остановлена."},
        {"Saturday", CopyPeriod::Day, monday, monday.addDays(5), false, "Выбран нерабочий день"},
        {"replicated up to a Sunday", CopyPeriod::Day, monday, monday.addDays(13), true,
         "Выбран нерабочий день"},
        {"holiday", CopyPeriod::Day, monday, monday.addDays(9), false,
         "Дата 23.09.2026 приходится на каникулы или праздник\r\nОперация остановлена."},
        {"two years", CopyPeriod::Day, monday, monday.addYears(2), true,
         "Период размножения расписания длиннее года (14.09.2026 - 14.09.2028).\r\nПроверьте "
         "дату нового расписания."},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        const CopyReport report =
            run(c.period, c.source, c.destination, CopyOverwrite::ClearFirst, c.replicate);
        EXPECT_EQ(report.outcome, CopyOutcome::Refused) << c.name;
        EXPECT_EQ(messages(), QStringList({c.message})) << c.name;
        EXPECT_EQ(table("tblTimeTableContent").join('\n'), before) << c.name;
    }
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableList"), 3);
}

TEST_F(Copying, WeekCopiesTheWorkingDaysOnly)
{
    const QDate saturday = monday.addDays(5);
    put(saturday, {1, 0, g2, jm, a101, 1});
    put(monday.addDays(4), {6, 0, g1, jp, a202, 4}); // Friday
    const QDate next = monday.addDays(7);
    for (int workDays : {5, 6}) {
        store.write("Settings", "WorkDays", QString::number(workDays));
        b.raw("DELETE FROM tblTimeTableContent WHERE Key_TTList IN (SELECT Key FROM "
              "tblTimeTableList WHERE Date >= '2026-09-21')");
        // Any day of each week names it.
        const CopyReport report = run(CopyPeriod::Week, monday.addDays(2), next.addDays(3));
        EXPECT_EQ(report.outcome, CopyOutcome::Done);
        for (int i = 0; i < 7; ++i) {
            const QStringList expected = i < workDays ? on(monday.addDays(i)) : QStringList();
            EXPECT_EQ(on(next.addDays(i)), expected) << workDays << " day " << i;
        }
        // Wednesday and Thursday have nothing to copy and are passed over without a word.
        EXPECT_EQ(report.emptySource.size(), 2u);
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Copying, ReplicationGoesOverWorkingDaysInEitherDirection)
{
    // Monday 14.09 up to Friday 25.09: every working day after the Monday; backwards from
    // Friday 25.09 down to Monday 14.09 the same days, taking Friday's lessons.
    const QDate friday = monday.addDays(11);
    b.raw("DELETE FROM tblTimeTableContent");
    const std::vector<Lesson> fridayLessons = {{2, 0, g2, jm, a101, 1}};
    put(friday, fridayLessons.front());
    for (const Lesson &l : mondayLessons)
        put(monday, l);
    prompts.answers = {Answer::Yes}; // Friday holds a lesson
    run(CopyPeriod::Day, monday, friday, CopyOverwrite::Over, true);
    QStringList expected;
    for (const char *d : {"2026-09-14", "2026-09-15", "2026-09-16", "2026-09-17", "2026-09-18",
                          "2026-09-21", "2026-09-22", "2026-09-23", "2026-09-24"})
        expected << QString("%1|4").arg(d);
    expected << "2026-09-25|5"; // Friday's own lesson at 2 is another group's
    EXPECT_EQ(datesWithLessons(), expected);
    EXPECT_EQ(on(monday.addDays(8)), texts(mondayLessons));

    b.raw("DELETE FROM tblTimeTableContent");
    put(friday, fridayLessons.front());
    const CopyReport report = run(CopyPeriod::Day, friday, monday, CopyOverwrite::ClearFirst, true);
    ASSERT_EQ(report.copied.size(), 9u);
    EXPECT_EQ(report.copied.front(), friday.addDays(-1)); // nearest first
    EXPECT_EQ(report.copied.back(), monday);
    for (const QDate &d : report.copied)
        EXPECT_EQ(on(d), texts(fridayLessons)) << d.toString().toStdString();
    EXPECT_TRUE(on(monday.addDays(5)).isEmpty());
}

TEST_F(Copying, NewDatesAreProtectedUnderSaveCurrTable)
{
    const QDate tuesday = monday.addDays(1);
    const QDate wednesday = monday.addDays(2);
    settings.SaveCurrTable = true;
    prompts.answers = {Answer::Yes};
    day(monday, tuesday);   // an existing row, cleared first: protected like a new one
    day(monday, wednesday); // a new row
    EXPECT_EQ(readOnlyOf(tuesday), 1);
    EXPECT_EQ(readOnlyOf(wednesday), 1);
    EXPECT_EQ(readOnlyOf(monday), 0);
    settings.SaveCurrTable = false;
    day(monday, monday.addDays(3), CopyOverwrite::Over);
    EXPECT_EQ(readOnlyOf(monday.addDays(3)), 0);
    // The protected Wednesday now refuses a copy.
    prompts.shown.clear();
    EXPECT_EQ(day(tuesday, wednesday).outcome, CopyOutcome::Refused);
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(Copying, TheLoadLimitLeavesOutUsedUpLines)
{
    // Physics for П-1 has one hour, held on Monday; mathematics for П-2 has 2 hours, one held:
    // one more copy fits, the next does not.
    b.raw(QString("UPDATE tblJobList SET Hours = 1 WHERE Key = %1").arg(l3));
    b.raw(QString("UPDATE tblJobList SET Hours = 2 WHERE Key = %1").arg(l2));
    b.raw("DELETE FROM tblTimeTableContent WHERE Key_TTList <> (SELECT Key FROM tblTimeTableList "
          "WHERE Date = '2026-09-14')");
    const QDate wednesday = monday.addDays(2), thursday = monday.addDays(3);
    day(monday, wednesday);
    EXPECT_EQ(on(wednesday), texts({mondayLessons[0], mondayLessons[1], mondayLessons[3]}));
    day(monday, thursday);
    EXPECT_EQ(on(thursday), texts({mondayLessons[0], mondayLessons[1]}));

    // Over a period the copies made count, and so do the lessons a cleared date loses: with
    // 4 hours, 2 held (Monday, Wednesday), П-2 gets Tuesday, Wednesday again and Thursday.
    b.raw(QString("UPDATE tblJobList SET Hours = 4 WHERE Key = %1").arg(l2));
    prompts.answers = {Answer::Yes};
    const CopyReport period =
        run(CopyPeriod::Day, monday, monday.addDays(8), CopyOverwrite::ClearFirst, true);
    for (int i : {1, 2, 3, 4, 7, 8}) {
        const std::vector<Lesson> expected =
            i <= 3 ? std::vector<Lesson>{mondayLessons[0], mondayLessons[1], mondayLessons[3]}
                   : std::vector<Lesson>{mondayLessons[0], mondayLessons[1]};
        EXPECT_EQ(on(monday.addDays(i)), texts(expected)) << i;
    }
    // Every lesson left out is named with its reason: physics on each date, П-2's
    // mathematics from Friday on.
    QStringList skipped;
    for (const SkippedLesson &l : period.skipped)
        skipped << skippedLessonCells(l).join('|');
    QStringList expectedSkips;
    for (int i : {1, 2, 3, 4, 7, 8}) {
        const QString date = monday.addDays(i).toString("dd.MM.yyyy");
        expectedSkips << date + "|2|П-1 (1)|2|Физ|Петров|часы строки нагрузки отработаны";
        if (i > 3)
            expectedSkips << date + "|3|П-2 (1)||Матем|Иванов|часы строки нагрузки отработаны";
    }
    EXPECT_EQ(skipped, expectedSkips);

    // Without the limit every lesson goes.
    settings.JobOverFlow = false;
    const QDate next = monday.addDays(9);
    day(monday, next);
    EXPECT_EQ(on(next), texts(mondayLessons));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Copying, TheLessonsOfAClearedDestinationFreeTheirHours)
{
    // П-2's mathematics has 2 hours, both held: Monday's and Tuesday's. Tuesday, cleared first,
    // gives its hour back, and Monday's lesson fits.
    b.raw(QString("UPDATE tblJobList SET Hours = 2 WHERE Key = %1").arg(l2));
    prompts.answers = {Answer::Yes};
    day(monday, monday.addDays(1));
    EXPECT_EQ(on(monday.addDays(1)), texts(mondayLessons));

    // Copied over, the lesson it replaces frees its hour too: Tuesday's П-2 mathematics at
    // lesson 3 goes for Monday's, which fits in its place.
    b.raw(QString("DELETE FROM tblTimeTableContent WHERE Key_TTList = %1")
              .arg(b.day(monday.addDays(1))));
    put(monday.addDays(1), {3, 0, g2, jm, a202, 2});
    prompts.answers = {Answer::Yes};
    const CopyReport over = day(monday, monday.addDays(1), CopyOverwrite::Over);
    EXPECT_EQ(on(monday.addDays(1)), texts(mondayLessons));
    EXPECT_TRUE(over.skipped.empty());
    EXPECT_EQ(over.rowsReplaced, 1);
}

TEST_F(Copying, EveryLineUsedUpRefusesWithTheLongMessage)
{
    b.raw("UPDATE tblJobList SET Hours = 1");
    const QDate wednesday = monday.addDays(2);
    put(wednesday, {7, 0, g2, jc, a101, 1});
    const QStringList before = on(wednesday);
    for (CopyOverwrite overwrite : {CopyOverwrite::ClearFirst, CopyOverwrite::Over}) {
        prompts.shown.clear();
        prompts.answers = {Answer::Yes};
        const CopyReport report = day(monday, wednesday, overwrite);
        EXPECT_EQ(report.outcome, CopyOutcome::Refused);
        EXPECT_EQ(messages(),
                  QStringList({"Не могу скопировать расписание, потому что\r\n"
                               "У всех преподавателей, занятых на дату исходного расписания\r\n"
                               "полностью отработана нагрузка.\r\n\r\n"
                               "Но если Вы, таки, настаиваете на участии в этом безнадежном "
                               "деле,\r\n"
                               "то прежде отключите в Настройках функцию ограничения "
                               "переработки\r\n"
                               "или добавьте коллегам часов нагрузки,\r\n"
                               "только я Вам этого не говорил."}));
        EXPECT_EQ(prompts.shown.back().icon, Prompts::Icon::Warning);
        EXPECT_EQ(on(wednesday), before) << "the destination is left as it was";
    }
    // In a week the message comes once, and the week goes on.
    prompts.shown.clear();
    const CopyReport week = run(CopyPeriod::Week, monday, monday.addDays(7));
    EXPECT_EQ(messages().size(), 1);
    // Monday's and Tuesday's lines are used up; Wednesday's lesson has no load line to limit.
    EXPECT_EQ(week.loadUsedUp, std::vector<QDate>({monday.addDays(7), monday.addDays(8)}));
    EXPECT_EQ(week.copied, std::vector<QDate>({monday.addDays(9)}));
}

TEST_F(Copying, WeekAndReplicationPassProtectedAndHolidayDates)
{
    const QDate next = monday.addDays(7);
    for (int i = 0; i < 5; ++i)
        put(monday.addDays(i), {8, 0, g1, jm, a101, 1});
    b.day(next.addDays(1), true); // protected Tuesday
    b.lesson(next.addDays(1), 4, jp, g1, a202, 0, 1);
    b.period("Rest", next.addDays(3), next.addDays(4)); // Thursday and Friday off
    const QStringList protectedBefore = on(next.addDays(1));

    const CopyReport report = run(CopyPeriod::Week, monday, next);
    EXPECT_EQ(report.outcome, CopyOutcome::Done);
    EXPECT_EQ(report.copied, std::vector<QDate>({next, next.addDays(2)}));
    EXPECT_EQ(on(next.addDays(1)), protectedBefore);
    EXPECT_TRUE(on(next.addDays(3)).isEmpty());
    EXPECT_TRUE(on(next.addDays(4)).isEmpty());
    EXPECT_EQ(report.summary, "Скопировано дат: 2, занятий: 6; пропущено заблокированных дат: 1, "
                              "нерабочих дат: 2");
    EXPECT_EQ(progress.texts.back(), report.summary);
    EXPECT_TRUE(messages().isEmpty());

    // Outside the study period nothing is copied either.
    b.period("Session", QDate(2026, 9, 1), QDate(2026, 9, 30));
    prompts.answers = {Answer::Yes};
    const CopyReport term =
        run(CopyPeriod::Day, monday, QDate(2026, 10, 9), CopyOverwrite::Over, true);
    EXPECT_EQ(term.skippedHoliday.size(), 9u); // 24.09, 25.09 and seven days of October
    EXPECT_EQ(term.skippedProtected.size(), 1u);
    EXPECT_TRUE(on(QDate(2026, 10, 1)).isEmpty());
}

TEST_F(Copying, CancelOrAFailureLeavesTheDocumentAsItWas)
{
    // Monday replicated up to Friday 25.09: the user stops after two dates, or writing
    // Thursday fails halfway (after its date row was added). Nothing of the command stays.
    const struct
    {
        const char *name;
        bool fail;
        QString message;
    } cases[] = {
        {"Cancel", false, "Копирование расписания прервано.\r\nРасписание не изменено."},
        {"failure", true,
         "Копирование расписания остановлено из-за ошибки.\r\nРасписание не изменено."},
    };
    const QStringList days = table("tblTimeTableList");
    const QStringList lessons = table("tblTimeTableContent");
    for (const auto &c : cases) {
        prompts.shown.clear();
        prompts.answers = {Answer::Yes}; // Tuesday holds lessons
        progress.asked = 0;
        progress.stopAfter = c.fail ? 1000 : 2;
        if (c.fail)
            b.raw("CREATE TEMP TRIGGER failThursday BEFORE INSERT ON tblTimeTableContent WHEN "
                  "(SELECT Date FROM tblTimeTableList WHERE Key = NEW.Key_TTList) = "
                  "'2026-09-17' BEGIN SELECT RAISE(ABORT, 'disk'); END");
        const CopyReport report =
            run(CopyPeriod::Day, monday, monday.addDays(11), CopyOverwrite::ClearFirst, true);
        EXPECT_EQ(report.outcome, c.fail ? CopyOutcome::Failed : CopyOutcome::Cancelled);
        EXPECT_TRUE(report.copied.empty()) << c.name;
        EXPECT_EQ(messages().value(messages().size() - 1), c.message) << c.name;
        EXPECT_EQ(table("tblTimeTableList"), days) << c.name;
        EXPECT_EQ(table("tblTimeTableContent"), lessons) << c.name;
        b.raw("DROP TRIGGER IF EXISTS failThursday");
    }
}

// What stays on a destination is met by the clash rules and the tutors' exceptions, and a
// lesson that would break them is named, with the reason, instead of written.
TEST_F(Copying, LessonsThatWouldClashOrMissTheirTutorAreListed)
{
    const QDate tuesday = monday.addDays(1);
    b.raw(QString("DELETE FROM tblTimeTableContent WHERE Key_TTList = %1").arg(b.day(tuesday)));
    put(tuesday, {1, 0, g2, jm, a202, 1}); // Иванов busy at 1 with another group elsewhere
    put(tuesday, {3, 0, g1, jc, a202, 1}); // 202 held at 3 by Сидоров
    b.add("tblTutorOut", {"KeyTutor", petrov, "FreeLocalDate", tuesday, "FreeLesson", 2});
    prompts.answers = {Answer::Yes};
    const CopyReport report = day(monday, tuesday, CopyOverwrite::Over);
    QStringList skipped;
    for (const SkippedLesson &l : report.skipped)
        skipped << skippedLessonCells(l).join('|');
    EXPECT_EQ(skipped,
              QStringList({"15.09.2026|1|П-1 (1)||Матем|Иванов|преподаватель занят: П-2 (1), "
                           "Матем, Иванов",
                           "15.09.2026|2|П-1 (1)|2|Физ|Петров|преподаватель отсутствует",
                           "15.09.2026|3|П-2 (1)||Матем|Иванов|аудитория занята: П-1 (1), Хим, "
                           "Сидоров"}));
    EXPECT_EQ(on(tuesday), texts({{1, 0, g2, jm, a202, 1},
                                  {3, 0, g1, jc, a202, 1},
                                  mondayLessons[1]}));
    EXPECT_EQ(report.summary, "Скопировано дат: 1, занятий: 1; пропущено занятий: 3");
}

TEST_F(Copying, AWeekCopyIsOneStepOfTheHistory)
{
    const std::optional<Database> db = session.access();
    ASSERT_TRUE(db);
    History *history = History::of(*db);
    ASSERT_NE(history, nullptr);
    history->clear();
    // A week across the new year: Monday 28.12.2026 to Monday 4.01.2027.
    const QDate december(2026, 12, 28);
    for (int i = 0; i < 5; ++i)
        put(december.addDays(i), {i + 1, 0, g1, jm, a101, 1});
    history->clear();
    const QStringList daysBefore = table("tblTimeTableList");
    const QStringList lessonsBefore = table("tblTimeTableContent");
    const CopyReport report = run(CopyPeriod::Week, december.addDays(2), QDate(2027, 1, 7));
    EXPECT_EQ(report.copied.size(), 5u);
    EXPECT_EQ(on(QDate(2027, 1, 8)), QStringList({text({5, 0, g1, jm, a101, 1})}));
    EXPECT_EQ(history->undoCaptions(),
              QStringList({"копирование недели 28.12.2026–01.01.2027 на 04.01–08.01.2027"}));
    const QStringList daysAfter = table("tblTimeTableList");
    const QStringList lessonsAfter = table("tblTimeTableContent");
    history->undo();
    EXPECT_EQ(table("tblTimeTableList"), daysBefore);
    EXPECT_EQ(table("tblTimeTableContent"), lessonsBefore);
    history->redo();
    EXPECT_EQ(table("tblTimeTableList"), daysAfter);
    EXPECT_EQ(table("tblTimeTableContent"), lessonsAfter);
}

TEST(CopyPlan, DatesAndCaptionsOfEachKind)
{
    const QDate mon(2026, 9, 14);
    // The plan as "first source>first destination … last source>last destination (pairs)".
    const auto shown = [](const std::vector<std::pair<QDate, QDate>> &plan) {
        const auto d = [](const QDate &date) { return date.toString("dd.MM"); };
        return QString("%1>%2 … %3>%4 (%5)")
            .arg(d(plan.front().first), d(plan.front().second), d(plan.back().first),
                 d(plan.back().second))
            .arg(plan.size());
    };
    const struct
    {
        const char *name;
        CopyRequest request;
        int workDays;
        QString plan, caption;
    } cases[] = {
        // clang-format off
        {"six-day week from a Sunday", {CopyPeriod::Week, mon.addDays(6), mon.addDays(16)}, 6,
         "14.09>28.09 … 19.09>03.10 (6)",
         "копирование недели 14.09–19.09.2026 на 28.09–03.10.2026"},
        {"replication backwards onto a Sunday", {CopyPeriod::Day, mon, mon.addDays(-8), {}, true},
         5, "14.09>11.09 … 14.09>07.09 (5)", "размножение дня 14.09.2026 до 06.09.2026"},
        {"week over the new year", {CopyPeriod::Week, QDate(2027, 1, 1), QDate(2027, 1, 4)}, 5,
         "28.12>04.01 … 01.01>08.01 (5)",
         "копирование недели 28.12.2026–01.01.2027 на 04.01–08.01.2027"},
        {"day", {CopyPeriod::Day, mon, mon.addDays(1)}, 5, "14.09>15.09 … 14.09>15.09 (1)",
         "копирование дня 14.09.2026 на 15.09.2026"},
        // clang-format on
    };
    for (const auto &c : cases) {
        EXPECT_EQ(shown(copyPlan(c.request, c.workDays)), c.plan) << c.name;
        EXPECT_EQ(copyCaption(c.request, c.workDays), c.caption) << c.name;
    }
}

} // namespace
} // namespace korvesta
