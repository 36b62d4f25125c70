// LocalCircumstances — how a solar eclipse looks from one place on the
// Earth: the instants of the four contacts and of maximum eclipse (TD and
// UT), the Sun's altitude and azimuth and the position angles P and V at
// each, the magnitude and obscuration at maximum, the duration of the
// total or annular phase, the type seen there and whether the eclipse is in
// progress at sunrise or sunset.  A pure function of the polynomial
// Besselian elements (which carry Delta T) and the place; no state.
//
// Method: the standard one of the Explanatory Supplement to the
// Astronomical Ephemeris (1961), ch. 9, and J. Meeus, Elements of Solar
// Eclipses 1951-2200 (1989), ch. 4-6:
//   - the place's geocentric coordinates rho sin phi', rho cos phi' from its
//     geodetic latitude and its height above the reference ellipsoid
//     (IAU 1976, a = 6378.140 km, f = 1/298.257, as the paths use it);
//   - at an instant t its fundamental-plane coordinates
//       xi   = rho cos phi' sin H,
//       eta  = rho sin phi' cos d - rho cos phi' cos H sin d,
//       zeta = rho sin phi' sin d + rho cos phi' cos H cos d,
//     H = mu + lambda - 1.002738 * 15 * DeltaT / 3600 deg (mu the ephemeris
//     hour angle of the elements, lambda east positive), and their rates
//     xi' = mu' rho cos phi' cos H, eta' = mu' xi sin d - zeta d';
//   - u = x - xi, v = y - eta, the shadow radii at the place
//     L1' = l1 - zeta tan f1, L2' = l2 - zeta tan f2, m = |(u, v)|;
//   - maximum eclipse where m is least (u u' + v v' = 0), contacts where
//     m = L1' (first and fourth) and m = |L2'| (second and third), each
//     found in a scan of t0 +- 4 h refined by the regula falsi (Illinois)
//     to 1e-9 h;
//   - magnitude (L1' - m) / (L1' + L2') for a partial eclipse, else the
//     ratio of the apparent diameters (L1' - L2') / (L1' + L2');
//     obscuration from the area of the two discs' overlap, radii
//     (L1' + L2') / 2 (Sun) and (L1' - L2') / 2 (Moon) at the distance m;
//   - P = atan2(u, v), the position angle of the Moon's centre from the
//     Sun's, from north through east, for the first and fourth contacts, the
//     maximum and the internal contacts of an annular eclipse; P + 180 deg
//     for the second and third contacts of a total eclipse (the contact
//     point lies opposite the Moon's centre); V = P - q with q the Sun's
//     parallactic angle, from the zenith through east.
// The lunar radii are the ones in the elements (l1, l2: the canon's
// k1 = 0.272488, k2 = 0.272281).  The Sun's altitude is geometric, of its
// centre, from the geodetic zenith (no refraction; at the place's height no
// dip of the horizon); azimuth from north through east.  A contact with the
// Sun's altitude below 0 has SunBelowHorizon: the eclipse begins or ends
// there before sunrise or after sunset.  The maximum is the geometric one
// even when the Sun is below the horizon then (its flag says so); the
// magnitude and obscuration are the ones at that instant.
#pragma once

#include <cstdint>

#include "astro/BesselPolynomials.h"

namespace nodalis {

// A place on the reference ellipsoid.
struct GeodeticPlace {
  long double LatitudeDeg = 0;   // geodetic, -90 .. 90, north positive
  long double LongitudeDeg = 0;  // east positive (any value; taken modulo 360)
  long double HeightM = 0;       // above the ellipsoid, metres
};

enum class LocalEclipseKind : std::uint8_t { None, Partial, Annular, Total };

// "none", "partial", "annular", "total".
const char* LocalEclipseKindName(LocalEclipseKind Kind);

struct LocalContact {
  bool Exists = false;
  long double JDTD = 0, JDUT = 0;  // Julian dates, TD and UT
  long double SunAltDeg = 0;       // geometric, -90 .. 90
  long double SunAziDeg = 0;       // from north through east, [0, 360)
  long double PDeg = 0;            // position angle from north, [0, 360)
  long double VDeg = 0;            // position angle from the zenith, [0, 360)
  bool SunBelowHorizon = false;    // SunAltDeg < 0
};

struct LocalCircumstances {
  bool Valid = false;  // finite elements, a finite place with |latitude| <= 90
  LocalEclipseKind Kind = LocalEclipseKind::None;  // as seen from the place
  bool Visible = false;  // some phase with the Sun above the horizon
  LocalContact First, Second, Maximum, Third, Fourth;
  // The instants in (First, Fourth) where the Sun rises or sets at the
  // place (Exists = false when it does not): the eclipse is in progress at
  // sunrise or sunset.
  LocalContact Sunrise, Sunset;
  long double Magnitude = 0;        // at maximum, see above
  long double Obscuration = 0;      // covered fraction of the Sun's disc at maximum
  long double DiameterRatio = 0;    // apparent diameters Moon / Sun at maximum
  long double DurationSeconds = 0;  // total or annular phase, Third - Second
};

// The place's geocentric coordinates in equatorial Earth radii, rho sin phi'
// and rho cos phi', on the IAU 1976 ellipsoid (J. Meeus, Astronomical
// Algorithms, 2nd ed. 1998, ch. 11).
void GeocentricCoordinates(const GeodeticPlace& Place, long double& RhoSinPhi, long double& RhoCosPhi);

// The local circumstances of the eclipse of P at Place.  Kind None (Valid
// true) when the penumbra misses the place; Valid false for elements or a
// place that are not finite or a latitude beyond +-90 deg.
LocalCircumstances ComputeLocalCircumstances(const BesselPolynomials& P, const GeodeticPlace& Place);

}  // namespace nodalis
