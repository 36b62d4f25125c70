// SarosClass — stretches of one Saros class near a node (see SarosClass.h).
#include "astro/SarosClass.h"

#include <cmath>

namespace nodalis {

namespace {
constexpr long long SERIES_PER_ERA = 223;   // SarosNumber: n = 1 .. 223
constexpr long long SAROS_OFFSET = 179;     // L + 179 + 88 n divisible by 223
constexpr long long SAROS_INCREMENT = 88;
constexpr long double LUNATIONS_PER_CENTURY = 1236.85L;  // Meeus 49: T = k / 1236.85
constexpr long double DEG_TO_RAD = 0.017453292519943295769L;
// |sin F| above this: no eclipse at that new moon (Meeus, ch. 54).
constexpr long double NO_ECLIPSE_SIN_F = 0.36L;

long long Mod(long long a, long long m) {
  const long long r = a % m;
  return r < 0 ? r + m : r;
}
}  // namespace

long long SarosClassResidue(long long SarosNo) {
  // L = -(179 + 88 n) modulo 223, with n reduced first so nothing overflows.
  const long long n = Mod(SarosNo, SERIES_PER_ERA);
  return Mod(-(SAROS_OFFSET + SAROS_INCREMENT * n), SERIES_PER_ERA);
}

long double MeanNewMoonJDE(long long K) {
  const long double k = static_cast<long double>(K);
  const long double T = k / LUNATIONS_PER_CENTURY;
  return 2451550.09766L + 29.530588861L * k + T * T * (0.00015437L + T * (-0.000000150L + T * 0.00000000073L));
}

long double MeanNewMoonArgumentOfLatitudeDeg(long long K) {
  const long double k = static_cast<long double>(K);
  const long double T = k / LUNATIONS_PER_CENTURY;
  // 390.67050284 deg per lunation: reduce k's part first, where k is exact.
  const long double perLunation = std::fmod(390.67050284L * k, 360.0L);
  return 160.7108L + perLunation + T * T * (-0.0016118L + T * (-0.00000227L + T * 0.000000011L));
}

std::vector<SarosStretch> SarosClassStretches(long long SarosNo, long long FromK, long long ToK) {
  std::vector<SarosStretch> out;
  if (FromK > ToK) return out;
  const long long first = FromK + Mod(SarosClassResidue(SarosNo) - FromK, LUNATIONS_PER_SAROS);
  bool inside = false;
  SarosStretch s;
  long double nearest = 2;
  for (long long k = first; k <= ToK; k += LUNATIONS_PER_SAROS) {
    const long double sinF =
        std::fabs(std::sin(MeanNewMoonArgumentOfLatitudeDeg(k) * DEG_TO_RAD));
    if (sinF <= NO_ECLIPSE_SIN_F) {
      if (!inside) {
        s = SarosStretch{k, k, k};
        nearest = 2;
        inside = true;
      }
      s.Last = k;
      if (sinF < nearest) {
        nearest = sinF;
        s.Middle = k;
      }
    } else if (inside) {
      out.push_back(s);
      inside = false;
    }
  }
  if (inside) out.push_back(s);
  return out;
}

}  // namespace nodalis
