#!/usr/bin/env python3
"""Writes the hand-made seed inputs of fuzz/corpus/. Run from the repo root:

    scripts/make_fuzz_seeds.py [build/scenario-compiler]

Given the executable, it also writes the built-in sources as seeds, exported
with `scenario-compiler export`.

Each seed is a source text (or, for both_sources, a line source and a train
source joined by "====="). They stand at the edges the readers must survive:
positions at and past both ends of the grid, negative positions, huge
numbers, long entries near the end, many entries at one position. The lines
longer than the fast targets' limit (10 km) are also the seeds of long_lines.

The seeds of scenario_files are scenario files, whole or broken: small ones
made here and, given the executable, parts of the built-in scenario's files
(its 7 MB plan geometry cut to its first and last metres).
"""
import os
import struct
import subprocess
import sys
import tempfile

HEADER = ("[generale]\r\n"
          "lunghezza percorso, {length}\r\n"
          "progressiva chilometrica uno, 0, 0, 0\r\n"
          "progressiva chilometrica due, 0, 0, 0\r\n"
          "progressiva chilometrica tre, 0, 0, 0\r\n"
          "sfondo uno, 1\r\nsfondo due, 0\r\nsfondo tre, 0\r\n"
          "ripetizione segnali 4 codici, 0, 0\r\n")
TRAILER = "[fine]\r\n\r\n"


def line(length, body):
    return HEADER.format(length=length) + "[corpo]\r\n" + body + TRAILER


def train(body):
    return "[generale]\r\nnumero vetture, 8\r\npercentuale massa frenata, 120\r\n" + body + TRAILER


def rows(*entries):
    return "".join(entry + "\r\n" for entry in entries)


# Length 1000 m: N = 160, M = 8000; the last position in range is 7900.
LINE = {
    "minimal": line(0, ""),
    "length_negative": line(-1, rows("pendenza, 100, 5")),
    "length_largest": line(1000000, rows("pendenza, 1006900, 3", "curvad1, 999000, 5000")),
    "length_too_large": line(1000001, ""),
    "huge_numbers": line(1000, rows("pendenza, 2147483647, 2147483647",
                                    "pendenza, -2147483648, -2147483648")),
    "number_out_of_range": line(1000, rows("pendenza, 2147483648, 1")),
    "gradient_last_position": line(1000, rows("pendenza, 7900, 4", "pendenza, 7901, 5")),
    "gradient_negative": line(1000, rows("pendenza, -500, 4", "pendenza, -25, 6", "pendenza, 25, 2")),
    "board_negative": line(1000, rows("cartello_indicatore, -75, (cella 0)",
                                      "cartello_indicatore, -100, (prima della linea)")),
    "board_last_position": line(1000, rows("cartello_indicatore, 7900, (ultima)",
                                           "cartello_indicatore, 7925, (oltre)")),
    "indicator_negative": line(1000, rows("indicatori_vmax, -200, 100, 100, 100, 0, 100, 100, 100, 0")),
    "indicator_huge_speeds": line(1000, rows(
        "indicatori_vmax, 500, 2000, 100, 100, 0, 100, 100, 100, 0")),
    "tunnel_past_end": line(1000, rows("montagna, 7000, 2000000, 11", "montagna, 7900, 2147483647, 12")),
    "tunnel_negative": line(1000, rows("montagna, -5000, 300, 12", "montagna, -2147483648, -100, 11")),
    "curve_past_end": line(1000, rows("curvad4, 7900, 100000")),
    "curve_overlapping": line(1000, rows("curvad6, 500, 3000", "curvas1, 100, 200", "curva, 5000, 10")),
    "boards_80": line(10000, rows(*["cartello_indicatore, %d, (Km %d)" % (100 * i, i) for i in range(1, 81)])),
    "same_position_gradients": line(0, rows(*["pendenza, 5000, %d" % (i % 40 - 20) for i in range(3000)])),
    "same_position_tunnels": line(0, rows(*["montagna, 1000, 3000, %d" % (i % 20) for i in range(2000)])),
    "same_position_boards": line(0, rows(*["indicatori_vmax, 4000, 100, 100, 100, 0, 100, 100, 100, 0"] * 2)),
    "truncated": line(1000, "")[:-30] + "pendenza, 100",
    "no_length": "[generale]\r\nsfondo uno, 1\r\n[corpo]\r\npendenza, 100, 5\r\n" + TRAILER,
    "no_general": "lunghezza percorso, 1000\r\npendenza, 100, 5\r\n",
    "quotes": line(1000, rows('cartello_indicatore, 500, "Km 0,500 ""virgolette"" ", resto',
                              'cartello_indicatore, 1000, "senza fine')),
    "repetition_faults": "[generale]\r\nripetizione segnali, 0, 50\r\nlunghezza percorso, 100\r\n" + TRAILER,
    "comments_and_dashes": line(1000, rows("- pendenza, 100, 5", "--, -, pendenza, 200, 6",
                                           "-, -, -, pendenza, 300, 7")),
    "lone_line_ends": line(1000, "pendenza, 100, 5\rpendenza, 200, 6\npendenza,300,7\r\n").replace("\r\n", "\n"),
    "binary_junk": "[generale]\x00\xff\xfe,lunghezza percorso,\x00 12\x80\r\n\x01\x02pendenza,\xff\r\n",
}

