#!/usr/bin/env python3
"""Installs a build into a fresh prefix and checks what lands there: the
program, a manual page that man renders without a warning, the bash
completion, and the README with every document it links to.

Usage: install_test.py BUILD_DIR SOURCE_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

from installed_layout import INSTALLED


def main() -> int:
    build, source = sys.argv[1], sys.argv[2]
    faults = []
    with tempfile.TemporaryDirectory(prefix="scenario install ") as prefix:
        subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                       check=True, stdout=subprocess.DEVNULL)
        for path in INSTALLED:
            if not os.path.isfile(os.path.join(prefix, path)):
                faults.append(f"not installed: {path}")
        program = os.path.join(prefix, "bin/scenario-compiler")
        if not os.access(program, os.X_OK):
            faults.append("the installed program is not executable")
        else:
            version = subprocess.run([program, "--version"], capture_output=True, text=True)
            if version.returncode != 0 or not version.stdout.startswith("scenario-compiler "):
                faults.append(f"installed --version: {version.returncode} {version.stdout!r}")

        # man -l with groff's warnings on: any warning is a fault of the page.
        # The Italian page has the same sections, under Italian headings.
        for page_path, headings in [
                ("share/man/man1/scenario-compiler.1",
                 ["SYNOPSIS", "COMMANDS", "OPTIONS", "EXIT STATUS", "EXAMPLES"]),
                ("share/man/it/man1/scenario-compiler.1",
                 ["SINOSSI", "COMANDI", "OPZIONI", "STATO D'USCITA", "ESEMPI"])]:
            page = os.path.join(prefix, page_path)
            rendered = subprocess.run(["man", "--warnings", "-l", page], capture_output=True,
                                      text=True, env=dict(os.environ, MANWIDTH="80",
                                                          LANG="C.UTF-8", LC_ALL="C.UTF-8"))
            if rendered.returncode != 0 or rendered.stderr.strip():
                faults.append(f"man -l {page_path}: status {rendered.returncode}: "
                              f"{rendered.stderr.strip()}")
            for heading in headings:
                if heading not in rendered.stdout:
                    faults.append(f"the rendered page {page_path} has no {heading}")

        # Every document the README links to and the source tree holds is installed beside it.
        docs = os.path.join(prefix, "share/doc/scenario-compiler")
        with open(os.path.join(source, "README.md"), encoding="utf-8") as readme:
            links = re.findall(r"\]\(([^)#:]+)(?:#[^)]*)?\)", readme.read())
        for link in links:
            if os.path.exists(os.path.join(source, link)) and \
                    not os.path.exists(os.path.join(docs, link)):
                faults.append(f"README links {link}, which is not installed beside it")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
