// _clunaris: the Moon the program receives as its "ELP2000" source --
// apparent longitude of date (light time and nutation, no aberration),
// latitude, distance and the matching rectangular coordinates.
#include <gtest/gtest.h>

#include <cmath>

#include "lunaris/elp82b.h"
#include "lunaris/lunaris.h"

#include <erfa.h>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double RAD_TO_DEG = 180.0 / PI;
constexpr double RAD_TO_ARCSEC = 3600.0 * RAD_TO_DEG;
constexpr double KM_PER_AU = 149597870.691;
constexpr double LIGHT_KM_PER_S = 299792.458;

struct Moon {
  double x, y, z, lon, lat, dist;
};

Moon clunaris(double jd) {
  Moon m;
  _clunaris(jd, &m.x, &m.y, &m.z, &m.lon, &m.lat, &m.dist);
  return m;
}

// Meeus, Astronomical Algorithms (2nd ed.), example 47.a, 1992 April 12.0 TD:
// apparent lambda = 133.162655 + 0.004610 (nutation) = 133.167265 deg,
// beta -3.229126 deg, Delta 368409.7 km, from his 60-term abbreviation
// (about 10" in longitude, 4" in latitude).  Meeus has no light time
// (0.7" here), which is well inside the abbreviation's error.
TEST(Clunaris, MatchesMeeusExample47aApparentPosition) {
  constexpr double MEEUS_LON_TOLERANCE_ARCSEC = 10.0;
  constexpr double MEEUS_LAT_TOLERANCE_ARCSEC = 4.0;
  constexpr double MEEUS_DIST_TOLERANCE_KM = 10.0;
  const Moon m = clunaris(2448724.5);
  const double want_lon_deg = 133.167265;
  EXPECT_NEAR(m.lon * RAD_TO_ARCSEC, want_lon_deg * 3600.0, MEEUS_LON_TOLERANCE_ARCSEC)
      << "want " << want_lon_deg << " deg, got " << m.lon * RAD_TO_DEG;
  EXPECT_NEAR(m.lat * RAD_TO_ARCSEC, -3.229126 * 3600.0, MEEUS_LAT_TOLERANCE_ARCSEC)
      << "want -3.229126 deg, got " << m.lat * RAD_TO_DEG;
  EXPECT_NEAR(m.dist * KM_PER_AU, 368409.7, MEEUS_DIST_TOLERANCE_KM)
      << "want 368409.7 km, got " << m.dist * KM_PER_AU;
}

TEST(Clunaris, RectangularCoordinatesDescribeTheSamePosition) {
  // Rounding only: 1e-15 AU is 0.15 mm.
  constexpr double RECT_TOLERANCE_AU = 1e-15;
  for (double jd = 990000.5; jd < 2820000.0; jd += 9133.71) {   // -2000 ... +3000
    const Moon m = clunaris(jd);
    ASSERT_TRUE(std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.z) &&
                std::isfinite(m.lon) && std::isfinite(m.lat) && std::isfinite(m.dist))
        << "JD " << jd;
    EXPECT_GE(m.lon, 0.0) << "JD " << jd;
    EXPECT_LT(m.lon, 2.0 * PI) << "JD " << jd;
    EXPECT_LT(std::fabs(m.lat), 5.4 / RAD_TO_DEG) << "JD " << jd;   // inclination ~5.15 deg
    const double dist_km = m.dist * KM_PER_AU;
    EXPECT_GT(dist_km, 350000.0) << "JD " << jd;
    EXPECT_LT(dist_km, 410000.0) << "JD " << jd;
    EXPECT_NEAR(m.x, m.dist * std::cos(m.lat) * std::cos(m.lon), RECT_TOLERANCE_AU);
    EXPECT_NEAR(m.y, m.dist * std::cos(m.lat) * std::sin(m.lon), RECT_TOLERANCE_AU);
    EXPECT_NEAR(m.z, m.dist * std::sin(m.lat), RECT_TOLERANCE_AU);
    double lon_xyz = std::atan2(m.y, m.x);
    if (lon_xyz < 0.0) lon_xyz += 2.0 * PI;
    EXPECT_NEAR(std::remainder(lon_xyz - m.lon, 2.0 * PI), 0.0, 1e-12) << "JD " << jd;
  }
}

