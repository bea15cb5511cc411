#pragma once

#include <QSet>
#include <QString>

#include <functional>
#include <initializer_list>

namespace korvesta {

// The names a reference list holds, read once for many additions in a row (an import of a
// list): each new record is looked up in a set rather than checked against the whole list
// read again. Names are told apart ignoring blanks at the ends and letter case, as the
// duplicate rules of the lists do.
class ListedNames
{
public:
    // The key of a record from the parts its duplicate rule compares.
    static QString key(std::initializer_list<QString> parts);

    // Reads the list through `read`, which calls add() for each record, the first time.
    void loadOnce(const std::function<void(ListedNames &)> &read);
    bool contains(const QString &key) const { return m_keys.contains(key); }
    void add(const QString &key) { m_keys.insert(key); }

private:
    bool m_loaded = false;
    QSet<QString> m_keys;
};

// One set per list, for an import that adds to several.
struct ListLookups
{
    ListedNames groups, auditoriums, disciplines, tutors;
};

} // namespace korvesta
