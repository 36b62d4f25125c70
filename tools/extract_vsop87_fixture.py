#!/usr/bin/env python3
"""Extract the small VSOP87D test fixtures of orbitcore.

Writes two text files for tests/ephem (the tests never read the data sets):

  vsop87d_check.txt       the VSOP87D blocks of the authors' check file
                          vsop87.chk: body, JD, l, b, r (rad, AU) and the rates
                          l', b', r' per day, 8 planets x 10 dates, as printed.
  vsop87d_full_1800_2200.txt
                          L, B, R (rad, AU) of every planet from the complete
                          published VSOP87D series (all terms, no FK5 step),
                          summed here in double precision with math.fsum,
                          every 10 Julian years from JD 2378496.5 (1800) to
                          2524596.5 (2200); the reference for the reduced
                          series of orbitcore.

Usage:  python3 tools/extract_vsop87_fixture.py DATA_DIR [OUT_DIR]
  DATA_DIR  folder with vsop87.chk and VSOP87D.*
  OUT_DIR   default: tests/ephem/data
"""
import math
import os
import re
import sys

import provenance

PLANETS = ["MERCURY", "VENUS", "EARTH", "MARS", "JUPITER", "SATURN", "URANUS", "NEPTUNE"]
SUFFIX = {"MERCURY": "mer", "VENUS": "ven", "EARTH": "ear", "MARS": "mar",
          "JUPITER": "jup", "SATURN": "sat", "URANUS": "ura", "NEPTUNE": "nep"}
NUM = r"(-?\d*\.\d+)"
FIXTURES = "tests/ephem/data"


def extract_check(path):
    rows = []
    lines = open(path, encoding="ascii").read().splitlines()
    for i, line in enumerate(lines):
        m = re.match(r"\s*VSOP87D\s+(\w+)\s+JD(\d+\.\d+)", line)
        if not m:
            continue
        pos = re.findall(NUM, lines[i + 1])
        rate = re.findall(NUM, lines[i + 2])
        if len(pos) != 3 or len(rate) != 3:
            raise SystemExit(f"unexpected check block at line {i + 1}")
        rows.append((m.group(1), m.group(2), pos + rate))
    if len(rows) != 80:
        raise SystemExit(f"{len(rows)} VSOP87D check entries, expected 80")
    return rows


def read_series(path):
    blocks = [[], [], []]  # per coordinate: list of (alpha, [(A, B, C)])
    cur = None
    for line in open(path, encoding="ascii"):
        if line.startswith(" VSOP87"):
            cur = []
            blocks[int(line[41]) - 1].append((int(line[59]), cur))
        elif line.strip():
            cur.append((float(line[79:97]), float(line[97:111]), float(line[111:131])))
    return blocks


def full_lbr(blocks, jd):
    t = (jd - 2451545.0) / 365250.0
    out = []
    for k in range(3):
        total = []
        for alpha, terms in blocks[k]:
            s = math.fsum(a * math.cos(b + c * t) for a, b, c in terms)
            total.append(s * t ** alpha)
        out.append(math.fsum(total))
    out[0] = out[0] % (2 * math.pi)
    return out


def main():
    data, out_dir = provenance.input_and_output(__doc__, FIXTURES)
    os.makedirs(out_dir, exist_ok=True)
    # The command that writes the committed fixtures.
    command = " ".join(["tools/extract_vsop87_fixture.py", provenance.from_root(data), FIXTURES])
    check_file = os.path.join(data, "vsop87.chk")
    series_files = [os.path.join(data, "VSOP87D." + SUFFIX[body]) for body in PLANETS]

    rows = extract_check(check_file)
    with open(os.path.join(out_dir, "vsop87d_check.txt"), "w", newline="\n") as f:
        f.write("# VSOP87D check values, extracted from vsop87.chk (Bretagnon & Francou 1988,\n")
        f.write("# CDS VI/81) by tools/extract_vsop87_fixture.py.\n")
        f.write("\n".join(provenance.header("#", command, [check_file])) + "\n")
        f.write("# body jd l_rad b_rad r_au dl_rad_per_day db_rad_per_day dr_au_per_day\n")
        for body, jd, vals in rows:
            f.write(f"{body} {jd} " + " ".join(vals) + "\n")

    with open(os.path.join(out_dir, "vsop87d_full_1800_2200.txt"), "w", newline="\n") as f:
        f.write("# L, B, R of the complete VSOP87D series (all published terms, no FK5\n")
        f.write("# correction), summed in double precision by tools/extract_vsop87_fixture.py\n")
        f.write("# from VSOP87D.* (CDS VI/81), every 3652.5 days from JD 2378496.5 to 2524596.5.\n")
        f.write("\n".join(provenance.header("#", command, series_files)) + "\n")
        f.write("# body jd l_rad b_rad r_au\n")
        for body in PLANETS:
            blocks = read_series(series_files[PLANETS.index(body)])
            for n in range(41):
                jd = 2378496.5 + 3652.5 * n
                l, b, r = full_lbr(blocks, jd)
                f.write(f"{body} {jd:.1f} {l:.15f} {b:.15f} {r:.15f}\n")
    print("wrote", out_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
