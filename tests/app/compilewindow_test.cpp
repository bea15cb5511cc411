// "Сервис → Составить расписание...": the dialog compiles the week, the window shows it in the
// week view, and the whole compilation is one step of undo.

#include "app/historycommands.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class CompileWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        // The study period ends with the week: each line's share is all its hours.
        b.period("Session", QDate(2026, 9, 1), monday.addDays(4));
        const int group = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
        b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
        const int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
        const int petrov = b.add("tblTutors", {"Tutor", "Петров"});
        b.add("tblJobList", {"Key_Job", b.job(ivanov, b.add("tblDisciplines", {"Discipline", "Матем"})),
                             "Key_Group", group, "Hours", 6});
        b.add("tblJobList", {"Key_Job", b.job(petrov, b.add("tblDisciplines", {"Discipline", "Физ"})),
                             "Key_Group", group, "Hours", 4});
        open({path});
    }
    qint64 lessons() const { return b.rawNumber("SELECT count(*) FROM tblTimeTableContent"); }

    QDate monday{2026, 9, 14};
};

TEST_F(CompileWindow, CompilesTheWeekShowsItAndUndoesItInOneStep)
{
    window->calendar()->setSelectedDate(monday.addDays(2));
    QTimer::singleShot(0, [this] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->objectName(), "dlgGenerate");
        EXPECT_EQ(dialog->findChild<QDateEdit *>("txtFrom")->date(), monday);
        EXPECT_EQ(dialog->findChild<QDateEdit *>("txtTo")->date(), monday.addDays(4));
        dialog->findChild<QPushButton *>("OKButton")->click();
    });
    window->command("submenuGenerate")->trigger();

    EXPECT_EQ(lessons(), 10);
    EXPECT_EQ(window->navigation().viewCode(), 41);
    // The new lessons stand out in bold until the view is filled again.
    GridModel &grid = *window->grid()->model();
    int bold = 0;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c)
            bold += grid.cellBold(r, c) && r >= grid.fixedRows() && c >= grid.fixedCols()
                    && grid.text(r, c).contains(QRegularExpression("\\p{L}"));
    }
    EXPECT_EQ(bold, 10);
    ASSERT_EQ(prompts.texts(ScriptedPrompts::Kind::Message).size(), 1);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message)
                    .constFirst()
                    .contains("Каждая строка нагрузки получила свою долю"));

    HistoryCommands *history = window->findChild<HistoryCommands *>();
    ASSERT_TRUE(history);
    history->refresh();
    history->undoAction()->trigger();
    EXPECT_EQ(lessons(), 0);
}

} // namespace
} // namespace korvesta
