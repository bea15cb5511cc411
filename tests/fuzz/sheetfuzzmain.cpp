// The libFuzzer entry point of the imported tables' readers (scripts/fuzz.sh sheets).

#include "sheetfuzz.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    korvesta::runSheetInput(data, size);
    return 0;
}
