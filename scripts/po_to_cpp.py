#!/usr/bin/env python3
"""Writes a PO catalogue as the C++ table the program looks its texts up in.

Usage: po_to_cpp.py CATALOGUE.po OUTPUT.cpp

Entries without a translation, fuzzy entries, obsolete entries and the header
are left out, so that the program shows the English text for them. An entry
used by the page of `view` (src/view/page.js among its places) is flagged so. The table
is sorted by the bytes of the English text (the program searches it).
"""
import ast
import sys


def unquote(line: str) -> bytes:
    # A PO string is a C string literal; Python's reading of one agrees for the
    # escapes PO files use (\n \t \" \\), and the text is UTF-8.
    return ast.literal_eval("b" + line.strip()) if line.isascii() else \
        ast.literal_eval(line.strip()).encode("utf-8")


def entries(text: str):
    entry = {"flags": "", "refs": "", "msgid": None, "msgstr": None}
    field = None
    for line in text.splitlines() + [""]:
        if not line.strip():
            if entry["msgid"] is not None:
                yield entry
            entry = {"flags": "", "refs": "", "msgid": None, "msgstr": None}
            field = None
        elif line.startswith("#,"):
            entry["flags"] += line[2:]
        elif line.startswith("#:"):
            entry["refs"] += line[2:] + " "
        elif line.startswith("#"):
            continue
        elif line.startswith("msgid_plural") or line.startswith("msgctxt"):
            sys.exit(f"unsupported PO keyword: {line}")
        elif line.startswith("msgid "):
            field = "msgid"
            entry[field] = unquote(line[6:])
        elif line.startswith("msgstr "):
            field = "msgstr"
            entry[field] = unquote(line[7:])
        elif line.startswith('"') and field:
            entry[field] += unquote(line)
        else:
            sys.exit(f"unreadable PO line: {line}")


def literal(data: bytes) -> str:
    out = []
    for byte in data:
        char = chr(byte)
        if char in '"\\?':
            out.append("\\" + char)
        elif 32 <= byte < 127:
            out.append(char)
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def main() -> int:
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as po:
        table = {}
        for entry in entries(po.read()):
            if not entry["msgid"] or not entry["msgstr"] or "fuzzy" in entry["flags"]:
                continue
            table[entry["msgid"]] = (entry["msgstr"], "src/view/page.js" in entry["refs"])
    lines = [
        "// Written by scripts/po_to_cpp.py from " + source.replace("\\", "/").split("/")[-1] + ".",
        '#include "language/catalogue.h"',
        "",
        "namespace scenario {",
        "",
        "const CatalogueEntry kItalianCatalogue[] = {",
    ]
    for english in sorted(table):
        translation, page = table[english]
        lines.append(f"    {{{literal(english)},\n     {literal(translation)}, {'true' if page else 'false'}}},")
    if not table:
        lines.append('    {"", "", false},')
    lines += ["};", "", f"const std::size_t kItalianCatalogueSize = {len(table)};", "",
              "}  // namespace scenario", ""]
    text = "\n".join(lines)
    try:
        with open(output, encoding="utf-8") as old:
            if old.read() == text:
                return 0
    except OSError:
        pass
    with open(output, "w", encoding="utf-8") as out:
        out.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
