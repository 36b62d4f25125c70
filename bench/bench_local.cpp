// Benchmarks of the local circumstances at one place.  Figures go into the
// docs (performance).
//
// BM_LocalEclipse: ComputeLocalCircumstances of 2017 Aug 21 at Casper from
// its polynomial elements.
// BM_SeriesLocal/<saros>: every member of a Saros series (136, 145) at
// Casper from the members' polynomial elements (fitted beforehand, outside
// the timing); BM_SeriesLocalWithFits/<saros> the same with the fits, as
// nodalis-cli --place computes them (SeriesLocalCircumstances).
// BM_CatalogLocal: every eclipse of -1999 ... 3000 at Casper from its
// polynomial elements (the catalogue and the fits outside the timing);
// BM_CatalogLocalCsv: nodalis-cli --catalog -1999 3000 --place ... without
// the write (catalogue search, fits, local circumstances, CSV text; one
// run; ELP2000, the canon's Delta T).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_series.h"
#include "app/core/EclipseCatalog.h"
#include "app/core/LocalTable.h"
#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "astro/Astrcalc.h"
#include "astro/BesselPolynomialFit.h"
#include "astro/LocalCircumstances.h"

using namespace nodalis;

namespace {
constexpr long double AUG_2017_NEW_MOON_JD = 2457987.27L;
const GeodeticPlace CASPER{42.8501L, -106.3252L, 1560};

void BM_LocalEclipse(benchmark::State& state) {
  UseLunarLib = true;
  BesselRec r;
  CalcEclipse(0, true, r, AUG_2017_NEW_MOON_JD);
  BesselPolynomials P;
  FitBesselPolynomials(r.JDMax, DeltaTSeconds(DeltaTModel::EspenakMeeus2006, r.JDMax), P);
  for (auto _ : state) {
    const LocalCircumstances L = ComputeLocalCircumstances(P, CASPER);
    benchmark::DoNotOptimize(L.Maximum.JDTD);
  }
}

void BM_SeriesLocal(benchmark::State& state) {
  const std::vector<std::string> list = bench::SeriesOnScreen(static_cast<int32_t>(state.range(0)));
  const std::vector<BesselPolynomials> members = bench::MemberElements(list);
  for (auto _ : state) {
    int seen = 0;
    for (const BesselPolynomials& P : members) seen += ComputeLocalCircumstances(P, CASPER).Visible;
    benchmark::DoNotOptimize(seen);
  }
  state.counters["members"] = static_cast<double>(members.size());
}

void BM_SeriesLocalWithFits(benchmark::State& state) {
  const std::vector<std::string> list = bench::SeriesOnScreen(static_cast<int32_t>(state.range(0)));
  std::vector<LocalCircumstances> out;
  for (auto _ : state) {
    SeriesLocalCircumstances(list, false, DeltaTModel::Nodalis, CASPER, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["members"] = static_cast<double>(out.size());
}

void BM_CatalogLocal(benchmark::State& state) {
  UseLunarLib = true;
  std::vector<CatalogEntry> entries;
  if (!BuildCatalogOfYears(-1999, 3000, DeltaTModel::EspenakMeeus2006, entries, {}, 1)) {
    state.SkipWithError("catalogue failed");
    return;
  }
  std::vector<BesselPolynomials> elements;
  elements.reserve(entries.size());
  for (const CatalogEntry& e : entries) {
    BesselPolynomials P;
    if (FitBesselPolynomials(e.Rec.JDMax, e.Circ.DeltaTSeconds, P)) elements.push_back(P);
  }
  for (auto _ : state) {
    int seen = 0;
    for (const BesselPolynomials& P : elements) seen += ComputeLocalCircumstances(P, CASPER).Visible;
    benchmark::DoNotOptimize(seen);
  }
  state.counters["eclipses"] = static_cast<double>(elements.size());
}

void BM_CatalogLocalCsv(benchmark::State& state) {
  UseLunarLib = true;
  std::string text;
  for (auto _ : state) {
    if (!CatalogLocalCsv(-1999, 3000, DeltaTModel::EspenakMeeus2006, {}, CASPER, text)) {
      state.SkipWithError("catalogue failed");
      return;
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
}  // namespace

BENCHMARK(BM_LocalEclipse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeriesLocal)->Arg(136)->Arg(145)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeriesLocalWithFits)->Arg(136)->Arg(145)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogLocal)->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_CatalogLocalCsv)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
