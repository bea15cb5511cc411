// The sample institution: a timetable without clashes that keeps to its calendar, the
// tutors' exceptions and the teaching load; every list filled; the same document each time.

#include "calendar.h"
#include "database.h"
#include "dberror.h"
#include "sample/demodocument.h"
#include "sample/demomodel.h"
#include "recordset.h"
#include "support/testdocument.h"

#include <QFile>

#include <sqlite3.h>

#include <map>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// A Monday in the first term: the sample is compiled to the Sunday after it.
const QDate kToday(2026, 12, 7);

const QString &samplePath(DemoSize size)
{
    static TestFolder folder;
    static std::map<DemoSize, QString> paths;
    QString &path = paths[size];
    if (path.isEmpty()) {
        path = folder.file(size == DemoSize::Small ? QStringLiteral("пример.kvt")
                                                   : QStringLiteral("большой.kvt"));
        writeDemoDocument(path, DemoRequest::midTerm(size, kToday));
    }
    return path;
}

// Every row of every table, in storage order.
QString contents(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QString text;
    auto each = [&](const char *sql, auto &&row) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            row(stmt);
        sqlite3_finalize(stmt);
    };
    QStringList tables;
    each("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", [&](sqlite3_stmt *s) {
        tables << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    });
    for (const QString &table : tables) {
        text += table + u'\n';
        const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + "\"";
        each(sql.constData(), [&](sqlite3_stmt *s) {
            for (int i = 0; i < sqlite3_column_count(s); ++i)
                text +=
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, i))) +
                    u'|';
            text += u'\n';
        });
    }
    sqlite3_close(db);
    return text;
}

class Sample : public ::testing::TestWithParam<DemoSize>
{
protected:
    Database db() const { return Database::open(samplePath(GetParam()), Database::Mode::ReadOnly); }
    int count(const QString &sql) const { return db().openRecordset(sql).recordCount(); }
    QVariant value(const QString &sql) const
    {
        Recordset rs = db().openRecordset(sql);
        return rs.isEof() ? QVariant() : rs.value(0);
    }

    void breaksNoRule() const;
    void fillsEveryList() const;
    void hasTheSizeAskedFor() const;
    void isInTheMiddleOfItsTerm() const;
};

struct Check
{
    const char *what;
    const char *sql;
};

