#include "rangecalendar.h"

#include <QApplication>
#include <QPalette>
#include <QTextCharFormat>

#include <utility>

namespace korvesta {

RangeCalendar::RangeCalendar(QWidget *parent)
    : QCalendarWidget(parent)
{
    setToolTip(QStringLiteral("Щелчок выбирает день, щелчок с нажатой клавишей Shift "
                              "продлевает период до выбранного дня"));
    connect(this, &QCalendarWidget::clicked, this, &RangeCalendar::dayClicked);
    const QDate today = QDate::currentDate();
    setRange(today, today);
}

void RangeCalendar::setRange(const QDate &first, const QDate &last)
{
    QDate from = first;
    QDate to = last;
    if (from > to)
        std::swap(from, to);
    if (from == m_start && to == m_end)
        return;
    shade(m_start, m_end, false);
    m_start = from;
    m_end = to;
    shade(m_start, m_end, true);
    emit rangeChanged(m_start, m_end);
}

void RangeCalendar::dayClicked(const QDate &date)
{
    if (QApplication::keyboardModifiers() & Qt::ShiftModifier)
        setRange(date < m_start ? date : m_start, date < m_start ? m_end : date);
    else
        setRange(date, date);
}

void RangeCalendar::shade(const QDate &first, const QDate &last, bool on)
{
    if (!first.isValid() || !last.isValid())
        return;
    QTextCharFormat format;
    if (on) {
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(60);
        format.setBackground(tint);
    }
    // Long ranges shade only what the calendar can show around them.
    const QDate from = std::max(first, last.addYears(-2));
    for (QDate day = from; day <= last; day = day.addDays(1))
        setDateTextFormat(day, format);
}

} // namespace korvesta
