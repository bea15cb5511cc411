#include "editing/lessonclashes.h"
#include "editing/linehours.h"
#include "historycommands.h"

#include "appicons.h"

#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/prompts.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "mainwindow.h"
#include "viewdispatcher.h"
#include "views/timetable/timetablerefresh.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QToolBar>

#include <algorithm>

namespace korvesta {

namespace {

const QString kUndo = QStringLiteral("Отменить");
const QString kRedo = QStringLiteral("Повторить");

QString captioned(const QString &command, const QString &caption)
{
    return caption.isEmpty() ? command : command + QStringLiteral(": ") + caption;
}

} // namespace

HistoryCommands::HistoryCommands(frmMain &window)
    : QObject(&window)
    , m_window(window)
{
    m_undo = new QAction(kUndo, &window);
    m_undo->setObjectName(QStringLiteral("submenuUndo"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(kRedo, &window);
    m_redo->setObjectName(QStringLiteral("submenuRedo"));
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *action : {m_undo, m_redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action); // the keys work whichever edit menu is shown
    }
    m_undo->setIcon(appIcon(QStringLiteral("UNDO")));
    m_redo->setIcon(appIcon(QStringLiteral("REDO")));
    connect(m_undo, &QAction::triggered, this, [this] { apply(true); });
    connect(m_redo, &QAction::triggered, this, [this] { apply(false); });

    for (int i = 0; i < EditMenuCount; ++i) {
        QMenu *menu = window.editMenu(EditMenu(i));
        if (!menu)
            continue;
        QAction *first = menu->actions().value(0);
        menu->insertAction(first, m_undo);
        menu->insertAction(first, m_redo);
        if (first)
            menu->insertSeparator(first);
        connect(menu, &QMenu::aboutToShow, this, &HistoryCommands::refresh);
    }
    if (QToolBar *toolbar = window.mainToolbar()) {
        toolbar->addSeparator();
        toolbar->addAction(m_undo);
        toolbar->addAction(m_redo);
    }

    // Whatever changed the document, the commands follow once the event loop is idle again;
    // nothing is read from the document unless a transaction has ended since.
    if (QAbstractEventDispatcher *events = QAbstractEventDispatcher::instance())
        connect(events, &QAbstractEventDispatcher::aboutToBlock, this,
                &HistoryCommands::refreshWhenChanged);
    refresh();
}

void HistoryCommands::refreshWhenChanged()
{
    const History *history = History::current();
    if (history == m_seen && (!history || history->changeCount() == m_seenCount))
        return;
    refresh();
}

void HistoryCommands::refresh()
{
    History *history = History::current();
    m_seen = history;
    m_seenCount = history ? history->changeCount() : -1;
    QString undo, redo;
    bool canUndo = false, canRedo = false;
    try {
        if (history) {
            canUndo = history->canUndo();
            canRedo = history->canRedo();
            undo = history->undoCaption();
            redo = history->redoCaption();
        }
    } catch (const DbError &) {
        canUndo = canRedo = false; // the next change or the next look tells again
    }
    m_undo->setEnabled(canUndo);
    m_undo->setText(captioned(kUndo, undo));
    m_redo->setEnabled(canRedo);
    m_redo->setText(captioned(kRedo, redo));
}

void HistoryCommands::apply(bool undo)
{
    History *history = History::current();
    if (!history) {
        refresh();
        return;
    }
    GridView *grid = m_window.grid();
    GridModel *model = grid ? grid->model() : nullptr;
    const int row = model ? model->currentRow() : -1;
    const int col = model ? model->currentCol() : -1;
    const int top = grid ? grid->verticalScrollBar()->value() : 0;
    const int left = grid ? grid->horizontalScrollBar()->value() : 0;
    bool applied = false;
    try {
        // Lessons another planner placed since the step must not clash with its own again.
        const std::optional<Database> db = m_window.session().access();
        // Where the load's hours are a limit, neither may the step give a line more lessons
        // than hours.
        const bool hoursLimit = m_window.settingsRecord().JobOverFlow;
        const History::ClashCount clashes = [&](const std::vector<QDate> &dates,
                                                const std::vector<std::pair<int, int>> &lines) {
            if (!db)
                return 0;
            return clashesOn(*db, dates) + (hoursLimit ? linesOverHours(*db, lines) : 0);
        };
        if (undo)
            history->undo(clashes);
        else
            history->redo(clashes);
        applied = true;
    } catch (const DbError &error) {
        if (error.code() == dberr::Failed)
            m_window.prompts().message(error.message(), Prompts::Icon::Warning);
        else
            m_window.session().handleError(error);
    } catch (const std::exception &) {
        m_window.prompts().message(QStringLiteral("Команда прервана из-за внутренней ошибки "
                                                  "программы"),
                                   Prompts::Icon::Critical);
    }
    if (applied) {
        // A step of lessons alone (a placement, a copy, a clearing) changes only the dates it
        // names; any other step may change what every view shows.
        const History::Applied &what = history->lastApplied();
        const bool lessonsOnly =
            !what.dates.empty()
            && std::all_of(what.tables.begin(), what.tables.end(), [](const QString &t) {
                   return t.compare(QLatin1String("tblTimeTableContent"), Qt::CaseInsensitive) == 0
                          || t.compare(QLatin1String("tblTimeTableList"), Qt::CaseInsensitive)
                                 == 0;
               });
        if (lessonsOnly)
            m_window.dispatcher().refreshTouched({what.dates, {}});
        else
            m_window.dispatcher().refresh();
        if (model && row >= 0 && col >= 0 && row < model->rows() && col < model->cols())
            model->setCurrentCell(row, col);
        if (grid) {
            grid->verticalScrollBar()->setValue(top);
            grid->horizontalScrollBar()->setValue(left);
        }
    }
    refresh();
}

} // namespace korvesta
