// orbitcore — Delta T = TT - UT, seconds of time.
//
// delta_t(year, month): the polynomial expressions of Espenak & Meeus (NASA
// Five Millennium Canon of Solar Eclipses, 2006) in the decimal year
// y = year + (month - 0.5) / 12, with the formula chosen by the integer year
// (all of 1600 uses the 501 ... 1600 polynomial, all of 2005 the 1987 ... 2005
// one); after 2150 the parabola uses the integer year.
//
// delta_t_at(jd): the calendar year and month of jd select delta_t.  Dates
// beyond the calendar conversion's range (|mjd| > 1e8 days, some 270000
// years) use the long-term parabola of the decimal year directly; a
// non-finite jd gives NaN.
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

double delta_t(int year, int month) {
  const double y = year + (month - 0.5) / 12.0;
  double t, u;
  if (year < -500) {
    u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
  }
  if (year <= 500) {
    u = y / 100.0;
    return 10583.6 + u * (-1014.41 + u * (33.78311 + u * (-5.952053 +
           u * (-0.1798452 + u * (0.022174192 + u * 0.0090316521)))));
  }
  if (year <= 1600) {
    u = (y - 1000.0) / 100.0;
    return 1574.2 + u * (-556.01 + u * (71.23472 + u * (0.319781 +
           u * (-0.8503463 + u * (-0.005050998 + u * 0.0083572073)))));
  }
  if (year <= 1700) {
    t = y - 1600.0;
    return 120.0 - 0.9808 * t - 0.01532 * t * t + t * t * t / 7129.0;
  }
  if (year <= 1800) {
    t = y - 1700.0;
    return 8.83 + 0.1603 * t - 0.0059285 * t * t + 0.00013336 * t * t * t -
           t * t * t * t / 1174000.0;
  }
  if (year <= 1860) {
    t = y - 1800.0;
    return 13.72 + t * (-0.332447 + t * (0.0068612 + t * (0.0041116 +
           t * (-0.00037436 + t * (0.0000121272 + t * (-0.0000001699 +
           t * 0.000000000875))))));
  }
  if (year <= 1900) {
    t = y - 1860.0;
    return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t -
           0.0004473624 * t * t * t * t + t * t * t * t * t / 233174.0;
  }
  if (year <= 1920) {
    t = y - 1900.0;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
           0.000197 * t * t * t * t;
  }
  if (year <= 1941) {
    t = y - 1920.0;
    return 21.20 + 0.84493 * t - 0.0761 * t * t + 0.0020936 * t * t * t;
  }
  if (year <= 1961) {
    t = y - 1950.0;
    return 29.07 + 0.407 * t - t * t / 233.0 + t * t * t / 2547.0;
  }
  if (year <= 1986) {
    t = y - 1975.0;
    return 45.45 + 1.067 * t - t * t / 260.0 - t * t * t / 718.0;
  }
  if (year <= 2005) {
    t = y - 2000.0;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
           0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
  }
  if (year <= 2050) {
    t = y - 2000.0;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  if (year <= 2150) {
    u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
  }
  u = (year - 1820.0) / 100.0;
  return -20.0 + 32.0 * u * u;
}

double delta_t_at(double jd) {
  if (!std::isfinite(jd)) return std::nan("");
  const double mjd = jd - 2400000.5;
  if (std::fabs(mjd) > 1e8) {
    const double y = 2000.0 + (jd - J2000_JD) / 365.25;
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
  }
  CalendarDateTime c = mjd_to_calendar(mjd);
  return delta_t(c.year, c.month);
}

}  // namespace orbitcore
