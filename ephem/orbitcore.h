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
 * Date range (Julian dates as passed, TDT, or UT where stated): every
 * export serves ORBITCORE_FIRST_JD ... ORBITCORE_LAST_JD, about the years
 * -11557 to +18559 (the eclipse program's -2000000 ... 8000000 with its
 * Delta T and light-time steps and room to spare); Pluto (1009, 1029) only
 * PLUTO_FIRST_JD ... PLUTO_LAST_JD, about -5671 to +6924, where the
 * theory keeps Pluto 28.1 ... 49.4 AU from the Sun (its real orbit: 29.7
 * ... 49.3 AU); beyond, the element polynomials drift (21.9 AU in 9500,
 * no elliptic orbit at all after 11474).  The series
 * themselves are fits to a few millennia around J2000 (VSOP87 +-4000 years,
 * Laskar's obliquity +-10000 years): far from J2000 the values are smooth
 * and plausible, not accurate.  Outside its range an export gives what it
 * gives for an invalid body or item: zeros (_aberrat_aux: no correction,
 * as for an unknown mode).  A non-finite date is outside every range.
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

#define ORBITCORE_FIRST_JD (-2500000.0)
#define ORBITCORE_LAST_JD 8500000.0
#define PLUTO_FIRST_JD (-350000.0)
#define PLUTO_LAST_JD 4250000.0

#ifdef __cplusplus
extern "C" {
#endif

/* One result item (0 ... 9, see above) of the apparent place of `body` at
 * `jd` (TDT), light time, aberration, nutation and physical data all on (the
 * physical data are computed only for items 4 ... 7, the only items that
 * depend on them).  Further integer arguments after `item` are accepted and
 * ignored.  An item outside 0 ... 9, an unknown body or a date outside the
 * body's range returns 0.0. */
ORBITCORE_API double _planetinfo(double jd, int body, int item, ...);

/* All ten results of the apparent place of `body` at `jd` (TDT) through
 * caller-owned pointers; the four switches are 0 = off, anything else = on.
 * A null pointer is skipped (that result is not written), so a caller may
 * ask for some results only.  An unknown body or a date outside the body's
 * range gives 0 in every result. */
ORBITCORE_API void _calcplanet(double jd, int body, double* ra, double* dec,
                               double* delta, double* r, double* elongation,
                               double* illumination, double* magnitude,
                               double* diameter, double* lon, double* lat,
                               int use_light_time, int use_aberration,
                               int use_nutation, int want_physical);

/* Universal-time Julian date to dynamical time: jd + Delta T / 86400, with
 * Delta T from the Espenak-Meeus polynomials by calendar year and month.
 * 0.0 outside the range. */
ORBITCORE_API double _jddtojdb(double jd);

/* Local sidereal time in hours [0, 24) for a universal-time Julian date and
 * an east longitude in degrees; mean, or apparent when `apparent` != 0.
 * 0.0 outside the range, and for a longitude that is not finite. */
ORBITCORE_API double _localsiderealtime(double jd, double longitude_deg,
                                        int apparent);

/* Obliquity of the ecliptic (Laskar 1986), radians: mean, or true (plus the
 * IAU 1980 nutation in obliquity) when `true_obliquity` != 0.  0.0 outside
 * the range. */
ORBITCORE_API double _eclipticobliquity(double jd, int true_obliquity);

/* Annual aberration applied in place: mode 0 (*a, *b) = ecliptic longitude
 * and latitude, mode 1 = right ascension and declination (radians);
 * sun_longitude = the Sun's geometric longitude (radians).  Other modes,
 * a date outside the range and null pointers leave (*a, *b) unchanged. */
ORBITCORE_API void _aberrat_aux(double jd, double* a, double* b,
                                double sun_longitude, int mode);

#ifdef __cplusplus
}
#endif

#endif /* ORBITCORE_H */
