// The saved queries of the template against answers taken from the tables with SQLite's own
// SQL, on an institution with the awkward cases (see SampleInstitution).

#include "data/dberror.h"
#include "data/documenttemplate.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "institutionbuilder.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

#include <map>

namespace korvesta {
namespace {

using Params = std::vector<std::pair<QString, QVariant>>;

class SavedQueries : public ::testing::Test
{
protected:
    Recordset open(const QString &name, const Params &params = {})
    {
        QueryDef q = db.queryDef(name);
        for (const auto &[n, v] : params)
            q.setParameter(n, v);
        return q.openRecordset();
    }

    // One field of every row as text (dates ISO).
    QStringList column(const QString &name, const Params &params, const QString &field)
    {
        QStringList values;
        for (Recordset rs = open(name, params); !rs.isEof(); rs.moveNext()) {
            const QVariant v = rs.value(field);
            values << (v.typeId() == QMetaType::QDate ? iso(v.toDate()) : v.toString());
        }
        return values;
    }

    static QString iso(const QDate &d) { return d.toString(Qt::ISODate); }
    QList<QDate> dates() const { return {s.past, s.past.addDays(1), s.past.addDays(2), s.today}; }

    TestFolder folder;
    Database db = Database::open(newTestDocument(folder));
    InstitutionBuilder b{db};
    SampleInstitution s = SampleInstitution::build(b);
};

TEST_F(SavedQueries, EveryQueryRunsAndGivesTheFieldsItsReadersRead)
{
    // What the program's views, commands and routines read of each saved query they open.
    const std::map<QString, QStringList> readers = {
        {"qryGroups", {"Key", "Group", "Course", "GroupColor", "TypeFaculty", "TypeTuition",
                       "TypeFinance", "Comment", "Key_TypeFaculty"}},
        {"qryDisciplines", {"Key", "Discipline", "Discipline1", "DiscColor", "LevelDiff", "Type"}},
        {"qryDisciplineType", {"Key", "Type"}},
        {"qryAuditories", {"Key", "Auditoria", "Corpus", "CommentAud"}},
        {"qryTutors", {"Key", "Tutor"}},
        {"qryPassportGroup", {"Discipline", "Tutor", "Hours", "Count-Lesson", "Max-Date",
                              "DateExam"}},
        {"qryTimeTable", {"Group", "Course", "TypeFaculty", "Tutor", "Discipline", "Discipline1",
                          "Aud", "ShortTypeLesson", "LongTypeLesson", "Lesson", "SubGroup",
                          "DiscColor", "GroupColor"}},
        {"qryTimeTableWork", {"Group", "Course", "TypeFaculty", "Tutor", "Discipline",
                              "Discipline1", "Aud", "ShortTypeLesson", "LongTypeLesson", "Lesson",
                              "SubGroup", "DiscColor", "GroupColor"}},
        {"qryCountGroupLessonsInDay", {"CountLessons"}},
        {"qryCountTutorLessonsInDay", {"CountLessons"}},
        {"qryDateReadOnly", {"ReadOnly"}},
        {"qryGroupValueA", {"CountLesson"}},
        {"qryGroupValueB", {"CountLesson"}},
        {"qryDisciplineValueA", {"CountLesson"}},
        {"qryDisciplineValueB", {"CountLesson"}},
        {"qryAuditoriaValueA", {"CountLesson"}},
        {"qryAuditoriaValueB", {"CountLesson"}},
        {"qryTutorValueA", {"CountLesson"}},
        {"qryTutorValueB", {"CountLesson"}},
        {"qryGetKeyGroup", {"Key"}},
        {"qryGetGroupDateExam", {"DateExam"}},
        {"qryNote", {"Note"}},
        {"qryGetWorkWeeks", {"WeekLessons"}},
    };
    // Run as `korvesta sql FILE NAME --param ...` runs them: each parameter typed by its
    // declaration.
    QStringList templateNames;
    for (const auto &[name, sql] : documentTemplateQueries()) {
        templateNames << name.toLower();
        QueryDef q = db.queryDef(name);
        for (const QString &p : q.parameterNames()) {
            const JetType type = q.parameterType(p);
            q.setParameter(p, type == JetType::Date   ? QVariant(s.past)
                              : type == JetType::Text ? QVariant("П-9")
                                                      : QVariant(1));
        }
        try {
            const Recordset rs = q.openRecordset();
            const auto read = readers.find(name);
            if (read == readers.end())
                continue;
            for (const QString &field : read->second)
                EXPECT_GE(rs.fieldIndex(field), 0) << name.toStdString() << "." << field.toStdString();
        } catch (const DbError &e) {
            ADD_FAILURE() << name.toStdString() << ": " << e.message().toStdString();
        }
    }
    for (const auto &[name, fields] : readers)
        EXPECT_TRUE(templateNames.contains(name.toLower())) << "not in the template: " << name.toStdString();
}

TEST_F(SavedQueries, LessonsOfADayCountLessonNumbersNotRows)
{
    const QString count = "SELECT COUNT(DISTINCT c.Lesson) FROM tblTimeTableContent c JOIN "
                          "tblTimeTableList l ON l.Key = c.Key_TTList JOIN tblJob j ON j.Key = "
                          "c.Key_Job WHERE l.Date = '%1' AND %2 = %3";
    for (const QDate &d : dates()) {
        for (int g : {s.p9, s.p10, s.artagnan, s.isFit, s.noLoad})
            EXPECT_EQ(column("qryCountGroupLessonsInDay", {{"pKeyGroup", g}, {"pDate", d}},
                             "CountLessons"),
                      b.raw(count.arg(iso(d), "c.Key_Group").arg(g)));
        for (int t : {s.ivanov, s.petrov, s.sidorov})
            EXPECT_EQ(column("qryCountTutorLessonsInDay", {{"pDate", d}, {"pKeyTutor", t}},
                             "CountLessons"),
                      b.raw(count.arg(iso(d), "j.Key_Tutor").arg(t)));
    }
    // Two subgroups at lesson 2 are one lesson; a lecture for two groups one of the tutor.
    EXPECT_EQ(column("qryCountGroupLessonsInDay", {{"pKeyGroup", s.p9}, {"pDate", s.past}},
                     "CountLessons"),
              QStringList({"2"}));
    EXPECT_EQ(column("qryCountTutorLessonsInDay", {{"pDate", s.past}, {"pKeyTutor", s.ivanov}},
                     "CountLessons"),
              QStringList({"1"}));
}

TEST_F(SavedQueries, LoadLinesCarryTheLessonsPlacedAndTheTutorsUsualAuditorium)
{
    const QString placed =
        "SELECT COUNT(*), IFNULL(MAX(l.Date), '') FROM tblJobList jl JOIN "
        "tblTimeTableContent c ON jl.Key_Job = c.Key_Job AND jl.Key_Group = "
        "c.Key_Group JOIN tblTimeTableList l ON l.Key = c.Key_TTList WHERE jl.Key = %1";
    for (int g : {s.p9, s.p10, s.artagnan, s.isFit, s.noLoad}) {
        Recordset jobs = open("qrySelJobGroup", {{"pKeyGroup", g}});
        Recordset passport = open("qryPassportGroup", {{"pKeyGroup", g}});
        ASSERT_EQ(
            jobs.recordCount(),
            b.rawNumber(QString("SELECT COUNT(*) FROM tblJobList WHERE Key_Group = %1").arg(g)));
        ASSERT_EQ(passport.recordCount(), jobs.recordCount());
        for (; !jobs.isEof(); jobs.moveNext(), passport.moveNext()) {
            const QStringList expected = b.raw(placed.arg(jobs.value("KeyJobList").toInt()));
            EXPECT_EQ(jobs.value("CountLesson").toString() + '|' +
                          iso(passport.value("Max-Date").toDate()),
                      expected.first());
            EXPECT_EQ(passport.value("Count-Lesson").toString(),
                      jobs.value("CountLesson").toString());
            const int tutor = jobs.value("KeyTutor").toInt();
            EXPECT_EQ(jobs.value("KeyAud").toInt(), tutor == s.ivanov  ? s.a101
                                                    : tutor == s.oneil ? s.a202
                                                                       : 0);
        }
    }
    EXPECT_EQ(column("qrySelJobTutor", {{"pKeyTutor", s.ivanov}}, "CountLesson"),
              QStringList({"3", "1", "2", "1"}));
    EXPECT_EQ(column("qryKeysJob", {{"pKeyJobList", s.linePetrovArtagnan}}, "Key_Group"),
              QStringList({QString::number(s.artagnan)}));
}

TEST_F(SavedQueries, GroupsComeInOneOrderInListsTimetableAndFreeBusy)
{
    const QStringList order = {QString::number(s.p9),       QString::number(s.p10),
                               QString::number(s.isFit),    QString::number(s.isFem),
                               QString::number(s.artagnan), QString::number(s.noLoad)};
    EXPECT_EQ(column("qryGroups", {}, "Key"), order);
    EXPECT_EQ(column("qryFreeBusyGroups", {{"pLesson", 1}, {"pDate", s.past}}, "Key"), order);
    EXPECT_EQ(
        column("qryGroups", {}, "TypeFaculty"),
        QStringList({"отсутствует", "отсутствует", "ФИТ", "ФЭМ", "отсутствует", "отсутствует"}));
    EXPECT_EQ(column("qryGroups", {}, "TypeTuition").at(4), QStringLiteral("Очная"));
    EXPECT_EQ(column("qryGroupsInCourse", {}, "Course"), QStringList({"1", "2", "3"}));

    // The rows of a date meet the group columns in one pass: group by group in list order,
    // within a group by lesson and subgroup.
    for (const QDate &d : dates()) {
        Recordset rs = open("qryTimeTable", {{"pDate", d}});
        EXPECT_EQ(rs.recordCount(),
                  b.rawNumber("SELECT COUNT(*) FROM tblTimeTableContent c JOIN "
                              "tblTimeTableList l ON l.Key = c.Key_TTList WHERE l.Date = '" +
                              iso(d) + "'"));
        std::tuple<qsizetype, int, int> previous{-1, 0, 0};
        for (; !rs.isEof(); rs.moveNext()) {
            const std::tuple<qsizetype, int, int> current{
                order.indexOf(rs.value("Key_Group").toString()), rs.value("Lesson").toInt(),
                rs.value("SubGroup").toInt()};
            EXPECT_LT(previous, current);
            previous = current;
        }
    }
    Recordset rs = open("qryTimeTable", {{"pDate", s.past}});
    for (const char *field :
         {"Group", "Course", "TypeFaculty", "Tutor", "Discipline", "Discipline1", "Aud",
          "ShortTypeLesson", "LongTypeLesson", "Lesson", "SubGroup", "DiscColor", "GroupColor"})
        EXPECT_GE(rs.fieldIndex(field), 0) << field;
    EXPECT_EQ(column("qryTimeTable", {{"pDate", s.past}}, "Aud"),
              QStringList({"101", "202", "Лаб (хим)", "101", "202"}));
    EXPECT_EQ(column("qryTimeTableWork", {{"pDate", s.past}}, "Tutor"),
              QStringList({"Иванов И.И.", "Иванов И.И.", "О'Нил", "Петров П.П.", "Петров П.П."}));
}

TEST_F(SavedQueries, FreeItemTellsWhoIsFreeAtALesson)
{
    const QString busy =
        "SELECT DISTINCT %1 FROM tblTimeTableContent c JOIN tblTimeTableList l ON "
        "l.Key = c.Key_TTList JOIN tblJob j ON j.Key = c.Key_Job WHERE l.Date = '%2' "
        "AND c.Lesson = %3";
    const std::pair<const char *, const char *> kinds[] = {
        {"qryFreeBusyGroups", "c.Key_Group"},
        {"qryFreeBusyAuditories", "c.Key_Aud"},
        {"qryFreeBusyDisciplines", "j.Key_Discipline"},
        {"qryFreeBusyTutors", "j.Key_Tutor"},
    };
    for (const QDate &d : dates()) {
        for (int lesson = 1; lesson <= 6; ++lesson) {
            for (const auto &[query, key] : kinds) {
                const QStringList taken = b.raw(busy.arg(key, iso(d)).arg(lesson));
                for (Recordset rs = open(query, {{"pLesson", lesson}, {"pDate", d}}); !rs.isEof();
                     rs.moveNext()) {
                    const int k = rs.value("Key").toInt();
                    bool free = !taken.contains(QString::number(k));
                    // Петров is away on past + 2, at lesson 2 of past + 3, on Wednesdays, at
                    // lesson 4 on Fridays and at lesson 6 every day.
                    if (QLatin1String(key) == QLatin1String("j.Key_Tutor") && k == s.petrov)
                        free = free && d != s.past.addDays(2) && d.dayOfWeek() != 3 &&
                               lesson != 6 && !(d.dayOfWeek() == 5 && lesson == 4);
                    EXPECT_EQ(rs.value("FreeItem").toBool(), free)
                        << query << " " << k << " " << lesson;
                }
            }
        }
    }
    EXPECT_EQ(
        open("qryFreeBusyTutors", {{"pLesson", 2}, {"pDate", s.past.addDays(3)}}).value("Tutor"),
        QStringLiteral("Иванов И.И."));
    EXPECT_EQ(
        column("qryFreeBusyTutors", {{"pLesson", 2}, {"pDate", s.past.addDays(3)}}, "FreeItem"),
        QStringList({"true", "true", "false", "true"}));
}

TEST_F(SavedQueries, ExceptionsOfATutorByKind)
{
    const Params tutor = {{"pKeyTutor", s.petrov}};
    const Params week = {
        {"pKeyTutor", s.petrov}, {"pStartDate", s.past}, {"pEndDate", s.past.addDays(6)}};
    const struct
    {
        const char *query;
        const Params &params;
        const char *field;
        QStringList values;
    } cases[] = {
        {"qryFreeTimeTutor", tutor, "KeyTypeOut", {"1", "2", "3", "4", "1"}},
        {"qryOutWeekDay1", tutor, "FreeDay", {"3"}},
        {"qryOutLesson1", tutor, "FreeLesson", {"6"}},
        {"qryOutLesson2", tutor, "FreeDay", {"5"}},
        {"qryOutLesson2", tutor, "FreeLesson", {"4"}},
        {"qryOutLocalDate3", week, "CountDays", {"1"}},
        {"qryOutLesson5", week, "KeyTypeOut", {"2"}},
        {"qryOutLesson4", week, "Lesson", {"2", "3"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(column(c.query, c.params, c.field), c.values) << c.query << " " << c.field;
    // The busy-time chart gives its period as text.
    EXPECT_EQ(column("qryBusyTime",
                     {{"pStartDate", s.past.toString("dd.MM.yyyy")},
                      {"pEndDate", s.past.addDays(1).toString("dd.MM.yyyy")},
                      {"pKeyTutor", s.ivanov}},
                     "Lesson"),
              QStringList({"1", "1", "2", "3"}));
}

TEST_F(SavedQueries, WorkingWeeksOfTheStudyPeriod)
{
    const QDate monday(2007, 9, 3);
    const struct
    {
        const char *name;
        QList<std::pair<QDate, QDate>> rests;
        QStringList weeks;
    } cases[] = {
        {"no study period", {}, {}},
        {"Monday to the Friday 17 weeks on", {}, {"17"}},
        {"two weeks Monday to Sunday", {{monday.addDays(49), monday.addDays(62)}}, {"15"}},
        {"Wednesday to the Tuesday two weeks on",
         {{monday.addDays(51), monday.addDays(64)}},
         {"16"}},
        {"three days", {{monday.addDays(50), monday.addDays(52)}}, {"17"}},
        {"after the period", {{QDate(2008, 1, 7), QDate(2008, 1, 20)}}, {"17"}},
    };
    for (const auto &c : cases) {
        db.execute("DELETE * FROM tblAutoTable;");
        if (!c.weeks.isEmpty())
            b.period("Session", monday, monday.addDays(7 * 16 + 4));
        for (const auto &[from, to] : c.rests)
            b.period("Rest", from, to);
        EXPECT_EQ(column("qryGetWorkWeeks", {}, "WeekLessons"), c.weeks) << c.name;
    }
}

TEST_F(SavedQueries, CopyingSeesTheLoadLineAndTheLessonsItReplaces)
{
    EXPECT_EQ(column("qryCheckCopyOverJob", {{"pKeyGroup", s.isFit}, {"pKeyJob", s.ivanovMath}},
                     "CountHours"),
              QStringList({"2"}));
    EXPECT_TRUE(open("qryCheckCopyOverJob", {{"pKeyGroup", s.noLoad}, {"pKeyJob", s.ivanovMath}})
                    .isEmpty());

    const int day = b.day(s.past);
    const QString row =
        "SELECT Key FROM tblTimeTableContent WHERE Key_Job = %1 AND Key_TTList = %2";
    const QString petrov = b.raw(row.arg(s.petrovMath).arg(day)).first();
    const QString oneil = b.raw(row.arg(s.oneilPhysics).arg(day)).first();
    const struct
    {
        int subGroup, job;
        QStringList replaced;
    } cases[] = {
        {1, s.ivanovMath, {petrov}},
        {0, s.ivanovMath, {petrov}}, // the whole group stands where subgroup 1 does
        {2, s.ivanovMath, {oneil}},
        {1, s.oneilPhysics, {petrov, oneil}}, // the same subgroup, or the same load line
        {3, s.ivanovMath, {}},
    };
    auto params = [&](int subGroup, int job) {
        return Params{{"pKeyTTL", day},
                      {"pLesson", 2},
                      {"pKeyGroup", s.p9},
                      {"pSubGroup", subGroup},
                      {"pKeyJob", job}};
    };
    for (const auto &c : cases)
        EXPECT_EQ(column("qryCopyReWrite", params(c.subGroup, c.job), "Key"), c.replaced)
            << c.subGroup;
    open("qryCopyReWrite", params(2, 0)).deleteCurrent();
    EXPECT_EQ(b.rawNumber("SELECT COUNT(*) FROM tblTimeTableContent WHERE Key = " + oneil), 0);
}

TEST_F(SavedQueries, ListsAndReportsOfNamesWithApostrophes)
{
    auto period = [&](const char *name, const char *value) {
        return Params{{name, value}, {"pBeginDate", s.past}, {"pEndDate", s.future}};
    };
    const struct
    {
        const char *query;
        Params params;
        int rows;
    } reports[] = {
        {"qrySDLTutor", period("pTutor", "иванов и.и."), 7},
        {"qrySDLGroup", period("pGroup", "П-9"), 5},
        {"qrySDLGroup", period("pGroup", "П-9  (1)"), 5},
        {"qrySDLGroup", period("pGroup", "Д'Артаньян"), 1},
        {"qrySDLAud", period("pAud", "Лаб (хим) (Главный)"), 1},
        {"qrySDLAud", period("pAud", "202"), 3},
    };
    for (const auto &r : reports)
        EXPECT_EQ(open(r.query, r.params).recordCount(), r.rows) << r.query;

    const Params ivanov = {{"pKeyTutor", s.ivanov}, {"pStartDate", s.past}, {"pEndDate", s.future}};
    EXPECT_EQ(column("OTR51", ivanov, "GroupCourse"),
              QStringList({"П-9  (1)", "П-10  (1)", "ИС-21  (2)", "ИС-21  (2)"}));
    EXPECT_EQ(column("OTR51", ivanov, "CountLessons"), QStringList({"3", "1", "2", "1"}));
    EXPECT_EQ(column("qryNote", {{"pDate", s.past}}, "Note"), QStringList({"Собрание 'кафедры'"}));
    EXPECT_EQ(column("qryDateReadOnly", {{"pDate", s.past.addDays(1)}}, "ReadOnly"),
              QStringList({"true"}));
    // The load: a tutor's lines together, each discipline's together, the usual auditorium.
    EXPECT_EQ(column("qryKorvesta", {}, "Tutor").join(','),
              "Иванов И.И.,Иванов И.И.,Иванов И.И.,Иванов И.И.,О'Нил,Петров П.П.,Петров "
              "П.П.,Петров П.П.");
    EXPECT_EQ(column("qryKorvesta", {}, "Discipline").mid(5), QStringList({"Матем", "Физ", "Физ"}));
    EXPECT_EQ(column("qryKorvesta", {}, "Auditoria"),
              QStringList({"101", "101", "101", "101", "202", "", "", ""}));
    EXPECT_EQ(column("qryAuditories", {}, "Auditoria"), QStringList({"202", "101", "Лаб (хим)"}));
    EXPECT_EQ(column("OTR32", {}, "CountGroups").first(),
              QStringLiteral("2")); // a lecture to a stream
}

} // namespace
} // namespace korvesta
