-- The functions on days whose answers are calendar facts.
SET DateStyle = ISO;
-- China Standard Time, UTC+8, as the library counts days and hours
-- (Asia/Shanghai keeps local mean time before 1901 and had summer time).
SET TimeZone = 'Etc/GMT-8';

-- Every function of the extension is a pure function of its arguments but
-- lunar(text), which reads a date literal (DateStyle, 'today').
SELECT p.oid::regprocedure AS function
FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid AND d.classid = 'pg_proc'::regclass
JOIN pg_extension e ON e.oid = d.refobjid AND e.extname = 'qel_calendar'
WHERE p.provolatile <> 'i' OR p.proparallel <> 's' OR NOT p.proisstrict;

-- 2017 has a leap sixth month; 2017-07-23 is its first day. lunar_date has
-- one text form, in and out: ::text, format and psql show the same.
SELECT lunar('2017-07-23'), lunar('2017-07-23')::text, format('%s', lunar('2017-07-23')), lunar_text('2017-07-23'),
       from_lunar(2017, 6, 1), from_lunar(2017, 6, 1, true), from_lunar('二〇一七年闰六月初一'),
       lunar_date(2017, 6, 29, leap => true), ' 二〇一七年闰六月初一 '::lunar_date = lunar('2017-07-23') AS read_back;

-- The calendars part where a new moon or a principal term falls between
-- their meridians' midnights: Korea's 2017 has its leap month after the
-- fifth month, China's after the sixth; Seollal 1997 fell a day after 春节;
-- Tết 1985 a month before it (China's 1984 has a leap tenth month, Vietnam's
-- a plain eleventh). Names and text are in the calendar's language.
SELECT from_lunar(2017, 5, 1, true, 'korean') AS korean_leap_5, lunar_text('2017-07-23', calendar => '음력'),
       festival_date(1997, '설날', 'Korean') AS seollal_1997, festival_date(1997, '春节') AS chunjie_1997,
       from_lunar(1985, 1, 1, calendar => 'vietnamese') AS tet_1985, festival('1985-01-21', calendar => 'âm lịch'),
       lunar_fields('1985-01-21'), festival('1985-02-20');
-- Beyond the published table: an 18th- and a 22nd-century day through
-- lunar_date's text and back.
SELECT lunar('1723-03-01'), lunar('1723-03-01')::text::lunar_date::date, lunar('2150-09-15'),
       lunar('2150-09-15')::text::lunar_date::date;
-- Where a month comes from: the new moon that opens the ninth month of 2057
-- in the published table lies within its margin of midnight; in 1645 the
-- historical record departs from computation.
SELECT * FROM lunar_month_info(2057, 9) UNION ALL SELECT * FROM lunar_month_info(1645, 6)
UNION ALL SELECT * FROM lunar_month_info(2017, 5, true, 'korean');

-- lunar_date sorts by time: the leap month between months 6 and 7, through
-- a btree index, a sort and a hash; its binary form is date's.
CREATE TEMP TABLE lunar_days AS
SELECT lunar(g::date) AS l FROM generate_series(date '2017-08-22', '2017-06-20', '-1 day') g;
CREATE INDEX ON lunar_days (l);
SET enable_seqscan = off;
SELECT l AS lunar, l::date AS day FROM lunar_days WHERE l BETWEEN '二〇一七年六月廿八' AND '二〇一七年闰六月初二' ORDER BY l;
RESET enable_seqscan;
SELECT lunar('2017-07-22') < lunar('2017-07-23') AS lt, lunar('2017-08-21') <= lunar('2017-08-22') AS le,
       lunar('2017-08-22') > lunar('2017-07-23') AS gt, lunar('2017-07-23') >= lunar('2017-07-23') AS ge,
       lunar('2017-07-23') = lunar_date(2017, 6, 1, true) AS eq, lunar('2017-07-23') <> lunar('2017-06-24') AS ne,
       (SELECT count(DISTINCT l) FROM lunar_days) AS distinct_days, (SELECT min(l) FROM lunar_days), (SELECT max(l) FROM lunar_days),
       lunar_date_send(lunar('2017-07-23')) = date_send('2017-07-23') AS binary_is_date;

