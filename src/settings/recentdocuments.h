#pragma once

#include <QString>
#include <QStringList>

namespace korvesta {

class SettingsStore;

// The documents opened last, newest first, at most ten (section "Recent", keys "File1" to
// "File10"), for the Файл menu. A path is kept once, however it was written.
class RecentDocuments
{
public:
    static constexpr int kLimit = 10;

    static QStringList list(const SettingsStore &settings);
    // Puts the document first.
    static void remember(SettingsStore &settings, const QString &path);
    static void forget(SettingsStore &settings, const QString &path);
};

} // namespace korvesta
