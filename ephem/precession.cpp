// orbitcore — precession of equatorial coordinates from J2000 to the date.
//
// precess_j2000_to_date(jd, &ra, &dec): (ra, dec) in radians, referred to the
// mean equator and equinox of J2000 on entry and of jd (TDT) on return, by the
// rigorous rotation with Lieske's (1977) angles zeta, z, theta (IAU 1976;
// Meeus, Astronomical Algorithms, eqs. 21.3 and 21.4).  Within 0.0002
// centuries (about a week) of J2000 nothing is changed.
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

// Lieske's (1977) precession angles zeta, z, theta in radians, for t Julian
// centuries from J2000 (polynomials in degrees; Meeus, Astronomical
// Algorithms, ch. 21).
static void precession_angles(double t, double* zeta, double* z, double* theta) {
  *zeta = (0.6406161 * t + 0.0000839 * t * t + 0.000005 * t * t * t) * RAD_PER_DEG;
  *z = (0.6406161 * t + 0.0003041 * t * t + 0.0000051 * t * t * t) * RAD_PER_DEG;
  *theta = (0.556753 * t - 0.0001185 * t * t - 0.0000116 * t * t * t) * RAD_PER_DEG;
}

void precess_j2000_to_date(double jd, double* ra, double* dec) {
  const double t = centuries_j2000(jd);
  if (std::fabs(t) <= 0.0002) return;
  double zeta, z, theta;
  precession_angles(t, &zeta, &z, &theta);
  const double cd = std::cos(*dec), sd = std::sin(*dec);
  const double ct = std::cos(theta), st = std::sin(theta);
  const double ca = std::cos(*ra + zeta), sa = std::sin(*ra + zeta);
  const double a = cd * sa;
  const double b = ct * cd * ca - st * sd;
  const double c = st * cd * ca + ct * sd;
  *ra = norm_2pi(safe_atan2(a, b) + z);
  *dec = safe_asin(c);
}

void ecliptic_of_date_to_j2000(double jd, double* lon, double* lat) {
  const double t = centuries_j2000(jd);
  if (std::fabs(t) <= 0.0002) return;
  double zeta, z, theta;
  precession_angles(t, &zeta, &z, &theta);
  double sin_eps, cos_eps;
  obliquity_sincos(jd, 0, &sin_eps, &cos_eps);

  // Unit vector, ecliptic of date -> equator of date.
  const double cb = std::cos(*lat);
  const double ex = cb * std::cos(*lon), ey = cb * std::sin(*lon), ez = std::sin(*lat);
  const double x0 = ex;
  const double y0 = ey * cos_eps - ez * sin_eps;
  const double z0 = ey * sin_eps + ez * cos_eps;
  // Equator of date -> equator of J2000: R3(zeta) R2(-theta) R3(z).
  const double x1 = x0 * std::cos(z) + y0 * std::sin(z);
  const double y1 = -x0 * std::sin(z) + y0 * std::cos(z);
  const double x2 = std::cos(theta) * x1 + std::sin(theta) * z0;
  const double z2 = -std::sin(theta) * x1 + std::cos(theta) * z0;
  const double x3 = x2 * std::cos(zeta) + y1 * std::sin(zeta);
  const double y3 = -x2 * std::sin(zeta) + y1 * std::cos(zeta);
  // Equator of J2000 -> ecliptic of J2000.
  const double ye = y3 * std::cos(EPS_J2000_RAD) + z2 * std::sin(EPS_J2000_RAD);
  const double ze = -y3 * std::sin(EPS_J2000_RAD) + z2 * std::cos(EPS_J2000_RAD);
  *lon = norm_2pi(safe_atan2(ye, x3));
  *lat = safe_asin(ze);
}

}  // namespace orbitcore
