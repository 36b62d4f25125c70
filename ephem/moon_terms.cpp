// orbitcore — decoding the lunar term streams and evaluating the decoded
// groups (see moon_terms.h for the layout and the order of summation).
//
// Per term, with (s, c) the table entries of its factors in stream order:
//   st, ct = s1, c1;  then per further factor
//   st' = fma(st, ck, ct sk),  ct' = fma(ct, ck, -(st sk))
//   C = Horner of the cosine coefficients in tau by fma, S likewise
//   value = fma(C, ct, S st)
//
// Each group runs one instantiation for its number of factors N, degree D
// and number of streams K: four terms per AVX2 register where the processor
// has AVX2 and FMA, one term at a time on the x86-64 baseline otherwise.
// Both execute the same roundings per term and add the values to the lane
// sums in the same order (std::fma is exact everywhere), so they give the
// same bits.
#include "moon_terms.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace orbitcore {
namespace {

// A stream without its end marker is not decoded.
constexpr int MAX_TERMS = 100000;

using LaneSums = double[MOON_MAX_STREAMS][MOON_LANES];

// One group on the baseline: term by term.
template <int N, int D, int K>
void group_sums_base(int n, const std::int32_t* index, const double* coef, const double* sc,
                     double tau, LaneSums& sums) {
  for (int i = 0; i < n; ++i) {
    const std::int32_t e0 = index[i];
    double st = sc[e0], ct = sc[e0 + 1];
    for (int f = 1; f < N; ++f) {
      const std::int32_t e = index[f * n + i];
      const double sk = sc[e], ck = sc[e + 1];
      const double s = std::fma(st, ck, ct * sk);
      ct = std::fma(ct, ck, -(st * sk));
      st = s;
    }
    for (int k = 0; k < K; ++k) {
      double cc = coef[(2 * k) * n + i], ss = coef[(2 * k + 1) * n + i];
      for (int p = 1; p <= D; ++p) {
        cc = std::fma(cc, tau, coef[(2 * (p * K + k)) * n + i]);
        ss = std::fma(ss, tau, coef[(2 * (p * K + k) + 1) * n + i]);
      }
      sums[k][i % MOON_LANES] += std::fma(cc, ct, ss * st);
    }
  }
}

// sin and cos of the table entries of four lanes: two 128-bit (s, c) pairs
// per register, then unpacked into a sine and a cosine register.
__attribute__((target("avx2,fma"))) inline void load_entries(const double* sc,
                                                             const std::int32_t* e,
                                                             __m256d* s, __m256d* c) {
  const __m256d a = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(sc + e[0])),
                                         _mm_loadu_pd(sc + e[2]), 1);  // s0 c0 s2 c2
  const __m256d b = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_loadu_pd(sc + e[1])),
                                         _mm_loadu_pd(sc + e[3]), 1);  // s1 c1 s3 c3
  *s = _mm256_unpacklo_pd(a, b);
  *c = _mm256_unpackhi_pd(a, b);
}

