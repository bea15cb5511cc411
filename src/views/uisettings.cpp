#include "uisettings.h"

#include "settings/settingsstore.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kLastViewSection = QStringLiteral("LastView");

// A key per document: the settings store takes keys as names (no slashes), so the path is
// hashed. The same file reached by another spelling of its path gets the same key.
QString documentKey(const QString &path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    const QString name = canonical.isEmpty() ? file.absoluteFilePath() : canonical;
    return QString::fromLatin1(
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

bool UiSettings::leftPane(const SettingsStore &settings)
{
    return settings.readBool(kSection, QStringLiteral("LeftPane"), true);
}

void UiSettings::setLeftPane(SettingsStore &settings, bool shown)
{
    settings.writeBool(kSection, QStringLiteral("LeftPane"), shown);
}

bool UiSettings::middlePaneOnTimeTable(const SettingsStore &settings)
{
    return settings.readBool(kSection, QStringLiteral("ShowMiddlePaneOnTimeTable"), false);
}

void UiSettings::setMiddlePaneOnTimeTable(SettingsStore &settings, bool shown)
{
    settings.writeBool(kSection, QStringLiteral("ShowMiddlePaneOnTimeTable"), shown);
}

int UiSettings::tabStripSelected(const SettingsStore &settings)
{
    const int tab = settings.readInt(kSection, QStringLiteral("TabStripSelected"), 3);
    return (tab >= 1 && tab <= 4 ? tab : 3) - 1;
}

void UiSettings::setTabStripSelected(SettingsStore &settings, int tab)
{
    settings.writeInt(kSection, QStringLiteral("TabStripSelected"), tab + 1);
}

void UiSettings::setShowColorItem(SettingsStore &settings, bool on)
{
    settings.writeInt(kSection, QStringLiteral("ShowColorItem"), on ? 1 : 0);
}

bool UiSettings::showBusyTime(const SettingsStore &settings, int kind)
{
    return settings.readInt(kSection, QStringLiteral("ShowBusyTime") + QString::number(kind), 1)
           != 0;
}

bool UiSettings::busyTimeIcons(const SettingsStore &settings)
{
    // Icons for 1 only: any other value asks for letters.
    return settings.readInt(kSection, QStringLiteral("ShowBusyTimeIconNoLetter"), 1) == 1;
}

void UiSettings::setShowBusyTime(SettingsStore &settings, int kind, bool shown)
{
    settings.writeInt(kSection, QStringLiteral("ShowBusyTime") + QString::number(kind),
                      shown ? 1 : 0);
}

void UiSettings::setBusyTimeIcons(SettingsStore &settings, bool icons)
{
    settings.writeInt(kSection, QStringLiteral("ShowBusyTimeIconNoLetter"), icons ? 1 : 0);
}

bool UiSettings::busyTimeEveryWeek(const SettingsStore &settings)
{
    return settings.readInt(kSection, QStringLiteral("ShowBusyTimeLocalDate"), 1) != 2;
}

void UiSettings::setBusyTimeEveryWeek(SettingsStore &settings, bool everyWeek)
{
    settings.writeInt(kSection, QStringLiteral("ShowBusyTimeLocalDate"), everyWeek ? 1 : 2);
}

// Kept as "code;yyyy-MM-dd;object": the object's key comes last, as the one part that could
// hold anything.
std::optional<UiSettings::LastView> UiSettings::lastView(const SettingsStore &settings,
                                                         const QString &documentPath)
{
    if (documentPath.isEmpty())
        return std::nullopt;
    const QString text = settings.readText(kLastViewSection, documentKey(documentPath), QString());
    const QStringList parts = text.split(QLatin1Char(';'));
    if (parts.size() < 3)
        return std::nullopt;
    LastView view;
    bool ok = false;
    view.code = parts[0].toInt(&ok);
    if (!ok || view.code < 0)
        return std::nullopt;
    view.date = QDate::fromString(parts[1], Qt::ISODate);
    view.object = parts.mid(2).join(QLatin1Char(';'));
    return view;
}

void UiSettings::setLastView(SettingsStore &settings, const QString &documentPath,
                             const LastView &view)
{
    if (documentPath.isEmpty())
        return;
    settings.write(kLastViewSection, documentKey(documentPath),
                   QString::number(view.code) + QLatin1Char(';')
                       + view.date.toString(Qt::ISODate) + QLatin1Char(';') + view.object);
}

} // namespace korvesta
