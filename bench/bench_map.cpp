// Benchmarks of the world map (Google Benchmark, offscreen platform):
//   BM_SeriesMap/<saros>   what the map window does for a new series: the
//                          paths of every member (fits, umbral paths,
//                          central lines and limits; BuildSeriesMap) and the
//                          map drawn on a screen-sized surface (1920 x 1182
//                          px: the window at zoom 200 % across a full-HD
//                          screen, 5.05 px per degree: the fine outlines)
//   BM_MapRedraw/<saros>   a redraw of that map alone (a zoom, a repaint)
//   BM_MapFile300dpi       the 300 dpi PNG of Saros 145 (3000 x 1847 px),
//                          drawing, encoding and writing
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "bench/bench_series.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/WorldMap.h"

using namespace nodalis;

namespace {

constexpr int SCREEN_W = 1920, SCREEN_H = 1182;

std::vector<std::string> Series(int Saros) { return bench::SeriesOnScreen(Saros); }

void Draw(QImage& Img, const SeriesMap& M) {
  tCanvas Canvas(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, Canvas);
  G.SetWorld(MAP_WORLD_X1, MAP_WORLD_Y1, MAP_WORLD_X2, MAP_WORLD_Y2);
  DrawWorldMap(G, M);
}

void BM_SeriesMap(benchmark::State& State) {
  const std::vector<std::string> List = Series(int(State.range(0)));
  QImage Img = MakeBitmap(SCREEN_W, SCREEN_H, 96);
  std::size_t Members = 0;
  for (auto _ : State) {
    const SeriesMap M = BuildSeriesMap(List, DeltaTModel::Nodalis);
    Draw(Img, M);
    Members = M.Members.size();
  }
  State.counters["members"] = double(Members);
}
BENCHMARK(BM_SeriesMap)->Arg(136)->Arg(139)->Arg(145)->Unit(benchmark::kMillisecond);

void BM_MapRedraw(benchmark::State& State) {
  const SeriesMap M = BuildSeriesMap(Series(int(State.range(0))), DeltaTModel::Nodalis);
  QImage Img = MakeBitmap(SCREEN_W, SCREEN_H, 96);
  for (auto _ : State) Draw(Img, M);
}
BENCHMARK(BM_MapRedraw)->Arg(145)->Unit(benchmark::kMillisecond);

void BM_MapFile300dpi(benchmark::State& State) {
  Series(145);
  const QString File = QDir::temp().filePath("nodalis-bench-map.png");
  for (auto _ : State) {
    QString Error;
    if (!WriteSeriesMapFile(File, 300, &Error, QStringLiteral("Nodalis  Karte 145")))
      State.SkipWithError(Error.toStdString().c_str());
  }
  QFile::remove(File);
}
BENCHMARK(BM_MapFile300dpi)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication App(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
