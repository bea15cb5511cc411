#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

// A name turned into a file name (without extension) that every common file system and web
// server takes: letters of any script kept, characters that file systems refuse or that
// break a link (/ \ : * ? " < > | # % and control characters) and blanks replaced by '_',
// no dot or '_' at either end, no device name of Windows, at most 100 characters. Never
// empty.
QString safeFileName(const QString &name);

// One file name per object, no two equal even where letter case is not told apart. Each
// object gives its names in the order of preference (the plain name, then a more precise
// one). Of the objects that share a first name the first keeps it and the others take their
// next name that no other object wants or holds, failing that their last name with "_2",
// "_3"... The objects come in a stable order (by key), so that each keeps its file from one
// publication to the next, also when a namesake is added later.
std::vector<QString> uniqueFileNames(const std::vector<QStringList> &preferences);

} // namespace korvesta
