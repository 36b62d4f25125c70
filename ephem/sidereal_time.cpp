// orbitcore — local mean or apparent sidereal time.
//
// sidereal_time(jd, longitude_deg, apparent): jd is a universal-time Julian
// date, longitude in degrees east; result in hours.  Mean sidereal time at
// Greenwich (IAU 1982 expression in the form of Meeus 12.4) plus the
// longitude, reduced to [0, 24) h.  With apparent != 0 the equation of the
// equinoxes dpsi cos(eps) is added, nutation and true obliquity evaluated at
// jd + Delta T / 86400; the sum is reduced to [0, 24) h again (the
// equation of the equinoxes, at most about 1.2 s, can carry a mean time
// just below 24 h over it or one just above 0 h below it).  Cached on (jd,
// longitude, switch).
//
// Reference: Meeus, Astronomical Algorithms, eq. 12.4 and ch. 12.
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {
struct SiderealCache {
  bool valid = false;
  double jd = 0.0, longitude = 0.0;
  int apparent = 0;
  double hours = 0.0;
};
SiderealCache st_cache;
}  // namespace

double sidereal_time(double jd, double longitude_deg, int apparent) {
  const int mode = apparent != 0 ? 1 : 0;
  if (st_cache.valid && st_cache.jd == jd &&
      st_cache.longitude == longitude_deg && st_cache.apparent == mode)
    return st_cache.hours;
  const double t = centuries_j2000(jd);
  const double theta0 = 280.46061837 + 360.98564736629 * (jd - J2000_JD) +
                        t * t * (0.000387933 - t / 38710000.0);
  double theta = norm_360(theta0 + longitude_deg) / 15.0;
  if (mode) {
    const double jd_tt = jd + delta_t_at(jd) / 86400.0;
    const double eps = obliquity(jd_tt, 1);
    double dpsi, deps;
    nutation(jd_tt, &dpsi, &deps);
    theta += dpsi * DEG_PER_RAD / 15.0 * std::cos(eps);
    if (theta >= 24.0) theta -= 24.0;
    if (theta < 0.0) theta += 24.0;
    if (theta >= 24.0) theta = 0.0;  // -1e-17 + 24 rounds to 24
  }
  st_cache.jd = jd;
  st_cache.longitude = longitude_deg;
  st_cache.apparent = mode;
  st_cache.hours = theta;
  st_cache.valid = true;
  return theta;
}

}  // namespace orbitcore
