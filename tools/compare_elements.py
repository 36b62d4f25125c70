#!/usr/bin/env python3
"""Compare polynomial Besselian elements with the NASA Five Millennium Canon's.

Both files are in the layout of the canon's element table
(FiveMillenniumCanonOfSolarEclipses.csv: comment lines starting with '#',
then year, mon, day, jd, t0, deltaT, x1..x4, y1..y4, d1..d3, m1..m3,
l11..l13, l21..l23, tanf1, tanf2); ours written by
nodalis-cli --catalog-elements.  Eclipses are matched by the Julian date of
greatest eclipse (TD, within 0.01 day).  Both are evaluated at the canon's
t0 (ours at its own t0 plus the difference of the two t0, which is 0 unless
greatest eclipse lies near a half hour), and the differences ours - canon of
x, y, d, mu, l1, l2 and of their hourly rates are summarised per 500-year
era: count, largest absolute difference and mean; "time" is the difference
of x as a time along the track (x difference / x'), the part of the
difference that comes from the Moon's place along its orbit.

Usage:
    build/bin/nodalis-cli --catalog-elements 1000 2500 --lunar elp2000 \\
        --delta-t espenak-meeus-2006 > OURS.csv
    python3 tools/compare_elements.py OURS.csv CANON.csv [--markdown]
        [--from-year Y] [--to-year Y]

Standard library only.  Canon: F. Espenak and J. Meeus, Five Millennium
Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006).
Eclipse Predictions by Fred Espenak, NASA's GSFC.
"""
import math
import sys

ERA_YEARS = 500
QUANTITIES = [  # name, unit, function of (row, t) -> value
    ("x", "Earth radii"), ("y", "Earth radii"), ("d", "deg"), ("mu", "deg"),
    ("l1", "Earth radii"), ("l2", "Earth radii"),
    ("x'", "Earth radii/h"), ("y'", "Earth radii/h"), ("d'", "deg/h"),
    ("mu'", "deg/h"), ("l1'", "Earth radii/h"), ("l2'", "Earth radii/h"),
    ("time", "s"), ("deltaT", "s"),
]


def read(path):
    """Rows of an element table: dicts with the date, jd, t0 (Julian date
    of t0, TD), deltaT and the coefficient lists."""
    rows = []
    with open(path, encoding="ascii") as f:
        for line in f:
            if not line.strip() or line.startswith("#"):
                continue
            c = [v.strip() for v in line.split(",")]
            if len(c) < 28:
                continue
            v = [float(x) for x in c[3:28]]
            jd, t0 = v[0], v[1]
            # t0 is the hour of the day of greatest eclipse, 0 for midnight
            # after a greatest eclipse at 23:30 or later.
            day_start = math.floor(jd + 0.5) - 0.5
            jd_t0 = day_start + t0 / 24
            if jd_t0 < jd - 0.5:
                jd_t0 += 1
            rows.append({"year": int(c[0]), "jd": jd, "t0": jd_t0, "deltaT": v[2],
                         "x": v[3:7], "y": v[7:11], "d": v[11:14], "mu": v[14:17],
                         "l1": v[17:20], "l2": v[20:23]})
    return rows


def poly(c, t):
    return sum(k * t ** i for i, k in enumerate(c))


def rate(c, t):
    return sum(i * k * t ** (i - 1) for i, k in enumerate(c) if i)


def values(r, t):
    out = {}
    for q in ("x", "y", "d", "mu", "l1", "l2"):
        out[q] = poly(r[q], t)
        out[q + "'"] = rate(r[q], t)
    return out


def compare(ours, canon, from_year, to_year):
    by_jd = sorted(ours, key=lambda r: r["jd"])
    keys = [r["jd"] for r in by_jd]
    import bisect
    eras = {}
    unmatched = 0
    for c in canon:
        if not from_year <= c["year"] <= to_year:
            continue
        i = bisect.bisect_left(keys, c["jd"])
        best = None
        for k in (i - 1, i):
            if 0 <= k < len(by_jd) and abs(by_jd[k]["jd"] - c["jd"]) < 0.01:
                best = by_jd[k]
        if best is None:
            unmatched += 1
            continue
        t = (c["t0"] - best["t0"]) * 24
        o, n = values(best, t), values(c, 0)
        diff = {q: o[q] - n[q] for q in o}
        diff["mu"] = (diff["mu"] + 180) % 360 - 180
        # x along the track as a time: the Moon's position error.
        diff["time"] = diff["x"] / n["x'"] * 3600 if n["x'"] else 0.0
        diff["deltaT"] = best["deltaT"] - c["deltaT"]
        era = (c["year"] + 2000) // ERA_YEARS * ERA_YEARS - 2000
        eras.setdefault(era, []).append(diff)
    return eras, unmatched


def main(argv):
    args = list(argv)
    markdown = "--markdown" in args
    if markdown:
        args.remove("--markdown")
    from_year, to_year = -1999, 3000
    for flag in ("--from-year", "--to-year"):
        if flag in args:
            i = args.index(flag)
            value = int(args[i + 1])
            del args[i:i + 2]
            if flag == "--from-year":
                from_year = value
            else:
                to_year = value
    if len(args) != 2:
        sys.exit(__doc__)
    ours, canon = read(args[0]), read(args[1])
    eras, unmatched = compare(ours, canon, from_year, to_year)
    everything = [d for e in eras.values() for d in e]
    head = "| era | n | " + " | ".join("%s (%s)" % q for q in QUANTITIES) + " |"
    print("Largest |ours - canon| at the canon's t0 (mean in brackets); "
          "%d canon rows without a match" % unmatched)
    print()
    print(head if markdown else head.replace("|", " "))
    if markdown:
        print("|" + "---|" * (len(QUANTITIES) + 2))
    for era in sorted(eras) + ["all"]:
        rows = everything if era == "all" else eras[era]
        if not rows:
            continue
        label = "all" if era == "all" else "%d..%d" % (max(era, from_year), min(era + ERA_YEARS - 1, to_year))
        cells = []
        for q, _ in QUANTITIES:
            vals = [r[q] for r in rows]
            cells.append("%.2e (%+.1e)" % (max(abs(v) for v in vals), sum(vals) / len(vals)))
        line = "| %s | %d | %s |" % (label, len(rows), " | ".join(cells))
        print(line if markdown else line.replace("|", " "))


if __name__ == "__main__":
    main(sys.argv[1:])
