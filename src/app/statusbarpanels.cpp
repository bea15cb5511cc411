#include "statusbarpanels.h"

#include "views/datechange.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>

#include <algorithm>
#include <iterator>

namespace korvesta {

namespace {

struct PanelSpec
{
    QString text;
    QString toolTip;
    const char *widest; // sets the panel's width so that it does not jump; null: the text
};

const PanelSpec kPanels[StatusBarPanels::PanelCount] = {
    {QStringLiteral("Сегодня:"), QString(), nullptr},
    {QString(), QStringLiteral("Текущая дата"), "00.00.0000"},
    {QStringLiteral("Время:"), QString(), nullptr},
    {QString(), QStringLiteral("Текущее время"), "00:00"},
    {QStringLiteral("CAPS"), QString(), nullptr},
    {QStringLiteral("NUM"), QString(), nullptr},
    {QStringLiteral("Дата расписания:"), QStringLiteral("Клик для показа календаря"), nullptr},
    {DateChange::TodayText, QStringLiteral("Клик для показа календаря"), "00.00.0000"},
    {QStringLiteral("Рабочая неделя"), QString(), nullptr},
    {QString(), QStringLiteral("Номер рабочей недели"), "000"},
    {QString(), QString(), nullptr},
};

} // namespace

StatusBarPanels::StatusBarPanels(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < PanelCount; ++i) {
        const PanelSpec &spec = kPanels[i];
        auto *label = new QLabel(spec.text, this);
        label->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        label->setToolTip(spec.toolTip);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        if (spec.widest) {
            const int width = label->fontMetrics().horizontalAdvance(
                                  QString::fromLatin1(spec.widest))
                              + 16;
            label->setMinimumWidth(width);
            label->setAlignment(Qt::AlignCenter);
        }
        label->installEventFilter(this);
        // A long comment is cut at the panel's edge (and told whole in its tooltip) rather
        // than widening the window.
        if (i + 1 == Comment)
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        // Permanent, so that a passing message never hides the panels.
        addPermanentWidget(label, i + 1 == Comment ? 1 : 0);
        m_panels[std::size_t(i)] = label;
    }
    // Not one of the numbered panels: it shows only while a filter narrows the view.
    m_filter = new QLabel(this);
    m_filter->setObjectName(QStringLiteral("StatusBar1Filter"));
    m_filter->setToolTip(
        QStringLiteral("Показаны не все строки: выберите \"Все\" в меню фильтра"));
    m_filter->setFrameShape(QFrame::StyledPanel);
    m_filter->setFrameShadow(QFrame::Sunken);
    m_filter->setContentsMargins(4, 0, 4, 0);
    m_filter->setStyleSheet(QStringLiteral("font-weight: bold"));
    insertPermanentWidget(Comment - 1, m_filter);
    m_filter->hide();
    panel(CalendarLabel)->setCursor(Qt::PointingHandCursor);
    panel(CalendarDate)->setCursor(Qt::PointingHandCursor);
    panel(Caps)->setAlignment(Qt::AlignCenter);
    panel(Num)->setAlignment(Qt::AlignCenter);

    m_clock.setSingleShot(true);
    connect(&m_clock, &QTimer::timeout, this, [this] {
        refreshClock();
        refreshLocks(); // the lock keys may have changed in another program
    });
    refreshClock();
    refreshLocks();
}

QLabel *StatusBarPanels::panel(int number) const
{
    if (number < 1 || number > PanelCount)
        return nullptr;
    return m_panels[std::size_t(number - 1)];
}

QString StatusBarPanels::panelText(int number) const
{
    const QLabel *label = panel(number);
    return label ? label->text() : QString();
}

void StatusBarPanels::setPanelText(int number, const QString &text)
{
    if (QLabel *label = panel(number)) {
        label->setText(text);
        if (number == Comment)
            label->setToolTip(text);
    }
}

void StatusBarPanels::showFilter(const QString &entry)
{
    m_filter->setText(entry.isEmpty() ? QString() : QStringLiteral("Фильтр: ") + entry);
    m_filter->setVisible(!entry.isEmpty());
    fitPanels();
}

void StatusBarPanels::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    fitPanels();
}

void StatusBarPanels::fitPanels()
{
    constexpr int kCommentRoom = 200; // pixels
    static constexpr Panel kHiddenFirst[][2] = {{TimeLabel, Time}, {TodayLabel, Today}, {Caps, Num}};
    const int spacing = std::max(layout() ? layout()->spacing() : 0, 6);
    const auto widthOf = [&](QLabel *label) {
        return std::max(label->sizeHint().width(), label->minimumWidth()) + spacing;
    };
    int used = 32; // the margins and the size grip
    for (int number = TodayLabel; number < Comment; ++number)
        used += widthOf(panel(number));
    if (!m_filter->text().isEmpty())
        used += widthOf(m_filter);
    size_t hidden = 0;
    while (hidden < std::size(kHiddenFirst) && width() - used < kCommentRoom) {
        for (const Panel p : kHiddenFirst[hidden])
            used -= widthOf(panel(p));
        ++hidden;
    }
    for (size_t i = 0; i < std::size(kHiddenFirst); ++i) {
        for (const Panel p : kHiddenFirst[i])
            panel(p)->setVisible(i >= hidden);
    }
}

void StatusBarPanels::refreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    setPanelText(Today, DateChange::formatDate(now.date()));
    setPanelText(Time, now.time().toString(QStringLiteral("HH:mm")));
    scheduleClock();
}

void StatusBarPanels::scheduleClock()
{
    // Wakes just after the next minute begins rather than every second.
    const QTime now = QTime::currentTime();
    const int toNextMinute = (60 - now.second()) * 1000 - now.msec() + 50;
    m_clock.start(toNextMinute);
}

void StatusBarPanels::refreshLocks()
{
    const KeyboardLocks::State state = m_locks.query();
    panel(Caps)->setEnabled(state.caps);
    panel(Num)->setEnabled(state.num);
}

void StatusBarPanels::lockKeyPressed(int key)
{
    m_locks.lockKeyPressed(key);
    refreshLocks();
}

bool StatusBarPanels::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            for (int i = 0; i < PanelCount; ++i) {
                if (m_panels[std::size_t(i)] == watched) {
                    emit panelClicked(i + 1);
                    return true;
                }
            }
        }
    }
    return QStatusBar::eventFilter(watched, event);
}

} // namespace korvesta
