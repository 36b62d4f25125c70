// BesselPolynomials — evaluation of polynomial Besselian elements (see
// BesselPolynomials.h).
#include "astro/BesselPolynomials.h"

#include <cmath>
#include <initializer_list>

namespace nodalis {

namespace {
// Sidereal rotation of the Earth per unit of universal time (solar units).
constexpr long double SIDEREAL_PER_SOLAR = 1.002738L;
constexpr long double SECONDS_PER_HOUR = 3600.0L;
constexpr long double HOURS_PER_DAY = 24.0L;
constexpr long double DEG_PER_HOUR_OF_ROTATION = 15.0L;
}  // namespace

long double HoursFromT0(const BesselPolynomials& P, long double JDTD) {
  return (JDTD - P.JDT0TD) * HOURS_PER_DAY;
}

BesselianElementsAt EvaluateBesselPolynomials(const BesselPolynomials& P, long double t) {
  BesselianElementsAt e;
  e.X = P.X[0] + t * (P.X[1] + t * (P.X[2] + t * P.X[3]));
  e.Y = P.Y[0] + t * (P.Y[1] + t * (P.Y[2] + t * P.Y[3]));
  e.DDeg = P.DDeg[0] + t * (P.DDeg[1] + t * P.DDeg[2]);
  e.MuDeg = P.MuDeg[0] + t * (P.MuDeg[1] + t * P.MuDeg[2]);
  e.L1 = P.L1[0] + t * (P.L1[1] + t * P.L1[2]);
  e.L2 = P.L2[0] + t * (P.L2[1] + t * P.L2[2]);
  e.TanF1 = P.TanF1;
  e.TanF2 = P.TanF2;
  e.XRate = P.X[1] + t * (2 * P.X[2] + t * 3 * P.X[3]);
  e.YRate = P.Y[1] + t * (2 * P.Y[2] + t * 3 * P.Y[3]);
  e.DRateDeg = P.DDeg[1] + 2 * t * P.DDeg[2];
  e.MuRateDeg = P.MuDeg[1] + 2 * t * P.MuDeg[2];
  e.L1Rate = P.L1[1] + 2 * t * P.L1[2];
  e.L2Rate = P.L2[1] + 2 * t * P.L2[2];
  return e;
}

long double EphemerisLongitudeShiftDeg(const BesselPolynomials& P) {
  return SIDEREAL_PER_SOLAR * DEG_PER_HOUR_OF_ROTATION * P.DeltaTSeconds / SECONDS_PER_HOUR;
}

bool FiniteBesselPolynomials(const BesselPolynomials& P) {
  for (long double v : {P.JDT0TD, P.JDGreatestTD, P.DeltaTSeconds, P.TanF1, P.TanF2})
    if (!std::isfinite(v)) return false;
  for (int k = 0; k < 4; ++k)
    if (!std::isfinite(P.X[k]) || !std::isfinite(P.Y[k])) return false;
  for (int k = 0; k < 3; ++k)
    if (!std::isfinite(P.DDeg[k]) || !std::isfinite(P.MuDeg[k]) || !std::isfinite(P.L1[k]) ||
        !std::isfinite(P.L2[k]))
      return false;
  return true;
}

}  // namespace nodalis
