// The printed reports made from a small institution built in code: every report written as
// text and HTML and compared with the rows SQLite itself gives for the same question, then
// the awkward cases (no lessons, a long name, a whole year, a broken layout file, a
// destination that cannot be written).

#include "reports/documentfiles.h"
#include "reports/reportmaker.h"
#include "reports/reportpainter.h"
#include "support/guiapplication.h"
#include "reports/reportwriters.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;

// The rows of the report's HTML table, cells joined by '|'; group headings and totals apart.
struct HtmlTable
{
    QString title;
    QStringList headings;
    QStringList rows;
    QStringList groups;
    QStringList totals;
};

QString unescaped(QString text)
{
    text.replace(QStringLiteral("<br>"), QStringLiteral("\n"));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

HtmlTable readHtml(const QString &html)
{
    HtmlTable table;
    static const QRegularExpression title(QStringLiteral("<h1>(.*?)</h1>"));
    table.title = unescaped(title.match(html).captured(1));
    static const QRegularExpression row(QStringLiteral("<tr( class=\"(\\w+)\")?>(.*?)</tr>"));
    static const QRegularExpression cell(QStringLiteral("<t([dh])[^>]*>(.*?)</t[dh]>"));
    for (auto r = row.globalMatch(html); r.hasNext();) {
        const auto m = r.next();
        QStringList cells;
        bool heading = false;
        for (auto c = cell.globalMatch(m.captured(3)); c.hasNext();) {
            const auto cm = c.next();
            heading = cm.captured(1) == u"h";
            cells << unescaped(cm.captured(2));
        }
        if (heading)
            table.headings = cells;
        else if (m.captured(2) == u"group")
            table.groups << cells.join(u'|');
        else if (m.captured(2) == u"total")
            table.totals << cells.join(u'|');
        else
            table.rows << cells.join(u'|');
    }
    return table;
}

// The lines of the text that hold the cells of a row in their order.
int textLinesWith(const QString &text, const QStringList &cells)
{
    int found = 0;
    for (const QString &line : text.split(u'\n')) {
        qsizetype at = 0;
        bool all = true;
        for (const QString &cell : cells) {
            if (cell.isEmpty())
                continue;
            at = line.indexOf(cell, at);
            if (at < 0) {
                all = false;
                break;
            }
            at += cell.size();
        }
        found += all ? 1 : 0;
    }
    return found;
}

const char *const kLessonJoins =
    " FROM tblTimeTableContent c JOIN tblTimeTableList l ON l.\"Key\" = c.Key_TTList"
    " JOIN tblJob j ON j.\"Key\" = c.Key_Job JOIN tblTutors t ON t.\"Key\" = j.Key_Tutor"
    " JOIN tblDisciplines d ON d.\"Key\" = j.Key_Discipline"
    " JOIN tblGroups g ON g.\"Key\" = c.Key_Group"
    " LEFT JOIN tblAuditories a ON a.\"Key\" = c.Key_Aud"
    " LEFT JOIN tblTypeLesson ty ON ty.\"Key\" = c.Key_TypeLesson"
    " LEFT JOIN tblTimeLesson tl ON tl.Lesson = c.Lesson ";
const char *const kLessonOrder =
    " ORDER BY l.\"Date\", c.Lesson, g.Course, length(g.\"Group\"), g.\"Group\", c.Key_Group,"
    " c.SubGroup";
const char *const kGroupText =
    "g.\"Group\" || '  (' || g.Course || ')' || "
    "CASE WHEN c.SubGroup > 0 THEN ', подгр. ' || c.SubGroup ELSE '' END";

class Reports : public DocumentTest
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        DocumentTest::SetUp();
        b.add("tblTimeLesson", {"Lesson", 1, "TimeLesson", "08:30-09:15"});
        b.add("tblTimeLesson", {"Lesson", 2, "TimeLesson", "09:25-10:10"});
        b.add("tblJobList", {"Key_Job", s.oneilPhysics, "Key_Group", s.p10, "Hours", 8});
        maker.setLayoutSources(sources);
    }

    std::optional<ReportContent> make(const QString &name, const QString &object = QString(),
                                      const QDate &from = {}, const QDate &to = {})
    {
        return maker.make({name, object, 0, from.isValid() ? from : s.past,
                           to.isValid() ? to : s.future});
    }
    QString iso(const QDate &date) const { return date.toString(Qt::ISODate); }

    SampleInstitution s = SampleInstitution::build(b, QDate(2026, 10, 14));
    SettingsRecord record;
    ReportMaker maker{session, store, record, prompts, folder.path()};
    ReportLayoutSources sources; // the program's own layouts only
};

