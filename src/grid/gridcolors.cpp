#include "grid/gridcolors.h"

#include <QGuiApplication>
#include <QPalette>

namespace korvesta {

namespace {

constexpr quint32 SystemColorBit = 0x80000000u;

struct SystemColor
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QRgb classic; // used when there is no application palette
};

// By the index of the system colour: scroll bar, desktop, active caption, inactive caption,
// menu, window, window frame, menu text, window text, caption text, active border, inactive
// border, application workspace, highlight, highlighted text, button face, button shadow,
// grey text, button text, inactive caption text, button highlight, dark 3D shadow, light 3D,
// tooltip text, tooltip background, (unused), hot-tracked item, two caption gradients, menu
// highlight and menu bar.
constexpr QPalette::ColorGroup Active = QPalette::Active;
constexpr QPalette::ColorGroup Disabled = QPalette::Disabled;
const std::array<SystemColor, 31> systemColors = {{
    {Active, QPalette::Button, 0xFFC8C8C8},
    {Active, QPalette::Dark, 0xFF000000},
    {Active, QPalette::Highlight, 0xFF99B4D1},
    {Active, QPalette::Mid, 0xFFBFCDDB},
    {Active, QPalette::Window, 0xFFF0F0F0},
    {Active, QPalette::Base, 0xFFFFFFFF},
    {Active, QPalette::Shadow, 0xFF646464},
    {Active, QPalette::WindowText, 0xFF000000},
    {Active, QPalette::Text, 0xFF000000},
    {Active, QPalette::HighlightedText, 0xFF000000},
    {Active, QPalette::Button, 0xFFB4B4B4},
    {Active, QPalette::Button, 0xFFF4F7FC},
    {Active, QPalette::Mid, 0xFFABABAB},
    {Active, QPalette::Highlight, 0xFF0078D7},
    {Active, QPalette::HighlightedText, 0xFFFFFFFF},
    {Active, QPalette::Button, 0xFFF0F0F0},
    {Active, QPalette::Dark, 0xFFA0A0A0},
    {Disabled, QPalette::Text, 0xFF6D6D6D},
    {Active, QPalette::ButtonText, 0xFF000000},
    {Disabled, QPalette::WindowText, 0xFF434E54},
    {Active, QPalette::Light, 0xFFFFFFFF},
    {Active, QPalette::Shadow, 0xFF696969},
    {Active, QPalette::Midlight, 0xFFE3E3E3},
    {Active, QPalette::ToolTipText, 0xFF000000},
    {Active, QPalette::ToolTipBase, 0xFFFFFFE1},
    {Active, QPalette::Button, 0xFFB5B5B5},
    {Active, QPalette::Link, 0xFF0066CC},
    {Active, QPalette::Highlight, 0xFFB9D1EA},
    {Active, QPalette::Mid, 0xFFD7E4F2},
    {Active, QPalette::Highlight, 0xFF3399FF},
    {Active, QPalette::Window, 0xFFF0F0F0},
}};

} // namespace

QColor colorFromBgr(quint32 value)
{
    if (value & SystemColorBit) {
        const quint32 index = value & 0xFFu;
        if (index >= systemColors.size())
            return QColor(Qt::black);
        const SystemColor &system = systemColors[index];
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return QGuiApplication::palette().color(system.group, system.role);
        return QColor::fromRgb(system.classic);
    }
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

quint32 bgrFromColor(const QColor &color)
{
    if (!color.isValid())
        return 0;
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
}

std::optional<std::array<int, 3>> colorComponents(qint64 value)
{
    if (value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    const qint64 blue = value / 65536;
    const qint64 green = (value - blue * 65536) / 256;
    const qint64 red = value - blue * 65536 - green * 256;
    return std::array<int, 3>{int(red), int(green), int(blue)};
}

} // namespace korvesta
