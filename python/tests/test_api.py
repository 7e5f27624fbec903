"""The Python surface: every exported call on known days, the accepted and
refused types, the errors, masks, threads and the pandas helper."""
import datetime as dt
import inspect
import pickle
import re
import warnings
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pandas as pd
import pytest

import qel_calendar as q

D, DT, UTC = dt.date, dt.datetime, dt.timezone.utc


@pytest.mark.parametrize("calendar, day, lunar", [
    ("chinese", D(2017, 7, 23), (2017, 6, 1, True)),  # 2017 has a leap sixth month; this is its first day
    ("korean", D(2017, 6, 24), (2017, 5, 1, True)),  # the Korean 2017 has a leap fifth month instead
    ("chinese", D(1985, 2, 20), (1985, 1, 1, False)),  # 春节 1985
    ("vietnamese", D(1985, 1, 21), (1985, 1, 1, False)),  # Tết 1985, a month earlier (UTC+7 from 1968)
    ("chinese", D(1997, 2, 7), (1997, 1, 1, False)),
    ("KOREAN", D(1997, 2, 8), (1997, 1, 1, False)),  # 설날 1997: the new moon came at 00:06 in Seoul
    ("음력", D(1997, 2, 7), (1996, 12, 30, False)),
    ("chinese", D(1750, 2, 7), (1750, 1, 1, False)),  # as ICU 72's Chinese calendar
    ("chinese", D(2150, 1, 29), (2150, 1, 1, False)),  # as ICU 72's Chinese calendar
    ("chinese", D(1645, 1, 28), (1645, 1, 1, False)),
])
def test_conversions(calendar: str, day: dt.date, lunar: tuple) -> None:
    # Each path there and back, scalar and array.
    want = q.LunarDate(*lunar, calendar=calendar)
    assert q.to_lunar(day, calendar) == want == q.to_lunar_ymd(day.year, day.month, day.day, calendar=calendar)
    assert want.to_date() == day == q.from_lunar(*lunar, calendar=calendar)
    r = q.to_lunar_array([day], calendar=calendar)
    assert (r.year[0], r.month[0], r.day[0], r.leap[0]) == lunar
    assert q.from_lunar_array(*([v] for v in lunar), calendar=calendar).tolist() == [day]


