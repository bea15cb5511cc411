#pragma once

#include "views/timetable/timetablerefresh.h"

#include <QObject>

class QTimer;

namespace korvesta {

class frmMain;
class ServerChangeWatch;
struct ServerChange;

// Keeps the views of a server document current while other planners work in it: a change
// they commit refreshes the view within a moment (a timetable only on the dates changed), the current cell and the scroll position kept,
// and the status bar says who changed what. A refill waits while a dialog is open.
class LiveRefresh : public QObject
{
    Q_OBJECT

public:
    explicit LiveRefresh(frmMain &window);

private:
    void watchDocument(int code);
    void changeCommitted(const ServerChange &change);
    void refill();

    frmMain &m_window;
    ServerChangeWatch *m_watch = nullptr;
    QTimer *m_pending = nullptr;
    // The dates of the changes gathered for the next refresh; all of them for a change that
    // named none.
    TimetableTouch m_touched;
    bool m_everything = false;
};

} // namespace korvesta
