// Replays every file of the fuzz corpus, and every saved query a new document carries, through
// the fuzz target's entry point: the inputs that once found a fault must pass on every build,
// and no saved query may be refused. Prints "N passed, 0 failed" at the end; a fault ends the
// run with the sanitizer's report or an uncaught exception.
//
// With --sheets FOLDER it replays the files of the imported tables' corpus through the
// readers of books and CSV texts instead.
//
// With --seeds FOLDER it writes the saved queries there as files instead, to start a fuzzing
// run from them.

#include "dialectfuzz.h"
#include "sheetfuzz.h"

#include "data/documenttemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>

namespace {

// Hands every file of the corpus folder to `run`; the number of files, or -1 (told) when the
// folder has none or a file cannot be read.
qsizetype replay(const char *folder, const std::function<void(const QByteArray &)> &run)
{
    const QDir corpus(QString::fromLocal8Bit(folder));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no corpus in %s\n", folder);
        return -1;
    }
    for (const QString &name : files) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return -1;
        }
        run(file.readAll());
    }
    return files.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto queries = korvesta::documentTemplateQueries();
    if (argc == 3 && QByteArray(argv[1]) == "--seeds") {
        const QDir seeds(QString::fromLocal8Bit(argv[2]));
        for (const auto &[name, sql] : queries) {
            QFile file(seeds.filePath(QStringLiteral("query-%1.sql").arg(name)));
            if (!file.open(QIODevice::WriteOnly) || file.write(sql.toUtf8()) < 0)
                return 1;
        }
        return 0;
    }
    if (argc == 3 && QByteArray(argv[1]) == "--sheets") {
        int read = 0;
        const qsizetype count = replay(argv[2], [&read](const QByteArray &input) {
            read += korvesta::runSheetInput(reinterpret_cast<const uint8_t *>(input.constData()),
                                            size_t(input.size()));
        });
        if (count < 0)
            return 1;
        std::printf("%d of %lld tables read, the others refused\n%lld passed, 0 failed\n", read,
                    static_cast<long long>(count), static_cast<long long>(count));
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER | --seeds FOLDER\n", argv[0]);
        return 2;
    }
    int refusedQueries = 0;
    for (const auto &[name, sql] : queries) {
        const QByteArray input = sql.toUtf8();
        if (!korvesta::runDialectInput(reinterpret_cast<const uint8_t *>(input.constData()),
                                       size_t(input.size()))) {
            std::fprintf(stderr, "saved query refused: %s\n", qPrintable(name));
            ++refusedQueries;
        }
    }
    int translated = 0;
    const qsizetype count = replay(argv[1], [&translated](const QByteArray &input) {
        translated += korvesta::runDialectInput(
            reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    });
    if (count < 0)
        return 1;
    std::printf("%d of %lld inputs translated, the others refused\n", translated,
                static_cast<long long>(count));
    std::printf("%lld saved queries, %d refused\n", static_cast<long long>(queries.size()),
                refusedQueries);
    if (refusedQueries > 0)
        return 1;
    std::printf("%lld passed, 0 failed\n", static_cast<long long>(count));
    return 0;
}
