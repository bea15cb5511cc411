#include "apppaths.h"

#include <QDir>
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

} // namespace korvesta
