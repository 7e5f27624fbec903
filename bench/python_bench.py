#!/usr/bin/env python3
"""qel_calendar for Python against the C batch call and python3-lunardate,
in one process pinned to one core.

    PYTHONPATH=SITE /usr/bin/python3 bench/python_bench.py [--days N] [--sample N] [--repeat N] [--check]

- to_lunar_array over N random days 1900-2100 (datetime64[D]), the whole
  call: input view, output allocation, the batch call without the GIL, the
  leap and valid arrays; against qel_lunar_of_days alone on the same days
  into arrays allocated (and touched) beforehand, through the extension's
  timing hook raw_lunar_of_days. The same again with the days sorted, as a
  time series comes.
- lunardate.LunarDate.fromSolarDate over a sample of the same days (those
  its table covers, 1900-01-31 .. 2100-02-08), against to_lunar on the same date
  objects and against the array call's time per day.
- The slow-path traps, each against its fast path: to_lunar of a
  numpy.datetime64 against a datetime.date, scalar day_facts against
  lunardate, to_lunar_array of a tz-aware pandas Series of --days rows (at
  most 1 M) against the workaround to_lunar_array(s.dt.tz_localize(None)).

Each figure is the fastest of --repeat interleaved runs. --check exits 1
when a goal is missed: >= 50 M days/s, within 3x of the C call, >= 1,000x
lunardate for the array call and >= 20x for the scalar one, each trap within
3x of its fast path (day_facts: faster than lunardate).
"""
import argparse
import datetime as dt
import os
import platform
import sys
import time

import numpy as np

import qel_calendar
from qel_calendar import _core


