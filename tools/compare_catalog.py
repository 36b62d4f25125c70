#!/usr/bin/env python3
"""Compare a solar-eclipse catalogue with the NASA Five Millennium Canon.

Both files are CSV in the canon's layout (header "Catalog Number,Calendar
Date,Eclipse Time,..."; ours written by nodalis-cli --catalog).  Eclipses are matched
by the date and time of greatest eclipse (TD, within half a day); then, per
500-year era and per column, the differences ours - canon are summarised:
count, largest absolute difference, mean, spread (standard deviation) and
the number of rows beyond the column's tolerance (shown in the heading).
Text columns (lunation, Saros, type) count mismatches only.

Usage:
    build/bin/nodalis-cli --catalog -1999 3000 --delta-t espenak-meeus-2006 > OURS.csv
    python3 tools/compare_catalog.py OURS.csv CANON.csv [--markdown | --summary | --times
        | --types] [--rotation] [--from-year Y] [--to-year Y]

--rotation  removes the Earth's rotation during the difference of the
            times of greatest eclipse from the longitudes (isolates the
            geometry from a lunar theory's timing error).
--markdown  the tables in Markdown.
--summary   one Markdown table: per era and column the largest absolute
            difference and, in brackets, the rows beyond the tolerance.
--times     one Markdown table of the time of greatest eclipse per era: the
            mean difference, the largest for central eclipses (the canon's
            type letter A, T or H without + or -) and for all, in seconds;
            then the type letters that agree, per era.
--types     the matched rows whose type differs, one line each: date, time,
            canon's type, ours, canon's gamma and magnitude.

Standard library only.  Canon: F. Espenak and J. Meeus, Five Millennium
Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006).
"""
import csv
import math
import sys

MONTHS = {m: i + 1 for i, m in enumerate(
    "January February March April May June July August September October "
    "November December".split())}
SIDEREAL_DEG_PER_DAY = 360.98564736629
ERA_YEARS = 500


def julian_day(year, month, day, seconds):
    """Julian date of a calendar date (Julian calendar before 1582 Oct 15)."""
    y, m = (year - 1, month + 12) if month <= 2 else (year, month)
    if (year, month, day) < (1582, 10, 15):
        b = 0
    else:
        a = math.floor(y / 100)
        b = 2 - a + math.floor(a / 4)
    return (math.floor(365.25 * (y + 4716)) + math.floor(30.6001 * (m + 1)) + day + b
            - 1524.5 + seconds / 86400.0)


def signed_angle(text):
    """'6.0N' -> 6.0, '33.3W' -> -33.3."""
    v = float(text[:-1])
    return -v if text[-1] in "SW" else v


def number(text):
    """A number, or None for an empty field or '-'."""
    text = text.strip()
    if text in ("", "-"):
        return None
    if "m" in text and text.endswith("s"):  # "06m37s"
        mm, ss = text[:-1].split("m")
        return int(mm) * 60 + int(ss)
    return float(text)


def read(path):
    rows = []
    with open(path, newline="", encoding="ascii") as f:
        for r in csv.DictReader(f):
            y, mon, d = r["Calendar Date"].split()
            hh, mi, ss = (int(v) for v in r["Eclipse Time"].split(":"))
            r["_year"] = int(y)
            r["_jd"] = julian_day(int(y), MONTHS[mon], int(d), hh * 3600 + mi * 60 + ss)
            rows.append(r)
    rows.sort(key=lambda r: r["_jd"])
    return rows


def is_central(eclipse_type):
    """A, T or H without the + / - of a non-central eclipse."""
    t = eclipse_type.strip()
    return t[:1] in ("A", "T", "H") and "+" not in t and "-" not in t


def wrap180(x):
    return (x + 180.0) % 360.0 - 180.0


