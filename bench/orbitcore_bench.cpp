// orbitcore speed: the eclipse search's hot path.
//
//   Sun_NewDate          _planetinfo(jd, 1020, 8), a new date every call
//                        (complete 2425-term Earth, nutation, obliquity)
//   Sun_SameDateRepeat   the second and third call for one date and body
//   Planet_NewDate/<b>   a reduced-series planet (1001 ... 1009), new date
//   Moon_NewDate         body 1011 (lunar series with light time), new date
//   Vsop87_EarthComplete vsop87_evaluate slot 0 alone
//   Nutation_NewDate     the 106-term nutation alone
#include <benchmark/benchmark.h>

#include "ephem/orbitcore.h"
#include "ephem/orbitcore_internal.h"

namespace {

constexpr double BASE_JD = 2451545.0;
constexpr double STEP_DAYS = 0.013;  // every call a date never seen before

// _planetinfo(jd, body, 8) at a new date every call, from start_jd on.
void PlanetinfoNewDates(benchmark::State& state, int body, double start_jd) {
  double jd = start_jd;
  for (auto _ : state) {
    jd += STEP_DAYS;
    benchmark::DoNotOptimize(_planetinfo(jd, body, 8));
  }
}

void Sun_NewDate(benchmark::State& state) { PlanetinfoNewDates(state, 1020, BASE_JD); }
BENCHMARK(Sun_NewDate);

void Sun_SameDateRepeat(benchmark::State& state) {
  const double jd = 2461000.25;
  _planetinfo(jd, 1020, 8);
  int item = 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(_planetinfo(jd, 1020, item));
    item = item == 3 ? 9 : 3;
  }
}
BENCHMARK(Sun_SameDateRepeat);

void Planet_NewDate(benchmark::State& state) {
  const int body = static_cast<int>(state.range(0));
  PlanetinfoNewDates(state, body, BASE_JD + body * 1000.0);
}
BENCHMARK(Planet_NewDate)->DenseRange(1001, 1009);

void Moon_NewDate(benchmark::State& state) { PlanetinfoNewDates(state, 1011, BASE_JD); }
BENCHMARK(Moon_NewDate);

void Vsop87_EarthComplete(benchmark::State& state) {
  double jd = BASE_JD;
  double res[6];
  for (auto _ : state) {
    jd += STEP_DAYS;
    benchmark::DoNotOptimize(orbitcore::vsop87_evaluate(jd, 0, 0.0, res));
  }
}
BENCHMARK(Vsop87_EarthComplete);

void Nutation_NewDate(benchmark::State& state) {
  double jd = BASE_JD;
  double dpsi, deps;
  for (auto _ : state) {
    jd += STEP_DAYS;
    orbitcore::nutation(jd, &dpsi, &deps);
    benchmark::DoNotOptimize(dpsi);
  }
}
BENCHMARK(Nutation_NewDate);

}  // namespace

BENCHMARK_MAIN();
