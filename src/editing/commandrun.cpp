#include "commandrun.h"

#include <QFileInfo>

namespace korvesta {

bool documentFileGiven(const QString &path, QTextStream &errors)
{
    const QFileInfo file(path);
    if (file.isFile())
        return true;
    errors << (file.isDir() ? QStringLiteral("«%1» - это папка, а не файл документа расписания")
                            : QStringLiteral("Файл «%1» не найден"))
                  .arg(path)
           << Qt::endl;
    return false;
}

} // namespace korvesta
