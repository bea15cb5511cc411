#include "gridtextcache.h"

#include <QFontMetrics>

namespace korvesta {

void GridTextCache::useFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    for (QHash<QString, Line> &lines : m_lines)
        lines.clear();
    for (QHash<QString, Fit> &fits : m_fits)
        fits.clear();
}

const GridTextCache::Fit &GridTextCache::fit(const QString &text, bool bold, const QString &room,
                                             const std::function<Fit()> &make)
{
    QHash<QString, Fit> &fits = m_fits[bold ? 1 : 0];
    const QString key = room + QChar(0x1F) + text;
    auto it = fits.find(key);
    if (it != fits.end())
        return *it;
    if (fits.size() >= MaxLines)
        fits.clear();
    return *fits.insert(key, make());
}

const GridTextCache::Line &GridTextCache::line(const QString &text, bool bold, const QFont &font)
{
    return laidOut(m_lines[bold ? 1 : 0], text, text, font);
}

const GridTextCache::Line &GridTextCache::laidOut(QHash<QString, Line> &lines,
                                                  const QString &key, const QString &text,
                                                  const QFont &font)
{
    auto it = lines.find(key);
    if (it != lines.end())
        return *it;
    if (lines.size() >= MaxLines)
        lines.clear();
    Line line;
    line.width = QFontMetrics(font).horizontalAdvance(text);
    line.text.setText(text);
    line.text.setTextFormat(Qt::PlainText);
    line.text.setPerformanceHint(QStaticText::AggressiveCaching);
    line.text.prepare(QTransform(), font);
    return *lines.insert(key, std::move(line));
}

} // namespace korvesta
