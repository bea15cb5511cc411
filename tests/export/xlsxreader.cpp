#include "xlsxreader.h"

#include <QXmlStreamReader>

#include <zip.h>

#include <memory>

namespace korvesta {

namespace {

struct ZipCloser
{
    void operator()(zip_t *zip) const { zip_discard(zip); }
};

QByteArray part(zip_t *zip, const char *name)
{
    zip_stat_t stat;
    if (zip_stat(zip, name, 0, &stat) != 0)
        return {};
    zip_file_t *file = zip_fopen(zip, name, 0);
    if (!file)
        return {};
    QByteArray data(qsizetype(stat.size), '\0');
    const zip_int64_t read = zip_fread(file, data.data(), stat.size);
    zip_fclose(file);
    if (read < 0)
        return {};
    data.truncate(qsizetype(read));
    return data;
}

QMap<QString, QString> attributes(const QXmlStreamReader &xml)
{
    QMap<QString, QString> map;
    for (const QXmlStreamAttribute &a : xml.attributes())
        map.insert(a.name().toString(), a.value().toString());
    return map;
}

QStringList sharedStrings(const QByteArray &data)
{
    QStringList strings;
    QXmlStreamReader xml(data);
    QString current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si")
            current.clear();
        else if (xml.isStartElement() && xml.name() == u"t")
            current += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == u"si")
            strings << current;
    }
    return strings;
}

// The number format of each cell style (index of cellXfs).
QStringList styleFormats(const QByteArray &data)
{
    QMap<QString, QString> custom;
    QStringList formats;
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"numFmt")
            custom.insert(xml.attributes().value(QLatin1String("numFmtId")).toString(),
                          xml.attributes().value(QLatin1String("formatCode")).toString());
        else if (xml.isStartElement() && xml.name() == u"cellXfs")
            inCellXfs = true;
        else if (xml.isEndElement() && xml.name() == u"cellXfs")
            inCellXfs = false;
        else if (inCellXfs && xml.isStartElement() && xml.name() == u"xf")
            formats << custom.value(xml.attributes().value(QLatin1String("numFmtId")).toString());
    }
    return formats;
}

} // namespace

int XlsxSheet::maxLevel() const
{
    int level = 0;
    for (const int l : rowLevels)
        level = std::max(level, l);
    return level;
}

XlsxSheet readXlsx(const QString &path)
{
    XlsxSheet sheet;
    int error = 0;
    std::unique_ptr<zip_t, ZipCloser> zip(zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY,
                                                   &error));
    if (!zip) {
        sheet.error = QStringLiteral("zip error %1").arg(error);
        return sheet;
    }
    const QStringList strings = sharedStrings(part(zip.get(), "xl/sharedStrings.xml"));
    const QStringList formats = styleFormats(part(zip.get(), "xl/styles.xml"));

    QXmlStreamReader book(part(zip.get(), "xl/workbook.xml"));
    while (!book.atEnd()) {
        book.readNext();
        if (book.isStartElement() && book.name() == u"sheet")
            sheet.sheetNames << book.attributes().value(QLatin1String("name")).toString();
        if (book.isStartElement() && book.name() == u"definedName"
            && book.attributes().value(QLatin1String("name")) == u"_xlnm.Print_Titles")
            sheet.printTitles = book.readElementText();
    }

    const QByteArray data = part(zip.get(), "xl/worksheets/sheet1.xml");
    if (data.isEmpty()) {
        sheet.error = QStringLiteral("no sheet1.xml");
        return sheet;
    }
    QXmlStreamReader xml(data);
    QString ref;
    XlsxCell cell;
    QString type;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            const auto a = xml.attributes();
            if (name == u"row") {
                const int row = a.value(QLatin1String("r")).toInt();
                if (a.hasAttribute(QLatin1String("outlineLevel")))
                    sheet.rowLevels.insert(row, a.value(QLatin1String("outlineLevel")).toInt());
                if (a.hasAttribute(QLatin1String("ht")))
                    sheet.rowHeights.insert(row, a.value(QLatin1String("ht")).toDouble());
            } else if (name == u"c") {
                ref = a.value(QLatin1String("r")).toString();
                type = a.value(QLatin1String("t")).toString();
                cell = XlsxCell{};
                cell.numberFormat = formats.value(a.value(QLatin1String("s")).toInt());
            } else if (name == u"f") {
                cell.formula = xml.readElementText();
            } else if (name == u"v") {
                const QString v = xml.readElementText();
                cell.value = type == u"s" ? strings.value(v.toInt()) : v;
            } else if (name == u"mergeCell") {
                sheet.merges << a.value(QLatin1String("ref")).toString();
            } else if (name == u"oddHeader") {
                sheet.header = xml.readElementText();
            } else if (name == u"oddFooter") {
                sheet.footer = xml.readElementText();
            } else if (name == u"pageSetup") {
                sheet.pageSetup = attributes(xml);
            } else if (name == u"printOptions") {
                sheet.printOptions = attributes(xml);
            } else if (name == u"pageMargins") {
                sheet.margins = attributes(xml);
            } else if (name == u"pageSetUpPr") {
                sheet.fitToPage = a.value(QLatin1String("fitToPage")) == u"1";
            }
        } else if (xml.isEndElement() && xml.name() == u"c") {
            sheet.cells.insert(ref, cell);
        }
    }
    if (xml.hasError()) {
        sheet.error = xml.errorString();
        return sheet;
    }
    sheet.opened = true;
    return sheet;
}

} // namespace korvesta