// Each query lists the rows that break a rule; none may come back.
const Check kClashes[] = {
    {"a group twice in one subgroup at one lesson",
     "SELECT C.Key_TTList, C.Lesson, C.Key_Group FROM tblTimeTableContent AS C "
     "GROUP BY C.Key_TTList, C.Lesson, C.Key_Group, C.SubGroup HAVING Count(*) > 1"},
    {"a whole-group lesson beside another lesson of the group",
     "SELECT C.Key_TTList, C.Lesson, C.Key_Group FROM tblTimeTableContent AS C "
     "GROUP BY C.Key_TTList, C.Lesson, C.Key_Group HAVING Count(*) > 1 AND Min(C.SubGroup) = 0"},
    {"more subgroups than SubGroupCount (2) allows",
     "SELECT C.Key_TTList, C.Lesson, C.Key_Group FROM tblTimeTableContent AS C "
     "GROUP BY C.Key_TTList, C.Lesson, C.Key_Group HAVING Count(*) > 2"},
    {"a tutor at two lessons at once (a lecture is one job in one room)",
     "SELECT C.Key_TTList, C.Lesson, J.Key_Tutor FROM tblTimeTableContent AS C "
     "INNER JOIN tblJob AS J ON J.Key = C.Key_Job GROUP BY C.Key_TTList, C.Lesson, J.Key_Tutor "
     "HAVING Min(C.Key_Job) <> Max(C.Key_Job) OR Min(C.Key_Aud) <> Max(C.Key_Aud)"},
    {"an auditorium with two lessons at once",
     "SELECT C.Key_TTList, C.Lesson, C.Key_Aud FROM tblTimeTableContent AS C "
     "GROUP BY C.Key_TTList, C.Lesson, C.Key_Aud HAVING Min(C.Key_Job) <> Max(C.Key_Job)"},
    {"a group over LessonsToGroup (7) lessons a day",
     "SELECT L.Key_TTList, L.Key_Group FROM (SELECT DISTINCT C.Key_TTList, C.Key_Group, "
     "C.Lesson FROM tblTimeTableContent AS C) AS L GROUP BY L.Key_TTList, L.Key_Group "
     "HAVING Count(*) > 7"},
    {"a lesson beyond LessonsInDay (14)",
     "SELECT C.Key FROM tblTimeTableContent AS C WHERE C.Lesson < 1 OR C.Lesson > 14"},
    {"a lesson on a day off (WorkDays 5)",
     "SELECT D.Date FROM tblTimeTableList AS D INNER JOIN tblTimeTableContent AS C "
     "ON D.Key = C.Key_TTList WHERE Weekday(D.Date, 2) > 5"},
    {"a lesson on a holiday or in the break",
     "SELECT D.Date FROM tblTimeTableList AS D INNER JOIN tblTimeTableContent AS C "
     "ON D.Key = C.Key_TTList WHERE EXISTS (SELECT H.Key FROM tblAutoTable AS H "
     "WHERE (H.DateType = 'Selebrate' AND H.DateStart = D.Date) "
     "OR (H.DateType = 'Rest' AND D.Date Between H.DateStart And H.DateEnd))"},
    {"a lesson outside the study period",
     "SELECT D.Date FROM tblTimeTableList AS D INNER JOIN tblTimeTableContent AS C "
     "ON D.Key = C.Key_TTList WHERE NOT EXISTS (SELECT H.Key FROM tblAutoTable AS H "
     "WHERE H.DateType = 'Session' AND D.Date Between H.DateStart And H.DateEnd)"},
    {"a lesson of a tutor who is away",
     "SELECT D.Date, C.Lesson FROM (tblTimeTableList AS D INNER JOIN tblTimeTableContent AS C "
     "ON D.Key = C.Key_TTList) INNER JOIN tblJob AS J ON J.Key = C.Key_Job "
     "WHERE EXISTS (SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.KeyTutor = J.Key_Tutor "
     "AND (O.FreeLocalDate = D.Date OR (O.FreeLocalDate Is Null AND (O.FreeDay Is Null "
     "OR O.FreeDay = Weekday(D.Date, 2)))) AND (O.FreeLesson Is Null OR O.FreeLesson = C.Lesson))"},
    {"a lesson of a group on the day of its exam",
     "SELECT L.Key FROM (tblJobList AS L INNER JOIN tblTimeTableList AS D "
     "ON D.Date = L.DateExam) INNER JOIN tblTimeTableContent AS C "
     "ON (C.Key_TTList = D.Key AND C.Key_Group = L.Key_Group)"},
    {"a load line with more lessons than hours",
     "SELECT L.Key FROM tblJobList AS L WHERE L.Hours < (SELECT Count(*) FROM "
     "tblTimeTableContent AS C WHERE C.Key_Job = L.Key_Job AND C.Key_Group = L.Key_Group)"},
    {"a lesson without its load line",
     "SELECT C.Key FROM tblTimeTableContent AS C WHERE NOT EXISTS (SELECT L.Key FROM "
     "tblJobList AS L WHERE L.Key_Job = C.Key_Job AND L.Key_Group = C.Key_Group)"},
    {"a lesson whose date, auditorium or lesson type is missing",
     "SELECT C.Key FROM tblTimeTableContent AS C WHERE NOT EXISTS (SELECT D.Key FROM "
     "tblTimeTableList AS D WHERE D.Key = C.Key_TTList) OR NOT EXISTS (SELECT A.Key FROM "
     "tblAuditories AS A WHERE A.Key = C.Key_Aud) OR NOT EXISTS (SELECT T.Key FROM "
     "tblTypeLesson AS T WHERE T.Key = C.Key_TypeLesson)"},
    {"a date with two rows",
     "SELECT D.Date FROM tblTimeTableList AS D GROUP BY D.Date HAVING Count(*) > 1"},
    {"a second job of one tutor and discipline, or load line of one job and group",
     "SELECT J.Key_Tutor FROM tblJob AS J GROUP BY J.Key_Tutor, J.Key_Discipline "
     "HAVING Count(*) > 1 UNION SELECT L.Key_Job FROM tblJobList AS L "
     "GROUP BY L.Key_Job, L.Key_Group HAVING Count(*) > 1"},
    {"two groups of one name and course, or tutors, disciplines, auditoriums of one name",
     "SELECT G.Group FROM tblGroups AS G GROUP BY G.Group, G.Course HAVING Count(*) > 1 "
     "UNION SELECT T.Tutor FROM tblTutors AS T GROUP BY T.Tutor HAVING Count(*) > 1 "
     "UNION SELECT D.Discipline FROM tblDisciplines AS D GROUP BY D.Discipline "
     "HAVING Count(*) > 1 UNION SELECT A.Auditoria FROM tblAuditories AS A "
     "GROUP BY A.Auditoria, A.Corpus HAVING Count(*) > 1"},
    {"a tutor not named as «Фамилия И.О.»",
     "SELECT T.Tutor FROM tblTutors AS T WHERE T.Tutor Not Like '?* ?.?.'"},
    {"a usual auditorium that is not in the list",
     "SELECT T.Tutor FROM tblTutors AS T WHERE T.DefaultAud Is Not Null AND NOT EXISTS "
     "(SELECT A.Key FROM tblAuditories AS A WHERE T.DefaultAud = A.Auditoria & ' (' & "
     "A.Corpus & ')')"},
    {"a load line without hours", "SELECT L.Key FROM tblJobList AS L WHERE L.Hours < 1"},
    {"a group comment over 50 characters",
     "SELECT G.Comment FROM tblGroups AS G WHERE Len(G.Comment) > 50"},
};

