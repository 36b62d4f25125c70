// DiagramModule.cpp — the entry of libnodalis-diagram.so (see
// DiagramModule.h): takes the caller's series state into this module's copy
// of the program's core and writes the diagram with WriteSeriesDiagram.
#include "graphics/draw/DiagramModule.h"

#include <cstring>
#include <string>

#include "app/core/SeriesState.h"
#include "graphics/draw/DiagramExport.h"

extern "C" __attribute__((visibility("default"))) int nodalis_write_series_diagram(
    const NodalisDiagramJob* job, char* error, std::size_t error_size) {
  using namespace nodalis;
  std::string message;
  bool ok = false;
  if (job == nullptr || job->file_name == nullptr) {
    message = "kein Diagrammauftrag";
  } else {
    SeriesList.assign(job->series_lines, job->series_lines + job->series_count);
    ReferenceJD = job->reference_jd;
    EkliptikalNordChecked = job->ecliptic_north != 0;
    ShowSchattenbahnChecked = job->tracks != 0;
    TitleCaption = job->title_caption ? job->title_caption : "";
    ok = WriteSeriesDiagram(job->file_name, job->dpi, &message);
  }
  if (!ok && error != nullptr && error_size > 0) {
    const std::size_t n = message.size() < error_size - 1 ? message.size() : error_size - 1;
    std::memcpy(error, message.data(), n);
    error[n] = '\0';
  }
  return ok ? 1 : 0;
}
