#include "frmabout.h"

#include "appicons.h"
#include "data/engineversion.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#ifndef KORVESTA_VERSION
#define KORVESTA_VERSION "0.0"
#endif
#ifndef KORVESTA_BUILD_DATE
#define KORVESTA_BUILD_DATE ""
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

    // What a support request needs: the build and the libraries actually loaded.
    auto *details = new QLabel(this);
    details->setObjectName(QStringLiteral("lblVersions"));
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QString built = QStringLiteral(KORVESTA_BUILD_DATE);
    details->setText(QStringLiteral("Дата сборки: %1\nSQLite %2\nQt %3")
                         .arg(built.isEmpty() ? QStringLiteral("неизвестна") : built,
                              sqliteVersion(), QString::fromLatin1(qVersion())));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *column = new QVBoxLayout;
    column->addWidget(text);
    column->addWidget(details);
    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addLayout(column, 1);
    row->setSpacing(16);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedWidth(420);
}

} // namespace korvesta