// One group with AVX2 and FMA: lanes l .. l + 3 in one register.  (The
// loops over factors, streams and powers have fixed counts and are unrolled,
// so that the sums stay in registers.)
template <int N, int D, int K>
__attribute__((target("avx2,fma"))) void group_sums_avx2(int n, const std::int32_t* index,
                                                         const double* coef, const double* sc,
                                                         double tau, LaneSums& sums) {
  static_assert(MOON_LANES == 8, "two registers of four lanes");
  const __m256d vtau = _mm256_set1_pd(tau);
  __m256d acc[K][2];
#pragma GCC unroll 8
  for (int k = 0; k < K; ++k) {
    acc[k][0] = _mm256_loadu_pd(&sums[k][0]);
    acc[k][1] = _mm256_loadu_pd(&sums[k][4]);
  }
  for (int i = 0; i < n; i += MOON_LANES) {
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
      const int l = i + 4 * h;
      __m256d st, ct;
      load_entries(sc, index + l, &st, &ct);
#pragma GCC unroll 8
      for (int f = 1; f < N; ++f) {
        __m256d sk, ck;
        load_entries(sc, index + f * n + l, &sk, &ck);
        const __m256d s = _mm256_fmadd_pd(st, ck, _mm256_mul_pd(ct, sk));
        ct = _mm256_fmsub_pd(ct, ck, _mm256_mul_pd(st, sk));
        st = s;
      }
#pragma GCC unroll 8
      for (int k = 0; k < K; ++k) {
        __m256d cc = _mm256_loadu_pd(coef + (2 * k) * n + l);
        __m256d ss = _mm256_loadu_pd(coef + (2 * k + 1) * n + l);
#pragma GCC unroll 8
        for (int p = 1; p <= D; ++p) {
          cc = _mm256_fmadd_pd(cc, vtau, _mm256_loadu_pd(coef + (2 * (p * K + k)) * n + l));
          ss = _mm256_fmadd_pd(ss, vtau, _mm256_loadu_pd(coef + (2 * (p * K + k) + 1) * n + l));
        }
        acc[k][h] = _mm256_add_pd(acc[k][h], _mm256_fmadd_pd(cc, ct, _mm256_mul_pd(ss, st)));
      }
    }
  }
#pragma GCC unroll 8
  for (int k = 0; k < K; ++k) {
    _mm256_storeu_pd(&sums[k][0], acc[k][0]);
    _mm256_storeu_pd(&sums[k][4], acc[k][1]);
  }
}

using GroupKernel = void (*)(int n, const std::int32_t* index, const double* coef,
                             const double* sc, double tau, LaneSums& sums);

// Kernels [factors - 1][degree] for K streams.
constexpr int KINDS = MOON_MAX_FACTORS * (MOON_MAX_DEGREE + 1);
using Kernels = std::array<GroupKernel, KINDS>;

template <int K, bool AVX2, int... I>
constexpr Kernels make_kernels(std::integer_sequence<int, I...>) {
  constexpr int DEGREES = MOON_MAX_DEGREE + 1;
  if constexpr (AVX2)
    return {&group_sums_avx2<I / DEGREES + 1, I % DEGREES, K>...};
  else
    return {&group_sums_base<I / DEGREES + 1, I % DEGREES, K>...};
}

template <int K>
const Kernels& kernels(bool baseline) {
  static const Kernels avx2 = make_kernels<K, true>(std::make_integer_sequence<int, KINDS>());
  static const Kernels base = make_kernels<K, false>(std::make_integer_sequence<int, KINDS>());
  static const bool has_avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  }();
  return has_avx2 && !baseline ? avx2 : base;
}

// A periodic term as it stands in the stream.
struct RawTerm {
  int factors, degree;
  std::int32_t offset[MOON_MAX_FACTORS];       // 2 e of each factor's table entry
  const std::int32_t* coef[MOON_MAX_STREAMS];  // (c, s) pairs, highest power first
};

