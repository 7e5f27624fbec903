"""The questions every surface answers alike (tests/contract/questions.tsv),
answered with the public API: the same answer, or a ValueError carrying the
library's message."""
import datetime as dt
from pathlib import Path
from typing import Callable, Dict

import pytest

import qel_calendar as q

QUESTIONS = Path(__file__).resolve().parents[2] / "tests" / "contract" / "questions.tsv"
LINES = [line.split("\t") for line in QUESTIONS.read_text(encoding="utf-8").splitlines()
         if line.strip() and not line.startswith("#")]


def lunar_of(text: str) -> q.LunarDate:  # "2017-6-1 leap"
    y, m, d = map(int, text.split()[0].split("-"))
    return q.LunarDate(y, m, d, text.endswith(" leap"))


def lunar_text(d: q.LunarDate) -> str:
    return f"{d.year}-{d.month}-{d.day}" + (" leap" if d.leap else "")


def lunar(text: str) -> str:
    y, m, d = map(int, text.split("-"))
    try:
        day = dt.date(y, m, d)
    except ValueError:  # no datetime.date holds it: the fields
        return lunar_text(q.to_lunar_ymd(y, m, d))
    return lunar_text(q.to_lunar(day))


def solar(text: str) -> str:
    y, m, d = map(int, text.split()[0].split("-"))
    return q.from_lunar(y, m, d, leap=text.endswith(" leap")).isoformat()


def festival(text: str) -> str:
    year, key = text.split()
    return " ".join(f.date.isoformat() for f in q.festivals(int(year)) if f.key == key) or "-"


def pillars(text: str) -> str:
    moment, zi = text.split()
    try:
        when = dt.datetime.fromisoformat(moment)
    except ValueError:  # 24:00, 02-30: the fields
        fields = [int(x) for x in moment.replace("T", "-").replace(":", "-").split("-")]
        return str(q.pillars_ymd(*fields, zi=zi))
    return str(q.pillars(when, zi=zi))


def step(add: Callable[[q.LunarDate, int], q.LunarDate]) -> Callable[[str], str]:
    return lambda text: lunar_text(add(lunar_of(text.rsplit(" ", 1)[0]), int(text.rsplit(" ", 1)[1])))


ANSWER: Dict[str, Callable[[str], str]] = {
    "lunar": lunar,
    "solar": solar,
    "festival": festival,
    "festival_of_lunar_year": lambda t: q.festival_date(t.split()[1], int(t.split()[0])).isoformat(),
    "pillars": pillars,
    "add_months": step(q.add_lunar_months),
    "add_years": step(q.add_lunar_years),
    "add_workdays": lambda t: q.add_workdays(dt.date.fromisoformat(t.split()[0]), int(t.split()[1])).isoformat(),
}


@pytest.mark.parametrize("kind, question, answer", LINES, ids=["\t".join(line[:2]) for line in LINES])
def test_question(kind: str, question: str, answer: str) -> None:
    if answer.startswith("! "):
        with pytest.raises(ValueError) as e:
            ANSWER[kind](question)
        assert answer[2:] in str(e.value)
    else:
        assert ANSWER[kind](question) == answer

