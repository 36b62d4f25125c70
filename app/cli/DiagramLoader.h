// DiagramLoader — nodalis-cli's way to the series diagram: loads
// libnodalis-diagram.so (beside the program) on first use and hands it the
// series on screen (SeriesList, ReferenceJD, the option states,
// TitleCaption).
#pragma once

#include <string>

#include <optional>

#include "astro/DeltaTModel.h"
#include "astro/LocalCircumstances.h"

namespace nodalis {

// As WriteSeriesDiagram (graphics/draw/DiagramExport.h): FileName as the file
// system's bytes, Dpi 96, 300 or 600.  False with a UTF-8 message when the
// module cannot be loaded or the file cannot be written.
bool WriteSeriesDiagramThroughModule(const std::string& FileName, int Dpi,
                                     std::string* ErrorUtf8);

// As WriteSeriesMap (graphics/draw/DiagramExport.h): the world map of the
// series on screen with the Moon of UseLunarLib and Delta T by Model.
// Place, when given, is marked on the map.
bool WriteSeriesMapThroughModule(const std::string& FileName, int Dpi, DeltaTModel Model,
                                 const std::optional<GeodeticPlace>& Place, std::string* ErrorUtf8);

// Writes Data into FileName (the file system's bytes) through the module's
// QSaveFile writer (WriteFileData in graphics/draw/DiagramExport.h).  False
// with a UTF-8 message when the module cannot be loaded or the file cannot
// be written (an existing file then keeps its old bytes).
bool WriteFileThroughModule(const std::string& FileName, const std::string& Data,
                            std::string* ErrorUtf8);

}  // namespace nodalis
