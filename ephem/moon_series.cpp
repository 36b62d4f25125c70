// orbitcore — the lunar series: arguments, multiples tables, series sums.
//
// moon_position(jd): one evaluation.  moon_geocentric(jd, use_light_time):
// the same, optionally repeated once at jd - tau for the light time
// tau = 0.0057755183 * Delta days (one step, no iteration).
//
// jd is a Julian date in dynamical time (TDT).  Results: longitude (radians,
// [0, 2pi)) and latitude (radians) of the mean ecliptic and equinox of date,
// distance (AU).
//
// Method: the 14 arguments (planetary mean longitudes 1..8, D, F, l', l, W1,
// arc seconds, T in Julian centuries from J2000) are evaluated once; for each
// series a table of sin(k x) and cos(k x), k = 1 .. highest multiple, is
// built by the multiple-angle recurrences, so that no trigonometric function
// is called per term.  Each term is C(tau) cos(theta) + S(tau) sin(theta),
// theta composed from the table by the angle-addition formulas.
//   lambda = W1 + 0.0001 * SumL                   (arc seconds)
//   beta   = 0.0001 * SumB                        (arc seconds)
//   Delta  = a0 * (1 + 0.0001 * SumR / rho)       (AU, rho = arcsec per radian)
//
// Reference: ELP 2000-82B, M. Chapront-Touze, J. Chapront, A&A 124, 50 (1983)
// and A&A 190, 342 (1988); the tables are built by tools/gen_moon_series.py.
#include "moon_series.h"

#include <cmath>
#include <cstdint>

#include "moon_position.h"
#include "moon_series_tables.h"

