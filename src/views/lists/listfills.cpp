#include "listfills.h"

#include "settings/settingsrecord.h"
#include "views/fillregistry.h"
#include "views/frames/accountingframes.h"
#include "views/frames/busytimeframe.h"
#include "views/frames/entryarea.h"
#include "views/frames/listframes.h"

namespace korvesta {

namespace {

// A view that lists objects and shows its headings until one is clicked.
FillRegistry::Fill objectsThen(void (*objects)(ViewContext &), void (*frame)(ViewContext &))
{
    return [objects, frame](ViewContext &ctx) {
        objects(ctx);
        if (frame)
            frame(ctx);
    };
}

} // namespace

void registerReferenceListFills(FillRegistry &registry)
{
    registry.setFill(0, [](ViewContext &ctx) {
        buildGroupListFrame(ctx);
        fillGroupList(ctx);
    });
    registry.setFill(1, [](ViewContext &ctx) { openNewGroupArea(ctx); });
    registry.setFill(2, objectsThen(fillGroupObjects, buildGroupPassportFrame));
    registry.setObjectFill(2, [](ViewContext &ctx, const ObjectListEntry &entry) {
        buildGroupPassportFrame(ctx);
        fillGroupPassport(ctx, entry.recordKey().toInt());
    });

    registry.setFill(10, [](ViewContext &ctx) {
        buildDisciplineListFrame(ctx);
        fillDisciplineList(ctx);
    });
    registry.setFill(11, [](ViewContext &ctx) { openNewDisciplineArea(ctx); });

    registry.setFill(20, [](ViewContext &ctx) {
        buildAuditoriumListFrame(ctx);
        fillAuditoriumList(ctx);
    });
    registry.setFill(21, [](ViewContext &ctx) { openNewAuditoriumArea(ctx); });
    registry.setFill(31, [](ViewContext &ctx) { openNewTutorArea(ctx); });

    // The tutor views completed by a click on a tutor show their headings meanwhile.
    registry.setFill(32, objectsThen(fillTutorObjects, buildTutorPassportFrame));
    registry.setFill(33, objectsThen(fillTutorObjects, buildTimesheetFrame));
    registry.setFill(34, objectsThen(fillTutorObjects, buildHoursWorkedFrame));
    registry.setFill(43, [](ViewContext &ctx) {
        if (!ctx.record.FreeWindow)
            return;
        fillTutorObjects(ctx);
        buildBusyTimeFrame(ctx);
    });

    // The individual timetables are rendered on the click; until then only the list.
    registry.setFill(50, objectsThen(fillTutorObjects, nullptr));
    registry.setFill(51, objectsThen(fillGroupObjects, nullptr));
    registry.setFill(52, objectsThen(fillAuditoriumObjects, nullptr));
    registry.setFill(53, objectsThen(fillTutorObjects, nullptr));
}

} // namespace korvesta
