#pragma once

#include "reports/reportcontent.h"

#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QMenu;
class QPageLayout;
class QPrintPreviewWidget;
class QPrinter;
class QToolButton;

namespace korvesta {

// A report shown as pages: the print preview with its zoom choices ("Целый лист", "Крупный",
// "Два листа", "Весь документ"), page counter, page setup and printing. Without a report it
// shows one empty page.
class ReportPreview : public QWidget
{
    Q_OBJECT

public:
    explicit ReportPreview(QWidget *parent = nullptr);
    ~ReportPreview() override;

    // Shows the report from its first page; nothing shows an empty page.
    void setReport(std::optional<ReportContent> report);
    const std::optional<ReportContent> &report() const { return m_report; }
    int pageCount() const;
    QPrintPreviewWidget *view() const { return m_view; }
    QPrinter &printer() { return *m_printer; }

    // The zoom choices, in the order of the menu.
    enum class Zoom { WholePage, Large, TwoPages, AllPages };
    void setZoom(Zoom zoom);
    QMenu *zoomMenu() const { return m_zoomMenu; }

    // The page-setup dialog; the pages are laid out again after it. False when cancelled.
    bool pageSetup();
    // Prints the report through the print dialog, showing the pages as they go to the
    // printer; Esc or "Отмена" stops. False when there was nothing to print or it was
    // cancelled. The document is named docName.
    bool print(const QString &docName);

    // Prints any report through the print dialog, from a page set up as `setup`.
    static bool printContent(QWidget *parent, ReportContent content, const QPageLayout &setup,
                             const QString &docName);

protected:
    void changeEvent(QEvent *event) override;

private:
    void paintPages(QPrinter *printer);
    void showPageNumber();

    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_view = nullptr;
    QToolButton *m_zoomButton = nullptr;
    QMenu *m_zoomMenu = nullptr;
    QLabel *m_pageLabel = nullptr;
    std::optional<ReportContent> m_report;
    bool m_userPageSize = false; // the page size is the one the user set up
};

} // namespace korvesta
