"""Builds qel_calendar for Python: the pybind11 binding and the qel_calendar C
sources compiled into one extension module, so the wheel needs nothing else
installed (a Dask worker gets the whole library with it).

    python3 -m pip install ./python          # pip fetches the build requirements
    /usr/bin/python3 -m pip install --no-build-isolation ./python   # no download

pyproject.toml lists the build requirements (setuptools, wheel, pybind11, and
numpy for its datetime64 header); without build isolation they must be
installed already, e.g. Debian's python3-setuptools, python3-wheel,
python3-pybind11 and python3-numpy.
"""
import os
import re
import shutil
import sys
from pathlib import Path

try:
    import numpy
    from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
except ImportError as e:  # only without build isolation: pip installs them otherwise
    missing = (e.name or "a build requirement").split(".")[0]
    sys.exit(f"qel_calendar needs {missing} to build, and it is not installed. pip fetches the build "
             "requirements itself unless --no-build-isolation is given; with that flag install them first: "
             "apt-get install python3-pybind11 python3-numpy (and, in a virtual environment, create it with "
             "--system-site-packages), or pip install setuptools wheel pybind11 numpy.")
from setuptools import setup
from setuptools.command.build_clib import build_clib

here = Path(__file__).resolve().parent
root = here.parent  # the repository: include/ and src/ of the C library

# The include folders are the repository's include/ and src/, and src/core/
# (the header-only code both calendar libraries share) where the tree has it.
calendar = root / "src" / "calendar"
include_dirs = [os.path.relpath(d, here) for d in (root / "include", root / "src", root / "src" / "core")
                if d.is_dir()]
# The one version of every package, written by scripts/set-version.
version = re.search(r'#define QEL_CALENDAR_VERSION_STRING "([^"]+)"',
                    (root / "include" / "qel_calendar_version.h").read_text()).group(1)


def listed(name):
    """The lines of src/calendar/<name>, without comments and blank lines."""
    lines = (line.strip() for line in (calendar / name).read_text().splitlines())
    return [line for line in lines if line and not line.startswith("#")]


# qel_calendar's sources and flags as every build of it has them (sources.txt,
# flags.txt: no exceptions, no RTTI, the warnings), compiled on their own
# into a static library that the extension links; the binding's code keeps
# pybind11's exceptions. Paths relative to this directory keep the object
# files under build/.
library = ("qel_calendar", {
    "sources": [os.path.relpath(calendar / name, here) for name in listed("sources.txt")],
    "include_dirs": include_dirs,
    "macros": [("QEL_CALENDAR_BUILD", None)],
    "cflags": ["-std=c++17", "-O3", "-g0"] + listed("flags.txt"),
})



class BuildLibrary(build_clib):
    def run(self):
        # The object paths climb out of the temporary folder ("../src/..."),
        # so it must exist before the first compile.
        self.mkpath(self.build_temp)
        super().run()


link_args = []
if sys.platform.startswith("linux"):
    # Export PyInit__core only: the library's qel_* symbols stay inside, so a
    # libqel_calendar.so loaded in the same process can never interpose.
    link_args = ["-Wl,--version-script=" + os.path.relpath(here / "src" / "core.map", here)]

core = Pybind11Extension(
    "qel_calendar._core",
    ["src/core.cpp"],
    include_dirs=include_dirs + [numpy.get_include()],
    define_macros=[("QEL_CALENDAR_BUILD", None)],
    extra_compile_args=["-O3", "-g0"],
    extra_link_args=link_args,
    cxx_std=17,
)

# Two compile jobs at most unless NPY_NUM_BUILD_JOBS says otherwise.
ParallelCompile("NPY_NUM_BUILD_JOBS", default=2).install()

# Build output stays under build/, the egg-info too, and the licence: the
# repository's LICENSE, copied so the wheel carries it in its .dist-info.
(here / "build").mkdir(exist_ok=True)
shutil.copyfile(root / "LICENSE", here / "build" / "LICENSE")

setup(
    name="qel_calendar",
    version=version,
    description="The Chinese lunisolar calendar, exact and vectorized over NumPy and pandas",
    long_description=(here / "README.md").read_text(encoding="utf-8"),
    long_description_content_type="text/markdown",
    license="MIT",
    license_files=["build/LICENSE"],
    classifiers=["License :: OSI Approved :: MIT License", "Programming Language :: Python :: 3",
                 "Programming Language :: C++", "Typing :: Typed"],
    packages=["qel_calendar"],
    package_data={"qel_calendar": ["py.typed", "*.pyi"]},
    libraries=[library],
    cmdclass={"build_clib": BuildLibrary},
    ext_modules=[core],
    install_requires=["numpy"],
    extras_require={"pandas": ["pandas"], "dask": ["dask[dataframe]", "distributed"]},
    python_requires=">=3.8",
    zip_safe=False,
    options={"egg_info": {"egg_base": "build"}},
)