TEST_F(Reports, EachReportShowsItsQueryRowsUnderItsTitleAndHeadings)
{
    const QString period = QStringLiteral(" WHERE l.\"Date\" BETWEEN '%1' AND '%2' AND ")
                               .arg(iso(s.past), iso(s.future));
    struct Case
    {
        const char *name;
        QString object;
        const char *title;
        QStringList headings;
        QString rows;   // SQLite's own answer
        QString groups; // the group headings expected: the distinct values they show
    };
    const QString weekday =
        "CASE o.FreeDay WHEN 1 THEN 'Понедельник' WHEN 2 THEN 'Вторник' WHEN 3 THEN 'Среда' "
        "WHEN 4 THEN 'Четверг' WHEN 5 THEN 'Пятница' WHEN 6 THEN 'Суббота' "
        "WHEN 7 THEN 'Воскресенье' ELSE '' END";
    const Case cases[] = {
        {"РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ", "Иванов И.И.", "Расписание преподавателя",
         {"№", "Время", "Группа", "Дисциплина", "Вид", "Аудитория"},
         QStringLiteral("SELECT c.Lesson, IFNULL(tl.TimeLesson, ''), ") + kGroupText +
             ", d.Discipline1, IFNULL(ty.ShortTypeLesson, ''), "
             "IFNULL(a.Auditoria || ' (' || a.Corpus || ')', '')" + kLessonJoins + period +
             "t.Tutor = 'Иванов И.И.'" + kLessonOrder,
         QStringLiteral("SELECT DISTINCT l.\"Date\"") + kLessonJoins + period +
             "t.Tutor = 'Иванов И.И.'"},
        {"РАСПИСАНИЕ ГРУППЫ", "П-9  (1)", "Расписание группы",
         {"№", "Время", "Дисциплина", "Вид", "Преподаватель", "Аудитория"},
         QStringLiteral("SELECT c.Lesson, IFNULL(tl.TimeLesson, ''), d.Discipline1 || "
                        "CASE WHEN c.SubGroup > 0 THEN ' (подгр. ' || c.SubGroup || ')' "
                        "ELSE '' END, IFNULL(ty.ShortTypeLesson, ''), t.Tutor, "
                        "IFNULL(a.Auditoria || ' (' || a.Corpus || ')', '')") +
             kLessonJoins + period + "g.\"Group\" = 'П-9' AND g.Course = '1'" + kLessonOrder,
         QStringLiteral("SELECT DISTINCT l.\"Date\"") + kLessonJoins + period +
             "g.\"Group\" = 'П-9'"},
        {"РАСПИСАНИЕ АУДИТОРИИ", "101 (Главный)", "Расписание аудитории",
         {"№", "Время", "Группа", "Дисциплина", "Вид", "Преподаватель"},
         QStringLiteral("SELECT c.Lesson, IFNULL(tl.TimeLesson, ''), ") + kGroupText +
             ", d.Discipline1, IFNULL(ty.ShortTypeLesson, ''), t.Tutor" + kLessonJoins +
             period + "a.Auditoria = '101'" + kLessonOrder,
         QStringLiteral("SELECT DISTINCT l.\"Date\"") + kLessonJoins + period +
             "a.Auditoria = '101'"},
        {"ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ", "Петров П.П.", "Занятость преподавателя",
         {"Причина", "День недели", "Занятие", "Дата"},
         "SELECT k.TypeOut, " + weekday +
             ", IFNULL(o.FreeLesson, ''), IFNULL(strftime('%d.%m.%Y', o.FreeLocalDate), '') "
             "FROM tblTutorOut o JOIN tblTutorTypeOut k ON k.\"Key\" = o.KeyTypeOut "
             "WHERE o.KeyTutor = " + QString::number(s.petrov) +
             " ORDER BY o.KeyTypeOut, o.FreeLocalDate, o.FreeDay, o.FreeLesson",
         QString()},
        {"СПИСОК ГРУПП", QString(), "Список групп",
         {"Группа", "Курс", "Факультет", "Форма обучения", "Финансирование", "Примечание"},
         "SELECT g.\"Group\", g.Course, IFNULL(f.TypeFaculty, 'отсутствует'), "
         "IFNULL(tu.TypeTuition, 'Очная'), IFNULL(fi.TypeFinance, 'Бюджетная'), "
         "IFNULL(g.Comment, '') FROM tblGroups g "
         "LEFT JOIN tblTypeFaculty f ON f.\"Key\" = g.Key_TypeFaculty "
         "LEFT JOIN tblTypeTuition tu ON tu.\"Key\" = g.Key_TypeTuition "
         "LEFT JOIN tblTypeFinance fi ON fi.\"Key\" = g.Key_TypeFinance "
         "ORDER BY g.Course, length(g.\"Group\"), g.\"Group\", "
         "IFNULL(f.TypeFaculty, 'отсутствует'), g.\"Key\"",
         "SELECT DISTINCT 'Курс ' || Course FROM tblGroups ORDER BY Course"},
        {"ПАСПОРТ ГРУППЫ", "П-9  (1)", "Паспорт группы",
         {"Дисциплина", "Преподаватель", "Часов", "Проведено", "Последнее занятие",
          "Экзамен"},
         "SELECT d.Discipline, t.Tutor, jl.Hours, (SELECT count(*) FROM tblTimeTableContent c "
         "WHERE c.Key_Job = jl.Key_Job AND c.Key_Group = jl.Key_Group), IFNULL((SELECT "
         "strftime('%d.%m.%Y', max(l.\"Date\")) FROM tblTimeTableContent c JOIN "
         "tblTimeTableList l ON l.\"Key\" = c.Key_TTList WHERE c.Key_Job = jl.Key_Job AND "
         "c.Key_Group = jl.Key_Group), ''), IFNULL(strftime('%d.%m.%Y', jl.DateExam), '') "
         "FROM tblJobList jl JOIN tblJob j ON j.\"Key\" = jl.Key_Job JOIN tblDisciplines d ON "
         "d.\"Key\" = j.Key_Discipline JOIN tblTutors t ON t.\"Key\" = j.Key_Tutor WHERE "
         "jl.Key_Group = " + QString::number(s.p9) + " ORDER BY d.Discipline, t.Tutor, jl.\"Key\"",
         QString()},
        {"СПИСОК ДИСЦИПЛИН", QString(), "Список дисциплин",
         {"Дисциплина", "Полное наименование"},
         "SELECT d.Discipline, d.Discipline1 FROM tblDisciplines d LEFT JOIN tblDiscType y ON "
         "y.\"Key\" = d.DiscType ORDER BY IFNULL(y.Priory, 0), IFNULL(y.Type, 'отсутствует'), "
         "d.Discipline, d.\"Key\"",
         "SELECT DISTINCT IFNULL(y.Type, 'отсутствует') FROM tblDisciplines d LEFT JOIN "
         "tblDiscType y ON y.\"Key\" = d.DiscType"},
        {"НАГРУЗКА", QString(), "Нагрузка",
         {"Дисциплина", "Группа", "Факультет", "Часов", "Проведено", "Аудитория"},
         "SELECT d.Discipline, g.\"Group\" || '  (' || g.Course || ')', "
         "IFNULL(f.TypeFaculty, 'отсутствует'), jl.Hours, (SELECT count(*) FROM "
         "tblTimeTableContent c WHERE c.Key_Job = jl.Key_Job AND c.Key_Group = jl.Key_Group), "
         "IFNULL((SELECT a.Auditoria || ' (' || a.Corpus || ')' FROM tblAuditories a WHERE "
         "a.Auditoria || ' (' || a.Corpus || ')' = t.DefaultAud COLLATE NOCASE), '') "
         "FROM tblJobList jl JOIN tblJob j ON j.\"Key\" = jl.Key_Job JOIN tblTutors t ON "
         "t.\"Key\" = j.Key_Tutor JOIN tblDisciplines d ON d.\"Key\" = j.Key_Discipline "
         "JOIN tblGroups g ON g.\"Key\" = jl.Key_Group "
         "LEFT JOIN tblTypeFaculty f ON f.\"Key\" = g.Key_TypeFaculty "
         "ORDER BY t.Tutor, t.\"Key\", d.Discipline, d.\"Key\", g.Course, length(g.\"Group\"), "
         "g.\"Group\", IFNULL(f.TypeFaculty, 'отсутствует'), g.\"Key\"",
         "SELECT DISTINCT t.Tutor FROM tblJob j JOIN tblTutors t ON t.\"Key\" = j.Key_Tutor "
         "JOIN tblJobList jl ON jl.Key_Job = j.\"Key\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ReportContent> report = make(QString::fromUtf8(c.name), c.object);
        ASSERT_TRUE(report);
        const QStringList expected = b.raw(c.rows);
        ASSERT_FALSE(expected.isEmpty());

        const HtmlTable html = readHtml(reportToHtml(*report));
        EXPECT_EQ(html.title, QString::fromUtf8(c.title));
        EXPECT_EQ(html.headings, c.headings);
        EXPECT_EQ(html.rows, expected);
        if (!c.groups.isEmpty()) {
            EXPECT_EQ(html.groups.size(), b.raw(c.groups).size());
        }
        if (!c.object.isEmpty()) {
            EXPECT_EQ(report->lines.value(0), c.object);
        }

        const QString text = reportToText(*report);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.name))) << text.toStdString();
        EXPECT_EQ(textLinesWith(text, c.headings), 1) << text.toStdString();
        for (const QString &row : expected)
            EXPECT_GE(textLinesWith(text, row.split(u'|')), 1) << row.toStdString();
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Reports, TotalsAndLinesReadTheRows)
{
    // The passport sums hours and lessons given; the busy time names the lessons held.
    const std::optional<ReportContent> passport = make(QStringLiteral("ПАСПОРТ ГРУППЫ"),
                                                       QStringLiteral("П-9  (1)"));
    ASSERT_TRUE(passport);
    const HtmlTable table = readHtml(reportToHtml(*passport));
    const qint64 hours =
        b.rawNumber(QStringLiteral("SELECT sum(Hours) FROM tblJobList WHERE Key_Group = %1")
                        .arg(s.p9));
    const qint64 held = b.rawNumber(
        QStringLiteral("SELECT count(*) FROM tblTimeTableContent WHERE Key_Group = %1").arg(s.p9));
    EXPECT_EQ(table.totals, QStringList{QStringLiteral("Всего||%1|%2||").arg(hours).arg(held)});

    // A group named without its course, in any letter case, is found as well.
    const std::optional<ReportContent> byName =
        make(QStringLiteral("ПАСПОРТ ГРУППЫ"), QStringLiteral("п-10"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->dataRowCount(),
              b.rawNumber(QStringLiteral("SELECT count(*) FROM tblJobList WHERE Key_Group = %1")
                              .arg(s.p10)));

    const std::optional<ReportContent> busy =
        make(QStringLiteral("ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ"), QStringLiteral("Петров П.П."));
    ASSERT_TRUE(busy);
    const qint64 lessons = b.rawNumber(QStringLiteral(
        "SELECT count(DISTINCT c.Key_TTList || '/' || c.Lesson) FROM tblTimeTableContent c "
        "JOIN tblJob j ON j.\"Key\" = c.Key_Job WHERE j.Key_Tutor = %1").arg(s.petrov));
    EXPECT_TRUE(busy->lines.contains(QStringLiteral("Проведено занятий: %1").arg(lessons)))
        << busy->lines.join(u'/').toStdString();

    // A tutor without exceptions has no rows in the table, and the lines all the same; his
    // lecture for two groups is one lesson in the total of his timetable.
    const auto given = [&](int tutor, bool distinct) {
        return b.rawNumber(
            QStringLiteral("SELECT count(%1) FROM tblTimeTableContent c JOIN tblJob j ON "
                           "j.\"Key\" = c.Key_Job WHERE j.Key_Tutor = %2")
                .arg(distinct ? "DISTINCT c.Key_TTList || '/' || c.Lesson" : "*")
                .arg(tutor));
    };
    const std::optional<ReportContent> free =
        make(QStringLiteral("ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ"), QStringLiteral("Иванов И.И."));
    ASSERT_TRUE(free);
    EXPECT_EQ(free->dataRowCount(), 0);
    EXPECT_TRUE(free->lines.contains(
        QStringLiteral("Проведено занятий: %1").arg(given(s.ivanov, true))))
        << free->lines.join(u'/').toStdString();
    EXPECT_TRUE(free->lines.join(u'/').contains(QStringLiteral("Первое занятие ")));
    const std::optional<ReportContent> timetable = make(
        QStringLiteral("РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ"), QStringLiteral("Иванов И.И."), QDate(2000, 1, 1),
        QDate(2100, 1, 1));
    ASSERT_TRUE(timetable);
    ASSERT_LT(given(s.ivanov, true), given(s.ivanov, false));
    EXPECT_EQ(timetable->summary,
              QStringList{QStringLiteral("Всего занятий: %1").arg(given(s.ivanov, true))});
}

// One rule of subgroups for every output: a lesson beside another of its group at the hour is
// a subgroup's, numbered by its place; a lesson alone is the whole group's unless stored as a
// later subgroup. The stored numbers here: 1 and 2 together, 1 alone, 2 alone.
TEST_F(Reports, ALessonAloneIsTheWholeGroupsUnlessPlacedAsALaterSubgroup)
{
    const QDate day = s.future.addDays(1);
    b.lesson(day, 3, s.petrovPhysics, s.p10, s.a202, 1);
    b.lesson(day, 4, s.petrovPhysics, s.p10, s.a202, 2);
    const struct
    {
        const char *name;
        const char *object;
        QStringList shown; // the lines of the group's (or tutor's) table, their subgroup part
    } cases[] = {
        {"РАСПИСАНИЕ ГРУППЫ", "П-9  (1)", {"(подгр. 1)", "(подгр. 2)"}},
        {"РАСПИСАНИЕ ГРУППЫ", "П-10  (1)", {"(подгр. 2)"}},
        {"РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ", "О'Нил", {", подгр. 2"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.object);
        const std::optional<ReportContent> report =
            make(QString::fromUtf8(c.name), QString::fromUtf8(c.object), s.past, day);
        ASSERT_TRUE(report);
        QStringList found;
        static const QRegularExpression part(QStringLiteral("(\\(подгр\\. \\d\\)|, подгр\\. \\d)"));
        for (auto it = part.globalMatch(reportToText(*report)); it.hasNext();)
            found << it.next().captured(1);
        EXPECT_EQ(found, c.shown);
    }
}

// A cell of two subgroups prints as two lines, whatever the width: the line break is kept.
TEST(ReportPainter, ALineBreakInACellStartsALine)
{
    ensureGuiApplication();
    ReportContent content;
    content.columns = {{QStringLiteral("Группа"), 1}};
    // The height of the table's row with the text in the last column.
    const auto heightOf = [&](const QString &text) {
        ReportContent::Row row;
        row.cells.resize(content.columns.size());
        row.cells.back().text = text;
        content.blocks = {{QString(), {row}}};
        const ReportPagination pages = paginateReport(content, reportArea(content));
        for (const ReportPageItem &item : pages.pages.front().items)
            if (item.kind == ReportPageItem::Kind::Row)
                return item.height;
        return 0.0;
    };
    // Each line adds the height of a line, whichever break the text holds.
    const double one = heightOf(QStringLiteral("Информ. 103"));
    const double two = heightOf(QStringLiteral("Информ. 103\r\nИнформ. 104"));
    const double three = heightOf(QStringLiteral("Информ. 103\nИнформ. 104\rИнформ. 105"));
    EXPECT_GT(two - one, 0.5 * one);
    EXPECT_NEAR(three - two, two - one, 1);

    // A word a little wider than its column is printed smaller rather than broken: the
    // column's text takes two lines, not three.
    content.columns = {{QStringLiteral("Группа"), 1}, {QStringLiteral("Узкий"), 0.02}};
    // The narrowest column the word fits in whole, then a tenth narrower.
    while (heightOf(QStringLiteral("Обществознание")) > one + 0.5 && content.columns[1].width < 1)
        content.columns[1].width *= 1.05;
    content.columns[1].width /= 1.1;
    EXPECT_LT(heightOf(QStringLiteral("Обществознание 108")), one + 1.2 * (two - one));
}

TEST_F(Reports, AnObjectWithoutLessonsKeepsItsHeadings)
{
    struct Case
    {
        const char *name;
        const char *object;
    };
    for (const Case &c : {Case{"РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ", "Сидоров"},
                          Case{"РАСПИСАНИЕ ГРУППЫ", "Э-31  (3)"},
                          Case{"ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ", "Сидоров"},
                          Case{"РАСПИСАНИЕ АУДИТОРИИ", "Лаб (хим) (Главный)"}}) {
        SCOPED_TRACE(c.name);
        // The laboratory has a lesson, but not in this range.
        const std::optional<ReportContent> report =
            make(QString::fromUtf8(c.name), QString::fromUtf8(c.object), s.future.addDays(1),
                 s.future.addDays(30));
        ASSERT_TRUE(report);
        const HtmlTable html = readHtml(reportToHtml(*report));
        EXPECT_FALSE(html.headings.isEmpty());
        EXPECT_TRUE(html.rows.isEmpty());
        EXPECT_EQ(report->lines.value(0), QString::fromUtf8(c.object));
        const QString text = reportToText(*report);
        EXPECT_EQ(textLinesWith(text, html.headings), 1);
        EXPECT_EQ(writeReportDocument(*report, folder.file(QStringLiteral("пусто.pdf")),
                                      DocumentType::Pdf),
                  QString());
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Reports, AWholeYearRunsOnNumberedPages)
{
    // Six lessons on every weekday of a school year.
    const QDate first(2026, 9, 1);
    const QDate last(2027, 6, 30);
    b.raw(QStringLiteral("BEGIN"));
    for (QDate day = first; day <= last; day = day.addDays(1))
        if (day.dayOfWeek() <= 5)
            for (int lesson = 1; lesson <= 6; ++lesson)
                b.lesson(day, lesson, s.oneilPhysics, lesson % 2 ? s.p9 : s.p10, s.a202);
    b.raw(QStringLiteral("COMMIT"));
    const std::optional<ReportContent> report =
        make(QStringLiteral("РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ"), QStringLiteral("О'Нил"), first, last);
    ASSERT_TRUE(report);
    const qint64 rows = b.rawNumber(QStringLiteral(
        "SELECT count(*) FROM tblTimeTableContent c JOIN tblJob j ON j.\"Key\" = c.Key_Job "
        "JOIN tblTimeTableList l ON l.\"Key\" = c.Key_TTList WHERE j.Key_Tutor = %1 AND "
        "l.\"Date\" BETWEEN '%2' AND '%3'").arg(s.oneil).arg(iso(first), iso(last)));
    EXPECT_EQ(report->dataRowCount(), rows);

    // Every row on exactly one page, in order; every page under the column headings.
    const ReportPagination pages = paginateReport(*report, reportArea(*report));
    ASSERT_GT(pages.pages.size(), 20u);
    int placed = 0;
    int lastBlock = -1, lastRow = -1;
    for (const ReportPage &page : pages.pages) {
        bool headed = false;
        for (const ReportPageItem &item : page.items) {
            if (item.kind == ReportPageItem::Kind::Headings)
                headed = true;
            if (item.kind != ReportPageItem::Kind::Row)
                continue;
            EXPECT_TRUE(headed);
            EXPECT_TRUE(item.block > lastBlock || (item.block == lastBlock && item.row > lastRow));
            EXPECT_LE(item.y + item.height, pages.bodyBottom + 0.01);
            lastBlock = item.block;
            lastRow = item.row;
            ++placed;
        }
    }
    EXPECT_EQ(placed, rows);

    // The paged HTML numbers its pages as the printout does.
    const QString paged = reportToHtml(*report, HtmlKind::Paged);
    const int count = int(pages.pages.size());
    for (int p = 1; p <= count; ++p)
        EXPECT_TRUE(paged.contains(QStringLiteral("Страница %1 из %2<").arg(p).arg(count))) << p;
    EXPECT_FALSE(paged.contains(QStringLiteral("Страница %1 из").arg(count + 1)));

    // The PDF has as many pages.
    const QString file = folder.file(QStringLiteral("год.pdf"));
    ASSERT_EQ(writeReportDocument(*report, file, DocumentType::Pdf), QString());
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r")
                  + bytes.count("/Type /Page>") + bytes.count("/Type /Page "),
              count);
}

TEST_F(Reports, AVeryLongNameWrapsInsteadOfRunningOver)
{
    const QString name = QString(180, u'Ж') + QStringLiteral(" Длиннофамильный-Двойной И.И.");
    const int tutor = b.add("tblTutors", {"Tutor", name});
    const int job = b.job(tutor, s.math);
    b.lesson(s.past, 6, job, s.p9, s.a101);
    const std::optional<ReportContent> report = make(QStringLiteral("РАСПИСАНИЕ ГРУППЫ"),
                                                     QStringLiteral("П-9  (1)"));
    ASSERT_TRUE(report);
    EXPECT_TRUE(reportToHtml(*report).contains(name));
    for (const QString &line : reportToText(*report).split(u'\n'))
        EXPECT_LE(line.size(), 100) << line.toStdString();
    const ReportPagination pages = paginateReport(*report, reportArea(*report));
    for (const ReportPage &page : pages.pages)
        for (const ReportPageItem &item : page.items)
            EXPECT_LE(item.y + item.height, pages.bodyBottom + 0.01);
    EXPECT_EQ(writeReportDocument(*report, folder.file(QStringLiteral("long.rtf")),
                                  DocumentType::Rtf),
              QString());
}

TEST_F(Reports, ALayoutFileBesideTheDocumentReplacesItsReports)
{
    const QString own = folder.file(QStringLiteral("Reports.xml"));
    const auto write = [&](const QByteArray &text) { writeTestFile(own, text); };
    maker.setLayoutSources(ReportLayoutSources::standard(path, QString()));

    write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<reports>\n"
          "<report name=\"СПИСОК ГРУПП\"><title>Группы колледжа</title>\n"
          "<column caption=\"Имя\" text=\"{Group}\"/></report>\n</reports>\n");
    std::optional<ReportContent> groups = make(QStringLiteral("СПИСОК ГРУПП"));
    ASSERT_TRUE(groups);
    EXPECT_EQ(groups->title, QStringLiteral("Группы колледжа"));
    // The reports it does not name are the program's.
    EXPECT_TRUE(make(QStringLiteral("НАГРУЗКА")));
    EXPECT_TRUE(prompts.shown.empty());

    // Broken on line 4: told with the line, the program's layout used.
    write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<reports>\n"
          "<report name=\"СПИСОК ГРУПП\"><title>Группы колледжа</title>\n"
          "<column caption=\"Имя\" text=\"{Group}\"></report>\n</reports>\n");
    QSet<QString> toldBefore;
    maker.rememberToldProblems(toldBefore);
    groups = make(QStringLiteral("СПИСОК ГРУПП"));
    ASSERT_TRUE(groups);
    EXPECT_EQ(groups->title, QStringLiteral("Список групп"));
    EXPECT_TRUE(make(QStringLiteral("СПИСОК ГРУПП"))); // told once only
    const QStringList told = prompts.texts(Kind::Message);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("строка 4"))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(QDir::toNativeSeparators(own))) << told[0].toStdString();
    // The XML reader's own words are English: the planner reads ours.
    EXPECT_TRUE(told[0].contains(QStringLiteral("нарушена разметка XML"))) << told[0].toStdString();
}

