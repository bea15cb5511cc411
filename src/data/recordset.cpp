#include "recordset.h"

#include "connection.h"
#include "dberror.h"
#include "isodate.h"
#include "recordset_p.h"


namespace korvesta {

namespace {

[[noreturn]] void noCurrentRecord()
{
    throw DbError(dberr::NoCurrentRecord, QStringLiteral("Нет текущей записи"));
}

[[noreturn]] void notWritable(const QString &what)
{
    throw DbError(dberr::ReadOnly, QStringLiteral("Нельзя изменить %1").arg(what));
}

JetType columnType(Connection &c, const QString &table, const QString &column)
{
    if (const jet::TableInfo *t = c.table(table)) {
        for (const jet::ColumnInfo &col : t->columns) {
            if (col.name.compare(column, Qt::CaseInsensitive) == 0)
                return col.type;
        }
    }
    return JetType::Unknown;
}

// A value as it reads back from a field of the given type.
QVariant normalized(const QVariant &value, JetType type)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    switch (type) {
    case JetType::Date: {
        QDateTime m;
        if (value.metaType().id() == QMetaType::QDate)
            return value.toDate();
        if (value.metaType().id() == QMetaType::QDateTime)
            m = value.toDateTime();
        else
            m = parseMoment(value.toString().trimmed());
        if (!m.isValid())
            return value;
        return m.time() == QTime(0, 0) ? QVariant(m.date()) : QVariant(m);
    }
    case JetType::Boolean:
        return value.toBool();
    case JetType::Long:
    case JetType::Integer:
        return value.toLongLong();
    case JetType::Double:
        return value.toDouble();
    case JetType::Text:
        return value.toString();
    case JetType::Unknown:
        break;
    }
    return value;
}

// The table a new row goes to and a delete removes from: the one that owns most fields.
int mainTable(const RecordsetData &d)
{
    if (d.tables.size() == 1)
        return 0;
    std::vector<int> owned(d.tables.size(), 0);
    for (const auto &o : d.origins) {
        if (o.table >= 0)
            ++owned[size_t(o.table)];
    }
    int best = -1;
    for (size_t k = 0; k < owned.size(); ++k) {
        if (owned[k] > 0 && (best < 0 || owned[k] > owned[size_t(best)]))
            best = int(k);
    }
    return best;
}

} // namespace

Recordset::Recordset(std::shared_ptr<Connection> connection, std::unique_ptr<RecordsetData> data)
    : m_connection(std::move(connection))
    , m_data(std::move(data))
{}

Recordset::Recordset(Recordset &&) noexcept = default;
Recordset &Recordset::operator=(Recordset &&) noexcept = default;
Recordset::~Recordset() = default;

bool Recordset::isEof() const
{
    return m_data->eof;
}

bool Recordset::isBof() const
{
    return m_data->bof;
}

void Recordset::moveFirst()
{
    RecordsetData &d = *m_data;
    d.mode = RecordsetData::Mode::None;
    for (int r = 0; r < d.rowCount; ++r) {
        if (!d.deleted[size_t(r)]) {
            d.current = r;
            d.bof = d.eof = false;
            return;
        }
    }
    d.current = -1;
    d.bof = d.eof = true;
}

void Recordset::moveLast()
{
    RecordsetData &d = *m_data;
    d.mode = RecordsetData::Mode::None;
    for (int r = d.rowCount - 1; r >= 0; --r) {
        if (!d.deleted[size_t(r)]) {
            d.current = r;
            d.bof = d.eof = false;
            return;
        }
    }
    d.current = -1;
    d.bof = d.eof = true;
}

void Recordset::moveNext()
{
    RecordsetData &d = *m_data;
    if (d.eof)
        noCurrentRecord();
    d.mode = RecordsetData::Mode::None;
    for (int r = d.current + 1; r < d.rowCount; ++r) {
        if (!d.deleted[size_t(r)]) {
            d.current = r;
            d.bof = false;
            return;
        }
    }
    d.current = d.rowCount;
    d.eof = true;
}

void Recordset::movePrevious()
{
    RecordsetData &d = *m_data;
    if (d.bof)
        noCurrentRecord();
    d.mode = RecordsetData::Mode::None;
    for (int r = d.current - 1; r >= 0; --r) {
        if (!d.deleted[size_t(r)]) {
            d.current = r;
            d.eof = false;
            return;
        }
    }
    d.current = -1;
    d.bof = true;
}

