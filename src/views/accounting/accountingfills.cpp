#include "accountingcommon.h"
#include "accountingviews.h"

#include "settings/settingsrecord.h"
#include "views/fillregistry.h"
#include "views/frames/accountingframes.h"
#include "views/frames/busytimeframe.h"
#include "views/viewcontext.h"

namespace korvesta {

void registerAccountingFills(FillRegistry &registry)
{
    // The tutor's views: the headings again (a view shown before may have changed the
    // grid), then the tutor's figures.
    registry.setObjectFill(33, [](ViewContext &ctx, const ObjectListEntry &entry) {
        buildTimesheetFrame(ctx);
        if (const int key = accounting::objectKey(entry.key))
            fillTimesheet(ctx, key);
    });
    registry.setObjectFill(34, [](ViewContext &ctx, const ObjectListEntry &entry) {
        buildHoursWorkedFrame(ctx);
        if (const int key = accounting::objectKey(entry.key))
            fillHoursWorked(ctx, key);
    });
    registry.setFill(35, [](ViewContext &ctx) {
        buildFullHoursWorkedFrame(ctx);
        fillFullHoursWorked(ctx);
    });
    registry.setObjectFill(43, [](ViewContext &ctx, const ObjectListEntry &entry) {
        if (!ctx.record.FreeWindow)
            return;
        buildBusyTimeFrame(ctx);
        if (const int key = accounting::objectKey(entry.key))
            fillBusyTime(ctx, key);
    });
}

} // namespace korvesta
