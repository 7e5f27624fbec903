#!/usr/bin/python3
"""End-to-end tests of qeldate: tool_test.py QELDATE GROUP.

"Now" is fixed through QELDATE_TODAY. Groups: golden (output against files
reviewed by eye once, and the colour and width rules of cal), errors (every
bad input exits 2 with one line on stderr), json (read back by the json
module; dates and steps against Python's datetime), gbk (the GBK output byte
for byte against Python's own GBK codec), ics (parsed by python3-icalendar).
"""
import datetime as dt
import json
import os
import pathlib
import random
import subprocess
import sys
import tempfile
import unicodedata

HERE = pathlib.Path(__file__).resolve().parent
TODAY = "2017-07-23T10:20:30"
TOOL = ""
# A cross build runs the tool through its emulator (qemu-i386 for the 32-bit build).
EMULATOR = os.environ.get("QELDATE_TEST_EMULATOR", "").split()
WINDOWS = any(os.path.basename(e).startswith("wine") for e in EMULATOR)


def run(*args, today=TODAY, env=None, stdout=subprocess.PIPE):
    e = {k: v for k, v in os.environ.items() if k not in ("NO_COLOR", "COLUMNS", "QELDATE_TODAY")}
    if today:
        e["QELDATE_TODAY"] = today
    e.update(env or {})
    # Output through files, not pipes: Wine's helper processes inherit the
    # handles, and a pipe would stay open until they exit, seconds later.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        r = subprocess.run([*EMULATOR, TOOL, *args], stdout=out if stdout == subprocess.PIPE else stdout,
                           stderr=err, env=e, timeout=120)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(r.args, r.returncode, out.read() if stdout == subprocess.PIPE else None,
                                           err.read())


def ok(*args, **kw):
    r = run(*args, **kw)
    assert r.returncode == 0 and not r.stderr, f"{args}: exit {r.returncode}, {r.stderr!r}"
    return r.stdout


def check(cond, what):
    if not cond:
        raise AssertionError(what)


# ---- golden ----------------------------------------------------------------

GOLDEN = [  # file, and every command line that must print exactly it
    ("facts_2017-07-23.txt", [["2017-07-23"], ["2017/07/23"], ["20170723"], ["--lunar", "2017-6-1", "--leap"]]),
    ("now.txt", [[]]),
    ("cal_2017-07.txt", [["cal", "2017", "7"], ["cal"]]),
    ("cal_2033-12.txt", [["cal", "2033", "12"]]),
    ("terms_2017.txt", [["terms", "2017"], ["terms"]]),
    ("step_2024-01-31.txt", [["2024-01-31", "+1month"]]),
    ("diff.txt", [["diff", "2016-03-15T10:20:30", "2015-01-20T12:30:45"]]),
    ("next_qixi.txt", [["next", "qixi"], ["next", "七夕"], ["next", "Qixi Festival"]]),
]


def cells(line):
    """(character, terminal columns) of each character: CJK takes two."""
    return [(ch, 2 if unicodedata.east_asian_width(ch) in "WF" else 1) for ch in line]


def columns(line, first, width):
    """The characters of `line` in terminal columns [first, first + width)."""
    out, col = "", 0
    for ch, w in cells(line):
        out += ch if first <= col < first + width else ""
        col += w
    return out.rstrip()


def test_golden():
    for name, commands in GOLDEN:
        want = (HERE / "golden" / name).read_bytes()
        for args in commands:
            got = ok(*args)
            check(got == want, f"qeldate {' '.join(args)} differs from golden/{name}:\n{got.decode()}")
    # Colour only when asked or on a terminal: today reversed, NO_COLOR obeyed.
    check(b"\x1b[7m  23  \x1b[27m" in ok("cal", "2017", "7", "--color", "always"), "today is highlighted")
    check(b"\x1b[" not in ok("cal", "2017", "7", "--color", "auto"), "no colour off a terminal")
    check(b"\x1b[" not in ok("cal", "2017", "7", "--color", "never", env={"NO_COLOR": "1"}), "--color never")
    # The year view: as many months across as COLUMNS allows, each block the
    # same grid as the single month (July 2017, the third row of blocks).
    month = ok("cal", "2017", "7").decode().splitlines()
    grid = month[1:month.index("")]  # weekday header and week rows
    for cols, across in ((80, 1), (99, 2), (149, 2), (150, 3)):
        year = ok("cal", "2017", env={"COLUMNS": str(cols)}).decode().splitlines()
        check(max(sum(w for _, w in cells(l)) for l in year) <= cols, f"cal 2017 fits {cols} columns")
        titles = [l.split() for l in year if l.split()[:1] == ["January"]]
        check(len(titles[0]) == across, f"{across} months across in {cols} columns")
        if across == 3:
            start = year.index(next(l for l in year if l.split()[:1] == ["July"])) + 1
            check([columns(l, 0, 48) for l in year[start:start + len(grid)]] == grid, "July in cal 2017 is cal 2017 7")


