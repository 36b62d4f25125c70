// EclipticNorthAngle — turn of ecliptic north against equator north on the
// fundamental plane, for the "Orientierung Ekliptikal Nord" option.
//
// Eps: obliquity (rad); Lambda: the Sun's ecliptic longitude (rad).
// q = arctan(1 / (tan Eps * cos(Lambda - pi))) + pi/2, reduced to
// (-pi/2, pi/2].  Tan is the guarded tangent.
#include <cmath>

#include "astro/Astrcalc.h"
#include "astro/Trigonom.h"

namespace nodalis {

long double EclipticNorthAngle(long double Eps, long double Lambda) {
  long double q = std::atan(1.0L / (Tan(Eps) * std::cos(Lambda - PI_EXT))) + PI_EXT / 2.0L;
  if (q > PI_EXT / 2.0L) q -= PI_EXT;
  return q;
}

}  // namespace nodalis
