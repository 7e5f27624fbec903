-- Every day of the covered years in each calendar through the SQL functions
-- against the C interface called directly (days_oracle), from_lunar against
-- each day's lunar date, lunar() against its parts, its text form, the next
-- day and from_lunar, festivals(year) against the days' festivals,
-- lunar_add_months against the days' own months, and add_workdays against
-- workdays.
SET DateStyle = ISO;

CREATE TEMP TABLE oracle (calendar text, d date, lunar_year int, lunar_month int, lunar_day int, leap bool,
  lunar_text text, solar_term text, festival text[], day_pillar text, workday bool, PRIMARY KEY (calendar, d));
\copy oracle FROM PROGRAM './days_oracle'
SELECT calendar, count(*) AS days, min(d), max(d) FROM oracle GROUP BY 1 ORDER BY 1;

-- The functions with strict => false, NULL where the oracle has no answer
-- (no lunar date outside the lunar years, no term or festival outside their
-- years, no working-day status outside the holiday table's years); any day
-- that differs is listed.
CREATE TEMP TABLE answers AS
SELECT calendar, d, lunar_year(d, false, calendar), lunar_month(d, false, calendar), lunar_day(d, false, calendar),
       lunar_is_leap(d, false, calendar) AS leap, lunar_text(d, false, calendar), solar_term(d, false),
       festival(d, false, calendar), day_pillar(d), is_workday(d, false) AS workday
FROM oracle;
(TABLE answers EXCEPT TABLE oracle) UNION ALL (TABLE oracle EXCEPT TABLE answers) ORDER BY 1, 2 LIMIT 10;
SELECT calendar, count(*) AS lunar_days, count(*) FILTER (WHERE from_lunar(lunar_year, lunar_month, lunar_day, leap, calendar) <> d) AS wrong
FROM oracle WHERE lunar_year IS NOT NULL GROUP BY 1 ORDER BY 1;

SELECT count(*) AS lunar_days,
       count(*) FILTER (WHERE lunar(d) IS DISTINCT FROM (SELECT lunar_date(year, month, day, leap) FROM lunar_fields(d))
                          OR lunar(d)::text::lunar_date <> lunar(d)
                          OR right(lunar(d)::text, -5) <> lunar_text(d)
                          OR lunar(d) >= lunar(d + 1, strict => false)
                          OR from_lunar(lunar(d)) <> d) AS wrong
FROM oracle WHERE calendar = 'chinese' AND lunar_year IS NOT NULL;

WITH years AS (SELECT calendar, y FROM (SELECT calendar, min(d), max(d) FROM oracle WHERE festival IS NOT NULL GROUP BY 1) r,
                 generate_series(extract(year FROM r.min)::int, extract(year FROM r.max)::int) y),
     listed AS (SELECT calendar, day, array_agg(name ORDER BY n) AS festival
                FROM years, festivals(y, calendar => calendar) WITH ORDINALITY f(day, name, n) GROUP BY 1, 2)
(SELECT calendar, d, festival FROM oracle WHERE festival <> '{}' EXCEPT TABLE listed)
UNION ALL
(TABLE listed EXCEPT SELECT calendar, d, festival FROM oracle WHERE festival <> '{}')
ORDER BY 1, 2 LIMIT 10;

-- Every lunar day one month on and one back, against the month starts of
-- the days themselves: months in calendar order, leap months included, day
-- 30 becoming 29 where the month has 29 days.
WITH months AS (
  SELECT d AS first, lead(d) OVER w AS next, lag(d) OVER w AS previous,
         lead(d, 2) OVER w - lead(d) OVER w AS next_days, d - lag(d) OVER w AS previous_days
  FROM oracle WHERE calendar = 'chinese' AND lunar_day = 1 WINDOW w AS (ORDER BY d))
SELECT count(*) AS lunar_days,
       count(*) FILTER (WHERE lunar_add_months(lunar(o.d), 1)::date <> m.next + least(o.lunar_day, m.next_days) - 1
                          OR lunar_add_months(lunar(o.d), -1)::date <> m.previous + least(o.lunar_day, m.previous_days) - 1) AS wrong
FROM oracle o JOIN months m ON o.d - o.lunar_day + 1 = m.first AND o.calendar = 'chinese'
WHERE m.previous IS NOT NULL AND m.next_days IS NOT NULL;

-- From every working day of the holiday table, 10 working days on and back.
SELECT count(*) AS workdays,
       count(*) FILTER (WHERE workdays(d, add_workdays(d, 10)) <> 10 OR NOT is_workday(add_workdays(d, 10))
                          OR workdays(add_workdays(d, -10), d) <> 10 OR NOT is_workday(add_workdays(d, -10))) AS wrong
FROM oracle WHERE calendar = 'chinese' AND workday AND d BETWEEN '2004-01-20' AND '2026-12-10';
