// The next academic year's document, and a document that keeps its older years: what
// carries over, what stays behind, and that older years change no figure of this one.

#include "check/timetablecheck.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "sample/demodocument.h"
#include "sample/olderyears.h"
#include "settings/settingsrecord.h"
#include "support/testdocument.h"
#include "year/nextyear.h"

#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// The small sample in the middle of its term, written once for the suite.
const QString &samplePath()
{
    static TestFolder folder;
    static const QString path = [] {
        const QString p = folder.file("колледж.kvt");
        writeDemoDocument(p, DemoRequest::midTerm(DemoSize::Small, {2026, 12, 7}));
        return p;
    }();
    return path;
}

QStringList rows(const QString &path, const QString &sql)
{
    QStringList out;
    const Database db = Database::open(path, Database::Mode::ReadOnly);
    for (Recordset rs = db.openRecordset(sql); !rs.isEof(); rs.moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.fieldCount(); ++i)
            fields << rs.value(i).toString();
        out << fields.join(u'|');
    }
    return out;
}

int count(const QString &path, const QString &table)
{
    return rows(path, "SELECT Count(*) FROM " + table).value(0).toInt();
}

class NextYear : public ::testing::Test
{
protected:
    void TearDown() override { Database::forgetAll(); }

    NextYearRequest request(const QString &name)
    {
        NextYearRequest r;
        r.source = samplePath();
        r.target = folder.file(name);
        r.start = QDate(2027, 9, 1);
        return r;
    }

    TestFolder folder;
};

TEST_F(NextYear, KeepsTheListsAndExceptionsAndNothingOfThisYearsTimetable)
{
    const QByteArray before = readTestFile(samplePath());
    // A dated exception of the coming year is still to be kept.
    const QString source = folder.file("источник.kvt");
    writeTestFile(source, before);
    sqliteExec(source, "INSERT INTO tblTutorOut (KeyTutor, FreeLocalDate, KeyTypeOut) "
                       "VALUES (1, '2027-10-05', 4)");
    NextYearRequest r = request("новый.kvt");
    r.source = source;
    const NextYearResult result = startNextYear(r);

    for (const char *table : {"tblGroups", "tblDisciplines", "tblAuditories", "tblTutors",
                              "tblTypeFaculty", "tblDiscType", "tblTypeLesson", "tblTimeLesson",
                              "tblTutorTypeOut", "tblTypeFinance", "tblTypeTuition"})
        EXPECT_EQ(rows(r.target, QString("SELECT * FROM %1").arg(table)),
                  rows(source, QString("SELECT * FROM %1").arg(table)))
            << table;
    for (const char *table : {"tblTimeTableContent", "tblTimeTableList", "tblNotes", "tblJob",
                              "tblJobList"})
        EXPECT_EQ(count(r.target, table), 0) << table;
    EXPECT_EQ(rows(r.target, "SELECT KeyTutor, FreeDay, FreeLesson, FreeLocalDate, KeyTypeOut "
                             "FROM tblTutorOut"),
              rows(source, "SELECT KeyTutor, FreeDay, FreeLesson, FreeLocalDate, KeyTypeOut "
                           "FROM tblTutorOut WHERE FreeLocalDate Is Null "
                           "OR FreeLocalDate >= #9/1/2027#"));
    EXPECT_EQ(rows(r.target, "SELECT DateStart, DateEnd FROM tblAutoTable "
                             "WHERE DateType = 'Session'"),
              QStringList{"2027-09-01|2028-06-30"});
    EXPECT_EQ(rows(r.target, "SELECT DateStart FROM tblAutoTable WHERE DateType = 'Rest'"),
              QStringList{"2027-12-29"});
    EXPECT_EQ(result.holidays, count(source, "tblAutoTable") - 1);
    EXPECT_EQ(result.groups, count(source, "tblGroups"));
    EXPECT_EQ(readTestFile(samplePath()), before) << "this year's document is untouched";
}

