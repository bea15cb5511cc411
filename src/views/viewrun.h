#pragma once

#include "dispatchplan.h"

namespace korvesta {

class FillRegistry;
struct ObjectListEntry;
struct ViewContext;

// Fills the grid for a view as the window does when the view is shown: the grid is emptied
// where the plan says so and the view's fill runs when the plan lets it. The window and the
// headless view command share this step so that both show the same grid.
void fillView(const FillRegistry &fills, const DispatchPlan &plan, ViewContext &ctx);

// Completes the view for an object chosen from its object list. False when the view has no
// routine for objects.
bool fillViewForObject(const FillRegistry &fills, ViewContext &ctx, const ObjectListEntry &entry);

} // namespace korvesta
