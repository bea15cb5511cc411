#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace korvesta {

void installRussianTranslations(QCoreApplication &app)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);

    // Without Qt's catalogue the texts stay English; the program still works.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    translator->setParent(&app); // Owned by the application from here on.
    app.installTranslator(translator.release());
}

} // namespace korvesta
