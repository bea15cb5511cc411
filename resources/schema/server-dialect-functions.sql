-- The dialect's conversions, date parts and Format on the server, computed as the file engine
-- computes them: text may hold a date ('2026-10-14', '14.10.2026 08:30') or a number
-- ('12,5'), a number may stand for a date (its day serial, day 0 being 30.12.1899), and
-- a value that does not convert gives Null rather than an error. Needs server-functions.sql
-- first (jet_datetext, jet_floordiv, jet_int...). Every statement may run again.
--
-- Text arguments are read under collation "C" or "und-x-icu" whatever column they come from:
-- a korvesta_nocase column would make 'a' = 'A' and refuses regular expressions.

-- ---- Reading values -------------------------------------------------------------------------

-- A date or moment written as 'yyyy-mm-dd', 'dd.mm.yyyy' or 'd.m.yyyy', optionally followed by
-- ' hh:mm', ' hh:mm:ss' or 'Thh:mm:ss.fff'; Null for anything else, an impossible day included.
-- Read by the shape of the text (every digit a 9), which is cheaper per row than a pattern.
CREATE OR REPLACE FUNCTION jet_moment(v text) RETURNS timestamp LANGUAGE plpgsql IMMUTABLE STRICT
AS $$
DECLARE
    s text COLLATE "C" := btrim(v, ' ');
    cut integer := least(nullif(strpos(s, ' '), 0), nullif(strpos(s, 'T'), 0), length(s) + 1);
    d text COLLATE "C" := left(s, cut - 1);
    t text COLLATE "C" := ltrim(substr(s, cut), ' T');
    shape text COLLATE "C" := translate(d, '0123456789', '9999999999');
    clock text COLLATE "C" := split_part(t, '.', 1);
    fraction text COLLATE "C" := substr(t, length(clock) + 2);
    y integer;
    mo integer;
    dy integer;
    h integer := 0;
    mi integer := 0;
    se integer := 0;
BEGIN
    IF shape IN ('9999-9-9', '9999-99-9', '9999-9-99', '9999-99-99') THEN
        y := split_part(d, '-', 1);
        mo := split_part(d, '-', 2);
        dy := split_part(d, '-', 3);
    ELSIF shape IN ('9.9.9999', '99.9.9999', '9.99.9999', '99.99.9999') THEN
        y := split_part(d, '.', 3);
        mo := split_part(d, '.', 2);
        dy := split_part(d, '.', 1);
    ELSE
        RETURN NULL;
    END IF;
    IF cut <= length(s) THEN
        -- A time after blanks or 'T': h:mm, h:mm:ss, or h:mm:ss and a fraction of digits.
        shape := translate(clock, '0123456789', '9999999999');
        IF NOT (shape IN ('9:99:99', '99:99:99')
                OR (shape IN ('9:99', '99:99') AND strpos(t, '.') = 0))
           OR (strpos(t, '.') > 0
               AND (fraction = '' OR translate(fraction, '0123456789', '') <> '')) THEN
            RETURN NULL;
        END IF;
        h := split_part(clock, ':', 1);
        mi := split_part(clock, ':', 2);
        se := coalesce(nullif(split_part(clock, ':', 3), ''), '0');
    END IF;
    IF y < 1 OR mo NOT BETWEEN 1 AND 12 OR dy < 1 OR h > 23 OR mi > 59 OR se > 59 THEN
        RETURN NULL;
    ELSIF dy > extract(DAY FROM make_date(y, mo, 1) + interval '1 month' - interval '1 day') THEN
        RETURN NULL;
    END IF;
    -- Fractions of a second count to the millisecond.
    RETURN make_timestamp(y, mo, dy, h, mi,
                          se + coalesce(rpad(left(fraction, 3), 3, '0')::integer, 0) / 1000.0);
END
$$;

-- Digits already checked; only a value beyond the range of a double is left to fail.
CREATE OR REPLACE FUNCTION jet_tofloat(s text) RETURNS double precision LANGUAGE plpgsql
IMMUTABLE STRICT
AS $$
BEGIN
    RETURN s::double precision;
EXCEPTION WHEN numeric_value_out_of_range OR invalid_text_representation THEN
    RETURN NULL;
END
$$;

-- A number written as text: blanks and tabs around, a sign, '.' (or one lone ',') for the
-- decimal point, an exponent. Null when the text is anything more.
CREATE OR REPLACE FUNCTION jet_readnumber(v text) RETURNS double precision LANGUAGE plpgsql
IMMUTABLE STRICT
AS $$
DECLARE
    s text COLLATE "C" := btrim(v, E' \t');
BEGIN
    IF strpos(s, '.') = 0 AND length(s) - length(replace(s, ',', '')) <= 1 THEN
        s := replace(s, ',', '.');
    END IF;
    IF s !~ '^\+?-?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$' THEN
        RETURN NULL;
    END IF;
    s := ltrim(s, '+');
    IF length(s) < 300 AND strpos(lower(s), 'e') = 0 THEN
        RETURN s::double precision;
    END IF;
    RETURN jet_tofloat(s);
END
$$;

