// DiagramLoader (see DiagramLoader.h).  The module is looked for beside the
// program (the directory of /proc/self/exe; the program's own run path is
// not enough: a sanitizer's dlopen searches as its own library), then by
// the system's search path.  It stays loaded until the process ends (Qt's
// application object lives there).
#include "app/cli/DiagramLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "app/core/SeriesState.h"
#include "graphics/draw/DiagramModule.h"

namespace nodalis {

namespace {

// The dynamic linker's last message, never null.
std::string LastLoadError() {
  const char* e = dlerror();
  return e ? e : NODALIS_DIAGRAM_MODULE;
}

// The module's file beside the program, or its bare name.
std::string ModuleBesideProgram() {
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return NODALIS_DIAGRAM_MODULE;
  const std::string path(exe, static_cast<std::size_t>(n));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return NODALIS_DIAGRAM_MODULE;
  return path.substr(0, slash + 1) + NODALIS_DIAGRAM_MODULE;
}

}  // namespace

bool WriteSeriesDiagramThroughModule(const std::string& FileName, int Dpi,
                                     std::string* ErrorUtf8) {
  static NodalisWriteDiagramFn write = nullptr;
  if (write == nullptr) {
    constexpr int MODE = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;
    void* module = dlopen(ModuleBesideProgram().c_str(), MODE);
    std::string why = module ? "" : LastLoadError();
    if (module == nullptr) module = dlopen(NODALIS_DIAGRAM_MODULE, MODE);
    if (module != nullptr) {
      write = reinterpret_cast<NodalisWriteDiagramFn>(dlsym(module, NODALIS_WRITE_DIAGRAM_SYMBOL));
      if (write == nullptr) why = LastLoadError();
    }
    if (write == nullptr) {
      if (ErrorUtf8) *ErrorUtf8 = "Diagrammausgabe nicht verf\xC3\xBCgbar: " + why;
      return false;
    }
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

}  // namespace nodalis
