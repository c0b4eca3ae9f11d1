#!/usr/bin/env python3
"""Fails when an include between folders of src/ points anywhere but down.

The layers, bottom first (docs/architecture.md); a folder may include its own
headers and those of the layers below it, never a sibling of its own layer nor
anything above. Test files (*_test.cpp) are left out: they may use anything.
Production code never includes the test-only trees (testing/, tests/).

Usage: check_layers.py [SRC_DIR]
"""
import os
import re
import sys

LAYERS = [
    ["files", "language"],
    ["model"],
    ["sources", "output", "builtin"],
    ["check", "format", "diff", "decompile"],
    ["view", "lsp"],
    ["app"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
TEST_TREES = {"testing", "tests"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/', re.MULTILINE)


def main() -> int:
    src = sys.argv[1] if len(sys.argv) > 1 else "src"
    faults = []
    for root, _, names in os.walk(src):
        folder = os.path.relpath(root, src).split(os.sep)[0]
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")) or name.endswith("_test.cpp"):
                continue
            if folder not in RANK:
                faults.append(f"src/{folder}/{name}: folder '{folder}' is in no layer")
                continue
            with open(os.path.join(root, name), errors="replace") as text:
                for there in INCLUDE.findall(text.read()):
                    where = f"src/{folder}/{name} includes {there}/"
                    if there in TEST_TREES:
                        faults.append(f"{where}: test code in the product")
                    elif there not in RANK:
                        faults.append(f"{where}: folder in no layer")
                    elif there != folder and RANK[there] >= RANK[folder]:
                        faults.append(f"{where}: not below {folder}/")
    for fault in faults:
        print(fault)
    if not faults:
        print("includes point downward:", " < ".join("{" + ",".join(l) + "}" for l in LAYERS))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
