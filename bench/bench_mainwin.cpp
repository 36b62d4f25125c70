// Main window timings (run with QT_QPA_PLATFORM=offscreen, set here when
// unset): creating and showing the main window with its date dialog (the
// start-up work after the libraries are loaded: settings, the next eclipse's
// Saros number, notice), and one Saros step (+1, then -1 back) to the new
// table and diagram, as a click on the button runs it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "dialogs/DateFormU.h"
#include "app/gui/NodalisU.h"
#include "app/core/SeriesState.h"

using namespace nodalis;

namespace {

QApplication* App() {
  static int argc = 1;
  static char name[] = "bench_mainwin";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* a = new QApplication(argc, argv);
    InstallGuiHooks();
    return a;
  }();
  return app;
}

void BM_CreateAndShowMainWindow(benchmark::State& state) {
  App();
  for (auto _ : state) {
    auto* form = new TForm1;
    auto* date = new TDateForm(form);
    form->DateForm = date;
    form->show();
    QCoreApplication::processEvents();
    state.PauseTiming();
    delete form;
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CreateAndShowMainWindow)->Unit(benchmark::kMillisecond);

void BM_SarosStepToTableAndDiagram(benchmark::State& state) {
  App();
  TForm1 form;
  TDateForm date(&form);
  form.DateForm = &date;
  form.show();
  // First series and graph window, outside the timing.
  QTest::mouseClick(form.findChild<QPushButton*>("GotoBtn"), Qt::LeftButton);
  bool up = true;
  for (auto _ : state) {
    QTest::mouseClick(form.findChild<QPushButton*>(up ? "SarPlus1Btn" : "SarMin1Btn"), Qt::LeftButton);
    QCoreApplication::processEvents();  // the diagram reaches the screen
    up = !up;
  }
  state.counters["members"] = double(SeriesList.size() > 2 ? SeriesList.size() - 2 : 0);
}
BENCHMARK(BM_SarosStepToTableAndDiagram)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
