// orbitcore's Moon (moon_position / moon_geocentric) against its complete
// series, ELP 2000-82B at J2000, Meeus' worked example, and its light-time
// step.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "ephem/moon_position.h"
#include "ephem/moon_geocentric.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double DEG_PER_RAD = 180.0 / PI;
constexpr double ASEC_PER_DEG = 3600.0;
constexpr double KM_PER_AU = 149597870.691;
constexpr double JD_J2000 = 2451545.0;
constexpr double DAYS_PER_YEAR = 365.25;
constexpr double SEC_PER_DAY = 86400.0;

// Truncation of the 632 + 361 terms against the complete series of the same
// construction (every ELP 2000-82B term, all Poisson powers, in orbitcore's
// arguments): the smallest kept terms are 0.007", and the degree budget
// drops secular parts of at most 0.06" at the ends of the span.
constexpr double NEAR_LON_TOL_ASEC = 0.5;   // years 1500 .. 2500
constexpr double NEAR_LAT_TOL_ASEC = 0.5;
constexpr double NEAR_DIST_TOL_KM = 0.5;
constexpr double WIDE_LON_TOL_ASEC = 1.0;   // years -2000 .. +3000
constexpr double WIDE_LAT_TOL_ASEC = 1.0;
constexpr double WIDE_DIST_TOL_KM = 1.0;

struct RefRow {
  double jd, lon_deg, lat_deg, dist_km;
};

// Complete series written by tools/gen_moon_series.py --fixture.
std::vector<RefRow> LoadReference() {
  std::vector<RefRow> rows;
  std::ifstream in(std::string(NODALIS_TEST_DATA_DIR) + "/moon_series_complete.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ss(line);
    RefRow r{};
    if (ss >> r.jd >> r.lon_deg >> r.lat_deg >> r.dist_km) rows.push_back(r);
  }
  return rows;
}

double Year(double jd) { return 2000.0 + (jd - JD_J2000) / DAYS_PER_YEAR; }

// Longitude difference in arc seconds, folded into (-648000, 648000].
double LonDiffAsec(double lon_rad, double want_deg) {
  return std::remainder(lon_rad * DEG_PER_RAD - want_deg, 360.0) * ASEC_PER_DEG;
}

struct Position {
  double lon, lat, delta;
};

Position At(double jd, int light_time) {
  Position p{};
  orbitcore::moon_geocentric(jd, light_time, &p.lon, &p.lat, &p.delta);
  return p;
}

TEST(MoonAccuracy, AgainstItsCompleteSeries) {
  const auto ref = LoadReference();
  ASSERT_GE(ref.size(), 200u) << "fixture missing or short";
  struct Span {
    const char* name;
    double y0, y1, tol_lon, tol_lat, tol_km;
    double max_lon = 0, max_lat = 0, max_km = 0;
    int n = 0;
  };
  Span spans[] = {
      {"1500..2500", 1500, 2500, NEAR_LON_TOL_ASEC, NEAR_LAT_TOL_ASEC, NEAR_DIST_TOL_KM},
      {"-2000..+3000", -2000, 3000, WIDE_LON_TOL_ASEC, WIDE_LAT_TOL_ASEC, WIDE_DIST_TOL_KM},
  };
  for (const RefRow& r : ref) {
    double lon, lat, delta;
    orbitcore::moon_position(r.jd, &lon, &lat, &delta);
    ASSERT_TRUE(std::isfinite(lon) && std::isfinite(lat) && std::isfinite(delta)) << r.jd;
    ASSERT_GE(lon, 0.0);
    ASSERT_LT(lon, 2 * PI);
    const double dl = LonDiffAsec(lon, r.lon_deg);
    const double db = (lat * DEG_PER_RAD - r.lat_deg) * ASEC_PER_DEG;
    const double dr = delta * KM_PER_AU - r.dist_km;
    for (Span& s : spans) {
      const double y = Year(r.jd);
      if (y < s.y0 || y > s.y1) continue;
      ++s.n;
      s.max_lon = std::max(s.max_lon, std::fabs(dl));
      s.max_lat = std::max(s.max_lat, std::fabs(db));
      s.max_km = std::max(s.max_km, std::fabs(dr));
      EXPECT_LE(std::fabs(dl), s.tol_lon) << s.name << " JD " << r.jd << " lon want "
                                          << r.lon_deg << " deg, diff " << dl << "\"";
      EXPECT_LE(std::fabs(db), s.tol_lat) << s.name << " JD " << r.jd << " lat want "
                                          << r.lat_deg << " deg, diff " << db << "\"";
      EXPECT_LE(std::fabs(dr), s.tol_km) << s.name << " JD " << r.jd << " dist want "
                                         << r.dist_km << " km, diff " << dr << " km";
    }
  }
  for (const Span& s : spans) {
    EXPECT_GE(s.n, 90) << s.name;
    std::printf("[ moon ] %s (%d dates): max |dlon| %.3f\", |dlat| %.3f\", |ddist| %.3f km\n",
                s.name, s.n, s.max_lon, s.max_lat, s.max_km);
  }
}

