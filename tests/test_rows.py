"""Every case row of cases/: its outputs worked out again by the oracle, then
printed by the program, byte for byte. Where glibc picks its sine and cosine
by the CPU, each trigab row runs again with the variant for CPUs without FMA."""
import json
import os
import pathlib
import subprocess

import pytest

import oracle

WITHOUT_FMA = {"GLIBC_TUNABLES": "glibc.cpu.hwcaps=-AVX2,-FMA,-FMA4"}


def pytest_generate_tests(metafunc):
    variants = {"": {}}
    if oracle.target(metafunc.config.getoption("arch")).get("fused") == "cpu":
        variants[", libm without FMA"] = WITHOUT_FMA
    metafunc.parametrize("name, row, libm", [
        pytest.param(path.stem, row, env, id=f"{path.stem}: {row['why']}{variant}")
        for path in sorted((pathlib.Path(__file__).parent / "cases").glob("*.jsonl"))
        for row in map(json.loads, path.read_text(encoding="utf-8").splitlines())
        for variant, env in variants.items() if path.stem == "trigab" or not env])


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
