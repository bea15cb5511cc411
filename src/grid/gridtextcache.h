#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <QStringList>

#include <functional>

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

    // A text wrapped or cut to the room of its cell: its lines, and the room's left edge
    // (from the cell's) and width, which a single word may widen into the padding.
    struct Fit
    {
        QStringList lines;
        int left = 0;
        int width = 0;
    };

    // Empties the cache when the font is not the one its lines were laid out in.
    void useFont(const QFont &font);
    const Line &line(const QString &text, bool bold, const QFont &font);
    // The fit of a text to a room as found before, else as `make` finds it. The room is named
    // by everything the fit depends on besides the text and the font.
    const Fit &fit(const QString &text, bool bold, const QString &room,
                   const std::function<Fit()> &make);

private:
    static constexpr qsizetype MaxLines = 20000;

    const Line &laidOut(QHash<QString, Line> &lines, const QString &key, const QString &text,
                        const QFont &font);

    QFont m_font;
    QHash<QString, Line> m_lines[2]; // normal, bold
    QHash<QString, Fit> m_fits[2];
};

} // namespace korvesta
