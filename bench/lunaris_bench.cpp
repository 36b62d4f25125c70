// lunaris benchmarks.  Every iteration uses a new date (no caching exists,
// but the date changes so that nothing can be hoisted).
#include <benchmark/benchmark.h>

#include "lunaris/elp82b.h"
#include "lunaris/lunaris.h"

namespace {

// Target: <= 150 us per call, light-time step included.
void BM_clunaris(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    double x, y, z, lon, lat, dist;
    _clunaris(jd, &x, &y, &z, &lon, &lat, &dist);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(dist);
    jd += 0.731;
  }
}
BENCHMARK(BM_clunaris)->Unit(benchmark::kMicrosecond);

// One evaluation of the generated series (V, U, r).
void BM_elp82b_geometric(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    double v, u, r;
    lunaris::elp82b_geometric(jd, &v, &u, &r);
    benchmark::DoNotOptimize(v);
    jd += 0.731;
  }
  state.counters["terms"] = lunaris::elp82b_term_count();
}
BENCHMARK(BM_elp82b_geometric)->Unit(benchmark::kMicrosecond);

// The abbreviated distance that sizes the light-time step.
void BM_elp82b_light_time_distance(benchmark::State& state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lunaris::elp82b_light_time_distance(jd));
    jd += 0.731;
  }
}
BENCHMARK(BM_elp82b_light_time_distance)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
