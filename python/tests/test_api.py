"""The Python surface: known answers, accepted and refused types, errors,
masks, threads and the pandas helper."""
import datetime as dt
import pickle
import threading

import numpy as np
import pandas as pd
import pytest

import qel_calendar as q

D = dt.date
UTC = dt.timezone.utc


def test_known_answers() -> None:
    lunar = q.to_lunar(D(2017, 7, 23))
    assert lunar == q.LunarDate(2017, 6, 1, leap=True)
    assert (str(lunar), repr(lunar)) == ("二〇一七年闰六月初一", "LunarDate(2017, 6, 1, leap=True)")
    assert str(q.LunarDate(2024, 12, 29)) == "二〇二四年腊月廿九"
    assert str(q.LunarDate(2017, 6, 30, True)) == "二〇一七年闰六月三十"
    assert lunar.to_date() == q.from_lunar(2017, 6, 1, True) == D(2017, 7, 23)
    facts = q.day_facts(D(2017, 7, 23))
    assert (facts.year_cycle, facts.animal, facts.day_cycle, facts.lunar_leap_month) == ("丁酉", "鸡", "辛亥", 6)
    minor_heat, major_heat = q.solar_terms(2017)[12:14]
    assert (minor_heat.name, minor_heat.instant.strftime("%m-%d %H:%M")) == ("小暑", "07-07 05:50")
    assert (major_heat.key, major_heat.instant.strftime("%m-%d %H:%M %Z")) == ("major-heat", "07-22 23:15 UTC+8")
    eve = [f for f in q.festivals(2024) if f.key == "new-years-eve"]
    assert eve[0].date == D(2025, 1, 28) and q.festivals(2024)[-1] == eve[0]
    assert str(q.pillars(dt.datetime(2026, 12, 7, 6, 0))) == "丙午 己亥 乙卯 己卯"
    assert q.pillars(dt.datetime(2026, 12, 6, 22, 0, tzinfo=UTC)) == q.pillars(dt.datetime(2026, 12, 7, 6, 0))
    # 23:30: the late 子 hour keeps the day's pillar, the early one takes the next day's.
    late, early = (q.pillars(dt.datetime(2026, 12, 7, 23, 30), zi=z) for z in ("late", "early"))
    assert late.day == "乙卯" and early.day == "丙辰" and late.hour == early.hour
    assert q.holiday_years() == (2004, 2026)
    assert q.day_facts(D(2025, 10, 6)).holiday == "中秋节、国庆节"
    assert [q.is_workday(D(2025, 9, d)) for d in (27, 28, 29)] == [False, True, True]  # 28th: 班
    assert q.workdays(D(2025, 9, 1), D(2025, 11, 1)) == 41 == -q.workdays(D(2025, 11, 1), D(2025, 9, 1))


@pytest.mark.parametrize("value", [D(2017, 7, 23), dt.datetime(2017, 7, 23, 23, 59, tzinfo=UTC),
                                   np.datetime64("2017-07-23"), np.datetime64("2017-07-23T23:59:59", "s"),
                                   np.datetime64("2017-07-23T12:00", "ns"), pd.Timestamp("2017-07-23 08:00")])
def test_date_types_accepted(value: object) -> None:
    assert q.to_lunar(value) == q.LunarDate(2017, 6, 1, True)
    assert q.day_facts(value).date == D(2017, 7, 23)


@pytest.mark.parametrize("call", [q.to_lunar, q.day_facts, q.is_workday, lambda v: q.workdays(v, D(2020, 1, 1)),
                                  q.pillars])
@pytest.mark.parametrize("value", ["2017-07-23", 42939, 1.5, None, (2017, 7, 23)])
def test_other_types_refused(call: object, value: object) -> None:
    with pytest.raises(TypeError):
        call(value)  # type: ignore[operator]


