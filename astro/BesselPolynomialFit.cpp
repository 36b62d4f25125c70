// BesselPolynomialFit — polynomial Besselian elements fitted to the exact
// elements of the program's ephemeris (see BesselPolynomialFit.h).
#include "astro/BesselPolynomialFit.h"

#include <cmath>

#include "astro/Astrcalc.h"
#include "astro/Circumstances.h"
#include "astro/Trigonom.h"

namespace nodalis {

namespace {
constexpr long double HOURS_PER_DAY = 24.0L;
constexpr long double DEG_PER_TURN = 360.0L;
constexpr int FIT_SAMPLES = 7;  // every hour over t0 +- 3 h
constexpr int MAX_TERMS = 4;     // cubic

// Least-squares polynomial of Terms coefficients (per hour^k) through the
// values V at the times T (hours), by the normal equations in the scaled
// variable s = t / 3 h (well conditioned for these few terms), solved by
// Gaussian elimination with partial pivoting.
void FitPolynomial(const long double* T, const long double* V, int N, int Terms,
                   long double* Coef) {
  long double A[MAX_TERMS][MAX_TERMS + 1] = {};
  for (int i = 0; i < N; ++i) {
    const long double s = T[i] / BESSEL_FIT_HALF_SPAN_HOURS;
    long double p[2 * MAX_TERMS] = {1};
    for (int k = 1; k < 2 * Terms; ++k) p[k] = p[k - 1] * s;
    for (int r = 0; r < Terms; ++r) {
      for (int c = 0; c < Terms; ++c) A[r][c] += p[r + c];
      A[r][Terms] += p[r] * V[i];
    }
  }
  for (int c = 0; c < Terms; ++c) {
    int pivot = c;
    for (int r = c + 1; r < Terms; ++r)
      if (std::fabs(A[r][c]) > std::fabs(A[pivot][c])) pivot = r;
    for (int k = 0; k <= Terms; ++k) std::swap(A[c][k], A[pivot][k]);
    for (int r = c + 1; r < Terms; ++r) {
      const long double f = A[r][c] / A[c][c];
      for (int k = c; k <= Terms; ++k) A[r][k] -= f * A[c][k];
    }
  }
  long double scaled[MAX_TERMS];
  for (int r = Terms - 1; r >= 0; --r) {
    long double sum = A[r][Terms];
    for (int k = r + 1; k < Terms; ++k) sum -= A[r][k] * scaled[k];
    scaled[r] = sum / A[r][r];
  }
  long double unit = 1;  // back to coefficients per hour^k
  for (int k = 0; k < Terms; ++k) {
    Coef[k] = scaled[k] / unit;
    unit *= BESSEL_FIT_HALF_SPAN_HOURS;
  }
}

bool Finite(const BesselianElementsAt& e) {
  for (long double v : {e.X, e.Y, e.DDeg, e.MuDeg, e.L1, e.L2, e.TanF1, e.TanF2})
    if (!std::isfinite(v)) return false;
  return true;
}

// a + k * 360 nearest to Near.
long double NearestTurn(long double a, long double Near) {
  return a + DEG_PER_TURN * std::nearbyint((Near - a) / DEG_PER_TURN);
}
}  // namespace

BesselianElementsAt ExactBesselElements(long double JDTD) {
  BesselRec e;
  BesselElements(JDTD, 0, e);
  // The record's l = z sin f +- k (k = 0.2725076) gives the Moon's distance
  // z from the fundamental plane.
  const long double sf1 = SinDeg(e.F1), sf2 = SinDeg(e.F2);
  const long double cf1 = CosDeg(e.F1), cf2 = CosDeg(e.F2);
  const long double z1 = (e.L1 - MOON_RADIUS_ER) / sf1, z2 = (e.L2 + MOON_RADIUS_ER) / sf2;

  // BesselElements turns the apparent ecliptic positions to the equator
  // with the mean obliquity; the true equator of date lies turned about the
  // equinox by the nutation in obliquity.  The axis and the Moon go over to
  // it, and the fundamental system is built again there.
  const long double de = NutationInObliquity(JDTD), sde = std::sin(de), cde = std::cos(de);
  auto toTrue = [&](const TVector& v) {
    return TVector{v.x, v.y * cde - v.z * sde, v.y * sde + v.z * cde};
  };
  const TVector g = toTrue(e.Axes[2]);
  TVector moon;  // the Moon in the mean frame: x row0 + y row1 + z g
  moon.x = e.X * e.Axes[0].x + e.Y * e.Axes[1].x + z1 * e.Axes[2].x;
  moon.y = e.X * e.Axes[0].y + e.Y * e.Axes[1].y + z1 * e.Axes[2].y;
  moon.z = e.X * e.Axes[0].z + e.Y * e.Axes[1].z + z1 * e.Axes[2].z;
  moon = toTrue(moon);
  const long double rho = std::sqrt(g.x * g.x + g.y * g.y);
  const TVector row0{-g.y / rho, g.x / rho, 0};
  TVector row1;
  CrossProduct(g, row0, row1);

  BesselianElementsAt out;
  out.X = DotProduct(moon, row0);
  out.Y = DotProduct(moon, row1);
  out.DDeg = std::atan2(g.z, rho) / RAD_PER_DEG;
  const long double alpha = std::atan2(g.y, g.x);
  long double mu = std::fmod((GreenwichSiderealTime(JDTD) - alpha) / RAD_PER_DEG, DEG_PER_TURN);
  out.MuDeg = mu < 0 ? mu + DEG_PER_TURN : mu;
  // The exact cones with the canon's lunar radii.
  out.TanF1 = sf1 / cf1;
  out.TanF2 = sf2 / cf2;
  out.L1 = z1 * out.TanF1 + CANON_K_PENUMBRA / cf1;
  out.L2 = z2 * out.TanF2 - CANON_K_UMBRA / cf2;
  return out;
}

long double NearestWholeHourTD(long double JDTD) {
  // Hours from the noon epoch of the Julian day numbers, rounded.
  return std::nearbyint(JDTD * HOURS_PER_DAY) / HOURS_PER_DAY;
}

bool FitBesselPolynomials(long double JDGreatestTD, long double DeltaTSeconds,
                          BesselPolynomials& Out) {
  const long double span = BESSEL_FIT_HALF_SPAN_HOURS / HOURS_PER_DAY;
  if (!std::isfinite(DeltaTSeconds) || !JDSupported(JDGreatestTD - span - 1) ||
      !JDSupported(JDGreatestTD + span + 1))
    return false;
  BesselPolynomials P;
  P.JDGreatestTD = JDGreatestTD;
  P.JDT0TD = NearestWholeHourTD(JDGreatestTD);
  P.DeltaTSeconds = DeltaTSeconds;

  long double t[FIT_SAMPLES], x[FIT_SAMPLES], y[FIT_SAMPLES], d[FIT_SAMPLES], mu[FIT_SAMPLES],
      l1[FIT_SAMPLES], l2[FIT_SAMPLES];
  BesselianElementsAt at0;
  for (int i = 0; i < FIT_SAMPLES; ++i) {
    t[i] = -BESSEL_FIT_HALF_SPAN_HOURS + 2 * BESSEL_FIT_HALF_SPAN_HOURS * i / (FIT_SAMPLES - 1);
    const BesselianElementsAt e = ExactBesselElements(P.JDT0TD + t[i] / HOURS_PER_DAY);
    if (!Finite(e)) return false;
    if (i == FIT_SAMPLES / 2) at0 = e;
    x[i] = e.X;
    y[i] = e.Y;
    d[i] = e.DDeg;
    mu[i] = e.MuDeg;
    l1[i] = e.L1;
    l2[i] = e.L2;
  }
  // mu grows by 15 deg an hour: made continuous around its value at t0.
  for (int i = 0; i < FIT_SAMPLES; ++i)
    mu[i] = NearestTurn(mu[i], at0.MuDeg + 15.0L * t[i]);
  FitPolynomial(t, x, FIT_SAMPLES, 4, P.X);
  FitPolynomial(t, y, FIT_SAMPLES, 4, P.Y);
  FitPolynomial(t, d, FIT_SAMPLES, 3, P.DDeg);
  FitPolynomial(t, mu, FIT_SAMPLES, 3, P.MuDeg);
  FitPolynomial(t, l1, FIT_SAMPLES, 3, P.L1);
  FitPolynomial(t, l2, FIT_SAMPLES, 3, P.L2);
  P.MuDeg[0] = std::fmod(P.MuDeg[0], DEG_PER_TURN);
  if (P.MuDeg[0] < 0) P.MuDeg[0] += DEG_PER_TURN;
  P.TanF1 = at0.TanF1;
  P.TanF2 = at0.TanF2;
  for (const long double* c : {P.X, P.Y})
    for (int k = 0; k < 4; ++k)
      if (!std::isfinite(c[k])) return false;
  for (const long double* c : {P.DDeg, P.MuDeg, P.L1, P.L2})
    for (int k = 0; k < 3; ++k)
      if (!std::isfinite(c[k])) return false;
  Out = P;
  return true;
}

BesselFitResidual MeasureBesselFitResidual(const BesselPolynomials& P, int Samples) {
  BesselFitResidual r;
  if (Samples < 1) return r;
  for (int i = 0; i <= Samples; ++i) {
    const long double t =
        -BESSEL_FIT_HALF_SPAN_HOURS + 2 * BESSEL_FIT_HALF_SPAN_HOURS * i / Samples;
    const BesselianElementsAt e = ExactBesselElements(P.JDT0TD + t / HOURS_PER_DAY);
    const BesselianElementsAt p = EvaluateBesselPolynomials(P, t);
    if (!Finite(e) || !Finite(p)) {  // reported, never hidden by fmax
      const long double nan = std::nanl("");
      return BesselFitResidual{nan, nan, nan, nan, nan, nan};
    }
    r.X = std::fmax(r.X, std::fabs(p.X - e.X));
    r.Y = std::fmax(r.Y, std::fabs(p.Y - e.Y));
    r.L1 = std::fmax(r.L1, std::fabs(p.L1 - e.L1));
    r.L2 = std::fmax(r.L2, std::fabs(p.L2 - e.L2));
    r.DDeg = std::fmax(r.DDeg, std::fabs(p.DDeg - e.DDeg));
    r.MuDeg = std::fmax(r.MuDeg, std::fabs(std::remainder(p.MuDeg - e.MuDeg, DEG_PER_TURN)));
  }
  return r;
}

}  // namespace nodalis
