#!/usr/bin/env python3
"""The page of `scenario-compiler view`, opened in headless Chromium.

For the built-in scenario (from its sources and from its compiled files) and
for a small faulty one (tests/data/view): the page draws without an error in
its console and loads nothing from elsewhere; every station name and the count
of every kind of object (taken from the scenario files themselves) are in the
rendered page; zooming, jumping and hovering work through the page's own
script; a screenshot is a drawn picture. `view` writes no scenario file.
The page of the built-in sources is drawn once more under an Italian locale:
its words are Italian, the scenario's own texts and the data unchanged.

Usage: view_page_test.py SCENARIO_COMPILER [SCREENSHOT_COPY]
"""
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
KIND_NAMES = {1: "signal", 2: "restriction-end", 3: "restriction-start",
              4: "restriction-warning", 5: "pre-warning", 6: "speed-indicator",
              10: "stop-marker", 12: "code-reduction", 13: "code-cut", 14: "indication-board"}
failures = []
# The environment the program runs in: English unless a check picks Italian.
ENGLISH = dict(os.environ, LANGUAGE="", LC_ALL="C", LC_MESSAGES="", LANG="C")
ITALIAN = dict(os.environ, LANGUAGE="", LC_ALL="", LC_MESSAGES="", LANG="it_IT.UTF-8")
# The words the checks look for, in each language.
WORDS = {
    "en": {"status": ("status ", "compiles", "read from", "fatal"), "stations": "{} stations", "cell": "cell {}", "lang": '<html lang="en">',
           "shown": ["Whole line", "Profile, speed limit and objects", "Station"]},
    "it": {"status": ("stato ", "si compila", "letto da", "errore fatale"), "stations": "stazioni: {}", "cell": "cella {}", "lang": '<html lang="it">',
           "shown": ["Tutta la linea", "Profilo, limite di velocità e oggetti", "Stazione",
                     "Planimetria"]},
}


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)
    return condition


def run(args, env=None, **kwargs):
    return subprocess.run(args, capture_output=True, timeout=120, env=env or ENGLISH, **kwargs)


def chromium(args, user_dir):
    command = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync",
               "--user-data-dir=" + user_dir, "--enable-logging=stderr", "--v=0",
               "--window-size=1400,900", "--virtual-time-budget=5000"] + args
    return run(command)


def console_errors(stderr):
    """Lines of the page's console that tell of an error or a refused load."""
    text = stderr.decode("utf-8", "replace")
    return [line for line in text.splitlines()
            if "CONSOLE" in line and re.search(r"Uncaught|Refused|ERR_|Failed to load", line)]


def table_rows(sim):
    """The texts of the record table's 87 rows."""
    rows, at = [], 0
    for _ in range(87):
        size = struct.unpack_from("<H", sim, at + 14)[0]
        rows.append(sim[at + 16:at + 16 + size])
        at += 34 + size
    return rows


def grid_counts(dat):
    counts = {}
    for i in range(0, len(dat), 15):
        kind = dat[i]
        if kind in KIND_NAMES:
            counts[KIND_NAMES[kind]] = counts.get(KIND_NAMES[kind], 0) + 1
    return counts


