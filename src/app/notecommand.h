#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QDate;

namespace korvesta {

class DateNote;
class frmMain;
class frmNote;

// "Блокнот" (submenuNote): checking it opens the notes window on the calendar's date,
// unchecking it stores the note and closes the window; the window closing by itself unchecks
// it. A child of the window.
class NoteCommand : public QObject
{
    Q_OBJECT

public:
    explicit NoteCommand(frmMain &window);
    ~NoteCommand() override;

    // Opens the window on the date unless it is open already.
    void open(const QDate &date);
    // Stores the note and closes the window at once (the document is about to close).
    void closeNow();
    frmNote *window() const;

private:
    void toggled(bool checked);

    frmMain &m_window;
    std::unique_ptr<DateNote> m_dateNote;
    QPointer<frmNote> m_note;
};

} // namespace korvesta
