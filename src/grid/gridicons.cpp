#include "grid/gridicons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

// The icon set lives in a static library; its resources must be registered by hand.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace korvesta {

QPixmap GridIcons::pixmap(const QString &key, int size, qreal devicePixelRatio)
{
    static bool registered = (initIconResources(), true);
    Q_UNUSED(registered);
    // Cache for the few icons at the few sizes a grid shows, since rendering SVG is slow.
    static QHash<QString, QPixmap> cache;

    if (key.isEmpty() || size <= 0)
        return {};
    const int pixels = static_cast<int>(std::lround(size * devicePixelRatio));
    const QString cacheKey = key + QLatin1Char('@') + QString::number(pixels);
    const auto found = cache.constFind(cacheKey);
    if (found != cache.constEnd())
        return *found;

    QPixmap result;
    const QString path = QStringLiteral(":/icons/") + key + QStringLiteral(".svg");
    QSvgRenderer renderer;
    if (QFile::exists(path) && renderer.load(path)) {
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        painter.end();
        result = QPixmap::fromImage(image);
        result.setDevicePixelRatio(devicePixelRatio);
    }
    cache.insert(cacheKey, result);
    return result;
}

} // namespace korvesta
