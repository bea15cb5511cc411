#include "xlsxsheet.h"

#include "importlimits.h"
#include "zipmember.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zip.h>

#include <cmath>
#include <map>
#include <memory>

namespace korvesta {

namespace {

struct ZipCloser
{
    void operator()(zip_t *zip) const { zip_discard(zip); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

// The XML of a part of the book, fed to the reader piece by piece as it is unpacked, so that
// a sheet of any size is read in the memory of one piece.
class PartXml
{
public:
    PartXml(zip_t *zip, const QString &name)
        : m_part(zip, name)
    {}
    bool exists() const { return m_part.exists(); }
    QXmlStreamReader &reader() { return m_xml; }

    // The next token; false at the end of the document or when it cannot be read on.
    bool next()
    {
        for (;;) {
            m_xml.readNext();
            if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
                const QByteArray piece = m_part.next();
                if (piece.isEmpty())
                    return false;
                m_xml.addData(piece);
                continue;
            }
            return !m_xml.hasError() && !m_xml.isEndDocument();
        }
    }
    // Why the part was not read to its end: a limit or damage; empty when it was.
    QString problem() const
    {
        if (!m_part.problem().isEmpty())
            return m_part.problem();
        if (m_xml.hasError())
            return QStringLiteral("разметка XML нарушена, строка %1").arg(m_xml.lineNumber());
        return QString();
    }
    bool damaged() const { return m_part.damaged() || (m_part.problem().isEmpty() && m_xml.hasError()); }

private:
    ZipMember m_part;
    QXmlStreamReader m_xml;
};

// The whole text of a small part (the book's index and relationships, its styles).
std::optional<QByteArray> part(zip_t *zip, const QString &name)
{
    ZipMember member(zip, name);
    if (!member.exists())
        return std::nullopt;
    QByteArray data = member.readAll();
    if (!member.problem().isEmpty())
        return std::nullopt;
    return data;
}

// The book's shared texts; a problem when they pass the limits.
QStringList sharedStrings(zip_t *zip, QString &problem)
{
    using namespace importlimits;
    QStringList strings;
    PartXml part(zip, QStringLiteral("xl/sharedStrings.xml"));
    if (!part.exists())
        return strings;
    QXmlStreamReader &xml = part.reader();
    QString current;
    qint64 total = 0;
    int depthInPhonetic = 0;
    bool inText = false;
    while (part.next()) {
        if (xml.isStartElement()) {
            if (xml.name() == u"si")
                current.clear();
            else if (xml.name() == u"rPh")
                ++depthInPhonetic;
            else if (xml.name() == u"t")
                inText = depthInPhonetic == 0;
        } else if (xml.isCharacters() && inText) {
            current += xml.text();
            total += xml.text().size();
            if (current.size() > kCellChars || total > kSharedChars) {
                problem = current.size() > kCellChars
                              ? QStringLiteral("текст %1-й ячейки книги длиннее %2 знаков")
                                    .arg(strings.size() + 1)
                                    .arg(kCellChars)
                              : QStringLiteral("тексты ячеек книги вместе длиннее %1 млн знаков")
                                    .arg(kSharedChars / 1000000);
                return {};
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == u"si")
                strings << current;
            else if (xml.name() == u"rPh")
                --depthInPhonetic;
            else if (xml.name() == u"t")
                inText = false;
        }
    }
    problem = part.problem();
    return problem.isEmpty() ? strings : QStringList();
}

bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47))
        return true;
    if (code.isEmpty())
        return false;
    // Quoted text and bracketed parts (colours, locales) say nothing about dates.
    QString bare = code;
    static const QRegularExpression noise(QStringLiteral("\"[^\"]*\"|\\[[^\\]]*\\]|\\\\."));
    bare.remove(noise);
    return bare.contains(QRegularExpression(QStringLiteral("[dDyY]|[mM].*[dDyY]|[dDyY].*[mM]")));
}

// For each cell style (an index of cellXfs), whether it shows a date.
std::vector<bool> dateStyles(const QByteArray &data)
{
    QHash<int, QString> custom;
    std::vector<bool> styles;
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"numFmt") {
            custom.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                          xml.attributes().value(QLatin1String("formatCode")).toString());
        } else if (xml.isStartElement() && xml.name() == u"cellXfs") {
            inCellXfs = true;
        } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
            inCellXfs = false;
        } else if (inCellXfs && xml.isStartElement() && xml.name() == u"xf") {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            styles.push_back(isDateFormat(id, custom.value(id)));
        }
    }
    return styles;
}

