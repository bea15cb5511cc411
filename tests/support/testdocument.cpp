#include "testdocument.h"

#include "data/documenttemplate.h"

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

} // namespace korvesta
