// orbitcore's lunar series (with one light-time step) against lunaris'
// _clunaris, ELP 2000-82B truncated at 5e-5": the two Moons the main window
// offers ("DE404" and "ELP2000") must agree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "lunaris.h"
#include "moon_series.h"
#if MOON_TEST_HAVE_NUTATION
#include "ephem/nutation.h"
#endif
#if MOON_TEST_HAVE_EXPORTS
#include "orbitcore.h"
#endif

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double ASEC_PER_RAD = 648000.0 / PI;
constexpr double KM_PER_AU = 149597870.691;
constexpr double JD_J2000 = 2451545.0;
constexpr double DAYS_PER_YEAR = 365.25;

// Targets: years 1500 .. 2500 and -2000 .. +3000.
constexpr double NEAR_LON_TOL_ASEC = 2.0, NEAR_LAT_TOL_ASEC = 2.0, NEAR_DIST_TOL_KM = 2.0;
constexpr double WIDE_LON_TOL_ASEC = 15.0, WIDE_LAT_TOL_ASEC = 15.0, WIDE_DIST_TOL_KM = 15.0;

// orbitcore's Moon as the program reads it: _planetinfo body 1011, items 8,
// 9, 3 (series with light time plus the nutation in longitude, the one
// lunaris adds too); before the exports exist, the series plus nutation.
void OrbitcoreMoon(double jd, double* lon, double* lat, double* dist) {
#if MOON_TEST_HAVE_EXPORTS
  *lon = _planetinfo(jd, 1011, 8);
  *lat = _planetinfo(jd, 1011, 9);
  *dist = _planetinfo(jd, 1011, 3);
  return;
#endif
  orbitcore::moon_geocentric(jd, 1, lon, lat, dist);
#if MOON_TEST_HAVE_NUTATION
  double dpsi = 0.0, deps = 0.0;
  orbitcore::nutation(jd, &dpsi, &deps);
  *lon += dpsi;
#endif
}

struct Span {
  const char* name;
  double y0, y1, tol_lon, tol_lat, tol_km;
  int n;
};

void Compare(const Span& s) {
  double max_lon = 0, max_lat = 0, max_km = 0;
  for (int k = 0; k < s.n; ++k) {
    // Dates spread over the span at an irregular step (all lunar phases).
    const double y = s.y0 + (s.y1 - s.y0) * (k + 0.5) / s.n;
    const double jd = JD_J2000 + (y - 2000.0) * DAYS_PER_YEAR + 0.291 * k;
    double x, yy, z, lon1, lat1, dist1, lon2, lat2, dist2;
    _clunaris(jd, &x, &yy, &z, &lon1, &lat1, &dist1);
    OrbitcoreMoon(jd, &lon2, &lat2, &dist2);
    ASSERT_TRUE(std::isfinite(lon1) && std::isfinite(lat1) && std::isfinite(dist1)) << jd;
    ASSERT_TRUE(std::isfinite(lon2) && std::isfinite(lat2) && std::isfinite(dist2)) << jd;
    const double dl = std::remainder(lon2 - lon1, 2 * PI) * ASEC_PER_RAD;
    const double db = (lat2 - lat1) * ASEC_PER_RAD;
    const double dr = (dist2 - dist1) * KM_PER_AU;
    EXPECT_LE(std::fabs(dl), s.tol_lon) << s.name << " JD " << jd << " lon want "
                                        << lon1 << " got " << lon2 << " rad";
    EXPECT_LE(std::fabs(db), s.tol_lat) << s.name << " JD " << jd << " lat want "
                                        << lat1 << " got " << lat2 << " rad";
    EXPECT_LE(std::fabs(dr), s.tol_km) << s.name << " JD " << jd << " dist want "
                                       << dist1 * KM_PER_AU << " got " << dist2 * KM_PER_AU;
    max_lon = std::max(max_lon, std::fabs(dl));
    max_lat = std::max(max_lat, std::fabs(db));
    max_km = std::max(max_km, std::fabs(dr));
  }
  std::printf("[ moon vs lunaris ] %s (%d dates): max |dlon| %.3f\", |dlat| %.3f\", "
              "|ddist| %.3f km\n", s.name, s.n, max_lon, max_lat, max_km);
}

TEST(MoonVersusLunaris, Years1500To2500) {
  Compare({"1500..2500", 1500, 2500, NEAR_LON_TOL_ASEC, NEAR_LAT_TOL_ASEC,
           NEAR_DIST_TOL_KM, 1500});
}

TEST(MoonVersusLunaris, YearsMinus2000To3000) {
  Compare({"-2000..+3000", -2000, 3000, WIDE_LON_TOL_ASEC, WIDE_LAT_TOL_ASEC,
           WIDE_DIST_TOL_KM, 2500});
}

}  // namespace
