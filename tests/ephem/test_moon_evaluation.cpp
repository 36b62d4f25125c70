// The lunar series as the library evaluates it (streams decoded into groups,
// fused multiply-adds, several terms per register) against a straightforward
// evaluation that walks the stored streams term by term, as the stream format
// defines them (the arguments are the library's): the two may differ by
// rounding only.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "ephem/moon_position.h"
#include "ephem/moon_series_tables.h"
#include "ephem/moon_terms.h"

namespace {

using orbitcore::MoonSeries;

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2.0 * PI;
constexpr double RAD_PER_ASEC = 4.84813681109536e-6;
constexpr double JD_J2000 = 2451545.0;

// Largest difference allowed, relative to the quantity's scale: a full turn
// for the longitude, the latitude's amplitude (5.15 deg; the latitude itself
// passes through zero) for the latitude, the distance itself.
constexpr double MAX_RELATIVE_DIFF = 1e-12;
constexpr double LATITUDE_SCALE_RAD = 5.15 * PI / 180.0;

// One series summed term by term straight from its streams: sin and cos of
// theta by the library's libm calls per factor (sin(m x), cos(m x) directly,
// not from a recurrence), angle addition, Horner in tau.
void WalkSums(const MoonSeries& s, const double* x_rad, double tau, double* sums) {
  const std::int16_t* ts = s.terms;
  const std::int32_t* cs[2] = {s.coef, s.coef_dist};
  const int streams = s.coef_dist ? 2 : 1;
  sums[0] = sums[1] = 0.0;
  for (int n = *ts++; n >= 0; n = *ts++) {
    double st = 0.0, ct = 1.0;
    for (int f = 0; f < n; ++f, ts += 2) {
      const double theta = ts[0] * x_rad[ts[1] - 1];
      const double sk = std::sin(theta), ck = std::cos(theta);
      const double snew = st * ck + ct * sk;
      ct = ct * ck - st * sk;
      st = snew;
    }
    const int d = *ts++;
    for (int k = 0; k < streams; ++k) {
      if (n == 0) {
        double p = 0.0;
        for (int e = 0; e <= d; ++e) p = p * tau + cs[k][e];
        sums[k] += p;
        cs[k] += d + 1;
      } else {
        double c = 0.0, si = 0.0;
        for (int e = 0; e <= d; ++e) {
          c = c * tau + cs[k][2 * e];
          si = si * tau + cs[k][2 * e + 1];
        }
        sums[k] += c * ct + si * st;
        cs[k] += 2 * (d + 1);
      }
    }
  }
}

struct Moon {
  double lon, lat, delta;
};

Moon Reference(double jd) {
  double x_asec[14], x_rad[14];
  orbitcore::moon_arguments((jd - JD_J2000) / 36525.0, x_asec);
  for (int n = 0; n < 14; ++n) x_rad[n] = x_asec[n] * RAD_PER_ASEC;
  const MoonSeries& ld = orbitcore::kMoonLonDistSeries;
  const MoonSeries& bs = orbitcore::kMoonLatSeries;
  double lr[2], b[2];
  WalkSums(ld, x_rad, (jd - JD_J2000) / ld.time_unit_days, lr);
  WalkSums(bs, x_rad, (jd - JD_J2000) / bs.time_unit_days, b);
  double lon = (x_asec[13] + ld.scale * lr[0]) * RAD_PER_ASEC;
  lon -= std::floor(lon / TWO_PI) * TWO_PI;
  return {lon, bs.scale * b[0] * RAD_PER_ASEC,
          ld.a0_au * (1.0 + ld.scale * lr[1] * RAD_PER_ASEC)};
}

// Every term of both streams is in the decoded layout, each part of a term
// is a table entry or a product built before the terms.
TEST(MoonEvaluation, DecodedLayoutHoldsEveryTerm) {
  const orbitcore::MoonLayout& layout = orbitcore::moon_layout();
  ASSERT_TRUE(layout.usable);
  EXPECT_EQ(layout.lon_dist.terms, 632);
  EXPECT_EQ(layout.lat.terms, 361);
  EXPECT_EQ(layout.lon_dist.streams, 2);
  EXPECT_EQ(layout.lat.streams, 1);
  EXPECT_EQ(layout.products, 246);
  int end = 2 * orbitcore::MOON_MULTIPLES_ENTRIES;
  for (const orbitcore::PairProductLevel& l : layout.levels) {
    EXPECT_EQ(l.count % orbitcore::MOON_LANES, 0);
    EXPECT_EQ(2 * l.first, end);
    for (int i = 0; i < 2 * l.count; ++i) EXPECT_LT(layout.index[l.index_at + i], 2 * l.first);
    end += 2 * l.count;
  }
  for (const auto* s : {&layout.lon_dist, &layout.lat})
    for (const orbitcore::MoonTermGroup& g : s->groups) {
      EXPECT_EQ(g.count % orbitcore::MOON_LANES, 0);
      for (int i = 0; i < 2 * g.count; ++i) EXPECT_LT(layout.index[g.index_at + i], end);
    }
}

// 5000 years in steps of 273.93 days (every phase, anomaly and node position
// comes round many times): the library's evaluation against the walk.
TEST(MoonEvaluation, AgreesWithTheStreamsWithinRounding) {
  double max_lon = 0, max_lat = 0, max_dist = 0;
  int n = 0;
  for (double jd = 990557.5; jd < 2816788.0; jd += 273.93, ++n) {
    double lon, lat, delta;
    orbitcore::moon_position(jd, &lon, &lat, &delta);
    const Moon want = Reference(jd);
    const double dl = std::fabs(std::remainder(lon - want.lon, TWO_PI)) / TWO_PI;
    const double db = std::fabs(lat - want.lat) / LATITUDE_SCALE_RAD;
    const double dr = std::fabs(delta - want.delta) / want.delta;
    ASSERT_TRUE(std::isfinite(lon) && std::isfinite(lat) && std::isfinite(delta)) << jd;
    EXPECT_LE(dl, MAX_RELATIVE_DIFF) << "JD " << jd << " lon want " << want.lon << " got " << lon;
    EXPECT_LE(db, MAX_RELATIVE_DIFF) << "JD " << jd << " lat want " << want.lat << " got " << lat;
    EXPECT_LE(dr, MAX_RELATIVE_DIFF) << "JD " << jd << " dist want " << want.delta << " got "
                                     << delta;
    max_lon = std::fmax(max_lon, dl);
    max_lat = std::fmax(max_lat, db);
    max_dist = std::fmax(max_dist, dr);
  }
  std::printf("[ moon ] %d dates: largest relative difference lon %.2g, lat %.2g, dist %.2g\n",
              n, max_lon, max_lat, max_dist);
}

}  // namespace
