// Published expressions the tests of the program and of orbitcore compare
// with: Delta T (delta_t_reference), the mean obliquity's agreement with
// ERFA (obliquity_reference) and the Julian calendar (calendar_reference).
//
// delta_t_reference: the published Delta T polynomials (F. Espenak and J. Meeus, Five
// Millennium Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141,
// 2006; "Polynomial expressions for Delta T", NASA GSFC eclipse web site),
// transcribed as a table for the tests of both Delta T routines (the
// program's in astro/, orbitcore's in ephem/).
//
// Row i holds for the decimal years FROM[i] <= y < FROM[i + 1]; its argument
// is u = (y - centre) / scale, Delta T = sum c_k u^k seconds, and the row
// 2050 ... 2150 adds -0.5628 (2150 - y).
#pragma once

#include <cmath>
#include <cstddef>

namespace delta_t_reference {

struct Row {
  double from;         // first decimal year of the row
  double centre, scale;
  int count;           // coefficients used
  double c[8];
  bool to_2150;        // the -0.5628 (2150 - y) term
};

inline constexpr Row ROWS[] = {
    {-1e9, 1820, 100, 3, {-20, 0, 32}, false},
    {-500, 0, 100, 7, {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521}, false},
    {500, 1000, 100, 7, {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073}, false},
    {1600, 1600, 1, 4, {120, -0.9808, -0.01532, 1.0 / 7129}, false},
    {1700, 1700, 1, 5, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000}, false},
    {1800, 1800, 1, 8,
     {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272, -0.0000001699, 0.000000000875},
     false},
    {1860, 1860, 1, 6, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174}, false},
    {1900, 1900, 1, 5, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197}, false},
    {1920, 1920, 1, 4, {21.20, 0.84493, -0.0761, 0.0020936}, false},
    {1941, 1950, 1, 4, {29.07, 0.407, -1.0 / 233, 1.0 / 2547}, false},
    {1961, 1975, 1, 4, {45.45, 1.067, -1.0 / 260, -1.0 / 718}, false},
    {1986, 2000, 1, 6, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599}, false},
    {2005, 2000, 1, 3, {62.92, 0.32217, 0.005589}, false},
    {2050, 1820, 100, 3, {-20, 0, 32}, true},
    {2150, 1820, 100, 3, {-20, 0, 32}, false},
};
inline constexpr std::size_t ROW_COUNT = sizeof ROWS / sizeof ROWS[0];

// Delta T (s) of row `row` at decimal year y; with single_u the argument u
// is rounded to single precision first (the program's copy stores it so).
inline double Evaluate(std::size_t row, double y, bool single_u = false) {
  const Row& r = ROWS[row];
  double u = (y - r.centre) / r.scale;
  if (single_u) u = static_cast<float>(u);
  double sum = 0, power = 1;
  for (int k = 0; k < r.count; ++k, power *= u) sum += r.c[k] * power;
  if (r.to_2150) sum -= 0.5628 * (2150 - y);
  return sum;
}

// The row whose range holds decimal year y.
inline std::size_t RowOf(double y) {
  std::size_t i = 0;
  while (i + 1 < ROW_COUNT && y >= ROWS[i + 1].from) ++i;
  return i;
}

}  // namespace delta_t_reference

// obliquity_reference: where Laskar's (1986) mean obliquity, which both the
// program and orbitcore use, and the IAU 1980 expression of ERFA's eraObl80
// (Lieske et al. 1977, a cubic fitted for a few centuries) may part: their
// difference is 0.006" in 1900, 1.4" in year 0, 18.5" at -3000 and 0.28" at
// +3000.  Each row: a year and the largest difference allowed up to that
// distance from 2000 on its side.
namespace obliquity_reference {

struct Row {
  int year;
  double tol_arcsec;
};

inline constexpr Row ROWS[] = {
    {-3000, 20.0}, {-2000, 11.0}, {-1000, 5.0}, {0, 1.5},     {1000, 0.25}, {1500, 0.05},
    {1800, 0.015}, {1900, 0.01},  {2000, 0.01}, {2100, 0.01}, {2200, 0.015}, {2500, 0.07},
    {3000, 0.3},
};

// Julian date TT of January 1.5 of a year (astronomical numbering, 365.25-day
// years from J2000: close enough for a tolerance table).
inline double JulianDateOf(int year) { return 2451545.0 + (year - 2000) * 365.25; }

}  // namespace obliquity_reference

// calendar_reference: the Julian date at 0h of a date of the Julian
// calendar (Fliegel & Van Flandern's day number with the Julian leap rule,
// valid from -4800), the reference before 1582 October 15 where ERFA's
// eraCal2jd (proleptic Gregorian) does not apply.
namespace calendar_reference {

inline double JulianCalendarJD(long long y, int m, int d) {
  const long long a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365.0 * yy + yy / 4 - 32083 - 0.5;
}

}  // namespace calendar_reference
