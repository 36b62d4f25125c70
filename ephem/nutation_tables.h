// orbitcore — constant tables of the IAU 1980 nutation series (generated into
// generated/nutation_tables.cpp by tools/gen_nutation.py).
#pragma once
#include <cstdint>

namespace orbitcore {

constexpr int NUT80_TERMS = 106;
constexpr int NUT80_TIME_TERM_COUNT = 15;

// Multiples of l, l', F, D, Omega per term, published order.
extern const std::int16_t NUT80_MULTIPLIERS[NUT80_TERMS][5];
// (dpsi sine, deps cosine) coefficient, 0.0001"; (0, 0) marks a row whose
// coefficients are time-dependent.
extern const std::int16_t NUT80_CONSTANT[NUT80_TERMS][2];
// (psi0, psi1, eps0, eps1, next marked row) for the marked rows in order;
// coefficient = x0 + x1 * T / 10 in 0.0001".
extern const std::int32_t NUT80_TIME_TERMS[NUT80_TIME_TERM_COUNT][5];

}  // namespace orbitcore
