#!/usr/bin/env python3
"""Extract a small test fixture of polynomial Besselian elements from the
canon's element table (nasa-besselian/FiveMillenniumCanonOfSolarEclipses.csv),
so that the tests never need the full data set.

Writes tests/astro/data/canon_besselian.csv: the element rows of
  - every member of the Saros series in SERIES (whole series, for the
    series' paths and local circumstances),
  - the eclipses in DATES (well-documented eclipses with published path
    tables and local circumstances),
  - the first eclipse of every century from -1999 to 3000 (the span's eras),
each row as the element table has it, unchanged, after three columns taken
from the canon's catalogue solar.csv for the same date: Saros number,
catalogue number and type.  Rows are date-ordered.  Columns:
  saros, catalog, type, year, mon, day, jd, t0, deltaT, x1..x4, y1..y4,
  d1..d3, m1..m3, l11..l13, l21..l23, tanf1, tanf2
(the element table's own columns are described in its README).

Usage (from the repository root):
    python3 tools/extract_besselian_fixture.py ELEMENTS_CSV SOLAR_CSV [OUT]
(OUT defaults to tests/astro/data/canon_besselian.csv)

Standard library only.  Source: F. Espenak and J. Meeus, Five Millennium
Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006).
Eclipse Predictions by Fred Espenak, NASA's GSFC.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import provenance  # noqa: E402

OUTPUT = "tests/astro/data/canon_besselian.csv"
SERIES = (136, 145)
# (year, month, day): total 2017 Aug 21 and 2024 Apr 8, annular 2023 Oct 14
# and 2021 Jun 10, hybrid 2023 Apr 20 and 2013 Nov 3, total 2026 Aug 12 and
# 2027 Aug 2, partial 2022 Oct 25 and 2025 Mar 29, annular 2012 May 20,
# total 1999 Aug 11; with published path tables: annular 1131 Sep 23 and
# 2173 Oct 7, total 2399 Aug 2 (across the antimeridian); total 2003 Nov 23
# over Antarctica; hybrid 2005 Apr 8, whose path ends NASA publishes; total
# 1997 Mar 9 and 1995 Oct 24, whose local circumstances at cities NASA and
# the press publish.
DATES = ((1999, 8, 11), (2012, 5, 20), (2013, 11, 3), (2017, 8, 21),
         (2021, 6, 10), (2022, 10, 25), (2023, 4, 20), (2023, 10, 14),
         (2024, 4, 8), (2025, 3, 29), (2026, 8, 12), (2027, 8, 2),
         (1131, 9, 23), (2173, 10, 7), (2399, 8, 2), (2003, 11, 23),
         (2005, 4, 8), (1997, 3, 9), (1995, 10, 24))
MONTHS = ("January", "February", "March", "April", "May", "June", "July",
          "August", "September", "October", "November", "December")
ACKNOWLEDGEMENT = "Eclipse Predictions by Fred Espenak, NASA's GSFC"


def catalogue(solar_csv):
    """{(year, month, day): (saros, catalog, type)} of solar.csv."""
    found = {}
    with open(solar_csv, newline="", encoding="ascii") as f:
        lines = f.read().splitlines()
    for line in lines[1:]:
        c = line.split(",")
        year, month, day = c[1].split()
        key = (int(year), MONTHS.index(month) + 1, int(day))
        found[key] = (int(c[5]), int(c[0]), c[6].strip())
    return found


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    elements_csv, solar_csv = argv[:2]
    out = argv[2] if len(argv) == 3 else os.path.join(provenance.ROOT, OUTPUT)
    cat = catalogue(solar_csv)
    with open(elements_csv, encoding="ascii") as f:
        lines = f.read().splitlines()
    header = lines[1].lstrip("#").strip()
    rows = []
    for line in lines[2:]:
        if not line.strip() or line.startswith("#"):
            continue
        c = [v.strip() for v in line.split(",")]
        key = (int(c[0]), int(c[1]), int(c[2]))
        if key not in cat:
            sys.exit("no catalogue row for %d-%02d-%02d" % key)
        rows.append((float(c[3]), key, cat[key], line.strip().rstrip(",")))
    rows.sort()
    centuries = {}
    for jd, key, (saros, number, kind), _ in rows:
        century = (key[0] + 2000) // 100
        centuries.setdefault(century, jd)
    firsts = set(centuries.values())
    keep = [r for r in rows
            if r[2][0] in SERIES or r[1] in DATES or r[0] in firsts]
    words = ["tools/extract_besselian_fixture.py", provenance.from_root(elements_csv),
             provenance.from_root(solar_csv), OUTPUT]
    head = ["# Polynomial Besselian elements of the Five Millennium Canon of Solar",
            "# Eclipses (F. Espenak and J. Meeus, NASA/TP-2006-214141, 2006): every",
            "# member of Saros %s, the first eclipse of every century from -1999 to"
            % " and ".join(str(s) for s in SERIES),
            "# 3000, and %d named eclipses; element rows unchanged, after the Saros"
            % len(DATES),
            "# number, catalogue number and type of the canon's catalogue.",
            "# " + ACKNOWLEDGEMENT + "."]
    head += provenance.header("#", " ".join(words), [elements_csv, solar_csv])
    head.append("saros, catalog, type, " + header)
    body = ["%d, %05d, %s, %s" % (s, n, t, line) for _, _, (s, n, t), line in keep]
    provenance.write_lines(out, head + body)
    print("%d rows written to %s" % (len(body), out), file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv[1:])
