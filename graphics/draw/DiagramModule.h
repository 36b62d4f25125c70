// DiagramModule.h — the series diagram writer as a module that nodalis-cli
// loads only for --diagram (libnodalis-diagram.so, with Qt): the table alone
// then starts without loading Qt's drawing stack.  A plain C interface: the
// caller hands over the state the diagram reads (the module holds its own
// copy of the program's core).
#pragma once

#include <cstddef>

extern "C" {

// What DrawSeriesDiagram reads, as the caller has it.
struct NodalisDiagramJob {
  const char* file_name;            // the file system's bytes; .bmp, .png, .pdf, .svg
  int dpi;                          // 96, 300 or 600
  const char* const* series_lines;  // SeriesList (Windows-1252 lines)
  std::size_t series_count;
  long double reference_jd;         // ReferenceJD (TDT)
  int ecliptic_north;               // EkliptikalNordChecked
  int tracks;                       // ShowSchattenbahnChecked
  const char* title_caption;        // TitleCaption (Windows-1252)
};

// Writes the diagram of job (WriteSeriesDiagram); 1 on success, else 0 with
// a UTF-8 message, cut to error_size - 1 bytes and ended by a zero.
typedef int (*NodalisWriteDiagramFn)(const NodalisDiagramJob* job, char* error,
                                     std::size_t error_size);

// What DrawSeriesMap reads, as the caller has it.
struct NodalisMapJob {
  const char* file_name;            // the file system's bytes; .bmp, .png, .pdf, .svg
  int dpi;                          // 96, 300 or 600
  const char* const* series_lines;  // SeriesList (Windows-1252 lines)
  std::size_t series_count;
  const char* title_caption;        // TitleCaption (Windows-1252)
  int use_lunar_lib;                // UseLunarLib: the Moon of the members' elements
  int delta_t_model;                // DeltaTModel: 0 the program's, 1 Espenak & Meeus 2006
  int has_place;                    // --place given: mark it
  double place_lat_deg, place_lon_deg;
};

// Writes the world map of job (WriteSeriesMap); 1 on success, else 0 with
// a UTF-8 message as above.
typedef int (*NodalisWriteMapFn)(const NodalisMapJob* job, char* error, std::size_t error_size);

// Writes size bytes of data into the file file_name (the file system's
// bytes) through QSaveFile (WriteFileData); 1 on success, else 0 with a
// UTF-8 message as above.
typedef int (*NodalisWriteFileFn)(const char* file_name, const char* data, std::size_t size,
                                  char* error, std::size_t error_size);

}  // extern "C"

// Name of the module and of its one exported function.
#define NODALIS_DIAGRAM_MODULE "libnodalis-diagram.so"
#define NODALIS_WRITE_DIAGRAM_SYMBOL "nodalis_write_series_diagram"
#define NODALIS_WRITE_FILE_SYMBOL "nodalis_write_file"
#define NODALIS_WRITE_MAP_SYMBOL "nodalis_write_series_map"
