-- A large aggregate over the functions runs in parallel workers: the plan
-- evaluates them below the Gather, and with the leader not taking part the
-- workers do all of it, with the answers of a serial run.
SET DateStyle = ISO;
CREATE TABLE parallel_days AS
SELECT g::date AS d FROM generate_series(date '1900-02-01', date '2100-12-31', interval '1 day') g;
ANALYZE parallel_days;
CREATE TEMP VIEW counts AS
SELECT count(*) FILTER (WHERE lunar_month(d) = 1) AS first_month, count(*) FILTER (WHERE festival(d) <> '{}') AS festival_days,
       count(solar_term(d)) AS term_days, max(day_pillar(d)) AS last_pillar
FROM parallel_days;

SET max_parallel_workers_per_gather = 2;
SET parallel_setup_cost = 0;
SET parallel_tuple_cost = 0;
SET min_parallel_table_scan_size = 0;
SET parallel_leader_participation = off;
SET jit = off;
EXPLAIN (VERBOSE, COSTS OFF) TABLE counts;
EXPLAIN (ANALYZE, COSTS OFF, TIMING OFF, SUMMARY OFF) TABLE counts;
TABLE counts;
SET max_parallel_workers_per_gather = 0;
TABLE counts;  -- serially: the same answers

-- An error in a worker reaches the client (only the last day, moved to
-- 2201-01-01, is outside the terms' years); the session goes on.
SET max_parallel_workers_per_gather = 2;
SELECT count(*) FILTER (WHERE festival(d + (date '2201-01-01' - date '2100-12-31')) <> '{}') FROM parallel_days;
SELECT lunar_text(max(d)) FROM parallel_days;
DROP TABLE parallel_days CASCADE;
