#include "pgrowsort.h"

#include "sqlfunctions.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <numeric>
#include <string>

namespace korvesta {

namespace {

enum class KeyKind { Number, Bytes, Text };

KeyKind kindOf(Oid type)
{
    switch (type) {
    case 16:   // bool
    case 20:   // int8
    case 21:   // int2
    case 23:   // int4
    case 26:   // oid
    case 700:  // float4
    case 701:  // float8
    case 1700: // numeric
        return KeyKind::Number;
    case 1082: // date: ISO text orders as the dates do
    case 1114: // timestamp
        return KeyKind::Bytes;
    default:
        return KeyKind::Text;
    }
}

// One row's value of one key, read once before sorting.
struct KeyValue
{
    const char *text = nullptr; // nullptr for Null
    int length = 0;
    double number = 0;
};

double numberOf(const char *text, int length)
{
    if (length == 1 && (*text == 't' || *text == 'f'))
        return *text == 't' ? 1 : 0;
    double v = 0;
    std::from_chars(text, text + length, v);
    return v;
}

int compare(KeyKind kind, const KeyValue &a, const KeyValue &b)
{
    if (!a.text || !b.text)
        return int(a.text != nullptr) - int(b.text != nullptr);
    switch (kind) {
    case KeyKind::Number:
        return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    case KeyKind::Bytes: {
        const int c = std::char_traits<char>::compare(a.text, b.text,
                                                      size_t(std::min(a.length, b.length)));
        return c != 0 ? c : a.length - b.length;
    }
    case KeyKind::Text:
        return compareNoCase(a.text, a.length, b.text, b.length);
    }
    return 0;
}

} // namespace

std::vector<int> sortedRows(const pg_result *result, const std::vector<PgSortKey> &keys)
{
    const int rows = PQntuples(result);
    std::vector<int> order(size_t(rows), 0);
    std::iota(order.begin(), order.end(), 0);
    const size_t width = keys.size();
    if (rows < 2 || width == 0)
        return order;
    std::vector<KeyKind> kinds;
    for (const PgSortKey &k : keys)
        kinds.push_back(kindOf(PQftype(result, k.column)));
    std::vector<KeyValue> values(size_t(rows) * width);
    for (int r = 0; r < rows; ++r) {
        for (size_t k = 0; k < width; ++k) {
            const int c = keys[k].column;
            if (PQgetisnull(result, r, c))
                continue;
            KeyValue &v = values[size_t(r) * width + k];
            v.text = PQgetvalue(result, r, c);
            v.length = PQgetlength(result, r, c);
            if (kinds[k] == KeyKind::Number)
                v.number = numberOf(v.text, v.length);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const KeyValue *x = &values[size_t(a) * width];
        const KeyValue *y = &values[size_t(b) * width];
        for (size_t k = 0; k < width; ++k) {
            const int c = compare(kinds[k], x[k], y[k]);
            if (c != 0)
                return keys[k].descending ? c > 0 : c < 0;
        }
        return false;
    });
    return order;
}

} // namespace korvesta
