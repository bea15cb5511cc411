#pragma once

#include "views/dispatchplan.h"
#include "views/viewcontext.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace korvesta {

class DocumentQueries;
class frmMain;
struct TimetableTouch;

// The view dispatcher and the navigation events that end in it. The dispatcher refills the
// window for the current section, item, calendar date and period: it empties the grid, runs
// the view's fill from the fill registry, and sets the menus, toolbar buttons, panes,
// pickers and the status bar as the view's plan says.
class ViewDispatcher : public QObject
{
    Q_OBJECT

public:
    explicit ViewDispatcher(frmMain &window);
    ~ViewDispatcher() override;

    // The dispatcher (F5, and the end of most commands).
    void refresh();
    // After a change of the timetable: a timetable view shown is brought up to date where the
    // change touched it, the current cell and scrolling kept; any other view is refilled.
    void refreshTouched(const TimetableTouch &touch);
    // The lock button and the status bar's lock text as the date's protection is; without
    // comment another text in the status bar is left standing.
    void showDateLock(const QDate &date, bool comment = true);
    // Opens the view, object and date the planner last used in the current document, the
    // group list the first time, and fills it (the window's start).
    void openLastView();
    // After "Создать", "Открыть" and "Сохранить как...": a document used before opens where
    // its work stopped; otherwise the current view is refilled from the document now open.
    void documentChanged();

    // Navigation events
    void sectionClicked(int section);
    void itemClicked(int item);
    // An entry of the section toolbar's menus ("gr01").
    void menuKeyChosen(const QString &key);
    // "Добавить группу", "Добавить дисциплину", "Добавить аудиторию".
    void addRecord();
    void dateClicked(const QDate &date);
    void objectChosen(const ObjectListEntry &entry);
    void tabChosen(int tab);
    // The object pane of a timetable refilled for the grid's current cell and the tab given
    // (the current cell moved: nothing is saved).
    void refillObjectPane(int tab);
    void periodChanged();
    void middlePaneToggled(bool shown);
    // The busy-time menu: a kind of mark shown or hidden (entry n of submenuBTShow stands for
    // kind n + 1), icons or letters, marks for every week or for one date. Each is kept in
    // the settings and the tutor's month shown again.
    void busyTimeKindToggled(int entry, bool shown);
    void busyTimeIconsChosen(bool icons);
    void busyTimeEveryWeekToggled(bool everyWeek);
    // The click on the object chosen in the list, repeated (after a change the view shows);
    // the view itself is shown again when no object is chosen.
    void repeatObjectClick();
    // The tooltip over a cell of the grid, as the current view gives it.
    QString cellToolTip(int row, int col);

    // Toolbar
    void displayTextReset();
    void displayTextChosen(int tag);
    void totalsToggled(bool on);
    void colorItemToggled(bool on);
    // ButtonFilter's menu: "Все", then what the view offers; "-" is a separator.
    QStringList filterEntries();
    void filterChosen(const QString &entry);
    // The mode of the timetable item shown, for the check mark in ButtonView's menu.
    int currentDisplayText() const;

    // The menu and button state of the first view, set at start without filling it.
    void applyInitialState();
    // Panel 10 for the calendar date.
    void showWeekNumber();
    // The status bar's note of the filter of the view shown.
    void showFilter();

    // What a tool beside the grid says of a cell of the view shown, after the view's own
    // tooltip (the placement assistant's reasons).
    void setToolTipOverlay(std::function<QString(int, int)> overlay)
    {
        m_toolTipOverlay = std::move(overlay);
    }

    // What the date change opens when the date has a note (the notes window).
    void setNoteOpener(std::function<void(const QDate &)> opener)
    {
        m_openNote = std::move(opener);
    }

    const DispatchPlan &plan() const { return m_plan; }
    // The filter of the view shown: the entry last chosen in it, "Все" when none.
    QString filter() const;
    ViewContext context();

signals:
    // Before the panes are laid out for a view and the view is filled: a pane beside the
    // grid shown or hidden now leaves the grid the width the fill measures.
    void aboutToFill(int code);
    // After every run of the dispatcher, with the view code shown.
    void dispatched(int code);
    // After an object of the object list was chosen and its view completed.
    void objectShown(const ObjectListEntry &entry);

private:
    void dispatch();
    void applyPlan(const DispatchPlan &plan);
    void applyMenus(const DispatchPlan &plan);
    void applyPanes(const DispatchPlan &plan);
    void settleLayout();
    void fitTimetableColumns(int code);
    void showTitle();
    void editExistingChanged(bool editing);
    void rememberView();
    void setEnabled(const char *command, bool enabled);
    void processEvents();

    frmMain &m_window;
    std::unique_ptr<DocumentQueries> m_queries;
    ObjectList m_objects;
    DispatchPlan m_plan;
    QString m_filter;
    int m_filterCode = -1; // the view (its list, for a new-record view) the filter was chosen in
    QString m_objectKey; // the object chosen in the list for the view shown
    std::function<void(const QDate &)> m_openNote;
    std::function<QString(int, int)> m_toolTipOverlay;
};

} // namespace korvesta
