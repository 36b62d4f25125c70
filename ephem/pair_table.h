// orbitcore — tables of unit complex numbers read by offset, for the
// series that build each argument as a product of table entries (the
// lunar series of orbitcore and of lunaris).
//
// A table holds pairs: entry e at tab[2 e], tab[2 e + 1] (the series decide
// which of the two is the sine).  Kernels read the entries of four lanes
// given by their offsets 2 e: two 128-bit pairs per register, unpacked into
// a register of first and one of second members; store_pairs4 writes four
// lanes back as consecutive pairs.  Products of entries are built level by
// level (a level's products use entries of earlier levels only), each level
// a run of a kernel over its count lanes.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <vector>

#include "ephem/simd_dispatch.h"

namespace orbitcore {

// count products (a multiple of the lanes of a block) whose factors'
// offsets are index[index_at + f * count + i], f = 0, 1, written to entries
// first, first + 1, ...
struct PairProductLevel {
  int count, index_at, first;
};

// Kernel of one level: (count, factor offsets, table, output pairs).
using PairProductKernel = void (*)(int n, const std::int32_t* index, double* tab, double* out);

inline void build_product_levels(const std::vector<PairProductLevel>& levels,
                                 const std::int32_t* index, double* tab,
                                 PairProductKernel kernel) {
  for (const PairProductLevel& l : levels) kernel(l.count, index + l.index_at, tab, tab + 2 * l.first);
}

ORBITCORE_TARGET_AVX2 inline void load_pairs4(const double* tab, const std::int32_t* e,
                                              __m256d* first, __m256d* second) {
  const __m256d a = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(tab + e[0])),
                                         _mm_loadu_pd(tab + e[2]), 1);  // x0 y0 x2 y2
  const __m256d b = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(tab + e[1])),
                                         _mm_loadu_pd(tab + e[3]), 1);  // x1 y1 x3 y3
  *first = _mm256_unpacklo_pd(a, b);
  *second = _mm256_unpackhi_pd(a, b);
}

ORBITCORE_TARGET_AVX2 inline void store_pairs4(double* out, __m256d first, __m256d second) {
  const __m256d lo = _mm256_unpacklo_pd(first, second);  // x0 y0 x2 y2
  const __m256d hi = _mm256_unpackhi_pd(first, second);  // x1 y1 x3 y3
  _mm256_storeu_pd(out, _mm256_permute2f128_pd(lo, hi, 0x20));
  _mm256_storeu_pd(out + 4, _mm256_permute2f128_pd(lo, hi, 0x31));
}

}  // namespace orbitcore
