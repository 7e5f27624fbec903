#!/usr/bin/python3
"""End-to-end tests of qeldate: tool_test.py QELDATE GROUP [--regenerate].

"Now" is fixed through QELDATE_TODAY. Groups:
  golden  the transcripts golden/*.txt: lines "$ [NAME=VALUE ...] qeldate ARGS
          [< FILE]", then what they print (stdout, stderr, "[exit N]" unless 0),
          the same for every command line above it. Reviewed by eye when they
          change; --regenerate rewrites them. Every command also keeps the
          tool's rules: exit 0 and a quiet stderr, or exit 2, one "qeldate: "
          line and no stdout (but convert: its records, and a line for each
          unreadable file); JSON parses; help screens fit 80 columns and the
          year view COLUMNS.
  errors  bad input echoed short and escaped, invalid UTF-8, a failed write;
          convert's records, one per line, whatever the line holds
  json    dates, steps and differences against datetime and relativedelta
  gbk     the GBK and GB2312 output and messages byte for byte against
          Python's own codecs
  ics     parsed back by python3-icalendar and python3-vobject
  manpage the built manual page as man renders it in a UTF-8 locale
  completion  `qeldate completion bash` sourced in bash
  questions  tests/contract/questions.tsv (its path the third argument), the
          questions every surface answers alike, asked of the tool
"""
import csv
import datetime as dt
import difflib
import io
import json
import os
import pathlib
import random
import re
import resource
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


