#!/usr/bin/env python3
"""Extract the small test fixtures of the eclipse core from the NASA Five
Millennium Canon of Solar Eclipses (CSV), so that the tests never need the
full catalogue.

Writes into OUT_DIR (normally tests/app/data):
  nasa_saros_members.csv      every member of twelve Saros series whose
                              spans together cover the canon's -1999 ..
                              3000 (SERIES below, about 800 eclipses):
                              saros,catalog,date,jd_tdt,gamma,type
                              (jd_tdt of greatest eclipse, TD as in the Canon)
  canon_saros_145_136.txt     the canon file format of Nodalis for Saros 145
                              and 136 (same as tools/nasa_canon_to_canon.py
                              --saros 145 --saros 136)
  canon_saros_series.csv      one line per Saros number of the canon: its
                              members within -1999 .. 3000, the first and
                              last of them and the one of smallest |gamma|:
                              saros,members,first_jd,central_jd,last_jd,
                              first_date,central_date,last_date (TD)
  canon_eclipse_windows.csv   every eclipse of three years in each century
                              of the canon (-1950 .. 2952, WINDOWS below),
                              date-ordered: window,catalog,date,jd_tdt,
                              saros,type (the neighbours in time of the
                              eclipse step buttons)
and, when ASTRO_DIR is given (normally tests/astro/data):
  canon_circumstances.csv     every member of Saros 5, 60, 128, 133, 136 and
                              140 (-1999 ... 2774) as the Canon's rows, all
                              15 columns unchanged, date-ordered

Usage:
    python3 tools/extract_canon_fixture.py SOLAR_CSV OUT_DIR [ASTRO_DIR]

Standard library only.  Source: F. Espenak and J. Meeus, Five Millennium
Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006).
"""
import csv
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import nasa_canon_to_canon as conv  # noqa: E402
import provenance  # noqa: E402

# Two to six series in every 500-year era of the canon: 10 (-1999 .. -1169),
# 30, 48, 62, 80, 100, 120, 130, 136, 139, 145, 160 (2181 .. 2992).
SERIES = (10, 30, 48, 62, 80, 100, 120, 130, 136, 139, 145, 160)
# Series for the circumstances: one from the Canon's start, one around the
# year 0, four of 1000-2500 with every kind of type qualifier among them
# (b e m, + -, n s, 2 3).
CIRCUMSTANCE_SERIES = (5, 60, 128, 133, 136, 140)
# Windows of consecutive eclipses: WINDOW_YEARS years from each of these
# years (one in every century of the canon, 50 in all).
WINDOWS = tuple(range(-1950, 3000, 100))
WINDOW_YEARS = 3


# The committed fixtures' folders.
APP_DATA = "tests/app/data"
ASTRO_DATA = "tests/astro/data"


def source(solar_csv):
    """The header lines naming the command that writes the committed
    fixtures and its input."""
    words = ["tools/extract_canon_fixture.py", provenance.from_root(solar_csv),
             APP_DATA, ASTRO_DATA]
    return provenance.header("#", " ".join(words), [solar_csv])


def write_circumstances(solar_csv, astro_dir, header_lines):
    with open(solar_csv, newline="", encoding="ascii") as f:
        lines = f.read().splitlines()
    header, rows = lines[0], lines[1:]
    saros = header.split(",").index("Saros Number")
    keep = [r for r in rows if int(r.split(",")[saros]) in CIRCUMSTANCE_SERIES]
    path = os.path.join(astro_dir, "canon_circumstances.csv")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("# Members of Saros %s from the NASA Five Millennium Canon of\n"
                  % ", ".join(str(s) for s in CIRCUMSTANCE_SERIES))
        out.write("# Solar Eclipses (F. Espenak and J. Meeus, NASA/TP-2006-214141, 2006),\n")
        out.write("# rows of its CSV catalogue solar.csv unchanged.\n")
        out.write("\n".join(header_lines) + "\n")
        out.write(header + "\n")
        for r in keep:
            out.write(r + "\n")
    print(f"{len(keep)} rows written to {path}", file=sys.stderr)


