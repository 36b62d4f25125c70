#!/usr/bin/env python3
"""Convert the NASA Five Millennium Canon of Solar Eclipses (CSV) into the
eclipse canon text file that Nodalis reads (check box "Canon").

Output: comment lines starting with "#", then one line per eclipse with
eleven blank-separated numbers

    year month day kind central magnitude gamma saros catalog lunation jd_tdt

  year, month, day  calendar date (astronomical years; Julian calendar before
                    1582 Oct 15, Gregorian after), as in the catalogue
  kind              1 partial, 2 total, 3 annular, 4 hybrid (type letter
                    P, T, A, H)
  central           0 non-central (qualifier "+" or "-": A+, A-, T+, T-),
                    1 otherwise (partial eclipses: 0)
  magnitude         eclipse magnitude (not used by Nodalis)
  gamma             gamma of greatest eclipse
  saros             Saros series number
  catalog, lunation catalogue number and Meeus lunation number (not used)
  jd_tdt            Julian date of greatest eclipse in dynamical time
                    (the catalogue's "Eclipse Time" is TD)

The first data line is a coverage marker (kind 0, the date of the first
eclipse): Nodalis takes the first line whose date and Julian date agree as
the start of the data and never uses it as a member, so every eclipse of
the catalogue follows it.

Usage:
    python3 tools/nasa_canon_to_canon.py SOLAR_CSV OUT_TXT [--saros N ...]

--saros keeps only the given series (for small test excerpts).  Standard
library only.  Reference: F. Espenak and J. Meeus, Five Millennium Canon of
Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006).
"""
import argparse
import csv
import math
import sys

import provenance

MONTHS = {m: i + 1 for i, m in enumerate(
    ["January", "February", "March", "April", "May", "June", "July",
     "August", "September", "October", "November", "December"])}
KIND = {"P": 1, "T": 2, "A": 3, "H": 4}


def calendar_to_jd(year, month, day):
    """Julian date at 0h of a calendar date (Meeus, Astronomical Algorithms,
    ch. 7); Julian calendar before 1582 October 15."""
    y, m = year, month
    if m <= 2:
        y -= 1
        m += 12
    if (year, month, day) < (1582, 10, 15):
        b = 0
    else:
        a = y // 100
        b = 2 - a + a // 4
    return (math.floor(365.25 * (y + 4716)) + math.floor(30.6001 * (m + 1))
            + day + b - 1524.5)


def parse_row(row):
    """One catalogue row -> tuple of the eleven output fields."""
    ymd = row["Calendar Date"].split()
    year, month, day = int(ymd[0]), MONTHS[ymd[1]], int(ymd[2])
    hh, mm, ss = (int(v) for v in row["Eclipse Time"].split(":"))
    jd = calendar_to_jd(year, month, day) + (hh + mm / 60 + ss / 3600) / 24
    etype = row["Eclipse Type"].strip()
    kind = KIND[etype[0]]
    central = 0 if kind == 1 or "+" in etype or "-" in etype else 1
    return (year, month, day, kind, central, float(row["Eclipse Magnitude"]),
            float(row["Gamma"]), int(row["Saros Number"]),
            int(row["Catalog Number"]), int(row["Lunation Number"]), jd)


def main(argv, header_lines=None):
    """header_lines: the comment lines naming the command and its input;
    by default this tool's own command."""
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("solar_csv")
    ap.add_argument("out_txt")
    ap.add_argument("--saros", type=int, action="append", default=[])
    args = ap.parse_args(argv)
    with open(args.solar_csv, newline="", encoding="ascii") as f:
        rows = [parse_row(r) for r in csv.DictReader(f)]
    keep = set(args.saros)
    if keep:
        rows = [r for r in rows if r[7] in keep]
    if header_lines is None:
        cmd = " ".join(["tools/nasa_canon_to_canon.py", provenance.from_root(args.solar_csv),
                        provenance.from_root(args.out_txt)]
                       + [f"--saros {s}" for s in args.saros])
        header_lines = provenance.header("#", cmd, [args.solar_csv])
    with open(args.out_txt, "w", encoding="ascii", newline="\n") as out:
        out.write("# Solar eclipse canon for Nodalis, generated; do not edit.\n")
        out.write("# Source: NASA Five Millennium Canon of Solar Eclipses "
                  "(Espenak & Meeus 2006), CSV solar.csv\n")
        out.write("\n".join(header_lines) + "\n")
        out.write("# year month day kind central magnitude gamma saros "
                  "catalog lunation jd_tdt\n")
        first = rows[0]
        out.write("%d %d %d 0 0 0.0000 0.0000 0 0 0 %.6f\n"
                  % (first[0], first[1], first[2], first[10]))
        for r in rows:
            out.write("%d %d %d %d %d %.4f %.4f %d %d %d %.6f\n" % r)
    print(f"{len(rows)} eclipses written to {args.out_txt}", file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv[1:])
