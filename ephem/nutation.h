// orbitcore — nutation, IAU 1980 theory (106 terms).
//
// nutation: nutation in longitude (dpsi) and in obliquity (deps), radians,
// referred to the mean ecliptic and equinox of date, for a Julian date in
// dynamical time (TDT).  Valid for a few centuries around J2000; finite for
// any finite date, NaN for a non-finite date.
//
// Self-contained (its own table and one-entry cache keyed by the date); it is
// compiled into orbitcore and, as an object library, into other libraries.
// Not re-entrant.
//
// References: Wahr 1981, Geophys. J. R. astr. Soc. 64, 705; Seidelmann 1982,
// Celest. Mech. 27, 79; Explanatory Supplement to the Astronomical Almanac
// (1992), sect. 3.222.
#pragma once

namespace orbitcore {

void nutation(double jd_tdt, double* dpsi_rad, double* deps_rad);

}  // namespace orbitcore
