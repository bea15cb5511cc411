#include "data/sqlfunctions.h"
#include "data/sqlfunctions_p.h"

#include "data/isodate.h"
#include "data/jetformat.h"
#include "text/numberformat.h"

#include <QDebug>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace korvesta {

using namespace sqlfn;

namespace {

using ScalarCall = void (*)(sqlite3_context *, int, sqlite3_value **);

// ---- Characters ------------------------------------------------------------------------------

// Whether text starts with prefix, ignoring letter case.
bool startsWithNoCase(Bytes text, Bytes textEnd, Bytes prefix, Bytes prefixEnd)
{
    while (prefix < prefixEnd) {
        if (text == textEnd)
            return false;
        const char32_t have = nextCodePoint(text, textEnd);
        const char32_t wanted = nextCodePoint(prefix, prefixEnd);
        if (have != wanted && foldCase(have) != foldCase(wanted))
            return false;
    }
    return true;
}

// Byte offset just after the first 'count' characters of text (its size when shorter).
size_t charOffset(std::string_view text, qint64 count)
{
    size_t i = 0;
    for (; count > 0 && i < text.size(); --count) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

qint64 charCount(std::string_view text)
{
    qint64 count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool isAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// ---- Arguments and results -------------------------------------------------------------------

bool isNull(sqlite3_value *value)
{
    return sqlite3_value_type(value) == SQLITE_NULL;
}

bool isNumber(sqlite3_value *value)
{
    const int type = sqlite3_value_type(value);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

QString argString(sqlite3_value *value)
{
    QByteArray storage;
    const std::string_view text = argUtf8(value, storage);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void resultUtf8(sqlite3_context *context, std::string_view text)
{
    // A null pointer would read as SQL NULL; an empty text must stay text.
    sqlite3_result_text64(context, text.empty() ? "" : text.data(), text.size(),
                          SQLITE_TRANSIENT, SQLITE_UTF8);
}

// Integral values come back as integers, so they read as Jet writes them ("3", not "3.0").
void resultWhole(sqlite3_context *context, double value)
{
    if (!std::isfinite(value))
        sqlite3_result_null(context);
    else if (value == std::trunc(value) && std::fabs(value) < 9.0e18)
        sqlite3_result_int64(context, static_cast<sqlite3_int64>(value));
    else
        sqlite3_result_double(context, value);
}

// Numeric text as Jet converts it: blanks around, a sign, '.' (or a lone ',', as Russian
// settings write it) for the decimal point, an exponent.
bool parseNumber(std::string_view text, double &number)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::string clean(text);
    if (clean.find('.') == std::string::npos && clean.find(',') == clean.rfind(','))
        std::replace(clean.begin(), clean.end(), ',', '.');
    const size_t start = !clean.empty() && clean.front() == '+' ? 1 : 0;
    const char *end = clean.data() + clean.size();
    const auto [stop, error] = std::from_chars(clean.data() + start, end, number);
    return error == std::errc() && stop == end && start < clean.size() && std::isfinite(number);
}

// A number argument: a number or numeric text.
bool argNumber(sqlite3_value *value, double &number)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        number = sqlite3_value_double(value);
        return true;
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        QByteArray storage;
        return parseNumber(argUtf8(value, storage), number);
    }
    default:
        return false;
    }
}

} // namespace

