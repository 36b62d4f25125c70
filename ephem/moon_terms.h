// orbitcore — the lunar series' terms laid out for evaluation.
//
// The series are stored as term streams (moon_series_tables.h).  On first
// use both streams are decoded once into the layout below; the streams stay
// the stored format.
//
// Each term's argument theta = sum m x_a is split into two parts: the
// multiples of D and l (argument numbers 10 and 13), and everything else (F,
// l', W1 and the planets).  A part of one factor is an entry of the
// multiples table; a part of several factors is a product, computed once
// per evaluation and shared by every term that has that part (the 991
// periodic terms have 63 distinct (D, l) parts and 221 others, built with
// 246 complex products, a part of k factors from its first k - 1).  So every
// term costs one complex product of two table entries, and its value is
// C(tau) cos theta + S(tau) sin theta.
//
// Evaluation table ("sc"): sin at sc[2 e], cos at sc[2 e + 1] for entry e;
// entries 0 .. MOON_ARGUMENTS * MOON_MULTIPLES_STRIDE - 1 are the multiples
// k = -29 .. 29 of the arguments (moon_multiples_entry), the products follow.
//
// Products: levels in order (a level's products use entries of earlier
// levels only); per product the offsets 2 e of its two factors; per term the
// offsets of its two parts.  The terms of a series are grouped by the degree
// of their coefficient polynomials, side by side (structure of arrays),
// padded with zero-coefficient terms to whole blocks of MOON_LANES.
//
// Operations per term, the same in every build (simd_dispatch.h): with
// (s1, c1), (s2, c2) the two parts
//   st = fma(s1, c2, c1 s2),  ct = fma(c1, c2, -(s1 s2))
//   C, S = Horner of the coefficient columns in tau by fma
//   lane sum = fma(C, ct, fma(S, st, lane sum))
// and lane l of MOON_LANES running sums takes the terms at l, l + MOON_LANES,
// ... of the groups in order; the lanes are added pairwise at the end.
//
// Reference: ELP 2000-82B, Chapront-Touze & Chapront (1983, 1988).
#pragma once

#include <cstdint>
#include <vector>

#include "ephem/moon_series_tables.h"
#include "ephem/pair_table.h"

namespace orbitcore {

// Arguments 1 .. 14 are evaluated (15 .. 18 are never referenced).
constexpr int MOON_ARGUMENTS = 14;
// Multiples k = -29 .. 29 of each argument.
constexpr int MOON_MAX_MULTIPLE = 29;
constexpr int MOON_MULTIPLES_STRIDE = 2 * MOON_MAX_MULTIPLE + 1;
constexpr int MOON_MULTIPLES_ENTRIES = MOON_ARGUMENTS * MOON_MULTIPLES_STRIDE;
// Format limits: argument factors per term, degree of the coefficient
// polynomials, coefficient streams per series.
constexpr int MOON_MAX_FACTORS = 5;
constexpr int MOON_MAX_DEGREE = 3;
constexpr int MOON_MAX_STREAMS = 2;
// Products of parts the evaluation table holds at most.
constexpr int MOON_MAX_PRODUCTS = 1024;
constexpr int MOON_TABLE_DOUBLES = 2 * (MOON_MULTIPLES_ENTRIES + MOON_MAX_PRODUCTS);
// Terms per block and running sums per stream.
constexpr int MOON_LANES = 8;

inline int moon_multiples_entry(int argument, int k) {
  return (argument - 1) * MOON_MULTIPLES_STRIDE + MOON_MAX_MULTIPLE + k;
}

// Terms with coefficient polynomials of `degree`; count lanes (a multiple
// of MOON_LANES):
//   index[index_at + f * count + i]  offset 2 e of part f (0, 1);
//   coef[coef_at + (2 * (p * streams + k) + j) * count + i]  coefficient of
//     power degree - p of stream k, j = 0 cosine, 1 sine.
struct MoonTermGroup {
  int degree, count;
  int index_at, coef_at;
};


struct MoonSeriesLayout {
  int streams = 1;  // 2 for longitude and distance
  int terms = 0;    // terms decoded, polynomial terms included
  std::vector<MoonTermGroup> groups;
  // Sum of the pure polynomial terms per stream, highest power first.
  int poly_degree = -1;  // -1: none
  double poly[MOON_MAX_STREAMS][MOON_MAX_DEGREE + 1] = {};
};

struct MoonLayout {
  bool usable = false;  // false: a stream broke the format (never for the shipped tables)
  MoonSeriesLayout lon_dist, lat;
  std::vector<PairProductLevel> levels;  // products, counts multiples of MOON_LANES
  int products = 0;  // products without padding
  std::vector<std::int32_t> index;
  std::vector<double> coef;
  // Highest multiple of each argument that the terms use.
  int max_multiple[MOON_ARGUMENTS] = {};
};

// The decoded series (decoded on first call, then kept for the process).
const MoonLayout& moon_layout();

// The products of the parts, into sc after the multiples (which must be
// filled, k = 0 included).
void moon_build_products(const MoonLayout& layout, double* sc);

// Sums of one series at tau: sums[k] for stream k (coefficient units).
void moon_series_sums(const MoonLayout& layout, const MoonSeriesLayout& series, const double* sc,
                      double tau, double* sums);

}  // namespace orbitcore
