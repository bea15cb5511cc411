#include "frmhelp.h"

#include "appicons.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace korvesta {

namespace {

QStringList searchWords(const QString &text)
{
    return text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

const QStringList &frmHelp::pageOrder()
{
    static const QStringList pages = {
        QStringLiteral("index.html"),       QStringLiteral("groups.html"),
        QStringLiteral("disciplines.html"), QStringLiteral("auditoriums.html"),
        QStringLiteral("tutors.html"),      QStringLiteral("timetable.html"),
        QStringLiteral("individual.html"),
    };
    return pages;
}

frmHelp::frmHelp(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_search(new QLineEdit(this))
    , m_contents(new QListWidget(this))
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Справка"));
    setWindowIcon(appIcon(QStringLiteral("APP")));
    m_browser->setOpenExternalLinks(true);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(QStringLiteral("Поиск"));
    m_search->setClearButtonEnabled(true);
    m_contents->setObjectName(QStringLiteral("lvContents"));

    connect(m_search, &QLineEdit::textChanged, this, &frmHelp::search);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        // Enter goes to the next place of the words in the page shown, then to the next page.
        if (!searchWords(m_search->text()).isEmpty()
            && !m_browser->find(searchWords(m_search->text()).constFirst())) {
            const int next = m_contents->currentRow() + 1;
            if (next < m_contents->count())
                m_contents->setCurrentRow(next);
            else if (m_contents->count() > 0)
                m_contents->setCurrentRow(0);
        }
    });
    connect(m_contents, &QListWidget::currentRowChanged, this, &frmHelp::showPage);
    // A link followed in the page selects its entry, so that the contents show where one is.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        const QString path = QFileInfo(url.toLocalFile()).absoluteFilePath();
        for (int row = 0; row < m_contents->count(); ++row) {
            if (m_contents->item(row)->data(Qt::UserRole).toString() == path) {
                const QSignalBlocker block(m_contents);
                m_contents->setCurrentRow(row);
            }
        }
    });

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_search);
    leftLayout->addWidget(m_contents);
    auto *splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 700});

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addWidget(buttons);
    resize(960, 640);
}

bool frmHelp::openPage(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (folder != m_folder)
        loadContents(folder);
    m_browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return true;
}

void frmHelp::loadContents(const QString &folder)
{
    m_folder = folder;
    m_pages.clear();
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QString &name : pageOrder()) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue; // A page left out of an installation leaves only its entry out.
        const QString html = QString::fromUtf8(file.readAll());
        QTextDocument document;
        document.setHtml(html);
        const QString caption = title.match(html).captured(1).simplified();
        m_pages.append({QFileInfo(file).absoluteFilePath(), caption.isEmpty() ? name : caption,
                        document.toPlainText()});
    }
    search(m_search->text());
}

void frmHelp::search(const QString &text)
{
    const QStringList words = searchWords(text);
    const QSignalBlocker block(m_contents);
    m_contents->clear();
    for (const Page &page : std::as_const(m_pages)) {
        const bool found = std::all_of(words.cbegin(), words.cend(), [&](const QString &w) {
            return page.text.contains(w, Qt::CaseInsensitive)
                   || page.title.contains(w, Qt::CaseInsensitive);
        });
        if (!found)
            continue;
        auto *item = new QListWidgetItem(page.title, m_contents);
        item->setData(Qt::UserRole, page.path);
    }
    if (!words.isEmpty() && m_contents->count() > 0) {
        m_contents->setCurrentRow(0);
        showPage(0);
    }
}

void frmHelp::showPage(int row)
{
    if (row < 0 || row >= m_contents->count())
        return;
    m_browser->setSource(QUrl::fromLocalFile(m_contents->item(row)->data(Qt::UserRole).toString()));
    highlight();
}

void frmHelp::highlight()
{
    const QStringList words = searchWords(m_search->text());
    if (words.isEmpty())
        return;
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->find(words.constFirst());
}

} // namespace korvesta
