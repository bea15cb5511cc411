#include "headlessviews.h"

#include "dispatchplan.h"

namespace korvesta {

HeadlessViews::HeadlessViews(GridModel &grid, DocumentSession &session, SettingsStore &settings,
                             SettingsRecord &record, Prompts &prompts)
    : m_grid(grid)
    , m_session(session)
    , m_settings(settings)
    , m_record(record)
    , m_prompts(prompts)
{
    registerViewFills(m_fills);
}

ViewContext HeadlessViews::context()
{
    ViewContext ctx(m_grid, m_objects, m_session, m_settings, m_record, m_prompts);
    ctx.viewCode = m_navigation.viewCode();
    ctx.previousViewCode = m_navigation.previousViewCode();
    ctx.calendarDate = date;
    ctx.periodFrom = ctx.rangeFrom = from.isValid() ? from : date;
    ctx.periodTo = ctx.rangeTo = to.isValid() ? to : ctx.periodFrom;
    ctx.filter = filter;
    ctx.processEvents = [] {};
    return ctx;
}

bool HeadlessViews::refresh()
{
    const int code = m_navigation.beginDispatch();
    const DispatchPlan plan =
        DispatchPlan::make(code, m_navigation.previousViewCode(), m_record, m_settings);
    m_objects.clear();
    ViewContext ctx = context();
    const FillResult result = fillView(m_fills, plan, ctx);
    m_navigation.endDispatch(code);
    return result != FillResult::Failed;
}

bool HeadlessViews::show(int code)
{
    m_navigation.selectSection(code / 10);
    // A new record's view is filled from its section's list, which is shown first; any other
    // view is filled alone.
    if (code % 10 != 0 && !NavigationState::isNewRecordView(code)) {
        m_navigation.selectItem(code % 10);
        return refresh();
    }
    if (!refresh())
        return false;
    if (code % 10 == 0)
        return true;
    m_navigation.selectItem(code % 10);
    return refresh();
}

FillResult HeadlessViews::chooseObject(const ObjectListEntry &entry)
{
    ViewContext ctx = context();
    return fillViewForObject(m_fills, ctx, entry);
}

} // namespace korvesta
