#include "commandrun.h"

#include "exitcode.h"

#include "data/pgconnection.h"

#include <QFileInfo>

namespace korvesta {

bool documentFileGiven(const QString &path, QTextStream &errors)
{
    if (PgConnection::isServerUri(path))
        return true; // the server says whether the document is there
    const QFileInfo file(path);
    if (file.isFile())
        return true;
    errors << (file.isDir() ? QStringLiteral("«%1» - это папка, а не файл документа расписания")
                            : QStringLiteral("Файл «%1» не найден"))
                  .arg(path)
           << Qt::endl;
    return false;
}

std::optional<NamedObject> objectOfOption(const Database &db, NamedKind kind,
                                          const QString &option, const QString &text,
                                          QTextStream &errors, int &exitCode)
{
    ObjectLookup found = findObject(db, kind, text);
    if (!found.object) {
        errors << option << QStringLiteral(": ") << found.error << Qt::endl;
        exitCode = found.ambiguous ? ExitUsage : ExitRefused;
    }
    return found.object;
}

} // namespace korvesta
