#!/usr/bin/python3
"""End-to-end tests of qeldate: tool_test.py QELDATE GROUP [--regenerate].

"Now" is fixed through QELDATE_TODAY. Groups: golden (each command's output
against its file under golden/, reviewed by eye when it changes; --regenerate
rewrites the files; plus the colour and width rules of cal), errors (every bad
input exits 2 with one short, escaped line on stderr), json (read back by the
json module; dates, steps and differences against Python's datetime), gbk (the
GBK output byte for byte against Python's own GBK codec), ics (parsed by
python3-icalendar).
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
    ("cal_2033-12.txt", [["cal", "2033", "12", "--plain-months"]]),
    ("cal_2024-07_chinese_sunday.txt", [["cal", "2024", "7", "--chinese", "--sunday"]]),
    ("cal_2017_80.txt", [["cal", "2017"]]),
    ("cal_three.txt", [["cal", "-3"]]),
    ("terms_2017.txt", [["terms", "2017"], ["terms"]]),
    ("festivals_2025.txt", [["festivals", "2025"]]),
    ("step_2024-01-31.txt", [["2024-01-31", "+1month"]]),
    ("diff.txt", [["diff", "2016-03-15T10:20:30", "2015-01-20T12:30:45"]]),
    ("next_qixi.txt", [["next", "qixi"], ["next", "七夕"], ["next", "Qixi Festival"]]),
    ("mid_autumn_2030.txt", [["中秋", "2030"], ["next", "mid-autumn", "--year", "2030"]]),
    ("bazi.txt", [["bazi", "2024-02-04T16:30"]]),
    ("cal_2025-10_holidays.txt", [["cal", "2025", "10"]]),
    ("holidays_2025.txt", [["holidays", "2025"]]),
    # A path relative to the working folder: Wine reads those, not POSIX absolute ones.
    ("convert.csv", [["convert", os.path.relpath(HERE / "golden" / "convert_input.txt")]]),
]
REGENERATE = False

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
        path = HERE / "golden" / name
        if REGENERATE:
            path.write_bytes(run(*commands[0], env={"COLUMNS": "80"}).stdout)
        want = path.read_bytes()
        for args in commands:
            r = run(*args, env={"COLUMNS": "80"})
            check(r.stdout == want and r.returncode in (0, 2), f"qeldate {' '.join(args)} differs from golden/{name}:\n{r.stdout.decode()}")
    # Colour only when asked or on a terminal: today reversed, NO_COLOR obeyed.
    check(b"\x1b[7m  23  \x1b[27m" in ok("cal", "2017", "7", "--color", "always"), "today is highlighted")
    check(b"\x1b[" not in ok("cal", "2017", "7", "--color", "auto"), "no colour off a terminal")
    check(b"\x1b[" not in ok("cal", "2017", "7", "--color", "never", env={"NO_COLOR": "1"}), "--color never")
    # The year view: full grids two or three across where they fit (July's
    # block is then cal 2017 7's grid), else the compact grid three across
    # within 67 columns.
    month = ok("cal", "2017", "7").decode().splitlines()
    grid = month[2:month.index("")]  # weekday header and week rows
    for cols, across in ((67, 3), (99, 2), (149, 2), (150, 3)):
        year = ok("cal", "2017", env={"COLUMNS": str(cols)}).decode().splitlines()
        check(max(sum(w for _, w in cells(l)) for l in year) <= cols, f"cal 2017 fits {cols} columns")
        titles = [l.split() for l in year if l.split()[:1] == ["January"]]
        check(len(titles[0]) == across, f"{across} months across in {cols} columns")
        if cols >= 99:
            start = year.index(next(l for l in year if l.split()[:1] == ["July"])) + 2
            check([columns(l, 0, 48) for l in year[start:start + len(grid)]] == grid, "July in cal 2017 is cal 2017 7")
    # The first day of every lunar month shows its month, also when a term or
    # festival falls on it (小暑 on 2024-07-06, the first day of month 6).
    for day in ("2024-07-06", "2020-06-21", "2023-04-20", "2025-08-23", "2017-07-23"):
        f = facts(day)
        cal = ok("cal", day[:4], day[5:7]).decode()
        check(f["lunar"]["day"] == 1 and f["lunar"]["month_name"] in cal.split("\n\n")[0], f"cal shows {f['lunar']['month_name']} on {day}")
    # The legend's English names start in one column, whatever the Chinese.
    legend = ok("cal", "2027", "2").decode().split("\n\n")[1].splitlines()
    starts = {sum(w for _, w in cells(l[:l.index(next(c for c in l[9:] if c.isascii() and c.isalpha()), 9)])) for l in legend}
    check(len(starts) == 1, f"legend columns {starts}")
    # Every help screen fits 80 columns.
    for command in ([], ["cal"], ["terms"], ["festivals"], ["diff"], ["next"], ["bazi"], ["convert"], ["ics"]):
        width = max(sum(w for _, w in cells(l)) for l in ok(*command, "--help").decode().splitlines())
        check(width <= 80, f"qeldate {' '.join(command)} --help is {width} columns wide")
    # The month as JSON.
    month = json.loads(ok("cal", "2024", "2", "--json"))
    check(len(month["days"]) == 29 and month["days"][9]["festivals"][0]["key"] == "spring-festival", "cal --json")


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
    (["cal", "2017", "13"], "month: use 1-12"),
    (["cal", "2017", "7", "8"], "cal takes at most YEAR and MONTH"),
    (["terms", "2025", "2026"], "terms takes one YEAR"),
    ([""], "empty"),
    (["cal", ""], "empty"),
    (["ics", "--years", "3"], "--lunar"),
    (["17-07-23"], "four digits"),
    (["next", "12-1", "--leap"], "leap month"),
    (["next", "spring-festival"], "past the end of the lunar table", "2100-12-01"),
    (["bazi", "2017-07-23"], "needs the hour"),
    (["bazi", "1900-01-10T12:00"], "立春 of 1900"),
    (["terms", "1899"], "1900-2100"),
    (["--lunar", "2101-1-1"], "1900-2100"),
    (["--lunar", "2017-5-1", "--leap"], "the leap month of 2017 is 6"),
    (["--lunar", "2018-6-1", "--leap"], "2018 has no leap month"),
    (["--lunar", "2017-6-30"], "that month has 29 days"),
    (["--lunar", "2017-13-1"], "a lunar month is 1-12"),
    (["--lunar", "6-1"], "not a lunar date"),
    (["--leap"], "--lunar"),
    (["--lunar", "2017-6-1", "2017-07-23"], "not both"),
    (["2017-07-23", "+5fortnights"], "not a step"),
    (["2017-07-23", "+1m"], "not a step"),
    (["2024-01-31", "+1month", "--no-clamp"], "2024-02-31"),
    (["2000-02-29", "+1y", "--no-clamp"], "2001-02-29"),
    (["9999-12-31", "+1d"], "1-9999"),
    (["2017-01-01", "+9223372036854775807s"], "1-9999"),
    (["2017-01-01", "+99999999999999999999s"], "too large"),
    (["diff", "2017-01-01"], "second"),
    (["next", "easter"], "festivals: spring-festival 春节"),
    (["next", "qixi", "--leap"], "--leap"),
    (["next", "8-31"], "lunar day 1-30"),
    (["next", "mid-autumn"], "outside 1900-2100", "2101-01-01"),
    (["ics", "--from", "2020", "--to", "2019"], "comes before"),
    (["ics", "--from", "2101"], "1900-2100"),
    (["ics", "--lunar", "8-15", "--years", "0"], "--years"),
    (["ics", "--lunar", "8-15", "--to", "2020"], "--years"),
    (["ics", "--summary", "x"], "--lunar"),
    (["ics", "--json"], "--json does not go with ics"),
    ([], "QELDATE_TODAY", "2017-02-30"),
]


HOLIDAY_FILES = [  # a holiday file, and a fragment of the error it gives
    ("2027-01-01\toff\tnew-year\n2027-13-01\toff\tnew-year\n", "line 2: '2027-13-01': the month must be 1-12"),
    ("2027-01-01\tgone\tnew-year\n", "line 1: the status 'gone'"),
    ("2027-01-01\toff\tnew-year\n# note\n2027-01-01\toff\tnew-year\n", "line 3: 2027-01-01 is given twice"),
    (b"2027-01-01\toff\t\xff\n", "line 1: not UTF-8"),
    ("2027-01-01\toff\tgroundhog-day\n", "line 1: 'groundhog-day' is no holiday"),
    ("2027-01-01 off new-year\n", "line 1: want DATE<TAB>off|work<TAB>HOLIDAY"),
]


def holiday_file(content):
    """A scratch file, named relative to the working folder (for Wine)."""
    f = tempfile.NamedTemporaryFile(suffix=".tsv", delete=False)
    f.write(content if isinstance(content, bytes) else content.encode())
    f.close()
    return os.path.relpath(f.name)


def test_errors():
    # A bad holiday file names its line and loads nothing.
    for content, fragment in HOLIDAY_FILES:
        r = run("2027-01-01", "--holidays", holiday_file(content))
        check(r.returncode == 2 and fragment in r.stderr.decode(), f"holiday file {content!r}: {r.stderr!r}")
    # Input shown in a message is quoted, escaped and cut short.
    for arg, absent in (("x" * 20000, "x" * 50), ("\x1b[31mred", "\x1b")):  # Windows takes 32767 characters
        r = run(arg)
        check(r.returncode == 2 and len(r.stderr) < 200 and absent.encode() not in r.stderr, f"echo of {arg[:10]!r}: {r.stderr[:300]!r}")
    if not WINDOWS:  # Windows hands programs UTF-16: no invalid bytes reach them
        r = run("ics", "--lunar", "8-15", "--summary", b"\xff\xfe")
        check(r.returncode == 2 and not r.stdout, f"invalid UTF-8 --summary: exit {r.returncode}")
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
    check({k: f["lunar"][k] for k in ("year", "month", "day", "leap", "text", "year_name", "animal")} ==
          {"year": 2017, "month": 6, "day": 1, "leap": True, "text": "闰六月初一", "year_name": "丁酉", "animal": "鸡"}, f["lunar"])
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
    check(d["calendar"] == {"years": 1, "months": 1, "days": 23, "hours": 21, "minutes": 49, "seconds": 45}, d)
    # Calendar differences as python-dateutil's relativedelta counts them,
    # every field signed like the whole.
    for first, second, want in (("2024-02-01", "2024-01-31", (0, 0, 1)), ("2025-03-01", "2024-02-29", (1, 0, 1)),
                                ("2024-01-31", "2024-03-01", (0, -1, -1)), ("2024-03-31", "2024-02-29", (0, 1, 2))):
        c = facts("diff", first, second)["calendar"]
        check((c["years"], c["months"], c["days"]) == want, f"diff {first} {second}: {c}")
    check(facts("--lunar", "2100-12-2")["lunar"]["text"] == "腊月初二", "the table's last days have lunar dates")
    # Holidays: the status of a day, working days, working-day steps, and a
    # holiday file that adds 2027 (also through QELDATE_HOLIDAYS).
    check(facts("2025-10-11")["holiday"] == {"status": "work", "workday": True, "key": "mid-autumn-national-day",
                                             "name": "中秋节、国庆节", "english": "Mid-Autumn Festival and National Day"}, "班")
    check(facts("2025-10-03")["holiday"]["status"] == "off" and facts("2030-01-01")["holiday"] is None, "休, unknown")
    check(facts("workdays", "2025-09-01", "2025-10-31")["workdays"] == 41, "workdays")
    check(facts("2025-09-30", "+5workdays")["date"] == "2025-10-14", "+5workdays")
    extra = holiday_file("2027-01-01\toff\t元旦\n2027-02-20\twork\tspring-festival\n")
    check(facts("2027-02-20", "--holidays", extra)["holiday"]["workday"] is True, "--holidays FILE")
    check(facts("2027-02-20", env={"QELDATE_HOLIDAYS": extra})["holiday"]["status"] == "work", "QELDATE_HOLIDAYS")
    check(facts("workdays", "2026-12-28", "2027-01-04", "--holidays", extra)["workdays"] == 5, "across the file's year")
    check(ok("--lunar", "2017-6-1", "--leap", "+1month").startswith(b"2017-07-23 00:00:00 +1month"), "a step after --lunar")
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
    # 闰六月初一 in GBK: the leap mark 闰 is C8 F2.
    check(b"\xc8\xf2\xc1\xf9\xd4\xc2\xb3\xf5\xd2\xbb" in ok("2017-07-23", "--encoding", "gbk"), "GBK bytes")
    # POSIX programs get their arguments as bytes, so GBK users type GBK;
    # Windows programs get UTF-16 and there the arguments are never GBK bytes.
    if not WINDOWS:
        check(ok("next", "七夕".encode("gbk"), "--encoding", "gbk") == ok("next", "qixi", "--encoding", "gbk"),
              "a GBK festival name on the command line")
    check(json.loads(ok("2017-07-23", "--json", "--encoding", "gbk"))["lunar"]["text"] == "闰六月初一", "JSON stays UTF-8")
    # The encoding's names, and the locale's codeset when no option is given.
    for name in ("GBK", "gb18030"):
        check(ok("2017-07-23", "--encoding", name) == ok("2017-07-23", "--encoding", "gbk"), name)
    check(ok("2017-07-23", env={"LANG": "zh_CN.GBK"}) == ok("2017-07-23", "--encoding", "gbk"), "a GBK locale")
    check(ok("2017-07-23", env={"LC_ALL": "zh_CN.UTF-8", "LANG": "zh_CN.GBK"}) == ok("2017-07-23"), "LC_ALL first")


# ---- ics -------------------------------------------------------------------

KNOWN = {  # public holiday dates, 2017-2025
    "Spring Festival": "0128 0216 0205 0125 0212 0201 0122 0210 0129",
    "New Year's Eve": "0127 0215 0204 0124 0211 0131 0121 0209 0128",
    "Dragon Boat Festival": "0530 0618 0607 0625 0614 0603 0622 0610 0531",
    "Mid-Autumn Festival": "1004 0924 0913 1001 0921 0910 0929 0917 1006",
    "Qingming Festival": "0404 0405 0405 0404 0404 0405 0405 0404 0404",
}


def calendar(*args, today=TODAY, terms=None):
    """The events of `qeldate ics ARGS`: all-day, or at a solar term's instant
    (the UTC instants of `terms`, from terms --json, when given)."""
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
        check("DTSTAMP" in e, e)
        if type(start) is dt.date:
            days = (e.decoded("DTEND") - start).days
            check(days == 1 or (days > 1 and "Public holiday" in str(e["CATEGORIES"].to_ical())), e)
        else:
            check(str(e["CATEGORIES"].to_ical(), "utf-8") == "Solar term" and start.utcoffset() is not None, e)
            if terms is not None:
                check(int(start.timestamp()) in terms, f"{e['SUMMARY']} at {start}")
    return events


def dates(events, part=""):
    """Start dates of the all-day events whose SUMMARY or DESCRIPTION has `part`."""
    return [e.decoded("DTSTART").isoformat() for e in events if type(e.decoded("DTSTART")) is dt.date and
            (part in str(e["SUMMARY"]) or part in str(e.get("DESCRIPTION", "")))]


def test_ics():
    try:
        import icalendar  # noqa: F401
    except ImportError:
        print("python3-icalendar is not installed")
        sys.exit(77)
    instants = {t["instant"] for y in range(2017, 2026) for t in json.loads(ok("terms", str(y), "--json"))["terms"]}
    events = calendar("--from", "2017", "--to", "2025", terms=instants)
    for name, days in KNOWN.items():
        want = [f"{2017 + i}-{d[:2]}-{d[2:]}" for i, d in enumerate(days.split())]
        check(dates(events, name) == want, f"{name}: {dates(events, name)}")
    check(sum("Solar term" in str(e["CATEGORIES"].to_ical()) for e in events) == 9 * 24, "24 terms a year")
    check(str(next(e for e in events if "Spring Festival" in str(e["DESCRIPTION"]))["SUMMARY"]) == "春节", "Chinese SUMMARY")
    calendar("--from", "2024", "--shanghai", terms={i for i in instants if i > 1.7e9})
    holidays = [e for e in calendar("--from", "2025", "--holidays") if "Public holiday" in str(e["CATEGORIES"].to_ical())]
    check([(str(e.decoded("DTSTART")), str(e.decoded("DTEND"))) for e in holidays][-1] == ("2025-10-01", "2025-10-09"),
          "the 2025 National Day period as one event")
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
          "SUMMARY read back")
    check("SUMMARY:Grandma's 80th\\, 八十大寿\\; party\\\\ at home\r\n".encode() in
          ok("ics", "--lunar", "3-3", "--years", "1", "--summary", title), "SUMMARY escaped as TEXT")


if __name__ == "__main__":
    TOOL = sys.argv[1]
    REGENERATE = "--regenerate" in sys.argv
    globals()["test_" + sys.argv[2]]()
    print(sys.argv[2], "passed")
