#!/usr/bin/python3
"""End-to-end tests of qeldate: tool_test.py QELDATE GROUP [--regenerate].

"Now" is fixed through QELDATE_TODAY. Groups:
  golden  the transcripts golden/*.txt: lines "$ [NAME=VALUE ...] qeldate ARGS
          [< FILE]", then what they print (stdout, stderr, "[exit N]" unless 0),
          the same for every command line above it. Reviewed by eye when they
          change; --regenerate rewrites them. Every command also keeps the
          tool's rules: exit 0 and a quiet stderr, or exit 2, one "qeldate: "
          line and no stdout (but convert's error records); JSON parses; help
          screens fit 80 columns and the year view COLUMNS.
  errors  bad input echoed short and escaped, invalid UTF-8, a failed write
  json    dates, steps and differences against datetime and relativedelta
  gbk     the GBK output byte for byte against Python's own GBK codec
  ics     parsed back by python3-icalendar
  completion  `qeldate completion bash` sourced in bash
"""
import datetime as dt
import difflib
import json
import os
import pathlib
import random
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import unicodedata

GOLDEN = pathlib.Path(__file__).resolve().parent / "golden"
TODAY = "2017-07-23T10:20:30"
TOOL = ""
# A cross build runs the tool through its emulator (qemu-i386 for the 32-bit build).
EMULATOR = os.environ.get("QELDATE_TEST_EMULATOR", "").split()
WINDOWS = any(os.path.basename(e).startswith("wine") for e in EMULATOR)


def run(*args, today=TODAY, env=None, stdin=None, stdout=None):
    e = {k: v for k, v in os.environ.items() if k not in ("NO_COLOR", "QELDATE_TODAY", "QELDATE_HOLIDAYS")}
    e.update({"QELDATE_TODAY": today, "COLUMNS": "80", **(env or {})})
    # Output through files, not pipes: Wine's helper processes inherit the
    # handles, and a pipe would stay open until they exit, seconds later.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, open(stdin or os.devnull, "rb") as inp:
        r = subprocess.run([*EMULATOR, TOOL, *args], stdin=inp, stdout=stdout or out, stderr=err, env=e, timeout=120)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(r.args, r.returncode, out.read(), err.read())


def ok(*args, **kw):
    r = run(*args, **kw)
    assert r.returncode == 0 and not r.stderr, f"{args}: exit {r.returncode}, {r.stderr!r}"
    return r.stdout


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def facts(*args, **kw):
    return json.loads(ok(*args, "--json", **kw))


# ---- golden ----------------------------------------------------------------

def width(text):
    """Terminal columns of the widest line: CJK takes two."""
    return max((sum(1 + (unicodedata.east_asian_width(c) in "WF") for c in l) for l in text.splitlines()), default=0)


def play(command):
    """Runs one transcript command line and returns what the transcript shows."""
    words = shlex.split(command)
    env, args = dict(w.split("=", 1) for w in words[:words.index("qeldate")]), words[words.index("qeldate") + 1:]
    stdin = args[-1] if args[-2:-1] == ["<"] else None
    args = args[:-2] if stdin else args
    r = run(*args, today=env.pop("QELDATE_TODAY", TODAY), env=env, stdin=stdin)
    err = r.stderr.decode().splitlines()
    check(r.returncode == 0 and not err or r.returncode == 2 and len(err) == 1 and err[0].startswith("qeldate: ")
          and (not r.stdout or args[0] == "convert"), f"$ {command}: exit {r.returncode}, {r.stderr!r}")
    if r.returncode == 0 and "--json" in args:
        json.loads(r.stdout)
    if "--help" in args or args[:1] == ["cal"] and len(args) == 2:
        check(width(r.stdout.decode()) <= int(env.get("COLUMNS", 80)), f"$ {command}: too wide")
    return r.stdout + r.stderr + (b"[exit %d]\n" % r.returncode if r.returncode else b"")


