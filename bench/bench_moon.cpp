// orbitcore Moon at a new date every call, as a series build asks for it:
//   BM_MoonPosition              one evaluation of the series (moon_position)
//   BM_MoonGeocentricLightTime   moon_geocentric with light time (two)
//   BM_PlanetinfoMoon            _planetinfo(jd, 1011, 8): the whole pipeline
//   BM_PlanetinfoMoonThreeItems  _planetinfo(jd, 1011, 3), (..., 8), (..., 9)
//                                for one new date, three calls, as the
//                                program reads distance, longitude, latitude
//   BM_SunThenMoonSixItems       the same three items of the Sun (1020), then
//                                of the Moon, for one new date: one instant
//                                of a series (nutation and obliquity shared)
#include <benchmark/benchmark.h>

#include "ephem/moon_position.h"
#include "ephem/moon_geocentric.h"
#include "ephem/orbitcore.h"

namespace {

// A new date each iteration so that no cache can answer.
constexpr double START_JD = 2451545.0;
constexpr double STEP_DAYS = 0.3713;

// moon(jd, &lon, &lat, &delta) at a new date every call.
template <typename MoonAt>
void MoonNewDates(benchmark::State& state, MoonAt moon) {
  double jd = START_JD, lon, lat, delta;
  for (auto _ : state) {
    moon(jd, &lon, &lat, &delta);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(delta);
    jd += STEP_DAYS;
  }
}

void BM_MoonPosition(benchmark::State& state) {
  MoonNewDates(state, orbitcore::moon_position);
}
BENCHMARK(BM_MoonPosition);

void BM_MoonGeocentricLightTime(benchmark::State& state) {
  MoonNewDates(state, [](double jd, double* lon, double* lat, double* delta) {
    orbitcore::moon_geocentric(jd, 1, lon, lat, delta);
  });
}
BENCHMARK(BM_MoonGeocentricLightTime);

// The whole apparent-place pipeline for body 1011 (light time, nutation,
// obliquity, equatorial coordinates) as the program calls it, item 8.
void BM_PlanetinfoMoon(benchmark::State& state) {
  double jd = START_JD;
  for (auto _ : state) {
    benchmark::DoNotOptimize(_planetinfo(jd, 1011, 8));
    jd += STEP_DAYS;
  }
}
BENCHMARK(BM_PlanetinfoMoon);

void BM_PlanetinfoMoonThreeItems(benchmark::State& state) {
  double jd = START_JD;
  for (auto _ : state) {
    benchmark::DoNotOptimize(_planetinfo(jd, 1011, 3));
    benchmark::DoNotOptimize(_planetinfo(jd, 1011, 8));
    benchmark::DoNotOptimize(_planetinfo(jd, 1011, 9));
    jd += STEP_DAYS;
  }
}
BENCHMARK(BM_PlanetinfoMoonThreeItems);

void BM_SunThenMoonSixItems(benchmark::State& state) {
  double jd = START_JD;
  for (auto _ : state) {
    for (int body : {1020, 1011})
      for (int item : {3, 8, 9}) benchmark::DoNotOptimize(_planetinfo(jd, body, item));
    jd += STEP_DAYS;
  }
}
BENCHMARK(BM_SunThenMoonSixItems);

}  // namespace

BENCHMARK_MAIN();
