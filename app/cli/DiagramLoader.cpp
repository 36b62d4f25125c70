// DiagramLoader (see DiagramLoader.h).  The module is looked for beside the
// program (the build tree), then in the program's module folder given
// relative to the program's directory (an installed program:
// NODALIS_DIAGRAM_MODULE_DIR, e.g. "../lib/nodalis"), both found through
// /proc/self/exe (the program's own run path is not enough: a sanitizer's
// dlopen searches as its own library), then by the system's search path.
// It stays loaded until the process ends (Qt's application object lives
// there).
#include "app/cli/DiagramLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "app/core/SeriesState.h"
#include "astro/SunMoon.h"
#include "graphics/draw/DiagramModule.h"

namespace nodalis {

namespace {

// The dynamic linker's last message, never null.
std::string LastLoadError() {
  const char* e = dlerror();
  return e ? e : NODALIS_DIAGRAM_MODULE;
}

// The module's files where the program keeps it, in the order tried, then
// its bare name.
std::vector<std::string> ModuleCandidates() {
  std::vector<std::string> out;
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  const std::string path(exe, n > 0 ? static_cast<std::size_t>(n) : 0);
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) {
    const std::string dir = path.substr(0, slash + 1);
    out.push_back(dir + NODALIS_DIAGRAM_MODULE);
#ifdef NODALIS_DIAGRAM_MODULE_DIR
    out.push_back(dir + NODALIS_DIAGRAM_MODULE_DIR "/" NODALIS_DIAGRAM_MODULE);
#endif
  }
  out.push_back(NODALIS_DIAGRAM_MODULE);
  return out;
}

// The module's entry Symbol, loaded on first use; nullptr with a UTF-8
// message in Why when the module or the entry is not there.
void* ModuleEntry(const char* Symbol, std::string& Why) {
  static void* module = nullptr;
  static std::string moduleWhy;  // why the module could not be loaded
  if (module == nullptr && moduleWhy.empty()) {
    constexpr int MODE = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;
    std::string why;  // a module file that is there but fails tells more than the bare name
    for (const std::string& file : ModuleCandidates()) {
      const bool bare = file.find('/') == std::string::npos;
      if (!bare && access(file.c_str(), F_OK) != 0) continue;
      module = dlopen(file.c_str(), MODE);
      if (module != nullptr) break;
      if (why.empty() || !bare) why = LastLoadError();
    }
    if (module == nullptr) moduleWhy = why.empty() ? std::string(NODALIS_DIAGRAM_MODULE) : why;
  }
  if (module == nullptr) {
    Why = moduleWhy;
    return nullptr;
  }
  void* entry = dlsym(module, Symbol);
  if (entry == nullptr) Why = LastLoadError();
  return entry;
}

}  // namespace

bool WriteSeriesDiagramThroughModule(const std::string& FileName, int Dpi,
                                     std::string* ErrorUtf8) {
  std::string why;
  const auto write = reinterpret_cast<NodalisWriteDiagramFn>(ModuleEntry(NODALIS_WRITE_DIAGRAM_SYMBOL, why));
  if (write == nullptr) {
    if (ErrorUtf8) *ErrorUtf8 = "Diagrammausgabe nicht verf\xC3\xBCgbar: " + why;
    return false;
  }
  std::vector<const char*> lines;
  lines.reserve(SeriesList.size());
  for (const std::string& line : SeriesList) lines.push_back(line.c_str());
  NodalisDiagramJob job{};
  job.file_name = FileName.c_str();
  job.dpi = Dpi;
  job.series_lines = lines.data();
  job.series_count = lines.size();
  job.reference_jd = ReferenceJD;
  job.ecliptic_north = EkliptikalNordChecked ? 1 : 0;
  job.tracks = ShowSchattenbahnChecked ? 1 : 0;
  job.title_caption = TitleCaption.c_str();
  char error[1024] = "";
  if (write(&job, error, sizeof error) != 0) return true;
  if (ErrorUtf8) *ErrorUtf8 = error;
  return false;
}

bool WriteSeriesMapThroughModule(const std::string& FileName, int Dpi, DeltaTModel Model,
                                 const std::optional<GeodeticPlace>& Place, std::string* ErrorUtf8) {
  std::string why;
  const auto write = reinterpret_cast<NodalisWriteMapFn>(ModuleEntry(NODALIS_WRITE_MAP_SYMBOL, why));
  if (write == nullptr) {
    if (ErrorUtf8) *ErrorUtf8 = "Kartenausgabe nicht verf\xC3\xBCgbar: " + why;
    return false;
  }
  std::vector<const char*> lines;
  lines.reserve(SeriesList.size());
  for (const std::string& line : SeriesList) lines.push_back(line.c_str());
  NodalisMapJob job{};
  job.file_name = FileName.c_str();
  job.dpi = Dpi;
  job.series_lines = lines.data();
  job.series_count = lines.size();
  job.title_caption = TitleCaption.c_str();
  job.use_lunar_lib = UseLunarLib ? 1 : 0;
  job.delta_t_model = Model == DeltaTModel::EspenakMeeus2006 ? 1 : 0;
  job.has_place = Place ? 1 : 0;
  job.place_lat_deg = Place ? double(Place->LatitudeDeg) : 0;
  job.place_lon_deg = Place ? double(Place->LongitudeDeg) : 0;
  char error[1024] = "";
  if (write(&job, error, sizeof error) != 0) return true;
  if (ErrorUtf8) *ErrorUtf8 = error;
  return false;
}

bool WriteFileThroughModule(const std::string& FileName, const std::string& Data,
                            std::string* ErrorUtf8) {
  std::string why;
  const auto write = reinterpret_cast<NodalisWriteFileFn>(ModuleEntry(NODALIS_WRITE_FILE_SYMBOL, why));
  if (write == nullptr) {
    if (ErrorUtf8) *ErrorUtf8 = "Dateiausgabe nicht verf\xC3\xBCgbar: " + why;
    return false;
  }
  char error[1024] = "";
  if (write(FileName.c_str(), Data.data(), Data.size(), error, sizeof error) != 0) return true;
  if (ErrorUtf8) *ErrorUtf8 = error;
  return false;
}

}  // namespace nodalis