QString numberText(const QString &value, bool date)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value;
    if (date && number >= 1 && number < 2958466) {
        // Serial day numbers count from 30.12.1899 (the book's 1900 date system).
        return QDate(1899, 12, 30)
            .addDays(qint64(std::floor(number)))
            .toString(QStringLiteral("dd.MM.yyyy"));
    }
    if (number == std::floor(number) && std::fabs(number) < 1e15)
        return QString::number(qint64(number));
    return QString::number(number, 'g', 15);
}

// The target of each relationship of workbook.xml, as a path inside the book.
QHash<QString, QString> workbookTargets(const QByteArray &data)
{
    QHash<QString, QString> targets;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship") {
            QString target = xml.attributes().value(QLatin1String("Target")).toString();
            if (target.startsWith(u'/'))
                target = target.mid(1);
            else
                target = QStringLiteral("xl/") + target;
            targets.insert(xml.attributes().value(QLatin1String("Id")).toString(), target);
        }
    }
    return targets;
}

QString damaged(const QString &name)
{
    return QStringLiteral("Файл «%1» повреждён или не является книгой .xlsx.\r\nОткройте его "
                          "в табличном редакторе и сохраните как «Книга Excel (.xlsx)» или "
                          "как CSV")
        .arg(name);
}

// A book refused for a limit: the limit, and what to do.
QString tooLarge(const QString &name, const QString &why)
{
    return QStringLiteral("Книга «%1» не импортирована: %2.\r\nИмпортируются таблицы до %3 "
                          "строк и %4 столбцов; разделите таблицу или сохраните её как CSV")
        .arg(name, why)
        .arg(importlimits::kRows)
        .arg(importlimits::kColumns);
}

} // namespace

int columnOfReference(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        const QChar c = reference.at(i).toUpper();
        if (c < u'A' || c > u'Z')
            break;
        if (i == 3)
            return -1; // past XFD, the last column of a book
        column = column * 26 + (c.unicode() - u'A' + 1);
    }
    return i == 0 || column > kLastColumn + 1 ? -1 : column - 1;
}