# Column, kind, tolerance (absolute; for "pct" columns max(abs, 3 %)).
COLUMNS = [
    ("Eclipse Time", "time", 60.0),
    ("Delta T (s)", "num", 1.0),
    ("Lunation Number", "text", None),
    ("Saros Number", "text", None),
    ("Eclipse Type", "text", None),
    ("Gamma", "num", 0.003),
    ("Eclipse Magnitude", "num", 0.002),
    ("Latitude", "lat", 0.2),
    ("Longitude", "lon", 0.2),
    ("Sun Altitude", "num", 1.0),
    ("Sun Azimuth", "azi", 2.0),
    ("Path Width (km)", "pct", 3.0),
    ("Central Duration", "pct", 3.0),
]
UNITS = {"Eclipse Time": "s", "Delta T (s)": "s", "Gamma": "", "Eclipse Magnitude": "",
         "Latitude": "deg", "Longitude": "deg", "Sun Altitude": "deg",
         "Sun Azimuth": "deg", "Path Width (km)": "km", "Central Duration": "s"}


def difference(col, kind, ours, canon, rotation):
    """Difference ours - canon, None when not comparable, or a bool for text."""
    if kind == "text":
        return ours[col].strip() != canon[col].strip()
    if kind == "time":
        return (ours["_jd"] - canon["_jd"]) * 86400.0
    a, b = ours[col].strip(), canon[col].strip()
    if kind in ("lat", "lon"):
        d = signed_angle(a) - signed_angle(b)
        if kind == "lon":
            if rotation:
                d += (ours["_jd"] - canon["_jd"]) * SIDEREAL_DEG_PER_DAY
            d = wrap180(d)
        return d
    if (a in ("", "-")) != (b in ("", "-")) or a != b and (a == "-" or b == "-"):
        return "shape"  # given in one catalogue only
    x, y = number(a), number(b)
    if x is None or y is None:
        return None
    return wrap180(x - y) if kind == "azi" else x - y


# Both catalogues round their values; differences of rounded numbers carry
# binary noise.
ROUNDING_SLACK = 1e-9


def beyond(kind, tol, d, canon_value):
    if kind == "pct":
        tol = max(tol, 0.03 * abs(canon_value))
    return abs(d) > tol + ROUNDING_SLACK


def statistics(col, kind, tol, sel, rotation):
    """(n, max abs, mean, spread, beyond) of the pairs sel; text: (n, differ)."""
    ds, bad = [], 0
    for o, c in sel:
        d = difference(col, kind, o, c, rotation)
        if kind == "text":
            bad += d
            continue
        if d == "shape":
            bad += 1
            continue
        if d is None:
            continue
        ds.append(d)
        if beyond(kind, tol, d, number(c[col]) if kind == "pct" else 0):
            bad += 1
    if kind == "text":
        return len(sel), bad
    n = len(ds)
    mx = max((abs(d) for d in ds), default=0.0)
    mean = sum(ds) / n if n else 0.0
    sd = math.sqrt(sum((d - mean) ** 2 for d in ds) / n) if n else 0.0
    return n, mx, mean, sd, bad


