"""The version is the newest changelog entry's, read whole or refused."""
import pathlib
import shutil
import subprocess

import pytest


@pytest.mark.skipif(not shutil.which("cmake"), reason="a build's own check: needs cmake")
@pytest.mark.parametrize("version, read", [("1.2.1", "1.2.1"), ("10.0.12", "10.0.12"),
                                           ("1:1.2.1", None), ("1.2.1-1", None), ("1.2", None)])
def test_version_of_the_newest_entry(tmp_path, version, read):
    (tmp_path / "changelog").write_text(f"rucalc ({version}) unstable; urgency=medium\n\n  * A release.\n\n"
                                        " -- A <a@example.org>  Sun, 07 Mar 2027 10:00:00 +0000\n", encoding="utf-8")
    script = pathlib.Path(__file__).parent.parent / "cmake" / "version.cmake"
    run = subprocess.run(["cmake", "-D", f"changelog={tmp_path}/changelog", "-P", script], capture_output=True, text=True)
    assert (run.returncode, run.stderr) == (0, f"{read} 2027-03-07\n") if read else \
        (run.returncode != 0 and "must be MAJOR.MINOR.PATCH" in run.stderr)
