#!/usr/bin/env bash
# The extension's cost per row in a real server, one session: the same
# aggregate with lunar_month(d) = 1, with the built-in immutable
# extract(dow FROM d) = 1 (numeric since PostgreSQL 14) and date_part('dow',
# d) = 1 (double precision), and with none (count(*) alone, the cost of
# the scan), over
#   - every day 1900-02-01 .. 2100-12-31 from generate_series, 10 times over
#     (733,840 rows);
#   - a table of 10,000,000 dates, with max_parallel_workers_per_gather = 2,
#     and again with 0 (serial).
# Each figure is the fastest of 5 interleaved runs, in ns per row.
#
#   bench/postgres_bench.sh [ROWS]     ROWS: the table's size (default 10000000)
#
# Run as root: it installs the extension (make install, removed again if it
# was not installed before) and starts a throwaway server as the postgres
# user (shared_buffers = 1GB, so the table is read from memory).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
rows=${1:-10000000}
export PG_CONFIG=/usr/lib/postgresql/15/bin/pg_config
scripts/install-deps postgresql-15 postgresql-server-dev-15

control="$("$PG_CONFIG" --sharedir)/extension/qel_calendar.control"
installed_before=$([ -f "$control" ] && echo yes || echo no)
make -C postgres -s all install >/dev/null
server=$(mktemp -d /tmp/qel-pg-bench.XXXXXX)
cleanup() {
  postgres/scratch-server stop "$server" || true
  [ "$installed_before" = yes ] || make -C postgres -s uninstall >/dev/null || true
}
trap cleanup EXIT
postgres/scratch-server start "$server" -c shared_buffers=1GB

series="generate_series(1, 10) copy, generate_series(date '1900-02-01', date '2100-12-31', interval '1 day') g,
  LATERAL (SELECT g::date) x(d)"
query() {  # query LABEL FROM-CLAUSE FILTER
  printf '\\echo @ %s\nSELECT count(*)%s FROM %s;\n' "$1" "${3:+ FILTER (WHERE $3)}" "$2"
}
round() {  # round PREFIX FROM-CLAUSE
  query "$1 lunar_month" "$2" "lunar_month(d) = 1"
  query "$1 extract" "$2" "extract(dow FROM d) = 1"
  query "$1 date_part" "$2" "date_part('dow', d) = 1"
  query "$1 bare" "$2" ""
}
script() {
  cat <<EOF
CREATE EXTENSION qel_calendar;
\\echo @rows series
SELECT count(*) FROM $series;
CREATE UNLOGGED TABLE bench_days AS
  SELECT date '1900-02-01' + (i % (date '2101-01-01' - date '1900-02-01')) AS d FROM generate_series(0, $rows - 1) i;
VACUUM ANALYZE bench_days;
\\echo @rows table
SELECT count(*) FROM bench_days;
SELECT count(*) FROM bench_days;
\\timing on
EOF
  for _ in 1 2 3 4 5; do
    echo "SET max_parallel_workers_per_gather = 2;"
    round series "$series"
    round parallel bench_days
    echo "SET max_parallel_workers_per_gather = 0;"
    round serial bench_days
  done
  echo "SET max_parallel_workers_per_gather = 2;"
  echo "\\echo @plan"
  echo "EXPLAIN (ANALYZE, COSTS OFF, TIMING OFF, SUMMARY OFF) SELECT count(*) FILTER (WHERE lunar_month(d) = 1) FROM bench_days;"
}

script | psql -h "$server" -U postgres -X -q -A -t -v ON_ERROR_STOP=1 | awk '
  /^@rows / { label = $2; getline; n[label] = $1; next }
  /^@ / { label = $2 " " $3; next }
  /^@plan/ { plan = 1; next }
  plan && !/^Time:/ { plan_text = plan_text "  " $0 "\n"; next }
  /^Time:/ {
    if (label != "" && (!(label in best) || $2 < best[label])) best[label] = $2
    label = ""
  }
  END {
    split("series parallel serial", runs, " ")
    title["series"] = "generate_series, 10 copies"
    title["parallel"] = "table, 2 workers"
    title["serial"] = "table, serial"
    printf "%-27s %10s %12s %13s %7s %12s %14s\n", "ns per row", "rows", "lunar_month", "extract(dow)", "ratio",
      "date_part", "count(*) only"
    for (i = 1; i <= 3; i++) {
      r = runs[i]; rowsof = (r == "series") ? n["series"] : n["table"]
      l = best[r " lunar_month"] * 1e6 / rowsof; e = best[r " extract"] * 1e6 / rowsof
      p = best[r " date_part"] * 1e6 / rowsof; b = best[r " bare"] * 1e6 / rowsof
      printf "%-27s %10d %12.1f %13.1f %6.2fx %12.1f %14.1f\n", title[r], rowsof, l, e, l / e, p, b
    }
    printf "fastest of 5 runs; ratio = lunar_month / extract(dow). Net of the scan (serial): lunar_month %.1f ns, extract %.1f ns, date_part %.1f ns per row\n",
      (best["serial lunar_month"] - best["serial bare"]) * 1e6 / n["table"],
      (best["serial extract"] - best["serial bare"]) * 1e6 / n["table"],
      (best["serial date_part"] - best["serial bare"]) * 1e6 / n["table"]
    printf "The table query with 2 workers:\n%s", plan_text
  }'
