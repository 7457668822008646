"""The row runner blames the row that is wrong, and that row alone."""
import json
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).parent


def test_a_corrupted_row_is_blamed_alone(pytestconfig, tmp_path):
    rows = (HERE / "cases" / "rtriangle.jsonl").read_text(encoding="utf-8").splitlines()[:4]
    second = json.loads(rows[1])
    second["output"] = second["output"][:-1] + ("1" if second["output"][-1] != "1" else "2")
    rows[1] = json.dumps(second, ensure_ascii=False)
    (tmp_path / "rtriangle.jsonl").write_text("\n".join(rows) + "\n", encoding="utf-8")
    r = subprocess.run([sys.executable, HERE / "oracle.py", "--check", tmp_path / "rtriangle.jsonl",
                        "--programs", pytestconfig.getoption("programs"), "--target", pytestconfig.getoption("target"),
                        "--launcher", pytestconfig.getoption("launcher")], capture_output=True, text=True)
    blamed = [line.split(": ")[0] for line in r.stdout.splitlines()[:-1]]
    assert (blamed, r.stdout.splitlines()[-1], r.returncode) == ([f"{tmp_path}/rtriangle.jsonl:2"], "3 passed, 1 failed", 1)
