// orbitcore — precession of equatorial coordinates from J2000 to the date.
//
// precess_j2000_to_date(jd, &ra, &dec): (ra, dec) in radians, referred to the
// mean equator and equinox of J2000 on entry and of jd (TDT) on return, by the
// rigorous rotation with Lieske's (1977) angles zeta, z, theta (IAU 1976;
// Meeus, Astronomical Algorithms, eqs. 21.3 and 21.4).  Within 0.0002
// centuries (about a week) of J2000 nothing is changed.
#include <cmath>

#include "orbitcore_internal.h"

namespace orbitcore {

void precess_j2000_to_date(double jd, double* ra, double* dec) {
  const double t = centuries_j2000(jd);
  if (std::fabs(t) <= 0.0002) return;
  const double zeta =
      (0.6406161 * t + 0.0000839 * t * t + 0.000005 * t * t * t) * RAD_PER_DEG;
  const double z =
      (0.6406161 * t + 0.0003041 * t * t + 0.0000051 * t * t * t) * RAD_PER_DEG;
  const double theta =
      (0.556753 * t - 0.0001185 * t * t - 0.0000116 * t * t * t) * RAD_PER_DEG;
  const double cd = std::cos(*dec), sd = std::sin(*dec);
  const double ct = std::cos(theta), st = std::sin(theta);
  const double ca = std::cos(*ra + zeta), sa = std::sin(*ra + zeta);
  const double a = cd * sa;
  const double b = ct * cd * ca - st * sd;
  const double c = st * cd * ca + ct * sd;
  *ra = norm_2pi(safe_atan2(a, b) + z);
  *dec = safe_asin(c);
}

}  // namespace orbitcore
