// orbitcore — layout of the VSOP87 coefficient tables (generated into
// generated/vsop87_tables.cpp by tools/gen_vsop87.py).
#pragma once
#include <cstdint>

namespace orbitcore {

// One periodic term A * cos(B + C*t): A in 1e-8 rad (L, B) or 1e-8 AU (R),
// B in rad, C in rad per Julian millennium.
struct Vsop87Term {
  double a, b, c;
};

// One series slot: the terms of L0..L5, B0..B5, R0..R5 in one array, and the
// index table: row 0 = first term of each coordinate's power-0 series,
// row alpha+1 = exclusive end of its power-alpha series (0 = power absent).
// Columns are L, B, R.
struct Vsop87Slot {
  const Vsop87Term* terms;
  std::int32_t count;
  std::int32_t index[8][3];
};

constexpr int VSOP87_SLOT_COUNT = 9;
// Slot 0 complete Earth, 1 Mercury, 2 Venus, 3 reduced Earth, 4 Mars,
// 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune.
extern const Vsop87Slot VSOP87_SLOTS[VSOP87_SLOT_COUNT];

}  // namespace orbitcore