def write_series(solar_csv, out_dir, header_lines):
    """One line per Saros number: its members' count, first, central
    (smallest |gamma|) and last member."""
    series = {}
    with open(solar_csv, newline="", encoding="ascii") as f:
        for r in csv.DictReader(f):
            row = conv.parse_row(r)
            series.setdefault(row[7], []).append(row)
    path = os.path.join(out_dir, "canon_saros_series.csv")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("# Every Saros series of the NASA Five Millennium Canon of Solar Eclipses\n")
        out.write("# (Espenak & Meeus 2006, CSV solar.csv), one line each: its members\n")
        out.write("# within -1999 .. 3000 and the first, the central (smallest |gamma|) and\n")
        out.write("# the last of them, Julian dates TD of greatest eclipse.\n")
        out.write("\n".join(header_lines) + "\n")
        out.write("saros,members,first_jd,central_jd,last_jd,first_date,central_date,last_date\n")
        for saros in sorted(series):
            rows = series[saros]
            central = min(rows, key=lambda f: abs(f[6]))
            date = lambda f: "%04d-%02d-%02d" % (f[0], f[1], f[2])
            out.write("%d,%d,%.6f,%.6f,%.6f,%s,%s,%s\n" % (
                saros, len(rows), rows[0][10], central[10], rows[-1][10],
                date(rows[0]), date(central), date(rows[-1])))
    print(f"{len(series)} series written to {path}", file=sys.stderr)


def write_windows(solar_csv, out_dir, header_lines):
    """Every eclipse of WINDOW_YEARS years from each year of WINDOWS."""
    rows = []
    with open(solar_csv, newline="", encoding="ascii") as f:
        for r in csv.DictReader(f):
            f_ = conv.parse_row(r)
            for w in WINDOWS:
                if w <= f_[0] < w + WINDOW_YEARS:
                    rows.append((w, f_, r["Eclipse Type"].strip()))
    path = os.path.join(out_dir, "canon_eclipse_windows.csv")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("# Every eclipse of %d years from each of the years %d, %d, ... %d\n"
                  % (WINDOW_YEARS, WINDOWS[0], WINDOWS[1], WINDOWS[-1]))
        out.write("# from the NASA Five Millennium Canon of Solar Eclipses (Espenak & Meeus\n")
        out.write("# 2006), CSV solar.csv, date-ordered; jd_tdt of greatest eclipse (TD).\n")
        out.write("\n".join(header_lines) + "\n")
        out.write("window,catalog,date,jd_tdt,saros,type\n")
        for w, f_, etype in rows:
            out.write("%d,%d,%04d-%02d-%02d,%.6f,%d,%s\n" % (
                w, f_[8], f_[0], f_[1], f_[2], f_[10], f_[7], etype))
    print(f"{len(rows)} eclipses written to {path}", file=sys.stderr)


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    solar_csv, out_dir = argv[:2]
    header_lines = source(solar_csv)
    if len(argv) == 3:
        write_circumstances(solar_csv, argv[2], header_lines)
    with open(solar_csv, newline="", encoding="ascii") as f:
        rows = [r for r in csv.DictReader(f) if int(r["Saros Number"]) in SERIES]
    path = os.path.join(out_dir, "nasa_saros_members.csv")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("# Every member of Saros %s\n" % ", ".join(str(n) for n in SERIES))
        out.write("# from the NASA Five Millennium Canon of Solar Eclipses (Espenak & Meeus\n")
        out.write("# 2006), CSV solar.csv.\n")
        out.write("\n".join(header_lines) + "\n")
        out.write("saros,catalog,date,jd_tdt,gamma,type\n")
        for r in rows:
            f = conv.parse_row(r)
            out.write("%d,%d,%04d-%02d-%02d,%.6f,%.4f,%s\n" % (
                f[7], f[8], f[0], f[1], f[2], f[10], f[6], r["Eclipse Type"].strip()))
    write_series(solar_csv, out_dir, header_lines)
    write_windows(solar_csv, out_dir, header_lines)
    conv.main([solar_csv, os.path.join(out_dir, "canon_saros_145_136.txt"),
               "--saros", "145", "--saros", "136"], header_lines)
    print(f"{len(rows)} members written to {path}", file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv[1:])
