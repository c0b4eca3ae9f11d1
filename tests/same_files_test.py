#!/usr/bin/env python3
"""Fails when a committed copy differs from the file the build wrote.

Usage: same_files_test.py WRITTEN COMMITTED [WRITTEN COMMITTED ...]
"""
import difflib
import sys


def main() -> int:
    args = sys.argv[1:]
    stale = 0
    for written, committed in zip(args[0::2], args[1::2]):
        with open(written, encoding="utf-8") as f:
            new = f.read().splitlines(keepends=True)
        try:
            with open(committed, encoding="utf-8") as f:
                old = f.read().splitlines(keepends=True)
        except FileNotFoundError:
            old = []
        if new != old:
            stale += 1
            sys.stdout.writelines(difflib.unified_diff(old, new, committed, written))
    if stale:
        print(f"{stale} committed cop{'y is' if stale == 1 else 'ies are'} out of date; "
              "refresh with: cmake --build BUILD_DIR --target update_editor_grammars")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
