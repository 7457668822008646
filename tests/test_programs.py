"""What every program shares: the dialogue on a pipe and on a terminal,
arguments ignored, failing streams, the decimal point whatever the locale."""
import json
import os
import resource
import signal
import subprocess
from collections import namedtuple

import pexpect
import pytest
from pexpect.popen_spawn import PopenSpawn

import oracle

# Long enough for a sanitized build under an emulator on a loaded machine; a
# program that never shows its prompt hangs until then.
TIMEOUT = 10


# A typical answer is a program's first case row; zeros is what it prints
# when no number is read.
Program = namedtuple("Program", "name prompt typed report zeros")


def program(name):
    """Its dialogue, as the oracle works it out."""
    typed = json.loads((oracle.ROOT / "tests" / "cases" / f"{name}.jsonl").read_text("utf-8").split("\n")[0])["input"]
    prompt, output = oracle.PROMPTS[name].encode(), oracle.PROGRAMS[name]
    return Program(name, prompt, typed.encode() + b"\n", *(output(d).encode()[len(prompt):] for d in (typed.encode(), b"")))


PROGRAMS = [program(name) for name in oracle.PROGRAMS]
programs = pytest.mark.parametrize("p", PROGRAMS, ids=lambda p: p.name)


def converse(argv, p, env=None):
    """Answers the prompt on a pipe once it has arrived, as a script waiting
    for it does: a prompt left in the buffer hangs the program here. Returns
    every byte the program wrote, standard error after standard output."""
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


def file_size_limit():
    # Past the limit a write fails with EFBIG instead of killing the program:
    # room for every prompt, none for a report.
    room = max(len(p.prompt) for p in PROGRAMS)
    resource.setrlimit(resource.RLIMIT_FSIZE, (room, room))
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)


# How standard input or output fails, whether standard output still shows
# the dialogue (a read error is not end of input: the report comes, from
# zeros), and the message.
failures = pytest.mark.parametrize("streams, prints, message", [
    (lambda tmp: {"stdout": open("/dev/full", "wb")}, False, b"write error: No space left on device"),
    (lambda tmp: {"stdout": open(tmp / "out", "wb"), "preexec_fn": file_size_limit}, False,
     b"write error: File too large"),
    (lambda tmp: {"preexec_fn": lambda: os.close(1)}, False, b"write error: Bad file descriptor"),
    (lambda tmp: {"stdin": os.open("/", os.O_RDONLY)}, True, b"read error: Is a directory"),
    (lambda tmp: {"preexec_fn": lambda: os.close(0)}, True, b"read error: Bad file descriptor"),
], ids=["disk full", "file too large", "output closed", "input a directory", "input closed"])


@programs
@failures
def test_stream_errors_fail_the_run(command, p, tmp_path, streams, prints, message):
    given = {"stdin": subprocess.PIPE, "stdout": subprocess.PIPE, **streams(tmp_path)}
    with subprocess.Popen(command(p.name), stderr=subprocess.PIPE, **given) as child:
        out, err = child.communicate(p.typed if given["stdin"] == subprocess.PIPE else None, TIMEOUT)
    for stream in given.values():  # what the case opened: a descriptor, a file, PIPE (-1), a function
        os.close(stream) if isinstance(stream, int) and stream >= 0 else getattr(stream, "close", lambda: None)()
    assert (out or b"", err, child.returncode) == (p.prompt + p.zeros if prints else b"",
                                                  p.name.encode() + b": " + message + b"\n", 1)


@pytest.fixture(scope="session")
def comma_locale(tmp_path_factory):
    """A locale whose decimal separator is a comma, built here so that the
    test does not depend on what the machine has installed."""
    path = tmp_path_factory.mktemp("locale")
    subprocess.run(["localedef", "-i", "ru_RU", "-f", "UTF-8", path / "ru_RU.UTF-8"], check=True)
    env = dict(os.environ, LOCPATH=str(path), LC_ALL="ru_RU.UTF-8", LANG="ru_RU.UTF-8")
    probe = subprocess.run(["locale", "decimal_point"], env=env, capture_output=True)
    assert probe.stdout == b",\n", "the locale was not built"
    return env


@programs
def test_decimal_point_whatever_the_locale(command, p, comma_locale):
    assert converse(command(p.name), p, comma_locale) == p.prompt + p.report
