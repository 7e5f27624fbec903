"""What the wheel carries (the MIT licence, the README as its description)
and what setup.py says when a build requirement is missing."""
import subprocess
import sys
from importlib import metadata
from pathlib import Path

import pytest

SETUP = Path(__file__).resolve().parents[1] / "setup.py"


def test_wheel_metadata() -> None:
    meta = metadata.metadata("qel_calendar")
    assert meta["License"] == "MIT" and "License :: OSI Approved :: MIT License" in meta.get_all("Classifier")
    licence = [f for f in metadata.files("qel_calendar") or [] if f.name == "LICENSE"]
    assert len(licence) == 1 and "MIT License" in licence[0].read_text()
    description = meta.get_payload()  # type: ignore[attr-defined]
    assert meta["Description-Content-Type"] == "text/markdown"
    assert "pip install ./python" in description and "--no-build-isolation" in description


@pytest.mark.parametrize("missing", ["pybind11", "numpy"])
def test_setup_names_a_missing_build_requirement(missing: str) -> None:
    # As in a plain venv with --no-build-isolation: one sentence, no traceback.
    hide = f"import sys; sys.modules[{missing!r}] = None; sys.argv = ['setup.py', '--name']; "
    r = subprocess.run([sys.executable, "-c", hide + f"exec(open({str(SETUP)!r}).read())"], cwd=SETUP.parent,
                       capture_output=True, text=True)
    assert r.returncode == 1 and "Traceback" not in r.stderr
    assert f"qel_calendar needs {missing} to build" in r.stderr and "--no-build-isolation" in r.stderr
