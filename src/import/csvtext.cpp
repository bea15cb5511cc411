#include "csvtext.h"

#include "importlimits.h"

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

// The offset of the first byte that does not belong to valid UTF-8; -1 when all do.
qsizetype firstInvalidUtf8(const QByteArray &bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = b[i];
        int more = 0;
        char32_t least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1;
            least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            least = 0x10000;
        } else {
            return i;
        }
        char32_t code = c & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (b[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (b[i + k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += more + 1;
    }
    return -1;
}

// Whether bytes that are not UTF-8 read as Russian text in Windows-1251: nearly all their
// upper-half bytes are Russian letters or the punctuation Russian text uses, and a letter is
// seldom followed by such punctuation. UTF-8 read so is a lead byte (Р or С) followed by a
// byte of 0x80-0xBF each time, and fails.
bool readsAsCp1251(const QByteArray &bytes)
{
    const auto russianLetter = [](unsigned char c) { return c >= 0xC0 || c == 0xA8 || c == 0xB8; };
    const auto punctuation = [](unsigned char c) {
        return c == 0x96 || c == 0x97 || c == 0xAB || c == 0xBB || c == 0xB9 || c == 0x85
               || c == 0x93 || c == 0x94 || c == 0xA0;
    };
    qsizetype upper = 0, letters = 0, plain = 0, glued = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80)
            continue;
        ++upper;
        if (russianLetter(c)) {
            ++letters;
            const auto after = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
            if (c >= 0xC0 && after >= 0x80 && after < 0xC0)
                ++glued;
        } else if (punctuation(c)) {
            ++plain;
        }
    }
    return letters > 0 && (letters + plain) * 10 >= upper * 9 && glued * 4 < letters;
}

int lineAt(const QByteArray &bytes, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

} // namespace

CsvText decodeCsvText(const QByteArray &bytes, CsvEncoding wanted)
{
    CsvText result;
    if (wanted == CsvEncoding::Windows1251) {
        result.text = fromCp1251(bytes);
        result.encoding = QStringLiteral("Windows-1251 (задана)");
        return result;
    }
    QByteArray data = bytes;
    const bool bom = data.startsWith("\xEF\xBB\xBF");
    if (bom)
        data.remove(0, 3);
    const qsizetype bad = firstInvalidUtf8(data);
    if (bad < 0) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        result.text = utf8.decode(data);
        result.encoding = bom ? QStringLiteral("UTF-8 (с BOM)") : QStringLiteral("UTF-8");
        return result;
    }
    const QString where = QStringLiteral("в строке %1 байт 0x%2 не является символом UTF-8")
                              .arg(lineAt(data, bad))
                              .arg(QString::number(uchar(data[bad]), 16).toUpper());
    if (wanted == CsvEncoding::Auto && !bom && readsAsCp1251(data)) {
        result.text = fromCp1251(data);
        result.encoding = QStringLiteral("Windows-1251 (не UTF-8: %1; как Windows-1251 файл "
                                         "читается русским текстом)")
                              .arg(where);
        return result;
    }
    result.problem = QStringLiteral("Текст файла не в кодировке UTF-8: %1%2.\r\nСохраните "
                                    "файл в кодировке UTF-8 или укажите его кодировку явно")
                         .arg(where, wanted == CsvEncoding::Auto
                                         ? QStringLiteral(", а как Windows-1251 он не читается")
                                         : QString());
    return result;
}

std::vector<SheetRow> parseCsv(const QString &text, QChar *separator, QString *problem)
{
    using namespace importlimits;
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
    QString refusal;
    SheetRow row;
    QString field;
    int line = 1;
    int quoteLine = 0; // where the open quote began
    row.number = line;
    quoted = false;
    bool filled = false;
    const auto endField = [&] {
        const bool value = !field.trimmed().isEmpty();
        filled = filled || value;
        if (row.cells.size() < kColumns)
            row.cells << field;
        else if (value && refusal.isEmpty())
            refusal = QStringLiteral("в строке %1 значение дальше %2-го столбца")
                          .arg(row.number)
                          .arg(kColumns);
        field.clear();
    };
    const auto endRow = [&] {
        endField();
        if (filled)
            rows.push_back(std::move(row));
        if (rows.size() > size_t(kRows) && refusal.isEmpty())
            refusal = QStringLiteral("заполненных строк больше %1").arg(kRows);
        row = SheetRow{};
        row.number = line;
        filled = false;
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size && refusal.isEmpty(); ++i) {
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
            quoteLine = line;
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
        if (field.size() > kCellChars && refusal.isEmpty())
            refusal = quoted ? QStringLiteral("кавычка, открытая в строке %1, не закрыта: "
                                              "значение в ней длиннее %2 знаков")
                                   .arg(quoteLine)
                                   .arg(kCellChars)
                             : QStringLiteral("в строке %1 значение длиннее %2 знаков")
                                   .arg(row.number)
                                   .arg(kCellChars);
    }
    if (refusal.isEmpty() && quoted)
        refusal = QStringLiteral("кавычка, открытая в строке %1, не закрыта до конца файла")
                      .arg(quoteLine);
    if (!refusal.isEmpty()) {
        if (problem)
            *problem = refusal;
        return {};
    }
    if (!field.isEmpty() || !row.cells.isEmpty())
        endRow();
    return rows;
}

} // namespace korvesta
