#include "frmabout.h"

#include "appicons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#ifndef KORVESTA_VERSION
#define KORVESTA_VERSION "0.0"
#endif

namespace korvesta {

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));

    auto *icon = new QLabel(this);
    icon->setPixmap(appIcon(QStringLiteral("APP")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto *text = new QLabel(this);
    text->setObjectName(QStringLiteral("lblAbout"));
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    text->setText(
        QStringLiteral("<h2>Тарвела</h2>"
                       "<p>Версия %1</p>"
                       "<p>Планировщик учебного расписания: списки групп, дисциплин, "
                       "аудиторий и преподавателей, учебная нагрузка, расписание занятий "
                       "по дням с проверкой накладок, табель и отработка часов.</p>")
            .arg(QStringLiteral(KORVESTA_VERSION)));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    row->setSpacing(16);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedWidth(420);
}

} // namespace korvesta