def best(fn, repeat):
    times = []
    for _ in range(repeat):
        t = time.perf_counter()
        fn()
        times.append(time.perf_counter() - t)
    return min(times)


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown CPU"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--days", type=int, default=10_000_000)
    ap.add_argument("--sample", type=int, default=50_000)
    ap.add_argument("--repeat", type=int, default=9)
    ap.add_argument("--check", action="store_true")
    args = ap.parse_args()
    import lunardate

    if hasattr(os, "sched_setaffinity"):
        os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})
    rng = np.random.default_rng(2026)
    lo, hi = (np.datetime64(d, "D").astype(np.int64) for d in ("1900-01-01", "2100-12-31"))
    days = rng.integers(lo, hi + 1, args.days).astype("M8[D]")
    n = days.size
    raw = days.view(np.int64)
    out = [np.ones(n, np.int32) for _ in range(4)] + [np.ones(n, np.int8)]  # touched: no page faults inside

    ordered = np.sort(days)  # a time series: the batch call's same-month fast path
    vec = c = vec_sorted = c_sorted = 1e9
    for _ in range(args.repeat):  # interleaved, so drift in machine load hits all alike
        c = min(c, best(lambda: _core.raw_lunar_of_days(raw, *out), 1))
        vec = min(vec, best(lambda: qel_calendar.to_lunar_array(days), 1))
        c_sorted = min(c_sorted, best(lambda: _core.raw_lunar_of_days(ordered.view(np.int64), *out), 1))
        vec_sorted = min(vec_sorted, best(lambda: qel_calendar.to_lunar_array(ordered), 1))
    _core.raw_lunar_of_days(raw, *out)
    r = qel_calendar.to_lunar_array(days)
    assert np.array_equal(r.year, out[0]) and np.array_equal(r.day, out[2]), "the two paths disagree"

    # lunardate's table: lunar 1900-01-01 (1900-01-31) to the end of lunar 2099 (2100-02-08).
    first, last = dt.date(1900, 1, 31), dt.date(2100, 2, 8)
    sample = [d for d in days[: args.sample * 2].tolist() if first <= d <= last][: args.sample]
    fsd = lunardate.LunarDate.fromSolarDate
    to_lunar = qel_calendar.to_lunar
    ld = sc = 1e9
    for _ in range(args.repeat):
        ld = min(ld, best(lambda: [fsd(d.year, d.month, d.day) for d in sample], 1))
        sc = min(sc, best(lambda: [to_lunar(d) for d in sample], 1))
    per_ld, per_sc, per_vec, per_c = ld / len(sample), sc / len(sample), vec / n, c / n

    # The traps: the same answer by a slower road must not cost much more.
    dates64 = list(np.array(sample, "M8[D]"))  # numpy.datetime64 scalars of the same days
    dt64 = dd = facts = 1e9
    for _ in range(args.repeat):
        dt64 = min(dt64, best(lambda: [to_lunar(d) for d in dates64], 1))
        dd = min(dd, best(lambda: [to_lunar(d) for d in sample], 1))
        facts = min(facts, best(lambda: [qel_calendar.day_facts(d) for d in sample], 1))
    per_dt64, per_dd, per_facts = dt64 / len(sample), dd / len(sample), facts / len(sample)
    import pandas as pd

    rows = min(n, 1_000_000)
    aware = pd.Series(days[:rows]).dt.tz_localize("UTC").dt.tz_convert("Etc/GMT-8")  # UTC+8, no summer time
    tz = local = 1e9
    for _ in range(max(1, args.repeat // 3)):
        tz = min(tz, best(lambda: qel_calendar.to_lunar_array(aware), 1))
        local = min(local, best(lambda: qel_calendar.to_lunar_array(aware.dt.tz_localize(None)), 1))

    rate = n / vec / 1e6
    print(f"qel_calendar {qel_calendar.__version__}, Python {platform.python_version()}, NumPy {np.__version__}, "
          f"lunardate {lunardate.__version__}")
    print(f"{cpu_model()}, {os.cpu_count()} cores, one used; {dt.date.today()}")
    print(f"{n:,} random days 1900-2100, fastest of {args.repeat}:")
    print(f"  to_lunar_array              {vec * 1e3:8.1f} ms  {per_vec * 1e9:7.2f} ns/day  {rate:6.0f} M days/s")
    print(f"  qel_lunar_of_days (C)       {c * 1e3:8.1f} ms  {per_c * 1e9:7.2f} ns/day  {n / c / 1e6:6.0f} M days/s")
    print(f"  array call / C call         {vec / c:8.2f}x")
    print("the same days sorted:")
    print(f"  to_lunar_array              {vec_sorted * 1e3:8.1f} ms  {vec_sorted / n * 1e9:7.2f} ns/day  "
          f"{n / vec_sorted / 1e6:6.0f} M days/s")
    print(f"  qel_lunar_of_days (C)       {c_sorted * 1e3:8.1f} ms  {c_sorted / n * 1e9:7.2f} ns/day  "
          f"{n / c_sorted / 1e6:6.0f} M days/s")
    print(f"{len(sample):,} of those days, one call per date:")
    print(f"  lunardate.fromSolarDate     {per_ld * 1e9:8.0f} ns/date")
    print(f"  qel_calendar.to_lunar       {per_sc * 1e9:8.0f} ns/date  {per_ld / per_sc:8.0f}x lunardate")
    print(f"  to_lunar_array (per day)    {per_vec * 1e9:8.2f} ns/date  {per_ld / per_vec:8.0f}x lunardate"
          f" ({per_ld / (vec_sorted / n):.0f}x sorted)")

    print("the slow-path traps, each against its fast path:")
    print(f"  to_lunar(numpy.datetime64)  {per_dt64 * 1e9:8.0f} ns/date  {per_dt64 / per_dd:6.2f}x to_lunar(date)")
    print(f"  day_facts(date)             {per_facts * 1e9:8.0f} ns/date  {per_facts / per_ld:6.2f}x lunardate")
    print(f"  to_lunar_array(tz-aware)    {tz * 1e3:8.1f} ms  {tz / local:6.2f}x after tz_localize(None) "
          f"({local * 1e3:.1f} ms), {rows:,} rows")

    goals = [(rate >= 50, "array call >= 50 M days/s"), (vec / c <= 3, "array call within 3x of the C call"),
             (per_ld / per_vec >= 1000, "array call >= 1,000x lunardate"),
             (per_ld / per_sc >= 20, "to_lunar >= 20x lunardate"),
             (per_dt64 / per_dd <= 3, "to_lunar(datetime64) within 3x of to_lunar(date)"),
             (per_facts <= per_ld, "day_facts faster than lunardate"),
             (tz / local <= 3, "tz-aware Series within 3x of tz_localize(None) first")]
    missed = [g for ok, g in goals if not ok]
    print("goals: " + ("all met" if not missed else "missed: " + "; ".join(missed)))
    return 1 if args.check and missed else 0


if __name__ == "__main__":
    sys.exit(main())
