// Benchmarks of the eclipse core.  Figures go into docs/performance.md.
//
// BM_Saros145/<mode>: the whole series as Recompute makes it (lunar choice,
// eclipse new moon, BuildSeriesComputed, table) for Saros 145 from the
// eclipse of 2017 Aug 21, in each lunar mode: "Auto" (which takes the Moon
// from orbitcore for that date), "ELP2000" (lunaris), "DE404" (orbitcore).
// BM_CanonSeries: BuildSeriesFromCanon from the canon file named by
// NODALIS_CANON (skipped when unset), made by tools/nasa_canon_to_canon.py.
// BM_BesselElements: one set of elements.
// BM_CanonBound: the canon reader on crafted files that it must end at once
// (arg 0: 158 KB of members alternating between the far past and the far
// future; 1: 20 000 identical members; 2: a 100 MB file) and on the largest
// file it reads (3: 8 MB of lines of another series, all parsed).
// BM_Circumstances: the circumstances of one eclipse (CalcEclipse done).
// BM_Catalog: every eclipse of -1999 ... 3000 with its circumstances and
// Saros places (one run; "ELP2000", the canon's Delta T).
// BM_CatalogCli: the same through nodalis-cli's path, EclipseCatalogCsv
// (the catalogue and its 11 900 CSV rows; the tool adds the argument check
// and one write), as "nodalis-cli --catalog -1999 3000 --delta-t
// espenak-meeus-2006".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/core/CanonReader.h"
#include "app/core/EclipseCatalog.h"
#include "app/core/SeriesCommands.h"
#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"

using namespace nodalis;

namespace {
constexpr long double AUG_2017_NEW_MOON_JD = 2457987.27L;

void BM_Saros145(benchmark::State& state, LunarMode mode) {
  SeriesCommands commands;
  commands.SetLunarMode(mode);
  for (auto _ : state) {
    SelectedJD = AUG_2017_NEW_MOON_JD;
    if (!commands.Recompute()) {
      state.SkipWithError(commands.Message.c_str());
      return;
    }
    benchmark::DoNotOptimize(commands.Memo.data());
  }
  state.SetLabel(commands.ELP2000 ? "Moon from lunaris" : "Moon from orbitcore");
  state.counters["saros"] = commands.CurrentSaros;
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

// The crafted canon file of BM_CanonBound's argument, written once.
std::string CraftedCanon(int kind) {
  const std::string path = "/tmp/nodalis-bench-canon-" + std::to_string(::getpid()) + "-" +
                           std::to_string(kind) + ".txt";
  const std::string start = "2017 8 21 0 0 0.0 0.0 0 0 0 2457987.268519\n";
  const std::string member = "2017 8 21 2 1 1.0306 0.4367 145 9546 218 ";
  std::ofstream f(path, std::ios::binary);
  f << start;
  if (kind == 0) {
    for (int i = 0; i < 1500; ++i)
      f << member << "-1990000.5\n" << member << "7990000.5\n";
  } else if (kind == 1) {
    for (int i = 0; i < 20000; ++i) f << member << "2457987.268519\n";
  } else if (kind == 3) {
    const std::string other = "2017 8 21 2 1 1.0306 0.4367 146 9546 218 2457987.268519\n";
    for (std::size_t n = start.size(); n + other.size() <= MAX_CANON_FILE_BYTES; n += other.size())
      f << other;
  }
  f.close();
  if (kind == 2) std::filesystem::resize_file(path, 100u << 20);  // sparse, nothing to read
  return path;
}

void BM_CanonBound(benchmark::State& state) {
  CanonPath = CraftedCanon(static_cast<int>(state.range(0)));
  UseLunarLib = true;
  std::vector<std::string> list;
  std::string message;
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildSeriesFromCanon(list, AUG_2017_NEW_MOON_JD, &message));
  }
  std::remove(CanonPath.c_str());
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

void BM_CatalogCli(benchmark::State& state) {
  UseLunarLib = true;  // "auto" for a span reaching before DE404's range
  std::string text;
  for (auto _ : state) {
    if (!EclipseCatalogCsv(-1999, 3000, DeltaTModel::EspenakMeeus2006, {}, text)) {
      state.SkipWithError("catalogue failed");
      return;
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
}  // namespace

BENCHMARK_CAPTURE(BM_Saros145, Auto, LunarMode::Auto)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Saros145, ELP2000, LunarMode::ELP2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Saros145, DE404, LunarMode::DE404)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CanonSeries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BesselElements)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanonBound)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Circumstances)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Catalog)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_CatalogCli)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_MAIN();
