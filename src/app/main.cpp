#include "app/cli.h"
#include "app/startup.h"
#include "app/translations.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

namespace {

bool isSubcommand(const QString &word)
{
    static const QStringList subcommands = {
        QStringLiteral("new"),  QStringLiteral("sql"),  QStringLiteral("demo"),
        QStringLiteral("view"), QStringLiteral("help"), QStringLiteral("--help"),
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
    if (argc > 1 && isSubcommand(QString::fromLocal8Bit(argv[1]))) {
        QCoreApplication app(argc, argv);
        nameApplication();
        return korvesta::runCommandLine(app.arguments().mid(1));
    }

    QApplication app(argc, argv);
    nameApplication();
    korvesta::installRussianTranslations(app);
    return korvesta::runMainWindow(app, app.arguments().mid(1));
}
