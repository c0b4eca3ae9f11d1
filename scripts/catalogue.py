#!/usr/bin/env python3
"""The message catalogue of po/: extraction and the checks CI runs.

  catalogue.py extract [ROOT]   writes po/scenario-compiler.pot from the code
  catalogue.py pot [ROOT]       fails when the committed .pot differs from what
                                xgettext extracts now (the creation date aside)
  catalogue.py complete [ROOT]  fails unless po/it.po passes msgfmt --check with
                                every message translated, none fuzzy, and holds
                                every message of the .pot

Texts are marked in the code with tr(language, "...") and trf(language, "...",
{...}) where they are shown, with N_("...") where a table holds them, and with
T("...") in the page's script (src/view/page.js).
"""
import os
import re
import subprocess
import sys
import tempfile

# T("...") marks the texts of the page's script.
KEYWORDS = ["--keyword=N_", "--keyword=tr:2", "--keyword=trf:2", "--keyword=T"]


def code_files(root):
    files = []
    for folder, _, names in os.walk(os.path.join(root, "src")):
        for name in names:
            if name.endswith((".cpp", ".h", ".js")) and not name.endswith("_test.cpp"):
                files.append(os.path.relpath(os.path.join(folder, name), root))
    return sorted(files)


def extract(root, output):
    subprocess.run(
        ["xgettext", "--from-code=UTF-8", "--keyword", *KEYWORDS,
         "--add-location=file", "--package-name=scenario-compiler", "--no-wrap",
         "--force-po", "-o", output, *code_files(root)],
        cwd=root, check=True)


def without_date(text):
    return re.sub(r'"POT-Creation-Date: [^"]*"\n', "", text)


def entries(path):
    """The (msgid, msgstr) pairs of a PO file, continuation lines joined."""
    pairs, key, field = [], None, None
    parts = {"msgid": [], "msgstr": []}

    def flush():
        if parts["msgid"] or parts["msgstr"]:
            pairs.append(("".join(parts["msgid"]), "".join(parts["msgstr"])))
        parts["msgid"], parts["msgstr"] = [], []

    with open(path, encoding="utf-8") as po:
        for line in po:
            line = line.strip()
            if line.startswith("#"):
                continue
            for key in ("msgid", "msgstr"):
                if line.startswith(key + " "):
                    if key == "msgid":
                        flush()
                    field = key
                    line = line[len(key) + 1:]
                    break
            if line.startswith('"') and field:
                parts[field].append(line[1:-1])
    flush()
    return pairs


def placeholder_faults(path):
    """Translations whose {1}, {2}... differ from their English text's."""
    faults = []
    for english, translated in entries(path):
        if not english or not translated:
            continue
        wanted = sorted(set(re.findall(r"\{[0-9]+\}", english)))
        found = sorted(set(re.findall(r"\{[0-9]+\}", translated)))
        if wanted != found:
            faults.append(f"{english!r}: {wanted} in English, {found} in the translation")
    return faults


def main():
    mode = sys.argv[1]
    root = sys.argv[2] if len(sys.argv) > 2 else "."
    pot = os.path.join(root, "po", "scenario-compiler.pot")
    italian = os.path.join(root, "po", "it.po")
    if mode == "extract":
        extract(root, os.path.abspath(pot))
        return 0
    if mode == "pot":
        with tempfile.TemporaryDirectory() as scratch:
            fresh = os.path.join(scratch, "fresh.pot")
            extract(root, fresh)
            with open(fresh, encoding="utf-8") as new, open(pot, encoding="utf-8") as old:
                if without_date(new.read()) != without_date(old.read()):
                    subprocess.run(["diff", "-u", pot, fresh])
                    print("po/scenario-compiler.pot is out of date: run scripts/catalogue.py"
                          " extract, then translate the new messages in po/it.po")
                    return 1
        print("po/scenario-compiler.pot holds every message of the code")
        return 0
    if mode == "complete":
        run = subprocess.run(["msgfmt", "--check", "--statistics", "-o", os.devnull, italian],
                             capture_output=True, text=True, env=dict(os.environ, LC_ALL="C"))
        print(run.stderr.strip())
        if run.returncode != 0 or "untranslated" in run.stderr or "fuzzy" in run.stderr:
            print("po/it.po: every message must be translated, none fuzzy")
            return 1
        faults = placeholder_faults(italian)
        if faults:
            print("\n".join(faults))
            print("po/it.po: a translation must hold the values of its English text")
            return 1
        compare = subprocess.run(["msgcmp", italian, pot], capture_output=True, text=True,
                                 env=dict(os.environ, LC_ALL="C"))
        if compare.returncode != 0:
            print(compare.stderr.strip())
            print("po/it.po lacks messages of the .pot: run msgmerge --update po/it.po"
                  " po/scenario-compiler.pot and translate them")
            return 1
        return 0
    sys.exit(f"unknown mode {mode}")


if __name__ == "__main__":
    sys.exit(main())