// The light time moves the Moon back by Delta/c, about 1.2 ... 1.4 s.  Seen in
// the latitude (nutation leaves it alone) near a node, where it changes
// fastest (up to ~0.05"/s).
TEST(Clunaris, LightTimeStepIsDistanceOverSpeedOfLight) {
  constexpr double LIGHT_TIME_TOLERANCE_S = 0.01;
  int checked = 0;
  for (double jd = 2451545.0; jd < 2451545.0 + 60.0 && checked < 3; jd += 0.25) {
    double l0, b0, r0, l1, b1, r1;
    lunaris::elp82b_mean_of_date(jd, &l0, &b0, &r0);
    lunaris::elp82b_mean_of_date(jd + 0.25, &l1, &b1, &r1);
    if ((b0 < 0.0) == (b1 < 0.0)) continue;   // no node in this quarter day
    ++checked;
    const double jd_node = jd + 0.25 * b0 / (b0 - b1);
    const Moon m = clunaris(jd_node);
    const double want_s = m.dist * KM_PER_AU / LIGHT_KM_PER_S;
    // Latitude rate from a symmetric difference over +-10 s (per second).
    double lp, bp, rp, lm, bm, rm;
    lunaris::elp82b_mean_of_date(jd_node + 10.0 / 86400.0, &lp, &bp, &rp);
    lunaris::elp82b_mean_of_date(jd_node - 10.0 / 86400.0, &lm, &bm, &rm);
    const double rate = (bp - bm) / 20.0;
    double l, b, r;
    lunaris::elp82b_mean_of_date(jd_node, &l, &b, &r);
    const double got_s = (b - m.lat) / rate;
    EXPECT_GT(want_s, 1.15);
    EXPECT_LT(want_s, 1.40);
    EXPECT_NEAR(got_s, want_s, LIGHT_TIME_TOLERANCE_S)
        << "JD " << jd_node << ": want light time " << want_s << " s, got " << got_s << " s";
  }
  EXPECT_EQ(checked, 3);
}

// Longitude = geometric longitude of date at jd - Delta/c plus the IAU 1980
// nutation in longitude at jd (ERFA eraNut80); latitude and distance are the
// geometric ones at jd - Delta/c.  The library sizes the light time from an
// abbreviated distance (up to ~1.3e-4 s off far from J2000), so positions
// agree to what the Moon moves in that time: < 1e-4" and < 2e-5 km.
TEST(Clunaris, AddsIau1980NutationInLongitude) {
  constexpr double NUTATION_TOLERANCE_ARCSEC = 1e-4;
  constexpr double LAT_TOLERANCE_ARCSEC = 1e-4;
  constexpr double DIST_TOLERANCE_KM = 2e-5;
  for (double jd : {2448724.5, 2451545.0, 2469000.5, 2389000.5, 1721057.5, 2816788.5}) {
    const Moon m = clunaris(jd);
    const double tau_days = m.dist * KM_PER_AU / LIGHT_KM_PER_S / 86400.0;
    double lon, lat, r;
    lunaris::elp82b_mean_of_date(jd - tau_days, &lon, &lat, &r);
    double dpsi, deps;
    eraNut80(2400000.5, jd - 2400000.5, &dpsi, &deps);
    const double got = std::remainder(m.lon - lon, 2.0 * PI);
    EXPECT_NEAR(got * RAD_TO_ARCSEC, dpsi * RAD_TO_ARCSEC, NUTATION_TOLERANCE_ARCSEC)
        << "JD " << jd << ": want nutation " << dpsi * RAD_TO_ARCSEC << "\", got "
        << got * RAD_TO_ARCSEC << "\"";
    EXPECT_NEAR(m.lat * RAD_TO_ARCSEC, lat * RAD_TO_ARCSEC, LAT_TOLERANCE_ARCSEC) << "JD " << jd;
    EXPECT_NEAR(m.dist * KM_PER_AU, r, DIST_TOLERANCE_KM) << "JD " << jd;
  }
}

}  // namespace
