#pragma once

#include "interaction/interactionhost.h"

#include <QObject>

#include <memory>

namespace korvesta {

class DocumentQueries;
class EditingTargets;
class GridRouter;
class ReferenceEditor;
class frmMain;

// Forwards the main grid's events and the "Редактирование" menus to the grid router, and
// gives the router what it asks of the window: the dispatcher, the calendar, the context
// menus, the object list and ButtonAud. A child of the window.
class GridInteraction : public QObject, public InteractionHost
{
    Q_OBJECT

public:
    explicit GridInteraction(frmMain &window);
    ~GridInteraction() override;

    GridRouter &router() { return *m_router; }
    // The editing of the load, timetable and busy-time marks (not owned; nullptr for the
    // window's own, which saves the group passport's exam date).
    void setTargets(EditingTargets *targets);

    // InteractionHost
    void refresh() override;
    QDate calendarDate() const override;
    void setCalendarDate(const QDate &date) override;
    void hideCalendar() override;
    void showContextMenu(EditMenu menu, const ContextMenuState &state) override;
    void repeatObjectClick() override;
    void setAudButtonEnabled(bool enabled) override;
    bool objectPaneShown() const override;
    void refreshObjectPane() override;
    void revealCurrentCell() override;

    // "Очистить расписание": the deletion dialog, the deletion with its course in the status
    // bar, and the view filled again.
    void deleteTimetable();

private:
    void connectGrid();
    void connectMenus();

    frmMain &m_window;
    std::unique_ptr<DocumentQueries> m_queries;
    std::unique_ptr<ReferenceEditor> m_editor;
    std::unique_ptr<EditingTargets> m_noTargets;
    std::unique_ptr<GridRouter> m_router;
};

} // namespace korvesta
