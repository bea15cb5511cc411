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

QString printableText(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    // Most names hold nothing to drop: they are returned as they are.
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (dropped(c) || QChar::isSurrogate(c))
            break;
    }
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

QByteArray icalTextValue(QStringView text)
{
    const QByteArray utf8 = printableText(text).toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            out += "\\n";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray foldedIcalLine(const QByteArray &line)
{
    QByteArray out;
    out.reserve(line.size() + line.size() / 70 * 3 + 2);
    qsizetype width = 0; // octets on the current line
    for (qsizetype i = 0; i < line.size();) {
        // The octets of one character: a lead byte and its continuation bytes.
        qsizetype end = i + 1;
        while (end < line.size() && (uchar(line[end]) & 0xC0) == 0x80)
            ++end;
        if (width + (end - i) > 75) {
            out += "\r\n ";
            width = 1;
        }
        out.append(line.constData() + i, end - i);
        width += end - i;
        i = end;
    }
    out += "\r\n";
    return out;
}

} // namespace korvesta
