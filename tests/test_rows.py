"""Every case row of cases/, and a search beside them of inputs as people and
scripts type them: the oracle works each output out, the program prints it,
byte for byte. Where glibc picks its sine by the CPU, each row runs again with
the one for CPUs without FMA; searched inputs the oracle cannot model are
counted (--hypothesis-show-statistics)."""
import os
import subprocess

import pytest
from hypothesis import event, given, reject, strategies as st

import oracle


def pytest_generate_tests(metafunc):
    variants = {"": {}}
    if oracle.target(metafunc.config.getoption("arch")).get("fused") == "cpu":
        variants[", libm without FMA"] = {"GLIBC_TUNABLES": "glibc.cpu.hwcaps=-AVX2,-FMA,-FMA4"}
    if "row" in metafunc.fixturenames:
        metafunc.parametrize("name, row, libm", [
            pytest.param(name, row, env, id=f"{name}: {row['why']}{variant}")
            for name in oracle.TESTED for row in oracle.rows(name) for variant, env in variants.items()])


def test_row(command, target, libm, name, row):
    program = oracle.PROGRAMS[name]
    env = os.environ | libm
    try:
        want = oracle.expected(row, program)
        output = oracle.on_target(row, program, target, env)
    except oracle.Unknown as e:
        pytest.skip(str(e))
    except oracle.Unmodelled as e:
        pytest.fail(f"the oracle cannot work this row out: {e}")
    assert {k: row.get(k) for k in want.keys() | row.keys() - {"input", "why"}} == want
    run = subprocess.run(command(name), input=row["input"].encode(), capture_output=True, env=env, timeout=60)
    assert (run.stdout.decode(), run.stderr, run.returncode) == (output, b"", 0)


@pytest.mark.parametrize("name", oracle.TESTED)
@given(data=st.data())
def test_search(command, target, name, data):
    program = oracle.PROGRAMS[name]
    text = data.draw(program.inputs, label="input")
    try:
        want = program(text.encode(), target)
    except oracle.Unmodelled as e:
        event(f"the oracle cannot model it: {e}")
        reject()
    run = subprocess.run(command(name), input=text.encode(), capture_output=True, timeout=60)
    out = run.stdout.decode()
    # The C library's sine and cosine may be an ulp off, as the manual says.
    if out != want and out in oracle.one_ulp_off(program, text.encode(), target):
        event("a sine or cosine one ulp off")
        want = out
    assert (out, run.stderr, run.returncode) == (want, b"", 0)
