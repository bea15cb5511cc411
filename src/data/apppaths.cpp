#include "apppaths.h"

#include <QDir>
#include <QtGlobal>

#include <pwd.h>
#include <unistd.h>
#include <QStandardPaths>

namespace korvesta {

namespace {

// The root folder becomes empty, so that appending "/" and a name still gives a valid path.
QString withoutTrailingSlash(QString folder)
{
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace

QString AppPaths::newDocumentFile() const
{
    return applicationFolder + QStringLiteral("/tempfile.kvt");
}

QString AppPaths::scratchFile() const
{
    return tempFolder + QStringLiteral("/kvt1.tmp");
}

AppPaths AppPaths::standard()
{
    AppPaths paths;
    paths.applicationFolder = withoutTrailingSlash(
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    QDir().mkpath(paths.applicationFolder);
    paths.tempFolder = withoutTrailingSlash(QDir::tempPath());
    return paths;
}

QString loginName()
{
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    for (const char *name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

} // namespace korvesta
