// orbitcore — the lunar series: arguments, multiples table, series sums.
//
// moon_position(jd): one evaluation of the series (moon_geocentric.cpp adds
// the light time).
//
// jd is a Julian date in dynamical time (TDT).  Results: longitude (radians,
// [0, 2pi)) and latitude (radians) of the mean ecliptic and equinox of date,
// distance (AU).
//
// Method: the 14 arguments (planetary mean longitudes 1..8, D, F, l', l, W1,
// arc seconds, T in Julian centuries from J2000) are evaluated once; a table
// of sin(k x) and cos(k x), k = 1 .. highest multiple of either series, is
// built by the multiple-angle recurrences, so that no trigonometric function
// is called per term.  The products of table entries that the terms share
// (their (D, l) parts and their other parts) follow in the same table, and
// each term C(tau) cos(theta) + S(tau) sin(theta) takes theta as the
// product of its two parts (the layout of moon_terms.h, decoded from the
// streams on first use).
//   lambda = W1 + 0.0001 * SumL                   (arc seconds)
//   beta   = 0.0001 * SumB                        (arc seconds)
//   Delta  = a0 * (1 + 0.0001 * SumR / rho)       (AU, rho = arcsec per radian)
//
// Reference: ELP 2000-82B, M. Chapront-Touze, J. Chapront, A&A 124, 50 (1983)
// and A&A 190, 342 (1988); the tables are built by tools/gen_moon_series.py.
#include "ephem/moon_position.h"

#include <algorithm>
#include <cmath>

#include <immintrin.h>

#include "ephem/mathutil.h"
#include "ephem/moon_terms.h"
#include "ephem/simd_dispatch.h"
#include "ephem/sincos_kernel.h"

