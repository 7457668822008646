"""Where the black-box tests find the programs (--programs, --arch, --launcher), and how much the
search draws: the same inputs on every run, or with --hypothesis-profile=sweep 20,000 new ones."""
import os
import pathlib
import shlex

import pytest
from hypothesis import HealthCheck, settings

import oracle

# No example database: nothing is written into the tree.
quiet = {"database": None, "deadline": None, "suppress_health_check": [HealthCheck.too_slow]}
settings.register_profile("ci", derandomize=True, max_examples=150, **quiet)
settings.register_profile("sweep", max_examples=20000, **quiet)
# Under an emulator (some 50 ms a run), and for inexact-flags.sh's builds.
settings.register_profile("short", settings.get_profile("ci"), max_examples=50)


def pytest_addoption(parser):
    parser.addoption("--programs", default=str(pathlib.Path(__file__).parent.parent / "build/default/bin"), help="the folder holding the programs")
    parser.addoption("--arch", help="their architecture in targets.tsv: Debian's name, triple or tuple; this machine's by default")
    parser.addoption("--launcher", default="", help="the emulator and its options, as one string")


def pytest_configure(config):
    if not config.getoption("hypothesis_profile"):
        settings.load_profile(os.environ.get("SEARCH_PROFILE") or ("short" if config.getoption("launcher") else "ci"))


@pytest.fixture(scope="session")
def target(pytestconfig):
    """Their row of targets.tsv."""
    return oracle.target(pytestconfig.getoption("arch"))


@pytest.fixture(scope="session")
def command(pytestconfig):
    """The command line that starts a program with these arguments."""
    programs = pytestconfig.getoption("programs")
    launcher = shlex.split(pytestconfig.getoption("launcher"))
    return lambda name, *args: [*launcher, os.path.join(programs, name), *args]
