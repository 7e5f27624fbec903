"""The Chinese calendar for Python: lunar dates, solar terms, the four
pillars, festivals and the PRC working days, exact, and vectorized over
NumPy, pandas and Dask. ranges() gives the days and years each covers.

Lunar dates are the Chinese calendar's unless a call is given
``calendar="korean"`` or ``calendar="vietnamese"`` (any ASCII case; 农历, 음력
and âm lịch too): the three share the rules and differ in the meridian of
their days, so a month can start a day apart (Tết 1985 is 1985-01-21, 春节
1985 is 1985-02-20). Names (stem-branches, animals, terms, festivals) are
in the language of the calendar unless ``lang=`` names another.

Scalars take ``datetime.date``, ``datetime.datetime`` (its date as written;
tzinfo is not applied) or ``numpy.datetime64``; a ``str`` is refused with
TypeError (parse it first), an impossible or uncovered date raises ValueError
whose text is the library's own (include/qel_calendar.h), after the call and
its input: ``from_lunar(2023, 2, 30): month 2 of lunar 2023 has 29 days, not 30``.

The array calls take anything NumPy reads as ``datetime64`` (any unit, floored
to the day; lists of dates, pandas Series, tz-aware ones by their local dates)
and never raise halfway: an element that is missing (NaT, None, NaN,
pandas.NA), or outside the covered days, is *masked*:

- ``to_lunar_array``: year, month, day 0 and leap False, ``valid`` False;
- ``from_lunar_array``: NaT;
- ``day_facts_array``: year 0 (outside ranges()["gregorian"], or NaT); the
  lunar fields are 0 where ``flags & NO_LUNAR``;
- ``add_lunar_columns``: <NA> in pandas' nullable Int32 and boolean columns.

The batch calls run without the GIL: threads convert in parallel.
"""
from __future__ import annotations

import datetime as _dt
from dataclasses import dataclass
import operator
from typing import TYPE_CHECKING, Any, Dict, List, NamedTuple, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

from . import _core
from ._core import LunarDate, from_lunar, to_lunar

if TYPE_CHECKING:
    import pandas as pd

__all__ = [
    "LunarDate", "to_lunar", "to_lunar_ymd", "from_lunar", "leap_month", "add_lunar_months", "add_lunar_years",
    "ranges", "Range", "month_info", "MonthInfo", "CALENDARS",
    "pillars_ymd", "day_facts", "DayFacts", "pillars", "Pillars",
    "solar_terms", "SolarTerm", "festivals", "festival_date", "Festival", "is_workday", "workdays",
    "add_workdays", "holiday_years", "to_lunar_array", "LunarArrays", "from_lunar_array", "day_facts_array",
    "add_workdays_array", "add_lunar_columns", "DAY_FACTS_DTYPE", "CYCLE", "TERMS", "FESTIVALS", "NO_LUNAR",
    "FIRST_LUNAR_DATE", "LAST_LUNAR_DATE", "CST", "DateLike", "DateArrayLike", "__version__",
]

#: A day as the scalar calls take it: datetime.date, datetime.datetime (and
#: pandas.Timestamp) or numpy.datetime64.
DateLike = Union[_dt.date, np.datetime64]
#: Days as the array calls take them: a datetime64 array, a pandas Series or
#: index, or a sequence of DateLike with None, NaN, NA or NaT where missing.
DateArrayLike = Union[npt.ArrayLike, Sequence[object]]

__version__: str = _core.VERSION

#: China Standard Time, the zone of every civil time of the calendar.
CST = _dt.timezone(_dt.timedelta(hours=8), "UTC+8")


class Range(NamedTuple):
    """What the calendar covers in one domain (qel_range): years (lunar years
    for "lunar", Gregorian otherwise), the first and last day, and the first
    and last second (Unix time; for the day domains the first second of the
    first day and the last of the last day, in UTC+8)."""

    first_year: int
    last_year: int
    first_date: _dt.date
    last_date: _dt.date
    first_instant: int
    last_instant: int


_RANGES = {name: Range(*_core.domain_range(i)) for i, name in enumerate(_core.DOMAINS)}


def ranges() -> Dict[str, Range]:
    """The covered range of each domain, as the C library reports it
    (qel_domain_range): "gregorian" (every date call), "lunar" (lunar dates),
    "terms" (solar terms and festivals), "pillars" (the four pillars) and
    "holidays" (the built-in PRC holiday table)."""
    return dict(_RANGES)


