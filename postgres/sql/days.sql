-- Every day of 1900-2100 through the SQL functions against the C interface
-- called directly (days_oracle), lunar() against its parts, its text form,
-- the next day and from_lunar, festivals(year) against the days' festivals,
-- and add_workdays against workdays.
SET DateStyle = ISO;

CREATE TEMP TABLE oracle (d date PRIMARY KEY, lunar_year int, lunar_month int, lunar_day int, leap bool,
  lunar_text text, solar_term text, festival text[], day_pillar text, workday bool);
\copy oracle FROM PROGRAM './days_oracle'
SELECT count(*) AS days, min(d), max(d) FROM oracle;

-- The functions where the oracle has an answer, NULL where it has none
-- (before the lunar table opens, outside the holiday table's years); any day
-- that differs is listed.
CREATE TEMP TABLE answers AS
SELECT d, CASE WHEN lunar THEN lunar_year(d) END AS lunar_year, CASE WHEN lunar THEN lunar_month(d) END AS lunar_month,
       CASE WHEN lunar THEN lunar_day(d) END AS lunar_day, CASE WHEN lunar THEN lunar_is_leap(d) END AS leap,
       CASE WHEN lunar THEN lunar_text(d) END AS lunar_text, solar_term(d),
       CASE WHEN lunar THEN festival(d) END AS festival, day_pillar(d),
       CASE WHEN extract(year FROM d) BETWEEN 2004 AND 2026 THEN is_workday(d) END AS workday
FROM oracle, LATERAL (SELECT d >= date '1900-01-31') l(lunar);
(TABLE answers EXCEPT TABLE oracle) UNION ALL (TABLE oracle EXCEPT TABLE answers) ORDER BY 1 LIMIT 10;

SELECT count(*) AS lunar_days,
       count(*) FILTER (WHERE lunar(d) IS DISTINCT FROM lunar_date(lunar_year(d), lunar_month(d), lunar_day(d), lunar_is_leap(d))
                          OR lunar(d)::text::lunar_date <> lunar(d)
                          OR right(lunar(d)::text, -5) <> lunar_text(d)
                          OR lunar(d) >= lunar(d + 1, strict => false)
                          OR from_lunar(lunar(d)) <> d
                          OR from_lunar(lunar_year(d), lunar_month(d), lunar_day(d), lunar_is_leap(d)) <> d) AS wrong
FROM generate_series(date '1900-01-31', date '2101-01-28', interval '1 day') g, LATERAL (SELECT g::date) x(d);

(SELECT d, festival FROM oracle WHERE festival <> '{}' AND d >= '1901-01-01'
 EXCEPT SELECT day, array_agg(name ORDER BY n) FROM generate_series(1901, 2100) y, festivals(y) WITH ORDINALITY f(day, name, n) GROUP BY day)
UNION ALL
(SELECT day, array_agg(name ORDER BY n) FROM generate_series(1901, 2100) y, festivals(y) WITH ORDINALITY f(day, name, n) GROUP BY day
 EXCEPT SELECT d, festival FROM oracle WHERE festival <> '{}')
ORDER BY 1 LIMIT 10;

-- From every working day of the holiday table, 10 working days on and back.
SELECT count(*) AS workdays,
       count(*) FILTER (WHERE workdays(d, add_workdays(d, 10)) <> 10 OR NOT is_workday(add_workdays(d, 10))
                          OR workdays(add_workdays(d, -10), d) <> 10 OR NOT is_workday(add_workdays(d, -10))) AS wrong
FROM oracle WHERE workday AND d BETWEEN '2004-01-20' AND '2026-12-10';
