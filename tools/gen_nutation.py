#!/usr/bin/env python3
"""Generate orbitcore's IAU 1980 nutation tables from nut80.txt.

Reads the 106-term IAU 1980 nutation series (Wahr 1981; Seidelmann 1982;
Explanatory Supplement 1992, sect. 3.222) in published order, one row of
"nl nlp nf nd nom sp spt ce cet" per term, and writes
ephem/generated/nutation_tables.cpp with

  NUT80_MULTIPLIERS[106][5]  int16  multiples of l, l', F, D, Omega
  NUT80_CONSTANT[106][2]     int16  (dpsi sine, deps cosine) coefficient,
                                    0.0001", (0, 0) marks a time-dependent term
  NUT80_TIME_TERMS[15][5]    int32  (psi0, psi1, eps0, eps1, next row) for the
                                    marked terms in row order: psi0 + psi1*T/10,
                                    0.0001" and 0.00001" per Julian century

Usage:  python3 tools/gen_nutation.py NUT80_TXT [OUTPUT]
  OUTPUT default: ephem/generated/nutation_tables.cpp
"""
import sys
from decimal import Decimal

import provenance

TABLE = "ephem/generated/nutation_tables.cpp"

HEADER = """\
// GENERATED FILE - do not edit.
// IAU 1980 nutation series, 106 terms in published order (Wahr 1981; Seidelmann
// 1982, Celest. Mech. 27, 79; Explanatory Supplement 1992, sect. 3.222).
// Generated from nut80.txt by tools/gen_nutation.py."""
EXPECTED_MARKED = [0, 1, 8, 9, 10, 11, 12, 15, 17, 30, 31, 32, 33, 37, 38]


def to_int(text, scale=1):
    d = Decimal(text) * scale
    if d != d.to_integral_value():
        raise SystemExit(f"{text} * {scale} is not an integer")
    return int(d)


def main():
    src, out = provenance.input_and_output(__doc__, TABLE)
    rows = []
    with open(src, encoding="ascii") as f:
        for line in f:
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            p = line.split()
            if len(p) != 9:
                raise SystemExit(f"bad row: {line!r}")
            mult = [int(x) for x in p[:5]]
            sp, spt, ce, cet = to_int(p[5]), to_int(p[6], 10), to_int(p[7]), to_int(p[8], 10)
            rows.append((mult, sp, spt, ce, cet))
    if len(rows) != 106:
        raise SystemExit(f"{len(rows)} rows, expected 106")
    marked = [i for i, r in enumerate(rows) if r[2] != 0 or r[4] != 0]
    if marked != EXPECTED_MARKED:
        raise SystemExit(f"time-dependent rows {marked}, expected {EXPECTED_MARKED}")
    for i, (mult, sp, spt, ce, cet) in enumerate(rows):
        if any(abs(m) > 4 for m in mult):
            raise SystemExit(f"row {i}: multiplier outside -4..4")
        if i not in marked:
            if sp == 0 and ce == 0:
                raise SystemExit(f"row {i}: constant row (0, 0) would read as marked")
            if not (-32768 <= sp <= 32767 and -32768 <= ce <= 32767):
                raise SystemExit(f"row {i}: constant coefficient outside int16")
    if (rows[0][1], rows[0][2], rows[0][3], rows[0][4]) != (-171996, -1742, 92025, 89):
        raise SystemExit("row 0 is not the Omega term (-171996, -1742, 92025, 89)")

    lines = HEADER.split("\n")
    w = lines.append
    lines.extend(provenance.header(
        "//", f"tools/gen_nutation.py {provenance.from_root(src)} {TABLE}", [src]))
    w("#include \"ephem/nutation_tables.h\"")
    w("")
    w("namespace orbitcore {")
    w("")
    w("// Multiples of the fundamental arguments l, l', F, D, Omega.")
    w("const std::int16_t NUT80_MULTIPLIERS[NUT80_TERMS][5] = {")
    for i, r in enumerate(rows):
        w("    {" + ", ".join(f"{m:2d}" for m in r[0]) + f"}},  // {i}")
    w("};")
    w("")
    w("// Constant coefficients (dpsi sin, deps cos) in 0.0001\"; (0, 0) = time-dependent row.")
    w("const std::int16_t NUT80_CONSTANT[NUT80_TERMS][2] = {")
    for i, r in enumerate(rows):
        pair = (0, 0) if i in marked else (r[1], r[3])
        w(f"    {{{pair[0]}, {pair[1]}}},  // {i}")
    w("};")
    w("")
    w("// Time-dependent rows: psi0, psi1, eps0, eps1, next marked row (-1 = last);")
    w("// coefficient = x0 + x1 * T / 10 in 0.0001\", T in Julian centuries.")
    w("const std::int32_t NUT80_TIME_TERMS[NUT80_TIME_TERM_COUNT][5] = {")
    for j, i in enumerate(marked):
        r = rows[i]
        nxt = marked[j + 1] if j + 1 < len(marked) else -1
        w(f"    {{{r[1]}, {r[2]}, {r[3]}, {r[4]}, {nxt}}},  // row {i}")
    w("};")
    w("")
    w("}  // namespace orbitcore")
    provenance.write_lines(out, lines)
    print(f"wrote {out}: {len(rows)} rows, {len(marked)} time-dependent")
    return 0


if __name__ == "__main__":
    sys.exit(main())
