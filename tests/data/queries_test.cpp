// The routines of the query layer as views and editors call them: results, empty results,
// no document, a document without its saved queries.

#include "data/queries.h"
#include "data/querydef.h"
#include "support/documentfixture.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;

class Queries : public DocumentTest
{
protected:
    // Every row as "a|b|c" (dates dd.MM); "<none>" for no recordset.
    static QStringList rows(std::optional<Recordset> rs)
    {
        if (!rs)
            return {QStringLiteral("<none>")};
        QStringList out;
        for (; !rs->isEof(); rs->moveNext()) {
            QStringList cells;
            for (int i = 0; i < rs->fieldCount(); ++i) {
                const QVariant v = rs->value(i);
                cells << (v.typeId() == QMetaType::QDate ? v.toDate().toString("dd.MM")
                                                         : v.toString());
            }
            out << cells.join(u'|');
        }
        return out;
    }

    SampleInstitution s = SampleInstitution::build(b);
    DocumentQueries q{session, store, prompts};
};

// Each routine called once, reduced to "did it answer".
template<typename T>
bool answered(const T &result)
{
    if constexpr (std::is_same_v<T, std::optional<Recordset>>)
        return result.has_value();
    else if constexpr (std::is_same_v<T, QString>)
        return !result.isEmpty();
    else if constexpr (std::is_same_v<T, QDate>)
        return result.isValid();
    else
        return result != 0;
}

int groupKey(DocumentQueries &q, QString text)
{
    QString course, faculty;
    return q.GetGroupKey(text, course, faculty, "Очная", "Бюджетная");
}

struct Routine
{
    const char *name;
    bool rewrites;
    std::function<bool(DocumentQueries &, const SampleInstitution &)> call;
};

// clang-format off
#define ROUTINE(name, rewrites, call) \
    Routine{name, rewrites, [](DocumentQueries &q, const SampleInstitution &s) { \
        Q_UNUSED(s); \
        return answered(call); \
    }}
// clang-format on

const Routine kRoutines[] = {
    ROUTINE("CountGroupLessonsInDay", false, q.CountGroupLessonsInDay(s.p9, s.past)),
    ROUTINE("CanAddTutorLesson", false, !q.CanAddTutorLesson(s.ivanov, s.past, false)),
    ROUTINE("IsDateReadOnly", false, q.IsDateReadOnly(s.past.addDays(1))),
    ROUTINE("OpenTutorHoursByGroup", true, q.OpenTutorHoursByGroup(s.ivanov, s.past, s.future)),
    ROUTINE("OpenTutorLessonsByGroup", true, q.OpenTutorLessonsByGroup(s.ivanov, s.past, s.future)),
    ROUTINE("OpenLessonsInPeriod", true, q.OpenLessonsInPeriod(s.past, s.future)),
    ROUTINE("OpenTutorBusyTotals", true, q.OpenTutorBusyTotals("Петров П.П.")),
    ROUTINE("OpenBusyTime", false, q.OpenBusyTime(s.ivanov, "01.01.2000", "01.01.2100")),
    ROUTINE("OpenList", false, q.OpenList("Groups")),
    ROUTINE("OpenGroupPassport", false, q.OpenGroupPassport(s.p9)),
    ROUTINE("OpenTutorFreeTime", false, q.OpenTutorFreeTime(s.petrov)),
    ROUTINE("OpenTimeTable", false, q.OpenTimeTable(s.past, 1)),
    ROUTINE("OpenScheduleReport", false, q.OpenScheduleReport(1, "П-9", s.past, s.future)),
    ROUTINE("GetDisciplineUsage", false, q.GetDisciplineUsage("Матем", "Математика")),
    ROUTINE("GetGroupUsage", false, q.GetGroupUsage("П-9", "1", "")),
    ROUTINE("GetGroupKey", false, groupKey(q, "П-9  (1)")),
    ROUTINE("OpenJobsOfTutor", false, q.OpenJobsOfTutor(s.ivanov)),
    ROUTINE("OpenJobsOfGroup", false, q.OpenJobsOfGroup(s.p9)),
    ROUTINE("OpenTutorLessonsOnDay", false, q.OpenTutorLessonsOnDay(s.ivanov, 1, s.past)),
    ROUTINE("OpenGroupLessonsOnDay", false, q.OpenGroupLessonsOnDay(s.p9, 1, s.past)),
    ROUTINE("OpenJobKeys", false, q.OpenJobKeys(s.lineIvanovP9)),
    ROUTINE("GetGroupExamDate", false, q.GetGroupExamDate("П-9", "1", "")),
    ROUTINE("GetNote", false, q.GetNote(s.past)),
    ROUTINE("OpenFreeBusy", false, q.OpenFreeBusy(4, 1, s.past)),
    ROUTINE("GetWorkWeeks", false, q.GetWorkWeeks()),
    ROUTINE("OpenLoadBreakdown", false, q.OpenLoadBreakdown(s.ivanov, s.past, s.future)),
};

