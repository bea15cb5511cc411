#pragma once

#include <QString>
#include <QVariant>

namespace korvesta {

// What a list cell shows for a field's value: nothing for Null, a date as dd.mm.yyyy, numbers
// and texts as they are.
QString cellText(const QVariant &value);

} // namespace korvesta
