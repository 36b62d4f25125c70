// lunaris -- ELP 2000-82B in the J2000 ecliptic frame and of date.
//
// elp82b_ecliptic_j2000(jd, xyz): geometric rectangular coordinates (km),
//   inertial mean ecliptic and equinox of J2000, by Laskar's P and Q
//   (notice sect. 5, printed to t^5); the frame of the notice's Table H.
// elp82b_mean_of_date(jd, &lon, &lat, &r): geometric longitude of the mean
//   ecliptic and equinox of date lambda = V + p_A (radians, [0, 2pi)),
//   latitude U (radians) and distance r (km) (notice sect. 8).
//
// jd: Julian date, TDB (TDT may be used); secular: the Moon's tidal
// acceleration and mean motion (elp82b.h).
#include "lunaris/elp82b.h"

#include <cmath>

namespace lunaris {

void elp82b_ecliptic_j2000(double jd, double xyz_km[3], const Secular& secular) {
  double v, u, r;
  elp82b_geometric(jd, &v, &u, &r, secular);
  const double x = r * std::cos(v) * std::cos(u);
  const double y = r * std::sin(v) * std::cos(u);
  const double z = r * std::sin(u);

  const double t = (jd - JD_J2000) / DAYS_PER_JULIAN_CENTURY;
  const double p = t * (0.10180391e-4 + t * (0.47020439e-6 + t * (-0.5417367e-9 +
                   t * (-0.2507948e-11 + t * 0.463486e-14))));
  const double q = t * (-0.113469002e-3 + t * (0.12372674e-6 + t * (0.12654170e-8 +
                   t * (-0.1371808e-11 - t * 0.320334e-14))));
  const double s = std::sqrt(1.0 - p * p - q * q);
  xyz_km[0] = (1.0 - 2.0 * p * p) * x + 2.0 * p * q * y + 2.0 * p * s * z;
  xyz_km[1] = 2.0 * p * q * x + (1.0 - 2.0 * q * q) * y - 2.0 * q * s * z;
  xyz_km[2] = -2.0 * p * s * x + 2.0 * q * s * y + (1.0 - 2.0 * p * p - 2.0 * q * q) * z;
}

void elp82b_mean_of_date(double jd, double* lon_rad, double* lat_rad, double* r_km,
                         const Secular& secular) {
  double v, u, r;
  elp82b_geometric(jd, &v, &u, &r, secular);
  const double t = (jd - JD_J2000) / DAYS_PER_JULIAN_CENTURY;
  double lon = std::fmod(v + general_precession_longitude(t), TWO_PI);
  if (lon < 0.0) lon += TWO_PI;
  *lon_rad = lon;
  *lat_rad = u;
  *r_km = r;
}

}  // namespace lunaris