TEST_F(Queries, NoDocumentAndADocumentWithoutItsSavedQueries)
{
    b.period("Session", QDate(2007, 9, 3), QDate(2007, 12, 28));
    store.writeInt("Settings", "LessonsToTutor", 1);
    for (const Routine &r : kRoutines)
        EXPECT_TRUE(r.call(q, s)) << r.name;
    EXPECT_TRUE(prompts.shown.empty());

    // No document: the rewriting routines give nothing at once, the others ask for one.
    DocumentSession none{prompts, store, {folder.path(), folder.path()}};
    DocumentQueries nq{none, store, prompts};
    for (const Routine &r : kRoutines) {
        prompts.shown.clear();
        if (!r.rewrites)
            prompts.fileAnswers.push_back(std::nullopt); // the user cancels the open dialog
        EXPECT_FALSE(r.call(nq, s)) << r.name;
        EXPECT_EQ(prompts.texts(Kind::OpenFile).size(), r.rewrites ? 0 : 1) << r.name;
    }

    // A saved query without a field read here is of another layout as well.
    const QString otherLayout = "Некорректный формат базы данных\r\nДействие отменено";
    b.db().queryDef("qryNote").setSql(
        "PARAMETERS pDate DateTime; SELECT tblNotes.Key_TTL FROM tblNotes;");
    prompts.shown.clear();
    EXPECT_EQ(q.GetNote(s.past), QString());
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList({otherLayout}));

    // Saved queries missing: the shared message, once per call, and an empty result.
    b.raw("DELETE FROM sysQueries");
    Database::forgetAll();
    for (const Routine &r : kRoutines) {
        prompts.shown.clear();
        EXPECT_FALSE(r.call(q, s)) << r.name;
        EXPECT_EQ(prompts.texts(Kind::Message), QStringList({otherLayout})) << r.name;
    }
}

TEST_F(Queries, DayLimitsRefuseOnlyANewLessonBeyondTheLimit)
{
    // П-9 has lessons 1 and 2 on past, Иванов lesson 1.
    const struct
    {
        const char *key;
        int limit;
        bool cellHoldsLesson, allowed;
    } cases[] = {
        {"LessonsToGroup", 0, false, true},  {"LessonsToGroup", 2, false, false},
        {"LessonsToGroup", 2, true, true},   {"LessonsToGroup", 3, false, true},
        {"LessonsToTutor", 1, false, false}, {"LessonsToTutor", -1, false, true},
    };
    for (const auto &c : cases) {
        store.writeInt("Settings", c.key, c.limit);
        EXPECT_EQ(QLatin1String(c.key) == QLatin1String("LessonsToGroup")
                      ? q.CanAddGroupLesson(s.p9, s.past, c.cellHoldsLesson)
                      : q.CanAddTutorLesson(s.ivanov, s.past, c.cellHoldsLesson),
                  c.allowed)
            << c.key << " " << c.limit << " " << c.cellHoldsLesson;
    }
}

TEST_F(Queries, UsageSplitsLessonsHeldUpToTodayFromFutureOnes)
{
    const std::pair<QString, const char *> cases[] = {
        {q.GetGroupUsage("Э-31", "3", "отсутствует"), ""},   // the empty text for "0;0"
        {q.GetGroupUsage("п-9", "1", "отсутствует"), "3;1"}, // a lesson of today is held
        {q.GetGroupUsage("Д'Артаньян", "2", ""), "1;0"},     // no type keys at all
        {q.GetGroupUsage("ИС-21", "2", "ФИТ"), "2;0"},
        {q.GetAuditoriaUsage("Лаб (хим)", "главный"), "1;0"},
        {q.GetAuditoriaUsage("999", "Главный"), ""},
        {q.GetTutorUsage("Сидоров"), "0;0"},
        {q.GetTutorUsage("Иванов И.И."), "5;1"}, // the lecture to two groups counts once
        {q.GetTutorUsage("О'Нил"), "1;0"},
        {q.GetDisciplineUsage("Физ", "Физика 'общая'"), "2;1"},
    };
    for (const auto &[got, expected] : cases)
        EXPECT_EQ(got, QString::fromUtf8(expected));
}

