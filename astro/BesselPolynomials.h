// BesselPolynomials — the polynomial Besselian elements of one solar eclipse
// in the form of the Five Millennium Canon's element tables, and their
// evaluation at an instant.
//
// Around a reference instant t0 (a whole hour of TD near greatest eclipse),
// with t the time in TD hours from t0, each element is a polynomial:
//   x  = x0 + x1 t + x2 t^2 + x3 t^3      Earth radii (equatorial)
//   y  = y0 + y1 t + y2 t^2 + y3 t^3      Earth radii
//   d  = d0 + d1 t + d2 t^2               degrees, declination of the shadow axis
//   mu = mu0 + mu1 t + mu2 t^2            degrees, hour angle of the shadow axis
//   l1 = l10 + l11 t + l12 t^2            Earth radii, penumbral radius on the plane
//   l2 = l20 + l21 t + l22 t^2            Earth radii, umbral radius (< 0: total)
//   tan f1, tan f2                        constants, tangents of the cone angles
// Coefficients are per hour^k.  The polynomials hold for about t0 +- 3 h.
//
// mu is the ephemeris hour angle, as the canon tabulates it: the hour angle
// of the axis at the ephemeris meridian, that is, from sidereal time taken
// at the TD instant.  A point at geographic longitude lambda (east positive)
// has the hour angle H = mu + lambda - 1.002738 * 15 * DeltaT / 3600 degrees
// (DeltaT in seconds): the Earth has turned less, by DeltaT of UT, than the
// TD clock says.  EphemerisLongitudeShiftDeg gives that correction.
//
// Values are read from or written to the canon's element table (columns x1..x4,
// y1..y4, d1..d3, m1..m3, l11..l13, l21..l23, tanf1, tanf2; the canon counts
// its coefficients from 1, here they count from the power of t).
//
// References: Explanatory Supplement to the Astronomical Ephemeris and the
// American Ephemeris and Nautical Almanac (1961), ch. 9; J. Meeus, Elements
// of Solar Eclipses 1951-2200 (1989), ch. 2; F. Espenak and J. Meeus, Five
// Millennium Canon of Solar Eclipses: -1999 to +3000, NASA/TP-2006-214141
// (2006), sec. 1.3.
#pragma once

namespace nodalis {

struct BesselPolynomials {
  long double JDGreatestTD = 0;  // greatest eclipse, Julian date TD
  long double JDT0TD = 0;        // the reference instant t0, Julian date TD
  long double DeltaTSeconds = 0; // TD - UT adopted for the eclipse, seconds
  long double X[4] = {0, 0, 0, 0};
  long double Y[4] = {0, 0, 0, 0};
  long double DDeg[3] = {0, 0, 0};
  long double MuDeg[3] = {0, 0, 0};
  long double L1[3] = {0, 0, 0};
  long double L2[3] = {0, 0, 0};
  long double TanF1 = 0, TanF2 = 0;
};

// The elements and their rates at one instant.
struct BesselianElementsAt {
  long double X = 0, Y = 0;            // Earth radii
  long double DDeg = 0, MuDeg = 0;     // degrees (mu not reduced to [0, 360))
  long double L1 = 0, L2 = 0;          // Earth radii
  long double TanF1 = 0, TanF2 = 0;
  long double XRate = 0, YRate = 0;    // Earth radii per hour
  long double DRateDeg = 0, MuRateDeg = 0;  // degrees per hour
  long double L1Rate = 0, L2Rate = 0;  // Earth radii per hour
};

// Hours of TD from t0 to the Julian date JD (TD).
long double HoursFromT0(const BesselPolynomials& P, long double JDTD);

// The elements at t hours of TD from t0.
BesselianElementsAt EvaluateBesselPolynomials(const BesselPolynomials& P, long double THours);

// Degrees to add to an ephemeris longitude (from the ephemeris hour angle mu)
// to get the geographic longitude: 1.002738 * 15 * DeltaT / 3600.
long double EphemerisLongitudeShiftDeg(const BesselPolynomials& P);

// Every coefficient, t0, greatest eclipse and Delta T finite.
bool FiniteBesselPolynomials(const BesselPolynomials& P);

}  // namespace nodalis
