"""Every day of the lunar calendars and 30 beyond each end, once through each
path of the binding in each calendar: the array calls against the scalar
calls (other entry points into the C library); and every solar term of the
covered years through the day records against solar_terms. The library's
own tests compare its tables with independent engines.
"""
import datetime as dt

import numpy as np
import pytest

import qel_calendar as q

DAYS = np.arange(np.datetime64(q.FIRST_LUNAR_DATE) - 30, np.datetime64(q.LAST_LUNAR_DATE) + 31)


@pytest.mark.parametrize("calendar", q.CALENDARS)
def test_every_day_scalar_and_array(calendar: str) -> None:
    r, facts = q.to_lunar_array(DAYS, calendar), q.day_facts_array(DAYS, calendar=calendar)
    assert r.valid.tolist() == [False] * 30 + [True] * (len(DAYS) - 60) + [False] * 30
    for day, *mine, valid in zip(DAYS.tolist(), r.year.tolist(), r.month.tolist(), r.day.tolist(), r.leap.tolist(),
                                 r.valid.tolist()):
        if not valid:
            with pytest.raises(ValueError):
                q.to_lunar(day, calendar)
            continue
        got = q.to_lunar(day, calendar=calendar)
        assert [got.year, got.month, got.day, got.leap] == mine and got.to_date() == day, day
    # The day records carry the same lunar fields, and each day's weekday;
    # the scalar records on every 13th day.
    for field in ("year", "month", "day", "leap"):
        assert np.array_equal(facts["lunar_" + field], getattr(r, field)), field
    assert np.array_equal(facts["weekday"], (DAYS.astype(np.int64) + 3) % 7 + 1)
    for day in DAYS[30:-30:13].tolist():
        assert q.day_facts(day, calendar=calendar).lunar == q.to_lunar(day, calendar), day
    # leap_month of each lunar year against the records' field; the lunar
    # fields back to their days through the array call.
    years = range(r.year[r.valid].min(), r.year.max() + 1)
    leap_months = np.array([q.leap_month(y, calendar) for y in years])
    assert np.array_equal(leap_months[r.year[r.valid] - years[0]], facts["lunar_leap_month"][r.valid])
    back = q.from_lunar_array(r.year, r.month, r.day, r.leap, calendar=calendar)
    assert np.array_equal(back[r.valid], DAYS[r.valid]) and np.isnat(back[~r.valid]).all()


def test_terms_in_day_records() -> None:
    # Each term of the covered years: its day and instant in the day records
    # as solar_terms gives them (int64 seconds, before 1901 and past 2038 too).
    terms = q.ranges()["terms"]
    facts = q.day_facts_array(np.arange(np.datetime64(f"{terms.first_year}-01-01"),
                                        np.datetime64(f"{terms.last_year + 1}-01-01")))
    has = facts["term"] >= 0
    got = set(zip(facts["serial"][has].tolist(), facts["term"][has].tolist(), facts["term_instant"][has].tolist()))
    want = {((t.instant.date() - dt.date(1899, 12, 30)).days, t.number, int(t.instant.timestamp()))
            for y in range(terms.first_year, terms.last_year + 1) for t in q.solar_terms(y)}
    assert got == want and len(want) == 24 * (terms.last_year - terms.first_year + 1)