@pytest.mark.parametrize("call, message", [
    (lambda: q.from_lunar(2017, 6, 30), "has 29 days"),
    (lambda: q.from_lunar(2023, 6, 1, leap=True), "leap month follows month 2"),
    (lambda: q.LunarDate(2024, 1, 1, leap=True), "leap month does not exist"),
    (lambda: q.from_lunar(2101, 1, 1), "outside 1900-2100"),
    (lambda: q.from_lunar(2 ** 70, 1, 1), "outside 1900-2100"),
    (lambda: q.from_lunar(2017, 13, 1), "not 1..12"),
    (lambda: q.from_lunar(2017, 1, 1, leap=2), "leap must be"),
    (lambda: q.to_lunar(D(1900, 1, 30)), "outside the lunar calendar"),
    (lambda: q.to_lunar(np.datetime64("NaT")), "NaT"),
    (lambda: q.to_lunar(pd.NaT), "NaT"),
    (lambda: q.solar_terms(1899), "1900-2100"),
    (lambda: q.pillars(dt.datetime(1900, 2, 4, 13, 51, 29)), "立春 of 1900"),
    (lambda: q.pillars(dt.datetime(2020, 1, 1), zi="midnight"), "'late' or 'early'"),
    (lambda: q.is_workday(D(2003, 12, 31)), "2004-2026"),
    (lambda: q.workdays(D(2026, 12, 1), D(2027, 1, 2)), "does not cover"),
])
def test_value_errors(call: object, message: str) -> None:
    with pytest.raises(ValueError, match=message):
        call()  # type: ignore[operator]


@pytest.mark.parametrize("call", [lambda: q.from_lunar(2017.0, 6, 1), lambda: q.from_lunar("2017", 6, 1),
                                  lambda: q.LunarDate(2017, 6, None), lambda: q.pillars(D(2020, 1, 1))])
def test_type_errors(call: object) -> None:
    with pytest.raises(TypeError):
        call()  # type: ignore[operator]


def test_lunar_date_value_semantics() -> None:
    a, leap, b = q.LunarDate(2017, 6, 29), q.LunarDate(2017, 6, 1, True), q.LunarDate(2017, 7, 1)
    assert a < leap < b and sorted([b, leap, a]) == [a, leap, b]  # the leap month follows month 6
    assert pickle.loads(pickle.dumps(leap)) == leap and len({leap, q.LunarDate(2017, 6, 1, 1)}) == 1
    assert leap != (2017, 6, 1, True)
    with pytest.raises(AttributeError):
        leap.day = 2  # type: ignore[misc]


def test_array_masks_and_shapes() -> None:
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
    for bad in (["2017-07-23"], np.array([42939]), [D(2017, 7, 23), "2017-07-24"]):
        with pytest.raises(TypeError):
            q.to_lunar_array(bad)


def test_from_lunar_array_masks() -> None:
    got = q.from_lunar_array([2017, 2017, 2017, 2 ** 32 + 2017, 2017], [6, 6, 6, 6, 6], [1, 1, 30, 1, 1],
                             [0, 1, 0, 0, 2])
    assert got.dtype == np.dtype("M8[D]")
    assert got.astype(str).tolist() == ["2017-06-24", "2017-07-23", "NaT", "NaT", "NaT"]
    # Broadcasting: every day of 闰六月 2017.
    month = q.from_lunar_array(2017, 6, np.arange(1, 31), leap=True)
    assert month[0] == np.datetime64("2017-07-23") and not np.isnat(month).any()
    with pytest.raises(TypeError):
        q.from_lunar_array([2017.0], [6], [1])


def test_threads_convert_at_once() -> None:
    rng = np.random.default_rng(18)
    chunks = [rng.integers(-30000, 50000, 200_000).astype("M8[D]") for _ in range(8)]
    want = [(q.to_lunar_array(c), q.day_facts_array(c)) for c in chunks]
    got: list = [None] * len(chunks)
    start = threading.Barrier(len(chunks))

    def work(i: int) -> None:
        start.wait()
        got[i] = [(q.to_lunar_array(chunks[i]), q.day_facts_array(chunks[i])) for _ in range(3)]

    threads = [threading.Thread(target=work, args=(i,)) for i in range(len(chunks))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for w, runs in zip(want, got):
        for lunar, facts in runs:
            assert all(np.array_equal(a, b) for a, b in zip(lunar, w[0])) and np.array_equal(facts, w[1])


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
