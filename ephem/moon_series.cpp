// Placeholder until the lunar series tables are generated: the Moon is not
// yet available and every result is zero.
#include "moon_series.h"

namespace orbitcore {

void moon_geocentric(double /*jd*/, int /*use_light_time*/,
                     double* lon, double* lat, double* delta) {
  *lon = 0.0;
  *lat = 0.0;
  *delta = 0.0;
}

}  // namespace orbitcore
