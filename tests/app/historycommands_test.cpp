// "Отменить" and "Повторить" in the window: what they show, that they undo and redo the
// document's last step and fill the view again, and the message of a refused undo.

#include "app/historycommands.h"
#include "data/recordset.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class HistoryCommandsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        open({path});
        commands = window->findChild<HistoryCommands *>();
        ASSERT_NE(commands, nullptr);
        db = session.access();
        ASSERT_TRUE(db);
    }
    void beforeStart(frmMain &w) override
    {
        w.fills().setFill(0, [this](ViewContext &ctx) {
            ++fills;
            ctx.grid.setCols(3);
            ctx.grid.setRows(5);
        });
    }

    qint64 groups() const
    {
        return db->openRecordset("SELECT Count(*) AS N FROM tblGroups").value(0).toLongLong();
    }

    HistoryCommands *commands = nullptr;
    std::optional<Database> db;
    int fills = 0;
};

TEST_F(HistoryCommandsTest, UndoAndRedoTheLastStep)
{
    QAction *undo = commands->undoAction();
    QAction *redo = commands->redoAction();
    commands->refresh();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Отменить");
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_EQ(window->editMenu(EditMenu::Groups)->actions().value(0), undo);
    EXPECT_TRUE(window->mainToolbar()->actions().contains(redo));

    {
        History::Step step(*db, "добавление группы «П-1»");
        db->execute("INSERT INTO tblGroups ([Group], Course) VALUES ('П-1', '1')");
    }
    commands->refresh();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Отменить: добавление группы «П-1»");

    window->grid()->model()->setCurrentCell(3, 2);
    const int before = fills;
    undo->trigger();
    EXPECT_EQ(groups(), 0);
    EXPECT_EQ(fills, before + 1) << "the view is filled again";
    EXPECT_EQ(window->grid()->model()->currentRow(), 3);
    EXPECT_EQ(window->grid()->model()->currentCol(), 2);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "Повторить: добавление группы «П-1»");

    redo->trigger();
    EXPECT_EQ(groups(), 1);

    // The keys work whichever view is shown.
    window->activateWindow();
    QTest::keyClick(window->grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(groups(), 0);
    QTest::keyClick(window->grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(groups(), 1);
    EXPECT_EQ(undo->text(), "Отменить: добавление группы «П-1»");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(HistoryCommandsTest, RefusedUndoIsToldAndChangesNothing)
{
    db->execute("INSERT INTO tblGroups ([Group], Course) VALUES ('П-1', '1')");
    sqliteExec(db->path(), "UPDATE tblGroups SET Course = '2'");

    commands->refresh();
    commands->undoAction()->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown.front().text,
              "Отменить «изменение данных» невозможно: после него группу П-1 (курс 1) изменила "
              "другая программа (таблица tblGroups). Документ оставлен без изменений");
    EXPECT_EQ(groups(), 1);
    EXPECT_TRUE(commands->undoAction()->isEnabled());
}

} // namespace
} // namespace korvesta
