// Starts the program's window as `korvesta` does and exits once it has been painted,
// printing the milliseconds from the start of main() to that first paint. Run it with
// HOME (or XDG_CONFIG_HOME and XDG_DATA_HOME) pointing at a scratch folder.

#include "app/startup.h"
#include "app/translations.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvesta"));
    korvesta::installRussianTranslations(app);
    return korvesta::runMainWindow(app, app.arguments().mid(1), [&] {
        std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
        QApplication::quit();
    });
}
