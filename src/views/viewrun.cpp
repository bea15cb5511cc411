#include "viewrun.h"

#include "fillregistry.h"
#include "grid/gridmodel.h"

namespace korvesta {

void fillView(const FillRegistry &fills, const DispatchPlan &plan, ViewContext &ctx)
{
    if (plan.clearGrid)
        ctx.grid.clear();
    ctx.gridMode = plan.gridMode.value_or(-1);
    const FillRegistry::Routines *routines = fills.find(plan.code);
    if (plan.runFill && routines && routines->fill)
        routines->fill(ctx);
}

bool fillViewForObject(const FillRegistry &fills, ViewContext &ctx, const ObjectListEntry &entry)
{
    const FillRegistry::Routines *routines = fills.find(ctx.viewCode);
    if (!routines || !routines->objectChosen)
        return false;
    routines->objectChosen(ctx, entry);
    return true;
}

} // namespace korvesta
