// Files an import must refuse before they take the machine: a packed sheet that unpacks to
// far more than a table, headers that lie about sizes, references past the sheet, text that
// is not in the encoding it seems, a quote never closed. Each comes back with the reason
// and no rows.

#include "support/testdocument.h"

#include "import/sheetfile.h"

#include <QFile>

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

namespace korvesta {
namespace {

const char *const kSheet = "xl/worksheets/sheet1.xml";

// A real one-sheet book, its sheet then replaced by the given XML.
void writeBookWithSheet(const QString &path, const QByteArray &sheetXml)
{
    lxw_workbook *book = workbook_new(path.toUtf8().constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Лист1");
    worksheet_write_string(sheet, 0, 0, "Группа", nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

    int error = 0;
    zip_t *zip = zip_open(path.toUtf8().constData(), 0, &error);
    ASSERT_NE(zip, nullptr);
    // The source is read at close: the bytes must live until then.
    static QByteArray kept;
    kept = sheetXml;
    zip_source_t *source = zip_source_buffer(zip, kept.constData(), zip_uint64_t(kept.size()), 0);
    const zip_int64_t index = zip_name_locate(zip, kSheet, 0);
    ASSERT_GE(index, 0);
    ASSERT_EQ(zip_file_replace(zip, zip_uint64_t(index), source, 0), 0);
    ASSERT_EQ(zip_close(zip), 0);
}

QByteArray sheetOf(const QByteArray &sheetData)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet xmlns=\"http://schemas."
           "openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
           + sheetData + "</sheetData></worksheet>";
}

// Sets the unpacked size every header of the sheet claims.
void claimSize(const QString &path, quint32 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const QByteArray name(kSheet);
    const auto put = [&](qsizetype at) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((size >> (8 * i)) & 0xff);
    };
    for (qsizetype at = bytes.indexOf("PK\x03\x04"); at >= 0; at = bytes.indexOf("PK\x03\x04", at + 4))
        if (bytes.mid(at + 30, name.size()) == name)
            put(at + 22);
    for (qsizetype at = bytes.indexOf("PK\x01\x02"); at >= 0; at = bytes.indexOf("PK\x01\x02", at + 4))
        if (bytes.mid(at + 46, name.size()) == name)
            put(at + 24);
    file.seek(0);
    file.write(bytes);
}

TEST(ImportLimits, BooksPastTheLimitsAreRefusedWithTheReason)
{
    TestFolder folder;
    // 40 MB of blanks pack into a few kilobytes.
    const QByteArray bomb = sheetOf("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>А</t></is>"
                                    "</c></row>" + QByteArray(40 << 20, ' '));
    writeBookWithSheet(folder.file("bomb.xlsx"), bomb);
    // Read by the bytes that come, never by the size claimed (which was once reserved).
    writeBookWithSheet(folder.file("lying.xlsx"), sheetOf("<row r=\"1\"><c r=\"A1\"><v>7</v></c></row>"));
    claimSize(folder.file("lying.xlsx"), 3u << 30);
    writeBookWithSheet(folder.file("far.xlsx"),
                       sheetOf("<row r=\"2\"><c r=\"ZZZZZZZZ2\"><v>1</v></c></row>"));
    writeBookWithSheet(folder.file("wide.xlsx"),
                       sheetOf("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"XFD1\"><v>2</v></c></row>"));
    writeBookWithSheet(folder.file("row.xlsx"),
                       sheetOf("<row r=\"99999999999\"><c r=\"A1\"><v>1</v></c></row>"));
    writeBookWithSheet(folder.file("cell.xlsx"),
                       sheetOf("<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>"
                               + QByteArray(40000, 'x') + "</t></is></c></row>"));
    // An empty cell far to the right is only formatting: it is no refusal.
    writeBookWithSheet(folder.file("styled.xlsx"),
                       sheetOf("<row r=\"1\"><c r=\"A1\"><v>7</v></c><c r=\"XFD1\" s=\"0\"/></row>"));

    const struct
    {
        const char *file;
        const char *reason; // empty: read, its first cell 7
    } cases[] = {
        {"bomb.xlsx", "распаковывается в"},
        {"lying.xlsx", ""},
        {"far.xlsx", "ссылка на ячейку «ZZZZZZZZ2» вне листа"},
        {"wide.xlsx", "значение в ячейке XFD1, дальше 256-го столбца"},
        {"row.xlsx", "номер строки «99999999999» вне листа"},
        {"cell.xlsx", "в ячейке B1 больше 32767 знаков"},
        {"styled.xlsx", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const SheetTable table = readSheetFile(folder.file(c.file));
        if (*c.reason == 0) {
            ASSERT_TRUE(table.ok()) << table.error.toStdString();
            EXPECT_EQ(table.rows.front().cells, QStringList{"7"});
            continue;
        }
        EXPECT_TRUE(table.error.contains(QString::fromUtf8(c.reason))) << table.error.toStdString();
        EXPECT_TRUE(table.rows.empty());
    }
}

TEST(ImportLimits, CsvTextIsReadOnlyInAnEncodingItReadsIn)
{
    TestFolder folder;
    const QByteArray utf8Rows = QStringLiteral("Группа;Курс\r\nГР-1;1\r\n").toUtf8();
    const QByteArray cp1251Rows("\xC3\xF0\xF3\xEF\xEF\xE0;\xCA\xF3\xF0\xF1\r\n\xC3\xD0-1;1\r\n");
    const struct
    {
        const char *name;
        QByteArray bytes;
        CsvEncoding encoding;
        QString expected; // the source when read, else the start of the reason
    } cases[] = {
        // English headers, Cyrillic rows, one stray byte: UTF-8 read as Windows-1251 would be
        // "Р“Р", so it is not read at all.
        {"one bad byte", "Group;Course\r\n" + QStringLiteral("ГР-1;1\r\n").toUtf8() + "\xFF;2\r\n",
         CsvEncoding::Auto,
         "Файл «t.csv» не импортирован. Текст файла не в кодировке UTF-8: в строке 3 байт 0xFF "
         "не является символом UTF-8, а как Windows-1251 он не читается"},
        {"windows-1251", cp1251Rows, CsvEncoding::Auto,
         "CSV, Windows-1251 (не UTF-8: в строке 1 байт 0xC3 не является символом UTF-8; как "
         "Windows-1251 файл читается русским текстом), разделитель «;»"},
        {"forced windows-1251", utf8Rows, CsvEncoding::Windows1251,
         "CSV, Windows-1251 (задана), разделитель «;»"},
        {"forced utf-8", cp1251Rows, CsvEncoding::Utf8,
         "Файл «t.csv» не импортирован. Текст файла не в кодировке UTF-8: в строке 1 байт 0xC3"},
        {"open quote", "Группа;Курс\r\n\"ГР-1;1\r\nГР-2;2\r\n", CsvEncoding::Auto,
         "Файл «t.csv» не импортирован: кавычка, открытая в строке 2, не закрыта до конца файла"},
        {"quote swallowing the file",
         "Группа;Курс\r\n\"" + QByteArray(40000, 'x') + "\r\n", CsvEncoding::Auto,
         "Файл «t.csv» не импортирован: кавычка, открытая в строке 2, не закрыта: значение в ней "
         "длиннее 32767 знаков"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.file("t.csv");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        const SheetTable table = readSheetFile(path, QString(), c.encoding);
        if (table.ok()) {
            EXPECT_EQ(table.source, c.expected);
            EXPECT_EQ(table.rows.size(), 2u);
        } else {
            EXPECT_TRUE(table.error.startsWith(c.expected)) << table.error.toStdString();
            EXPECT_TRUE(table.rows.empty());
        }
    }
}

} // namespace
} // namespace korvesta