void Sample::breaksNoRule() const
{
    for (const Check &c : kClashes) {
        Recordset rs = db().openRecordset(QString::fromUtf8(c.sql));
        QStringList first;
        if (!rs.isEof()) {
            for (int i = 0; i < rs.fieldCount(); ++i)
                first << rs.value(i).toString();
        }
        EXPECT_EQ(rs.recordCount(), 0) << c.what << ", e.g. " << first.join(u' ').toStdString();
    }
}

struct Presence
{
    const char *what;
    const char *sql;
    int atLeast;
};

// What a planner looks around for: each kind of record and each awkward case.
const Presence kPresent[] = {
    {"a visible and a hidden faculty", "SELECT DISTINCT F.Visible FROM tblTypeFaculty AS F", 2},
    {"a visible and a hidden specialization", "SELECT DISTINCT S.Visible FROM tblDiscType AS S", 2},
    {"14 lesson times", "SELECT T.Lesson FROM tblTimeLesson AS T WHERE T.TimeLesson Like '*:*-*:*'",
     14},
    {"a group without a faculty", "SELECT G.Key FROM tblGroups AS G WHERE G.Key_TypeFaculty = 1",
     1},
    {"groups of several courses", "SELECT DISTINCT G.Course FROM tblGroups AS G", 3},
    {"two forms of study", "SELECT DISTINCT G.Key_TypeTuition FROM tblGroups AS G", 2},
    {"both kinds of financing", "SELECT DISTINCT G.Key_TypeFinance FROM tblGroups AS G", 2},
    {"three levels of difficulty", "SELECT DISTINCT D.LevelDiff FROM tblDisciplines AS D", 3},
    {"disciplines in several specializations",
     "SELECT DISTINCT D.DiscType FROM tblDisciplines AS D", 4},
    {"auditoriums in two buildings", "SELECT DISTINCT A.Corpus FROM tblAuditories AS A", 2},
    {"tutors whose usual auditorium is one of the list",
     "SELECT T.Key FROM tblTutors AS T INNER JOIN tblAuditories AS A "
     "ON T.DefaultAud = A.Auditoria & ' (' & A.Corpus & ')'",
     10},
    {"a tutor without a usual auditorium",
     "SELECT T.Key FROM tblTutors AS T WHERE T.DefaultAud Is Null", 1},
    {"exam dates", "SELECT L.Key FROM tblJobList AS L WHERE L.DateExam Is Not Null", 5},
    {"load lines with hours left",
     "SELECT L.Key FROM tblJobList AS L WHERE L.Hours > (SELECT Count(*) FROM "
     "tblTimeTableContent AS C WHERE C.Key_Job = L.Key_Job AND C.Key_Group = L.Key_Group)",
     5},
    {"the study period", "SELECT H.Key FROM tblAutoTable AS H WHERE H.DateType = 'Session'", 1},
    {"a break", "SELECT H.Key FROM tblAutoTable AS H WHERE H.DateType = 'Rest'", 1},
    {"public holidays", "SELECT H.Key FROM tblAutoTable AS H WHERE H.DateType = 'Selebrate'", 5},
    {"every kind of tutor exception", "SELECT DISTINCT O.KeyTypeOut FROM tblTutorOut AS O", 4},
    {"a weekday off",
     "SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.FreeDay Is Not Null "
     "AND O.FreeLesson Is Null",
     1},
    {"a lesson off on a weekday",
     "SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.FreeDay Is Not Null "
     "AND O.FreeLesson Is Not Null",
     1},
    {"a lesson off every day",
     "SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.FreeDay Is Null "
     "AND O.FreeLocalDate Is Null AND O.FreeLesson Is Not Null",
     1},
    {"a date off",
     "SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.FreeLocalDate Is Not Null "
     "AND O.FreeLesson Is Null",
     1},
    {"a lesson off on a date",
     "SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.FreeLocalDate Is Not Null "
     "AND O.FreeLesson Is Not Null",
     1},
    {"protected dates", "SELECT D.Key FROM tblTimeTableList AS D WHERE D.ReadOnly = True", 1},
    {"a note on a day without lessons",
     "SELECT N.Note FROM tblNotes AS N WHERE NOT EXISTS (SELECT C.Key FROM tblTimeTableContent "
     "AS C WHERE C.Key_TTList = N.Key_TTL)",
     1},
    {"every lesson type", "SELECT DISTINCT C.Key_TypeLesson FROM tblTimeTableContent AS C", 4},
    // Rows of one job for a group within one pair of lessons (1-2, 3-4, ...): both lessons
    // of the pair, or only one of them.
    {"paired lessons",
     "SELECT C.Key_TTList FROM tblTimeTableContent AS C GROUP BY C.Key_TTList, C.Key_Group, "
     "C.Key_Job, (C.Lesson + 1) \\ 2 HAVING Count(*) = 2",
     100},
    {"single lessons",
     "SELECT C.Key_TTList FROM tblTimeTableContent AS C GROUP BY C.Key_TTList, C.Key_Group, "
     "C.Key_Job, (C.Lesson + 1) \\ 2 HAVING Count(*) = 1",
     10},
    {"subgroup lessons", "SELECT C.Key FROM tblTimeTableContent AS C WHERE C.SubGroup = 2", 100},
    {"lectures for several groups",
     "SELECT C.Key_TTList FROM tblTimeTableContent AS C GROUP BY C.Key_TTList, C.Lesson, "
     "C.Key_Job HAVING Min(C.Key_Group) <> Max(C.Key_Group)",
     50},
};

