// orbitcore — heliocentric Pluto.
//
// pluto_heliocentric(jd, result): heliocentric longitude L (rad, [0, 2pi)),
// latitude B (rad) and radius vector R (AU) of Pluto referred to the ecliptic
// and equinox of J2000, and the daily differences dL, dB, dR as rates
// (position at jd + 1 minus position at jd; dL taken across 0/2pi by the short
// way).  jd in TDT.  Returns 0, or 1 when Kepler's equation did not converge
// in 100 steps or the elements are not an ellipse (non-finite or absurd
// dates), results then 0.  One-entry cache.
//
// Method: mean elements as fifth-degree polynomials in t (Julian millennia
// from J2000), Kepler's equation by Newton steps (|delta| <= 1e-11 rad), the
// position in the orbit turned to the ecliptic, plus a 26-term perturbation
// series in the mean longitudes of Jupiter, Saturn, Uranus, Neptune and Pluto
// (T in Julian centuries) with quadratic coefficients in t.  Sums: longitude
// and latitude in 0.1", radius in units of 4.84813681109536e-6 AU.
#include <cmath>
#include <cstdint>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {

// Element polynomials in t, highest power first (t^5 ... t^0).
const double SEMI_MAJOR_AXIS_AU[6] = {0.000289, -0.001204, -0.011164,
                                      -0.006889, 0.043852, 39.544625};
const double INCLINATION_DEG[6] = {0.00043, 0.002862, 0.005871,
                                   0.00276, -0.002756, 17.139804};
const double NODE_DEG[6] = {-0.001108, -0.007646, -0.017331,
                            -0.015068, -0.079643, 110.308843};
const double PERIHELION_ARG_DEG[6] = {-0.000018, 0.00194, 0.004109,
                                      -0.021246, -0.044277, 113.794573};
const double ECCENTRICITY[6] = {0.00001, 0.000011, -0.000115,
                                -0.000111, 0.000651, 0.249084};
const double MEAN_ANOMALY_DEG[6] = {-0.007562, -0.061952, -0.106116,
                                    -1.149059, 1452.063327, 374.813282};

// Mean longitudes (rad) of Jupiter, Saturn, Uranus, Neptune, Pluto:
// c0 + c1 T + c2 T^2 + c3 T^3, T in Julian centuries.
const double MEAN_LONGITUDE_RAD[5][4] = {
    {0.59954649739, 52.96909650946, -0.0000014837133, 0.00000000007482},
    {0.8740167565, 21.3299095438, 0.0000036659741, -0.0000000003333},
    {5.48129387159, 7.47815985673, -0.0000000848828, 0.0000000001045},
    {5.31188628676, 3.81330356378, 0.0000000166346, -0.0000000000434},
    {4.16934609, 2.533920996, -0.0001975706, 0.000000594686},
};

constexpr int PERTURBATION_ROWS = 26;
constexpr int MAX_MULTIPLE = 7;

