// The notes window as the planner uses it: "Блокнот" opens it on the calendar's date, F9
// stores the note and closes it, an idle window dims and comes back at a touch, and a date
// with a note opens the window by itself.

#include "app/frmnote.h"
#include "app/notecommand.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using NotesWindow = WindowTest;

TEST_F(NotesWindow, OpensStoresDimsAndComesBack)
{
    const QDate monday(2026, 9, 14);
    open({path});
    window->calendar()->setSelectedDate(monday);
    QAction *menu = window->command("submenuNote");
    ASSERT_TRUE(menu->isEnabled());

    menu->trigger();
    QPointer<frmNote> note = window->notes().window();
    ASSERT_TRUE(note);
    EXPECT_TRUE(menu->isChecked());
    auto *text = note->findChild<QPlainTextEdit *>("txtNote");
    text->insertPlainText("Педсовет");

    // Typing keeps the window bright; the mouse over the window arms the idle timer, which
    // dims it once; a touch of the text brings it back, and without new activity over the
    // window the timer does not dim it again.
    note->idleTimeout();
    EXPECT_FALSE(note->dimmed());
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), note->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(note, &move);
    note->idleTimeout();
    EXPECT_TRUE(note->dimmed());
    QTest::keyClick(text, Qt::Key_Space);
    EXPECT_FALSE(note->dimmed());
    note->idleTimeout();
    EXPECT_FALSE(note->dimmed());

    QTest::keyClick(text, Qt::Key_F9);
    QTRY_VERIFY(!note);
    EXPECT_FALSE(menu->isChecked());
    const auto stored = [&] {
        return b.raw(
            "SELECT d.Date, n.Note FROM tblNotes n JOIN tblTimeTableList d ON d.Key = n.Key_TTL");
    };
    EXPECT_EQ(stored(), QStringList{"2026-09-14|Педсовет "});

    // Choosing a date with a note opens the window by itself, on that date.
    window->setCalendarShown(true);
    window->calendar()->setSelectedDate(monday.addDays(1));
    emit window->calendar()->clicked(monday.addDays(1));
    EXPECT_FALSE(window->notes().window());
    window->setCalendarShown(true);
    window->calendar()->setSelectedDate(monday);
    emit window->calendar()->clicked(monday);
    note = window->notes().window();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->date(), monday);
    EXPECT_EQ(note->findChild<QPlainTextEdit *>("txtNote")->toPlainText(), "Педсовет ");
    EXPECT_TRUE(menu->isChecked());
    menu->trigger(); // unchecked: stored unchanged and closed
    QTRY_VERIFY(!note);
    EXPECT_EQ(stored().size(), 1);
}

} // namespace
} // namespace korvesta
