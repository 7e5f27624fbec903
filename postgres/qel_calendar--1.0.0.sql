-- qel_calendar 1.0.0: the Chinese, Korean and Vietnamese lunar calendars
-- as SQL functions.
-- Every calculation is IMMUTABLE STRICT PARALLEL SAFE: a pure function of
-- its arguments (usable in indexes, generated columns, parallel workers and
-- on the shards of a distributed table), NULL for a NULL argument. The one
-- exception is lunar(text), which reads its string as a date literal does
-- (DateStyle, 'today'), and so is STABLE.

\echo Use "CREATE EXTENSION qel_calendar" to load this file. \quit

-- ---- lunar_date: a day, shown as its lunar date ------------------------------
-- Stored as the day itself (4 bytes, the representation of date), so it
-- sorts by time (闰六月 between 六月 and 七月), compares, hashes and indexes
-- as a date does, and its binary COPY form is date's. Its one text form, in
-- and out, is the Chinese calendar's: 二〇一七年闰六月初一.
CREATE TYPE lunar_date;
CREATE FUNCTION lunar_date_in(cstring) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_date_in' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_date_out(lunar_date) RETURNS cstring
  AS 'MODULE_PATHNAME', 'sql_lunar_date_out' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_date_recv(internal) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_date_recv' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_date_send(lunar_date) RETURNS bytea
  AS 'MODULE_PATHNAME', 'sql_lunar_date_send' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE TYPE lunar_date (
  INPUT = lunar_date_in, OUTPUT = lunar_date_out, RECEIVE = lunar_date_recv, SEND = lunar_date_send,
  INTERNALLENGTH = 4, PASSEDBYVALUE, ALIGNMENT = int4, STORAGE = plain
);

-- Comparison is date's own, on the stored day.
CREATE FUNCTION lunar_date_eq(lunar_date, lunar_date) RETURNS boolean
  AS 'date_eq' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_ne(lunar_date, lunar_date) RETURNS boolean
  AS 'date_ne' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_lt(lunar_date, lunar_date) RETURNS boolean
  AS 'date_lt' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_le(lunar_date, lunar_date) RETURNS boolean
  AS 'date_le' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_gt(lunar_date, lunar_date) RETURNS boolean
  AS 'date_gt' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_ge(lunar_date, lunar_date) RETURNS boolean
  AS 'date_ge' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_cmp(lunar_date, lunar_date) RETURNS integer
  AS 'date_cmp' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_sortsupport(internal) RETURNS void
  AS 'date_sortsupport' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_date_hash(lunar_date) RETURNS integer
  AS 'hashint4' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;
CREATE FUNCTION lunar_date_hash_extended(lunar_date, bigint) RETURNS bigint
  AS 'hashint4extended' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE LEAKPROOF;

CREATE OPERATOR = (LEFTARG = lunar_date, RIGHTARG = lunar_date, FUNCTION = lunar_date_eq,
  COMMUTATOR = =, NEGATOR = <>, RESTRICT = eqsel, JOIN = eqjoinsel, HASHES, MERGES);
CREATE OPERATOR <> (LEFTARG = lunar_date, RIGHTARG = lunar_date, FUNCTION = lunar_date_ne,
  COMMUTATOR = <>, NEGATOR = =, RESTRICT = neqsel, JOIN = neqjoinsel);
CREATE OPERATOR < (LEFTARG = lunar_date, RIGHTARG = lunar_date, FUNCTION = lunar_date_lt,
  COMMUTATOR = >, NEGATOR = >=, RESTRICT = scalarltsel, JOIN = scalarltjoinsel);
CREATE OPERATOR <= (LEFTARG = lunar_date, RIGHTARG = lunar_date, FUNCTION = lunar_date_le,
  COMMUTATOR = >=, NEGATOR = >, RESTRICT = scalarlesel, JOIN = scalarlejoinsel);
CREATE OPERATOR > (LEFTARG = lunar_date, RIGHTARG = lunar_date, FUNCTION = lunar_date_gt,
  COMMUTATOR = <, NEGATOR = <=, RESTRICT = scalargtsel, JOIN = scalargtjoinsel);
CREATE OPERATOR >= (LEFTARG = lunar_date, RIGHTARG = lunar_date, FUNCTION = lunar_date_ge,
  COMMUTATOR = <=, NEGATOR = <, RESTRICT = scalargesel, JOIN = scalargejoinsel);

CREATE OPERATOR CLASS lunar_date_ops DEFAULT FOR TYPE lunar_date USING btree AS
  OPERATOR 1 <, OPERATOR 2 <=, OPERATOR 3 =, OPERATOR 4 >=, OPERATOR 5 >,
  FUNCTION 1 lunar_date_cmp(lunar_date, lunar_date), FUNCTION 2 lunar_date_sortsupport(internal);
