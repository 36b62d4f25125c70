// VSOP87 D evaluation and the heliocentric cache of orbitcore, against the
// authors' check values (vsop87.chk) and the complete published series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ephem/orbitcore_internal.h"
#include "tests/ephem/test_support.h"
#include "ephem/vsop87_tables.h"

using namespace orbitcore;
using orbitcore_test::angle_diff;

namespace {

struct Row {
  std::string body;
  double jd;
  double v[6];
};

std::vector<Row> read_rows(const char* name, int values) {
  std::vector<Row> rows;
  std::ifstream in(std::string(NODALIS_TEST_DATA_DIR) + "/" + name);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    Row r{};
    s >> r.body >> r.jd;
    for (int i = 0; i < values; ++i) s >> r.v[i];
    rows.push_back(r);
  }
  return rows;
}

const std::map<std::string, int> REDUCED_SLOT = {
    {"MERCURY", 1}, {"VENUS", 2},  {"EARTH", 3},   {"MARS", 4},
    {"JUPITER", 5}, {"SATURN", 6}, {"URANUS", 7}, {"NEPTUNE", 8}};

// Precision >= 5e-7 switches the FK5 step off; slot 0 still uses all terms
// (the reduced slots would be truncated, see without_fk5).
constexpr double NO_FK5 = 5e-7;

// Reduced slot at full precision with the FK5 correction taken off again
// (the correction is 0.1" in size, its change with L and B negligible).
int without_fk5(double jd, int slot, double res[6]) {
  const int code = vsop87_evaluate(jd, slot, 0.0, res);
  const double t = (jd - 2451545.0) / 365250.0;
  const double rad_per_deg = orbitcore_test::RAD_PER_DEG;
  const double lp = res[0] - (13.97 * t - 0.031 * t * t) * rad_per_deg;
  res[0] -= (0.03916 * (std::cos(lp) + std::sin(lp)) * std::tan(res[1]) - 0.09033) /
            3600.0 * rad_per_deg;
  res[1] -= 0.03916 * (std::cos(lp) - std::sin(lp)) / 3600.0 * rad_per_deg;
  return code;
}

TEST(Vsop87, CompleteEarthReproducesTheCheckFile) {
  // vsop87.chk prints 10 decimals; the complete series must agree to 1e-10
  // (rad, AU) at all ten dates, 2000 back to 1100, and its rates to 1e-9
  // per day (the check file's rates are the analytical derivatives).
  constexpr double TOL_POS = 1e-10;
  constexpr double TOL_RATE = 1e-9;
  auto rows = read_rows("vsop87d_check.txt", 6);
  int checked = 0;
  for (const Row& r : rows) {
    if (r.body != "EARTH") continue;
    double res[6];
    ASSERT_EQ(vsop87_evaluate(r.jd, SLOT_EARTH_COMPLETE, NO_FK5, res), 0);
    EXPECT_NEAR(angle_diff(res[0], r.v[0]), 0.0, TOL_POS)
        << "JD " << r.jd << " L want " << r.v[0] << " got " << res[0];
    EXPECT_NEAR(res[1], r.v[1], TOL_POS) << "JD " << r.jd << " B";
    EXPECT_NEAR(res[2], r.v[2], TOL_POS) << "JD " << r.jd << " R";
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(res[3 + k], r.v[3 + k], TOL_RATE) << "JD " << r.jd << " rate " << k;
    ++checked;
  }
  EXPECT_EQ(checked, 10);
}

TEST(Vsop87, ReducedSeriesStayNearTheCompleteSeries1800To2200) {
  // Bounds of the reduced series against the complete published series
  // (fixture summed from all terms), 41 dates 1800-2200.  Measured maxima
  // (rad for L, B; AU for R) are listed in docs/accuracy.md; the bounds leave a
  // small margin.
  struct Bound { double lb_rad, r_au; };
  const std::map<std::string, Bound> bound = {
      {"MERCURY", {2.0e-6, 1.2e-6}}, {"VENUS", {2.0e-6, 1.5e-6}},
      {"EARTH", {6.0e-7, 6.0e-7}},   {"MARS", {4.5e-6, 3.0e-6}},
      {"JUPITER", {2.5e-6, 3.5e-6}}, {"SATURN", {2.5e-6, 3.5e-6}},
      {"URANUS", {3.0e-6, 4.5e-6}},  {"NEPTUNE", {2.0e-6, 3.5e-6}}};
  std::map<std::string, double> worst_lb, worst_r;
  auto rows = read_rows("vsop87d_full_1800_2200.txt", 3);
  ASSERT_EQ(rows.size(), 8u * 41u);
  for (const Row& r : rows) {
    double res[6];
    ASSERT_EQ(without_fk5(r.jd, REDUCED_SLOT.at(r.body), res), 0);
    const double dl = std::fabs(angle_diff(res[0], r.v[0]));
    const double db = std::fabs(res[1] - r.v[1]);
    const double dr = std::fabs(res[2] - r.v[2]);
    worst_lb[r.body] = std::max(worst_lb[r.body], std::max(dl, db));
    worst_r[r.body] = std::max(worst_r[r.body], dr);
    EXPECT_LE(std::max(dl, db), bound.at(r.body).lb_rad)
        << r.body << " JD " << r.jd << " L want " << r.v[0] << " got " << res[0]
        << ", B want " << r.v[1] << " got " << res[1];
    EXPECT_LE(dr, bound.at(r.body).r_au)
        << r.body << " JD " << r.jd << " R want " << r.v[2] << " got " << res[2];
  }
  for (const auto& [body, v] : worst_lb)
    std::printf("  %-8s max |dL|,|dB| = %.2e rad  max |dR| = %.2e AU\n",
                body.c_str(), v, worst_r[body]);
}

