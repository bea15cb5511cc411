#pragma once

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

} // namespace korvesta
