#pragma once

#include <QPixmap>
#include <QString>

namespace korvesta {

// The pictures cells show, by key ("GROUP", "TUTOR", ...), drawn from the compiled-in icon
// set at the size asked for. Rendered once per key and size; an unknown key gives a null
// pixmap.
class GridIcons
{
public:
    static QPixmap pixmap(const QString &key, int size, qreal devicePixelRatio);
};

} // namespace korvesta
