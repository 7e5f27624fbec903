"""The type stubs against the compiled module (mypy's stubtest), the
package under mypy --strict, and calls as a user writes them under
mypy --strict, when Debian's mypy is installed."""
import os
import subprocess
import sys
from pathlib import Path

import pytest

import qel_calendar

pytest.importorskip("mypy")
CONFIG = str(Path(__file__).resolve().parents[1] / "pyproject.toml")
PACKAGE = Path(qel_calendar.__file__).parent


@pytest.mark.parametrize("command", [
    ["-m", "mypy.stubtest", "--mypy-config-file", CONFIG, "qel_calendar._core"],
    ["-m", "mypy", "--config-file", CONFIG, "--cache-dir", os.devnull, "-p", "qel_calendar"],
    # Calls as the docstrings show them pass a user's mypy --strict.
    ["-m", "mypy", "--strict", "--cache-dir", os.devnull, "-c", "\n".join([
        "import datetime as dt, numpy as np, qel_calendar as q",
        "r: q.LunarArrays = q.to_lunar_array([dt.date(2017, 7, 23), None, dt.datetime(2017, 7, 24)])",
        "f = q.day_facts_array([np.datetime64('2017-07-23')]); d: dt.date = q.add_workdays(dt.date(2025, 9, 26), 1)",
        "w = q.add_workdays_array(np.array(['2025-09-26'], 'M8[D]'), [1, 2]); n: int = q.leap_month(2017)",
        "e: dt.date = q.festival_date('除夕', 2024); x = q.day_facts(np.datetime64('2017-07-23')).lunar",
        "k: q.LunarDate = q.to_lunar(dt.date(1985, 1, 21), calendar='vietnamese'); c: str = k.calendar",
        "i: q.MonthInfo = q.month_info(2057, 9, calendar='korean'); s: str = i.source"])],
])
def test_mypy(command: list) -> None:
    env = dict(os.environ, PYTHONPATH=os.pathsep.join([str(PACKAGE.parent), os.environ.get("PYTHONPATH", "")]))
    r = subprocess.run([sys.executable, *command], cwd=PACKAGE.parent, env=env, capture_output=True, text=True)
    assert r.returncode == 0, r.stdout + r.stderr