TEST(Vsop87, ReducedPlanetsReproduceTheCheckFileNearThePresent) {
  // The check file's 1899 and 2000 entries with the reduced series: a few
  // 1e-6 rad at most for every planet.
  constexpr double TOL_RAD = 3e-6;
  for (const Row& r : read_rows("vsop87d_check.txt", 6)) {
    if (r.jd < 2415020.0) continue;
    double res[6];
    ASSERT_EQ(without_fk5(r.jd, REDUCED_SLOT.at(r.body), res), 0);
    EXPECT_NEAR(angle_diff(res[0], r.v[0]), 0.0, TOL_RAD) << r.body << " " << r.jd;
    EXPECT_NEAR(res[1], r.v[1], TOL_RAD) << r.body << " " << r.jd;
  }
}

TEST(Vsop87, ArgumentChecks) {
  double res[6] = {7, 7, 7, 7, 7, 7};
  EXPECT_EQ(vsop87_evaluate(2451545.0, 9, 0.0, res), HELIO_BAD_BODY);
  EXPECT_EQ(vsop87_evaluate(2451545.0, -1, 0.0, res), HELIO_BAD_BODY);
  EXPECT_EQ(vsop87_evaluate(2451545.0, 4, 0.0011, res), HELIO_BAD_PRECISION);
  EXPECT_EQ(vsop87_evaluate(2451545.0, 4, -1e-9, res), HELIO_BAD_PRECISION);
  EXPECT_EQ(vsop87_evaluate(2451545.0, 4, NAN, res), HELIO_BAD_PRECISION);
  for (double v : res) EXPECT_EQ(v, 7.0);  // untouched on error
  EXPECT_EQ(vsop87_evaluate(2451545.0, 4, 0.001, res), HELIO_OK);
}

TEST(Vsop87, TruncationAndFk5Switch) {
  const double jd = 2460000.5;
  double full[6], fk5[6], coarse[6], e0a[6], e0b[6], mars[6];
  ASSERT_EQ(vsop87_evaluate(jd, 0, NO_FK5, full), 0);
  ASSERT_EQ(vsop87_evaluate(jd, 0, 0.0, fk5), 0);
  ASSERT_EQ(vsop87_evaluate(jd, 4, 0.0, mars), 0);
  ASSERT_EQ(vsop87_evaluate(jd, 4, 0.001, coarse), 0);
  // FK5 correction: -0.09033" plus terms of 0.03916" at most.
  const double dl_arcsec = (fk5[0] - full[0]) * orbitcore_test::ARCSEC_PER_RAD;
  EXPECT_LT(std::fabs(dl_arcsec + 0.09033), 0.04) << "FK5 dL " << dl_arcsec << "\"";
  EXPECT_NE(fk5[1], full[1]);
  EXPECT_EQ(fk5[3], full[3]);  // rates are not corrected
  // 0.001 rad truncation keeps only the largest Mars terms: still near.
  EXPECT_NEAR(angle_diff(coarse[0], mars[0]), 0.0, 2e-3);
  EXPECT_NE(coarse[0], mars[0]);
  // Slot 0 ignores the truncation: equal results for any precision >= 5e-7.
  ASSERT_EQ(vsop87_evaluate(jd, 0, NO_FK5, e0a), 0);
  ASSERT_EQ(vsop87_evaluate(jd, 0, 0.001, e0b), 0);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(e0a[k], e0b[k]);
}