def test_golden():
    for path in sorted(GOLDEN.glob("*.txt")):
        parts = re.split(rb"^((?:\$ .*\n)+)", path.read_bytes(), flags=re.M)  # "", commands, output, ...
        cases = [[[c[2:] for c in cs.decode().splitlines()], out] for cs, out in zip(parts[1::2], parts[2::2])]
        for case in cases:
            shown = [play(command) for command in case[0]]
            case[1] = shown[0] if REGENERATE else case[1]
            for command, out in zip(case[0], shown):
                diff = difflib.unified_diff(*(t.decode(errors="replace").splitlines(True) for t in (case[1], out)))
                check(out == case[1], f"{path.name}: $ {command}\n{''.join(diff)}")
        if REGENERATE:
            path.write_bytes(b"".join(b"".join(b"$ " + c.encode() + b"\n" for c in cs) + out for cs, out in cases))
    # Every help screen fits 80 columns, CJK characters counted as two.
    commands = re.findall(r"^  ([a-z]+) {2,}", ok("--help").decode().split("Subcommands:")[1], flags=re.M)
    check(len(commands) >= 10, f"commands in --help: {commands}")
    for args in [["--help"]] + [[c, "--help"] for c in commands]:
        check(width(ok(*args).decode()) <= 80, f"qeldate {' '.join(args)}: wider than 80 columns")


# ---- errors ----------------------------------------------------------------

def test_errors():
    # Input shown in a message is quoted, escaped and cut short.
    # Controls: C0, DEL, C1 (U+009B opens a terminal sequence), bidi overrides.
    controls = rb"[\0-\x1f\x7f]|\xc2[\x80-\x9f]|\xe2\x80[\x8e\x8f\xaa-\xae]|\xe2\x81[\xa6-\xa9]"
    for arg in ("x" * 20000, "\x1b[31mred\r\x7f\t", "\u009b31m\u202egnp.exe\u2066"):  # Windows takes 32767 characters
        r = run(arg)
        check(r.returncode == 2 and len(r.stderr) < 200 and not re.search(controls, r.stderr.rstrip(b"\n")),
              f"{arg[:10]!r}: {r.stderr[:300]!r}")
    if not WINDOWS:  # Windows hands programs UTF-16: no invalid bytes reach them
        r = run("ics", "--lunar", "8-15", "--summary", b"\xff\xfe")
        check(r.returncode == 2 and not r.stdout, f"invalid UTF-8 --summary: exit {r.returncode}")
    # Anything else (here, a full disk) exits 1.
    with open("/dev/full", "wb") as full:
        r = run("2017-07-23", stdout=full)
    check(r.returncode == 1 and len(r.stderr.splitlines()) == 1, f"write failure: exit {r.returncode}, {r.stderr!r}")


# ---- json ------------------------------------------------------------------

EPOCH = dt.date(1899, 12, 30)
JDN_OF_ORDINAL_0 = 1721425  # date.toordinal() + 1721425 is the Julian Day Number
STEMS, BRANCHES = "甲乙丙丁戊己庚辛壬癸", "子丑寅卯辰巳午未申酉戌亥"


def add_months(t, n):
    """Python's own month step, clamping the day to the new month's end."""
    y, m = divmod(t.year * 12 + t.month - 1 + n, 12)
    last = (dt.date(y + (m == 11), (m + 1) % 12 + 1, 1) - dt.timedelta(days=1)).day
    return t.replace(year=y, month=m + 1, day=min(t.day, last))