void Sample::fillsEveryList() const
{
    for (const Presence &p : kPresent) {
        const QString sql =
            QStringLiteral("SELECT Count(*) FROM (%1) AS Q").arg(QString::fromUtf8(p.sql));
        EXPECT_GE(value(sql).toInt(), p.atLeast) << p.what;
    }
    EXPECT_EQ(value("SELECT T.TimeLesson FROM tblTimeLesson AS T WHERE T.Lesson = 1").toString(),
              "8:30-9:15");
}

void Sample::hasTheSizeAskedFor() const
{
    struct Range
    {
        const char *table;
        int small[2];
        int large[2];
    };
    const Range ranges[] = {
        {"tblGroups", {8, 12}, {115, 125}},
        {"tblTutors", {12, 18}, {240, 260}},
        {"tblDisciplines", {20, 80}, {270, 330}},
        {"tblAuditories", {10, 20}, {75, 85}},
        {"tblTimeTableContent", {2000, 8000}, {40000, 90000}},
    };
    const bool small = GetParam() == DemoSize::Small;
    for (const Range &r : ranges) {
        const int n =
            value(QStringLiteral("SELECT Count(*) FROM %1").arg(QLatin1String(r.table))).toInt();
        EXPECT_GE(n, small ? r.small[0] : r.large[0]) << r.table;
        EXPECT_LE(n, small ? r.small[1] : r.large[1]) << r.table;
    }
}

