#include "accounting/accountingviews.h"
#include "fillregistry.h"
#include "freebusy/freebusyfills.h"
#include "lists/listfills.h"
#include "load/loadview.h"
#include "timetable/timetablefills.h"

namespace korvesta {

// Each area of views adds the registration of its routines here; a view with none shows an
// empty grid.
void registerViewFills(FillRegistry &registry)
{
    registerReferenceListFills(registry);
    registerTimetableFills(registry);
    registerLoadFills(registry);
    registerAccountingFills(registry);
    registerFreeBusyFills(registry);
}

} // namespace korvesta
