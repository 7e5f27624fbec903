-- A large aggregate over the functions runs in parallel workers: the plan
-- evaluates them below the Gather, and with the leader not taking part the
-- workers do all of it.
SET DateStyle = ISO;
CREATE TABLE parallel_days AS
SELECT g::date AS d FROM generate_series(date '1900-02-01', date '2100-12-31', interval '1 day') g;
ANALYZE parallel_days;

SET max_parallel_workers_per_gather = 2;
SET parallel_setup_cost = 0;
SET parallel_tuple_cost = 0;
SET min_parallel_table_scan_size = 0;
SET parallel_leader_participation = off;
SET jit = off;

EXPLAIN (VERBOSE, COSTS OFF)
SELECT count(*) FILTER (WHERE lunar_month(d) = 1), count(*) FILTER (WHERE festival(d) <> '{}'), max(day_pillar(d))
FROM parallel_days;

EXPLAIN (ANALYZE, COSTS OFF, TIMING OFF, SUMMARY OFF)
SELECT count(*) FILTER (WHERE lunar_month(d) = 1), count(*) FILTER (WHERE festival(d) <> '{}'), count(solar_term(d))
FROM parallel_days;

CREATE TEMP TABLE in_parallel AS
SELECT count(*) FILTER (WHERE lunar_month(d) = 1) AS first_month, count(*) FILTER (WHERE festival(d) <> '{}') AS festival_days,
       count(solar_term(d)) AS term_days
FROM parallel_days;
SET max_parallel_workers_per_gather = 0;
SELECT first_month, festival_days, term_days, (first_month, festival_days, term_days) = (
         SELECT count(*) FILTER (WHERE lunar_month(d) = 1), count(*) FILTER (WHERE festival(d) <> '{}'), count(solar_term(d))
         FROM parallel_days) AS same_serially
FROM in_parallel;

-- An error in a worker reaches the client; the session goes on.
SET max_parallel_workers_per_gather = 2;
SELECT count(*) FILTER (WHERE festival(d + 1) <> '{}') FROM parallel_days;
SELECT lunar_text(max(d)) FROM parallel_days;
DROP TABLE parallel_days;