// The UTF-8 text of an argument as Jet would see it: a real number in Jet's form ("3", where
// SQLite writes "3.0"). storage keeps converted text alive.
std::string_view sqlfn::argUtf8(sqlite3_value *value, QByteArray &storage)
{
    if (sqlite3_value_type(value) == SQLITE_FLOAT) {
        storage = jetNumberText(sqlite3_value_double(value)).toUtf8();
        return {storage.constData(), static_cast<size_t>(storage.size())};
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    if (text == nullptr)
        return {"", 0};
    return {text, static_cast<size_t>(sqlite3_value_bytes(value))};
}

void sqlfn::resultString(sqlite3_context *context, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    resultUtf8(context, {utf8.constData(), static_cast<size_t>(utf8.size())});
}

// A count or position: rounded half to even, as Jet converts to Long. Beyond 2^53 it is
// refused, which also keeps the callers' arithmetic from overflowing.
bool sqlfn::argWhole(sqlite3_value *value, qint64 &whole)
{
    constexpr qint64 kLimit = 1LL << 53;
    if (sqlite3_value_type(value) == SQLITE_INTEGER) {
        whole = sqlite3_value_int64(value);
        return whole >= -kLimit && whole <= kLimit;
    }
    double number = 0;
    if (!argNumber(value, number) || std::fabs(number) > static_cast<double>(kLimit))
        return false;
    whole = static_cast<qint64>(std::nearbyint(number));
    return true;
}

namespace {

// ---- Text ------------------------------------------------------------------------------------

template <bool Upper>
void jetChangeCase(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(context);
    QByteArray storage;
    const std::string_view text = argUtf8(argv[0], storage);
    if (isAscii(text)) {
        std::string changed(text);
        for (char &c : changed) {
            if (Upper && c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
            else if (!Upper && c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        }
        return resultUtf8(context, changed);
    }
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    resultString(context, Upper ? string.toUpper() : string.toLower());
}

// Jet trims spaces only, not tabs or line breaks.
template <bool Left, bool Right>
void jetTrim(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(context);
    QByteArray storage;
    std::string_view text = argUtf8(argv[0], storage);
    while (Left && !text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (Right && !text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    resultUtf8(context, text);
}

void jetLeft(sqlite3_context *context, int, sqlite3_value **argv)
{
    qint64 count = 0;
    if (isNull(argv[0]) || !argWhole(argv[1], count) || count < 0)
        return sqlite3_result_null(context);
    QByteArray storage;
    const std::string_view text = argUtf8(argv[0], storage);
    resultUtf8(context, text.substr(0, charOffset(text, count)));
}

void jetRight(sqlite3_context *context, int, sqlite3_value **argv)
{
    qint64 count = 0;
    if (isNull(argv[0]) || !argWhole(argv[1], count) || count < 0)
        return sqlite3_result_null(context);
    QByteArray storage;
    const std::string_view text = argUtf8(argv[0], storage);
    resultUtf8(context, text.substr(charOffset(text, charCount(text) - count)));
}

void jetMid(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    qint64 start = 0;
    qint64 length = std::numeric_limits<qint64>::max();
    if (isNull(argv[0]) || !argWhole(argv[1], start) || start < 1
        || (argc == 3 && (!argWhole(argv[2], length) || length < 0)))
        return sqlite3_result_null(context);
    QByteArray storage;
    const std::string_view text = argUtf8(argv[0], storage);
    const std::string_view rest = text.substr(charOffset(text, start - 1));
    resultUtf8(context, rest.substr(0, charOffset(rest, length)));
}

void jetLen(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(context);
    QByteArray storage;
    sqlite3_result_int64(context, charCount(argUtf8(argv[0], storage)));
}

// InStr([start, ]text, sought): the character position of sought, ignoring letter case.
void jetInStr(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    qint64 start = 1;
    sqlite3_value *textArg = argv[argc - 2];
    sqlite3_value *soughtArg = argv[argc - 1];
    if ((argc == 3 && (!argWhole(argv[0], start) || start < 1)) || isNull(textArg)
        || isNull(soughtArg))
        return sqlite3_result_null(context);
    QByteArray textStorage;
    QByteArray soughtStorage;
    const std::string_view text = argUtf8(textArg, textStorage);
    const std::string_view sought = argUtf8(soughtArg, soughtStorage);
    if (text.empty() || start > charCount(text))
        return sqlite3_result_int(context, 0);
    if (sought.empty())
        return sqlite3_result_int64(context, start);
    Bytes p = bytesOf(text) + charOffset(text, start - 1);
    const Bytes end = bytesOf(text) + text.size();
    for (qint64 position = start; p < end; ++position) {
        if (startsWithNoCase(p, end, bytesOf(sought), bytesOf(sought) + sought.size()))
            return sqlite3_result_int64(context, position);
        nextCodePoint(p, end);
    }
    sqlite3_result_int(context, 0);
}

bool withinLengthLimit(sqlite3_context *context, qint64 bytes)
{
    if (bytes <= sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LENGTH, -1))
        return true;
    sqlite3_result_error_toobig(context);
    return false;
}

void jetSpace(sqlite3_context *context, int, sqlite3_value **argv)
{
    qint64 count = 0;
    if (!argWhole(argv[0], count) || count < 0)
        return sqlite3_result_null(context);
    if (withinLengthLimit(context, count))
        resultUtf8(context, std::string(static_cast<size_t>(count), ' '));
}

// String(n, c): c is a character code or a text whose first character is repeated.
void jetString(sqlite3_context *context, int, sqlite3_value **argv)
{
    qint64 count = 0;
    if (!argWhole(argv[0], count) || count < 0 || isNull(argv[1]))
        return sqlite3_result_null(context);
    QByteArray storage;
    std::string_view unit;
    if (isNumber(argv[1])) {
        qint64 code = 0;
        if (!argWhole(argv[1], code) || code <= 0 || code > QChar::LastValidCodePoint)
            return sqlite3_result_null(context);
        const auto character = static_cast<char32_t>(code);
        storage = QString::fromUcs4(&character, 1).toUtf8();
        unit = {storage.constData(), static_cast<size_t>(storage.size())};
    } else {
        const std::string_view text = argUtf8(argv[1], storage);
        unit = text.substr(0, charOffset(text, 1));
    }
    if (unit.empty())
        return sqlite3_result_null(context);
    const auto unitSize = static_cast<qint64>(unit.size());
    if (!withinLengthLimit(context, count * unitSize))
        return;
    std::string repeated;
    repeated.reserve(static_cast<size_t>(count) * unit.size());
    for (qint64 i = 0; i < count; ++i)
        repeated += unit;
    resultUtf8(context, repeated);
}

void jetReplace(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNull(argv[0]) || isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(context);
    QString text = argString(argv[0]);
    const QString sought = argString(argv[1]);
    if (!sought.isEmpty())
        text.replace(sought, argString(argv[2]), Qt::CaseInsensitive);
    resultString(context, text);
}

void jetNz(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (!isNull(argv[0]))
        sqlite3_result_value(context, argv[0]);
    else if (argc == 2)
        sqlite3_result_value(context, argv[1]);
    else
        sqlite3_result_text(context, "", 0, SQLITE_STATIC);
}

// ---- Conversions and arithmetic --------------------------------------------------------------

// A number as the conversion functions take it: a number, numeric text, or a date as its day
// serial.
bool argNumeric(sqlite3_value *value, double &number)
{
    if (argNumber(value, number))
        return true;
    MomentParts moment;
    if (sqlite3_value_type(value) != SQLITE_TEXT || !argMoment(value, moment))
        return false;
    number = daySerial(moment);
    return true;
}

// The text a stored date shows as wherever Jet turns a date into text; other values as they are.
void jetDateText(sqlite3_context *context, int, sqlite3_value **argv)
{
    MomentParts moment;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && argMoment(argv[0], moment))
        return resultString(context, displayDateText(moment.date, moment.time));
    sqlite3_result_value(context, argv[0]);
}

// Str writes a space where the sign of a negative number would stand.
void jetStr(sqlite3_context *context, int, sqlite3_value **argv)
{
    MomentParts moment;
    double number = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && argMoment(argv[0], moment))
        return resultString(context, displayDateText(moment.date, moment.time));
    if (!argNumber(argv[0], number))
        return sqlite3_result_null(context);
    QByteArray storage;
    const std::string digits = isNumber(argv[0]) ? std::string(argUtf8(argv[0], storage))
                                                 : jetNumberText(number).toStdString();
    resultUtf8(context, (number < 0 ? "" : " ") + digits);
}

void jetCStr(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNumber(argv[0])) {
        QByteArray storage;
        return resultUtf8(context, argUtf8(argv[0], storage));
    }
    jetDateText(context, 1, argv);
}

// Val reads the number at the start of a text, skipping blanks anywhere ("1 234 руб" is 1234);
// 0 when the text starts with no number.
void jetVal(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(context);
    if (isNumber(argv[0]))
        return sqlite3_result_value(context, argv[0]);
    QByteArray storage;
    std::string text;
    for (char c : argUtf8(argv[0], storage)) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            text += c;
    }
    const auto isDigit = [&text](size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool anyDigit = false;
    for (; isDigit(i); ++i)
        anyDigit = true;
    if (i < text.size() && text[i] == '.') {
        for (++i; isDigit(i); ++i)
            anyDigit = true;
    }
    if (!anyDigit)
        return sqlite3_result_double(context, 0);
    size_t end = i;
    if (i < text.size() && std::string_view("eEdD").find(text[i]) != std::string_view::npos) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            text[i] = 'e';
            end = j;
        }
    }
    double number = 0;
    const size_t start = text[0] == '+' ? 1 : 0;
    std::from_chars(text.data() + start, text.data() + end, number);
    sqlite3_result_double(context, std::isfinite(number) ? number : 0);
}

