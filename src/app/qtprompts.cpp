#include "qtprompts.h"

#include "data/connection.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace korvesta {

namespace {

const QString kDefaultTitle = QStringLiteral("Тарвела");
// Long enough for another program's ordinary write to end; short enough that a planner does
// not think the program hung.
constexpr int kLockWaitMilliseconds = 5000;

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::None:
        return QMessageBox::NoIcon;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

Prompts::Answer toAnswer(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Prompts::Answer::Yes;
    case QMessageBox::No:
        return Prompts::Answer::No;
    case QMessageBox::Ok:
        return Prompts::Answer::Ok;
    case QMessageBox::Retry:
        return Prompts::Answer::Retry;
    default:
        return Prompts::Answer::Cancel;
    }
}

// Texts from core separate lines with CR LF; a label wants LF alone.
QString displayText(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return result;
}

QString titleOrDefault(const QString &title)
{
    return title.isEmpty() ? kDefaultTitle : title;
}

// The dialog starts in the given folder; a file path stands for its folder.
QString startFolder(const QString &folderOrFile)
{
    if (folderOrFile.isEmpty())
        return QDir::homePath();
    const QFileInfo info(folderOrFile);
    if (info.isDir())
        return info.absoluteFilePath();
    return info.dir().exists() ? info.absolutePath() : QDir::homePath();
}

bool g_lockCursor = false; // the wait cursor of a lock wait is showing

void endLockWait()
{
    if (!g_lockCursor)
        return;
    g_lockCursor = false;
    QApplication::restoreOverrideCursor();
}

// The action that waits holds the event loop: the cursor goes once the loop runs again.
void beginLockWait()
{
    if (g_lockCursor || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    g_lockCursor = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, qApp, &endLockWait);
}

// The entry of a dialog filter ("Документ Adobe Acrobat (*.pdf);;...") whose pattern takes the
// file name's extension; empty when none does.
QString filterOf(const QString &filters, const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty())
        return QString();
    for (const QString &entry : filters.split(QStringLiteral(";;"))) {
        if (entry.contains(QStringLiteral("*.") + suffix + u')', Qt::CaseInsensitive))
            return entry;
    }
    return QString();
}

} // namespace

QtPrompts::QtPrompts(QWidget *parent)
    : m_parent(parent)
{
    Connection::setLockWait(kLockWaitMilliseconds, &beginLockWait);
}

void QtPrompts::setParent(QWidget *parent)
{
    m_parent = parent;
}

void QtPrompts::message(const QString &text, Icon icon, const QString &title)
{
    endLockWait();
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayText(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

Prompts::Answer QtPrompts::askYesNo(const QString &text, Icon icon, const QString &title)
{
    endLockWait();
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayText(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    return toAnswer(box.exec());
}

Prompts::Answer QtPrompts::askYesNoCancel(const QString &text, Icon icon, const QString &title)
{
    endLockWait();
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    return toAnswer(box.exec());
}

Prompts::Answer QtPrompts::askOkCancel(const QString &text, Icon icon, const QString &title)
{
    endLockWait();
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Ok);
    return toAnswer(box.exec());
}

Prompts::Answer QtPrompts::askRetryCancel(const QString &text, Icon icon, const QString &title)
{
    endLockWait();
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayText(text),
                    QMessageBox::Retry | QMessageBox::Cancel, m_parent);
    box.button(QMessageBox::Retry)->setText(QStringLiteral("Повторить"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Retry);
    return toAnswer(box.exec());
}

std::optional<QString> QtPrompts::askText(const QString &label, const QString &initial,
                                          const QString &title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, titleOrDefault(title),
                                               displayText(label), QLineEdit::Normal, initial,
                                               &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtPrompts::askPassword(const QString &label, const QString &title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, titleOrDefault(title), displayText(label),
                                               QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QColor> QtPrompts::chooseColor(const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, m_parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QString> QtPrompts::chooseFileToOpen(const FileChoice &choice)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, choice.title,
                                                      startFolder(choice.folder),
                                                      choice.filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPrompts::chooseFileToSave(const FileChoice &choice)
{
    QString proposed = startFolder(choice.folder) + QLatin1Char('/') + choice.proposedName;
    for (;;) {
        // The filter shown is the one of the proposed name's kind. The dialog itself asks
        // before overwriting the name it returns.
        QString selected = filterOf(choice.filter, proposed);
        QString path = QFileDialog::getSaveFileName(m_parent, choice.title, proposed,
                                                    choice.filter, &selected);
        if (path.isEmpty())
            return std::nullopt;
        if (!QFileInfo(path).suffix().isEmpty())
            return path;
        // A name typed without an extension gets the chosen filter's (a document's ".kvt"),
        // and the dialog never saw that name: so the question about replacing it is ours.
        static const QRegularExpression pattern(QStringLiteral("\\*(\\.[A-Za-z0-9]+)\\)"));
        const QRegularExpressionMatch kind = pattern.match(selected);
        path += kind.hasMatch() ? kind.captured(1) : QStringLiteral(".kvt");
        if (!QFileInfo::exists(path))
            return path;
        const QString question = QStringLiteral("Файл %1 уже существует.\nЗаменить его?")
                                     .arg(QFileInfo(path).fileName());
        if (askYesNo(question, Icon::Warning, choice.title) == Answer::Yes)
            return path;
        proposed = path;
    }
}

} // namespace korvesta
