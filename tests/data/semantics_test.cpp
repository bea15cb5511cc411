// What the rest of the program relies on when it writes SQL in its own dialect: letter case,
// wildcards, Null, dates, "now", the order of groups, aliases and parameter types.

#include "database.h"
#include "dberror.h"
#include "querydef.h"
#include "recordset.h"
#include "support/testdocument.h"

#include <QDate>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class Semantics : public ::testing::Test
{
protected:
    void SetUp() override { db = std::make_unique<Database>(Database::open(newTestDocument(folder))); }

    QStringList column(const QString &sql, const QString &field)
    {
        QStringList values;
        Recordset rs = db->openRecordset(sql);
        for (; !rs.isEof(); rs.moveNext())
            values << rs.value(field).toString();
        return values;
    }

    int count(const QString &sql) { return db->openRecordset(sql).recordCount(); }

    TestFolder folder;
    std::unique_ptr<Database> db;
};

TEST_F(Semantics, TextComparesWithoutLetterCaseInCyrillicAndLatin)
{
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Иванов И.И.')");
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Smith')");
    const struct
    {
        const char *condition;
        int rows;
    } cases[] = {
        {"tblTutors.Tutor='ИВАНОВ И.И.'", 1},
        {"tblTutors.Tutor='иванов и.и.'", 1},
        {"tblTutors.Tutor='SMITH'", 1},
        {"tblTutors.Tutor LIKE 'иван*'", 1},
        {"tblTutors.Tutor LIKE 'SM?TH'", 1},
        {"tblTutors.Tutor Not LIKE 'иван*'", 1},
        {"UCase(tblTutors.Tutor) = 'иванов и.и.'", 1},
        {"tblTutors.Tutor & '' = 'ИВАНОВ И.И.'", 1},
        {"tblTutors.Tutor='Петров'", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(count(QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE (((%1)));")
                            .arg(QString::fromUtf8(c.condition))),
                  c.rows)
            << c.condition;
}

TEST_F(Semantics, LikeKnowsPrefixesDigitsCharacterListsAndQuotedWildcards)
{
    const struct
    {
        const char *text, *pattern;
        bool matches;
    } cases[] = {
        {"П-9", "П-#", true},          {"П-Я", "П-#", false},
        {"ИС-21", "[а-к]С-2#", true},   {"ПО-21", "[а-к]О-2#", false},
        {"ПО-21", "[!а-к]О-##", true},  {"ИС-21", "[!а-к]С-##", false},
        {"a*b", "a[*]b", true},         {"axb", "a[*]b", false},
        {"50%", "50[%]", true},         {"a_b", "a_b", true},
        {"axb", "a_b", false},          {"x[", "x[", true},
        {"Лекция", "[лм]ек*", true},    {"д#1", "д[#]#", true},
        {"Rest2", "Rest*", true},       {"a_Rest", "Rest*", false},
        {"Rest", "%Rest", false}, // % is a plain character in the dialect
    };
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Петров П.П.')");
    for (const auto &c : cases) {
        const QString sql = QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE '%1' LIKE '%2'")
                                .arg(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern));
        EXPECT_EQ(count(sql) == 1, c.matches) << c.text << " LIKE " << c.pattern;
    }
    // A pattern given at run time is read the same way.
    QueryDef q(db->connection(), QString(),
               "SELECT tblTutors.Tutor FROM tblTutors WHERE tblTutors.Tutor LIKE pPattern");
    q.setParameter("pPattern", QStringLiteral("[нмп]етров*"));
    EXPECT_EQ(q.openRecordset().recordCount(), 1);
}

TEST_F(Semantics, NullInConcatenationCountsAsEmptyText)
{
    db->execute("INSERT INTO tblGroups ([Group], Course) VALUES ('П-9', Null)");
    Recordset rs = db->openRecordset(
        "SELECT [Group] & '  (' & [Course] & ')' AS GroupCourse, tblGroups.Course FROM tblGroups;");
    EXPECT_EQ(rs.value("GroupCourse").toString(), QStringLiteral("П-9  ()"));
    EXPECT_TRUE(rs.value("Course").isNull());
}

TEST_F(Semantics, DateLiteralsAndBetween)
{
    for (const char *d : {"#3/13/2007#", "#3/14/2007#", "#3/31/2007#", "#4/1/2007#"})
        db->execute(QStringLiteral("INSERT INTO tblTimeTableList ([Date], ReadOnly) VALUES (%1, False)")
                        .arg(QLatin1String(d)));
    EXPECT_EQ(count("SELECT tblTimeTableList.* FROM tblTimeTableList "
                    "WHERE (((tblTimeTableList.Date) Between #3/14/2007# AND #3/31/2007#));"),
              2);
    Recordset rs = db->openRecordset(
        "SELECT tblTimeTableList.Date FROM tblTimeTableList WHERE (((tblTimeTableList.Date)=#3/14/2007#));");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value("Date").toDate(), QDate(2007, 3, 14));

    // A date written as text into a date field is stored as a date.
    db->execute("INSERT INTO tblAutoTable (DateType, DateStart) VALUES ('Rest', '05.01.2008')");
    db->execute("UPDATE tblAutoTable SET tblAutoTable.DateEnd = '9.1.2008'");
    EXPECT_EQ(count("SELECT tblAutoTable.Key FROM tblAutoTable WHERE tblAutoTable.DateStart = "
                    "#1/5/2008# AND tblAutoTable.DateEnd = #1/9/2008#"),
              1);
    EXPECT_THROW(db->execute("UPDATE tblAutoTable SET tblAutoTable.DateEnd = 'завтра'"), DbError);
}