# The fixed line source of the train target is 1000 m long: N = 160, the last
# position in range is 7900, the last station position 7200.
TRAIN = {
    "minimal": train(""),
    "last_positions": train(rows("velocita, 0, 100", "aderenza, 0, 90", "velocita, 7900, 60",
                                 "aderenza, 7900, 80", "segnale, 7900, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
                                 "abbattimento, 7850, 70", "velocita, 7901, 60")),
    "past_last_position": train(rows("segnale, 7901, 2, 4, 1, 0, 0, 1, 3,1,0, 0")),
    "negative_positions": train(rows("velocita, -100, 100", "aderenza, -5000, 90", "velocita, -2147483648, 50",
                                     "abbattimento, -30, 5")),
    "negative_signal": train(rows("segnale, -100, 2, 4, 1, 0, 0, 1, 3,1,0, 0")),
    "negative_restriction": train(rows("rallentamento, -1000, 60, 400, 0, 1, 60")),
    "signal_near_start": train(rows("segnale, 100, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
                                    "segnale, 300, 1, 4, 1, 0, 0, 1, 3,1,0, 7")),
    "signal_on_cell_1": train(rows("segnale, 0, 2, 4, 1, 0, 0, 1, 3,1,0, 0")),
    "restriction_end_past_grid": train(rows("rallentamento, 7000, 60, 5000, 0, 1, 60")),
    "restriction_huge_length": train(rows("rallentamento, 6000, 60, 2147483647, 0, 1, 60")),
    "restriction_same_cell": train(rows("rallentamento, 7800, 60, 0, 0, 1, 60")),
    "long_station_near_end": train(rows("stazione, 7200, 12, 1800, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Lunga")),
    "long_station_extended": train(rows("stazione, 7200, 12, 1700, 0, 0, 1, 1,1,0, 4,1,1, 30, 7,16,0, Prima",
                                        "stazione, 7200, 7, 900, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Seconda")),
    "station_last_position": train(rows("stazione, 7200, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Ultima",
                                        "stazione, 7250, 28, 200, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, Oltre")),
    "station_at_start": train(rows("stazione, 0, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Inizio")),
    "station_negative": train(rows("stazione, -1000, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Prima")),
    "same_position_speeds": train(rows(*["velocita, 5000, %d" % (40 + i % 100) for i in range(3000)])),
    "same_position_adhesion": train(rows(*["aderenza, 5000, %d" % (i % 300) for i in range(3000)])),
    "same_position_points": train(rows(*["abbattimento, 5000, 70"] * 2000)),
    "huge_numbers": train(rows("velocita, 0, 2147483647", "velocita, 1000, 100")),
    "speed_too_high": train(rows("velocita, 0, 1278", "velocita, 1000, 100")),
    "field_too_wide": train(rows("orologio, 99999 0 0", "sabbia, 32768")),
    "truncated": train("")[:-10] + "stazione, 1500, 12, 400",
    "no_general": "velocita, 0, 100\r\nsegnale, 1000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\r\n",
    "binary_junk": "[generale]\x00\xff,stazione\x00,\x80\x81,velocita,1e5,\r\n\x7f",
    "clock_blanks": train(rows("orologio, 14 40 40 ", "Velocit\xe0, 1000, 160", "[velocita]", "2000, 100")),
}

# Both sources: the line source, "=====", the train source.
SHORT_LINE = line(0, rows("pendenza, 1000, 3", "cartello_indicatore, 6000, (Km 6)"))
BOTH = {
    "short_line_far_train": SHORT_LINE + "=====" + train(rows("velocita, 0, 100", "velocita, 6900, 80",
                                                              "segnale, 7000, 2, 4, 1, 0, 0, 1, 3,1,0, 0")),
    "line_status_15_then_train": line(1000, rows("pendenza, 9000, 3")) + "=====" + train(rows(
        "velocita, 0, 100", "segnale, 3000, 2, 4, 1, 0, 0, 1, 3,1,0, 0")),
    # Start board in cell 8, cells 3 and 2 taken: the first band's point lands on cell 1.
    "reduction_point_on_cell_1": SHORT_LINE + "=====" + train(rows(
        "segnale, 50, 2, 4, 1, 0, 0, 1, 3,1,0, 0", "segnale, 100, 2, 4, 1, 0, 0, 1, 3,1,0, 0",
        "rallentamento, 350, 60, 200, 0, 0, 60")),
    "restriction_walk_to_end": line(0, "") + "=====" + train(rows("rallentamento, 6500, 60, 0, 0, 0, 60")),
    "restriction_end_near_grid_end": line(0, "") + "=====" + train(rows(
        "rallentamento, 5000, 60, 1500, 0, 1, 60", "segnale, 6900, 2, 4, 1, 0, 0, 1, 3,1,0, 0")),
    "stations_fill_rows": line(40000, "") + "=====" + train(rows(*[
        "stazione, %d, 12, 100, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,%d,0, S%d" % (500 * i, i % 60, i)
        for i in range(1, 82)])),
    "empty_line": "=====" + train(""),
    "empty_both": "=====",
}