// Compiled from the first study week to the end of the week of today, with hours left on
// every load line, a few lines not started, and a tutor away the next week.
void Sample::isInTheMiddleOfItsTerm() const
{
    const QDate start = academicYearStart(kToday);
    EXPECT_EQ(
        value("SELECT H.DateStart FROM tblAutoTable AS H WHERE H.DateType = 'Session'").toDate(),
        start);
    const QString lessonDates = "SELECT %1(D.Date) FROM tblTimeTableList AS D WHERE EXISTS "
                                "(SELECT C.Key FROM tblTimeTableContent AS C "
                                "WHERE C.Key_TTList = D.Key)";
    EXPECT_LT(start.daysTo(value(lessonDates.arg("Min")).toDate()), 7);
    EXPECT_EQ(value(lessonDates.arg("Max")).toDate(), QDate(2026, 12, 11)) << "this week's Friday";
    EXPECT_EQ(count("SELECT L.Key FROM tblJobList AS L WHERE L.Hours <= (SELECT Count(*) FROM "
                    "tblTimeTableContent AS C WHERE C.Key_Job = L.Key_Job "
                    "AND C.Key_Group = L.Key_Group)"),
              0)
        << "a load line without hours left";
    EXPECT_GE(count("SELECT L.Key FROM tblJobList AS L WHERE NOT EXISTS (SELECT C.Key FROM "
                    "tblTimeTableContent AS C WHERE C.Key_Job = L.Key_Job "
                    "AND C.Key_Group = L.Key_Group)"),
              2)
        << "lines not started";
    EXPECT_GE(count("SELECT O.KeyTutor FROM tblTutorOut AS O WHERE O.FreeLocalDate "
                    "Between #12/14/2026# And #12/18/2026# GROUP BY O.KeyTutor "
                    "HAVING Count(*) = 5"),
              1)
        << "a tutor away the whole next week";
}

// One test per size, so that the large sample is written once.
TEST_P(Sample, IsACompleteInstitutionWithoutClashes)
{
    breaksNoRule();
    fillsEveryList();
    hasTheSizeAskedFor();
    isInTheMiddleOfItsTerm();
}

INSTANTIATE_TEST_SUITE_P(Sizes, Sample, ::testing::Values(DemoSize::Small, DemoSize::Large),
                         [](const ::testing::TestParamInfo<DemoSize> &size) {
                             return size.param == DemoSize::Small ? "Small" : "Large";
                         });