def run(*args, today=TODAY, env=None, stdin=None, stdout=None, memory=None):
    e = {k: v for k, v in os.environ.items() if k not in ("NO_COLOR", "QELDATE_TODAY", "QELDATE_HOLIDAYS")}
    e.update({"QELDATE_TODAY": today, "COLUMNS": "80", **(env or {})})
    # Output through files, not pipes: Wine's helper processes inherit the
    # handles, and a pipe would stay open until they exit, seconds later.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, open(stdin or os.devnull, "rb") as inp:
        limit = memory and (lambda: resource.setrlimit(resource.RLIMIT_AS, (memory, memory)))
        r = subprocess.run([*EMULATOR, TOOL, *args], stdin=inp, stdout=stdout or out, stderr=err, env=e, timeout=120,
                           preexec_fn=limit)
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
    convert = args[:1] == ["convert"]
    check(r.returncode == 0 and not err or r.returncode == 2 and (len(err) == 1 or convert and err) and
          all(e.startswith("qeldate: ") for e in err) and (not r.stdout or convert),
          f"$ {command}: exit {r.returncode}, {r.stderr!r}")
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
    # convert: one record per input line, each with the header's fields, in
    # UTF-8 whatever the line holds; a bad line is an error record and exit 2
    # at the end. Lines: a byte order mark, CRLF and surrounding blanks
    # around good dates; a blank line; invalid UTF-8; a control character;
    # a line far past the 4096-byte limit, read in less memory than it takes.
    long = os.urandom(1 << 26).replace(b"\n", b"n")
    lines = [b"\xef\xbb\xbf2024-02-10\r", b" \t2017-07-23  ", b"", b"2017-07-\xff", b"\x1b[31m", long, b"2100-12-31"]
    good = [True, True, False, False, False, False, True]
    with tempfile.NamedTemporaryFile(suffix=".in") as f:
        f.write(b"\n".join(lines) + b"\n")
        f.flush()
        for form in ("csv", "tsv", "jsonl"):
            bounded = not EMULATOR and not os.environ.get("QELDATE_TEST_SANITIZED")
            # On standard input: Windows reads a path that starts with / as an option.
            r = run("convert", "--format", form, stdin=f.name, memory=1 << 26 if bounded else None)
            text = r.stdout.decode()  # UTF-8, or UnicodeDecodeError
            if form == "jsonl":
                records = [json.loads(l) for l in text.splitlines()]
            else:
                rows = list(csv.reader(io.StringIO(text), delimiter="," if form == "csv" else "\t"))
                check(all(len(row) == len(rows[0]) for row in rows), f"{form}: fields per record {[len(x) for x in rows]}")
                records = [{k: v for k, v in zip(rows[0], row) if v} for row in rows[1:]]
            check([not r.get("error") for r in records] == good, f"{form}: records {[str(r)[:80] for r in records]}")
            check([r["date"] for r in records if "date" in r] == ["2024-02-10", "2017-07-23", "2100-12-31"], form)
            check(r.returncode == 2 and r.stderr.count(b"\n") == 1, f"{form}: exit {r.returncode} {r.stderr!r}")
            check(len(records[5]["input"]) < 300 and "4096" in records[5]["error"], f"{form}: the long line")
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
    # The years whose lunar new years differ between the three calendars, as
    # the lunisolar generator found them on its own from its ephemerides.
    table = pathlib.Path(__file__).resolve().parents[2] / "tools/gen/lunisolar/new_years.tsv"
    want = [l.split("\t") for l in table.read_text(encoding="utf-8").splitlines() if l and not l.startswith("#")]
    got = [[str(y["year"]), y["chinese"], y["korean"], y["vietnamese"]]
           for y in json.loads(ok("compare", "--new-years", "--json"))["years"]]
    check(got == want, f"compare --new-years: {got}")
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
    # GB2312, a subset of GBK, by name and by locale (glibc's zh_CN is GB2312).
    gb2312 = ok("2017-07-23").decode().encode("gb2312")
    for options, env in ((["--encoding", "gb2312"], {}), ([], {"LANG": "zh_CN"}), ([], {"LC_ALL": "zh_CN.GB2312"})):
        check(ok("2017-07-23", *options, env=env) == gb2312, f"GB2312: {options} {env}")
    # Messages go to the same terminal as the text, so in its encoding; a
    # character the encoding lacks (閒, GBK only) is escaped, not lost.
    message = lambda *a, **kw: run(*a, today="2100-12-01", **kw).stderr  # noqa: E731
    for options, env, codec in ((["--encoding", "gbk"], {}, "gbk"), ([], {"LANG": "zh_CN.GBK"}, "gbk"),
                                (["--encoding", "gb2312"], {}, "gb2312"), ([], {"LANG": "zh_CN"}, "gb2312")):
        for args in (["next", "spring-festival"], ["閒"]):
            if WINDOWS and env and not args[0].isascii():
                continue  # Wine decodes a program's arguments in the locale's codeset: no 閒 arrives
            want = message(*args).decode().encode(codec, errors="backslashreplace")
            check(message(*args, *options, env=env) == want, f"stderr of {args} {options} {env}")
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
    # Term times in UTC+8 through the summer times of Asia/Shanghai (1986-1991)
    # and before it (1919, 1940-1949): clients must not apply them.
    old = {t["instant"] for y in (1919, *range(1940, 1950), *range(1986, 1992))
           for t in json.loads(ok("terms", str(y), "--json"))["terms"]}
    for years in (["1919"], ["1940", "1949"], ["1986", "1991"]):
        calendar("--from", years[0], "--to", years[-1], "--shanghai", terms=old)
    holidays = [e for e in calendar("--from", "2025", "--with-holidays") if "Public holiday" in str(e["CATEGORIES"].to_ical())]
    check([(str(e.decoded("DTSTART")), str(e.decoded("DTEND"))) for e in holidays][-1] == ("2025-10-01", "2025-10-09"),
          "the 2025 National Day period as one event")
    check([str(e["DESCRIPTION"]) for e in holidays][0] == "New Year's Day: public holiday, 1 day off", "one day off")
    # Lunar birthdays: day 30 falls on 29 in a 29-day month (month 3 of
    # 2018, as next 3-30 finds it); a leap-month date keeps the leap month where the year has one and
    # falls in the ordinary month otherwise (lunar 2018-6-1 is 2018-07-13, the
    # new moon of that day's partial solar eclipse); the years start at
    # this year's occurrence (the first on or after January 1, of the lunar
    # year before for a day of its last months), and stop after the last lunar year.
    next_3_30 = json.loads(ok("next", "3-30", "--json"))["date"]
    for args, today, want in ((["3-30", "--from", "2018", "--years", "1"], TODAY, [next_3_30]),
                              (["6-30", "--leap", "--from", "2017", "--years", "1"], TODAY, ["2017-08-21"]),
                              (["6-1", "--leap", "--from", "2017", "--years", "2"], TODAY, ["2017-07-23", "2018-07-13"]),
                              (["8-15", "--years", "9"], TODAY, known["Mid-Autumn Festival"]),
                              (["8-15", "--years", "2"], "2017-12-31", known["Mid-Autumn Festival"][0:2]),
                              (["12-1", "--years", "2"], "2018-12-31", ["2018-01-17", "2019-01-06"]),
                              (["1-1", "--years", "1"], "1900-01-01", ["1900-01-31"])):
        check(dates(calendar("--lunar", *args, today=today)) == want, f"--lunar {args}")
    last = json.loads(ok("lunar", "2201-02-03", "--json"))["lunar"]["year"]  # the lunar table's last day
    check(len(calendar("--lunar", "1-1", "--from", str(last - 5))) == 6, "stops after the last lunar year")
    title = "Grandma's 80th, 八十大寿; party\\ at home"
    check([str(e["SUMMARY"]) for e in calendar("--lunar", "3-3", "--years", "1", "--summary", title)] == [title],
          "SUMMARY read back")
    check("SUMMARY:Grandma's 80th\\, 八十大寿\\; party\\\\ at home\r\n".encode() in
          ok("ics", "--lunar", "3-3", "--years", "1", "--summary", title), "SUMMARY escaped as TEXT")
    # Two birthdays on one lunar date are two events in a client: UIDs
    # differ between titles and stay the same from run to run.
    uids = [[str(e["UID"]) for e in calendar("--lunar", "8-15", *s)] for s in ([], ["--summary", "Mum"], ["--summary", "Son"])]
    check(not set(uids[0]) & set(uids[1]) and not set(uids[1]) & set(uids[2]) and not set(uids[0]) & set(uids[2]), uids)
    check(uids[1] == [str(e["UID"]) for e in calendar("--lunar", "8-15", "--summary", "Mum")], "UIDs from run to run")
    # A second client: python3-vobject reads the term times through the
    # file's own VTIMEZONE.
    try:
        import vobject
    except ImportError:
        print("python3-vobject is not installed")
        sys.exit(77)
    for args, terms in ((["--from", "1986", "--to", "1991", "--shanghai"], old), (["--from", "2024"], instants)):
        timed = [e.dtstart.value for e in vobject.readOne(ok("ics", *args).decode()).vevent_list
                 if isinstance(e.dtstart.value, dt.datetime)]
        check(len(timed) >= 24 and all(int(t.timestamp()) in terms for t in timed), f"vobject: {args}")


