// DiagramModule.cpp — the entry of libnodalis-diagram.so (see
// DiagramModule.h): takes the caller's series state into this module's copy
// of the program's core and writes the diagram with WriteSeriesDiagram.
#include "graphics/draw/DiagramModule.h"

#include <cstring>
#include <string>

#include "app/core/SeriesState.h"
#include "astro/SunMoon.h"
#include "graphics/draw/DiagramExport.h"
#include "graphics/draw/WorldMap.h"

namespace {
// The message into the caller's buffer, cut to its size.
void CopyMessage(const std::string& Message, char* Error, std::size_t ErrorSize) {
  if (Error == nullptr || ErrorSize == 0) return;
  const std::size_t n = Message.size() < ErrorSize - 1 ? Message.size() : ErrorSize - 1;
  std::memcpy(Error, Message.data(), n);
  Error[n] = '\0';
}
}  // namespace

extern "C" __attribute__((visibility("default"))) int nodalis_write_file(
    const char* file_name, const char* data, std::size_t size, char* error, std::size_t error_size) {
  std::string message = "kein Dateiauftrag";
  bool ok = false;
  if (file_name != nullptr && (data != nullptr || size == 0))
    ok = nodalis::WriteFileData(file_name, std::string(data ? data : "", size), &message);
  if (!ok) CopyMessage(message, error, error_size);
  return ok ? 1 : 0;
}

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
  if (!ok) CopyMessage(message, error, error_size);
  return ok ? 1 : 0;
}

extern "C" __attribute__((visibility("default"))) int nodalis_write_series_map(
    const NodalisMapJob* job, char* error, std::size_t error_size) {
  using namespace nodalis;
  std::string message;
  bool ok = false;
  if (job == nullptr || job->file_name == nullptr) {
    message = "kein Kartenauftrag";
  } else {
    SeriesList.assign(job->series_lines, job->series_lines + job->series_count);
    TitleCaption = job->title_caption ? job->title_caption : "";
    UseLunarLib = job->use_lunar_lib != 0;
    const DeltaTModel model =
        job->delta_t_model == 1 ? DeltaTModel::EspenakMeeus2006 : DeltaTModel::Nodalis;
    MapMarkedPlace.reset();
    if (job->has_place) MapMarkedPlace = MapPoint{job->place_lon_deg, job->place_lat_deg};
    ok = WriteSeriesMap(job->file_name, job->dpi, model, &message);
  }
  if (!ok) CopyMessage(message, error, error_size);
  return ok ? 1 : 0;
}