-- A naive timestamp is a UTC+8 wall time and an instant is seen in UTC+8,
-- whatever the session's zone (Asia/Shanghai had summer time in 1988; the
-- fixed offset has none); a string literal is a date.
SET TimeZone = 'Asia/Tokyo';
SELECT pillars(timestamp '1988-06-01 23:30') = pillars('1988-06-01 23:30+08') AS naive_is_utc8,
       lunar(timestamptz '1988-06-01 15:30Z') = lunar(date '1988-06-01') AS instant_in_utc8,
       lunar(timestamp '2017-07-23 23:59:59.999999'), lunar('2017-07-23') AS literal_is_date,
       lunar(now()) = lunar((now() AT TIME ZONE 'Etc/GMT-8')::date) AS now;
SET TimeZone = 'Etc/GMT-8';

-- strict => false: NULL for a day outside the covered years, so that such a
-- row does not abort an aggregate or the build of an index.
CREATE TEMP TABLE orders (d date);
INSERT INTO orders VALUES ('2017-07-23'), ('infinity'), ('9999-12-31'), ('1900-01-01'), (NULL);
CREATE INDEX ON orders (lunar_year(d, strict => false));
SELECT lunar_year(d, strict => false) AS year, count(*) FROM orders GROUP BY 1 ORDER BY 1;
SELECT d, lunar(d, false), lunar_month(d, false), lunar_day(d, false), lunar_is_leap(d, false), lunar_text(d, false),
       solar_term(d, false), festival(d, false), day_pillar(d, false), is_workday(d, false)
FROM orders ORDER BY d;

-- The March equinox of 2025 is at 09:01 UTC; 清明 falls on 4 April.
SELECT solar_term_at(2025, 5) AT TIME ZONE 'UTC' AS equinox_utc, solar_term_at(2025, '清明'),
       solar_term_at(2025, 'clear-and-bright') = solar_term_at(2025, 6) AS by_key,
       solar_term('2025-04-04'), solar_term('2025-04-05');
SELECT * FROM solar_terms(2025) WHERE name IN ('立春', '夏至', '冬至');

-- Lunar festivals take the lunar year: 除夕 of lunar 2024 is 2025-01-28.
SELECT festival_date(2024, '除夕'), festival_date(2025, 'spring-festival'), festival_date(2030, 'Mid-Autumn Festival'),
       festival_date(2025, '中秋'), festival('2025-01-29'), festival('2020-10-01'), festival('2025-02-28');
-- festivals(year) lists the days inside the Gregorian year: two 腊八 in
-- 2022, the 除夕 of lunar 2024 (and not of lunar 2025) in 2025.
SELECT y, name, array_agg(day ORDER BY day), (SELECT count(*) FROM festivals(y)) AS all_days
FROM (VALUES (2022, '腊八节'), (2025, '除夕'), (2025, '春节')) v(y, n), LATERAL festivals(y) f
WHERE f.name = v.n GROUP BY 1, 2 ORDER BY 1, 2;

-- 1949-10-01 was a 甲子 day. The hour pillar at 23:30 is the next day's 子
-- hour either way; the day pillar moves only with zi => 'early'.
SELECT day_pillar('1949-10-01'), pillars('1949-10-01 12:00+08'), pillars('1949-10-01 23:30+08'),
       pillars('1949-10-01 23:30+08', 'early'), pillars('1949-10-01 23:30+08', zi => 'late');

-- 2025: 28 September, a Sunday, is worked, 1 October is a day off; 41
-- working days from 1 September to 31 October.
SELECT is_workday('2025-09-28'), is_workday('2025-10-01'), workdays('2025-09-01', '2025-11-01'),
       workdays('2025-11-01', '2025-09-01'), workdays('2025-10-01', '2025-10-01');
-- Adding working days skips the National Day week: after 30 September comes
-- 9 October; 0 days from a day off is the next working day.
SELECT add_workdays('2025-09-26', 1), add_workdays('2025-09-30', 1), add_workdays('2025-10-01', 0),
       add_workdays('2025-10-09', -1), add_workdays('2025-09-01', 41);