// Multiples m1 ... m5 of the mean longitudes (sixth byte unused), and per
// output (longitude, latitude, radius) the cosine polynomial C and the sine
// polynomial S, each stored c2 c1 c0 (highest power of t first).
struct PerturbationRow {
  std::int8_t multiple[6];
  std::int16_t coef[18];  // lonC lonS latC latS radC radS
};
const PerturbationRow PERTURBATIONS[PERTURBATION_ROWS] = {
    {{ 0,  0,  0,  0,  0, 0}, {325, 715, 406, 0, 0, 0, -30, -70, -16, 0, 0, 0, -1533, -128, -11459, 0, 0, 0}},  // 0
    {{ 0,  0, -3,  4,  3, 0}, {-726, -2327, -1242, 715, 423, -1048, 153, 301, -16, -55, -1, 111, -1917, -3775, 197, 1383, 2928, 435}},  // 1
    {{ 0,  0, -4,  5,  4, 0}, {-202, 590, 1054, -444, -1268, 79, 60, 40, -120, 38, 201, 80, -369, 205, 1186, -289, -1391, -143}},  // 2
    {{ 0,  0,  0,  1, -1, 0}, {44, -150, 140, -16, -130, -398, -8, -20, 91, -5, 13, 59, 135, 507, 902, 65, -69, 110}},  // 3
    {{ 0,  0, -2,  1,  5, 0}, {-34, 54, 145, 82, 241, 62, 12, 21, -6, -10, -44, -28, -74, -129, 78, 32, 233, 165}},  // 4
    {{ 0,  0,  2,  0, -5, 0}, {-377, -1228, -588, 160, -250, -313, 78, 25, -216, 107, 523, 367, -215, 835, 618, -800, -2316, -787}},  // 5
    {{ 0,  0,  0,  0,  1, 0}, {-371, -785, -322, -919, -1993, -221, -82, -217, -66, 467, 1204, 370, 1740, 4366, -1442, -744, -1063, -2304}},  // 6
    {{ 0,  0,  2,  0, -7, 0}, {142, 32, -604, 199, 1076, 941, -134, -276, 45, -63, -463, -356, 317, 2053, 2020, -282, -193, 1220}},  // 7
    {{ 0,  0,  0,  1,  0, 0}, {-60, -577, -582, 150, 296, -575, 46, 234, 131, -13, 32, 251, -261, -1992, -1283, 262, 16, -2270}},  // 8
    {{ 0,  0, -1,  1,  3, 0}, {-83, -482, -63, -68, 162, 798, 19, 150, 114, 25, -1, -196, -292, -1759, -621, -239, 400, 2532}},  // 9
    {{ 0,  0, -2,  2,  1, 0}, {300, 2957, 258, 428, -690, -5147, -286, 554, 3786, 246, 2190, 319, -268, -5428, -5800, -988, -1795, 6806}},  // 10
    {{ 0,  0,  1,  0, -1, 0}, {1562, 1625, -4258, -1021, -4956, -1376, -894, -3893, -1040, -1045, -970, 3097, -402, 4298, 7810, 2832, 8538, -1630}},  // 11
    {{ 0,  0,  1, -4,  1, 0}, {-260, -785, -185, 51, -237, -408, 28, 372, 358, -217, -513, 7, 310, 189, -725, 337, 1544, 802}},  // 12
    {{ 0,  0,  0,  1,  1, 0}, {10, 42, 46, -9, -41, 14, -7, -33, -6, -6, -24, -35, 8, 40, -51, 14, 56, 52}},  // 13
    {{ 0,  0, -2,  0,  3, 0}, {1210, -259, -16372, -851, -9691, -8229, 580, 8002, 8184, 1054, 579, -12993, -884, -5748, 238, -421, 3354, 12827}},  // 14
    {{ 0,  0,  1,  0,  0, 0}, {-4229, -9215, 12810, 6633, 18767, -4094, 5941, 16055, -4871, 3242, 6640, -10726, -3187, -9671, -654, -4833, -12977, 8115}},  // 15
    {{ 0,  0,  0, -4,  3, 0}, {1222, 6410, -3646, -910, 3674, 9531, 753, -3270, -8034, 1029, 5336, -3396, -949, 1291, 8179, -810, -5909, 107}},  // 16
    {{ 0,  0,  0, -4,  2, 0}, {6, 6, -13, -4, -15, 11, 3, 15, -3, 5, 8, -8, -2, -6, 19, -10, -16, 18}},  // 17
    {{ 0,  1,  0,  0, -3, 0}, {2, 2, 16, -2, -3, 3, -2, -4, -4, -2, -2, 11, 1, 2, 0, 3, 5, -39}},  // 18
    {{ 0,  1,  0,  0, -2, 0}, {-1, -2, -34, 1, 1, -34, 0, 1, 15, 1, 2, -6, 1, 0, -93, 0, -1, 90}},  // 19
    {{ 0,  1,  0,  0, -1, 0}, {1, 2, -1, 0, 0, 136, 0, 1, 6, -1, -2, 4, -1, 0, 519, 1, 2, 1}},  // 20
    {{ 0,  1,  0,  0,  0, 0}, {0, 0, -13, -1, -1, 13, -1, -2, 14, 0, 0, 5, 2, 3, 96, 0, 1, 96}},  // 21
    {{ 1,  0,  0,  0,  0, 0}, {0, 0, -23, -2, 0, 24, 0, 0, 30, 0, 0, 13, 3, 2, 175, -1, 0, 174}},  // 22
    {{-1,  0,  0,  0,  3, 0}, {0, 0, 34, 0, 1, -3, 1, 1, -8, 0, 0, -18, -1, -1, 2, 0, 0, 64}},  // 23
    {{ 1,  0,  0,  0, -2, 0}, {0, -1, -64, 2, 0, -63, 0, 0, 28, 0, -1, -11, 4, 0, -165, 0, 1, 161}},  // 24
    {{ 1,  0,  0,  0, -1, 0}, {3, 2, 0, -1, 0, 249, 0, 0, 9, 0, 0, 7, -5, -1, 941, -2, -2, -1}},  // 25
};

constexpr int KEPLER_MAX_STEPS = 100;
constexpr double KEPLER_TOLERANCE_RAD = 1e-11;
constexpr double PERTURBATION_UNIT_RAD = 0.1 * RAD_PER_ARCSEC;  // 0.1"
constexpr double PERTURBATION_UNIT_AU = RAD_PER_ARCSEC;

inline double horner5(const double c[6], double t) {
  return ((((c[0] * t + c[1]) * t + c[2]) * t + c[3]) * t + c[4]) * t + c[5];
}

