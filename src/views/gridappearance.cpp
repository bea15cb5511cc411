#include "gridappearance.h"

#include "settings/settingsstore.h"

#include <limits>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Settings");

// A colour as decimal text; negative values are the same 32 bits written signed.
std::optional<quint32> readColour(const SettingsStore &settings, const QString &key)
{
    bool ok = false;
    const qint64 value = settings.readText(kSection, key, QString()).trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min()
        || value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return quint32(value);
}

// A size written with a decimal point or, by older versions, a decimal comma.
std::optional<double> readSize(const SettingsStore &settings, const QString &key)
{
    QString text = settings.readText(kSection, key, QString()).trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < 1 || value > 500)
        return std::nullopt;
    return value;
}

} // namespace

GridAppearance GridAppearance::load(const SettingsStore &settings)
{
    GridAppearance look;
    look.bold = settings.readBool(kSection, QStringLiteral("GridFontBold"), look.bold);
    look.italic = settings.readBool(kSection, QStringLiteral("GridFontItalic"), look.italic);
    look.fontName = settings.readText(kSection, QStringLiteral("GridFontName"), QString());
    look.fontSize = readSize(settings, QStringLiteral("GridFontSize")).value_or(look.fontSize);
    look.foreColor = readColour(settings, QStringLiteral("GridForeColor"));
    look.backColorBkg = readColour(settings, QStringLiteral("GridBackColorBkg"));
    return look;
}

void GridAppearance::saveFont(SettingsStore &settings) const
{
    settings.writeBool(kSection, QStringLiteral("GridFontBold"), bold);
    settings.writeBool(kSection, QStringLiteral("GridFontItalic"), italic);
    settings.write(kSection, QStringLiteral("GridFontName"), fontName);
    settings.write(kSection, QStringLiteral("GridFontSize"), QString::number(fontSize));
    settings.write(kSection, QStringLiteral("GridForeColor"),
                   QString::number(foreColor.value_or(0)));
}

void GridAppearance::saveBackground(SettingsStore &settings) const
{
    if (backColorBkg)
        settings.write(kSection, QStringLiteral("GridBackColorBkg"),
                       QString::number(*backColorBkg));
}

QFont GridAppearance::applyTo(const QFont &designed) const
{
    QFont font = designed;
    font.setBold(bold);
    font.setItalic(italic);
    if (!fontName.trimmed().isEmpty())
        font.setFamily(fontName);
    font.setPointSizeF(fontSize);
    return font;
}

void GridAppearance::takeFont(const QFont &font)
{
    bold = font.bold();
    italic = font.italic();
    fontName = font.family();
    fontSize = font.pointSizeF() > 0 ? font.pointSizeF() : fontSize;
}

} // namespace korvesta
