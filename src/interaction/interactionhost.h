#pragma once

#include "views/dispatchplan.h"

#include <QDate>

namespace korvesta {

// Which items of a context menu may be chosen, for the menus whose items depend on the cell
// (the teaching load's "Добавить" items and its hours item).
struct ContextMenuState
{
    bool addDiscipline = true; // subsubmenuAddKorvesta(1)
    bool addGroup = true;      // subsubmenuAddKorvesta(2)
    bool editHours = true;     // submenuEditKorvesta
};

// What the grid routing asks of the window around the grid. The window implements it over
// its dispatcher, panes and menus; tests implement it over a plain grid.
class InteractionHost
{
public:
    virtual ~InteractionHost() = default;

    // The view dispatcher: refills the window for the current navigation state.
    virtual void refresh() = 0;
    // The date of the month calendar (MonthView1), and moving it without a refill.
    virtual QDate calendarDate() const = 0;
    virtual void setCalendarDate(const QDate & /*date*/) {}

    // The pop-up calendar is put out of sight.
    virtual void hideCalendar() {}
    // Shows the edit menu as the grid's context menu, at the mouse.
    virtual void showContextMenu(EditMenu /*menu*/, const ContextMenuState & /*state*/) {}
    // The click on the chosen entry of the object list is repeated (refills its view).
    virtual void repeatObjectClick() {}
    // ButtonAud ("Изменить аудиторию").
    virtual void setAudButtonEnabled(bool /*enabled*/) {}
    // Whether the object pane beside a timetable is shown, and its refill for the cell.
    virtual bool objectPaneShown() const { return false; }
    virtual void refreshObjectPane() {}
    // Brings the grid's current cell into sight after the routing moved it.
    virtual void revealCurrentCell() {}
};

} // namespace korvesta