SheetTable readXlsxSheet(const QString &path, const QString &sheet)
{
    SheetTable table;
    const QString name = QFileInfo(path).fileName();
    int error = 0;
    const Zip zip(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS,
                           &error));
    if (!zip) {
        table.error = damaged(name);
        return table;
    }
    const std::optional<QByteArray> workbook = part(zip.get(), QStringLiteral("xl/workbook.xml"));
    const std::optional<QByteArray> rels =
        part(zip.get(), QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!workbook || !rels) {
        table.error = damaged(name);
        return table;
    }
    const QHash<QString, QString> targets = workbookTargets(*rels);
    QString sheetPart;
    QString sheetName;
    QXmlStreamReader book(*workbook);
    while (!book.atEnd()) {
        book.readNext();
        if (book.isStartElement() && book.name() == u"sheet") {
            const QString listed = book.attributes().value(QLatin1String("name")).toString();
            table.sheetNames << listed;
            const bool wanted = sheet.isEmpty() ? sheetPart.isEmpty()
                                                : listed.compare(sheet, Qt::CaseInsensitive) == 0;
            if (wanted && sheetPart.isEmpty()) {
                sheetName = listed;
                for (const QXmlStreamAttribute &a : book.attributes()) {
                    if (a.name() == u"id")
                        sheetPart = targets.value(a.value().toString());
                }
            }
        }
    }
    if (book.hasError()) {
        table.error = damaged(name);
        return table;
    }
    if (sheetPart.isEmpty()) {
        table.error = sheet.isEmpty()
                          ? QStringLiteral("В книге «%1» нет листов").arg(name)
                          : QStringLiteral("В книге «%1» нет листа «%2». Листы книги: %3")
                                .arg(name, sheet, table.sheetNames.join(QStringLiteral(", ")));
        return table;
    }
    QString problem;
    const QStringList strings = sharedStrings(zip.get(), problem);
    if (!problem.isEmpty()) {
        table.error = tooLarge(name, problem);
        return table;
    }
    const std::vector<bool> dates =
        dateStyles(part(zip.get(), QStringLiteral("xl/styles.xml")).value_or(QByteArray()));
    PartXml sheetXml(zip.get(), sheetPart);
    if (!sheetXml.exists()) {
        table.error = damaged(name);
        return table;
    }

    using namespace importlimits;
    QXmlStreamReader &xml = sheetXml.reader();
    SheetRow row;
    int nextRow = 1;
    int column = 0;
    QString reference; // of the current cell, for the messages
    QString type;
    int style = 0;
    QString value;
    bool inValue = false;
    QStringList merges;
    const auto refuse = [&](const QString &why) {
        table.rows.clear();
        table.error = tooLarge(name, why);
    };
    const auto endRow = [&] {
        bool filled = false;
        for (const QString &cell : std::as_const(row.cells))
            filled = filled || !cell.trimmed().isEmpty();
        if (filled)
            table.rows.push_back(std::move(row));
        row = SheetRow{};
    };
    while (table.error.isEmpty() && sheetXml.next()) {
        if (xml.isStartElement()) {
            const QStringView element = xml.name();
            const QXmlStreamAttributes a = xml.attributes();
            if (element == u"row") {
                bool number = true;
                row.number = a.hasAttribute(QLatin1String("r"))
                                 ? a.value(QLatin1String("r")).toInt(&number)
                                 : nextRow;
                if (!number || row.number < 1 || row.number > kLastRow + 1) {
                    refuse(QStringLiteral("номер строки «%1» вне листа")
                               .arg(a.value(QLatin1String("r")).left(20)));
                    break;
                }
                nextRow = row.number + 1;
                column = 0;
            } else if (element == u"c") {
                if (a.hasAttribute(QLatin1String("r"))) {
                    reference = a.value(QLatin1String("r")).left(20).toString();
                    column = columnOfReference(reference);
                    if (column < 0) {
                        refuse(QStringLiteral("ссылка на ячейку «%1» вне листа").arg(reference));
                        break;
                    }
                } else {
                    reference = QStringLiteral("строка %1, столбец %2").arg(row.number).arg(column + 1);
                }
                type = a.value(QLatin1String("t")).toString();
                style = a.value(QLatin1String("s")).toInt();
                value.clear();
            } else if (element == u"v" || (element == u"t" && type == u"inlineStr")) {
                inValue = true;
            } else if (element == u"is") {
                value.clear();
            } else if (element == u"mergeCell") {
                merges << a.value(QLatin1String("ref")).left(40).toString();
            }
        } else if (xml.isCharacters() && inValue) {
            value += xml.text();
            if (value.size() > kCellChars) {
                refuse(QStringLiteral("в ячейке %1 больше %2 знаков").arg(reference).arg(kCellChars));
                break;
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == u"v" || xml.name() == u"t") {
                inValue = false;
            } else if (xml.name() == u"c") {
                QString text;
                if (type == u"s")
                    text = strings.value(value.toInt());
                else if (type == u"b")
                    text = value == u"1" ? QStringLiteral("ИСТИНА") : QStringLiteral("ЛОЖЬ");
                else if (type.isEmpty() || type == u"n")
                    text = numberText(value, style >= 0 && size_t(style) < dates.size()
                                                 && dates[size_t(style)]);
                else
                    text = value; // str, inlineStr, e
                if (column >= kColumns) {
                    if (!text.trimmed().isEmpty()) {
                        refuse(QStringLiteral("значение в ячейке %1, дальше %2-го столбца")
                                   .arg(reference)
                                   .arg(kColumns));
                        break;
                    }
                } else {
                    while (row.cells.size() <= column)
                        row.cells << QString();
                    row.cells[column] = text;
                }
                ++column;
            } else if (xml.name() == u"row") {
                endRow();
                if (table.rows.size() > size_t(kRows)) {
                    refuse(QStringLiteral("заполненных строк больше %1").arg(kRows));
                    break;
                }
            }
        }
    }
    if (!table.error.isEmpty())
        return table;
    if (!sheetXml.problem().isEmpty()) {
        table.rows.clear();
        table.error = sheetXml.damaged() ? damaged(name) : tooLarge(name, sheetXml.problem());
        return table;
    }
    // A title merged over the header's cells hides which column is which.
    if (!table.rows.empty()) {
        const int headerRow = table.rows.front().number;
        static const QRegularExpression range(QStringLiteral("^([A-Z]+)(\\d+):([A-Z]+)(\\d+)$"));
        for (const QString &merge : std::as_const(merges)) {
            const QRegularExpressionMatch m = range.match(merge.toUpper());
            if (m.hasMatch() && m.captured(2).toInt() <= headerRow
                && m.captured(4).toInt() >= headerRow && m.captured(1) != m.captured(3)) {
                table.rows.clear();
                table.error = QStringLiteral("В строке заголовков листа «%1» есть объединённые "
                                             "ячейки (%2).\r\nРазъедините их, чтобы у каждого "
                                             "столбца было своё название, и повторите импорт")
                                  .arg(sheetName, merge);
                return table;
            }
        }
    }
    table.source = QStringLiteral("Книга Excel (.xlsx), лист «%1»").arg(sheetName);
    return table;
}

} // namespace korvesta
