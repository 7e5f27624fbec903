-- Errors: the message and the hint of each kind of bad input, as a client
-- sees them (extremes.sql checks the SQLSTATE of every call); the session
-- goes on after each one.
SET DateStyle = ISO;
SET TimeZone = 'Etc/GMT-8';  -- UTC+8, as the library counts days and hours
SELECT lunar('1900-01-30');
SELECT lunar_text('infinity');
SELECT from_lunar(1899, 12, 1);
SELECT from_lunar(2023, 13, 1);
SELECT from_lunar(2023, 1, 30);
SELECT from_lunar(2023, 2, 30, true);
SELECT from_lunar(2023, 3, 1, true);
SELECT from_lunar(2024, 1, 1, true);
SELECT '二〇二三年正月三十'::lunar_date;
SELECT '2017-06-01'::lunar_date;
SELECT lunar(timestamp '2101-01-29 00:00');
SELECT lunar(timestamptz '2101-01-28 16:00Z');
SELECT solar_term('1899-12-31');
SELECT solar_term_at(2101, 0);
SELECT solar_term_at(2025, 24);
SELECT solar_term_at(2025, 'Qingming');
SELECT * FROM solar_terms(1899);
SELECT festival('1900-01-30');
SELECT festival_date(2025, 'Christmas');
SELECT festival_date(1899, '春节');
SELECT * FROM festivals(1900);
SELECT day_pillar('10000-01-01');
SELECT pillars('1900-02-04 13:51+08');
SELECT pillars('2025-01-01', 'midnight');
SELECT pillars(timestamp '1900-02-04 13:51:29');
SELECT is_workday('2003-12-31');
SELECT workdays('2025-01-01', '2100-01-01');
SELECT add_workdays('2026-12-25', 10);
SELECT lunar_year('2101-01-29', strict => true);
SELECT lunar_text('2025-01-29');
