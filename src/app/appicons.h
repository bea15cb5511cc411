#pragma once

#include <QIcon>
#include <QString>

namespace korvesta {

// The icons of the menus, toolbars and the navigation bar, by key ("GROUP", "PRINT", ...):
// the window's own set first, then the grid's. An unknown key gives a null icon.
QIcon appIcon(const QString &key);

} // namespace korvesta
