// orbitcore — small numeric helpers used throughout the library.
//
// All angles in radians unless the name says degrees.  The "safe" helpers
// turn degenerate geometry into defined values instead of NaN: square roots
// of values below 1e-35 are 0, arcsine/arccosine arguments are clamped to
// [-1, 1], and atan2(0, 0) is 0.
#pragma once
#include <cmath>

namespace orbitcore {

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 6.28318530717958647693;
constexpr double RAD_PER_DEG = 0.017453292519943295;
constexpr double DEG_PER_RAD = 57.29577951308232;
constexpr double RAD_PER_ARCSEC = 4.84813681109536e-6;
constexpr double ARCSEC_PER_TURN = 1296000.0;
constexpr double J2000_JD = 2451545.0;
constexpr double DAYS_PER_JULIAN_CENTURY = 36525.0;
constexpr double DAYS_PER_JULIAN_MILLENNIUM = 365250.0;
// Light time for one AU, days (499.004784 s / 86400).
constexpr double LIGHT_DAYS_PER_AU = 0.0057755183;

// Julian centuries from J2000.0.
inline double centuries_j2000(double jd) {
  return (jd - J2000_JD) / DAYS_PER_JULIAN_CENTURY;
}

// x reduced to [0, 2pi).  A tiny negative x whose reduction rounds up to
// exactly 2pi gives 0 so the range stays half-open.
inline double norm_2pi(double x) {
  double r = x - std::floor(x / TWO_PI) * TWO_PI;
  return r >= TWO_PI ? 0.0 : r;
}

// x reduced to [0, 360).
inline double norm_360(double x) {
  double r = x - std::floor(x / 360.0) * 360.0;
  return r >= 360.0 ? 0.0 : r;
}

inline double safe_sqrt(double x) { return x < 1e-35 ? 0.0 : std::sqrt(x); }

inline double clamp_unit(double x) {
  return x < -1.0 ? -1.0 : (x > 1.0 ? 1.0 : x);
}

inline double safe_asin(double x) { return std::asin(clamp_unit(x)); }
inline double safe_acos(double x) { return std::acos(clamp_unit(x)); }

inline double safe_atan2(double y, double x) {
  return (y == 0.0 && x == 0.0) ? 0.0 : std::atan2(y, x);
}

// An overflowed (infinite) value becomes NaN: the exports give finite
// numbers or NaN, never an infinity.
inline double finite_or_nan(double x) {
  return std::isinf(x) ? std::nan("") : x;
}

inline double sin_deg(double deg) { return std::sin(deg * RAD_PER_DEG); }
inline double cos_deg(double deg) { return std::cos(deg * RAD_PER_DEG); }

}  // namespace orbitcore
