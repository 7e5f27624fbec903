-- Every day of 1900-2100 through the SQL functions against the C interface
-- called directly (days_oracle), and lunar() against its parts, its text
-- cast and both forms of from_lunar.
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
       count(*) FILTER (WHERE lunar(d) IS DISTINCT FROM ROW(lunar_year(d), lunar_month(d), lunar_day(d), lunar_is_leap(d))::lunar_date
                          OR lunar(d)::text <> lunar_text(d)
                          OR from_lunar(lunar(d)) <> d
                          OR from_lunar(lunar_year(d), lunar_month(d), lunar_day(d), lunar_is_leap(d)) <> d) AS wrong
FROM generate_series(date '1900-01-31', date '2101-01-28', interval '1 day') g, LATERAL (SELECT g::date) x(d);
