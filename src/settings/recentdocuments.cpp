#include "recentdocuments.h"

#include "settingsstore.h"

#include <QFileInfo>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Recent");

QString keyOf(int i)
{
    return QStringLiteral("File%1").arg(i + 1);
}

// A document on a server is named by its address (postgresql://...), kept as written.
bool isAddress(const QString &path)
{
    return path.contains(QLatin1String("://"));
}

// The same document written another way (a relative path, a link) is the same entry.
QString identity(const QString &path)
{
    if (isAddress(path))
        return path;
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

void store(SettingsStore &settings, const QStringList &paths)
{
    for (int i = 0; i < RecentDocuments::kLimit; ++i) {
        if (i < paths.size())
            settings.write(kSection, keyOf(i), paths[i]);
        else
            settings.remove(kSection, keyOf(i));
    }
}

QStringList without(QStringList paths, const QString &path)
{
    const QString id = identity(path);
    paths.removeIf([&id](const QString &p) { return identity(p) == id; });
    return paths;
}

} // namespace

QStringList RecentDocuments::list(const SettingsStore &settings)
{
    QStringList paths;
    for (int i = 0; i < kLimit; ++i) {
        const QString path = settings.readText(kSection, keyOf(i), QString()).trimmed();
        if (!path.isEmpty() && without(paths, path).size() == paths.size())
            paths << path;
    }
    return paths;
}

void RecentDocuments::remember(SettingsStore &settings, const QString &path)
{
    if (path.trimmed().isEmpty())
        return;
    QStringList paths = without(list(settings), path);
    paths.prepend(isAddress(path) ? path : QFileInfo(path).absoluteFilePath());
    store(settings, paths.mid(0, kLimit));
}

void RecentDocuments::forget(SettingsStore &settings, const QString &path)
{
    store(settings, without(list(settings), path));
}

} // namespace korvesta
