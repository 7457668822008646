"""The upstream version is read out of whatever version Debian gives the
newest changelog entry, or the build is refused."""
import pathlib
import shutil
import subprocess

import pytest

# A binNMU's entry above the release's: its date is the release's.
BINNMU = "1.2.1+b1) unstable; binary-only=yes\n\n -- B <b@example.org>  Mon, 01 Jan 2029 10:00:00 +0000\n\nrucalc (1.2.1"
# Debian's own forms, then Ubuntu's, Raspbian's, Kali's and Devuan's, then none.
UPSTREAM = [(BINNMU, "1.2.1"), ("1.2.1", "1.2.1"), ("10.0.12", "10.0.12"), ("1.3.0~rc1", "1.3.0~rc1"), ("1.2.1+b1", "1.2.1"),
            ("1.2.1+nmu1", "1.2.1"), ("1.2.1+deb13u1", "1.2.1"), ("1.2.1~bpo12+1", "1.2.1"), ("1:1.2.1", "1.2.1"), ("1.2.1-1", "1.2.1"),
            ("1.2.1-1+b2", "1.2.1"), ("1.2.1-0.1", "1.2.1"), ("1:1.2.1-2~bpo13+1", "1.2.1"), ("1.2.1+deb12u1+b1", "1.2.1"),
            ("1.2.1-1+deb12u1", "1.2.1"), ("1.2.1+dfsg", "1.2.1"), ("1.3.0~rc1~bpo12+1", "1.3.0~rc1"), ("1.3.0ubuntu1", "1.3.0"),
            ("1.3.0build1", "1.3.0"), ("1.3.0~22.04.1", "1.3.0"), ("1.3.0~ubuntu24.04.1", "1.3.0"), ("1.3.0-0ubuntu1", "1.3.0"),
            ("1.3.0~rc1ubuntu1", "1.3.0~rc1"), ("1.3.0+rpi1", "1.3.0"), ("1.3.0kali1", "1.3.0"), ("1.3.0devuan1", "1.3.0"),
            ("1.3.0+deb13u1build1", "1.3.0"), ("1.2", None), ("1.2.1.4", None), ("ubuntu1", None), ("1:2", None), ("1.2.x", None)]


@pytest.mark.skipif(not shutil.which("cmake"), reason="a build's own check: needs cmake")
@pytest.mark.parametrize("version, upstream", UPSTREAM)
def test_upstream_version_of_the_newest_entry(tmp_path, version, upstream):
    (tmp_path / "changelog").write_text(f"rucalc ({version}) unstable; urgency=medium\n\n  * A release.\n\n"
                                        " -- A <a@example.org>  Sun, 07 Mar 2027 10:00:00 +0000\n", encoding="utf-8")
    script = pathlib.Path(__file__).parent.parent / "cmake" / "version.cmake"
    run = subprocess.run(["cmake", "-D", f"changelog={tmp_path}/changelog", "-P", script], capture_output=True, text=True)
    assert (run.returncode, run.stderr) == (0, f"{upstream} 2027-03-07\n") if upstream else \
        (run.returncode != 0 and "MAJOR.MINOR.PATCH" in run.stderr)