# ---- questions ---------------------------------------------------------------

def lunar_answer(lunar):
    return f"{lunar['year']}-{lunar['month']}-{lunar['day']}" + (" leap" if lunar["leap"] else "")


def ask(kind, question):
    """The tool's command line for a question and how to read its JSON answer."""
    words = question.split()
    if kind == "lunar":
        return ["lunar", question], lambda j: lunar_answer(j["lunar"])
    if kind == "solar":
        return ["--lunar", question], lambda j: j["date"]
    if kind == "festival":
        return [words[1], words[0]], lambda j: " ".join(d["date"] for d in j["days"]) or "-"
    if kind == "festival_of_lunar_year":
        return ["next", words[1], "--lunar-year", words[0]], lambda j: j["date"]
    if kind == "pillars":
        return ["bazi", words[0], "--zi", words[1]], lambda j: " ".join(j["pillars"][p]["name"] for p in
                                                                       ("year", "month", "day", "hour"))
    if kind in ("add_months", "add_years"):
        unit = "lunar-month" if kind == "add_months" else "lunar-year"
        return ["--lunar", " ".join(words[:-1]), f"{int(words[-1]):+d}{unit}"], lambda j: lunar_answer(j["lunar"])
    if kind == "add_workdays":
        return [words[0], f"{int(words[1]):+d}workdays"], lambda j: j["date"]
    raise AssertionError(f"no way to ask a {kind} question")


def test_questions():
    rows = [l.split("\t") for l in pathlib.Path(sys.argv[3]).read_text(encoding="utf-8").splitlines()
            if l and not l.startswith("#")]
    check(len(rows) >= 40, f"{len(rows)} questions")
    failed = []
    for kind, question, answer in rows:
        args, read = ask(kind, question)
        r = run(*args, "--json")
        if answer.startswith("! "):
            err = r.stderr.decode()
            good = r.returncode == 2 and not r.stdout and err.startswith("qeldate: ") and answer[2:] in err
            shown = f"exit {r.returncode}, {err.strip()!r}"
        else:
            good = r.returncode == 0 and not r.stderr and read(json.loads(r.stdout)) == answer
            shown = read(json.loads(r.stdout)) if r.returncode == 0 else f"exit {r.returncode}, {r.stderr.decode().strip()!r}"
        if not good:
            failed.append(f"{kind} {question}: {shown}, want {answer}")
    check(not failed, "\n".join(failed))


# ---- manpage ---------------------------------------------------------------

def test_manpage():
    """The page beside the tool, as man (else groff) shows it in a UTF-8
    locale: Chinese intact, every command of --help in COMMANDS, and the
    notes after the command list line for line, no sentence split."""
    page = pathlib.Path(TOOL).with_name("qeldate.1")
    env = {**os.environ, "LC_ALL": "C.UTF-8", "MANWIDTH": "100"}
    for command in (["man", "-l", str(page)], ["groff", "-Tutf8", "-man", "-P-cbou", str(page)]):
        try:
            shown = subprocess.run(command, env=env, capture_output=True, check=True).stdout.decode()
            break
        except FileNotFoundError:
            continue
    else:
        print("neither man nor groff is installed")
        sys.exit(77)
    lines = [" ".join(l.replace("\u2010", "-").replace("\u2212", "-").split()) for l in shown.splitlines()]
    help_text = ok("--help").decode()
    listed = help_text.split("Subcommands:\n")[1].split("\n\n")[0]
    notes = help_text.split("Subcommands:\n")[1].split("\n\n", 1)[1]
    for c in [l.split()[0] for l in listed.splitlines()]:
        check(f"qeldate {c}" in lines, f"no COMMANDS entry for {c}")
    check("?" * 3 not in shown and "八字" in shown, "Chinese text in the page")
    for note in notes.splitlines():
        check(" ".join(note.split()) in lines, f"a note line split or lost: {note!r}")


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
                           ("qeldate ics --with-holidays --sh", "--shanghai"), ("qeldate --holidays holidays_2", "holidays_2027.tsv"),
                           ("qeldate convert --format j", "jsonl"), ("qeldate convert conv", "convert.in convert.txt"),
                           ("qeldate terms --", "--calendar --chinese --color --encoding --english --help --holidays --json --lang --leap --lunar --no-clamp"
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
