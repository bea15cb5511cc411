#include "app/cli.h"
#include "app/startup.h"
#include "app/translations.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

namespace {

bool isSubcommand(const QString &word)
{
    static const QStringList subcommands = {
        QStringLiteral("new"),  QStringLiteral("sql"),  QStringLiteral("demo"),
        QStringLiteral("view"), QStringLiteral("help"), QStringLiteral("--help"),
        QStringLiteral("load"),
        QStringLiteral("place"),
        QStringLiteral("auditorium"),
        QStringLiteral("lock"),
        QStringLiteral("note"),
        QStringLiteral("check"),
        QStringLiteral("publish"),
        QStringLiteral("options"),
        QStringLiteral("busy"),
        QStringLiteral("clear"),
        QStringLiteral("copy"),
        QStringLiteral("report"),
        QStringLiteral("export"),
        QStringLiteral("free"),
    };
    return subcommands.contains(word);
}

void nameApplication()
{
    // Names the per-user folders (the application folder, the settings store).
    QCoreApplication::setApplicationName(QStringLiteral("Korvesta"));
}

} // namespace

int main(int argc, char *argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == u"view" || command == u"report" || command == u"export") {
        // Filling a view measures text and loads pictures, and a report lays its text out on
        // pages, which needs the GUI classes, but never a screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        nameApplication();
        return korvesta::runCommandLine(app.arguments().mid(1));
    }
    if (isSubcommand(command)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        return korvesta::runCommandLine(app.arguments().mid(1));
    }

    QApplication app(argc, argv);
    nameApplication();
    korvesta::installRussianTranslations(app);
    return korvesta::runMainWindow(app, app.arguments().mid(1));
}
