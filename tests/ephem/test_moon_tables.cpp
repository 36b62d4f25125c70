// The generated lunar series: stream format, sizes, degree distribution,
// descriptor bytes and the telling rows (ELP 2000-82B amplitudes with the
// DE200/LE200 fit corrections, merged across its files; the polynomial term
// and the 4 EMB - 8 Mars + 3 Jupiter row are the series' own, exactly).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdint>
#include <vector>

#include "ephem/moon_series_tables.h"

namespace {

using orbitcore::MoonSeries;

struct Term {
  std::vector<std::pair<int, int>> factors;  // (multiple, argument number)
  int degree = 0;
  std::vector<std::int32_t> coef;       // as stored, highest power first
  std::vector<std::int32_t> coef_dist;  // distance stream, if any
};

// Walks a term stream as the format defines it; stops at n < 0.
std::vector<Term> Walk(const MoonSeries& s) {
  std::vector<Term> out;
  const std::int16_t* ts = s.terms;
  const std::int32_t* c1 = s.coef;
  const std::int32_t* c2 = s.coef_dist;
  for (int guard = 0; guard < 100000; ++guard) {
    const int n = *ts++;
    if (n < 0) break;
    Term t;
    for (int f = 0; f < n; ++f, ts += 2) t.factors.emplace_back(ts[0], ts[1]);
    t.degree = *ts++;
    const int count = (n == 0 ? 1 : 2) * (t.degree + 1);
    t.coef.assign(c1, c1 + count);
    c1 += count;
    if (c2) {
      t.coef_dist.assign(c2, c2 + count);
      c2 += count;
    }
    out.push_back(t);
  }
  return out;
}

const Term* Find(const std::vector<Term>& terms,
                 std::vector<std::pair<int, int>> factors) {
  for (const Term& t : terms)
    if (t.factors == factors) return &t;
  return nullptr;
}

// Constant (tau^0) cosine and sine coefficients of a periodic term.
std::pair<int, int> Constant(const std::vector<std::int32_t>& c) {
  return {c[c.size() - 2], c[c.size() - 1]};
}

TEST(MoonTables, SizesAndDegreesOfBothSeries) {
  struct Case {
    const char* name;
    const MoonSeries& series;
    std::size_t terms;
    std::array<int, 4> degrees;  // periodic terms of degree 0..3
    int max_factors;
    std::array<int, 18> max_multiple;  // descriptor bytes
  };
  const Case cases[] = {
      {"longitude/distance", orbitcore::kMoonLonDistSeries, 632, {509, 99, 20, 3}, 5,
       {3, 26, 29, 23, 5, 10, 0, 0, 0, 8, 4, 4, 6, 2, 0, 0, 0, 0}},
      {"latitude", orbitcore::kMoonLatSeries, 361, {307, 43, 9, 1}, 5,
       {0, 26, 29, 8, 3, 5, 0, 0, 0, 6, 5, 3, 5, 1, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto terms = Walk(c.series);
    ASSERT_EQ(terms.size(), c.terms) << "want " << c.terms << " terms";
    EXPECT_TRUE(terms[0].factors.empty()) << "first term is the polynomial term";
    std::array<int, 4> deg{};
    std::array<int, 18> used{};
    for (std::size_t i = 1; i < terms.size(); ++i) {
      const Term& t = terms[i];
      ASSERT_GE(t.factors.size(), 1u) << "term " << i;
      ASSERT_LE(static_cast<int>(t.factors.size()), c.max_factors) << "term " << i;
      ASSERT_GE(t.degree, 0);
      ASSERT_LE(t.degree, 3);
      ++deg[t.degree];
      for (auto [m, a] : t.factors) {
        // Argument 9 is always zero and 15..18 are never referenced.
        ASSERT_TRUE(a >= 1 && a <= 14 && a != 9) << "term " << i << " argument " << a;
        ASSERT_NE(m, 0);
        ASSERT_LE(std::abs(m), 29);
        used[a - 1] = std::max(used[a - 1], std::abs(m));
      }
    }
    EXPECT_EQ(deg, c.degrees);
    for (int a = 0; a < 18; ++a) {
      EXPECT_EQ(c.series.max_multiple[a], c.max_multiple[a])
          << "descriptor multiple of argument " << a + 1;
      EXPECT_EQ(used[a], c.series.max_multiple[a])
          << "highest multiple the terms use, argument " << a + 1;
    }
    EXPECT_DOUBLE_EQ(c.series.time_unit_days, 3652500.0);
    EXPECT_DOUBLE_EQ(c.series.scale, 0.0001);
  }
  EXPECT_DOUBLE_EQ(orbitcore::kMoonLonDistSeries.a0_au, 0.00257356868953);
  EXPECT_DOUBLE_EQ(orbitcore::kMoonLatSeries.a0_au, 0.0);
  EXPECT_EQ(orbitcore::kMoonLatSeries.coef_dist, nullptr);
  // Multiples up to 29 occur (Earth-Moon barycentre).
  EXPECT_EQ(orbitcore::kMoonLonDistSeries.max_multiple[2], 29);
}

// Telling rows, constant coefficients in 0.0001 arcsec.  The dominant
// component must agree within DOMINANT_TOL (a missing DE200/LE200 correction
// moves the 22639.55" term by 358 units, a missing merge of the planetary
// tables moves the 2D - l term by 355); the small cosine part of a sine term
// is held to MINOR_TOL.
constexpr int DOMINANT_TOL = 25;   // 0.0025 arcsec
constexpr int MINOR_TOL = 300;     // 0.03 arcsec

TEST(MoonTables, TellingRowsOfTheTheory) {
  const auto ld = Walk(orbitcore::kMoonLonDistSeries);
  const auto bt = Walk(orbitcore::kMoonLatSeries);
  struct Row {
    const char* name;
    const std::vector<Term>* series;
    std::vector<std::pair<int, int>> factors;
    bool distance;
    int want_cos, want_sin;
    int tol_cos, tol_sin;
  };
  const Row rows[] = {
      {"longitude l", &ld, {{1, 13}}, false, -2, 226395859, MINOR_TOL, DOMINANT_TOL},
      {"distance l", &ld, {{1, 13}}, true, -112000844, 0, DOMINANT_TOL, MINOR_TOL},
      {"longitude 2D-l", &ld, {{2, 10}, {-1, 13}}, false, -9, 45864958, MINOR_TOL, DOMINANT_TOL},
      {"distance 2D-l", &ld, {{2, 10}, {-1, 13}}, true, -19818328, 0, DOMINANT_TOL, MINOR_TOL},
      {"longitude 2D", &ld, {{2, 10}}, false, 0, 23699298, MINOR_TOL, DOMINANT_TOL},
      {"distance 2D", &ld, {{2, 10}}, true, -15836758, 0, DOMINANT_TOL, MINOR_TOL},
      {"latitude F", &bt, {{1, 11}}, false, 0, 184612405, MINOR_TOL, DOMINANT_TOL},
      {"latitude l+F", &bt, {{1, 11}, {1, 13}}, false, 0, 10101666, MINOR_TOL, DOMINANT_TOL},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const Term* t = Find(*r.series, r.factors);
    ASSERT_NE(t, nullptr) << "term missing";
    auto [c, s] = Constant(r.distance ? t->coef_dist : t->coef);
    EXPECT_NEAR(c, r.want_cos, r.tol_cos) << "cos want " << r.want_cos << " got " << c;
    EXPECT_NEAR(s, r.want_sin, r.tol_sin) << "sin want " << r.want_sin << " got " << s;
  }
}

// The rows that belong to the series' own argument fit, exactly (highest
// power of tau first): the polynomial term, whose longitude and distance
// carry the fit's secular remainder, and the long-period planetary term
// 4 EMB - 8 Mars + 3 Jupiter (about 1780 years), degree 1.
TEST(MoonTables, OwnRowsExactly) {
  const auto ld = Walk(orbitcore::kMoonLonDistSeries);
  ASSERT_FALSE(ld.empty());
  const Term& poly = ld.front();
  EXPECT_TRUE(poly.factors.empty());
  EXPECT_EQ(poly.degree, 3);
  EXPECT_EQ(poly.coef, (std::vector<std::int32_t>{175667, 66453, 5249, -42}));
  EXPECT_EQ(poly.coef_dist, (std::vector<std::int32_t>{-5422, -2120, 1077, 772}));

  const Term* p = Find(ld, {{4, 3}, {-8, 4}, {3, 5}});
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->degree, 1);
  EXPECT_EQ(p->coef, (std::vector<std::int32_t>{20057, 403, -2360, 6148}));
}

}  // namespace
