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

CREATE OR REPLACE FUNCTION jet_daydiff(a timestamp, b timestamp) RETURNS double precision
LANGUAGE sql IMMUTABLE
AS $$ SELECT EXTRACT(EPOCH FROM (a - b))::double precision / 86400 $$;

CREATE OR REPLACE FUNCTION jet_len(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
AS $$ SELECT length(v)::bigint $$;
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

-- The history of a session's changes, for undo and redo. Every table of the document has
-- statement triggers that add the before and after image of each row a statement touched to
-- the session's own log table, when the session keeps one: korvesta.history says which step
-- the rows belong to ('on': the transaction's own, a number: that of a step the program groups,
-- 'unrecorded': none). Other sessions pay one look at the setting per statement.
CREATE OR REPLACE FUNCTION korvesta_history_log() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    mode text := current_setting('korvesta.history', true);
    step bigint;
    batch bigint;
BEGIN
    IF mode IS NULL OR mode = '' THEN
        RETURN NULL;
    END IF;
    step := CASE mode WHEN 'on' THEN -txid_current() WHEN 'unrecorded' THEN 0
                      ELSE mode::bigint END;
    batch := nextval('pg_temp.korvesta_history_batches');
    IF TG_OP = 'INSERT' THEN
        INSERT INTO pg_temp.korvesta_history (step, batch, tbl, rk, kind, rn, n)
        SELECT step, batch, TG_TABLE_NAME, TG_ARGV[0], 'i', (x.j ->> TG_ARGV[0])::bigint, x.j
        FROM (SELECT to_jsonb(r) AS j FROM korvesta_new AS r) AS x;
    ELSIF TG_OP = 'DELETE' THEN
        INSERT INTO pg_temp.korvesta_history (step, batch, tbl, rk, kind, rn, o)
        SELECT step, batch, TG_TABLE_NAME, TG_ARGV[0], 'd', (x.j ->> TG_ARGV[0])::bigint, x.j
        FROM (SELECT to_jsonb(r) AS j FROM korvesta_old AS r) AS x;
    ELSE
        INSERT INTO pg_temp.korvesta_history (step, batch, tbl, rk, kind, rn, o, n)
        SELECT step, batch, TG_TABLE_NAME, TG_ARGV[0], 'u', (b.j ->> TG_ARGV[0])::bigint, a.j,
               b.j
        FROM (SELECT to_jsonb(r) AS j FROM korvesta_old AS r) AS a
        JOIN (SELECT to_jsonb(r) AS j FROM korvesta_new AS r) AS b
          ON (a.j -> TG_ARGV[0]) = (b.j -> TG_ARGV[0]);
    END IF;
    RETURN NULL;
END
$$;

-- Changes of the timetable are announced to the other planners at commit, on the channel
-- korvesta_changes: who (the session's login and process), the dates (Null for more than
-- 366 of them: the whole timetable) and the first lesson a statement touched. A lesson on a
-- protected date is not written at all, whatever program writes it.
CREATE OR REPLACE FUNCTION korvesta_timetable_changed() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    days date[];
    first integer;
    protected date;
BEGIN
    IF TG_OP = 'INSERT' THEN
        SELECT array_agg(DISTINCT l."Date"::date), min(r."Lesson"),
               min(l."Date"::date) FILTER (WHERE l."ReadOnly" <> 0)
          INTO days, first, protected
          FROM korvesta_new AS r JOIN "tblTimeTableList" AS l ON l."Key" = r."Key_TTList";
    ELSIF TG_OP = 'DELETE' THEN
        SELECT array_agg(DISTINCT l."Date"::date), min(r."Lesson"),
               min(l."Date"::date) FILTER (WHERE l."ReadOnly" <> 0)
          INTO days, first, protected
          FROM korvesta_old AS r JOIN "tblTimeTableList" AS l ON l."Key" = r."Key_TTList";
    ELSE
        SELECT array_agg(DISTINCT l."Date"::date), min(r."Lesson"),
               min(l."Date"::date) FILTER (WHERE l."ReadOnly" <> 0)
          INTO days, first, protected
          FROM (SELECT "Key_TTList", "Lesson" FROM korvesta_old
                UNION ALL SELECT "Key_TTList", "Lesson" FROM korvesta_new) AS r
          JOIN "tblTimeTableList" AS l ON l."Key" = r."Key_TTList";
    END IF;
    -- A list's row deleted with its lessons (korvesta.unprotected, for its transaction) takes
    -- those of protected dates too.
    IF protected IS NOT NULL
       AND current_setting('korvesta.unprotected', true) IS DISTINCT FROM 'on' THEN
        RAISE EXCEPTION USING ERRCODE = 'KV001',
            MESSAGE = format('Дата %s заблокирована для редактирования',
                             to_char(protected, 'DD.MM.YYYY'));
    END IF;
    IF days IS NOT NULL THEN
        PERFORM pg_notify('korvesta_changes', json_build_object(
            'pid', pg_backend_pid(), 'user', session_user,
            'dates', CASE WHEN cardinality(days) <= 366 THEN days END,
            'lesson', first, 'at', extract(EPOCH FROM clock_timestamp()))::text);
    END IF;
    RETURN NULL;
END
$$;

-- Gives every table of the document the history's triggers (again).
CREATE OR REPLACE FUNCTION korvesta_install_history() RETURNS void LANGUAGE plpgsql AS $$
DECLARE
    t record;
BEGIN
    FOR t IN SELECT c.relname, a.attname AS key
             FROM pg_catalog.pg_class AS c
             JOIN pg_catalog.pg_index AS i ON i.indrelid = c.oid AND i.indisprimary
             JOIN pg_catalog.pg_attribute AS a ON a.attrelid = c.oid AND a.attnum = i.indkey[0]
             WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r'
               AND c.relname <> 'sysDocument' LOOP
        EXECUTE format('DROP TRIGGER IF EXISTS korvesta_history_i ON %I', t.relname);
        EXECUTE format('DROP TRIGGER IF EXISTS korvesta_history_u ON %I', t.relname);
        EXECUTE format('DROP TRIGGER IF EXISTS korvesta_history_d ON %I', t.relname);
        EXECUTE format('CREATE TRIGGER korvesta_history_i AFTER INSERT ON %I REFERENCING NEW '
                       'TABLE AS korvesta_new FOR EACH STATEMENT EXECUTE FUNCTION '
                       'korvesta_history_log(%L)', t.relname, t.key);
        EXECUTE format('CREATE TRIGGER korvesta_history_u AFTER UPDATE ON %I REFERENCING OLD '
                       'TABLE AS korvesta_old NEW TABLE AS korvesta_new FOR EACH STATEMENT '
                       'EXECUTE FUNCTION korvesta_history_log(%L)', t.relname, t.key);
        EXECUTE format('CREATE TRIGGER korvesta_history_d AFTER DELETE ON %I REFERENCING OLD '
                       'TABLE AS korvesta_old FOR EACH STATEMENT EXECUTE FUNCTION '
                       'korvesta_history_log(%L)', t.relname, t.key);
    END LOOP;
    DROP TRIGGER IF EXISTS korvesta_changed_i ON "tblTimeTableContent";
    DROP TRIGGER IF EXISTS korvesta_changed_u ON "tblTimeTableContent";
    DROP TRIGGER IF EXISTS korvesta_changed_d ON "tblTimeTableContent";
    CREATE TRIGGER korvesta_changed_i AFTER INSERT ON "tblTimeTableContent" REFERENCING NEW
        TABLE AS korvesta_new FOR EACH STATEMENT EXECUTE FUNCTION korvesta_timetable_changed();
    CREATE TRIGGER korvesta_changed_u AFTER UPDATE ON "tblTimeTableContent" REFERENCING OLD
        TABLE AS korvesta_old NEW TABLE AS korvesta_new FOR EACH STATEMENT
        EXECUTE FUNCTION korvesta_timetable_changed();
    CREATE TRIGGER korvesta_changed_d AFTER DELETE ON "tblTimeTableContent" REFERENCING OLD
        TABLE AS korvesta_old FOR EACH STATEMENT EXECUTE FUNCTION korvesta_timetable_changed();
    DROP TRIGGER IF EXISTS korvesta_unprotected_u ON "tblTimeTableList";
    CREATE TRIGGER korvesta_unprotected_u AFTER UPDATE ON "tblTimeTableList" REFERENCING OLD
        TABLE AS korvesta_old NEW TABLE AS korvesta_new FOR EACH STATEMENT
        EXECUTE FUNCTION korvesta_dates_unprotected();
END
$$;

-- Writes one step of the session's log back: its before images (undoing) or its after images
-- again, statement by statement in reverse or in order, each while every row still equals the
-- image it had then. Returns the table of a row changed since (the caller then rolls back), or
-- Null when all is written. Nothing of it is logged.
CREATE OR REPLACE FUNCTION korvesta_history_apply(p_step bigint, p_undo boolean) RETURNS text
LANGUAGE plpgsql AS $$
DECLARE
    b record;
    was text := CASE WHEN p_undo THEN 'n' ELSE 'o' END;
    gets text := CASE WHEN p_undo THEN 'o' ELSE 'n' END;
    cols text;
    vals text;
    written bigint;
BEGIN
    PERFORM set_config('korvesta.history', '', true);
    -- Whether the step may touch a protected date the history has decided already.
    PERFORM set_config('korvesta.unprotected', 'on', true);
    FOR b IN SELECT h.batch, h.tbl, h.rk, h.kind, count(*) AS rows
             FROM pg_temp.korvesta_history AS h WHERE h.step = p_step
             GROUP BY h.batch, h.tbl, h.rk, h.kind
             ORDER BY CASE WHEN p_undo THEN -h.batch ELSE h.batch END LOOP
        BEGIN
            IF b.kind = 'u' THEN
                SELECT string_agg(quote_ident(a.attname), ', ' ORDER BY a.attnum),
                       string_agg('r.' || quote_ident(a.attname), ', ' ORDER BY a.attnum)
                  INTO cols, vals
                  FROM pg_catalog.pg_attribute AS a
                 WHERE a.attrelid = quote_ident(b.tbl)::regclass AND a.attnum > 0
                   AND NOT a.attisdropped AND a.attname <> b.rk;
                EXECUTE format('WITH w AS (UPDATE %I AS t SET (%s) = (SELECT %s FROM '
                               'jsonb_populate_record(NULL::%I, h.%I) AS r) FROM '
                               'pg_temp.korvesta_history AS h WHERE h.batch = $1 AND t.%I = '
                               'h.rn AND to_jsonb(t) = h.%I RETURNING 1) SELECT count(*) FROM w',
                               b.tbl, cols, vals, b.tbl, gets, b.rk, was)
                    INTO written USING b.batch;
            ELSIF (b.kind = 'i') = p_undo THEN
                EXECUTE format('WITH w AS (DELETE FROM %I AS t USING pg_temp.korvesta_history '
                               'AS h WHERE h.batch = $1 AND t.%I = h.rn AND to_jsonb(t) = h.%I '
                               'RETURNING 1) SELECT count(*) FROM w', b.tbl, b.rk, was)
                    INTO written USING b.batch;
            ELSE
                EXECUTE format('INSERT INTO %I OVERRIDING SYSTEM VALUE SELECT '
                               '(jsonb_populate_record(NULL::%I, h.%I)).* FROM '
                               'pg_temp.korvesta_history AS h WHERE h.batch = $1 ORDER BY h.seq',
                               b.tbl, b.tbl, gets)
                    USING b.batch;
                GET DIAGNOSTICS written = ROW_COUNT;
            END IF;
        EXCEPTION WHEN integrity_constraint_violation THEN
            written := -1;
        END;
        IF written <> b.rows THEN
            -- The table, and on the next line the image of a row changed since: the one the
            -- step left that is no longer so, or the one now in the way of a row it gives back.
            IF b.kind = 'u' OR (b.kind = 'i') = p_undo THEN
                EXECUTE format('SELECT h.%I::text FROM pg_temp.korvesta_history AS h WHERE '
                               'h.batch = $1 AND NOT EXISTS (SELECT 1 FROM %I AS t WHERE t.%I = '
                               'h.rn AND to_jsonb(t) = h.%I) LIMIT 1', was, b.tbl, b.rk, was)
                    INTO cols USING b.batch;
            ELSE
                EXECUTE format('SELECT to_jsonb(t)::text FROM pg_temp.korvesta_history AS h '
                               'JOIN %I AS t ON t.%I = (h.%I ->> %L)::bigint WHERE h.batch = $1 '
                               'LIMIT 1', b.tbl, b.rk, gets, b.rk)
                    INTO cols USING b.batch;
            END IF;
            RETURN b.tbl || coalesce(E'\n' || cols, '');
        END IF;
    END LOOP;
    RETURN NULL;
END
$$;

-- The password that guards lifting a date's protection, kept by the document for every
-- planner (salted, hashed) and checked here: a date's protection is lifted only in a
-- transaction that gave it, whatever program writes. No key: the history does not log it.
CREATE TABLE IF NOT EXISTS korvesta_edit_password (salt text NOT NULL, hash text NOT NULL);

CREATE OR REPLACE FUNCTION korvesta_edit_password_set() RETURNS boolean LANGUAGE sql STABLE
AS $$ SELECT EXISTS (SELECT 1 FROM korvesta_edit_password) $$;

-- True when the password is right (or there is none); the transaction may then lift
-- protections until it ends.
CREATE OR REPLACE FUNCTION korvesta_give_edit_password(p text) RETURNS boolean
LANGUAGE plpgsql AS $$
DECLARE
    right_one boolean;
BEGIN
    SELECT bool_or(hash = encode(sha256(convert_to(salt || coalesce(p, ''), 'UTF8')), 'hex'))
      INTO right_one FROM korvesta_edit_password;
    IF right_one IS NULL OR right_one THEN
        PERFORM set_config('korvesta.edit_password', 'given', true);
        RETURN true;
    END IF;
    RETURN false;
END
$$;

-- Sets the password (none: removes it), once the present one is given. False when it is not.
CREATE OR REPLACE FUNCTION korvesta_change_edit_password(present text, wanted text)
RETURNS boolean LANGUAGE plpgsql AS $$
DECLARE
    salt text := md5(random()::text || clock_timestamp()::text);
BEGIN
    IF NOT korvesta_give_edit_password(present) THEN
        RETURN false;
    END IF;
    DELETE FROM korvesta_edit_password;
    IF coalesce(wanted, '') <> '' THEN
        INSERT INTO korvesta_edit_password (salt, hash)
        VALUES (salt, encode(sha256(convert_to(salt || wanted, 'UTF8')), 'hex'));
    END IF;
    RETURN true;
END
$$;

-- A date's protection is lifted only with the password, where the document has one.
CREATE OR REPLACE FUNCTION korvesta_dates_unprotected() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    lifted date;
BEGIN
    SELECT min(n."Date"::date) INTO lifted
      FROM korvesta_old AS o JOIN korvesta_new AS n ON n."Key" = o."Key"
     WHERE o."ReadOnly" <> 0 AND n."ReadOnly" = 0;
    IF lifted IS NOT NULL AND korvesta_edit_password_set()
       AND current_setting('korvesta.edit_password', true) IS DISTINCT FROM 'given' THEN
        RAISE EXCEPTION USING ERRCODE = 'KV002',
            MESSAGE = format('Блокировка даты %s снимается только с паролем для редактирования '
                             'расписания', to_char(lifted, 'DD.MM.YYYY'));
    END IF;
    RETURN NULL;
END
$$;

-- The version of these functions: a document whose functions are older gets them anew.
CREATE OR REPLACE FUNCTION korvesta_functions_version() RETURNS integer LANGUAGE sql IMMUTABLE
AS $$ SELECT 6 $$;
