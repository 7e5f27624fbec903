-- qel_calendar 1.0.0: the Chinese calendar as SQL functions.
-- Every function is IMMUTABLE STRICT PARALLEL SAFE: a pure function of its
-- arguments (usable in indexes, generated columns, parallel workers and on
-- the shards of a distributed table), NULL for a NULL argument.

\echo Use "CREATE EXTENSION qel_calendar" to load this file. \quit

-- A lunar date: the month of a leap month carries the number of the month
-- it follows, with leap = true.
CREATE TYPE lunar_date AS (year integer, month integer, day integer, leap boolean);

CREATE FUNCTION lunar(date) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_year(date) RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_lunar_year' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_month(date) RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_lunar_month' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_day(date) RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_lunar_day' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_is_leap(date) RETURNS boolean
  AS 'MODULE_PATHNAME', 'sql_lunar_is_leap' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_text(date) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_lunar_text' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- lunar_date::text is the Chinese form, as lunar_text(date): 闰六月初一.
CREATE FUNCTION lunar_date_text(lunar_date) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_lunar_date_text' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE CAST (lunar_date AS text) WITH FUNCTION lunar_date_text(lunar_date);

CREATE FUNCTION from_lunar(year integer, month integer, day integer, leap boolean DEFAULT false) RETURNS date
  AS 'MODULE_PATHNAME', 'sql_from_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION from_lunar(lunar_date) RETURNS date
  AS 'MODULE_PATHNAME', 'sql_from_lunar_date' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- Solar terms: n = 0 (小寒) .. 23 (冬至) within a Gregorian year; the day of a
-- term is its day in China Standard Time (UTC+8).
CREATE FUNCTION solar_term(date) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_solar_term' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_term_at(year integer, n integer) RETURNS timestamptz
  AS 'MODULE_PATHNAME', 'sql_solar_term_at' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_term_at(year integer, name text) RETURNS timestamptz
  AS 'MODULE_PATHNAME', 'sql_solar_term_at_name' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_terms(year integer, OUT name text, OUT at timestamptz) RETURNS SETOF record
  AS 'MODULE_PATHNAME', 'sql_solar_terms' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE ROWS 24;

-- Festivals: festival_date takes the lunar year for the lunar festivals
-- (除夕 of lunar 2024 is 2025-01-28), the Gregorian year for the others.
CREATE FUNCTION festival(date) RETURNS text[]
  AS 'MODULE_PATHNAME', 'sql_festival' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION festival_date(year integer, name text) RETURNS date
  AS 'MODULE_PATHNAME', 'sql_festival_date' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- The four pillars of an instant in UTC+8 (mean civil time): {year, month,
-- day, hour}. zi: 'late' keeps 23:00-24:00 on the day's own day pillar,
-- 'early' moves it to the next day's.
CREATE FUNCTION day_pillar(date) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_day_pillar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION pillars(at timestamptz, zi text DEFAULT 'late') RETURNS text[]
  AS 'MODULE_PATHNAME', 'sql_pillars' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- PRC working days from the built-in table of the State Council's
-- schedules; an error outside its years, never a guess.
CREATE FUNCTION is_workday(date) RETURNS boolean
  AS 'MODULE_PATHNAME', 'sql_is_workday' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The working days in [from_date, to_date).
CREATE FUNCTION workdays(from_date date, to_date date) RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_workdays' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
