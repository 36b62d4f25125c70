#!/usr/bin/env python3
"""Generate lunaris' constant tables from the ELP 2000-82B series files.

Reads the 36 files ELP1 ... ELP36 of ELP 2000-82B (Chapront-Touze & Chapront,
CDS catalogue VI/79), applies the DE200/LE200 fit corrections to the
main-problem amplitudes (notice "Lunar Solution ELP 2000-82B", sect. 7), and
writes a C++ source with the series in a form that is evaluated without a
trigonometric call per term:

  * every term's argument is a sum  sum_j k_j * a_j  of integer multiples of
    17 base angles (the main problem's Delaunay arguments D, l', l, F as full
    polynomials; zeta and D, l', l, F as linear functions of time; the eight
    planetary mean longitudes Me ... Ne, linear);
  * terms with the same argument are merged, whatever file they come from,
    into one argument with a list of coefficient pairs (c, s) per "slot"
    slot = 3*coordinate + power, coordinate 0 = V (arcsec), 1 = U (arcsec),
    2 = r (km), power = the Poisson factor t^0, t^1 or t^2;
  * a term  A sin(phi + arg)  becomes  c cos(arg) + s sin(arg)  with
    c = A sin(phi), s = A cos(phi); the main problem's sine series (ELP1, 2)
    give s = A + dA, its cosine series (ELP3) c = A + dA.

Base angle multiples are stored as "flat indices" into one table of
cos/sin(k a_j), k = -KMAX_j ... +KMAX_j (the evaluator builds that table at
run time by recurrence).

Truncation (--prec, arcsec): a term is dropped when |A| < PREC (longitude,
latitude) or |A| < ath * PREC / rho km (distance), A being the tabulated
amplitude before the fit correction and before the Poisson factor; this is
the rule of the authors' routine ELP82B, with PREC read in arcseconds.
PREC = 0 keeps all 37 872 terms.

Usage:
  python3 tools/gen_elp82b.py DATA_DIR OUT.cpp [--prec ARCSEC]
e.g.
  python3 tools/gen_elp82b.py ../shared/data/elp2000-82b \
      lunaris/generated/elp82b_tables.cpp --prec 5e-5

Python 3 standard library only.
"""

import argparse
import math
import sys

from elp82b_files import (FAMILY_FIGURE, FAMILY_MAIN, FAMILY_PLANET1,
                          FAMILY_PLANET2,
                          N_FILES, N_RECORDS, RHO, coordinate, family,
                          poisson_power, records)

LIGHT_TIME_MIN_KM = 0.1             # abbreviated distance for the light time
ATH_KM = 384747.9806743165           # a0 of the theory's constants (sect. 6)

# Base angles (index -> name); the evaluator computes them in this order.
BASES = ["D", "lp", "l", "F",                      # main problem, full polynomials
         "zeta", "D1", "lp1", "l1", "F1",          # linear parts
         "Me", "Ve", "T", "Ma", "Ju", "Sa", "Ur", "Ne"]

# File families: which base each integer multiplier belongs to.
MAP_MAIN = [0, 1, 2, 3]                            # ELP1-3: D l' l F
MAP_FIG = [4, 5, 6, 7, 8]                          # ELP4-9, 22-36: zeta D l' l F
MAP_PL1 = [9, 10, 11, 12, 13, 14, 15, 16, 5, 7, 8]  # ELP10-15: Me..Ne D l F
MAP_PL2 = [9, 10, 11, 12, 13, 14, 15, 5, 6, 7, 8]   # ELP16-21: Me..Ur D l' l F


FAMILY_MAP = {FAMILY_MAIN: MAP_MAIN, FAMILY_FIGURE: MAP_FIG,
              FAMILY_PLANET1: MAP_PL1, FAMILY_PLANET2: MAP_PL2}


