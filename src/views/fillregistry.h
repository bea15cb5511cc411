#pragma once

#include "viewcontext.h"

#include <QStringList>

#include <functional>
#include <map>

namespace korvesta {

// The routines of each view, by view code. The dispatcher looks a view's routines up here;
// a view with none registered shows an empty grid. Each area registers its own in
// registerViewFills().
class FillRegistry
{
public:
    // Builds the view: headings and data, the object list where the view has one.
    using Fill = std::function<void(ViewContext &)>;
    // Completes the view for the object clicked in the object list.
    using ObjectFill = std::function<void(ViewContext &, const ObjectListEntry &)>;
    // The entries of ButtonFilter's menu after "Все"; "-" stands for a separator.
    using FilterEntries = std::function<QStringList(ViewContext &)>;
    // The tooltip of a cell of the view's grid; empty for none.
    using CellToolTip = std::function<QString(ViewContext &, int row, int col)>;

    struct Routines
    {
        Fill fill;
        ObjectFill objectChosen;
        // Refills the object pane beside a timetable for the current cell and tab.
        Fill paneRefill;
        FilterEntries filterEntries;
        CellToolTip cellToolTip;
    };

    void setFill(int code, Fill fill) { m_routines[code].fill = std::move(fill); }
    void setObjectFill(int code, ObjectFill fill)
    {
        m_routines[code].objectChosen = std::move(fill);
    }
    void setPaneRefill(int code, Fill fill) { m_routines[code].paneRefill = std::move(fill); }
    void setFilterEntries(int code, FilterEntries entries)
    {
        m_routines[code].filterEntries = std::move(entries);
    }

    void setCellToolTip(int code, CellToolTip toolTip)
    {
        m_routines[code].cellToolTip = std::move(toolTip);
    }

    // nullptr when nothing is registered for the code.
    const Routines *find(int code) const
    {
        const auto it = m_routines.find(code);
        return it == m_routines.end() ? nullptr : &it->second;
    }

private:
    std::map<int, Routines> m_routines;
};

// Registers the fills of every view built so far.
void registerViewFills(FillRegistry &registry);

} // namespace korvesta
