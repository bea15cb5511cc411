#include "freebusyfills.h"

#include "freebusylist.h"
#include "tutorpassport.h"
#include "views/accounting/accountingcommon.h"
#include "views/fillregistry.h"
#include "views/frames/listframes.h"

namespace korvesta {

void registerFreeBusyFills(FillRegistry &registry)
{
    for (const int code : {40, 41, 42})
        registry.setPaneRefill(code, freebusy::refillPane);
    registry.setObjectFill(32, [](ViewContext &ctx, const ObjectListEntry &entry) {
        buildTutorPassportFrame(ctx);
        if (const int key = accounting::objectKey(entry.key))
            fillTutorPassport(ctx, key);
    });
}

} // namespace korvesta
