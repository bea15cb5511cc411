#include "fillregistry.h"

namespace korvesta {

// Each area of views adds the registration of its routines here, for example
// registerReferenceListFills(registry). Until then a view shows an empty grid.
void registerViewFills(FillRegistry &registry)
{
    static_cast<void>(registry);
}

} // namespace korvesta
