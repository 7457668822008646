#!/usr/bin/python3
"""Keeps a translated manual page honest where a machine can: it has the
English page's sections, in the same order, the same numbers and the same
example dialogues, and each dialogue is what the program prints; both pages
name the release.

  manual_test.py PROGRAM "VERSION DATE" ENGLISH_PAGE TRANSLATED_PAGE [LAUNCHER...]
"""
import pathlib
import re
import subprocess
import sys

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
    return sections, dialogues, release and f"{release[2]} {release[1]}", numbers


def main(program, release, english, translated, *launcher):
    en_sections, en_dialogues, en_release, en_numbers = read(english)
    ru_sections, ru_dialogues, ru_release, ru_numbers = read(translated)
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
    for dialogue in en_dialogues:
        command, *shown = dialogue.rstrip("\n").split("\n")
        shown = "\n".join(shown)
        if "|" in command:  # $ echo INPUT | program: the report follows the prompt
            typed, expected = command.split("echo ", 1)[1].split(" |")[0], shown
        else:  # $ program, then the prompt and what is typed on one line
            prompt, rest = shown.split(": ", 1)
            typed, report = rest.split("\n", 1)
            expected = prompt + ": " + report
        out = subprocess.run([*launcher, program], input=(typed + "\n").encode(), capture_output=True).stdout
        if out.decode() + "$" != expected:
            failures.append(f"{command!r} with {typed!r} prints {out.decode()!r}, the page shows {expected!r}")
    # The package installs the programs and their pages alone: a page that
    # sends its reader to a file of the source tree sends them nowhere.
    for page in (english, translated):
        for name in re.findall(r"README|\b[\w.-]+\.(?:md|tsv|txt|cmake|py|sh)\b", pathlib.Path(page).read_text("utf-8")):
            failures.append(f"{page} names {name}, a file its reader does not have")
    for f in failures:
        print(f"{translated}: {f}")
    return not failures


if __name__ == "__main__":
    sys.exit(0 if main(*sys.argv[1:]) else 1)
