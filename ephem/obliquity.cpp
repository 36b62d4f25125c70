// orbitcore — obliquity of the ecliptic, mean and true.
//
// obliquity(jd, true_obliquity): Laskar's (1986) expression for the mean
// obliquity, valid within 10000 years of J2000 (U = T / 100, T in Julian
// centuries TDT): 23 26' 21.448" - 4680.93" U - 1.55" U^2 + 1999.25" U^3
// - 51.38" U^4 - 249.67" U^5 - 39.05" U^6 + 7.12" U^7 + 27.87" U^8
// + 5.79" U^9 + 2.45" U^10; plus the IAU 1980 nutation in obliquity when
// true_obliquity != 0.  Radians.  Cached on (jd, switch).
//
// obliquity_sincos(jd, true_obliquity, &sin, &cos): the same angle with its
// sine and cosine; the mean and the true obliquity keep one entry each, so
// alternating requests for one date do not disturb each other.
//
// Reference: Laskar 1986, A&A 157, 59; Meeus, Astronomical Algorithms, 22.3.
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {

struct ObliquityCache {
  bool valid = false;
  double jd = 0.0;
  int mode = 0;
  double value = 0.0;
};
ObliquityCache obliquity_cache;

struct SinCosCache {
  bool valid = false;
  double jd = 0.0;
  double eps = 0.0, sin_eps = 0.0, cos_eps = 1.0;
};
SinCosCache sincos_cache[2];  // [0] mean, [1] true

}  // namespace

double obliquity(double jd, int true_obliquity) {
  const int mode = true_obliquity != 0 ? 1 : 0;
  if (obliquity_cache.valid && obliquity_cache.jd == jd &&
      obliquity_cache.mode == mode)
    return obliquity_cache.value;
  const double u = centuries_j2000(jd) / 100.0;
  const double poly =
      u * (4680.93 + u * (1.55 + u * (-1999.25 + u * (51.38 + u * (249.67 +
      u * (39.05 + u * (-7.12 + u * (-27.87 + u * (-5.79 + u * -2.45)))))))));
  double eps = (23.439291111 - poly / 3600.0) * RAD_PER_DEG;
  if (mode) {
    double dpsi, deps;
    nutation(jd, &dpsi, &deps);
    eps += deps;
  }
  obliquity_cache.jd = jd;
  obliquity_cache.mode = mode;
  obliquity_cache.value = eps;
  obliquity_cache.valid = true;
  return eps;
}

double obliquity_sincos(double jd, int true_obliquity, double* sin_eps,
                        double* cos_eps) {
  SinCosCache& c = sincos_cache[true_obliquity != 0 ? 1 : 0];
  if (!(c.valid && c.jd == jd)) {
    c.eps = obliquity(jd, true_obliquity);
    c.sin_eps = std::sin(c.eps);
    c.cos_eps = std::cos(c.eps);
    c.jd = jd;
    c.valid = true;
  }
  *sin_eps = c.sin_eps;
  *cos_eps = c.cos_eps;
  return c.eps;
}

}  // namespace orbitcore
