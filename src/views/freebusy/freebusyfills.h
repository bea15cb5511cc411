#pragma once

namespace korvesta {

class FillRegistry;

// The refill of the object pane beside the timetables (codes 40 to 42) with the free and
// busy objects of the current cell, and the tutor passport (code 32) for a tutor clicked.
void registerFreeBusyFills(FillRegistry &registry);

} // namespace korvesta
