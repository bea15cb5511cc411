#include "uisettings.h"

#include "settings/settingsstore.h"

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Settings");

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
    return tab >= 0 && tab <= 3 ? tab : 3;
}

void UiSettings::setTabStripSelected(SettingsStore &settings, int tab)
{
    settings.writeInt(kSection, QStringLiteral("TabStripSelected"), tab);
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

} // namespace korvesta
