#!/usr/bin/env python3
"""The manual page and the bash completion against the program itself: every
command and option its --help lists is in the page and is offered by the
completion, and the completion offers the right values and files.

Usage: command_line_docs_test.py PROGRAM MANUAL_PAGE COMPLETION
"""
import os
import re
import subprocess
import sys
import tempfile


def help_text(program, *command):
    return subprocess.run([program, *command, "--help"], capture_output=True, text=True,
                          check=True).stdout


def commands_of(program):
    text = help_text(program)
    listing = text.split("Subcommands:", 1)[1] if "Subcommands:" in text else ""
    return re.findall(r"^  ([a-z]+) ", listing, re.MULTILINE)


def options_of(program, command):
    return sorted(set(re.findall(r"(--[a-z][a-z-]*)", help_text(program, command))))


def complete(completion, words, folder=None):
    """What the completion offers for the last of `words` (a command line)."""
    script = (f'source "{completion}"\n'
              f'COMP_WORDS=({" ".join(repr(w) for w in words)})\n'
              f'COMP_CWORD={len(words) - 1}\n'
              '_scenario_compiler\n'
              'printf "%s\\n" "${COMPREPLY[@]}"\n')
    result = subprocess.run(["bash", "-c", script], capture_output=True, text=True, cwd=folder,
                            env=dict(os.environ, LC_ALL="C"))
    if result.returncode != 0 or result.stderr:
        raise RuntimeError(f"completion of {words}: {result.stderr}")
    return sorted(line for line in result.stdout.splitlines() if line)


def main() -> int:
    program, page, completion = (os.path.abspath(arg) for arg in sys.argv[1:4])
    with open(page, encoding="utf-8") as f:
        manual = f.read().replace("\\-", "-")
    faults = []

    commands = commands_of(program)
    if not commands:
        faults.append("no commands found in --help")
    offered = complete(completion, ["scenario-compiler", ""])
    for command in commands:
        if not re.search(rf"^\.B(?:R)? {command}\b", manual, re.MULTILINE):
            faults.append(f"the manual page has no entry for the command {command}")
        if command not in offered:
            faults.append(f"the completion does not offer the command {command}")
        command_options = complete(completion, ["scenario-compiler", command, "--"])
        for option in options_of(program, command):
            if option not in manual:
                faults.append(f"the manual page does not name {command} {option}")
            if option not in command_options:
                faults.append(f"the completion does not offer {command} {option}")

    # Values and files.
    with tempfile.TemporaryDirectory() as folder:
        for name in ["Lago_2041.dat", "Lago_2041.sim", "Lago_linea.txt", "Lago_2041-.txt"]:
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "Lago archivio"))
        cases = [
            (["scenario-compiler", "co"], ["compile"]),
            (["scenario-compiler", "check", "--format", ""], ["json", "sarif", "text"]),
            (["scenario-compiler", "compile", "--dir", "La"], ["Lago archivio"]),
            (["scenario-compiler", "dump", "La"], ["Lago archivio", "Lago_2041.dat",
                                                   "Lago_2041.sim"]),
            (["scenario-compiler", "dump", "--j"], ["--json"]),
            (["scenario-compiler", "fmt", "La"], ["Lago archivio", "Lago_2041-.txt",
                                                  "Lago_linea.txt"]),
            (["scenario-compiler", "fmt", "--c"], ["--check"]),
            (["scenario-compiler", "compile", "--base", ""], []),
            (["scenario-compiler", "diff", "--format", ""], ["json", "text"]),
            (["scenario-compiler", "diff", "La"], ["Lago archivio"]),
            (["scenario-compiler", "diff", "old", "La"], ["Lago archivio"]),
            (["scenario-compiler", "decompile", "--out", "La"], ["Lago archivio"]),
            (["scenario-compiler", "view", "--out", "Lago_2041-"], ["Lago_2041-.txt"]),
            (["scenario-compiler", "decompile", "--l"], ["--lossy"]),
        ]
        for words, expected in cases:
            got = complete(completion, words, folder)
            if got != expected:
                faults.append(f"completing {' '.join(words)!r}: {got}, expected {expected}")

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
