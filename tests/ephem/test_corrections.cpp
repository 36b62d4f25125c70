// Nutation, obliquity, sidereal time and aberration of orbitcore against
// ERFA (test-only reference) and published examples (Meeus, Astronomical
// Algorithms, 2nd ed.).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "ephem/nutation_tables.h"
#include "ephem/orbitcore_internal.h"
#include "tests/ephem/test_support.h"
#include "tests/reference_tables.h"

#include <erfa.h>
#include <erfam.h>

using namespace orbitcore;
using orbitcore_test::ARCSEC_PER_RAD;
using orbitcore_test::dms_to_rad;

namespace {

TEST(Nutation, Iau1980CheckValue) {
  // ERFA/SOFA test value of the IAU 1980 nutation at TT 2453736.5.
  constexpr double TOL_RAD = 1e-12;
  double dpsi, deps;
  nutation(2453736.5, &dpsi, &deps);
  EXPECT_NEAR(dpsi, -0.9643658353226563966e-5, TOL_RAD) << "dpsi got " << dpsi;
  EXPECT_NEAR(deps, 0.4060051006879713322e-4, TOL_RAD) << "deps got " << deps;
}

TEST(Nutation, MeeusExample22a) {
  // 1987 April 10, 0h TD: dpsi = -3.788", deps = +9.443" (printed to 1 mas;
  // Meeus sums a shortened table, so allow 2 mas).
  constexpr double TOL_ARCSEC = 0.002;
  double dpsi, deps;
  nutation(2446895.5, &dpsi, &deps);
  EXPECT_NEAR(dpsi * ARCSEC_PER_RAD, -3.788, TOL_ARCSEC);
  EXPECT_NEAR(deps * ARCSEC_PER_RAD, 9.443, TOL_ARCSEC);
}

// The published routine as it stands: the multiples k x of the five
// arguments, each term's argument their sum, the C library's sine and
// cosine, the sums in table order.
void NutationWithLibm(double jd, double* dpsi, double* deps) {
  static const double ARGS[5][4] = {{485866.733, 1717915922.633, 31.31, 0.064},
                                    {1287099.804, 129596581.224, -0.577, -0.012},
                                    {335778.877, 1739527263.137, -13.257, 0.011},
                                    {1072261.307, 1602961601.328, -6.891, 0.019},
                                    {450160.28, -6962890.539, 7.455, 0.008}};
  const double t = (jd - 2451545.0) / 36525.0;
  double x[5];
  for (int a = 0; a < 5; ++a) {
    const double* c = ARGS[a];
    x[a] = (c[0] + t * (c[1] + t * (c[2] + t * c[3]))) / 1296000.0;
    x[a] = (x[a] - std::floor(x[a])) * 6.28318530717958647693;
  }
  double sp = 0.0, se = 0.0;
  int next = 0;
  for (int i = 0; i < NUT80_TERMS; ++i) {
    double arg = 0.0;
    for (int a = 0; a < 5; ++a) arg += NUT80_MULTIPLIERS[i][a] * x[a];
    double s = NUT80_CONSTANT[i][0], c = NUT80_CONSTANT[i][1];
    if (s == 0 && c == 0) {
      const std::int32_t* r = NUT80_TIME_TERMS[next++];
      s = r[0] + r[1] * t / 10.0;
      c = r[2] + r[3] * t / 10.0;
    }
    sp += s * std::sin(arg);
    se += c * std::cos(arg);
  }
  *dpsi = sp / 3600.0 * 1e-4 * 0.017453292519943295;
  *deps = se / 3600.0 * 1e-4 * 0.017453292519943295;
}

// The library takes its sines and cosines from the branch-free kernel, not
// the C library: the difference per call stays within 1e-15 rad (measured:
// below 1e-19) from -4000 to +8000.
TEST(Nutation, WithinRoundingOfTheLibmSum) {
  constexpr double TOL_RAD = 1e-15;
  double worst = 0.0;
  for (double jd = 260423.5; jd <= 4642999.5; jd += 377.77) {
    double dpsi, deps, want_psi, want_eps;
    nutation(jd, &dpsi, &deps);
    NutationWithLibm(jd, &want_psi, &want_eps);
    ASSERT_TRUE(std::isfinite(dpsi) && std::isfinite(deps)) << "JD " << jd;
    EXPECT_NEAR(dpsi, want_psi, TOL_RAD) << "JD " << jd << " dpsi want " << want_psi;
    EXPECT_NEAR(deps, want_eps, TOL_RAD) << "JD " << jd << " deps want " << want_eps;
    worst = std::fmax(worst, std::fmax(std::fabs(dpsi - want_psi), std::fabs(deps - want_eps)));
  }
  std::printf("[ nutation ] largest difference from the C library's sum: %.3g rad\n", worst);
}

TEST(Nutation, AgreesWithErfaOverTwoMillennia) {
  constexpr double TOL_RAD = 1e-12;
  for (double jd = 2086302.5; jd <= 2816787.5; jd += 7777.7) {
    double dpsi, deps, want_psi, want_eps;
    nutation(jd, &dpsi, &deps);
    eraNut80(jd, 0.0, &want_psi, &want_eps);
    EXPECT_NEAR(dpsi, want_psi, TOL_RAD) << "JD " << jd;
    EXPECT_NEAR(deps, want_eps, TOL_RAD) << "JD " << jd;
  }
}

TEST(SiderealTime, MeanAgreesWithErfaGmst82) {
  // Meeus' 12.4 is the IAU 1982 GMST expression in degrees: agreement to
  // 1e-8 h (36 us) over 1900-2100.
  constexpr double TOL_HOURS = 1e-8;
  for (double jd = 2415020.5; jd <= 2488069.5; jd += 1111.37) {
    const double want = eraGmst82(jd, 0.0) * 12.0 / orbitcore_test::PI;
    EXPECT_NEAR(sidereal_time(jd, 0.0, 0), want, TOL_HOURS) << "JD " << jd;
  }
}

TEST(Obliquity, LaskarAgreesWithErfaObl80FromMinus3000To3000) {
  // Far from 2000 the two expressions part (see reference_tables.h); a
  // wrong time unit is off by 100" in 2024 already.
  for (const auto& row : obliquity_reference::ROWS) {
    const double jd = obliquity_reference::JulianDateOf(row.year);
    const double got = obliquity(jd, 0) * ARCSEC_PER_RAD, want = eraObl80(jd, 0.0) * ARCSEC_PER_RAD;
    EXPECT_NEAR(got, want, row.tol_arcsec) << "year " << row.year << ": want " << want << "\" got "
                                           << got << "\"";
  }
}

TEST(Obliquity, J2000AndMeeusExample22a) {
  EXPECT_NEAR(obliquity(2451545.0, 0), 23.439291111 * orbitcore_test::RAD_PER_DEG, 1e-15);
  // 1987 April 10, 0h TD: eps0 = 23 26' 27.407", eps = 23 26' 36.850".
  constexpr double TOL_ARCSEC = 0.001;
  EXPECT_NEAR(obliquity(2446895.5, 0) * ARCSEC_PER_RAD,
              dms_to_rad(23, 26, 27.407) * ARCSEC_PER_RAD, TOL_ARCSEC);
  EXPECT_NEAR(obliquity(2446895.5, 1) * ARCSEC_PER_RAD,
              dms_to_rad(23, 26, 36.850) * ARCSEC_PER_RAD, TOL_ARCSEC + 0.002);
}

TEST(Obliquity, MeanAndTrueKeepSeparateCaches) {
  const double jd = 2456789.25;
  const double eps_true = obliquity(jd, 1);
  const double eps_mean = obliquity(jd, 0);
  double dpsi, deps;
  nutation(jd, &dpsi, &deps);
  EXPECT_NEAR(eps_true - eps_mean, deps, 1e-16);
  double s1, c1, s0, c0;
  const double e1 = obliquity_sincos(jd, 1, &s1, &c1);
  const double e0 = obliquity_sincos(jd, 0, &s0, &c0);
  EXPECT_EQ(e1, eps_true);
  EXPECT_EQ(e0, eps_mean);
  EXPECT_EQ(obliquity_sincos(jd, 1, &s1, &c1), eps_true);  // entry kept
  EXPECT_DOUBLE_EQ(s1, std::sin(eps_true));
  EXPECT_DOUBLE_EQ(c0, std::cos(eps_mean));
}

TEST(SiderealTime, J2000AndLongitude) {
  EXPECT_NEAR(sidereal_time(2451545.0, 0.0, 0), 18.697374558, 1e-9);
  EXPECT_NEAR(sidereal_time(2451545.0, 15.0, 0), 19.697374558, 1e-9);
  // +90 deg wraps past 24 h.
  EXPECT_NEAR(sidereal_time(2451545.0, 90.0, 0), 18.697374558 + 6.0 - 24.0, 1e-9);
}

TEST(SiderealTime, MeeusExamples12aAnd12b) {
  // 12.a: 1987 April 10, 0h UT: mean 13h10m46.3668s, apparent 13h10m46.1351s.
  constexpr double TOL_HOURS = 0.0005 / 3600.0;  // 0.5 ms
  EXPECT_NEAR(sidereal_time(2446895.5, 0.0, 0), 13.0 + 10.0 / 60 + 46.3668 / 3600, TOL_HOURS);
  EXPECT_NEAR(sidereal_time(2446895.5, 0.0, 1), 13.0 + 10.0 / 60 + 46.1351 / 3600, TOL_HOURS);
  // 12.b: 1987 April 10, 19h21m00s UT: mean 128.7378734 deg.
  const double jd = 2446895.5 + (19.0 + 21.0 / 60.0) / 24.0;
  EXPECT_NEAR(sidereal_time(jd, 0.0, 0) * 15.0, 128.7378734, 1e-6);
}

TEST(Aberration, BodyAtTheSunsLongitude) {
  // lambda = sun: dlambda = -kappa (1 - e cos(pi - lambda)) / cos(beta).
  const double jd = 2448908.5;
  const double t = (jd - 2451545.0) / 36525.0;
  const double e = 0.016708617 - 0.000042037 * t - 0.0000001236 * t * t;
  const double peri = (102.937348 + 1.7195366 * t + 0.00045688 * t * t -
                       0.000000018 * t * t * t) * orbitcore_test::RAD_PER_DEG;
  const double sun = 3.4889, beta = 0.3;
  double lam = sun, b = beta;
  aberration(jd, &lam, &b, sun, 0);
  const double want = -ABERRATION_KAPPA_RAD * (1.0 - e * std::cos(peri - sun)) / std::cos(beta);
  EXPECT_NEAR(lam - sun, want, 1e-15);
  EXPECT_NEAR(b - beta, ABERRATION_KAPPA_RAD * std::sin(beta) * e * std::sin(peri - sun), 1e-15);
}

TEST(Aberration, EquatorialModeMatchesEclipticModeAtEveryDate) {
  // Mode 1 on the equatorial place equals mode 0 on the ecliptic place, to
  // second order in kappa (3e-8 rad = 6 mas at declinations up to 70 deg).
  // The dates follow each other (also back and forth across 2000), so an
  // equatorial call that kept the previous date's obliquity or perihelion
  // (1e-7 rad after a millennium) is caught.
  constexpr double TOL_RAD = 3e-8;
  for (double jd : {2461000.5, 2086302.5, 2816787.5, 1720000.5, 2451545.0, 2488069.5}) {
    double se, ce;
    obliquity_sincos(jd, 1, &se, &ce);
    const double sun = 1.234 + (jd - 2451545.0) / 365.25;
    for (double lam0 = 0.1; lam0 < 6.2; lam0 += 0.7) {
      for (double beta0 : {-0.8, -0.2, 0.0, 0.4, 0.8}) {
        auto to_eq = [&](double l, double b, double* a, double* d) {
          *d = std::asin(std::sin(b) * ce + std::cos(b) * se * std::sin(l));
          double ra = std::atan2(std::sin(l) * ce - std::tan(b) * se, std::cos(l));
          *a = ra < 0 ? ra + 2 * orbitcore_test::PI : ra;
        };
        double a_eq, d_eq;
        to_eq(lam0, beta0, &a_eq, &d_eq);
        aberration(jd, &a_eq, &d_eq, sun, 1);
        double l1 = lam0, b1 = beta0, a_ecl, d_ecl;
        aberration(jd, &l1, &b1, sun, 0);
        to_eq(l1, b1, &a_ecl, &d_ecl);
        EXPECT_NEAR(orbitcore_test::angle_diff(a_eq, a_ecl) * std::cos(d_eq), 0.0, TOL_RAD)
            << "JD " << jd << " lambda " << lam0 << " beta " << beta0;
        EXPECT_NEAR(d_eq, d_ecl, TOL_RAD) << "JD " << jd << " lambda " << lam0 << " beta " << beta0;
      }
    }
  }
}

TEST(Aberration, EclipticModeAgreesWithErfaAb) {
  // ERFA's eraAb with the Earth's barycentric velocity of eraEpv00 against
  // the classical annual aberration (constant kappa, eccentricity terms):
  // they part by the planets' pull on the Earth and the Sun's motion about
  // the barycentre, 0.02" at most. Dates near J2000, where the ecliptic of
  // date is J2000's within 0.0004" of the 20" shift.
  constexpr double TOL_ARCSEC = 0.03;
  const double eps0 = eraObl80(2451545.0, 0.0);
  auto ecl_to_eq = [&](double l, double b, double p[3]) {
    const double x = std::cos(b) * std::cos(l), y = std::cos(b) * std::sin(l), z = std::sin(b);
    p[0] = x;
    p[1] = y * std::cos(eps0) - z * std::sin(eps0);
    p[2] = y * std::sin(eps0) + z * std::cos(eps0);
  };
  for (double jd : {2451535.5, 2451545.0, 2451563.25}) {
    double pvh[2][3], pvb[2][3];
    ASSERT_EQ(eraEpv00(jd, 0.0, pvh, pvb), 0);
    // The Sun's geometric longitude: the Earth's heliocentric place turned round.
    const double ye = -pvh[0][1] * std::cos(eps0) - pvh[0][2] * std::sin(eps0);
    const double sun = std::atan2(ye, -pvh[0][0]);
    double v[3], v2 = 0;
    for (int i = 0; i < 3; ++i) {
      v[i] = pvb[1][i] / ERFA_DC;
      v2 += v[i] * v[i];
    }
    const double s_au = std::sqrt(pvh[0][0] * pvh[0][0] + pvh[0][1] * pvh[0][1] + pvh[0][2] * pvh[0][2]);
    for (double lam0 = 0.2; lam0 < 6.2; lam0 += 0.9) {
      for (double beta0 : {-1.0, -0.3, 0.0, 0.5, 1.2}) {
        double pnat[3], ppr[3];
        ecl_to_eq(lam0, beta0, pnat);
        eraAb(pnat, v, s_au, std::sqrt(1 - v2), ppr);
        // Back to ecliptic coordinates.
        const double ye2 = ppr[1] * std::cos(eps0) + ppr[2] * std::sin(eps0);
        const double ze2 = -ppr[1] * std::sin(eps0) + ppr[2] * std::cos(eps0);
        const double want_l = std::atan2(ye2, ppr[0]), want_b = std::asin(ze2);
        double lam = lam0, b = beta0;
        aberration(jd, &lam, &b, sun, 0);
        EXPECT_NEAR(orbitcore_test::angle_diff(lam, want_l) * std::cos(b) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
            << "JD " << jd << " lambda " << lam0 << " beta " << beta0;
        EXPECT_NEAR((b - want_b) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
            << "JD " << jd << " lambda " << lam0 << " beta " << beta0;
      }
    }
  }
}

TEST(Aberration, UnknownModeLeavesValues) {
  double a = 1.0, b = 0.5;
  aberration(2451545.0, &a, &b, 2.0, 7);
  EXPECT_EQ(a, 1.0);
  EXPECT_EQ(b, 0.5);
}

}  // namespace
