#include "sheetfile.h"

#include "csvtext.h"
#include "importlimits.h"
#include "xlsxsheet.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace korvesta {

namespace {

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

SheetTable readSheetFile(const QString &path, const QString &sheet, CsvEncoding encoding)
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
    if (file.size() > importlimits::kFileBytes) {
        table.error = QStringLiteral("Файл «%1» не импортирован: он больше %2 МБ")
                          .arg(name)
                          .arg(importlimits::kFileBytes >> 20);
        return table;
    }
    const CsvText text = decodeCsvText(file.readAll(), encoding);
    if (!text.problem.isEmpty()) {
        table.error = QStringLiteral("Файл «%1» не импортирован. %2").arg(name, text.problem);
        return table;
    }
    QChar separator;
    QString problem;
    table.rows = parseCsv(text.text, &separator, &problem);
    if (!problem.isEmpty()) {
        table.error = QStringLiteral("Файл «%1» не импортирован: %2.\r\nИсправьте файл и "
                                     "повторите импорт")
                          .arg(name, problem);
        return table;
    }
    table.source = QStringLiteral("CSV, %1, разделитель «%2»").arg(text.encoding, separator);
    return table;
}

} // namespace korvesta
