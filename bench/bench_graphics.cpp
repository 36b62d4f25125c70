// Benchmarks of the series diagram (Google Benchmark, offscreen platform):
//   BM_DiagramRedraw   one full redraw of an 80-member series with shadow
//                      tracks on a screen-sized surface (741 x 1048 px,
//                      96 dpi: the graph window on a 1080-line screen)
//   BM_Export600dpi    the 600 dpi bitmap of the export page (3000 x 4243
//                      px, more than the 2500 x 3531 of a 400 x 565 client
//                      area): drawing, BMP encoding and writing through a
//                      save file; the counter peak_rss_MB is the process's
//                      peak memory
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/core/SeriesState.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/SeriesDiagram.h"

using namespace nodalis;

namespace {

constexpr double SAROS_DAYS_BENCH = 6585.321316003;

// 80 members shaped like a Saros series: gamma from +1.55 to -1.55.
void LoadSeries80() {
  SeriesList.clear();
  SeriesList.push_back("2381000.000000 Start (145)");
  for (int i = 0; i < 80; ++i) {
    const double G = 1.55 - i * (3.1 / 79);
    const int T = std::fabs(G) > 1.0 ? 1 : (i < 30 ? 4 : (i < 36 ? 6 : 5));
    const double L2 = i < 33 ? 0.02 - i * 0.0005 : -0.005 - (i - 33) * 0.0004;
    char B[300];
    std::snprintf(B, sizeof B,
                  "%.6f dT 0.000000 Gam%6.3f x%7.4f y%7.4f rP%7.4f rU%7.4f AP 0.2700 AU 0.2690 "
                  "incl %7.4f Max %d Sar 145",
                  2381033.0 + i * SAROS_DAYS_BENCH, G, 0.4 * std::sin(i * 0.05) - 0.2, G, 0.55,
                  L2, 0.3 - 0.005 * i, T);
    SeriesList.push_back(B);
  }
  SeriesList.push_back("2907859.000000 Ende");
  ReferenceJD = 2381033.0 + 40.5 * SAROS_DAYS_BENCH;
  ShowSchattenbahnChecked = true;
  TitleCaption = "Saros 145  80 Neumonde";
}

double PeakRssMB() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return U.ru_maxrss / 1024.0;
}

void BM_DiagramRedraw(benchmark::State& State) {
  LoadSeries80();
  QImage Img = MakeBitmap(741, 1048, 96);
  tCanvas Canvas(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, Canvas);
  G.SetWorld(-DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT, DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT);
  for (auto _ : State) {
    DrawSeriesDiagram(G);
    Canvas.End();  // flush the painter: the picture is complete
    benchmark::DoNotOptimize(Img.constBits());
  }
}
BENCHMARK(BM_DiagramRedraw)->Unit(benchmark::kMillisecond);

void BM_Export600dpi(benchmark::State& State) {
  LoadSeries80();
  const QString File = QDir::temp().filePath("nodalis_bench_600.bmp");
  for (auto _ : State) {
    QString Err;
    if (!WriteDiagramFile(&DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
                          DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, File, 600, &Err))
      State.SkipWithError(Err.toStdString().c_str());
  }
  State.counters["peak_rss_MB"] = PeakRssMB();
  QFile::remove(File);
}
BENCHMARK(BM_Export600dpi)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication App(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
