#!/usr/bin/env python3
"""Compare Nodalis' computed Saros series with the NASA Five Millennium Canon
of Solar Eclipses, per 500-year era and lunar theory.

For every Saros number N in the range (default 1..180) and every lunar mode
(default auto, elp2000, de404) runs

    nodalis-cli --saros N --format csv --lunar MODE

and matches its members with the canon's members of series N: the same
eclipse is the member whose Julian date (TD) lies within MATCH_DAYS of the
canon's (only members dated -1999 .. 3000, the canon's span, count).  Prints
one Markdown table row per mode and era:

  n            members matched
  dTD          time of greatest eclipse, ours minus canon, seconds (TD):
               largest |dTD|, mean, spread (population standard deviation),
               and the largest |dTD| of the members with |gamma| < 0.9
  dgamma       gamma, ours (as nodalis-cli prints it, 3 decimals) minus
               canon: largest |dgamma|, mean, spread
  missing      canon members without a computed member of that date
  extra        computed members (in the canon's span) absent from the canon
  date         matched members whose calendar date (TD) differs from the
               canon's (greatest eclipse on the other side of midnight)
  type         members whose type agrees (P partial, A annular including
               the non-central A+/A-, T total likewise, H hybrid), percent

and a last row per mode for the years 1000 .. 2500.

Usage (from the repository root, after building):
    python3 tools/canon_compare.py ../shared/data/nasa-canon/solar.csv
        [--cli build/bin/nodalis-cli] [--modes auto,elp2000,de404]
        [--first 1] [--last 180] [--jobs 2] [--members OUT.csv]

--members writes every matched member (mode, saros, date, dTD, dgamma,
types) for further study.  Standard library only.  Reference: F. Espenak
and J. Meeus, Five Millennium Canon of Solar Eclipses: -1999 to +3000,
NASA/TP-2006-214141 (2006); "Eclipse Time" there is TD.
"""
import argparse
import concurrent.futures
import csv
import io
import math
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import nasa_canon_to_canon as conv  # noqa: E402

FIRST_YEAR, LAST_YEAR = -1999, 3000      # the canon's span
ERA_YEARS = 500
ERA_START = -2000
MATCH_DAYS = 1.0                         # members are 6585 days apart
GAMMA_CENTRAL = 0.9                      # |gamma| below: well inside the disc
NARROW = (1000, 2500)                    # span of the tests' tightest bounds
SECONDS_PER_DAY = 86400.0
# Type code of nodalis-cli -> canon type letter.
LETTER = {1: "P", 2: "A", 3: "T", 4: "A", 5: "T", 6: "H"}
DATE_RE = re.compile(r"^(-?\d+)-(\d\d)-(\d\d)$")


def read_canon(path):
    """{saros: [((y, m, d), jd_tdt, gamma, letter)]} from solar.csv."""
    out = {}
    with open(path, newline="", encoding="ascii") as f:
        for row in csv.DictReader(f):
            y, m, d, _k, _c, _mag, gamma, saros, _cat, _lun, jd = conv.parse_row(row)
            letter = row["Eclipse Type"].strip()[0]
            out.setdefault(saros, []).append(((y, m, d), jd, gamma, letter))
    return out


def run_cli(cli, saros, mode):
    """[((y, m, d), jd_tdt, gamma, letter)] of one computed series."""
    p = subprocess.run([cli, "--saros", str(saros), "--format", "csv",
                        "--lunar", mode], capture_output=True, text=True,
                       encoding="utf-8", check=False)
    if p.returncode != 0:
        raise RuntimeError("%s --saros %d --lunar %s: exit %d: %s"
                           % (cli, saros, mode, p.returncode, p.stderr.strip()))
    out = []
    for row in csv.DictReader(io.StringIO(p.stdout)):
        m = DATE_RE.match(row["date"])
        if not m:
            raise RuntimeError("unreadable date %r (Saros %d)" % (row["date"], saros))
        key = tuple(int(v) for v in m.groups())
        if not FIRST_YEAR <= key[0] <= LAST_YEAR:
            continue
        out.append((key, float(row["jd_tdt"]), float(row["gamma"]),
                    LETTER.get(int(row["type_code"]), "-")))
    return out


def match(want, got):
    """Pairs (canon member or None, computed member or None), by Julian date."""
    pairs, used = [], set()
    for w in want:
        best = None
        for i, g in enumerate(got):
            if i not in used and abs(g[1] - w[1]) < MATCH_DAYS:
                best = i
                break
        if best is None:
            pairs.append((w, None))
        else:
            used.add(best)
            pairs.append((w, got[best]))
    pairs += [(None, g) for i, g in enumerate(got) if i not in used]
    return pairs


