#include "serverfunctions.h"

#include <QFile>

namespace korvesta {

QByteArray serverFunctions()
{
    // The conversions and Format build on the functions of the first file.
    QByteArray all;
    for (const char *name : {":/schema/server-functions.sql",
                             ":/schema/server-dialect-functions.sql"}) {
        QFile file(QString::fromLatin1(name));
        if (file.open(QIODevice::ReadOnly))
            all += file.readAll() + '\n';
    }
    return all;
}

} // namespace korvesta
