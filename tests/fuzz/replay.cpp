// Replays every file of the fuzz corpus through the fuzz target's entry point: the inputs that
// once found a fault must pass on every build. Prints "N passed, 0 failed" at the end; a fault
// ends the run with the sanitizer's report or an uncaught exception.

#include "dialectfuzz.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
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
        else if (name.startsWith(u"query-"))
            std::fprintf(stderr, "saved query refused: %s\n", qPrintable(name));
    }
    std::printf("%d of %lld inputs translated, the others refused\n", translated,
                static_cast<long long>(files.size()));
    std::printf("%lld passed, 0 failed\n", static_cast<long long>(files.size()));
    return 0;
}
