// "Подобрать время" in the window on the sample college: from a load line to the coloured
// week, a lesson placed from the list and undone, and a line with nothing left.

#include "app/dlgselectjob.h"
#include "app/historycommands.h"
#include "app/slotassistant.h"
#include "app/statusbarpanels.h"
#include "assist/slotpaint.h"
#include "data/queries.h"
#include "data/recordset.h"
#include "editing/placement.h"
#include "sample/demodocument.h"
#include "settings/settingsrecord.h"
#include "support/windowfixture.h"
#include "views/load/loadview.h"
#include "views/timetable/timetablelayout.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace korvesta {
namespace {

class SlotAssistantWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        sample = folder.file(QStringLiteral("Колледж.kvt"));
        writeDemoDocument(sample, DemoRequest::fullYear(DemoSize::Small, 2026));
        const Database db = Database::open(sample);
        keyLine = int(db.openRecordset("SELECT Min(Key) FROM tblJobList;").value(0).toInt());
        db.execute(QString("UPDATE tblJobList SET Hours = Hours + 20 WHERE Key = %1;")
                       .arg(keyLine));
    }

    std::optional<AssistLine> line() { return loadLine(*session.access(), keyLine); }

    // The load view with the line's row current, and the command.
    void suggestFromLoad()
    {
        window->dispatcher().sectionClicked(3);
        GridModel &grid = *window->grid()->model();
        const std::optional<AssistLine> l = line();
        ASSERT_TRUE(l);
        for (int row = 0; row < grid.rows(); ++row) {
            const auto texts = loadview::lineOfRow(grid, row);
            if (texts && texts->tutor == l->tutor && texts->discipline == l->discipline
                && splitGroupText(texts->group).group == l->group) {
                grid.setCurrentCell(row, loadview::GroupCol);
                break;
            }
        }
        window->command("submenuSuggestTime")->trigger();
        QApplication::processEvents();
    }

    // Cells of the grid painted in the assistant's colour of a fit.
    int painted(SlotFit fit) const
    {
        const GridModel &grid = *window->grid()->model();
        int count = 0;
        for (int row = 0; row < grid.rows(); ++row) {
            for (int col = 0; col < grid.cols(); ++col)
                count += grid.cellBackColor(row, col) == SlotPaint::colorOf(fit);
        }
        return count;
    }

    QString sample;
    int keyLine = 0;
};

