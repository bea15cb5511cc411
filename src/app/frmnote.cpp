#include "frmnote.h"

#include "editing/datenote.h"
#include "grid/twips.h"
#include "settings/settingsstore.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QTimer>
#include <QVBoxLayout>

namespace korvesta {

namespace {

const QString kSection = QStringLiteral("Note");
constexpr qreal kFaint = 100.0 / 255.0;  // the opacity a window appears from
constexpr qreal kDimmed = 150.0 / 255.0; // an idle window
constexpr int kIdleMs = 8000;
constexpr int kFadeMs = 300;
constexpr int kSlideMs = 250;

} // namespace

frmNote::frmNote(DateNote &note, SettingsStore &settings, const QDate &date, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_note(note)
    , m_settings(settings)
    , m_date(date)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmNote"));
    setWindowTitle(QStringLiteral("Блокнот"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);

    m_label = new QLabel(QStringLiteral("Дата:  ") + date.toString(QStringLiteral("dd.MM.yyyy"))
                             + QLatin1Char('\n'),
                         this);
    m_label->setObjectName(QStringLiteral("lblDateNote"));
    m_label->setMouseTracking(true);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtNote"));
    m_text->setPlainText(note.load(date));
    m_text->setMouseTracking(true);
    m_text->viewport()->setMouseTracking(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_text, 1);
    for (QObject *part : {static_cast<QObject *>(m_label), static_cast<QObject *>(m_text),
                          static_cast<QObject *>(m_text->viewport())})
        part->installEventFilter(this);
    connect(m_text, &QPlainTextEdit::textChanged, this, &frmNote::touched);

    m_idle = new QTimer(this);
    m_idle->setObjectName(QStringLiteral("Timer1"));
    m_idle->setInterval(kIdleMs);
    connect(m_idle, &QTimer::timeout, this, &frmNote::idleTimeout);

    resize(twipsToPixels(m_settings.readInt(kSection, QStringLiteral("Width"), 3600)),
           twipsToPixels(m_settings.readInt(kSection, QStringLiteral("Height"), 4200)));
}

frmNote::~frmNote() = default;

QRect frmNote::placeBeside() const
{
    const QRect main = m_mainWindow ? m_mainWindow->frameGeometry() : QRect();
    return QRect(QPoint(main.right() - width(), main.top() + 60), size());
}

void frmNote::appear(bool animated)
{
    const QRect end = placeBeside();
    setWindowOpacity(kFaint);
    if (!animated) {
        setGeometry(end);
        show();
        setWindowOpacity(1.0);
    } else {
        setGeometry(end.translated(end.width() / 2, 0));
        show();
        auto *slide = new QPropertyAnimation(this, "pos", this);
        slide->setDuration(kSlideMs);
        slide->setEndValue(end.topLeft());
        connect(slide, &QPropertyAnimation::finished, this, [this] { fadeTo(1.0, true); });
        slide->start(QAbstractAnimation::DeleteWhenStopped);
    }
    m_armed = true;
    m_dimmed = false;
    m_fadedByTimer = false;
    m_idle->start();
    m_text->setFocus();
}

void frmNote::fadeTo(qreal opacity, bool animated)
{
    if (m_fade)
        m_fade->stop();
    if (!animated) {
        setWindowOpacity(opacity);
        return;
    }
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setDuration(kFadeMs);
    m_fade->setEndValue(opacity);
    m_fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void frmNote::idleTimeout()
{
    if (!m_armed || m_fadedByTimer || m_leaving)
        return;
    fadeTo(kDimmed, isVisible());
    m_dimmed = true;
    m_fadedByTimer = true;
}

// The text, the date or a key was touched: a dimmed window comes back.
void frmNote::touched()
{
    if (m_armed)
        m_armed = false;
    if (m_dimmed) {
        fadeTo(1.0, isVisible());
        m_dimmed = false;
    }
}

void frmNote::mouseMoveEvent(QMouseEvent *event)
{
    m_armed = true;
    m_fadedByTimer = false;
    m_idle->start();
    QWidget::mouseMoveEvent(event);
}

bool frmNote::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::KeyPress:
        touched();
        break;
    default:
        break;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_F9 || key == Qt::Key_Escape) {
            leave();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmNote::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F9 || event->key() == Qt::Key_Escape) {
        leave();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmNote::leave(bool animated)
{
    if (m_leaving)
        return;
    m_leaving = true;
    m_idle->stop();
    // The note is safe before anything moves.
    if (!m_stored) {
        m_stored = true;
        m_note.store(m_date, m_text->toPlainText());
    }
    if (!animated || !isVisible()) {
        close();
        return;
    }
    auto *slide = new QPropertyAnimation(this, "pos", this);
    slide->setDuration(kSlideMs);
    slide->setEndValue(pos() + QPoint(width() / 2, 0));
    connect(slide, &QPropertyAnimation::finished, this, &QWidget::close);
    fadeTo(kDimmed, true);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void frmNote::closeEvent(QCloseEvent *event)
{
    if (!m_stored) {
        m_stored = true;
        m_leaving = true;
        m_note.store(m_date, m_text->toPlainText());
    }
    emit closed();
    QWidget::closeEvent(event);
    event->accept();
}

void frmNote::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (width() > 0 && height() > 0) {
        m_settings.writeInt(kSection, QStringLiteral("Width"), pixelsToTwips(width()));
        m_settings.writeInt(kSection, QStringLiteral("Height"), pixelsToTwips(height()));
    }
}

} // namespace korvesta
