// Removing lessons from the window: the Delete key on a cell of the day timetable, and the
// deletion dialog over a week with a protected day, each checked in the document and on screen.

#include "app/statusbarpanels.h"
#include "app/statusprogress.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// П-1 has mathematics at lesson 1 in two subgroups and physics at lesson 2 every day of the
// week of 14.09.2026, Sunday included; Wednesday is protected.
class DeleteTimetableWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        const int group = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
        const int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
        const int tutor = b.add("tblTutors", {"Tutor", "Иванов"});
        const int math = b.job(tutor, b.add("tblDisciplines", {"Discipline", "Матем"}));
        const int phys = b.job(tutor, b.add("tblDisciplines", {"Discipline", "Физ"}));
        for (int d = 0; d < 7; ++d) {
            b.lesson(monday.addDays(d), 1, math, group, aud, 1);
            b.lesson(monday.addDays(d), 1, math, group, aud, 2);
            b.lesson(monday.addDays(d), 2, phys, group, aud);
        }
        b.raw("UPDATE tblTimeTableList SET ReadOnly = 1 WHERE Date = '2026-09-16'");
        open({path});
    }
    // The day timetable of the date, with the cell of П-1 at the lesson current.
    void showDay(const QDate &date, int lesson)
    {
        window->calendar()->setSelectedDate(date);
        window->dispatcher().sectionClicked(4);
        QApplication::processEvents();
        ASSERT_EQ(window->navigation().viewCode(), 40);
        col = -1;
        for (int c = 0; c < grid().cols() && col < 0; ++c) {
            if (grid().text(grid().fixedRows() - 1, c).trimmed() == "П-1")
                col = c;
        }
        ASSERT_GE(col, 0);
        row = grid().fixedRows() + lesson - 1;
        grid().setCurrentCell(row, col);
    }
    void pressDelete()
    {
        window->grid()->setFocus();
        QTest::keyClick(window->grid(), Qt::Key_Delete);
    }
    // Lessons per date, "date|count".
    QStringList lessonsPerDate() const
    {
        return b.raw(
            "SELECT d.Date, count(c.Key) FROM tblTimeTableList d LEFT JOIN tblTimeTableContent "
            "c ON c.Key_TTList = d.Key GROUP BY d.Date ORDER BY d.Date");
    }

    QDate monday{2026, 9, 14};
    int row = -1, col = -1;
};

TEST_F(DeleteTimetableWindow, DeleteKeyClearsTheCellAfterTheQuestionAndKeepsTheCell)
{
    window->settingsRecord().CheckDelete = true;
    window->settingsRecord().WorkDays = 6;
    showDay(monday.addDays(1), 1);
    ASSERT_FALSE(grid().text(row, col).isEmpty());

    prompts.answers.push_back(Prompts::Answer::No);
    pressDelete();
    EXPECT_FALSE(grid().text(row, col).isEmpty());
    prompts.answers.push_back(Prompts::Answer::Yes);
    pressDelete();
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo).size(), 2);
    EXPECT_TRUE(grid().text(row, col).isEmpty());
    EXPECT_FALSE(grid().text(row + 1, col).isEmpty());
    EXPECT_EQ(grid().currentRow(), row);
    EXPECT_EQ(grid().currentCol(), col);
    EXPECT_EQ(lessonsPerDate().at(1), "2026-09-15|1");

    // A protected date refuses with a message and the status text.
    showDay(monday.addDays(2), 1);
    pressDelete();
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{"Дата заблокирована для редактирования"});
    EXPECT_EQ(window->statusPanels()->panelText(StatusBarPanels::Comment),
              "Дата заблокирована для редактирования");

    // Sunday is beyond the working days: nothing is asked or removed.
    showDay(monday.addDays(6), 1);
    ASSERT_FALSE(grid().text(row, col).isEmpty());
    pressDelete();
    EXPECT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(lessonsPerDate().last(), "2026-09-20|3");
    EXPECT_TRUE(prompts.exhausted());
}

TEST_F(DeleteTimetableWindow, TheDialogDeletesTheWeekButItsProtectedDay)
{
    showDay(monday.addDays(3), 2);
    ASSERT_TRUE(window->command("submenuClearTimeTable")->isEnabled());
    ASSERT_TRUE(window->command("submenuClearCellTimeTable")->isEnabled());

    const auto answer = [](int option, bool ok) {
        return [option, ok] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->objectName(), "dlgDeleteTimeTable");
            EXPECT_EQ(dialog->windowTitle(), "Удаление расписания");
            EXPECT_EQ(dialog->findChild<QLabel *>("Label1")->text(),
                      "Диапазон удаляемого расписания");
            const QStringList texts = {"На дату: 17.09.2026", "На неделю: 14.09.2026 - 20.09.2026",
                                       "Весь учебный период"};
            for (int i = 0; i < 3; ++i) {
                auto *opt =
                    dialog->findChild<QRadioButton *>(QString("optDeleteTimeTable(%1)").arg(i));
                ASSERT_TRUE(opt);
                EXPECT_EQ(opt->text(), texts[i]);
            }
            dialog->findChild<QRadioButton *>(QString("optDeleteTimeTable(%1)").arg(option))
                ->setChecked(true);
            auto *button = dialog->findChild<QPushButton *>(ok ? "OKButton" : "CancelButton");
            EXPECT_EQ(button->text(), ok ? "Удалить" : "Отмена");
            button->click();
        };
    };
    const QStringList whole = lessonsPerDate();
    QTimer::singleShot(0, answer(1, false));
    window->command("submenuClearTimeTable")->trigger();
    EXPECT_EQ(lessonsPerDate(), whole);

    QTimer::singleShot(0, answer(1, true));
    window->command("submenuClearTimeTable")->trigger();
    EXPECT_EQ(lessonsPerDate(), QStringList{"2026-09-16|3"});
    EXPECT_EQ(window->statusPanels()->panelText(StatusBarPanels::Comment), "Удаление завершено");
    EXPECT_TRUE(grid().text(row, col).isEmpty()); // refilled
    EXPECT_EQ(grid().currentRow(), row);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DeleteTimetableWindow, TheProgressStandsInForTheClockAndEscStopsIt)
{
    window->settingsRecord().CheckDelete = true;
    showDay(monday, 1);
    StatusBarPanels *panels = window->statusPanels();
    {
        StatusProgress progress(panels);
        progress.advance(3, 10);
        ASSERT_TRUE(progress.bar());
        EXPECT_TRUE(progress.bar()->isVisible());
        EXPECT_EQ(progress.bar()->value(), 3);
        EXPECT_FALSE(panels->panel(StatusBarPanels::Time)->isVisible());
        // The window takes no other input meanwhile: Delete asks nothing.
        QTest::keyClick(window->grid(), Qt::Key_Delete);
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_FALSE(progress.cancelled());
        QTest::keyClick(window->grid(), Qt::Key_Escape);
        EXPECT_TRUE(progress.cancelled());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(panels->findChild<QProgressBar *>("StatusBar1Progress"));
    EXPECT_TRUE(panels->panel(StatusBarPanels::Time)->isVisible());
}

} // namespace
} // namespace korvesta