CREATE FUNCTION lunar_date_smaller(lunar_date, lunar_date) RETURNS lunar_date
  AS 'date_smaller' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_date_larger(lunar_date, lunar_date) RETURNS lunar_date
  AS 'date_larger' LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE;
CREATE AGGREGATE min(lunar_date) (SFUNC = lunar_date_smaller, STYPE = lunar_date,
  COMBINEFUNC = lunar_date_smaller, SORTOP = <, PARALLEL = SAFE);
CREATE AGGREGATE max(lunar_date) (SFUNC = lunar_date_larger, STYPE = lunar_date,
  COMBINEFUNC = lunar_date_larger, SORTOP = >, PARALLEL = SAFE);
CREATE OPERATOR CLASS lunar_date_hash_ops DEFAULT FOR TYPE lunar_date USING hash AS
  OPERATOR 1 =,
  FUNCTION 1 lunar_date_hash(lunar_date), FUNCTION 2 lunar_date_hash_extended(lunar_date, bigint);

-- ---- Lunar dates ---------------------------------------------------------------
-- A leap month carries the number of the month it follows, with leap = true.
-- The forms with a second argument `strict => false` answer NULL for a day
-- outside the covered years instead of raising an error, for aggregates and
-- indexes over data that may hold such days; every other error stays one.
-- The functions with a `calendar` argument answer in the calendar it names
-- (chinese, korean or vietnamese, as qel_calendar_of_name reads it), their
-- names and text in its language; lunar_date is the Chinese calendar's.
CREATE FUNCTION lunar(date) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar(date, strict boolean) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- A naive date-time is a wall time in China Standard Time (UTC+8); an instant
-- is seen in UTC+8 (a fixed offset, not Asia/Shanghai and its summer times).
CREATE FUNCTION lunar(timestamp) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_of_timestamp' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar(timestamptz) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_of_timestamptz' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- A string literal, lunar('2017-07-23'), is a date: without this form it
-- would resolve to the timestamptz one, midnight in the session's zone, and
-- east of UTC+8 that is the day before in China.
CREATE FUNCTION lunar(text) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_of_text' LANGUAGE C STABLE STRICT PARALLEL SAFE;

