#include "xlsxsheet.h"

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

// A part of the book; nullopt when the book has no such part or it cannot be read.
std::optional<QByteArray> part(zip_t *zip, const QString &name)
{
    const QByteArray path = name.toUtf8();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(zip, path.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return std::nullopt;
    zip_file_t *file = zip_fopen(zip, path.constData(), 0);
    if (!file)
        return std::nullopt;
    QByteArray data(qsizetype(stat.size), '\0');
    const zip_int64_t read = zip_fread(file, data.data(), stat.size);
    zip_fclose(file);
    if (read < 0 || zip_uint64_t(read) != stat.size)
        return std::nullopt;
    return data;
}

QStringList sharedStrings(const QByteArray &data)
{
    QStringList strings;
    QXmlStreamReader xml(data);
    QString current;
    int depthInPhonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"si")
                current.clear();
            else if (xml.name() == u"rPh")
                ++depthInPhonetic;
            else if (xml.name() == u"t" && depthInPhonetic == 0)
                current += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == u"si")
                strings << current;
            else if (xml.name() == u"rPh")
                --depthInPhonetic;
        }
    }
    return strings;
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

} // namespace

int columnOfReference(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        const QChar c = reference.at(i).toUpper();
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
    }
    return i == 0 ? -1 : column - 1;
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
    const QStringList strings =
        sharedStrings(part(zip.get(), QStringLiteral("xl/sharedStrings.xml")).value_or(QByteArray()));
    const std::vector<bool> dates =
        dateStyles(part(zip.get(), QStringLiteral("xl/styles.xml")).value_or(QByteArray()));
    const std::optional<QByteArray> data = part(zip.get(), sheetPart);
    if (!data) {
        table.error = damaged(name);
        return table;
    }

    QXmlStreamReader xml(*data);
    SheetRow row;
    int nextRow = 1;
    int column = 0;
    QString type;
    int style = 0;
    QString value;
    QStringList merges;
    auto endRow = [&] {
        bool filled = false;
        for (const QString &cell : std::as_const(row.cells))
            filled = filled || !cell.trimmed().isEmpty();
        if (filled)
            table.rows.push_back(std::move(row));
        row = SheetRow{};
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView element = xml.name();
            const QXmlStreamAttributes a = xml.attributes();
            if (element == u"row") {
                row.number = a.hasAttribute(QLatin1String("r")) ? a.value(QLatin1String("r")).toInt() : nextRow;
                nextRow = row.number + 1;
                column = 0;
            } else if (element == u"c") {
                if (a.hasAttribute(QLatin1String("r")))
                    column = columnOfReference(a.value(QLatin1String("r")));
                type = a.value(QLatin1String("t")).toString();
                style = a.value(QLatin1String("s")).toInt();
                value.clear();
            } else if (element == u"v") {
                value = xml.readElementText();
            } else if (element == u"is") {
                value.clear();
            } else if (element == u"t" && type == u"inlineStr") {
                value += xml.readElementText();
            } else if (element == u"mergeCell") {
                merges << a.value(QLatin1String("ref")).toString();
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == u"c") {
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
                if (column >= 0 && column < 16384) {
                    while (row.cells.size() <= column)
                        row.cells << QString();
                    row.cells[column] = text;
                }
                ++column;
            } else if (xml.name() == u"row") {
                endRow();
            }
        }
    }
    if (xml.hasError()) {
        table.rows.clear();
        table.error = damaged(name);
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