// The truncation rule on each of L, B and R: a term of the power-alpha
// series is kept when A >= base / (alpha |t^(alpha-1)| 1e-4 + |t^alpha|),
// base = p 1e8 0.1 / (-log10 p - 2), times the planet's mean distance for
// R (Bretagnon & Francou's rule as orbitcore documents it).  The reference
// walks the published terms one by one with that rule; precisions at or
// above 5e-7 carry no FK5 correction.
TEST(Vsop87, TruncationRuleOnLongitudeLatitudeAndRadius) {
  // Summation order and the reduction of L (thousands of radians far from
  // J2000) only; the smallest term kept is 1e-8 rad or AU.
  constexpr double TOL = 1e-10;
  struct { int slot; double mean_distance_au; } planets[] = {{1, 0.39}, {4, 1.5}, {5, 5.2}, {7, 19.2}};
  for (const auto& planet : planets) {
    const Vsop87Slot& s = VSOP87_SLOTS[planet.slot];
    for (double p : {5e-7, 1e-6, 3e-5, 1e-4}) {
      for (double jd : {2451545.0, 2816787.5, 1355807.5}) {
        const double t = (jd - 2451545.0) / 365250.0;
        const double base = p * 1e8 * 0.1 / (-std::log10(p) - 2.0);
        double want[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
          int begin = s.index[0][k];
          for (int alpha = 0; alpha < 6 && s.index[alpha + 1][k] != 0; ++alpha) {
            const int end = s.index[alpha + 1][k];
            double limit = alpha == 0 ? base
                                      : base / (alpha * std::pow(std::fabs(t), alpha - 1) * 1e-4 +
                                                std::pow(std::fabs(t), alpha));
            if (k == 2) limit *= planet.mean_distance_au;
            double sum = 0;
            for (int i = begin; i < end; ++i)
              if (s.terms[i].a >= limit) sum += s.terms[i].a * std::cos(s.terms[i].b + s.terms[i].c * t);
            want[k] += std::pow(t, alpha) * sum * 1e-8;
            begin = end;
          }
        }
        want[0] = std::fmod(want[0], 2 * orbitcore_test::PI);
        if (want[0] < 0) want[0] += 2 * orbitcore_test::PI;
        double got[6];
        ASSERT_EQ(vsop87_evaluate(jd, planet.slot, p, got), 0);
        const char* names[3] = {"L", "B", "R"};
        for (int k = 0; k < 3; ++k)
          EXPECT_NEAR(got[k], want[k], TOL)
              << names[k] << " slot " << planet.slot << " p " << p << " JD " << jd;
      }
    }
  }
}

TEST(Vsop87, RatesAtJ2000AndAgainstDifferences) {
  // At t = 0 only power-0 sums enter the position; the rates must still
  // match a central difference of the positions.
  for (int slot = 0; slot < 9; ++slot) {
    double a[6], b[6], c[6];
    ASSERT_EQ(vsop87_evaluate(2451545.0, slot, NO_FK5, a), 0);
    constexpr double H_DAYS = 0.01;
    ASSERT_EQ(vsop87_evaluate(2451545.0 - H_DAYS, slot, NO_FK5, b), 0);
    ASSERT_EQ(vsop87_evaluate(2451545.0 + H_DAYS, slot, NO_FK5, c), 0);
    EXPECT_NEAR(a[3], angle_diff(c[0], b[0]) / (2 * H_DAYS), 1e-8) << "slot " << slot;
    EXPECT_NEAR(a[4], (c[1] - b[1]) / (2 * H_DAYS), 1e-9) << "slot " << slot;
    EXPECT_NEAR(a[5], (c[2] - b[2]) / (2 * H_DAYS), 1e-9) << "slot " << slot;
  }
}

// The complete Earth summed term by term with the C library's sine and
// cosine, in published order (L, B, R; no FK5, no rates).
void EarthWithLibm(double jd, double out[3]) {
  const Vsop87Slot& s = VSOP87_SLOTS[SLOT_EARTH_COMPLETE];
  const double t = (jd - 2451545.0) / 365250.0;
  for (int k = 0; k < 3; ++k) {
    out[k] = 0.0;
    double tp = 1.0;
    int begin = s.index[0][k];
    for (int alpha = 0; alpha < 6 && s.index[alpha + 1][k] != 0; ++alpha, tp *= t) {
      double sum = 0.0;
      for (int i = begin; i < s.index[alpha + 1][k]; ++i)
        sum += s.terms[i].a * std::cos(s.terms[i].b + s.terms[i].c * t);
      out[k] += tp * sum;
      begin = s.index[alpha + 1][k];
    }
    out[k] *= 1e-8;
  }
}

