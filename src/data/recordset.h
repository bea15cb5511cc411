#pragma once

#include "jettype.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace korvesta {

class Connection;
struct RecordsetData;

// The rows of a query, read in full when it is opened. Null reads as an invalid QVariant,
// distinct from an empty text. Dates read as QDate (QDateTime when they carry a time),
// Booleans as bool, whole numbers as qint64, texts as QString.
//
// Over base tables (also through a join, for fields that belong to one table) the
// recordset is updatable: addNew/edit, setValue, update; deleteCurrent.
class Recordset
{
public:
    Recordset(std::shared_ptr<Connection> connection, std::unique_ptr<RecordsetData> data);
    Recordset(Recordset &&) noexcept;
    Recordset &operator=(Recordset &&) noexcept;
    ~Recordset();

    bool isEof() const;
    bool isBof() const;
    bool isEmpty() const { return recordCount() == 0; }
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    int recordCount() const;
    // 0-based position of the current row among the rows not deleted; -1 at BOF/EOF.
    int absolutePosition() const;
    void setAbsolutePosition(int position);

    int fieldCount() const;
    QString fieldName(int index) const;
    QStringList fieldNames() const;
    // -1 when there is no such field (names compare without regard to letter case).
    int fieldIndex(const QString &name) const;
    JetType fieldType(int index) const;

    // Throws NoCurrentRecord at BOF/EOF and ItemNotFound for an unknown field.
    QVariant value(int index) const;
    QVariant value(const QString &name) const;
    QVariant operator[](const QString &name) const { return value(name); }

    void addNew();
    void edit();
    void setValue(const QString &name, const QVariant &value);
    void setValue(int index, const QVariant &value);
    void update();
    void cancelUpdate();
    void deleteCurrent();

private:
    int checkedIndex(const QString &name) const;
    std::shared_ptr<Connection> m_connection;
    std::unique_ptr<RecordsetData> m_data;
};

} // namespace korvesta
