// Places of the map tests: cities far inland and points of the open sea
// (WGS 84, degrees), NASA's path of 2017, and the series they are drawn with.
//
// Cities: GeoNames (geonames.org), each city's entry: Madrid 40.4165 N
// 3.7026 W, Moscow 55.7522 N 37.6156 E, Denver 39.7392 N 104.9847 W,
// Brasilia 15.7797 S 47.9297 W, Ulaanbaatar 47.9077 N 106.8832 E, Nairobi
// 1.2833 S 36.8167 E, Alice Springs 23.6980 S 133.8807 E; every one more
// than 2 deg from the sea, so either level of detail must call it land.
// Sea points more than 2 deg from any coast: the North Atlantic at 40 N
// 40 W, the Pacific at 5 N 140 W, the Indian Ocean at 20 S 80 E, the
// Southern Ocean at 55 S 100 W, the Arctic Ocean at 85 N 15 E (none on a
// line of the 30 deg graticule).
#pragma once

#include <string>
#include <vector>

#include "app/core/SeriesCommands.h"
#include "app/core/SeriesState.h"

namespace map_test {

// The series of Saros Number as "&Gehe zu:" builds it (the Moon by "Auto").
inline std::vector<std::string> SeriesOf(int Number) {
  nodalis::SeriesCommands c;
  c.Start();
  c.SarosField = Number;
  c.ChangeSaros(0);
  return nodalis::SeriesList;
}

struct Place {
  const char* Name;
  double Lat, Lon;
};

inline const Place CITIES[] = {{"Madrid", 40.4165, -3.7026},       {"Moscow", 55.7522, 37.6156},
                               {"Denver", 39.7392, -104.9847},     {"Brasilia", -15.7797, -47.9297},
                               {"Ulaanbaatar", 47.9077, 106.8832}, {"Nairobi", -1.2833, 36.8167},
                               {"Alice Springs", -23.6980, 133.8807}};
inline const Place SEA[] = {{"North Atlantic", 40, -40}, {"Pacific", 5, -140},
                            {"Indian Ocean", -20, 80},   {"Southern Ocean", -55, -100},
                            {"Arctic Ocean", 85, 15}};

// NASA, "Path of the Total Solar Eclipse of 2017 Aug 21" (F. Espenak),
// https://eclipse.gsfc.nasa.gov/SEpath/SEpath2001/SE2017Aug21Tpath.html
// (WGS 84, Delta T 68.4 s): the northern limit, the southern limit and the
// central line at three instants (UT), degrees converted from the table's
// degrees and minutes.
struct PathRow {
  const char* Ut;
  double NorthLat, NorthLon, SouthLat, SouthLon, CentralLat, CentralLon;
  bool OverLand;  // Wyoming and Nebraska; the third over the Atlantic
};
inline const PathRow PATH_2017[] = {
    {"17:40", 43.7267, -108.4717, 42.7317, -108.4833, 43.2283, -108.4750, true},
    {"18:00", 41.3333, -98.1483, 40.3433, -98.4617, 40.8383, -98.3050, true},
    {"19:00", 30.9983, -74.5817, 30.2067, -75.3550, 30.6033, -74.9700, false},
};

// Points across the path at a fraction F of the way from the southern limit
// (0) to the northern one (1): inside at 0.25 and 0.75, outside at -0.25
// and 1.25 (a quarter of the width, about 28 km, beyond a limit; our limits
// lie within 2 km of the table's).
inline void Across(const PathRow& R, double F, double& Lat, double& Lon) {
  Lat = R.SouthLat + F * (R.NorthLat - R.SouthLat);
  Lon = R.SouthLon + F * (R.NorthLon - R.SouthLon);
}

}  // namespace map_test