// The branch-free sine and cosine serve the complete Earth from -2870 to
// +6870 (arguments up to 1.6e6 rad); there the result stays within
// rounding of the C library's: 2e-15 of the sum before L is reduced to one
// turn (L reaches -30 000 rad in -2800, whose last bit is 4e-12 rad).
TEST(Vsop87, CompleteEarthWithinRoundingOfTheCLibraryFromMinus2800To6800) {
  constexpr double TOL = 2e-15;  // relative to max(1, |sum|)
  double worst = 0.0;
  for (double jd = 698645.5; jd <= 4204985.5; jd += 3652.5 * 7.77) {
    double got[6], want[3];
    ASSERT_EQ(vsop87_evaluate(jd, SLOT_EARTH_COMPLETE, NO_FK5, got), 0);
    EarthWithLibm(jd, want);
    const double d[3] = {std::fabs(angle_diff(got[0], want[0])), std::fabs(got[1] - want[1]),
                         std::fabs(got[2] - want[2])};
    for (int k = 0; k < 3; ++k) {
      const double rel = d[k] / std::fmax(1.0, std::fabs(want[k]));
      EXPECT_LE(rel, TOL) << "JD " << jd << " result " << k << " want " << want[k] << " got "
                          << got[k];
      worst = std::fmax(worst, rel);
    }
  }
  std::printf("[ vsop87 ] complete Earth -2800..+6800: largest relative difference from libm %.2g\n",
              worst);
}

TEST(Vsop87, ReducedEarthIsCloseToCompleteEarth) {
  // The omitted small terms change the Earth by well below 1e-6 rad.
  for (double jd = 2415020.5; jd <= 2488069.5; jd += 1234.5) {
    double full[6], red[6];
    vsop87_evaluate(jd, SLOT_EARTH_COMPLETE, 0.0, full);
    vsop87_evaluate(jd, SLOT_EARTH_REDUCED, 0.0, red);
    EXPECT_LT(std::fabs(angle_diff(red[0], full[0])), 1e-6) << jd;
    EXPECT_LT(std::fabs(red[1] - full[1]), 1e-6) << jd;
    EXPECT_LT(std::fabs(red[2] - full[2]), 1e-6) << jd;
  }
}

TEST(HelioCache, RepeatedRequestIsAHitAndCountsUses) {
  const double jd = 2455555.123;
  double a[6], b[6];
  ASSERT_EQ(helio_position(jd, 5, 0.0, a), 0);
  const HelioCacheEntry* cache = helio_cache_entries();
  ASSERT_NE(cache, nullptr);
  int idx = -1;
  for (int i = 1; i < HELIO_CACHE_SIZE; ++i)
    if (cache[i].jd == jd && cache[i].body == 5) idx = i;
  ASSERT_GT(idx, 0);
  const int count = cache[idx].use_count;
  ASSERT_EQ(helio_position(jd, 5, 0.0, b), 0);
  EXPECT_EQ(cache[idx].use_count, count + 1);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(a[k], b[k]);
  // Another precision is another entry.
  ASSERT_EQ(helio_position(jd, 5, 1e-6, b), 0);
  EXPECT_EQ(cache[idx].use_count, count + 1);
  // Entry 0 is never used for a result while others have small counts.
  EXPECT_NE(cache[0].jd, jd);
}

TEST(HelioCache, ErrorsAreReturnedAndBadBodiesLeaveResults) {
  double res[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(helio_position(2451545.0, 10, 0.0, res), HELIO_BAD_BODY);
  EXPECT_EQ(helio_position(2451545.0, -1, 0.0, res), HELIO_BAD_BODY);
  EXPECT_EQ(res[0], 1.0);
  EXPECT_EQ(helio_position(2451545.0, 4, 0.002, res), HELIO_BAD_PRECISION);
  EXPECT_EQ(helio_position(2451545.0, 4, 0.002, res), HELIO_BAD_PRECISION);  // cached
}

TEST(HelioCache, UnfilledEntriesNeverMatch) {
  // The initial key (-1e7) must not return the zero results of an empty
  // entry: the first request for that date is computed.
  double res[6];
  ASSERT_EQ(helio_position(-10000000.0, 0, 0.0, res), 0);
  EXPECT_NE(res[2], 0.0);
}

TEST(HelioCache, ManyDatesEvictLeastUsed) {
  // More than 79 distinct requests: every one is answered correctly.
  for (int i = 0; i < 200; ++i) {
    const double jd = 2440000.5 + i * 3.25;
    double cached[6], direct[6];
    helio_position(jd, 2, 0.0, cached);
    vsop87_evaluate(jd, 2, 0.0, direct);
    for (int k = 0; k < 6; ++k) ASSERT_EQ(cached[k], direct[k]) << i;
  }
}

}  // namespace
