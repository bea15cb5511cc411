#pragma once

#include <QString>
#include <QVariant>

namespace korvesta {

class Recordset;

// What a list cell shows for a field's value: nothing for Null, a date as dd.mm.yyyy, numbers
// and texts as they are.
QString cellText(const QVariant &value);

// The position of a field a view reads. A document whose query lacks it is of another layout:
// throws ItemNotFound naming the field, as the recordset does for a field read by name.
int requiredField(const Recordset &rs, const QString &name);

} // namespace korvesta
