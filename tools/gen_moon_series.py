#!/usr/bin/env python3
"""Generate orbitcore's compact lunar series from ELP 2000-82B.

Reads the 36 series files of ELP 2000-82B (Chapront-Touze & Chapront,
CDS VI/79), applies the DE200/LE200 fit corrections to the main-problem
amplitudes (B columns), merges every term of the same argument across the
files into one term whose cosine and sine coefficients are polynomials in
tau = (JD - 2451545) / 3652500, expresses the arguments in orbitcore's own
argument set (planetary mean longitudes 1..8, D, F, l', l and the Moon's
mean longitude of date W1, numbered 1..14), keeps the terms of largest effect
over the years -2000 .. +3000 (632 for longitude/distance, 361 for latitude)
and writes them as int16 term streams and int32 coefficient streams
(unit 0.0001 arcsec) to a C++ source file.

The amplitudes are ELP's as published (fit-corrected), nothing else: the
series is evaluated with orbitcore's argument polynomials (ORB_ARGS, the
same as ephem/moon_position.cpp), which are a fit to a numerical ephemeris
and carry its secular motion, and no difference between those and ELP's
own arguments is absorbed into the coefficients.  A term's coefficient
polynomials come from ELP's Poisson factors alone (t^0, t^1, t^2 with
t = 100 tau).

Two rows are orbitcore's own rather than ELP's, belonging to its argument
fit: the polynomial term (longitude and distance, OWN_POLY_*) and the
long-period planetary term 4 EMB - 8 Mars + 3 Jupiter in longitude
(OWN_ROWS).

Selection: every periodic term with at most 5 argument factors and
multiples within the descriptor's bounds is ranked by its largest amplitude
over the years -2000 .. +3000 (cosine and sine combined, distance as
r / a0 in arc seconds); the 631 and 360 largest are kept.

Degree budget of the coefficient polynomials (longitude/distance: 509 terms
of degree 0, 99 of degree 1, 20 of degree 2, 3 of degree 3; latitude: 307,
43, 9, 1): a term kept to degree d carries ELP's coefficients up to tau^d
and drops the rest.  Degrees are handed out by nested ranking on the error
the drop makes over the span: degree >= 1 to the terms whose t and t^2
parts are largest, degree >= 2 among those to the largest t^2 parts.
ELP 2000-82B has no t^3 Poisson terms, so the degree-3 rows (the largest
t^2 parts) carry a zero tau^3 coefficient.

Optionally also writes a reference fixture: the complete series of the same
construction (all 37 872 terms of ELP 2000-82B, every Poisson power, in
orbitcore's arguments, with orbitcore's own two rows) evaluated at a set of
dates, for the tests of the truncation.

Usage (from the repository root):
  python3 tools/gen_moon_series.py --data ../shared/data/elp2000-82b \\
      --out ephem/generated/moon_series_tables.cpp \\
      --fixture tests/ephem/data/moon_series_complete.txt

Python 3 standard library only.
"""
import argparse
import math
import sys

import elp82b_files
import provenance
from elp82b_files import (FAMILY_FIGURE, FAMILY_MAIN, FAMILY_PLANET1, N_FILES,
                          coordinate, family, poisson_power, records)

TABLE = "ephem/generated/moon_series_tables.cpp"
FIXTURE = "tests/ephem/data/moon_series_complete.txt"
FIXTURE_DATES = 100               # fixture dates per interval

RHO = 648000.0 / math.pi          # arc seconds per radian
SCALE = 10000                     # coefficient unit 0.0001 arcsec
A0_AU = 0.00257356868953          # mean distance of the distance stream
KM_PER_AU = 149597870.691
A0_KM = A0_AU * KM_PER_AU
N_LONDIST = 632
N_LAT = 361
DEGREE_BUDGET_LONDIST = (509, 99, 20, 3)
DEGREE_BUDGET_LAT = (307, 43, 9, 1)
# Highest multiples allowed per argument 1..18 (the descriptor bytes).
MAXMULT_LONDIST = (3, 26, 29, 23, 5, 10, 0, 0, 0, 8, 4, 4, 6, 2, 0, 0, 0, 0)
MAXMULT_LAT = (0, 26, 29, 8, 3, 5, 0, 0, 0, 6, 5, 3, 5, 1, 0, 0, 0, 0)
MAX_FACTORS = 5                   # argument factors per periodic term
T_MIN, T_MAX = -40.0, 10.0        # centuries: years -2000 .. +3000
T_PER_TAU = 100.0                 # Julian centuries per 10^4 Julian years

