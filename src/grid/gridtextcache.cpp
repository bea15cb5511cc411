#include "gridtextcache.h"

#include <QFontMetrics>

namespace korvesta {

void GridTextCache::useFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    for (int i = 0; i < 2; ++i) {
        m_lines[i].clear();
        m_elided[i].clear();
    }
}

const GridTextCache::Line &GridTextCache::line(const QString &text, bool bold, const QFont &font)
{
    return laidOut(m_lines[bold ? 1 : 0], text, text, font);
}

const GridTextCache::Line &GridTextCache::elided(const QString &text, bool bold,
                                                 const QFont &font, int width)
{
    QHash<QString, Line> &lines = m_elided[bold ? 1 : 0];
    const QString key = QString::number(width) + QChar(0x1F) + text;
    auto it = lines.find(key);
    if (it != lines.end())
        return *it;
    return laidOut(lines, key, QFontMetrics(font).elidedText(text, Qt::ElideRight, width), font);
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
