// DiagramLoader (see DiagramLoader.h).  The module is found like the
// program's libraries (the run path of the program, $ORIGIN); it stays
// loaded until the process ends (Qt's application object lives there).
#include "DiagramLoader.h"

#include <dlfcn.h>

#include <vector>

#include "SeriesState.h"
#include "graphics/DiagramModule.h"

namespace nodalis {

bool WriteSeriesDiagramThroughModule(const std::string& FileName, int Dpi,
                                     std::string* ErrorUtf8) {
  static NodalisWriteDiagramFn write = nullptr;
  if (write == nullptr) {
    void* module = dlopen(NODALIS_DIAGRAM_MODULE, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (module != nullptr)
      write = reinterpret_cast<NodalisWriteDiagramFn>(dlsym(module, NODALIS_WRITE_DIAGRAM_SYMBOL));
    if (write == nullptr) {
      const char* why = dlerror();
      if (ErrorUtf8)
        *ErrorUtf8 = std::string("Diagrammausgabe nicht verf\xC3\xBCgbar: ") +
                     (why ? why : NODALIS_DIAGRAM_MODULE);
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
