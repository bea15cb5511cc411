#include "sheetfuzz.h"

#include "import/sheetfile.h"

#include <QFile>
#include <QTemporaryDir>

namespace korvesta {

bool runSheetInput(const uint8_t *data, size_t size)
{
    // One folder for the whole run: the reader takes a path, as the import does.
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("input"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    bool read = false;
    for (const CsvEncoding encoding :
         {CsvEncoding::Auto, CsvEncoding::Utf8, CsvEncoding::Windows1251}) {
        const SheetTable table = readSheetFile(path, QString(), encoding);
        read = read || table.ok();
        if (!table.ok() && !table.rows.empty())
            return false; // a refusal never comes with rows
    }
    return read;
}

} // namespace korvesta
