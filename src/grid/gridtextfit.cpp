#include "grid/gridtextfit.h"

#include <algorithm>
#include <vector>

namespace korvesta {

namespace {

const QChar Ellipsis(0x2026);

// The beginning of a line up to `length` characters, never splitting a surrogate pair, with
// the blanks at its end dropped.
QString beginning(const QString &line, qsizetype length)
{
    if (length > 0 && length < line.size() && line.at(length - 1).isHighSurrogate())
        --length;
    QString part = line.left(length);
    while (!part.isEmpty() && part.back().isSpace())
        part.chop(1);
    return part;
}

// The words of a line with the blanks before each, so that a wrapped line keeps the spacing
// it was written with ("Матем  101").
struct Word
{
    QString gap;
    QString text;
};

std::vector<Word> words(const QString &line)
{
    std::vector<Word> result;
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype gapStart = i;
        while (i < line.size() && line.at(i) == u' ')
            ++i;
        const qsizetype wordStart = i;
        while (i < line.size() && line.at(i) != u' ')
            ++i;
        result.push_back(
            {line.mid(gapStart, wordStart - gapStart), line.mid(wordStart, i - wordStart)});
    }
    return result;
}

void wrapLine(const QString &line, int width, const TextWidth &measure, QStringList &out)
{
    if (measure(line) <= width) {
        out << line;
        return;
    }
    QString current;
    bool started = false;
    for (const Word &word : words(line)) {
        if (!started) {
            current = word.gap + word.text; // blanks that begin a line stay
            started = true;
            continue;
        }
        const QString longer = current + word.gap + word.text;
        if (measure(longer) <= width || current.trimmed().isEmpty()) {
            current = longer;
        } else {
            out << current;
            current = word.text;
        }
    }
    out << current;
}

// The line ended by "…" to show that more follows it.
QString withEllipsis(const QString &line, int width, const TextWidth &measure)
{
    if (line.endsWith(Ellipsis))
        return line; // cut already
    const QString marked = beginning(line, line.size()) + Ellipsis;
    if (measure(marked) <= width)
        return marked;
    return elideEnd(line, width, measure);
}

} // namespace

QString elideEnd(const QString &line, int width, const TextWidth &measure)
{
    // The widest beginning: a binary search, as widths grow with length.
    qsizetype low = 0;
    qsizetype high = line.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (measure(beginning(line, mid) + Ellipsis) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return beginning(line, low) + Ellipsis;
}

FittedText fitText(const QString &text, int width, int maxLines, bool wrap,
                   const TextWidth &measure)
{
    FittedText fitted;
    const QStringList paragraphs = text.split(u'\n');
    for (QString paragraph : paragraphs) {
        // Blanks at the end of a line show nothing and need no room.
        while (paragraph.endsWith(u' '))
            paragraph.chop(1);
        if (wrap)
            wrapLine(paragraph, width, measure, fitted.lines);
        else
            fitted.lines << paragraph;
    }
    for (QString &line : fitted.lines) {
        if (measure(line) > width) {
            line = elideEnd(line, width, measure);
            fitted.cut = true;
        }
    }
    const qsizetype shown = std::max(maxLines, 1);
    if (fitted.lines.size() > shown) {
        fitted.lines.resize(shown);
        fitted.lines.back() = withEllipsis(fitted.lines.back(), width, measure);
        fitted.cut = true;
    }
    return fitted;
}

} // namespace korvesta
