#pragma once

namespace korvesta {

class DocumentQueries;
class GridModel;
class Prompts;
struct SettingsRecord;

// The drop-down list a cell offers before it is edited, set as the grid's combo list (empty
// for a plain text cell): the type lists of a new group or discipline when the settings use
// them, the difficulty of a discipline, and the auditoriums, disciplines and groups of the
// teaching load. A type list that is empty in the document is told to the user with the way
// to fill it, and false is returned: the edit is cancelled.
bool prepareDropDown(GridModel &grid, int viewCode, int col, DocumentQueries &queries,
                     const SettingsRecord &settings, Prompts &prompts);

} // namespace korvesta