// CLng and CInt round half to even and fail (NULL) outside their range.
template <qint64 Min, qint64 Max>
void jetToWhole(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (!argNumeric(argv[0], number))
        return sqlite3_result_null(context);
    number = std::nearbyint(number);
    if (number < static_cast<double>(Min) || number > static_cast<double>(Max))
        return sqlite3_result_null(context);
    sqlite3_result_int64(context, static_cast<qint64>(number));
}

void jetCDbl(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (!argNumeric(argv[0], number))
        return sqlite3_result_null(context);
    sqlite3_result_double(context, number);
}

void jetCBool(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (argNumber(argv[0], number))
        return sqlite3_result_int(context, number != 0);
    if (isNull(argv[0]))
        return sqlite3_result_null(context);
    const QString word = argString(argv[0]).trimmed().toLower();
    if (word == u"true" || word == u"истина" || word == u"да" || word == u"yes")
        return sqlite3_result_int(context, 1);
    if (word == u"false" || word == u"ложь" || word == u"нет" || word == u"no")
        return sqlite3_result_int(context, 0);
    sqlite3_result_null(context);
}

// Int rounds down, Fix toward zero: Int(-2.5) is -3, Fix(-2.5) is -2.
template <bool Down>
void jetIntPart(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
        return sqlite3_result_value(context, argv[0]);
    if (!argNumeric(argv[0], number))
        return sqlite3_result_null(context);
    resultWhole(context, Down ? std::floor(number) : std::trunc(number));
}