TEST_F(SlotAssistantWindowTest, ALoadLineColoursItsWeekAndPlacesFromTheList)
{
    open({sample});
    window->calendar()->setSelectedDate(QDate(2026, 12, 7));

    suggestFromLoad();
    SlotAssistant *assistant = window->slotAssistant();
    ASSERT_TRUE(assistant->isVisible());
    EXPECT_EQ(window->navigation().viewCode(), 41);
    auto *list = assistant->findChild<QTreeWidget *>("lstSlots");
    ASSERT_GT(list->topLevelItemCount(), 0);
    EXPECT_GT(painted(SlotFit::Free), 0);

    // Every painted cell of the group's column tells why in its tooltip.
    GridModel &grid = *window->grid()->model();
    const TimetableLayout layout =
        TimetableLayout::ofGrid(TimetableKind::Week, window->settingsRecord(), grid);
    const int col = groupColumn(grid, layout, *line());
    ASSERT_GE(col, 0);
    for (int row = layout.headerRows; row < grid.rows(); ++row) {
        if (grid.cellBackColor(row, col) == SlotPaint::colorOf(SlotFit::Free)) {
            EXPECT_TRUE(window->dispatcher().cellToolTip(row, col).contains("Можно поставить"));
        }
    }

    // A double click on the best lesson places it; undo takes it back.
    const int placed = line()->placed;
    ASSERT_TRUE(assistant->placeRow(0));
    EXPECT_EQ(line()->placed, placed + 1);
    EXPECT_EQ(grid.currentCol(), col) << "the placed lesson is the current cell";
    EXPECT_GT(list->topLevelItemCount(), 0);
    HistoryCommands *history = window->findChild<HistoryCommands *>();
    history->refresh();
    history->undoAction()->trigger();
    EXPECT_EQ(line()->placed, placed);

    // The pane goes with the timetables and comes back with them.
    window->dispatcher().sectionClicked(3);
    EXPECT_FALSE(assistant->isVisible());
    window->dispatcher().sectionClicked(4);
    window->dispatcher().itemClicked(1);
    EXPECT_TRUE(assistant->isVisible());
    EXPECT_GT(painted(SlotFit::Free), 0);

    // Another document opened ends the assistant: its line belongs to the first one.
    prompts.fileAnswers = {newTestDocument(folder, QStringLiteral("Лицей.kvt")), sample};
    command("submenuOpenDB")->trigger();
    EXPECT_FALSE(assistant->isVisible());
    EXPECT_FALSE(assistant->line());
    command("submenuOpenDB")->trigger();
    EXPECT_FALSE(assistant->isVisible());

    // Closed, the assistant takes its colours with it.
    assistant->close();
    QApplication::processEvents();
    EXPECT_EQ(painted(SlotFit::Free), 0);
    EXPECT_EQ(painted(SlotFit::Soft), 0);

    // A line with every hour placed says so instead of an empty list.
    session.access()->execute(
        QString("UPDATE tblJobList SET Hours = %1 WHERE Key = %2;").arg(placed).arg(keyLine));
    suggestFromLoad();
    auto *message = assistant->findChild<QLabel *>("lblMessage");
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().startsWith("По строке нагрузки не осталось часов"));
    EXPECT_EQ(painted(SlotFit::Free), 0);

    // Without a load line current the command asks for one.
    assistant->close();
    window->dispatcher().sectionClicked(0);
    const size_t told = prompts.shown.size();
    window->command("submenuSuggestTime")->trigger();
    EXPECT_EQ(prompts.shown.size(), told + 1);
    EXPECT_FALSE(assistant->isVisible());
}

// "Подобрать время" in the job dialog closes it for the line chosen there.
TEST_F(SlotAssistantWindowTest, TheJobDialogHandsItsLineToTheAssistant)
{
    session.startFromCommandLine({sample});
    const std::optional<AssistLine> l = line();
    ASSERT_TRUE(l);
    const QDate monday(2026, 12, 7);
    const SlotMap map(*session.access(), SettingsRecord(), *l, monday, monday.addDays(6));
    const std::vector<SlotState> best = map.ranked(1);
    ASSERT_FALSE(best.empty());
    SettingsRecord record;
    LessonPlacement placement(session, record, store, prompts);
    std::optional<PlacementChoice> choice = placement.openForGroup(
        best.front().date, best.front().lesson, l->group, l->course, l->faculty);
    ASSERT_TRUE(choice);
    dlgSelectJob dialog(*choice, [](PlacementChoice &, const PlacementRequest &) {
        return PlacementResult();
    }, prompts, store);
    dialog.show();
    auto *list = dialog.findChild<QTreeWidget *>();
    ASSERT_TRUE(list);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->data(0, Qt::UserRole).toInt() == keyLine)
            list->setCurrentItem(list->topLevelItem(i));
    }
    dialog.findChild<QPushButton *>("cmdSuggestTime")->click();
    EXPECT_EQ(dialog.suggestFor(), keyLine);
    EXPECT_EQ(dialog.result().outcome, PlacementOutcome::Refused) << "nothing written";
    EXPECT_FALSE(dialog.isVisible());
}

// What the assistant says in the status bar may be long: it is cut there, the window keeps
// its width.
TEST_F(SlotAssistantWindowTest, ALongCommentNeverWidensTheWindow)
{
    open({sample});
    window->resize(900, 600);
    QApplication::processEvents();
    const int width = window->width();
    window->statusPanels()->setPanelText(StatusBarPanels::Comment,
                                         QString(300, QLatin1Char('x')));
    QApplication::processEvents();
    EXPECT_EQ(window->width(), width);
    EXPECT_LE(window->minimumSizeHint().width(), width);
}

} // namespace
} // namespace korvesta
