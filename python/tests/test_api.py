"""The Python surface: every exported call on known days, the accepted and
refused types, the errors, masks, threads and the pandas helper."""
import datetime as dt
import pickle
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pandas as pd
import pytest

import qel_calendar as q

D, DT, UTC = dt.date, dt.datetime, dt.timezone.utc


def test_known_answers() -> None:
    lunar = q.to_lunar(D(2017, 7, 23))  # 2017 has a leap sixth month; this is its first day
    assert lunar == q.LunarDate(2017, 6, 1, leap=True) and lunar.to_date() == q.from_lunar(2017, 6, 1, True)
    assert (str(lunar), repr(lunar), repr(q.LunarDate(2024, 12, 29))) == (
        "二〇一七年闰六月初一", "LunarDate(2017, 6, 1, leap=True)", "LunarDate(2024, 12, 29)")
    # Every field of the record: 除夕 of lunar 2024, a day off of the 春节 holiday.
    eve = q.Festival(13, "除夕", "New Year's Eve", "new-years-eve", D(2025, 1, 28))
    assert q.day_facts(np.datetime64("2025-01-28")) == q.DayFacts(
        D(2025, 1, 28), 2, 28, q.LunarDate(2024, 12, 29), 29, 0, "甲辰", "龙", "丁酉", None, (eve,), "off", "春节")
    assert q.festivals(2024)[-1] == eve
    # 小年 on lunar 12-23 in the north, 12-24 in the south.
    assert [f.date for f in q.festivals(2024, south_xiaonian=True) if f.key == "xiaonian"] == [D(2025, 1, 23)]
    assert q.day_facts(D(2025, 1, 23), south_xiaonian=True).festivals[0].name == "小年"
    assert q.day_facts(D(1, 1, 1)) == q.DayFacts(D(1, 1, 1), 1, 1, *[None] * 5, "己卯", None, (), None, None)
    minor_heat = q.solar_terms(2017)[12]
    assert (minor_heat.name, minor_heat.instant.strftime("%m-%d %H:%M %Z")) == ("小暑", "07-07 05:50 UTC+8")
    assert str(q.pillars(DT(2026, 12, 7, 6, 0))) == "丙午 己亥 乙卯 己卯"
    assert q.pillars(DT(2026, 12, 6, 22, 0, tzinfo=UTC)) == q.pillars(DT(2026, 12, 7, 6, 0))
    # 23:30: the late 子 hour keeps the day's pillar, the early one takes the next day's.
    late, early = (q.pillars(DT(2026, 12, 7, 23, 30), zi=z) for z in ("late", "early"))
    assert late.day == "乙卯" and early.day == "丙辰" and late.hour == early.hour
    assert q.holiday_years() == (2004, 2026) and q.day_facts(D(2025, 10, 6)).holiday == "中秋节、国庆节"
    assert [q.is_workday(D(2025, 9, d)) for d in (27, 28, 29)] == [False, True, True]  # the 28th: 班
    assert q.workdays(D(2025, 9, 1), D(2025, 11, 1)) == 41 == -q.workdays(D(2025, 11, 1), D(2025, 9, 1))


@pytest.mark.parametrize("value", [D(2017, 7, 23), DT(2017, 7, 23, 23, 59, tzinfo=UTC), np.datetime64("2017-07-23"),
                                   np.datetime64("2017-07-23T23:59:59", "s"), np.datetime64("2017-07-23T12:00", "ns"),
                                   pd.Timestamp("2017-07-23 08:00")])
def test_date_types_accepted(value: object) -> None:
    assert q.to_lunar(value) == q.LunarDate(2017, 6, 1, True) and q.day_facts(value).date == D(2017, 7, 23)


@pytest.mark.parametrize("call", [q.to_lunar, q.day_facts, q.is_workday, lambda v: q.workdays(D(2020, 1, 1), v),
                                  q.pillars])
@pytest.mark.parametrize("value", ["2017-07-23", 42939, 1.5, None, (2017, 7, 23)])
def test_other_types_refused(call: object, value: object) -> None:
    with pytest.raises(TypeError):
        call(value)  # type: ignore[operator]


