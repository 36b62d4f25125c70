// orbitcore — the lunar series' terms laid out for evaluation.
//
// The series are stored as term streams (moon_series_tables.h).  On first use
// each stream is decoded once into groups of terms with the same number of
// argument factors and the same coefficient degree, held side by side
// (structure of arrays, padded with zero-coefficient terms to whole blocks of
// MOON_LANES), so that one loop per group evaluates several terms at once
// with fused multiply-adds.  The pure polynomial terms are summed into one
// polynomial per stream.
//
// Evaluation of one series at tau (units of 10^4 Julian years from J2000):
// for every term, sin and cos of theta = sum m x_a are composed from the
// multiples table by the angle-addition formulas, factor by factor in stream
// order, and the term's value is C(tau) cos theta + S(tau) sin theta.  The
// values go into MOON_LANES running sums (lane l takes the terms at lanes l,
// l + MOON_LANES, ... of the groups in order), added pairwise at the end: a
// fixed order of operations, the same on every processor.
//
// Reference: ELP 2000-82B, Chapront-Touze & Chapront (1983, 1988).
#pragma once

#include <cstdint>
#include <vector>

#include "moon_series_tables.h"

namespace orbitcore {

// Arguments 1 .. 14 are evaluated (15 .. 18 are never referenced).
constexpr int MOON_ARGUMENTS = 14;
// Multiples k = -29 .. 29 of each argument.
constexpr int MOON_MAX_MULTIPLE = 29;
constexpr int MOON_MULTIPLES_STRIDE = 2 * MOON_MAX_MULTIPLE + 1;
// Format limits: argument factors per term, degree of the coefficient
// polynomials, coefficient streams per series.
constexpr int MOON_MAX_FACTORS = 5;
constexpr int MOON_MAX_DEGREE = 3;
constexpr int MOON_MAX_STREAMS = 2;
// Terms per block and running sums per stream.
constexpr int MOON_LANES = 8;

// Multiples table: sin(k x_n) at sc[2 e], cos(k x_n) at sc[2 e + 1] for the
// entry e = n * MOON_MULTIPLES_STRIDE + MOON_MAX_MULTIPLE + k (n = argument
// number - 1).
struct MoonMultiples {
  double sc[2 * MOON_ARGUMENTS * MOON_MULTIPLES_STRIDE];
};

inline int moon_multiples_entry(int argument, int k) {
  return (argument - 1) * MOON_MULTIPLES_STRIDE + MOON_MAX_MULTIPLE + k;
}

// Terms with `factors` argument factors and coefficient polynomials of
// `degree`; count lanes (a multiple of MOON_LANES):
//   index[index_at + f * count + i]  offset 2 e of factor f's table entry;
//   coef[coef_at + (2 * (p * streams + k) + j) * count + i]  coefficient of
//     power degree - p of stream k, j = 0 cosine, 1 sine.
struct MoonTermGroup {
  int factors, degree, count;
  int index_at, coef_at;
};

struct MoonDecodedSeries {
  bool usable = false;  // false: the stream broke the format (never for the shipped tables)
  int streams = 1;      // 2 for longitude and distance
  int terms = 0;        // terms decoded, polynomial terms included
  std::vector<MoonTermGroup> groups;
  std::vector<std::int32_t> index;
  std::vector<double> coef;
  // Sum of the pure polynomial terms per stream, highest power first.
  int poly_degree = -1;  // -1: none
  double poly[MOON_MAX_STREAMS][MOON_MAX_DEGREE + 1] = {};
  // Highest multiple of each argument that the terms use.
  int max_multiple[MOON_ARGUMENTS] = {};
};

// The decoded series (decoded on first call, then kept for the process).
const MoonDecodedSeries& moon_decoded_lon_dist();
const MoonDecodedSeries& moon_decoded_lat();

// Sums of the series at tau: sums[k] for stream k (coefficient units).
// baseline: use the x86-64 baseline code even where AVX2 and FMA are
// available (the results are the same bits; for tests).
void moon_series_sums(const MoonDecodedSeries& ds, const MoonMultiples& tab, double tau,
                      bool baseline, double* sums);

}  // namespace orbitcore
