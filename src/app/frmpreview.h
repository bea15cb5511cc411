#pragma once

#include "reports/reportcontent.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>

namespace korvesta {

class Prompts;
class ReportPreview;

// The preview window: a view's grid (or the report shown) laid out as printable pages, with
// page setup (mnuSettings), printing, the zoom choices, and the pages opened as an HTML page
// in the desktop's browser. Not modal; it keeps what it was given while the main window
// changes.
class frmPreview : public QMainWindow
{
    Q_OBJECT

public:
    frmPreview(Prompts &prompts, QString applicationFolder, QWidget *parent = nullptr);

    // Shows the content; docName names the printed document and the window.
    void showContent(const ReportContent &content, const QString &docName);
    ReportPreview *preview() const { return m_preview; }

    // "Сохранить как...": the pages as a report document of the kind the name ends in (PDF,
    // HTML, RTF, text). The path written; empty when cancelled or it failed (told).
    QString saveAs();

    // "Открыть в браузере": writes the pages as an HTML page in the program's folder and
    // opens it with the desktop's browser. The path written; empty when it failed (told).
    QString openAsHtml();

    // Replaces how a page is opened in the browser (tests).
    using UrlOpener = std::function<bool(const QUrl &)>;
    static void setUrlOpener(UrlOpener opener);

private:
    Prompts &m_prompts; // Not owned.
    QString m_applicationFolder;
    ReportPreview *m_preview = nullptr;
    QString m_docName;
};

} // namespace korvesta
