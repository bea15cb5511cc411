#include "reportcommands.h"

#include "busyindicator.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/prompts.h"
#include "frmpreview.h"
#include "grid/gridview.h"
#include "mainwindow.h"
#include "objectpane.h"
#include "rangecalendar.h"
#include "reportpreview.h"
#include "reports/documentfiles.h"
#include "reports/gridreport.h"
#include "reports/reportmaker.h"
#include "viewdispatcher.h"
#include "views/viewtable.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QTreeWidget>

namespace korvesta {

namespace {

constexpr int kReportSection = 5;

bool isTimetableGrid(int code)
{
    return code >= 40 && code <= 42;
}

// The wait cursor for as long as it lives.
struct WaitCursor
{
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

ReportCommands::ReportCommands(frmMain &window)
    : QObject(&window)
    , m_window(window)
{
    connect(window.command(QStringLiteral("submenuSaveToFile")), &QAction::triggered, this,
            [this] { saveToFile(); });
    connect(window.command(QStringLiteral("submenuPrint")), &QAction::triggered, this,
            [this] { print(); });
    connect(window.command(QStringLiteral("submenuPrintPreview")), &QAction::triggered, this,
            [this] { printPreview(); });
    connect(&window.dispatcher(), &ViewDispatcher::dispatched, this, &ReportCommands::viewShown);
    connect(&window.dispatcher(), &ViewDispatcher::objectShown, this,
            [this](const ObjectListEntry &entry) {
                if (m_window.navigation().viewCode() / 10 == kReportSection)
                    showReport(entry);
            });
    // A new range of days shows the report of the same object again.
    connect(window.objectPane()->secondCalendar(), &RangeCalendar::rangeChanged, this, [this] {
        if (m_window.navigation().viewCode() / 10 == kReportSection && m_shownObject)
            showReport(*m_shownObject);
    });
}

void ReportCommands::viewShown(int code)
{
    // Every view of the section opens on an empty preview, until an object is clicked.
    if (code / 10 != kReportSection)
        return;
    m_shownObject.reset();
    m_window.reportPreview()->setReport(std::nullopt);
}

QString ReportCommands::objectText(int code, const ObjectListEntry &entry)
{
    if ((code == 51 || code == 2) && entry.texts.size() > 1)
        return entry.texts[0] + QStringLiteral("  (") + entry.texts[1] + QLatin1Char(')');
    return entry.text();
}

std::optional<ObjectListEntry> ReportCommands::currentObject() const
{
    ObjectPane *pane = m_window.objectPane();
    if (pane->isHidden())
        return std::nullopt;
    const QTreeWidgetItem *item = pane->objectList()->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    if (const ObjectListEntry *entry = pane->entryOf(item))
        return *entry;
    return std::nullopt;
}

void ReportCommands::showReport(const ObjectListEntry &entry)
{
    const int code = m_window.navigation().viewCode();
    const ReportKind *kind = reportOfView(code);
    if (!kind)
        return;
    m_shownObject = entry;
    WaitCursor wait;
    BusyScope busy(m_window.busyIndicator());
    const RangeCalendar *range = m_window.objectPane()->secondCalendar();
    ReportMaker maker(m_window.session(), m_window.settings(), m_window.settingsRecord(),
                      m_window.prompts(), m_window.session().paths().applicationFolder);
    maker.rememberToldProblems(m_toldProblems);
    m_window.reportPreview()->setReport(maker.make({QString::fromUtf8(kind->name),
                                                    objectText(code, entry), 0,
                                                    range->rangeStart(), range->rangeEnd()}));
}

bool ReportCommands::saveToFile()
{
    const int code = m_window.navigation().viewCode();
    Prompts &prompts = m_window.prompts();
    const ReportKind *kind = reportOfView(code);
    if (!kind) {
        prompts.message(QStringLiteral("Вид «%1» не сохраняется как документ. Его таблицу "
                                       "можно экспортировать в MS Excel.")
                            .arg(ViewTable::singleLineCaption(code)),
                        Prompts::Icon::Information);
        return false;
    }
    const std::optional<ObjectListEntry> object = currentObject();
    if (kind->needsObject && !object) {
        prompts.message(QStringLiteral("Выберите объект в списке, чтобы сохранить «%1».")
                            .arg(ViewTable::singleLineCaption(code)),
                        Prompts::Icon::Information);
        return false;
    }

    QString proposed = ViewTable::singleLineCaption(code);
    if (object)
        proposed += u' ' + objectText(code, *object);
    proposed.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral(" "));
    const QString documentPath = m_window.session().currentPath();
    Prompts::FileChoice choice;
    choice.title = QStringLiteral("Сохранить таблицу");
    choice.folder = documentPath.isEmpty() || m_window.session().isNewDocument()
                        ? QDir::homePath()
                        : QFileInfo(documentPath).absolutePath();
    choice.proposedName = proposed.simplified() + QStringLiteral(".pdf");
    choice.filter = documentDialogFilter();
    const std::optional<QString> chosen = prompts.chooseFileToSave(choice);
    if (!chosen || chosen->trimmed().isEmpty())
        return false;
    const std::optional<DocumentType> type = documentTypeOf(*chosen);
    if (!type) {
        prompts.message(QStringLiteral("Имя файла должно оканчиваться на .pdf, .htm, .html, "
                                       ".xhtm, .rtf или .txt: «%1»")
                            .arg(QDir::toNativeSeparators(*chosen)),
                        Prompts::Icon::Warning);
        return false;
    }
    const QString written = documentFileName(*chosen);
    if (written != *chosen && QFileInfo::exists(written)
        && prompts.askYesNo(QStringLiteral("Файл %1 уже существует.\nЗаменить его?")
                                .arg(QFileInfo(written).fileName()),
                            Prompts::Icon::Warning, choice.title)
               != Prompts::Answer::Yes)
        return false;