#: The days of the lunar calendars, their first and last day (ranges()["lunar"]).
FIRST_LUNAR_DATE = _RANGES["lunar"].first_date
LAST_LUNAR_DATE = _RANGES["lunar"].last_date
#: ``flags`` bit of a day outside the lunar calendars (day_facts_array).
NO_LUNAR: int = _core.DAY_NO_LUNAR
#: The record of ``day_facts_array``, field for field qel_day_facts.
DAY_FACTS_DTYPE: np.dtype[np.void] = _core.day_facts_of_days(np.zeros(0, np.int64)).dtype

_OPT_XIAONIAN_SOUTH = _core.OPT_XIAONIAN_SOUTH
_HOLIDAY_DOMAIN = _core.DOMAINS.index("holidays")
#: The calendars a ``calendar=`` argument names, in the library's order.
CALENDARS: Tuple[str, ...] = _core.CALENDARS


class _Name(NamedTuple):
    name: str  # Chinese (or the language asked for)
    english: str
    key: str


def _name(kind: int, i: int, flags: int = 0) -> Optional[str]:
    """qel_name, or None where the language's calendar does not keep it."""
    try:
        return _core.name(kind, i, flags)
    except ValueError:
        return None


_N_FESTIVALS = _core.count(_core.COUNT_FESTIVALS)
_FESTIVAL_ENGLISH = [_core.name(_core.NAME_FESTIVAL_ENGLISH, i) for i in range(_N_FESTIVALS)]
_FESTIVAL_KEYS = [_core.name(_core.NAME_FESTIVAL_KEY, i) for i in range(_N_FESTIVALS)]


class _Names(NamedTuple):
    """The names of one language: qel_name with its flag."""

    cycle: Tuple[str, ...]
    animals: Tuple[str, ...]
    terms: Tuple[_Name, ...]
    festivals: Tuple[_Name, ...]  # the English name where the language has none (Giỗ Tổ Hùng Vương in Chinese)


def _names_of(flags: int) -> _Names:
    return _Names(
        tuple(_core.name(_core.NAME_CYCLE, i, flags) for i in range(60)),
        tuple(_core.name(_core.NAME_ANIMAL, i, flags) for i in range(12)),
        tuple(_Name(_core.name(_core.NAME_TERM, i, flags), _core.name(_core.NAME_TERM_ENGLISH, i),
                    _core.name(_core.NAME_TERM_KEY, i)) for i in range(_core.count(_core.COUNT_TERMS))),
        tuple(_Name(_name(_core.NAME_FESTIVAL, i, flags) or _FESTIVAL_ENGLISH[i], _FESTIVAL_ENGLISH[i],
                    _FESTIVAL_KEYS[i]) for i in range(_N_FESTIVALS)))


#: Per calendar, the names in its language (index: the calendar's number).
_NAMES = tuple(_names_of(flags) for flags in _core.NAME_FLAGS)
#: The sixty stem-branch names, 0 = 甲子 .. 59 = 癸亥.
CYCLE: Tuple[str, ...] = _NAMES[0].cycle
_ANIMALS = _NAMES[0].animals
#: The 24 solar terms of a Gregorian year, 0 = 小寒 .. 23 = 冬至: (name, english, key).
TERMS: Tuple[_Name, ...] = _NAMES[0].terms
#: The festivals, 春节 .. 国庆节, Giỗ Tổ Hùng Vương (Vietnamese calendar only);
#: index i is bit 1 << i of day_facts_array's ``festivals``.
FESTIVALS: Tuple[_Name, ...] = _NAMES[0].festivals
_HOLIDAYS = ("",) + tuple(_core.name(_core.NAME_HOLIDAY, i) for i in range(1, _core.count(_core.COUNT_HOLIDAYS)))
_HOLIDAY_STATUS = ("ordinary", "off", "work")


def _calendar(calendar: str) -> int:
    """The number of a calendar name, as qel_calendar_of_name reads it."""
    return _core.calendar_of_name(calendar)


def _language(lang: Optional[str], calendar: int) -> _Names:
    """The names of ``lang``, by default those of the calendar's language."""
    return _NAMES[calendar if lang is None else _core.language_of_name(lang)]


def _options(calendar: int, south_xiaonian: bool) -> int:
    return _core.OPT_CALENDARS[calendar] | (_OPT_XIAONIAN_SOUTH if south_xiaonian else 0)


