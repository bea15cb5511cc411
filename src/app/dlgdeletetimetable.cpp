#include "dlgdeletetimetable.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvesta {

namespace {

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace

dlgDeleteTimeTable::dlgDeleteTimeTable(const QDate &date, QWidget *parent)
    : QDialog(parent)
    , m_date(date)
    , m_monday(date.addDays(1 - date.dayOfWeek()))
{
    setObjectName(QStringLiteral("dlgDeleteTimeTable"));
    setWindowTitle(QStringLiteral("Удаление расписания"));

    auto *label = new QLabel(QStringLiteral("Диапазон удаляемого расписания"), this);
    label->setObjectName(QStringLiteral("Label1"));
    const QString texts[] = {
        QStringLiteral("На дату: ") + dateText(m_date),
        QStringLiteral("На неделю: ") + dateText(m_monday) + QStringLiteral(" - ")
            + dateText(m_monday.addDays(6)),
        QStringLiteral("Весь учебный период"),
    };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(texts[i], this);
        option->setObjectName(QStringLiteral("optDeleteTimeTable(%1)").arg(i));
        layout->addWidget(option);
        m_options[size_t(i)] = option;
    }
    m_options[0]->setChecked(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("Удалить"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

dlgDeleteTimeTable::Range dlgDeleteTimeTable::range() const
{
    if (m_options[1]->isChecked())
        return Range::Week;
    if (m_options[2]->isChecked())
        return Range::WholePeriod;
    return Range::Date;
}

QDate dlgDeleteTimeTable::first() const
{
    switch (range()) {
    case Range::Date:
        return m_date;
    case Range::Week:
        return m_monday;
    case Range::WholePeriod:
        break;
    }
    return QDate();
}

QDate dlgDeleteTimeTable::last() const
{
    switch (range()) {
    case Range::Date:
        return m_date;
    case Range::Week:
        return m_monday.addDays(6);
    case Range::WholePeriod:
        break;
    }
    return QDate();
}

} // namespace korvesta
