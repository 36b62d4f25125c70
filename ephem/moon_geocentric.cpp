// orbitcore — geocentric Moon with the light time, and its one-entry cache.
//
// moon_geocentric(jd, use_light_time): the lunar series at jd; with
// use_light_time != 0 evaluated once more at jd - tau, tau = 0.0057755183 *
// Delta days (Delta from the first evaluation; one step, no iteration).
// jd in dynamical time (TDT); longitude (rad, [0, 2pi)), latitude (rad),
// distance (AU), mean ecliptic and equinox of date.
//
// Cache: the last (jd, light-time switch) and its three results.  The
// program asks for three items of one date in a row (distance, longitude,
// latitude), each a whole pipeline run; the cache makes the second and third
// cost no series evaluation.  The results depend on the arguments alone, so
// a hit returns exactly what a new evaluation would.
//
// Reference: Meeus, Astronomical Algorithms (2nd ed.), ch. 33 (light time).
#include "ephem/moon_geocentric.h"

#include "ephem/mathutil.h"
#include "ephem/moon_position.h"

namespace orbitcore {

namespace {

struct MoonCache {
  bool valid = false;
  double jd = 0.0;
  bool light_time = false;
  double lon = 0.0, lat = 0.0, delta = 0.0;
};
MoonCache moon_cache;

}  // namespace

void moon_geocentric(double jd, int use_light_time, double* lon, double* lat,
                     double* delta) {
  const bool light_time = use_light_time != 0;
  MoonCache& c = moon_cache;
  if (!(c.valid && c.jd == jd && c.light_time == light_time)) {
    moon_position(jd, &c.lon, &c.lat, &c.delta);
    if (light_time && c.delta > 0.0)
      moon_position(jd - LIGHT_DAYS_PER_AU * c.delta, &c.lon, &c.lat, &c.delta);
    c.jd = jd;
    c.light_time = light_time;
    c.valid = true;
  }
  *lon = c.lon;
  *lat = c.lat;
  *delta = c.delta;
}

}  // namespace orbitcore
