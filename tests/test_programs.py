"""What every program shares: the dialogue on a pipe and on a terminal,
arguments ignored, failing streams, the decimal point whatever the locale.
Where the platform lacks what a test needs, it is skipped and counted."""
import errno
import os
import resource
import signal
import subprocess
import sys
from collections import namedtuple

import pexpect
import pytest
from pexpect.popen_spawn import PopenSpawn

import oracle

TIMEOUT = 10  # for a sanitized build under an emulator on a loaded machine


def test_every_program_has_its_entry_and_rows():
    assert not oracle.UNTESTED, f"{oracle.UNTESTED}: a folder with a main.cpp is a program, and the tests need its entry in " \
        "tests/oracle.py's PROGRAMS (prompt, report, inputs) and rows in tests/cases/NAME.jsonl (tests/oracle.py prints one)"


# Each program's dialogue, as the oracle works it out: a typical answer (its
# first case row), its report, and what it prints when no number is read.
Program = namedtuple("Program", "name prompt typed report zeros")
PROGRAMS = [Program(name, p.prompt.encode(), typed + b"\n", *(p.report(d, oracle.ROWS_TARGET).encode() for d in (typed, b"")))
            for name in oracle.TESTED for p, typed in [(oracle.PROGRAMS[name], oracle.rows(name)[0]["input"].encode())]]
programs = pytest.mark.parametrize("p", PROGRAMS, ids=lambda p: p.name)


def converse(argv, p, env=None):
    """Answers the prompt on a pipe once it has arrived, as a script does (a
    prompt left in the buffer hangs here): every byte written, stderr last."""
    child = PopenSpawn(argv, env=env, timeout=TIMEOUT)
    child.expect_exact(p.prompt)
    seen = child.before + child.after
    child.send(p.typed)
    child.sendeof()
    child.expect_exact(pexpect.EOF)
    assert child.wait() == 0
    return seen + child.before


@programs
@pytest.mark.parametrize("args", [(), ("--help", "-", "7")], ids=["no arguments", "arguments ignored"])
def test_pipe_dialogue(command, p, args):
    assert converse(command(p.name, *args), p) == p.prompt + p.report


@programs
def test_terminal_dialogue(command, p):
    try:
        list(map(os.close, os.openpty()))
    except OSError as e:
        pytest.skip(f"no pseudo-terminal here: {e}")
    argv = command(p.name)
    child = pexpect.spawn(argv[0], argv[1:], timeout=TIMEOUT)
    child.expect_exact(p.prompt)
    seen = child.before + child.after
    child.send(p.typed)
    child.expect_exact(pexpect.EOF)
    child.close()
    # The terminal echoes the typed line; the cursor stays after the last digit.
    assert seen + child.before == (p.prompt + p.typed + p.report).replace(b"\n", b"\r\n")
    assert child.exitstatus == 0


def file_size_limit(room):  # past it a write fails with EFBIG instead of killing the process
    return lambda: (resource.setrlimit(resource.RLIMIT_FSIZE, (room, room)), signal.signal(signal.SIGXFSZ, signal.SIG_IGN))


def fails(code, action, *args):
    try:
        action(*args)
    except OSError as e:
        return e.errno == code


def past_limit(given, tmp):
    with open(tmp / "probe", "wb") as out:
        return f"[Errno {errno.EFBIG}]".encode() in subprocess.run(
            [sys.executable, "-c", "import os; os.write(1, b'x'); os.write(1, b'x')"], stdout=out, stderr=subprocess.PIPE,
            preexec_fn=file_size_limit(1)).stderr


# How a stream fails; what the platform needs for it, asked with those
# streams (None: every one has it); whether the dialogue still shows (a read
# error is not end of input: the report comes, from zeros); and the errno.
failures = pytest.mark.parametrize("streams, needs, prints, code", [
    (lambda tmp, p: {"stdout": open("/dev/full", "wb")},
     ("/dev/full", lambda given, tmp: fails(errno.ENOSPC, os.write, given["stdout"].fileno(), b"x")), False, errno.ENOSPC),
    (lambda tmp, p: {"stdout": open(tmp / "out", "wb"), "preexec_fn": file_size_limit(len(p.prompt))},
     ("file-size limit", past_limit), False, errno.EFBIG),
    (lambda tmp, p: {"preexec_fn": lambda: os.close(1)}, None, False, errno.EBADF),
    (lambda tmp, p: {"stdin": os.open("/", os.O_RDONLY)},
     ("directory to read", lambda given, tmp: fails(errno.EISDIR, os.read, given["stdin"], 1)), True, errno.EISDIR),
    (lambda tmp, p: {"preexec_fn": lambda: os.close(0)}, None, True, errno.EBADF),
], ids=["disk full", "file too large", "output closed", "input a directory", "input closed"])


@programs
@failures
def test_stream_errors_fail_the_run(command, p, tmp_path, streams, needs, prints, code):
    given = {"stdin": subprocess.PIPE, "stdout": subprocess.PIPE, **streams(tmp_path, p)}
    try:
        if needs and not needs[1](given, tmp_path):
            pytest.skip(f"no {needs[0]} here that fails with {errno.errorcode[code]}")
        with subprocess.Popen(command(p.name), stderr=subprocess.PIPE, **given) as child:
            out, err = child.communicate(p.typed if given["stdin"] == subprocess.PIPE else None, TIMEOUT)
    finally:  # what the case opened: a descriptor, a file, PIPE (-1), a function
        for stream in given.values():
            os.close(stream) if isinstance(stream, int) and stream >= 0 else getattr(stream, "close", lambda: None)()
    message = f"{p.name}: {'read' if prints else 'write'} error: {os.strerror(code)}\n".encode()
    assert (out or b"", err, child.returncode) == (p.prompt + p.zeros if prints else b"", message, 1)


@pytest.fixture(scope="session")
def comma_locale(tmp_path_factory):
    """A locale whose decimal separator is a comma, whatever the machine has."""
    path = tmp_path_factory.mktemp("locale")
    env = dict(os.environ, LOCPATH=str(path), LC_ALL="ru_RU.UTF-8", LANG="ru_RU.UTF-8")
    try:
        subprocess.run(["localedef", "-i", "ru_RU", "-f", "UTF-8", path / "ru_RU.UTF-8"], check=True)
    except (OSError, subprocess.CalledProcessError) as e:
        pytest.skip(f"no locale can be built here: {e}")
    assert subprocess.run(["locale", "decimal_point"], env=env, capture_output=True).stdout == b",\n", "the locale was not built"
    return env


# Only a report with a decimal point can show the locale's.
@pytest.mark.parametrize("p", [p for p in PROGRAMS if b"." in p.report], ids=lambda p: p.name)
def test_decimal_point_whatever_the_locale(command, p, comma_locale):
    assert converse(command(p.name), p, comma_locale) == p.prompt + p.report
