// MapGeometry — the plane geometry of the world map, free of Qt.
//
// The map is the equirectangular (plate carree) projection: x the longitude,
// y the geodetic latitude, both in degrees, east and north positive, so the
// world window of a drawing layer in degrees is the projection itself.  The
// whole world spans x -180 .. 180 and y -90 .. 90 (2 : 1).
//
// A ring on the globe becomes a plane ring by making its longitudes
// continuous: where a step between two points crosses the antimeridian
// (|d lon| > 180 deg) the following longitudes go on beyond +-180 instead of
// jumping by 360 deg.  A ring that then does not close, but ends 360 deg east
// or west of its start, winds once around a pole (Antarctica's coast, an
// umbral path over a pole); it is closed through that pole along the map's
// top or bottom edge (the pole whose hemisphere holds the ring's mean
// latitude).  A plane ring that runs beyond +-180 is drawn again shifted by
// 360 deg (WrapShifts), and the drawing is clipped to the map's frame: that
// splits it at the antimeridian on the map, without cutting the ring.
#pragma once

#include <cstddef>
#include <vector>

#include "graphics/map/WorldOutlines.h"

namespace nodalis {

struct MapPoint {
  double LonDeg = 0;  // east positive; plane rings may run beyond +-180
  double LatDeg = 0;  // -90 .. 90
};

using MapRing = std::vector<MapPoint>;

// The map's frame, degrees.
constexpr double MAP_WEST_DEG = -180, MAP_EAST_DEG = 180;
constexpr double MAP_SOUTH_DEG = -90, MAP_NORTH_DEG = 90;
// Meridians and parallels every 30 deg.
constexpr double GRATICULE_STEP_DEG = 30;

struct PlaneRing {
  MapRing Points;              // closed: the last point repeats the first
  std::size_t CoastCount = 0;  // the first CoastCount points are the ring's own outline
  int Pole = 0;                // +1 closed through the north pole, -1 the south, 0 neither
  double MinLonDeg = 0, MaxLonDeg = 0;
};

// The plane ring of a closed ring on the globe (longitudes -180 .. 180, as
// the outlines and GIS rings have them).
PlaneRing MakePlaneRing(const MapRing& GlobeRing);

// A land polygon: its exterior, then its holes, as plane rings.
struct LandPolygon {
  std::vector<PlaneRing> Rings;
  double MinLonDeg = 0, MaxLonDeg = 0;  // of the exterior
};

// The land of the outline table at Detail as plane polygons (made once,
// then kept: the table never changes).
const std::vector<LandPolygon>& LandPolygons(OutlineDetail Detail);

// The multiples of 360 deg by which a plane ring spanning MinLon .. MaxLon
// must be shifted so that its copies cover the part of -180 .. 180 it
// covers on the globe: 0 for a ring within -180 .. 180, also -360 or +360
// for one that runs beyond.
std::vector<double> WrapShifts(double MinLonDeg, double MaxLonDeg);

// Whether P lies inside the plane ring (even-odd rule, the edge counting
// as either side).
bool InsideRing(const MapRing& Ring, MapPoint P);

// Whether P (longitude -180 .. 180) is land in the outline table at Detail:
// inside an exterior and in none of its holes, with the shifted copies.
bool IsLand(MapPoint P, OutlineDetail Detail);

// The detail to draw at a scale of PxPerDeg device pixels per degree of
// longitude: the fine outlines once a pixel is smaller than 0.2 deg (a
// 1:50 million outline point is then no longer hidden in a pixel of the
// coarse one).
constexpr double FINE_OUTLINE_PX_PER_DEG = 5.0;
OutlineDetail DetailForScale(double PxPerDeg);

// One line of the graticule, from A to B (straight on the map).
struct MapSegment {
  MapPoint A, B;
};
// The meridians -180, -150, ..., 180 and the parallels -60 .. 60 every
// StepDeg (the frame gives +-90); each line whole.
std::vector<MapSegment> Graticule(double StepDeg = GRATICULE_STEP_DEG);

// The distance on the map from P to the segment A-B, degrees (longitude
// and latitude degrees alike, as the map draws them).
double MapDistanceDeg(MapPoint P, MapPoint A, MapPoint B);

}  // namespace nodalis
