// GeoFiles — the paths of eclipses (EclipsePaths) as GIS files: GeoJSON
// (RFC 7946) and KML 2.2, as text (UTF-8, "\n" line ends); the caller
// writes it.
//
// GeoJSON: one FeatureCollection; per eclipse one Feature per curve kind
// (LineString, or MultiLineString when the curve comes in pieces: split at
// the antimeridian as RFC 7946 sec. 3.1.9 asks), the umbral path as a
// Polygon or MultiPolygon (exterior rings counter-clockwise).  Positions
// are [longitude, latitude] in degrees (WGS 84 as RFC 7946 has it; the
// paths are computed on the IAU 1976 ellipsoid, which differs by
// metres), four decimals.  Properties of every Feature:
//   saros, member (number in its Saros series), date (of greatest eclipse,
//   TD, "YYYY-MM-DD", astronomical year), calendar ("julian" before
//   1582-10-15, else "gregorian"), greatest_td ("HH:MM:SS"), type ("P",
//   "A", "T", "H"), type_code (the program's 0..6), gamma, delta_t_s,
//   kind ("central", "umbra_north", "umbra_south", "penumbra_north",
//   "penumbra_south", "sunrise_maximum", "sunset_maximum", "umbra"),
//   ut_start, ut_end (first and last instant, UT, "YYYY-MM-DDTHH:MM:SS" in
//   the same calendar).
// With Detailed, each line Feature also carries "ut" (the instant of every
// position, UT, the same form; one array per piece), and the central line
// "duration_s" (central phase, s) and "sun_altitude_deg" per position.
//
// KML: a Document with line and polygon styles, one Folder per eclipse
// (named like "Saros 145 Nr. 22  2017-08-21 T"), its curves as
// Placemarks (German names, the kind in ExtendedData) with tessellated
// LineStrings (MultiGeometry for pieces), the umbral path as filled
// Polygons, and greatest eclipse as a Point.
#pragma once

#include <cstdint>
#include <string>

#include "astro/EclipsePaths.h"

namespace nodalis {

enum class GeoFileFormat { GeoJson, Kml };

// The format of a file name by its extension (".geojson", ".kml", any
// letter case); false for any other.
bool GeoFileFormatOf(const std::string& FileName, GeoFileFormat& Format);

// What a file says about one eclipse besides its paths.
struct GeoEclipse {
  int32_t Saros = 0;
  int Member = 0;               // number in the series, from 1; 0 unknown
  long double JDGreatestTD = 0;
  long double DeltaTSeconds = 0;
  std::uint8_t TypeCode = 0;    // 0..6 (BesselRec's type codes)
  float Gamma = 0;
};

// Collects the eclipses of one file.  Add appends one eclipse's text at
// once (the paths need not be kept); Finish closes the document and hands
// over the text.
class GeoFileWriter {
 public:
  GeoFileWriter(GeoFileFormat Format, const std::string& TitleUtf8, bool Detailed);
  void Add(const GeoEclipse& Eclipse, const EclipsePaths& Paths);
  std::string Finish();
  std::size_t Features() const { return Features_; }

 private:
  void AddGeoJson(const GeoEclipse& E, const EclipsePaths& P);
  void AddKml(const GeoEclipse& E, const EclipsePaths& P);
  GeoFileFormat Format_;
  bool Detailed_;
  bool First_ = true;
  std::size_t Features_ = 0;
  std::string Text_;
};

}  // namespace nodalis
