#!/usr/bin/python3
"""The manual pages of the source tree, as the build configures them: each
renders without a warning, names the release and no file of the tree; a
translation has the English page's sections, numbers, dialogues and marked
lists; each dialogue (README.md's too) is what the program prints; a list
marked 'architectures where COLUMN=VALUE|...' (or !=) names on its next line
those packed or refused whose row of targets.tsv has them, and no other.

  manual_test.py BINDIR "VERSION DATE" ENGLISH_PAGE TRANSLATED_PAGE [LAUNCHER...]
  manual_test.py BINDIR README.md [LAUNCHER...]
"""
import pathlib
import re
import subprocess
import sys
from types import SimpleNamespace

import oracle

RUSSIAN = {"NAME": "ИМЯ", "SYNOPSIS": "ОБЗОР", "DESCRIPTION": "ОПИСАНИЕ", "EXIT STATUS": "КОД ЗАВЕРШЕНИЯ",
           "DIAGNOSTICS": "ДИАГНОСТИКА", "EXAMPLES": "ПРИМЕРЫ", "SEE ALSO": "СМОТРИТЕ ТАКЖЕ"}
# Every architecture name dpkg knows: each of its tuples, for each CPU.
DPKG = [[line.split() for line in pathlib.Path("/usr/share/dpkg", table).read_text().splitlines() if line[:1] not in "#"]
        for table in ("cputable", "tupletable")]
KNOWN = {t[1].replace("<cpu>", cpu[0]) for t in DPKG[1] for cpu in DPKG[0]} | oracle.TARGETS.keys()


def read(path, release):
    version, date = release.split()
    text = pathlib.Path(path).read_text(encoding="utf-8").replace("@upstream_version@", version).replace("@RELEASE_DATE@", date)
    th = re.search(r'^\.TH \S+ 1 (\S+) "rucalc (\S+)"', text, re.M)
    # A dialogue starts with the shell's "$ "; the last "$" is the next prompt.
    blocks = re.findall(r"^\.EX\n(.*?)^\.EE$", text, re.M | re.S)
    return SimpleNamespace(
        path=path, text=text, release=th and f"{th[2]} {th[1]}", sections=re.findall(r"^\.SH (.*)$", text, re.M),
        dialogues=[b.replace("\\-", "-").replace("\\e", "\\") for b in blocks if b.startswith("$ ")],
        numbers=set(re.findall(r"\d+(?:\.\d+)?", text)), lists=re.findall(r'^\.\\" architectures where (.*)\n(.*)$', text, re.M))


def page_failures(page, release, lint_level):
    if page.release != release:
        yield f"names release {page.release}, not {release}"
    for command in (["groff", "-ww", "-z", "-k", "-man", "-Tutf8"], ["mandoc", "-Tlint", "-W", lint_level]):
        run = subprocess.run(command, input=page.text.encode(), capture_output=True)
        if run.returncode or run.stdout or run.stderr:
            yield f"{command[0]} says {(run.stdout + run.stderr).decode()!r}"
    for condition, line in page.lists:
        wanted = [re.fullmatch(r"(\w+)(!?)=(.*)", c).groups() for c in condition.split()]
        table = {t["arch"] for t in oracle.TARGETS.values() if (t["packed"], t["refused"]) != ("-", "-") and all(
            (t[column] in values.split("|")) != bool(negated) for column, negated, values in wanted)}
        named = {word for word in re.findall(r"[\w-]+", line) if word in KNOWN}
        if named != table:
            yield f"the architectures where {condition} are {sorted(table)}, not {sorted(named)}"
    # The package installs the programs and their pages alone: a page that
    # sends its reader to a file of the source tree sends them nowhere.
    for name in re.findall(r"README|\b[\w.-]+\.(?:md|tsv|txt|cmake|py|sh)\b", page.text):
        yield f"names {name}, a file its reader does not have"


def dialogues_run(dialogues, bindir, launcher):
    for dialogue in dialogues:
        command, expected = dialogue.rstrip("\n").split("\n", 1)
        if "|" in command:  # $ echo INPUT | program: the report follows the prompt
            typed = command.split("echo ", 1)[1].split(" |")[0]
        else:  # $ program, then the prompt and what is typed on one line
            typed = expected.split("\n")[0].split(": ", 1)[1]
            expected = expected.replace(f": {typed}\n", ": ", 1)
        program = pathlib.Path(bindir) / command.split()[-1]
        out = subprocess.run([*launcher, program], input=(typed + "\n").encode(), capture_output=True).stdout
        if out.decode() + "$" != expected:
            yield f"{command!r} with {typed!r} prints {out.decode()!r}, the page shows {expected!r}"


def main(bindir, release, english, translated, *launcher):
    # mandoc counts a Cyrillic letter's bytes as an 8-byte escape: its style
    # notes on line length are left out for a translation.
    en, ru = read(english, release), read(translated, release)
    failures = [f"{p.path}: {f}" for p, level in ((en, "style"), (ru, "warning")) for f in page_failures(p, release, level)]
    failures += [message for wrong, message in (
        (ru.sections != [RUSSIAN.get(s, s) for s in en.sections], f"sections {ru.sections}, but the English page has {en.sections}"),
        (ru.numbers != en.numbers, f"numbers only in English: {sorted(en.numbers - ru.numbers)}, "
                                   f"only in the translation: {sorted(ru.numbers - en.numbers)}"),
        (ru.dialogues != en.dialogues, "the examples differ from the English page's"), (not en.dialogues, "no example dialogue"),
        ([c for c, _ in ru.lists] != [c for c, _ in en.lists], "the lists of architectures differ from the English page's")) if wrong]
    failures += dialogues_run(en.dialogues, bindir, launcher)
    print(*failures, sep="\n")
    return not failures


def readme(bindir, path, *launcher):
    blocks = re.findall(r"^```\n(\$ .*?)^```$", pathlib.Path(path).read_text(encoding="utf-8"), re.M | re.S)
    failures = [*dialogues_run(blocks, bindir, launcher)] if blocks else ["no example dialogue"]
    print(*failures, sep="\n")
    return not failures


if __name__ == "__main__":
    sys.exit(0 if (readme if sys.argv[2].endswith(".md") else main)(*sys.argv[1:]) else 1)