TEST_F(Semantics, LessonDatedTodayIsNotAfterNow)
{
    const QDate today = QDate::currentDate();
    for (const QDate &d : {today.addDays(-1), today, today.addDays(1)})
        db->execute(QStringLiteral("INSERT INTO tblTimeTableList ([Date]) VALUES (#%1/%2/%3#)")
                        .arg(d.month())
                        .arg(d.day())
                        .arg(d.year()));
    EXPECT_EQ(count("SELECT tblTimeTableList.* FROM tblTimeTableList "
                    "WHERE (((tblTimeTableList.Date)>Now()));"),
              1);
    EXPECT_EQ(count("SELECT tblTimeTableList.* FROM tblTimeTableList "
                    "WHERE (((tblTimeTableList.Date)<=Now()));"),
              2);
    EXPECT_EQ(count("SELECT tblTimeTableList.* FROM tblTimeTableList "
                    "WHERE (((tblTimeTableList.Date)=Date()));"),
              1);
}

TEST_F(Semantics, GroupsOfOneCourseSortShortNameFirst)
{
    for (const char *g : {"П-10", "П-9", "А-11", "П-1"})
        db->execute(QStringLiteral("INSERT INTO tblGroups ([Group], Course) VALUES ('%1', '1')")
                        .arg(QString::fromUtf8(g)));
    db->execute("INSERT INTO tblGroups ([Group], Course) VALUES ('Б-2', '2')");
    EXPECT_EQ(column("SELECT tblGroups.Group FROM tblGroups "
                     "ORDER BY tblGroups.Course, Len(tblGroups.Group), tblGroups.Group;",
                     "Group"),
              QStringList({"П-1", "П-9", "А-11", "П-10", "Б-2"}));
}

TEST_F(Semantics, AliasReusedInTheSameSelectList)
{
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Петров')");
    db->execute("INSERT INTO tblJob (Key_Tutor, Key_Discipline) VALUES (1, 1)");
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/1/2007#)");
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/11/2007#)");
    db->execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job) VALUES (1, 1, 1)");
    db->execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job) VALUES (2, 3, 1)");
    Recordset rs = db->openRecordset(
        "SELECT tblTutors.Tutor, Count(tblTimeTableContent.Lesson) AS CountLesson, "
        "Min(tblTimeTableList.Date) AS MinDate, Max(tblTimeTableList.Date) AS MaxDate, "
        "DateDiff('d',[MinDate],[MaxDate]) AS CountDays "
        "FROM tblTutors INNER JOIN (tblTimeTableList INNER JOIN (tblJob INNER JOIN "
        "tblTimeTableContent ON tblJob.Key = tblTimeTableContent.Key_Job) ON tblTimeTableList.Key "
        "= tblTimeTableContent.Key_TTList) ON tblTutors.Key = tblJob.Key_Tutor "
        "GROUP BY tblTutors.Tutor HAVING (((tblTutors.Tutor)='ПЕТРОВ'));");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value("CountLesson").toInt(), 2);
    EXPECT_EQ(rs.value("MinDate").toDate(), QDate(2007, 9, 1));
    EXPECT_EQ(rs.value("MaxDate").toDate(), QDate(2007, 9, 11));
    EXPECT_EQ(rs.value("CountDays").toInt(), 10);
}

