// MATLIB — vectors, degree helpers, time arguments (see MATLIB.h).
#include "astro/MATLIB.h"

#include <cmath>

namespace nodalis {

long double ArcSinDeg(long double x) {
  if (std::fabs(x) == 1.0L) return 90.0L * x;
  if (std::fabs(x) <= 1e-7L) return x / DEG_FACTOR;
  return std::atan(x / std::sqrt((1.0L - x) * (1.0L + x))) / DEG_FACTOR;
}

long double CosDeg(long double x) { return std::cos(x * DEG_FACTOR); }
long double SinDeg(long double x) { return std::sin(x * DEG_FACTOR); }

void SphToRect(long double& x, long double& y, long double& z,
               long double Alpha, long double Delta, long double r) {
  x = r * CosDeg(Delta) * CosDeg(Alpha);
  y = r * CosDeg(Delta) * SinDeg(Alpha);
  z = r * SinDeg(Delta);
}

long double DotProduct(const TVector& a, const TVector& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

void CrossProduct(const TVector& a0, const TVector& b0, TVector& c) {
  const TVector a = a0, b = b0;  // copied on entry: c may alias a or b
  c.x = a.y * b.z - a.z * b.y;
  c.y = a.z * b.x - a.x * b.z;
  c.z = a.x * b.y - a.y * b.x;
}

long double VecLength(const TVector& a) { return std::sqrt(DotProduct(a, a)); }

long double Frac01(long double x) {
  long double f = x - std::trunc(x);
  if (f < 0) f += 1.0L;
  if (f >= 1.0L) f = 0.0L;  // -tiny + 1 rounding to 1
  return f;
}

long double JDToT(long double JD) { return (JD - 2451545.0L) / 36525.0L; }
long double TToJD(long double T) { return T * 36525.0L + 2451545.0L; }

bool OpenTextFile(std::ifstream& F, const std::string& Name) {
  if (F.is_open()) F.close();
  F.clear();
  F.open(Name, std::ios::in | std::ios::binary);
  return F.is_open() && F.good();
}

}  // namespace nodalis