-- A count or a position: rounded half to even, refused beyond 2^53.
CREATE OR REPLACE FUNCTION jet_whole(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN abs(v) <= 9007199254740992 THEN round(v)::bigint END $$;

-- The day serial of a moment: whole days from 30.12.1899 and the time of day (whole seconds)
-- as the fraction, which before day 0 still counts forward from midnight (-1.25 is
-- 29.12.1899 06:00).
CREATE OR REPLACE FUNCTION jet_dayserial(t timestamp) RETURNS double precision LANGUAGE sql
IMMUTABLE
AS $$ SELECT (t::date - DATE '1899-12-30')::double precision
             + CASE WHEN t < DATE '1899-12-30' THEN -1 ELSE 1 END
               * (floor(extract(EPOCH FROM t::time))::double precision / 86400) $$;

-- The moment a day serial stands for, to the nearest second; Null beyond 3 000 000 days either
-- way and before 4714 BC, where the server's calendar ends.
CREATE OR REPLACE FUNCTION jet_serialmoment(s double precision) RETURNS timestamp LANGUAGE sql
IMMUTABLE
AS $$ SELECT CASE WHEN abs(s) <= 3.0e6 AND trunc(s) >= -2415019 THEN
                DATE '1899-12-30' + trunc(s)::integer
                + (floor(abs(s - trunc(s)) * 86400)
                   + (abs(s - trunc(s)) * 86400 - floor(abs(s - trunc(s)) * 86400) >= 0.5)::integer)
                  * interval '1 second' END $$;

-- Text without the blanks around it, of any kind (line breaks, no-break spaces...).
CREATE OR REPLACE FUNCTION jet_trimspace(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT btrim(v, E' \t\n\r\x0B\f\u0085\u00A0\u1680\u2000\u2001\u2002\u2003\u2004\u2005'
                      '\u2006\u2007\u2008\u2009\u200A\u2028\u2029\u202F\u205F\u3000') $$;

-- The number a text stands for: numeric text, or date text as its day serial; else Null.
CREATE OR REPLACE FUNCTION jet_numeric(v text) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT coalesce(jet_readnumber(v), jet_dayserial(jet_moment(v))) $$;

-- ---- Writing values -------------------------------------------------------------------------

-- A number as text: whole numbers in full, others to 15 significant digits, exponents from
-- 1E+15 and below 1E-04 ("1234", "0.3", "1.5E-05"); nothing for infinity.
CREATE OR REPLACE FUNCTION jet_numbertext(v double precision) RETURNS text LANGUAGE plpgsql
IMMUTABLE STRICT
AS $$
DECLARE
    n numeric;
    t text COLLATE "C";
    digits text COLLATE "C";
    e integer;
BEGIN
    IF v IN ('Infinity', '-Infinity', 'NaN') THEN
        RETURN '';
    ELSIF v = trunc(v) AND abs(v) < 1e15 THEN
        RETURN v::bigint::text;
    END IF;
    -- Turned into numeric, a double keeps 15 significant digits, as wanted here.
    n := abs(v)::numeric;
    t := n::text;
    IF n >= 1 THEN
        e := length(split_part(t, '.', 1)) - 1;
    ELSE
        e := -1 - (length(split_part(t, '.', 2)) - length(ltrim(split_part(t, '.', 2), '0')));
    END IF;
    IF e >= -4 AND e < 15 THEN
        RETURN CASE WHEN v < 0 THEN '-' ELSE '' END || t;
    END IF;
    digits := rtrim(ltrim(replace(t, '.', ''), '0'), '0');
    RETURN CASE WHEN v < 0 THEN '-' ELSE '' END || left(digits, 1)
           || CASE WHEN length(digits) > 1 THEN '.' || substr(digits, 2) ELSE '' END
           || CASE WHEN e < 0 THEN 'E-' ELSE 'E+' END
           || CASE WHEN abs(e) < 10 THEN '0' ELSE '' END || abs(e)::text;
END
$$;

-- A date as the user reads it (dd.mm.yyyy, with the time unless midnight); a year outside
-- 1..9999 as the calendar writes it, without the time.
CREATE OR REPLACE FUNCTION jet_showdate(t timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN extract(YEAR FROM t) BETWEEN 1 AND 9999 THEN jet_datetext(t)
                  WHEN extract(YEAR FROM t) < 0
                  THEN to_char(t, 'DD.MM.-') || lpad((-extract(YEAR FROM t))::text, 4, '0')
                  ELSE to_char(t, 'DD.MM.') || extract(YEAR FROM t)::text END $$;

-- A date as the file engine holds it, where text functions meet it: ISO, with the time
-- unless midnight.
CREATE OR REPLACE FUNCTION jet_isotext(t timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN t::time = '00:00' THEN to_char(t, 'YYYY-MM-DD')
                  ELSE to_char(t, 'YYYY-MM-DD HH24:MI:SS') END $$;

-- ---- Text -----------------------------------------------------------------------------------

-- Replace(text, sought, by): every occurrence, left to right, without regard to letter case.
CREATE OR REPLACE FUNCTION jet_replace(v text, f text, r text) RETURNS text LANGUAGE sql
IMMUTABLE STRICT
AS $$ SELECT CASE WHEN length(f) = 0 THEN v
                  ELSE regexp_replace(v COLLATE "und-x-icu", '***=' || f,
                                      replace(r COLLATE "und-x-icu", '\', '\\'), 'gi') END $$;
CREATE OR REPLACE FUNCTION jet_replace(v double precision, f text, r text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_replace(jet_numbertext(v), f, r) $$;
CREATE OR REPLACE FUNCTION jet_replace(v timestamp, f text, r text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_replace(jet_isotext(v), f, r) $$;

CREATE OR REPLACE FUNCTION jet_space(n double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN jet_whole(n) >= 0 THEN repeat(' ', jet_whole(n)::integer) END $$;
CREATE OR REPLACE FUNCTION jet_space(n text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_space(jet_readnumber(n)) $$;
CREATE OR REPLACE FUNCTION jet_space(n timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT NULL::text $$;

-- String(n, c): the first character of a text, or the character of a code, n times.
CREATE OR REPLACE FUNCTION jet_string(n double precision, c text) RETURNS text LANGUAGE sql
IMMUTABLE
AS $$ SELECT CASE WHEN jet_whole(n) >= 0 AND length(c) > 0
                  THEN repeat(left(c, 1), jet_whole(n)::integer) END $$;
CREATE OR REPLACE FUNCTION jet_string(n double precision, c double precision) RETURNS text
LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN jet_whole(c) BETWEEN 1 AND 1114111
                  -- A lone surrogate is no character: it shows as the replacement mark.
                  THEN jet_string(n, chr(CASE WHEN jet_whole(c) BETWEEN 55296 AND 57343 THEN 65533
                                              ELSE jet_whole(c)::integer END)) END $$;
CREATE OR REPLACE FUNCTION jet_string(n double precision, c timestamp) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_string(n, jet_isotext(c)) $$;

-- Text functions meet a number as its text and a date as held (their text overloads are in
-- server-functions.sql); InStr may start further on.
CREATE OR REPLACE FUNCTION jet_ucase(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_ucase(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_isotext(v) $$;
CREATE OR REPLACE FUNCTION jet_lcase(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT lower(jet_numbertext(v)) $$;
CREATE OR REPLACE FUNCTION jet_lcase(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_isotext(v) $$;
CREATE OR REPLACE FUNCTION jet_trim(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_trim(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_isotext(v) $$;
CREATE OR REPLACE FUNCTION jet_ltrim(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_ltrim(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_isotext(v) $$;
CREATE OR REPLACE FUNCTION jet_rtrim(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_rtrim(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_isotext(v) $$;
CREATE OR REPLACE FUNCTION jet_left(v double precision, n double precision) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_left(jet_numbertext(v), n) $$;
CREATE OR REPLACE FUNCTION jet_right(v double precision, n double precision) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_right(jet_numbertext(v), n) $$;
CREATE OR REPLACE FUNCTION jet_mid(v double precision, s double precision,
                                   n double precision DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_mid(jet_numbertext(v), s, n) $$;
CREATE OR REPLACE FUNCTION jet_instr(s double precision, v text, f text) RETURNS bigint
LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN jet_whole(s) IS NULL OR jet_whole(s) < 1 OR v IS NULL OR f IS NULL THEN NULL
                  WHEN jet_whole(s) > length(v) THEN 0
                  WHEN length(f) = 0 THEN jet_whole(s)
                  ELSE regexp_instr(v COLLATE "und-x-icu", '***=' || f, jet_whole(s)::integer,
                                    1, 0, 'i')::bigint END $$;

-- Nz(v[, instead]): v, or instead of Null the second value or empty text.
CREATE OR REPLACE FUNCTION jet_nz(v anycompatible, f anycompatible) RETURNS anycompatible
LANGUAGE sql IMMUTABLE AS $$ SELECT coalesce(v, f) $$;
CREATE OR REPLACE FUNCTION jet_nz(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT coalesce(v, '') $$;

-- ---- Dates ----------------------------------------------------------------------------------

CREATE OR REPLACE FUNCTION jet_year(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT extract(YEAR FROM v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_year(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_year(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_year(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_year(jet_serialmoment(v)) $$;
CREATE OR REPLACE FUNCTION jet_month(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT extract(MONTH FROM v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_month(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_month(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_month(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_month(jet_serialmoment(v)) $$;
CREATE OR REPLACE FUNCTION jet_day(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT extract(DAY FROM v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_day(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_day(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_day(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_day(jet_serialmoment(v)) $$;
CREATE OR REPLACE FUNCTION jet_hour(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT extract(HOUR FROM v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_hour(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_hour(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_hour(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_hour(jet_serialmoment(v)) $$;
CREATE OR REPLACE FUNCTION jet_minute(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT extract(MINUTE FROM v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_minute(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_minute(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_minute(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_minute(jet_serialmoment(v)) $$;
CREATE OR REPLACE FUNCTION jet_second(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT floor(extract(SECOND FROM v))::bigint $$;
CREATE OR REPLACE FUNCTION jet_second(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_second(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_second(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_second(jet_serialmoment(v)) $$;

-- Weekday, DateDiff and DateAdd (in server-functions.sql) read a date written as text too.
CREATE OR REPLACE FUNCTION jet_weekday(d text, first integer DEFAULT 1) RETURNS bigint
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_weekday(jet_moment(d), first) $$;
CREATE OR REPLACE FUNCTION jet_weekday(d double precision, first integer DEFAULT 1) RETURNS bigint
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_weekday(jet_serialmoment(d), first) $$;
CREATE OR REPLACE FUNCTION jet_datediff(i text, a text, b text) RETURNS bigint LANGUAGE sql
IMMUTABLE AS $$ SELECT jet_datediff(i, jet_moment(a), jet_moment(b)) $$;
CREATE OR REPLACE FUNCTION jet_dateadd(i text, n double precision, d text) RETURNS timestamp(0)
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_dateadd(i, n, jet_moment(d)) $$;

-- The dialect's dates run from the year 100 to 9999: others give Null.
CREATE OR REPLACE FUNCTION jet_cdate(v timestamp) RETURNS timestamp(0) LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN extract(YEAR FROM v) BETWEEN 100 AND 9999
                  THEN date_trunc('second', v) END $$;
CREATE OR REPLACE FUNCTION jet_cdate(v text) RETURNS timestamp(0) LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_cdate(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_cdate(v double precision) RETURNS timestamp(0) LANGUAGE sql
IMMUTABLE AS $$ SELECT jet_cdate(jet_serialmoment(v)) $$;
CREATE OR REPLACE FUNCTION jet_datevalue(v timestamp) RETURNS timestamp(0) LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_cdate(date_trunc('day', v)) $$;
CREATE OR REPLACE FUNCTION jet_datevalue(v text) RETURNS timestamp(0) LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_datevalue(jet_moment(v)) $$;
CREATE OR REPLACE FUNCTION jet_datevalue(v double precision) RETURNS timestamp(0) LANGUAGE sql
IMMUTABLE AS $$ SELECT jet_datevalue(jet_serialmoment(v)) $$;

-- DateSerial(year, month, day) carries months and days beyond their range into the next or
-- previous unit; two-digit years read 0-29 as 2000-2029 and 30-99 as 1930-1999. The calendar
-- has no year 0 (1 BC is -1), so the arithmetic runs on Julian day numbers.
CREATE OR REPLACE FUNCTION jet_dateserial(y double precision, m double precision,
                                          d double precision) RETURNS timestamp(0)
LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    yy bigint := jet_whole(y);
    mm bigint := jet_whole(m);
    dd bigint := jet_whole(d);
    months bigint;
    ny bigint;
    nm bigint;
    a bigint;
    jd bigint;
BEGIN
    IF yy IS NULL OR mm IS NULL OR dd IS NULL OR abs(yy) > 20000 OR abs(mm) > 240000
       OR abs(dd) > 4000000 THEN
        RETURN NULL;
    END IF;
    IF yy BETWEEN 0 AND 29 THEN
        yy := yy + 2000;
    ELSIF yy BETWEEN 30 AND 99 THEN
        yy := yy + 1900;
    END IF;
    months := yy * 12 + mm - 1;
    ny := jet_floordiv(months, 12);
    nm := months - ny * 12 + 1;
    IF ny = 0 THEN
        RETURN NULL;
    END IF;
    -- The Julian day of the month's first day (astronomical years: 1 BC is 0).
    ny := CASE WHEN ny < 0 THEN ny + 1 ELSE ny END;
    a := CASE WHEN nm <= 2 THEN 1 ELSE 0 END;
    ny := ny + 4800 - a;
    nm := nm + 12 * a - 3;
    jd := 1 + (153 * nm + 2) / 5 + 365 * ny + jet_floordiv(ny, 4) - jet_floordiv(ny, 100)
          + jet_floordiv(ny, 400) - 32045 + dd - 1;
    IF jd < 1757585 OR jd > 5373484 THEN -- 01.01.0100 .. 31.12.9999
        RETURN NULL;
    END IF;
    RETURN DATE '2000-01-01' + (jd - 2451545)::integer;
END
$$;

-- ---- Conversions ----------------------------------------------------------------------------

-- CStr: a number as its text, a date as the user reads it, other text as it is.
CREATE OR REPLACE FUNCTION jet_cstr(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT coalesce(jet_showdate(jet_moment(v)), v) $$;
CREATE OR REPLACE FUNCTION jet_cstr(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_cstr(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_showdate(v) $$;
CREATE OR REPLACE FUNCTION jet_cstr(v boolean) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::text $$;

-- Str: as CStr, with a space where a negative number's sign stands; Null for other text.
CREATE OR REPLACE FUNCTION jet_str(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN v < 0 THEN '' ELSE ' ' END || jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_str(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT coalesce(jet_showdate(jet_moment(v)), jet_str(jet_readnumber(v))) $$;
CREATE OR REPLACE FUNCTION jet_str(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_showdate(v) $$;
CREATE OR REPLACE FUNCTION jet_str(v boolean) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT ' ' || v::integer::text $$;

-- Val reads the number at the start of a text, skipping blanks anywhere ("1 234 руб" is 1234,
-- "1d2" 100); 0 when the text starts with no number.
CREATE OR REPLACE FUNCTION jet_val(v text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE
STRICT
AS $$
DECLARE
    p text[] COLLATE "C";
BEGIN
    p := regexp_match(translate(v, E' \t\n\r', '') COLLATE "C",
                      '^([+-]?)([0-9]*)(\.[0-9]*)?(?:[eEdD]([+-]?[0-9]+))?');
    IF (p[2] || coalesce(p[3], '')) !~ '[0-9]' THEN
        RETURN 0;
    END IF;
    RETURN coalesce(jet_tofloat(p[1] || p[2] || coalesce(p[3], '')
                                || coalesce('e' || p[4], '')), 0);
END
$$;
CREATE OR REPLACE FUNCTION jet_val(v double precision) RETURNS double precision LANGUAGE sql
IMMUTABLE AS $$ SELECT v $$;
CREATE OR REPLACE FUNCTION jet_val(v timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_val(jet_isotext(v)) $$;
CREATE OR REPLACE FUNCTION jet_val(v boolean) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::double precision $$;

-- CLng and CInt round half to even and give Null outside their range; like CDbl they take a
-- number, numeric text, or a date as its day serial.
CREATE OR REPLACE FUNCTION jet_clng(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN round(v) BETWEEN -2147483648 AND 2147483647 THEN round(v)::bigint END $$;
CREATE OR REPLACE FUNCTION jet_clng(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_clng(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_clng(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_clng(jet_dayserial(v)) $$;
CREATE OR REPLACE FUNCTION jet_clng(v boolean) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::bigint $$;
CREATE OR REPLACE FUNCTION jet_cint(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN round(v) BETWEEN -32768 AND 32767 THEN round(v)::bigint END $$;
CREATE OR REPLACE FUNCTION jet_cint(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_cint(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_cint(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_cint(jet_dayserial(v)) $$;
CREATE OR REPLACE FUNCTION jet_cint(v boolean) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::bigint $$;
CREATE OR REPLACE FUNCTION jet_cdbl(v double precision) RETURNS double precision LANGUAGE sql
IMMUTABLE AS $$ SELECT v $$;
CREATE OR REPLACE FUNCTION jet_cdbl(v text) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numeric(v) $$;
CREATE OR REPLACE FUNCTION jet_cdbl(v timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_dayserial(v) $$;
CREATE OR REPLACE FUNCTION jet_cdbl(v boolean) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::double precision $$;

-- CBool: a number is true unless 0; text may also be a word of either language. Yes is 1.
CREATE OR REPLACE FUNCTION jet_cbool(v double precision) RETURNS smallint LANGUAGE sql IMMUTABLE
AS $$ SELECT (v <> 0)::integer::smallint $$;
CREATE OR REPLACE FUNCTION jet_cbool(v text) RETURNS smallint LANGUAGE sql IMMUTABLE
AS $$ SELECT coalesce(jet_cbool(jet_readnumber(v)),
                      CASE lower(jet_trimspace(v) COLLATE "und-x-icu") COLLATE "C"
                          WHEN 'true' THEN 1 WHEN 'истина' THEN 1 WHEN 'да' THEN 1 WHEN 'yes' THEN 1
                          WHEN 'false' THEN 0 WHEN 'ложь' THEN 0 WHEN 'нет' THEN 0 WHEN 'no' THEN 0
                      END::smallint) $$;
CREATE OR REPLACE FUNCTION jet_cbool(v timestamp) RETURNS smallint LANGUAGE sql IMMUTABLE
AS $$ SELECT NULL::smallint $$;
CREATE OR REPLACE FUNCTION jet_cbool(v boolean) RETURNS smallint LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::smallint $$;

-- ---- Arithmetic -----------------------------------------------------------------------------

CREATE OR REPLACE FUNCTION jet_sgn(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT sign(v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_sgn(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_sgn(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_sgn(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_sgn(jet_dayserial(v)) $$;
CREATE OR REPLACE FUNCTION jet_sgn(v boolean) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT v::integer::bigint $$;
CREATE OR REPLACE FUNCTION jet_sqr(v double precision) RETURNS double precision LANGUAGE sql
IMMUTABLE AS $$ SELECT CASE WHEN v >= 0 THEN sqrt(v) END $$;
CREATE OR REPLACE FUNCTION jet_sqr(v text) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_sqr(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_sqr(v timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_sqr(jet_dayserial(v)) $$;

-- Int, Fix, Abs and Round (in server-functions.sql) take numeric or date text and dates too.
CREATE OR REPLACE FUNCTION jet_int(v text) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_int(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_int(v timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_int(jet_dayserial(v)) $$;
CREATE OR REPLACE FUNCTION jet_fix(v text) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_fix(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_fix(v timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_fix(jet_dayserial(v)) $$;
CREATE OR REPLACE FUNCTION jet_abs(v text) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_abs(jet_numeric(v)) $$;
CREATE OR REPLACE FUNCTION jet_abs(v timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_abs(jet_dayserial(v)) $$;
CREATE OR REPLACE FUNCTION jet_round(v text, d integer DEFAULT 0) RETURNS double precision
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_round(jet_numeric(v), d) $$;
CREATE OR REPLACE FUNCTION jet_round(v timestamp, d integer DEFAULT 0) RETURNS double precision
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_round(jet_dayserial(v), d) $$;

-- ---- Format ---------------------------------------------------------------------------------

-- The pattern of a named number format, or Null when the name is none.
CREATE OR REPLACE FUNCTION jet_namednumber(p text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE lower(jet_trimspace(p) COLLATE "C")
                  WHEN 'general number' THEN '' WHEN 'fixed' THEN '0.00'
                  WHEN 'standard' THEN '#,##0.00' WHEN 'percent' THEN '0.00%' END $$;

-- The pattern of a named date format ('' for the general form), or Null.
CREATE OR REPLACE FUNCTION jet_nameddate(p text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE lower(jet_trimspace(p) COLLATE "C")
                  WHEN 'general date' THEN '' WHEN 'long date' THEN 'd mmmm yyyy'
                  WHEN 'medium date' THEN 'dd-mmm-yy' WHEN 'short date' THEN 'dd.mm.yyyy'
                  WHEN 'long time' THEN 'hh:nn:ss' WHEN 'medium time' THEN 'hh:nn AM/PM'
                  WHEN 'short time' THEN 'hh:nn' END $$;

-- Whether Format shows a value as a date under this pattern: a named date format, or a day,
-- month, year or time letter outside quotes ("...") and escapes (\x).
CREATE OR REPLACE FUNCTION jet_isdatepattern(p text) RETURNS boolean LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    ch text[] COLLATE "C" := string_to_array(p, NULL);
    i integer := 1;
BEGIN
    IF jet_namednumber(p) IS NOT NULL THEN
        RETURN false;
    ELSIF jet_nameddate(p) IS NOT NULL THEN
        RETURN true;
    END IF;
    WHILE i <= coalesce(cardinality(ch), 0) LOOP
        IF ch[i] = '"' THEN
            i := coalesce(array_position(ch, '"', i + 1), cardinality(ch)) + 1;
        ELSIF ch[i] = '\' THEN
            i := i + 2;
        ELSIF strpos('cdmyhnsqw', lower(ch[i])) > 0 THEN
            RETURN true;
        ELSE
            i := i + 1;
        END IF;
    END LOOP;
    RETURN false;
END
$$;

-- A moment under a date pattern. Month names are Russian: in the genitive after a day of the
-- month ("14 марта"), else nominative and capitalised ("Март 2026"); "mmm" gives the short
-- forms. 'm' right after an hour means minutes, as in "hh:mm".
CREATE OR REPLACE FUNCTION jet_formatdate(t timestamp, p text) RETURNS text LANGUAGE plpgsql
IMMUTABLE
AS $$
DECLARE
    pat text COLLATE "C" := coalesce(jet_nameddate(p), p, '');
    ch text[] COLLATE "C" := string_to_array(pat, NULL);
    n integer := coalesce(cardinality(ch), 0);
    i integer := 1;
    j integer;
    run integer;
    c text COLLATE "C";
    letter text COLLATE "C";
    mark text;
    result text := '';
    twelve boolean := strpos(upper(pat), 'AM/PM') > 0 OR strpos(upper(pat), 'A/P') > 0;
    after_day boolean := false;
    after_hour boolean := false;
    yr integer := extract(YEAR FROM t);
    mon integer := extract(MONTH FROM t);
    dy integer := extract(DAY FROM t);
    hr integer := extract(HOUR FROM t);
    mi integer := extract(MINUTE FROM t);
    se integer := floor(extract(SECOND FROM t));
    dow integer := extract(ISODOW FROM t);
    value integer;
BEGIN
    IF t IS NULL THEN
        RETURN NULL;
    ELSIF n = 0 THEN
        RETURN jet_showdate(t);
    END IF;
    WHILE i <= n LOOP
        c := ch[i];
        letter := lower(c);
        IF c = '"' THEN
            j := coalesce(array_position(ch, '"', i + 1), n + 1);
            result := result || array_to_string(ch[i + 1:j - 1], '');
            i := j + 1;
            CONTINUE;
        ELSIF c = '\' THEN
            result := result || coalesce(ch[i + 1], '');
            i := i + 2;
            CONTINUE;
        ELSIF letter = 'a' AND upper(array_to_string(ch[i:i + 4], '')) = 'AM/PM' THEN
            mark := CASE WHEN hr < 12 THEN 'AM' ELSE 'PM' END;
            result := result || CASE WHEN c = 'A' THEN mark ELSE lower(mark) END;
            i := i + 5;
            CONTINUE;
        ELSIF letter = 'a' AND upper(array_to_string(ch[i:i + 2], '')) = 'A/P' THEN
            mark := CASE WHEN hr < 12 THEN 'A' ELSE 'P' END;
            result := result || CASE WHEN c = 'A' THEN mark ELSE lower(mark) END;
            i := i + 3;
            CONTINUE;
        ELSIF strpos('cdmyhnsqw', letter) = 0 THEN
            result := result || c;
            i := i + 1;
            CONTINUE;
        END IF;
        run := 1;
        WHILE i + run <= n AND lower(ch[i + run]) = letter LOOP
            run := run + 1;
        END LOOP;
        i := i + run;
        IF letter = 'n' OR (letter = 'm' AND after_hour AND run <= 2) THEN
            after_hour := false;
            result := result || CASE WHEN run = 1 THEN mi::text ELSE to_char(mi, 'FM00') END;
            CONTINUE;
        END IF;
        after_hour := letter = 'h';
        IF letter = 'c' THEN
            result := result || jet_showdate(t);
        ELSIF letter = 'd' AND run <= 2 THEN
            result := result || CASE WHEN run = 1 THEN dy::text ELSE to_char(dy, 'FM00') END;
            after_day := true;
        ELSIF letter = 'd' AND run <= 4 THEN
            result := result || CASE WHEN run = 3
                THEN (ARRAY['пн', 'вт', 'ср', 'чт', 'пт', 'сб', 'вс'])[dow]
                ELSE (ARRAY['понедельник', 'вторник', 'среда', 'четверг', 'пятница', 'суббота',
                            'воскресенье'])[dow] END;
        ELSIF letter = 'd' THEN
            result := result || jet_formatdate(t, CASE WHEN run = 5 THEN 'Short Date'
                                                         ELSE 'Long Date' END);
        ELSIF letter = 'm' AND run <= 2 THEN
            result := result || CASE WHEN run = 1 THEN mon::text ELSE to_char(mon, 'FM00') END;
        ELSIF letter = 'm' AND after_day THEN
            result := result || CASE WHEN run = 3
                THEN (ARRAY['янв.', 'февр.', 'мар.', 'апр.', 'мая', 'июн.', 'июл.', 'авг.',
                            'сент.', 'окт.', 'нояб.', 'дек.'])[mon]
                ELSE (ARRAY['января', 'февраля', 'марта', 'апреля', 'мая', 'июня', 'июля',
                            'августа', 'сентября', 'октября', 'ноября', 'декабря'])[mon] END;
        ELSIF letter = 'm' THEN
            result := result || CASE WHEN run = 3
                THEN (ARRAY['Янв.', 'Февр.', 'Март', 'Апр.', 'Май', 'Июнь', 'Июль', 'Авг.',
                            'Сент.', 'Окт.', 'Нояб.', 'Дек.'])[mon]
                ELSE (ARRAY['Январь', 'Февраль', 'Март', 'Апрель', 'Май', 'Июнь', 'Июль',
                            'Август', 'Сентябрь', 'Октябрь', 'Ноябрь', 'Декабрь'])[mon] END;
        ELSIF letter = 'y' THEN
            -- y: the day of the year; yy: two digits (a year BC keeps its sign).
            value := yr % 100;
            result := result || CASE run WHEN 1 THEN extract(DOY FROM t)::integer::text
                                         WHEN 2 THEN CASE WHEN value BETWEEN 0 AND 9
                                                          THEN '0' ELSE '' END || value::text
                                         ELSE yr::text END;
        ELSIF letter = 'h' THEN
            value := CASE WHEN NOT twelve THEN hr WHEN hr % 12 = 0 THEN 12 ELSE hr % 12 END;
            result := result || CASE WHEN run = 1 THEN value::text ELSE to_char(value, 'FM00') END;
        ELSIF letter = 's' THEN
            result := result || CASE WHEN run = 1 THEN se::text ELSE to_char(se, 'FM00') END;
        ELSIF letter = 'q' THEN
            result := result || repeat(((mon - 1) / 3 + 1)::text, run);
        ELSIF run = 1 THEN -- w: the weekday counted from Sunday
            result := result || (dow % 7 + 1)::text;
        ELSE -- ww: the week of the year, weeks from Monday, the first holding 1 January
            result := result || ((extract(DOY FROM t)::integer - 1
                                  + extract(ISODOW FROM date_trunc('year', t))::integer - 1) / 7
                                 + 1)::text;
        END IF;
    END LOOP;
    RETURN result;
END
$$;

-- One section of a number pattern, for a value not below zero: 0 and # stand for digits,
-- ',' before the point groups thousands by a space, '%' multiplies by 100, the rest (and
-- "..." and \x) is written as it stands. Rounding is half away from zero, on the 15
-- significant digits a double holds (1.005 is 1.01).
CREATE OR REPLACE FUNCTION jet_formatsection(v double precision, p text) RETURNS text
LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    ch text[] COLLATE "C" := string_to_array(p, NULL);
    n integer := coalesce(cardinality(ch), 0);
    i integer := 1;
    j integer;
    c text COLLATE "C";
    whole_zeros integer := 0;
    fraction_zeros integer := 0;
    decimals integer := 0;
    grouping boolean := false;
    in_fraction boolean := false;
    whole text COLLATE "C" := '';
    fraction text COLLATE "C" := '';
    whole_written boolean := false;
    fraction_written boolean := false;
    result text := '';
BEGIN
    WHILE i <= n LOOP
        c := ch[i];
        IF c = '"' THEN
            i := coalesce(array_position(ch, '"', i + 1), n) + 1;
            CONTINUE;
        ELSIF c = '\' THEN
            i := i + 2;
            CONTINUE;
        ELSIF c = '.' THEN
            in_fraction := true;
        ELSIF c = '%' THEN
            -- Beyond the range of a double the number shows as no digits at all.
            v := CASE WHEN abs(v) > 1.7976931348623157e306 THEN 'Infinity' ELSE v * 100 END;
        ELSIF c = ',' AND NOT in_fraction THEN
            grouping := true;
        ELSIF c IN ('0', '#') AND in_fraction THEN
            decimals := decimals + 1;
            IF c = '0' THEN
                fraction_zeros := decimals;
            END IF;
        ELSIF c = '0' THEN
            whole_zeros := whole_zeros + 1;
        END IF;
        i := i + 1;
    END LOOP;

    IF v NOT IN ('Infinity', '-Infinity', 'NaN') THEN
        whole := round(abs(v)::numeric, decimals)::text;
        fraction := split_part(whole, '.', 2);
        whole := ltrim(split_part(whole, '.', 1), '0');
    END IF;
    IF length(whole) < whole_zeros THEN
        whole := repeat('0', whole_zeros - length(whole)) || whole;
    END IF;
    IF grouping THEN
        whole := reverse(regexp_replace(reverse(whole), '([0-9]{3})(?=[0-9])', '\1 ', 'g'));
    END IF;
    WHILE length(fraction) > fraction_zeros AND right(fraction, 1) = '0' LOOP
        fraction := left(fraction, -1);
    END LOOP;

    -- The number goes where its first placeholder stands; literals keep their places.
    i := 1;
    WHILE i <= n LOOP
        c := ch[i];
        IF c = '"' THEN
            j := coalesce(array_position(ch, '"', i + 1), n + 1);
            result := result || array_to_string(ch[i + 1:j - 1], '');
            i := j + 1;
            CONTINUE;
        ELSIF c = '\' THEN
            result := result || coalesce(ch[i + 1], '');
            i := i + 2;
            CONTINUE;
        ELSIF c IN ('0', '#', ',') THEN
            IF NOT whole_written AND NOT fraction_written THEN
                result := result || whole;
                whole_written := true;
            END IF;
        ELSIF c = '.' THEN
            IF NOT whole_written THEN
                result := result || whole;
                whole_written := true;
            END IF;
            IF NOT fraction_written THEN
                result := result || '.' || fraction;
                fraction_written := true;
            END IF;
        ELSE
            result := result || c;
        END IF;
        i := i + 1;
    END LOOP;
    RETURN result;
END
$$;

-- A number under a named format or a pattern of up to three sections, positive;negative;zero.
-- A negative number written by the first section gets its sign unless it shows as zero.
CREATE OR REPLACE FUNCTION jet_formatnumber(v double precision, p text) RETURNS text
LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    pat text COLLATE "C" := coalesce(jet_namednumber(p), p, '');
    ch text[] COLLATE "C" := string_to_array(pat, NULL);
    sections text[] COLLATE "C" := '{}';
    start integer := 1;
    i integer := 1;
    result text COLLATE "C";
BEGIN
    IF v IS NULL THEN
        RETURN NULL;
    ELSIF pat = '' THEN
        RETURN jet_numbertext(v);
    END IF;
    WHILE i <= cardinality(ch) LOOP
        IF ch[i] = '"' THEN
            i := coalesce(array_position(ch, '"', i + 1), cardinality(ch)) + 1;
            CONTINUE;
        ELSIF ch[i] = '\' THEN
            i := i + 2;
            CONTINUE;
        ELSIF ch[i] = ';' THEN
            sections := sections || array_to_string(ch[start:i - 1], '');
            start := i + 1;
        END IF;
        i := i + 1;
    END LOOP;
    sections := sections || array_to_string(ch[start:cardinality(ch)], '');
    IF v < 0 AND cardinality(sections) >= 2 AND sections[2] <> '' THEN
        RETURN jet_formatsection(-v, sections[2]);
    ELSIF v = 0 AND cardinality(sections) >= 3 AND sections[3] <> '' THEN
        RETURN jet_formatsection(0, sections[3]);
    END IF;
    result := jet_formatsection(abs(v), sections[1]);
    RETURN CASE WHEN v < 0 AND result ~ '[1-9]' THEN '-' || result ELSE result END;
END
$$;

-- Format(value[, pattern]): a date, or text holding one, under a date pattern (or none); a
-- number otherwise, a number under a date pattern being the day serial. Text that is neither
-- a date nor a number comes back unchanged. jet_formatvalue takes the moment or the number.
CREATE OR REPLACE FUNCTION jet_formatvalue(moment timestamp, number double precision, p text)
RETURNS text LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    pat text COLLATE "C" := coalesce(p, '');
    as_date boolean := jet_isdatepattern(pat);
BEGIN
    IF moment IS NOT NULL THEN
        IF as_date OR pat = '' THEN
            RETURN jet_formatdate(moment, pat);
        END IF;
        RETURN jet_formatnumber(jet_dayserial(moment), pat);
    ELSIF as_date THEN
        moment := jet_serialmoment(number);
        IF moment IS NOT NULL THEN
            RETURN jet_formatdate(moment, pat);
        END IF;
    END IF;
    RETURN jet_formatnumber(number, pat);
END
$$;
CREATE OR REPLACE FUNCTION jet_format(v timestamp, p text DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_formatvalue(v, NULL, p) $$;
CREATE OR REPLACE FUNCTION jet_format(v double precision, p text DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_formatvalue(NULL, v, p) $$;
CREATE OR REPLACE FUNCTION jet_format(v boolean, p text DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT jet_formatvalue(NULL, v::integer, p) $$;
CREATE OR REPLACE FUNCTION jet_format(v text, p text DEFAULT NULL) RETURNS text
LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    moment timestamp := jet_moment(v);
    number double precision;
BEGIN
    IF moment IS NOT NULL THEN
        RETURN jet_formatvalue(moment, NULL, p);
    END IF;
    number := jet_readnumber(v);
    RETURN CASE WHEN number IS NULL THEN v ELSE jet_formatvalue(NULL, number, p) END;
END
$$;

-- ---- Defined again over the readers above ------------------------------------------------

-- A date literal or a date written as text reads as a date does; other text as it is.
CREATE OR REPLACE FUNCTION jet_datetext(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT coalesce(jet_showdate(jet_moment(v)), v) $$;

-- The length of a number as the program writes it ("0.3", not the server's own digits).
CREATE OR REPLACE FUNCTION jet_len(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT length(jet_numbertext(v))::bigint $$;

-- InStr(text, sought): from the start, without regard to letter case, on any column.
CREATE OR REPLACE FUNCTION jet_instr(v text, f text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN v IS NULL OR f IS NULL THEN NULL
                  WHEN length(v) = 0 THEN 0
                  ELSE jet_instr(1, v, f) END $$;

-- Round(x[, places]) rounds half to even: Round(2.5) is 2, Round(0.125, 2) is 0.12. The
-- scaled value is first taken to 15 significant digits (what a number's conversion keeps), so
-- that 2.675 held as 2.67499... counts as a half.
CREATE OR REPLACE FUNCTION jet_round(v double precision, d integer DEFAULT 0)
RETURNS double precision LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
    scaled numeric;
    whole numeric;
BEGIN
    IF v IS NULL OR d IS NULL OR d < 0 OR d > 15 THEN
        RETURN NULL;
    END IF;
    scaled := (v * power(10::double precision, d))::numeric;
    whole := trunc(scaled);
    IF abs(scaled - whole) = 0.5 THEN
        whole := CASE WHEN trunc(whole / 2) * 2 = whole THEN whole ELSE whole + sign(scaled) END;
    ELSE
        whole := round(scaled);
    END IF;
    RETURN (whole / power(10::numeric, d))::double precision;
END
$$;

-- A value as a concatenation (&) writes it, whatever its type turns out to be: text as it
-- is, a whole number by its digits, a real number and a date as CStr writes them.
CREATE OR REPLACE FUNCTION jet_text(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT v $$;
CREATE OR REPLACE FUNCTION jet_text(v bigint) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT v::text $$;
CREATE OR REPLACE FUNCTION jet_text(v double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_numbertext(v) $$;
CREATE OR REPLACE FUNCTION jet_text(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT jet_datetext(v) $$;
