#include "serverfunctions.h"

#include <QFile>

namespace korvesta {

QByteArray serverFunctions()
{
    QFile file(QStringLiteral(":/schema/server-functions.sql"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace korvesta
