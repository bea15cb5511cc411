#pragma once

#include <QColor>
#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

namespace korvesta {

class DocumentQueries;
class GridModel;
class Recordset;
struct ViewContext;

// What the accounting fills share: their colours, the checks of the period, the texts of
// months and dates, and the names of groups and disciplines that two records may share.
namespace accounting {

// A value cell of a date or group column.
inline const QColor kValueBack{0xE0, 0xE0, 0xE0};
// A load given in full: its remainder in blue on a light green row; an overdrawn one in red.
inline const QColor kFullBack{0xC0, 0xFF, 0xC0};
inline const QColor kFullFore{0x00, 0x00, 0xFF};
inline const QColor kOverdrawnFore{0xFF, 0x00, 0x00};

// "Начало периода позже его конца" and the like when the period cannot be shown; empty when
// it can.
QString periodProblem(const QDate &first, const QDate &last);
// Tells the user why the period cannot be shown; false then.
bool checkPeriod(ViewContext &ctx);

// The record key of an object list entry ("tu12" -> 12); 0 when it names none.
int objectKey(const QString &listKey);

// "Сентябрь", and with the year "Сентябрь '24".
QString monthName(const QDate &date, bool withYear);
// "02 Сен".
QString dayAndMonth(const QDate &date);
// The date a date column of a crosstab is named by; a null date for any other name.
QDate dateOfField(const QString &name);

// A number a query gave, as the grid shows it; empty for Null.
QString numberText(const QVariant &value);

// Widens a column to about the width of its longest text in the rows given (plus a picture),
// up to `most` twips; a column never narrows below what its frame gave it.
void widenToText(GridModel &grid, int col, int firstRow, int lastRow, bool picture,
                 int most = 3600);

// The hourglass over the grid for the whole fill, restored however the fill ends.
class WaitPointer
{
public:
    explicit WaitPointer(GridModel &grid);
    ~WaitPointer();
    WaitPointer(const WaitPointer &) = delete;
    WaitPointer &operator=(const WaitPointer &) = delete;

private:
    GridModel &m_grid;
};

// A group of the document as the accounting views name it.
struct GroupInfo
{
    QString group;
    QString course;
    QString faculty;
    int order = 0; // its place in the list "Groups" (by course, then name)
};

// The groups of the document by Key, from the list "Groups". A group of no faculty has an
// empty one.
QHash<int, GroupInfo> readGroups(DocumentQueries &queries);
// The full names of the disciplines by Key, from the list "Disciplines".
QHash<int, QString> readDisciplineNames(DocumentQueries &queries);

// Names that stay apart: records of different keys that would show the same name get it made
// longer by a detail of their key (a faculty, a full name) and, if that is not enough, by
// their key. Records are added with the name that tells them apart; suffixes() then gives
// what to append to each record's shown text.
class DistinctNames
{
public:
    void add(int key, const QString &name) { m_records.emplace_back(key, name); }
    // Per record added, in that order: empty, " " + detail, or " №" + key where the detail
    // does not set it apart. `detail` gives what sets a record apart from others of its name
    // ("ФИТ"); empty when nothing.
    template<typename Detail>
    std::vector<QString> suffixes(Detail detail) const;

private:
    std::vector<std::pair<int, QString>> m_records;
};

template<typename Detail>
std::vector<QString> DistinctNames::suffixes(Detail detail) const
{
    QHash<QString, QList<int>> keysOf;
    for (const auto &[key, name] : m_records) {
        QList<int> &keys = keysOf[name];
        if (!keys.contains(key))
            keys.append(key);
    }
    // Shared names get the detail; where the detail does not set them apart either, the key.
    QHash<int, QString> suffixOf;
    for (auto it = keysOf.cbegin(); it != keysOf.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        QHash<QString, int> sameDetail;
        for (const int key : it.value())
            ++sameDetail[detail(key)];
        for (const int key : it.value()) {
            const QString more = detail(key);
            suffixOf.insert(key, more.isEmpty() || sameDetail.value(more) > 1
                                     ? QStringLiteral(" №") + QString::number(key)
                                     : QLatin1Char(' ') + more);
        }
    }
    std::vector<QString> out;
    out.reserve(m_records.size());
    for (const auto &record : m_records)
        out.push_back(suffixOf.value(record.first));
    return out;
}

} // namespace accounting

} // namespace korvesta
