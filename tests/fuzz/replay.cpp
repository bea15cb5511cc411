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
        const QDir corpus(QString::fromLocal8Bit(argv[2]));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        if (files.isEmpty()) {
            std::fprintf(stderr, "no corpus in %s\n", argv[2]);
            return 1;
        }
        int read = 0;
        for (const QString &name : files) {
            QFile file(corpus.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray input = file.readAll();
            if (korvesta::runSheetInput(reinterpret_cast<const uint8_t *>(input.constData()),
                                        size_t(input.size())))
                ++read;
        }
        std::printf("%d of %lld tables read, the others refused\n%lld passed, 0 failed\n", read,
                    static_cast<long long>(files.size()), static_cast<long long>(files.size()));
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
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no corpus in %s\n", argv[1]);
        return 1;
    }
    int translated = 0;
    for (const QString &name : files) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return 1;
        }
        const QByteArray input = file.readAll();
        if (korvesta::runDialectInput(reinterpret_cast<const uint8_t *>(input.constData()),
                                      size_t(input.size())))
            ++translated;
    }
    std::printf("%d of %lld inputs translated, the others refused\n", translated,
                static_cast<long long>(files.size()));
    std::printf("%lld saved queries, %d refused\n", static_cast<long long>(queries.size()),
                refusedQueries);
    if (refusedQueries > 0)
        return 1;
    std::printf("%lld passed, 0 failed\n", static_cast<long long>(files.size()));
    return 0;
}
