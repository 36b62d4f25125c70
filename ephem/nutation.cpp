// orbitcore — nutation in longitude and obliquity, IAU 1980 theory.
//
// nutation(jd, &dpsi, &deps): jd in dynamical time (TDT); dpsi, deps in
// radians.  The five fundamental arguments (Delaunay l, l', F, D and Omega,
// cubic polynomials in arc seconds, T in Julian centuries from J2000.0) are
// reduced to whole circles, their multiples -4 ... 4 formed once per date, and
// the 106 terms summed: dpsi = sum S sin(arg), deps = sum C cos(arg), with
// S, C the constant coefficients or, for the 15 marked rows,
// x0 + x1 * T / 10 (0.0001").  One-entry cache keyed by jd.
//
// Reference: Seidelmann 1982, Celest. Mech. 27, 79; Explanatory Supplement
// to the Astronomical Almanac (1992), sect. 3.222 (as in SOFA/ERFA nut80).
#include "nutation.h"

#include <cmath>

#include "nutation_tables.h"

namespace orbitcore {

namespace {

constexpr double ARCSEC_PER_CIRCLE = 1296000.0;
constexpr double TWO_PI_NUT = 6.28318530717958647693;
// 0.0001" to radians.
constexpr double RAD_PER_UNIT = 1.0 / 3600.0 * 1e-4 * 0.017453292519943295;

// Fundamental arguments l, l', F, D, Omega: c0 + c1 T + c2 T^2 + c3 T^3 (").
const double FUNDAMENTAL_ARCSEC[5][4] = {
    {485866.733, 1717915922.633, 31.31, 0.064},     // l, Moon's mean anomaly
    {1287099.804, 129596581.224, -0.577, -0.012},   // l', Sun's mean anomaly
    {335778.877, 1739527263.137, -13.257, 0.011},   // F, argument of latitude
    {1072261.307, 1602961601.328, -6.891, 0.019},   // D, elongation of the Moon
    {450160.28, -6962890.539, 7.455, 0.008},        // Omega, Moon's node
};

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
  const double t = (jd_tdt - 2451545.0) / 36525.0;

  // multiple[a][k + 4] = k * argument a, k = -4 ... 4, radians.
  double multiple[5][9];
  for (int a = 0; a < 5; ++a) {
    const double* c = FUNDAMENTAL_ARCSEC[a];
    double x = (c[0] + t * (c[1] + t * (c[2] + t * c[3]))) / ARCSEC_PER_CIRCLE;
    x = (x - std::floor(x)) * TWO_PI_NUT;
    for (int k = -4; k <= 4; ++k) multiple[a][k + 4] = k * x;
  }

  double dpsi = 0.0, deps = 0.0;
  int next_time_term = 0;
  for (int i = 0; i < NUT80_TERMS; ++i) {
    const std::int16_t* m = NUT80_MULTIPLIERS[i];
    const double arg = multiple[0][m[0] + 4] + multiple[1][m[1] + 4] +
                       multiple[2][m[2] + 4] + multiple[3][m[3] + 4] +
                       multiple[4][m[4] + 4];
    double s_coef = NUT80_CONSTANT[i][0];
    double c_coef = NUT80_CONSTANT[i][1];
    if (NUT80_CONSTANT[i][0] == 0 && NUT80_CONSTANT[i][1] == 0 &&
        next_time_term < NUT80_TIME_TERM_COUNT) {
      const std::int32_t* r = NUT80_TIME_TERMS[next_time_term++];
      s_coef = r[0] + r[1] * t / 10.0;
      c_coef = r[2] + r[3] * t / 10.0;
    }
    dpsi += s_coef * std::sin(arg);
    deps += c_coef * std::cos(arg);
  }

  cache.jd = jd_tdt;
  cache.dpsi = dpsi * RAD_PER_UNIT;
  cache.deps = deps * RAD_PER_UNIT;
  cache.valid = true;
  *dpsi_rad = cache.dpsi;
  *deps_rad = cache.deps;
}

}  // namespace orbitcore
