#include "fileassociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>

// Resources of a static library are registered by hand, outside any namespace.
static void initCoreResources()
{
    Q_INIT_RESOURCE(core);
}

namespace korvesta {

namespace {

QByteArray resource(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    if (bytes.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

// The desktop's caches are a convenience: a missing tool or a failure is not our concern.
void runIfPresent(const QString &program, const QString &folder)
{
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return;
    QProcess process;
    process.start(found, {folder});
    process.waitForFinished(30000);
}

} // namespace

QString desktopExecLine(const QString &executablePath)
{
    // An argument holding a reserved character is quoted, with ", `, $ and \ escaped inside
    // the quotes; then, as in every desktop-entry string, \ itself is doubled. A literal %
    // is written %%.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString program = executablePath;
    program.replace(QLatin1Char('%'), QLatin1String("%%"));
    const bool quote = std::any_of(program.cbegin(), program.cend(),
                                   [](QChar c) { return reserved.contains(c); });
    if (quote) {
        QString quoted;
        for (const QChar c : std::as_const(program)) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        program = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return program + QStringLiteral(" %f");
}

bool associateFileType(const QString &executablePath, const QString &dataHome)
{
    initCoreResources();
    const QString home = dataHome.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             : dataHome;
    const QString mimeFolder = home + QStringLiteral("/mime");
    const QString applicationsFolder = home + QStringLiteral("/applications");

    // The entry shipped for packagers, pointed at this executable.
    QStringList desktopLines = QString::fromUtf8(resource(QStringLiteral(":/korvesta.desktop")))
                                   .split(QLatin1Char('\n'));
    for (QString &line : desktopLines) {
        if (line.startsWith(QLatin1String("Exec=")))
            line = QStringLiteral("Exec=") + desktopExecLine(executablePath);
    }

    // The type is described by the program's name as people know it; the file name of the
    // executable is the command's.
    QString mimeText = QString::fromUtf8(resource(QStringLiteral(":/korvesta-mime.xml")));
    const qsizetype open = mimeText.indexOf(QLatin1String("<comment>"));
    const qsizetype close = mimeText.indexOf(QLatin1String("</comment>"), open);
    if (open >= 0 && close > open) {
        const qsizetype from = open + qsizetype(qstrlen("<comment>"));
        mimeText.replace(
            from, close - from,
            QStringLiteral("Файл приложения Тарвела"));
    }

    const bool written
        = writeFile(mimeFolder + QStringLiteral("/packages/korvesta.xml"), mimeText.toUtf8())
          && writeFile(applicationsFolder + QStringLiteral("/korvesta.desktop"),
                       desktopLines.join(QLatin1Char('\n')).toUtf8());
    if (!written)
        return false;

    runIfPresent(QStringLiteral("update-mime-database"), mimeFolder);
    runIfPresent(QStringLiteral("update-desktop-database"), applicationsFolder);
    return true;
}

} // namespace korvesta