def test_known_answers() -> None:
    lunar = q.to_lunar(D(2017, 7, 23))
    assert (str(lunar), repr(lunar), repr(q.LunarDate(2024, 12, 29))) == (
        "二〇一七年闰六月初一", "LunarDate(2017, 6, 1, leap=True)", "LunarDate(2024, 12, 29)")
    korean, tet = q.LunarDate(2017, 5, 1, True, "korean"), q.to_lunar(D(1985, 1, 21), calendar="âm lịch")
    assert (str(korean), repr(korean), str(tet), repr(tet)) == (
        "2017년 윤5월 1일", "LunarDate(2017, 5, 1, leap=True, calendar='korean')", "mùng 1 tháng Giêng năm 1985",
        "LunarDate(1985, 1, 1, calendar='vietnamese')")
    # Where a month comes from: 2057-09 starts a minute after its new moon's day ends (published);
    # the record decides 1645-06.
    assert q.month_info(2057, 9) == q.MonthInfo(2057, 9, False, 29, D(2057, 9, 29), "published", ("start_uncertain",))
    assert q.month_info(1645, 6)[4:6] == (D(1645, 6, 24), "record")
    # Each calendar marks its own festivals, named in its language (the PRC holiday keeps its name).
    tet_facts = q.day_facts(D(1985, 1, 21), calendar="vietnamese")
    assert (tet_facts.year_cycle, tet_facts.animal, [f.name for f in tet_facts.festivals]) == (
        "Ất Sửu", "Trâu", ["Tết Nguyên Đán"])
    chuseok = q.day_facts(D(2025, 10, 6), calendar="korean")
    assert ([f.name for f in chuseok.festivals], chuseok.holiday) == (["추석"], "中秋节、国庆节")
    assert [f.name for f in q.day_facts(D(2025, 10, 6), calendar="korean", lang="chinese").festivals] == ["中秋节"]
    assert [f.key for f in q.festivals(2025, calendar="korean")].count("national-day") == 0
    assert q.festival_date("hung-kings", 2025, calendar="vietnamese") == D(2025, 4, 7)  # Giỗ Tổ Hùng Vương
    assert str(q.pillars(DT(2026, 12, 7, 6, 0), lang="korean")) == "병오 기해 을묘 기묘"
    assert q.solar_terms(2025, lang="vietnamese")[0].name == "Tiểu hàn"
    # Every field of the record: 除夕 of lunar 2024, a day off of the 春节 holiday.
    eve = q.Festival(13, "除夕", "New Year's Eve", "new-years-eve", D(2025, 1, 28))
    assert q.day_facts(np.datetime64("2025-01-28")) == q.DayFacts(
        D(2025, 1, 28), 2, 28, q.LunarDate(2024, 12, 29), 29, 0, "甲辰", "龙", "丁酉", None, (eve,), "off", "春节")
    assert q.festival_date("除夕", 2024) == eve.date and eve in q.festivals(2025)
    # 小年 on lunar 12-23 in the north, 12-24 in the south.
    assert [f.date for f in q.festivals(2025, south_xiaonian=True) if f.key == "xiaonian"] == [D(2025, 1, 23)]
    assert q.day_facts(D(2025, 1, 23), south_xiaonian=True).festivals[0].name == "小年"
    assert q.day_facts(D(1, 1, 1)) == q.DayFacts(D(1, 1, 1), 1, 1, *[None] * 5, "己卯", None, (), None, None)
    minor_heat = q.solar_terms(2017)[12]
    assert (minor_heat.name, minor_heat.instant.strftime("%m-%d %H:%M %Z")) == ("小暑", "07-07 05:50 UTC+8")
    assert str(q.pillars(DT(2026, 12, 7, 6, 0))) == "丙午 己亥 乙卯 己卯"
    assert q.pillars(DT(2026, 12, 6, 22, 0, tzinfo=UTC)) == q.pillars(DT(2026, 12, 7, 6, 0))
    assert q.pillars(DT(2026, 12, 7, 23, 30, tzinfo=q.CST), zi="Early").day == "丙辰"
    assert (q.leap_month(2017), q.leap_month(2023), q.leap_month(2024), q.leap_month(2017, "korean")) == (6, 2, 0, 5)
    assert q.add_lunar_months(q.LunarDate(2017, 7, 1), -1) == q.LunarDate(2017, 6, 1, True) == q.add_lunar_years(
        q.LunarDate(1979, 6, 1, True), 38)  # 1979's leap month is 六月, as 2017's
    assert q.add_lunar_months(q.LunarDate(2017, 5, 1, calendar="korean"), 1) == korean
    assert q.holiday_years() == (2004, 2026) and q.day_facts(D(2025, 10, 6)).holiday == "中秋节、国庆节"
    assert [q.is_workday(D(2025, 9, d)) for d in (27, 28, 29)] == [False, True, True]  # the 28th: 班
    assert q.workdays(D(2025, 9, 1), D(2025, 11, 1)) == 41 == -q.workdays(D(2025, 11, 1), D(2025, 9, 1))
    # Friday the 26th, then the make-up Sunday: n = 0 on a day off moves to the next working day.
    assert [q.add_workdays(D(2025, 9, d), n) for d, n in ((26, 1), (27, 0), (28, -1), (26, 0))] == [
        D(2025, 9, 28), D(2025, 9, 28), D(2025, 9, 26), D(2025, 9, 26)]


@pytest.mark.parametrize("festival, year, day", [
    ("除夕", 2024, D(2025, 1, 28)), ("mid-autumn", 2025, D(2025, 10, 6)), ("元宵", 2025, D(2025, 2, 12)),
    ("MID-AUTUMN", 2025, D(2025, 10, 6)), (14, 2025, D(2025, 4, 4)), ("冬至", 2100, D(2100, 12, 22)),
])
def test_festival_date(festival: object, year: int, day: dt.date) -> None:
    assert q.festival_date(festival, year) == day  # type: ignore[arg-type]


@pytest.mark.parametrize("value", [D(2017, 7, 23), DT(2017, 7, 23, 23, 59, tzinfo=UTC), np.datetime64("2017-07-23"),
                                   np.datetime64("2017-07-23T23:59:59", "s"), np.datetime64("2017-07-23T12:00", "ns"),
                                   pd.Timestamp("2017-07-23 08:00")])
def test_date_types_accepted(value: object) -> None:
    assert q.to_lunar(value) == q.LunarDate(2017, 6, 1, True) and q.day_facts(value).date == D(2017, 7, 23)


