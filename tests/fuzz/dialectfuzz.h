#pragma once

#include <cstddef>
#include <cstdint>

namespace korvesta {

// Runs one statement of the program's SQL dialect, given as UTF-8 bytes, through the lexer,
// the parser and the translator against a new document with every saved query of the
// program, and prepares what the translator wrote on that document's connection (never runs
// it). A statement the dialect refuses is fine; any other failure is a fault: a crash, a
// sanitizer report, or an exception other than the engine's error escaping. True when the
// dialect read and translated the statement, false when it refused it.
bool runDialectInput(const uint8_t *data, size_t size);

} // namespace korvesta
