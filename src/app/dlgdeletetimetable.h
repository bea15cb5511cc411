#pragma once

#include <QDate>
#include <QDialog>

#include <array>

class QRadioButton;

namespace korvesta {

// "Удаление расписания": which timetable to delete, that of the calendar's date, of its
// week or of the whole period. The dialog only asks; the window deletes once it is accepted.
class dlgDeleteTimeTable : public QDialog
{
    Q_OBJECT

public:
    enum class Range { Date, Week, WholePeriod };

    explicit dlgDeleteTimeTable(const QDate &date, QWidget *parent = nullptr);

    Range range() const;
    // The dates of the chosen range; null for the whole period.
    QDate first() const;
    QDate last() const;

private:
    QDate m_date;
    QDate m_monday;
    std::array<QRadioButton *, 3> m_options{};
};

} // namespace korvesta
