// lunaris -- fundamental arguments of ELP 2000-82B.
//
// elp82b_base_angles(t, angle, &w1, secular): the 17 base angles of the
// generated series and the mean longitude W1, at t Julian centuries of TDB
// from J2000, for the secular constants of elp82b.h (tidal acceleration
// ndot, "/cy^2, and W1's rate, "/cy).
//
// Values of the fit to DE200/LE200 (notice "Lunar Solution ELP 2000-82B",
// sect. 4-7; the t-coefficients of W1, W2, W3, T include the fit corrections).
// The main problem uses the Delaunay arguments as full quartic polynomials,
// formed coefficient by coefficient as
//   D = W1 - T + 180 deg,  l' = T - varpi',  l = W1 - W2,  F = W1 - W3;
// every other file uses the linear parts only, and zeta = W1 (linear) + p t
// with the precession constant p = 5029.0966"/cy.  Planetary mean longitudes:
// VSOP82 (notice Table F), linear.
//
// Tidal acceleration: W1 of the notice carries ELP's own value
// NDOT_ELP82B = -23.8946"/cy^2.  Another value ndot changes the Moon's mean
// longitude by the standard amount
//   dW1 = 1/2 (ndot - NDOT_ELP82B) t^2    (-0.9817 t^2 " for the canon's),
// and because D, l and F are W1 minus a longitude that the tides do not
// touch (the Sun's T, the perigee W2, the node W3), each of them gains the
// same dW1; the Sun's anomaly l' does not.  The change goes into the full
// polynomials only (W1 of V, the main problem's D, l, F): the linear
// arguments of the other files already leave out W1's own t^2 term
// (-5.89"/cy^2), which is six times larger, as ELP prescribes.
//
// Mean motion: a rate w1_rate other than the notice's W1_RATE_ELP82B adds
// dnu t, dnu = w1_rate - W1_RATE_ELP82B, to W1 and to D (full and linear)
// and to zeta, not to l and F.  That is what the canon's lunar ephemeris
// shows.  Against the canon's polynomial Besselian elements of its 11 898
// eclipses (x, y at each one's reference hour; F. Espenak, J. Meeus,
// NASA/TP-2006-214141), with ELP 2000-82B's rate and ndot -25.858 our
// shadow passes the canon's positions later by -0.25 s - 0.800 s T +
// 0.0002 s T^2 (T centuries from J2000; +30 s in -2000): a pure rate.  A
// least-squares fit of the four rates to those differences gives dnu
// -0.407, dD -0.401, dl -0.08 and dF +0.03"/cy; Meeus' mean longitude
// (elp82b.h) gives dnu = -0.3895.  Moving F with W1 (the Moon along its
// orbit rather than along the ecliptic) leaves the differences across the
// track as large as with ELP's rate, 0.0006 Earth radii in -2000 instead of
// 0.0002; moving l with W1 raises the scatter along the track from 0.3 s to
// 0.8 s (-1500 .. -1001).  With dnu -0.3895 in W1 and D the remaining drift
// is -0.04 s per century.
#include "lunaris/elp82b.h"

#include <array>
#include <cmath>

