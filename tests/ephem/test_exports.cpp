// The six C exports of liborbitcore.so as callers use them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "ephem/orbitcore.h"
#include "tests/ephem/test_support.h"

using orbitcore_test::angle_diff;
using orbitcore_test::ARCSEC_PER_RAD;
using orbitcore_test::dms_to_rad;
using orbitcore_test::PI;
using orbitcore_test::RAD_PER_DEG;

namespace {

struct Place {
  double ra, dec, delta, r, elong, illum, mag, diam, lon, lat;
};

Place calc(double jd, int body, int light = 1, int aberr = 1, int nut = 1, int phys = 1) {
  Place p;
  _calcplanet(jd, body, &p.ra, &p.dec, &p.delta, &p.r, &p.elong, &p.illum,
              &p.mag, &p.diam, &p.lon, &p.lat, light, aberr, nut, phys);
  return p;
}

const double* slots(const Place& p) { return &p.ra; }

constexpr double JD_1992_OCT_13 = 2448908.5;  // TD

TEST(PlanetInfo, ItemsMapToCalcplanetSlots) {
  // item -> position in the argument list of _calcplanet
  const int slot_of_item[10] = {3, 0, 1, 2, 4, 5, 6, 7, 8, 9};
  for (int body : {1000, 1002, 1011, 1020, 1025, 1009}) {
    const Place p = calc(2455000.5, body);
    for (int item = 0; item <= 9; ++item)
      EXPECT_EQ(_planetinfo(2455000.5, body, item), slots(p)[slot_of_item[item]])
          << "body " << body << " item " << item;
  }
}

TEST(PlanetInfo, BodyCodes) {
  const double jd = 2457000.5;
  for (int item = 0; item <= 9; ++item) {
    EXPECT_EQ(_planetinfo(jd, 1000, item), _planetinfo(jd, 1010, item)) << item;
    EXPECT_EQ(_planetinfo(jd, 999, item), _planetinfo(jd, 1011, item)) << item;
    EXPECT_EQ(_planetinfo(jd, 1012, item), 0.0) << item;
    EXPECT_EQ(_planetinfo(jd, 1019, item), 0.0) << item;
    EXPECT_EQ(_planetinfo(jd, 1030, item), 0.0) << item;  // no precise Sun
    EXPECT_EQ(_planetinfo(jd, 1031, item), 0.0) << item;  // no precise Moon
    EXPECT_EQ(_planetinfo(jd, 998, item), 0.0) << item;
    EXPECT_EQ(_planetinfo(jd, -2147483647 - 1, item), 0.0) << item;
    EXPECT_EQ(_planetinfo(jd, 2147483647, item), 0.0) << item;
  }
  // Complete and reduced Earth give nearly the same Sun, but not the same.
  const double l_reduced = _planetinfo(jd, 1000, 8);
  const double l_complete = _planetinfo(jd, 1020, 8);
  EXPECT_NE(l_reduced, l_complete);
  EXPECT_LT(std::fabs(angle_diff(l_reduced, l_complete)), 1e-6);
  // Items outside 0 ... 9; trailing integers are ignored.
  EXPECT_EQ(_planetinfo(jd, 1020, 10), 0.0);
  EXPECT_EQ(_planetinfo(jd, 1020, -1), 0.0);
  EXPECT_EQ(_planetinfo(jd, 1020, 8, 1, 7, 9), l_complete);
}

TEST(PlanetInfo, EarthGivesHeliocentricCoordinatesOnly) {
  const double jd = 2457000.5;
  const double l = _planetinfo(jd, 1003, 1);
  const double b = _planetinfo(jd, 1003, 2);
  const double r = _planetinfo(jd, 1003, 3);
  // The geometric Sun (all switches off) is the Earth turned by 180 deg.
  const Place sun = calc(jd, 1000, 0, 0, 0, 0);
  EXPECT_GE(l, 0.0);
  EXPECT_LT(l, 2 * PI);
  EXPECT_NEAR(angle_diff(l + PI, sun.lon), 0.0, 1e-15);
  EXPECT_EQ(b, -sun.lat);
  EXPECT_EQ(r, sun.delta);
  for (int item : {0, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(_planetinfo(jd, 1003, item), 0.0) << item;
  // 1023 takes the complete Earth series.
  EXPECT_NE(_planetinfo(jd, 1023, 1), l);
  EXPECT_NEAR(angle_diff(_planetinfo(jd, 1023, 1), l), 0.0, 1e-6);
}

TEST(ApparentSun, MeeusExample25b) {
  // 1992 October 13.0 TD: apparent longitude 199 54' 21.818" (complete
  // VSOP87, FK5, nutation, aberration), latitude +0.72", R = 0.99760775 AU.
  constexpr double TOL_ARCSEC = 1.0;
  constexpr double TOL_AU = 1e-6;
  const double lon = _planetinfo(JD_1992_OCT_13, 1020, 8);
  const double lat = _planetinfo(JD_1992_OCT_13, 1020, 9);
  const double dist = _planetinfo(JD_1992_OCT_13, 1020, 3);
  const double want = dms_to_rad(199, 54, 21.818);
  std::printf("  apparent Sun: want 199 54' 21.818\", got %.3f\" past 199 54'\n",
              (lon - dms_to_rad(199, 54, 0)) * ARCSEC_PER_RAD);
  EXPECT_NEAR(angle_diff(lon, want) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC);
  EXPECT_NEAR(lat * ARCSEC_PER_RAD, 0.72, TOL_ARCSEC);
  EXPECT_NEAR(dist, 0.99760775, TOL_AU);
  // The reduced Earth series gives the same to well under an arc second.
  EXPECT_NEAR(angle_diff(_planetinfo(JD_1992_OCT_13, 1000, 8), want) * ARCSEC_PER_RAD,
              0.0, TOL_ARCSEC);
}

TEST(ApparentSun, PhysicalData) {
  const Place p = calc(2460000.5, 1020);
  EXPECT_EQ(p.illum, 100.0);
  EXPECT_EQ(p.elong, 0.0);
  EXPECT_EQ(p.r, 0.0);
  EXPECT_NEAR(p.diam, 1919.26 / p.delta, 1e-9);
  EXPECT_NEAR(p.mag, -26.8, 0.1);
  // Equatorial and ecliptic places belong together (true obliquity).
  const double eps = _eclipticobliquity(2460000.5, 1);
  const double sin_dec = std::sin(p.lat) * std::cos(eps) +
                         std::cos(p.lat) * std::sin(eps) * std::sin(p.lon);
  EXPECT_NEAR(p.dec, std::asin(sin_dec), 1e-14);
}

TEST(ApparentPlanets, MeeusExample33aVenus) {
  // Venus, 1992 December 20.0 TD (complete VSOP87, light time iterated):
  // apparent lambda = 313.08102 deg, beta = -2.08474 deg, Delta = 0.910947 AU.
  // The reduced series and one light-time step stay within 2".
  constexpr double TOL_ARCSEC = 2.0;
  const Place p = calc(2448976.5, 1002);
  EXPECT_NEAR(angle_diff(p.lon, 313.08102 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
      << "lambda got " << p.lon / RAD_PER_DEG;
  EXPECT_NEAR((p.lat + 2.08474 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
      << "beta got " << p.lat / RAD_PER_DEG;
  EXPECT_NEAR(p.delta, 0.910947, 2e-6);
  // Evening sky: east of the Sun, positive elongation of about 45 deg,
  // illuminated fraction 64.7 % (Meeus 41.a: k = 0.647).
  EXPECT_GT(p.elong, 0.0);
  EXPECT_NEAR(p.illum, 64.7, 0.2);
  EXPECT_NEAR(p.mag, -4.2, 0.2);
}

TEST(ApparentPlanets, ElongationSignAndSize) {
  // Elongation is negative exactly when the body is west of the Sun, and its
  // size is the Sun-body separation (to the aberration/nutation level).
  for (int body = 1001; body <= 1009; ++body) {
    if (body == 1003) continue;
    for (double jd = 2440000.5; jd < 2470000; jd += 2345.6) {
      const Place p = calc(jd, body);
      const Place sun = calc(jd, 1000);
      const double sep = std::acos(std::sin(p.lat) * std::sin(sun.lat) +
                                   std::cos(p.lat) * std::cos(sun.lat) * std::cos(p.lon - sun.lon));
      EXPECT_NEAR(std::fabs(p.elong), sep, 5e-4) << "body " << body << " JD " << jd;
      if (std::fabs(std::sin(p.lon - sun.lon)) > 1e-3) {
        EXPECT_EQ(p.elong < 0, std::sin(p.lon - sun.lon) < 0) << "body " << body << " JD " << jd;
      }
      EXPECT_GT(p.r, 0.3) << body;
      EXPECT_GE(p.illum, 0.0);
      EXPECT_LE(p.illum, 100.0);
      EXPECT_GT(p.diam, 0.0);
    }
  }
}

TEST(Moon, ResultsAndAberrationRule) {
  const double jd = 2459000.5;
  const Place with_ab = calc(jd, 1011, 1, 1, 0, 0);
  const Place no_ab = calc(jd, 1011, 1, 0, 0, 0);
  const Place none = calc(jd, 1011, 0, 0, 0, 0);
  EXPECT_EQ(calc(jd, 1011).r, 0.0);
  EXPECT_EQ(_planetinfo(jd, 1011, 0), 0.0);
  // Aberration on: the series' place without an added aberration.  Off with
  // light time on: the ecliptic aberration is subtracted.
  double lon = with_ab.lon, lat = with_ab.lat;
  const double sun_geometric = calc(jd, 1000, 0, 0, 0, 0).lon;
  _aberrat_aux(jd, &lon, &lat, sun_geometric, 0);
  EXPECT_NEAR(angle_diff(no_ab.lon, 2 * with_ab.lon - lon), 0.0, 1e-12);
  EXPECT_NEAR(no_ab.lat, 2 * with_ab.lat - lat, 1e-12);
  EXPECT_NE(no_ab.lon, with_ab.lon);
  // Both off: the series at jd itself (no light time, no aberration).
  EXPECT_TRUE(std::isfinite(none.lon));
  EXPECT_GE(calc(jd, 1011).illum, 0.0);
  EXPECT_LE(calc(jd, 1011).illum, 100.0);
}

TEST(Moon, MeeusExample47a) {
  // 1992 April 12.0 TD: apparent lambda = 133.167265 deg, beta = -3.229126 deg,
  // Delta = 368409.7 km, alpha = 134.688470 deg, delta = 13.768368 deg
  // (Meeus' own truncated series; the library's series plus one light-time
  // step and nutation agree to 2" and 5 km).
  constexpr double TOL_ARCSEC = 3.0;
  constexpr double TOL_KM = 10.0;
  constexpr double KM_PER_AU = 149597870.691;
  const double jd = 2448724.5;
  const Place p = calc(jd, 1011);
  EXPECT_NEAR(angle_diff(p.lon, 133.167265 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
      << "lambda got " << p.lon / RAD_PER_DEG;
  EXPECT_NEAR((p.lat + 3.229126 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
      << "beta got " << p.lat / RAD_PER_DEG;
  EXPECT_NEAR(p.delta * KM_PER_AU, 368409.7, TOL_KM);
  EXPECT_NEAR(angle_diff(p.ra, 134.688470 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC);
  EXPECT_NEAR((p.dec - 13.768368 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC);
  // Meeus 48.a (same date, the same low-accuracy phase formula):
  // illuminated fraction 0.6801.
  EXPECT_NEAR(p.illum, 68.01, 0.01);
  EXPECT_NEAR(std::fabs(p.elong) / RAD_PER_DEG, 180.0 - 68.88, 0.01);
}

TEST(Moon, FullAndNewMoonPhysicalData) {
  // Full moon 2024 April 23, 23:49 UT; new moon 2024 April 8, 18:21 UT
  // (TT = UT + 69 s).
  const Place full = calc(2460424.4924 + 69.0 / 86400, 1011);
  EXPECT_NEAR(full.illum, 100.0, 0.1);
  EXPECT_NEAR(std::fabs(full.elong) / RAD_PER_DEG, 180.0, 1.0);
  EXPECT_NEAR(full.mag, -12.7, 0.2);
  EXPECT_NEAR(full.diam, 1790.0, 60.0);  // 29.8', near apogee then
  const Place fresh = calc(2460409.2604 + 69.0 / 86400, 1011);
  EXPECT_LT(fresh.illum, 0.1);
  EXPECT_LT(std::fabs(fresh.elong) / RAD_PER_DEG, 1.0);
}

TEST(OtherExports, DeltaTSiderealTimeObliquityAberration) {
  // 2000 January: Delta T = 63.87 s.
  EXPECT_NEAR((_jddtojdb(2451545.0) - 2451545.0) * 86400.0, 63.874, 0.001);
  EXPECT_NEAR(_localsiderealtime(2451545.0, 0.0, 0), 18.697374558, 1e-9);
  EXPECT_NEAR(_localsiderealtime(2451545.0, 15.0, 0), 19.697374558, 1e-9);
  EXPECT_NEAR(_eclipticobliquity(2451545.0, 0), 23.439291111 * RAD_PER_DEG, 1e-15);
  EXPECT_NE(_eclipticobliquity(2451545.0, 1), _eclipticobliquity(2451545.0, 0));
  EXPECT_EQ(_eclipticobliquity(2451545.0, 0), 23.439291111 * RAD_PER_DEG);
  double a = 1.0, b = 0.2;
  _aberrat_aux(2451545.0, &a, &b, 1.0, 1);
  EXPECT_NEAR(a, 1.0, 1e-4);
  EXPECT_NE(a, 1.0);
  _aberrat_aux(2451545.0, nullptr, nullptr, 1.0, 0);  // ignored, no crash
  double lon = -1.0;
  _calcplanet(2451545.0, 1020, nullptr, nullptr, nullptr, nullptr, nullptr,
              nullptr, nullptr, nullptr, &lon, nullptr, 1, 1, 1, 1);
  EXPECT_EQ(lon, _planetinfo(2451545.0, 1020, 8));
}

// One date range for every export, and one rule outside it: zeros, as for
// an invalid body or item (_aberrat_aux: no correction).  At the ends of
// the range the values are those of a real sky: the Sun about 1 AU away,
// the Moon 356 000 ... 407 000 km, the obliquity between 22 and 24.5
// degrees, Delta T positive and below 12 days, sidereal time in [0, 24).
TEST(DateRange, EveryExportServesItsRangeAndGivesZerosOutside) {
  constexpr double SUN_AU_MIN = 0.98, SUN_AU_MAX = 1.02;
  constexpr double MOON_AU_MIN = 356000.0 / 149597870.7, MOON_AU_MAX = 407000.0 / 149597870.7;
  constexpr double OBLIQUITY_MIN_RAD = 22.0 * RAD_PER_DEG, OBLIQUITY_MAX_RAD = 24.5 * RAD_PER_DEG;
  constexpr double DELTA_T_MAX_DAYS = 12.0;
  constexpr double ABERRATION_MAX_RAD = 25.0 / ARCSEC_PER_RAD;  // 20.5" and the ecliptic factor
  for (double jd : {ORBITCORE_FIRST_JD, ORBITCORE_LAST_JD, 2451545.0}) {
    SCOPED_TRACE(jd);
    EXPECT_GE(_planetinfo(jd, 1020, 3), SUN_AU_MIN);
    EXPECT_LE(_planetinfo(jd, 1020, 3), SUN_AU_MAX);
    EXPECT_GE(_planetinfo(jd, 1011, 3), MOON_AU_MIN);
    EXPECT_LE(_planetinfo(jd, 1011, 3), MOON_AU_MAX);
    const Place mars = calc(jd, 1004);
    for (int k = 0; k < 10; ++k) EXPECT_TRUE(std::isfinite(slots(mars)[k])) << k;
    EXPECT_GT(mars.delta, 0.3);
    EXPECT_GE(_eclipticobliquity(jd, 1), OBLIQUITY_MIN_RAD);
    EXPECT_LE(_eclipticobliquity(jd, 1), OBLIQUITY_MAX_RAD);
    const double dt = _jddtojdb(jd) - jd;
    EXPECT_GT(dt, 0.0);
    EXPECT_LT(dt, DELTA_T_MAX_DAYS);
    const double st = _localsiderealtime(jd, 0.0, 1);
    EXPECT_GE(st, 0.0);
    EXPECT_LT(st, 24.0);
    double a = 1.0, b = 0.3;
    _aberrat_aux(jd, &a, &b, 2.0, 0);
    EXPECT_GT(std::fabs(a - 1.0), 0.0);
    EXPECT_LT(std::fabs(a - 1.0), ABERRATION_MAX_RAD);
  }
  const double outside[] = {std::nextafter(ORBITCORE_FIRST_JD, -1e300),
                            std::nextafter(ORBITCORE_LAST_JD, 1e300), -1e7, 2e7, 1e15, NAN,
                            INFINITY, -INFINITY};
  for (double jd : outside) {
    SCOPED_TRACE(jd);
    for (int body : {1000, 1003, 1004, 1009, 1011, 1020, 1029})
      for (int item = 0; item <= 9; ++item) EXPECT_EQ(_planetinfo(jd, body, item), 0.0) << body;
    Place p;
    std::fill(&p.ra, &p.ra + 10, -1.0);
    p = calc(jd, 1011);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(slots(p)[k], 0.0) << k;
    EXPECT_EQ(_jddtojdb(jd), 0.0);
    EXPECT_EQ(_localsiderealtime(jd, 15.0, 1), 0.0);
    EXPECT_EQ(_eclipticobliquity(jd, 0), 0.0);
    double a = 1.0, b = 0.3;
    _aberrat_aux(jd, &a, &b, 2.0, 1);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, 0.3);
  }
  // Pluto has the narrower range of its theory, within which it stays
  // where Pluto can be (perihelion 29.7 AU, aphelion 49.3 AU, and a little
  // slack for the theory far from 2000); there the others go on.
  constexpr double PLUTO_SUN_AU_MIN = 28.0, PLUTO_SUN_AU_MAX = 49.5;
  constexpr double PLUTO_SAMPLE_DAYS = 997.3;
  for (double jd = PLUTO_FIRST_JD; jd <= PLUTO_LAST_JD; jd += PLUTO_SAMPLE_DAYS) {
    ASSERT_GE(_planetinfo(jd, 1009, 0), PLUTO_SUN_AU_MIN) << jd;
    ASSERT_LE(_planetinfo(jd, 1009, 0), PLUTO_SUN_AU_MAX) << jd;
  }
  for (double jd : {PLUTO_FIRST_JD, PLUTO_LAST_JD}) {
    EXPECT_GE(_planetinfo(jd, 1009, 0), PLUTO_SUN_AU_MIN) << jd;
    EXPECT_LE(_planetinfo(jd, 1009, 0), PLUTO_SUN_AU_MAX) << jd;
    EXPECT_GE(_planetinfo(jd, 1029, 0), PLUTO_SUN_AU_MIN) << jd;
  }
  for (double jd : {std::nextafter(PLUTO_FIRST_JD, -1e300), std::nextafter(PLUTO_LAST_JD, 1e300)}) {
    const Place pluto = calc(jd, 1009);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(slots(pluto)[k], 0.0) << jd;
    EXPECT_EQ(_planetinfo(jd, 1029, 8), 0.0) << jd;
    EXPECT_GT(_planetinfo(jd, 1008, 3), 28.0) << "Neptune at " << jd;
  }
}

// _localsiderealtime stays in [0, 24) h where the equation of the
// equinoxes carries the mean time across 0 h, as at JD 2525886.0730220964
// and 140.83 deg west (mean time 0.00006 h, apparent -0.0001 h before).
TEST(OtherExports, ApparentSiderealTimeStaysInItsRange) {
  const double st = _localsiderealtime(2525886.0730220964, -140.83233607971684, 1);
  EXPECT_GE(st, 0.0);
  EXPECT_LT(st, 24.0);
  EXPECT_NEAR(st, 24.0 - 9.66e-5, 1e-7);
  // Every longitude of one instant: apparent minus mean is the equation of
  // the equinoxes of that instant, taken across the wrap: at most about
  // 1.2 s near 2000, up to 1.5 s at the ends of the range, where the terms
  // of the nutation that grow with time have grown.
  constexpr double EQEQ_MAX_S = 1.5;
  std::mt19937 rng(20260412);
  std::uniform_real_distribution<double> day(ORBITCORE_FIRST_JD, ORBITCORE_LAST_JD);
  for (int i = 0; i < 2000; ++i) {
    const double jd = day(rng);
    const double eqeq = _localsiderealtime(jd, 0.0, 1) - _localsiderealtime(jd, 0.0, 0);
    const double e = std::remainder(eqeq, 24.0);
    for (double lon = -180.0; lon <= 180.0; lon += 0.5) {
      const double app = _localsiderealtime(jd, lon, 1);
      ASSERT_GE(app, 0.0) << "JD " << jd << " lon " << lon;
      ASSERT_LT(app, 24.0) << "JD " << jd << " lon " << lon;
      EXPECT_NEAR(std::remainder(app - _localsiderealtime(jd, lon, 0) - e, 24.0), 0.0, 1e-9)
          << "JD " << jd << " lon " << lon;
    }
    EXPECT_LT(std::fabs(e) * 3600.0, EQEQ_MAX_S) << "JD " << jd;
  }
}

TEST(Robustness, AbsurdDatesNeverCrashOrGiveInfinity) {
  const double dates[] = {NAN, INFINITY, -INFINITY, 1e12, -1e12, 0.0, -10000000.0, 1e300};
  for (double jd : dates) {
    for (int body = 998; body <= 1032; ++body) {
      for (int item = 0; item <= 9; ++item) {
        const double v = _planetinfo(jd, body, item);
        EXPECT_FALSE(std::isinf(v)) << "JD " << jd << " body " << body << " item " << item;
      }
    }
    EXPECT_FALSE(std::isinf(_jddtojdb(jd)) && std::isfinite(jd)) << jd;
    const double st = _localsiderealtime(jd, 10.0, 1);
    EXPECT_FALSE(std::isinf(st)) << jd;
    EXPECT_FALSE(std::isinf(_eclipticobliquity(jd, 1))) << jd;
    double a = 1.0, b = 0.5;
    _aberrat_aux(jd, &a, &b, 2.0, 0);
    EXPECT_FALSE(std::isinf(a) || std::isinf(b)) << jd;
    _aberrat_aux(jd, &a, &b, 2.0, 1);
    EXPECT_FALSE(std::isinf(a) || std::isinf(b)) << jd;
  }
}

TEST(Robustness, EveryBodyFiniteOverFiveMillennia) {
  for (double jd = 625000.5; jd < 2816000; jd += 36524.3) {
    for (int body : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009,
                     1010, 1011, 1020, 1021, 1029}) {
      const Place p = calc(jd, body);
      for (int k = 0; k < 10; ++k)
        EXPECT_TRUE(std::isfinite(slots(p)[k])) << "JD " << jd << " body " << body << " slot " << k;
      if (body != 1003) {
        EXPECT_GE(p.lon, 0.0);
        EXPECT_LT(p.lon, 2 * PI);
        EXPECT_GE(p.ra, 0.0);
        EXPECT_LT(p.ra, 2 * PI);
      }
    }
  }
}

// The library's caches (Earth per series, heliocentric positions, Moon,
// nutation, obliquity, aberration constants, sidereal time) are invisible:
// every export gives the same bits whether its caches hit or miss, in any
// order of dates, bodies and switches.  Each request is first made at a date
// no other request has used (every cache misses), then repeated at once (the
// one-entry caches hit), then again in a shuffled order with repeats.
TEST(Caching, EveryExportSameBitsOnHitAndMiss) {
  using Result = std::vector<double>;
  using Request = std::function<Result(double jd)>;
  std::vector<Request> requests;
  const int switch_sets[][4] = {{1, 1, 1, 1}, {0, 0, 0, 0}, {1, 0, 1, 0}, {0, 1, 0, 1},
                                {1, 0, 0, 1}, {0, 0, 1, 1}};
  for (int body : {1020, 1000, 1011, 999, 1005, 1009, 1003, 1029}) {
    for (const auto& sw : switch_sets)
      requests.push_back([body, sw](double jd) {
        const Place p = calc(jd, body, sw[0], sw[1], sw[2], sw[3]);
        return Result(slots(p), slots(p) + 10);
      });
    requests.push_back([body](double jd) {
      Result r;
      for (int item = 0; item <= 9; ++item) r.push_back(_planetinfo(jd, body, item, 1, 0, 0));
      return r;
    });
  }
  requests.push_back([](double jd) { return Result{_jddtojdb(jd)}; });
  for (int apparent : {0, 1})
    requests.push_back([apparent](double jd) {
      return Result{_localsiderealtime(jd, 13.4, apparent), _eclipticobliquity(jd, apparent)};
    });
  for (int mode : {0, 1})
    requests.push_back([mode](double jd) {
      double a = 2.5, b = -0.3;
      _aberrat_aux(jd, &a, &b, 4.1, mode);
      return Result{a, b};
    });

  // Dates no other test uses, a few hours to centuries apart.
  std::vector<double> dates;
  for (int k = 0; k < 7; ++k) dates.push_back(2437123.3517 + 4711.2093 * k * k - 0.137 * k);

  struct Call {
    std::size_t request, date;
  };
  std::vector<Call> calls;
  for (std::size_t d = 0; d < dates.size(); ++d)
    for (std::size_t r = 0; r < requests.size(); ++r) calls.push_back({r, d});
  std::vector<Result> first(calls.size()), repeated(calls.size());
  // Misses: each date is new when its first request comes (dates outer,
  // requests inner: the first request of a date misses everything; later
  // requests of the same date share what the date has in common).
  for (std::size_t i = 0; i < calls.size(); ++i) {
    first[i] = requests[calls[i].request](dates[calls[i].date]);
    repeated[i] = requests[calls[i].request](dates[calls[i].date]);
  }
  std::mt19937 rng(20261208);
  std::vector<std::size_t> order(calls.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (int pass = 0; pass < 3; ++pass) {
    std::shuffle(order.begin(), order.end(), rng);
    for (std::size_t i : order) {
      const Result got = requests[calls[i].request](dates[calls[i].date]);
      ASSERT_EQ(got.size(), first[i].size());
      for (std::size_t k = 0; k < got.size(); ++k) {
        ASSERT_TRUE(std::isfinite(first[i][k]))
            << "request " << calls[i].request << " JD " << dates[calls[i].date] << " value " << k;
        EXPECT_EQ(std::memcmp(&got[k], &first[i][k], sizeof(double)), 0)
            << "shuffled pass " << pass << ", request " << calls[i].request << " JD "
            << dates[calls[i].date] << " value " << k << ": first " << first[i][k]
            << " now " << got[k];
        EXPECT_EQ(std::memcmp(&repeated[i][k], &first[i][k], sizeof(double)), 0)
            << "repeat of request " << calls[i].request << " JD " << dates[calls[i].date]
            << " value " << k << ": first " << first[i][k] << " repeated " << repeated[i][k];
      }
    }
  }
}

}  // namespace
