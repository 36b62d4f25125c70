#!/usr/bin/env python3
"""Generate orbitcore's VSOP87 coefficient tables from the VSOP87D data files.

Reads the original VSOP87 version D series (Bretagnon & Francou 1988, CDS
catalogue VI/81; heliocentric L, B, R of the mean ecliptic and equinox of date)
and writes ephem/generated/vsop87_tables.cpp with nine series slots:

  slot 0  Earth, complete series (every published term)
  slot 1  Mercury, reduced          slot 5  Jupiter, reduced
  slot 2  Venus, reduced            slot 6  Saturn, reduced
  slot 3  Earth, reduced            slot 7  Uranus, reduced
  slot 4  Mars, reduced             slot 8  Neptune, reduced

Each slot is a term array of records (A, B, C) meaning A * cos(B + C*t), with
A in units of 1e-8 rad (L, B) or 1e-8 AU (R), B in rad and C in rad per Julian
millennium, ordered L0..L5, B0..B5, R0..R5, plus an index table of 8 rows x 3
columns (L, B, R): row 0 is the start of the power-0 series, row a+1 the
exclusive end of the power-a series, 0 when the power is absent.

Reduced Earth (slot 3): exactly the terms of slot 0 with A >= 6.25 / 4**a for
a <= 3 and A >= 0.045 for a = 4, 5 (A in 1e-8 units), digits unchanged.
Other planets: per coordinate and power the published terms of largest
amplitude in the counts of REDUCED_COUNTS, kept in published order, with
amplitudes rounded to 0.1 of the 1e-8 unit.

Decimal arithmetic is used throughout so the amplitudes are the published
digits shifted by eight places, not products rounded in binary.

Usage:  python3 tools/gen_vsop87.py DATA_DIR [OUTPUT]
  DATA_DIR  folder holding VSOP87D.mer ... VSOP87D.nep
  OUTPUT    default: ephem/generated/vsop87_tables.cpp
"""
import os
import sys
from decimal import Decimal, ROUND_HALF_EVEN

import provenance

TABLE = "ephem/generated/vsop87_tables.cpp"

HEADER = """\
// GENERATED FILE - do not edit.
// VSOP87 version D series (Bretagnon & Francou 1988, A&A 202, 309; CDS VI/81),
// heliocentric L, B, R of the mean ecliptic and equinox of date, in the term
// layout read by vsop87_evaluate().  Generated from VSOP87D.ear, .mer, .ven,
// .mar, .jup, .sat, .ura, .nep by tools/gen_vsop87.py."""
RECORDS = """\
// Records are {A, B, C}: A * cos(B + C*t), A in 1e-8 rad or 1e-8 AU, B in rad,
// C in rad per Julian millennium, t in Julian millennia from J2000.0 (TDB)."""

BODIES = {  # slot -> (file suffix, name)
    0: ("ear", "Earth (complete)"),
    1: ("mer", "Mercury"),
    2: ("ven", "Venus"),
    3: ("ear", "Earth (reduced)"),
    4: ("mar", "Mars"),
    5: ("jup", "Jupiter"),
    6: ("sat", "Saturn"),
    7: ("ura", "Uranus"),
    8: ("nep", "Neptune"),
}

# Terms kept per slot, coordinate (L, B, R) and power 0, 1, 2 ...
REDUCED_COUNTS = {
    1: ([75, 37, 14, 9, 8, 1], [33, 15, 11, 8, 5, 1], [29, 12, 8, 7, 4]),
    2: ([47, 23, 11, 4, 3, 3], [18, 12, 4, 4, 4, 1], [22, 7, 3, 2, 1]),
    4: ([124, 98, 67, 32, 15, 7], [40, 26, 10, 8, 5, 1], [95, 84, 53, 14, 9, 3]),
    5: ([109, 85, 77, 70, 42, 9], [36, 40, 36, 22, 12, 4], [130, 113, 118, 98, 46, 9]),
    6: ([165, 138, 115, 82, 66, 26], [53, 53, 46, 33, 26, 8], [288, 246, 239, 157, 64, 28]),
    7: ([152, 101, 62, 32, 7, 1], [43, 34, 17, 11, 2], [370, 290, 192, 55, 11]),
    8: ([58, 32, 22, 10, 2, 1], [23, 17, 10, 5, 1, 1], [174, 106, 72, 22, 7]),
}
EXPECTED_TOTALS = [2425, 277, 169, 406, 691, 1056, 1833, 1380, 563]
SCALE = Decimal(10) ** 8
TENTH = Decimal("0.1")


