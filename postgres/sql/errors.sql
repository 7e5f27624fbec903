-- Errors as a client sees them: the library's message, the argument in the
-- detail, the hint of an unknown name (questions.sql checks the message of
-- each kind of bad date, time and range; extremes.sql the SQLSTATE of every
-- call); the session goes on after each one.
SET DateStyle = ISO;
SET TimeZone = 'Etc/GMT-8';  -- UTC+8, as the library counts days and hours
SELECT lunar_text('infinity');
SELECT from_lunar(2023, 1, 30);
SELECT '二〇二三年正月三十'::lunar_date;
SELECT '2017-06-01'::lunar_date;
SELECT lunar(timestamptz '2101-01-28 16:00Z');
SELECT solar_term('1899-12-31');
SELECT solar_term_at(2025, 24);
SELECT solar_term_at(2025, 'Qingming');
SELECT festival_date(2025, 'Christmas');
SELECT day_pillar('10000-01-01');
SELECT pillars(timestamp '1900-02-04 13:51:29');
SELECT pillars('2025-01-01', 'midnight');
SELECT workdays('2025-01-01', '2100-01-01');
SELECT lunar_add_years('二一〇〇年正月初一', 1);
SELECT lunar_year('2101-01-29', strict => true);
SELECT lunar_text('2025-01-29');
