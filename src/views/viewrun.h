#pragma once

#include "dispatchplan.h"

#include <functional>

namespace korvesta {

class FillRegistry;
struct ObjectListEntry;
struct ViewContext;

// What became of a view's fill.
enum class FillResult {
    Filled,    // the routine ran to its end (or the plan runs none)
    Failed,    // the routine stopped on a failure the user has been told of
    NoRoutine, // the view has no routine for this
};

// Runs one step of showing a view (a fill, the fill for an object, a refill of the object
// pane) as a user action: no failure leaves it. A document error is told through the
// session's shared handler; a document whose saved query lacks a field, a parameter or a
// table the view reads, or whose query cannot be read, is a document of another layout.
// Any other failure is told in Russian. The grid keeps what was filled before the failure.
// False when the step failed.
bool runViewStep(ViewContext &ctx, const std::function<void()> &step);

// Fills the grid for a view as the window does when the view is shown: the grid is emptied
// where the plan says so and the view's fill runs when the plan lets it. The window and the
// headless view command share this step so that both show the same grid.
FillResult fillView(const FillRegistry &fills, const DispatchPlan &plan, ViewContext &ctx);

// Completes the view for an object chosen from its object list.
FillResult fillViewForObject(const FillRegistry &fills, ViewContext &ctx,
                             const ObjectListEntry &entry);

// Refills the object pane beside a timetable for the current cell and tab.
FillResult refillPane(const FillRegistry &fills, ViewContext &ctx);

} // namespace korvesta
