// The program's own statements, as it writes them, run against a small institution and
// compared with results worked out by hand.

#include "database.h"
#include "dberror.h"
#include "jet/jettranslator.h"
#include "querydef.h"
#include "recordset.h"
#include "support/testdocument.h"

#include <QDate>

#include <optional>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// Two groups of course 1, two tutors of one discipline, three load lines and four lessons
// on Monday 3 and Tuesday 4 September 2007.
class Dialect : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = std::make_unique<Database>(Database::open(newTestDocument(folder)));
        const char *const rows[] = {
            "INSERT INTO tblGroups ([Group], Course, Key_TypeFaculty) VALUES ('П-9', '1', 1)",
            "INSERT INTO tblGroups ([Group], Course, Key_TypeFaculty) VALUES ('П-10', '1', 1)",
            "INSERT INTO tblTutors (Tutor) VALUES ('Антонов')",
            "INSERT INTO tblTutors (Tutor) VALUES ('Борисов')",
            "INSERT INTO tblDisciplines (Discipline) VALUES ('Математика')",
            "INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (1, 1)",
            "INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (2, 1)",
            "INSERT INTO tblJobList (Key_Job, Key_Group, Hours, DateExam) VALUES (1, 1, 40, #9/4/2007#)",
            "INSERT INTO tblJobList (Key_Job, Key_Group, Hours) VALUES (1, 2, 30)",
            "INSERT INTO tblJobList (Key_Job, Key_Group, Hours) VALUES (2, 1, 20)",
            "INSERT INTO tblTimeTableList ([Date], ReadOnly) VALUES (#9/3/2007#, False)",
            "INSERT INTO tblTimeTableList ([Date], ReadOnly) VALUES (#9/4/2007#, True)",
            "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, SubGroup) VALUES (1, 1, 1, 1, 0)",
            "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, SubGroup) VALUES (1, 2, 1, 2, 0)",
            "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, SubGroup) VALUES (2, 1, 1, 1, 0)",
            "INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, SubGroup) VALUES (2, 3, 2, 1, 0)",
            "INSERT INTO tblTutorOut (KeyTutor, FreeDay, FreeLesson, KeyTypeOut) VALUES (1, 2, 4, 1)",
        };
        for (const char *sql : rows)
            db->execute(QString::fromUtf8(sql));
    }

    // Every row as "a|b|c", dates as dd.mm.yyyy.
    QStringList rows(Recordset rs)
    {
        QStringList out;
        for (; !rs.isEof(); rs.moveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.fieldCount(); ++i) {
                const QVariant v = rs.value(i);
                cells << (v.metaType().id() == QMetaType::QDate
                              ? v.toDate().toString(QStringLiteral("dd.MM.yyyy"))
                              : v.toString());
            }
            out << cells.join(u'|');
        }
        return out;
    }
    QStringList rows(const QString &sql) { return rows(db->openRecordset(sql)); }

    TestFolder folder;
    std::unique_ptr<Database> db;
};