TEST_F(NextYear, CarriesTheLoadWithHoursFromATable)
{
    NextYearRequest r = request("с нагрузкой.kvt");
    r.keepLoad = true;
    startNextYear(r);
    EXPECT_EQ(rows(r.target, "SELECT Key, Key_Job, Key_Group, Hours FROM tblJobList"),
              rows(samplePath(), "SELECT Key, Key_Job, Key_Group, Hours FROM tblJobList"));
    EXPECT_EQ(rows(r.target, "SELECT Key FROM tblJobList WHERE DateExam Is Not Null"),
              QStringList());

    // A table naming one line of the load, one that is not in it, and hours the load refuses.
    const QStringList line = rows(
        samplePath(), "SELECT T.Tutor, D.Discipline, G.Group, G.Course FROM (((tblJobList AS L "
                      "INNER JOIN tblJob AS J ON J.Key = L.Key_Job) INNER JOIN tblTutors AS T "
                      "ON T.Key = J.Key_Tutor) INNER JOIN tblDisciplines AS D ON D.Key = "
                      "J.Key_Discipline) INNER JOIN tblGroups AS G ON G.Key = L.Key_Group "
                      "ORDER BY L.Key").value(0).split(u'|');
    const QString csv = folder.file("часы.csv");
    writeTestFile(csv, QString("Преподаватель;Дисциплина;Группа;Курс;Часы\n"
                               "%1;%2;%3;%4;123\n"
                               "Никто Н.Н.;%2;%3;%4;10\n"
                               "%1;%2;%3;%4;много\n")
                           .arg(line[0], line[1].toUpper(), line[2], line[3])
                           .toUtf8());
    NextYearRequest withHours = request("часы.kvt");
    withHours.hoursFrom = csv;
    const NextYearResult result = startNextYear(withHours);
    EXPECT_EQ(result.hoursSkipped, 2) << result.hoursReport.join('\n').toStdString();
    EXPECT_TRUE(result.hoursReport.value(0).startsWith("Строка 2\tизменено\t"));
    EXPECT_TRUE(result.hoursReport.value(1).contains("такой строки нагрузки нет"));
    EXPECT_EQ(rows(withHours.target, "SELECT Hours FROM tblJobList ORDER BY Key").value(0), "123");
    EXPECT_EQ(count(withHours.target, "tblJobList"), count(samplePath(), "tblJobList"));
}

TEST_F(NextYear, RefusesWhatWouldLoseOrMisplaceAYear)
{
    NextYearRequest r = request("рано.kvt");
    r.start = QDate(2027, 6, 1);
    EXPECT_TRUE(nextYearProblem(r).contains("после конца текущего учебного периода (30.06.2027)"));
    EXPECT_THROW(startNextYear(r), DbError);
    EXPECT_FALSE(QFile::exists(r.target));

    r = request("");
    r.target = samplePath();
    EXPECT_TRUE(nextYearProblem(r).contains("не может заменить"));

    r = request("часы.kvt");
    r.hoursFrom = folder.file("нет.csv");
    EXPECT_FALSE(nextYearProblem(r).isEmpty());
    EXPECT_EQ(suggestedNextYearStart(samplePath()), QDate(2027, 9, 1));
}

// Five years in one document: the passport, the load's figures and the check of a month are
// those of this year alone.
TEST_F(NextYear, OlderYearsChangeNoFigureOfThisOne)
{
    const QString fiveYears = folder.file("пять лет.kvt");
    writeTestFile(fiveYears, readTestFile(samplePath()));
    addOlderYears(fiveYears, 4);
    ASSERT_GT(count(fiveYears, "tblTimeTableContent"), 4 * count(samplePath(), "tblTimeTableContent"));

    auto passport = [](const QString &path) {
        QStringList out;
        const Database db = Database::open(path, Database::Mode::ReadOnly);
        for (int group : {1, 2, 3}) {
            QueryDef q = db.queryDef("qryPassportGroup");
            q.setParameter("pKeyGroup", group);
            for (Recordset rs = q.openRecordset(); !rs.isEof(); rs.moveNext())
                out << rs.value("Count-Lesson").toString() + '|' + rs.value("Max-Date").toString();
        }
        return out;
    };
    EXPECT_EQ(passport(fiveYears), passport(samplePath()));
    const QString load = "SELECT KeyJobList, CountLesson FROM qryKorvesta ORDER BY KeyJobList";
    EXPECT_EQ(rows(fiveYears, load), rows(samplePath(), load));

    auto check = [](const QString &path, const QDate &from, const QDate &to) {
        const Database db = Database::open(path, Database::Mode::ReadOnly);
        const TimetableCheck c = checkTimetable(db, SettingsRecord(), from, to);
        QStringList out;
        for (const TimetableProblem &p : c.problems)
            out << problemKindText(p.kind) + ' ' + p.objects + ' ' + p.explanation;
        return out;
    };
    EXPECT_EQ(check(fiveYears, {2026, 11, 1}, {2026, 11, 30}),
              check(samplePath(), {2026, 11, 1}, {2026, 11, 30}));
    EXPECT_EQ(check(fiveYears, {2026, 9, 1}, {2027, 6, 30}),
              check(samplePath(), {2026, 9, 1}, {2027, 6, 30}));
}

} // namespace
} // namespace korvesta
