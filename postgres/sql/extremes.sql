-- Every function with every combination of NULL and edge values of its
-- argument types (the infinities and extremes of date, timestamptz and
-- integer, the edges of the covered ranges, odd text and rows): NULL when an
-- argument is NULL, else a value, NULL or an SQLSTATE, never a crash.
SET DateStyle = ISO;
SET TimeZone = 'Etc/GMT-8';  -- UTC+8, as the library counts days and hours

CREATE TEMP TABLE edge (type regtype, value text);
INSERT INTO edge SELECT 'date', unnest(ARRAY[NULL, '-infinity', 'infinity', '4713-01-01 BC', '5874897-12-31',
  '0001-01-01', '9999-12-31', '10000-01-01', '1899-12-31', '1900-01-01', '1900-01-30', '1900-01-31', '2003-12-31',
  '2004-01-01', '2026-12-31', '2027-01-01', '2100-12-31', '2101-01-01', '2101-01-28', '2101-01-29']);
INSERT INTO edge SELECT 'integer', unnest(ARRAY[NULL, '-2147483648', '-1', '0', '1', '12', '13', '23', '24', '29',
  '30', '31', '1899', '1900', '2100', '2101', '2147483647']);
INSERT INTO edge SELECT 'text', unnest(ARRAY[NULL, '', ' late', 'late', 'Late', 'EARLY', '春节', '清明', '除夕',
  'winter-solstice', 'x', repeat('春', 2000)]);
INSERT INTO edge SELECT 'boolean', unnest(ARRAY[NULL, 'true', 'false']);
INSERT INTO edge SELECT 'timestamptz', unnest(ARRAY[NULL, '-infinity', 'infinity', '4714-11-24 00:00:00+00 BC',
  '294276-12-31 23:59:59.999999+00', '1900-02-04 13:51:30+08', '1900-02-04 13:51:29.999999+08',
  '2100-12-31 23:59:59.999999+08', '2101-01-01 00:00:00+08']);
INSERT INTO edge SELECT 'timestamp', unnest(ARRAY[NULL, '-infinity', 'infinity', '4714-11-24 00:00:00 BC',
  '294276-12-31 23:59:59.999999', '1900-01-30 23:59:59.999999', '1900-01-31 00:00:00', '1900-02-04 13:51:29',
  '1900-02-04 13:51:30', '2101-01-28 23:59:59.999999', '2101-01-29 00:00:00']);
INSERT INTO edge SELECT 'lunar_date', unnest(ARRAY[NULL, '一九〇〇年正月初一', '二〇一七年闰六月初一', '二一〇〇年腊月廿九']);

-- Every call, and whether one of its arguments is NULL.
CREATE TEMP VIEW calls AS
WITH RECURSIVE fn AS (
  SELECT p.oid, p.proargtypes::oid[]::regtype[] AS types  -- indexed from 0, as oidvector
  FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid AND d.classid = 'pg_proc'::regclass
  JOIN pg_extension e ON e.oid = d.refobjid AND e.extname = 'qel_calendar'
  WHERE p.prolang <> (SELECT oid FROM pg_language WHERE lanname = 'internal')  -- date's own comparisons
), combo (oid, n, args, null_argument) AS (
  SELECT oid, 0, '', false FROM fn
  UNION ALL
  SELECT c.oid, c.n + 1, c.args || CASE WHEN c.n > 0 THEN ', ' ELSE '' END
         || coalesce(quote_literal(e.value), 'NULL') || '::' || e.type, c.null_argument OR e.value IS NULL
  FROM combo c JOIN fn USING (oid) JOIN edge e ON e.type = fn.types[c.n]
)
SELECT c.oid::regprocedure AS function, format('SELECT %s(%s)', c.oid::regproc, c.args) AS query, c.null_argument
FROM combo c JOIN fn USING (oid) WHERE c.n = cardinality(fn.types);

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