TEST_F(Dialect, TutorHoursByGroup)
{
    const QString otr3 =
        "SELECT tblTimeTableList.Date, tblJob.Key_Tutor, tblJob.Key_Discipline, tblGroups.Group, "
        "tblGroups.Course, tblJobList.Hours AS Всего "
        "FROM (tblJob INNER JOIN (tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN "
        "tblGroups ON tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key = "
        "tblTimeTableContent.Key_TTList) ON tblJob.Key = tblTimeTableContent.Key_Job) INNER JOIN "
        "tblJobList ON (tblJob.Key = tblJobList.Key_Job) AND (tblGroups.Key = tblJobList.Key_Group) "
        "WHERE (((tblTimeTableList.Date) Between #9/1/2007# AND #9/30/2007#) "
        "AND ((tblJob.Key_Tutor)=1)) "
        "ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), tblGroups.Group;";
    EXPECT_EQ(rows(otr3), QStringList({"03.09.2007|1|1|П-9|1|40", "03.09.2007|1|1|П-10|1|30",
                                       "04.09.2007|1|1|П-9|1|40"}));
    Recordset rs = db->openRecordset(otr3);
    EXPECT_EQ(rs.fieldNames(), QStringList({"Date", "Key_Tutor", "Key_Discipline", "Group",
                                            "Course", "Всего"}));

    // A crosstab over the rewritten query: one column per day, in date order.
    db->createQueryDef("OTR3", otr3);
    db->createQueryDef("OTR4", "TRANSFORM Count(OTR3.Date) AS CountOfDate "
                               "SELECT OTR3.Group, OTR3.Всего, Count(OTR3.Date) AS Итого "
                               "FROM OTR3 GROUP BY OTR3.Course, OTR3.Group, OTR3.Всего "
                               "ORDER BY OTR3.Course, Len(OTR3.Group), OTR3.Group "
                               "PIVOT OTR3.Date;");
    Recordset x = db->queryDef("OTR4").openRecordset();
    EXPECT_EQ(x.fieldNames(), QStringList({"Group", "Всего", "Итого", "03.09.2007", "04.09.2007"}));
    EXPECT_EQ(rows(std::move(x)), QStringList({"П-9|40|2|1|1", "П-10|30|1|1|"}));
}

TEST_F(Dialect, TutorLessonsAndLessonsInPeriod)
{
    EXPECT_EQ(rows("SELECT tblTimeTableList.Date, tblJob.Key_Tutor, [Group] & '  (' & [Course] & ')' AS "
                   "GroupCourse, tblTimeTableContent.Lesson "
                   "FROM tblTimeTableList INNER JOIN (tblJob INNER JOIN (tblGroups INNER JOIN "
                   "tblTimeTableContent ON tblGroups.Key = tblTimeTableContent.Key_Group) ON tblJob.Key = "
                   "tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList "
                   "WHERE (((tblTimeTableList.Date) Between #9/1/2007# AND #9/30/2007#) "
                   "AND ((tblJob.Key_Tutor)=1)) "
                   "ORDER BY tblTimeTableList.Date, tblGroups.Course, Len(tblGroups.Group), "
                   "tblGroups.Group, tblTimeTableContent.Lesson;"),
              QStringList({"03.09.2007|1|П-9  (1)|1", "03.09.2007|1|П-10  (1)|2",
                           "04.09.2007|1|П-9  (1)|1"}));

    const QString per1 =
        "SELECT tblTimeTableList.Date, tblTimeTableContent.Key_Job, tblGroups.Group, "
        "tblTimeTableContent.Lesson "
        "FROM tblTimeTableList INNER JOIN (tblTimeTableContent INNER JOIN tblGroups ON "
        "tblTimeTableContent.Key_Group = tblGroups.Key) ON tblTimeTableList.Key = "
        "tblTimeTableContent.Key_TTList "
        "WHERE (((tblTimeTableList.Date) Between #9/4/2007# AND #9/4/2007#)) "
        "ORDER BY tblTimeTableList.Date, Len(tblGroups.Group), tblGroups.Group;";
    EXPECT_EQ(rows(per1).size(), 2);
    db->createQueryDef("PER1", per1);
    db->createQueryDef("PER3", "TRANSFORM Count(PER1.Lesson) AS Lessons SELECT PER1.Date "
                               "FROM PER1 GROUP BY PER1.Date PIVOT PER1.Group;");
    Recordset x = db->openRecordset("PER3");
    EXPECT_EQ(x.fieldNames(), QStringList({"Date", "П-9"}));
    EXPECT_EQ(rows(std::move(x)), QStringList({"04.09.2007|2"}));

    // Fixed pivot values are the columns, in the order given, present or not.
    db->createQueryDef("PER4", "TRANSFORM Count(PER1.Lesson) AS Lessons SELECT PER1.Date "
                               "FROM PER1 GROUP BY PER1.Date PIVOT PER1.Group IN ('П-10', 'п-9', 'П-11');");
    Recordset fixed = db->openRecordset("PER4");
    EXPECT_EQ(fixed.fieldNames(), QStringList({"Date", "П-10", "п-9", "П-11"}));
    EXPECT_EQ(rows(std::move(fixed)), QStringList({"04.09.2007||2|"}));
    Recordset course = db->openRecordset(
        "TRANSFORM Count(tblGroups.Key) SELECT tblGroups.Key_TypeFaculty FROM tblGroups "
        "GROUP BY tblGroups.Key_TypeFaculty PIVOT Len(tblGroups.Group) - 3 In (1, -1, 0);");
    EXPECT_EQ(course.fieldNames(), QStringList({"Key_TypeFaculty", "1", "-1", "0"}));
    EXPECT_EQ(rows(std::move(course)), QStringList({"1|1||1"}));
}

