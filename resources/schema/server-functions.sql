-- The dialect's functions on the server, as the file engine computes them: a date shows as
-- dd.mm.yyyy (with the time when it has one), weeks and days count as the program counts
-- them, and a value that does not convert gives Null rather than an error. Every statement
-- may run again: a document made by an earlier version of the program gets this version's.

-- Text in the document's order: without regard to letter case, letter by letter, "ё" a
-- letter of its own right after "е".
CREATE OR REPLACE FUNCTION korvesta_sortkey(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT replace(lower(v COLLATE "und-x-icu"), 'ё', 'е' || chr(1114111)) COLLATE "C" $$;

CREATE OR REPLACE FUNCTION jet_now() RETURNS timestamp(0) LANGUAGE sql STABLE
AS $$ SELECT LOCALTIMESTAMP(0) $$;

CREATE OR REPLACE FUNCTION jet_datetext(v timestamp) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN v::time = '00:00' THEN to_char(v, 'DD.MM.YYYY')
                  ELSE to_char(v, 'DD.MM.YYYY HH24:MI:SS') END $$;
CREATE OR REPLACE FUNCTION jet_datetext(v text) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT v $$;

CREATE OR REPLACE FUNCTION jet_daydiff(a timestamp, b timestamp) RETURNS double precision
LANGUAGE sql IMMUTABLE
AS $$ SELECT EXTRACT(EPOCH FROM (a - b))::double precision / 86400 $$;

CREATE OR REPLACE FUNCTION jet_len(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT length(v)::bigint $$;
CREATE OR REPLACE FUNCTION jet_len(v double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT length(v::text)::bigint $$;
CREATE OR REPLACE FUNCTION jet_len(v timestamp) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT length(jet_datetext(v))::bigint $$;

-- Weekday(d[, first]): 1 for the first day of the week (Sunday unless told), 0 for the
-- system's, which is Sunday here too.
CREATE OR REPLACE FUNCTION jet_weekday(d timestamp, first integer DEFAULT 1) RETURNS bigint
LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN first < 0 OR first > 7 THEN NULL
                  ELSE ((EXTRACT(DOW FROM d)::integer - greatest(first - 1, 0) + 7) % 7 + 1)::bigint
             END $$;

CREATE OR REPLACE FUNCTION jet_floordiv(a bigint, b bigint) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT floor(a::numeric / b)::bigint $$;

-- DateDiff(interval, from, to), by calendar boundaries crossed as the file engine counts.
CREATE OR REPLACE FUNCTION jet_datediff(i text, a timestamp, b timestamp) RETURNS bigint
LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE lower(i)
    WHEN 'yyyy' THEN (EXTRACT(YEAR FROM b) - EXTRACT(YEAR FROM a))::bigint
    WHEN 'q' THEN jet_floordiv((EXTRACT(YEAR FROM b) * 12 + EXTRACT(MONTH FROM b) - 1)::bigint, 3)
                - jet_floordiv((EXTRACT(YEAR FROM a) * 12 + EXTRACT(MONTH FROM a) - 1)::bigint, 3)
    WHEN 'm' THEN ((EXTRACT(YEAR FROM b) * 12 + EXTRACT(MONTH FROM b))
                - (EXTRACT(YEAR FROM a) * 12 + EXTRACT(MONTH FROM a)))::bigint
    WHEN 'y' THEN (b::date - a::date)::bigint
    WHEN 'd' THEN (b::date - a::date)::bigint
    WHEN 'w' THEN ((b::date - a::date) / 7)::bigint
    WHEN 'ww' THEN jet_floordiv(to_char(b, 'J')::bigint, 7) - jet_floordiv(to_char(a, 'J')::bigint, 7)
    WHEN 'h' THEN jet_floordiv(EXTRACT(EPOCH FROM b)::bigint, 3600)
                - jet_floordiv(EXTRACT(EPOCH FROM a)::bigint, 3600)
    WHEN 'n' THEN jet_floordiv(EXTRACT(EPOCH FROM b)::bigint, 60)
                - jet_floordiv(EXTRACT(EPOCH FROM a)::bigint, 60)
    WHEN 's' THEN (EXTRACT(EPOCH FROM b) - EXTRACT(EPOCH FROM a))::bigint
    END $$;

-- DateAdd(interval, number, date).
CREATE OR REPLACE FUNCTION jet_dateadd(i text, n double precision, d timestamp) RETURNS timestamp(0)
LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE lower(i)
    WHEN 'yyyy' THEN d + make_interval(years => trunc(n)::integer)
    WHEN 'q' THEN d + make_interval(months => 3 * trunc(n)::integer)
    WHEN 'm' THEN d + make_interval(months => trunc(n)::integer)
    WHEN 'y' THEN d + make_interval(days => trunc(n)::integer)
    WHEN 'd' THEN d + make_interval(days => trunc(n)::integer)
    WHEN 'w' THEN d + make_interval(days => trunc(n)::integer)
    WHEN 'ww' THEN d + make_interval(weeks => trunc(n)::integer)
    WHEN 'h' THEN d + make_interval(hours => trunc(n)::integer)
    WHEN 'n' THEN d + make_interval(mins => trunc(n)::integer)
    WHEN 's' THEN d + make_interval(secs => trunc(n))
    END $$;

CREATE OR REPLACE FUNCTION jet_ucase(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT upper(v) $$;
CREATE OR REPLACE FUNCTION jet_lcase(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT lower(v) $$;
CREATE OR REPLACE FUNCTION jet_trim(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT btrim(v, ' ') $$;
CREATE OR REPLACE FUNCTION jet_ltrim(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT ltrim(v, ' ') $$;
CREATE OR REPLACE FUNCTION jet_rtrim(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT rtrim(v, ' ') $$;
CREATE OR REPLACE FUNCTION jet_left(v text, n double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN n < 0 THEN NULL ELSE left(v, round(n)::integer) END $$;
CREATE OR REPLACE FUNCTION jet_right(v text, n double precision) RETURNS text LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN n < 0 THEN NULL WHEN n = 0 THEN '' ELSE right(v, round(n)::integer) END $$;
CREATE OR REPLACE FUNCTION jet_mid(v text, s double precision, n double precision DEFAULT NULL) RETURNS text
LANGUAGE sql IMMUTABLE
AS $$ SELECT CASE WHEN s < 1 THEN NULL WHEN n IS NULL THEN substr(v, round(s)::integer)
                  ELSE substr(v, round(s)::integer, greatest(round(n)::integer, 0)) END $$;
CREATE OR REPLACE FUNCTION jet_instr(v text, f text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT strpos(lower(v), lower(f))::bigint $$;

-- First and Last: the value of the first and the last row of a group as read.
CREATE OR REPLACE FUNCTION jet_pick_first(state anyelement, v anyelement) RETURNS anyelement
LANGUAGE sql IMMUTABLE AS $$ SELECT coalesce(state, v) $$;
CREATE OR REPLACE FUNCTION jet_pick_last(state anyelement, v anyelement) RETURNS anyelement
LANGUAGE sql IMMUTABLE AS $$ SELECT v $$;
CREATE OR REPLACE AGGREGATE jet_first(anyelement) (SFUNC = jet_pick_first, STYPE = anyelement);
CREATE OR REPLACE AGGREGATE jet_last(anyelement) (SFUNC = jet_pick_last, STYPE = anyelement);

CREATE OR REPLACE FUNCTION jet_abs(v double precision) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT abs(v) $$;
CREATE OR REPLACE FUNCTION jet_abs(v bigint) RETURNS bigint LANGUAGE sql IMMUTABLE AS $$ SELECT abs(v) $$;
CREATE OR REPLACE FUNCTION jet_round(v double precision, d integer DEFAULT 0) RETURNS double precision
LANGUAGE sql IMMUTABLE
AS $$ SELECT round(v::numeric, d)::double precision $$;
CREATE OR REPLACE FUNCTION jet_int(v double precision) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT floor(v) $$;
CREATE OR REPLACE FUNCTION jet_fix(v double precision) RETURNS double precision LANGUAGE sql IMMUTABLE
AS $$ SELECT trunc(v) $$;
CREATE OR REPLACE FUNCTION jet_pow(a double precision, b double precision) RETURNS double precision
LANGUAGE sql IMMUTABLE AS $$ SELECT power(a, b) $$;

-- Like with the dialect's wildcards (* ? # [list]), without regard to letter case.
CREATE OR REPLACE FUNCTION jet_like(v text, p text) RETURNS boolean LANGUAGE plpgsql IMMUTABLE
AS $$
DECLARE
    -- The arguments bring the column's collation, under which no regular expression runs:
    -- the pattern is read, and the text matched, under a deterministic one.
    pat text COLLATE "C" := p;
    re text COLLATE "C" := '';
    c text COLLATE "C";
    i integer := 1;
    j integer;
BEGIN
    IF v IS NULL OR p IS NULL THEN
        RETURN NULL;
    END IF;
    WHILE i <= length(pat) LOOP
        c := substr(pat, i, 1);
        IF c = '*' THEN
            re := re || '.*';
        ELSIF c = '?' THEN
            re := re || '.';
        ELSIF c = '#' THEN
            re := re || '[0-9]';
        ELSIF c = '[' THEN
            j := strpos(substr(pat, i + 1), ']');
            IF j = 0 THEN
                re := re || '\[';
            ELSE
                c := replace(substr(pat, i + 1, j - 1), '\', '\\');
                IF left(c, 1) = '!' THEN
                    c := '^' || substr(c, 2);
                END IF;
                re := re || '[' || c || ']';
                i := i + j;
            END IF;
        ELSIF strpos('.^$|()\+{}', c) > 0 THEN
            re := re || '\' || c;
        ELSE
            re := re || c;
        END IF;
        i := i + 1;
    END LOOP;
    RETURN lower(v COLLATE "und-x-icu") ~ lower(('^' || re || '$') COLLATE "und-x-icu");
END
$$;

-- The version of these functions: a document whose functions are older gets them anew.
CREATE OR REPLACE FUNCTION korvesta_functions_version() RETURNS integer LANGUAGE sql IMMUTABLE
AS $$ SELECT 2 $$;
