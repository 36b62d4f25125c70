// lunaris' evaluation of its generated tables (products shared, arguments
// grouped by slots, sums in lanes; elp82b_layout.h) against a
// straightforward walk of the tables in their stored order, which sums
// every term into its slot one after the other: the two may differ by the
// order of the sums only.  And the vector build gives the bits of the
// baseline build, for the series and for the light-time distance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "lunaris/elp82b.h"
#include "ephem/simd_dispatch.h"
#include "lunaris/generated/elp82b_tables.h"

namespace {

using namespace lunaris::tables;

constexpr double PI = 3.14159265358979323846;
constexpr double RAD_PER_ARCSEC = PI / 648000.0;
constexpr double A0_OVER_ATH = 384747.9806448954 / 384747.9806743165;

// Largest difference allowed, relative to the quantity's scale: a full turn
// for the longitude, the latitude's amplitude (5.3 deg; the latitude passes
// through zero), the distance itself.
constexpr double MAX_RELATIVE_DIFF = 1e-12;
constexpr double LATITUDE_SCALE_RAD = 5.3 * PI / 180.0;

struct Vur {
  double v, u, r;
};

// The tables walked in stored order: multiples by recurrence, each partial
// as the product of its factors, each argument of its two partials, every
// coefficient pair added to its slot in turn.
Vur Walk(double jd) {
  const double t = (jd - 2451545.0) / 36525.0;
  double angle[ELP_NBASE], w1;
  lunaris::elp82b_base_angles(t, angle, &w1, lunaris::LUNARIS_SECULAR);
  static double mc[ELP_NMULT_MAX], ms[ELP_NMULT_MAX], pc[ELP_NPART_MAX], ps[ELP_NPART_MAX];
  for (int j = 0; j < ELP_NBASE; ++j) {
    const int o = ELP_BASE_OFFSET[j];
    const double c1 = std::cos(angle[j]), s1 = std::sin(angle[j]);
    mc[o] = 1.0;
    ms[o] = 0.0;
    for (int k = 1; k <= ELP_BASE_KMAX[j]; ++k) {
      mc[o + k] = mc[o - k] = mc[o + k - 1] * c1 - ms[o + k - 1] * s1;
      ms[o + k] = ms[o + k - 1] * c1 + mc[o + k - 1] * s1;
      ms[o - k] = -ms[o + k];
    }
  }
  const unsigned short* fac = ELP_PART_FACTOR;
  for (int p = 0; p < ELP_NPART; ++p) {
    double re = 1.0, im = 0.0;
    for (int n = ELP_PART_NFACTOR[p]; n > 0; --n, ++fac) {
      const double x = re * mc[*fac] - im * ms[*fac];
      im = re * ms[*fac] + im * mc[*fac];
      re = x;
    }
    pc[p] = re;
    ps[p] = im;
  }
  double sum[ELP_NSLOT] = {};
  const unsigned char* slot = ELP_COEF_SLOT;
  const ElpCoef* coef = ELP_COEF;
  for (int i = 0; i < ELP_NARG; ++i) {
    const int a = ELP_ARG_PART[2 * i], b = ELP_ARG_PART[2 * i + 1];
    const double re = pc[a] * pc[b] - ps[a] * ps[b];
    const double im = pc[a] * ps[b] + ps[a] * pc[b];
    for (int n = ELP_ARG_NCOEF[i]; n > 0; --n, ++coef, ++slot)
      sum[*slot] += coef->c * re + coef->s * im;
  }
  return {w1 + (sum[0] + t * (sum[1] + t * sum[2])) * RAD_PER_ARCSEC,
          (sum[3] + t * (sum[4] + t * sum[5])) * RAD_PER_ARCSEC,
          (sum[6] + t * (sum[7] + t * sum[8])) * A0_OVER_ATH};
}

// 5000 years in steps of 173.37 days.
TEST(Elp82bEvaluation, AgreesWithTheStoredOrderWithinRounding) {
  double max_v = 0, max_u = 0, max_r = 0;
  int n = 0;
  for (double jd = 990557.5; jd < 2816788.0; jd += 173.37, ++n) {
    Vur got;
    lunaris::elp82b_geometric(jd, &got.v, &got.u, &got.r);
    const Vur want = Walk(jd);
    ASSERT_TRUE(std::isfinite(got.v) && std::isfinite(got.u) && std::isfinite(got.r)) << jd;
    const double dv = std::fabs(got.v - want.v) / (2 * PI);
    const double du = std::fabs(got.u - want.u) / LATITUDE_SCALE_RAD;
    const double dr = std::fabs(got.r - want.r) / want.r;
    EXPECT_LE(dv, MAX_RELATIVE_DIFF) << "JD " << jd << " V want " << want.v << " got " << got.v;
    EXPECT_LE(du, MAX_RELATIVE_DIFF) << "JD " << jd << " U want " << want.u << " got " << got.u;
    EXPECT_LE(dr, MAX_RELATIVE_DIFF) << "JD " << jd << " r want " << want.r << " got " << got.r;
    max_v = std::fmax(max_v, dv);
    max_u = std::fmax(max_u, du);
    max_r = std::fmax(max_r, dr);
  }
  std::printf("[ elp82b ] %d dates: largest relative difference V %.2g, U %.2g, r %.2g\n", n,
              max_v, max_u, max_r);
}

// The arguments' reduction to one turn gives std::fmod's value, bit for bit,
// over the magnitudes of the theory's arguments and beyond, on both sides
// of zero and next to multiples of the turn.
TEST(Elp82bEvaluation, TurnReductionIsTheCLibrarysFmod) {
  constexpr double TURN = 1296000.0;
  int checked = 0;
  auto check = [&](double x) {
    const double want = std::fmod(x, TURN), got = lunaris::fmod_arcsec_turn(x);
    EXPECT_EQ(std::memcmp(&want, &got, sizeof(double)), 0) << "x " << x << " want " << want
                                                           << " got " << got;
    ++checked;
  };
  for (double x = 0.37; x < 1e17; x *= 1.0137) {
    for (double sign : {1.0, -1.0}) {
      check(sign * x);
      const double k = std::floor(x / TURN) * TURN;
      for (double y : {k, std::nextafter(k, 0.0), std::nextafter(k, 2 * k + 1), k + TURN})
        check(sign * y);
    }
  }
  for (double x : {0.0, -0.0, TURN, -TURN, 4e15, -4e15, 1e300}) check(x);
  EXPECT_GT(checked, 20000);
}

TEST(Elp82bEvaluation, EveryBuildGivesTheSameBits) {
  for (double jd = 1200000.25; jd < 3200000.0; jd += 17777.7) {
    double want[4], got[4];
    orbitcore::simd_set_limit(orbitcore::SIMD_BASELINE);
    lunaris::elp82b_geometric(jd, &want[0], &want[1], &want[2]);
    want[3] = lunaris::elp82b_light_time_distance(jd);
    for (int level = orbitcore::SIMD_BASELINE; level <= orbitcore::simd_supported(); ++level) {
      orbitcore::simd_set_limit(level);
      lunaris::elp82b_geometric(jd, &got[0], &got[1], &got[2]);
      got[3] = lunaris::elp82b_light_time_distance(jd);
      for (int k = 0; k < 4; ++k)
        EXPECT_EQ(std::memcmp(&got[k], &want[k], sizeof(double)), 0)
            << "JD " << jd << " build " << level << " result " << k << " want " << want[k]
            << " got " << got[k];
    }
  }
  orbitcore::simd_set_limit(orbitcore::SIMD_AVX512);
}

}  // namespace
