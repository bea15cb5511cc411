#pragma once

namespace korvesta {

class FillRegistry;
struct ViewContext;

// The reference list views and the object lists of the left pane.
//
// The list fills work on the grid their frame built (listframes.h): one row per record with
// its cells in the frame's columns and, when ShowTotals is on, a count subtotal under each
// run of equal values of the first column, relabelled for the user, and a last row with the
// totals of the whole list. They read the document's lists "Groups", "Disciplines" and
// "Auditories" and show nothing more when the document cannot be read.
void fillGroupList(ViewContext &ctx);
void fillDisciplineList(ViewContext &ctx);
void fillAuditoriumList(ViewContext &ctx);
// The load lines of a group with what is given and what is left of each, and a totals row;
// "не задано" when the group has none.
void fillGroupPassport(ViewContext &ctx, int keyGroup);

// The objects the left pane offers: groups ("gr" + Key, the group and its course), tutors
// ("tu" + Key) and auditoriums ("au" + Key).
void fillGroupObjects(ViewContext &ctx);
void fillTutorObjects(ViewContext &ctx);
void fillAuditoriumObjects(ViewContext &ctx);

// The fills of the group, discipline and auditorium sections, of the group passport, and
// the object lists of the views completed by a click in the left pane.
void registerReferenceListFills(FillRegistry &registry);

} // namespace korvesta