# Polynomial term of the longitude/distance series, 0.0001" (distance as
# r / a0 - 1 in arc seconds), tau^0 first.
OWN_POLY_LON = [-42, 5249, 66453, 175667]
OWN_POLY_DIST = [772, 1077, -2120, -5422]
# Periodic rows of orbitcore's own: multiples (argument 1..14) -> degree and
# longitude (c, s) pairs, tau^0 first.  4 EMB - 8 Mars + 3 Jupiter, period
# about 1780 years.
OWN_ROWS = {
    (0, 0, 4, -8, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0): (1, [(-2360, 6148), (20057, 403)]),
}

# ---------------------------------------------------------------------------
# orbitcore's argument polynomials (arc seconds, T in Julian centuries from
# J2000): linear part (reduced to one turn), then T^2 * P(T).  Index 0..13 =
# argument 1..14.  Same values as ephem/moon_position.cpp.

ORB_ARGS = [
    ((908103.213, 538101628.6889819), (-0.0192789, 0.00000639)),
    ((655127.236, 210664136.4335482), (0.0059381, -0.00000627)),
    ((361679.198, 129597742.283429), (-0.0204411, -0.00000523)),
    ((1279558.751, 68905077.493988), (0.0094264, -0.00001043)),
    ((123665.42, 10925660.377991),
     (-0.3060378, 0.00005706, 0.000004667, 0.0000000591, -0.00000000034)),
    ((180278.752, 4399609.855372),
     (0.7561614, -0.00016618, -0.000011484, -0.0000001452, 0.00000000083)),
    ((1130597.971, 1542481.193933), (-0.0175083, 0.00002156)),
    ((1095655.149, 786550.320744), (0.0021103, -0.00000895)),
    ((0.0, 0.0), ()),
    ((1072261.2202445078, 1602961600.9939659),
     (-6.735220237445752, 0.006949274683605842, -3.702060118571e-5,
      2.560078201452e-9, 2.555243317839e-11, -3.207663637426e-13)),
    ((335779.5141288474, 1739527262.8437717),
     (-13.117809789650071, -0.0007531187848233799, -2.165750777942e-6,
      -2.790392351314e-9, 4.189032191814e-11, 4.474984866301e-13)),
    ((1287102.7407441526, 129596581.0230432),
     (-0.5528130642178309, 8.74737173673247e-5, -1.1297037031e-5,
      -4.77258489e-8, 8.8555011e-11, 4.237343e-13, -3.83508e-15,
      -1.039e-17, 1.62e-20)),
    ((485868.1746582533, 1717915922.8846793),
     (31.501359071894147, 0.05209964130273582, -0.0002536291235258,
      -2.506365935364e-8, 3.452144225877e-11 - 1.755312760154e-12)),
    ((785939.8092105242, 1732564372.0442266),
     (-5.65504600274714, 0.006901724852838049, -6.073960534117e-5,
      -1.024222633731e-8, 2.235210987108e-10, 7.200592540556e-14)),
]
W1 = 13


def peval(p, x):
    """Polynomial with coefficients p (lowest power first) at x."""
    v = 0.0
    for c in reversed(p):
        v = v * x + c
    return v


def orb_argument(n, t):
    """Argument n (index 0..13) in arc seconds, as moon_position.cpp forms it."""
    (c0, c1), p = ORB_ARGS[n]
    lin = c0 + c1 * t
    lin -= math.floor(lin / 1296000.0) * 1296000.0
    return lin + t * t * peval(p, t)


# ---------------------------------------------------------------------------
# Reading ELP 2000-82B

# Distance in km -> arc seconds of r / a0 (the authors' routine scales the
# tabulated km by a0 / ath).
A0_ROUTINE_KM = 384747.9806448954
ATH_KM = 384747.9806743165
UNIT = {"L": 1.0, "B": 1.0, "R": RHO / A0_KM * A0_ROUTINE_KM / ATH_KM}


