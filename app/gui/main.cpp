// Nodalis — solar-eclipse Saros series. Program entry.
//
// Order of start: the single-instance check (a second start holding a Julian
// date hands it to the running copy and ends), then the main window with its
// settings and start-up notice, then the date dialog; the graph window is
// created with the first series. The program ends with its main window.
//
// With the environment variable NODALIS_TRACE set, the program writes a
// trace to the standard error: the time from process start to the shown main
// window, and after every command the Saros number, the reference instant
// and the command's duration.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/gui/AppSetup.h"
#include "dialogs/DateFormU.h"
#include "app/gui/NodalisU.h"
#include "app/gui/OneInstance.h"
#include "app/core/SeriesState.h"
#include "app/base/Utils.h"

namespace {

// Milliseconds since this process was started by the system.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t paren = text.rfind(')');
  if (paren == std::string::npos) return -1;
  std::istringstream fields(text.substr(paren + 2));
  std::string f;
  // Field 22 (starttime, clock ticks since boot) is the 20th after ")",
  // which ends field 2.
  for (int i = 0; i < 19 && fields >> f; ++i) {
  }
  unsigned long long startTicks = 0;
  if (!(fields >> startTicks)) return -1;
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
  return (now.tv_sec + now.tv_nsec / 1e9 - startTicks / ticksPerSecond) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  nodalis::SetUpApplication(app);
  const bool trace = !qEnvironmentVariableIsEmpty("NODALIS_TRACE");

  QStringList args = app.arguments();
  const QString programPath = QCoreApplication::applicationFilePath();
  if (!args.isEmpty()) args[0] = programPath;
  if (nodalis::OneInstanceStart(programPath, nodalis::OneInstanceCommandLine(args))) {
    if (trace) std::fprintf(stderr, "nodalis-trace: handed over\n");
    return 0;
  }

  nodalis::InstallGuiHooks();
  int rc = 0;
  {
    nodalis::TForm1 form(args.mid(1));
    nodalis::TDateForm dateForm(&form);
    form.DateForm = &dateForm;
    if (trace) {
      form.AfterCommand = [&form](double ms) {
        std::fprintf(stderr, "nodalis-trace: command saros=%d reference=%s ms=%.1f\n",
                     int(form.Commands.CurrentSaros), nodalis::RealToStr(1, 6, nodalis::ReferenceJD).c_str(), ms);
      };
    }
    form.show();
    if (trace) {
      QTimer::singleShot(0, &form, [] {
        std::fprintf(stderr, "nodalis-trace: shown ms=%.1f\n", MsSinceProcessStart());
      });
    }
    rc = app.exec();
  }
  nodalis::OneInstanceStop();
  return rc;
}
