// orbitcore — one evaluation of the lunar series.
//
// moon_position: geometric geocentric ecliptic longitude (radians, [0, 2pi))
// and latitude (radians) of the Moon, mean ecliptic and equinox of date, and
// its distance (AU), for a Julian date in dynamical time (TDT), from the
// library's 632 + 361-term series (no light time, no nutation, no
// aberration).  A non-finite jd, or a date so far off that the series gives
// no finite value, yields zeros.
//
// Reference: ELP 2000-82B (Chapront-Touze & Chapront 1983, 1988), truncated.
#pragma once

namespace orbitcore {

// The series' arguments 1 .. 14 (planetary mean longitudes Mercury ..
// Neptune, 0, D, F, l', l, W1) in arc seconds for t Julian centuries from
// J2000 (TDT): the linear part reduced to [0, 1296000), plus t^2 P(t).
void moon_arguments(double t, double* x_asec);

void moon_position(double jd, double* lon, double* lat, double* delta);

}  // namespace orbitcore