// One evaluation at jd: pos = L, B, R.  Returns 0 or 1 (no convergence).
int pluto_position(double jd, double pos[3]) {
  const double t = (jd - J2000_JD) / DAYS_PER_JULIAN_MILLENNIUM;
  const double a = horner5(SEMI_MAJOR_AXIS_AU, t);
  const double inc = horner5(INCLINATION_DEG, t) * RAD_PER_DEG;
  const double node = horner5(NODE_DEG, t) * RAD_PER_DEG;
  const double peri = horner5(PERIHELION_ARG_DEG, t) * RAD_PER_DEG;
  const double e = horner5(ECCENTRICITY, t);
  const double m = norm_2pi(norm_360(horner5(MEAN_ANOMALY_DEG, t)) * RAD_PER_DEG);
  // Far outside the theory's range (or for a non-finite date) the element
  // polynomials leave the elliptic orbits: no solution.
  if (!(e >= 0.0 && e < 1.0 && a > 0.0 && std::isfinite(m)))
    return HELIO_NO_CONVERGENCE;

  // Kepler's equation E - e sin E = M, Newton steps.
  double ecc_anomaly = m;
  bool converged = false;
  for (int step = 0; step < KEPLER_MAX_STEPS; ++step) {
    const double d = ecc_anomaly - e * std::sin(ecc_anomaly) - m;
    ecc_anomaly -= d / (1.0 - e * std::cos(ecc_anomaly));
    if (std::fabs(d) <= KEPLER_TOLERANCE_RAD) {
      converged = true;
      break;
    }
  }
  if (!converged) return HELIO_NO_CONVERGENCE;

  const double nu = norm_2pi(
      2.0 * std::atan(std::sqrt((1.0 + e) / (1.0 - e)) * std::tan(ecc_anomaly / 2.0)));
  const double u = nu + peri;
  const double orbital_lon =
      norm_2pi(safe_atan2(std::cos(inc) * std::sin(u), std::cos(u)));
  double lon = orbital_lon + node;
  const double lat0 = safe_asin(std::sin(u) * std::sin(inc));
  const double r = a * (1.0 - e * e) / (1.0 + e * std::cos(nu));

  // Sines and cosines of k * mean longitude, k = 1 ... 7.
  const double tc = centuries_j2000(jd);
  double sn[5][MAX_MULTIPLE + 1], cs[5][MAX_MULTIPLE + 1];
  for (int n = 0; n < 5; ++n) {
    const double* c = MEAN_LONGITUDE_RAD[n];
    const double x = c[0] + tc * (c[1] + tc * (c[2] + tc * c[3]));
    sn[n][0] = 0.0;
    cs[n][0] = 1.0;
    sn[n][1] = std::sin(x);
    cs[n][1] = std::cos(x);
    for (int k = 2; k <= MAX_MULTIPLE; ++k) {
      sn[n][k] = sn[n][1] * cs[n][k - 1] + cs[n][1] * sn[n][k - 1];
      cs[n][k] = cs[n][1] * cs[n][k - 1] - sn[n][1] * sn[n][k - 1];
    }
  }

  double sum[3] = {0.0, 0.0, 0.0};
  for (const PerturbationRow& row : PERTURBATIONS) {
    double s_theta = 0.0, c_theta = 1.0;
    for (int n = 0; n < 5; ++n) {
      const int mult = row.multiple[n];
      if (mult == 0) continue;
      const int k = mult < 0 ? -mult : mult;
      const double sk = mult < 0 ? -sn[n][k] : sn[n][k];
      const double ck = cs[n][k];
      const double s_new = s_theta * ck + c_theta * sk;
      c_theta = c_theta * ck - s_theta * sk;
      s_theta = s_new;
    }
    for (int out = 0; out < 3; ++out) {
      const std::int16_t* c = row.coef + 6 * out;
      const double cpoly = (c[0] * t + c[1]) * t + c[2];
      const double spoly = (c[3] * t + c[4]) * t + c[5];
      sum[out] += cpoly * c_theta + spoly * s_theta;
    }
  }

  lon += PERTURBATION_UNIT_RAD * sum[0];
  pos[0] = norm_2pi(lon);
  pos[1] = lat0 + PERTURBATION_UNIT_RAD * sum[1];
  pos[2] = r + PERTURBATION_UNIT_AU * sum[2];
  return HELIO_OK;
}

struct PlutoCache {
  bool valid = false;
  double jd = 0.0;
  int code = 0;
  double result[HELIO_RESULTS] = {0, 0, 0, 0, 0, 0};
};
PlutoCache pluto_cache;

}  // namespace

int pluto_heliocentric(double jd, double result[HELIO_RESULTS]) {
  if (!(pluto_cache.valid && pluto_cache.jd == jd)) {
    double next[3], now[3];
    double res[HELIO_RESULTS] = {0, 0, 0, 0, 0, 0};
    int code = pluto_position(jd + 1.0, next);
    if (code == HELIO_OK) code = pluto_position(jd, now);
    if (code == HELIO_OK) {
      double dl = next[0] - now[0];
      if (dl < -PI) dl += TWO_PI;
      if (dl > PI) dl -= TWO_PI;
      res[0] = now[0];
      res[1] = now[1];
      res[2] = now[2];
      res[3] = dl;
      res[4] = next[1] - now[1];
      res[5] = next[2] - now[2];
    }
    pluto_cache.jd = jd;
    pluto_cache.code = code;
    for (int k = 0; k < HELIO_RESULTS; ++k) pluto_cache.result[k] = res[k];
    pluto_cache.valid = true;
  }
  for (int k = 0; k < HELIO_RESULTS; ++k) result[k] = pluto_cache.result[k];
  return pluto_cache.code;
}

}  // namespace orbitcore
