#include "frmpreview.h"

#include "data/prompts.h"
#include "reportpreview.h"
#include "reports/documentfiles.h"
#include "reports/reportwriters.h"

#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSaveFile>

namespace korvesta {

namespace {

frmPreview::UrlOpener &urlOpener()
{
    static frmPreview::UrlOpener opener = [](const QUrl &url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

// A file name made of the view's name: the characters a file name cannot hold left out.
QString htmlFileName(const QString &docName)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\t\\r\\n]+"));
    QString name = docName;
    name.replace(unsafe, QStringLiteral(" "));
    name = name.simplified().left(80);
    return (name.isEmpty() ? QStringLiteral("имя") : name) + QStringLiteral(".htm");
}

} // namespace

frmPreview::frmPreview(Prompts &prompts, QString applicationFolder, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_prompts(prompts)
    , m_applicationFolder(std::move(applicationFolder))
{
    setObjectName(QStringLiteral("frmPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_preview = new ReportPreview(this);
    setCentralWidget(m_preview);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    QAction *print = file->addAction(QStringLiteral("&Печать..."));
    print->setObjectName(QStringLiteral("mnuPrint"));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this] { m_preview->print(m_docName); });
    QAction *setup = file->addAction(QStringLiteral("Параметры &страницы..."));
    setup->setObjectName(QStringLiteral("mnuSettings"));
    connect(setup, &QAction::triggered, this, [this] { m_preview->pageSetup(); });
    QAction *save = file->addAction(QStringLiteral("&Сохранить как..."));
    save->setObjectName(QStringLiteral("mnuSave"));
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] { saveAs(); });
    QAction *html = file->addAction(QStringLiteral("Открыть в &браузере"));
    html->setObjectName(QStringLiteral("mnuHtml"));
    connect(html, &QAction::triggered, this, [this] { openAsHtml(); });
    file->addSeparator();
    QAction *close = file->addAction(QStringLiteral("&Закрыть"));
    close->setObjectName(QStringLiteral("mnuClose"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    QMenu *zoom = menuBar()->addMenu(QStringLiteral("&Вид"));
    zoom->addActions(m_preview->zoomMenu()->actions());
    resize(900, 700);
}

void frmPreview::showContent(const ReportContent &content, const QString &docName)
{
    m_docName = docName;
    QString title = docName;
    title.replace(u'\t', QStringLiteral(" - "));
    setWindowTitle(QStringLiteral("Предварительный просмотр - ") + title);
    m_preview->setReport(content);
}

QString frmPreview::openAsHtml()
{
    if (!m_preview->report())
        return QString();
    const QString path = QDir(m_applicationFolder).filePath(htmlFileName(m_docName));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reportToHtml(*m_preview->report()).toUtf8()) < 0 || !file.commit()) {
        m_prompts.message(QStringLiteral("Не удалось записать файл «%1»: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()),
                          Prompts::Icon::Warning);
        return QString();
    }
    if (!urlOpener()(QUrl::fromLocalFile(path)))
        m_prompts.message(QStringLiteral("Не удалось открыть страницу «%1» в браузере")
                              .arg(QDir::toNativeSeparators(path)),
                          Prompts::Icon::Warning);
    return path;
}

QString frmPreview::saveAs()
{
    if (!m_preview->report())
        return QString();
    Prompts::FileChoice choice;
    choice.title = QStringLiteral("Сохранить как");
    choice.folder = QDir::homePath();
    choice.proposedName = htmlFileName(m_docName).chopped(4) + QStringLiteral(".pdf");
    choice.filter = documentDialogFilter();
    const std::optional<QString> chosen = m_prompts.chooseFileToSave(choice);
    if (!chosen || chosen->trimmed().isEmpty())
        return QString();
    const std::optional<DocumentType> type = documentTypeOf(*chosen);
    if (!type) {
        m_prompts.message(QStringLiteral("Имя файла должно оканчиваться на .pdf, .htm, .html, "
                                         ".xhtm, .rtf или .txt: «%1»")
                              .arg(QDir::toNativeSeparators(*chosen)),
                          Prompts::Icon::Warning);
        return QString();
    }
    const QString problem = writeReportDocument(*m_preview->report(), *chosen, *type);
    if (!problem.isEmpty()) {
        m_prompts.message(problem, Prompts::Icon::Warning);
        return QString();
    }
    return documentFileName(*chosen);
}

void frmPreview::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

} // namespace korvesta
