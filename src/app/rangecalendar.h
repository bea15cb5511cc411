#pragma once

#include <QCalendarWidget>
#include <QDate>

namespace korvesta {

// A month calendar that selects a range of days: a click picks one day, a click with Shift
// held extends the range to the clicked day. The range is shaded.
class RangeCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit RangeCalendar(QWidget *parent = nullptr);

    QDate rangeStart() const { return m_start; }
    QDate rangeEnd() const { return m_end; }
    void setRange(const QDate &first, const QDate &last);

signals:
    void rangeChanged(const QDate &first, const QDate &last);

private:
    void dayClicked(const QDate &date);
    void shade(const QDate &first, const QDate &last, bool on);

    QDate m_start;
    QDate m_end;
};

} // namespace korvesta
