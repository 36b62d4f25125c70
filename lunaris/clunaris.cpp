// lunaris -- the library's one export, _clunaris (see lunaris.h).
//
// Apparent ecliptic position of the Moon of date, in the sense of orbitcore's
// body 1011: the geometric ELP 2000-82B position of the mean ecliptic and
// equinox of date (lambda = V + p_A, beta = U, r), with the canon's tidal
// acceleration and mean motion of the Moon (LUNARIS_SECULAR, elp82b.h), taken
// at jd - tau with tau = 0.0057755183 * r(jd)/AU days (one light-time step;
// r(jd) from the abbreviated distance series, good to a few km, so tau to
// ~1e-4 s), plus the IAU 1980 nutation in longitude at jd; no aberration is
// added.
//
// jd: Julian date, TDT.  Outputs: lon in [0, 2pi) and lat in radians, dist
// in AU, (x, y, z) = dist * (cos lat cos lon, cos lat sin lon, sin lat) AU.
// Non-finite input or overflow gives NaN in all six outputs. A null pointer
// among the outputs is skipped.
#include "lunaris/lunaris.h"

#include "lunaris/elp82b.h"

#include <cmath>
#include <limits>

#include "ephem/nutation.h"  // orbitcore's IAU 1980 nutation, compiled in

namespace lunaris {
namespace {

// Nutation in longitude (radians) at jd, IAU 1980, the table orbitcore uses.
double nutation_in_longitude(double jd) {
  double dpsi = 0.0;
  double deps = 0.0;
  orbitcore::nutation(jd, &dpsi, &deps);
  return dpsi;
}

}  // namespace
}  // namespace lunaris

extern "C" void _clunaris(double jd, double* x, double* y, double* z,
                          double* lon, double* lat, double* dist) {
  using namespace lunaris;
  double l = std::numeric_limits<double>::quiet_NaN();
  double b = l;
  double r = l;
  if (std::isfinite(jd)) {
    // Distance at jd (abbreviated series) for the light time; position at
    // the retarded date.
    const double r0 = elp82b_light_time_distance(jd);
    const double tau_days = LIGHT_DAYS_PER_AU * (r0 / KM_PER_AU);
    elp82b_mean_of_date(jd - tau_days, &l, &b, &r);
    l = std::fmod(l + nutation_in_longitude(jd), TWO_PI);
    if (l < 0.0) l += TWO_PI;
    if (l >= TWO_PI) l = 0.0;
    r /= KM_PER_AU;
  }
  double px = r * std::cos(b) * std::cos(l);
  double py = r * std::cos(b) * std::sin(l);
  double pz = r * std::sin(b);
  if (!(std::isfinite(l) && std::isfinite(b) && std::isfinite(r) &&
        std::isfinite(px) && std::isfinite(py) && std::isfinite(pz))) {
    l = b = r = px = py = pz = std::numeric_limits<double>::quiet_NaN();
  }
  // Null result pointers are skipped, as orbitcore's exports do.
  if (x) *x = px;
  if (y) *y = py;
  if (z) *z = pz;
  if (lon) *lon = l;
  if (lat) *lat = b;
  if (dist) *dist = r;
}
