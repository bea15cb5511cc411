#include "fillregistry.h"
#include "lists/listfills.h"

namespace korvesta {

// Each area of views adds the registration of its routines here.
void registerViewFills(FillRegistry &registry)
{
    registerReferenceListFills(registry);
}

} // namespace korvesta
