#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace korvesta {

// Names come from the document, where any program may have written any character. Before a
// name goes into a page, a calendar, a report or a spreadsheet, the characters no reader
// shows are dropped: NUL (which would cut the text short where it is read as a C string),
// the other control characters, and the characters XML forbids. Tab, line feed and carriage
// return stay; an unpaired surrogate becomes U+FFFD.
QString printableText(QStringView text);
// Whether printableText() would give the text back as it is.
bool isPrintable(QStringView text);

// A TEXT value of iCalendar (RFC 5545, 3.3.11): backslash, semicolon and comma escaped, a
// line break written as \n.
QByteArray icalTextValue(QStringView text);
// The same onto the end of `out`.
void appendIcalText(QByteArray &out, QStringView text);

// Appends a content line "NAME:VALUE" folded as RFC 5545 (3.1) asks: no line longer than 75
// octets, a continuation starting with a blank, never inside a character; CRLF at the end.
void appendFoldedIcalLine(QByteArray &out, QByteArrayView line);
// The content lines of iCalendar text with every folded line joined again, each ended by '\n'
// alone.
QByteArray unfoldedIcalText(QByteArrayView text);

} // namespace korvesta
