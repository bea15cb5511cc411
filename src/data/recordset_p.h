#pragma once

// What a recordset holds: the rows read when it was opened and what is needed to write
// changes back. Shared by the connection, which fills it, and the recordset.

#include "jettype.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace korvesta {

struct RecordsetData
{
    QStringList names;
    std::vector<JetType> types;
    int columnCount = 0;
    int rowCount = 0;                 // rows read or added, deleted ones included
    std::vector<QVariant> cells;      // row-major, rowCount * columnCount
    std::vector<char> deleted;        // per row

    // Where each column comes from, for writing: index into `tables` (-1: not writable)
    // and the column's name in that table.
    struct Origin
    {
        int table = -1;
        QString column;
    };
    std::vector<Origin> origins;
    struct Table
    {
        QString name;
        QString keyColumn; // autonumber column, or empty
    };
    std::vector<Table> tables;
    std::vector<qint64> rowids; // rowCount * tables.size(); -1 where the row has none

    int current = -1; // row index; -1 before the first (BOF), rowCount after the last (EOF)
    bool bof = true;
    bool eof = true;

    enum class Mode { None, Edit, AddNew };
    Mode mode = Mode::None;
    std::vector<QVariant> buffer;
    std::vector<char> dirty;
    qint64 newKey = 0;
    int addTable = -1;
    int positionBeforeAdd = -1;

    const QVariant &cell(int row, int column) const
    {
        return cells[size_t(row) * size_t(columnCount) + size_t(column)];
    }
    QVariant &cell(int row, int column)
    {
        return cells[size_t(row) * size_t(columnCount) + size_t(column)];
    }
    qint64 &rowid(int row, int table)
    {
        return rowids[size_t(row) * tables.size() + size_t(table)];
    }
};

} // namespace korvesta
