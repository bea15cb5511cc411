#include "cli/subcommands.h"
#include "app/startup.h"
#include "app/translations.h"
#include "data/pgconnection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

#ifndef KORVESTA_VERSION
#define KORVESTA_VERSION "0.0"
#endif

namespace {

bool isSubcommand(const QString &word)
{
    return word == u"--help" || word == u"-h" || korvesta::findSubcommand(word) != nullptr;
}

void nameApplication()
{
    // Names the per-user folders (the application folder, the settings store).
    QCoreApplication::setApplicationName(QStringLiteral("Korvesta"));
}

// Options Qt reads itself and that take a value ("-platform offscreen").
bool isQtOptionWithValue(const QString &arg)
{
    static const QStringList options = {
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"), QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"), QStringLiteral("-display"),
        QStringLiteral("-geometry"), QStringLiteral("-style"),
        QStringLiteral("-stylesheet"), QStringLiteral("-session"),
        QStringLiteral("-title"), QStringLiteral("-name"),
    };
    return options.contains(arg);
}

// Options of Qt's own that the window takes without a value ("-reverse").
bool isQtFlag(const QString &arg)
{
    static const QStringList flags = {QStringLiteral("-reverse"), QStringLiteral("-nograb"),
                                      QStringLiteral("-dograb"), QStringLiteral("-sync")};
    return flags.contains(arg);
}

// A word that reads as a command rather than as a file: no folder, no extension.
bool looksLikeCommand(const QString &word)
{
    return !word.contains(QLatin1Char('/')) && !word.contains(QLatin1Char('.'));
}

// Why the arguments cannot open the window, or empty when they can. Only a document opens
// it: a path ending in .kvt or naming an existing file. Anything else is a mistyped command,
// and a script that made it must not hang on a window.
QString windowArgumentsProblem(int argc, char *argv[])
{
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--")) && arg.size() > 2)
            return QStringLiteral("Неизвестный параметр: %1").arg(arg);
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (isQtOptionWithValue(arg) && i + 1 < argc)
                ++i;
            else if (!isQtFlag(arg))
                return QStringLiteral("Неизвестный параметр: %1").arg(arg);
            continue;
        }
        words << arg;
    }
    if (words.isEmpty())
        return QString();
    // A path with blanks may arrive unquoted and split into words; it is taken so only when
    // the joined words name a file that is there.
    QString path = words.join(QLatin1Char(' '));
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    if (QFileInfo(path).isFile() || (words.size() == 1 && korvesta::PgConnection::isServerUri(path)))
        return QString();
    if (words.size() == 1 && path.endsWith(QLatin1String(".kvt"), Qt::CaseInsensitive))
        return QString();
    if (looksLikeCommand(words[0]) && !QFileInfo::exists(words[0]))
        return QStringLiteral("Неизвестная команда: %1").arg(words[0]);
    if (words.size() > 1 && QFileInfo(words[0]).isFile())
        return QStringLiteral("Лишний аргумент: %1").arg(words[1]);
    return QStringLiteral("Файл документа не найден: %1").arg(path);
}

} // namespace

int main(int argc, char *argv[])
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == u"view" || command == u"report" || command == u"export"
        || command == u"cover") {
        // Filling a view measures text and loads pictures, and a report (the cover report
        // too) lays its text out on pages, which needs the GUI classes, but never a screen.
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

    if (command == u"--version" || command == u"-V") {
        std::printf("korvesta (Тарвела) %s\n", KORVESTA_VERSION);
        return 0;
    }
    if (command == u"-h") {
        QCoreApplication app(argc, argv);
        return korvesta::runCommandLine({QStringLiteral("help")});
    }
    const QString problem = windowArgumentsProblem(argc, argv);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "korvesta: %s\nСправка: korvesta --help\n",
                     problem.toLocal8Bit().constData());
        return 2;
    }

    QApplication app(argc, argv);
    nameApplication();
    korvesta::installRussianTranslations(app);
    return korvesta::runMainWindow(app, app.arguments().mid(1));
}
