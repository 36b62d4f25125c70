// Shared helpers of the orbitcore tests: unit conversions and a finite check.
#pragma once
#include <cmath>

namespace orbitcore_test {

constexpr double PI = 3.14159265358979323846;
constexpr double RAD_PER_DEG = PI / 180.0;
constexpr double RAD_PER_ARCSEC = PI / 648000.0;
constexpr double ARCSEC_PER_RAD = 648000.0 / PI;

inline double dms_to_rad(double d, double m, double s) {
  return (d + m / 60.0 + s / 3600.0) * RAD_PER_DEG;
}

// Smallest signed difference a - b of two angles (rad), in (-pi, pi].
inline double angle_diff(double a, double b) {
  double d = std::fmod(a - b, 2.0 * PI);
  if (d > PI) d -= 2.0 * PI;
  if (d <= -PI) d += 2.0 * PI;
  return d;
}

}  // namespace orbitcore_test
