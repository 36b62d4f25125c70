// The vector builds of orbitcore's kernels (x86-64 baseline, AVX2 with FMA,
// AVX-512; simd_dispatch.h) give the same bits: VSOP87, the nutation and the
// lunar series, each evaluated in every build this processor can run.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ephem/moon_position.h"
#include "ephem/orbitcore_internal.h"
#include "ephem/simd_dispatch.h"

using namespace orbitcore;

namespace {

// Every result of the three computations at jd, in one list.
std::vector<double> Results(double jd) {
  std::vector<double> out;
  double helio[HELIO_RESULTS];
  for (int slot : {SLOT_EARTH_COMPLETE, 4, 6}) {
    vsop87_evaluate(jd, slot, 0.0, helio);
    out.insert(out.end(), helio, helio + HELIO_RESULTS);
  }
  double dpsi, deps;
  nutation(jd + 1.0, &dpsi, &deps);  // a new key: no cache hit
  nutation(jd, &dpsi, &deps);
  out.push_back(dpsi);
  out.push_back(deps);
  double lon, lat, delta;
  moon_position(jd, &lon, &lat, &delta);
  out.insert(out.end(), {lon, lat, delta});
  return out;
}

TEST(SimdBuilds, EveryBuildGivesTheSameBits) {
  std::vector<int> levels;
  for (int level = SIMD_BASELINE; level <= simd_supported(); ++level) levels.push_back(level);
  std::printf("[ simd ] builds compared: %zu (0 baseline, 1 AVX2, 2 AVX-512)\n", levels.size());
  for (double jd = 990557.5; jd < 3500000.0; jd += 9876.54) {
    simd_set_limit(SIMD_BASELINE);
    const std::vector<double> want = Results(jd);
    for (int level : levels) {
      simd_set_limit(level);
      const std::vector<double> got = Results(jd);
      ASSERT_EQ(got.size(), want.size());
      for (std::size_t k = 0; k < want.size(); ++k)
        EXPECT_EQ(std::memcmp(&got[k], &want[k], sizeof(double)), 0)
            << "JD " << jd << " build " << level << " result " << k << " want " << want[k]
            << " got " << got[k];
    }
  }
  simd_set_limit(SIMD_AVX512);
}

}  // namespace
