#include "datelockcommand.h"

#include "mainwindow.h"
#include "viewdispatcher.h"

#include "editing/datelock.h"

#include <QAction>
#include <QCalendarWidget>

namespace korvesta {

DateLockCommand::DateLockCommand(frmMain &window)
    : QObject(&window)
    , m_window(window)
{
    if (QAction *button = window.command(QStringLiteral("ButtonAccessEdit")))
        connect(button, &QAction::triggered, this, &DateLockCommand::pressed);
}

void DateLockCommand::pressed(bool lock)
{
    const QDate date = m_window.calendar()->selectedDate();
    DateLock(m_window.session(), m_window.settings(), m_window.prompts()).setLocked(date, lock);
    // The button shows what the document holds, whatever came of the press.
    m_window.dispatcher().showDateLock(date);
}

} // namespace korvesta
