// orbitcore — annual aberration, ecliptic or equatorial.
//
// aberration(jd, &a, &b, sun_longitude, mode): jd TDT; sun_longitude the
// Sun's geometric ecliptic longitude (rad).  Includes the terms of the
// Earth's orbital eccentricity e and longitude of perihelion pi.
//   mode 0: a = ecliptic longitude, b = latitude (rad); both corrections use
//           the longitude on entry; the longitude is not reduced.
//   mode 1: a = right ascension, b = declination (rad); uses the true
//           obliquity; the right ascension is reduced to [0, 2pi).
//   other modes leave a and b unchanged.
// kappa = 20.49552".  A latitude or declination of exactly +-90 deg divides
// by zero (callers do not pass such values).
//
// Reference: Meeus, Astronomical Algorithms (2nd ed.), eqs. 23.2 and 23.3.
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {

struct AberrationCache {
  bool valid = false;
  double jd = 0.0;
  double e = 0.0;         // eccentricity of the Earth's orbit
  double perihelion = 0;  // longitude of perihelion, rad
  bool refresh = true;    // equatorial mode must refresh its values
  double cos_pi = 1.0, sin_pi = 0.0, sin_eps = 0.0, cos_eps = 1.0;
};
AberrationCache ab;

}  // namespace

void aberration(double jd, double* a, double* b, double sun_longitude,
                int mode) {
  if (!(ab.valid && ab.jd == jd)) {
    const double t = centuries_j2000(jd);
    ab.e = 0.016708617 - 0.000042037 * t - 0.0000001236 * t * t;
    ab.perihelion = (102.937348 + 1.7195366 * t + 0.00045688 * t * t -
                     0.000000018 * t * t * t) * RAD_PER_DEG;
    ab.jd = jd;
    ab.valid = true;
    ab.refresh = true;
  }
  const double k = ABERRATION_KAPPA_RAD;
  const double e = ab.e;
  if (mode == 0) {
    const double lam = *a, beta = *b;
    *a = lam - k * (std::cos(sun_longitude - lam) -
                    e * std::cos(ab.perihelion - lam)) / std::cos(beta);
    *b = beta - k * std::sin(beta) * (std::sin(sun_longitude - lam) -
                                      e * std::sin(ab.perihelion - lam));
  } else if (mode == 1) {
    if (ab.refresh) {
      ab.cos_pi = std::cos(ab.perihelion);
      ab.sin_pi = std::sin(ab.perihelion);
      obliquity_sincos(jd, 1, &ab.sin_eps, &ab.cos_eps);
      ab.refresh = false;
    }
    const double alpha = *a, delta = *b;
    const double ca = std::cos(alpha), sa = std::sin(alpha);
    const double cd = std::cos(delta), sd = std::sin(delta);
    const double cs = std::cos(sun_longitude), ss = std::sin(sun_longitude);
    const double ce = ab.cos_eps;
    const double q = ab.sin_eps / ce * cd - sa * sd;
    *a = norm_2pi(alpha + k * (e * (ca * ce * ab.cos_pi + sa * ab.sin_pi) -
                               (ca * ce * cs + sa * ss)) / cd);
    *b = delta + k * (e * (q * ce * ab.cos_pi + ab.sin_pi * ca * sd) -
                      (q * ce * cs + ss * ca * sd));
  }
}

}  // namespace orbitcore
