#!/usr/bin/env python3
"""Applies the VS Code problem matcher (editors/vscode/package.json) to what
the program really prints about faulty sources: each finding line must give
the file (relative to --dir), the line of the fault, a column and a severity,
and no other line of standard error may pass for a finding.

Usage: problem_matcher_test.py PROGRAM PACKAGE_JSON
"""
import json
import os
import re
import subprocess
import sys
import tempfile


def spoil(path, keyword):
    """Appends a letter to the last number of the first entry starting with
    `keyword`, a read failure; returns that entry's 1-based line."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    for number, line in enumerate(lines, 1):
        if line.lower().startswith(keyword):
            lines[number - 1] = line.rstrip(b"\r") + b"x" + (b"\r" if line.endswith(b"\r") else b"")
            with open(path, "wb") as f:
                f.write(b"\n".join(lines))
            return number
    raise RuntimeError(f"no entry {keyword!r} in {path}")


def main() -> int:
    program, package = sys.argv[1], sys.argv[2]
    with open(package, encoding="utf-8") as f:
        matcher = json.load(f)["contributes"]["problemMatchers"][0]["pattern"]
    finding = re.compile(matcher["regexp"])
    group = {key: matcher[key] for key in ["file", "line", "column", "severity", "message"]}

    faults = []
    cases = [("compile", "Orvale_Varcona_linea.txt", b"pendenza"),
             ("compile", "Orvale_Varcona_593-.txt", b"velocita"),
             ("check", "Orvale_Varcona_linea.txt", b"pendenza")]
    for command, source, keyword in cases:
        with tempfile.TemporaryDirectory(prefix="scenario matcher ") as folder:
            subprocess.run([program, "export", "--dir", folder, "--quiet"], check=True)
            line = spoil(os.path.join(folder, source), keyword)
            run = subprocess.run([program, command, "--dir", folder], capture_output=True)
            if run.returncode != 1:
                faults.append(f"{command} {source}: exit status {run.returncode}, not 1")
            # check prints its findings as its output; compile on standard error.
            stderr = (run.stdout if command == "check" else run.stderr).decode("cp1252")
            found = [m for m in map(finding.match, stderr.splitlines()) if m]
            if not found:
                faults.append(f"{command} {source}: no finding matched in {stderr!r}")
                continue
            for m in found:
                name = m.group(group["file"])
                if not os.path.isfile(os.path.join(folder, name)):
                    faults.append(f"{command}: {m.group(0)!r} names no file of --dir")
                if int(m.group(group["column"])) < 1:
                    faults.append(f"{command}: {m.group(0)!r} has no column")
            errors = [m for m in found if m.group(group["severity"]) == "error"]
            if not any(m.group(group["file"]) == source and int(m.group(group["line"])) == line
                       for m in errors):
                faults.append(f"{command}: no error at {source}:{line} in {stderr!r}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
