"""Every day of 1900-01-01 .. 2101-01-28 once through each path of the
binding: the array calls against the scalar calls (other entry points into
the C library), and both against python3-lunardate, an independent table,
on every day it covers: 1900-01-31 .. 2100-02-08 (lunar 1900 .. 2099).

The tables differ in seven months, each starting a day apart; the new moons
(libnova: ELP 2000-82B, VSOP87, Espenak-Meeus Delta T, in UTC+8) say why.
1933-07, 1978-09: minutes after midnight (07-23 00:04, 09-03 00:10), so the
month starts that day; lunardate starts it a day early, as west of 120°E.
1954-11, 1956-12: well inside the day (11-25 20:31, 12-02 16:14); lunardate
is a day late, an error of its table. 2057-09, 2089-09, 2097-08: within three
minutes before midnight, inside the uncertainty of Delta T that far ahead;
the published calendar starts them the next day, lunardate does not.
"""
import datetime as dt

import numpy as np
import pytest

import qel_calendar as q

lunardate = pytest.importorskip("lunardate")

# (first, last) day of each month where the tables differ.
DIFFERENT_MONTHS = [
    ("1933-07-22", "1933-08-20"), ("1954-11-25", "1954-12-24"), ("1956-12-02", "1956-12-31"),
    ("1978-09-02", "1978-10-01"), ("2057-09-28", "2057-10-27"), ("2089-09-04", "2089-10-03"),
    ("2097-08-07", "2097-09-05"),
]
# From 30 days before the lunar table opens (1900-01-31) to its last day.
DAYS = np.arange(np.datetime64("1900-01-01"), np.datetime64("2101-01-29"))


def test_every_day_scalar_array_and_lunardate() -> None:
    end = q.FIRST_LUNAR_DATE + dt.timedelta(days=sum(lunardate.yearDays))
    assert end == dt.date(2100, 2, 9) == q.from_lunar(2100, 1, 1)
    r, facts = q.to_lunar_array(DAYS), q.day_facts_array(DAYS)
    assert r.valid.tolist() == [False] * 30 + [True] * (len(DAYS) - 30) and not r.year[:30].any()
    differ = []
    for day, *mine in zip(DAYS.tolist(), r.year.tolist(), r.month.tolist(), r.day.tolist(), r.leap.tolist()):
        if day < q.FIRST_LUNAR_DATE:
            with pytest.raises(ValueError):
                q.to_lunar(day)
            continue
        got = q.to_lunar(day)
        assert [got.year, got.month, got.day, got.leap] == mine and got.to_date() == day, day
        facts_of_day = q.day_facts(day)
        assert (facts_of_day.lunar, facts_of_day.weekday) == (got, day.isoweekday()), day
        if day < end:
            theirs = lunardate.LunarDate.fromSolarDate(day.year, day.month, day.day)
            if mine != [theirs.year, theirs.month, theirs.day, theirs.isLeapMonth]:
                differ.append(day)
    assert differ == [d for first, last in DIFFERENT_MONTHS
                      for d in np.arange(np.datetime64(first), np.datetime64(last) + 1).tolist()]

    # leap_month of each lunar year against the day records' field, and
    # against lunardate's table for the years it has.
    leap_months = np.array([q.leap_month(y) for y in range(1900, 2101)])
    assert np.array_equal(leap_months[r.year[r.valid] - 1900], facts["lunar_leap_month"][r.valid])
    assert leap_months[:200].tolist() == [info % 16 for info in lunardate.yearInfos[:200]]
    # The lunar fields go back to their days through the array call.
    back = q.from_lunar_array(r.year, r.month, r.day, r.leap)
    assert np.array_equal(back[r.valid], DAYS[r.valid]) and np.isnat(back[~r.valid]).all()
    # Each of the 4,824 terms of 1900-2100: its day and instant in the day
    # records as solar_terms gives them (int64 seconds, past 2038 too).
    has = facts["term"] >= 0
    assert set(zip(DAYS[has].tolist(), facts["term"][has].tolist(), facts["term_instant"][has].tolist())) == {
        (t.instant.date(), t.number, int(t.instant.timestamp())) for y in range(1900, 2101) for t in q.solar_terms(y)}
    assert has.sum() == 4824
