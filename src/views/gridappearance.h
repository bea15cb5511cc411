#pragma once

#include <QFont>
#include <QString>

#include <optional>

namespace korvesta {

class SettingsStore;

// The user's look of the main grid: its font and text colour (the grid font command) and
// the colour beyond its cells (the grid background command), as kept in the settings.
struct GridAppearance
{
    bool bold = false;
    bool italic = false;
    QString fontName;   // empty: the grid's own font
    double fontSize = 8;
    // Colours 0x00BBGGRR; none: the grid's own.
    std::optional<quint32> foreColor;
    std::optional<quint32> backColorBkg;

    static GridAppearance load(const SettingsStore &settings);
    // GridFontBold, GridFontItalic, GridFontName, GridFontSize, GridForeColor.
    void saveFont(SettingsStore &settings) const;
    // GridBackColorBkg.
    void saveBackground(SettingsStore &settings) const;

    // The grid's font with the user's choices applied to it.
    QFont applyTo(const QFont &designed) const;
    // Takes bold, italic, name and size from a chosen font.
    void takeFont(const QFont &font);
};

} // namespace korvesta
