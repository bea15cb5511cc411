// The day's cover report on a hand-made day: a cover made through the assistant, a lesson
// left to a tutor who is away, lessons that are nobody's concern, and a day with nothing.

#include "assist/cover.h"
#include "assist/coverreport.h"
#include "data/documentsession.h"
#include "data/institutionbuilder.h"
#include "grid/gridmodel.h"
#include "reports/documentfiles.h"
#include "settings/settingsstore.h"
#include "support/guiapplication.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

QList<QStringList> gridRows(const GridModel &grid)
{
    QList<QStringList> rows;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.text(r, c);
        rows << cells;
    }
    return rows;
}

TEST(CoverReport, CoversThenLessonsWithoutCoverThenAnEmptyDay)
{
    ensureGuiApplication(); // the printed table measures its words
    TestFolder folder;
    const QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    const QDate monday(2026, 9, 14);
    const int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    const int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    const int math = b.add("tblDisciplines", {"Discipline", "Матем"});
    const int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
    const int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Гл"});
    const int ivanov = b.add("tblTutors", {"Tutor", "Иванов И.И."});
    const int orlov = b.add("tblTutors", {"Tutor", "Орлов О.О."});
    const int weekly = b.add("tblTutors", {"Tutor", "Вторник"});
    for (const int t : {ivanov, orlov, weekly}) {
        const int job = b.job(t, math);
        for (const int g : {g1, g2})
            b.add("tblJobList", {"Key_Job", job, "Key_Group", g, "Hours", 10});
    }
    b.add("tblTimeLesson", {"Lesson", 2, "TimeLesson", "9:40-10:25"});
    b.add("tblTimeLesson", {"Lesson", 3, "TimeLesson", "10:35-11:20"});
    // Иванов is away all Monday; the other one only on Tuesdays, so his lesson stays out.
    b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLocalDate", monday, "KeyTypeOut", 2});
    b.add("tblTutorOut", {"KeyTutor", weekly, "FreeDay", 2, "KeyTypeOut", 1});
    b.lesson(monday, 3, b.job(ivanov, math), g2, a202);
    b.lesson(monday, 2, b.job(ivanov, math), g1, a101);
    b.lesson(monday, 4, b.job(weekly, math), g1, a101);
    b.lesson(monday, 5, b.job(orlov, math), g2, a202);
    b.add("tblNotes", {"Key_TTL", b.day(monday), "Note", "Собрание\r\nЗамена: плохая строка"});

    SettingsStore store{folder.file("user.ini")};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, store, {folder.path(), folder.path()}};
    session.startFromCommandLine({path});
    const CoverList list = coverList(b.db(), "Иванов И.И.", monday);
    ASSERT_EQ(list.lessons.size(), 2u);
    ASSERT_EQ(list.lessons[0].lesson, 2);
    ASSERT_EQ(list.lessons[0].candidates.at(0).tutor, "Орлов О.О.");
    ASSERT_TRUE(assignCover(session, prompts, list.lessons[0], list.lessons[0].candidates[0]));

    GridModel grid;
    fillCoverReport(grid, monday, coverReportRows(b.db(), monday));
    const QString title = "Замены на 14.09.2026 (понедельник)";
    const QStringList captions = {"Урок",      "Время",       "Группа",  "Дисциплина",
                                  "Аудитория", "Отсутствует", "Заменяет"};
    const QList<QStringList> expected = {
        QStringList(7, title),
        captions,
        {"2", "9:40-10:25", "П-1 (1)", "Матем", "101 (Гл)", "Иванов И.И.", "Орлов О.О."},
        {"3", "10:35-11:20", "П-2 (1)", "Матем", "202 (Гл)", "Иванов И.И.", "нет замены"},
    };
    EXPECT_EQ(gridRows(grid), expected);
    EXPECT_EQ(grid.fixedRows(), 2);
    EXPECT_TRUE(grid.mergedRange(0, 0).right == 6); // the title spans the table

    // On paper the title stands once above the table, the captions head every page.
    const ReportContent content = coverReportContent(grid);
    EXPECT_EQ(content.title, title);
    ASSERT_EQ(content.headings.size(), 1u);
    EXPECT_EQ(content.headings[0].cells.at(6).text, "Заменяет");
    EXPECT_EQ(content.dataRowCount(), 2);
    const QString file = folder.file("замены.txt");
    ASSERT_TRUE(writeReportDocument(content, file, DocumentType::Text).isEmpty());
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains("нет замены")) << text.toStdString();

    // A tutor covered for without an exception is away all day: his other lesson is uncovered.
    const QDate wednesday = monday.addDays(2);
    b.lesson(wednesday, 2, b.job(orlov, math), g1, a101);
    b.lesson(wednesday, 3, b.job(weekly, math), g2, a202);
    b.add("tblNotes", {"Key_TTL", b.day(wednesday),
                       "Note", "Замена: 2 урок, П-1 (1), Матем: Вторник → Орлов О.О."});
    const std::vector<CoverReportRow> wed = coverReportRows(b.db(), wednesday);
    ASSERT_EQ(wed.size(), 2u);
    EXPECT_EQ(wed[0].covering, "Орлов О.О.");
    EXPECT_EQ(wed[1].lesson, 3);
    EXPECT_EQ(wed[1].covering, "нет замены");

    // A day without covers and without anyone away says so in one row.
    const QDate tuesday = monday.addDays(1);
    fillCoverReport(grid, tuesday, coverReportRows(b.db(), tuesday));
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.text(0, 0), "Замены на 15.09.2026 (вторник)");
    EXPECT_EQ(grid.text(2, 0), "Замен и занятий отсутствующих преподавателей нет");
    EXPECT_EQ(grid.mergedRange(2, 0).right, 6);
    Database::forgetAll();
}

TEST(CoverReport, NoteLinesReadBack)
{
    struct Case
    {
        QString line;
        bool cover;
        CoverNote note;
    };
    const Case cases[] = {
        {"Замена: 3 урок, П-9 (1), Математика: Петров П.П. → Сидоров С.С.", true,
         {3, "П-9 (1)", "Математика", "Петров П.П.", "Сидоров С.С."}},
        // Brackets in a group's name, a colon in the discipline's.
        {"Замена: 12 урок, ИС (веч.) (2), Химия: орг.: Ким → О'Нил  ", true,
         {12, "ИС (веч.) (2)", "Химия: орг.", "Ким", "О'Нил"}},
        {"Замена: урок, П-9 (1), Математика: Петров → Сидоров", false, {}},
        {"Собрание кафедры: 14:00 → 15:00", false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const std::optional<CoverNote> note = parseCoverNoteLine(c.line);
        ASSERT_EQ(note.has_value(), c.cover);
        if (!note)
            continue;
        EXPECT_EQ(note->lesson, c.note.lesson);
        EXPECT_EQ(note->group, c.note.group);
        EXPECT_EQ(note->discipline, c.note.discipline);
        EXPECT_EQ(note->absentTutor, c.note.absentTutor);
        EXPECT_EQ(note->coveringTutor, c.note.coveringTutor);
    }
    UncoveredLesson lesson;
    lesson.lesson = 3;
    lesson.group = "П-9 (1)";
    lesson.discipline = "Математика";
    lesson.absentTutor = "Петров П.П.";
    EXPECT_EQ(coverNoteLine(lesson, "Сидоров С.С."), cases[0].line);
}

} // namespace
} // namespace korvesta
