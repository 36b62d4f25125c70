// orbitcore Moon: one series evaluation, and moon_geocentric with light time
// (two evaluations) at a new date every call, as a series build asks for it.
#include <benchmark/benchmark.h>

#include "moon_position.h"
#include "moon_series.h"

namespace {

// A new date each iteration so that no cache can answer.
constexpr double START_JD = 2451545.0;
constexpr double STEP_DAYS = 0.3713;

void BM_MoonPosition(benchmark::State& state) {
  double jd = START_JD, lon, lat, delta;
  for (auto _ : state) {
    orbitcore::moon_position(jd, &lon, &lat, &delta);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(delta);
    jd += STEP_DAYS;
  }
}
BENCHMARK(BM_MoonPosition);

void BM_MoonGeocentricLightTime(benchmark::State& state) {
  double jd = START_JD, lon, lat, delta;
  for (auto _ : state) {
    orbitcore::moon_geocentric(jd, 1, &lon, &lat, &delta);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(delta);
    jd += STEP_DAYS;
  }
}
BENCHMARK(BM_MoonGeocentricLightTime);

}  // namespace

BENCHMARK_MAIN();
