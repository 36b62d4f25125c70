// Nodalis — solar-eclipse Saros series. Program entry.
//
// Order of start: the single-instance check (a second start holding a Julian
// date hands it to the running copy and ends), then the main window with its
// settings and start-up notice, then the date dialog; the graph window is
// created with the first series. The program ends with its main window.
#include <QApplication>
#include <QDialog>

#include "DateFormU.h"
#include "NodalisU.h"
#include "OneInstance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Nodalis"));
  app.setApplicationDisplayName(QStringLiteral("Nodalis"));

  QStringList args = app.arguments();
  const QString programPath = QCoreApplication::applicationFilePath();
  if (!args.isEmpty()) args[0] = programPath;
  if (nodalis::OneInstanceStart(programPath, nodalis::OneInstanceCommandLine(args))) return 0;

  nodalis::InstallGuiHooks();
  int rc = 0;
  {
    nodalis::TForm1 form(args.mid(1));
    nodalis::TDateForm dateForm(&form);
    form.DateForm = &dateForm;
    form.show();
    rc = app.exec();
  }
  nodalis::OneInstanceStop();
  return rc;
}
