"""Agreement with python3-lunardate, an independent table (from the `lunar`
program of 1988-2001), on every day it covers: 1900-01-31 .. 2100-02-08,
lunar 1900 .. 2099. (Past its last year it does not stop but keeps counting
in lunar 2099, so the comparison ends there.)

The tables differ in seven months, each one month starting a day apart. The
new moons (computed with libnova's ELP 2000-82B Moon and VSOP87 Sun,
Espenak-Meeus Delta T) say why:

- 1933-07 and 1978-09: the new moon falls 4 and 10 minutes after midnight in
  UTC+8 (1933-07-23 00:04, 1978-09-03 00:10). The month starts on that day,
  as here; lunardate starts it the day before, as a meridian west of 120°E
  (Beijing's local time) would.
- 1954-11 and 1956-12: the new moon falls well inside the day (1954-11-25
  20:31, 1956-12-02 16:14 UTC+8), where this library starts the month;
  lunardate starts it a day late, an error of its table.
- 2057-09, 2089-09 and 2097-08: the new moon falls within three minutes
  before midnight (2057-09-28 23:59, 2089-09-04 23:57, 2097-08-07 23:59
  UTC+8), closer than Delta T that far ahead is known. This library follows
  the published calendar, which starts these months the next day; lunardate
  starts them on the day of the computed new moon.
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


def test_agrees_with_lunardate_on_every_day_it_covers() -> None:
    end = q.FIRST_LUNAR_DATE + dt.timedelta(days=sum(lunardate.yearDays))
    assert end == dt.date(2100, 2, 9) == q.from_lunar(2100, 1, 1)
    days = np.arange(np.datetime64(q.FIRST_LUNAR_DATE), np.datetime64(end))
    r = q.to_lunar_array(days)
    ours = zip(r.year.tolist(), r.month.tolist(), r.day.tolist(), r.leap.tolist())
    differ = []
    for day, mine in zip(days.tolist(), ours):
        theirs = lunardate.LunarDate.fromSolarDate(day.year, day.month, day.day)
        if mine != (theirs.year, theirs.month, theirs.day, theirs.isLeapMonth):
            differ.append(day)
    expected = [d for first, last in DIFFERENT_MONTHS
                for d in np.arange(np.datetime64(first), np.datetime64(last) + 1).tolist()]
    assert differ == expected