TEST_F(Semantics, DeleteStarAndDeleteTableStarThroughAJoin)
{
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/1/2007#)");
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#9/2/2007#)");
    for (int day : {1, 1, 2})
        db->execute(QStringLiteral("INSERT INTO tblTimeTableContent (Key_TTList, Lesson) "
                                   "VALUES (%1, 1)")
                        .arg(day));
    EXPECT_EQ(db->execute("DELETE tblTimeTableContent.* FROM tblTimeTableList INNER JOIN "
                          "tblTimeTableContent ON tblTimeTableList.Key = "
                          "tblTimeTableContent.Key_TTList WHERE (((tblTimeTableList.Date)=#9/1/2007#));"),
              2);
    EXPECT_EQ(count("SELECT tblTimeTableList.Key FROM tblTimeTableList;"), 2);
    EXPECT_EQ(db->execute("DELETE tblTimeTableList.* FROM tblTimeTableList "
                          "WHERE (((tblTimeTableList.Date)=#9/1/2007#));"),
              1);
    EXPECT_EQ(db->execute("DELETE * FROM tblTimeTableContent;"), 1);
    EXPECT_EQ(count("SELECT tblTimeTableContent.* FROM tblTimeTableContent;"), 0);
}

TEST_F(Semantics, NullAndEmptyTextStayDistinct)
{
    db->execute("INSERT INTO tblAuditories (Auditoria, Corpus, CommentAud) VALUES ('101', '', Null)");
    Recordset rs = db->openRecordset("tblAuditories");
    EXPECT_FALSE(rs.value("Corpus").isNull());
    EXPECT_EQ(rs.value("Corpus").toString(), QString());
    EXPECT_TRUE(rs.value("CommentAud").isNull());
    EXPECT_EQ(count("SELECT tblAuditories.Key FROM tblAuditories WHERE tblAuditories.Corpus = '';"), 1);
    EXPECT_EQ(count("SELECT tblAuditories.Key FROM tblAuditories WHERE tblAuditories.CommentAud Is Null;"), 1);
}