int Recordset::recordCount() const
{
    int count = 0;
    for (char deleted : m_data->deleted)
        count += deleted ? 0 : 1;
    return count;
}

int Recordset::absolutePosition() const
{
    const RecordsetData &d = *m_data;
    if (d.bof || d.eof || d.current < 0 || d.current >= d.rowCount)
        return -1;
    int position = 0;
    for (int r = 0; r < d.current; ++r)
        position += d.deleted[size_t(r)] ? 0 : 1;
    return position;
}

void Recordset::setAbsolutePosition(int position)
{
    RecordsetData &d = *m_data;
    int seen = 0;
    for (int r = 0; r < d.rowCount; ++r) {
        if (d.deleted[size_t(r)])
            continue;
        if (seen++ == position) {
            d.current = r;
            d.bof = d.eof = false;
            d.mode = RecordsetData::Mode::None;
            return;
        }
    }
    noCurrentRecord();
}

int Recordset::fieldCount() const
{
    return m_data->columnCount;
}

QString Recordset::fieldName(int index) const
{
    return index >= 0 && index < m_data->columnCount ? m_data->names[index] : QString();
}

QStringList Recordset::fieldNames() const
{
    return m_data->names;
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_data->columnCount; ++i) {
        if (m_data->names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

JetType Recordset::fieldType(int index) const
{
    return index >= 0 && index < m_data->columnCount ? m_data->types[size_t(index)]
                                                     : JetType::Unknown;
}

int Recordset::checkedIndex(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(dberr::ItemNotFound, QStringLiteral("Нет поля «%1»").arg(name));
    return i;
}

QVariant Recordset::value(int index) const
{
    const RecordsetData &d = *m_data;
    if (index < 0 || index >= d.columnCount)
        throw DbError(dberr::ItemNotFound, QStringLiteral("Нет поля с номером %1").arg(index));
    if (d.mode != RecordsetData::Mode::None)
        return d.buffer[size_t(index)];
    if (d.bof || d.eof || d.current < 0 || d.current >= d.rowCount || d.deleted[size_t(d.current)])
        noCurrentRecord();
    return d.cell(d.current, index);
}

QVariant Recordset::value(const QString &name) const
{
    return value(checkedIndex(name));
}

void Recordset::addNew()
{
    RecordsetData &d = *m_data;
    const int table = mainTable(d);
    if (table < 0)
        notWritable(QStringLiteral("этот набор записей"));
    d.mode = RecordsetData::Mode::AddNew;
    d.addTable = table;
    d.buffer.assign(size_t(d.columnCount), QVariant());
    d.dirty.assign(size_t(d.columnCount), 0);
    d.positionBeforeAdd = d.current;

    // The new row's key is known at once, before the row is written.
    const RecordsetData::Table &t = d.tables[size_t(table)];
    d.newKey = 0;
    if (!t.keyColumn.isEmpty()) {
        d.newKey = m_connection->nextKey(t.name);
        for (int i = 0; i < d.columnCount; ++i) {
            const auto &o = d.origins[size_t(i)];
            if (o.table == table && o.column.compare(t.keyColumn, Qt::CaseInsensitive) == 0)
                d.buffer[size_t(i)] = d.newKey;
        }
    }
}

void Recordset::edit()
{
    RecordsetData &d = *m_data;
    if (d.bof || d.eof || d.current < 0 || d.current >= d.rowCount || d.deleted[size_t(d.current)])
        noCurrentRecord();
    d.mode = RecordsetData::Mode::Edit;
    d.buffer.assign(d.cells.begin() + qsizetype(d.current) * d.columnCount,
                    d.cells.begin() + qsizetype(d.current + 1) * d.columnCount);
    d.dirty.assign(size_t(d.columnCount), 0);
}

void Recordset::setValue(const QString &name, const QVariant &value)
{
    setValue(checkedIndex(name), value);
}

void Recordset::setValue(int index, const QVariant &value)
{
    RecordsetData &d = *m_data;
    if (index < 0 || index >= d.columnCount)
        throw DbError(dberr::ItemNotFound, QStringLiteral("Нет поля с номером %1").arg(index));
    if (d.mode == RecordsetData::Mode::None)
        throw DbError(dberr::UpdateWithoutEdit,
                      QStringLiteral("Изменение записи без AddNew или Edit"));
    const auto &o = d.origins[size_t(index)];
    const bool writable = d.mode == RecordsetData::Mode::AddNew
                              ? o.table == d.addTable
                              : o.table >= 0 && d.rowid(d.current, o.table) >= 0;
    if (!writable)
        notWritable(QStringLiteral("поле «%1»").arg(d.names[index]));
    d.buffer[size_t(index)] = value;
    d.dirty[size_t(index)] = 1;
}

void Recordset::update()
{
    RecordsetData &d = *m_data;
    if (d.mode == RecordsetData::Mode::None)
        throw DbError(dberr::UpdateWithoutEdit,
                      QStringLiteral("Изменение записи без AddNew или Edit"));
    Connection &c = *m_connection;

    if (d.mode == RecordsetData::Mode::Edit) {
        for (size_t table = 0; table < d.tables.size(); ++table) {
            const QString tableName = d.tables[table].name;
            std::vector<Connection::FieldValue> values;
            for (int i = 0; i < d.columnCount; ++i) {
                if (d.dirty[size_t(i)] && d.origins[size_t(i)].table == int(table))
                    values.push_back({d.origins[size_t(i)].column, d.buffer[size_t(i)],
                                      columnType(c, tableName, d.origins[size_t(i)].column),
                                      QStringLiteral("поля «%1»").arg(d.names[i])});
            }
            if (!values.empty())
                c.updateRow(tableName, d.rowid(d.current, int(table)), values);
        }
        for (int i = 0; i < d.columnCount; ++i) {
            if (d.dirty[size_t(i)])
                d.cell(d.current, i) = normalized(d.buffer[size_t(i)], d.types[size_t(i)]);
        }
        d.mode = RecordsetData::Mode::None;
        return;
    }

    // AddNew
    const RecordsetData::Table &t = d.tables[size_t(d.addTable)];
    std::vector<Connection::FieldValue> values;
    for (int i = 0; i < d.columnCount; ++i) {
        const auto &o = d.origins[size_t(i)];
        if (!d.dirty[size_t(i)] || o.table != d.addTable)
            continue;
        if (!t.keyColumn.isEmpty() && o.column.compare(t.keyColumn, Qt::CaseInsensitive) == 0)
            continue; // the key is the database's
        values.push_back({o.column, d.buffer[size_t(i)], columnType(c, t.name, o.column),
                          QStringLiteral("поля «%1»").arg(d.names[i])});
    }
    const qint64 rowid = c.insertRow(t.name, t.keyColumn, d.newKey, values);

    // The new row joins the recordset as the database has it (defaults included).
    const int row = d.rowCount++;
    d.cells.resize(size_t(d.rowCount) * size_t(d.columnCount));
    d.deleted.push_back(0);
    d.rowids.resize(size_t(d.rowCount) * d.tables.size(), -1);
    d.rowid(row, d.addTable) = rowid;
    QStringList select;
    std::vector<int> mine;
    for (int i = 0; i < d.columnCount; ++i) {
        if (d.origins[size_t(i)].table == d.addTable) {
            select << d.origins[size_t(i)].column;
            mine.push_back(i);
        }
    }
    if (!mine.empty()) {
        const std::vector<QVariant> stored = c.readRow(t.name, rowid, select);
        for (size_t k = 0; k < mine.size(); ++k)
            d.cell(row, mine[k]) = normalized(stored[k], d.types[size_t(mine[k])]);
    }
    d.mode = RecordsetData::Mode::None;
    d.current = d.positionBeforeAdd;
}

void Recordset::cancelUpdate()
{
    m_data->mode = RecordsetData::Mode::None;
}

void Recordset::deleteCurrent()
{
    RecordsetData &d = *m_data;
    if (d.bof || d.eof || d.current < 0 || d.current >= d.rowCount || d.deleted[size_t(d.current)])
        noCurrentRecord();
    const int table = mainTable(d);
    if (table < 0 || d.rowid(d.current, table) < 0)
        notWritable(QStringLiteral("эту запись"));
    m_connection->deleteRow(d.tables[size_t(table)].name, d.rowid(d.current, table));
    d.deleted[size_t(d.current)] = 1;
    d.mode = RecordsetData::Mode::None;
}

} // namespace korvesta
