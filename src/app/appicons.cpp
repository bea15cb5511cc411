#include "appicons.h"

#include <QFile>
#include <QHash>

// The icon sets are compiled into static libraries; their registration is called by name so
// that the linker keeps it.
static void initIconResources()
{
    Q_INIT_RESOURCE(appicons);
    Q_INIT_RESOURCE(icons);
}

namespace korvesta {

QIcon appIcon(const QString &key)
{
    static const bool registered = (initIconResources(), true);
    static_cast<void>(registered);
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QIcon icon;
    for (const char *folder : {":/appicons/", ":/icons/"}) {
        const QString path = QString::fromLatin1(folder) + key + QStringLiteral(".svg");
        if (QFile::exists(path)) {
            icon = QIcon(path);
            break;
        }
    }
    cache.insert(key, icon);
    return icon;
}

} // namespace korvesta