TEST_F(Semantics, ParametersTakeTheirDeclaredTypes)
{
    db->execute("INSERT INTO tblTimeTableList ([Date]) VALUES (#3/14/2007#)");
    db->execute("INSERT INTO tblGroups ([Group], Course) VALUES ('П-9', '1')");
    db->execute("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Group, SubGroup) "
                "VALUES (1, 3, 1, 0)");
    db->createQueryDef("qryProbe",
                       "PARAMETERS pDate DateTime, pKeyGroup Long, pLesson Short, pGroup Text ( 255 );\n"
                       "SELECT tblTimeTableContent.Lesson FROM (tblTimeTableList INNER JOIN "
                       "tblTimeTableContent ON tblTimeTableList.Key = tblTimeTableContent.Key_TTList) "
                       "INNER JOIN tblGroups ON tblGroups.Key = tblTimeTableContent.Key_Group "
                       "WHERE tblTimeTableList.Date = [pDate] AND tblTimeTableContent.Key_Group = pKeyGroup "
                       "AND tblTimeTableContent.Lesson = pLesson AND tblGroups.Group = pGroup;");
    const struct
    {
        QVariant date, key, lesson, group;
        int rows;
    } cases[] = {
        {QDate(2007, 3, 14), 1, 3, QStringLiteral("п-9"), 1},
        {QStringLiteral("14.03.2007"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("П-9"), 1},
        {QStringLiteral("2007-03-14"), qint64(1), 3, QStringLiteral("П-9"), 1},
        {QDate(2007, 3, 15), 1, 3, QStringLiteral("П-9"), 0},
        {QDate(2007, 3, 14), 1, 4, QStringLiteral("П-9"), 0},
    };
    for (const auto &c : cases) {
        QueryDef q = db->queryDef("qryProbe");
        q.setParameter("pDate", c.date);
        q.setParameter("pKeyGroup", c.key);
        q.setParameter("PLESSON", c.lesson);
        q.setParameter("pGroup", c.group);
        EXPECT_EQ(q.openRecordset().recordCount(), c.rows) << c.date.toString().toStdString();
    }
    QueryDef q = db->queryDef("qryProbe");
    EXPECT_EQ(q.parameterType("pDate"), JetType::Date);
    EXPECT_EQ(q.parameterType("pKeyGroup"), JetType::Long);
    EXPECT_EQ(q.parameterType("pLesson"), JetType::Integer);
    EXPECT_EQ(q.parameterType("pGroup"), JetType::Text);
    try {
        q.setParameter("pDate", QStringLiteral("32.13.2007"));
        q.setParameter("pKeyGroup", 1);
        q.setParameter("pLesson", 1);
        q.setParameter("pGroup", QString());
        q.openRecordset();
        FAIL() << "a bad date was accepted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.code(), dberr::TypeMismatch);
    }
}


// HAVING terms on grouped columns are tested before the grouping; terms on aggregates, also
// through an alias, still see the whole group.
TEST_F(Semantics, HavingMixesGroupedColumnsAndAggregates)
{
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Антонов')");
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Борисов')");
    for (int tutor : {1, 1, 1, 2, 2})
        db->execute(QStringLiteral("INSERT INTO tblJob (Key_Tutor) VALUES (%1)").arg(tutor));
    const QString grouped = QStringLiteral(
        "SELECT tblTutors.Tutor, Count(tblJob.Key) AS Jobs FROM tblTutors INNER JOIN tblJob ON "
        "tblTutors.Key = tblJob.Key_Tutor GROUP BY tblTutors.Tutor HAVING %1;");
    const struct
    {
        const char *having;
        QStringList tutors;
    } cases[] = {
        {"tblTutors.Tutor = 'антонов'", {"Антонов"}},
        {"tblTutors.Tutor <> 'Антонов' AND Count(tblJob.Key) = 2", {"Борисов"}},
        {"tblTutors.Tutor = 'Антонов' AND Count(tblJob.Key) = 2", {}},
        {"Jobs > 2 AND tblTutors.Tutor LIKE '*'", {"Антонов"}},
        {"tblTutors.Tutor = 'Антонов' OR Count(tblJob.Key) = 2", {"Антонов", "Борисов"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(column(grouped.arg(QString::fromUtf8(c.having)), "Tutor"), c.tutors)
            << c.having;
}

// SQLite binds its operators differently from the dialect (< tighter than =, || tighter than
// *), and "--" starts a comment: the written SQL must keep the dialect's reading.
TEST_F(Semantics, OperatorsKeepTheDialectsPrecedence)
{
    const struct
    {
        const char *expression;
        const char *value;
    } cases[] = {
        {"2 - 3 - 4", "-5"},
        {"2 - (3 - 4)", "3"},
        {"-(-3)", "3"},
        {"- -3", "3"},
        {"2 - -3", "5"},
        {"2 * (3 + 4)", "14"},
        {"(1 + 2) * 3", "9"},
        {"1 + 2 * 3", "7"},
        {"10 / 2 / 5", "1"},
        {"10 / (2 / 5)", "25"},
        {"2 ^ 3 ^ 2", "64"},
        {"7 Mod 4 Mod 2", "1"},
        {"7 \\ 2 * 2", "1"},
        {"1 + 2 & 3 + 4", "37"},
        {"'a' & 1 + 2", "a3"},
        {"'x' + 'y' & 'z'", "xyz"},
        {"IIf(3 = 3 > 0, 'да', 'нет')", "да"},
        {"IIf((3 = 3) > 0, 'да', 'нет')", "да"},
        {"IIf(3 = (3 > 0), 'да', 'нет')", "нет"},
        {"IIf(Not 1 = 2, 'да', 'нет')", "да"},
        {"IIf(1 = 1 Or 1 = 1 And 1 = 2, 'да', 'нет')", "да"},
        {"IIf((1 = 1 Or 1 = 1) And 1 = 2, 'да', 'нет')", "нет"},
        {"IIf(Not (1 = 1 Or 1 = 2), 'да', 'нет')", "нет"},
        {"IIf(1 = 2 Imp 1 = 2, 'да', 'нет')", "да"},
        {"IIf(1 = 1 Xor 1 = 1 And 1 = 2, 'да', 'нет')", "да"},
        {"IIf(2 + 3 Between 1 + 3 And 2 * 3, 'да', 'нет')", "да"},
        {"IIf('Ab' & 'c' = 'ABC', 'да', 'нет')", "да"},
    };
    for (const auto &c : cases) {
        Recordset rs = db->openRecordset(QStringLiteral("SELECT %1 AS V;").arg(QString::fromUtf8(c.expression)));
        EXPECT_EQ(rs.value("V").toString(), QString::fromUtf8(c.value)) << c.expression;
    }
}

// Chains far longer than anything written by hand still reach SQLite's parser whole.
TEST_F(Semantics, LongOperatorChainsRun)
{
    auto chain = [](const QString &term, const QString &op, int n) {
        QStringList terms;
        for (int i = 0; i < n; ++i)
            terms << term.arg(i);
        return terms.join(op);
    };
    Recordset sum = db->openRecordset(QStringLiteral("SELECT %1 AS V;").arg(chain("1", " + ", 500)));
    EXPECT_EQ(sum.value("V").toInt(), 500);
    Recordset text = db->openRecordset(QStringLiteral("SELECT %1 AS V;").arg(chain("'ab'", " & ", 300)));
    EXPECT_EQ(text.value("V").toString().size(), 600);
    db->execute("INSERT INTO tblTutors (Tutor) VALUES ('Петров')");
    EXPECT_EQ(count(QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE %1;")
                        .arg(chain("tblTutors.Key = %1", " OR ", 900))),
              1);
    EXPECT_EQ(count(QStringLiteral("SELECT tblTutors.Key FROM tblTutors WHERE %1;")
                        .arg(chain("tblTutors.Key <> %1 + 100", " AND ", 900))),
              1);
}

// A text that reads as a date is a date when compared with a date field.
TEST_F(Semantics, DateFieldComparedWithTextComparesDates)
{
    for (const char *d : {"#9/1/2026#", "#11/15/2026#", "#1/10/2027#"})
        db->execute(QStringLiteral("INSERT INTO tblTimeTableList ([Date]) VALUES (%1)").arg(QLatin1String(d)));
    const struct
    {
        const char *condition;
        int rows;
    } cases[] = {
        {"[Date] = '01.09.2026'", 1},
        {"[Date] = '1.9.2026'", 1},
        {"[Date] = '2026-09-01'", 1},
        {"'01.09.2026' = [Date]", 1},
        {"[Date] > '01.12.2026'", 1},
        {"[Date] < '01.12.2026'", 2},
        {"[Date] >= '15.11.2026'", 2},
        {"[Date] Between '01.10.2026' And '31.12.2026'", 1},
        {"[Date] Not Between '01.10.2026' And '31.12.2026'", 2},
        {"[Date] In ('01.09.2026', '2027-01-10')", 2},
        {"[Date] = 'завтра'", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(count(QStringLiteral("SELECT tblTimeTableList.Key FROM tblTimeTableList WHERE %1;")
                            .arg(QString::fromUtf8(c.condition))),
                  c.rows)
            << c.condition;
}

TEST_F(Semantics, NumberBeyondEveryTypeIsRefused)
{
    for (const char *sql : {"SELECT 1e999 AS V;", "SELECT -1E+400 AS V;", "SELECT 1 + 9e9999 AS V;"}) {
        try {
            db->openRecordset(QString::fromUtf8(sql));
            ADD_FAILURE() << sql << " was accepted";
        } catch (const DbError &e) {
            EXPECT_EQ(e.code(), dberr::SyntaxError) << sql;
            EXPECT_TRUE(e.message().contains(QStringLiteral("переполнение"))) << sql;
        }
    }
    EXPECT_EQ(db->openRecordset("SELECT 1e308 AS V;").value("V").toDouble(), 1e308);
    EXPECT_EQ(db->openRecordset("SELECT 99999999999999999999 AS V;").value("V").toDouble(), 1e20);
}

} // namespace
} // namespace korvesta
