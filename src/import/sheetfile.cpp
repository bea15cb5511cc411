#include "sheetfile.h"

#include "xlsxsheet.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace korvesta {

namespace {

// The upper half of Windows-1251, from 0x80.
const char16_t kCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

QString fromCp1251(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            text += QChar(b);
        else if (b >= 0xC0)
            text += QChar(char16_t(0x0410 + (b - 0xC0)));
        else
            text += QChar(kCp1251[b - 0x80]);
    }
    return text;
}

const QByteArray kCfbMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
const QByteArray kZipMagic("PK\x03\x04", 4);

bool looksBinary(const QByteArray &head)
{
    for (const char c : head) {
        if (c == '\0')
            return true;
    }
    return false;
}

} // namespace

QString decodeCsvText(const QByteArray &bytes, QString *encoding)
{
    QByteArray data = bytes;
    const bool bom = data.startsWith("\xEF\xBB\xBF");
    if (bom)
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) {
        if (encoding)
            *encoding = bom ? QStringLiteral("UTF-8 (с BOM)") : QStringLiteral("UTF-8");
        return text;
    }
    if (encoding)
        *encoding = QStringLiteral("Windows-1251");
    return fromCp1251(data);
}

std::vector<SheetRow> parseCsv(const QString &text, QChar *separator)
{
    // The separator is the one the header line uses more often outside quotes.
    int semicolons = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u',')
            ++commas;
    }
    const QChar sep = commas > semicolons ? u',' : u';';
    if (separator)
        *separator = sep;

    std::vector<SheetRow> rows;
    SheetRow row;
    QString field;
    int line = 1;
    row.number = line;
    quoted = false;
    bool filled = false;
    auto endField = [&] {
        filled = filled || !field.trimmed().isEmpty();
        row.cells << field;
        field.clear();
    };
    auto endRow = [&] {
        endField();
        if (filled)
            rows.push_back(std::move(row));
        row = SheetRow{};
        row.number = line;
        filled = false;
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < size && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < size && text.at(i + 1) == u'\n')))
                    ++line;
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else if (c == sep) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
            ++line;
            endRow();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.cells.isEmpty())
        endRow();
    // A line break inside quotes counts for the lines after it, not for the row itself.
    return rows;
}

SheetTable readSheetFile(const QString &path, const QString &sheet)
{
    SheetTable table;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        table.error = QStringLiteral("Не удалось открыть файл «%1»").arg(path);
        return table;
    }
    const QByteArray head = file.peek(4096);
    if (head.startsWith(kCfbMagic)) {
        // Both an old binary book and a password-protected new one are compound files; the
        // latter carries its book as a stream named EncryptedPackage.
        const QByteArray all = file.readAll();
        const QByteArray encrypted = QByteArray::fromRawData(
            reinterpret_cast<const char *>(u"EncryptedPackage"), 32);
        if (all.contains(encrypted)) {
            table.error = QStringLiteral("Книга «%1» защищена паролем.\r\nОткройте её в "
                                         "табличном редакторе, снимите пароль и сохраните "
                                         "книгу снова, затем повторите импорт")
                              .arg(name);
        } else {
            table.error = QStringLiteral("Файл «%1» - книга старого формата Excel 97-2003 "
                                         "(.xls), её программа не читает.\r\nОткройте её в "
                                         "табличном редакторе и сохраните как «Книга Excel "
                                         "(.xlsx)» или как CSV, затем повторите импорт")
                              .arg(name);
        }
        return table;
    }
    if (head.startsWith(kZipMagic) || path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        file.close();
        return readXlsxSheet(path, sheet);
    }
    if (looksBinary(head)) {
        table.error = QStringLiteral("Файл «%1» не является ни книгой .xlsx, ни текстом CSV")
                          .arg(name);
        return table;
    }
    QString encoding;
    const QString text = decodeCsvText(file.readAll(), &encoding);
    QChar separator;
    table.rows = parseCsv(text, &separator);
    table.source = QStringLiteral("CSV, %1, разделитель «%2»").arg(encoding, separator);
    return table;
}

} // namespace korvesta
