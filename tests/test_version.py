"""The upstream version read out of any version of the newest changelog entry, or the build refused."""
import pathlib
import shutil
import subprocess

import pytest

# A binNMU's entry above the release's: its date is the release's.
BINNMU = "1.2.1+b1) unstable; binary-only=yes\n\n -- B <b@example.org>  Mon, 01 Jan 2029 10:00:00 +0000\n\nrucalc (1.2.1"
UPSTREAM = [(BINNMU, "1.2.1")] + [line.split("\t") for line in (pathlib.Path(__file__).parent / "cases" / "versions.tsv")
                                   .read_text(encoding="utf-8").splitlines() if line[:1] not in "#"]


@pytest.mark.skipif(not shutil.which("cmake"), reason="a build's own check: needs cmake")
@pytest.mark.parametrize("version, upstream", UPSTREAM)
def test_upstream_version_of_the_newest_entry(tmp_path, version, upstream):
    (tmp_path / "changelog").write_text(f"rucalc ({version}) unstable; urgency=medium\n\n  * A release.\n\n"
                                        " -- A <a@example.org>  Sun, 07 Mar 2027 10:00:00 +0000\n", encoding="utf-8")
    script = pathlib.Path(__file__).parent.parent / "cmake" / "version.cmake"
    run = subprocess.run(["cmake", "-D", f"changelog={tmp_path}/changelog", "-P", script], capture_output=True, text=True)
    assert (run.returncode, run.stderr) == (0, f"{upstream} 2027-03-07\n") if upstream != "-" else \
        (run.returncode != 0 and "MAJOR.MINOR.PATCH" in run.stderr)