def load(datadir):
    """Components (coord, mult, c, s, power): the ELP term
    A t^power sin(phase + theta) as c cos(theta) + s sin(theta), c and s in
    0.0001" (distance as r / a0), first non-zero multiple made positive."""
    comps = []
    for n in range(1, N_FILES + 1):
        coord = "LBR"[coordinate(n)]
        fam = family(n)
        power = poisson_power(n)
        for i, phase_deg, a, a_fit in records(datadir, n):
            mult = [0] * 14
            if fam == FAMILY_MAIN:        # D, l', l, F -> indices 9, 11, 12, 10
                mult[9], mult[11], mult[12], mult[10] = i
                # Sine series for V and U, cosine series for r.
                phase = math.pi / 2 if coord == "R" else 0.0
                amp = a_fit
            else:
                if fam == FAMILY_FIGURE:      # zeta D l' l F
                    mult[W1], mult[9], mult[11], mult[12], mult[10] = i
                elif fam == FAMILY_PLANET1:   # Me V T Ma J S U N D l F
                    mult[0:8] = i[0:8]
                    mult[9], mult[12], mult[10] = i[8], i[9], i[10]
                else:                         # Me V T Ma J S U D l' l F
                    mult[0:7] = i[0:7]
                    mult[9], mult[11], mult[12], mult[10] = i[7], i[8], i[9], i[10]
                phase = math.radians(phase_deg)
                amp = a
            for m in mult:                    # sin(p - x) = -sin(x - p)
                if m:
                    if m < 0:
                        mult = [-x for x in mult]
                        phase, amp = -phase, -amp
                    break
            f = amp * UNIT[coord] * SCALE
            comps.append((coord, tuple(mult), f * math.sin(phase), f * math.cos(phase),
                          power))
    return comps


class Term:
    """One argument: exact coefficient polynomials per stream, tau^0 first."""

    def __init__(self, mult, coords):
        self.mult = mult
        self.coords = coords          # stream names in stream order
        self.c = {k: [0.0, 0.0, 0.0] for k in coords}
        self.s = {k: [0.0, 0.0, 0.0] for k in coords}
        self.degree = 0
        self._size = {}

    def add(self, coord, c, s, power):
        k = T_PER_TAU ** power
        self.c[coord][power] += c * k
        self.s[coord][power] += s * k

    def bound(self):
        """Upper limit of size() over the span, cheap."""
        x = max(abs(T_MIN), abs(T_MAX)) / T_PER_TAU
        return max(sum(math.hypot(self.c[k][p], self.s[k][p]) * x ** p for p in range(3))
                   for k in self.coords)

    def size(self, lo=0, hi=2):
        """Largest amplitude over the span of the tau^lo .. tau^hi parts."""
        if (lo, hi) in self._size:
            return self._size[(lo, hi)]
        worst = 0.0
        for t in (T_MIN + (T_MAX - T_MIN) * j / 200 for j in range(201)):
            x = t / T_PER_TAU
            for k in self.coords:
                cv = sum(self.c[k][p] * x ** p for p in range(lo, hi + 1))
                sv = sum(self.s[k][p] * x ** p for p in range(lo, hi + 1))
                worst = max(worst, math.hypot(cv, sv))
        self._size[(lo, hi)] = worst
        return worst

    def coefficients(self, coord):
        """(c, s) pairs of tau^0 .. tau^degree, rounded to the unit."""
        return [(int(round(self.c[coord][p])) if p < 3 else 0,
                 int(round(self.s[coord][p])) if p < 3 else 0)
                for p in range(self.degree + 1)]


def allowed(mult, maxmult):
    return (sum(1 for m in mult if m) <= MAX_FACTORS and
            all(abs(m) <= k for m, k in zip(mult, maxmult)))


