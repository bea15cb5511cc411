#pragma once

#include <cstddef>
#include <cstdint>

namespace korvesta {

// Reads the bytes as an imported table would be read: as a file given to the import, told
// apart by content (a book, a CSV text, anything else), in each encoding a user may choose.
// A file the reader refuses is fine; a crash, a sanitizer report or an exception is a fault.
// True when the bytes were read as a table.
bool runSheetInput(const uint8_t *data, size_t size);

} // namespace korvesta
