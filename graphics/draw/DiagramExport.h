// DiagramExport.h — the series diagram into a file, for headless callers
// and the world map (nodalis-cli). Plain standard types: the caller needs no
// Qt headers.
#pragma once

#include <string>

#include "astro/DeltaTModel.h"

namespace nodalis {

// Draws the series in SeriesList (with ReferenceJD, the option states and
// TitleCaption) with the graph window's world window into the file FileName
// (the file system's bytes, taken as the system's UTF-8): .bmp/.png bitmaps
// of the export page at Dpi (96, 300 or 600), or .pdf/.svg vector pages of
// the same size titled like the graph window ("Nodalis  145"). Starts a Qt
// application on the offscreen platform when none runs. On failure returns
// false with a UTF-8 message; an existing file then keeps its old bytes.
bool WriteSeriesDiagram(const std::string& FileName, int Dpi, std::string* ErrorUtf8);

// Draws the world map of the series in SeriesList (TitleCaption, the Moon
// of UseLunarLib, Delta T by Model) into the file FileName as
// WriteSeriesDiagram writes the diagram, on the map's page (10 inches
// wide); PDF and SVG titled like the map window ("Nodalis  Karte 145").
bool WriteSeriesMap(const std::string& FileName, int Dpi, DeltaTModel Model, std::string* ErrorUtf8);

// Writes Data into the file FileName (the file system's bytes) through
// QSaveFile as the diagram files are written (WriteDataFile).  On failure
// returns false with a UTF-8 message; an existing file keeps its old bytes.
bool WriteFileData(const std::string& FileName, const std::string& Data, std::string* ErrorUtf8);

}  // namespace nodalis