// At J2000 (T = 0) only the constants count: the argument constants of
// orbitcore's fit differ from ELP's (W1 by -0.15", D by +0.49", ...) and its
// own 4 EMB - 8 Mars + 3 Jupiter row from ELP's; together they move the
// longitude by 0.79" from the complete ELP 2000-82B.  Latitude and distance
// stay at the truncation level.
TEST(MoonAccuracy, AtJ2000NearElp2000_82B) {
  constexpr double J2000_LON_TOL_ASEC = 1.0;
  constexpr double J2000_LAT_TOL_ASEC = 0.3;
  constexpr double J2000_DIST_TOL_KM = 0.3;
  // Complete ELP 2000-82B at JD 2451545.0: lambda = V (p_A = 0), U, r.
  constexpr double WANT_LON_DEG = 223.318960073, WANT_LAT_DEG = 5.170867546,
                   WANT_DIST_KM = 402448.665831;
  const Position p = At(JD_J2000, 0);
  EXPECT_NEAR(LonDiffAsec(p.lon, WANT_LON_DEG), 0.0, J2000_LON_TOL_ASEC)
      << "lon want " << WANT_LON_DEG << " got " << p.lon * DEG_PER_RAD;
  EXPECT_NEAR((p.lat * DEG_PER_RAD - WANT_LAT_DEG) * ASEC_PER_DEG, 0.0, J2000_LAT_TOL_ASEC)
      << "lat want " << WANT_LAT_DEG << " got " << p.lat * DEG_PER_RAD;
  EXPECT_NEAR(p.delta * KM_PER_AU, WANT_DIST_KM, J2000_DIST_TOL_KM);
}

// Meeus, Astronomical Algorithms (2nd ed.), example 47.a: 1992 April 12.0 TD,
// geometric lambda 133.162655 deg, beta -3.229126 deg, Delta 368409.7 km.
// Meeus' series has about 60 terms per coordinate; the complete ELP 2000-82B
// gives 133.16233 deg, -3.22920 deg, 368405.56 km (1.2", 0.3", 4.1 km away),
// so the tolerances are that series' own accuracy.
TEST(MoonAccuracy, MeeusExample47a) {
  constexpr double MEEUS_LON_TOL_ASEC = 10.0;
  constexpr double MEEUS_LAT_TOL_ASEC = 4.0;
  constexpr double MEEUS_DIST_TOL_KM = 5.0;
  const Position p = At(2448724.5, 0);
  const double dl = LonDiffAsec(p.lon, 133.162655);
  const double db = (p.lat * DEG_PER_RAD + 3.229126) * ASEC_PER_DEG;
  const double dr = p.delta * KM_PER_AU - 368409.7;
  EXPECT_LE(std::fabs(dl), MEEUS_LON_TOL_ASEC)
      << "lon want 133.162655 got " << p.lon * DEG_PER_RAD << " deg";
  EXPECT_LE(std::fabs(db), MEEUS_LAT_TOL_ASEC)
      << "lat want -3.229126 got " << p.lat * DEG_PER_RAD << " deg";
  EXPECT_LE(std::fabs(dr), MEEUS_DIST_TOL_KM)
      << "dist want 368409.7 got " << p.delta * KM_PER_AU << " km";
}

// With light time off the result is the series at jd itself; with it on, the
// series at jd - 0.0057755183 * Delta days, about 1.3 s earlier, so the Moon
// appears 0.5" .. 0.9" behind its geometric place.
TEST(MoonLightTime, OneStepBackByTheLightTime) {
  constexpr double LIGHT_DAYS_PER_AU = 0.0057755183;
  constexpr double MIN_LT_SEC = 1.15, MAX_LT_SEC = 1.45;  // 356000 .. 407000 km
  constexpr double MIN_LAG_ASEC = 0.45, MAX_LAG_ASEC = 0.95;
  for (int k = 0; k < 40; ++k) {
    const double jd = 2460000.5 + 0.73 * k;
    SCOPED_TRACE(jd);
    double lon, lat, delta;
    orbitcore::moon_position(jd, &lon, &lat, &delta);
    const Position off = At(jd, 0);
    EXPECT_EQ(off.lon, lon);
    EXPECT_EQ(off.lat, lat);
    EXPECT_EQ(off.delta, delta);

    const double lt_days = LIGHT_DAYS_PER_AU * delta;
    const double lt_sec = lt_days * SEC_PER_DAY;
    EXPECT_GE(lt_sec, MIN_LT_SEC);
    EXPECT_LE(lt_sec, MAX_LT_SEC);
    double lon0, lat0, delta0;
    orbitcore::moon_position(jd - lt_days, &lon0, &lat0, &delta0);
    const Position on = At(jd, 1);
    EXPECT_EQ(on.lon, lon0);
    EXPECT_EQ(on.lat, lat0);
    EXPECT_EQ(on.delta, delta0);
    const double lag = LonDiffAsec(off.lon, on.lon * DEG_PER_RAD);
    EXPECT_GE(lag, MIN_LAG_ASEC) << "light-time lag " << lag << "\"";
    EXPECT_LE(lag, MAX_LAG_ASEC) << "light-time lag " << lag << "\"";
  }
}

// Non-finite dates give the documented zeros; absurd but finite dates give
// finite values in range and return.
TEST(MoonRobustness, NonFiniteAndAbsurdDates) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double jd : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
    for (int lt : {0, 1}) {
      const Position p = At(jd, lt);
      EXPECT_EQ(p.lon, 0.0) << jd;
      EXPECT_EQ(p.lat, 0.0) << jd;
      EXPECT_EQ(p.delta, 0.0) << jd;
    }
  }
  for (double jd : {1e12, -1e12, 1e300, -1e300}) {
    for (int lt : {0, 1}) {
      const Position p = At(jd, lt);
      EXPECT_TRUE(std::isfinite(p.lon) && std::isfinite(p.lat) && std::isfinite(p.delta))
          << jd << " got " << p.lon << " " << p.lat << " " << p.delta;
      EXPECT_GE(p.lon, 0.0) << jd;
      EXPECT_LT(p.lon, 2 * PI) << jd;
    }
  }
}

}  // namespace
