#pragma once

#include <QObject>

class QAction;

namespace korvesta {

class frmMain;
class History;

// "Отменить" (Ctrl+Z) and "Повторить" (Ctrl+Y, Ctrl+Shift+Z) at the top of every edit menu and
// on the toolbar. Each shows what it would undo or redo ("Отменить: удаление группы") and is
// disabled when there is nothing; after either the current view is filled again, keeping
// the current cell and the scroll position.
class HistoryCommands : public QObject
{
    Q_OBJECT

public:
    explicit HistoryCommands(frmMain &window); // a child of the window

    QAction *undoAction() const { return m_undo; }
    QAction *redoAction() const { return m_redo; }
    // Reads what the document's history offers now.
    void refresh();

private:
    void apply(bool undo);
    void refreshWhenChanged();

    frmMain &m_window;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    const History *m_seen = nullptr;
    qint64 m_seenCount = -1;
};

} // namespace korvesta
