"""The type stubs against the compiled module (mypy's stubtest) and the
package under mypy --strict, when Debian's mypy is installed."""
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
])
def test_mypy(command: list) -> None:
    env = dict(os.environ, PYTHONPATH=os.pathsep.join([str(PACKAGE.parent), os.environ.get("PYTHONPATH", "")]))
    r = subprocess.run([sys.executable, *command], cwd=PACKAGE.parent, env=env, capture_output=True, text=True)
    assert r.returncode == 0, r.stdout + r.stderr