def read_series(path):
    """Return blocks[coord][alpha] = list of (A, B, C) Decimal triples in published order."""
    blocks = [dict(), dict(), dict()]
    cur = None
    expected = None
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip():
                continue
            if line.startswith(" VSOP87"):
                if cur is not None and len(cur) != expected:
                    raise SystemExit(f"{path}: block has {len(cur)} terms, header says {expected}")
                if line[17] != "4":
                    raise SystemExit(f"{path}: not version D")
                coord = int(line[41]) - 1
                alpha = int(line[59])
                expected = int(line[60:67])
                cur = []
                blocks[coord][alpha] = cur
            else:
                a = Decimal(line[79:97].strip())
                b = Decimal(line[97:111].strip())
                c = Decimal(line[111:131].strip())
                cur.append((a, b, c))
    if cur is not None and len(cur) != expected:
        raise SystemExit(f"{path}: last block has {len(cur)} terms, header says {expected}")
    return blocks


def fmt(d):
    """Shortest exact decimal text of a Decimal, valid as a C++ double literal."""
    s = format(d.normalize(), "f")
    if "." not in s:
        s += ".0"
    return s


def earth_reduced_keep(alpha, a_scaled):
    if alpha <= 3:
        return a_scaled >= Decimal("6.25") / (Decimal(4) ** alpha)
    return a_scaled >= Decimal("0.045")


def build_slot(slot, blocks):
    """Return (terms, index) for one slot; terms are (A_1e8, B, C) Decimals."""
    terms = []
    index = [[0, 0, 0] for _ in range(8)]
    for k in range(3):
        index[0][k] = len(terms)
        for alpha in range(6):
            series = blocks[k].get(alpha)
            if series is None:
                break
            if slot == 0:
                kept = [(a * SCALE, b, c) for a, b, c in series]
            elif slot == 3:
                kept = [(a * SCALE, b, c) for a, b, c in series
                        if earth_reduced_keep(alpha, a * SCALE)]
            else:
                counts = REDUCED_COUNTS[slot][k]
                if alpha >= len(counts):
                    break
                n = counts[alpha]
                order = sorted(range(len(series)), key=lambda i: (-series[i][0], i))[:n]
                kept = [((series[i][0] * SCALE).quantize(TENTH, rounding=ROUND_HALF_EVEN),
                         series[i][1], series[i][2]) for i in sorted(order)]
            if not kept:
                break
            terms.extend(kept)
            index[alpha + 1][k] = len(terms)
    return terms, index


def main():
    data_dir, out = provenance.input_and_output(__doc__, TABLE)
    cache = {}
    inputs = []
    slots = []
    for slot in range(9):
        suffix, _ = BODIES[slot]
        if suffix not in cache:
            inputs.append(os.path.join(data_dir, "VSOP87D." + suffix))
            cache[suffix] = read_series(inputs[-1])
        terms, index = build_slot(slot, cache[suffix])
        if len(terms) != EXPECTED_TOTALS[slot]:
            raise SystemExit(f"slot {slot}: {len(terms)} terms, expected {EXPECTED_TOTALS[slot]}")
        slots.append((terms, index))
    l1 = slots[0][0][slots[0][1][1][0]]
    if fmt(l1[0]) != "628331966747.491":
        raise SystemExit("Earth L1 does not start with A = 628331966747.491: not version D?")

    lines = HEADER.split("\n")
    w = lines.append
    lines.extend(provenance.header(
        "//", f"tools/gen_vsop87.py {provenance.from_root(data_dir)} {TABLE}", inputs))
    lines.extend(RECORDS.split("\n"))
    w("#include \"ephem/vsop87_tables.h\"")
    w("")
    w("namespace orbitcore {")
    w("")
    for slot, (terms, index) in enumerate(slots):
        name = BODIES[slot][1]
        w(f"// Slot {slot}: {name}, {len(terms)} terms.")
        w(f"static const Vsop87Term TERMS_{slot}[{len(terms)}] = {{")
        for a, b, c in terms:
            w(f"    {{{fmt(a)}, {fmt(b)}, {fmt(c)}}},")
        w("};")
        w("")
    w("const Vsop87Slot VSOP87_SLOTS[VSOP87_SLOT_COUNT] = {")
    for slot, (terms, index) in enumerate(slots):
        rows = ", ".join("{" + ", ".join(str(v) for v in row) + "}" for row in index)
        w(f"    {{TERMS_{slot}, {len(terms)}, {{{rows}}}}},  // {BODIES[slot][1]}")
    w("};")
    w("")
    w("}  // namespace orbitcore")
    provenance.write_lines(out, lines)
    print(f"wrote {out}: " + ", ".join(str(len(t)) for t, _ in slots) +
          f" terms, {sum(len(t) for t, _ in slots)} in all")
    return 0


if __name__ == "__main__":
    sys.exit(main())
