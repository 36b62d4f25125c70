// orbitcore — Julian day number and modified Julian date to calendar date.
//
// jdn_to_calendar(n): calendar date (astronomical year numbering) of the
// integer Julian day number n, Gregorian from n = 2299161 (1582-10-15) on,
// Julian before.  Integer divisions truncate toward zero.  Negative day
// numbers are moved forward by whole four-year Julian cycles of 1461 days.
// Valid for |n| up to about 1e8 (32-bit arithmetic); larger magnitudes are
// clamped to +-1e8 so that absurd dates cannot overflow.
//
// mjd_to_calendar(mjd): date of floor(mjd) and the time of day truncated to
// whole seconds (fraction 0.99999 gives 23:59:59, never 24:00:00).
//
// Reference: the classical day-number algorithm (Meeus, Astronomical
// Algorithms, ch. 7) in integer form.
#include <cmath>

#include "ephem/orbitcore_internal.h"

namespace orbitcore {

namespace {
// floor(30.6 * n) for n = 4 ... 15 (month starts counted from March).
const int MONTH_START[16] = {0,   0,   0,   0,   122, 153, 183, 214,
                             244, 275, 306, 336, 367, 397, 428, 459};
constexpr std::int32_t MAX_DAY_NUMBER = 100000000;
}  // namespace

CalendarDate jdn_to_calendar(std::int32_t n) {
  if (n > MAX_DAY_NUMBER) n = MAX_DAY_NUMBER;
  if (n < -MAX_DAY_NUMBER) n = -MAX_DAY_NUMBER;
  std::int32_t b, c;
  if (n < 0) {
    b = 2922 - ((-n) % 1461);
    c = (-n) / 1461 + 2;
  } else {
    b = n;
    c = 0;
  }
  if (b > 2299160) {
    std::int32_t g = (4 * static_cast<std::int64_t>(b) - 7468865) / 146097;
    b = b + g + 1525 - g / 4;
  } else {
    b = b + 1524;
  }
  std::int32_t y = static_cast<std::int32_t>((20 * static_cast<std::int64_t>(b) - 2442) / 7305);
  b = b - 365 * y - y / 4;
  std::int32_t e = (10 * b - 1) / 306;
  CalendarDate d;
  d.day = b - MONTH_START[e];
  if (e > 13) {
    d.month = e - 13;
    y = y + 1;
  } else {
    d.month = e - 1;
  }
  d.year = y - 4 * c - 4716;
  return d;
}

CalendarDateTime mjd_to_calendar(double mjd) {
  if (!std::isfinite(mjd)) mjd = 0.0;
  const double limit = static_cast<double>(MAX_DAY_NUMBER);
  if (mjd > limit) mjd = limit;
  if (mjd < -limit) mjd = -limit;
  double x = std::floor(mjd);
  int s = static_cast<int>((mjd - x) * 86400.0);
  if (s > 86399) s = 86399;  // guards the rounding of (mjd - x) * 86400
  CalendarDateTime t;
  t.hour = s / 3600;
  t.minute = (s / 60) % 60;
  t.second = s % 60;
  CalendarDate d = jdn_to_calendar(static_cast<std::int32_t>(x) + 2400001);
  t.year = d.year;
  t.month = d.month;
  t.day = d.day;
  return t;
}

}  // namespace orbitcore
