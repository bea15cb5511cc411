#include "testdocument.h"

#include "data/documenttemplate.h"

#include <QFile>

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

} // namespace korvesta
