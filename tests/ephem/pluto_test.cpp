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

}  // namespace