@pytest.mark.parametrize("call, error, message", [
    (lambda: q.from_lunar(2017, 6, 30), ValueError, "has 29 days"),
    (lambda: q.from_lunar(2023, 6, 1, leap=True), ValueError, "leap month follows month 2"),
    (lambda: q.LunarDate(2024, 1, 1, leap=True), ValueError, "leap month does not exist"),
    (lambda: q.from_lunar(2 ** 70, 1, 1), ValueError, "outside 1900-2100"),  # saturates, never wraps
    (lambda: q.from_lunar(2017, 13, 1), ValueError, "not 1..12"),
    (lambda: q.from_lunar(2017, 1, 1, leap=2), ValueError, "leap must be"),
    (lambda: q.from_lunar(2017.0, 6, 1), TypeError, "year must be an int"),
    (lambda: q.LunarDate(2017, 6, None), TypeError, "day must be an int"),
    (lambda: q.to_lunar(D(1900, 1, 30)), ValueError, "outside the lunar calendar"),
    (lambda: q.to_lunar(np.datetime64("NaT")), ValueError, "NaT"),
    (lambda: q.to_lunar(pd.NaT), ValueError, "NaT"),
    (lambda: q.solar_terms(1899), ValueError, "1900-2100"),
    (lambda: q.festivals(2101), ValueError, "1900-2100"),
    (lambda: q.pillars(DT(1900, 2, 4, 13, 51, 29)), ValueError, "立春 of 1900"),
    (lambda: q.pillars(DT(2020, 1, 1), zi="midnight"), ValueError, "'late' or 'early'"),
    (lambda: q.pillars(D(2020, 1, 1)), TypeError, "takes a datetime"),
    (lambda: q.is_workday(D(2003, 12, 31)), ValueError, "2004-2026"),
    (lambda: q.workdays(D(2026, 12, 1), D(2027, 1, 2)), ValueError, "does not cover"),
    (lambda: q.to_lunar_array(["2017-07-23"]), TypeError, "dates are text"),
    (lambda: q.to_lunar_array(np.array([42939])), TypeError, "must be datetime64"),
    (lambda: q.to_lunar_array([D(2017, 7, 23), "2017-07-24"]), TypeError, "not str"),
    (lambda: q.from_lunar_array([2017.0], [6], [1]), TypeError, "year must be integers"),
])
def test_errors(call: object, error: type, message: str) -> None:
    with pytest.raises(error, match=message):
        call()  # type: ignore[operator]


def test_lunar_date_value_semantics() -> None:
    a, leap, b = q.LunarDate(2017, 6, 29), q.LunarDate(2017, 6, 1, True), q.LunarDate(2017, 7, 1)
    assert a < leap < b and sorted([b, leap, a]) == [a, leap, b]  # the leap month follows month 6
    assert pickle.loads(pickle.dumps(leap)) == leap and len({leap, q.LunarDate(2017, 6, 1, 1)}) == 1
    assert leap != (2017, 6, 1, True)
    with pytest.raises(AttributeError):
        leap.day = 2  # type: ignore[misc]


def test_array_masks_shapes_and_broadcasting() -> None:
    days = np.array([["2017-07-23", "NaT", "1900-01-30"], ["1900-01-31", "2101-01-28", "2101-01-29"]], "M8[D]")
    r = q.to_lunar_array(days)
    assert r.valid.tolist() == [[True, False, False], [True, True, False]]
    assert r.year.tolist() == [[2017, 0, 0], [1900, 2100, 0]] and r.leap.tolist()[0] == [True, False, False]
    facts = q.day_facts_array(np.array(["1899-06-01", "NaT", "2017-07-23"], "M8[D]"))
    assert facts["year"].tolist() == [1899, 0, 2017] and facts["lunar_year"].tolist() == [0, 0, 2017]
    assert facts["flags"].tolist() == [q.NO_LUNAR, 0, 0] and facts["holiday_status"].tolist() == [-1, -1, 0]
    # Finer units floor to the day; lists of dates and None read like the scalars.
    fine = np.array(["1969-12-31T23:59:59.999", "1970-01-01T00:00"], "M8[ms]")
    assert q.to_lunar_array(fine).day.tolist() == q.to_lunar_array([D(1969, 12, 31), D(1970, 1, 1)]).day.tolist()
    assert q.to_lunar_array([D(2017, 7, 23), None, pd.NaT]).valid.tolist() == [True, False, False]
    assert q.to_lunar_array(np.array([], "M8[D]")).year.shape == (0,)
    # Valid, leap, day 30 of a 29-day month, a year that would wrap to 2017 in
    # int32, a leap flag of 2, month 13, years one beyond each end.
    got = q.from_lunar_array([2017, 2017, 2017, 2 ** 32 + 2017, 2017, 2017, 1899, 2101], [6, 6, 6, 6, 6, 13, 12, 1],
                             [1, 1, 30, 1, 1, 1, 1, 1], [0, 1, 0, 0, 2, 0, 0, 0])
    assert got.dtype == np.dtype("M8[D]") and got.astype(str).tolist() == ["2017-06-24", "2017-07-23"] + ["NaT"] * 6
    # Broadcasting: every day of 闰六月 2017.
    month = q.from_lunar_array(2017, 6, np.arange(1, 31), leap=True)
    assert month[0] == np.datetime64("2017-07-23") and not np.isnat(month).any()


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
    df = pd.DataFrame({"date": pd.to_datetime(["2017-07-23 23:00", None, "1899-01-01"]), "x": [1, 2, 3]})
    out = q.add_lunar_columns(df)
    assert list(out.columns) == ["date", "x", "lunar_year", "lunar_month", "lunar_day", "lunar_leap"]
    assert out["lunar_year"].dtype == "Int32" and out["lunar_leap"].dtype == "boolean"
    assert out.iloc[0, 2:].tolist() == [2017, 6, 1, True] and out.iloc[1:, 2:].isna().all().all()
    assert "lunar_year" not in df
    # A tz-aware column counts by its local dates: 2017-07-22 23:00 in UTC is the 23rd in UTC+8.
    aware = pd.DataFrame({"when": pd.to_datetime(["2017-07-22 23:00"]).tz_localize("UTC").tz_convert("Asia/Shanghai")})
    assert q.add_lunar_columns(aware, "when", prefix="l_")["l_day"].tolist() == [1]