def select(terms, n_periodic, maxmult, budget, log):
    """The n_periodic periodic terms of largest effect, degrees allocated."""
    cands = [t for t in terms.values() if any(t.mult) and allowed(t.mult, maxmult)]
    # Exact effects for the candidates of largest bound only: the bound of
    # the first one left out must lie below every kept effect.
    cands.sort(key=lambda t: (-t.bound(), t.mult))
    cut = 3 * n_periodic
    next_bound = cands[cut].bound() if len(cands) > cut else 0.0
    for t in cands[:cut]:
        t.effect = t.size()
    top = sorted(cands[:cut], key=lambda t: (-t.effect, t.mult))
    # Every highest multiple of the descriptor is used: where the largest
    # terms do not reach it, the largest term that does is kept in place of
    # the smallest one.
    reach = []
    for n, k in enumerate(maxmult[:14]):
        if k and not any(abs(t.mult[n]) == k for t in top[:n_periodic] + reach):
            best = max((t for t in cands if abs(t.mult[n]) == k),
                       key=lambda t: (t.size(), t.mult))
            best.effect = best.size()
            reach.append(best)
    rest = [t for t in top if t not in reach]
    kept = rest[:n_periodic - len(reach)]
    assert next_bound < kept[-1].effect, "candidate cut too tight"
    kept = sorted(kept + reach, key=lambda t: (-t.effect, t.mult))
    log("  kept %d periodic terms, smallest effect %.5f\" (next %.5f\")%s" %
        (len(kept), rest[len(kept) - len(reach) - 1].effect / SCALE,
         rest[len(kept) - len(reach)].effect / SCALE,
         "".join("; %s for its highest multiples (%.5f\")" % (list(t.mult), t.effect / SCALE)
                 for t in reach)))
    # Nested ranking by the error of dropping the powers above each degree;
    # orbitcore's own rows have their degree fixed and use its slot.
    fixed = [t for t in kept if t.mult in OWN_ROWS]
    for t in fixed:
        t.degree = OWN_ROWS[t.mult][0]
    pool = [t for t in kept if t.mult not in OWN_ROWS]
    for d in range(1, 4):
        n = sum(budget[d:]) - sum(1 for t in fixed if t.degree >= d)
        # Ranked by what degree d - 1 drops (for degree 3 by the t^2 part:
        # there is no t^3), ties by what the lower degrees drop.
        key = lambda t: tuple(-t.size(k, 2) for k in range(min(d, 2), 0, -1)) + (-t.effect,)
        pool = sorted(pool, key=key)[:n]
        for t in pool:
            t.degree = d
    counts = [sum(1 for t in kept if t.degree == d) for d in range(4)]
    assert tuple(counts) == tuple(budget), counts
    worst = max(t.size(t.degree + 1, 2) if t.degree < 2 else 0.0 for t in kept)
    log("  degrees %s; largest dropped secular part %.5f\"" % (counts, worst / SCALE))
    return kept


def max_mult(terms):
    mm = [0] * 18
    for t in terms:
        for i, m in enumerate(t.mult):
            mm[i] = max(mm[i], abs(m))
    return mm


# ---------------------------------------------------------------------------

def build(comps):
    """Terms by multiples for longitude/distance and for latitude."""
    ld, bt = {}, {}
    for coord, mult, c, s, power in comps:
        if coord == "B":
            t = bt.setdefault(mult, Term(mult, ("B",)))
        else:
            t = ld.setdefault(mult, Term(mult, ("L", "R")))
        t.add(coord, c, s, power)
    for mult, (deg, pairs) in OWN_ROWS.items():
        t = ld[mult]
        t.c["L"] = [float(c) for c, _ in pairs] + [0.0] * (3 - len(pairs))
        t.s["L"] = [float(s) for _, s in pairs] + [0.0] * (3 - len(pairs))
    return ld, bt


