#include "helpcommands.h"

#include "data/prompts.h"
#include "frmabout.h"
#include "frmhelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWhatsThis>
#include <QWidget>

namespace korvesta {

HelpCommands::HelpCommands(QWidget *window, Prompts &prompts)
    : m_window(window)
    , m_prompts(prompts)
{
    const QStringList locations = standardLocations();
    m_helpFile = locations.value(0);
    for (const QString &path : locations) {
        if (QFileInfo::exists(path)) {
            m_helpFile = path;
            break;
        }
    }
}

HelpCommands::~HelpCommands()
{
    delete m_viewer; // A window of its own, not a child of the main window.
}

QStringList HelpCommands::standardLocations()
{
    const QString program = QCoreApplication::applicationDirPath();
    return {
        program + QStringLiteral("/help/index.html"),
        QDir::cleanPath(program + QStringLiteral("/../share/korvesta/help/index.html")),
    };
}

bool HelpCommands::helpExists() const
{
    if (QFileInfo(m_helpFile).isFile())
        return true;
    m_prompts.message(MissingMessage, Prompts::Icon::Information, m_window->windowTitle());
    return false;
}

bool HelpCommands::showHelp()
{
    if (!helpExists())
        return false;
    if (!m_viewer)
        m_viewer = new frmHelp();
    QString error;
    if (!m_viewer->openPage(m_helpFile, &error)) {
        m_prompts.message(error, Prompts::Icon::Critical, m_window->windowTitle());
        return false;
    }
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
    return true;
}

void HelpCommands::whatsThis()
{
    if (helpExists())
        QWhatsThis::enterWhatsThisMode();
}

void HelpCommands::about()
{
    frmAbout box(m_window);
    box.exec();
}

} // namespace korvesta
