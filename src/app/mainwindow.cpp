#include "mainwindow.h"

#include "data/documentsession.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

namespace korvesta {

frmMain::frmMain(DocumentSession &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmMain"));
    setCentralWidget(new QWidget(this));
    createMenus();
    resize(900, 600);

    setWindowTitle(m_session.windowTitle());
    m_session.setTitleListener([this](const QString &title) { setWindowTitle(title); });
}

frmMain::~frmMain()
{
    m_session.setTitleListener({});
}

void frmMain::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("mnuFile"));

    const auto add = [this, file](const char *name, const QString &caption,
                                  const std::function<void()> &command) {
        QAction *action = file->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    add("submenuCreateDB", QStringLiteral("Создать"), [this] {
        m_session.newDocument();
        refresh();
    });
    add("submenuOpenDB", QStringLiteral("Открыть"), [this] {
        m_session.openDocument();
        refresh();
    });
    add("submenuSaveDB", QStringLiteral("Сохранить как..."), [this] {
        m_session.saveDocumentAs();
        refresh();
    });
    file->addSeparator();
    add("submenuExit", QStringLiteral("Выход"), [this] { close(); });
}

void frmMain::refresh()
{
    // The view dispatcher takes over here once the views exist.
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing is never cancelled; the document question runs once.
    if (!m_closed) {
        m_closed = true;
        m_session.confirmClosing();
    }
    event->accept();
}

} // namespace korvesta
