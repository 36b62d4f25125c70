// MATLIB — vectors, degree helpers, time arguments and the text-file opener.
//
// Extended precision throughout.  The degree factor of ArcSinDeg, CosDeg and
// SinDeg is the decimal literal 0.0174532925199433, not pi/180 to full
// precision.
#pragma once

#include <cfloat>
#include <fstream>
#include <string>

// Extended is long double in the 80-bit x87 format (64-bit mantissa); the
// table's digits depend on it (the build's configuration checks it too).
static_assert(LDBL_MANT_DIG == 64,
              "Nodalis needs long double to be the 80-bit x87 extended format "
              "(GCC or Clang on x86 or x86-64)");

namespace nodalis {

struct TVector {
  long double x = 0, y = 0, z = 0;
};

constexpr long double DEG_FACTOR = 0.0174532925199433L;

// Arcsine in degrees (|x| = 1: 90x; |x| <= 1e-7: small-angle branch).
long double ArcSinDeg(long double x);
long double CosDeg(long double x);
long double SinDeg(long double x);
// (r cos D cos A, r cos D sin A, r sin D); Alpha, Delta in degrees.
void SphToRect(long double& x, long double& y, long double& z,
               long double Alpha, long double Delta, long double r);
long double DotProduct(const TVector& a, const TVector& b);
void CrossProduct(const TVector& a, const TVector& b, TVector& c);
long double VecLength(const TVector& a);
// x - Int(x), plus 1 when negative: [0, 1) (NaN stays NaN).
long double Frac01(long double x);
// Julian centuries from J2000.0 and back.
long double JDToT(long double JD);
long double TToJD(long double T);
// Opens Name for reading; true on success (the caller closes F).
bool OpenTextFile(std::ifstream& F, const std::string& Name);

}  // namespace nodalis
