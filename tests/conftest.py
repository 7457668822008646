"""Where the black-box tests find the programs: --build names the build
folder, --launcher the emulator that programs built for another CPU start
under, and --cpu the GNU name of the processor they are built for."""
import os
import shlex

import pytest


def pytest_addoption(parser):
    parser.addoption("--build", default="build/default", help="the build folder, holding NAME/NAME")
    parser.addoption("--launcher", default="", help="the emulator and its options, as one string")
    parser.addoption("--cpu", default="x86_64", help="the processor the programs are built for")


@pytest.fixture(scope="session")
def command(pytestconfig):
    """The command line that starts a program with these arguments."""
    build = pytestconfig.getoption("build")
    launcher = shlex.split(pytestconfig.getoption("launcher"))
    return lambda name, *args: [*launcher, os.path.join(build, name, name), *args]