def era_of(year):
    return min((year - ERA_START) // ERA_YEARS, (LAST_YEAR - ERA_START) // ERA_YEARS - 1)


class Stats:
    def __init__(self):
        self.dt, self.dt_central, self.dg = [], [], []
        self.missing = self.extra = self.type_ok = self.other_date = 0

    def add(self, dt, dg, gamma, same_type, same_date):
        self.other_date += not same_date
        self.dt.append(dt)
        self.dg.append(dg)
        if abs(gamma) < GAMMA_CENTRAL:
            self.dt_central.append(dt)
        self.type_ok += same_type


def summary(values):
    """(max |v|, mean, population standard deviation) or Nones."""
    if not values:
        return None, None, None
    n = len(values)
    mean = sum(values) / n
    spread = math.sqrt(sum((v - mean) ** 2 for v in values) / n)
    return max(abs(v) for v in values), mean, spread


def fmt(v, form):
    return "-" if v is None else format(v, form)


def row_text(mode, label, s):
    n = len(s.dt)
    tmax, tmean, tsd = summary(s.dt)
    cmax = summary(s.dt_central)[0]
    gmax, gmean, gsd = summary(s.dg)
    typ = "-" if n == 0 else "%.1f" % (100.0 * s.type_ok / n)
    return ("| %s | %s | %d | %s | %s | %s | %s | %s | %s | %s | %d | %d | %d | %s |"
            % (mode, label, n, fmt(tmax, ".1f"), fmt(tmean, "+.1f"), fmt(tsd, ".1f"),
               fmt(cmax, ".1f"), fmt(gmax, ".4f"), fmt(gmean, "+.4f"), fmt(gsd, ".4f"),
               s.missing, s.extra, s.other_date, typ))


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("solar_csv")
    ap.add_argument("--cli", default="build/bin/nodalis-cli")
    ap.add_argument("--modes", default="auto,elp2000,de404")
    ap.add_argument("--first", type=int, default=1)
    ap.add_argument("--last", type=int, default=180)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--members", help="write every matched member to this CSV")
    args = ap.parse_args(argv)
    modes = [m for m in args.modes.split(",") if m]
    canon = read_canon(args.solar_csv)
    series = list(range(args.first, args.last + 1))

    jobs = [(mode, n) for mode in modes for n in series]
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as ex:
        results = dict(zip(jobs, ex.map(lambda j: run_cli(args.cli, j[1], j[0]), jobs)))

    n_eras = (LAST_YEAR - ERA_START) // ERA_YEARS
    members = []
    print("| lunar | years | n | max abs dTD s | mean dTD s | spread dTD s "
          "| max abs dTD s, abs gamma < 0.9 | max abs dgamma | mean dgamma "
          "| spread dgamma | missing | extra | date differs | type agrees % |")
    print("|" + "---|" * 14)
    for mode in modes:
        eras = [Stats() for _ in range(n_eras)]
        narrow, total = Stats(), Stats()
        for n in series:
            for w, g in match(canon.get(n, []), results[(mode, n)]):
                year = (w or g)[0][0]
                parts = [eras[era_of(year)], total]
                if NARROW[0] <= year <= NARROW[1]:
                    parts.append(narrow)
                if g is None or w is None:
                    for s in parts:
                        if g is None:
                            s.missing += 1
                        else:
                            s.extra += 1
                    continue
                dt = (g[1] - w[1]) * SECONDS_PER_DAY
                dg = g[2] - w[2]
                for s in parts:
                    s.add(dt, dg, w[2], w[3] == g[3], w[0] == g[0])
                members.append((mode, n, "%d-%02d-%02d" % w[0], "%.1f" % dt,
                                "%.4f" % dg, "%.4f" % w[2], w[3], g[3]))
        for k, s in enumerate(eras):
            lo = ERA_START + ERA_YEARS * k
            print(row_text(mode, "%d .. %d" % (lo, lo + ERA_YEARS), s))
        print(row_text(mode, "%d .. %d" % NARROW, narrow))
        print(row_text(mode, "all", total))
    if args.members:
        with open(args.members, "w", encoding="ascii", newline="\n") as f:
            f.write("mode,saros,date,dtd_s,dgamma,gamma_canon,type_canon,type_ours\n")
            for m in members:
                f.write(",".join(str(v) for v in m) + "\n")


if __name__ == "__main__":
    main(sys.argv[1:])
