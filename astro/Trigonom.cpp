// Trigonom — guarded angle functions and plane rotation (see Trigonom.h).
#include "astro/Trigonom.h"

#include <cmath>
#include <iostream>

#include "app/base/Utils.h"

namespace nodalis {

const long double PI_EXT = 3.141592653589793238462643383279502884L;

namespace {
constexpr long double ARC_TOLERANCE = 1.000000001L;
}

long double Tan(long double x) {
  long double c = std::cos(x);
  if (c == 0.0L) return std::sin(x) / 1e-37L;
  return std::sin(x) / c;
}

long double ArcSin(long double x) {
  if (std::isnan(x)) return x;
  if (std::fabs(x) <= ARC_TOLERANCE) {
    if (std::fabs(x) >= 1.0L) return x * PI_EXT / 2.0L;
    return std::atan(x / std::sqrt(1.0L - x * x));
  }
  std::cout << "FehlerArcSin (" << ShortRealToStr(x) << ")  ist nicht definiert"
            << std::endl;
  return x > 0 ? PI_EXT / 2.0L : -PI_EXT / 2.0L;
}

long double ArcCos(long double x) {
  if (std::isnan(x)) return x;
  if (std::fabs(x) <= ARC_TOLERANCE) {
    if (std::fabs(x) >= 1.0L) return 0.0L;
    return PI_EXT / 2.0L - std::atan(x / std::sqrt(1.0L - x * x));
  }
  ErrorBox("FehlerArcCos (" + ShortRealToStr(x) + ")  ist nicht definiert");
  return x > 0 ? 0.0L : PI_EXT;
}

long double DegToRad(long double x) { return x * PI_EXT / 180.0L; }

long double RadToDeg(long double x) {
  long double q = x / (2.0L * PI_EXT);
  return (q - std::trunc(q)) * 360.0L;
}

void RectToPolar(long double& R, long double& Phi, long double y, long double x) {
  R = std::sqrt(x * x + y * y);
  Phi = R > 0 ? ArcCos(x / R) : 0.0L;
  if (y < 0) Phi = -Phi;
  if (x < 0 && Phi == 0) Phi = PI_EXT;
}

void PolarToRect(long double& x, long double& y, long double Phi, long double R) {
  x = R * std::cos(Phi);
  y = R * std::sin(Phi);
}

void RotateXY(long double& x, long double& y, long double Angle) {
  long double R, Phi;
  RectToPolar(R, Phi, y, x);
  PolarToRect(x, y, Phi + Angle, R);
}

}  // namespace nodalis
