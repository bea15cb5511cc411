#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

// Lets test failures print texts readably.
void PrintTo(const QString &value, std::ostream *os);

namespace korvesta {

// A temporary folder for one test, removed with everything in it afterwards.
class TestFolder
{
public:
    TestFolder() = default;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // The full path of a file in the folder (which need not exist).
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// Writes a new, empty document into the folder and returns its path. Throws DbError.
QString newTestDocument(const TestFolder &folder, const QString &name = QStringLiteral("test.kvt"));

// Writes the bytes as the whole file; the test fails when the file cannot be written.
void writeTestFile(const QString &path, const QByteArray &bytes);
// The whole file; empty when it cannot be read.
QByteArray readTestFile(const QString &path);
// Runs the statements on the file through SQLite alone, as another program would; the test
// fails when they cannot run.
void sqliteExec(const QString &path, const QByteArray &sql);

} // namespace korvesta
