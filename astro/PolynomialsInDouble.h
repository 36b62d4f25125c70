// PolynomialsInDouble — the polynomial Besselian elements in double
// precision, the working copy of the ground geometry (EclipsePaths,
// LocalCircumstances), whose arithmetic runs in double: a part in 1e16 of
// an Earth radius is below a millimetre.  Beside the coefficients it keeps
// the hour angle's shift from the ephemeris meridian to Greenwich at UT
// (EphemerisLongitudeShiftDeg), t0 and Delta T in days.
#pragma once

#include "astro/BesselPolynomials.h"

namespace nodalis {

struct PolynomialsInDouble {
  double x[4], y[4], d[3], mu[3], l1[3], l2[3];
  double tf1, tf2, shiftDeg;
  long double jdt0, deltaTDays;
  explicit PolynomialsInDouble(const BesselPolynomials& P)
      : tf1(static_cast<double>(P.TanF1)), tf2(static_cast<double>(P.TanF2)),
        shiftDeg(static_cast<double>(EphemerisLongitudeShiftDeg(P))), jdt0(P.JDT0TD),
        deltaTDays(P.DeltaTSeconds / 86400.0L) {
    for (int i = 0; i < 4; ++i) {
      x[i] = static_cast<double>(P.X[i]);
      y[i] = static_cast<double>(P.Y[i]);
    }
    for (int i = 0; i < 3; ++i) {
      d[i] = static_cast<double>(P.DDeg[i]);
      mu[i] = static_cast<double>(P.MuDeg[i]);
      l1[i] = static_cast<double>(P.L1[i]);
      l2[i] = static_cast<double>(P.L2[i]);
    }
  }
};

}  // namespace nodalis