    WaitCursor wait;
    BusyScope busy(m_window.busyIndicator());
    const RangeCalendar *range = m_window.objectPane()->secondCalendar();
    ReportMaker maker(m_window.session(), m_window.settings(), m_window.settingsRecord(), prompts,
                      m_window.session().paths().applicationFolder);
    maker.rememberToldProblems(m_toldProblems);
    ReportRequest request{QString::fromUtf8(kind->name),
                          object ? objectText(code, *object) : QString(), 0,
                          range->rangeStart(), range->rangeEnd()};
    if (code == 2 && object)
        request.objectKey = object->recordKey().toInt();
    const std::optional<ReportContent> content = maker.make(request);
    if (!content)
        return false;
    const QString problem = writeReportDocument(*content, *chosen, *type);
    if (!problem.isEmpty()) {
        prompts.message(problem, Prompts::Icon::Warning);
        return false;
    }
    return true;
}

QString ReportCommands::documentName() const
{
    QString name = m_window.viewCaption()->text();
    const int code = m_window.navigation().viewCode();
    const QAction *middlePane = m_window.command(QStringLiteral("submenuShowMiddlePane"));
    const std::optional<ObjectListEntry> object = currentObject();
    if (middlePane && middlePane->isChecked() && !isTimetableGrid(code) && object)
        name += u'\t' + objectText(code, *object);
    return name;
}

ReportContent ReportCommands::gridContent() const
{
    const int code = m_window.navigation().viewCode();
    QString title = m_window.viewCaption()->text();
    if (const std::optional<ObjectListEntry> object = currentObject())
        title += QStringLiteral(" - ") + objectText(code, *object);
    GridPrintOptions options;
    options.title = title;
    options.teachingLoad = code == 30;
    const double points = m_window.grid()->font().pointSizeF();
    if (points > 0)
        options.fontPoints = points;
    return gridReport(*m_window.grid()->model(), options);
}

bool ReportCommands::print()
{
    const int code = m_window.navigation().viewCode();
    if (code / 10 == kReportSection)
        return m_window.reportPreview()->print(documentName());
    const ReportContent content = gridContent();
    return ReportPreview::printContent(&m_window, content,
                                       m_window.reportPreview()->printer().pageLayout(),
                                       documentName());
}

void ReportCommands::printPreview()
{
    const int code = m_window.navigation().viewCode();
    if (!m_previewWindow)
        m_previewWindow = new frmPreview(m_window.prompts(),
                                         m_window.session().paths().applicationFolder, &m_window);
    if (code / 10 == kReportSection) {
        const std::optional<ReportContent> &shown = m_window.reportPreview()->report();
        if (!shown)
            return;
        m_previewWindow->showContent(*shown, documentName());
    } else {
        m_previewWindow->showContent(gridContent(), documentName());
    }
    m_previewWindow->show();
    m_previewWindow->raise();
    m_previewWindow->activateWindow();
}

} // namespace korvesta