// Round(x[, places]) rounds half to even, as Jet does: Round(2.5) is 2, Round(0.125, 2) 0.12.
void jetRound(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    qint64 places = 0;
    double number = 0;
    if ((argc == 2 && (!argWhole(argv[1], places) || places < 0 || places > 15))
        || !argNumeric(argv[0], number))
        return sqlite3_result_null(context);
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER)
        return sqlite3_result_value(context, argv[0]);
    const double scale = std::pow(10.0, static_cast<double>(places));
    // Rounded to 15 significant digits first, so that 2.675 (held as 2.67499...) is a half.
    double scaled = number * scale;
    char digits[40];
    const auto written = std::to_chars(digits, digits + sizeof digits, scaled,
                                       std::chars_format::general, 15);
    std::from_chars(digits, written.ptr, scaled);
    const double rounded = std::nearbyint(scaled) / scale;
    if (places == 0)
        return resultWhole(context, rounded);
    sqlite3_result_double(context, rounded);
}

void jetAbs(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER
        && sqlite3_value_int64(argv[0]) != std::numeric_limits<qint64>::min())
        return sqlite3_result_int64(context, std::llabs(sqlite3_value_int64(argv[0])));
    if (!argNumeric(argv[0], number))
        return sqlite3_result_null(context);
    sqlite3_result_double(context, std::fabs(number));
}