TEST_F(Dialect, TutorBusyTimeTotals)
{
    db->createQueryDef(
        "qryViewTutorBusyTime",
        "SELECT tblTutors.Tutor, Count(tblTimeTableContent.Lesson) AS CountLesson, "
        "Min(tblTimeTableList.Date) AS MinDate, Max(tblTimeTableList.Date) AS MaxDate, "
        "DateDiff('d',[MinDate],[MaxDate]) AS CountDays "
        "FROM tblTutors INNER JOIN (tblTimeTableList INNER JOIN (tblJob INNER JOIN "
        "tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key = "
        "tblTimeTableContent.Key_TTList) ON tblTutors.Key = tblJob.Key_Tutor "
        "GROUP BY tblTutors.Tutor HAVING (((tblTutors.Tutor)='Антонов'));");
    db->createQueryDef("qryViewTutorOutTime",
                       "SELECT tblTutors.Tutor, tblTutorOut.FreeDay, tblTutorOut.FreeLesson, "
                       "tblTutorOut.FreeLocalDate, tblTutorOut.KeyTypeOut "
                       "FROM tblTutors INNER JOIN tblTutorOut ON tblTutors.Key = tblTutorOut.KeyTutor "
                       "WHERE (((tblTutors.Tutor)='Антонов'));");
    db->createQueryDef("qryViewTutorOutTotals",
                       "SELECT qryViewTutorBusyTime.Tutor, qryViewTutorBusyTime.CountLesson, "
                       "qryViewTutorBusyTime.CountDays, Count(qryViewTutorOutTime.FreeDay) AS Rules "
                       "FROM qryViewTutorBusyTime LEFT JOIN qryViewTutorOutTime ON "
                       "qryViewTutorBusyTime.Tutor = qryViewTutorOutTime.Tutor "
                       "GROUP BY qryViewTutorBusyTime.Tutor, qryViewTutorBusyTime.CountLesson, "
                       "qryViewTutorBusyTime.CountDays;");
    EXPECT_EQ(rows("qryViewTutorOutTotals"), QStringList({"Антонов|3|1|1"}));
}

TEST_F(Dialect, ExamsKeysAndDayRows)
{
    EXPECT_EQ(rows("SELECT tblGroups.Group, tblGroups.Course, tblDisciplines.Discipline "
                   "FROM tblGroups INNER JOIN (tblDisciplines INNER JOIN (tblJob INNER JOIN tblJobList "
                   "ON tblJob.Key = tblJobList.Key_Job) ON tblDisciplines.Key = tblJob.Key_Discipline) "
                   "ON tblGroups.Key = tblJobList.Key_Group "
                   "WHERE (((tblJobList.DateExam)=#9/4/2007#));"),
              QStringList({"П-9|1|Математика"}));
    EXPECT_EQ(rows("SELECT tblGroups.Key FROM tblGroups WHERE (((tblGroups.Group)='п-10') "
                   "AND ((tblGroups.Course)='1'));"),
              QStringList({"2"}));
    EXPECT_EQ(rows("SELECT tblTimeTableList.* FROM tblTimeTableList "
                   "WHERE (((tblTimeTableList.Date)=#9/4/2007#));"),
              QStringList({"2|04.09.2007|true"}));
    EXPECT_EQ(rows("SELECT Count([Lesson]) AS CountLesson FROM tblTimeTableList INNER JOIN "
                   "tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList "
                   "WHERE (((tblTimeTableList.Date)=#9/3/2007#));"),
              QStringList({"2"}));
    EXPECT_EQ(rows("SELECT tblAutoTable.DateStart, tblAutoTable.DateEnd FROM tblAutoTable WHERE "
                   "(((tblAutoTable.DateType)='Rest') AND ((tblAutoTable.DateStart)<=#9/4/2007#));"),
              QStringList());
}

