#pragma once

#include <QObject>

class QTimer;

namespace korvesta {

class frmMain;
class ServerChangeWatch;
struct ServerChange;

// Keeps the views of a server document current while other planners work in it: a change
// they commit refills the view within a moment, the current cell and the scroll position kept,
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
};

} // namespace korvesta
