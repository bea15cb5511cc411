#include "liverefresh.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/pgconnection.h"
#include "data/planners.h"
#include "data/serverchanges.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "mainwindow.h"
#include "statusbarpanels.h"
#include "viewdispatcher.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QScrollBar>
#include <QTimer>

namespace korvesta {

namespace {

// Changes that come together (a copy of a week sends one per statement) refill once.
constexpr int kGatherMs = 150;
constexpr int kDialogWaitMs = 500;

} // namespace

LiveRefresh::LiveRefresh(frmMain &window)
    : QObject(&window)
    , m_window(window)
    , m_watch(new ServerChangeWatch(this))
    , m_pending(new QTimer(this))
{
    m_pending->setSingleShot(true);
    connect(m_pending, &QTimer::timeout, this, &LiveRefresh::refill);
    connect(m_watch, &ServerChangeWatch::changed, this, &LiveRefresh::changeCommitted);
    // Every fill looks at which document is open: another one, or a connection made again.
    connect(&window.dispatcher(), &ViewDispatcher::aboutToFill, this, &LiveRefresh::watchDocument);
}

void LiveRefresh::watchDocument(int code)
{
    const QString path = m_window.session().currentPath();
    try {
        if (PgConnection::isServerUri(path)) {
            const Database db = Database::open(path);
            m_watch->watch(db);
            // What this planner works on, for the others' list.
            announceActivity(db, code, m_window.calendar()->selectedDate());
        } else {
            m_watch->stop();
        }
    } catch (const DbError &) {
        // The server is out of reach: the view's own fill says so.
    }
}

void LiveRefresh::changeCommitted(const ServerChange &change)
{
    QString what = QStringLiteral("Расписание изменено (%1)").arg(change.user);
    if (change.date.isValid()) {
        what += QStringLiteral(": ") + change.date.toString(QStringLiteral("dd.MM.yyyy"));
        if (change.lesson > 0)
            what += QStringLiteral(", урок %1").arg(change.lesson);
    }
    m_window.statusPanels()->setPanelText(StatusBarPanels::Comment, what);
    if (change.dates.empty())
        m_everything = true;
    m_touched.dates.insert(m_touched.dates.end(), change.dates.begin(), change.dates.end());
    if (!m_pending->isActive())
        m_pending->start(kGatherMs);
}

void LiveRefresh::refill()
{
    // Not under a dialog, a menu or an edit in the grid: they belong to what is shown now.
    GridModel *model = m_window.grid()->model();
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()
        || m_window.grid()->isEditing()) {
        m_pending->start(kDialogWaitMs);
        return;
    }
    const QString said = m_window.statusPanels()->panelText(StatusBarPanels::Comment);
    const int row = model ? model->currentRow() : -1;
    const int col = model ? model->currentCol() : -1;
    QScrollBar *down = m_window.grid()->verticalScrollBar();
    QScrollBar *across = m_window.grid()->horizontalScrollBar();
    const int top = down->value();
    const int left = across->value();
    if (m_everything)
        m_window.dispatcher().refresh();
    else
        m_window.dispatcher().refreshTouched(m_touched);
    m_touched = TimetableTouch();
    m_everything = false;
    if (model && model->isValid(row, col))
        model->setCurrentCell(row, col);
    down->setValue(std::min(top, down->maximum()));
    across->setValue(std::min(left, across->maximum()));
    m_window.statusPanels()->setPanelText(StatusBarPanels::Comment, said);
}

} // namespace korvesta
