#include "exportcommand.h"

#include "busyindicator.h"
#include "mainwindow.h"
#include "objectpane.h"
#include "statusprogress.h"
#include "viewdispatcher.h"

#include "export/exportformat.h"
#include "export/xlsxexport.h"
#include "options/optionssession.h"
#include "grid/gridview.h"
#include "settings/settingsrecord.h"
#include "views/viewcontext.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace korvesta {

ExportCommand::ExportCommand(frmMain &window)
    : QObject(&window)
    , m_window(window)
    , m_open([](const QString &path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); })
{
    setObjectName(QStringLiteral("ExportCommand"));
    if (QAction *action = window.command(QStringLiteral("submenuExport")))
        connect(action, &QAction::triggered, this, &ExportCommand::exportView);
}

void ExportCommand::exportView()
{
    ViewContext ctx = m_window.dispatcher().context();
    if (!exportFormat(ctx.viewCode))
        return;
    const QString object = m_window.objectPane()->selectedObjectText();

    Prompts &prompts = m_window.prompts();
    Prompts::FileChoice choice;
    choice.title = QStringLiteral("Экспорт в MS Excel");
    choice.folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    choice.proposedName = exportFileName(ctx.viewCode, object) + QStringLiteral(".xlsx");
    choice.filter = QStringLiteral("Таблица MS Excel (*.xlsx)");
    std::optional<QString> chosen = prompts.chooseFileToSave(choice);
    if (!chosen || chosen->isEmpty())
        return;
    // The desktop opens the file by its extension.
    QString path = *chosen;
    if (QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");

    ExportRequest request;
    request.grid = &ctx.grid;
    request.viewCode = ctx.viewCode;
    request.subject.object = object;
    request.subject.date = ctx.calendarDate;
    request.subject.from = ctx.periodFrom;
    request.subject.to = ctx.periodTo;
    request.subject.workDays = ctx.record.WorkDays;
    request.settings = &ctx.record;
    request.userName = loginName();
    request.colours = exportColors(m_window.settings());

    ExportResult result;
    {
        BusyScope busy(m_window.busyIndicator());
        StatusProgress progress(m_window.statusPanels());
        progress.status(QStringLiteral("Экспорт в MS Excel"));
        result = korvesta::exportView(request, path, [&progress](int done, int total) {
            // A small grid is written at once; the bar is for the large ones.
            if (total > 400 && done % 50 == 0)
                progress.advance(done, total);
            return !progress.cancelled();
        });
        progress.status(QString());
    }
    switch (result.outcome) {
    case ExportResult::Written:
        m_open(path);
        break;
    case ExportResult::Failed:
        prompts.message(result.message, Prompts::Icon::Warning);
        break;
    case ExportResult::NotExported:
    case ExportResult::Cancelled:
        break;
    }
}

} // namespace korvesta