def poly_lat(bt):
    """Latitude polynomial term: ELP's argument-free latitude terms."""
    zero = tuple([0] * 14)
    p = [int(round(v)) for v in bt[zero].c["B"]] if zero in bt else [0]
    while len(p) > 1 and p[-1] == 0:
        p.pop()
    return p


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--data", required=True, help="folder with ELP1 .. ELP36")
    ap.add_argument("--out", required=True, help="generated C++ file")
    ap.add_argument("--fixture", help="reference fixture to write (optional)")
    ap.add_argument("--fixture-dates", type=int, default=FIXTURE_DATES,
                    help="dates per interval in the fixture")
    args = ap.parse_args()
    log = lambda s: print(s, file=sys.stderr)

    comps = load(args.data)
    log("read %d ELP terms" % len(comps))
    ld, bt = build(comps)
    log("longitude/distance: %d distinct arguments" % len(ld))
    kept_ld = select(ld, N_LONDIST - 1, MAXMULT_LONDIST, DEGREE_BUDGET_LONDIST, log)
    log("latitude: %d distinct arguments" % len(bt))
    kept_b = select(bt, N_LAT - 1, MAXMULT_LAT, DEGREE_BUDGET_LAT, log)
    for mult in OWN_ROWS:
        assert ld[mult] in kept_ld, "orbitcore's own row not among the kept terms"
    assert max_mult(kept_ld) == list(MAXMULT_LONDIST), max_mult(kept_ld)
    assert max_mult(kept_b) == list(MAXMULT_LAT), max_mult(kept_b)

    polys = (OWN_POLY_LON, OWN_POLY_DIST, poly_lat(bt))
    source = provenance.header("//", command(args), elp82b_files.paths(args.data))
    write_cpp(args.out, kept_ld, kept_b, polys, source)
    log("wrote %s" % args.out)
    if args.fixture:
        source = provenance.header("#", command(args), elp82b_files.paths(args.data))
        write_fixture(ld, bt, polys, args.fixture, args.fixture_dates, log, source)


def command(args):
    """The command that writes the committed table and fixture again."""
    words = ["tools/gen_moon_series.py", "--data", provenance.from_root(args.data),
             "--out", TABLE, "--fixture", FIXTURE]
    if args.fixture_dates != FIXTURE_DATES:
        words += ["--fixture-dates", str(args.fixture_dates)]
    return " ".join(words)


def stream(terms, polys, coords):
    """Term stream (int16) and coefficient streams (int32), one per coord."""
    ts, cs = [], [[] for _ in coords]
    ts += [0, len(polys[0]) - 1]
    for dst, p in zip(cs, polys):
        assert len(p) == len(polys[0])
        dst += list(reversed(p))
    for t in terms:
        fac = [(m, i + 1) for i, m in enumerate(t.mult) if m]
        ts.append(len(fac))
        for m, a in fac:
            ts += [m, a]
        ts.append(t.degree)
        for dst, k in zip(cs, coords):
            for c, s in reversed(t.coefficients(k)):
                dst += [c, s]
    ts.append(-1)
    return ts, cs


def fmt_array(ctype, name, vals, per_line=10):
    out = ["const %s %s[%d] = {" % (ctype, name, len(vals))]
    for i in range(0, len(vals), per_line):
        out.append("  " + ", ".join(str(v) for v in vals[i:i + per_line]) + ",")
    out.append("};")
    return "\n".join(out)


def write_cpp(path, kept_ld, kept_b, polys, source):
    ts1, (lc1, rc1) = stream(kept_ld, polys[:2], ("L", "R"))
    ts2, (lc2,) = stream(kept_b, polys[2:], ("B",))
    for v in ts1 + ts2:
        assert -32768 <= v <= 32767
    for v in lc1 + rc1 + lc2:
        assert -2 ** 31 <= v < 2 ** 31, v
    mm1, mm2 = max_mult(kept_ld), max_mult(kept_b)
    deg = lambda terms: [sum(1 for t in terms if t.degree == d) for d in range(4)]
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("// GENERATED FILE - do not edit.\n")
        f.write("// orbitcore lunar series: ELP 2000-82B amplitudes (Chapront-Touze &\n")
        f.write("// Chapront 1983, 1988; CDS VI/79 files ELP1..ELP36, DE200/LE200 fit\n")
        f.write("// corrections applied to the main problem) merged by argument, for\n")
        f.write("// orbitcore's argument polynomials, truncated to %d + %d terms; the\n"
                % (len(kept_ld) + 1, len(kept_b) + 1))
        f.write("// polynomial term and the 4 EMB - 8 Mars + 3 Jupiter row are orbitcore's.\n")
        f.write("\n".join(source) + "\n")
        f.write("// Coefficients in units of 0.0001 arcsec, polynomials in\n")
        f.write("// tau = (JD - 2451545) / 3652500, highest power first.\n")
        f.write("// Longitude/distance periodic degrees 0..3: %s; latitude: %s.\n"
                % (deg(kept_ld), deg(kept_b)))
        f.write('#include "ephem/moon_series_tables.h"\n\nnamespace orbitcore {\n\n')
        f.write(fmt_array("std::int16_t", "kMoonLonDistTerms", ts1, 16) + "\n\n")
        f.write(fmt_array("std::int32_t", "kMoonLonCoef", lc1, 8) + "\n\n")
        f.write(fmt_array("std::int32_t", "kMoonDistCoef", rc1, 8) + "\n\n")
        f.write(fmt_array("std::int16_t", "kMoonLatTerms", ts2, 16) + "\n\n")
        f.write(fmt_array("std::int32_t", "kMoonLatCoef", lc2, 8) + "\n\n")
        f.write("const MoonSeries kMoonLonDistSeries = {\n")
        f.write("  {%s},\n" % ", ".join(str(v) for v in mm1))
        f.write("  kMoonLonDistTerms, kMoonLonCoef, kMoonDistCoef,\n")
        f.write("  %.14g, 3652500.0, 0.0001};\n\n" % A0_AU)
        f.write("const MoonSeries kMoonLatSeries = {\n")
        f.write("  {%s},\n" % ", ".join(str(v) for v in mm2))
        f.write("  kMoonLatTerms, kMoonLatCoef, nullptr,\n")
        f.write("  0.0, 3652500.0, 0.0001};\n\n")
        f.write("}  // namespace orbitcore\n")