TEST(Sample, LeavesNothingWhenItCannotWrite)
{
    TestFolder folder;
    const QString path = folder.file("нет такой папки/пример.kvt");
    EXPECT_THROW(writeDemoDocument(path, DemoSize::Small), DbError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Sample, ShortensDisciplineNamesAsTimetablesDo)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Основы алгоритмизации и программирования", "ОАиП"},
        {"Финансы, денежное обращение и кредит", "ФДОиК"},
        {"Администрирование операционных систем Linux", "АОСLinux"},
        {"Анализ финансово-хозяйственной деятельности", "АФХД"},
        {"Криминалистика", "Кримина."},
        {"Логистика", "Логистика"},
        {"Основы 3D-печати", "О3D"},
    };
    for (const auto &[full, expected] : cases)
        EXPECT_EQ(demo::shortDisciplineName(QString::fromUtf8(full)), QString::fromUtf8(expected))
            << full;
}

TEST(Sample, IsTheSameEveryTime)
{
    TestFolder folder;
    const QString first = folder.file("1.kvt");
    const QString second = folder.file("2.kvt");
    writeDemoDocument(first, DemoRequest::midTerm(DemoSize::Small, QDate(2023, 10, 2)));
    writeTestFile(second, "заменяется примером");
    writeDemoDocument(second, DemoRequest::midTerm(DemoSize::Small, QDate(2023, 10, 4)));
    const QString text = contents(first);
    EXPECT_TRUE(text.contains("Session|2023-09-01|2024-06-30|"));
    EXPECT_EQ(text, contents(second)) << "another day of the same week";
    EXPECT_NE(text, contents(samplePath(DemoSize::Small))) << "another year, other dates";
}

TEST(Sample, IsCompiledToTheEndOfTheWeekOfToday)
{
    const struct
    {
        QDate today;
        int year;
        QDate until;
    } cases[] = {
        {{2026, 12, 7}, 2026, {2026, 12, 13}}, // a Monday
        {{2026, 12, 13}, 2026, {2026, 12, 13}}, // its Sunday
        {{2027, 1, 5}, 2026, {2027, 1, 10}},   // in the winter break
        {{2027, 6, 30}, 2026, {2027, 7, 4}},   // the last day of the year
        {{2027, 7, 15}, 2026, {2026, 9, 13}},  // the summer: the first two weeks
        {{2026, 9, 1}, 2026, {2026, 9, 6}},    // the first day: its own week
    };
    for (const auto &c : cases) {
        const DemoRequest r = DemoRequest::midTerm(DemoSize::Small, c.today);
        EXPECT_EQ(r.academicYear, c.year) << c.today.toString().toStdString();
        EXPECT_EQ(r.placedUntil, c.until) << c.today.toString().toStdString();
    }
}

// A year placed to its end, as the benchmarks want it: lessons in the last study week, and
// some load lines used up.
TEST(Sample, PlacesAWholeYearWhenAsked)
{
    TestFolder folder;
    const QString path = folder.file("год.kvt");
    writeDemoDocument(path, DemoRequest::fullYear(DemoSize::Small, 2026));
    const Database db = Database::open(path, Database::Mode::ReadOnly);
    const QDate last = db.openRecordset("SELECT Max(D.Date) FROM tblTimeTableList AS D "
                                        "INNER JOIN tblTimeTableContent AS C "
                                        "ON D.Key = C.Key_TTList")
                           .value(0)
                           .toDate();
    EXPECT_LT(last.daysTo(QDate(2027, 6, 30)), 7);
    EXPECT_GE(db.openRecordset("SELECT L.Key FROM tblJobList AS L WHERE L.Hours = (SELECT "
                               "Count(*) FROM tblTimeTableContent AS C WHERE C.Key_Job = "
                               "L.Key_Job AND C.Key_Group = L.Key_Group)")
                  .recordCount(),
              5)
        << "load lines whose hours are all given";
}

} // namespace
} // namespace korvesta
