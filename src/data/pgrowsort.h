#pragma once

#include <vector>

struct pg_result;

namespace korvesta {

// A column a server's rows are sorted by, on the program's side.
struct PgSortKey
{
    int column = 0;
    bool descending = false;
};

// The order of a result's rows by the keys in turn, as the file engine orders them: Null
// first, numbers by value, dates by time, text without regard to letter case ("ё" right after
// "е"). Rows equal by every key keep the server's order.
std::vector<int> sortedRows(const pg_result *result, const std::vector<PgSortKey> &keys);

} // namespace korvesta
