// orbitcore — internal routines of the library (namespace orbitcore).
//
// Declared here for the exports, the position pipeline and the white-box
// tests; none of them is visible outside liborbitcore.so.
#pragma once
#include <cstdint>

#include "ephem/mathutil.h"
#include "ephem/nutation.h"

namespace orbitcore {

// ---- Calendar and Delta T ------------------------------------------------

struct CalendarDate {
  int year, month, day;  // astronomical year numbering
};
struct CalendarDateTime {
  int year, month, day, hour, minute, second;
};

// Calendar date of an integer Julian day number (the day whose noon has JD n);
// Gregorian from n = 2299161 (1582-10-15) on, Julian before.  Valid for
// |n| up to about 1e8; larger values are clamped to that range.
CalendarDate jdn_to_calendar(std::int32_t n);

// Calendar date and truncated time of day of a modified Julian date
// (JD - 2400000.5).  A non-finite mjd gives the date of mjd 0.
CalendarDateTime mjd_to_calendar(double mjd);

// Delta T = TT - UT in seconds for an astronomical year and month
// (Espenak & Meeus polynomials, integer-year ranges).
double delta_t(int year, int month);

// Delta T in seconds for a Julian date (its calendar year and month);
// NaN for a non-finite date.
double delta_t_at(double jd);

// ---- Obliquity, aberration, sidereal time (nutation in nutation.h) -------

// Mean obliquity (Laskar 1986), plus the nutation in obliquity when
// true_obliquity != 0; radians.  Cached on (jd, switch).
double obliquity(double jd, int true_obliquity);

// Mean obliquity of J2000 (Laskar's constant term 23 26' 21.448"), radians:
// the frame of Pluto's theory.
constexpr double EPS_J2000_RAD = 23.439291111 * RAD_PER_DEG;

// Obliquity with its sine and cosine; one cache entry per mode.
double obliquity_sincos(double jd, int true_obliquity, double* sin_eps,
                        double* cos_eps);

// Annual aberration in place; mode 0 ecliptic (lon, lat), mode 1 equatorial
// (ra, dec); sun_longitude = geometric longitude of the Sun, radians.
void aberration(double jd, double* a, double* b, double sun_longitude,
                int mode);

// Constant of aberration, radians (20.49552").
constexpr double ABERRATION_KAPPA_RAD = 0.00009936508497454117;

// Local sidereal time, hours, for a UT Julian date and east longitude (deg).
double sidereal_time(double jd, double longitude_deg, int apparent);

// ---- Heliocentric positions ----------------------------------------------

// Result of a heliocentric computation: L (rad, [0, 2pi)), B (rad), R (AU),
// dL/dt (rad/day), dB/dt (rad/day), dR/dt (AU/day).
constexpr int HELIO_RESULTS = 6;

// Result codes.
constexpr int HELIO_OK = 0;
constexpr int HELIO_NO_CONVERGENCE = 1;  // Pluto's Kepler equation
constexpr int HELIO_BAD_BODY = 2;
constexpr int HELIO_BAD_PRECISION = 3;

// Body/slot numbers of helio_position.
constexpr int SLOT_EARTH_COMPLETE = 0;
constexpr int SLOT_EARTH_REDUCED = 3;
constexpr int BODY_PLUTO = 9;

// VSOP87 D series of one slot (0 ... 8) at jd, truncated at precision
// (0 ... 0.001; 0 = all terms), FK5 conversion when precision < 5e-7.
int vsop87_evaluate(double jd, int slot, double precision,
                    double result[HELIO_RESULTS]);

// Cached heliocentric position: body 0 ... 8 a VSOP87 slot, 9 Pluto.
int helio_position(double jd, int body, double precision,
                   double result[HELIO_RESULTS]);

// One entry of the 80-entry heliocentric cache.
struct HelioCacheEntry {
  std::int32_t use_count;
  std::int32_t body;
  std::int32_t result_code;
  double jd;
  double precision;
  double result[HELIO_RESULTS];
};
constexpr int HELIO_CACHE_SIZE = 80;

// Read-only view of the cache (for tests and diagnostics); nullptr before
// the first helio_position call.
const HelioCacheEntry* helio_cache_entries();

// Pluto, heliocentric, ecliptic and equinox J2000, with daily differences as
// rates; 0 on success, 1 when Kepler's equation did not converge.  Cached.
int pluto_heliocentric(double jd, double result[HELIO_RESULTS]);

// ---- Pipeline -------------------------------------------------------------

constexpr int BODY_OFFSET = 1000;

// Apparent geocentric place of internal body b (see orbitcore.h for codes
// after adding BODY_OFFSET).  Every pointer must be valid.
void compute_body(double jd, int b, double* ra, double* dec, double* delta,
                  double* r, double* elongation, double* illumination,
                  double* magnitude, double* diameter, double* lon,
                  double* lat, int use_light_time, int use_aberration,
                  int use_nutation, int want_physical);

// Precession of (ra, dec) from J2000 to the equator and equinox of jd.
void precess_j2000_to_date(double jd, double* ra, double* dec);

// Ecliptic (lon, lat) of date turned to the ecliptic and equinox of J2000.
void ecliptic_of_date_to_j2000(double jd, double* lon, double* lat);

// Moon's illuminated fraction k (0 ... 1) and phase angle i (degrees,
// 0 ... 180) from the mean elongation and anomalies; with add_delta_t the
// date is first moved by Delta T / 86400.
void moon_phase(double jd, int add_delta_t, double* k, double* i_deg);

// Magnitude correction of the Moon for phase angle i (degrees).
double moon_phase_magnitude(double i_deg);

}  // namespace orbitcore
