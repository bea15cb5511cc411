// The libFuzzer entry point (built by scripts/fuzz.sh with clang).

#include "dialectfuzz.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    korvesta::runDialectInput(data, size);
    return 0;
}
