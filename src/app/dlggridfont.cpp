#include "dlggridfont.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvesta {

dlgGridFont::dlgGridFont(const QFont &font, const QColor &color, QWidget *parent)
    : QDialog(parent)
    , m_fonts(new QFontDialog(font, this))
    , m_colorButton(new QToolButton(this))
{
    setObjectName(QStringLiteral("dlgGridFont"));
    setWindowTitle(QStringLiteral("Шрифт таблицы"));

    // Qt's font page, embedded without its own buttons: the colour goes with it.
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);

    auto *colorLabel = new QLabel(QStringLiteral("&Цвет текста:"), this);
    colorLabel->setBuddy(m_colorButton);
    m_colorButton->setObjectName(QStringLiteral("cmdFontColor"));
    m_colorButton->setIconSize(QSize(40, 14));
    connect(m_colorButton, &QToolButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(m_color, this);
        if (chosen.isValid())
            setColor(chosen);
    });
    setColor(color.isValid() ? color : QColor(Qt::black));

    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_colorButton);
    colorRow->addStretch(1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

QFont dlgGridFont::selectedFont() const
{
    return m_fonts->currentFont();
}

void dlgGridFont::setColor(const QColor &color)
{
    m_color = color;
    QPixmap swatch(m_colorButton->iconSize());
    swatch.fill(color);
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    m_colorButton->setIcon(swatch);
}

} // namespace korvesta