namespace orbitcore {
namespace {

constexpr int N_EVALUATED = MOON_ARGUMENTS;  // arguments 15..18 are never referenced
// Lanes of the vectorised loops over the arguments.
constexpr int TABLE_LANES = 16;

// Argument n (1..14) in arc seconds: c0 + c1 T, reduced to one turn, plus
// T^2 * P(T), P given by its coefficients p[0] + p[1] T + ... (Horner).
struct ArgumentPolynomial {
  double c0, c1;
  int np;
  double p[9];
};

const ArgumentPolynomial kArguments[N_EVALUATED] = {
    // 1 Mercury's mean longitude
    {908103.213, 538101628.6889819, 2, {-0.0192789, 0.00000639}},
    // 2 Venus
    {655127.236, 210664136.4335482, 2, {0.0059381, -0.00000627}},
    // 3 Earth-Moon barycentre
    {361679.198, 129597742.283429, 2, {-0.0204411, -0.00000523}},
    // 4 Mars
    {1279558.751, 68905077.493988, 2, {0.0094264, -0.00001043}},
    // 5 Jupiter
    {123665.42, 10925660.377991, 5,
     {-0.3060378, 0.00005706, 0.000004667, 0.0000000591, -0.00000000034}},
    // 6 Saturn
    {180278.752, 4399609.855372, 5,
     {0.7561614, -0.00016618, -0.000011484, -0.0000001452, 0.00000000083}},
    // 7 Uranus
    {1130597.971, 1542481.193933, 2, {-0.0175083, 0.00002156}},
    // 8 Neptune
    {1095655.149, 786550.320744, 2, {0.0021103, -0.00000895}},
    // 9 (always zero)
    {0.0, 0.0, 0, {}},
    // 10 D, mean elongation of the Moon
    {1072261.2202445078, 1602961600.9939659, 6,
     {-6.735220237445752, 0.006949274683605842, -3.702060118571e-5,
      2.560078201452e-9, 2.555243317839e-11, -3.207663637426e-13}},
    // 11 F, Moon's argument of latitude
    {335779.5141288474, 1739527262.8437717, 6,
     {-13.117809789650071, -0.0007531187848233799, -2.165750777942e-6,
      -2.790392351314e-9, 4.189032191814e-11, 4.474984866301e-13}},
    // 12 l', Sun's mean anomaly
    {1287102.7407441526, 129596581.0230432, 9,
     {-0.5528130642178309, 8.74737173673247e-5, -1.1297037031e-5,
      -4.77258489e-8, 8.8555011e-11, 4.237343e-13, -3.83508e-15, -1.039e-17,
      1.62e-20}},
    // 13 l, Moon's mean anomaly
    {485868.1746582533, 1717915922.8846793, 5,
     {31.501359071894147, 0.05209964130273582, -0.0002536291235258,
      -2.506365935364e-8, 3.452144225877e-11 - 1.755312760154e-12}},
    // 14 W1, Moon's mean longitude of date
    {785939.8092105242, 1732564372.0442266, 6,
     {-5.65504600274714, 0.006901724852838049, -6.073960534117e-5,
      -1.024222633731e-8, 2.235210987108e-10, 7.200592540556e-14}},
};

// The argument polynomials as columns (zero beyond an argument's own
// degree, which leaves its Horner sum unchanged), sixteen lanes.
struct ArgumentColumns {
  double c0[TABLE_LANES] = {}, c1[TABLE_LANES] = {};
  double p[9][TABLE_LANES] = {};
  ArgumentColumns() {
    for (int n = 0; n < N_EVALUATED; ++n) {
      c0[n] = kArguments[n].c0;
      c1[n] = kArguments[n].c1;
      for (int k = 0; k < kArguments[n].np; ++k) p[k][n] = kArguments[n].p[k];
    }
  }
};
const ArgumentColumns kArgumentColumns;

// The arguments of all lanes at t (arc seconds).  Straight-line code,
// vectorised by the compiler in each build.
[[gnu::always_inline]] inline void arguments_body(double t, double* x) {
  const ArgumentColumns& a = kArgumentColumns;
  for (int n = 0; n < TABLE_LANES; ++n) {
    double lin = a.c0[n] + a.c1[n] * t;
    lin -= std::floor(lin / ARCSEC_PER_TURN) * ARCSEC_PER_TURN;
    double p = 0.0;
#pragma GCC unroll 9
    for (int k = 8; k >= 0; --k) p = p * t + a.p[k][n];
    x[n] = lin + t * t * p;
  }
}
void arguments_base(double t, double* x) { arguments_body(t, x); }
ORBITCORE_TARGET_AVX2 void arguments_avx2(double t, double* x) { arguments_body(t, x); }

// Highest multiple of each argument over both series (what the descriptors
// declare and what the terms use), and the lanes of the multiples
// recurrence: the arguments in order of their highest multiple, four to a
// register, so that each register runs as few steps as its arguments need.
struct TableSize {
  int kmax[N_EVALUATED] = {};
  int lane_argument[TABLE_LANES];  // argument index (0-based), -1 for none
  int group_kmax[TABLE_LANES / 4] = {};
  TableSize() {
    const MoonLayout& layout = moon_layout();
    for (int n = 0; n < N_EVALUATED; ++n) kmax[n] = layout.max_multiple[n];
    for (const MoonSeries* s : {&kMoonLonDistSeries, &kMoonLatSeries})
      for (int n = 0; n < N_EVALUATED; ++n)
        kmax[n] = std::max(kmax[n], std::min<int>(s->max_multiple[n], MOON_MAX_MULTIPLE));
    for (int l = 0; l < TABLE_LANES; ++l) lane_argument[l] = l < N_EVALUATED ? l : -1;
    std::stable_sort(lane_argument, lane_argument + N_EVALUATED,
                     [&](int a, int b) { return kmax[a] > kmax[b]; });
    for (int l = 0; l < N_EVALUATED; ++l)
      group_kmax[l / 4] = std::max(group_kmax[l / 4], kmax[lane_argument[l]]);
  }
};

// The multiples by recurrence from s1 = sin x, c1 = cos x (lane order):
// sin 2x = 2 sin x cos x, cos 2x = cos^2 x - sin^2 x, then
// sin (k+1)x = sin x cos kx + cos x sin kx, cos (k+1)x = cos x cos kx - sin x sin kx,
// and sin(-kx) = -sin kx.  z[l] points at k = 0 of lane l's argument.
void multiples_base(const TableSize& size, const double* s1, const double* c1, double* const* z) {
  for (int l = 0; l < N_EVALUATED; ++l) {
    const int kmax = size.kmax[size.lane_argument[l]];
    double sk = s1[l], ck = c1[l];
    for (int k = 1; k <= kmax; ++k) {
      z[l][2 * k] = sk;
      z[l][2 * k + 1] = ck;
      z[l][-2 * k] = -sk;
      z[l][-2 * k + 1] = ck;
      if (k == 1) {
        sk = 2.0 * s1[l] * c1[l];
        ck = c1[l] * c1[l] - s1[l] * s1[l];
      } else {
        const double sn = s1[l] * ck + c1[l] * sk;
        ck = c1[l] * ck - s1[l] * sk;
        sk = sn;
      }
    }
  }
}

// The same recurrence for four lanes per register (a register runs up to
// the highest multiple of its lanes; the table has room for k = -29 .. 29
// of every argument, and entries beyond an argument's own highest multiple
// are never read).
ORBITCORE_TARGET_AVX2 void multiples_avx2(const TableSize& size, const double* s1,
                                          const double* c1, double* const* z) {
  const __m256d sign = _mm256_set1_pd(-0.0);
  for (int g = 0; g < TABLE_LANES / 4; ++g) {
    double* const* zg = z + 4 * g;
    const __m256d vs1 = _mm256_loadu_pd(s1 + 4 * g), vc1 = _mm256_loadu_pd(c1 + 4 * g);
    __m256d sk = vs1, ck = vc1;
    for (int k = 1; k <= size.group_kmax[g]; ++k) {
      for (int neg = 0; neg < 2; ++neg) {
        const __m256d s = neg ? _mm256_xor_pd(sk, sign) : sk;
        const __m256d lo = _mm256_unpacklo_pd(s, ck);  // lanes 0 and 2
        const __m256d hi = _mm256_unpackhi_pd(s, ck);  // lanes 1 and 3
        const int at = neg ? -2 * k : 2 * k;
        _mm_storeu_pd(zg[0] + at, _mm256_castpd256_pd128(lo));
        _mm_storeu_pd(zg[1] + at, _mm256_castpd256_pd128(hi));
        _mm_storeu_pd(zg[2] + at, _mm256_extractf128_pd(lo, 1));
        _mm_storeu_pd(zg[3] + at, _mm256_extractf128_pd(hi, 1));
      }
      if (k == 1) {
        sk = _mm256_mul_pd(_mm256_mul_pd(_mm256_set1_pd(2.0), vs1), vc1);
        ck = _mm256_sub_pd(_mm256_mul_pd(vc1, vc1), _mm256_mul_pd(vs1, vs1));
      } else {
        const __m256d sn = _mm256_add_pd(_mm256_mul_pd(vs1, ck), _mm256_mul_pd(vc1, sk));
        ck = _mm256_sub_pd(_mm256_mul_pd(vc1, ck), _mm256_mul_pd(vs1, sk));
        sk = sn;
      }
    }
  }
}

// sin and cos of the lanes' arguments x (radians) by the branch-free kernel.
[[gnu::always_inline]] inline void lane_sincos_body(const double* x, double* s, double* c) {
  for (int l = 0; l < TABLE_LANES; ++l) sincos_kernel(x[l], &s[l], &c[l]);
}
void lane_sincos_base(const double* x, double* s, double* c) { lane_sincos_body(x, s, c); }
ORBITCORE_TARGET_AVX2 void lane_sincos_avx2(const double* x, double* s, double* c) {
  lane_sincos_body(x, s, c);
}

// sin(k x_n), cos(k x_n) for k = -kmax[n] .. kmax[n] into the table, and
// k = 0 for every argument (padding lanes read sin 0 = 0, cos 0 = 1); sin x
// and cos x by the branch-free kernel (the C library beyond its range).
void build_multiples(const TableSize& size, const double* x_asec, double* sc) {
  const bool avx2 = simd_level() >= SIMD_AVX2;
  double xr[TABLE_LANES], s1[TABLE_LANES], c1[TABLE_LANES];
  double scratch[2 * MOON_MULTIPLES_STRIDE];
  double* z[TABLE_LANES];
  bool in_range = true;
  for (int l = 0; l < TABLE_LANES; ++l) {
    const int n = size.lane_argument[l];
    xr[l] = n < 0 ? 0.0 : x_asec[n] * RAD_PER_ARCSEC;
    in_range = in_range && std::fabs(xr[l]) < SINCOS_KERNEL_LIMIT;
    z[l] = n < 0 ? scratch + MOON_MULTIPLES_STRIDE - 1 : sc + 2 * moon_multiples_entry(n + 1, 0);
  }
  if (!in_range) {
    for (int l = 0; l < TABLE_LANES; ++l) {
      s1[l] = std::sin(xr[l]);
      c1[l] = std::cos(xr[l]);
    }
  } else if (avx2) {
    lane_sincos_avx2(xr, s1, c1);
  } else {
    lane_sincos_base(xr, s1, c1);
  }
  for (int n = 0; n < N_EVALUATED; ++n) {
    double* k0 = sc + 2 * moon_multiples_entry(n + 1, 0);
    k0[0] = 0.0;
    k0[1] = 1.0;
  }
  if (avx2)
    multiples_avx2(size, s1, c1, z);
  else
    multiples_base(size, s1, c1, z);
}

}  // namespace

void moon_arguments(double t, double* x) {
  double lanes[TABLE_LANES];
  if (simd_level() >= SIMD_AVX2)
    arguments_avx2(t, lanes);
  else
    arguments_base(t, lanes);
  for (int n = 0; n < N_EVALUATED; ++n) x[n] = lanes[n];
}

void moon_position(double jd, double* lon, double* lat, double* delta) {
  *lon = *lat = *delta = 0.0;
  if (!std::isfinite(jd)) return;
  const MoonLayout& layout = moon_layout();
  if (!layout.usable) return;
  static const TableSize size;

  const double t = (jd - J2000_JD) / DAYS_PER_JULIAN_CENTURY;
  double x[N_EVALUATED] = {};
  moon_arguments(t, x);
  double sc[MOON_TABLE_DOUBLES];
  build_multiples(size, x, sc);
  moon_build_products(layout, sc);

  const MoonSeries& lds = kMoonLonDistSeries;
  const MoonSeries& bss = kMoonLatSeries;
  double sum_lr[MOON_MAX_STREAMS] = {}, sum_b[MOON_MAX_STREAMS] = {};
  moon_series_sums(layout, layout.lon_dist, sc, (jd - J2000_JD) / lds.time_unit_days, sum_lr);
  moon_series_sums(layout, layout.lat, sc, (jd - J2000_JD) / bss.time_unit_days, sum_b);

  const double w1 = x[13];
  const double l = norm_2pi((w1 + lds.scale * sum_lr[0]) * RAD_PER_ARCSEC);
  const double b = bss.scale * sum_b[0] * RAD_PER_ARCSEC;
  const double r = lds.a0_au * (1.0 + lds.scale * sum_lr[1] * RAD_PER_ARCSEC);
  if (!std::isfinite(l) || !std::isfinite(b) || !std::isfinite(r)) return;
  *lon = l;
  *lat = b;
  *delta = r;
}

}  // namespace orbitcore
