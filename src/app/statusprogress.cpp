#include "statusprogress.h"

#include "statusbarpanels.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QWindow>

#include <algorithm>

namespace korvesta {

namespace {

// How often the window may repaint while the change runs: often enough to look alive, rarely
// enough to cost nothing.
constexpr qint64 kBreathMs = 40;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

StatusProgress::StatusProgress(StatusBarPanels *panels, QWidget *keepsInput)
    : m_panels(panels)
    , m_keepsInput(keepsInput)
{
    // A long text and the bar must not widen the window: the comment panel takes what
    // room is left while the change runs.
    if (m_panels) {
        QLabel *comment = m_panels->panel(StatusBarPanels::Comment);
        m_commentPolicy = comment->sizePolicy();
        comment->setSizePolicy(QSizePolicy::Ignored, m_commentPolicy.verticalPolicy());
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    m_sinceBreath.start();
}

StatusProgress::~StatusProgress()
{
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    if (m_bar && m_panels) {
        m_panels->removeWidget(m_bar);
        m_bar->deleteLater();
    }
    for (QLabel *label : m_hidden) {
        if (label)
            label->show();
    }
    if (m_panels)
        m_panels->panel(StatusBarPanels::Comment)->setSizePolicy(m_commentPolicy);
}

void StatusProgress::status(const QString &text)
{
    if (!m_panels)
        return;
    m_panels->setPanelText(StatusBarPanels::Comment, text);
    m_panels->panel(StatusBarPanels::Comment)->repaint();
}

void StatusProgress::advance(int done, int total)
{
    if (!m_panels || total <= 0)
        return;
    if (!m_bar) {
        // The bar takes the place of today's date and the clock, which nobody reads while
        // the change runs, so that the comment keeps its room.
        int width = 0;
        for (int panel = StatusBarPanels::TodayLabel; panel <= StatusBarPanels::Time; ++panel) {
            QLabel *label = m_panels->panel(panel);
            width += label->width();
            if (label->isVisible()) {
                label->hide();
                m_hidden.push_back(label);
            }
        }
        m_bar = new QProgressBar(m_panels);
        m_bar->setObjectName(QStringLiteral("StatusBar1Progress"));
        m_bar->setFixedWidth(std::max(
            width, m_bar->fontMetrics().horizontalAdvance(QStringLiteral("000 из 000")) + 24));
        // No taller than the panels, or the whole window would move for a moment.
        m_bar->setMaximumHeight(m_panels->panel(StatusBarPanels::Comment)->sizeHint().height());
        m_bar->setTextVisible(true);
        m_bar->setFormat(QStringLiteral("%v из %m"));
        m_panels->insertPermanentWidget(0, m_bar);
        m_bar->show();
    }
    m_bar->setMaximum(total);
    m_bar->setValue(done);
    breathe(done == 0 || done == total);
}

bool StatusProgress::cancelled()
{
    breathe();
    return m_cancelled;
}

void StatusProgress::breathe(bool now)
{
    if (!now && m_sinceBreath.elapsed() < kBreathMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    m_sinceBreath.restart();
}

bool StatusProgress::eventFilter(QObject *watched, QEvent *event)
{
    if (!isUserInput(event->type()))
        return false;
    if (m_keepsInput) {
        // Input reaches the window system's window first, then the widget.
        if (watched->isWidgetType()) {
            const auto *widget = static_cast<QWidget *>(watched);
            if (widget == m_keepsInput || m_keepsInput->isAncestorOf(widget))
                return false;
        } else if (watched == m_keepsInput->window()->windowHandle()) {
            return false;
        }
    }
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        m_cancelled = true;
    return true; // the window waits until the change is over
}

} // namespace korvesta
