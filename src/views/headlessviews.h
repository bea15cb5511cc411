#pragma once

#include "fillregistry.h"
#include "navigationstate.h"
#include "viewcontext.h"
#include "viewrun.h"

#include <QDate>

namespace korvesta {

// The window's view dispatcher without the window: the navigation state chooses a view, and
// the dispatcher's plan and the view's fill run on a grid, with the dates the window's
// calendar and period pickers would give. The headless view command, the tests and the
// benchmarks show views through it.
class HeadlessViews
{
public:
    HeadlessViews(GridModel &grid, DocumentSession &session, SettingsStore &settings,
                  SettingsRecord &record, Prompts &prompts);

    NavigationState &navigation() { return m_navigation; }
    const ObjectList &objects() const { return m_objects; }

    QDate date = QDate::currentDate(); // MonthView1
    QDate from;                        // the period pickers; the date when not set
    QDate to;
    QString filter;                    // the entry of ButtonFilter's menu; empty for "Все"

    ViewContext context();
    // Fills the grid for the current navigation state, as the dispatcher does (F5). False
    // when the fill failed (the user has been told why).
    bool refresh();
    // Chooses a view as the navigation bar does, its section and then its item, filling as
    // each click does. False when a fill failed.
    bool show(int code);
    // The click on an entry of the object list.
    FillResult chooseObject(const ObjectListEntry &entry);

private:
    GridModel &m_grid;
    DocumentSession &m_session;
    SettingsStore &m_settings;
    SettingsRecord &m_record;
    Prompts &m_prompts;
    NavigationState m_navigation;
    FillRegistry m_fills;
    ObjectList m_objects;
};

} // namespace korvesta
