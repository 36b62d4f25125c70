// lunaris internals -- ELP 2000-82B evaluation.
//
// Time argument everywhere: Julian date in dynamical time (TDB; TDT may be
// used for it, the difference is below 0.001").  t = (jd - 2451545) / 36525.
#pragma once

namespace lunaris {

constexpr double JD_J2000 = 2451545.0;
constexpr double DAYS_PER_JULIAN_CENTURY = 36525.0;
constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 6.28318530717958647693;
constexpr double ARCSEC_PER_RAD = 648000.0 / PI;
constexpr double ARCSEC_PER_TURN = 1296000.0;
constexpr double RAD_PER_ARCSEC = PI / 648000.0;
// Kilometres per astronomical unit (the value orbitcore's Moon uses).
constexpr double KM_PER_AU = 149597870.691;
// Light time per astronomical unit, days (499.004782 s).
constexpr double LIGHT_DAYS_PER_AU = 0.0057755183;

// The secular constants in which lunaris departs from ELP 2000-82B as
// published.  Both concern the Moon's mean longitude W1 and the arguments
// formed from it; the series, the Sun's T and the planets' arguments are
// ELP's.
//
// ndot: tidal acceleration of the Moon's mean motion, arcsec per century^2.
//   ELP 2000-82B's W1 carries -23.8946 (its fit to DE200/LE200); lunaris
//   takes -25.858, the value of the NASA Five Millennium Canon of Solar
//   Eclipses (F. Espenak, J. Meeus, NASA/TP-2006-214141, 2006), from
//   J. Chapront, M. Chapront-Touze, G. Francou, A&A 387, 700 (2002), lunar
//   laser ranging.  W1 gains 1/2 (ndot - ndot_ELP) t^2 = -0.9817 t^2 "
//   (t in centuries from J2000): 16" in 1600, 880" in -1000; D, l and F,
//   W1 minus longitudes the tides do not touch, gain the same.
// w1_rate: the t-coefficient of W1, arcsec per century, inertial mean
//   ecliptic of date.  ELP 2000-82B: 1 732 559 343.73604 (nu + delta nu of
//   its DE200/LE200 fit).  lunaris: 1 732 559 343.346556, the mean longitude
//   of J. Meeus, Astronomical Algorithms, 2nd ed. (1998), eq. 47.1,
//   481 267.881 234 21 deg/cy referred to the mean equinox of date (the
//   coefficient of ERFA's eraMoon98), less the precession constant
//   p = 5029.0966"/cy that lunaris adds back (general_precession_longitude):
//   -0.389484"/cy, -15.6" in -2000.  The mean elongation D = W1 - T + 180
//   deg takes the new rate with W1 (the Sun's T is ELP's); the anomaly
//   l = W1 - W2 and the argument of latitude F = W1 - W3 keep ELP's rates
//   (the perigee and the node advance with W1).  Why: elp82b_arguments.cpp.
struct Secular {
  double ndot;     // "/cy^2
  double w1_rate;  // "/cy
};
constexpr double NDOT_ELP82B_ARCSEC_CY2 = -23.8946;
constexpr double NDOT_ARCSEC_CY2 = -25.858;
constexpr double W1_RATE_ELP82B_ARCSEC_CY = 1732559343.73604;
constexpr double W1_RATE_ARCSEC_CY = 1732559343.346556;
// lunaris' theory, and ELP 2000-82B exactly as published (the notice's
// check values).
constexpr Secular LUNARIS_SECULAR = {NDOT_ARCSEC_CY2, W1_RATE_ARCSEC_CY};
constexpr Secular ELP82B_SECULAR = {NDOT_ELP82B_ARCSEC_CY2, W1_RATE_ELP82B_ARCSEC_CY};

// Every function below takes the secular constants last: LUNARIS_SECULAR
// unless given.

// Geometric V, U (radians) and r (km) of ELP 2000-82B at jd: longitude on
// the inertial mean ecliptic of date counted from the departure point
// gamma'2000 (not reduced to [0, 2pi)), latitude, distance.
void elp82b_geometric(double jd, double* v_rad, double* u_rad, double* r_km,
                      const Secular& secular = LUNARIS_SECULAR);

// Abbreviated geometric distance (km) at jd, good to a few km (tens of km
// millennia away from J2000): the
// main-problem distance terms of at least 0.1 km.  For the light time only.
double elp82b_light_time_distance(double jd, const Secular& secular = LUNARIS_SECULAR);

// Rectangular geometric coordinates (km) in the inertial mean ecliptic and
// equinox of J2000 (the frame of the notice's Table H), by Laskar's P, Q.
void elp82b_ecliptic_j2000(double jd, double xyz_km[3], const Secular& secular = LUNARIS_SECULAR);

// Geometric longitude of the mean ecliptic and equinox of date
// lambda = V + p_A (radians, [0, 2pi)), latitude U (radians), r (km).
void elp82b_mean_of_date(double jd, double* lon_rad, double* lat_rad, double* r_km,
                         const Secular& secular = LUNARIS_SECULAR);

// General precession in longitude p_A since J2000, radians (Laskar,
// truncated as in the notice, sect. 8).
double general_precession_longitude(double t_centuries);

// Number of series terms of ELP1..ELP36 compiled in, and the truncation
// level (arcsec, 0 = complete theory).
int elp82b_term_count();
double elp82b_truncation_arcsec();

}  // namespace lunaris

namespace lunaris {

// Base angles of the generated series at t (Julian centuries from J2000),
// radians in [0, 2pi), in the order of lunaris/generated/elp82b_tables.h;
// *w1_rad gets the Moon's mean longitude W1 (full polynomial, radians, in
// [0, 2pi)).  W1 and the full D, l, F carry 1/2 (ndot - NDOT_ELP82B) t^2;
// W1, D and zeta carry (w1_rate - W1_RATE_ELP82B) t.
void elp82b_base_angles(double t, double angle_rad[17], double* w1_rad,
                        const Secular& secular);

// The first four of them: the main problem's D, l', l, F (full polynomials).
void elp82b_delaunay_angles(double t, double angle_rad[4], const Secular& secular);

// std::fmod(x, 1296000) (arc seconds in a turn), the same value, without
// the library call for |x| < 4e15.
double fmod_arcsec_turn(double x);

}  // namespace lunaris
