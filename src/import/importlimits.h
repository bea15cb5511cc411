#pragma once

#include <QtGlobal>

namespace korvesta {

// What an imported file may hold. A real list or load is far below each limit; a file above
// one is refused with the limit named, before it can take the machine's memory or time. The
// help's page on import states the same numbers.
namespace importlimits {

constexpr qint64 kFileBytes = 256ll << 20;   // a CSV file, or a part of a book unpacked
constexpr qint64 kRatioFrom = 16ll << 20;    // a part this large unpacked...
constexpr qint64 kPackRatio = 100;           // ...may be at most this many times its packed size
constexpr int kRows = 100000;                // filled rows of a sheet
constexpr int kColumns = 256;                // columns holding a value
constexpr int kCellChars = 32767;            // characters of one cell, as a book allows
constexpr qint64 kSharedChars = 64ll << 20;  // characters of all the book's shared texts

} // namespace importlimits
} // namespace korvesta