TEST_F(Dialect, TutorsLoadWithLeftJoinsAndFunctions)
{
    // A tutor without lessons still shows, with Nz of his count.
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Волков')");
    EXPECT_EQ(rows("SELECT tblTutors.Tutor, Nz(Count(tblJob.Key), 0) AS Jobs, "
                   "IIf(Count(tblJob.Key) > 0, 'да', 'нет') AS HasLoad "
                   "FROM tblTutors LEFT JOIN tblJob ON tblTutors.Key = tblJob.Key_Tutor "
                   "GROUP BY tblTutors.Tutor ORDER BY tblTutors.Tutor;"),
              QStringList({"Антонов|1|да", "Борисов|1|да", "Волков|0|нет"}));
    // LEFT JOIN of a parenthesised inner join keeps the left rows without partners.
    EXPECT_EQ(rows("SELECT tblTutors.Tutor, tblDisciplines.Discipline FROM tblTutors LEFT JOIN "
                   "(tblJob INNER JOIN tblDisciplines ON tblJob.Key_Discipline = tblDisciplines.Key) "
                   "ON tblTutors.Key = tblJob.Key_Tutor ORDER BY tblTutors.Key;"),
              QStringList({"Антонов|Математика", "Борисов|Математика", "Волков|"}));
    EXPECT_EQ(rows("SELECT Weekday(tblTimeTableList.Date, 2) AS WD, Format(tblTimeTableList.Date, "
                   "'dd.mm.yyyy') AS F, Year([Date]) AS Y FROM tblTimeTableList;"),
              QStringList({"1|03.09.2007|2007", "2|04.09.2007|2007"}));
    EXPECT_EQ(rows("SELECT DISTINCT tblTimeTableContent.Key_Group FROM tblTimeTableContent "
                   "WHERE tblTimeTableContent.Key_Job IN (SELECT tblJob.Key FROM tblJob "
                   "WHERE tblJob.Key_Tutor = 2);"),
              QStringList({"1"}));
    EXPECT_EQ(rows("SELECT tblGroups.Group FROM tblGroups WHERE tblGroups.Key = 1 UNION "
                   "SELECT tblTutors.Tutor FROM tblTutors WHERE tblTutors.Key = 1 ORDER BY 1;"),
              QStringList({"Антонов", "П-9"}));
}

TEST_F(Dialect, ChangesThroughJoinsAndSubqueries)
{
    EXPECT_EQ(db->execute("UPDATE tblJob INNER JOIN tblJobList ON tblJob.Key = tblJobList.Key_Job "
                          "SET tblJobList.Hours = tblJobList.Hours + 2 WHERE tblJob.Key_Tutor = 1;"),
              2);
    EXPECT_EQ(rows("SELECT tblJobList.Hours FROM tblJobList ORDER BY tblJobList.Key"),
              QStringList({"42", "32", "20"}));
    EXPECT_EQ(db->execute("INSERT INTO tblNotes (Key_TTL, [Note]) SELECT tblTimeTableList.Key, "
                          "'Заметка ' & Format(tblTimeTableList.Date, 'dd.mm') FROM tblTimeTableList;"),
              2);
    EXPECT_EQ(rows("SELECT tblNotes.Note FROM tblNotes ORDER BY tblNotes.Key_TTL"),
              QStringList({"Заметка 03.09", "Заметка 04.09"}));
    EXPECT_EQ(db->execute("UPDATE tblGroups SET tblGroups.Comment = 'Д''Артаньян' "
                          "WHERE tblGroups.Group = 'П-9'"),
              1);
    EXPECT_EQ(rows("SELECT tblGroups.Comment FROM tblGroups WHERE tblGroups.Key = 1"),
              QStringList({"Д'Артаньян"}));
}

