#include "printable.h"

namespace korvesta {

namespace {

bool dropped(char16_t c)
{
    if (c == u'\t' || c == u'\n' || c == u'\r')
        return false;
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0xfffe || c == 0xffff;
}

} // namespace

namespace {

// The first character printableText() would change; the length when none.
qsizetype firstUnprintable(QStringView text)
{
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (dropped(c) || QChar::isSurrogate(c))
            break;
    }
    return i;
}

} // namespace

bool isPrintable(QStringView text)
{
    return firstUnprintable(text) == text.size();
}

QString printableText(QStringView text)
{
    qsizetype i = firstUnprintable(text);
    const qsizetype n = text.size();
    // Most names hold nothing to drop: they are returned as they are.
    if (i == n)
        return text.toString();
    QString out;
    out.reserve(n);
    out += text.left(i);
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (dropped(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (QChar::isSurrogate(c)) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += text[i];
        }
    }
    return out;
}

void appendIcalText(QByteArray &out, QStringView text)
{
    // Written straight into room for the longest the text can take: three octets a UTF-16
    // unit (an escaped character takes two).
    const qsizetype n = text.size();
    const qsizetype start = out.size();
    out.resize(start + 3 * n);
    char *d = out.data() + start;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            switch (c) {
            case u'\\': case u';': case u',':
                *d++ = '\\';
                *d++ = char(c);
                break;
            case u'\r':
                if (i + 1 < n && text[i + 1] == u'\n')
                    ++i;
                [[fallthrough]];
            case u'\n':
                *d++ = '\\';
                *d++ = 'n';
                break;
            case u'\t':
                *d++ = ' ';
                break;
            default:
                if (!dropped(c))
                    *d++ = char(c);
            }
            continue;
        }
        if (dropped(c))
            continue;
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode()))
            code = QChar::surrogateToUcs4(c, text[++i].unicode()); // two units, four octets
        else if (QChar::isSurrogate(c))
            code = QChar::ReplacementCharacter;
        if (code < 0x800) {
            *d++ = char(0xC0 | (code >> 6));
        } else if (code < 0x10000) {
            *d++ = char(0xE0 | (code >> 12));
            *d++ = char(0x80 | ((code >> 6) & 0x3F));
        } else {
            *d++ = char(0xF0 | (code >> 18));
            *d++ = char(0x80 | ((code >> 12) & 0x3F));
            *d++ = char(0x80 | ((code >> 6) & 0x3F));
        }
        *d++ = char(0x80 | (code & 0x3F));
    }
    out.resize(d - out.constData());
}

QByteArray icalTextValue(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    appendIcalText(out, text);
    return out;
}

void appendFoldedIcalLine(QByteArray &out, QByteArrayView line)
{
    // Pieces of at most 75 octets (74 after the blank of a continuation), each ending before
    // the lead octet of a character.
    qsizetype room = 75;
    while (line.size() > room) {
        qsizetype cut = room;
        while (cut > 0 && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == 0)
            cut = room; // no character starts in reach: bytes that are no UTF-8 are cut anywhere
        out += line.first(cut);
        out += "\r\n ";
        line = line.sliced(cut);
        room = 74;
    }
    out += line;
    out += "\r\n";
}

QByteArray unfoldedIcalText(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (c == '\n' && i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) {
            ++i; // a continuation: its blank goes too
            continue;
        }
        out += c;
    }
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += '\n';
    return out;
}

} // namespace korvesta
