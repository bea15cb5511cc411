#pragma once

#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"
#include "views/fillregistry.h"
#include "views/viewcontext.h"

namespace korvesta {

// The views' fills run without a window over a new document: the grid and object list they
// fill, and the settings they read.
class ViewTest : public DocumentTest
{
protected:
    GridModel grid;
    ObjectList objects;
    SettingsRecord record;
    ViewContext ctx{grid, objects, session, store, record, prompts};
    FillRegistry registry;
};

} // namespace korvesta