@pytest.mark.parametrize("unit", ["Y", "M", "W", "D", "h", "m", "s", "ms", "us", "ns", "ps", "fs", "as", "2D", "15m"])
def test_datetime64_units(unit: str) -> None:
    # A datetime64 scalar of any unit floors to its day, before 1970 too (as
    # NumPy's astype does, where it does not overflow), alone and inside an object array: 2,000 random values
    # of the unit over 0001-9999 (or as far as int64 reaches) and the edges.
    if unit in ("ns", "ps", "fs", "as"):
        first, last = -2 ** 62, 2 ** 62  # NumPy's own astype wraps near the int64 ends
    else:
        first, last = np.array(["0001-01-08", "9999-12-31"], "M8[D]").astype(f"M8[{unit}]").astype(np.int64).tolist()
    values = np.r_[np.random.default_rng(18).integers(first, last, 2000), first, last, -1, 0, 1].astype(f"M8[{unit}]")
    per_day = {"ps": 86400 * 10 ** 12, "fs": 86400 * 10 ** 15, "as": 86400 * 10 ** 18}.get(unit)
    want = (values.astype(np.int64).astype(object) // per_day).astype("M8[D]") if per_day else values.astype("M8[D]")
    assert [q.day_facts(v).date for v in values] == want.tolist()
    assert np.array_equal(q.day_facts_array(np.array(list(values), object)), q.day_facts_array(want))


@pytest.mark.parametrize("call", [q.to_lunar, q.day_facts, q.is_workday, lambda v: q.workdays(D(2020, 1, 1), v),
                                  q.pillars])
@pytest.mark.parametrize("value", ["2017-07-23", 42939, 1.5, None, (2017, 7, 23)])
def test_other_types_refused(call: object, value: object) -> None:
    with pytest.raises(TypeError):
        call(value)  # type: ignore[operator]


@pytest.mark.parametrize("call, error, message", [
    # The library's message after the call as the user made it (the questions hold the rest).
    (lambda: q.from_lunar(2023, 2, 30, True), ValueError, r"^from_lunar\(2023, 2, 30, leap=True\): leap month 2 of"),
    (lambda: q.LunarDate(2024, 1, 1, leap=True), ValueError, r"^LunarDate\(2024, 1, 1, leap=True\): lunar 2024 has"),
    (lambda: q.from_lunar(2 ** 70, 1, 1), ValueError, r"^from_lunar\(1180591620717411303424, 1, 1\): outside the lunar years"),
    (lambda: q.from_lunar(2017, 1, 1, leap=2), ValueError, "the leap flag 2 is not 0 or 1"),
    (lambda: q.from_lunar(2017.0, 6, 1), TypeError, "year must be an int"),
    (lambda: q.LunarDate(2017, 6, None), TypeError, "day must be an int"),
    (lambda: q.to_lunar(np.datetime64("NaT")), ValueError, "NaT"),
    (lambda: q.to_lunar(pd.NaT), ValueError, "NaT"),
    (lambda: q.day_facts(np.datetime64(-1970, "Y")), ValueError, r"^day_facts\(numpy.datetime64\('0000'\)\): outside"),
    (lambda: q.to_lunar(np.datetime64(-1, "M") - 1969 * 12), ValueError, r"^to_lunar\(numpy.datetime64\('0000-12'\)\)"),
    (lambda: q.pillars(DT(2020, 1, 1, tzinfo=UTC) - dt.timedelta(days=140000)), ValueError, r"^pillars\(1636-"),
    (lambda: q.pillars(D(2020, 1, 1)), TypeError, "takes a datetime"),
    (lambda: q.is_workday(D(2003, 12, 31)), ValueError, r"^is_workday\(2003-12-31\): outside the years 2004-2026"),
    (lambda: q.workdays(D(2026, 12, 1), D(2027, 1, 2)), ValueError, r"^workdays\(2026-12-01, 2027-01-02\): outside"),
    (lambda: q.to_lunar_array(["2017-07-23"]), TypeError, "dates are text"),
    (lambda: q.to_lunar_array(np.array([42939])), TypeError, r"^to_lunar_array\(\) takes datetime64"),
    (lambda: q.from_lunar_array([2017.0], [6], [1]), TypeError, "year must be integers"),
    (lambda: q.from_lunar_array([2017, D(2017, 1, 1)], 6, 1), TypeError, "year must be integers, not date"),
    # Each message speaks of the call the user made, in its terms.
    (lambda: q.day_facts("2017-07-23"), TypeError, r"^day_facts\(\) takes a datetime.date"),
    (lambda: q.workdays(D(2020, 1, 1), "2020-02-01"), TypeError, r"^workdays\(\) takes"),
    (lambda: q.to_lunar_array([D(2017, 7, 23), 1.5]), TypeError, r"^to_lunar_array\(\) takes .* float at index 1"),
    (lambda: q.solar_terms(2 ** 40), ValueError, r"^solar_terms\(1099511627776\): outside the years"),
    (lambda: q.festivals(2020.0), TypeError, "year must be an int, not float"),  # type: ignore[arg-type]
    (lambda: q.festival_date("Halloween", 2020), ValueError, "no festival is named 'Halloween'"),
    (lambda: q.festival_date(26, 2020), ValueError, "festival numbers are 0..25"),
    (lambda: q.festival_date("hung-kings", 2020), ValueError, r"hung-kings', 2020\): the chinese calendar does not"),
    (lambda: q.leap_month(1644), ValueError, r"^leap_month\(1644\): lunar year 1644 is outside"),
    (lambda: q.to_lunar(D(2020, 1, 1), "martian"), ValueError, "calendar must be 'chinese', 'korean' or 'vietnamese'"),
    (lambda: q.to_lunar_array([D(2020, 1, 1)], calendar=1), TypeError, "calendar must be a str"),
    (lambda: q.day_facts(D(2020, 1, 1), lang="latin"), ValueError, "^lang must be"),
    (lambda: q.from_lunar(2024, 1, 1, True, "korean"), ValueError, r"^from_lunar\(2024, 1, 1, leap=True, calendar='"),
    (lambda: q.month_info(2024, 1, True), ValueError, r"^month_info\(2024, 1, leap=True\): lunar 2024 has no leap"),
    (lambda: q.month_info(2201, 1), ValueError, r"^month_info\(2201, 1\): outside the lunar years"),
    (lambda: q.LunarDate(2017, 6, 1) < q.LunarDate(2017, 6, 1, calendar="korean"), TypeError, "not supported"),
    (lambda: q.add_lunar_years(q.LunarDate(2017, 1, 1), 2 ** 62), ValueError, r"^add_lunar_years\(LunarDate\("),
    (lambda: q.pillars(DT(2020, 1, 1), zi=None), TypeError, "zi must be 'late' or 'early', not NoneType"),
    (lambda: q.pillars(DT(2020, 1, 1), zi="ＬＡＴＥ"), ValueError, "zi must be"),  # ASCII case only
    (lambda: q.add_workdays(D(2025, 1, 2), 1.0), TypeError, "n must be an int"),  # type: ignore[arg-type]
])
def test_errors(call: object, error: type, message: str) -> None:
    with pytest.raises(error, match=message) as e:
        call()  # type: ignore[operator]
    assert not re.search(r"serial_of|_core|pillars_of|term_instant|incompatible|Invoked with", str(e.value))


def test_ranges_are_the_edges_of_the_calls() -> None:
    # Each range as the C library reports it, against the calls one day (or
    # second, or year) inside and outside it: the binding reads its ranges.
    r = q.ranges()
    lunar, terms, pillars = r["lunar"], r["terms"], r["pillars"]
    assert (q.FIRST_LUNAR_DATE, q.LAST_LUNAR_DATE) == (lunar.first_date, lunar.last_date)
    assert q.from_lunar(lunar.first_year, 1, 1) == lunar.first_date and q.to_lunar(lunar.last_date).year == lunar.last_year
    edges = []
    for domain, call in (("gregorian", q.day_facts), ("lunar", q.to_lunar), ("holidays", q.is_workday),
                         ("lunar", lambda d: q.to_lunar(d, "korean")), ("lunar", lambda d: q.to_lunar(d, "âm lịch"))):
        first, last = (np.datetime64(d, "D") for d in r[domain][2:4])
        edges += [(call, first - 1, False), (call, first, True), (call, last, True), (call, last + 1, False)]
    for first, last, calls in ((lunar.first_year, lunar.last_year, (q.leap_month, lambda y: q.from_lunar(y, 1, 1))),
                               (terms.first_year, terms.last_year, (q.solar_terms, q.festivals))):
        edges += [(c, y, inside) for c in calls for y, inside in (
            (first - 1, False), (first, True), (last, True), (last + 1, False))]
    for second, inside in ((pillars.first_instant - 1, False), (pillars.first_instant, True),
                           (pillars.last_instant, True), (pillars.last_instant + 1, False)):
        edges += [(q.pillars, DT.fromtimestamp(second, q.CST), inside),
                  (q.pillars, DT.fromtimestamp(second, q.CST).replace(tzinfo=None), inside)]
    for call, arg, inside in edges:
        try:
            call(arg)  # type: ignore[operator]
            assert inside, (call, arg)
        except ValueError as e:
            assert not inside and "outside" in str(e), (call, arg)


def test_signatures_and_numpy_scalars() -> None:
    # help() shows the arguments of every public call, none of pybind11's handles or capsules.
    for name in q.__all__:
        obj = getattr(q, name)
        if callable(obj) and not isinstance(obj, type):
            assert "handle" not in str(inspect.signature(obj)) and "PyCapsule" not in repr(obj), name
    assert str(inspect.signature(q.from_lunar)) == "(year, month, day, leap=False, calendar='chinese')"
    with warnings.catch_warnings():
        warnings.simplefilter("error")  # NumPy deprecates np.bool_ as an index
        assert q.from_lunar(np.int32(2017), 6, 1, np.True_) == q.LunarDate(2017, 6, 1, np.bool_(1)).to_date()


def test_lunar_date_value_semantics() -> None:
    a, leap, b = q.LunarDate(2017, 6, 29), q.LunarDate(2017, 6, 1, True), q.LunarDate(2017, 7, 1)
    assert a < leap < b and sorted([b, leap, a]) == [a, leap, b]  # the leap month follows month 6
    assert pickle.loads(pickle.dumps(leap)) == leap and len({leap, q.LunarDate(2017, 6, 1, 1)}) == 1
    assert leap != (2017, 6, 1, True)
    # The same fields in another calendar are another day.
    other = q.LunarDate(2017, 6, 1, True, calendar="vietnamese")
    assert other != leap and len({leap, other}) == 2 and pickle.loads(pickle.dumps(other)).calendar == "vietnamese"
    with pytest.raises(AttributeError):
        leap.day = 2  # type: ignore[misc]


def test_array_masks_shapes_and_broadcasting() -> None:
    days = np.array([["2017-07-23", "NaT", "1645-01-27"], ["1645-01-28", "2201-02-03", "2201-02-04"]], "M8[D]")
    r = q.to_lunar_array(days)
    assert r.valid.tolist() == [[True, False, False], [True, True, False]]
    assert r.year.tolist() == [[2017, 0, 0], [1645, 2200, 0]] and r.leap.tolist()[0] == [True, False, False]
    facts = q.day_facts_array(np.array(["1644-06-01", "NaT", "2017-07-23"], "M8[D]"))
    assert facts["year"].tolist() == [1644, 0, 2017] and facts["lunar_year"].tolist() == [0, 0, 2017]
    assert facts["flags"].tolist() == [q.NO_LUNAR, 0, 0] and facts["holiday_status"].tolist() == [-1, -1, 0]
    # Finer units floor to the day; lists of dates and None read like the scalars.
    fine = np.array(["1969-12-31T23:59:59.999", "1970-01-01T00:00"], "M8[ms]")
    assert q.to_lunar_array(fine).day.tolist() == q.to_lunar_array([D(1969, 12, 31), D(1970, 1, 1)]).day.tolist()
    missing = [None, pd.NaT, float("nan"), np.float64("nan"), pd.NA, np.datetime64("NaT")]
    assert q.to_lunar_array([D(2017, 7, 23), *missing]).valid.tolist() == [True] + [False] * 6
    assert q.to_lunar_array(pd.Series([pd.NA, D(2017, 7, 23)], dtype=object)).day.tolist() == [0, 1]
    assert q.to_lunar_array(np.array([], "M8[D]")).year.shape == q.to_lunar_array([]).year.shape == (0,)
    # Objects far beyond 0001-9999 saturate (UBSan saw the old subtraction overflow).
    far = [D(2017, 7, 23), np.datetime64(-10 ** 6, "Y"), np.datetime64(10 ** 6, "Y"), np.datetime64(-2 ** 62, "W")]
    assert q.to_lunar_array(far).valid.tolist() == [True, False, False, False]
    assert q.day_facts_array(far)["year"].tolist() == [2017, 0, 0, 0]
    # Valid, leap, day 30 of a 29-day month, a year that would wrap to 2017 in
    # int32, a leap flag of 2, month 13, years one beyond each end.
    got = q.from_lunar_array([2017, 2017, 2017, 2 ** 32 + 2017, 2017, 2017, 1644, 2201], [6, 6, 6, 6, 6, 13, 12, 1],
                             [1, 1, 30, 1, 1, 1, 1, 1], [0, 1, 0, 0, 2, 0, 0, 0])
    assert got.dtype == np.dtype("M8[D]") and got.astype(str).tolist() == ["2017-06-24", "2017-07-23"] + ["NaT"] * 6
    # Broadcasting: every day of 闰六月 2017.
    month = q.from_lunar_array(2017, 6, np.arange(1, 31), leap=True)
    assert month[0] == np.datetime64("2017-07-23") and not np.isnat(month).any()
    # Missing fields, as Python objects or in pandas' nullable arrays, give NaT.
    na = q.from_lunar_array([2017, float("nan"), None, 2017], [6, 6, 6, pd.NA], 1, [True, 1, 1, None])
    assert na.astype(str).tolist() == ["2017-07-23", "NaT", "NaT", "NaT"]
    nullable = q.from_lunar_array(pd.array([2017, None], "Int32"), pd.array([6, 6], "UInt8"), 1,
                                  pd.array([True, True], "boolean"))
    assert nullable.astype(str).tolist() == ["2017-07-23", "NaT"]
    # add_workdays over arrays: the scalar call on each day of the table's
    # years and beyond, NaT where it raises.
    days = np.arange(np.datetime64("2003-12-20"), np.datetime64("2027-01-10"))
    for n in (-3, 0, 1, 10):
        got = q.add_workdays_array(days, n).tolist()
        for d, g in zip(days.tolist(), got):
            try:
                assert g == q.add_workdays(d, n), (d, n)
            except ValueError:
                assert g is None, (d, n)


def test_threads_convert_at_once() -> None:
    # The batch calls release the GIL: eight threads in them at once must each
    # get what a single thread gets.
    rng = np.random.default_rng(18)
    chunks = [rng.integers(-30000, 50000, 200_000).astype("M8[D]") for _ in range(8)] * 3
    run = lambda c: (*q.to_lunar_array(c), q.day_facts_array(c))  # noqa: E731
    with ThreadPoolExecutor(8) as pool:
        got = list(pool.map(run, chunks))
    assert all(np.array_equal(a, b) for c, g in zip(chunks, got) for a, b in zip(run(c), g))


def test_pandas_columns() -> None:
    df = pd.DataFrame({"date": pd.to_datetime(["2017-07-23 23:00", None, "2201-02-04"]), "x": [1, 2, 3]})
    out = q.add_lunar_columns(df)
    assert list(out.columns) == ["date", "x", "lunar_year", "lunar_month", "lunar_day", "lunar_leap"]
    assert out["lunar_year"].dtype == "Int32" and out["lunar_leap"].dtype == "boolean"
    assert out.iloc[0, 2:].tolist() == [2017, 6, 1, True] and out.iloc[1:, 2:].isna().all().all()
    assert "lunar_year" not in df
    # The columns go back through from_lunar_array: each day's date, NaT where <NA>.
    back = q.from_lunar_array(out.lunar_year, out.lunar_month, out.lunar_day, out.lunar_leap)
    assert back.astype(str).tolist() == ["2017-07-23", "NaT", "NaT"]
    korean = q.add_lunar_columns(df, calendar="korean")
    assert korean.iloc[0, 2:].tolist() == [2017, 6, 1, False]  # its leap month was the fifth
    # A tz-aware column counts by its local dates: 2017-07-22 23:00 in UTC is the 23rd in UTC+8.
    aware = pd.DataFrame({"when": pd.to_datetime(["2017-07-22 23:00"]).tz_localize("UTC").tz_convert("Asia/Shanghai")})
    assert q.add_lunar_columns(aware, "when", prefix="l_")["l_day"].tolist() == [1]
    # So do an aware Series, index and list of Timestamps, NaT masked.
    when = pd.Series(pd.to_datetime(["2017-07-22 23:00", None]).tz_localize("UTC")).dt.tz_convert("Etc/GMT-8")
    for dates in (when, pd.DatetimeIndex(when), when.tolist(), when.array):
        assert q.to_lunar_array(dates).day.tolist() == [1, 0]
