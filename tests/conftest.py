"""Where the black-box tests find the programs: --programs names the folder
that holds them, --launcher the emulator that programs built for another
CPU start under, and --target the multiarch tuple they are built for."""
import os
import shlex

import pytest


def pytest_addoption(parser):
    parser.addoption("--programs", default="build/default/bin", help="the folder holding the programs")
    parser.addoption("--launcher", default="", help="the emulator and its options, as one string")
    parser.addoption("--target", default="x86_64-linux-gnu", help="the multiarch tuple the programs are built for")


@pytest.fixture(scope="session")
def command(pytestconfig):
    """The command line that starts a program with these arguments."""
    programs = pytestconfig.getoption("programs")
    launcher = shlex.split(pytestconfig.getoption("launcher"))
    return lambda name, *args: [*launcher, os.path.join(programs, name), *args]
