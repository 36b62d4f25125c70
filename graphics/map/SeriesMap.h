// SeriesMap — what the world map shows of a Saros series, free of Qt: for
// each eclipse member its umbral (or antumbral) path as plane rings, its
// central line and the limits of the path, its point of greatest eclipse,
// number, instant and type; and which member lies under a point of the map.
//
// The paths are those of the GIS files (EclipsePaths from each member's
// polynomial Besselian elements, FitBesselPolynomials, with the Moon that
// UseLunarLib selects and Delta T by the given model), densified for the
// map (MAP_CHORD_KM).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "astro/BesselPolynomials.h"
#include "astro/DeltaTModel.h"
#include "graphics/map/MapGeometry.h"

namespace nodalis {

// Densification of the map's curves: a 5 km chord departs from the curve
// by far less than a pixel of the whole world at 600 dpi (about 5 km).
constexpr long double MAP_CHORD_KM = 5.0L;

struct MapMember {
  int No = 0;                     // member number in the series, 1-based
  std::int32_t Saros = 0;
  long double JDGreatestTD = 0;   // greatest eclipse, Julian date TDT
  int TypeCode = 0;               // ECL_PARTIAL .. ECL_HYBRID
  long double L2 = 0;             // umbral radius at greatest eclipse (the colour of partial ones)
  bool Valid = false;             // the penumbra reaches the Earth: paths computed
  BesselPolynomials Elements;     // its polynomial elements (the local circumstances)
  bool Umbral = false;            // the umbra or antumbra reaches the Earth
  MapPoint Greatest;              // greatest eclipse on the ground (or the limb's nearest point)
  std::vector<PlaneRing> Bands;   // the umbral path, plane rings within -180 .. 180
  std::vector<MapRing> CentralLine;  // pieces, time-ordered, split at the antimeridian
  std::vector<MapRing> Limits;       // the path's northern and southern limits, pieces
};

struct SeriesMap {
  std::vector<MapMember> Members;  // eclipse members only, in series order
  bool Complete = true;            // false when a member's elements could not be fitted
};

// The map of the series in List (SeriesList's member lines).
SeriesMap BuildSeriesMap(const std::vector<std::string>& List, DeltaTModel Model);

// The map of List as the last call made it when List, the Moon
// (UseLunarLib) and Model are unchanged, else built anew and kept: the
// map is drawn many times (every zoom, every repaint) for one series.
const SeriesMap& CachedSeriesMap(const std::vector<std::string>& List, DeltaTModel Model);

// The member under P (longitude -180 .. 180): the last drawn (topmost)
// whose band holds P, else the nearest whose central line or greatest
// point lies within ToleranceDeg of P on the map; -1 for none.  Returns an
// index into M.Members.
int MemberAt(const SeriesMap& M, MapPoint P, double ToleranceDeg);

}  // namespace nodalis