namespace orbitcore {
namespace {

constexpr double JD_J2000 = 2451545.0;
constexpr double DAYS_PER_CENTURY = 36525.0;
constexpr double RAD_PER_ASEC = 4.84813681109536e-6;
constexpr double ASEC_PER_TURN = 1296000.0;
constexpr double TWO_PI = 6.283185307179586476925287;
constexpr double LIGHT_DAYS_PER_AU = 0.0057755183;
constexpr int N_ARGUMENTS = 18;
constexpr int N_EVALUATED = 14;   // arguments 15..18 are never referenced
constexpr int MAX_MULTIPLE = 29;

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

// Arguments 1..14 (index 0..13) in arc seconds for T centuries.
void moon_arguments(double t, double* x) {
  for (int n = 0; n < N_EVALUATED; ++n) {
    const ArgumentPolynomial& a = kArguments[n];
    double lin = a.c0 + a.c1 * t;
    lin -= std::floor(lin / ASEC_PER_TURN) * ASEC_PER_TURN;
    double p = 0.0;
    for (int k = a.np - 1; k >= 0; --k) p = p * t + a.p[k];
    x[n] = lin + t * t * p;
  }
}

// sin(k x_n), cos(k x_n) for k = -max_multiple[n] .. max_multiple[n], stored
// at index k + MAX_MULTIPLE, so that a negative multiple needs no branch.
struct MultiplesTable {
  double s[N_EVALUATED][2 * MAX_MULTIPLE + 1];
  double c[N_EVALUATED][2 * MAX_MULTIPLE + 1];
};

void build_multiples(const MoonSeries& series, const double* x_asec,
                     MultiplesTable* tab) {
  for (int n = 0; n < N_EVALUATED; ++n) {
    const int kmax = series.max_multiple[n];
    if (kmax == 0) continue;
    const double xr = x_asec[n] * RAD_PER_ASEC;
    const double s1 = std::sin(xr), c1 = std::cos(xr);
    double* s = tab->s[n] + MAX_MULTIPLE;
    double* c = tab->c[n] + MAX_MULTIPLE;
    s[1] = s1;
    c[1] = c1;
    if (kmax >= 2) {
      s[2] = 2.0 * s1 * c1;
      c[2] = c1 * c1 - s1 * s1;
    }
    for (int k = 2; k < kmax; ++k) {
      s[k + 1] = s1 * c[k] + c1 * s[k];
      c[k + 1] = c1 * c[k] - s1 * s[k];
    }
    for (int k = 1; k <= kmax; ++k) {
      s[-k] = -s[k];
      c[-k] = c[k];
    }
  }
}

// C(tau) and S(tau) of a periodic term from its d + 1 (c, s) pairs, highest
// power first (most terms have degree 0).
inline void coefficient_pair(const std::int32_t* c, int d, double tau,
                             double* cc, double* ss) {
  double x = c[0], y = c[1];
  for (int k = 1; k <= d; ++k) {
    x = x * tau + c[2 * k];
    y = y * tau + c[2 * k + 1];
  }
  *cc = x;
  *ss = y;
}

// Sums of one series at tau: sum1 over coef, sum2 over coef_dist (only with
// HAS_DIST), in units of the series' scale.
template <bool HAS_DIST>
void sum_series(const MoonSeries& series, const MultiplesTable& tab,
                double tau, double* sum1, double* sum2) {
  const std::int16_t* ts = series.terms;
  const std::int32_t* c1 = series.coef;
  const std::int32_t* c2 = series.coef_dist;
  double a1 = 0.0, a2 = 0.0;
  for (;;) {
    const int n = *ts++;
    if (n < 0) break;
    if (n == 0) {  // polynomial term
      const int d = *ts++;
      double p1 = 0.0, p2 = 0.0;
      for (int k = 0; k <= d; ++k) {
        p1 = p1 * tau + c1[k];
        if constexpr (HAS_DIST) p2 = p2 * tau + c2[k];
      }
      c1 += d + 1;
      a1 += p1;
      if constexpr (HAS_DIST) {
        c2 += d + 1;
        a2 += p2;
      }
      continue;
    }
    // theta = sum of m x_a, composed by the angle-addition formulas.
    double st = tab.s[ts[1] - 1][MAX_MULTIPLE + ts[0]];
    double ct = tab.c[ts[1] - 1][MAX_MULTIPLE + ts[0]];
    ts += 2;
    for (int f = 1; f < n; ++f, ts += 2) {
      const double sk = tab.s[ts[1] - 1][MAX_MULTIPLE + ts[0]];
      const double ck = tab.c[ts[1] - 1][MAX_MULTIPLE + ts[0]];
      const double s = st * ck + ct * sk;
      ct = ct * ck - st * sk;
      st = s;
    }
    const int d = *ts++;
    double cc, ss;
    coefficient_pair(c1, d, tau, &cc, &ss);
    c1 += 2 * (d + 1);
    a1 += cc * ct + ss * st;
    if constexpr (HAS_DIST) {
      coefficient_pair(c2, d, tau, &cc, &ss);
      c2 += 2 * (d + 1);
      a2 += cc * ct + ss * st;
    }
  }
  *sum1 = a1;
  if constexpr (HAS_DIST) *sum2 = a2;
}

}  // namespace

void moon_position(double jd, double* lon, double* lat, double* delta) {
  *lon = *lat = *delta = 0.0;
  if (!std::isfinite(jd)) return;
  const double t = (jd - JD_J2000) / DAYS_PER_CENTURY;
  double x[N_ARGUMENTS] = {};
  moon_arguments(t, x);
  MultiplesTable tab;

  const MoonSeries& ld = kMoonLonDistSeries;
  build_multiples(ld, x, &tab);
  double sum_l = 0.0, sum_r = 0.0;
  sum_series<true>(ld, tab, (jd - JD_J2000) / ld.time_unit_days, &sum_l, &sum_r);

  const MoonSeries& bs = kMoonLatSeries;
  build_multiples(bs, x, &tab);
  double sum_b = 0.0;
  sum_series<false>(bs, tab, (jd - JD_J2000) / bs.time_unit_days, &sum_b, nullptr);

  const double w1 = x[13];
  double l = (w1 + ld.scale * sum_l) * RAD_PER_ASEC;
  l -= std::floor(l / TWO_PI) * TWO_PI;
  if (l >= TWO_PI) l = 0.0;  // rounding of tiny negative values
  const double b = bs.scale * sum_b * RAD_PER_ASEC;
  const double r = ld.a0_au * (1.0 + ld.scale * sum_r * RAD_PER_ASEC);
  if (!std::isfinite(l) || !std::isfinite(b) || !std::isfinite(r)) return;
  *lon = l;
  *lat = b;
  *delta = r;
}

void moon_geocentric(double jd, int use_light_time, double* lon, double* lat,
                     double* delta) {
  moon_position(jd, lon, lat, delta);
  if (use_light_time && *delta > 0.0) {
    moon_position(jd - LIGHT_DAYS_PER_AU * *delta, lon, lat, delta);
  }
}

}  // namespace orbitcore