TEST_F(Reports, AReportWithoutALayoutNamesTheReportAndTheFile)
{
    struct Case
    {
        QString name;
        QString builtIn;
        QStringList mentions;
    };
    const Case cases[] = {
        {QStringLiteral("РАСПИСАНИЕ ЗВОНКОВ"), QStringLiteral(":/reports/Reports.xml"),
         {QStringLiteral("РАСПИСАНИЕ ЗВОНКОВ"), QStringLiteral("Reports.xml")}},
        {QStringLiteral("НАГРУЗКА"), folder.file(QStringLiteral("нет/Reports.xml")),
         {QStringLiteral("НАГРУЗКА"), QStringLiteral("нет/Reports.xml")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        prompts.shown.clear();
        ReportLayoutSources only;
        only.builtIn = c.builtIn;
        maker.setLayoutSources(only);
        EXPECT_FALSE(make(c.name));
        const QString told = prompts.texts(Kind::Message).join(u'\n');
        for (const QString &mention : c.mentions)
            EXPECT_TRUE(told.contains(mention)) << told.toStdString();
    }
}

TEST(DocumentFiles, TheFileNameChoosesTheKindAndXhtmIsWrittenAsHtm)
{
    struct Case
    {
        const char *file;
        std::optional<DocumentType> type;
        const char *written;
    };
    const Case cases[] = {
        {"отчёт.txt", DocumentType::Text, "отчёт.txt"},
        {"отчёт.RTF", DocumentType::Rtf, "отчёт.RTF"},
        {"отчёт.htm", DocumentType::Html, "отчёт.htm"},
        {"отчёт.html", DocumentType::HtmlStructured, "отчёт.html"},
        {"отчёт.xhtm", DocumentType::HtmlPaged, "отчёт.htm"},
        {"отчёт.pdf", DocumentType::Pdf, "отчёт.pdf"},
        {"отчёт.doc", std::nullopt, "отчёт.doc"},
        {"pdf", std::nullopt, "pdf"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(documentTypeOf(QString::fromUtf8(c.file)), c.type) << c.file;
        EXPECT_EQ(documentFileName(QString::fromUtf8(c.file)), QString::fromUtf8(c.written));
    }
    const QStringList filter = documentFileFilter().split(QStringLiteral(" |"));
    ASSERT_EQ(filter.size(), 6);
    EXPECT_EQ(filter[4], QStringLiteral("Страница HTML с разделением (*.htm)|*.xhtm"));
}

TEST(DocumentFiles, AnUnwritableDestinationIsToldAndLeavesNothing)
{
    ensureGuiApplication();
    TestFolder folder;
    ReportContent content;
    content.title = QStringLiteral("Отчёт");
    content.columns.push_back({QStringLiteral("А"), 1, ReportContent::Align::Left});
    const QString missingFolder = folder.file(QStringLiteral("нет/отчёт.pdf"));
    // A file where a folder should be: nobody, not even the administrator, writes there.
    QFile plain(folder.file(QStringLiteral("файл")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString readOnly = folder.file(QStringLiteral("файл/отчёт.rtf"));
    for (const QString &file : {missingFolder, readOnly}) {
        for (DocumentType type : {DocumentType::Pdf, DocumentType::Rtf, DocumentType::Text}) {
            const QString problem = writeReportDocument(content, file, type);
            EXPECT_TRUE(problem.startsWith(QStringLiteral("Не удалось записать файл «")
                                           + QDir::toNativeSeparators(file)))
                << problem.toStdString();
            EXPECT_FALSE(QFile::exists(file));
        }
    }
}

TEST(DocumentFiles, RtfKeepsCyrillicAndRepeatsTheHeadings)
{
    ReportContent content;
    content.title = QStringLiteral("Расписание {группы}");
    content.columns = {{QStringLiteral("№"), 1, ReportContent::Align::Center},
                       {QStringLiteral("Дисциплина"), 3, ReportContent::Align::Left}};
    const auto row = [](const QString &a, const QString &b) {
        ReportContent::Row out;
        out.cells.resize(2);
        out.cells[0].text = a;
        out.cells[1].text = b;
        return out;
    };
    content.headings.push_back(row(QStringLiteral("№"), QStringLiteral("Дисциплина")));
    content.blocks.push_back(
        {QStringLiteral("Ёлка"), {row(QStringLiteral("1"), QStringLiteral("Физика\\химия"))}});
    const QByteArray rtf = reportToRtf(content);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_EQ(rtf.count('{') - rtf.count("\\{"), rtf.count('}') - rtf.count("\\}"));
    EXPECT_TRUE(rtf.contains("\\'d0\\'e0\\'f1\\'ef\\'e8\\'f1\\'e0\\'ed\\'e8\\'e5 \\{"));
    EXPECT_TRUE(rtf.contains("\\'a8\\'eb\\'ea\\'e0"));         // Ёлка
    EXPECT_TRUE(rtf.contains("\\u8470?"));                    // №
    EXPECT_TRUE(rtf.contains("\\'f5\\'e8\\'ec\\'e8\\'ff"));   // химия after the backslash
    EXPECT_TRUE(rtf.contains("\\\\"));
    EXPECT_EQ(rtf.count("\\trhdr"), 1);
}

} // namespace
} // namespace korvesta