void jetSgn(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (!argNumeric(argv[0], number))
        return sqlite3_result_null(context);
    sqlite3_result_int(context, (number > 0) - (number < 0));
}

void jetSqr(sqlite3_context *context, int, sqlite3_value **argv)
{
    double number = 0;
    if (!argNumeric(argv[0], number) || number < 0)
        return sqlite3_result_null(context);
    sqlite3_result_double(context, std::sqrt(number));
}

void jetPow(sqlite3_context *context, int, sqlite3_value **argv)
{
    double base = 0;
    double exponent = 0;
    if (!argNumeric(argv[0], base) || !argNumeric(argv[1], exponent))
        return sqlite3_result_null(context);
    const double power = std::pow(base, exponent);
    if (!std::isfinite(power))
        return sqlite3_result_null(context);
    sqlite3_result_double(context, power);
}

// Format(value[, pattern]): a date or date text under a date pattern, a number otherwise. Text
// that is neither date nor number comes back unchanged.
void jetFormat(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(context);
    const QString pattern = argc < 2 || isNull(argv[1]) ? QString() : argString(argv[1]);
    const bool datePattern = isDatePattern(pattern);
    MomentParts moment;
    double number = 0;
    if (!isNumber(argv[0])) {
        if (argMoment(argv[0], moment)) {
            if (datePattern || pattern.isEmpty())
                return resultString(context, formatDate(moment.date, moment.time, pattern));
            return resultString(context, formatNumber(daySerial(moment), pattern));
        }
        if (!argNumber(argv[0], number))
            return sqlite3_result_value(context, argv[0]);
    } else {
        number = sqlite3_value_double(argv[0]);
    }
    if (datePattern && serialMoment(number, moment))
        return resultString(context, formatDate(moment.date, moment.time, pattern));
    resultString(context, formatNumber(number, pattern));
}

// ---- Collation, LIKE and aggregates ----------------------------------------------------------

// First and Last take the value of the first and last row fed into the group, Null included.
struct PickedValue {
    sqlite3_value *value; // owned; the state starts zeroed
    bool picked;
};

template <bool Last>
void pickStep(sqlite3_context *context, int, sqlite3_value **argv)
{
    void *memory = sqlite3_aggregate_context(context, sizeof(PickedValue));
    auto *state = static_cast<PickedValue *>(memory);
    if (state == nullptr)
        return sqlite3_result_error_nomem(context);
    if (state->picked && !Last)
        return;
    sqlite3_value_free(state->value);
    state->value = sqlite3_value_dup(argv[0]);
    state->picked = true;
    if (state->value == nullptr)
        sqlite3_result_error_nomem(context);
}

void pickFinal(sqlite3_context *context)
{
    auto *state = static_cast<PickedValue *>(sqlite3_aggregate_context(context, 0));
    if (state == nullptr || state->value == nullptr)
        return sqlite3_result_null(context);
    sqlite3_result_value(context, state->value);
    sqlite3_value_free(state->value);
    state->value = nullptr;
}

struct ScalarFunction {
    const char *name;
    int argCount;
    int flags;
    ScalarCall call;
};

constexpr int kPure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;