TEST_F(Queries, GroupKeyFromNamesAndFromTheDisplayText)
{
    const int extramural =
        b.add("tblGroups", {"Group", "Заочники", "Course", "4", "Key_TypeFaculty", 1,
                            "Key_TypeTuition", 2, "Key_TypeFinance", 2});
    const struct
    {
        const char *group, *course, *faculty, *tuition, *finance;
        int key;
        const char *after; // group|course|faculty afterwards
    } cases[] = {
        {"П-9", "1", "отсутствует", "Очная", "Бюджетная", s.p9, "П-9|1|отсутствует"},
        {"п-10", "1", "", "Очная", "Бюджетная", s.p10, "п-10|1|отсутствует"},
        {"Д'Артаньян", "2", "отсутствует", "Очная", "Бюджетная", s.artagnan,
         "Д'Артаньян|2|отсутствует"},
        // One name in two faculties: the faculty decides; without one, the types do.
        {"ИС-21", "2", "ФЭМ", "Очная", "Бюджетная", s.isFem, "ИС-21|2|ФЭМ"},
        {"ИС-21", "2", "ФИТ", "Заочная", "Внебюджетная", s.isFit, "ИС-21|2|ФИТ"},
        {"ИС-21", "2", "отсутствует", "Заочная", "Внебюджетная", s.isFit, "ИС-21|2|отсутствует"},
        {"ИС-21", "2", "отсутствует", "Очная", "Бюджетная", s.isFem, "ИС-21|2|отсутствует"},
        {"ИС-21", "2", "ФПМ", "Очная", "Бюджетная", 0, "ИС-21|2|ФПМ"},
        // Callers that cannot tell the form of study pass the defaults.
        {"Заочники", "4", "", "Очная", "Бюджетная", extramural, "Заочники|4|отсутствует"},
        // A grid's text, taken apart when the course is empty.
        {"П-9  (1)", "", "", "Очная", "Бюджетная", s.p9, "П-9|1|отсутствует"},
        {"ИС-21  (2) ФЭМ", "", "", "Очная", "Бюджетная", s.isFem, "ИС-21|2|ФЭМ"},
        {"Д'Артаньян(2)", "", "", "Очная", "Бюджетная", s.artagnan, "Д'Артаньян|2|отсутствует"},
        {"", "", "", "", "", 0, "||отсутствует"},
    };
    for (const auto &c : cases) {
        QString group = c.group, course = c.course, faculty = c.faculty;
        EXPECT_EQ(q.GetGroupKey(group, course, faculty, c.tuition, c.finance), c.key)
            << c.group << " " << c.faculty;
        EXPECT_EQ(QStringList({group, course, faculty}).join('|'), QString::fromUtf8(c.after));
    }
}

