/*
 * orbitcore - apparent geocentric positions of the Sun, Moon, planets and
 * Pluto (VSOP87 D, the library's lunar series, a Pluto theory, IAU 1980
 * nutation, Laskar's obliquity, annual aberration), Delta T, sidereal time
 * and obliquity.  Plain C interface of liborbitcore.so.
 *
 * Time argument: Julian date in dynamical time (TDT; TDT and TDB are not
 * distinguished) unless stated otherwise.  Angles in radians.
 *
 * Body codes (internal code + 1000):
 *   1000, 1010 Sun (reduced Earth series)   1020 Sun (complete Earth series)
 *   1011 (also 999) Moon                    1001 Mercury, 1002 Venus
 *   1003 Earth: heliocentric L, B, R of date in items 1, 2, 3
 *   1004 Mars ... 1008 Neptune, 1009 Pluto
 *   1021 ... 1029 as 1001 ... 1009 with the complete Earth series
 * Any other code gives zeros.
 *
 * Result items of _planetinfo (argument positions of _calcplanet in brackets):
 *   1 [1] right ascension, [0, 2pi)       2 [2] declination
 *   3 [3] geocentric distance, AU         0 [4] heliocentric distance, AU
 *   4 [5] elongation, negative west of the Sun
 *   5 [6] illuminated fraction, percent   6 [7] visual magnitude
 *   7 [8] apparent diameter, arcsec       8 [9] ecliptic longitude of date
 *   9 [10] ecliptic latitude of date
 *
 * Not re-entrant: the library keeps process-wide caches keyed by date.
 */
#ifndef ORBITCORE_H
#define ORBITCORE_H

#if defined(ORBITCORE_BUILDING)
#define ORBITCORE_API __attribute__((visibility("default")))
#else
#define ORBITCORE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One result item (0 ... 9, see above) of the apparent place of `body` at
 * `jd` (TDT), light time, aberration, nutation and physical data all on (the
 * physical data are computed only for items 4 ... 7, the only items that
 * depend on them).  Further integer arguments after `item` are accepted and
 * ignored.  An item outside 0 ... 9 or an unknown body returns 0.0. */
ORBITCORE_API double _planetinfo(double jd, int body, int item, ...);

/* All ten results of the apparent place of `body` at `jd` (TDT) through
 * caller-owned pointers (all must be valid); the four switches are 0 = off,
 * anything else = on. */
ORBITCORE_API void _calcplanet(double jd, int body, double* ra, double* dec,
                               double* delta, double* r, double* elongation,
                               double* illumination, double* magnitude,
                               double* diameter, double* lon, double* lat,
                               int use_light_time, int use_aberration,
                               int use_nutation, int want_physical);

/* Universal-time Julian date to dynamical time: jd + Delta T / 86400, with
 * Delta T from the Espenak-Meeus polynomials by calendar year and month. */
ORBITCORE_API double _jddtojdb(double jd);

/* Local sidereal time in hours [0, 24) for a universal-time Julian date and
 * an east longitude in degrees; mean, or apparent when `apparent` != 0. */
ORBITCORE_API double _localsiderealtime(double jd, double longitude_deg,
                                        int apparent);

/* Obliquity of the ecliptic (Laskar 1986), radians: mean, or true (plus the
 * IAU 1980 nutation in obliquity) when `true_obliquity` != 0. */
ORBITCORE_API double _eclipticobliquity(double jd, int true_obliquity);

/* Annual aberration applied in place: mode 0 (*a, *b) = ecliptic longitude
 * and latitude, mode 1 = right ascension and declination (radians);
 * sun_longitude = the Sun's geometric longitude (radians).  Other modes
 * leave (*a, *b) unchanged. */
ORBITCORE_API void _aberrat_aux(double jd, double* a, double* b,
                                double sun_longitude, int mode);

#ifdef __cplusplus
}
#endif

#endif /* ORBITCORE_H */