# ---- scalars -----------------------------------------------------------------


def to_lunar_ymd(year: int, month: int, day: int, calendar: str = "chinese") -> LunarDate:
    """The lunar date of a Gregorian date given as fields, which need not form
    a date: ValueError then says why, as for a day outside the lunar calendar
    (``to_lunar_ymd(2023, 2, 29): 2023-02 has 28 days, not 29``)."""
    return _core.to_lunar_ymd(year, month, day, _calendar(calendar))


class MonthInfo(NamedTuple):
    """A lunar month and where it comes from (qel_lunar_month_info)."""

    year: int
    month: int
    leap: bool
    days: int  #: 29 or 30
    first_date: _dt.date
    source: str  #: "published" (a published table), "computed" (from the ephemerides) or "record" (history)
    #: Any of "start_uncertain" (the new moon lies within its margin of
    #: midnight: the first day could move), "label_uncertain" (a term or new
    #: moon that close could move the leap month or the numbering),
    #: "engines_differ" (the second ephemeris disagrees) and
    #: "computation_differs" (computation disagrees; the table or the record decides).
    flags: Tuple[str, ...]


def month_info(year: int, month: int, leap: bool = False, calendar: str = "chinese") -> MonthInfo:
    """A month of a lunar year with its source and how sure its days are:
    month_info(2057, 9) is published, with a new moon a minute before
    midnight ("start_uncertain"). ValueError for a month the year does not
    have or a year outside ranges()["lunar"]."""
    y, m, is_leap, days, first, source, bits = _core.month_info(year, month, leap, _calendar(calendar), "month_info")
    return MonthInfo(y, m, is_leap, days, first, _core.SOURCES[source],
                     tuple(name for name, bit in _core.MONTH_FLAGS if bits & bit))


def add_lunar_months(date: LunarDate, n: int) -> LunarDate:
    """The lunar date ``n`` months after ``date`` (before it for n < 0), by
    the one stepping rule of qel_lunar_step (include/qel_calendar.h): months
    count in calendar order, leap months included (one month after 2017's
    六月 is 闰六月), and day 30 becomes 29 in a month of 29 days, in the
    calendar of ``date``. ValueError when the answer leaves the covered lunar
    years."""
    return _core.lunar_step(date, n, _core.UNIT_MONTH, "add_lunar_months")


def add_lunar_years(date: LunarDate, n: int) -> LunarDate:
    """The lunar date ``n`` years after ``date``, by qel_lunar_step's rule: the
    month keeps its number, a leap month stays leap only where the new year
    has the same leap month (else it is that year's ordinary month), and day
    30 becomes 29 in a month of 29 days. ValueError when the answer leaves
    the covered lunar years."""
    return _core.lunar_step(date, n, _core.UNIT_YEAR, "add_lunar_years")


class SolarTerm(NamedTuple):
    """A solar term: its number in the Gregorian year, names, and instant."""

    number: int  #: 0 = 小寒 Minor Cold .. 5 = 春分 .. 23 = 冬至 Winter Solstice
    name: str  #: Chinese, 小寒
    english: str  #: Minor Cold
    key: str  #: minor-cold
    instant: _dt.datetime  #: aware, in UTC+8, truncated to the second


class Festival(NamedTuple):
    """A festival and its day."""

    number: int  #: position in FESTIVALS
    name: str  #: Chinese, 中秋节
    english: str
    key: str  #: mid-autumn
    date: _dt.date


class Pillars(NamedTuple):
    """The four pillars (四柱, 八字) as stem-branch names; str() gives "丙午 己亥 乙卯 己卯"."""

    year: str
    month: str
    day: str
    hour: str

    def __str__(self) -> str:
        return " ".join(self)


@dataclass(frozen=True)
class DayFacts:
    """Everything the calendar says about one day."""

    date: _dt.date
    weekday: int  #: ISO, 1 = Monday .. 7 = Sunday
    day_of_year: int
    lunar: Optional[LunarDate]  #: in the calendar asked for; None outside the lunar calendar
    lunar_month_days: Optional[int]  #: 29 or 30
    lunar_leap_month: Optional[int]  #: the month the year's leap month follows, 0 for none
    year_cycle: Optional[str]  #: the lunar year's stem-branch, 丁酉 (정유, Đinh Dậu)
    animal: Optional[str]  #: the lunar year's animal, 鸡 (닭, Gà)
    day_cycle: str  #: the day's stem-branch, 辛亥
    term: Optional[SolarTerm]  #: the solar term falling on the day (in UTC+8)
    festivals: Tuple[Festival, ...]
    holiday_status: Optional[str]  #: "ordinary", "off" or "work"; None outside holiday_years()
    holiday: Optional[str]  #: the holiday of an off or work day, 春节