def read_file(data_dir, n):
    """Yield (multipliers, base map, raw A, c, s) for every record of ELPn."""
    fmap = FAMILY_MAP[family(n)]
    for mult, phase_deg, a, a_fit in records(data_dir, n):
        if phase_deg is None:                      # main problem
            if coordinate(n) == 2:
                c, s = a_fit, 0.0                  # cosine series
            else:
                c, s = 0.0, a_fit                  # sine series
        else:
            phi = math.radians(phase_deg)
            c, s = a * math.sin(phi), a * math.cos(phi)
        yield mult, fmap, a, c, s


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("data_dir")
    ap.add_argument("out")
    ap.add_argument("--prec", type=float, default=0.0,
                    help="truncation level in arcsec (0 = complete theory)")
    args = ap.parse_args()

    prec = args.prec
    kmax = [0] * len(BASES)
    arg_index = {}          # sorted ((base, k), ...) -> position
    arg_keys = []
    arg_coefs = []          # list of dict slot -> [c, s]
    n_read = n_kept = 0
    lt_terms = []           # (D, l', l, F, corrected A km) of ELP3, |A| >= 0.1 km
    lt_omitted = 0.0        # sum of |A| of the ELP3 terms left out of it
    for n in range(1, N_FILES + 1):
        coord = coordinate(n)
        slot = 3 * coord + poisson_power(n)
        thr = prec if coord < 2 else ATH_KM * prec / RHO
        for mult, fmap, a, c, s in read_file(args.data_dir, n):
            n_read += 1
            if n == 3:
                if abs(c) >= LIGHT_TIME_MIN_KM:
                    lt_terms.append((mult, c))
                else:
                    lt_omitted += abs(c)
            if abs(a) < thr:
                continue
            n_kept += 1
            key = tuple(sorted((fmap[i], k) for i, k in enumerate(mult) if k != 0))
            for b, k in key:
                kmax[b] = max(kmax[b], abs(k))
            pos = arg_index.get(key)
            if pos is None:
                pos = len(arg_keys)
                arg_index[key] = pos
                arg_keys.append(key)
                arg_coefs.append({})
            cs = arg_coefs[pos].setdefault(slot, [0.0, 0.0])
            cs[0] += c
            cs[1] += s
    if any(abs(k) > 12 for mult, _ in lt_terms for k in mult):
        sys.exit("light-time distance term with a multiple beyond 12 (evaluator's KMAX)")
    if n_read != N_RECORDS:
        sys.exit("expected %d records in ELP1..ELP36, read %d" % (N_RECORDS, n_read))

    # Flat multiples table: base j occupies [off_j - kmax_j, off_j + kmax_j].
    offsets = []
    pos = 0
    for b in range(len(BASES)):
        offsets.append(pos + kmax[b])
        pos += 2 * kmax[b] + 1
    n_mult = pos

    # Two levels.  Each argument splits into a planetary part (multiples of
    # Me ... Ne) and a lunar part (zeta, D, l', l, F); the distinct parts,
    # "partial arguments", are products of base multiples, and every argument
    # is the product of exactly two partial arguments (partial 0 is the empty
    # product, 1).  The parts recur across many arguments, which saves most
    # of the complex products.
    def split(key):
        return (tuple(x for x in key if x[0] >= 9), tuple(x for x in key if x[0] < 9))

    parts = {(): 0}
    for key in arg_keys:
        for part in split(key):
            parts.setdefault(part, None)
    part_list = [()] + sorted((p for p in parts if p), key=lambda p: (len(p), p))
    part_index = {p: i for i, p in enumerate(part_list)}
    part_nfac = [len(p) for p in part_list]
    part_factors = [offsets[b] + k for p in part_list for b, k in p]

    # Arguments ordered by their partial arguments, for locality.
    arg_pairs = [tuple(part_index[p] for p in split(key)) for key in arg_keys]
    order = sorted(range(len(arg_keys)), key=lambda i: arg_pairs[i])
    pairs = []
    ncoef = []
    slots = []
    coefs = []
    for i in order:
        pairs.extend(arg_pairs[i])
        items = sorted(arg_coefs[i].items())
        ncoef.append(len(items))
        slots.extend(sl for sl, _ in items)
        coefs.extend(cs for _, cs in items)

    out = []
    w = out.append
    w("// Generated by tools/gen_elp82b.py -- do not edit.")
    w("// Source: ELP 2000-82B series files ELP1 ... ELP36 (M. Chapront-Touze,")
    w("// J. Chapront, CDS catalogue VI/79), main-problem amplitudes corrected to")
    w("// the DE200/LE200 fit (notice \"Lunar Solution ELP 2000-82B\", sect. 7).")
    w("// Truncation PREC = %s arcsec: %d of %d terms kept, merged into %d arguments"
      % (repr(prec), n_kept, n_read, len(arg_keys)))
    w("// built from %d partial arguments." % len(part_list))
    w("// Regenerate:")
    w("//   python3 tools/gen_elp82b.py <elp2000-82b data dir> %s --prec %s"
      % ("lunaris/generated/elp82b_tables.cpp", repr(prec)))
    w("#include \"lunaris/generated/elp82b_tables.h\"")
    w("")
    w("namespace lunaris::tables {")
    w("")
    w("const double ELP_PREC_ARCSEC = %r;" % prec)
    w("const int ELP_TERMS_KEPT = %d;" % n_kept)
    w("")
    w("// Highest multiple |k| of each base angle (order: %s)." % " ".join(BASES))
    w("const int ELP_BASE_KMAX[ELP_NBASE] = {%s};" % ", ".join(str(k) for k in kmax))
    w("// Position of k = 0 of each base in the flat multiples table.")
    w("const int ELP_BASE_OFFSET[ELP_NBASE] = {%s};" % ", ".join(str(o) for o in offsets))
    w("const int ELP_NMULT = %d;" % n_mult)
    w("static_assert(%d <= ELP_NMULT_MAX, \"multiples table too small\");" % n_mult)
    w("")
    w("const int ELP_NPART = %d;" % len(part_list))
    w("static_assert(%d <= ELP_NPART_MAX, \"partial-argument table too small\");"
      % len(part_list))
    w("const int ELP_NPART_FACTOR = %d;" % len(part_factors))
    w("const int ELP_NARG = %d;" % len(ncoef))
    w("const int ELP_NCOEF = %d;" % len(coefs))
    w("")
    w("// Per partial argument: number of factors (partial 0 has none).")
    w("const unsigned char ELP_PART_NFACTOR[ELP_NPART] = {")
    for i in range(0, len(part_nfac), 32):
        w("  " + ",".join(str(v) for v in part_nfac[i:i + 32]) + ",")
    w("};")
    w("// Their factors: flat indices into the multiples table.")
    w("const unsigned short ELP_PART_FACTOR[ELP_NPART_FACTOR] = {")
    for i in range(0, len(part_factors), 20):
        w("  " + ",".join(str(v) for v in part_factors[i:i + 20]) + ",")
    w("};")
    w("// Per argument: its two partial arguments (planetary, lunar).")
    w("const unsigned short ELP_ARG_PART[2 * ELP_NARG] = {")
    for i in range(0, len(pairs), 20):
        w("  " + ",".join(str(v) for v in pairs[i:i + 20]) + ",")
    w("};")
    w("// Per argument: number of coefficient pairs.")
    w("const unsigned char ELP_ARG_NCOEF[ELP_NARG] = {")
    for i in range(0, len(ncoef), 32):
        w("  " + ",".join(str(v) for v in ncoef[i:i + 32]) + ",")
    w("};")
    w("// Per coefficient pair: slot = 3*coordinate + power of t, coordinate")
    w("// 0 = V (arcsec), 1 = U (arcsec), 2 = r (km).")
    w("const unsigned char ELP_COEF_SLOT[ELP_NCOEF] = {")
    for i in range(0, len(slots), 32):
        w("  " + ",".join(str(v) for v in slots[i:i + 32]) + ",")
    w("};")
    w("// Coefficient pairs {c, s}: c cos(argument) + s sin(argument).")
    w("const ElpCoef ELP_COEF[ELP_NCOEF] = {")
    for c, s_ in coefs:
        w("  {%r, %r}," % (c, s_))
    w("};")
    w("")
    w("// Abbreviated distance for the light time: the %d main-problem distance" % len(lt_terms))
    w("// terms (ELP3, corrected) of at least %r km, r = sum A cos(i1 D + i2 l' + i3 l + i4 F)"
      % LIGHT_TIME_MIN_KM)
    w("// with the full polynomial arguments.  Omitted ELP3 amplitudes sum to %.3f km." % lt_omitted)
    w("const int ELP_LT_NTERM = %d;" % len(lt_terms))
    w("const ElpDistanceTerm ELP_LT_TERM[ELP_LT_NTERM] = {")
    for mult, a in lt_terms:
        w("  {{%s}, %r}," % (", ".join(str(k) for k in mult), a))
    w("};")
    w("")
    w("}  // namespace lunaris::tables")
    with open(args.out, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(out) + "\n")
    print("%s: %d of %d terms, %d arguments, %d partial arguments (%d factors), "
          "%d coefficient pairs"
          % (args.out, n_kept, n_read, len(ncoef), len(part_list), len(part_factors),
             len(coefs)))


if __name__ == "__main__":
    main()
