#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

namespace korvesta {

// Lines of cell text as painted before: their width and their laid-out glyphs, so that
// repainting a screen of cells, which mostly shows the texts it showed a moment ago, does not
// measure and shape them again. Owned by the view and kept across paints; emptied when the
// grid's font changes or when it has grown large.
class GridTextCache
{
public:
    struct Line
    {
        int width = 0;
        QStaticText text;
    };

    // Empties the cache when the font is not the one its lines were laid out in.
    void useFont(const QFont &font);
    const Line &line(const QString &text, bool bold, const QFont &font);

private:
    static constexpr qsizetype MaxLines = 20000;

    const Line &laidOut(QHash<QString, Line> &lines, const QString &key, const QString &text,
                        const QFont &font);

    QFont m_font;
    QHash<QString, Line> m_lines[2]; // normal, bold
};

} // namespace korvesta