def day_facts(date: DateLike, south_xiaonian: bool = False, calendar: str = "chinese",
              lang: Optional[str] = None) -> DayFacts:
    """The facts of a day (any date of ranges()["gregorian"]; lunar facts,
    terms and festivals where the calendar covers them). The lunar fields
    and festivals are those of ``calendar`` (the Korean and the Vietnamese
    mark their own festivals, without the PRC's Gregorian days); the names
    are in ``lang``, by default the calendar's language (the PRC holidays
    keep their Chinese names). ``south_xiaonian`` puts 小年 on lunar 12-24,
    as in the south, instead of 12-23."""
    c = _calendar(calendar)
    names = _language(lang, c)
    (year, month, mday, weekday, day_of_year, flags, lunar_year, lunar_month, lunar_day, lunar_leap, month_days,
     leap_of_year, year_cycle, day_cycle, t, status, holiday, instant, bits) = _core.day_facts_of(
        date, _options(c, south_xiaonian))
    day = _dt.date(year, month, mday)
    term = SolarTerm(t, *names.terms[t], _dt.datetime.fromtimestamp(instant, CST)) if t >= 0 else None
    days_festivals: Tuple[Festival, ...] = ()
    if bits:
        days_festivals = tuple(Festival(i, *names.festivals[i], day) for i in range(_N_FESTIVALS) if bits >> i & 1)
    if flags & NO_LUNAR:
        return DayFacts(day, weekday, day_of_year, None, None, None, None, None, names.cycle[day_cycle], term,
                        days_festivals, _HOLIDAY_STATUS[status] if status >= 0 else None, _HOLIDAYS[holiday] or None)
    lunar = LunarDate(lunar_year, lunar_month, lunar_day, lunar_leap == 1, CALENDARS[c])
    return DayFacts(day, weekday, day_of_year, lunar, month_days, leap_of_year, names.cycle[year_cycle],
                    names.animals[year_cycle % 12], names.cycle[day_cycle], term, days_festivals,
                    _HOLIDAY_STATUS[status] if status >= 0 else None, _HOLIDAYS[holiday] or None)


def pillars(moment: _dt.datetime, zi: str = "late", lang: str = "chinese") -> Pillars:
    """The four pillars of a moment. A naive datetime is civil time in China
    (UTC+8); an aware one is converted. Mean civil time: true solar time is
    not applied. The year changes at the instant of 立春, the month at each
    节. ``zi="late"`` keeps 23:00-24:00 on the day's own day pillar;
    ``zi="early"`` gives it to the next day (either name in any ASCII case).
    ``lang="korean"`` or ``"vietnamese"`` names the pillars in that language.
    Covered: ranges()["pillars"], from the 立春 of its first year; ValueError
    outside."""
    cycle = _language(lang, 0).cycle
    if not isinstance(moment, _dt.datetime):
        raise TypeError(f"pillars() takes a datetime (the hour matters), not {type(moment).__name__}")
    try:
        if moment.tzinfo is not None and moment.utcoffset() is not None:
            instant = (moment - _dt.datetime(1970, 1, 1, tzinfo=_dt.timezone.utc)) // _dt.timedelta(seconds=1)
            p = _core.pillars_of_instant(instant, zi)
        else:
            p = _core.pillars_of_cst(moment.year, moment.month, moment.day, moment.hour, moment.minute,
                                     moment.second, zi)
    except ValueError as e:
        raise ValueError(f"pillars({moment.isoformat()}): {e}") from None
    return Pillars(*(cycle[i] for i in p))


def pillars_ymd(year: int, month: int, day: int, hour: int, minute: int = 0, second: int = 0,
                zi: str = "late") -> Pillars:
    """pillars() of a civil time in China (UTC+8) given as fields, which need
    not form a date or time: ValueError then says why
    (``pillars_ymd(2024, 2, 4, 24, 0, 0): hour 24 is not 0-23``)."""
    try:
        p = _core.pillars_of_cst(year, month, day, hour, minute, second, zi)
    except ValueError as e:
        raise ValueError(f"pillars_ymd({year}, {month}, {day}, {hour}, {minute}, {second}): {e}") from None
    return Pillars(*(CYCLE[i] for i in p))


