#include "notecommand.h"

#include "frmnote.h"
#include "mainwindow.h"
#include "viewdispatcher.h"

#include "editing/datenote.h"

#include <QAction>
#include <QCalendarWidget>
#include <QSignalBlocker>

namespace korvesta {

NoteCommand::NoteCommand(frmMain &window)
    : QObject(&window)
    , m_window(window)
    , m_dateNote(std::make_unique<DateNote>(window.session(), window.prompts()))
{
    if (QAction *menu = window.command(QStringLiteral("submenuNote")))
        connect(menu, &QAction::toggled, this, &NoteCommand::toggled);
    window.dispatcher().setNoteOpener([this](const QDate &date) { open(date); });
}

NoteCommand::~NoteCommand()
{
    closeNow();
}

void NoteCommand::toggled(bool checked)
{
    if (checked)
        open(m_window.calendar()->selectedDate());
    else if (m_note)
        m_note->leave();
}

void NoteCommand::open(const QDate &date)
{
    if (m_note || !date.isValid())
        return;
    m_note = new frmNote(*m_dateNote, m_window.settings(), date, &m_window);
    connect(m_note, &frmNote::closed, this, [this] {
        if (QAction *menu = m_window.command(QStringLiteral("submenuNote"))) {
            const QSignalBlocker quiet(menu);
            menu->setChecked(false);
        }
    });
    if (QAction *menu = m_window.command(QStringLiteral("submenuNote"))) {
        const QSignalBlocker quiet(menu);
        menu->setChecked(true);
    }
    m_note->appear();
}

frmNote *NoteCommand::window() const
{
    return m_note;
}

void NoteCommand::closeNow()
{
    if (m_note)
        m_note->leave(false);
}

} // namespace korvesta
