// BesselPolynomialFit — the polynomial Besselian elements of one eclipse
// (BesselPolynomials) from the program's own ephemeris, in the form of the
// Five Millennium Canon's element tables.
//
// The exact elements at an instant come from the shadow axis of
// BesselElements (the Sun from orbitcore, the Moon that UseLunarLib selects,
// equator of date):
//   x, y      the axis on the fundamental plane, equatorial Earth radii;
//   d         declination of the axis, degrees;
//   mu        ephemeris hour angle of the axis, degrees: Greenwich apparent
//             sidereal time taken at the TD instant, less the axis' right
//             ascension (the canon's convention; the hour angle at UT is
//             smaller by 1.002738 * 15 * DeltaT / 3600 degrees);
//   l1, l2    shadow radii on the fundamental plane with the exact cones
//             (tan f, sec f) and the canon's lunar radii k1 = 0.272488
//             (penumbra) and k2 = 0.272281 (umbra), as Circumstances uses
//             them; l2 < 0 for a total eclipse;
//   tan f1, tan f2  tangents of the cone angles.
//
// The fit: t0 is the whole TD hour nearest greatest eclipse; the exact
// elements are evaluated every hour over t0 - 3 h ... t0 + 3 h (7 instants)
// and x, y are fitted by least squares with cubics, d, mu, l1, l2 with
// quadratics; tan f1, tan f2 are their values at t0 (they change by less
// than 1e-8 in six hours).  The residual of the fit against the exact
// elements over t0 +- 3 h is below 1e-7 Earth radii (0.6 m) in x, y, l1,
// l2 and 3e-7 deg in d and mu for eclipses of -1999 ... 3000 (measured by
// the test BesselPolynomialFit.ResidualAgainstTheExactElements; half-hour
// instants gave the same to a fifth).
//
// References: F. Espenak and J. Meeus, Five Millennium Canon of Solar
// Eclipses: -1999 to +3000, NASA/TP-2006-214141 (2006), sec. 1.3;
// Explanatory Supplement to the Astronomical Ephemeris (1961), ch. 9;
// J. Meeus, Elements of Solar Eclipses 1951-2200 (1989), ch. 2.
#pragma once

#include "astro/BesselPolynomials.h"

namespace nodalis {

// Half-width of the fitted interval around t0, hours.
constexpr long double BESSEL_FIT_HALF_SPAN_HOURS = 3.0L;

// The exact elements at the instant JD (TD), as listed above (rates 0).
// The Moon is the one UseLunarLib selects.
BesselianElementsAt ExactBesselElements(long double JDTD);

// The whole TD hour nearest JD (TD), as a Julian date.
long double NearestWholeHourTD(long double JDTD);

// The polynomial elements of the eclipse whose greatest eclipse is at
// JDGreatestTD (TD), with DeltaTSeconds (TD - UT) as its Delta T, into Out.
// The Moon is the one UseLunarLib selects.  false (Out unchanged) for JDs
// outside the supported range, a non-finite Delta T, or an exact evaluation
// that is not finite.
bool FitBesselPolynomials(long double JDGreatestTD, long double DeltaTSeconds,
                          BesselPolynomials& Out);

// Largest differences between P and the exact elements at Samples + 1
// instants evenly over t0 +- 3 h.
struct BesselFitResidual {
  long double X = 0, Y = 0, L1 = 0, L2 = 0;  // Earth radii
  long double DDeg = 0, MuDeg = 0;           // degrees
};
BesselFitResidual MeasureBesselFitResidual(const BesselPolynomials& P, int Samples);

}  // namespace nodalis
