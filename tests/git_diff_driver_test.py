#!/usr/bin/env python3
"""The git set-up of docs/git.md, for real: the .gitattributes, the diff driver
and the alias are taken from the page and run in a repository made for the
test, over a scenario compiled, edited and compiled again.

Usage: git_diff_driver_test.py PROGRAM GIT_PAGE
"""
import os
import re
import subprocess
import sys
import tempfile

BASE, TRAIN = "Lago_Nero", "2041"
SIM = f"scenarios/{BASE}_{TRAIN}.sim"
DAT = f"scenarios/{BASE}_{TRAIN}.dat"
TRAIN_SOURCE = f"scenarios/{BASE}_{TRAIN}-.txt"


def page_blocks(page):
    """The indented blocks of the page, each as its lines without the indent."""
    blocks, block = [], []
    for line in page.splitlines() + [""]:
        if line.startswith("    "):
            block.append(line[4:])
        elif block and line.strip() == "":
            blocks.append(block)
            block = []
    return blocks


def changed_lines(diff):
    """The lines a unified diff removes and adds, without the file headers."""
    return [line for line in diff.splitlines()
            if line[:1] in "+-" and not line.startswith(("---", "+++"))]


def main() -> int:
    program, page_path = (os.path.abspath(arg) for arg in sys.argv[1:3])
    with open(page_path, encoding="utf-8") as f:
        blocks = page_blocks(f.read())
    attributes = next(b for b in blocks if any("diff=scenario" in line for line in b))
    driver = [line for b in blocks for line in b if line.startswith("git config diff.scenario.")]
    alias = next(line for b in blocks for line in b if line.startswith("git config alias."))
    faults = []
    env = dict(os.environ, PATH=os.path.dirname(program) + os.pathsep + os.environ["PATH"],
               GIT_CONFIG_NOSYSTEM="1", HOME=tempfile.gettempdir(), LC_ALL="C")

    with tempfile.TemporaryDirectory() as repo:
        def run(command, check=True, **kwargs):
            result = subprocess.run(command, cwd=repo, env=env, capture_output=True, text=True,
                                    shell=isinstance(command, str), **kwargs)
            if check and result.returncode != 0:
                raise RuntimeError(f"{command}: {result.returncode}\n{result.stderr}")
            return result

        def compile_scenario():
            run([program, "compile", "--dir", "scenarios", "--base", BASE, "--train", TRAIN,
                 "--quiet"])

        def edit(old, new):
            path = os.path.join(repo, TRAIN_SOURCE)
            with open(path, "rb") as f:
                text = f.read()
            if text.count(old) != 1:
                raise RuntimeError(f"{old!r} is not in the train source once")
            with open(path, "wb") as f:
                f.write(text.replace(old, new))

        run(["git", "init", "-q", "."])
        run(["git", "config", "user.email", "author@example.invalid"])
        run(["git", "config", "user.name", "Author"])
        with open(os.path.join(repo, ".gitattributes"), "w") as f:
            f.write("\n".join(attributes) + "\n")
        for line in driver:
            run(line)
        run(alias)
        os.mkdir(os.path.join(repo, "scenarios"))
        run([program, "export", "--dir", "scenarios", "--base", BASE, "--train", TRAIN,
             "--quiet"])
        compile_scenario()
        run(["git", "add", "-A"])
        run(["git", "commit", "-q", "-m", "first"])
        run(["git", "tag", "v1"])

        edit(b"30, 14, 50, 0, MIRALTO", b"40, 14, 50, 0, MIRALTO")
        edit(b"velocita,   10350,   175", b"velocita,   10350,   170")
        compile_scenario()

        # The working tree against the last commit, then two commits: the
        # driver is given the file itself, then temporary copies.
        for label, revisions in [("working tree", []), ("commits", ["v1", "HEAD"])]:
            if revisions:
                run(["git", "commit", "-q", "-a", "-m", "second"])
            sim = changed_lines(run(["git", "diff", *revisions, "--", SIM]).stdout)
            if (len(sim) != 2 or not sim[0].startswith('-km 121+050  station "MIRALTO"')
                    or "standing time 30 s" not in sim[0]
                    or sim[1] != "+" + sim[0][1:].replace("standing time 30 s",
                                                          "standing time 40 s")):
                faults.append(f"{label}: the record table's diff is not the one station: {sim}")
            dat = changed_lines(run(["git", "diff", *revisions, "--", DAT]).stdout)
            wanted = ["-km 10+350 to km 22+000  speed limit: 175 km/h",
                      "+km 10+350 to km 22+000  speed limit: 170 km/h"]
            if dat != wanted:
                faults.append(f"{label}: the cell grid's diff is {dat}, expected {wanted}")
            source = run(["git", "diff", *revisions, "--", TRAIN_SOURCE]).stdout
            if "Binary files" in source or len(changed_lines(source)) != 4:
                faults.append(f"{label}: the train source's diff is not two lines: {source}")
        stat = run(["git", "diff", "--stat", "v1", "HEAD"]).stdout
        if f"{BASE}_linea.dat" in stat:
            faults.append(f"the plan geometry changed: {stat}")

        # The whole scenario between two checkouts, through the page's alias.
        result = run(["git", "scenario-diff", "v1", "scenarios", BASE, TRAIN], check=False)
        expected_tail = ("km 10+350 to km 22+000  speed limit changed: from 175 km/h to 170 km/h"
                         f"  (scenarios/{BASE}_{TRAIN}-.txt:11)\n"
                         f'km 121+050  station "MIRALTO" changed: standing time from 30 s to 40 s'
                         f"  (scenarios/{BASE}_{TRAIN}-.txt:47)\n"
                         "2 changes\n")
        if result.returncode != 1 or not result.stdout.endswith(expected_tail):
            faults.append(f"scenario-diff v1: status {result.returncode}, {result.stdout!r} "
                          f"{result.stderr!r}")
        same = run(["git", "scenario-diff", "HEAD", "scenarios", BASE, TRAIN], check=False)
        if same.returncode != 0 or not same.stdout.endswith("no difference\n"):
            faults.append(f"scenario-diff HEAD: status {same.returncode}, {same.stdout!r} "
                          f"{same.stderr!r}")

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
