#pragma once

namespace korvesta {

// The value types the program reads and writes fields in.
enum class JetType { Unknown, Text, Long, Integer, Double, Date, Boolean };

} // namespace korvesta