MoonDecodedSeries decode(const MoonSeries& s) {
  MoonDecodedSeries ds;
  ds.streams = s.coef_dist != nullptr ? 2 : 1;

  // Walk the stream.
  std::vector<RawTerm> raw;
  long long poly[MOON_MAX_STREAMS][MOON_MAX_DEGREE + 1] = {};  // lowest power first
  const std::int16_t* ts = s.terms;
  const std::int32_t* cs[MOON_MAX_STREAMS] = {s.coef, s.coef_dist};
  for (int t = 0;; ++t) {
    if (t == MAX_TERMS) return ds;
    const int n = *ts++;
    if (n < 0) break;
    if (n > MOON_MAX_FACTORS) return ds;
    RawTerm r{};
    r.factors = n;
    for (int f = 0; f < n; ++f, ts += 2) {
      const int m = ts[0], a = ts[1];
      if (a < 1 || a > MOON_ARGUMENTS || m < -MOON_MAX_MULTIPLE || m > MOON_MAX_MULTIPLE)
        return ds;
      r.offset[f] = 2 * moon_multiples_entry(a, m);
      ds.max_multiple[a - 1] = std::max(ds.max_multiple[a - 1], std::abs(m));
    }
    r.degree = *ts++;
    if (r.degree < 0 || r.degree > MOON_MAX_DEGREE) return ds;
    const int count = (n == 0 ? 1 : 2) * (r.degree + 1);
    for (int k = 0; k < ds.streams; ++k) {
      r.coef[k] = cs[k];
      cs[k] += count;
    }
    ++ds.terms;
    if (n == 0) {  // pure polynomial: added into the polynomial of each stream
      for (int k = 0; k < ds.streams; ++k)
        for (int p = 0; p <= r.degree; ++p) poly[k][r.degree - p] += r.coef[k][p];
      ds.poly_degree = std::max(ds.poly_degree, r.degree);
    } else {
      raw.push_back(r);
    }
  }
  for (int k = 0; k < ds.streams; ++k)
    for (int p = 0; p <= ds.poly_degree; ++p)
      ds.poly[k][p] = static_cast<double>(poly[k][ds.poly_degree - p]);

  // Group by (factors, degree), stream order kept inside a group.
  for (int n = 1; n <= MOON_MAX_FACTORS; ++n) {
    for (int d = 0; d <= MOON_MAX_DEGREE; ++d) {
      std::vector<const RawTerm*> members;
      for (const RawTerm& r : raw)
        if (r.factors == n && r.degree == d) members.push_back(&r);
      if (members.empty()) continue;
      MoonTermGroup g{};
      g.factors = n;
      g.degree = d;
      g.count = (static_cast<int>(members.size()) + MOON_LANES - 1) / MOON_LANES * MOON_LANES;
      g.index_at = static_cast<int>(ds.index.size());
      g.coef_at = static_cast<int>(ds.coef.size());
      // Padding lanes: multiple 0 of argument 1 (sin 0, cos 1), zero coefficients.
      ds.index.resize(ds.index.size() + static_cast<std::size_t>(n) * g.count,
                      2 * moon_multiples_entry(1, 0));
      ds.coef.resize(ds.coef.size() + static_cast<std::size_t>(d + 1) * ds.streams * 2 * g.count,
                     0.0);
      for (int i = 0; i < static_cast<int>(members.size()); ++i) {
        const RawTerm& r = *members[i];
        for (int f = 0; f < n; ++f) ds.index[g.index_at + f * g.count + i] = r.offset[f];
        for (int p = 0; p <= d; ++p)
          for (int k = 0; k < ds.streams; ++k)
            for (int j = 0; j < 2; ++j)
              ds.coef[g.coef_at + (2 * (p * ds.streams + k) + j) * g.count + i] =
                  r.coef[k][2 * p + j];
      }
      ds.groups.push_back(g);
    }
  }
  ds.usable = true;
  return ds;
}

}  // namespace

const MoonDecodedSeries& moon_decoded_lon_dist() {
  static const MoonDecodedSeries ds = decode(kMoonLonDistSeries);
  return ds;
}

const MoonDecodedSeries& moon_decoded_lat() {
  static const MoonDecodedSeries ds = decode(kMoonLatSeries);
  return ds;
}

void moon_series_sums(const MoonDecodedSeries& ds, const MoonMultiples& tab, double tau,
                      bool baseline, double* sums) {
  static_assert(MOON_LANES == 8, "the pairwise sum below adds eight lanes");
  const Kernels& kernel = ds.streams == 2 ? kernels<2>(baseline) : kernels<1>(baseline);
  LaneSums lanes = {};
  for (const MoonTermGroup& g : ds.groups)
    kernel[(g.factors - 1) * (MOON_MAX_DEGREE + 1) + g.degree](
        g.count, ds.index.data() + g.index_at, ds.coef.data() + g.coef_at, tab.sc, tau, lanes);
  for (int k = 0; k < ds.streams; ++k) {
    const double* a = lanes[k];
    double p = 0.0;
    for (int e = 0; e <= ds.poly_degree; ++e) p = p * tau + ds.poly[k][e];
    sums[k] = p + (((a[0] + a[4]) + (a[2] + a[6])) + ((a[1] + a[5]) + (a[3] + a[7])));
  }
}

}  // namespace orbitcore
