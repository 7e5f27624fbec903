-- The functions on days whose answers are calendar facts.
SET DateStyle = ISO;
-- China Standard Time, UTC+8, as the library counts days and hours
-- (Asia/Shanghai keeps local mean time before 1901 and had summer time).
SET TimeZone = 'Etc/GMT-8';

-- Every function of the extension is a pure function of its arguments.
SELECT p.oid::regprocedure AS function
FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid AND d.classid = 'pg_proc'::regclass
JOIN pg_extension e ON e.oid = d.refobjid AND e.extname = 'qel_calendar'
WHERE p.provolatile <> 'i' OR p.proparallel <> 's' OR NOT p.proisstrict;

-- 2017 has a leap sixth month; 2017-07-23 is its first day.
SELECT lunar('2017-07-23'), lunar_text('2017-07-23'), from_lunar(2017, 6, 1), from_lunar(2017, 6, 1, true),
       from_lunar(ROW(2017, 6, 1, true)::lunar_date), ROW(2017, 6, 30, true)::lunar_date::text;

-- The March equinox of 2025 is at 09:01 UTC; 清明 falls on 4 April.
SELECT solar_term_at(2025, 5) AT TIME ZONE 'UTC' AS equinox_utc, solar_term_at(2025, '清明'),
       solar_term_at(2025, 'clear-and-bright') = solar_term_at(2025, 6) AS by_key,
       solar_term('2025-04-04'), solar_term('2025-04-05');
SELECT * FROM solar_terms(2025) WHERE name IN ('立春', '夏至', '冬至');

-- Lunar festivals take the lunar year: 除夕 of lunar 2024 is 2025-01-28.
SELECT festival_date(2024, '除夕'), festival_date(2025, 'spring-festival'), festival_date(2030, 'Mid-Autumn Festival'),
       festival_date(2025, '中秋'), festival('2025-01-29'), festival('2020-10-01'), festival('2025-02-28');

-- 1949-10-01 was a 甲子 day. The hour pillar at 23:30 is the next day's 子
-- hour either way; the day pillar moves only with zi => 'early'.
SELECT day_pillar('1949-10-01'), pillars('1949-10-01 12:00+08'), pillars('1949-10-01 23:30+08'),
       pillars('1949-10-01 23:30+08', 'early'), pillars('1949-10-01 23:30+08', zi => 'late');

-- 2025: 28 September, a Sunday, is worked, 1 October is a day off; 41
-- working days from 1 September to 31 October.
SELECT is_workday('2025-09-28'), is_workday('2025-10-01'), workdays('2025-09-01', '2025-11-01'),
       workdays('2025-11-01', '2025-09-01'), workdays('2025-10-01', '2025-10-01');