def png_pixels(data):
    """Width, height and rows of RGB(A) pixels of an 8-bit PNG, unfiltered."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat = 8, b""
    while at < len(data):
        size, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + size]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack_from(">IIBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + size
    assert depth == 8 and colour in (2, 6), "unexpected PNG type"
    step = 3 if colour == 2 else 4
    raw, stride, rows, prev = zlib.decompress(idat), width * step, [], bytearray(width * step)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up, corner = prev[i], prev[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, step, rows


def check_page(exe, folder, base, train, extra, label, scenario_files, selftest, screenshot=None,
               language="en"):
    words = WORDS[language]
    before = sorted(os.listdir(folder))
    page = os.path.join(folder, base + "_" + train + ".html")
    result = run([exe, "view", "--dir", folder, "--base", base, "--train", train] + extra,
                 env=ITALIAN if language == "it" else ENGLISH)
    if not check(result.returncode == 0, f"{label}: view exits 0, got {result.returncode}: "
                                         f"{result.stderr.decode()}"):
        return
    after = sorted(os.listdir(folder))
    check(sorted(set(after) - set(before)) in ([], [os.path.basename(page)]),
          f"{label}: view writes the page and nothing else: {sorted(set(after) - set(before))}")
    html = open(page, encoding="utf-8").read()
    check(not re.search(r"(src|href)\s*=\s*[\"']?(https?:|//)", html, re.I) and
          "@import" not in html and "url(http" not in html,
          f"{label}: the page refers to nothing outside itself")

    sim = open(os.path.join(scenario_files, base + "_" + train + ".sim"), "rb").read()
    dat = open(os.path.join(scenario_files, base + "_" + train + ".dat"), "rb").read()
    rows = table_rows(sim)
    signs = {struct.unpack_from("<h", dat, i + 1)[0] for i in range(0, len(dat), 15) if dat[i] == 14}
    stations = []
    for r in range(1, 80):
        if r in signs or not rows[r]:
            break
        stations.append(rows[r].decode("cp1252"))

    user_dir = tempfile.mkdtemp(prefix="view-chromium-")
    try:
        url = "file://" + page + "#selftest=" + selftest
        dom = chromium(["--dump-dom", url], user_dir)
        check(dom.returncode == 0, f"{label}: chromium --dump-dom exits 0")
        text = dom.stdout.decode("utf-8", "replace")
        errors = console_errors(dom.stderr)
        check(not errors, f"{label}: no error in the page's console: {errors}")
        probe = re.search(r'<pre id="probe"[^>]*>(.*?)</pre>', text, re.S)
        if not check(probe, f"{label}: the page's script ran and wrote its probe"):
            return
        results = json.loads(probe.group(1).replace("&quot;", '"').replace("&amp;", "&")
                             .replace("&lt;", "<").replace("&gt;", ">"))
        check(results["errors"] == [], f"{label}: no script error: {results['errors']}")
        for name in stations:
            check(">" + name + "<" in text, f"{label}: station {name!r} in the rendered page")
        counts = re.search(r'<span id="counts">(.*?)</span>', text)
        if check(counts, f"{label}: the counts are shown"):
            for kind, count in grid_counts(dat).items():
                check(f"{kind} {count}" in counts.group(1),
                      f"{label}: '{kind} {count}' among the counts: {counts.group(1)}")
            check(words["stations"].format(len(stations)) in counts.group(1),
                  f"{label}: station count")
        check(words["lang"] in html, f"{label}: {words['lang']}")
        for shown in words["shown"]:
            check(shown in text, f"{label}: {shown!r} in the rendered page")
        a, b, kind, cell = (int(v) for v in selftest.split(","))
        zoom = results["zoom"]
        check(abs(zoom["a"] - a) < 1 and abs(zoom["b"] - b) < 1, f"{label}: zoomTo gives {zoom}")
        inside = sum(1 for i in range(0, len(dat), 15)
                     if dat[i] in KIND_NAMES and a <= (i // 15 - 1) * 50 <= b)
        check(zoom["drawn"] == inside,
              f"{label}: after the zoom the {inside} objects in {a}..{b} m are drawn: {zoom['drawn']}")
        check(results["whole"]["drawn"] == sum(grid_counts(dat).values()),
              f"{label}: the whole line draws every object")
        hover = results["hover"] or ""
        check(words["cell"].format(cell) in hover and results["tooltipShown"] and results["hovered"] == 1,
              f"{label}: hovering the object of cell {cell} shows it: {hover!r}")
        check(abs((results["jump"]["a"] + results["jump"]["b"]) / 2 - (cell - 1) * 50) < 1,
              f"{label}: typing the object's km centres the view there: {results['jump']}")
        # What the page shows, without its script and style (which name every
        # word the page can show).
        body = re.sub(r"<(script|style)\b[^>]*>.*?</\1>", "", text, flags=re.S)
        badge = re.search(r'<span class="badge[^"]*" id="status">([^<]+)</span>', body)
        check(badge and badge.group(1).startswith(words["status"]),
              f"{label}: the status is shown: {badge and badge.group(1)!r}")

        if screenshot:
            shot = os.path.join(user_dir, "shot.png")
            result = chromium(["--screenshot=" + shot, "file://" + page], user_dir)
            check(not console_errors(result.stderr), f"{label}: no console error on screenshot")
            if check(os.path.exists(shot), f"{label}: a screenshot was taken"):
                width, height, step, pixels = png_pixels(open(shot, "rb").read())
                colours, background = set(), 0
                for row in pixels[::3]:
                    for x in range(0, width * step, step * 3):
                        colour = row[x:x + 3]
                        colours.add(colour)
                        background += colour in (b"\xff\xff\xff", b"\xf6\xf7\xf9")
                total = len(pixels[::3]) * len(range(0, width * step, step * 3))
                check(len(colours) > 50, f"{label}: the screenshot has many colours: {len(colours)}")
                check(background < total * 0.9,
                      f"{label}: the screenshot is not blank: {background} of {total} background")
                if screenshot is not True:
                    shutil.copy(shot, screenshot)
        return body
    finally:
        shutil.rmtree(user_dir, ignore_errors=True)


def check_watch(exe, folder):
    """--watch writes the page again after a source is saved, and the page reloads itself."""
    page = os.path.join(folder, "Lago_7.html")
    if os.path.exists(page):
        os.remove(page)
    process = subprocess.Popen([exe, "view", "--dir", folder, "--base", "Lago", "--train", "7",
                                "--watch"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            if os.path.exists(page):
                break
            time.sleep(0.05)
        first = open(page, encoding="utf-8").read()
        check('"watch":true' in first, "watch: the page knows it is watched (and reloads)")
        source = os.path.join(folder, "Lago_7-.txt")
        with open(source, "rb") as f:
            text = f.read()
        with open(source, "wb") as f:
            f.write(text.replace(b"PORTO FINTO", b"PORTO NUOVO MARE"))
        again = first
        for _ in range(60):
            time.sleep(0.1)
            again = open(page, encoding="utf-8").read()
            if again != first:
                break
        check("PORTO NUOVO MARE" in again, "watch: the page is written again after the save")
    finally:
        process.terminate()
        process.wait(timeout=10)


def main():
    exe = os.path.abspath(sys.argv[1])
    copy = sys.argv[2] if len(sys.argv) > 2 else True
    work = tempfile.mkdtemp(prefix="view test ")
    try:
        built = os.path.join(work, "built")
        sources = os.path.join(work, "sources")
        faulty = os.path.join(work, "faulty")
        os.makedirs(built)
        os.makedirs(sources)
        check(run([exe, "build", "--dir", built, "--quiet"]).returncode == 0, "build of the built-in")
        check(run([exe, "export", "--dir", sources, "--quiet"]).returncode == 0, "export")
        shutil.copytree(os.path.join(HERE, "data", "view"), faulty)

        # The built-in scenario from its sources: the signal at 127000 m is in cell 2541.
        kept = {n: open(os.path.join(sources, n), "rb").read() for n in os.listdir(sources)}
        check_page(exe, sources, "Orvale_Varcona", "593", [], "built-in sources", built,
                   "120000,130000,1,2541", screenshot=copy)
        check(all(open(os.path.join(sources, n), "rb").read() == b for n, b in kept.items()),
              "the sources are kept unchanged")
        # Once more in Italian: the station names (the scenario's own bytes) and the
        # data are the same, the page's words Italian.
        page = check_page(exe, sources, "Orvale_Varcona", "593", [], "built-in sources in Italian",
                          built, "120000,130000,1,2541", language="it")
        check(page is None or "compilato in memoria da Orvale_Varcona_linea.txt" in page,
              "Italian: the origin in Italian")
        # The same from its compiled files.
        page = check_page(exe, built, "Orvale_Varcona", "593", ["--compiled"], "compiled files",
                          built, "120000,130000,1,2541")
        check(page is None or re.search(r'id="status">read from the scenario files<', page),
              "compiled: origin shown")

        # A small faulty scenario: its status and finding are shown and marked.
        compiled = os.path.join(work, "faulty-compiled")
        shutil.copytree(faulty, compiled)
        run([exe, "compile", "--dir", compiled, "--base", "Lago", "--train", "7", "--quiet"])
        page = check_page(exe, faulty, "Lago", "7", [], "faulty", compiled, "0,10000,1,181",
                          screenshot=True)
        if page is not None:
            check("status 16 at 9000 m" in page and "Lago_7-.txt:13" in page,
                  "faulty: the status with its source line is shown")
            check(re.search(r'<[^>]+class="[^"]*\bfinding-mark\b', page) and
                  'class="badge bad"' in page, "faulty: the fault is marked")
        check_watch(exe, faulty)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
