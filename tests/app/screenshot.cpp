// Draws the main window into a PNG file, as a planner would see it on a 1280x800 screen:
//   korvesta_screenshot OUT.png [VIEW_CODE] [calendar] [nopane] [DOC.kvt] [date=YYYY-MM-DD]
// Settings and new documents go to a temporary folder.

#include "app/mainwindow.h"
#include "app/qtprompts.h"
#include "app/translations.h"
#include "app/viewdispatcher.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("KorvestaScreenshot"));
    korvesta::installRussianTranslations(app);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;

    QTemporaryDir folder;
    korvesta::SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    if (args.contains(QStringLiteral("nopane")))
        settings.writeBool(QStringLiteral("Settings"), QStringLiteral("LeftPane"), false);
    korvesta::QtPrompts prompts;
    korvesta::DocumentSession session(prompts, settings,
                                      korvesta::AppPaths{folder.path(), folder.path()});
    korvesta::frmMain window(session, settings, prompts);
    prompts.setParent(&window);
    QStringList document;
    QDate date;
    for (const QString &arg : args.mid(2)) {
        if (arg.endsWith(QStringLiteral(".kvt")))
            document = {arg};
        else if (arg.startsWith(QStringLiteral("date=")))
            date = QDate::fromString(arg.mid(5), Qt::ISODate);
    }
    window.startUp(document);
    if (date.isValid())
        window.calendar()->setSelectedDate(date);
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();

    bool ok = false;
    const int code = args.value(2).toInt(&ok);
    if (ok) {
        window.dispatcher().sectionClicked(code / 10);
        if (code % 10)
            window.dispatcher().itemClicked(code % 10);
    }
    if (args.contains(QStringLiteral("calendar")))
        window.setCalendarShown(true);
    QTimer::singleShot(300, &app, [&] {
        window.grab().save(args.at(1));
        window.close();
    });
    return app.exec();
}
