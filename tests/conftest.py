"""Where the black-box tests find the programs: --programs names their folder,
--arch their architecture by any name targets.tsv gives it, and --launcher
the emulator they start under when it is not this machine's."""
import os
import shlex

import pytest

import oracle


def pytest_addoption(parser):
    parser.addoption("--programs", default="build/default/bin", help="the folder holding the programs")
    parser.addoption("--arch", default="amd64", help="their architecture in targets.tsv: Debian's name, triple or tuple")
    parser.addoption("--launcher", default="", help="the emulator and its options, as one string")


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
