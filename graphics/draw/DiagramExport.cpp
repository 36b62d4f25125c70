// DiagramExport.cpp — WriteSeriesDiagram (see DiagramExport.h).
#include "graphics/draw/DiagramExport.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "app/core/SeriesState.h"
#include "app/qt/QtText.h"
#include "app/core/SeriesTable.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/SeriesDiagram.h"
#include "graphics/draw/WorldMap.h"

namespace nodalis {

namespace {
void EnsureGuiApplication() {
  // Fonts and painting need a GUI application; a headless tool gets one on
  // the offscreen platform (no display needed). It lives until the process
  // ends and is deliberately not destroyed during static destruction.
  if (!QCoreApplication::instance()) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The tool's standard error is for its own messages: Qt's start-up
    // notes (runtime directory, fonts) are dropped, its errors kept.
    qInstallMessageHandler([](QtMsgType T, const QMessageLogContext&, const QString& M) {
      if (T == QtCriticalMsg || T == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(M));
    });
    static int Argc = 1;
    static char Name[] = "nodalis-cli";
    static char* Argv[] = {Name, nullptr};
    new QGuiApplication(Argc, Argv);
  }
}
}  // namespace

bool WriteSeriesDiagram(const std::string& FileName, int Dpi, std::string* ErrorUtf8) {
  EnsureGuiApplication();
  // The document title is the graph window's caption.
  const QString Title = FromCp(GraphCaption(SeriesList));
  QString Error;
  const bool Ok = WriteDiagramFile(&DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
                                   DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT,
                                   QFile::decodeName(QByteArray::fromStdString(FileName)), Dpi,
                                   &Error, Title);
  if (!Ok && ErrorUtf8) *ErrorUtf8 = Error.toStdString();
  return Ok;
}

bool WriteSeriesMap(const std::string& FileName, int Dpi, DeltaTModel Model, std::string* ErrorUtf8) {
  EnsureGuiApplication();
  MapDeltaTModel = Model;
  QString Error;
  const bool Ok = WriteSeriesMapFile(QFile::decodeName(QByteArray::fromStdString(FileName)), Dpi,
                                     &Error, FromCp(MapCaption(SeriesList)));
  if (!Ok && ErrorUtf8) *ErrorUtf8 = Error.toStdString();
  return Ok;
}

bool WriteFileData(const std::string& FileName, const std::string& Data, std::string* ErrorUtf8) {
  QString Error;
  const bool Ok = WriteDataFile(QFile::decodeName(QByteArray::fromStdString(FileName)),
                                QByteArray::fromStdString(Data), &Error);
  if (!Ok && ErrorUtf8) *ErrorUtf8 = Error.toStdString();
  return Ok;
}

}  // namespace nodalis
