#include "reportpreview.h"

#include "appicons.h"
#include "reports/reportpainter.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvesta {

ReportPreview::ReportPreview(QWidget *parent)
    : QWidget(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("VSPrinter1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("picPreviewBar"));
    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    m_zoomButton = new QToolButton(bar);
    m_zoomButton->setObjectName(QStringLiteral("cmdZoom"));
    m_zoomButton->setText(QStringLiteral("Масштаб"));
    m_zoomButton->setPopupMode(QToolButton::InstantPopup);
    m_zoomMenu = new QMenu(m_zoomButton);
    m_zoomMenu->setObjectName(QStringLiteral("mnuZoom"));
    const QStringList captions = {QStringLiteral("Целый &лист"), QStringLiteral("&Крупный"),
                                  QStringLiteral("&Два листа"), QStringLiteral("&Весь документ")};
    for (int i = 0; i < captions.size(); ++i) {
        QAction *choice = m_zoomMenu->addAction(captions[i]);
        choice->setObjectName(QStringLiteral("mnuZoom(%1)").arg(i));
        connect(choice, &QAction::triggered, this, [this, i] { setZoom(Zoom(i)); });
    }
    m_zoomButton->setMenu(m_zoomMenu);
    barLayout->addWidget(m_zoomButton);
    const auto addButton = [&](const QString &text, const QString &tip, auto slot) {
        auto *button = new QToolButton(bar);
        button->setText(text);
        button->setToolTip(tip);
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, slot);
        barLayout->addWidget(button);
        return button;
    };
    addButton(QStringLiteral("−"), QStringLiteral("Уменьшить"), [this] { m_view->zoomOut(); });
    addButton(QStringLiteral("+"), QStringLiteral("Увеличить"), [this] { m_view->zoomIn(); });
    addButton(QStringLiteral("◀"), QStringLiteral("Предыдущая страница"), [this] {
        m_view->setCurrentPage(std::max(1, m_view->currentPage() - 1));
    });
    addButton(QStringLiteral("▶"), QStringLiteral("Следующая страница"), [this] {
        m_view->setCurrentPage(std::min(m_view->pageCount(), m_view->currentPage() + 1));
    });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    barLayout->addWidget(m_pageLabel);
    barLayout->addStretch(1);
    layout->addWidget(bar);

    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("previewPages"));
    layout->addWidget(m_view, 1);
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paintPages);
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::showPageNumber);
    m_view->fitInView();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::changeEvent(QEvent *event)
{
    // The pages lie on the background the user chose for the grid and the preview.
    if (event->type() == QEvent::PaletteChange) {
        if (auto *pages = m_view->findChild<QGraphicsView *>())
            pages->setBackgroundBrush(palette().color(QPalette::Window));
    }
    QWidget::changeEvent(event);
}

void ReportPreview::setReport(std::optional<ReportContent> report)
{
    m_report = std::move(report);
    if (m_report)
        applyReportPageLayout(*m_report, *m_printer, m_userPageSize);
    m_view->updatePreview();
    m_view->setCurrentPage(1);
    showPageNumber();
}

int ReportPreview::pageCount() const
{
    return m_report ? m_view->pageCount() : 0;
}

void ReportPreview::paintPages(QPrinter *printer)
{
    if (m_report) {
        paintReport(*m_report, *printer);
        return;
    }
    // An empty sheet: the preview has nothing to show yet.
    QPainter painter(printer);
}

void ReportPreview::showPageNumber()
{
    m_pageLabel->setText(m_report ? QStringLiteral("Страница %1 из %2")
                                        .arg(m_view->currentPage())
                                        .arg(m_view->pageCount())
                                  : QString());
}

void ReportPreview::setZoom(Zoom zoom)
{
    switch (zoom) {
    case Zoom::WholePage:
        m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
        m_view->fitInView();
        break;
    case Zoom::Large:
        m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
        m_view->setZoomMode(QPrintPreviewWidget::FitToWidth);
        break;
    case Zoom::TwoPages:
        m_view->setViewMode(QPrintPreviewWidget::FacingPagesView);
        m_view->fitInView();
        break;
    case Zoom::AllPages:
        m_view->setViewMode(QPrintPreviewWidget::AllPagesView);
        break;
    }
}

bool ReportPreview::pageSetup()
{
    QPageSetupDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_userPageSize = true;
    // The orientation the user chose stays; the report's margins are kept.
    const QPageLayout::Orientation orientation = m_printer->pageLayout().orientation();
    if (m_report) {
        m_report->landscape = orientation == QPageLayout::Landscape;
        applyReportPageLayout(*m_report, *m_printer, true);
    }
    m_view->updatePreview();
    return true;
}

bool ReportPreview::print(const QString &docName)
{
    return m_report && printContent(this, *m_report, m_printer->pageLayout(), docName);
}

bool ReportPreview::printContent(QWidget *parent, ReportContent content,
                                 const QPageLayout &setup, const QString &docName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(setup);
    // The print dialog proposes the name of a file to print into from the job's name, cutting
    // whatever follows its last dot as an extension: a period "14.12.2026 – 18.12.2026" would
    // lose its year. An extension of its own keeps the name whole.
    printer.setDocName(docName.contains(u'.') ? docName + QStringLiteral(".pdf") : docName);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    applyReportPageLayout(content, printer, true);
    const bool range = printer.printRange() == QPrinter::PageRange;

    QProgressDialog progress(QStringLiteral("Идёт печать..."), QStringLiteral("Отмена"), 0,
                             0, parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const int pages = paintReport(content, printer, range ? printer.fromPage() : 0,
                                  range ? printer.toPage() : 0, [&](int page, int count) {
                                      progress.setMaximum(count);
                                      progress.setValue(page - 1);
                                      progress.setLabelText(
                                          QStringLiteral("Идёт печать...\nПечатается страница "
                                                         "%1 из %2")
                                              .arg(page)
                                              .arg(count));
                                      QApplication::processEvents();
                                      return !progress.wasCanceled();
                                  });
    if (pages == 0)
        printer.abort();
    return pages > 0;
}

} // namespace korvesta
