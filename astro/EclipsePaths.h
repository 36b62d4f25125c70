// EclipsePaths — where on the Earth a solar eclipse is seen: the central
// line, the northern and southern limits of the umbra (or antumbra) and of
// the penumbra, the curves of maximum eclipse at sunrise and at sunset, and
// the umbral path as a polygon, each as geographic points with their
// universal time.  A pure function of the polynomial Besselian elements
// (which carry Delta T); no state.
//
// Method: the standard one of the Explanatory Supplement to the Astronomical
// Ephemeris (1961), ch. 9, and J. Meeus, Elements of Solar Eclipses
// 1951-2200 (1989), on the reference ellipsoid (IAU 1976, a = 6378.140 km,
// f = 1/298.257), at sea level, without refraction:
//   - central line: where the shadow axis (x, y) pierces the ellipsoid;
//   - limits: at each instant the point of the ground on the edge of the
//     shadow cone (radius L = l - zeta tan f at its height zeta above the
//     fundamental plane) that lies on the envelope of the moving edge,
//     d/dt[(x - xi)^2 + (y - eta)^2 - L^2] = 0 for the fixed ground point
//     (its rates xi' = mu' (zeta cos d - eta sin d), eta' = mu' xi sin d -
//     zeta d', zeta' = -mu' xi cos d + eta d'); "north" is the side to the
//     left of the shadow's motion on the fundamental plane;
//   - maximum eclipse at sunrise / sunset: the point of the Earth's limb
//     (the outline xi^2 + eta^2 / rho1^2 = 1, rho1^2 = 1 - e^2 cos^2 d)
//     whose distance from the shadow axis is at its minimum, inside the
//     penumbra; sunrise where the point rises (zeta' > 0), sunset where it
//     sets;
//   - duration on the central line 2 |L2| / n, n the speed of the shadow
//     relative to the ground point (Meeus, ch. 6).
// The northern and southern limits use the canon's lunar radii as the
// elements do (l1, l2).  Hour angles: H = mu + lambda - 1.002738 * 15 *
// DeltaT / 3600 deg (mu the ephemeris hour angle of the elements).
//
// Curves are cut where they leave the Earth (at the limb, where the Sun is
// on the horizon) and lie on the daylit hemisphere only.  Points are dense
// enough that the straight segment between neighbours, in longitude and
// latitude as well as along the great circle, departs from the true curve
// by less than MaxChordKm (1 km by default).  A curve that crosses the
// antimeridian is split there: each piece ends at longitude +180 or -180
// with an interpolated point, and the next piece begins at the opposite
// sign, so that no segment of a piece spans more than 180 deg of longitude.
// The polynomial elements are evaluated over t0 +- 4 h (the eclipse lasts
// at most about 6.5 h; they are fitted over t0 +- 3 h).
#pragma once

#include <cstdint>
#include <vector>

#include "astro/BesselPolynomials.h"

namespace nodalis {

enum class PathCurveKind : std::uint8_t {
  Central,        // central line
  UmbraNorth,     // northern limit of the umbra (total) or antumbra (annular)
  UmbraSouth,     // southern limit of the umbra or antumbra
  PenumbraNorth,  // northern limit of the partial eclipse
  PenumbraSouth,  // southern limit of the partial eclipse
  SunriseMaximum, // maximum eclipse at sunrise
  SunsetMaximum,  // maximum eclipse at sunset
};

// "central", "umbra_north", "umbra_south", "penumbra_north",
// "penumbra_south", "sunrise_maximum", "sunset_maximum".
const char* PathCurveKindName(PathCurveKind Kind);

struct GeoPoint {
  long double LatitudeDeg = 0;   // geodetic, -90 .. 90
  long double LongitudeDeg = 0;  // east positive, -180 .. 180
};

struct PathPoint {
  long double JDUT = 0;          // the instant, Julian date UT
  long double LatitudeDeg = 0;   // geodetic, -90 .. 90
  long double LongitudeDeg = 0;  // east positive, -180 .. 180
  long double SunAltitudeDeg = 0;  // geometric; 0 on the limb
  long double DurationS = 0;     // central line: duration of the central phase; else 0
  // Central line: the ratio of the apparent diameters of the Moon and the
  // Sun there, (L1 - L2) / (L1 + L2) at the point's height: above 1 total,
  // below 1 annular (a hybrid changes along the line); else 0.
  long double DiameterRatio = 0;
};

// One piece of a curve, time-ordered.
struct PathCurve {
  PathCurveKind Kind = PathCurveKind::Central;
  std::vector<PathPoint> Points;
};

// One polygon ring: closed (the last point repeats the first), longitudes
// -180 .. 180, counter-clockwise in longitude and latitude (the exterior
// ring of RFC 7946).  A ring that encloses a pole runs along the pole's
// latitude (+-90) between longitudes +-180.
using GeoRing = std::vector<GeoPoint>;

struct EclipsePaths {
  bool Valid = false;    // the penumbra reaches the Earth and the elements are finite
  bool Central = false;  // the shadow axis meets the Earth
  bool Umbral = false;   // the umbra or antumbra reaches the Earth
  // Greatest eclipse (P.JDGreatestTD): where the axis meets the Earth, else
  // the point of the limb nearest the axis.
  PathPoint Greatest;
  // Every piece of every curve, in the order of PathCurveKind, each kind's
  // pieces in time order.  A kind may be missing (no central line of a
  // partial eclipse, no northern limit of the penumbra that passes north of
  // the Earth) or come in several pieces (the antimeridian, a limit that
  // leaves and re-enters the Earth).
  std::vector<PathCurve> Curves;
  // The ground the umbra or antumbra sweeps over (empty unless Umbral):
  // bounded by the two limits, matched by instant, and at the ends and where
  // a limit lies off the Earth by the shadow's edge on the limb; split at the
  // antimeridian into several rings.
  std::vector<GeoRing> UmbraPolygons;
};

struct PathOptions {
  long double MaxChordKm = 1.0L;  // densification, see above
  bool Penumbra = true;           // the penumbral limits
  bool Horizon = true;            // the curves of maximum eclipse at sunrise and sunset
  bool UmbraPolygons = true;
};

// The paths of the eclipse of P (as FitBesselPolynomials or the canon's
// tables give it).  Valid = false for an eclipse whose penumbra misses the
// Earth or for elements that are not finite.
EclipsePaths ComputeEclipsePaths(const BesselPolynomials& P, const PathOptions& Options = {});

// The point of one curve at the instant JDUT (UT): the central line, a
// limit, or the maximum on the horizon (either kind of the two gives the
// point, rising or setting); false when the curve has no point on the
// Earth then.
bool PathPointAt(const BesselPolynomials& P, PathCurveKind Kind, long double JDUT, PathPoint& Out);

}  // namespace nodalis
