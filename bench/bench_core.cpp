// Benchmarks of the eclipse core.  Figures go into README ("Eclipse core").
//
// BM_Saros145/<mode>: the whole series as Recompute makes it (lunar choice,
// eclipse new moon, BuildSeriesComputed, table) for Saros 145 from the
// eclipse of 2017 Aug 21, in each lunar mode: "Auto" (which takes the Moon
// from orbitcore for that date), "ELP2000" (lunaris), "DE404" (orbitcore).
// BM_CanonSeries: BuildSeriesFromCanon from the canon file named by
// NODALIS_CANON (skipped when unset), made by tools/nasa_canon_to_canon.py.
// BM_BesselElements: one set of elements.
// BM_Circumstances: the circumstances of one eclipse (CalcEclipse done).
// BM_Catalog: every eclipse of -1999 ... 3000 with its circumstances and
// Saros places (one run; "ELP2000", the canon's Delta T).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "CanonReader.h"
#include "EclipseCatalog.h"
#include "SarosSearch.h"
#include "SeriesBuilder.h"
#include "SeriesState.h"

using namespace nodalis;

namespace {
constexpr long double AUG_2017_NEW_MOON_JD = 2457987.27L;

void BM_Saros145(benchmark::State& state, LunarMode mode) {
  RecomputeSettings settings;
  settings.Lunar = mode;
  std::vector<std::string> memo;
  int32_t saros = 0;
  bool elp = false;
  std::string message;
  for (auto _ : state) {
    SelectedJD = AUG_2017_NEW_MOON_JD;
    if (!RecomputeSeries(settings, memo, saros, elp, message)) {
      state.SkipWithError(message.c_str());
      return;
    }
    benchmark::DoNotOptimize(memo.data());
  }
  state.SetLabel(elp ? "Moon from lunaris" : "Moon from orbitcore");
  state.counters["saros"] = saros;
  state.counters["members"] = static_cast<double>(SeriesList.size()) - 2;
}

void BM_CanonSeries(benchmark::State& state) {
  const char* path = std::getenv("NODALIS_CANON");
  if (!path) {
    state.SkipWithError("NODALIS_CANON not set");
    return;
  }
  CanonPath = path;
  UseLunarLib = true;
  std::vector<std::string> list;
  for (auto _ : state) {
    BuildSeriesFromCanon(list, AUG_2017_NEW_MOON_JD);
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["members"] = static_cast<double>(list.size()) - 2;
}

void BM_BesselElements(benchmark::State& state) {
  UseLunarLib = state.range(0) != 0;
  BesselRec r;
  long double jd = AUG_2017_NEW_MOON_JD;
  for (auto _ : state) {
    jd += SAROS_DAYS;  // a new date every time, as in a series build
    if (jd > 2800000) jd = AUG_2017_NEW_MOON_JD;
    BesselElements(jd, 0, r);
    benchmark::DoNotOptimize(r.X);
  }
}

void BM_Circumstances(benchmark::State& state) {
  UseLunarLib = true;
  BesselRec r;
  CalcEclipse(0, true, r, AUG_2017_NEW_MOON_JD);
  for (auto _ : state) {
    const EclipseCircumstances c = Circumstances(r, DeltaTModel::EspenakMeeus2006);
    benchmark::DoNotOptimize(c.LatitudeDeg);
  }
}

void BM_Catalog(benchmark::State& state) {
  UseLunarLib = true;
  std::vector<CatalogEntry> out;
  for (auto _ : state) {
    BuildEclipseCatalog(CalendarToJD(-1999, 1, 1.0f), CalendarToJD(3001, 1, 1.0f),
                        DeltaTModel::EspenakMeeus2006, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["eclipses"] = static_cast<double>(out.size());
}
}  // namespace

BENCHMARK_CAPTURE(BM_Saros145, Auto, LunarMode::Auto)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Saros145, ELP2000, LunarMode::ELP2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Saros145, DE404, LunarMode::DE404)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanonSeries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BesselElements)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Circumstances)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Catalog)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
