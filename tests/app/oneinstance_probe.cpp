// A minimal program around OneInstance for the two-process tests.
// Prints "ENDED" and exits 0 when a running probe took its command line
// over; otherwise prints "READY" and listens. A received command line is
// printed as "GOT:<text>" (longer than 200 bytes: "GOT:<n> bytes <first
// byte>...<last byte>", so that the pipe never fills); it is taken over when
// it contains " take".
// The probe quits by itself after 20 s (safety net for a failed test).
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "app/gui/OneInstance.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString path = QCoreApplication::applicationFilePath();
  if (nodalis::OneInstanceStart(path, nodalis::OneInstanceCommandLine(app.arguments()))) {
    std::printf("ENDED\n");
    std::fflush(stdout);
    return 0;
  }
  nodalis::OneInstanceSetCallback([](std::int32_t, const std::string& text, std::uint8_t& answer) {
    if (text.size() > 200)
      std::printf("GOT:%zu bytes %c...%c\n", text.size(), text.front(), text.back());
    else
      std::printf("GOT:%s\n", text.c_str());
    std::fflush(stdout);
    answer = text.find(" take") != std::string::npos ? 0 : 1;
  });
  std::printf("READY %s\n", nodalis::OneInstanceListening() ? "listening" : "alone");
  std::fflush(stdout);
  QTimer::singleShot(20000, &app, &QCoreApplication::quit);
  int rc = app.exec();
  nodalis::OneInstanceStop();
  return rc;
}
