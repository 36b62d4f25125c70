// Pluto theory of orbitcore.
#include <gtest/gtest.h>

#include <cmath>

#include "orbitcore_internal.h"
#include "test_support.h"

using namespace orbitcore;
using orbitcore_test::ARCSEC_PER_RAD;

namespace {

TEST(Pluto, MeeusExample37a) {
  // 1992 October 13.0 TD, heliocentric J2000: l = 232.74071 deg,
  // b = 14.58782 deg, r = 29.711111 AU (Meeus' own Pluto series).  The
  // library's theory (mean elements + 26 perturbation terms) agrees to
  // 4" in l, 6" in b and 5e-4 AU in r; bounds 10" and 1e-3 AU.
  constexpr double TOL_ARCSEC = 10.0;
  constexpr double TOL_AU = 1e-3;
  double res[6];
  ASSERT_EQ(pluto_heliocentric(2448908.5, res), 0);
  EXPECT_NEAR(orbitcore_test::angle_diff(res[0], 232.74071 * RAD_PER_DEG) * ARCSEC_PER_RAD,
              0.0, TOL_ARCSEC) << "l got " << res[0] / RAD_PER_DEG;
  EXPECT_NEAR((res[1] - 14.58782 * RAD_PER_DEG) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC)
      << "b got " << res[1] / RAD_PER_DEG;
  EXPECT_NEAR(res[2], 29.711111, TOL_AU);
}

TEST(Pluto, RatesAreDailyDifferences) {
  double a[6], b[6];
  ASSERT_EQ(pluto_heliocentric(2460000.5, a), 0);
  ASSERT_EQ(pluto_heliocentric(2460001.5, b), 0);
  EXPECT_NEAR(a[3], b[0] - a[0], 1e-15);
  EXPECT_NEAR(a[4], b[1] - a[1], 1e-15);
  EXPECT_NEAR(a[5], b[2] - a[2], 1e-15);
  // A second request for the same date is served from the cache.
  double c[6];
  ASSERT_EQ(pluto_heliocentric(2460001.5, c), 0);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(b[k], c[k]);
}

TEST(Pluto, LongitudeRateAcrossZero) {
  // Pluto's heliocentric longitude passes 2 pi between JD 2476566 and 2476567:
  // the rate there is small and positive, not close to -2 pi.
  double res[6];
  ASSERT_EQ(pluto_heliocentric(2476566.0, res), 0);
  EXPECT_GT(res[0], 6.28);
  EXPECT_GT(res[3], 0.0);
  EXPECT_LT(res[3], 1e-3) << "dL/dt " << res[3];
}

TEST(Pluto, NonFiniteDatesReportNoConvergence) {
  for (double jd : {double(NAN), double(INFINITY), -double(INFINITY)}) {
    double res[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(pluto_heliocentric(jd, res), HELIO_NO_CONVERGENCE);
    for (double v : res) EXPECT_EQ(v, 0.0);
  }
  // Far outside the theory the element polynomials give e >= 1: reported
  // like a failed Kepler solution, with zero results.
  for (double jd : {1e12, -1e12, 1e300}) {
    double res[6];
    const int code = pluto_heliocentric(jd, res);
    EXPECT_TRUE(code == 0 || code == HELIO_NO_CONVERGENCE);
    for (double v : res) EXPECT_TRUE(std::isfinite(v)) << "JD " << jd;
  }
}

TEST(Precession, MeeusExample21b) {
  // theta Persei, J2000 2h44m11.986s +49 13' 42.48", proper motion
  // +0.03425 s and -0.0895" per year for 28.86705 years, precessed to
  // 2028 November 13.19 TD: 2h46m11.331s +49 20' 54.54".
  constexpr double TOL_ARCSEC = 0.02;
  const double years = 28.86705;
  double ra = (2 + 44 / 60.0 + (11.986 + 0.03425 * years) / 3600.0) * 15 * RAD_PER_DEG;
  double dec = orbitcore_test::dms_to_rad(49, 13, 42.48 - 0.0895 * years);
  precess_j2000_to_date(2462088.69, &ra, &dec);
  EXPECT_NEAR((ra / RAD_PER_DEG / 15 - (2 + 46 / 60.0 + 11.331 / 3600.0)) * 3600 * 15 *
                  std::cos(dec), 0.0, TOL_ARCSEC) << "ra got " << ra / RAD_PER_DEG / 15 << " h";
  EXPECT_NEAR((dec - orbitcore_test::dms_to_rad(49, 20, 54.54)) * ARCSEC_PER_RAD, 0.0, TOL_ARCSEC);
}

TEST(Precession, EclipticOfDateToJ2000InvertsThePrecession) {
  // lon/lat of date -> J2000 ecliptic -> J2000 equator -> precessed to the
  // date -> ecliptic of date (mean obliquity): back where it started.
  constexpr double TOL_RAD = 1e-12;
  const double eps0 = 23.439291111 * RAD_PER_DEG;
  for (double jd : {2415020.5, 2440000.5, 2470000.5, 2524000.5}) {
    double se, ce;
    obliquity_sincos(jd, 0, &se, &ce);
    for (double lon0 = 0.2; lon0 < 6.2; lon0 += 1.1) {
      for (double lat0 : {-0.5, 0.0, 0.3}) {
        double lon = lon0, lat = lat0;
        ecliptic_of_date_to_j2000(jd, &lon, &lat);
        EXPECT_GT(std::fabs(lon - lon0), 1e-4);  // it did move
        double dec = std::asin(std::sin(lat) * std::cos(eps0) +
                               std::cos(lat) * std::sin(eps0) * std::sin(lon));
        double ra = std::atan2(std::sin(lon) * std::cos(eps0) - std::tan(lat) * std::sin(eps0),
                               std::cos(lon));
        precess_j2000_to_date(jd, &ra, &dec);
        const double back_lat = std::asin(std::sin(dec) * ce - std::cos(dec) * se * std::sin(ra));
        const double back_lon = std::atan2(std::sin(ra) * ce + std::tan(dec) * se, std::cos(ra));
        EXPECT_NEAR(orbitcore_test::angle_diff(back_lon, lon0), 0.0, TOL_RAD) << jd;
        EXPECT_NEAR(back_lat, lat0, TOL_RAD) << jd;
      }
    }
  }
}

}  // namespace
