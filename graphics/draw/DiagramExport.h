// DiagramExport.h — the series diagram into a file, for headless callers
// (nodalis-cli). Plain standard types: the caller needs no Qt headers.
#pragma once

#include <string>

namespace nodalis {

// Draws the series in SeriesList (with ReferenceJD, the option states and
// TitleCaption) with the graph window's world window into the file FileName
// (the file system's bytes, taken as the system's UTF-8): .bmp/.png bitmaps
// of the export page at Dpi (96, 300 or 600), or .pdf/.svg vector pages of
// the same size titled like the graph window ("Nodalis  145"). Starts a Qt
// application on the offscreen platform when none runs. On failure returns
// false with a UTF-8 message; an existing file then keeps its old bytes.
bool WriteSeriesDiagram(const std::string& FileName, int Dpi, std::string* ErrorUtf8);

// Writes Data into the file FileName (the file system's bytes) through
// QSaveFile as the diagram files are written (WriteDataFile).  On failure
// returns false with a UTF-8 message; an existing file keeps its old bytes.
bool WriteFileData(const std::string& FileName, const std::string& Data, std::string* ErrorUtf8);

}  // namespace nodalis
