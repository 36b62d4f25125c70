// orbitcore — nutation in longitude and obliquity, IAU 1980 theory.
//
// nutation(jd, &dpsi, &deps): jd in dynamical time (TDT); dpsi, deps in
// radians.  The five fundamental arguments (Delaunay l, l', F, D and Omega,
// cubic polynomials in arc seconds, T in Julian centuries from J2000.0) are
// reduced to whole circles; each term's argument is the sum of its multiples
// k x (k = -4 ... 4) of the five, and the 106 terms are summed in published
// order: dpsi = sum S sin(arg), deps = sum C cos(arg), with S, C the constant
// coefficients or, for the 15 marked rows, x0 + x1 * T / 10 (0.0001").
// One-entry cache keyed by jd.
//
// Sine and cosine of the arguments (|arg| < 9 * 2 pi) come from the
// branch-free kernel (sincos_kernel.h), four or eight terms at a time in
// the vector builds; it stays within 1-2 ulp of the C library, which moves
// dpsi and deps by less than 1e-19 rad.  The multiples table, the arguments
// and the order of the sums are those of the published routine.
//
// Reference: Seidelmann 1982, Celest. Mech. 27, 79; Explanatory Supplement
// to the Astronomical Almanac (1992), sect. 3.222 (as in SOFA/ERFA nut80).
#include "ephem/nutation.h"

#include <cmath>

#include "ephem/mathutil.h"
#include "ephem/nutation_tables.h"
#include "ephem/simd_dispatch.h"
#include "ephem/sincos_kernel.h"

namespace orbitcore {

namespace {

// 0.0001" to radians.
constexpr double RAD_PER_UNIT = 1.0 / 3600.0 * 1e-4 * RAD_PER_DEG;

// Fundamental arguments l, l', F, D, Omega: c0 + c1 T + c2 T^2 + c3 T^3 (").
const double FUNDAMENTAL_ARCSEC[5][4] = {
    {485866.733, 1717915922.633, 31.31, 0.064},     // l, Moon's mean anomaly
    {1287099.804, 129596581.224, -0.577, -0.012},   // l', Sun's mean anomaly
    {335778.877, 1739527263.137, -13.257, 0.011},   // F, argument of latitude
    {1072261.307, 1602961601.328, -6.891, 0.019},   // D, elongation of the Moon
    {450160.28, -6962890.539, 7.455, 0.008},        // Omega, Moon's node
};

// The table as columns, made on first use: the multipliers as doubles and
// each term's coefficients x0 + x1 * T / 10 (x1 = 0 for a constant row).
struct Columns {
  double m[5][NUT80_TERMS];
  double s0[NUT80_TERMS], s1[NUT80_TERMS], c0[NUT80_TERMS], c1[NUT80_TERMS];
  Columns() {
    int next_time_term = 0;
    for (int i = 0; i < NUT80_TERMS; ++i) {
      for (int a = 0; a < 5; ++a) m[a][i] = NUT80_MULTIPLIERS[i][a];
      s0[i] = NUT80_CONSTANT[i][0];
      c0[i] = NUT80_CONSTANT[i][1];
      s1[i] = c1[i] = 0.0;
      if (NUT80_CONSTANT[i][0] == 0 && NUT80_CONSTANT[i][1] == 0 &&
          next_time_term < NUT80_TIME_TERM_COUNT) {
        const std::int32_t* r = NUT80_TIME_TERMS[next_time_term++];
        s0[i] = r[0];
        s1[i] = r[1];
        c0[i] = r[2];
        c1[i] = r[3];
      }
    }
  }
};

// The terms' values S sin(arg) and C cos(arg) for the fundamental
// arguments x[5] (radians) at t.  Straight-line code, vectorised by the
// compiler in each build.
[[gnu::always_inline]] inline void term_values_body(const Columns& col, const double* x, double t,
                                                    double* __restrict psi,
                                                    double* __restrict eps) {
  for (int i = 0; i < NUT80_TERMS; ++i) {
    const double arg = col.m[0][i] * x[0] + col.m[1][i] * x[1] + col.m[2][i] * x[2] +
                       col.m[3][i] * x[3] + col.m[4][i] * x[4];
    double s, c;
    sincos_kernel(arg, &s, &c);
    psi[i] = (col.s0[i] + col.s1[i] * t / 10.0) * s;
    eps[i] = (col.c0[i] + col.c1[i] * t / 10.0) * c;
  }
}

void term_values_base(const Columns& col, const double* x, double t, double* psi, double* eps) {
  term_values_body(col, x, t, psi, eps);
}
ORBITCORE_TARGET_AVX2 void term_values_avx2(const Columns& col, const double* x, double t,
                                            double* psi, double* eps) {
  term_values_body(col, x, t, psi, eps);
}
ORBITCORE_TARGET_AVX512 void term_values_avx512(const Columns& col, const double* x, double t,
                                                double* psi, double* eps) {
  term_values_body(col, x, t, psi, eps);
}

struct NutationCache {
  bool valid = false;
  double jd = 0.0;
  double dpsi = 0.0;
  double deps = 0.0;
};
NutationCache cache;

}  // namespace

void nutation(double jd_tdt, double* dpsi_rad, double* deps_rad) {
  if (cache.valid && cache.jd == jd_tdt) {
    *dpsi_rad = cache.dpsi;
    *deps_rad = cache.deps;
    return;
  }
  static const Columns col;
  const double t = centuries_j2000(jd_tdt);

  double x[5];
  for (int a = 0; a < 5; ++a) {
    const double* c = FUNDAMENTAL_ARCSEC[a];
    x[a] = (c[0] + t * (c[1] + t * (c[2] + t * c[3]))) / ARCSEC_PER_TURN;
    x[a] = (x[a] - std::floor(x[a])) * TWO_PI;
  }

  double psi[NUT80_TERMS], eps[NUT80_TERMS];
  switch (simd_level()) {
    case SIMD_AVX512: term_values_avx512(col, x, t, psi, eps); break;
    case SIMD_AVX2: term_values_avx2(col, x, t, psi, eps); break;
    default: term_values_base(col, x, t, psi, eps); break;
  }
  double dpsi = 0.0, deps = 0.0;
  for (int i = 0; i < NUT80_TERMS; ++i) {
    dpsi += psi[i];
    deps += eps[i];
  }

  cache.jd = jd_tdt;
  cache.dpsi = dpsi * RAD_PER_UNIT;
  cache.deps = deps * RAD_PER_UNIT;
  cache.valid = true;
  *dpsi_rad = cache.dpsi;
  *deps_rad = cache.deps;
}

}  // namespace orbitcore
