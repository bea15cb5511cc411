#include "grid/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace korvesta {

double screenLogicalDpi()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const double dpi = screen->logicalDotsPerInchX();
            if (dpi > 0)
                return dpi;
        }
    }
    return 96.0;
}

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / TwipsPerInch));
}

int pixelsToTwips(int pixels, double dpi)
{
    if (dpi <= 0)
        return 0;
    return static_cast<int>(std::lround(pixels * TwipsPerInch / dpi));
}

} // namespace korvesta
