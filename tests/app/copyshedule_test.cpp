// The copy dialog from the service menu: the pickers' two forms, the week copied, the
// choices kept for the next opening, and the day view showing the copy afterwards.

#include "app/dlgcopyshedule.h"
#include "app/statusbarpanels.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using CopySheduleDialog = WindowTest;

TEST_F(CopySheduleDialog, AWeekCopiedFromTheServiceMenu)
{
    const QDate monday(2026, 9, 14);
    const int group = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    const int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    const int job = b.job(b.add("tblTutors", {"Tutor", "Иванов"}),
                          b.add("tblDisciplines", {"Discipline", "Матем"}));
    for (int i = 0; i < 5; ++i)
        b.lesson(monday.addDays(i), i + 1, job, group, aud);

    store.write("Wizard", "CopyWizard", "1");
    store.write("Wizard", "SourseDate", "16.09.2026"); // a Wednesday
    store.write("Wizard", "DestinationDate", "25.09.2026");
    store.write("Wizard", "ReWriteTimeTable", "1");
    open({path});
    window->calendar()->setSelectedDate(monday.addDays(7));
    window->dispatcher().sectionClicked(4);
    QApplication::processEvents();
    ASSERT_TRUE(window->command("submenuCopyTimeTable")->isEnabled());

    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<dlgCopyShedule *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialogSeen = true;
        EXPECT_EQ(dialog->windowTitle(), "Копирование расписания");
        auto *source = dialog->findChild<CopyDatePicker *>("DTPicker1(0)");
        auto *destination = dialog->findChild<CopyDatePicker *>("DTPicker1(1)");
        auto *multi = dialog->findChild<QCheckBox *>("chkMultiCopy");
        auto *process = dialog->findChild<QGroupBox *>("fraProcess");
        ASSERT_TRUE(source && destination && multi && process);
        // By week the pickers stand on Mondays and name the working week.
        EXPECT_EQ(source->date(), monday);
        EXPECT_EQ(destination->date(), monday.addDays(7));
        EXPECT_TRUE(source->text().endsWith(" неделя")) << source->text().toStdString();
        EXPECT_FALSE(multi->isEnabled());
        EXPECT_TRUE(dialog->findChild<QRadioButton *>("optReWriteTimeTable(1)")->isChecked());
        destination->setDate(monday.addDays(10)); // a Thursday goes back to its Monday
        EXPECT_EQ(destination->date(), monday.addDays(7));
        destination->stepBy(1);
        EXPECT_EQ(destination->date(), monday.addDays(14));
        destination->stepBy(-1);

        QTest::mouseClick(dialog->findChild<QPushButton *>("CopyButton"), Qt::LeftButton);
        EXPECT_EQ(dialog->report().outcome, CopyOutcome::Done);
        EXPECT_EQ(process->title(), "Процесс... завершён");
        auto *bar = dialog->findChild<QProgressBar *>("ProgressBar1");
        EXPECT_EQ(bar->value(), bar->maximum());

        // By day the dates show in full, and replication may be chosen again.
        auto *oneDay = dialog->findChild<QRadioButton *>("optCopyTime(0)");
        QTest::mouseClick(oneDay, Qt::LeftButton, {}, QPoint(8, oneDay->height() / 2));
        EXPECT_EQ(store.readText("Wizard", "CopyWizard", ""), "0");
        EXPECT_EQ(source->text(), "14 сент. 2026 - пн");
        EXPECT_TRUE(multi->isEnabled());
        QTest::mouseClick(dialog->findChild<QPushButton *>("CancelButton"), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
    });
    window->command("submenuCopyTimeTable")->trigger();
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty());

    EXPECT_EQ(b.raw("SELECT d.Date, c.Lesson FROM tblTimeTableContent c JOIN tblTimeTableList d "
                    "ON d.Key = c.Key_TTList WHERE d.Date >= '2026-09-21' ORDER BY d.Date"),
              QStringList({"2026-09-21|1", "2026-09-22|2", "2026-09-23|3", "2026-09-24|4",
                           "2026-09-25|5"}));
    EXPECT_EQ(store.readText("Wizard", "SourseDate", ""), "14.09.2026");
    EXPECT_EQ(store.readText("Wizard", "DestinationDate", ""), "21.09.2026");
    EXPECT_EQ(store.readText("Wizard", "ReWriteTimeTable", ""), "1");
    EXPECT_EQ(window->statusPanels()->panelText(StatusBarPanels::Comment),
              "Скопировано дат: 5, занятий: 5");
}

} // namespace
} // namespace korvesta