def main(argv):
    args = [a for a in argv if not a.startswith("--")]
    opts = {a for a in argv if a.startswith("--")}
    year_from, year_to = -10**9, 10**9
    for i, a in enumerate(argv):
        if a in ("--from-year", "--to-year"):
            val = int(argv[i + 1])
            args.remove(argv[i + 1])
            if a == "--from-year":
                year_from = val
            else:
                year_to = val
    if len(args) != 2:
        sys.exit(__doc__)
    markdown = "--markdown" in opts
    rotation = "--rotation" in opts
    ours = [r for r in read(args[0]) if year_from <= r["_year"] <= year_to]
    canon = [r for r in read(args[1]) if year_from <= r["_year"] <= year_to]

    # Match by time of greatest eclipse.
    pairs, extra, missing = [], [], []
    i = j = 0
    while i < len(ours) and j < len(canon):
        d = ours[i]["_jd"] - canon[j]["_jd"]
        if abs(d) < 0.5:
            pairs.append((ours[i], canon[j]))
            i += 1
            j += 1
        elif d < 0:
            extra.append(ours[i])
            i += 1
        else:
            missing.append(canon[j])
            j += 1
    extra += ours[i:]
    missing += canon[j:]

    def era_of(year):
        start = (year - (-2000)) // ERA_YEARS * ERA_YEARS - 2000
        return min(start, 2500)

    print("rows: ours %d, canon %d, matched %d, ours only %d, canon only %d"
          % (len(ours), len(canon), len(pairs), len(extra), len(missing)))
    for tag, rows in (("ours only", extra), ("canon only", missing)):
        for r in rows[:20]:
            print("  %s: %s %s %s %s" % (tag, r["Calendar Date"], r["Eclipse Time"],
                                         r["Eclipse Type"], r["Gamma"]))
    if rotation:
        print("longitudes corrected for the Earth's rotation during the time difference")
    eras = sorted({era_of(c["_year"]) for _, c in pairs})

    def label(era):
        if era == "all":
            return "all"
        return "%d..%d" % (max(era, -1999), era + ERA_YEARS - 1 if era < 2500 else 3000)

    def selection(era):
        return [(o, c) for o, c in pairs if era == "all" or era_of(c["_year"]) == era]

    if "--times" in opts:
        print()
        print("| era | n | mean s | central: largest s | all: largest s | type letters agree |")
        print("|---|---|---|---|---|---|")
        for era in eras + ["all"]:
            sel = selection(era)
            dts = [(o["_jd"] - c["_jd"]) * 86400.0 for o, c in sel]
            central = [abs(d) for d, (_, c) in zip(dts, sel) if is_central(c["Eclipse Type"])]
            same = sum(o["Eclipse Type"].strip()[:1] == c["Eclipse Type"].strip()[:1]
                       for o, c in sel)
            # Times are whole seconds in both catalogues: show the rounded differences.
            print("| %s | %d | %+.2f | %d | %d | %d (%.2f %%) |"
                  % (label(era), len(sel), sum(dts) / len(dts), round(max(central, default=0)),
                     round(max(abs(d) for d in dts)), same, 100.0 * same / len(sel)))
        return
    if "--types" in opts:
        for o, c in pairs:
            if o["Eclipse Type"].strip() != c["Eclipse Type"].strip():
                print("%s %s canon %s ours %s gamma %s magnitude %s"
                      % (c["Calendar Date"], c["Eclipse Time"], c["Eclipse Type"],
                         o["Eclipse Type"], c["Gamma"], c["Eclipse Magnitude"]))
        return
    if "--summary" in opts:
        short = {"Eclipse Time": "time s", "Delta T (s)": "ΔT s", "Lunation Number": "lunation",
                 "Saros Number": "Saros", "Eclipse Type": "type", "Gamma": "gamma",
                 "Eclipse Magnitude": "magnitude", "Latitude": "lat °", "Longitude": "lon °",
                 "Sun Altitude": "alt °", "Sun Azimuth": "azi °", "Path Width (km)": "width km",
                 "Central Duration": "duration s"}
        print()
        print("| era | n | " + " | ".join(short[c] for c, _, _ in COLUMNS) + " |")
        print("|---" * (len(COLUMNS) + 2) + "|")
        for era in eras + ["all"]:
            sel = selection(era)
            cells = []
            for col, kind, tol in COLUMNS:
                st = statistics(col, kind, tol, sel, rotation)
                cells.append("(%d)" % st[1] if kind == "text" else "%.4g (%d)" % (st[1], st[4]))
            print("| %s | %d | %s |" % (label(era), len(sel), " | ".join(cells)))
        return
    for col, kind, tol in COLUMNS:
        unit = UNITS.get(col, "")
        if kind == "text":
            head = "%s: rows that differ" % col
        else:
            head = "%s (ours - canon%s; tolerance %g%s%s)" % (
                col, ", " + unit if unit else "", tol, " " + unit if unit else "",
                " or 3 %" if kind == "pct" else "")
        print()
        print(("#### " if markdown else "") + head)
        if markdown:
            print()
            print("| era | n | max abs | mean | spread | beyond |" if kind != "text"
                  else "| era | n | differ |")
            print("|---|---|---|---|---|---|" if kind != "text" else "|---|---|---|")
        for era in eras + ["all"]:
            st = statistics(col, kind, tol, selection(era), rotation)
            if kind == "text":
                print(("| %s | %d | %d |" if markdown else "  %-12s n=%5d differ=%d")
                      % ((label(era),) + st))
            else:
                print(("| %s | %d | %.4g | %.3g | %.3g | %d |" if markdown else
                       "  %-12s n=%5d max=%10.4g mean=%10.3g spread=%10.3g beyond=%d")
                      % ((label(era),) + st))


if __name__ == "__main__":
    main(sys.argv[1:])