def test_json():
    rng = random.Random(20170723)
    moment = lambda: dt.datetime(1900, 1, 1) + dt.timedelta(seconds=rng.randrange(201 * 365 * 86400))  # noqa: E731
    # Serial, weekday, day of year and day cycle against Python's calendar.
    for _ in range(12):
        d = moment().date()
        cycle = (d.toordinal() + JDN_OF_ORDINAL_0 + 49) % 60
        want = {"date": d.isoformat(), "serial": (d - EPOCH).days, "weekday": d.isoweekday(),
                "day_of_year": d.timetuple().tm_yday, "day_cycle": STEMS[cycle % 10] + BRANCHES[cycle % 12]}
        f = facts(d.isoformat())
        check({k: f[k] for k in want} == want, f"{d}: {f}")
    # Steps against datetime: days, weeks, hours, minutes, seconds, months, years.
    units = {"d": 86400, "w": 604800, "h": 3600, "min": 60, "s": 1}
    for _ in range(14):
        start, unit = moment(), rng.choice(list(units) + ["month", "y"])
        n = rng.randrange(-10**9, 10**9) // units[unit] if unit in units else rng.randrange(-2400, 2400)
        want = (start + dt.timedelta(seconds=n * units[unit]) if unit in units
                else add_months(start, n if unit == "month" else 12 * n))
        f = facts(start.isoformat(), f"{n:+d}{unit}")
        check((f["date"], f["time"] or "00:00:00") == (want.date().isoformat(), want.time().isoformat()),
              f"{start} {n:+d}{unit}: {f['date']} {f['time']}, want {want}")
    # Differences against datetime (minutes ignore the seconds), and the
    # calendar difference as python-dateutil's relativedelta counts it.
    try:
        from dateutil.relativedelta import relativedelta
    except ImportError:  # python3-dateutil comes with python3-icalendar
        relativedelta = None
    for i in range(16):
        a = moment()
        b = moment() if i % 2 else a + dt.timedelta(seconds=rng.randrange(-10**8, 10**8))
        d = facts("diff", a.isoformat(), b.isoformat())
        check(d["seconds"] == (a - b).total_seconds() and
              d["minutes"] == (a.replace(second=0) - b.replace(second=0)).total_seconds() // 60, f"diff {a} {b}: {d}")
        r = relativedelta and relativedelta(a, b)
        check(not r or [d["calendar"][k] for k in ("years", "months", "days", "hours", "minutes", "seconds")] ==
              [r.years, r.months, r.days, r.hours, r.minutes, r.seconds], f"diff {a} {b}: {d['calendar']}, want {r}")
    # Now is the clock's instant in UTC+8, whatever the local time zone (TZ
    # in POSIX form: no zone files needed).
    for tz in ("UTC0", "EST+5", "LINT-14"):
        before = dt.datetime.now(dt.timezone(dt.timedelta(hours=8))).replace(tzinfo=None, microsecond=0)
        f = facts(today="", env={"TZ": tz})
        shown = dt.datetime.fromisoformat(f["date"] + "T" + f["time"])
        check(dt.timedelta(0) <= shown - before <= dt.timedelta(seconds=10), f"TZ={tz}: now is {shown}, want {before}")
    # The terms of a year in order, each with its own weekday and time.
    terms = json.loads(ok("terms", "2017", "--json"))["terms"]
    check(len(terms) == 24 and [x["date"] for x in terms] == sorted({x["date"] for x in terms}), "24 terms in order")
    check(all(x["weekday"] == dt.date.fromisoformat(x["date"]).isoweekday() and
              x["time"] == f"{x['second_of_day'] // 3600:02d}:{x['second_of_day'] // 60 % 60:02d}" for x in terms), terms)
    month = json.loads(ok("cal", "2024", "2", "--json"))
    check([d["date"] for d in month["days"]] == [f"2024-02-{n:02d}" for n in range(1, 30)], "cal --json: the days")
    check(month["days"][9]["festivals"][0]["key"] == "spring-festival", "cal --json: 春节 on 2024-02-10")


# ---- gbk -------------------------------------------------------------------

def test_gbk():
    for args in (["2017-07-23"], [], ["cal", "2017", "7"], ["terms", "2017"], ["next", "qixi"], ["2033-12-22"]):
        check(ok(*args, "--encoding", "gbk") == ok(*args).decode().encode("gbk"), f"{args}: not the UTF-8 output in GBK")
    # The encoding's other names, and the locale's codeset when no option is given.
    utf8, gbk = ok("2017-07-23"), ok("2017-07-23", "--encoding", "gbk")
    for options, env, want in ((["--encoding", "GBK"], {}, gbk), (["--encoding", "gb18030"], {}, gbk),
                               ([], {"LANG": "zh_CN.GBK"}, gbk), ([], {"LC_ALL": "zh_CN.UTF-8", "LANG": "zh_CN.GBK"}, utf8)):
        check(ok("2017-07-23", *options, env=env) == want, f"{options} {env}")
    check(json.loads(ok("2017-07-23", "--json", "--encoding", "gbk"))["lunar"]["text"] == "闰六月初一", "JSON stays UTF-8")
    # POSIX programs get their arguments as bytes, so GBK users type GBK;
    # Windows programs get UTF-16 and there the arguments are never GBK bytes.
    if not WINDOWS:
        check(ok("next", "七夕".encode("gbk"), "--encoding", "gbk") == ok("next", "qixi", "--encoding", "gbk"),
              "a GBK festival name on the command line")


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
            check(terms is None or int(start.timestamp()) in terms, f"{e['SUMMARY']} at {start}")
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
    known = {name: [f"{2017 + i}-{d[:2]}-{d[2:]}" for i, d in enumerate(days.split())] for name, days in KNOWN.items()}
    for name, want in known.items():
        check(dates(events, name) == want, f"{name}: {dates(events, name)}")
    check(sum("Solar term" in str(e["CATEGORIES"].to_ical()) for e in events) == 9 * 24, "24 terms a year")
    check(str(next(e for e in events if "Spring Festival" in str(e["DESCRIPTION"]))["SUMMARY"]) == "春节", "Chinese SUMMARY")
    calendar("--from", "2024", "--shanghai", terms={i for i in instants if i > 1.7e9})
    holidays = [e for e in calendar("--from", "2025", "--holidays") if "Public holiday" in str(e["CATEGORIES"].to_ical())]
    check([(str(e.decoded("DTSTART")), str(e.decoded("DTEND"))) for e in holidays][-1] == ("2025-10-01", "2025-10-09"),
          "the 2025 National Day period as one event")
    check([str(e["DESCRIPTION"]) for e in holidays][0] == "New Year's Day: public holiday, 1 day off", "one day off")
    # Lunar birthdays: day 30 falls on 29 in a 29-day month (ordinary 6 of
    # 2017); a leap-month date keeps the leap month where the year has one and
    # falls in the ordinary month otherwise (lunar 2018-6-1 is 2018-07-13, the
    # new moon of that day's partial solar eclipse); the years start at the
    # next such day from today on, and stop after lunar 2100.
    for args, today, want in ((["6-30", "--from", "2017", "--years", "1"], TODAY, ["2017-07-22"]),
                              (["6-30", "--leap", "--from", "2017", "--years", "1"], TODAY, ["2017-08-21"]),
                              (["6-1", "--leap", "--from", "2017", "--years", "2"], TODAY, ["2017-07-23", "2018-07-13"]),
                              (["8-15", "--years", "9"], TODAY, known["Mid-Autumn Festival"]),
                              (["8-15", "--years", "2"], "2017-10-05", known["Mid-Autumn Festival"][1:3])):
        check(dates(calendar("--lunar", *args, today=today)) == want, f"--lunar {args}")
    check(len(calendar("--lunar", "1-1", "--from", "2095")) == 6, "stops after lunar 2100")
    title = "Grandma's 80th, 八十大寿; party\\ at home"
    check([str(e["SUMMARY"]) for e in calendar("--lunar", "3-3", "--years", "1", "--summary", title)] == [title],
          "SUMMARY read back")
    check("SUMMARY:Grandma's 80th\\, 八十大寿\\; party\\\\ at home\r\n".encode() in
          ok("ics", "--lunar", "3-3", "--years", "1", "--summary", title), "SUMMARY escaped as TEXT")


# ---- completion --------------------------------------------------------------

def test_completion():
    bash = shutil.which("bash")
    if not bash:
        print("no bash")
        sys.exit(77)
    with tempfile.NamedTemporaryFile("wb", suffix=".bash") as script:
        script.write(ok("completion", "bash"))
        script.flush()
        # The words offered for the last word of a command line (after a
        # space: a new, empty word); files from golden/.
        for line, want in (("qeldate ca", "cal"), ("qeldate cal --s", "--south --sunday"),
                           ("qeldate --color a", "always auto"), ("qeldate bazi --zi ", "early late"),
                           ("qeldate ics --holidays --sh", "--shanghai"), ("qeldate --holidays holidays_2", "holidays_2027.tsv"),
                           ("qeldate convert --format j", "jsonl"), ("qeldate convert conv", "convert.in convert.txt"),
                           ("qeldate terms --", "--chinese --color --encoding --english --help --holidays --json --leap --lunar --no-clamp"
                            " --plain-months --south --version"),
                           ("qeldate completion b", "bash"), ("qeldate --encoding ", "")):
            r = subprocess.run([bash, "-c", 'source "$1"; COMP_WORDS=($2); [[ $2 == *" " ]] && COMP_WORDS+=("");'
                                ' COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _qeldate; printf "%s\\n" "${COMPREPLY[@]}"',
                                "bash", script.name, line], capture_output=True, text=True, check=True)
            check(" ".join(sorted(set(r.stdout.split()))) == want, f"{line!r}: {sorted(set(r.stdout.split()))}, want {want!r}")


if __name__ == "__main__":
    TOOL = os.path.abspath(sys.argv[1])
    REGENERATE = "--regenerate" in sys.argv
    os.chdir(GOLDEN)  # input files by relative names: Wine reads those, not POSIX absolute ones
    globals()["test_" + sys.argv[2]]()
    print(sys.argv[2], "passed")
