// The Moon through orbitcore's exports (body 1011): result slots, the three
// light-time/aberration combinations of _calcplanet, the light-time step as
// seen from outside, and absurd dates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ephem/moon_geocentric.h"
#include "ephem/nutation.h"
#include "ephem/orbitcore.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2.0 * PI;
constexpr double ASEC_PER_RAD = 648000.0 / PI;
constexpr double SEC_PER_DAY = 86400.0;
constexpr double LIGHT_SEC_PER_AU = 499.004784;
// Identities between the export and the series it is built from hold to
// rounding: 1e-12 rad = 2e-7 arcsec.
constexpr double SAME_RAD = 1e-12;

constexpr double DATES[] = {2448724.5, 2451545.0, 2460000.5, 2415020.3, 2488070.9};

struct Slots {
  double ra, dec, delta, r, elong, illum, mag, diam, lon, lat;
};

Slots Calc(double jd, int body, int lt, int ab, int nut, int phys) {
  Slots s{};
  _calcplanet(jd, body, &s.ra, &s.dec, &s.delta, &s.r, &s.elong, &s.illum, &s.mag,
              &s.diam, &s.lon, &s.lat, lt, ab, nut, phys);
  return s;
}

double Norm2Pi(double x) { return x - std::floor(x / TWO_PI) * TWO_PI; }
double DiffRad(double a, double b) { return std::remainder(a - b, TWO_PI); }

// Body 1011 as the main program reads it: items 3, 8, 9 are the series with
// one light-time step plus the nutation in longitude, no aberration added;
// item 0 (heliocentric distance) is 0 for the Moon; 999 is the same Moon.
TEST(MoonExport, ItemsOfBody1011) {
  for (double jd : DATES) {
    SCOPED_TRACE(jd);
    double lon, lat, delta, dpsi, deps;
    orbitcore::moon_geocentric(jd, 1, &lon, &lat, &delta);
    orbitcore::nutation(jd, &dpsi, &deps);
    EXPECT_EQ(_planetinfo(jd, 1011, 0), 0.0) << "Moon r must be 0";
    EXPECT_NEAR(_planetinfo(jd, 1011, 3), delta, 1e-15) << "distance, AU";
    const double got_lon = _planetinfo(jd, 1011, 8);
    EXPECT_NEAR(DiffRad(got_lon, Norm2Pi(lon + dpsi)), 0.0, SAME_RAD)
        << "lon want " << Norm2Pi(lon + dpsi) << " got " << got_lon;
    EXPECT_NEAR(_planetinfo(jd, 1011, 9), lat, SAME_RAD);
    for (int item = 0; item <= 9; ++item)
      EXPECT_EQ(_planetinfo(jd, 999, item), _planetinfo(jd, 1011, item)) << "item " << item;
  }
}

// _calcplanet for the Moon (nutation off to isolate the rule):
//  light time on,  aberration on  -> the series at jd - tau, nothing added;
//  light time on,  aberration off -> the ecliptic aberration subtracted;
//  light time off, aberration off -> the series at jd unchanged.
TEST(MoonExport, LightTimeAndAberrationCombinations) {
  constexpr double MAX_ABERRATION_ASEC = 20.6;  // constant of aberration 20.49552"
  for (double jd : DATES) {
    SCOPED_TRACE(jd);
    double lon1, lat1, d1, lon0, lat0, d0;
    orbitcore::moon_geocentric(jd, 1, &lon1, &lat1, &d1);
    orbitcore::moon_geocentric(jd, 0, &lon0, &lat0, &d0);

    const Slots both = Calc(jd, 1011, 1, 1, 0, 0);
    EXPECT_NEAR(DiffRad(both.lon, lon1), 0.0, SAME_RAD) << "lt on, ab on: lon";
    EXPECT_NEAR(both.lat, lat1, SAME_RAD) << "lt on, ab on: lat";
    EXPECT_EQ(both.delta, d1);

    const Slots none = Calc(jd, 1011, 0, 0, 0, 0);
    EXPECT_NEAR(DiffRad(none.lon, lon0), 0.0, SAME_RAD) << "lt off, ab off: lon";
    EXPECT_NEAR(none.lat, lat0, SAME_RAD) << "lt off, ab off: lat";
    EXPECT_EQ(none.delta, d0);

    // The Sun's geometric longitude from the same (reduced) Earth series:
    // body 1000 with every switch off.
    const double sun = Calc(jd, 1000, 0, 0, 0, 0).lon;
    double a = lon1, b = lat1;
    _aberrat_aux(jd, &a, &b, sun, 0);
    const double want_lon = Norm2Pi(2.0 * lon1 - a), want_lat = 2.0 * lat1 - b;
    const Slots sub = Calc(jd, 1011, 1, 0, 0, 0);
    EXPECT_NEAR(DiffRad(sub.lon, want_lon), 0.0, SAME_RAD)
        << "lt on, ab off: lon want " << want_lon << " got " << sub.lon;
    EXPECT_NEAR(sub.lat, want_lat, SAME_RAD) << "lt on, ab off: lat";
    const double shift = DiffRad(sub.lon, both.lon) * ASEC_PER_RAD;
    EXPECT_LE(std::fabs(shift), MAX_ABERRATION_ASEC) << "aberration " << shift << "\"";
  }
}

// Seen from outside, the light-time step puts the Moon where it was
// Delta * 499.005 s earlier, about 1.3 s.
TEST(MoonExport, LightTimeMovesTheDateBackAboutOnePointThreeSeconds) {
  constexpr double MIN_SEC = 1.15, MAX_SEC = 1.45;
  constexpr double LT_TOL_SEC = 0.01;
  constexpr double STEP_DAYS = 60.0 / SEC_PER_DAY;
  for (double jd : DATES) {
    SCOPED_TRACE(jd);
    const Slots geo = Calc(jd, 1011, 0, 0, 0, 0);
    const Slots lt = Calc(jd, 1011, 1, 1, 0, 0);
    const double rate = DiffRad(Calc(jd + STEP_DAYS, 1011, 0, 0, 0, 0).lon,
                                Calc(jd - STEP_DAYS, 1011, 0, 0, 0, 0).lon) /
                        (2.0 * 60.0);  // rad per second
    const double back_sec = DiffRad(geo.lon, lt.lon) / rate;
    EXPECT_GE(back_sec, MIN_SEC);
    EXPECT_LE(back_sec, MAX_SEC);
    EXPECT_NEAR(back_sec, geo.delta * LIGHT_SEC_PER_AU, LT_TOL_SEC)
        << "want " << geo.delta * LIGHT_SEC_PER_AU << " s got " << back_sec << " s";
  }
}

// Absurd dates return (no crash, no hang); finite ones give finite results.
TEST(MoonExport, AbsurdDatesReturn) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double jd : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e12, -1e12}) {
    for (int item = 0; item <= 9; ++item) {
      const double v = _planetinfo(jd, 1011, item);
      if (std::isfinite(jd)) {
        EXPECT_TRUE(std::isfinite(v)) << jd << " item " << item;
      }
    }
  }
}

}  // namespace