def solar_terms(year: int, lang: str = "chinese") -> List[SolarTerm]:
    """The 24 solar terms of a Gregorian year of ranges()["terms"], 小寒
    first, with their instants (apparent Sun, to the second) in UTC+8, named
    in ``lang`` (소한, Tiểu hàn for "korean", "vietnamese")."""
    terms = _language(lang, 0).terms
    try:
        instants = [_core.term_instant(year, k) for k in range(len(TERMS))]
    except ValueError as e:
        raise ValueError(f"solar_terms({year}): {e}") from None
    return [SolarTerm(k, *terms[k], _dt.datetime.fromtimestamp(t, CST)) for k, t in enumerate(instants)]


def festivals(year: int, south_xiaonian: bool = False, calendar: str = "chinese",
              lang: Optional[str] = None) -> List[Festival]:
    """The festival days of ``calendar`` inside a Gregorian year of
    ranges()["terms"], in date order (qel_festivals_of_year): 2022 has two
    腊八 (2022-01-10 and 2022-12-30), and 除夕 of 2025 is 2025-01-28 (the
    eve of lunar 2025, 2026-02-16, is one of 2026's). A lunar festival
    before the lunar calendar's first day is not listed. Names in ``lang``,
    by default the calendar's language. festival_date() looks one festival
    up by its lunar year."""
    c = _calendar(calendar)
    names = _language(lang, c)
    try:
        days = _core.festivals_of_year(year, _options(c, south_xiaonian))
    except ValueError as e:
        raise ValueError(f"festivals({year}): {e}") from None
    return [Festival(i, *names.festivals[i], day) for i, day in days]


def festival_date(festival: Union[str, int], year: int, south_xiaonian: bool = False,
                  calendar: str = "chinese") -> _dt.date:
    """The day of one festival of ``calendar``: in the lunar year ``year``
    for the lunar festivals (festival_date("除夕", 2024) is 2025-01-28), in
    the Gregorian year for the others (清明节, 冬至, 元旦 .. 国庆节).
    ``festival`` is a key ("mid-autumn") or an English name, in any case, a
    Chinese name (元宵节 or 元宵) or an index into FESTIVALS. ValueError
    outside ranges()["terms"], or for a festival the calendar does not keep
    ("hung-kings" is the Vietnamese calendar's alone)."""
    if isinstance(festival, str):
        number = _core.festival_of_name(festival)
    else:
        number = operator.index(festival)
        if not 0 <= number < len(FESTIVALS):
            raise ValueError(f"festival numbers are 0..{len(FESTIVALS) - 1}, not {number}")
    try:
        return _core.festival_date(number, year, _options(_calendar(calendar), south_xiaonian))
    except ValueError as e:
        raise ValueError(f"festival_date({festival!r}, {year}): {e}") from None


def leap_month(year: int, calendar: str = "chinese") -> int:
    """The month that the leap month of a lunar year follows (2017: 6, its
    闰六月 after the sixth month), 0 for a year without one; ValueError
    outside ranges()["lunar"]."""
    c = _calendar(calendar)
    try:
        return _core.leap_month(year, c)
    except ValueError as e:
        raise ValueError(f"leap_month({year}): {e}") from None


def holiday_years() -> Tuple[int, int]:
    """The first and last Gregorian year of the built-in PRC holiday table."""
    first, last = _core.holiday_years()
    return first, last


def is_workday(date: DateLike) -> bool:
    """Whether a day is worked in the PRC: Monday to Friday unless a public
    holiday, or a weekend day worked in exchange (调休). ValueError outside
    holiday_years(): the schedule is published year by year, never guessed."""
    r = _core.is_workday(_core.serial_of(date, "is_workday"))
    if r < 0:
        raise ValueError(f"is_workday({date}): {_core.range_message(_HOLIDAY_DOMAIN)}")
    return r == 1


def workdays(start: DateLike, end: DateLike) -> int:
    """The working days in [start, end), as numpy.busday_count counts
    (negative when end < start). ValueError unless holiday_years() covers
    every day of the range."""
    return _core.workdays_between(_core.serial_of(start, "workdays"), _core.serial_of(end, "workdays"))


