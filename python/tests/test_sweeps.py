"""Every day and every lunar date of 1900-2100: the scalar calls, the array
calls and the separate C paths behind them (lunar conversion, day facts,
festival dates, term instants) must tell the same story."""
import datetime as dt

import numpy as np

import qel_calendar as q

DAYS = np.arange(np.datetime64("1900-01-01"), np.datetime64("2101-01-29"))  # to the table's last day


def test_to_lunar_scalar_and_array_agree_on_every_day() -> None:
    r = q.to_lunar_array(DAYS)
    assert not r.valid[:30].any() and r.valid[30:].all()  # the table opens on 1900-01-31
    assert r.year[:30].tolist() == [0] * 30
    want = list(zip(r.year.tolist(), r.month.tolist(), r.day.tolist(), r.leap.tolist()))
    for day, w, ok in zip(DAYS.tolist(), want, r.valid.tolist()):
        if ok:
            got = q.to_lunar(day)
            assert (got.year, got.month, got.day, got.leap) == w, day
        else:
            try:
                q.to_lunar(day)
            except ValueError:
                continue
            raise AssertionError(f"{day}: no ValueError")


def test_from_lunar_over_every_field_combination() -> None:
    # Years one beyond each end, months 0..13, days 0..31, both leap flags:
    # the array call and the scalar call agree everywhere, and the dates that
    # exist are exactly the days of the table, each once.
    y, m, d, leap = (a.ravel() for a in np.meshgrid(np.arange(1899, 2102), np.arange(14), np.arange(32),
                                                    np.arange(2), indexing="ij"))
    days = q.from_lunar_array(y, m, d, leap)
    for args, got in zip(zip(y.tolist(), m.tolist(), d.tolist(), leap.tolist()), days.tolist()):
        try:
            want = q.from_lunar(*args)
        except ValueError:
            want = None
        assert got == want, args
    ok = ~np.isnat(days)
    assert np.array_equal(np.sort(days[ok]), DAYS[30:])
    back = q.to_lunar_array(days[ok])
    assert np.array_equal(np.stack([back.year, back.month, back.day, back.leap]),
                          np.stack([y[ok], m[ok], d[ok], leap[ok]]))


def test_day_facts_against_datetime_and_the_other_paths() -> None:
    f = q.day_facts_array(DAYS)
    lunar = q.to_lunar_array(DAYS)
    dates = DAYS.tolist()
    assert f["year"].tolist() == [x.year for x in dates]
    assert f["weekday"].tolist() == [x.isoweekday() for x in dates]
    assert f["day_of_year"].tolist() == [x.timetuple().tm_yday for x in dates]
    assert np.array_equal(f["lunar_year"], lunar.year) and np.array_equal(f["lunar_day"], lunar.day)
    assert np.array_equal(f["lunar_leap"] == 1, lunar.leap)
    assert np.array_equal((f["flags"] & q.NO_LUNAR) == 0, lunar.valid)
    assert np.array_equal(np.diff(f["day_cycle"]) % 60, np.ones(len(DAYS) - 1))

    # Terms: the day and instant of each of the 4,824 terms, as solar_terms gives them.
    has = f["term"] >= 0
    from_facts = set(zip(DAYS[has].tolist(), f["term"][has].tolist(), f["term_instant"][has].tolist()))
    from_terms = {(t.instant.date(), t.number, int(t.instant.timestamp()))
                  for y in range(1900, 2101) for t in q.solar_terms(y)}
    assert from_facts == from_terms and len(from_terms) == 4824

    # Festivals: the bits of each day against festivals(year).
    marked = {(day, i) for day, bits in zip(dates, f["festivals"].tolist())
              for i in range(len(q.FESTIVALS)) if bits >> i & 1}
    assert marked == {(x.date, x.number) for y in range(1900, 2101) for x in q.festivals(y)}

    # The scalar on a sample of days, as a whole.
    for day in dates[::997]:
        facts = q.day_facts(day)
        assert facts.date == day and facts.day_cycle == q.CYCLE[f["day_cycle"][(day - dates[0]).days]]
        assert facts.lunar == (q.to_lunar(day) if day >= q.FIRST_LUNAR_DATE else None)