-- The parts of a day's lunar date, all four at once as a row (lunar_fields)
-- or one each.
CREATE FUNCTION lunar_fields(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese',
                             OUT year integer, OUT month integer, OUT day integer, OUT leap boolean) RETURNS record
  AS 'MODULE_PATHNAME', 'sql_lunar_fields' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_year(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese') RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_lunar_year' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_month(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese') RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_lunar_month' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_day(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese') RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_lunar_day' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_is_leap(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese') RETURNS boolean
  AS 'MODULE_PATHNAME', 'sql_lunar_is_leap' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The month and day without the year: 闰六月初一, 윤6월 1일, mùng 1 tháng Sáu nhuận.
CREATE FUNCTION lunar_text(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese') RETURNS text
  AS 'MODULE_PATHNAME', 'sql_lunar_text' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

CREATE FUNCTION from_lunar(year integer, month integer, day integer, leap boolean DEFAULT false,
                           calendar text DEFAULT 'chinese') RETURNS date
  AS 'MODULE_PATHNAME', 'sql_from_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_date(year integer, month integer, day integer, leap boolean DEFAULT false) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_from_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The day of a lunar_date is the value itself: the cast to date is free.
CREATE FUNCTION from_lunar(lunar_date) RETURNS date
  AS 'MODULE_PATHNAME', 'sql_lunar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE CAST (lunar_date AS date) WITHOUT FUNCTION;
CREATE CAST (date AS lunar_date) WITH FUNCTION lunar(date);

-- A lunar month: its first day and length, its source ('published' table,
-- 'computed' from the ephemerides, or the historical 'record' where it
-- departs from computation), and whether a new moon or principal term lies
-- so near midnight that its start or its number could move, or the second
-- ephemeris or the computation gives it otherwise.
CREATE FUNCTION lunar_month_info(year integer, month integer, leap boolean DEFAULT false,
                                 calendar text DEFAULT 'chinese',
                                 OUT first_day date, OUT days integer, OUT source text,
                                 OUT start_uncertain boolean, OUT label_uncertain boolean,
                                 OUT engines_differ boolean, OUT computation_differs boolean) RETURNS record
  AS 'MODULE_PATHNAME', 'sql_lunar_month_info' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- Stepping by lunar months and years: qel_lunar_step in
-- include/qel_calendar.h, the one rule of every surface (leap months count
-- in calendar order; a year step keeps a leap month only where the new year
-- has the same one; day 30 becomes 29 in a month of 29 days).
CREATE FUNCTION lunar_add_months(lunar_date, months integer) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_add_months' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION lunar_add_years(lunar_date, years integer) RETURNS lunar_date
  AS 'MODULE_PATHNAME', 'sql_lunar_add_years' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- ---- Solar terms -----------------------------------------------------------------
-- n = 0 (小寒) .. 23 (冬至) within a Gregorian year; the day of a term is its
-- day in China Standard Time (UTC+8).
CREATE FUNCTION solar_term(date) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_solar_term' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_term(date, strict boolean) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_solar_term' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_term_at(year integer, n integer) RETURNS timestamptz
  AS 'MODULE_PATHNAME', 'sql_solar_term_at' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_term_at(year integer, name text) RETURNS timestamptz
  AS 'MODULE_PATHNAME', 'sql_solar_term_at_name' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The planner's row estimate comes from the library's count of terms.
CREATE FUNCTION solar_terms_rows(internal) RETURNS internal
  AS 'MODULE_PATHNAME', 'sql_solar_terms_rows' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION solar_terms(year integer, OUT name text, OUT at timestamptz) RETURNS SETOF record
  AS 'MODULE_PATHNAME', 'sql_solar_terms' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE SUPPORT solar_terms_rows;

-- ---- Festivals ---------------------------------------------------------------------
-- Each calendar marks its own festivals, named in its language: the Chinese
-- all but the Hùng Kings' day, the Korean and the Vietnamese those they keep.
CREATE FUNCTION festival(date, strict boolean DEFAULT true, calendar text DEFAULT 'chinese') RETURNS text[]
  AS 'MODULE_PATHNAME', 'sql_festival' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The festival days inside a Gregorian year, in date order, as
-- qel_festivals_of_year lists them: 2022 has two 腊八 (lunar 2021's and
-- lunar 2022's), 2025 the 除夕 of lunar 2024; a festival's name keeps its
-- days only, 'all' every festival's. The row estimate is the library's count
-- of festivals.
CREATE FUNCTION festivals_rows(internal) RETURNS internal
  AS 'MODULE_PATHNAME', 'sql_festivals_rows' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION festivals(year integer, festival text DEFAULT 'all', calendar text DEFAULT 'chinese',
                          OUT day date, OUT name text) RETURNS SETOF record
  AS 'MODULE_PATHNAME', 'sql_festivals' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE SUPPORT festivals_rows;
-- The day of one festival in the festival's own year: the lunar year for
-- the lunar festivals (除夕 of lunar 2024 is 2025-01-28), the Gregorian
-- year for the others.
CREATE FUNCTION festival_date(year integer, name text, calendar text DEFAULT 'chinese') RETURNS date
  AS 'MODULE_PATHNAME', 'sql_festival_date' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- ---- Pillars -------------------------------------------------------------------------
-- The four pillars in UTC+8 (mean civil time): {year, month, day, hour}.
-- zi: 'late' keeps 23:00-24:00 on the day's own day pillar, 'early' moves it
-- to the next day's. A naive timestamp is a UTC+8 wall time.
CREATE FUNCTION day_pillar(date) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_day_pillar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION day_pillar(date, strict boolean) RETURNS text
  AS 'MODULE_PATHNAME', 'sql_day_pillar' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION pillars(at timestamptz, zi text DEFAULT 'late') RETURNS text[]
  AS 'MODULE_PATHNAME', 'sql_pillars' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION pillars(at timestamp, zi text DEFAULT 'late') RETURNS text[]
  AS 'MODULE_PATHNAME', 'sql_pillars_of_timestamp' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- A UTC+8 wall time by its fields, as make_timestamp takes them: fields that
-- are no date or time fail with the library's reason.
CREATE FUNCTION pillars(year integer, month integer, day integer, hour integer, minute integer, second integer,
                        zi text DEFAULT 'late') RETURNS text[]
  AS 'MODULE_PATHNAME', 'sql_pillars_of_fields' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;

-- ---- PRC working days ------------------------------------------------------------------
-- From the built-in table of the State Council's schedules; an error outside
-- its years, never a guess.
CREATE FUNCTION is_workday(date) RETURNS boolean
  AS 'MODULE_PATHNAME', 'sql_is_workday' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
CREATE FUNCTION is_workday(date, strict boolean) RETURNS boolean
  AS 'MODULE_PATHNAME', 'sql_is_workday' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The working days in [from_date, to_date).
CREATE FUNCTION workdays(from_date date, to_date date) RETURNS integer
  AS 'MODULE_PATHNAME', 'sql_workdays' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
-- The day n working days after from_date (before it for n < 0); n = 0 gives
-- from_date when it is a working day, else the next one.
CREATE FUNCTION add_workdays(from_date date, n integer) RETURNS date
  AS 'MODULE_PATHNAME', 'sql_add_workdays' LANGUAGE C IMMUTABLE STRICT PARALLEL SAFE;