namespace lunaris {
namespace {

// Polynomials in arcsec, coefficients of t^0 ... t^4.
using Poly = std::array<double, 5>;
constexpr Poly W1 = {785939.95571, 1732559343.73604, -5.8883, 0.006604, -0.00003169};
constexpr Poly W2 = {300071.67475, 14643420.2632, -38.2776, -0.045047, 0.00021301};
constexpr Poly W3 = {450160.39816, -6967919.3622, 6.3622, 0.007625, -0.00003586};
constexpr Poly T_EMB = {361679.22059, 129597742.2758, -0.0202, 0.000009, 0.00000015};
constexpr Poly VARPI_EMB = {370574.42753, 1161.2283, 0.5327, -0.000138, 0.0};
constexpr double PRECESSION_ARCSEC_PER_CY = 5029.0966;
constexpr double HALF_TURN_ARCSEC = 648000.0;

// Planetary mean longitudes (arcsec, arcsec/cy): Me, Ve, EMB, Ma, Ju, Sa, Ur, Ne.
constexpr double PLANET_L0[8] = {908103.25986, 655127.28305, 361679.22059, 1279559.78866,
                                 123665.34212, 180278.89694, 1130598.01841, 1095655.19575};
constexpr double PLANET_L1[8] = {538101628.68898, 210664136.43355, 129597742.2758,
                                 68905077.59284, 10925660.42861, 4399609.65932,
                                 1542481.19393, 786550.32074};

// Angle in arcsec -> radians in [0, 2pi).  The linear term, the only large
// one over the theory's range, is reduced before the small terms are added.
double reduce(double c0, double c1, double c2, double c3, double c4, double t) {
  double a = fmod_arcsec_turn(c1 * t) + c0 + t * t * (c2 + t * (c3 + t * c4));
  a = fmod_arcsec_turn(a);
  if (a < 0.0) a += ARCSEC_PER_TURN;
  return a * RAD_PER_ARCSEC;
}

// a - b + extra + dw2 t^2, full polynomial.
double full(const Poly& a, const Poly& b, double extra, double dw2, double t) {
  return reduce(a[0] - b[0] + extra, a[1] - b[1], a[2] - b[2] + dw2, a[3] - b[3],
                a[4] - b[4], t);
}

double linear(const Poly& a, const Poly& b, double extra, double t) {
  return reduce(a[0] - b[0] + extra, a[1] - b[1], 0.0, 0.0, 0.0, t);
}

// W1 with the rate of the secular constants.
Poly MeanLongitude(const Secular& secular) {
  return {W1[0], secular.w1_rate, W1[2], W1[3], W1[4]};
}

}  // namespace

// x - k 1296000 with k = trunc(x / 1296000), possibly one off, is exact:
// k 1296000 is an integer below 2^53 for |x| < 4e15, and the remainder is
// representable at x's precision; one step then corrects k.  Larger or
// non-finite x go to the C library.
double fmod_arcsec_turn(double x) {
  constexpr double P = ARCSEC_PER_TURN;
  if (!(std::fabs(x) < 4.0e15)) return std::fmod(x, P);
  double r = x - std::trunc(x / P) * P;
  if (x >= 0.0) {
    if (r < 0.0) r += P;
    else if (r >= P) r -= P;
  } else {
    if (r > 0.0) r -= P;
    else if (r <= -P) r += P;
  }
  return r == 0.0 ? std::copysign(0.0, x) : r;
}

void elp82b_delaunay_angles(double t, double angle_rad[4], const Secular& secular) {
  const double dw2 = 0.5 * (secular.ndot - NDOT_ELP82B_ARCSEC_CY2);  // "/cy^2 of W1, D, l, F
  angle_rad[0] = full(MeanLongitude(secular), T_EMB, HALF_TURN_ARCSEC, dw2, t);  // D
  angle_rad[1] = full(T_EMB, VARPI_EMB, 0.0, 0.0, t);         // l'
  angle_rad[2] = full(W1, W2, 0.0, dw2, t);                   // l, ELP's rate
  angle_rad[3] = full(W1, W3, 0.0, dw2, t);                   // F, ELP's rate
}

void elp82b_base_angles(double t, double angle_rad[17], double* w1_rad,
                        const Secular& secular) {
  constexpr Poly ZERO = {0.0, 0.0, 0.0, 0.0, 0.0};
  const double dw2 = 0.5 * (secular.ndot - NDOT_ELP82B_ARCSEC_CY2);  // "/cy^2 of W1, D, l, F
  const Poly w1 = MeanLongitude(secular);
  elp82b_delaunay_angles(t, angle_rad, secular);
  angle_rad[4] = reduce(w1[0], w1[1] + PRECESSION_ARCSEC_PER_CY, 0.0, 0.0, 0.0, t);  // zeta
  angle_rad[5] = linear(w1, T_EMB, HALF_TURN_ARCSEC, t);
  angle_rad[6] = linear(T_EMB, VARPI_EMB, 0.0, t);
  angle_rad[7] = linear(W1, W2, 0.0, t);
  angle_rad[8] = linear(W1, W3, 0.0, t);
  for (int i = 0; i < 8; ++i)
    angle_rad[9 + i] = reduce(PLANET_L0[i], PLANET_L1[i], 0.0, 0.0, 0.0, t);
  *w1_rad = full(w1, ZERO, 0.0, dw2, t);
}

double general_precession_longitude(double t) {
  return t * (5029.0966 + t * (1.1120 + t * (0.000077 - t * 0.00002353))) * RAD_PER_ARCSEC;
}

}  // namespace lunaris
