#pragma once

#include <QColor>
#include <QtGlobal>

#include <array>
#include <optional>

namespace korvesta {

// Colours as the program's documents and settings keep them: 0x00BBGGRR, red in the low
// byte. A value with the high bit set names a system colour by its index in the low byte
// (0x8000000F is the face of a button, 0x80000018 the background of a tooltip); these follow
// the application's palette, or a classic light palette when there is no application.
QColor colorFromBgr(quint32 value);
// The 0x00BBGGRR value of a colour; an invalid colour gives 0 (black).
quint32 bgrFromColor(const QColor &color);

// Red, green and blue of a colour value of at most 0xFFFFFF; nothing for larger or negative
// values.
std::optional<std::array<int, 3>> colorComponents(qint64 value);

} // namespace korvesta