def add_workdays(date: DateLike, n: int) -> _dt.date:
    """The day ``n`` PRC working days after ``date`` (before it for n < 0);
    ``n = 0`` gives the day itself when it is a working day, else the next
    working day. So add_workdays(d, 1) is the next working day after d,
    and workdays(d, add_workdays(d, n)) == n for a working day d and n >= 0.
    ValueError when the answer lies outside holiday_years()."""
    return _core.add_workdays(date, n)


# ---- arrays --------------------------------------------------------------------


class LunarArrays(NamedTuple):
    """Lunar fields of an array of days, each array of the input's shape."""

    year: npt.NDArray[np.int32]  #: 0 where not valid
    month: npt.NDArray[np.int32]
    day: npt.NDArray[np.int32]
    leap: npt.NDArray[np.bool_]
    valid: npt.NDArray[np.bool_]  #: False for NaT and days outside the lunar calendar


def _day_counts(dates: DateArrayLike, function: str) -> Tuple[npt.NDArray[np.int64], Tuple[int, ...]]:
    """Contiguous int64 days since 1970 (NaT as INT64_MIN) and the shape."""
    if getattr(getattr(dates, "dtype", None), "tz", None) is not None:
        # pandas' tz-aware datetimes count by their local dates, as a scalar
        # datetime does; as an array that is tz_localize(None), not a
        # Timestamp object per element.
        local: Any = getattr(dates, "dt", dates)  # a Series, or an index or array
        dates = local.tz_localize(None)
    a = np.asarray(dates)
    if a.size == 0:
        days = np.zeros(0, np.int64)
    elif a.dtype.kind == "M":
        days = np.ascontiguousarray(a.astype("datetime64[D]", copy=False)).view(np.int64)
    elif a.dtype.kind == "O":
        days = _core.days_of_objects(np.ascontiguousarray(a).reshape(-1), function)
    elif a.dtype.kind in "US":
        raise TypeError("dates are text: parse them first, e.g. numpy.asarray(texts, dtype='datetime64[D]')")
    else:
        raise TypeError(f"{function}() takes datetime64 or date objects, not {a.dtype}")
    return days.reshape(-1), a.shape


def to_lunar_array(dates: DateArrayLike, calendar: str = "chinese") -> LunarArrays:
    """The lunar dates of an array of days in one call, without the GIL, in
    ``calendar``. Masked elements (NaT, outside ranges()["lunar"]) get year,
    month and day 0, leap False and valid False; nothing raises for them."""
    c = _calendar(calendar)
    days, shape = _day_counts(dates, "to_lunar_array")
    year, month, day, leap, valid = _core.lunar_of_days(days, c)
    return LunarArrays(year.reshape(shape), month.reshape(shape), day.reshape(shape), leap.reshape(shape),
                       valid.reshape(shape))


_INT32 = np.iinfo(np.int32)


def _missing(v: object) -> bool:
    return v is None or (isinstance(v, float) and v != v) or type(v).__name__ in ("NAType", "NaTType")


def _int32_field(v: npt.ArrayLike, what: str) -> npt.NDArray[np.int32]:
    """A field of from_lunar_array as int32, INT32_MIN (a value no lunar date
    has, so the C call gives NaT) where it is missing or beyond int32."""
    dtype = getattr(v, "dtype", None)
    missing = None
    if dtype is not None and not isinstance(dtype, np.dtype) and getattr(dtype, "kind", None) in ("i", "u", "b"):
        # pandas' nullable Int32, boolean and the like (add_lunar_columns
        # gives them): the values, and the mask of <NA>.
        missing = np.asarray(v.isna(), np.bool_)  # type: ignore[union-attr]
        v = v.to_numpy(dtype=dtype.numpy_dtype, na_value=0)  # type: ignore[union-attr]
    a = np.asarray(v)
    if a.dtype.kind == "O":
        # Python ints and bools with None, NaN or NA where missing.
        flat = [_INT32.min if _missing(x) else x for x in a.flat]
        if any(not isinstance(x, (int, np.integer, np.bool_)) for x in flat):
            bad = next(x for x in flat if not isinstance(x, (int, np.integer, np.bool_)))
            raise TypeError(f"{what} must be integers, not {type(bad).__name__}")
        a = np.array([x if _INT32.min <= x <= _INT32.max else _INT32.min for x in flat], np.int64).reshape(a.shape)
    elif a.dtype.kind not in "iub":
        raise TypeError(f"{what} must be integers, not {a.dtype}")
    if a.dtype.itemsize >= 4 and a.size:
        # A value beyond int32 would wrap into a real date: make it one that
        # no lunar date has (and which the C call masks) instead.
        a = np.where((a < _INT32.min) | (a > _INT32.max), _INT32.min, a)
    if missing is not None:
        a = np.where(missing, _INT32.min, a)
    return a.astype(np.int32)


