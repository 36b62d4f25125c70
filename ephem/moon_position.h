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

void moon_position(double jd, double* lon, double* lat, double* delta);

}  // namespace orbitcore
