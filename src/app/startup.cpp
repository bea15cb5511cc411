#include "startup.h"

#include "appicons.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "mainwindow.h"
#include "qtprompts.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace korvesta {

namespace {

// Calls back after the window's first paint has been handled.
class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget *window, std::function<void()> callback)
        : QObject(window)
        , m_callback(std::move(callback))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_callback) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::exchange(m_callback, {}));
        }
        return false;
    }

private:
    std::function<void()> m_callback;
};

} // namespace

int runMainWindow(QApplication &app, const QStringList &args,
                  const std::function<void()> &firstPainted)
{
    app.setWindowIcon(appIcon(QStringLiteral("APP")));
    SettingsStore settings;
    QtPrompts prompts;
    DocumentSession session(prompts, settings, AppPaths::standard());
    frmMain window(session, settings, prompts);
    prompts.setParent(&window);
    window.startUp(args);
    if (firstPainted)
        new FirstPaintWatcher(&window, firstPainted);
    window.show();
    return app.exec();
}

} // namespace korvesta
