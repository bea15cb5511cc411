#pragma once

struct sqlite3;

namespace korvesta {

// Registers on one connection: the NOCASE collation and like() that ignore letter case for
// Cyrillic as well as Latin, and the functions the translated SQL calls (jet_left, jet_format,
// jet_datediff, jet_first, ...), each behaving as the Jet function of the same name.
void registerJetFunctions(sqlite3 *db);

// Comparison used by the NOCASE collation (negative, 0, positive); exposed for tests and sorting.
int compareNoCase(const char *a, int aLength, const char *b, int bLength);

} // namespace korvesta
