#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QToolButton;

namespace korvesta {

// The grid's font dialog: face, style and size, and the colour of the text.
class dlgGridFont : public QDialog
{
    Q_OBJECT

public:
    dlgGridFont(const QFont &font, const QColor &color, QWidget *parent = nullptr);

    QFont selectedFont() const;
    QColor selectedColor() const { return m_color; }

private:
    void setColor(const QColor &color);

    QFontDialog *m_fonts;
    QToolButton *m_colorButton;
    QColor m_color;
};

} // namespace korvesta