# ---- errors ----------------------------------------------------------------

ERRORS = [  # arguments, a fragment of the one stderr line, "now" if not TODAY
    (["2017-02-30"], "February 2017 has days 1-28"),
    (["2017-13-01"], "month must be 1-12"),
    (["0000-01-01"], "year must be 1-9999"),
    (["2017-7"], "is not a date"),
    (["hello"], "is not a date"),
    (["2017-07-23T24:00"], "no valid time of day"),
    (["--bogus"], "--bogus"),
    (["--encoding", "latin1"], "latin1"),
    (["--color", "sometimes"], "sometimes"),
    (["cal", "2101"], "1900-2100"),
    (["cal", "1899", "12"], "1900-2100"),
    (["cal", "2017", "13"], "month: use 1-12"),
    (["cal", "2017", "7", "8"], "without a command"),
    (["terms", "1899"], "1900-2100"),
    (["--lunar", "2101-1-1"], "1900-2100"),
    (["--lunar", "2017-5-1", "--leap"], "the leap month of 2017 is 6"),
    (["--lunar", "2018-6-1", "--leap"], "2018 has no leap month"),
    (["--lunar", "2017-6-30"], "that month has 29 days"),
    (["--lunar", "2017-13-1"], "a lunar month is 1-12"),
    (["--lunar", "1899-11-1"], "month 12, days 1-30"),
    (["--lunar", "6-1"], "not a lunar date"),
    (["--leap"], "--lunar"),
    (["--lunar", "2017-6-1", "2017-07-23"], "not both"),
    (["2017-07-23", "+5fortnights"], "not a step"),
    (["2017-07-23", "+1m"], "not a step"),
    (["2024-01-31", "+1month", "--no-clamp"], "2024-02-31"),
    (["2000-02-29", "+1y", "--no-clamp"], "2001-02-29"),
    (["4095-12-31", "+1d"], "1-4095"),
    (["0001-01-01", "-1s"], "1-4095"),
    (["2017-01-01", "+9223372036854775807s"], "1-4095"),
    (["2017-01-01", "-2147483648month"], "1-4095"),
    (["2017-01-01", "+99999999999999999999s"], "too large"),
    (["9999-01-01", "+1d"], "1-4095"),
    (["diff", "2017-01-01"], "second"),
    (["diff", "2017-01-01", "5000-01-01"], "1-4095"),
    (["next", "easter"], "festivals are"),
    (["next", "qixi", "--leap"], "--leap"),
    (["next", "8-31"], "lunar day 1-30"),
    (["next", "mid-autumn"], "outside 1900-2100", "2101-01-01"),
    (["ics", "--from", "2020", "--to", "2019"], "comes before"),
    (["ics", "--from", "2101"], "1900-2100"),
    (["ics", "--lunar", "8-15", "--years", "0"], "--years"),
    (["ics", "--lunar", "8-15", "--to", "2020"], "--years"),
    (["ics", "--summary", "x"], "--lunar"),
    (["cal", "--json"], "--json goes with"),
    ([], "QELDATE_TODAY", "2017-02-30"),
]


def test_errors():
    for case in ERRORS:
        args, fragment = case[0], case[1]
        r = run(*args, today=case[2] if len(case) > 2 else TODAY)
        lines = r.stderr.decode().splitlines()
        check(r.returncode == 2 and not r.stdout, f"{args}: exit {r.returncode}, stdout {r.stdout[:60]!r}")
        check(len(lines) == 1 and lines[0].startswith("qeldate: ") and fragment in lines[0],
              f"{args}: stderr {r.stderr!r}, wanted one line with {fragment!r}")
    # Anything else (here, a full disk) exits 1.
    with open("/dev/full", "wb") as full:
        r = run("2017-07-23", stdout=full)
    check(r.returncode == 1 and len(r.stderr.splitlines()) == 1, f"write failure: exit {r.returncode}, {r.stderr!r}")


# ---- json ------------------------------------------------------------------

EPOCH = dt.date(1899, 12, 30)
JDN_OF_ORDINAL_0 = 1721425  # date.toordinal() + 1721425 is the Julian Day Number
STEMS, BRANCHES = "甲乙丙丁戊己庚辛壬癸", "子丑寅卯辰巳午未申酉戌亥"


