#include "busyindicator.h"

#include <QApplication>
#include <QPainter>

namespace korvesta {

namespace {

constexpr int kSpokes = 12;
constexpr int kSize = 40;

} // namespace

BusyIndicator::BusyIndicator(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Animation1"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(kSize, kSize);
    hide();
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        update();
    });
}

BusyIndicator::~BusyIndicator()
{
    while (m_depth > 0)
        stop();
}

QSize BusyIndicator::sizeHint() const
{
    return QSize(kSize, kSize);
}

void BusyIndicator::start(int animation)
{
    static_cast<void>(animation);
    if (m_depth++ > 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    centre();
    raise();
    show();
    m_timer.start();
}

void BusyIndicator::stop()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    m_timer.stop();
    hide();
    QApplication::restoreOverrideCursor();
}

void BusyIndicator::centre()
{
    if (const QWidget *pane = parentWidget())
        move((pane->width() - width()) / 2, (pane->height() - height()) / 2);
}

void BusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    QColor colour = palette().color(QPalette::Highlight);
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke of the current step is the darkest; the others fade behind it.
        const int age = (m_step - i + kSpokes) % kSpokes;
        colour.setAlphaF(1.0 - age / double(kSpokes));
        painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(i * 360.0 / kSpokes);
        painter.drawLine(QPointF(0, -kSize / 4.0), QPointF(0, -kSize / 2.0 + 3));
        painter.restore();
    }
}

} // namespace korvesta
