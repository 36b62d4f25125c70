// WorldMap.h — the Saros series on a world map.
//
// DrawWorldMap draws, through any drawing layer, an equirectangular world
// (graticule every 30 deg, sea, land filled and its coast outlined: the
// coarse outlines for the whole world, the fine ones once the map is zoomed
// far enough, DetailForScale) and on it each member of a series (SeriesMap):
// its umbral path as a band filled in the diagram's colour of its type
// (total, annular, hybrid; non-central ones alike), the path's limits and
// its central line, and its member number at greatest eclipse; a member
// that is only partial is marked by a ring at its point of greatest
// eclipse.  Above the map the series title as the diagram has it
// (TitleCaption), below it the degree labels, the colour legend and the
// program's name.  The world window is in degrees (MAP_WORLD_*), the map's
// frame -180 .. 180 by -90 .. 90; lengths in millimetres are converted by
// the layer, so pens and fonts keep their physical size on every device.
//
// DrawSeriesMap is the drawing procedure of the map window, the map file and
// printing: the map of SeriesList (CachedSeriesMap with MapDeltaTModel).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "astro/DeltaTModel.h"
#include "graphics/draw/GDIext.h"
#include "graphics/map/SeriesMap.h"

namespace nodalis {

// The world window of the map picture, degrees: the frame with room for
// the title above and the labels and the legend below.
constexpr float MAP_WORLD_X1 = -190.0f, MAP_WORLD_X2 = 190.0f;
constexpr float MAP_WORLD_Y1 = -128.0f, MAP_WORLD_Y2 = 106.0f;

// The page of the map written to a file: 10 inches (254 mm) wide, as tall
// as the world window's proportion asks (6.16 in): 960 x 591 pixels at
// 96 dpi.
constexpr double MAP_PAGE_WIDTH_IN = 10.0;
constexpr double MAP_PAGE_HEIGHT_IN =
    MAP_PAGE_WIDTH_IN * (double(MAP_WORLD_Y2) - double(MAP_WORLD_Y1)) /
    (double(MAP_WORLD_X2) - double(MAP_WORLD_X1));

// Colours of the map (0x00BBGGRR).
constexpr TColor MAP_SEA = RGBColor(204, 226, 244);
constexpr TColor MAP_LAND = RGBColor(236, 228, 200);
constexpr TColor MAP_COAST = RGBColor(120, 110, 84);
constexpr TColor MAP_GRATICULE = RGBColor(150, 172, 196);

// Delta T of the map's paths: the program's model in the window; the
// command line's --delta-t for its map file.
extern DeltaTModel MapDeltaTModel;

// The place DrawSeriesMap marks (the settings file's [Ini] Place in the
// window, --place on the command line); none when unset.
extern std::optional<MapPoint> MapMarkedPlace;

// The map window's caption (Windows-1252): "Nodalis  Karte 145" with the
// Saros number of the first member, "Nodalis  Karte" for a list without
// members.
std::string MapCaption(const std::vector<std::string>& List);

// Draws the map of M through GDI, whose world window is in degrees, with
// Place marked (a white ring with a black cross, over every band) when given.
void DrawWorldMap(tGDIext& GDI, const SeriesMap& M, const std::optional<MapPoint>& Place = {});

// Colours of the place's mark.
constexpr TColor MAP_PLACE_RING = RGBColor(255, 255, 255);
constexpr TColor MAP_PLACE_CROSS = RGBColor(0, 0, 0);

// The drawing procedure (a DrawProc): the map of SeriesList.
void DrawSeriesMap(tGDIext& GDI);

// The map of SeriesList into FileName as WriteDiagramFile writes the
// diagram (bitmap at Dpi 96, 300 or 600, or a PDF or SVG page, through
// QSaveFile), on the map's page; Title the document title.
bool WriteSeriesMapFile(const QString& FileName, int Dpi, QString* Error, const QString& Title);

}  // namespace nodalis