def from_lunar_array(year: npt.ArrayLike, month: npt.ArrayLike, day: npt.ArrayLike,
                     leap: npt.ArrayLike = False, calendar: str = "chinese") -> npt.NDArray[np.datetime64]:
    """The Gregorian days (datetime64[D]) of lunar dates given as arrays that
    broadcast together: integers or bools, pandas' nullable Int32 and boolean
    among them (add_lunar_columns' output goes straight back). NaT where a
    field is missing (<NA>, None, NaN) or the date does not exist (a year
    outside ranges()["lunar"], day 30 of a 29-day month, a leap month the year lacks,
    a leap flag other than 0 or 1), in ``calendar``."""
    c = _calendar(calendar)
    fields = np.broadcast_arrays(*(_int32_field(v, w) for v, w in
                                   ((year, "year"), (month, "month"), (day, "day"), (leap, "leap"))))
    shape = fields[0].shape
    flat = [np.ascontiguousarray(f).reshape(-1) for f in fields]
    y, m, d, leaps = flat
    return _core.days_of_lunar(y, m, d, leaps, c).view("datetime64[D]").reshape(shape)


def day_facts_array(dates: DateArrayLike, south_xiaonian: bool = False,
                    calendar: str = "chinese") -> npt.NDArray[np.void]:
    """The facts of an array of days as a structured array of DAY_FACTS_DTYPE
    (qel_day_facts field for field: serial, year, month, day, weekday,
    day_of_year, flags, lunar_year, lunar_month, lunar_day, lunar_leap,
    lunar_month_days, lunar_leap_month, year_cycle and day_cycle as indices
    into CYCLE, term (-1 for none) and term_instant (Unix seconds),
    holiday_status (0 ordinary, 1 off, 2 work, -1 unknown), holiday, and
    festivals, a bitmask over FESTIVALS). The lunar fields and festivals
    are those of ``calendar``. Masked: year 0."""
    c = _calendar(calendar)
    days, shape = _day_counts(dates, "day_facts_array")
    return _core.day_facts_of_days(days, _options(c, south_xiaonian)).reshape(shape)


def add_workdays_array(dates: DateArrayLike, n: npt.ArrayLike) -> npt.NDArray[np.datetime64]:
    """add_workdays over arrays that broadcast together (datetime64[D]); NaT
    where the day is NaT or the answer lies outside holiday_years()."""
    days, shape = _day_counts(dates, "add_workdays_array")
    counts = np.asarray(n)
    if counts.dtype.kind not in "iu":
        raise TypeError(f"n must be integers, not {counts.dtype}")
    d, k = np.broadcast_arrays(days.reshape(shape), counts.astype(np.int64))
    out = _core.add_workdays_of_days(np.ascontiguousarray(d).reshape(-1), np.ascontiguousarray(k).reshape(-1))
    return out.view("datetime64[D]").reshape(d.shape)


def add_lunar_columns(df: "pd.DataFrame", column: str = "date", prefix: str = "lunar_",
                      calendar: str = "chinese") -> "pd.DataFrame":
    """A copy of ``df`` with the lunar date of ``df[column]`` in ``calendar``
    in four columns, ``{prefix}year``, ``month`` and ``day`` (nullable Int32)
    and ``leap`` (nullable boolean), <NA> where the day is NaT or outside the
    lunar calendar.
    A tz-aware column counts by its local dates. One call per DataFrame, so
    it is also the function to hand to Dask's ``map_partitions``."""
    import pandas as pd

    r = to_lunar_array(df[column], calendar)
    masked = ~r.valid
    return df.assign(**{
        prefix + "year": pd.arrays.IntegerArray(r.year, masked),
        prefix + "month": pd.arrays.IntegerArray(r.month, masked),
        prefix + "day": pd.arrays.IntegerArray(r.day, masked),
        prefix + "leap": pd.arrays.BooleanArray(r.leap, masked),
    })
