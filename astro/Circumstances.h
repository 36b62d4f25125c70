// Circumstances — where and how an eclipse is greatest on the Earth: the
// geographic position of greatest eclipse, the Sun's altitude and azimuth
// there, the eclipse magnitude, and for central eclipses the width of the
// path and the duration of the central phase.
//
// Input is a member's Besselian elements at greatest eclipse as CalcEclipse
// leaves them in a BesselRec (JDMax TDT, X, Y, F1, L1, F2, L2, Axes).  The
// routine adds the declination d and the Greenwich hour angle mu of the
// shadow axis (apparent sidereal time at UT = TDT - Delta T) and the hourly
// rates x', y', d', mu', l2' from a symmetric difference of BesselElements
// over +-10 minutes.  Positions lie on the reference ellipsoid (IAU 1976,
// a = 6378.140 km, f = 1/298.257).
//
// Greatest eclipse is the point of the Earth's surface nearest the shadow
// axis: where the axis pierces the ellipsoid (central eclipse), otherwise the
// point of the Earth's limb, seen along the axis, nearest to it (the Sun on
// the horizon there).  Shadow radii on the fundamental plane use the lunar
// radii of the NASA eclipse canons, k1 = 0.272488 (penumbra) and
// k2 = 0.272281 (umbra, the mean radius less the limb valleys), and the
// exact cone geometry (tan f, sec f); the record's l1, l2 (sin f for tan f,
// k = 0.2725076) are not changed.  Altitudes are geometric (no refraction),
// azimuths from north through east.
//
// References: Explanatory Supplement to the Astronomical Ephemeris and the
// American Ephemeris and Nautical Almanac (1961), ch. 9; Explanatory
// Supplement to the Astronomical Almanac (1992), sec. 8.3; J. Meeus,
// Elements of Solar Eclipses 1951-2200 (1989); F. Espenak and J. Meeus,
// Five Millennium Canon of Solar Eclipses, NASA/TP-2006-214141 (2006).
#pragma once

#include "astro/BesselRec.h"
#include "astro/DeltaTModel.h"

namespace nodalis {

constexpr long double EARTH_EQUATORIAL_RADIUS_KM = 6378.140L;  // IAU 1976
constexpr long double EARTH_FLATTENING = 1.0L / 298.257L;       // IAU 1976
constexpr long double CANON_K_PENUMBRA = 0.272488L;  // Moon radius / Earth radius
constexpr long double CANON_K_UMBRA = 0.272281L;

// Hybrid eclipses by the type at greatest eclipse and at the two ends of the
// central line.
enum class HybridCourse {
  NotHybrid,
  AnnularTotalAnnular,  // total at greatest eclipse, annular at both ends
  TotalToAnnular,       // total at the start, annular at the end
  AnnularToTotal,       // annular at the start, total at the end
  TotalAnnularTotal     // annular at greatest eclipse, total at both ends
};

struct EclipseCircumstances {
  bool Valid = false;          // false: no eclipse, or elements not finite
  long double JDTDT = 0;       // instant of greatest eclipse, Julian date TDT
  DeltaTModel Model = DeltaTModel::Nodalis;
  long double DeltaTSeconds = 0;
  long double JDUT = 0;        // JDTDT - Delta T
  long long Lunation = 0;      // Meeus' count, 0 = new moon of 2000 Jan 6

  // Shadow axis and rates (per hour of TDT).
  long double DDeg = 0;        // declination of the shadow axis
  long double MuDeg = 0;       // its Greenwich hour angle at UT, [0, 360) (the
                               // ephemeris hour angle of published element
                               // tables is larger by 1.002738 * Delta T * 15"/s)
  long double XRate = 0, YRate = 0;    // x', y', Earth radii per hour
  long double DRateDeg = 0, MuRateDeg = 0;  // d', mu', degrees per hour
  long double L1 = 0, L2 = 0;  // shadow radii on the fundamental plane (k1, k2)
  long double TanF1 = 0, TanF2 = 0;

  // Point of greatest eclipse.
  bool Central = false;        // the shadow axis meets the ellipsoid
  long double Xi = 0, Eta = 0, Zeta = 0;  // its fundamental-plane coordinates
  long double LatitudeDeg = 0;            // geodetic, north positive
  long double LongitudeDeg = 0;           // east positive, (-180, 180]
  long double SunAltitudeDeg = 0;
  long double SunAzimuthDeg = 0;          // [0, 360)
  long double Magnitude = 0;  // covered fraction of the Sun's diameter; central:
                              // ratio of the apparent diameters Moon / Sun

  // Central eclipses only (otherwise 0 / false).
  long double PathWidthKm = 0;            // width of the umbral path on the ground
  long double CentralDurationS = 0;       // duration of the central phase there
  bool NorthLimit = false, SouthLimit = false;  // the umbra's limits reach the Earth
  HybridCourse Course = HybridCourse::NotHybrid;

  // The type by the canon's definitions, on the ellipsoid with the canon's
  // umbra (k2): 'H' when the umbral cone's vertex crosses the surface along
  // the central line (the umbral radius there changes sign between greatest
  // eclipse and an end), else 'T' or 'A' by its sign; a non-central
  // eclipse 'T' or 'A' when the umbra or antumbra reaches the ellipsoid
  // beside the axis, else 'P'.  0 when not Valid.
  char CanonType = 0;
  long double UmbraAtGreatest = 0;  // umbral radius on the surface there (the
                                    // limb point for a non-central eclipse),
                                    // Earth radii, negative = total
  long double UmbraAtStart = 0, UmbraAtEnd = 0;  // at the ends of the central line
};

// Circumstances of the eclipse in Rec (as CalcEclipse leaves it, TDT; the
// Moon of the rate runs is the one UseLunarLib selects, so keep it as it
// was for CalcEclipse).  A record of type 0 gives Valid = false.
EclipseCircumstances Circumstances(const BesselRec& Rec, DeltaTModel Model);

// The same for the elements at the instant JD (TDT) instead of a record's
// greatest eclipse; Valid = false when the penumbra misses the Earth.
EclipseCircumstances CircumstancesAt(long double JD, DeltaTModel Model);

}  // namespace nodalis
