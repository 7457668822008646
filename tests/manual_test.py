#!/usr/bin/python3
"""Keeps the manual pages honest where a machine can: a translation has the
English page's sections, numbers, example dialogues and marked lists; each
dialogue (README.md's too) is what the program prints; each list marked
'architectures where COLUMN=VALUE|...' names on its next line those packed
architectures whose row of targets.tsv has them; both pages name the release.

  manual_test.py BINDIR "VERSION DATE" ENGLISH_PAGE TRANSLATED_PAGE [LAUNCHER...]
  manual_test.py BINDIR README.md [LAUNCHER...]
"""
import pathlib
import re
import subprocess
import sys

import oracle

RUSSIAN = {"NAME": "ИМЯ", "SYNOPSIS": "ОБЗОР", "DESCRIPTION": "ОПИСАНИЕ", "EXIT STATUS": "КОД ЗАВЕРШЕНИЯ",
           "DIAGNOSTICS": "ДИАГНОСТИКА", "EXAMPLES": "ПРИМЕРЫ", "SEE ALSO": "СМОТРИТЕ ТАКЖЕ"}


def read(path):
    text = pathlib.Path(path).read_text(encoding="utf-8")
    release = re.search(r'^\.TH \S+ 1 (\S+) "rucalc (\S+)"', text, re.M)
    sections = re.findall(r"^\.SH (.*)$", text, re.M)
    blocks = re.findall(r"^\.EX\n(.*?)^\.EE$", text, re.M | re.S)
    # A dialogue starts with the shell's "$ "; the last "$" is the next prompt.
    dialogues = [b.replace("\\-", "-").replace("\\e", "\\") for b in blocks if b.startswith("$ ")]
    numbers = set(re.findall(r"\d+(?:\.\d+)?", text))
    lists = re.findall(r'^\.\\" architectures where (.*)\n(.*)$', text, re.M)
    return sections, dialogues, release and f"{release[2]} {release[1]}", numbers, lists


def arch_lists(page, lists):
    for condition, line in lists:
        wanted = [c.split("=") for c in condition.split()]
        table = {t["arch"] for t in oracle.TARGETS.values() if t["packed"] != "-" and all(
            t[column] in values.split("|") for column, values in wanted)}
        named = {arch for arch in oracle.TARGETS if re.search(rf"\b{arch}\b", line)}
        if named != table:
            yield f"{page}: the architectures where {condition} are {sorted(table)}, not {sorted(named)}"


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
    en_sections, en_dialogues, en_release, en_numbers, en_lists = read(english)
    ru_sections, ru_dialogues, ru_release, ru_numbers, ru_lists = read(translated)
    failures = [f"{page} names release {r}, not {release}"
                for page, r in ((english, en_release), (translated, ru_release)) if r != release]
    if ru_sections != [RUSSIAN.get(s, s) for s in en_sections]:
        failures.append(f"sections {ru_sections}, but the English page has {en_sections}")
    if ru_numbers != en_numbers:
        failures.append(f"numbers only in the English page: {sorted(en_numbers - ru_numbers)}, "
                        f"only in the translation: {sorted(ru_numbers - en_numbers)}")
    if ru_dialogues != en_dialogues:
        failures.append("the examples differ from the English page's")
    if not en_dialogues:
        failures.append("no example dialogue")
    if [c for c, _ in ru_lists] != [c for c, _ in en_lists]:
        failures.append("the lists of architectures differ from the English page's")
    failures += [*arch_lists(english, en_lists), *arch_lists(translated, ru_lists)]
    failures += dialogues_run(en_dialogues, bindir, launcher)
    # The package installs the programs and their pages alone: a page that
    # sends its reader to a file of the source tree sends them nowhere.
    for page in (english, translated):
        for name in re.findall(r"README|\b[\w.-]+\.(?:md|tsv|txt|cmake|py|sh)\b", pathlib.Path(page).read_text("utf-8")):
            failures.append(f"{page} names {name}, a file its reader does not have")
    for f in failures:
        print(f"{translated}: {f}")
    return not failures


def readme(bindir, path, *launcher):
    blocks = re.findall(r"^```\n(\$ .*?)^```$", pathlib.Path(path).read_text(encoding="utf-8"), re.M | re.S)
    failures = [*dialogues_run(blocks, bindir, launcher)] if blocks else ["no example dialogue"]
    print(*failures, sep="\n")
    return not failures


if __name__ == "__main__":
    sys.exit(0 if (readme if sys.argv[2].endswith(".md") else main)(*sys.argv[1:]) else 1)
