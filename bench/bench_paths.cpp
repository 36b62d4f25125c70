// Benchmarks of the polynomial Besselian elements and the paths on the
// ground.  Figures go into the docs (performance).
//
// BM_FitElements: the polynomial elements of one eclipse (13 exact sets of
// elements and the fit; 2017 Aug 21, ELP2000).
// BM_EclipsePaths/<kind>: the paths of one eclipse from its polynomial
// elements, every curve (0) or the catalogue's central line and umbral
// limits (1).
// BM_SeriesPaths/<saros>: the paths of every member of a Saros series
// (136, 145) as nodalis-cli --paths computes them, from the members'
// polynomial elements (fitted beforehand, outside the timing) to every
// curve; and BM_SeriesPathsFile/<saros> the whole file: fits, paths and
// GeoJSON text.
// BM_CatalogPaths: nodalis-cli --catalog-paths -1999 3000 FILE.geojson
// without the write (one run; ELP2000, the canon's Delta T).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_series.h"
#include "app/core/PathsFiles.h"
#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "astro/Astrcalc.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/EclipsePaths.h"

using namespace nodalis;

namespace {
constexpr long double AUG_2017_NEW_MOON_JD = 2457987.27L;

BesselPolynomials Elements2017() {
  UseLunarLib = true;
  BesselRec r;
  CalcEclipse(0, true, r, AUG_2017_NEW_MOON_JD);
  BesselPolynomials P;
  FitBesselPolynomials(r.JDMax, DeltaTSeconds(DeltaTModel::EspenakMeeus2006, r.JDMax), P);
  return P;
}

void BM_FitElements(benchmark::State& state) {
  UseLunarLib = true;
  BesselRec r;
  CalcEclipse(0, true, r, AUG_2017_NEW_MOON_JD);
  for (auto _ : state) {
    BesselPolynomials P;
    FitBesselPolynomials(r.JDMax, 70.3L, P);
    benchmark::DoNotOptimize(P.X[0]);
  }
}

void BM_EclipsePaths(benchmark::State& state) {
  const BesselPolynomials P = Elements2017();
  PathOptions o;
  if (state.range(0) == 1) o.Penumbra = o.Horizon = o.UmbraPolygons = false;
  std::size_t points = 0;
  for (auto _ : state) {
    const EclipsePaths E = ComputeEclipsePaths(P, o);
    points = 0;
    for (const PathCurve& c : E.Curves) points += c.Points.size();
    benchmark::DoNotOptimize(points);
  }
  state.counters["points"] = static_cast<double>(points);
}

void BM_SeriesPaths(benchmark::State& state) {
  const std::vector<std::string> list = bench::SeriesOnScreen(static_cast<int32_t>(state.range(0)));
  const std::vector<BesselPolynomials> members = bench::MemberElements(list);
  for (auto _ : state) {
    std::size_t curves = 0;
    for (const BesselPolynomials& P : members) curves += ComputeEclipsePaths(P).Curves.size();
    benchmark::DoNotOptimize(curves);
  }
  state.counters["members"] = static_cast<double>(members.size());
}

void BM_SeriesPathsFile(benchmark::State& state) {
  const std::vector<std::string> list = bench::SeriesOnScreen(static_cast<int32_t>(state.range(0)));
  std::string text;
  for (auto _ : state) {
    SeriesPathsText(list, false, DeltaTModel::Nodalis, GeoFileFormat::GeoJson, "Saros", text);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_CatalogPaths(benchmark::State& state) {
  UseLunarLib = true;
  std::string text;
  for (auto _ : state) {
    if (!CatalogPathsText(-1999, 3000, DeltaTModel::EspenakMeeus2006, {}, GeoFileFormat::GeoJson, text)) {
      state.SkipWithError("catalogue failed");
      return;
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
}  // namespace

BENCHMARK(BM_FitElements)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EclipsePaths)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeriesPaths)->Arg(136)->Arg(145)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeriesPathsFile)->Arg(136)->Arg(145)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogPaths)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
