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
#include <cstdlib>
#include <cstring>
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

const char* const CLI_HINT =
    "Die Tabelle einer Saros-Serie gibt nodalis-cli auf der Konsole aus, z. B.: nodalis-cli --saros 145\n";

// True when Qt will look for a display the environment does not name: no
// platform chosen (QT_QPA_PLATFORM, -platform) and neither an X display
// (DISPLAY) nor a Wayland one (WAYLAND_DISPLAY).
bool NoDisplayNamed(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
      return false;
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return !set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
}

// Qt ends a program whose display it cannot open with a fatal message
// (exit by abort, "Reinstalling the application may fix this problem"):
// say in German what happened instead, and end with exit code 1.
void PlatformFailure(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
    std::fprintf(stderr,
                 "Nodalis: Die grafische Anzeige kann nicht ge\xC3\xB6" "ffnet werden (DISPLAY=%s, "
                 "WAYLAND_DISPLAY=%s).\n%s",
                 std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "",
                 std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "", CLI_HINT);
    std::_Exit(1);
  }
  std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
  if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  if (NoDisplayNamed(argc, argv)) {
    std::fprintf(stderr,
                 "Nodalis: Keine grafische Anzeige gefunden (weder DISPLAY noch WAYLAND_DISPLAY "
                 "ist gesetzt), das Fenster kann nicht ge\xC3\xB6" "ffnet werden.\n%s",
                 CLI_HINT);
    return 1;
  }
  const QtMessageHandler qtDefault = qInstallMessageHandler(PlatformFailure);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtDefault);
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
      form.HandoverAccepted = [](long double jd) {
        std::fprintf(stderr, "nodalis-trace: received %s\n", nodalis::RealToStr(1, 6, jd).c_str());
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
