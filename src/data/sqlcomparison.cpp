#include "data/sqlfunctions.h"
#include "data/sqlfunctions_p.h"

#include <QChar>

#include <algorithm>

// Text compared as the program's users read it: letters without their case, Cyrillic
// included, for the NOCASE collation and for the two pattern languages of LIKE.
namespace korvesta {

using namespace sqlfn;

// ---- Characters ------------------------------------------------------------------------------

// Reads one code point of UTF-8 and moves past it. A malformed byte reads as a code point of
// its own (U+DC80 + byte), so that comparisons of damaged text are still consistent.
char32_t sqlfn::nextCodePoint(Bytes &p, Bytes end)
{
    const char32_t lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    if (lead < 0xC0 || lead >= 0xF8)
        return 0xDC00 + lead;
    if (lead < 0xE0) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead < 0xF0) {
        extra = 2;
        code = lead & 0x0F;
    } else {
        extra = 3;
        code = lead & 0x07;
    }
    if (end - p < extra)
        return 0xDC00 + lead;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xDC00 + lead;
        code = (code << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return code;
}

// Simple Unicode case folding: one code point to one, so "Ё" and "ё" compare equal and a
// folded text keeps its length in characters.
char32_t sqlfn::foldCase(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    return c > QChar::LastValidCodePoint ? c : QChar::toCaseFolded(c);
}

Bytes sqlfn::bytesOf(std::string_view text)
{
    return reinterpret_cast<Bytes>(text.data());
}

namespace {

bool isNull(sqlite3_value *value)
{
    return sqlite3_value_type(value) == SQLITE_NULL;
}

// ---- Patterns --------------------------------------------------------------------------------

// The two pattern languages of LIKE: SQL's ('%' any run, '_' one character, an escape character
// that makes the next one literal) and the dialect's ('*' any run, '?' one character, '#' one
// digit, "[a-cx]" one character of a list, "[!a-c]" one character outside it; a list also
// quotes a wildcard, as in "[*]").
enum class PatternSyntax { Sql, Dialect };

struct PatternToken
{
    enum Kind { AnyRun, AnyOne, Digit, List, Literal } kind = Literal;
    char32_t c = 0;         // Literal
    Bytes list = nullptr;   // List: the bytes between '[' (and '!') and ']'
    Bytes listEnd = nullptr;
    bool negated = false;
};

// Reads one token of a pattern and moves past it.
PatternToken nextToken(Bytes &p, Bytes end, PatternSyntax syntax, char32_t escape)
{
    PatternToken t;
    const char32_t c = nextCodePoint(p, end);
    if (syntax == PatternSyntax::Sql) {
        if (escape != 0 && c == escape && p < end)
            t.c = nextCodePoint(p, end);
        else if (c == '%')
            t.kind = PatternToken::AnyRun;
        else if (c == '_')
            t.kind = PatternToken::AnyOne;
        else
            t.c = c;
        return t;
    }
    switch (c) {
    case '*':
        t.kind = PatternToken::AnyRun;
        return t;
    case '?':
        t.kind = PatternToken::AnyOne;
        return t;
    case '#':
        t.kind = PatternToken::Digit;
        return t;
    case '[': {
        Bytes close = p;
        while (close < end && *close != ']')
            ++close;
        if (close == end)
            break; // an unclosed '[' is itself
        t.kind = PatternToken::List;
        t.negated = p < close && *p == '!';
        t.list = t.negated ? p + 1 : p;
        t.listEnd = close;
        p = close + 1;
        return t;
    }
    default:
        break;
    }
    t.c = c;
    return t;
}

bool inList(const PatternToken &t, char32_t c)
{
    const char32_t folded = foldCase(c);
    for (Bytes p = t.list; p < t.listEnd;) {
        const char32_t low = nextCodePoint(p, t.listEnd);
        char32_t high = low;
        if (p + 1 < t.listEnd && *p == '-') {
            ++p;
            high = nextCodePoint(p, t.listEnd);
        }
        if ((c >= low && c <= high) || (folded >= foldCase(low) && folded <= foldCase(high)))
            return true;
    }
    return false;
}

bool tokenMatches(const PatternToken &t, char32_t c)
{
    switch (t.kind) {
    case PatternToken::AnyOne:
        return true;
    case PatternToken::Digit:
        return c >= '0' && c <= '9';
    case PatternToken::List:
        return inList(t, c) != t.negated;
    case PatternToken::Literal:
        return t.c == c || foldCase(t.c) == foldCase(c);
    case PatternToken::AnyRun:
        break;
    }
    return false;
}

// Whether text matches a pattern, ignoring letter case. Greedy matching that goes back only
// to the last run wildcard keeps the cost at most length times length, however many run
// wildcards the pattern holds.
bool likeMatch(Bytes pattern, Bytes patternEnd, Bytes text, Bytes textEnd,
               PatternSyntax syntax, char32_t escape = 0)
{
    Bytes starPattern = nullptr;
    Bytes starText = nullptr;
    for (;;) {
        if (pattern < patternEnd) {
            Bytes next = pattern;
            const PatternToken token = nextToken(next, patternEnd, syntax, escape);
            if (token.kind == PatternToken::AnyRun) {
                pattern = starPattern = next;
                starText = text;
                continue;
            }
            if (text < textEnd) {
                Bytes textNext = text;
                if (tokenMatches(token, nextCodePoint(textNext, textEnd))) {
                    pattern = next;
                    text = textNext;
                    continue;
                }
            }
        } else if (text == textEnd) {
            return true;
        }
        if (starPattern == nullptr || starText == textEnd)
            return false;
        nextCodePoint(starText, textEnd);
        pattern = starPattern;
        text = starText;
    }
}

} // namespace

// ---- Collation and LIKE ----------------------------------------------------------------------

int sqlfn::collateNoCase(void *, int aLength, const void *a, int bLength, const void *b)
{
    return compareNoCase(static_cast<const char *>(a), aLength, static_cast<const char *>(b),
                         bLength);
}

void sqlfn::jetLike(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    char32_t escape = 0;
    if (argc == 3) {
        if (isNull(argv[2]))
            return sqlite3_result_null(context);
        QByteArray storage;
        const std::string_view text = argUtf8(argv[2], storage);
        Bytes p = bytesOf(text);
        const Bytes end = p + text.size();
        escape = p < end ? nextCodePoint(p, end) : 0;
        if (escape == 0 || p != end)
            return sqlite3_result_error(context, "ESCAPE expression must be a single character",
                                        -1);
    }
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(context);
    QByteArray patternStorage;
    QByteArray textStorage;
    const std::string_view pattern = argUtf8(argv[0], patternStorage);
    const std::string_view text = argUtf8(argv[1], textStorage);
    const int limit = sqlite3_limit(sqlite3_context_db_handle(context),
                                    SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
    if (pattern.size() > static_cast<size_t>(limit))
        return sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
    sqlite3_result_int(context, likeMatch(bytesOf(pattern), bytesOf(pattern) + pattern.size(),
                                          bytesOf(text), bytesOf(text) + text.size(),
                                          PatternSyntax::Sql, escape));
}

// jet_like(text, pattern): the dialect's Like, with its own wildcards and character lists.
void sqlfn::jetDialectLike(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(context);
    QByteArray textStorage;
    QByteArray patternStorage;
    const std::string_view text = argUtf8(argv[0], textStorage);
    const std::string_view pattern = argUtf8(argv[1], patternStorage);
    sqlite3_result_int(context, likeMatch(bytesOf(pattern), bytesOf(pattern) + pattern.size(),
                                          bytesOf(text), bytesOf(text) + text.size(),
                                          PatternSyntax::Dialect));
}

namespace {

// The place of a case-folded character in the order of names. Letters keep the order of
// their code points, except "ё", which Russian dictionaries place right after "е" rather
// than after "я"; it stays a letter of its own, so "Ёлкин" and "Елкин" still differ.
char32_t sortWeight(char32_t folded)
{
    constexpr char32_t ie = 0x0435; // е
    constexpr char32_t io = 0x0451; // ё
    return folded == io ? ie * 2 + 1 : folded * 2;
}

} // namespace

int compareNoCase(const char *a, int aLength, const char *b, int bLength)
{
    Bytes p = reinterpret_cast<Bytes>(a);
    Bytes q = reinterpret_cast<Bytes>(b);
    const Bytes pEnd = p + aLength;
    const Bytes qEnd = q + bLength;
    // Names in one list share long prefixes ("Преподаватель 1", "Преподаватель 2"): equal
    // bytes are equal letters, so skip them. Decoding resumes just after an ASCII byte, a
    // place every reading of the text (damaged text included) agrees is a letter boundary.
    const int common = std::min(aLength, bLength);
    int same = 0;
    while (same < common && p[same] == q[same])
        ++same;
    while (same > 0 && p[same - 1] >= 0x80)
        --same;
    p += same;
    q += same;
    while (p < pEnd && q < qEnd) {
        if ((*p | *q) < 0x80) {
            const int x = *p >= 'A' && *p <= 'Z' ? *p + 32 : *p;
            const int y = *q >= 'A' && *q <= 'Z' ? *q + 32 : *q;
            if (x != y)
                return x - y;
            ++p;
            ++q;
            continue;
        }
        const char32_t x = nextCodePoint(p, pEnd);
        const char32_t y = nextCodePoint(q, qEnd);
        if (x == y)
            continue;
        const char32_t weightX = sortWeight(foldCase(x));
        const char32_t weightY = sortWeight(foldCase(y));
        if (weightX != weightY)
            return weightX < weightY ? -1 : 1;
    }
    return static_cast<int>(p < pEnd) - static_cast<int>(q < qEnd);
}

} // namespace korvesta