// A document whose saved query is given by the test.
class OneSavedQuery : public jet::SchemaProvider
{
public:
    explicit OneSavedQuery(QString sql)
        : m_sql(std::move(sql))
    {}
    const jet::TableInfo *table(const QString &) override { return nullptr; }
    std::optional<QString> savedQuery(const QString &name) override
    {
        return name == u"qryDeep" ? std::optional<QString>(m_sql) : std::nullopt;
    }

private:
    QString m_sql;
};

// Statements nested or chained far beyond what anyone writes: up to 1000 levels are read,
// deeper ones are a syntax error in Russian, also inside a saved query; none may exhaust the
// stack.
TEST(DialectDepth, NestingIsReadTo1000LevelsAndRefusedBeyond)
{
    auto nested = [](int levels, const char *open, const char *inner, const char *close) {
        return QStringLiteral("SELECT %1%2%3 AS V;")
            .arg(QString::fromLatin1(open).repeated(levels), QLatin1String(inner),
                 QString::fromLatin1(close).repeated(levels));
    };
    auto chain = [](int terms, const char *op) {
        QStringList t;
        for (int i = 0; i < terms; ++i)
            t << QStringLiteral("1");
        return QStringLiteral("SELECT %1 AS V;").arg(t.join(QLatin1String(op)));
    };
    const struct
    {
        QString sql;
        bool read;
    } cases[] = {
        {nested(1000, "(", "1", ")"), true},
        {nested(1000, "-", "1", ""), true},
        {nested(1000, "Not ", "1", ""), true},
        {nested(1000, "1 + (", "1", ")"), true},
        {nested(1000, "Abs(", "1", ")"), true},
        {nested(400, "(SELECT ", "1", ")"), true},
        {chain(1000, " + "), true},
        {chain(1000, " Or "), true},
        {nested(1100, "(", "1", ")"), false},
        {nested(3500, "(", "1", ")"), false},
        {nested(20000, "-", "1", ""), false},
        {nested(20000, "+", "1", ""), false},
        {nested(5000, "Not ", "1", ""), false},
        {nested(2000, "Abs(", "1", ")"), false},
        {nested(2000, "1 + (", "1", ")"), false},
        {nested(2000, "(SELECT ", "1", ")"), false},
        {chain(10000, " + "), false},
        {chain(10000, " Or "), false},
        {chain(10000, " & "), false},
        {chain(10000, " = "), false},
    };
    for (const auto &c : cases) {
        for (const bool saved : {false, true}) {
            OneSavedQuery schema(c.sql);
            const QString sql = saved ? QStringLiteral("SELECT qryDeep.V FROM qryDeep;") : c.sql;
            const QString what = c.sql.left(40) + (saved ? " (saved)" : "");
            try {
                jet::translate(sql, schema);
                EXPECT_TRUE(c.read) << what.toStdString();
            } catch (const DbError &e) {
                EXPECT_FALSE(c.read) << what.toStdString() << ": " << e.what();
                EXPECT_EQ(e.code(), dberr::SyntaxError) << what.toStdString();
                EXPECT_TRUE(e.message().contains(QStringLiteral("вложенность")))
                    << what.toStdString() << ": " << e.what();
            }
        }
    }
}

TEST_F(Dialect, ThousandParenthesesRunToTheEnd)
{
    QStringList terms;
    for (int key = 100; key > 0; --key)
        terms << QStringLiteral("tblGroups.Key = %1").arg(key * 2 - 1);
    const QString sql = QStringLiteral("SELECT %1tblGroups.Group%2 AS G FROM tblGroups WHERE "
                                       "%1%3%2;")
                            .arg(QStringLiteral("(").repeated(1000), QStringLiteral(")").repeated(1000),
                                 terms.join(QStringLiteral(" Or ")));
    EXPECT_EQ(rows(sql), QStringList({"П-9"}));
}

} // namespace
} // namespace korvesta
