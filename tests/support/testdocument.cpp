#include "testdocument.h"

#include "data/documenttemplate.h"

#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

void PrintTo(const QString &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}

namespace korvesta {

QString newTestDocument(const TestFolder &folder, const QString &name)
{
    const QString path = folder.file(name);
    writeNewDocument(path);
    return path;
}

void writeTestFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void sqliteExec(const QString &path, const QByteArray &sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
    } else {
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db) << " in " << sql.constData();
    }
    sqlite3_close(db);
}

} // namespace korvesta
