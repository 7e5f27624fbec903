-- Errors as a client sees them: the library's message, the argument in the
-- detail, the hint of an unknown name (questions.sql checks the message of
-- each kind of bad date, time and range; extremes.sql the SQLSTATE of every
-- call); the session goes on after each one.
SET DateStyle = ISO;
SELECT lunar_text('infinity');
SELECT '二〇二三年正月三十'::lunar_date;
SELECT '2017-06-01'::lunar_date;
SELECT solar_term_at(2025, 24);
SELECT solar_term_at(2025, 'Qingming');
SELECT festival_date(2025, 'Christmas');
SELECT day_pillar('10000-01-01');
SELECT pillars('2025-01-01', 'midnight');
SELECT lunar_add_years('二二〇〇年正月初一', 1);
SELECT lunar_year('2201-02-04', strict => true);
SELECT lunar_year('2025-01-29', calendar => 'julian');
SELECT festival_date(2025, 'hung-kings');
SELECT * FROM lunar_month_info(2017, 5, true);
SELECT lunar_text('2025-01-29');
