#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace korvesta {

// How a cell's text is laid out in the room it has. Line breaks are kept; with wrapping on, a
// line too wide for the cell breaks at the blanks between its words; a word or line still too
// wide is cut at its end with "…", and so is the last line shown when the lines are more than
// the cell's height holds. A text is never cut at its start, so a centred text that does not
// fit shows its beginning.
struct FittedText
{
    QStringList lines;
    bool cut = false; // some of the text is not shown

    friend bool operator==(const FittedText &, const FittedText &) = default;
};

// The width of a line in pixels.
using TextWidth = std::function<int(const QString &)>;

// `maxLines` below 1 counts as 1.
FittedText fitText(const QString &text, int width, int maxLines, bool wrap,
                   const TextWidth &measure);

// The line cut at its end, with "…", to the widest beginning that fits; "…" alone when no
// beginning does.
QString elideEnd(const QString &line, int width, const TextWidth &measure);

} // namespace korvesta
