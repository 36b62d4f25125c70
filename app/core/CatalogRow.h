// CatalogRow — one solar eclipse as a row in the layout of the NASA Five
// Millennium Canon's CSV catalogue (the published "solar.csv" layout):
//
//   Catalog Number,Calendar Date,Eclipse Time,Delta T (s),Lunation Number,
//   Saros Number,Eclipse Type,Gamma,Eclipse Magnitude,Latitude,Longitude,
//   Sun Altitude,Sun Azimuth,Path Width (km),Central Duration
//
// e.g. "00001,-1999 June 12,03:14:51,46438,-49456,5,T,-0.2701,1.0733,6.0N,
// 33.3W,74,344,247,06m37s".  Catalog number in five digits; date and time
// (TDT, to the second) of greatest eclipse, astronomical year, Julian
// calendar before 1582 October 15; Delta T, altitude, azimuth and path width
// in whole units; gamma and magnitude to four decimals without trailing
// zeros; latitude and longitude to 0.1 degree with N/S, E/W.  Partial
// eclipses leave path width and duration empty, non-central ones write "-"
// for both, central ones without a northern or southern limit "-" for the
// width.
//
// Type: P, A, T, H by the canon's definitions (EclipseCircumstances::
// CanonType: the ellipsoid, the canon's umbra, hybrid when the umbra changes
// between total and annular along the central line; not the type code of
// CalcEclipse, which looks at greatest eclipse on a sphere), then one
// qualifier, the first that applies: b / e first / last member of its Saros
// series, 2 / 3 hybrid that begins total / annular and ends annular /
// total, m the series' middle member, + / - non-central with the shadow
// axis north / south of the Earth, n / s central without the northern /
// southern limit.
#pragma once

#include <string>

#include "astro/BesselRec.h"
#include "astro/Circumstances.h"

namespace nodalis {

extern const char* const CATALOG_HEADER;  // the header line, without line end

// Place of a member in its Saros series.
struct SarosPlace {
  bool First = false, Last = false, Middle = false;
  int Number = 0;  // member number in the series, from 1 (0: not known)
};

// The type text ("T", "Pb", "A-", "H3", ...) of an eclipse ("" when C is
// not Valid).
std::string CatalogTypeText(const BesselRec& Rec, const EclipseCircumstances& C,
                            const SarosPlace& Place);

// One row, without line end.  Rec as CalcEclipse leaves it (TDT), C its
// circumstances.
std::string CatalogRow(long CatalogNo, const BesselRec& Rec, const EclipseCircumstances& C,
                       const SarosPlace& Place);

}  // namespace nodalis
