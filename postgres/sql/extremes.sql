-- Every function of the extension, called with NULL for each argument and
-- with every combination of edge values of its argument types: the
-- infinities and the extremes of date and timestamptz, the edges of the
-- covered ranges, the extremes of integer, odd text and rows. Each call
-- must give a value, NULL or one of the extension's SQLSTATEs; a crash
-- ends the session and fails the test.
SET DateStyle = ISO;
-- China Standard Time, UTC+8, as the library counts days and hours
-- (Asia/Shanghai keeps local mean time before 1901 and had summer time).
SET TimeZone = 'Etc/GMT-8';

CREATE TEMP TABLE edge (type regtype, value text, ordinary boolean DEFAULT false);
INSERT INTO edge (type, value) SELECT 'date', v FROM unnest(ARRAY['-infinity', 'infinity', '4713-01-01 BC',
  '5874897-12-31', '0001-01-01', '9999-12-31', '10000-01-01', '1899-12-31', '1900-01-01', '1900-01-30',
  '1900-01-31', '2003-12-31', '2004-01-01', '2026-12-31', '2027-01-01', '2100-12-31', '2101-01-01',
  '2101-01-28', '2101-01-29']) v;
INSERT INTO edge (type, value) SELECT 'integer', v FROM unnest(ARRAY['-2147483648', '-1', '0', '1', '12', '13',
  '23', '24', '29', '30', '31', '1899', '1900', '2100', '2101', '2147483647']) v;
INSERT INTO edge (type, value) SELECT 'text', v FROM unnest(ARRAY['', ' late', 'late', 'EARLY', '春节', '清明',
  '除夕', 'winter-solstice', 'x', repeat('春', 2000)]) v;
INSERT INTO edge (type, value) SELECT 'boolean', v FROM unnest(ARRAY['true', 'false']) v;
INSERT INTO edge (type, value) SELECT 'timestamptz', v FROM unnest(ARRAY['-infinity', 'infinity',
  '4714-11-24 00:00:00+00 BC', '294276-12-31 23:59:59.999999+00', '1900-02-04 13:51:30+08',
  '1900-02-04 13:51:29.999999+08', '2100-12-31 23:59:59.999999+08', '2101-01-01 00:00:00+08']) v;
INSERT INTO edge (type, value) SELECT 'lunar_date', v FROM unnest(ARRAY['(2017,6,1,t)', '(2017,6,1,)', '(,,,)',
  '(-2147483648,2147483647,0,f)', '(2100,12,29,f)', '(2100,12,30,f)']) v;
-- Per type: NULL, and an ordinary value for the other arguments of a NULL call.
INSERT INTO edge SELECT DISTINCT type, NULL, false FROM edge;
INSERT INTO edge VALUES ('date', '2025-01-29', true), ('integer', '2025', true), ('text', '春节', true),
  ('boolean', 'false', true), ('timestamptz', '2025-01-29 12:00+08', true), ('lunar_date', '(2025,1,1,f)', true);

-- Every call: the query, how many NULL and how many ordinary arguments.
CREATE TEMP VIEW calls AS
WITH RECURSIVE fn AS (
  SELECT p.oid, p.proargtypes::oid[]::regtype[] AS types  -- indexed from 0, as oidvector
  FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid AND d.classid = 'pg_proc'::regclass
  JOIN pg_extension e ON e.oid = d.refobjid AND e.extname = 'qel_calendar'
), combo (oid, n, args, nulls, ordinary) AS (
  SELECT oid, 0, '', 0, 0 FROM fn
  UNION ALL
  SELECT c.oid, c.n + 1, c.args || CASE WHEN c.n > 0 THEN ', ' ELSE '' END
         || coalesce(quote_literal(e.value), 'NULL') || '::' || e.type,
         c.nulls + (e.value IS NULL)::int, c.ordinary + e.ordinary::int
  FROM combo c JOIN fn USING (oid) JOIN edge e ON e.type = fn.types[c.n]
)
SELECT c.oid::regprocedure AS function, format('SELECT %s(%s)', c.oid::regproc, c.args) AS query,
       c.nulls, c.ordinary, c.n AS arity
FROM combo c JOIN fn USING (oid) WHERE c.n = cardinality(fn.types);

CREATE FUNCTION pg_temp.outcome(query text) RETURNS text LANGUAGE plpgsql AS $$
DECLARE
  state text;
BEGIN
  EXECUTE query;
  RETURN 'ok';
EXCEPTION WHEN OTHERS THEN
  GET STACKED DIAGNOSTICS state = RETURNED_SQLSTATE;
  RETURN state;
END $$;

CREATE FUNCTION pg_temp.gives_null(query text) RETURNS boolean LANGUAGE plpgsql AS $$
DECLARE
  values_not_null bigint;
BEGIN
  EXECUTE format('SELECT count(*) FROM (%s) s(r) WHERE r IS NOT NULL', query) INTO values_not_null;
  RETURN values_not_null = 0;
END $$;

-- One NULL argument, the others ordinary: NULL (no row from solar_terms).
SELECT function, count(*) AS calls, bool_and(pg_temp.gives_null(query)) AS all_null
FROM calls WHERE nulls = 1 AND ordinary = arity - 1
GROUP BY 1 ORDER BY function::text;

-- Every combination of edge values: the count of each outcome.
SELECT function, pg_temp.outcome(query) AS outcome, count(*)
FROM calls WHERE nulls = 0
GROUP BY 1, 2 ORDER BY function::text, outcome;
