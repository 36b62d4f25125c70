// Pluto theory of orbitcore.
#include <gtest/gtest.h>

#include <cmath>

#include "ephem/orbitcore_internal.h"
#include "tests/ephem/test_support.h"

#include <erfa.h>

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

// Rectangular (x, y, z) of (L, B, R).
void Rect(double l, double b, double r, double v[3]) {
  v[0] = r * std::cos(b) * std::cos(l);
  v[1] = r * std::cos(b) * std::sin(l);
  v[2] = r * std::sin(b);
}

// out = R1(phi) in: phi = -eps takes the ecliptic to the equator, +eps back.
void RotateX(double phi, double in[3], double out[3]) {
  double rot[3][3];
  eraIr(rot);
  eraRx(phi, rot);
  eraRxp(rot, in, out);
}

// Pluto's geometric place (light time on; aberration and nutation off) at
// dates far from J2000, rebuilt with ERFA's frames from the same
// heliocentric series: the Earth of date turned to the J2000 ecliptic
// (eraObl80, transposed eraPmat76), Pluto's J2000 position one light time
// earlier, the geocentric vector to the J2000 equator (obliquity of J2000),
// precessed to the date (eraPmat76) and returned to the ecliptic of date.
// Laskar's obliquity (orbitcore) and IAU 1980's (ERFA) part by up to 0.06"
// at these dates (1600 ... 2500), which bounds the agreement; with the
// obliquity of date in place of J2000's in the ecliptic-to-equator step the
// declination would be off by up to the obliquity's change, 234" in 2500.
TEST(Pluto, ApparentPlaceMatchesErfaFramesAwayFromJ2000) {
  constexpr double FRAME_TOL_ARCSEC = 0.1;
  constexpr double DIST_TOL_AU = 1e-7;  // the Earth turned by 0.002" less or more
  constexpr double LIGHT_DAYS_PER_AU = 0.0057755183;
  const double eps0 = eraObl80(2451545.0, 0.0);
  for (double jd : {2305447.5, 2378496.5, 2433282.5, 2524593.5, 2634167.5}) {
    SCOPED_TRACE(jd);
    double ra, dec, delta, r, el, il, mag, dia, lon, lat;
    compute_body(jd, BODY_PLUTO, &ra, &dec, &delta, &r, &el, &il, &mag, &dia, &lon, &lat,
                 1, 0, 0, 0);

    const double eps = eraObl80(2400000.5, jd - 2400000.5);
    double pm[3][3];
    eraPmat76(2400000.5, jd - 2400000.5, pm);
    double earth[HELIO_RESULTS], e_date[3], e_equ[3], e_equ0[3], e0[3];
    ASSERT_EQ(helio_position(jd, SLOT_EARTH_REDUCED, 0.0, earth), HELIO_OK);
    Rect(earth[0], earth[1], earth[2], e_date);
    RotateX(-eps, e_date, e_equ);
    eraTrxp(pm, e_equ, e_equ0);
    RotateX(eps0, e_equ0, e0);

    double pluto[HELIO_RESULTS], p[3], g[3];
    ASSERT_EQ(pluto_heliocentric(jd, pluto), HELIO_OK);
    Rect(pluto[0], pluto[1], pluto[2], p);
    eraPmp(p, e0, g);
    ASSERT_EQ(pluto_heliocentric(jd - LIGHT_DAYS_PER_AU * eraPm(g), pluto), HELIO_OK);
    Rect(pluto[0], pluto[1], pluto[2], p);
    eraPmp(p, e0, g);

    double g_equ0[3], g_equ[3], g_ecl[3];
    RotateX(-eps0, g, g_equ0);
    eraRxp(pm, g_equ0, g_equ);
    RotateX(eps, g_equ, g_ecl);
    double want_ra, want_dec, want_lon, want_lat;
    eraC2s(g_equ, &want_ra, &want_dec);
    eraC2s(g_ecl, &want_lon, &want_lat);

    const double d_ra = orbitcore_test::angle_diff(ra, want_ra) * std::cos(want_dec);
    const double d_lon = orbitcore_test::angle_diff(lon, want_lon) * std::cos(want_lat);
    EXPECT_NEAR(d_ra * ARCSEC_PER_RAD, 0.0, FRAME_TOL_ARCSEC)
        << "ra want " << eraAnp(want_ra) / RAD_PER_DEG << " got " << ra / RAD_PER_DEG;
    EXPECT_NEAR((dec - want_dec) * ARCSEC_PER_RAD, 0.0, FRAME_TOL_ARCSEC)
        << "dec want " << want_dec / RAD_PER_DEG << " got " << dec / RAD_PER_DEG;
    EXPECT_NEAR(d_lon * ARCSEC_PER_RAD, 0.0, FRAME_TOL_ARCSEC)
        << "lon want " << eraAnp(want_lon) / RAD_PER_DEG << " got " << lon / RAD_PER_DEG;
    EXPECT_NEAR((lat - want_lat) * ARCSEC_PER_RAD, 0.0, FRAME_TOL_ARCSEC)
        << "lat want " << want_lat / RAD_PER_DEG << " got " << lat / RAD_PER_DEG;
    EXPECT_NEAR(delta, eraPm(g), DIST_TOL_AU);
    std::printf("[ pluto ] JD %.1f: d ra %.4f\", d dec %.4f\", d lon %.4f\", d lat %.4f\"\n", jd,
                d_ra * ARCSEC_PER_RAD, (dec - want_dec) * ARCSEC_PER_RAD,
                d_lon * ARCSEC_PER_RAD, (lat - want_lat) * ARCSEC_PER_RAD);
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