def facts(*args, **kw):
    return json.loads(ok(*args, "--json", **kw))


def add_months(t, n):
    """Python's own month step, clamping the day to the new month's end."""
    y, m = divmod(t.year * 12 + t.month - 1 + n, 12)
    last = (dt.date(y + (m == 11), (m + 1) % 12 + 1, 1) - dt.timedelta(days=1)).day
    return t.replace(year=y, month=m + 1, day=min(t.day, last))


def test_json():
    f = facts("2017-07-23")
    check(f["lunar"] == {"year": 2017, "month": 6, "day": 1, "leap": True, "text": "润六月初一",
                         "year_name": "丁酉", "animal": "鸡"}, f["lunar"])
    check(f["time"] is None and f["solar_term"] is None and f["festivals"] == [], f)
    now = facts()
    check(now["time"] == "10:20:30" and now["current_term"]["english"] == "Major Heat", now)
    check(now["next_term"]["date"] == "2017-08-07" and now["next_term"]["days_left"] == 15, now["next_term"])
    check(facts("1800-01-01")["lunar"] is None, "no lunar date outside the table")
    # Serial, weekday, day of year and day cycle against Python's calendar.
    rng = random.Random(20170723)
    for _ in range(12):
        d = dt.date(1900, 1, 1) + dt.timedelta(days=rng.randrange(73414))
        f = facts(d.isoformat())
        cycle = (d.toordinal() + JDN_OF_ORDINAL_0 + 49) % 60
        want = {"date": d.isoformat(), "serial": (d - EPOCH).days, "weekday": d.isoweekday(),
                "day_of_year": d.timetuple().tm_yday, "day_cycle": STEMS[cycle % 10] + BRANCHES[cycle % 12]}
        check({k: f[k] for k in want} == want, f"{d}: {f}")
    # Steps against datetime: days, weeks, hours, minutes, seconds, months, years.
    units = {"d": 86400, "w": 604800, "h": 3600, "min": 60, "s": 1}
    for _ in range(14):
        start = dt.datetime(1900, 1, 1) + dt.timedelta(seconds=rng.randrange(201 * 365 * 86400))
        unit = rng.choice(list(units) + ["month", "y"])
        n = rng.randrange(-10**9, 10**9) // units[unit] if unit in units else rng.randrange(-2400, 2400)
        want = (start + dt.timedelta(seconds=n * units[unit]) if unit in units
                else add_months(start, n if unit == "month" else 12 * n))
        f = facts(start.isoformat(), f"{n:+d}{unit}")
        check((f["date"], f["time"] or "00:00:00") == (want.date().isoformat(), want.time().isoformat()),
              f"{start} {n:+d}{unit}: {f['date']} {f['time']}, want {want}")
    check(facts("2024-01-31", "+1month")["clamped"] is True, "2024-01-31 +1month clamps")
    # Differences against datetime; minutes ignore the seconds.
    a, b = dt.datetime(2016, 3, 15, 10, 20, 30), dt.datetime(2015, 1, 20, 12, 30, 45)
    d = facts("diff", a.isoformat(), b.isoformat())
    check(d["seconds"] == (a - b).total_seconds() and
          d["minutes"] == (a.replace(second=0) - b.replace(second=0)).total_seconds() // 60, d)
    check(d["calendar"] == {"years": 1, "months": 1, "days": 24, "hours": 21, "minutes": 49, "seconds": 45}, d)
    n = facts("next", "mid-autumn")
    check(n["date"] == "2017-10-04" and n["days_from_today"] == 73, n)
    t = json.loads(ok("terms", "2017", "--json"))
    dates = [dt.date.fromisoformat(x["date"]) for x in t["terms"]]
    check(len(dates) == 24 and dates == sorted(set(dates)), "24 terms in order")
    check(all(x["weekday"] == dt.date.fromisoformat(x["date"]).isoweekday() and
              x["time"] == f"{x['second_of_day'] // 3600:02d}:{x['second_of_day'] // 60 % 60:02d}" for x in t["terms"]), t)


# ---- gbk -------------------------------------------------------------------

def test_gbk():
    for args in (["2017-07-23"], [], ["cal", "2017", "7"], ["terms", "2017"], ["next", "qixi"], ["2033-12-22"]):
        utf8, gbk = ok(*args), ok(*args, "--encoding", "gbk")
        check(gbk == utf8.decode("utf-8").encode("gbk"), f"{args}: GBK output is not the UTF-8 output in GBK")
    # The library's bytes for 润六月初一 (its leap mark is C8 F3), unchanged.
    check(b"\xc8\xf3\xc1\xf9\xd4\xc2\xb3\xf5\xd2\xbb" in ok("2017-07-23", "--encoding", "gbk"), "raw GBK bytes")
    # POSIX programs get their arguments as bytes, so GBK users type GBK;
    # Windows programs get UTF-16 and there the arguments are never GBK bytes.
    if not WINDOWS:
        check(ok("next", "七夕".encode("gbk"), "--encoding", "gbk") == ok("next", "qixi", "--encoding", "gbk"),
              "a GBK festival name on the command line")
    check(json.loads(ok("2017-07-23", "--json", "--encoding", "gbk"))["lunar"]["text"] == "润六月初一", "JSON stays UTF-8")


# ---- ics -------------------------------------------------------------------

KNOWN = {  # public holiday dates, 2017-2025
    "Spring Festival": "0128 0216 0205 0125 0212 0201 0122 0210 0129",
    "New Year's Eve": "0127 0215 0204 0124 0211 0131 0121 0209 0128",
    "Dragon Boat Festival": "0530 0618 0607 0625 0614 0603 0622 0610 0531",
    "Mid-Autumn Festival": "1004 0924 0913 1001 0921 0910 0929 0917 1006",
    "Clear and Bright": "0404 0405 0405 0404 0404 0405 0405 0404 0404",
}


def calendar(*args, today=TODAY):
    import icalendar
    raw = ok("ics", *args, today=today)
    lines = raw.split(b"\r\n")
    check(lines[-1] == b"" and all(b"\n" not in l and len(l) <= 75 for l in lines), "CRLF lines of at most 75 octets")
    cal = icalendar.Calendar.from_ical(raw)
    check(str(cal["VERSION"]) == "2.0" and "PRODID" in cal, "VERSION and PRODID")
    events = cal.walk("VEVENT")
    check(len({str(e["UID"]) for e in events}) == len(events), "unique UIDs")
    for e in events:
        start = e.decoded("DTSTART")
        check(type(start) is dt.date and e.decoded("DTEND") == start + dt.timedelta(days=1) and "DTSTAMP" in e, e)
    return events


def dates(events, summary_part=""):
    return [e.decoded("DTSTART").isoformat() for e in events if summary_part in str(e["SUMMARY"])]


def test_ics():
    try:
        import icalendar  # noqa: F401
    except ImportError:
        print("python3-icalendar is not installed")
        sys.exit(77)
    events = calendar("--from", "2017", "--to", "2025")
    for name, days in KNOWN.items():
        want = [f"{2017 + i}-{d[:2]}-{d[2:]}" for i, d in enumerate(days.split())]
        check(dates(events, name) == want, f"{name}: {dates(events, name)}")
    check(sum("Solar term" in str(e["CATEGORIES"].to_ical()) for e in events) == 9 * 24, "24 terms a year")
    # Lunar birthdays: day 30 falls on 29 in a 29-day month (ordinary 6 of
    # 2017); a leap-month date keeps the leap month where the year has one and
    # falls in the ordinary month otherwise (lunar 2018-6-1 is 2018-07-13, the
    # new moon of that day's partial solar eclipse).
    check(dates(calendar("--lunar", "6-30", "--from", "2017", "--years", "1")) == ["2017-07-22"], "6-30 in 2017")
    check(dates(calendar("--lunar", "6-30", "--leap", "--from", "2017", "--years", "1")) == ["2017-08-21"], "leap 6-30")
    check(dates(calendar("--lunar", "6-1", "--leap", "--from", "2017", "--years", "2")) == ["2017-07-23", "2018-07-13"],
          "leap 6-1 in 2017 and 2018")
    mid_autumn = [f"{2017 + i}-{d[:2]}-{d[2:]}" for i, d in enumerate(KNOWN["Mid-Autumn Festival"].split())]
    check(dates(calendar("--lunar", "8-15", "--years", "9")) == mid_autumn, "from the next 8-15 on")
    check(dates(calendar("--lunar", "8-15", "--years", "2", today="2017-10-05")) == mid_autumn[1:3], "after 8-15")
    check(len(calendar("--lunar", "1-1", "--from", "2095")) == 6, "stops after lunar 2100")
    title = "Grandma's 80th, 八十大寿; party\\ at home"
    check([str(e["SUMMARY"]) for e in calendar("--lunar", "3-3", "--years", "1", "--summary", title)] == [title],
          "SUMMARY escaped and read back")


if __name__ == "__main__":
    TOOL = sys.argv[1]
    globals()["test_" + sys.argv[2]]()
    print(sys.argv[2], "passed")