# ---------------------------------------------------------------------------
# Complete series of the same construction, for the reference fixture.

def complete(ld, bt, polys, jd):
    """Longitude (deg, [0, 360)), latitude (deg), distance (km): every ELP
    term, all Poisson powers, in orbitcore's arguments, one sine and cosine
    per term (independent of the library's multiples tables)."""
    t = (jd - 2451545.0) / 36525.0
    tau = t / T_PER_TAU
    x = [orb_argument(n, t) / RHO for n in range(14)]
    sums = {"L": peval(polys[0], tau), "R": peval(polys[1], tau),
            "B": peval(polys[2], tau)}
    for terms in (ld, bt):
        for term in terms.values():
            if not any(term.mult):
                continue
            th = sum(m * a for m, a in zip(term.mult, x) if m)
            ct, st = math.cos(th), math.sin(th)
            for k in term.coords:
                sums[k] += peval(term.c[k], tau) * ct + peval(term.s[k], tau) * st
    lon = math.fmod((orb_argument(W1, t) + sums["L"] / SCALE) / 3600.0, 360.0)
    if lon < 0:
        lon += 360.0
    dist = A0_KM * (1.0 + sums["R"] / SCALE / RHO)
    return lon, sums["B"] / SCALE / 3600.0, dist


def write_fixture(ld, bt, polys, path, n, log, source):
    """The complete series at n dates in 1500..2500 and n in -2000..+3000."""
    jd0 = 2451545.0
    dates = [2448724.5, 2451545.0, 2469000.5]
    # Irregular steps so that the dates sample every lunar phase.
    for k in range(n):
        dates.append(jd0 - 182621.25 + 365242.5 * (k + 0.5) / n + 0.37 * k)
    for k in range(n):
        dates.append(jd0 - 1460970.0 + 1826212.5 * (k + 0.5) / n + 0.61 * k)
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("# orbitcore's lunar series untruncated: every term of ELP 2000-82B\n")
        f.write("# (CDS VI/79 ELP1..ELP36, DE200/LE200 fit corrections, all Poisson powers)\n")
        f.write("# in orbitcore's argument polynomials, with its own polynomial term and\n")
        f.write("# 4 EMB - 8 Mars + 3 Jupiter row; geometric, mean ecliptic and equinox\n")
        f.write("# of date.  Written by tools/gen_moon_series.py --fixture.\n")
        f.write("\n".join(source) + "\n")
        f.write("# columns: JD(TDT)  longitude_deg  latitude_deg  distance_km\n")
        for jd in dates:
            lon, lat, r = complete(ld, bt, polys, jd)
            f.write("%.6f %.10f %.10f %.6f\n" % (jd, lon, lat, r))
    log("wrote %s (%d dates)" % (path, len(dates)))


if __name__ == "__main__":
    main()