TEST_F(Queries, KeysFromDisplayTextsAndTypeNames)
{
    const int faculty = b.add("tblTypeFaculty", {"TypeFaculty", "Д'Арт"});
    const struct
    {
        const char *text, *kind;
        int key;
    } cases[] = {
        {"д'артаньян  (2)", "Group", s.artagnan},
        {"ИС-21  (2) ФЭМ", "Group", s.isFem},
        {"П-9  (3)", "Group", 0},
        {"Лаб (хим) (Главный)", "Auditoria", s.lab},
        {"202", "Auditoria", s.a202},
        {"101 (Второй)", "Auditoria", 0},
        {"Физ", "Discipline", s.physics},
        {"о'нил", "Tutor", s.oneil},
        {"О'Нил", "Someone", 0},
        {"Д'Арт", "Faculty", faculty},
        {"внебюджетная", "Finance", 2},
        {"Заочная", "Tuition", 2},
        {"отсутствует", "DiscType", 1},
        {"Очная", "Faculty", 0},
    };
    for (const auto &c : cases) {
        const QString kind = QString::fromLatin1(c.kind);
        const bool type =
            kind == "Faculty" || kind == "Finance" || kind == "Tuition" || kind == "DiscType";
        EXPECT_EQ(type ? q.GetTypeKey(c.text, kind) : q.GetKeyByText(c.text, kind), c.key)
            << c.text << " " << c.kind;
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Queries, ListsOpenTheirSourcesAndOtherNamesOrKindsNothing)
{
    const std::pair<const char *, int> lists[] = {
        {"Groups", 6},       {"GroupsInCourse", 3},  {"Disciplines", 2},    {"Tutors", 4},
        {"Korvesta", 8},     {"Auditories", 3},      {"DisciplineType", 1}, {"TimeLesson", 0},
        {"TypeFaculty", 3},  {"TypeLesson", 4},      {"TypeTuition", 4},    {"TypeFinance", 2},
        {"TutorTypeOut", 4}, {"LectureForTabel", 8},
    };
    for (const auto &[list, count] : lists)
        EXPECT_EQ(rows(q.OpenList(list)).size(), count) << list;
    // The load lines without their counts are the list's own in what the load view reads of
    // them, the count aside; a list of the planner's own is read as it stands.
    const auto shown = [](std::optional<Recordset> rs) {
        QStringList lines;
        for (; rs && !rs->isEof(); rs->moveNext()) {
            QStringList fields;
            for (const char *name : {"Tutor", "Discipline", "Group", "Course", "TypeFaculty",
                                     "Hours", "Auditoria", "Corpus", "DiscType",
                                     "Key_TypeTuition", "Key_TypeFinance"})
                fields << rs->value(QString::fromLatin1(name)).toString();
            lines << fields.join(u'|');
        }
        return lines;
    };
    const QStringList load = rows(q.OpenList("Korvesta"));
    EXPECT_EQ(rows(q.OpenLoadLines(true)), load);
    EXPECT_EQ(shown(q.OpenLoadLines(false)), shown(q.OpenList("Korvesta")));
    EXPECT_EQ(shown(q.OpenLoadLines(false)).size(), 8);
    EXPECT_LT(q.OpenLoadLines(false)->fieldIndex("KeyJobList"), 0); // nor what it does not read
    b.db().queryDef("qryKorvesta").setSql(QString(b.db().queryDef("qryKorvesta").sql()).replace(
        "tblTutors.Tutor, tblDisciplines", "tblTutors.Tutor & '*' AS Tutor, tblDisciplines"));
    EXPECT_TRUE(rows(q.OpenLoadLines(false)).front().startsWith("Иванов И.И.*|"));
    EXPECT_EQ(rows(q.OpenList("Courses")), QStringList({"<none>"}));
    EXPECT_EQ(rows(q.OpenTimeTable(s.past, 2)), QStringList({"<none>"}));
    EXPECT_EQ(rows(q.OpenScheduleReport(3, "П-9", s.past, s.future)), QStringList({"<none>"}));
    EXPECT_EQ(rows(q.OpenFreeBusy(5, 1, s.past)), QStringList({"<none>"}));
    // The lesson-number column stands for lesson 1.
    EXPECT_EQ(rows(q.OpenFreeBusy(4, 0, s.past)), rows(q.OpenFreeBusy(4, 1, s.past)));
    EXPECT_NE(rows(q.OpenFreeBusy(4, 2, s.past)), rows(q.OpenFreeBusy(4, 1, s.past)));
    // Without a date (the auditorium change asks by lesson alone) every auditorium is free.
    std::optional<Recordset> auditoriums = q.OpenFreeBusy(3, 1, QDate());
    ASSERT_TRUE(auditoriums);
    EXPECT_EQ(auditoriums->recordCount(), 3);
    for (; !auditoriums->isEof(); auditoriums->moveNext())
        EXPECT_TRUE(auditoriums->value("FreeItem").toBool());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Queries, ExamsNotesAndProtectedDates)
{
    const QDate exam = s.past.addDays(4);
    q.ShowExamsOnDate(exam.addDays(-1));
    EXPECT_TRUE(prompts.shown.empty());
    q.ShowExamsOnDate(exam);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(prompts.shown[0].text, "На " +
                                         QLocale(QLocale::Russian).toString(exam, "dd MMMM yyyy") +
                                         " назначен экзамен:\r\n"
                                         "\r\nв группе П-9 (курс 1)  по дисциплине Матем"
                                         "\r\nв группе ИС-21 (курс 2)  по дисциплине Матем");
    EXPECT_EQ(q.GetGroupExamDate("П-9", "1", "отсутствует"), exam);
    EXPECT_EQ(q.GetGroupExamDate("П-10", "1", "отсутствует"), QDate());
    EXPECT_EQ(q.GetNote(s.past), QStringLiteral("Собрание 'кафедры'"));
    EXPECT_EQ(q.GetNote(s.future), QString());
    EXPECT_TRUE(q.IsDateReadOnly(s.past.addDays(1)));
    EXPECT_FALSE(q.IsDateReadOnly(s.past.addDays(-100)));
    EXPECT_EQ(q.GetWorkWeeks(), 0);
}

TEST_F(Queries, AccountingHasOneColumnPerDateOrGroup)
{
    // Timesheet: ИС-21 twice, one per faculty; ФИТ's load of 2 given in full.
    std::optional<Recordset> rs = q.OpenTutorHoursByGroup(s.ivanov, s.past, s.future);
    ASSERT_TRUE(rs);
    const QString d = "dd.MM.yyyy";
    EXPECT_EQ(rs->fieldNames(),
              QStringList({"Discipline", "Group", "Course", "всего", "отраб", "остат",
                           "Key_Discipline", "Key_Group", s.past.toString(d),
                           s.past.addDays(1).toString(d), s.today.toString(d),
                           s.future.toString(d)}));
    const auto keys = [&](int group) { return QString("%1|%2|").arg(s.math).arg(group); };
    EXPECT_EQ(rows(std::move(rs)),
              QStringList({"Матем|П-9|1|40|3|37|" + keys(s.p9) + "1||1|1",
                           "Матем|П-10|1|30|1|29|" + keys(s.p10) + "1|||",
                           "Матем|ИС-21|2|2|2|0|" + keys(s.isFit) + "|2||",
                           "Матем|ИС-21|2|10|1|9|" + keys(s.isFem) + "|1||"}));
    EXPECT_EQ(rows(q.OpenTutorHoursByGroup(s.ivanov, s.future, s.future)),
              QStringList({"Матем|П-9|1|40|1|39|" + keys(s.p9) + "1"}));
    EXPECT_EQ(rows(q.OpenTutorHoursByGroup(s.sidorov, s.past, s.future)), QStringList());

    rs = q.OpenTutorLessonsByGroup(s.petrov, s.past, s.future);
    ASSERT_TRUE(rs);
    // Groups by Key: П-10 was added before П-9, Д'Артаньян after them.
    EXPECT_EQ(rs->fieldNames(), QStringList({"Date", QString::number(s.p10),
                                             QString::number(s.p9),
                                             QString::number(s.artagnan)}));
    EXPECT_EQ(rows(std::move(rs)), QStringList({s.past.toString("dd.MM") + "||1|1",
                                                s.future.toString("dd.MM") + "|1||"}));

    rs = q.OpenLessonsInPeriod(s.past, s.past.addDays(1));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->fieldNames(),
              QStringList({"Tutor", "Discipline", "всего", "отраб", "остат", "Key_Tutor",
                           "Key_Discipline", QString::number(s.p10), QString::number(s.p9),
                           QString::number(s.artagnan), QString::number(s.isFit),
                           QString::number(s.isFem)}));
    // The two groups ИС-21 of course 2 stay apart.
    const auto who = [](int tutor, int discipline) {
        return QString("%1|%2|").arg(tutor).arg(discipline);
    };
    EXPECT_EQ(rows(std::move(rs)),
              QStringList({"Иванов И.И.|Матем|82|5|77|" + who(s.ivanov, s.math) + "1|1||2|1",
                           "О'Нил|Физ|10|1|9|" + who(s.oneil, s.physics) + "|1|||",
                           "Петров П.П.|Матем|20|1|19|" + who(s.petrov, s.math) + "|1|||",
                           "Петров П.П.|Физ|15|1|14|" + who(s.petrov, s.physics) + "||1||"}));
    // The period holds most of the document's dates, and the lessons are walked in the order
    // they are counted in; among many more dates they are read from the period's own, with
    // the same figures.
    const QStringList walked = rows(q.OpenLessonsInPeriod(s.past, s.past.addDays(1)));
    for (int n = 1; n <= 20; ++n)
        b.day(s.past.addYears(-1).addDays(n));
    EXPECT_EQ(rows(q.OpenLessonsInPeriod(s.past, s.past.addDays(1))), walked);

    // Busy time: the totals repeated on each of Петров's five exceptions; none without lessons.
    rs = q.OpenTutorBusyTotals("Петров П.П.");
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->recordCount(), 5);
    EXPECT_EQ(rs->value("CountLesson").toInt(), 3);
    EXPECT_EQ(rs->value("CountDays").toInt(), s.past.daysTo(s.future));
    EXPECT_EQ(rows(q.OpenTutorBusyTotals("О'Нил")).size(), 1);
    EXPECT_EQ(rows(q.OpenTutorBusyTotals("Сидоров")), QStringList());
}

} // namespace
} // namespace korvesta
