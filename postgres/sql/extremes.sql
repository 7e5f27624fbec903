-- Every function with every combination of NULL and edge values of its
-- argument types (the infinities and extremes of date, timestamptz and
-- integer, the edges of the covered ranges, odd text and rows): NULL when an
-- argument is NULL, else a value, NULL or an SQLSTATE, never a crash.
SET DateStyle = ISO;
SET TimeZone = 'Etc/GMT-8';  -- UTC+8, as the library counts days and hours

CREATE TEMP TABLE edge (type regtype, value text);
INSERT INTO edge SELECT 'date', unnest(ARRAY[NULL, '-infinity', 'infinity', '4713-01-01 BC', '5874897-12-31',
  '0001-01-01', '9999-12-31', '10000-01-01', '1644-12-31', '1645-01-01', '1645-01-27', '1645-01-28', '2003-12-31',
  '2004-01-01', '2026-12-31', '2027-01-01', '2200-12-31', '2201-01-01', '2201-02-03', '2201-02-04']);
INSERT INTO edge SELECT 'integer', unnest(ARRAY[NULL, '-2147483648', '-1', '0', '1', '12', '13', '23', '24', '29',
  '30', '31', '1644', '1645', '2200', '2201', '2147483647']);
INSERT INTO edge SELECT 'text', unnest(ARRAY[NULL, '', ' late', 'late', 'Late', 'EARLY', 'Korean', 'âm lịch', 'all', '春节',
  '清明', '除夕', 'hung-kings', '2017-07-23', '2023-02-29', 'winter-solstice', 'x', repeat('春', 2000)]);
INSERT INTO edge SELECT 'boolean', unnest(ARRAY[NULL, 'true', 'false']);
INSERT INTO edge SELECT 'timestamptz', unnest(ARRAY[NULL, '-infinity', 'infinity', '4714-11-24 00:00:00+00 BC',
  '294276-12-31 23:59:59.999999+00', '1645-02-03 16:40:29+08', '1645-02-03 16:40:28.999999+08',
  '2200-12-31 23:59:59.999999+08', '2201-01-01 00:00:00+08']);
INSERT INTO edge SELECT 'timestamp', unnest(ARRAY[NULL, '-infinity', 'infinity', '4714-11-24 00:00:00 BC',
  '294276-12-31 23:59:59.999999', '1645-01-27 23:59:59.999999', '1645-01-28 00:00:00', '1645-02-03 16:40:28',
  '1645-02-03 16:40:29', '2201-02-03 23:59:59.999999', '2201-02-04 00:00:00']);
INSERT INTO edge SELECT 'lunar_date', unnest(ARRAY[NULL, '一六四五年正月初一', '二〇一七年闰六月初一', '二二〇〇年腊月廿九']);

-- Every call, and whether one of its arguments is NULL: every combination
-- of edge values for up to four arguments; a wider function (pillars by its
-- fields, from_lunar with a calendar) takes each argument through its edge
-- values with the others at a plain value (1, 'late', a calendar 'Korean').
CREATE TEMP VIEW calls AS
WITH RECURSIVE fn AS (
  SELECT p.oid, p.proargtypes::oid[]::regtype[] AS types, p.proargnames AS names  -- types from 0, names from 1
  FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid AND d.classid = 'pg_proc'::regclass
  JOIN pg_extension e ON e.oid = d.refobjid AND e.extname = 'qel_calendar'
  WHERE p.prolang <> (SELECT oid FROM pg_language WHERE lanname = 'internal')  -- date's own comparisons
), arg (oid, n, value, type) AS (
  SELECT fn.oid, n, e.value, e.type FROM fn, generate_series(0, cardinality(fn.types) - 1) n, edge e WHERE e.type = fn.types[n]
), base AS (
  SELECT DISTINCT ON (type) type, value FROM edge WHERE value IS NOT NULL ORDER BY type, value NOT IN ('1', 'late'), ctid
), combo (oid, n, args, null_argument) AS (
  SELECT oid, 0, '', false FROM fn WHERE cardinality(types) <= 4
  UNION ALL
  SELECT c.oid, c.n + 1, c.args || CASE WHEN c.n > 0 THEN ', ' ELSE '' END
         || coalesce(quote_literal(a.value), 'NULL') || '::' || a.type, c.null_argument OR a.value IS NULL
  FROM combo c JOIN arg a ON a.oid = c.oid AND a.n = c.n
), wide (oid, args, null_argument) AS (
  SELECT a.oid, string_agg(coalesce(quote_literal(CASE WHEN i = a.n THEN a.value WHEN fn.names[i + 1] = 'calendar' THEN 'Korean'
                                                       ELSE b.value END), 'NULL') || '::' || fn.types[i],
                           ', ' ORDER BY i), a.value IS NULL
  FROM arg a JOIN fn USING (oid), generate_series(0, cardinality(fn.types) - 1) i, base b
  WHERE cardinality(fn.types) > 4 AND b.type = fn.types[i] GROUP BY a.oid, a.n, a.value
)
SELECT oid::regprocedure AS function, format('SELECT %s(%s)', oid::regproc, args) AS query, null_argument
FROM (SELECT oid, args, null_argument FROM combo JOIN fn USING (oid) WHERE n = cardinality(types)
      UNION ALL TABLE wide) c;

-- 'null' when no row has a value (solar_terms gives no row), 'value' when
-- some row has one, else the SQLSTATE of the error.
CREATE FUNCTION pg_temp.outcome(query text) RETURNS text LANGUAGE plpgsql AS $$
DECLARE
  state text; no_value boolean;
BEGIN
  EXECUTE format('SELECT coalesce(bool_and(r IS NULL), true) FROM (%s) s(r)', query) INTO no_value;
  RETURN CASE WHEN no_value THEN 'null' ELSE 'value' END;
EXCEPTION WHEN OTHERS THEN
  GET STACKED DIAGNOSTICS state = RETURNED_SQLSTATE;
  RETURN state;
END $$;

SELECT function, null_argument, pg_temp.outcome(query) AS outcome, count(*)
FROM calls GROUP BY 1, 2, 3 ORDER BY function::text, 2, 3;