const ScalarFunction kScalarFunctions[] = {
    {"like", 2, kPure, jetLike},
    {"like", 3, kPure, jetLike},
    {"jet_like", 2, kPure, jetDialectLike},
    {"jet_ucase", 1, kPure, jetChangeCase<true>},
    {"jet_lcase", 1, kPure, jetChangeCase<false>},
    {"jet_trim", 1, kPure, jetTrim<true, true>},
    {"jet_ltrim", 1, kPure, jetTrim<true, false>},
    {"jet_rtrim", 1, kPure, jetTrim<false, true>},
    {"jet_left", 2, kPure, jetLeft},
    {"jet_right", 2, kPure, jetRight},
    {"jet_mid", 2, kPure, jetMid},
    {"jet_mid", 3, kPure, jetMid},
    {"jet_instr", 2, kPure, jetInStr},
    {"jet_instr", 3, kPure, jetInStr},
    {"jet_len", 1, kPure, jetLen},
    {"jet_space", 1, kPure, jetSpace},
    {"jet_string", 2, kPure, jetString},
    {"jet_replace", 3, kPure, jetReplace},
    {"jet_nz", 1, kPure, jetNz},
    {"jet_nz", 2, kPure, jetNz},
    {"jet_datediff", 3, kPure, jetDateDiff},
    {"jet_dateadd", 3, kPure, jetDateAdd},
    {"jet_dateserial", 3, kPure, jetDateSerial},
    {"jet_cdate", 1, kPure, jetCDate},
    {"jet_datevalue", 1, kPure, jetDateValue},
    {"jet_year", 1, kPure, jetDatePart<DatePart::Year>},
    {"jet_month", 1, kPure, jetDatePart<DatePart::Month>},
    {"jet_day", 1, kPure, jetDatePart<DatePart::Day>},
    {"jet_hour", 1, kPure, jetDatePart<DatePart::Hour>},
    {"jet_minute", 1, kPure, jetDatePart<DatePart::Minute>},
    {"jet_second", 1, kPure, jetDatePart<DatePart::Second>},
    {"jet_weekday", 1, kPure, jetWeekday},
    {"jet_weekday", 2, kPure, jetWeekday},
    {"jet_format", 1, kPure, jetFormat},
    {"jet_format", 2, kPure, jetFormat},
    {"jet_datetext", 1, kPure, jetDateText},
    {"jet_str", 1, kPure, jetStr},
    {"jet_cstr", 1, kPure, jetCStr},
    {"jet_val", 1, kPure, jetVal},
    {"jet_clng", 1, kPure, jetToWhole<-2147483648LL, 2147483647LL>},
    {"jet_cint", 1, kPure, jetToWhole<-32768, 32767>},
    {"jet_cdbl", 1, kPure, jetCDbl},
    {"jet_cbool", 1, kPure, jetCBool},
    {"jet_int", 1, kPure, jetIntPart<true>},
    {"jet_fix", 1, kPure, jetIntPart<false>},
    {"jet_round", 1, kPure, jetRound},
    {"jet_round", 2, kPure, jetRound},
    {"jet_abs", 1, kPure, jetAbs},
    {"jet_sgn", 1, kPure, jetSgn},
    {"jet_sqr", 1, kPure, jetSqr},
    {"jet_pow", 2, kPure, jetPow},
};

struct AggregateFunction {
    const char *name;
    ScalarCall step;
    void (*final)(sqlite3_context *);
};

const AggregateFunction kAggregateFunctions[] = {
    {"jet_first", pickStep<false>, pickFinal},
    {"jet_last", pickStep<true>, pickFinal},
};

} // namespace

// Call right after opening: SQLite refuses to replace NOCASE while statements are prepared.
void registerJetFunctions(sqlite3 *db)
{
    int rc = sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, collateNoCase,
                                         nullptr);
    for (const ScalarFunction &f : kScalarFunctions) {
        if (rc == SQLITE_OK)
            rc = sqlite3_create_function_v2(db, f.name, f.argCount, f.flags, nullptr, f.call,
                                            nullptr, nullptr, nullptr);
    }
    for (const AggregateFunction &f : kAggregateFunctions) {
        if (rc == SQLITE_OK)
            rc = sqlite3_create_function_v2(db, f.name, 1, SQLITE_UTF8 | SQLITE_INNOCUOUS, nullptr,
                                            nullptr, f.step, f.final, nullptr);
    }
    if (rc != SQLITE_OK)
        qWarning("Could not register the Jet functions: %s", sqlite3_errmsg(db));
}

} // namespace korvesta