def tagged(code, value=None):
    if code == 2:
        return struct.pack("<Hh", 2, value)
    if code == 5:
        return struct.pack("<Hd", 5, value)
    return struct.pack("<H", code)


def table_row(kind=0, text=b""):
    return struct.pack("<BiiiBH", kind, 1, 2, 3, 0, len(text)) + text + bytes(18)


SCENARIO_FILES = {
    "empty": b"",
    "geometry_two_metres": tagged(2, 0) + tagged(2, 1) + tagged(2, -3) + tagged(5, 2.5),
    "geometry_odd_count": tagged(2, 7) + tagged(0) + tagged(5, -1.0),
    "geometry_unknown_code": tagged(0) + struct.pack("<H", 3) + bytes(8),
    "geometry_truncated_real": tagged(0) + tagged(0) + tagged(5, 1.0)[:-3],
    "geometry_nan_and_infinity": tagged(5, float("nan")) + tagged(5, float("inf")) +
                                 tagged(5, -0.0) + tagged(5, float("-inf")),
    "table_empty_rows": b"".join(table_row() for _ in range(87)),
    "table_texts": b"".join(table_row(i % 7, bytes([i, 0x22, 0x5c, 0xe0])) for i in range(87)),
    "table_one_byte_after": b"".join(table_row() for _ in range(87)) + b"x",
    "table_text_past_end": table_row(text=b"abc")[:20],
    "grid_one_cell": bytes(range(15)),
    "grid_cell_and_a_half": bytes(range(22)),
}

# The lines the fast targets compile without their plan geometry.
LONG_LINES = ["builtin", "length_largest", "length_too_large"]


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, text in seeds.items():
        data = text if isinstance(text, bytes) else text.encode("latin-1")
        with open(os.path.join(folder, name + (".bin" if isinstance(text, bytes) else ".txt")), "wb") as out:
            out.write(data)


def geometry_values(data):
    """The plan geometry file's tagged values, each as its bytes."""
    sizes = {0: 2, 2: 4, 5: 10}
    values, offset = [], 0
    while offset < len(data):
        size = sizes[struct.unpack_from("<H", data, offset)[0]]
        values.append(data[offset:offset + size])
        offset += size
    return values


def builtin_scenario_files(executable):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([executable, "build", "--quiet", "--dir", folder], check=True)
        def read(name):
            with open(os.path.join(folder, name), "rb") as source:
                return source.read()
        geometry = geometry_values(read("Orvale_Varcona_linea.dat"))
        table = read("Orvale_Varcona_593.sim")
        grid = read("Orvale_Varcona_593.dat")
    half = len(geometry) // 2
    x, y = geometry[:half], geometry[half:]
    # Metres 0 and 1 (16-bit), the start of the computed part, and the empty
    # last two metres: a whole file of 302 metres.
    kept = list(range(300)) + [half - 2, half - 1]
    cells = [grid[i:i + 15] for i in range(0, len(grid), 15)]
    first_of_kind = {}
    for cell in cells:
        first_of_kind.setdefault(cell[0], cell)
    return {
        "builtin_593_sim": table,
        "builtin_linea_dat_ends": b"".join(x[i] for i in kept) + b"".join(y[i] for i in kept),
        "builtin_593_dat_first_cells": b"".join(cells[:200]),
        "builtin_593_dat_a_cell_of_every_kind": b"".join(first_of_kind.values()),
    }


if len(sys.argv) > 1:
    executable = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([executable, "export", "--quiet", "--dir", folder], check=True)
        with open(os.path.join(folder, "Orvale_Varcona_linea.txt"), "rb") as source:
            builtin_line = source.read().decode("latin-1")
        with open(os.path.join(folder, "Orvale_Varcona_593-.txt"), "rb") as source:
            builtin_train = source.read().decode("latin-1")
    LINE["builtin"] = builtin_line
    TRAIN["builtin"] = builtin_train
    BOTH["builtin"] = builtin_line + "=====" + builtin_train
    SCENARIO_FILES.update(builtin_scenario_files(executable))

write("fuzz/corpus/line_source", LINE)
write("fuzz/corpus/train_source", TRAIN)
write("fuzz/corpus/both_sources", BOTH)
write("fuzz/corpus/long_lines", {name: LINE[name] for name in LONG_LINES if name in LINE})
write("fuzz/corpus/scenario_files", SCENARIO_FILES)
