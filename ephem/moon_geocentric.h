// orbitcore — geocentric Moon from the library's own lunar series.
//
// moon_geocentric: ecliptic longitude (radians, [0, 2pi)) and latitude
// (radians) of the mean ecliptic and equinox of date, and distance (AU),
// for a Julian date in dynamical time (TDT).  With use_light_time != 0 the
// series is evaluated once more at jd - tau, tau = 0.0057755183 * Delta days
// (one light-time step, no iteration).  The last result is cached, keyed
// by (jd, use_light_time != 0).
//
// Reference: ELP 2000-82B (Chapront-Touze & Chapront 1983, 1988), truncated
// to the library's 632 + 361 terms.
#pragma once

namespace orbitcore {

void moon_geocentric(double jd, int use_light_time,
                     double* lon, double* lat, double* delta);

}  // namespace orbitcore
