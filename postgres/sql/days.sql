-- Every day of 1900-2100 through the SQL functions against the C interface
-- called directly (days_oracle), and the functions against each other and
-- against independent arithmetic.
SET DateStyle = ISO;
-- China Standard Time, UTC+8, as the library counts days and hours
-- (Asia/Shanghai keeps local mean time before 1901 and had summer time).
SET TimeZone = 'Etc/GMT-8';

CREATE TEMP TABLE oracle (d date PRIMARY KEY, lunar_year int, lunar_month int, lunar_day int, leap bool,
  lunar_text text, solar_term text, festival text[], day_pillar text, workday bool);
\copy oracle FROM PROGRAM './days_oracle'

CREATE TEMP TABLE days AS
SELECT g::date AS d FROM generate_series(date '1900-01-01', date '2100-12-31', interval '1 day') g;

SELECT count(*) = (SELECT count(*) FROM days) AS oracle_has_every_day, min(d), max(d) FROM oracle;

-- The functions where the oracle has an answer, NULL where it has none; any
-- day that differs is listed.
CREATE TEMP TABLE answers AS
SELECT d, CASE WHEN lunar THEN lunar_year(d) END AS lunar_year, CASE WHEN lunar THEN lunar_month(d) END AS lunar_month,
       CASE WHEN lunar THEN lunar_day(d) END AS lunar_day, CASE WHEN lunar THEN lunar_is_leap(d) END AS leap,
       CASE WHEN lunar THEN lunar_text(d) END AS lunar_text, solar_term(d),
       CASE WHEN lunar THEN festival(d) END AS festival, day_pillar(d),
       CASE WHEN extract(year FROM d) BETWEEN 2004 AND 2026 THEN is_workday(d) END AS workday
FROM days, LATERAL (SELECT d >= date '1900-01-31') l(lunar);
(TABLE answers EXCEPT TABLE oracle) UNION ALL (TABLE oracle EXCEPT TABLE answers) ORDER BY 1 LIMIT 10;

-- The holiday table's years are exactly those where is_workday answers.
SELECT min(d), max(d) FROM oracle WHERE workday IS NOT NULL;

-- lunar() agrees with its parts, its text cast with lunar_text, and
-- from_lunar takes every lunar date back to its day.
SELECT count(*) AS lunar_days,
       count(*) FILTER (WHERE lunar(d) IS DISTINCT FROM ROW(lunar_year(d), lunar_month(d), lunar_day(d), lunar_is_leap(d))::lunar_date
                          OR lunar(d)::text <> lunar_text(d)
                          OR from_lunar(lunar(d)) <> d
                          OR from_lunar(lunar_year(d), lunar_month(d), lunar_day(d), lunar_is_leap(d)) <> d) AS wrong
FROM generate_series(date '1900-01-31', date '2101-01-28', interval '1 day') g, LATERAL (SELECT g::date) x(d);

-- Day pillars over every day of 0001-9999, from the sexagenary count alone:
-- 1949-10-01 was a 甲子 day.
SELECT count(*) AS days, count(*) FILTER (WHERE day_pillar(d) <> substr('甲乙丙丁戊己庚辛壬癸', i % 10 + 1, 1)
                                                              || substr('子丑寅卯辰巳午未申酉戌亥', i % 12 + 1, 1)) AS wrong
FROM generate_series(date '0001-01-01', date '9999-12-31', interval '1 day') g,
     LATERAL (SELECT g::date) x(d), LATERAL (SELECT ((d - date '1949-10-01') % 60 + 60) % 60) c(i);

-- Each term of solar_terms is solar_term on its day in UTC+8, and
-- solar_term_at by number and by name; each year has its 24 term days.
SELECT count(*) AS terms,
       count(*) FILTER (WHERE solar_term((at AT TIME ZONE 'Etc/GMT-8')::date) IS DISTINCT FROM name
                          OR solar_term_at(y, (n - 1)::int) <> at OR solar_term_at(y, name) <> at) AS wrong
FROM generate_series(1900, 2100) y, LATERAL solar_terms(y) WITH ORDINALITY t(name, at, n);
SELECT count(*) AS years_without_24_term_days
FROM (SELECT extract(year FROM d) FROM oracle WHERE solar_term IS NOT NULL GROUP BY 1 HAVING count(*) <> 24) y;

-- The pillars at the second of a term and a microsecond before it: the year
-- pillar turns at every 立春 (n = 2), the month pillar at every 节 (even n)
-- and only there, the day pillar is day_pillar of the day in UTC+8.
SELECT count(*) AS terms,
       count(*) FILTER (WHERE (after[1] <> before[1]) <> (n = 2) OR (after[2] <> before[2]) <> (n % 2 = 0)
                          OR after[3] <> day_pillar((at AT TIME ZONE 'Etc/GMT-8')::date)) AS wrong
FROM generate_series(1901, 2100) y, LATERAL solar_terms(y) WITH ORDINALITY t(name, at, n0),
     LATERAL (SELECT n0 - 1, pillars(at), pillars(at - interval '1 microsecond')) p(n, after, before);

-- The hour pillar's branch is the 时辰 of the hour in UTC+8 (子 23:00-01:00),
-- over every hour of 2024; only at 23:00 do 'late' and 'early' differ, in
-- the day pillar alone.
SELECT count(*) AS hours,
       count(*) FILTER (WHERE right(late[4], 1) <> substr('子丑寅卯辰巳午未申酉戌亥', (h + 1) / 2 % 12 + 1, 1)
                          OR (late <> early) <> (h = 23) OR late[1:2] <> early[1:2] OR late[4] <> early[4]
                          OR (h = 23 AND early[3] <> day_pillar(t::date + 1))) AS wrong
FROM generate_series(timestamptz '2024-01-01 00:30+08', '2024-12-31 23:30+08', interval '1 hour') t,
     LATERAL (SELECT extract(hour FROM t)::int, pillars(t), pillars(t, 'early')) p(h, late, early);

-- festival_date and festival agree both ways: each festival of each year
-- falls on a day that lists it, and each listed festival is found again in
-- the day's lunar or Gregorian year.
CREATE TEMP TABLE festival_days AS SELECT d, unnest(festival) AS name FROM oracle;
SELECT count(DISTINCT name) AS festivals, count(*) AS festival_days,
       count(*) FILTER (WHERE festival_date(lunar_year(d), name) <> d AND festival_date(extract(year FROM d)::int, name) <> d) AS wrong
FROM festival_days;
SELECT count(*) AS festival_dates, count(*) FILTER (WHERE NOT name = ANY (festival(on_day))) AS wrong
FROM (SELECT DISTINCT name FROM festival_days) f, generate_series(1900, 2100) y,
     LATERAL (SELECT festival_date(y, name)) x(on_day)
WHERE on_day BETWEEN date '1900-01-31' AND date '2100-12-31';

-- workdays(a, b) is the count of is_workday over [a, b): from the table's
-- first day to every later day, and backwards.
SELECT count(*) AS days, count(*) FILTER (WHERE workdays(first_day, d) <> running OR workdays(d, first_day) <> -running) AS wrong
FROM (SELECT d, min(d) OVER () AS first_day,
             count(*) FILTER (WHERE workday) OVER (ORDER BY d) - workday::int AS running
      FROM oracle WHERE workday IS NOT NULL) w;
