#include "navigationstate.h"

#include "viewtable.h"

namespace korvesta {

bool NavigationState::selectSection(int section)
{
    if (section < 0 || section >= ViewTable::SectionCount)
        return false;
    const bool changed = section != m_section;
    m_section = section;
    m_item = 0;
    return changed;
}

void NavigationState::selectItem(int item)
{
    if (ViewTable::find(m_section, item))
        m_item = item;
}

int NavigationState::beginDispatch()
{
    m_editExisting = false;
    return viewCode();
}

bool NavigationState::isNewRecordView(int code)
{
    return code == 1 || code == 11 || code == 21 || code == 31;
}

} // namespace korvesta
