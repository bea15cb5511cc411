// Placing a lesson from the day timetable: a double click on an empty cell opens the job
// dialog, a checked line and "Добавить" write the lesson and show it in the cell.

#include "support/windowfixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using SelectJobDialog = WindowTest;

TEST_F(SelectJobDialog, DoubleClickOnAnEmptyDayCellPlacesTheCheckedLine)
{
    const QDate monday(2026, 9, 14);
    int group = 0;
    group = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    const int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика"});
    b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    const int tutor = b.add("tblTutors", {"Tutor", "Иванов", "DefaultAud", "101 (Главный)"});
    b.add("tblJobList", {"Key_Job", b.job(tutor, math), "Key_Group", group, "Hours", 40});
    // A line with every hour placed, listed first and greyed.
    const int algebra = b.add("tblDisciplines",
                              {"Discipline", "Алгебра", "Discipline1", "Алгебра и начала анализа"});
    b.add("tblJobList", {"Key_Job", b.job(tutor, algebra), "Key_Group", group, "Hours", 0});

    open({path});
    window->calendar()->setSelectedDate(monday);
    window->dispatcher().sectionClicked(4);
    QApplication::processEvents();
    ASSERT_EQ(window->navigation().viewCode(), 40);

    GridModel &grid = *window->grid()->model();
    int col = -1;
    for (int c = 0; c < grid.cols() && col < 0; ++c) {
        if (grid.text(grid.fixedRows() - 1, c).trimmed() == "П-1")
            col = c;
    }
    ASSERT_GE(col, 0);
    const int row = grid.fixedRows() + 2; // lesson 3
    ASSERT_TRUE(grid.text(row, col).isEmpty());

    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->objectName(), "dlgSelectJob");
        dialogSeen = true;
        auto *list = dialog->findChild<QTreeWidget *>("ListView1");
        ASSERT_TRUE(list && list->topLevelItemCount() == 2);
        EXPECT_EQ(list->topLevelItem(1)->text(2), "Иванов");
        EXPECT_EQ(dialog->findChild<QLabel *>("lblFreeLessonsInDay")->text().left(26),
                  "Доступных занятий в день -");
        // On a screen wide enough every shown column fits its texts (the test screen is
        // narrower than the dialog would like to be).
        dialog->resize(1200, dialog->height());
        for (int c = 0; c < list->columnCount(); ++c) {
            for (int i = 0; i < list->topLevelItemCount() && !list->isColumnHidden(c); ++i) {
                const QString text = list->topLevelItem(i)->text(c);
                EXPECT_GT(list->columnWidth(c), list->fontMetrics().horizontalAdvance(text))
                    << text.toStdString();
            }
        }
        // The list starts on the line that can be placed: Space checks it.
        QTest::keyClick(list, Qt::Key_Space);
        EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
        EXPECT_EQ(dialog->findChild<QLineEdit *>("txtAuditoria(1)")->text(), "101 (Главный)");
        EXPECT_GT(dialog->findChild<QComboBox *>("cboTypeLesson")->count(), 0);
        // Enter is "Добавить".
        QTest::keyClick(list, Qt::Key_Return);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog stays open";
            dialog->reject();
        }
    });
    QTest::mouseDClick(window->grid()->viewport(), Qt::LeftButton, {},
                       window->grid()->cellRect(row, col).center());
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty())
        << prompts.texts(ScriptedPrompts::Kind::Message).join("; ").toStdString();

    const qint64 placed = InstitutionBuilder{Database::open(path)}.rawNumber(
        QString("SELECT count(*) FROM tblTimeTableContent WHERE Key_Group = %1 AND Lesson = 3")
            .arg(group));
    EXPECT_EQ(placed, 1);
    EXPECT_TRUE(grid.text(row, col).contains("Матем")) << grid.text(row, col).toStdString();
}

} // namespace
} // namespace korvesta
